// The quality figures of marked captions.
#include "KeyQuality.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const TAsciiCharacterTraits Ascii;

TEST(KeyQualityTest, CountsFirstLettersAndStandardKeysPerScopeAndInTotal)
{
    const TCostModel model(DefaultPreferences(), Ascii);
    const RQualityReport report = MeasureQuality(
        {{"&File", "E&dit", "Save &As...", "Cu&t\tCtrl+X", "Co&py", "Merge", "Find && &Go"},
         {"O&K", "&Help"}},
        '&', model);
    ASSERT_EQ(report.Scopes.size(), 2u);
    // First letters: F, A (of "As"), G (a word after a literal marker); standard commands:
    // File, Edit, Save As, Cut, Copy, of which File, Save As and Cut carry their keys.
    EXPECT_EQ(report.Scopes[0], (RScopeQuality{7, 6, 3, 5, 3}));
    EXPECT_EQ(report.Scopes[1], (RScopeQuality{2, 2, 1, 1, 1}));
    EXPECT_EQ(report.Total, (RScopeQuality{9, 8, 4, 6, 4}));
    EXPECT_EQ(report.SharedTexts, 0u);
}

TEST(KeyQualityTest, CountsTheSameCommandOnDifferentKeys)
{
    const TCostModel model(DefaultPreferences(), Ascii);
    // "Copy" three times on C, once on o; "Merge" on M and on r, one each; "Split" once.
    const RQualityReport report = MeasureQuality(
        {{"&Copy", "&Merge"}, {"&Copy...", "Me&rge"}, {"&copy"}, {"C&opy", "&Split"}}, '&', model);
    EXPECT_EQ(report.SharedTexts, 2u);
    EXPECT_EQ(report.InconsistentTexts, 2u);
    EXPECT_EQ(report.OffMajorityKeys, 2u);
    const std::map<std::u32string, TKeyTally> tallies =
        KeysByCommand({{"&Copy", "C&opy"}, {"&copy\tCtrl+C"}}, '&', model);
    EXPECT_EQ(tallies.at(U"copy"), (TKeyTally{{U'c', 2}, {U'o', 1}}));
}

} // namespace
