// Mending a scope keeps the most sound markers, exactly: held against trying every set.
#include "ReferenceSearch.h"
#include "Scope.h"
#include "UnicodeKeyRule.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

struct RNeedCase
{
    std::size_t Caption;
    std::optional<TKey> Pin;
    std::string Text;
};

bool Faulty(const RScope& scope, const IKeyRule& rule, std::size_t caption)
{
    for (const RScopeFinding& f : CheckScope(scope, rule, '&'))
        if (f.Caption == caption && f.Kind != TFindingKind::NoMarker &&
            f.Kind != TFindingKind::DuplicateKey)
            return true;
    return false;
}

// Every set of sound markers tried, the largest feasible one kept (earlier captions first on
// ties), the rest assigned by the depth-first reference.
RScopeFix BruteForceFix(const RScope& scope, const IKeyRule& rule, const std::vector<bool>& wants)
{
    std::vector<RNeedCase> needs;
    for (std::size_t i = 0; i < scope.Captions.size(); ++i) {
        const RScopeMarkers scanned = ScanScopeMarkers(scope.Captions[i], rule, '&');
        const bool marked = !scanned.Markers.Singles.empty() || scanned.Markers.LoneAtEnd;
        if (!marked && !wants[i])
            continue;
        needs.push_back({i, Faulty(scope, rule, i) ? std::nullopt : scanned.PinnedKey,
                         WithoutMarkers(scope.Captions[i], scanned.Markers)});
    }
    const std::size_t n = needs.size();
    const auto candidatesAround = [&](unsigned keep, const std::vector<TKey>& taken) {
        std::vector<std::vector<RKeyCandidate>> lists;
        for (std::size_t k = 0; k < n; ++k) {
            if (keep & (1u << (n - 1 - k)))
                continue;
            std::vector<RKeyCandidate>& list = lists.emplace_back();
            for (const RKeyCandidate& c : rule.CandidatesOf(needs[k].Text))
                if (std::find(taken.begin(), taken.end(), c.Key) == taken.end())
                    list.push_back(c);
        }
        return lists;
    };
    int bestSize = -1;
    unsigned best = 0;
    for (unsigned keep = 0; keep < (1u << n); ++keep) {
        std::vector<TKey> taken = scope.OutsideKeys;
        bool possible = true;
        for (std::size_t k = 0; k < n && possible; ++k) {
            if (!(keep & (1u << (n - 1 - k))))
                continue;
            possible =
                needs[k].Pin && std::find(taken.begin(), taken.end(), *needs[k].Pin) == taken.end();
            if (possible)
                taken.push_back(*needs[k].Pin);
        }
        if (!possible || !ReferenceFirstAssignment(candidatesAround(keep, taken)))
            continue;
        const int size = std::popcount(keep);
        if (size > bestSize || (size == bestSize && keep > best)) {
            bestSize = size;
            best = keep;
        }
    }
    RScopeFix fix;
    if (bestSize < 0)
        return fix;
    std::vector<TKey> taken = scope.OutsideKeys;
    for (std::size_t k = 0; k < n; ++k)
        if (best & (1u << (n - 1 - k)))
            taken.push_back(*needs[k].Pin);
    const auto lists = candidatesAround(best, taken);
    const std::vector<std::size_t> chosen = *ReferenceFirstAssignment(lists);
    fix.Fixed = true;
    fix.Captions = scope.Captions;
    std::size_t mended = 0;
    for (std::size_t k = 0; k < n; ++k) {
        if (best & (1u << (n - 1 - k)))
            continue;
        fix.Captions[needs[k].Caption] =
            ApplyCandidate(needs[k].Text, lists[mended][chosen[mended]], '&');
        ++mended;
    }
    return fix;
}

TEST(FixScope, KeepsTheMostMarkersAsTryingEverySetWould)
{
    const std::vector<std::string> tokens = {"&a", "&b", "&c", "a", "b", "c",   "d",
                                             "&&", "& ", "&Ж", "ж", " ", "ファ"};
    std::mt19937 random(21);
    int fixed = 0;
    int failed = 0;
    int movedPins = 0;
    for (int round = 0; round < 4000; ++round) {
        RScope scope;
        std::vector<bool> wants;
        for (int c = 1 + static_cast<int>(random() % 7); c > 0; --c) {
            std::string& caption = scope.Captions.emplace_back();
            for (int t = 1 + static_cast<int>(random() % 3); t > 0; --t)
                caption += tokens[random() % tokens.size()];
            wants.push_back(random() % 3 != 0);
        }
        if (random() % 5 == 0)
            scope.OutsideKeys.push_back(U'b');
        const IKeyRule& rule = round % 2 ? UnicodeKeyRule() : AsciiKeyRule();
        if (round % 2 == 0)
            for (TKey& key : scope.OutsideKeys)
                key = U'B';
        const RScopeFix got = FixScope(scope, rule, '&', wants);
        const RScopeFix expected = BruteForceFix(scope, rule, wants);
        ASSERT_EQ(got.Fixed, expected.Fixed) << round;
        ASSERT_EQ(got.Captions, expected.Captions) << round;
        if (!got.Fixed) {
            ++failed;
            continue;
        }
        ++fixed;
        for (std::size_t i = 0; i < scope.Captions.size(); ++i)
            movedPins += got.Changed[i] && scope.Captions[i].find('&') != std::string::npos;
        // A mended scope checks clean apart from captions left without a key on purpose.
        RScope mended{scope.Name, got.Captions, scope.OutsideKeys};
        for (const RScopeFinding& finding : CheckScope(mended, rule, '&'))
            ASSERT_EQ(finding.Kind, TFindingKind::NoMarker) << round;
    }
    EXPECT_GT(fixed, 1500);
    EXPECT_GT(failed, 100);
    EXPECT_GT(movedPins, 300);
}

TEST(FixScope, MovesAsFewMarkersAsPossible)
{
    // Keeping the first of the two S markers would leave "S" without a key: both move, and
    // "P", which wants no key here, stays as it is.
    RScope scope{"menu", {"&Save", "&Safe", "S", "&Print", "P"}, {}};
    RScopeFix fix = FixScope(scope, AsciiKeyRule(), '&', {true, true, true, true, false});
    ASSERT_TRUE(fix.Fixed);
    EXPECT_EQ(fix.Captions, (std::vector<std::string>{"S&ave", "Sa&fe", "&S", "&Print", "P"}));
    // When "P" wants a key, the one marker on P gives way.
    scope.Captions = {"&Print", "P", "&Save"};
    fix = FixScope(scope, AsciiKeyRule(), '&', {true, true, true});
    ASSERT_TRUE(fix.Fixed);
    EXPECT_EQ(fix.Captions, (std::vector<std::string>{"P&rint", "&P", "&Save"}));
    EXPECT_EQ(fix.Changed, (std::vector<bool>{true, true, false}));
}

TEST(FixScope, CaptionsWithoutMarkersStayUnlessTheyWantAKey)
{
    const RScope dialog{"dialog", {"OK", "&Name:", "Na&me && Title", "Cancel&"}, {}};
    const RScopeFix fix = FixScope(dialog, AsciiKeyRule(), '&', {});
    ASSERT_TRUE(fix.Fixed);
    EXPECT_EQ(fix.Captions,
              (std::vector<std::string>{"OK", "&Name:", "Na&me && Title", "&Cancel"}));
    EXPECT_FALSE(fix.Keys[0]);
    EXPECT_FALSE(FixScope({"", {"&A", "&a"}, {}}, AsciiKeyRule(), '&', {}).Fixed);
}

TEST(FixScope, AMendedSuffixIsReplacedNotJoinedByAnother)
{
    // Both Japanese entries carry "(&C)": the second one's suffix gives way to a new one in
    // its place, before the trailing ellipsis, rather than keeping a "(C)" beside it.
    const RScope menu{
        "menu",
        {"\u30B3\u30D4\u30FC(&C)", "\u8CBC\u308A\u4ED8\u3051(&C)...", "\u8868\u793A(&Q)", "&Close"},
        {}};
    const RScopeFix fix = FixScope(menu, UnicodeKeyRule(), '&', {true, true, true, true});
    ASSERT_TRUE(fix.Fixed);
    EXPECT_EQ(fix.Captions[0], menu.Captions[0]);
    EXPECT_EQ(fix.Captions[1], "\u8CBC\u308A\u4ED8\u3051(&A)...");
    EXPECT_EQ(fix.Captions[2], menu.Captions[2]);
    // A Latin caption's own letters in parentheses are no suffix of the rule's: they stay.
    const RScope latin{"menu", {"&Copy", "Paste (&C)"}, {}};
    const RScopeFix latinFix = FixScope(latin, UnicodeKeyRule(), '&', {true, true});
    ASSERT_TRUE(latinFix.Fixed);
    EXPECT_EQ(latinFix.Captions[1], "&Paste (C)");
}

} // namespace
