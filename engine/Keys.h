#pragma once

// The key vocabulary every part of the engine shares: the keys of the ASCII rule and their
// order, the bit sets over key indices, and the dense numbering of the keys one list uses.

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// A key as the engine compares it: a character after case folding (upper case for the ASCII
// rule's letters).
using TKey = char32_t;

// The ASCII rule's keys in index order: 26 letters, 10 digits and ! $ < = > ? @.
inline constexpr std::string_view AsciiKeys = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!$<=>?@";
inline constexpr int KeyCount = static_cast<int>(AsciiKeys.size());

// Index of every byte that is a key, -1 for the others, built from AsciiKeys so that the
// order is spelled once. Inline: every caption byte of a list goes through it.
inline constexpr std::array<signed char, 256> AsciiKeyIndex = [] {
    std::array<signed char, 256> table{};
    table.fill(-1);
    for (std::size_t i = 0; i < AsciiKeys.size(); ++i)
        table[static_cast<unsigned char>(AsciiKeys[i])] = static_cast<signed char>(i);
    return table;
}();

// ASCII upper-casing only.
constexpr char KeyOf(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// 0..KeyCount-1, or -1 when the byte can't be a key.
constexpr int KeyIndex(char key)
{
    return AsciiKeyIndex[static_cast<unsigned char>(key)];
}

constexpr bool IsEligibleChar(char c)
{
    return KeyIndex(KeyOf(c)) >= 0;
}

// The inverse of KeyIndex.
constexpr char KeyAt(int index)
{
    return AsciiKeys[static_cast<std::size_t>(index)];
}

// Bit i stands for the key with index i: the ASCII rule's keys, or the dense indices of a list
// with at most 64 distinct keys.
using TKeySet = std::uint64_t;
inline constexpr int KeySetBits = 64;

constexpr TKeySet KeyBit(int index)
{
    return TKeySet{1} << index;
}

// Numbers the distinct keys of one list 0, 1, 2... in the order they are first added, so that
// bit sets and tables grow with the list and not with Unicode. Keys below U+0800 (ASCII, and
// the Latin, Greek, Cyrillic, Hebrew and Arabic letters of two-byte UTF-8) take a table, others
// a small open-addressing hash: a scope of fifteen captions is numbered without sorting.
class TDenseKeys
{
public:
    TDenseKeys() : FKeys(64) { std::fill_n(FDirect.begin(), AsciiEnd, -1); }

    // The key's index, new or not. Inline: every candidate of every scope is numbered here.
    int Add(TKey key)
    {
        if (FCount == FKeys.size())
            FKeys.resize(2 * FKeys.size());
        if (key < FDirect.size()) {
            // Only lists with keys beyond ASCII pay for clearing the rest of the table.
            if (key >= AsciiEnd && !FDirectBeyondAscii)
                ClearDirectBeyondAscii();
            FKeys[FCount] = key;
            return NumberDirectly(key, FCount);
        }
        if (2 * (FCount + 1) > FSlotCount)
            Grow();
        RSlot& slot = Slots()[Slot(key)];
        if (slot.Key == 0) {
            slot = {key, Count()};
            FKeys[FCount++] = key;
        }
        return slot.Index;
    }
    // Add for each item of a range in turn, the indices written to `indices`: the count and the
    // buffer stay in registers across a caption's candidates.
    template <class TItem, class TKeyOf>
    void AddEach(const TItem* first, const TItem* last, TKeyOf keyOf, int* indices)
    {
        const std::size_t most = FCount + static_cast<std::size_t>(last - first) + 1;
        if (FKeys.size() < most)
            FKeys.resize(std::max(most, 2 * FKeys.size()));
        TKey* const keys = FKeys.data();
        std::size_t count = FCount;
        for (; first != last; ++first, ++indices) {
            const TKey key = keyOf(*first);
            if (key < AsciiEnd || (key < FDirect.size() && FDirectBeyondAscii)) {
                keys[count] = key;
                *indices = NumberDirectly(key, count);
            } else {
                FCount = count;
                *indices = Add(key);
                count = FCount;
            }
        }
        FCount = count;
    }
    // Forgets every key, keeping the room taken: a list numbered after another costs what its
    // own keys cost, not a fresh table.
    void Clear();
    int Count() const { return static_cast<int>(FCount); }
    int IndexOf(TKey key) const; // -1 when the list has no such key
    TKey KeyOfIndex(int index) const { return FKeys[static_cast<std::size_t>(index)]; }

private:
    // Each slot holds its key beside the index, so that a probe reads one place. Key 0, a
    // key of the table, never goes here and marks a free slot.
    struct RSlot
    {
        TKey Key = 0;
        int Index = 0;
    };

    // The index of a key of the table, `count` moved past it when it is new, the key already
    // written at keys[count]. Whether a key is new follows no pattern a branch predictor could
    // learn, so none is taken: a mask chooses the index.
    int NumberDirectly(TKey key, std::size_t& count)
    {
        const int seen = FDirect[key];
        const int isNew = seen >> 31; // all ones for -1
        const int index = seen ^ ((seen ^ static_cast<int>(count)) & isNew);
        FDirect[key] = index;
        count += static_cast<std::size_t>(isNew & 1);
        return index;
    }

    // A scope's few dozen keys fit the slots kept in place; only longer lists take the heap.
    RSlot* Slots() { return FMoreSlots.empty() ? FFirstSlots.data() : FMoreSlots.data(); }
    const RSlot* Slots() const
    {
        return FMoreSlots.empty() ? FFirstSlots.data() : FMoreSlots.data();
    }

    // Linear probing from a multiplicative hash; the table is never more than half full.
    std::size_t Slot(TKey key) const
    {
        const RSlot* table = Slots();
        const std::size_t mask = FSlotCount - 1;
        std::size_t slot = (static_cast<std::size_t>(key) * 0x9E3779B97F4A7C15ull >> 20) & mask;
        while (table[slot].Key != 0 && table[slot].Key != key)
            slot = (slot + 1) & mask;
        return slot;
    }
    void Grow();

    void ClearDirectBeyondAscii();

    static constexpr std::size_t AsciiEnd = 128;
    std::array<int, 0x800> FDirect; // -1 for a key not seen; beyond ASCII only once cleared
    bool FDirectBeyondAscii = false;
    std::vector<TKey> FKeys; // the first FCount are the keys by index; always room for one more
    std::size_t FCount = 0;
    std::array<RSlot, 128> FFirstSlots; // cleared when the first key beyond the table comes
    std::vector<RSlot> FMoreSlots;
    std::size_t FSlotCount = 0; // 0 until then
};
