#pragma once

// The key vocabulary every part of the engine shares: the keys of the ASCII rule and their
// order, the bit sets over key indices, and the dense numbering of the keys one list uses.

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

bool IsEligibleChar(char c);
char KeyOf(char c);     // ASCII upper-casing only
int KeyIndex(char key); // 0..KeyCount-1, or -1 when the byte can't be a key
char KeyAt(int index);  // the inverse of KeyIndex

// Bit i stands for the key with index i: the ASCII rule's keys, or the dense indices of a list
// with at most 64 distinct keys.
using TKeySet = std::uint64_t;
inline constexpr int KeySetBits = 64;

constexpr TKeySet KeyBit(int index)
{
    return TKeySet{1} << index;
}

// Numbers the distinct keys of one list 0, 1, 2... in ascending key order, so that bit sets
// and tables grow with the list and not with Unicode.
class TDenseKeys
{
public:
    explicit TDenseKeys(std::vector<TKey> keys);

    int Count() const { return static_cast<int>(FKeys.size()); }
    int IndexOf(TKey key) const; // -1 when the list has no such key
    TKey KeyOfIndex(int index) const { return FKeys[static_cast<std::size_t>(index)]; }

private:
    std::vector<TKey> FKeys; // sorted, distinct
};
