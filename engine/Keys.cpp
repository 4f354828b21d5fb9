#include "Keys.h"

#include <algorithm>

int TDenseKeys::IndexOf(TKey key) const
{
    if (key < FDirect.size())
        return key < AsciiEnd || FDirectBeyondAscii ? FDirect[key] : -1;
    if (FSlotCount == 0)
        return -1;
    const RSlot& slot = Slots()[Slot(key)];
    return slot.Key == 0 ? -1 : slot.Index;
}

void TDenseKeys::Clear()
{
    // Only the table entries of this list's keys are set; the rest are already clear.
    for (std::size_t i = 0; i < FCount; ++i)
        if (FKeys[i] < FDirect.size())
            FDirect[FKeys[i]] = -1;
    FCount = 0;
    // The in-object slots are cleared again when the next key beyond the table comes.
    FMoreSlots.clear();
    FSlotCount = 0;
}

void TDenseKeys::Grow()
{
    std::size_t count = FSlotCount == 0 ? FFirstSlots.size() : FSlotCount * 2;
    while (2 * (FCount + 1) > count)
        count *= 2;
    if (count == FFirstSlots.size())
        FFirstSlots.fill(RSlot{});
    else
        FMoreSlots.assign(count, RSlot{});
    FSlotCount = count;
    for (std::size_t i = 0; i < FCount; ++i)
        if (FKeys[i] >= FDirect.size())
            Slots()[Slot(FKeys[i])] = {FKeys[i], static_cast<int>(i)};
}

void TDenseKeys::ClearDirectBeyondAscii()
{
    std::fill(FDirect.begin() + AsciiEnd, FDirect.end(), -1);
    FDirectBeyondAscii = true;
}
