// The explanation of a failing list: captions without keys, a minimal group of captions sharing
// too few keys, and the largest number of captions that can get distinct keys.
#include "Diagnosis.h"

#include "Engine.h"
#include "ReferenceSearch.h"

#include <bit>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

TKeySet KeysOf(const std::vector<std::size_t>& group, const std::vector<TKeySet>& keySets)
{
    TKeySet keys = 0;
    for (const std::size_t member : group)
        keys |= keySets[member];
    return keys;
}

bool IsDeficient(const std::vector<std::size_t>& group, const std::vector<TKeySet>& keySets)
{
    return static_cast<std::size_t>(std::popcount(KeysOf(group, keySets))) < group.size();
}

// The group must be a real obstacle and nothing in it may be superfluous.
void ExpectMinimalDeficientGroup(const RDiagnosis& diagnosis, const std::vector<TKeySet>& keySets)
{
    const std::vector<std::size_t>& group = diagnosis.Group;
    ASSERT_FALSE(group.empty());
    for (std::size_t i = 0; i < group.size(); ++i) {
        ASSERT_LT(group[i], keySets.size());
        if (i > 0) {
            ASSERT_LT(group[i - 1], group[i]) << "ascending, no caption twice";
        }
    }
    ASSERT_TRUE(IsDeficient(group, keySets));
    ASSERT_EQ(diagnosis.GroupKeys, KeysOf(group, keySets));
    ASSERT_EQ(static_cast<std::size_t>(std::popcount(diagnosis.GroupKeys)), group.size() - 1);
    for (std::size_t drop = 0; drop < group.size(); ++drop) {
        std::vector<std::size_t> rest = group;
        rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(drop));
        ASSERT_FALSE(IsDeficient(rest, keySets)) << "caption " << group[drop] << " can go";
    }
}

// The most captions that can take distinct keys, by trying every caption with and without each
// of its keys; memoised on the keys taken so far, which the few keys of these lists keep small.
std::size_t BruteForceMaximum(const std::vector<TKeySet>& keySets)
{
    // Renumber the keys in use as 0..k-1 so that a set of taken keys indexes a table.
    TKeySet universe = 0;
    for (const TKeySet keys : keySets)
        universe |= keys;
    const int k = std::popcount(universe);
    EXPECT_LE(k, 12) << "too many keys for the brute force";
    std::vector<unsigned> compact;
    for (const TKeySet keys : keySets) {
        unsigned bits = 0;
        int bit = 0;
        for (TKeySet rest = universe; rest != 0; rest &= rest - 1, ++bit)
            if (keys & rest & (~rest + 1))
                bits |= 1u << bit;
        compact.push_back(bits);
    }
    const std::size_t states = std::size_t{1} << k;
    std::vector<int> memo((keySets.size() + 1) * states, -1);
    auto best = [&](auto& self, std::size_t i, unsigned used) -> int {
        int& known = memo[i * states + used];
        if (known >= 0)
            return known;
        int result = 0;
        if (i < keySets.size()) {
            result = self(self, i + 1, used);
            for (unsigned open = compact[i] & ~used; open != 0; open &= open - 1)
                result = std::max(result, 1 + self(self, i + 1, used | (open & (~open + 1))));
        }
        known = result;
        return result;
    };
    return static_cast<std::size_t>(best(best, 0, 0));
}

std::string RandomCaption(std::mt19937& random, const std::string& alphabet, int minLength,
                          int maxLength)
{
    std::uniform_int_distribution<int> length(minLength, maxLength);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string caption;
    for (int n = length(random); n > 0; --n)
        caption.push_back(alphabet[pick(random)]);
    return caption;
}

struct TCoverage
{
    int Successes = 0;
    int WithoutKeys = 0;
    int Groups = 0;
};

void CheckRandomLists(unsigned seed, int lists, int maxCount, const std::string& alphabet,
                      TCoverage& coverage)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> count(1, maxCount);
    for (int list = 0; list < lists; ++list) {
        std::vector<std::string> captions(static_cast<std::size_t>(count(random)));
        TAccEngine engine;
        for (std::string& caption : captions) {
            caption = RandomCaption(random, alphabet, 1, 4);
            engine.AddPosResult(caption);
        }
        const std::vector<TKeySet> keySets = KeySetsOf(captions);
        const RDiagnosis diagnosis = Diagnose(keySets);
        SCOPED_TRACE("seed " + std::to_string(seed) + ", list " + std::to_string(list));

        const std::size_t maximum = BruteForceMaximum(keySets);
        ASSERT_EQ(diagnosis.MaxDistinct, maximum);
        // Past a dozen captions the reference search takes too long on failing lists; there
        // the brute-force maximum alone says whether the list fails.
        const bool fails = captions.size() <= 12
                               ? ReferenceFindCombination(engine.PosResults()).empty()
                               : maximum < captions.size();
        ASSERT_EQ(fails, diagnosis.MaxDistinct < captions.size());
        if (!fails) {
            ASSERT_TRUE(diagnosis.WithoutKeys.empty());
            ASSERT_TRUE(diagnosis.Group.empty());
            ++coverage.Successes;
            continue;
        }
        std::vector<std::size_t> withoutKeys;
        for (std::size_t i = 0; i < captions.size(); ++i)
            if (keySets[i] == 0)
                withoutKeys.push_back(i);
        ASSERT_EQ(diagnosis.WithoutKeys, withoutKeys);
        if (withoutKeys.empty()) {
            ExpectMinimalDeficientGroup(diagnosis, keySets);
            ++coverage.Groups;
        } else {
            ASSERT_TRUE(diagnosis.Group.empty());
            ++coverage.WithoutKeys;
        }
    }
}

TEST(Diagnosis, RandomListsAgreeWithReferenceAndBruteForce)
{
    TCoverage coverage;
    CheckRandomLists(1, 4000, 10, "abcABC12 &.", coverage);
    CheckRandomLists(2, 4000, 10, "aAbBcCdDeE1 &", coverage);
    // Longer than there are keys at all, over a handful of keys.
    CheckRandomLists(3, 300, 60, "abcdefgABCDEFG", coverage);
    EXPECT_GT(coverage.Successes, 1500);
    EXPECT_GT(coverage.WithoutKeys, 500);
    EXPECT_GT(coverage.Groups, 1500);
}

TEST(Diagnosis, SucceedingListNeedsNoExplanation)
{
    const RDiagnosis diagnosis = Diagnose(KeySetsOf({"File", "Edit", "Format"}));
    EXPECT_EQ(diagnosis.MaxDistinct, 3u);
    EXPECT_TRUE(diagnosis.WithoutKeys.empty());
    EXPECT_TRUE(diagnosis.Group.empty());
    EXPECT_EQ(Diagnose({}).MaxDistinct, 0u);
}

TEST(Diagnosis, CaptionsWithoutKeysComeFirst)
{
    // 'ab', 'ba', 'ab' alone would also fail, but the captions without keys are what to fix.
    const RDiagnosis diagnosis = Diagnose(KeySetsOf({"ab", "...", "ba", "", "ab", "- +"}));
    EXPECT_EQ(diagnosis.WithoutKeys, (std::vector<std::size_t>{1, 3, 5}));
    EXPECT_TRUE(diagnosis.Group.empty());
    EXPECT_EQ(diagnosis.MaxDistinct, 2u);
}

TEST(Diagnosis, GroupLeavesOutCaptionsWithOtherKeys)
{
    const std::vector<TKeySet> keySets =
        KeySetsOf({"Abc", "Open", "Cab", "Bca", "Xyz", "ab", "New"});
    const RDiagnosis diagnosis = Diagnose(keySets);
    EXPECT_EQ(diagnosis.Group, (std::vector<std::size_t>{0, 2, 3, 5}));
    EXPECT_EQ(KeysText(diagnosis.GroupKeys), "A, B, C");
    EXPECT_EQ(diagnosis.MaxDistinct, 6u);
}

TEST(Diagnosis, CaseAndRepeatsDoNotAddKeys)
{
    const RDiagnosis diagnosis = Diagnose(KeySetsOf({"A", "a", "aAaA"}));
    EXPECT_EQ(diagnosis.Group, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(KeysText(diagnosis.GroupKeys), "A");
    EXPECT_EQ(diagnosis.MaxDistinct, 1u);
}

TEST(Diagnosis, MillionEqualCaptionsGiveTheFirstFive)
{
    const std::vector<TKeySet> keySets(1'000'000, KeySetOf("Open"));
    const RDiagnosis diagnosis = Diagnose(keySets);
    EXPECT_EQ(diagnosis.Group, (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(KeysText(diagnosis.GroupKeys), "E, N, O, P");
    EXPECT_EQ(diagnosis.MaxDistinct, 4u);
}

TEST(Diagnosis, EveryKeyTakenThenOneMore)
{
    // Each key once, then a caption offering every key: 44 captions, 43 keys, and only the
    // whole list is short of keys.
    const std::string allKeys = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!$<=>?@";
    std::vector<std::string> captions;
    for (const char key : allKeys)
        captions.emplace_back(1, key);
    captions.push_back(allKeys);
    const RDiagnosis diagnosis = Diagnose(KeySetsOf(captions));
    EXPECT_EQ(diagnosis.MaxDistinct, 43u);
    EXPECT_EQ(diagnosis.Group.size(), 44u);
    EXPECT_EQ(KeysText(diagnosis.GroupKeys),
              "A, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z, 0, "
              "1, 2, 3, 4, 5, 6, 7, 8, 9, !, $, <, =, >, ?, @");
}

TEST(Diagnosis, LateCaptionReachesKeyFreedAfterEarlierFailures)
{
    // 'A' twice fails early; 'AB' must still get B, and 'B' then fails with 'AB' and an 'A'.
    const std::vector<TKeySet> keySets = KeySetsOf({"A", "A", "AB", "B", "Z"});
    const RDiagnosis diagnosis = Diagnose(keySets);
    EXPECT_EQ(diagnosis.MaxDistinct, 3u);
    ExpectMinimalDeficientGroup(diagnosis, keySets);
}

TEST(Diagnosis, KeySetIsTheKeysOfTheCandidates)
{
    std::mt19937 random(5);
    for (int i = 0; i < 2000; ++i) {
        const std::string caption = RandomCaption(random, "aZ9!$<@?=>&~ .\x80\xff-_bB", 0, 8);
        TKeySet expected = 0;
        for (const RCandidate& candidate : TAccEngine::CandidatesOf(caption))
            expected |= TKeySet{1} << KeyIndex(candidate.Key);
        ASSERT_EQ(KeySetOf(caption), expected) << caption;
    }
    EXPECT_EQ(KeysText(KeySetOf("@z!1a")), "A, Z, 1, !, @");
    EXPECT_EQ(KeysText(0), "");
}

} // namespace
