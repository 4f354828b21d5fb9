#pragma once

// The cheapest assignment of distinct keys to the captions of one scope, decided exactly by
// minimum-cost bipartite matching, and the greedy pass that tools usually make instead.
//
// Keys are dense indices 0..KeyCount-1 of whatever vocabulary the caller uses; nothing here
// knows what a key looks like.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// One place a caption can take a key, and what taking it there costs.
struct RKeyChoice
{
    int Key = 0;
    int Cost = 0;

    bool operator==(const RKeyChoice&) const = default;
};

struct RAssignmentScope
{
    int KeyCount = 0;
    // Per caption, its choices in caption-character order. A key may appear more than once
    // in a caption (two places that give the same key).
    std::vector<std::vector<RKeyChoice>> Captions;
    // Keys taken from outside the scope, which no caption may take.
    std::vector<int> TakenKeys;
};

// Per caption, the index of its chosen choice.
using TChoiceIndices = std::vector<std::size_t>;

// The complete assignment of distinct keys with the least total cost, or nullopt when there is
// no complete assignment. Among the cheapest, the one whose choice indices are lexicographically
// smallest in caption order: the first caption sits as far left as any optimum allows, then the
// second, and so on. Throws std::invalid_argument for a key outside 0..KeyCount-1.
std::optional<TChoiceIndices> FindCheapestAssignment(const RAssignmentScope& scope);

// The same for mending a scope whose captions already carry markers: Kept[i] is the choice
// where caption i's marker already stands, if any. The fewest captions leave their kept
// choice, and among those assignments the least total cost, then the same tie-break.
std::optional<TChoiceIndices>
FindCheapestAssignmentKeeping(const RAssignmentScope& scope,
                              const std::vector<std::optional<std::size_t>>& kept);

// One caption at a time in order, each taking its cheapest choice whose key is still free
// (the leftmost among equals); nullopt when a caption finds none.
std::optional<TChoiceIndices> FindGreedyAssignment(const RAssignmentScope& scope);

std::int64_t AssignmentCost(const RAssignmentScope& scope, const TChoiceIndices& chosen);
