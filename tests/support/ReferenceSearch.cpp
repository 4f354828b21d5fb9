#include "ReferenceSearch.h"

#include <algorithm>
#include <string>

namespace {

std::string UsedKeys(const TCombination& prefix)
{
    std::string keys;
    for (const RCandidate& candidate : prefix)
        keys.push_back(candidate.Key);
    return keys;
}

// The prefix is taken by value: every level works on a copy of its own, as the search it
// stands for does.
void FindCombination(TCombination prefix, const RPosResultList* node, TCombination& best)
{
    const std::string usedKeys = UsedKeys(prefix);
    for (const RCandidate& candidate : node->PosResult.Candidates) {
        if (usedKeys.find(candidate.Key) != std::string::npos)
            continue;
        TCombination extended = prefix;
        extended.push_back(candidate);
        if (node->Next) {
            FindCombination(extended, node->Next.get(), best);
        } else if (TAccEngine::IsValidCombination(extended)) {
            best = extended;
        }
        if (!best.empty())
            return;
    }
}

} // namespace

TCombination ReferenceFindCombination(const RPosResultList* head)
{
    TCombination best;
    if (head)
        FindCombination({}, head, best);
    return best;
}

namespace {

bool Extend(std::vector<std::size_t> prefix, std::vector<TKey> used,
            const std::vector<std::vector<RKeyCandidate>>& candidates,
            std::optional<std::vector<std::size_t>>& best)
{
    const std::size_t entry = prefix.size();
    if (entry == candidates.size()) {
        best = prefix;
        return true;
    }
    for (std::size_t c = 0; c < candidates[entry].size(); ++c) {
        const TKey key = candidates[entry][c].Key;
        if (std::find(used.begin(), used.end(), key) != used.end())
            continue;
        std::vector<std::size_t> extended = prefix;
        extended.push_back(c);
        std::vector<TKey> usedThen = used;
        usedThen.push_back(key);
        if (Extend(extended, usedThen, candidates, best))
            return true;
    }
    return false;
}

} // namespace

std::optional<std::vector<std::size_t>>
ReferenceFirstAssignment(const std::vector<std::vector<RKeyCandidate>>& candidates)
{
    std::optional<std::vector<std::size_t>> best;
    Extend({}, {}, candidates, best);
    return best;
}
