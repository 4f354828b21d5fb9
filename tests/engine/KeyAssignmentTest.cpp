// The cheapest assignment against an exhaustive search, on hand-made and random scopes.
#include "KeyAssignment.h"

#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

// What an answer is worth: moves away from kept choices first, then cost.
struct RScore
{
    int Moves = 0;
    std::int64_t Cost = 0;

    auto operator<=>(const RScore&) const = default;
};

// Every complete assignment in lexicographic order of choice indices, keeping the first one
// that is strictly better than all before it: the lexicographically smallest optimum.
class TBruteForce
{
public:
    TBruteForce(const RAssignmentScope& scope, std::vector<std::optional<std::size_t>> kept)
        : FScope(scope), FKept(std::move(kept)), FTaken(static_cast<std::size_t>(scope.KeyCount), 0)
    {
        for (const int key : scope.TakenKeys)
            FTaken[key] = 1;
        Visit(0, {});
    }

    const std::optional<TChoiceIndices>& Best() const { return FBest; }
    RScore BestScore() const { return FBestScore; }
    int OptimumCount() const { return FOptimumCount; }

private:
    void Visit(std::size_t row, RScore score)
    {
        if (row == FScope.Captions.size()) {
            if (!FBest || score < FBestScore) {
                FBest = FPath;
                FBestScore = score;
                FOptimumCount = 1;
            } else if (score == FBestScore) {
                ++FOptimumCount;
            }
            return;
        }
        const std::vector<RKeyChoice>& choices = FScope.Captions[row];
        for (std::size_t index = 0; index < choices.size(); ++index) {
            if (FTaken[choices[index].Key])
                continue;
            FTaken[choices[index].Key] = 1;
            FPath.push_back(index);
            RScore next = score;
            next.Cost += choices[index].Cost;
            if (row < FKept.size() && FKept[row] && *FKept[row] != index)
                ++next.Moves;
            Visit(row + 1, next);
            FPath.pop_back();
            FTaken[choices[index].Key] = 0;
        }
    }

    const RAssignmentScope& FScope;
    std::vector<std::optional<std::size_t>> FKept;
    std::vector<char> FTaken;
    TChoiceIndices FPath;
    std::optional<TChoiceIndices> FBest;
    RScore FBestScore;
    int FOptimumCount = 0;
};

bool KeysDistinctAndFree(const RAssignmentScope& scope, const TChoiceIndices& chosen)
{
    std::vector<char> taken(static_cast<std::size_t>(scope.KeyCount), 0);
    for (const int key : scope.TakenKeys)
        taken[key] = 1;
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const int key = scope.Captions[i][chosen[i]].Key;
        if (taken[key])
            return false;
        taken[key] = 1;
    }
    return chosen.size() == scope.Captions.size();
}

RAssignmentScope RandomScope(std::mt19937& random)
{
    RAssignmentScope scope;
    scope.KeyCount = std::uniform_int_distribution<int>(1, 7)(random);
    std::uniform_int_distribution<int> key(0, scope.KeyCount - 1);
    // Few distinct costs, so that ties between optima are the rule rather than the exception.
    std::uniform_int_distribution<int> cost(-1, 2);
    const int captions = std::uniform_int_distribution<int>(0, 6)(random);
    for (int i = 0; i < captions; ++i) {
        std::vector<RKeyChoice>& choices = scope.Captions.emplace_back();
        for (int n = std::uniform_int_distribution<int>(0, 5)(random); n > 0; --n)
            choices.push_back({key(random), cost(random)});
    }
    if (std::uniform_int_distribution<int>(0, 3)(random) == 0)
        scope.TakenKeys.push_back(key(random));
    return scope;
}

TEST(KeyAssignmentTest, MatchesExhaustiveSearchOnRandomScopes)
{
    std::mt19937 random(16);
    int feasible = 0;
    int greedyWorse = 0;
    int greedyFailed = 0;
    int tied = 0;
    for (int round = 0; round < 20000; ++round) {
        const RAssignmentScope scope = RandomScope(random);
        const TBruteForce brute(scope, {});
        const std::optional<TChoiceIndices> cheapest = FindCheapestAssignment(scope);
        ASSERT_EQ(cheapest.has_value(), brute.Best().has_value()) << "round " << round;
        const std::optional<TChoiceIndices> greedy = FindGreedyAssignment(scope);
        if (!cheapest) {
            EXPECT_FALSE(greedy.has_value());
            continue;
        }
        ++feasible;
        if (brute.OptimumCount() > 1)
            ++tied;
        ASSERT_TRUE(KeysDistinctAndFree(scope, *cheapest)) << "round " << round;
        EXPECT_EQ(AssignmentCost(scope, *cheapest), brute.BestScore().Cost) << "round " << round;
        EXPECT_EQ(*cheapest, *brute.Best()) << "round " << round;
        if (!greedy) {
            ++greedyFailed;
            continue;
        }
        ASSERT_TRUE(KeysDistinctAndFree(scope, *greedy));
        EXPECT_LE(AssignmentCost(scope, *cheapest), AssignmentCost(scope, *greedy));
        if (AssignmentCost(scope, *cheapest) < AssignmentCost(scope, *greedy))
            ++greedyWorse;
    }
    // The random scopes must reach the cases that tell the methods apart.
    EXPECT_GT(feasible, 8000);
    EXPECT_GT(tied, 2000);
    EXPECT_GT(greedyWorse, 250);
    EXPECT_GT(greedyFailed, 500);
}

TEST(KeyAssignmentTest, KeepingMatchesExhaustiveSearchOnRandomScopes)
{
    std::mt19937 random(61);
    int movedSome = 0;
    for (int round = 0; round < 10000; ++round) {
        const RAssignmentScope scope = RandomScope(random);
        std::vector<std::optional<std::size_t>> kept;
        for (const std::vector<RKeyChoice>& choices : scope.Captions)
            if (!choices.empty() && std::uniform_int_distribution<int>(0, 2)(random) != 0)
                kept.push_back(
                    std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random));
            else
                kept.push_back(std::nullopt);
        const TBruteForce brute(scope, kept);
        const std::optional<TChoiceIndices> mended = FindCheapestAssignmentKeeping(scope, kept);
        ASSERT_EQ(mended.has_value(), brute.Best().has_value()) << "round " << round;
        if (!mended)
            continue;
        EXPECT_EQ(*mended, *brute.Best()) << "round " << round;
        if (brute.BestScore().Moves > 0)
            ++movedSome;
    }
    EXPECT_GT(movedSome, 500);
}

TEST(KeyAssignmentTest, TiesGoToTheLeftmostChoiceOfTheEarliestCaption)
{
    // Both captions can take either key at the same cost; the first caption takes its first.
    RAssignmentScope scope{2, {{{0, 1}, {1, 1}}, {{0, 1}, {1, 1}}}, {}};
    EXPECT_EQ(FindCheapestAssignment(scope), (TChoiceIndices{0, 1}));
    // Cost decides before position: the second caption's cheap key 0 pushes the first away.
    scope.Captions = {{{0, 1}, {1, 1}}, {{0, 0}, {1, 5}}};
    EXPECT_EQ(FindCheapestAssignment(scope), (TChoiceIndices{1, 0}));
    // The same key twice in one caption: the cheaper place wins, the left one among equals.
    scope.Captions = {{{0, 3}, {1, 9}, {0, 2}, {0, 2}}};
    EXPECT_EQ(FindCheapestAssignment(scope), (TChoiceIndices{2}));
}

TEST(KeyAssignmentTest, GreedyTakesTheCheapestFreeKeyAndCanBeBeaten)
{
    const RAssignmentScope scope{2, {{{0, 0}, {1, 1}}, {{0, 0}, {1, 10}}}, {}};
    EXPECT_EQ(FindGreedyAssignment(scope), (TChoiceIndices{0, 1}));
    EXPECT_EQ(FindCheapestAssignment(scope), (TChoiceIndices{1, 0}));
    EXPECT_EQ(AssignmentCost(scope, {1, 0}), 1);
}

TEST(KeyAssignmentTest, InfeasibleScopesHaveNoAssignment)
{
    // Three captions over two keys, a caption with no choice, and a key taken from outside.
    EXPECT_FALSE(FindCheapestAssignment({2, {{{0, 0}, {1, 0}}, {{0, 0}, {1, 0}}, {{1, 0}}}, {}}));
    EXPECT_FALSE(FindCheapestAssignment({3, {{{0, 0}}, {}}, {}}));
    EXPECT_FALSE(FindCheapestAssignment({2, {{{0, 0}, {1, 0}}, {{1, 0}}}, {1}}));
    EXPECT_FALSE(FindCheapestAssignmentKeeping({1, {{{0, 0}}, {{0, 0}}}, {}}, {0, 0}));
    EXPECT_EQ(FindCheapestAssignment({0, {}, {}}), TChoiceIndices{});
}

TEST(KeyAssignmentTest, KeysTakenFromOutsideAreNeverChosen)
{
    const RAssignmentScope scope{3, {{{0, 0}, {1, 5}, {2, 9}}, {{0, 0}, {2, 1}}}, {0}};
    EXPECT_EQ(FindCheapestAssignment(scope), (TChoiceIndices{1, 1}));
    EXPECT_EQ(FindGreedyAssignment(scope), (TChoiceIndices{1, 1}));
}

TEST(KeyAssignmentTest, KeepingMovesAsFewMarkersAsPossibleBeforeSavingCost)
{
    // Moving caption 0 off key 0 would save 100, but keeping it costs one move fewer.
    const RAssignmentScope scope{3, {{{0, 100}, {1, 0}}, {{0, 0}, {2, 0}}}, {}};
    EXPECT_EQ(FindCheapestAssignmentKeeping(scope, {0, std::nullopt}), (TChoiceIndices{0, 1}));
    EXPECT_EQ(FindCheapestAssignment(scope), (TChoiceIndices{1, 0}));
    // Two kept markers on one key: one of them moves, the one whose move is cheaper.
    const RAssignmentScope clash{3, {{{0, 0}, {1, 7}}, {{0, 0}, {2, 3}}}, {}};
    EXPECT_EQ(FindCheapestAssignmentKeeping(clash, {0, 0}), (TChoiceIndices{0, 1}));
}

TEST(KeyAssignmentTest, KeysOutsideTheVocabularyAreRejected)
{
    EXPECT_THROW(FindCheapestAssignment({2, {{{2, 0}}}, {}}), std::invalid_argument);
    EXPECT_THROW(FindGreedyAssignment({2, {{{0, 0}}}, {-1}}), std::invalid_argument);
}

TEST(KeyAssignmentTest, LargeScopesStayExactAgainstGreedyAndDistinct)
{
    // Too big for the exhaustive search: the answer must still be complete, distinct and no
    // dearer than greedy, with many keys and a full house of captions.
    std::mt19937 random(300);
    RAssignmentScope scope;
    scope.KeyCount = 300;
    std::uniform_int_distribution<int> key(0, 299);
    std::uniform_int_distribution<int> cost(0, 50);
    for (int i = 0; i < 250; ++i) {
        std::vector<RKeyChoice>& choices = scope.Captions.emplace_back();
        for (int n = 0; n < 12; ++n)
            choices.push_back({key(random), cost(random)});
    }
    const std::optional<TChoiceIndices> cheapest = FindCheapestAssignment(scope);
    ASSERT_TRUE(cheapest);
    EXPECT_TRUE(KeysDistinctAndFree(scope, *cheapest));
    if (const std::optional<TChoiceIndices> greedy = FindGreedyAssignment(scope)) {
        EXPECT_LE(AssignmentCost(scope, *cheapest), AssignmentCost(scope, *greedy));
    }
}

} // namespace
