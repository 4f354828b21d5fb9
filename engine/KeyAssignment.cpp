#include "KeyAssignment.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>

namespace {

using TCost = std::int64_t;

constexpr TCost Unreached = std::numeric_limits<TCost>::max() / 4;
constexpr int NoOne = -1;

struct RWeightedChoice
{
    int Key = 0;
    TCost Cost = 0;
};

using TRows = std::vector<std::vector<RWeightedChoice>>;

// An optimal matching with the dual potentials that prove it optimal. The reduced cost of a
// choice, Cost - RowPotential - KeyPotential, is never negative; it is zero on every matched
// choice; and a key with a negative potential is matched in every optimal assignment. So an
// assignment is optimal exactly when it uses only choices of reduced cost zero and leaves no
// key of negative potential free.
struct RMatching
{
    std::vector<TCost> RowPotential;
    std::vector<TCost> KeyPotential;
    std::vector<int> KeyOfRow;
    std::vector<int> RowOfKey;
};

// The Hungarian method, one row at a time by a shortest augmenting path; the scan over keys is
// dense, the scan over a row's choices sparse. Costs must not be negative.
std::optional<RMatching> MatchCheapest(int keyCount, const TRows& rows,
                                       const std::vector<char>& blocked)
{
    const std::size_t n = rows.size();
    const auto m = static_cast<std::size_t>(keyCount);
    // Index 0 of the key arrays is the root of each search; key k sits at k + 1.
    std::vector<TCost> u(n + 1, 0);
    std::vector<TCost> v(m + 1, 0);
    std::vector<std::size_t> rowAt(m + 1, 0); // 1-based row, 0 for none
    std::vector<std::size_t> way(m + 1, 0);
    std::vector<TCost> minReduced(m + 1);
    std::vector<char> inTree(m + 1);
    for (std::size_t row = 1; row <= n; ++row) {
        rowAt[0] = row;
        std::size_t key0 = 0;
        std::fill(minReduced.begin(), minReduced.end(), Unreached);
        std::fill(inTree.begin(), inTree.end(), 0);
        do {
            inTree[key0] = 1;
            const std::size_t row0 = rowAt[key0];
            for (const RWeightedChoice& choice : rows[row0 - 1]) {
                const auto key = static_cast<std::size_t>(choice.Key) + 1;
                if (inTree[key] || blocked[key - 1])
                    continue;
                const TCost reduced = choice.Cost - u[row0] - v[key];
                if (reduced < minReduced[key]) {
                    minReduced[key] = reduced;
                    way[key] = key0;
                }
            }
            TCost delta = Unreached;
            std::size_t key1 = 0;
            for (std::size_t key = 1; key <= m; ++key)
                if (!inTree[key] && minReduced[key] < delta) {
                    delta = minReduced[key];
                    key1 = key;
                }
            if (key1 == 0)
                return std::nullopt; // the rows in the tree want fewer keys than they are
            for (std::size_t key = 0; key <= m; ++key)
                if (inTree[key]) {
                    u[rowAt[key]] += delta;
                    v[key] -= delta;
                } else if (minReduced[key] != Unreached) {
                    minReduced[key] -= delta;
                }
            key0 = key1;
        } while (rowAt[key0] != 0);
        do {
            const std::size_t key1 = way[key0];
            rowAt[key0] = rowAt[key1];
            key0 = key1;
        } while (key0 != 0);
    }
    RMatching matching;
    matching.RowPotential.assign(u.begin() + 1, u.end());
    matching.KeyPotential.assign(v.begin() + 1, v.end());
    matching.KeyOfRow.assign(n, NoOne);
    matching.RowOfKey.assign(m, NoOne);
    for (std::size_t key = 1; key <= m; ++key)
        if (rowAt[key] != 0) {
            matching.RowOfKey[key - 1] = static_cast<int>(rowAt[key] - 1);
            matching.KeyOfRow[rowAt[key] - 1] = static_cast<int>(key - 1);
        }
    return matching;
}

// Walks back from the seeds along "the owner of x could move to y" edges taken in reverse:
// afterwards Next[x] is the key x's owner moves to on a shortest way to a seed, Reached[x]
// whether there is one, and Order lists the reached keys nearest first.
struct RReach
{
    std::vector<char> Reached;
    std::vector<int> Next;
    std::vector<int> Order;
};

RReach ReachBack(const std::vector<int>& seeds, const std::vector<std::vector<int>>& movesInto)
{
    RReach reach;
    reach.Reached.assign(movesInto.size(), 0);
    reach.Next.assign(movesInto.size(), NoOne);
    for (const int seed : seeds) {
        reach.Reached[seed] = 1;
        reach.Order.push_back(seed);
    }
    for (std::size_t at = 0; at < reach.Order.size(); ++at) {
        const int y = reach.Order[at];
        for (const int x : movesInto[y])
            if (!reach.Reached[x]) {
                reach.Reached[x] = 1;
                reach.Next[x] = y;
                reach.Order.push_back(x);
            }
    }
    return reach;
}

// The cheapest assignment with the lexicographically smallest choice indices. One matching
// gives the optimum and its potentials; then each row in turn takes its leftmost choice that
// some optimal assignment of the rows not yet fixed can use, and the matching is rearranged
// around it without changing its cost.
//
// Forcing row i onto key k frees i's key k0. The rest must move along choices of reduced cost
// zero: either the owners along a chain k -> ... -> k0 each move one step (a cycle), or the
// owners along k -> ... -> f move towards a free key f while a chain w -> ... -> k0 refills k0
// and frees a key w of potential zero. If those two chains met, k would reach k0 and the cycle
// would do, so the test needs no search for disjoint paths.
std::optional<TChoiceIndices> SolveLexicographic(int keyCount, const TRows& rows,
                                                 const std::vector<char>& blocked)
{
    std::optional<RMatching> found = MatchCheapest(keyCount, rows, blocked);
    if (!found)
        return std::nullopt;
    RMatching& matching = *found;
    const std::size_t n = rows.size();
    const auto m = static_cast<std::size_t>(keyCount);

    const auto isTight = [&](std::size_t row, const RWeightedChoice& choice) {
        return !blocked[choice.Key] &&
               choice.Cost - matching.RowPotential[row] - matching.KeyPotential[choice.Key] == 0;
    };
    std::vector<std::vector<int>> tightKeys(n);
    for (std::size_t row = 0; row < n; ++row) {
        for (const RWeightedChoice& choice : rows[row])
            if (isTight(row, choice))
                tightKeys[row].push_back(choice.Key);
        std::sort(tightKeys[row].begin(), tightKeys[row].end());
        tightKeys[row].erase(std::unique(tightKeys[row].begin(), tightKeys[row].end()),
                             tightKeys[row].end());
    }

    std::vector<char> settled(blocked.begin(), blocked.end()); // keys out of play
    TChoiceIndices chosen(n, 0);
    std::vector<std::vector<int>> movesInto(m);
    for (std::size_t row = 0; row < n; ++row) {
        const int k0 = matching.KeyOfRow[row];
        // Mostly the leftmost usable choice is the one matched already, and nothing moves.
        const auto firstUsable =
            std::find_if(rows[row].begin(), rows[row].end(), [&](const RWeightedChoice& choice) {
                return !settled[choice.Key] && isTight(row, choice);
            });
        if (firstUsable->Key == k0) {
            chosen[row] = static_cast<std::size_t>(firstUsable - rows[row].begin());
            settled[k0] = 1;
            continue;
        }
        for (std::vector<int>& into : movesInto)
            into.clear();
        std::vector<int> freeKeys;
        for (std::size_t key = 0; key < m; ++key) {
            if (settled[key])
                continue;
            const int owner = matching.RowOfKey[key];
            if (owner == NoOne)
                freeKeys.push_back(static_cast<int>(key));
            else if (static_cast<std::size_t>(owner) != row)
                for (const int y : tightKeys[owner])
                    if (!settled[y] && y != static_cast<int>(key))
                        movesInto[y].push_back(static_cast<int>(key));
        }
        const RReach toK0 = ReachBack({k0}, movesInto);
        const RReach toFree = ReachBack(freeKeys, movesInto);
        int released = NoOne; // a key of potential zero whose chain refills k0
        for (const int key : toK0.Order)
            if (matching.KeyPotential[key] == 0) {
                released = key;
                break;
            }

        std::vector<std::pair<int, int>> moves; // row, new key
        const auto moveAlong = [&](int from, const RReach& reach) {
            for (int x = from; reach.Next[x] != NoOne; x = reach.Next[x])
                moves.emplace_back(matching.RowOfKey[x], reach.Next[x]);
        };
        bool placed = false;
        for (std::size_t index = 0; index < rows[row].size() && !placed; ++index) {
            const RWeightedChoice& choice = rows[row][index];
            const int k = choice.Key;
            if (settled[k] || !isTight(row, choice))
                continue;
            if (k == k0) {
                placed = true;
            } else if (toK0.Reached[k]) {
                moveAlong(k, toK0);
                placed = true;
            } else if (toFree.Reached[k] && released != NoOne) {
                moveAlong(k, toFree);
                moveAlong(released, toK0);
                placed = true;
            }
            if (!placed)
                continue;
            chosen[row] = index;
            // Each chain's last mover takes a key the previous holder has left, so free the
            // old keys first and then take the new ones.
            for (const auto& [mover, key] : moves)
                matching.RowOfKey[matching.KeyOfRow[mover]] = NoOne;
            matching.RowOfKey[k0] = NoOne;
            for (const auto& [mover, key] : moves) {
                matching.KeyOfRow[mover] = key;
                matching.RowOfKey[key] = mover;
            }
            matching.KeyOfRow[row] = k;
            matching.RowOfKey[k] = static_cast<int>(row);
            settled[k] = 1;
        }
        if (!placed)
            throw std::logic_error("a matched choice was not tight");
    }
    return chosen;
}

void CheckKeys(const RAssignmentScope& scope)
{
    const auto check = [&scope](int key) {
        if (key < 0 || key >= scope.KeyCount)
            throw std::invalid_argument("key " + std::to_string(key) + " outside 0.." +
                                        std::to_string(scope.KeyCount - 1));
    };
    for (const std::vector<RKeyChoice>& choices : scope.Captions)
        for (const RKeyChoice& choice : choices)
            check(choice.Key);
    for (const int key : scope.TakenKeys)
        check(key);
}

std::vector<char> BlockedKeys(const RAssignmentScope& scope)
{
    std::vector<char> blocked(static_cast<std::size_t>(std::max(scope.KeyCount, 0)), 0);
    for (const int key : scope.TakenKeys)
        blocked[key] = 1;
    return blocked;
}

// Each row's costs shifted by its own minimum, which changes every complete assignment's total
// by the same amount and makes every cost non-negative, as the matching needs.
TRows ShiftedRows(const RAssignmentScope& scope)
{
    TRows rows;
    rows.reserve(scope.Captions.size());
    for (const std::vector<RKeyChoice>& choices : scope.Captions) {
        std::vector<RWeightedChoice>& row = rows.emplace_back();
        int least = 0;
        if (!choices.empty())
            least = std::min_element(
                        choices.begin(), choices.end(),
                        [](const RKeyChoice& a, const RKeyChoice& b) { return a.Cost < b.Cost; })
                        ->Cost;
        for (const RKeyChoice& choice : choices)
            row.push_back({choice.Key, TCost{choice.Cost} - least});
    }
    return rows;
}

} // namespace

std::optional<TChoiceIndices> FindCheapestAssignment(const RAssignmentScope& scope)
{
    CheckKeys(scope);
    return SolveLexicographic(scope.KeyCount, ShiftedRows(scope), BlockedKeys(scope));
}

std::optional<TChoiceIndices>
FindCheapestAssignmentKeeping(const RAssignmentScope& scope,
                              const std::vector<std::optional<std::size_t>>& kept)
{
    CheckKeys(scope);
    TRows rows = ShiftedRows(scope);
    // One move must outweigh every possible difference in cost, so that the total orders
    // assignments by moves first and cost second. After the shift a row's costs lie in
    // 0..spread, so no two assignments differ by more than the sum of the spreads.
    TCost spreads = 0;
    for (const std::vector<RWeightedChoice>& row : rows)
        for (const RWeightedChoice& choice : row)
            spreads = std::max(spreads, choice.Cost);
    const TCost move = spreads * static_cast<TCost>(rows.size()) + 1;
    for (std::size_t i = 0; i < rows.size() && i < kept.size(); ++i) {
        if (!kept[i] || *kept[i] >= rows[i].size())
            continue;
        for (std::size_t index = 0; index < rows[i].size(); ++index)
            if (index != *kept[i])
                rows[i][index].Cost += move;
    }
    return SolveLexicographic(scope.KeyCount, rows, BlockedKeys(scope));
}

std::optional<TChoiceIndices> FindGreedyAssignment(const RAssignmentScope& scope)
{
    CheckKeys(scope);
    std::vector<char> taken = BlockedKeys(scope);
    TChoiceIndices chosen;
    chosen.reserve(scope.Captions.size());
    for (const std::vector<RKeyChoice>& choices : scope.Captions) {
        std::optional<std::size_t> best;
        for (std::size_t index = 0; index < choices.size(); ++index)
            if (!taken[choices[index].Key] && (!best || choices[index].Cost < choices[*best].Cost))
                best = index;
        if (!best)
            return std::nullopt;
        taken[choices[*best].Key] = 1;
        chosen.push_back(*best);
    }
    return chosen;
}

std::int64_t AssignmentCost(const RAssignmentScope& scope, const TChoiceIndices& chosen)
{
    std::int64_t total = 0;
    for (std::size_t i = 0; i < chosen.size() && i < scope.Captions.size(); ++i)
        total += scope.Captions[i][chosen[i]].Cost;
    return total;
}
