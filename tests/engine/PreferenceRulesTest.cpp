// The rule file: what good rules change, and the message each kind of bad line gets.
#include "PreferenceRules.h"

#include "PreferredAssignment.h"
#include "QuarnelError.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string ErrorOf(const std::string& text)
{
    RPreferences preferences = DefaultPreferences();
    try {
        ApplyPreferenceRules(text, "rules.txt", preferences);
    } catch (const EQuarnelError& error) {
        EXPECT_EQ(preferences.Weights.Values, DefaultPreferences().Weights.Values);
        EXPECT_EQ(preferences.StandardKeys, DefaultPreferences().StandardKeys);
        return error.what();
    }
    return "no error";
}

TEST(PreferenceRulesTest, AGoodFileChangesWeightsAndTables)
{
    RPreferences preferences = DefaultPreferences();
    ApplyPreferenceRules("# house style\r\n"
                         "\n"
                         "weight first-letter 5   # not quite free\r\n"
                         "  weight\tdescender 0\n"
                         "standard \"Save As\" v\n"
                         "standard \"Say \\\"Hi\\\"\" H\n"
                         "nokey \"Close Window\"\n"
                         "clear nokey\n"
                         "nokey \"Done\"",
                         "rules.txt", preferences);
    EXPECT_EQ(preferences.Weights[TCostWeight::FirstLetter], 5);
    EXPECT_EQ(preferences.Weights[TCostWeight::Descender], 0);
    EXPECT_EQ(preferences.Weights[TCostWeight::Vowel], 30);
    EXPECT_EQ(preferences.StandardKeys.back(), (RStandardKey{"Say \"Hi\"", U'H'}));
    EXPECT_EQ(preferences.NoKeyTexts, std::vector<std::string>{"Done"});

    // The later "Save As" replaces the built-in one.
    const TAsciiCharacterTraits ascii;
    const TCostModel model(preferences, ascii);
    EXPECT_EQ(model.StandardKeyOf("Save As...", '&'), U'v');
    const RKeyScope scope{43, {{"Save As", AsciiKeyPlaces("Save As", '&'), {}, {}}}, {}};
    EXPECT_EQ(AssignScope(scope, '&', model, TPreferMethod::Cheapest).Pos.front(), 2u);
}

TEST(PreferenceRulesTest, ClearingTheStandardTableLeavesOnlyTheFilesOwnKeys)
{
    RPreferences preferences = DefaultPreferences();
    ApplyPreferenceRules("clear standard\nstandard \"\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB\" "
                         "\xD0\xA4\n",
                         "rules.txt", preferences);
    ASSERT_EQ(preferences.StandardKeys.size(), 1u);
    EXPECT_EQ(preferences.StandardKeys[0].Key, U'\u0424');
}

TEST(PreferenceRulesTest, BadWeightLinesNameTheirLine)
{
    EXPECT_EQ(ErrorOf("# fine\nweight\n"),
              "rules.txt:2: \"weight\" needs a name: first-letter, word-start, consonant, vowel, "
              "digit, punctuation, narrow, descender, standard, consistency");
    EXPECT_EQ(ErrorOf("weight first 3"),
              "rules.txt:1: unknown weight \"first\"; the weights are first-letter, word-start, "
              "consonant, vowel, digit, punctuation, narrow, descender, standard, consistency");
    const std::string needsNumber =
        "rules.txt:1: weight \"vowel\" needs a whole number from 0 to 1000000";
    EXPECT_EQ(ErrorOf("weight vowel"), needsNumber);
    EXPECT_EQ(ErrorOf("weight vowel 3x"), needsNumber);
    EXPECT_EQ(ErrorOf("weight vowel -1"), needsNumber);
    EXPECT_EQ(ErrorOf("weight vowel 1000001"), needsNumber);
    EXPECT_EQ(ErrorOf("weight vowel 99999999999999999999"), needsNumber);
    EXPECT_EQ(ErrorOf("weight vowel \"3\""), needsNumber);
    EXPECT_EQ(ErrorOf("weight vowel 3 4"), "rules.txt:1: unexpected \"4\" after the rule");
}

TEST(PreferenceRulesTest, BadCaptionLinesNameTheirLine)
{
    EXPECT_EQ(ErrorOf("standard Save S"),
              "rules.txt:1: \"standard\" needs a caption in double quotes");
    EXPECT_EQ(ErrorOf("standard \"Save S"), "rules.txt:1: the caption has no closing quote");
    EXPECT_EQ(ErrorOf("nokey \"a\\b\""),
              "rules.txt:1: only \\\" and \\\\ may follow a backslash in a caption");
    EXPECT_EQ(ErrorOf("\n\nnokey \"\""), "rules.txt:3: the caption is empty");
    const std::string oneKey =
        "rules.txt:1: \"standard\" needs one key character after the caption";
    EXPECT_EQ(ErrorOf("standard \"Save\""), oneKey);
    EXPECT_EQ(ErrorOf("standard \"Save\" Sa"), oneKey);
    EXPECT_EQ(ErrorOf("standard \"Save\" \"S\""), oneKey);
    EXPECT_EQ(ErrorOf("standard \"Save\" z"),
              "rules.txt:1: the key \"z\" is not a character of \"Save\"");
    EXPECT_EQ(ErrorOf("standard \"Save\" s x"), "rules.txt:1: unexpected \"x\" after the rule");
    EXPECT_EQ(ErrorOf("nokey \"OK\" \"Cancel\""),
              "rules.txt:1: unexpected \"Cancel\" after the rule");
}

TEST(PreferenceRulesTest, UnknownRulesAndBytesAreRejected)
{
    EXPECT_EQ(ErrorOf("weigth vowel 3"),
              "rules.txt:1: unknown rule \"weigth\"; the rules are weight, standard, nokey and "
              "clear");
    EXPECT_EQ(ErrorOf("\"Save\" S"),
              "rules.txt:1: a rule starts with weight, standard, nokey or clear");
    EXPECT_EQ(ErrorOf("clear weights"), "rules.txt:1: \"clear\" needs standard or nokey");
    EXPECT_EQ(ErrorOf("clear"), "rules.txt:1: \"clear\" needs standard or nokey");
    EXPECT_EQ(ErrorOf("nokey \"Caf\xC3\""), "rules.txt:1: the line is not UTF-8");
    EXPECT_EQ(ErrorOf("nokey \"\xED\xA0\x80\""), "rules.txt:1: the line is not UTF-8");
    // Only the first bad line is reported, and nothing of the good lines before it applies.
    EXPECT_EQ(ErrorOf("weight vowel 1\nbogus\nbogus"),
              "rules.txt:2: unknown rule \"bogus\"; the rules are weight, standard, nokey and "
              "clear");
}

} // namespace
