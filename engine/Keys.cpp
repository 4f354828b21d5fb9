#include "Keys.h"

#include <algorithm>

int TDenseKeys::Add(TKey key)
{
    if (key < FAscii.size()) {
        int& index = FAscii[key];
        if (index < 0) {
            index = Count();
            FKeys.push_back(key);
        }
        return index;
    }
    if (2 * (FKeys.size() + 1) > FSlots.size())
        Grow();
    int& slot = FSlots[Slot(key)];
    if (slot == 0) {
        FKeys.push_back(key);
        slot = Count();
    }
    return slot - 1;
}

int TDenseKeys::IndexOf(TKey key) const
{
    if (key < FAscii.size())
        return FAscii[key];
    if (FSlots.empty())
        return -1;
    return FSlots[Slot(key)] - 1;
}

// Linear probing from a multiplicative hash; the table is never more than half full.
std::size_t TDenseKeys::Slot(TKey key) const
{
    const std::size_t mask = FSlots.size() - 1;
    std::size_t slot = (static_cast<std::size_t>(key) * 0x9E3779B97F4A7C15ull >> 20) & mask;
    while (FSlots[slot] != 0 && FKeys[static_cast<std::size_t>(FSlots[slot] - 1)] != key)
        slot = (slot + 1) & mask;
    return slot;
}

void TDenseKeys::Grow()
{
    FSlots.assign(std::max<std::size_t>(256, FSlots.size() * 2), 0);
    for (std::size_t i = 0; i < FKeys.size(); ++i)
        if (FKeys[i] >= FAscii.size())
            FSlots[Slot(FKeys[i])] = static_cast<int>(i) + 1;
}
