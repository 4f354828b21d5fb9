#pragma once

// Sets of dense key indices with one interface in two sizes: a single word when a list has at
// most 64 distinct keys (every ASCII list), words as many as needed beyond. The searches are
// written once over either.

#include "Keys.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

class TSmallKeyBits
{
public:
    explicit TSmallKeyBits(int = 0) {}
    static TSmallKeyBits FromWord(TKeySet word)
    {
        TSmallKeyBits bits;
        bits.FWord = word;
        return bits;
    }
    TKeySet Word() const { return FWord; }

    bool Test(int i) const { return (FWord & KeyBit(i)) != 0; }
    void Set(int i) { FWord |= KeyBit(i); }
    bool Any() const { return FWord != 0; }
    int Count() const { return std::popcount(FWord); }
    int First() const { return FWord == 0 ? -1 : std::countr_zero(FWord); }
    // Removes and returns the lowest member, for walking a set that is consumed.
    int PopFirst()
    {
        const int first = std::countr_zero(FWord);
        FWord &= FWord - 1;
        return first;
    }
    TSmallKeyBits Without(const TSmallKeyBits& other) const
    {
        return FromWord(FWord & ~other.FWord);
    }
    TSmallKeyBits& operator|=(const TSmallKeyBits& other)
    {
        FWord |= other.FWord;
        return *this;
    }
    bool operator==(const TSmallKeyBits&) const = default;

private:
    TKeySet FWord = 0;
};

class TWideKeyBits
{
public:
    explicit TWideKeyBits(int count = 0) : FWords(static_cast<std::size_t>((count + 63) / 64)) {}

    bool Test(int i) const { return (FWords[Word(i)] & KeyBit(i % 64)) != 0; }
    void Set(int i) { FWords[Word(i)] |= KeyBit(i % 64); }
    bool Any() const
    {
        return std::any_of(FWords.begin(), FWords.end(), [](TKeySet w) { return w != 0; });
    }
    int Count() const
    {
        int count = 0;
        for (const TKeySet w : FWords)
            count += std::popcount(w);
        return count;
    }
    int First() const
    {
        for (std::size_t w = 0; w < FWords.size(); ++w)
            if (FWords[w] != 0)
                return static_cast<int>(w * 64) + std::countr_zero(FWords[w]);
        return -1;
    }
    int PopFirst()
    {
        for (std::size_t w = 0; w < FWords.size(); ++w)
            if (FWords[w] != 0) {
                const int first = static_cast<int>(w * 64) + std::countr_zero(FWords[w]);
                FWords[w] &= FWords[w] - 1;
                return first;
            }
        return -1;
    }
    TWideKeyBits Without(const TWideKeyBits& other) const
    {
        TWideKeyBits result = *this;
        for (std::size_t w = 0; w < FWords.size(); ++w)
            result.FWords[w] &= ~other.FWords[w];
        return result;
    }
    TWideKeyBits& operator|=(const TWideKeyBits& other)
    {
        for (std::size_t w = 0; w < FWords.size(); ++w)
            FWords[w] |= other.FWords[w];
        return *this;
    }
    bool operator==(const TWideKeyBits&) const = default;

private:
    static std::size_t Word(int i) { return static_cast<std::size_t>(i / 64); }

    std::vector<TKeySet> FWords;
};
