#pragma once

// The accelerator engine: which captions are acceptable, the candidate accelerated forms of a
// caption, and the search for one candidate per caption with all keys distinct.

#include "Keys.h"
#include "ProcessHost.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char DefaultAccChar = '&';

// One accelerated form of a caption: the marker goes right before Caption[Pos].
// Keeping the position instead of the finished text keeps every caption byte intact for any
// marker, the zero byte included, and makes the chain of a long list cheap.
struct RCandidate
{
    std::size_t Pos = 0;
    char Key = 0; // upper case for letters

    bool operator==(const RCandidate&) const = default;
};

struct RPosResult
{
    std::string Caption;
    std::vector<RCandidate> Candidates; // left to right, one per distinct key
};

struct RPosResultList
{
    RPosResult PosResult;
    std::unique_ptr<RPosResultList> Next;
};

// Element i belongs to the i-th node of the chain.
using TCombination = std::vector<RCandidate>;

// What a pass gives each caption.
struct RAccelerated
{
    std::string Caption;
    char Key = 0;

    bool operator==(const RAccelerated&) const = default;
};

inline constexpr const char* MsgNoCombination = "Unable to get best captions combination.";
inline constexpr const char* StageInitializing = "Initializing...";
inline constexpr const char* StageFindingCaptions = "Finding possible captions...";
inline constexpr const char* StageFindingCombination = "Finding best captions combination...";

std::string InsertMarker(std::string_view caption, std::size_t pos, char marker);

class TAccEngine
{
public:
    TAccEngine() = default;
    TAccEngine(const TAccEngine&) = delete;
    TAccEngine& operator=(const TAccEngine&) = delete;
    ~TAccEngine() { ClearPosResults(); }

    char FAccChar = DefaultAccChar;

    // Non-empty, and every marker belongs to a doubled pair, taken left to right.
    bool IsValidCaption(std::string_view caption) const;

    static std::vector<RCandidate> CandidatesOf(std::string_view caption);
    void AddPosResult(std::string caption);
    void ClearPosResults();
    const RPosResultList* PosResults() const { return FPosResults.get(); }
    std::size_t PosResultCount() const { return FPosResultCount; }

    static bool IsValidCombination(const TCombination& combination);

    // Fills FBestCombination with the first assignment a depth-first search over the chain
    // (entries in order, candidates left to right) would meet, or leaves it empty when there
    // is none; decided by bipartite matching instead of backtracking.
    void FindCombination();
    const TCombination& BestCombination() const { return FBestCombination; }

    std::string AcceleratedCaption(const RPosResult& posResult, const RCandidate& candidate) const
    {
        return InsertMarker(posResult.Caption, candidate.Pos, FAccChar);
    }

    // A whole processing pass over `count` captions. Returns one result per caption or throws
    // EQuarnelError; the host hears busy before the first stage and idle at the end either way.
    std::vector<RAccelerated>
    Process(std::size_t count, const std::function<const std::string&(std::size_t)>& captionAt,
            IProcessHost& host);

private:
    std::unique_ptr<RPosResultList> FPosResults;
    RPosResultList* FPosResultsTail = nullptr; // appending never walks the chain
    std::size_t FPosResultCount = 0;
    TCombination FBestCombination;
};
