// The search over dense keys against the depth-first reference, under both rules, with captions
// mixing alphabets, case pairs, combining marks, Japanese and invalid bytes.
#include "CombinationSearch.h"
#include "Diagnosis.h"
#include "ReferenceSearch.h"
#include "Scope.h"
#include "UnicodeKeyRule.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> MixedTokens = {"a", "A", "b", "ё",       "Ё",      "ж",
                                              "Σ", "ς", "σ", "e\u0301", "\u0301", "ファ",
                                              "1", "&", " ", "\xFF",    "\xD0",   "..."};

struct TCoverage
{
    int Successes = 0;
    int Failures = 0;
    int Suffixes = 0;
};

// The reference explores every prefix of a failing list; lists whose prefixes are too many for
// it are left out.
bool SmallEnough(const std::vector<std::vector<RKeyCandidate>>& candidates)
{
    double prefixes = 1;
    for (const std::vector<RKeyCandidate>& list : candidates)
        prefixes *= static_cast<double>(std::max<std::size_t>(list.size(), 1));
    return prefixes < 2e5;
}

// Each scope is also assigned by one assigner kept across all rounds, as a document's scopes
// are: nothing of one scope may reach the next.
void Compare(const IKeyRule& rule, unsigned seed, int rounds, TCoverage& coverage)
{
    TScopeAssigner assigner(rule, '&');
    std::vector<RKeyed> reused;
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> pick(0, MixedTokens.size() - 1);
    for (int round = 0; round < rounds; ++round) {
        RScope scope;
        for (int n = 1 + static_cast<int>(random() % 7); n > 0; --n) {
            std::string& caption = scope.Captions.emplace_back();
            for (int t = static_cast<int>(random() % 4); t > 0; --t)
                caption += MixedTokens[pick(random)];
        }
        if (random() % 4 == 0)
            scope.OutsideKeys.push_back(*rule.CharAt("a", 0).Key);
        const std::vector<std::vector<RKeyCandidate>> candidates = ScopeCandidates(scope, rule);
        if (!SmallEnough(candidates))
            continue;
        const std::optional<std::vector<std::size_t>> expected =
            ReferenceFirstAssignment(candidates);
        const std::optional<std::vector<RKeyed>> got = AssignScope(scope, rule, '&');
        ASSERT_EQ(got.has_value(), expected.has_value()) << "seed " << seed << " round " << round;
        ASSERT_EQ(assigner.Assign(scope, reused), expected.has_value()) << "round " << round;
        if (!expected) {
            ++coverage.Failures;
            EXPECT_LT(ExplainScope(scope, rule, '&', false).MaxDistinct, scope.Captions.size());
            continue;
        }
        ++coverage.Successes;
        ASSERT_EQ(reused, *got) << "seed " << seed << " round " << round;
        for (std::size_t i = 0; i < expected->size(); ++i) {
            const RKeyCandidate& candidate = candidates[i][(*expected)[i]];
            coverage.Suffixes += candidate.Suffix != 0;
            ASSERT_EQ((*got)[i].Caption, ApplyCandidate(scope.Captions[i], candidate, '&'))
                << "seed " << seed << " round " << round << " caption " << i;
        }
    }
}

TEST(RuleSearch, MatchesReferenceUnderTheAsciiRule)
{
    TCoverage coverage;
    Compare(AsciiKeyRule(), 1, 4000, coverage);
    EXPECT_GT(coverage.Successes, 150);
    EXPECT_GT(coverage.Failures, 500);
}

TEST(RuleSearch, MatchesReferenceUnderTheUnicodeRule)
{
    TCoverage coverage;
    Compare(UnicodeKeyRule(), 2, 4000, coverage);
    EXPECT_GT(coverage.Successes, 500);
    EXPECT_GT(coverage.Failures, 300);
    EXPECT_GT(coverage.Suffixes, 100);
}

// Wide key indices take the many-word bit sets; the answer must not depend on how the keys
// are numbered.
TEST(RuleSearch, WideKeySetsAgreeWithNarrowOnes)
{
    std::mt19937 random(9);
    int failures = 0;
    for (int round = 0; round < 3000; ++round) {
        const int poolSize = 1 + static_cast<int>(random() % 7);
        std::vector<int> pool(200);
        std::iota(pool.begin(), pool.end(), 0);
        std::shuffle(pool.begin(), pool.end(), random);
        pool.resize(static_cast<std::size_t>(poolSize));
        pool.push_back(150 + static_cast<int>(random() % 50)); // always some key beyond 64
        std::vector<std::vector<int>> wide(1 + random() % 8);
        for (std::vector<int>& keys : wide) {
            std::vector<int> shuffled = pool;
            std::shuffle(shuffled.begin(), shuffled.end(), random);
            keys.assign(shuffled.begin(),
                        shuffled.begin() + static_cast<long>(random() % (shuffled.size() + 1)));
        }
        std::vector<int> order = pool;
        std::sort(order.begin(), order.end());
        std::vector<std::vector<int>> narrow = wide;
        for (std::vector<int>& keys : narrow)
            for (int& key : keys)
                key = static_cast<int>(std::lower_bound(order.begin(), order.end(), key) -
                                       order.begin());
        const std::optional<std::vector<int>> fast = FindFirstAssignment(wide, 200);
        ASSERT_EQ(fast, FindFirstAssignment(narrow, static_cast<int>(order.size())));
        failures += !fast;

        const RListDiagnosis wideDiagnosis = Diagnose(wide, 200);
        const RListDiagnosis narrowDiagnosis = Diagnose(narrow, static_cast<int>(order.size()));
        ASSERT_EQ(wideDiagnosis.MaxDistinct, narrowDiagnosis.MaxDistinct);
        ASSERT_EQ(wideDiagnosis.Group, narrowDiagnosis.Group);
        ASSERT_EQ(wideDiagnosis.GroupKeys.size(), narrowDiagnosis.GroupKeys.size());
        for (std::size_t i = 0; i < wideDiagnosis.GroupKeys.size(); ++i)
            EXPECT_EQ(wideDiagnosis.GroupKeys[i],
                      order[static_cast<std::size_t>(narrowDiagnosis.GroupKeys[i])]);
    }
    EXPECT_GT(failures, 300);
}

TEST(RuleSearch, MoreEntriesThanKeysFailAtOnce)
{
    const std::vector<std::vector<int>> lists(1'000'000, std::vector<int>{0, 1, 2});
    EXPECT_FALSE(FindFirstAssignment(lists, 3));
}

} // namespace
