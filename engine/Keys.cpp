#include "Keys.h"

#include <algorithm>

int TDenseKeys::IndexOf(TKey key) const
{
    if (key < FAscii.size())
        return FAscii[key];
    if (FSlots.empty())
        return -1;
    const RSlot& slot = FSlots[Slot(key)];
    return slot.Key == 0 ? -1 : slot.Index;
}

void TDenseKeys::Grow()
{
    FSlots.assign(std::max<std::size_t>(256, FSlots.size() * 2), RSlot{});
    for (std::size_t i = 0; i < FKeys.size(); ++i)
        if (FKeys[i] >= FAscii.size())
            FSlots[Slot(FKeys[i])] = {FKeys[i], static_cast<int>(i)};
}
