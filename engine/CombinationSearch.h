#pragma once

#include <optional>
#include <vector>

// Each entry lists the key indices (0..KeyCount-1) of its candidates in preference order, no
// index twice. Returns, per entry, the position in its list of the chosen candidate: the
// assignment with distinct keys that is first in lexicographic order of those positions,
// which is exactly the first leaf a depth-first search would reach. nullopt when none exists.
std::optional<std::vector<int>> FindFirstAssignment(const std::vector<std::vector<int>>& keyLists);
