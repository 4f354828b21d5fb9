#include "Pinning.h"

#include "CombinationSearch.h"

#include <optional>

RPinnedAssignment AssignKeepingPins(const std::vector<std::string>& captions, char marker)
{
    RPinnedAssignment assignment;
    assignment.Conflicts = MarkerConflicts(captions, marker);
    // Every caption needs a key of its own, pinned or not.
    if (!assignment.Conflicts.empty() || captions.size() > static_cast<std::size_t>(KeyCount))
        return assignment;

    std::vector<std::optional<std::size_t>> pins;
    pins.reserve(captions.size());
    TKeySet reserved = 0;
    for (const std::string& caption : captions) {
        pins.push_back(PinnedPosition(caption, ScanMarkers(caption, marker)));
        if (pins.back())
            reserved |= KeyBit(KeyIndex(KeyOf(caption[*pins.back()])));
    }

    // The free captions' candidates without the reserved keys, remembering where each came from.
    std::vector<std::vector<RCandidate>> offered;
    std::vector<std::vector<int>> keyLists;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        if (pins[i])
            continue;
        std::vector<RCandidate>& candidates = offered.emplace_back();
        std::vector<int>& keys = keyLists.emplace_back();
        for (const RCandidate& candidate : TAccEngine::CandidatesOf(captions[i])) {
            const int key = KeyIndex(candidate.Key);
            if ((reserved & KeyBit(key)) == 0) {
                candidates.push_back(candidate);
                keys.push_back(key);
            }
        }
    }
    const std::optional<std::vector<int>> chosen = FindFirstAssignment(keyLists, KeyCount);
    if (!chosen)
        return assignment;

    assignment.Assigned = true;
    assignment.Results.reserve(captions.size());
    std::size_t free = 0;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        if (pins[i]) {
            assignment.Results.push_back({captions[i], KeyOf(captions[i][*pins[i]])});
        } else {
            const RCandidate& candidate = offered[free][static_cast<std::size_t>((*chosen)[free])];
            assignment.Results.push_back(
                {InsertMarker(captions[i], candidate.Pos, marker), candidate.Key});
            ++free;
        }
    }
    return assignment;
}

std::vector<TKeySet> PinnedKeySets(const std::vector<std::string>& captions, char marker)
{
    std::vector<TKeySet> keySets;
    keySets.reserve(captions.size());
    for (const std::string& caption : captions) {
        const std::optional<std::size_t> pin =
            PinnedPosition(caption, ScanMarkers(caption, marker));
        keySets.push_back(pin ? KeyBit(KeyIndex(KeyOf(caption[*pin]))) : KeySetOf(caption));
    }
    return keySets;
}
