// The fast search against the reference search on lists small enough for the latter.
#include "CombinationSearch.h"
#include "Engine.h"
#include "ReferenceSearch.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <numeric>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

// What the random lists exercised; a comparison that never met a failure or a backtrack
// would prove little.
struct TCoverage
{
    int Successes = 0;
    int Failures = 0;
    int Backtracks = 0; // successes that differ from taking the first free key each time
};

// Each caption takes its first key not used before it, with no going back.
bool IsGreedy(const RPosResultList* head, const TCombination& combination)
{
    std::string used;
    std::size_t i = 0;
    for (const RPosResultList* node = head; node; node = node->Next.get(), ++i) {
        const RCandidate* first = nullptr;
        for (const RCandidate& candidate : node->PosResult.Candidates)
            if (used.find(candidate.Key) == std::string::npos) {
                first = &candidate;
                break;
            }
        if (!first || !(*first == combination[i]))
            return false;
        used.push_back(first->Key);
    }
    return true;
}

std::string RandomCaption(std::mt19937& random, const std::string& alphabet)
{
    std::uniform_int_distribution<int> length(0, 6);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string caption;
    for (int n = length(random); n > 0; --n)
        caption.push_back(alphabet[pick(random)]);
    return caption;
}

// Few keys, so that captions collide: the reference search stays cheap (it can never go
// deeper than the number of keys) while both failures and backtracking are common.
void CompareOnRandomLists(unsigned seed, int lists, const std::string& alphabet,
                          TCoverage& coverage)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> count(1, 12);
    for (int list = 0; list < lists; ++list) {
        TAccEngine engine;
        std::vector<std::string> captions(static_cast<std::size_t>(count(random)));
        for (std::string& caption : captions) {
            caption = RandomCaption(random, alphabet);
            engine.AddPosResult(caption);
        }
        engine.FindCombination();
        const TCombination expected = ReferenceFindCombination(engine.PosResults());
        if (engine.BestCombination() != expected) {
            std::string shown;
            for (const std::string& caption : captions)
                shown += "'" + caption + "' ";
            FAIL() << "seed " << seed << ", list " << list << ": " << shown;
        }
        if (expected.empty()) {
            ++coverage.Failures;
        } else {
            ++coverage.Successes;
            if (!IsGreedy(engine.PosResults(), expected))
                ++coverage.Backtracks;
        }
    }
}

TEST(FastSearch, MatchesReferenceOnRandomLists)
{
    TCoverage coverage;
    // Five keys: most long lists fail, short ones backtrack.
    CompareOnRandomLists(1, 6000, "abcABC12 &.", coverage);
    CompareOnRandomLists(2, 6000, "aAbBcCdD1 &.", coverage);
    // Seven keys: longer successful lists.
    CompareOnRandomLists(3, 8000, "abcdeABCDE12 &.", coverage);
    EXPECT_GT(coverage.Successes, 2000);
    EXPECT_GT(coverage.Failures, 2000);
    EXPECT_GT(coverage.Backtracks, 300);
}

TEST(FastSearch, MatchesReferenceWithAnyMarker)
{
    // The marker only changes the texts, never which candidate wins.
    std::mt19937 random(7);
    for (int list = 0; list < 500; ++list) {
        TAccEngine ampersand;
        TAccEngine tilde;
        tilde.FAccChar = '~';
        for (int i = 0; i < 5; ++i) {
            const std::string caption = RandomCaption(random, "abAB1~& ");
            ampersand.AddPosResult(caption);
            tilde.AddPosResult(caption);
        }
        ampersand.FindCombination();
        tilde.FindCombination();
        ASSERT_EQ(ampersand.BestCombination(), tilde.BestCombination());
        ASSERT_EQ(tilde.BestCombination(), ReferenceFindCombination(tilde.PosResults()));
    }
}

TEST(FastSearch, EmptyChainFindsNothing)
{
    TAccEngine engine;
    engine.FindCombination();
    EXPECT_TRUE(engine.BestCombination().empty());
    EXPECT_TRUE(ReferenceFindCombination(nullptr).empty());
}

// ---- FindFirstAssignment on raw key lists -----------------------------------------------

const std::string AllKeys = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!$<=>?@";

// Feeds key lists to the reference search as a chain of captions whose candidates carry
// those keys in that order.
std::optional<std::vector<int>>
ReferenceFirstAssignment(const std::vector<std::vector<int>>& keyLists)
{
    std::unique_ptr<RPosResultList> head;
    std::unique_ptr<RPosResultList>* tail = &head;
    for (const std::vector<int>& keys : keyLists) {
        *tail = std::make_unique<RPosResultList>();
        for (std::size_t c = 0; c < keys.size(); ++c)
            (*tail)->PosResult.Candidates.push_back(
                {c, AllKeys[static_cast<std::size_t>(keys[c])]});
        tail = &(*tail)->Next;
    }
    const TCombination best = ReferenceFindCombination(head.get());
    if (best.empty())
        return keyLists.empty() ? std::optional<std::vector<int>>(std::vector<int>{})
                                : std::nullopt;
    std::vector<int> chosen;
    for (const RCandidate& candidate : best)
        chosen.push_back(static_cast<int>(candidate.Pos));
    return chosen;
}

TEST(FirstAssignment, KeyIndicesMatchTheKeyOrderUsedHere)
{
    for (std::size_t i = 0; i < AllKeys.size(); ++i)
        ASSERT_EQ(KeyIndex(AllKeys[i]), static_cast<int>(i));
}

TEST(FirstAssignment, MatchesReferenceOnSharedKeys)
{
    std::mt19937 random(11);
    int successes = 0;
    int failures = 0;
    for (int round = 0; round < 4000; ++round) {
        // A pool of a few keys scattered over the whole key range.
        const int poolSize = std::uniform_int_distribution<int>(1, 8)(random);
        std::vector<int> pool(static_cast<std::size_t>(KeyCount));
        std::iota(pool.begin(), pool.end(), 0);
        std::shuffle(pool.begin(), pool.end(), random);
        pool.resize(static_cast<std::size_t>(poolSize));

        const int entries = std::uniform_int_distribution<int>(0, 8)(random);
        std::vector<std::vector<int>> keyLists(static_cast<std::size_t>(entries));
        for (std::vector<int>& keys : keyLists) {
            std::vector<int> shuffled = pool;
            std::shuffle(shuffled.begin(), shuffled.end(), random);
            const int size = std::uniform_int_distribution<int>(0, std::min(poolSize, 5))(random);
            keys.assign(shuffled.begin(), shuffled.begin() + size);
        }
        const std::optional<std::vector<int>> fast = FindFirstAssignment(keyLists);
        const std::optional<std::vector<int>> expected = ReferenceFirstAssignment(keyLists);
        ASSERT_EQ(fast, expected) << "round " << round;
        ++(expected ? successes : failures);
    }
    EXPECT_GT(successes, 500);
    EXPECT_GT(failures, 500);
}

TEST(FirstAssignment, LongChainOfForcedMoves)
{
    // Entry i offers keys i and i+1, in that order; the last entry offers only key 0. Every
    // earlier entry must give way, the first one included.
    constexpr int n = KeyCount;
    std::vector<std::vector<int>> keyLists;
    for (int i = 0; i + 1 < n; ++i)
        keyLists.push_back({i, i + 1});
    keyLists.push_back({0});
    const std::optional<std::vector<int>> chosen = FindFirstAssignment(keyLists);
    ASSERT_TRUE(chosen);
    for (int i = 0; i + 1 < n; ++i)
        EXPECT_EQ((*chosen)[static_cast<std::size_t>(i)], 1) << i;
    EXPECT_EQ(chosen->back(), 0);
}

TEST(FirstAssignment, FailsAtOnceWhenEntriesOutnumberKeysOrOneHasNone)
{
    std::vector<int> every(static_cast<std::size_t>(KeyCount));
    std::iota(every.begin(), every.end(), 0);
    EXPECT_TRUE(FindFirstAssignment(std::vector<std::vector<int>>(KeyCount, every)));
    EXPECT_FALSE(FindFirstAssignment(std::vector<std::vector<int>>(KeyCount + 1, every)));
    EXPECT_FALSE(FindFirstAssignment({{0, 1}, {}, {2}}));
    EXPECT_EQ(FindFirstAssignment({}), std::vector<int>{});
}

} // namespace
