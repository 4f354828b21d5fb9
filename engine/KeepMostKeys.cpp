#include "KeepMostKeys.h"

#include "CombinationSearch.h"
#include "Lint.h"

#include <algorithm>
#include <optional>

namespace {

// Minimum-cost assignment of every row to a distinct column (rows <= columns), by the
// Hungarian method in O(rows^2 * columns). Costs are small integers; Forbidden marks a pair
// that may not be used. Returns the cost, or nullopt when every assignment uses a forbidden
// pair.
class TAssignment
{
public:
    TAssignment(std::size_t rows, std::size_t columns)
        : FRows(rows), FColumns(columns), FCost(rows * columns, Forbidden)
    {}

    void Set(std::size_t row, std::size_t column, int cost)
    {
        FCost[row * FColumns + column] = cost;
    }
    int Get(std::size_t row, std::size_t column) const { return FCost[row * FColumns + column]; }

    std::optional<int> MinimumCost() const
    {
        if (FRows > FColumns)
            return std::nullopt;
        // Potentials and the column each row takes, 1-based with 0 as the start sentinel.
        const std::size_t n = FRows;
        const std::size_t m = FColumns;
        std::vector<long long> u(n + 1, 0);
        std::vector<long long> v(m + 1, 0);
        std::vector<std::size_t> rowOf(m + 1, 0);
        std::vector<std::size_t> way(m + 1, 0);
        constexpr long long Infinite = 1LL << 60;
        for (std::size_t i = 1; i <= n; ++i) {
            rowOf[0] = i;
            std::size_t j0 = 0;
            std::vector<long long> minimum(m + 1, Infinite);
            std::vector<bool> used(m + 1, false);
            do {
                used[j0] = true;
                const std::size_t i0 = rowOf[j0];
                long long delta = Infinite;
                std::size_t j1 = 0;
                for (std::size_t j = 1; j <= m; ++j) {
                    if (used[j])
                        continue;
                    const long long current = CostOf(i0 - 1, j - 1) - u[i0] - v[j];
                    if (current < minimum[j]) {
                        minimum[j] = current;
                        way[j] = j0;
                    }
                    if (minimum[j] < delta) {
                        delta = minimum[j];
                        j1 = j;
                    }
                }
                for (std::size_t j = 0; j <= m; ++j) {
                    if (used[j]) {
                        u[rowOf[j]] += delta;
                        v[j] -= delta;
                    } else {
                        minimum[j] -= delta;
                    }
                }
                j0 = j1;
            } while (rowOf[j0] != 0);
            do {
                const std::size_t j1 = way[j0];
                rowOf[j0] = rowOf[j1];
                j0 = j1;
            } while (j0 != 0);
        }
        long long total = 0;
        for (std::size_t j = 1; j <= m; ++j) {
            if (rowOf[j] == 0)
                continue;
            const int cost = Get(rowOf[j] - 1, j - 1);
            if (cost == Forbidden)
                return std::nullopt;
            total += cost;
        }
        return static_cast<int>(total);
    }

    static constexpr int Forbidden = 1 << 20;

private:
    // A forbidden pair costs more than all allowed ones together could save.
    long long CostOf(std::size_t row, std::size_t column) const
    {
        const int cost = Get(row, column);
        return cost == Forbidden ? static_cast<long long>(FRows) + 1 : cost;
    }

    std::size_t FRows;
    std::size_t FColumns;
    std::vector<int> FCost;
};

struct RParticipant
{
    std::size_t Caption = 0;
    RStrippedCaption Stripped;
    std::vector<RKeyCandidate> Candidates; // outside keys left out
    std::optional<TKey> Pin;               // a key it can keep
};

} // namespace

RStrippedCaption StripMarkers(std::string_view caption, char marker)
{
    const RMarkers markers = ScanMarkers(caption, marker);
    RStrippedCaption stripped;
    stripped.RemovedMarkers = markers.Singles;
    if (markers.LoneAtEnd)
        stripped.RemovedMarkers.push_back(caption.size() - 1);
    stripped.Text.reserve(caption.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (next < stripped.RemovedMarkers.size() && stripped.RemovedMarkers[next] == i) {
            ++next;
            continue;
        }
        stripped.Text.push_back(caption[i]);
        stripped.Origins.push_back(i);
    }
    stripped.Origins.push_back(caption.size());
    return stripped;
}

RScopeMending KeepMostKeys(const RScope& scope, const std::vector<bool>& needsKey,
                           const IKeyRule& rule, char marker)
{
    const std::vector<TKey>& outside = scope.OutsideKeys;
    const auto isOutside = [&outside](TKey key) {
        return std::find(outside.begin(), outside.end(), key) != outside.end();
    };

    std::vector<RParticipant> participants;
    for (std::size_t i = 0; i < scope.Captions.size(); ++i) {
        const std::string& caption = scope.Captions[i];
        const RScopeMarkers scanned = ScanScopeMarkers(caption, rule, marker);
        const bool marked = !scanned.Markers.Singles.empty() || scanned.Markers.LoneAtEnd;
        if (!marked && !(i < needsKey.size() && needsKey[i]))
            continue;
        RParticipant& participant = participants.emplace_back();
        participant.Caption = i;
        participant.Stripped = StripMarkers(caption, marker);
        for (const RKeyCandidate& candidate : rule.CandidatesOf(participant.Stripped.Text))
            if (!isOutside(candidate.Key))
                participant.Candidates.push_back(candidate);
        if (scanned.PinnedKey && !isOutside(*scanned.PinnedKey))
            participant.Pin = scanned.PinnedKey;
    }

    std::vector<TKey> keys;
    for (const RParticipant& participant : participants)
        for (const RKeyCandidate& candidate : participant.Candidates)
            keys.push_back(candidate.Key);
    const TDenseKeys dense(std::move(keys));

    // Keeping a key costs -1, taking any other candidate 0: the cheapest assignment keeps the
    // most keys.
    TAssignment assignment(participants.size(), static_cast<std::size_t>(dense.Count()));
    for (std::size_t p = 0; p < participants.size(); ++p) {
        for (const RKeyCandidate& candidate : participants[p].Candidates)
            assignment.Set(p, static_cast<std::size_t>(dense.IndexOf(candidate.Key)), 0);
        if (participants[p].Pin)
            assignment.Set(p, static_cast<std::size_t>(dense.IndexOf(*participants[p].Pin)), -1);
    }
    RScopeMending mending;
    const std::optional<int> best = assignment.MinimumCost();
    if (!best)
        return mending;

    // Earlier captions first: each keeps its key when the best count can still be reached.
    std::vector<bool> kept(participants.size(), false);
    for (std::size_t p = 0; p < participants.size(); ++p) {
        if (!participants[p].Pin)
            continue;
        const std::size_t pinColumn = static_cast<std::size_t>(dense.IndexOf(*participants[p].Pin));
        TAssignment keeping = assignment;
        for (std::size_t column = 0; column < static_cast<std::size_t>(dense.Count()); ++column)
            if (column != pinColumn)
                keeping.Set(p, column, TAssignment::Forbidden);
        if (keeping.MinimumCost() == best) {
            assignment = std::move(keeping);
            kept[p] = true;
        } else {
            // Losing its key, it may not take the same key elsewhere either: that would be
            // keeping it.
            assignment.Set(p, pinColumn, TAssignment::Forbidden);
        }
    }

    std::vector<bool> taken(static_cast<std::size_t>(dense.Count()), false);
    for (std::size_t p = 0; p < participants.size(); ++p)
        if (kept[p])
            taken[static_cast<std::size_t>(dense.IndexOf(*participants[p].Pin))] = true;
    std::vector<std::size_t> mended;
    std::vector<std::vector<RKeyCandidate>> offered;
    std::vector<std::vector<int>> keyLists;
    for (std::size_t p = 0; p < participants.size(); ++p) {
        if (kept[p])
            continue;
        mended.push_back(p);
        std::vector<RKeyCandidate>& candidates = offered.emplace_back();
        std::vector<int>& indices = keyLists.emplace_back();
        for (const RKeyCandidate& candidate : participants[p].Candidates) {
            const int index = dense.IndexOf(candidate.Key);
            if (!taken[static_cast<std::size_t>(index)]) {
                candidates.push_back(candidate);
                indices.push_back(index);
            }
        }
    }
    const std::optional<std::vector<int>> chosen = FindFirstAssignment(keyLists, dense.Count());
    if (!chosen)
        return mending;

    mending.Mended = true;
    mending.KeptKeys = static_cast<std::size_t>(-*best);
    mending.Captions.resize(scope.Captions.size());
    for (std::size_t k = 0; k < mended.size(); ++k) {
        RParticipant& participant = participants[mended[k]];
        RCaptionMend& mend = mending.Captions[participant.Caption];
        mend.Candidate = offered[k][static_cast<std::size_t>((*chosen)[k])];
        mend.Caption = ApplyCandidate(participant.Stripped.Text, mend.Candidate, marker);
        mend.Changed = mend.Caption != scope.Captions[participant.Caption];
        mend.Stripped = std::move(participant.Stripped);
    }
    return mending;
}
