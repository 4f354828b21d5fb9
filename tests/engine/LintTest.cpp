// Findings on captions that already carry markers.
#include "Lint.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using K = TFindingKind;

std::vector<RFinding> Lint(const std::vector<std::string>& captions, char marker = '&')
{
    return LintCaptions(captions, marker);
}

TEST(Lint, SoundListHasNoFindings)
{
    // Doubled markers are literal characters wherever they stand, three or four in a row too.
    EXPECT_TRUE(
        Lint({"&Open", "Save && E&xit", "&&&Quit", "Fi&le &&&&", "&!", "&$", "&@", "&9", "&z"})
            .empty());
    EXPECT_TRUE(Lint({}).empty());
}

TEST(Lint, CaptionWithoutMarker)
{
    EXPECT_EQ(Lint({"&Open", "Close", "A&&B", ""}),
              (std::vector<RFinding>{{.Line = 1, .Kind = K::NoMarker},
                                     {.Line = 2, .Kind = K::NoMarker},
                                     {.Line = 3, .Kind = K::NoMarker}}));
}

TEST(Lint, LoneMarkerAtTheEnd)
{
    EXPECT_EQ(Lint({"Exit&", "&&&", "&"}),
              (std::vector<RFinding>{{.Line = 0, .Kind = K::LoneMarkerAtEnd},
                                     {.Line = 1, .Kind = K::LoneMarkerAtEnd},
                                     {.Line = 2, .Kind = K::LoneMarkerAtEnd}}));
    // Its pair partner is taken first, so an even run before the end is not lone.
    EXPECT_EQ(Lint({"E&xit&&"}), std::vector<RFinding>{});
}

TEST(Lint, MarkerBeforeCharacterThatCannotBeAKey)
{
    EXPECT_EQ(Lint({"& Open", "Save&.", "&\xe9t\xe9", "&-x"}),
              (std::vector<RFinding>{{.Line = 0, .Kind = K::MarkerBeforeNonKey, .Char = ' '},
                                     {.Line = 1, .Kind = K::MarkerBeforeNonKey, .Char = '.'},
                                     {.Line = 2, .Kind = K::MarkerBeforeNonKey, .Char = '\xe9'},
                                     {.Line = 3, .Kind = K::MarkerBeforeNonKey, .Char = '-'}}));
}

TEST(Lint, MoreThanOneMarker)
{
    EXPECT_EQ(Lint({"&Save &As", "&a&b&c"}),
              (std::vector<RFinding>{{.Line = 0, .Kind = K::SeveralMarkers, .Count = 2},
                                     {.Line = 1, .Kind = K::SeveralMarkers, .Count = 3}}));
    // Every fault of one caption is reported, in a fixed order.
    EXPECT_EQ(Lint({"& x&y&"}),
              (std::vector<RFinding>{{.Line = 0, .Kind = K::LoneMarkerAtEnd},
                                     {.Line = 0, .Kind = K::MarkerBeforeNonKey, .Char = ' '},
                                     {.Line = 0, .Kind = K::SeveralMarkers, .Count = 2}}));
}

TEST(Lint, DuplicateKeysNameTheFirstCaption)
{
    // Keys compare without regard to case; a third use still points at the first.
    EXPECT_EQ(
        Lint({"&Open", "&Save", "&open", "Cl&ose", "S&ave", "Fil&e"}),
        (std::vector<RFinding>{{.Line = 2, .Kind = K::DuplicateKey, .Char = 'O', .OtherLine = 0},
                               {.Line = 3, .Kind = K::DuplicateKey, .Char = 'O', .OtherLine = 0}}));
    EXPECT_EQ(Lint({"&1", "x", "&1"}),
              (std::vector<RFinding>{{.Line = 1, .Kind = K::NoMarker},
                                     {.Line = 2, .Kind = K::DuplicateKey, .Char = '1'}}));
}

TEST(Lint, OnlySoundMarkersClaimAKey)
{
    // A caption whose marker is already at fault claims no key, so it causes no duplicate.
    const std::vector<RFinding> findings = Lint({"&A&b", "&Ax&", "&A", "&B"});
    EXPECT_EQ(findings, (std::vector<RFinding>{{.Line = 0, .Kind = K::SeveralMarkers, .Count = 2},
                                               {.Line = 1, .Kind = K::LoneMarkerAtEnd}}));
}

TEST(Lint, OtherMarker)
{
    EXPECT_EQ(Lint({"~Open", "Save & Exit", "Clos~~e", "~"}, '~'),
              (std::vector<RFinding>{{.Line = 1, .Kind = K::NoMarker},
                                     {.Line = 2, .Kind = K::NoMarker},
                                     {.Line = 3, .Kind = K::LoneMarkerAtEnd}}));
}

TEST(Lint, ConflictsLeaveOutMissingMarkers)
{
    const std::vector<std::string> captions = {"Open", "&Save", "&save", "& x", "Exit&"};
    std::vector<RFinding> expected;
    for (const RFinding& finding : Lint(captions))
        if (finding.Kind != K::NoMarker)
            expected.push_back(finding);
    EXPECT_EQ(MarkerConflicts(captions, '&'), expected);
    EXPECT_EQ(expected.size(), 3u);
}

TEST(Lint, MarkerScanAndPin)
{
    const RMarkers markers = ScanMarkers("&&a&b&&&c&", '&');
    EXPECT_EQ(markers.Singles, (std::vector<std::size_t>{3, 7}));
    EXPECT_TRUE(markers.LoneAtEnd);
    EXPECT_EQ(PinnedPosition("Sa&ve", ScanMarkers("Sa&ve", '&')), 3u);
    EXPECT_EQ(PinnedPosition("&&", ScanMarkers("&&", '&')), std::nullopt);
    EXPECT_EQ(PinnedPosition("&.", ScanMarkers("&.", '&')), std::nullopt);
    EXPECT_EQ(PinnedPosition("&a&", ScanMarkers("&a&", '&')), std::nullopt);
    EXPECT_EQ(PinnedPosition("&a&b", ScanMarkers("&a&b", '&')), std::nullopt);
}

TEST(Lint, Messages)
{
    EXPECT_EQ(DescribeFinding({.Kind = K::NoMarker}, '&'), "no accelerator marker");
    EXPECT_EQ(DescribeFinding({.Kind = K::LoneMarkerAtEnd}, '&'),
              "marker '&' at the end marks nothing");
    EXPECT_EQ(DescribeFinding({.Kind = K::MarkerBeforeNonKey, .Char = ' '}, '~'),
              "marker '~' before ' ', which cannot be a key");
    EXPECT_EQ(DescribeFinding({.Kind = K::MarkerBeforeNonKey, .Char = '\t'}, '&'),
              "marker '&' before '\\x09', which cannot be a key");
    EXPECT_EQ(DescribeFinding({.Kind = K::SeveralMarkers, .Count = 3}, '&'),
              "3 markers '&' where a caption takes one");
    EXPECT_EQ(
        DescribeFinding({.Line = 9, .Kind = K::DuplicateKey, .Char = 'S', .OtherLine = 1}, '&'),
        "key 'S' is also used on line 2");
}

} // namespace
