#include "Engine.h"

#include "CombinationSearch.h"
#include "QuarnelError.h"

std::string InsertMarker(std::string_view caption, std::size_t pos, char marker)
{
    std::string result;
    result.reserve(caption.size() + 1);
    result.append(caption.substr(0, pos));
    result.push_back(marker);
    result.append(caption.substr(pos));
    return result;
}

bool TAccEngine::IsValidCaption(std::string_view caption) const
{
    bool valid = true;
    std::size_t pos = 0;
    while (pos < caption.size() && valid) {
        if (caption[pos] == FAccChar) {
            valid = pos + 1 < caption.size() && caption[pos + 1] == FAccChar;
            pos += 2;
        } else {
            ++pos;
        }
    }
    return valid && !caption.empty();
}

std::vector<RCandidate> TAccEngine::CandidatesOf(std::string_view caption)
{
    std::vector<RCandidate> candidates;
    bool offered[256] = {};
    for (std::size_t pos = 0; pos < caption.size(); ++pos) {
        if (!IsEligibleChar(caption[pos]))
            continue;
        const char key = KeyOf(caption[pos]);
        bool& seen = offered[static_cast<unsigned char>(key)];
        if (seen)
            continue;
        seen = true;
        candidates.push_back({pos, key});
    }
    return candidates;
}

void TAccEngine::AddPosResult(std::string caption)
{
    auto node = std::make_unique<RPosResultList>();
    node->PosResult.Candidates = CandidatesOf(caption);
    node->PosResult.Caption = std::move(caption);
    RPosResultList* const added = node.get();
    if (FPosResultsTail)
        FPosResultsTail->Next = std::move(node);
    else
        FPosResults = std::move(node);
    FPosResultsTail = added;
    ++FPosResultCount;
}

void TAccEngine::ClearPosResults()
{
    // Head first, one node at a time: letting the links destroy each other would recurse once
    // per node and overflow the stack on a long list.
    while (FPosResults)
        FPosResults = std::move(FPosResults->Next);
    FPosResultsTail = nullptr;
    FPosResultCount = 0;
}

bool TAccEngine::IsValidCombination(const TCombination& combination)
{
    std::string usedKeys;
    for (const RCandidate& candidate : combination) {
        if (usedKeys.find(candidate.Key) != std::string::npos)
            return false;
        usedKeys.push_back(candidate.Key);
    }
    return true;
}

void TAccEngine::FindCombination()
{
    FBestCombination.clear();
    std::vector<std::vector<int>> keyLists;
    keyLists.reserve(FPosResultCount);
    for (const RPosResultList* node = FPosResults.get(); node; node = node->Next.get()) {
        std::vector<int>& keys = keyLists.emplace_back();
        for (const RCandidate& candidate : node->PosResult.Candidates)
            keys.push_back(KeyIndex(candidate.Key));
    }
    const std::optional<std::vector<int>> chosen = FindFirstAssignment(keyLists, KeyCount);
    if (!chosen || keyLists.empty())
        return;
    std::size_t i = 0;
    for (const RPosResultList* node = FPosResults.get(); node; node = node->Next.get(), ++i)
        FBestCombination.push_back(node->PosResult.Candidates[(*chosen)[i]]);
}

namespace {

// Idle must follow busy on every way out of a pass, failures included.
class TBusyScope
{
public:
    explicit TBusyScope(IProcessHost& host) : FHost(host) { FHost.ProcessBusy(); }
    ~TBusyScope() { FHost.ProcessIdle(); }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    IProcessHost& FHost;
};

} // namespace

std::vector<RAccelerated>
TAccEngine::Process(std::size_t count,
                    const std::function<const std::string&(std::size_t)>& captionAt,
                    IProcessHost& host)
{
    FBestCombination.clear();
    const TBusyScope busy(host);
    host.ProcessStage(StageInitializing);
    ClearPosResults();
    host.ProcessStage(StageFindingCaptions);
    // More captions than keys can never succeed; a long list fails here without building
    // candidates nobody would read.
    const bool hopeless = count > static_cast<std::size_t>(KeyCount);
    if (!hopeless)
        for (std::size_t i = 0; i < count; ++i)
            AddPosResult(captionAt(i));
    host.ProcessStage(StageFindingCombination);
    if (!hopeless)
        FindCombination();
    // An empty list has nothing to assign and so nothing that can fail.
    if (FBestCombination.empty() && count > 0)
        throw EQuarnelError(MsgNoCombination);

    std::vector<RAccelerated> results;
    results.reserve(count);
    std::size_t i = 0;
    for (const RPosResultList* node = FPosResults.get(); node; node = node->Next.get(), ++i)
        results.push_back(
            {AcceleratedCaption(node->PosResult, FBestCombination[i]), FBestCombination[i].Key});
    return results;
}
