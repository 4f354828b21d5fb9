#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// Key lists of many entries in one block, for scopes built and searched by the thousand.
struct TFlatKeyLists
{
    std::vector<int> Keys;
    std::vector<std::size_t> Ends; // entry i's keys end before Keys[Ends[i]]

    std::size_t size() const { return Ends.size(); }
    std::span<const int> operator[](std::size_t i) const
    {
        const std::size_t begin = i == 0 ? 0 : Ends[i - 1];
        return std::span<const int>(Keys).subspan(begin, Ends[i] - begin);
    }
};

// Each entry lists the key indices of its candidates in preference order, no index twice.
// Returns, per entry, the position in its list of the chosen candidate: the assignment with
// distinct keys that is first in lexicographic order of those positions, which is exactly the
// first leaf a depth-first search would reach. nullopt when none exists.
//
// Indices are dense, 0..keyCount-1: the work grows with the keys a list uses, never with all
// the keys there are. More entries than keys fail at once.
std::optional<std::vector<int>> FindFirstAssignment(const std::vector<std::vector<int>>& keyLists,
                                                    int keyCount);

std::optional<std::vector<int>> FindFirstAssignment(const TFlatKeyLists& keyLists, int keyCount);
// The same into `chosen`, reused from one call to the next; false when there is none.
bool FindFirstAssignment(const TFlatKeyLists& keyLists, int keyCount, std::vector<int>& chosen);

// The same with keyCount taken from the largest index used.
std::optional<std::vector<int>> FindFirstAssignment(const std::vector<std::vector<int>>& keyLists);
