// The engine's scope fix keeps the most keys there can be, the earliest ones among equals, and
// gives the rest the first assignment: checked case by case, and against a search over every
// choice of one candidate per caption (not over sets of kept markers) on small random scopes.
#include "Scope.h"
#include "UnicodeKeyRule.h"

#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Result(const RScope&, const RScopeFix& fix)
{
    return fix.Captions;
}

// The argument order of the tests' own first version.
RScopeFix KeepMostKeys(const RScope& scope, const std::vector<bool>& needsKey, const IKeyRule& rule,
                       char marker)
{
    return FixScope(scope, rule, marker, needsKey);
}

TEST(ScopeFixAgreement, StripsSingleAndEndMarkersButNotDoubledOnes)
{
    EXPECT_EQ(WithoutMarkers("A&&b&c&", ScanMarkers("A&&b&c&", '&')), "A&&bc");
}

TEST(ScopeFixAgreement, AnEarlierKeyGoesWhenOnlyThatLeavesEveryCaptionAKey)
{
    // "AB" needs A or B. Keeping A on the first caption would take B from the second and leave
    // the third nothing, so the first caption moves to C and the second keeps B.
    const RScope scope{"menu", {"&Abc", "&Ba", "AB"}, {}};
    const RScopeFix mending = KeepMostKeys(scope, {true, true, true}, UnicodeKeyRule(), '&');
    ASSERT_TRUE(mending.Fixed);
    EXPECT_EQ(Result(scope, mending), (std::vector<std::string>{"Ab&c", "&Ba", "&AB"}));
}

TEST(ScopeFixAgreement, EarlierCaptionsKeepTheirKeysAmongEquals)
{
    const RScope scope{"menu", {"&Создать", "&Сохранить как", "В&ыход"}, {}};
    const RScopeFix mending = KeepMostKeys(scope, {true, true, true}, UnicodeKeyRule(), '&');
    ASSERT_TRUE(mending.Fixed);
    EXPECT_EQ(Result(scope, mending),
              (std::vector<std::string>{"&Создать", "С&охранить как", "В&ыход"}));
}

TEST(ScopeFixAgreement, CaptionsWithoutNeedStayWithoutAKey)
{
    const RScope scope{"dialog", {"OK", "&Name:", "&Notes", "A&&B"}, {}};
    const RScopeFix mending =
        KeepMostKeys(scope, {false, false, false, false}, UnicodeKeyRule(), '&');
    ASSERT_TRUE(mending.Fixed);
    EXPECT_EQ(Result(scope, mending), (std::vector<std::string>{"OK", "&Name:", "N&otes", "A&&B"}));
    const RScopeFix all = KeepMostKeys(scope, {true, true, true, true}, UnicodeKeyRule(), '&');
    EXPECT_EQ(Result(scope, all), (std::vector<std::string>{"&OK", "&Name:", "No&tes", "&A&&B"}));
}

TEST(ScopeFixAgreement, MalformedMarkersOutsideKeysAndSuffixes)
{
    const RScope scope{"menu",
                       {"A&b&c", "Save& As", "Quit&", "&Undo", "ファイル&..."},
                       {*UnicodeKeyRule().CharAt("U", 0).Key}};
    const RScopeFix mending =
        KeepMostKeys(scope, {true, true, true, true, true}, UnicodeKeyRule(), '&');
    ASSERT_TRUE(mending.Fixed);
    EXPECT_EQ(Result(scope, mending),
              (std::vector<std::string>{"&Abc", "&Save As", "&Quit", "U&ndo", "ファイル(&B)..."}));
}

TEST(ScopeFixAgreement, AScopeThatCannotBeMendedChangesNothing)
{
    const RScope scope{"menu", {"&Ab", "&Ba", "AB"}, {}};
    EXPECT_FALSE(KeepMostKeys(scope, {true, true, true}, AsciiKeyRule(), '&').Fixed);
    EXPECT_TRUE(KeepMostKeys(scope, {true, true, false}, AsciiKeyRule(), '&').Fixed);
}

// Every choice of one candidate per caption that needs a key, in lexicographic order of the
// candidate positions; the first with the most kept keys and, among those, the earliest
// captions keeping theirs, wins.
std::optional<std::vector<std::string>>
BruteForce(const RScope& scope, const std::vector<bool>& needsKey, const IKeyRule& rule)
{
    struct RRow
    {
        std::size_t Caption;
        std::string Stripped;
        std::vector<RKeyCandidate> Candidates;
        std::optional<TKey> Pin;
    };
    const auto outside = [&scope](TKey key) {
        return std::find(scope.OutsideKeys.begin(), scope.OutsideKeys.end(), key) !=
               scope.OutsideKeys.end();
    };
    std::vector<RRow> rows;
    for (std::size_t i = 0; i < scope.Captions.size(); ++i) {
        const std::string& caption = scope.Captions[i];
        // The test captions hold no doubled markers: every marker is a single one.
        std::string stripped;
        std::vector<std::size_t> markers;
        for (std::size_t k = 0; k < caption.size(); ++k) {
            if (caption[k] == '&')
                markers.push_back(k);
            else
                stripped.push_back(caption[k]);
        }
        if (markers.empty() && !needsKey[i])
            continue;
        RRow row{i, stripped, {}, std::nullopt};
        for (const RKeyCandidate& candidate : rule.CandidatesOf(stripped))
            if (!outside(candidate.Key))
                row.Candidates.push_back(candidate);
        if (markers.size() == 1 && markers[0] + 1 < caption.size()) {
            const std::optional<TKey> key = rule.CharAt(caption, markers[0] + 1).Key;
            if (key && !outside(*key))
                row.Pin = key;
        }
        rows.push_back(row);
    }

    std::vector<std::size_t> choice(rows.size(), 0);
    std::optional<std::vector<std::size_t>> best;
    std::vector<bool> bestKept;
    std::size_t bestCount = 0;
    const auto better = [&](const std::vector<bool>& kept, std::size_t count) {
        if (!best)
            return true;
        if (count != bestCount)
            return count > bestCount;
        return kept > bestKept; // true before false: the earlier caption keeps
    };
    for (bool more = true; more;) {
        bool valid = std::all_of(rows.begin(), rows.end(),
                                 [](const RRow& row) { return !row.Candidates.empty(); });
        std::vector<TKey> used;
        std::vector<bool> kept;
        std::size_t count = 0;
        for (std::size_t r = 0; valid && r < rows.size(); ++r) {
            const TKey key = rows[r].Candidates[choice[r]].Key;
            valid = std::find(used.begin(), used.end(), key) == used.end();
            used.push_back(key);
            kept.push_back(rows[r].Pin == key);
            count += kept.back();
        }
        if (valid && better(kept, count)) {
            best = choice;
            bestKept = kept;
            bestCount = count;
        }
        // The next choice in lexicographic order.
        more = false;
        for (std::size_t r = rows.size(); r-- > 0;) {
            if (rows[r].Candidates.empty())
                break;
            if (++choice[r] < rows[r].Candidates.size()) {
                more = true;
                break;
            }
            choice[r] = 0;
        }
    }
    if (!best)
        return std::nullopt;
    std::vector<std::string> result = scope.Captions;
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (!bestKept[r])
            result[rows[r].Caption] =
                ApplyCandidate(rows[r].Stripped, rows[r].Candidates[(*best)[r]], '&');
    return result;
}

TEST(ScopeFixAgreement, AgreesWithEveryPossibleAssignmentOnRandomScopes)
{
    const std::vector<std::string> pieces = {"a", "b", "c", "A", "B", "d", " ", ".",
                                             "ё", "Ё", "ж", "σ", "ς", "&", "&", "&"};
    std::mt19937 random(1313);
    for (const IKeyRule* rule : {&AsciiKeyRule(), &UnicodeKeyRule()}) {
        for (int round = 0; round < 3000; ++round) {
            RScope scope;
            std::vector<bool> needsKey;
            const int captions = 1 + static_cast<int>(random() % 6);
            for (int c = 0; c < captions; ++c) {
                std::string caption;
                const int length = 1 + static_cast<int>(random() % 4);
                for (int k = 0; k < length; ++k)
                    caption += pieces[random() % pieces.size()];
                // Doubled markers are the stripping test's business.
                while (caption.find("&&") != std::string::npos)
                    caption.erase(caption.find("&&"), 1);
                scope.Captions.push_back(caption);
                needsKey.push_back(random() % 3 != 0);
            }
            if (random() % 4 == 0)
                scope.OutsideKeys.push_back(*rule->CharAt(random() % 2 ? "A" : "B", 0).Key);
            const RScopeFix mending = KeepMostKeys(scope, needsKey, *rule, '&');
            const std::optional<std::vector<std::string>> expected =
                BruteForce(scope, needsKey, *rule);
            ASSERT_EQ(mending.Fixed, expected.has_value())
                << ::testing::PrintToString(scope.Captions);
            if (expected) {
                ASSERT_EQ(Result(scope, mending), *expected)
                    << ::testing::PrintToString(scope.Captions);
            }
        }
    }
}

} // namespace
