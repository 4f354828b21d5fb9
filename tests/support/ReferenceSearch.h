#pragma once

// The reference search: the plain depth-first backtracking search, step for step, with each level
// receiving its own copy of the prefix. It is exponential on purpose; tests and benchmarks hold
// the engine's fast search against it.

#include "Engine.h"

// The first combination the depth-first search meets, or an empty one when there is none (and
// for an empty chain).
TCombination ReferenceFindCombination(const RPosResultList* head);

#include "KeyRule.h"

#include <optional>
#include <vector>

// The same search over candidates of any key rule: per entry, the position of the chosen
// candidate in its list, or none.
std::optional<std::vector<std::size_t>>
ReferenceFirstAssignment(const std::vector<std::vector<RKeyCandidate>>& candidates);
