#pragma once

// Assignment that keeps the keys a list already carries: a caption with exactly one sound
// marker keeps it, and the others are assigned around those keys.

#include "Diagnosis.h"
#include "Engine.h"
#include "Lint.h"

#include <string>
#include <vector>

struct RPinnedAssignment
{
    // Markers that cannot be kept: the same key pinned twice, a marker before a character that
    // cannot be a key, and also a lone marker at the end or several markers in one caption,
    // since no key could be kept from those without guessing.
    std::vector<RFinding> Conflicts;
    bool Assigned = false;
    // One per caption when assigned: a pinned caption unchanged with its key; any other with
    // the marker where the first assignment puts it, with the pinned keys taken out of play.
    std::vector<RAccelerated> Results;
};

// The unpinned captions get exactly the answer of the depth-first search run over the whole list
// with each pinned caption offering its pinned candidate only.
RPinnedAssignment AssignKeepingPins(const std::vector<std::string>& captions, char marker);

// Per caption, the keys it may take when pins are kept: its pinned key alone, or the keys of its
// candidates. For Diagnose, to explain a failure of AssignKeepingPins without conflicts.
std::vector<TKeySet> PinnedKeySets(const std::vector<std::string>& captions, char marker);
