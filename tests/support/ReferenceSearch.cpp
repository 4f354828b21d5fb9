#include "ReferenceSearch.h"

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
