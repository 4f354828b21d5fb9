// The cost model on captions designers know, and whole scopes assigned under it.
#include "KeyCosts.h"

#include "PreferredAssignment.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const TAsciiCharacterTraits Ascii;

RKeyScope AsciiScope(const std::vector<std::string>& captions)
{
    RKeyScope scope{43, {}, {}};
    for (const std::string& caption : captions)
        scope.Captions.push_back({caption, AsciiKeyPlaces(caption, '&'), {}, {}});
    return scope;
}

std::vector<std::string> Marked(const RKeyScope& scope, const RScopeKeys& keys)
{
    std::vector<std::string> marked;
    for (std::size_t i = 0; i < scope.Captions.size(); ++i)
        marked.push_back(MarkedCaption(scope.Captions[i].Caption, keys.Pos[i], '&'));
    return marked;
}

std::vector<std::string> Cheapest(const std::vector<std::string>& captions)
{
    const TCostModel model(DefaultPreferences(), Ascii);
    const RKeyScope scope = AsciiScope(captions);
    const RScopeKeys keys = AssignScope(scope, '&', model, TPreferMethod::Cheapest);
    EXPECT_TRUE(keys.Assigned);
    return keys.Assigned ? Marked(scope, keys) : std::vector<std::string>{};
}

std::vector<int> CostsOfEveryPlace(const TCostModel& model, const std::string& caption)
{
    std::vector<std::size_t> positions;
    for (const RKeyPlace& place : AsciiKeyPlaces(caption, '&'))
        positions.push_back(place.Pos);
    return model.CostsOf(caption, '&', positions).Costs;
}

TEST(KeyCostsTest, MenusGetTheKeysDesignersGiveThem)
{
    EXPECT_EQ(Cheapest({"File", "Edit", "View", "Insert", "Format", "Tools", "Window", "Help"}),
              (std::vector<std::string>{"&File", "&Edit", "&View", "&Insert", "F&ormat", "&Tools",
                                        "&Window", "&Help"}));
    EXPECT_EQ(Cheapest({"New", "Open...", "Save", "Save As...", "Print...", "Close", "Exit"}),
              (std::vector<std::string>{"&New", "&Open...", "&Save", "Save &As...", "&Print...",
                                        "&Close", "E&xit"}));
    EXPECT_EQ(Cheapest({"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All"}),
              (std::vector<std::string>{"&Undo", "&Redo", "Cu&t", "&Copy", "&Paste", "&Delete",
                                        "Select &All"}));
}

TEST(KeyCostsTest, CaptionsWithoutAStandardKeyPreferWordStartsAndWideConsonants)
{
    // The first letter, then another word's, then a consonant, with "i" narrow.
    EXPECT_EQ(Cheapest({"Merge Cells", "Move Columns", "Mirror"}),
              (std::vector<std::string>{"&Merge Cells", "Move &Columns", "Mi&rror"}));
    const TCostModel model(DefaultPreferences(), Ascii);
    const std::vector<int> costs = CostsOfEveryPlace(model, "Mig Ol1!");
    // M, i, g, O, l, 1, !
    ASSERT_EQ(costs.size(), 7u);
    EXPECT_EQ(costs[0], 0);      // first letter
    EXPECT_EQ(costs[1], 30 + 8); // vowel, narrow
    EXPECT_EQ(costs[2], 20 + 4); // consonant, descender
    EXPECT_EQ(costs[3], 10);     // another word
    EXPECT_EQ(costs[4], 20 + 8); // consonant, narrow
    EXPECT_EQ(costs[5], 50 + 8); // digit, narrow
    EXPECT_EQ(costs[6], 60 + 8); // punctuation, narrow
}

TEST(KeyCostsTest, ShortcutLettersAreALastResort)
{
    EXPECT_EQ(Cheapest({"Sort", "Send\tCtrl+S"}),
              (std::vector<std::string>{"&Sort", "Se&nd\tCtrl+S"}));
    const TCostModel model(DefaultPreferences(), Ascii);
    EXPECT_EQ(model.CostsOf("Go\tF5", '&', {0, 3, 4}).Costs, (std::vector<int>{0, 60, 60}));
}

TEST(KeyCostsTest, StandardKeysAreFoundWithoutMarkersShortcutsAndEllipsis)
{
    const TCostModel model(DefaultPreferences(), Ascii);
    EXPECT_EQ(model.StandardKeyOf("Save &As...\tCtrl+Shift+S", '&'), U'a');
    EXPECT_EQ(model.StandardKeyOf("  e&XIT\u2026", '&'), U'x');
    EXPECT_EQ(model.StandardKeyOf("Save As Copy", '&'), std::nullopt);
    EXPECT_EQ(model.StandardKeyOf("Find && Replace", '&'), std::nullopt);
    EXPECT_EQ(model.StandardKeyOf("_Find", '_'), U'f');
    EXPECT_TRUE(model.IsNoKeyCaption("ok", '&'));
    EXPECT_TRUE(model.IsNoKeyCaption("&Cancel", '&'));
    EXPECT_FALSE(model.IsNoKeyCaption("Cancel All", '&'));
}

TEST(KeyCostsTest, EveryBuiltInStandardKeyIsALetterOfItsCommand)
{
    for (const RStandardKey& entry : DefaultPreferences().StandardKeys)
        EXPECT_NE(entry.Text.find(static_cast<char>(entry.Key)), std::string::npos) << entry.Text;
}

TEST(KeyCostsTest, AStandardKeyWinsOverEveryOtherPreferenceWhileItIsFree)
{
    // "Cut" would rather have C, which is also the standard key of "Copy" and "Close": Copy
    // has it, Close takes its cheapest other letter ("s": "l" is narrow, "o" a vowel).
    EXPECT_EQ(Cheapest({"Cut", "Copy", "Close"}),
              (std::vector<std::string>{"Cu&t", "&Copy", "Clo&se"}));
    const TCostModel model(DefaultPreferences(), Ascii);
    const std::vector<int> exit = CostsOfEveryPlace(model, "Exit");
    EXPECT_EQ(exit[1], 20); // x: a consonant and nothing else
    EXPECT_EQ(exit[0], 100000);
}

TEST(KeyCostsTest, OkAndCancelGetNoKey)
{
    const TCostModel model(DefaultPreferences(), Ascii);
    const RKeyScope scope = AsciiScope({"OK", "Cancel", "Apply"});
    const RScopeKeys keys = AssignScope(scope, '&', model, TPreferMethod::Cheapest);
    ASSERT_TRUE(keys.Assigned);
    EXPECT_EQ(Marked(scope, keys), (std::vector<std::string>{"OK", "Cancel", "&Apply"}));
    EXPECT_TRUE(model.CostsOf("OK", '&', {0}).NoKey);
}

TEST(KeyCostsTest, APreferredKeyCostsLessThanAnyOther)
{
    const TCostModel model(DefaultPreferences(), Ascii);
    const RCaptionCosts costs = model.CostsOf("Merge", '&', {0, 2}, U'R');
    EXPECT_EQ(costs.Costs, (std::vector<int>{100, 20}));
}

TEST(KeyCostsTest, TheSameTextKeepsItsKeyAcrossScopes)
{
    const TCostModel model(DefaultPreferences(), Ascii);
    // Alone, "Merge" gives way to "Move" (equal cost, earlier caption); with the key it has in
    // the two other menus preferred, it keeps M and "Move" moves.
    const std::vector<RKeyScope> scopes = {AsciiScope({"Merge"}), AsciiScope({"Merge", "Split"}),
                                           AsciiScope({"Move", "Merge"})};
    const RScopeKeys alone = AssignScope(scopes[2], '&', model, TPreferMethod::Cheapest);
    EXPECT_EQ(Marked(scopes[2], alone), (std::vector<std::string>{"&Move", "Me&rge"}));
    const std::vector<RScopeKeys> keys =
        AssignScopesConsistently(scopes, '&', model, TPreferMethod::Cheapest);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(Marked(scopes[2], keys[2]), (std::vector<std::string>{"Mo&ve", "&Merge"}));
    EXPECT_EQ(Marked(scopes[1], keys[1]), (std::vector<std::string>{"&Merge", "&Split"}));
}

TEST(KeyCostsTest, MendingKeepsSoundMarkersBeforeHonouringStandardKeys)
{
    const TCostModel model(DefaultPreferences(), Ascii);
    RKeyScope scope = AsciiScope({"Co&py", "Cut", "Paste"});
    // "Co&py" keeps its "p" though "Copy" would rather have C, and so "Paste" loses P.
    scope.Captions[0].KeptPos = 3;
    const RScopeKeys keys = AssignScope(scope, '&', model, TPreferMethod::Cheapest);
    ASSERT_TRUE(keys.Assigned);
    EXPECT_EQ(keys.Pos, (std::vector<std::optional<std::size_t>>{3, 2, 2}));
}

TEST(KeyCostsTest, PlacesAndCharactersSkipMarkersAndSurviveInvalidBytes)
{
    EXPECT_EQ(AsciiKeyPlaces("A&&b&c", '&'), (std::vector<RKeyPlace>{{0, 0}, {3, 1}, {5, 2}}));
    EXPECT_EQ(MarkedChar("a&&b&c", '&')->Pos, 5u);
    EXPECT_FALSE(MarkedChar("ab&", '&'));
    const std::vector<RPlainChar> plain = PlainChars("\xC3\xA9\xFF\xE2\x80", '&');
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_EQ(plain[0].Char, U'\u00E9');
    EXPECT_EQ(plain[1].Char, U'\uFFFD');
    EXPECT_EQ(plain[2].Pos, 3u);
    EXPECT_EQ(plain[3].Pos, 4u);
}

// Traits of another script decide what a letter, a vowel and a case pair are.
class TNoVowels : public TAsciiCharacterTraits
{
public:
    bool IsLetter(char32_t c) const override
    {
        return c == U'\u0436' || TAsciiCharacterTraits::IsLetter(c);
    }
    bool IsVowel(char32_t) const override { return false; }
};

TEST(KeyCostsTest, CharacterTraitsComeFromTheCaller)
{
    const TNoVowels traits;
    const TCostModel model(DefaultPreferences(), traits);
    // "Oжe": ж is a letter inside the word, e no longer counts as a vowel.
    EXPECT_EQ(model.CostsOf("O\u0436e", '&', {0, 1, 3}).Costs, (std::vector<int>{0, 20, 20}));
}

} // namespace
