// Mending and assigning scopes under the cost model: the same markers stay as in the plain fix,
// and the captions it mends take keys of the least total cost, held against trying every
// combination of places on small random scopes.
#include "PreferredScopeFix.h"

#include "UnicodeCharacterTraits.h"
#include "UnicodeKeyRule.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

const TUnicodeCharacterTraits Traits;

const TCostModel& Model()
{
    static const TCostModel model(DefaultPreferences(), Traits);
    return model;
}

// The cost of a mended caption: where its one marker stands, priced in its text.
int CostOfMended(const std::string& mended)
{
    const std::optional<RPlainChar> key = MarkedChar(mended, '&');
    std::string text = mended;
    text.erase(key->Pos - 1, 1);
    return Model().CostsOf(text, '&', {key->Pos - 1}).Costs.front();
}

// The least total cost over every combination of places of the captions to mend, with the
// keys kept by `fix` and the outside keys out of play.
std::optional<int> BruteForceCost(const RScope& scope, const RScopeFix& fix)
{
    std::vector<TKey> taken = scope.OutsideKeys;
    std::vector<std::vector<std::pair<TKey, int>>> options;
    for (std::size_t i = 0; i < scope.Captions.size(); ++i) {
        if (!fix.Changed[i]) {
            if (fix.Keys[i])
                taken.push_back(*fix.Keys[i]);
            continue;
        }
        const RScopeMarkers scanned = ScanScopeMarkers(scope.Captions[i], UnicodeKeyRule(), '&');
        const std::string text = WithoutMarkers(scope.Captions[i], scanned.Markers);
        std::vector<std::pair<TKey, int>>& places = options.emplace_back();
        for (const RKeyCandidate& place : RulePlaces(text, UnicodeKeyRule(), '&'))
            places.push_back({place.Key, Model().CostsOf(text, '&', {place.Pos}).Costs.front()});
    }
    std::optional<int> best;
    std::vector<TKey> used;
    const auto search = [&](const auto& self, std::size_t k, int cost) -> void {
        if (k == options.size()) {
            if (!best || cost < *best)
                best = cost;
            return;
        }
        for (const auto& [key, price] : options[k]) {
            if (std::find(taken.begin(), taken.end(), key) != taken.end() ||
                std::find(used.begin(), used.end(), key) != used.end())
                continue;
            used.push_back(key);
            self(self, k + 1, cost + price);
            used.pop_back();
        }
    };
    search(search, 0, 0);
    return best;
}

TEST(PreferredScopeFix, KeepsWhatThePlainFixKeepsAndMendsAtTheLeastCost)
{
    std::mt19937 random(16);
    const std::string letters = "abcdeiglAB";
    std::uniform_int_distribution<int> size(1, 5);
    std::uniform_int_distribution<int> length(1, 4);
    std::uniform_int_distribution<std::size_t> letter(0, letters.size() - 1);
    std::uniform_int_distribution<int> percent(0, 99);
    int mendedScopes = 0;
    for (int round = 0; round < 3000; ++round) {
        RScope scope;
        const int captions = size(random);
        for (int c = 0; c < captions; ++c) {
            std::string caption;
            for (int n = length(random); n > 0; --n) {
                if (percent(random) < 20)
                    caption += '&';
                caption += letters[letter(random)];
                if (percent(random) < 15)
                    caption += ' ';
            }
            scope.Captions.push_back(caption);
        }
        if (percent(random) < 30)
            scope.OutsideKeys.push_back(U'a');
        const std::vector<bool> wants(scope.Captions.size(), true);
        const RScopeFix plain = FixScope(scope, UnicodeKeyRule(), '&', wants);
        const RScopeFix preferred = FixScopePreferring(scope, UnicodeKeyRule(), '&', wants, {},
                                                       Model(), TPreferMethod::Cheapest);
        ASSERT_EQ(preferred.Fixed, plain.Fixed) << round;
        if (!plain.Fixed)
            continue;
        int plainCost = 0;
        int preferredCost = 0;
        std::vector<TKey> keys = scope.OutsideKeys;
        for (std::size_t i = 0; i < scope.Captions.size(); ++i) {
            // The same markers move: what one fix leaves alone, so does the other.
            ASSERT_EQ(preferred.Changed[i], plain.Changed[i]) << round << ' ' << i;
            ASSERT_TRUE(preferred.Keys[i]);
            ASSERT_EQ(std::count(keys.begin(), keys.end(), *preferred.Keys[i]), 0) << round;
            keys.push_back(*preferred.Keys[i]);
            if (plain.Changed[i]) {
                plainCost += CostOfMended(plain.Captions[i]);
                preferredCost += CostOfMended(preferred.Captions[i]);
            }
        }
        EXPECT_LE(preferredCost, plainCost) << round;
        EXPECT_EQ(preferredCost, BruteForceCost(scope, preferred)) << round;
        mendedScopes += plainCost != 0;
    }
    EXPECT_GT(mendedScopes, 500);
}

TEST(PreferredScopeFix, DialogButtonsThatNeedNoKeyGetNoneAndLoseBrokenMarkers)
{
    const RScope dialog{"dialog", {"&Name:", "OK", "&Cancel&", "&Open", "&Options"}, {}};
    const std::vector<bool> wants(dialog.Captions.size(), true);
    const std::vector<bool> mayGoWithout = {false, true, true, true, true};
    const RScopeFix fix = FixScopePreferring(dialog, UnicodeKeyRule(), '&', wants, mayGoWithout,
                                             Model(), TPreferMethod::Cheapest);
    ASSERT_TRUE(fix.Fixed);
    EXPECT_EQ(fix.Captions,
              (std::vector<std::string>{"&Name:", "OK", "Cancel", "&Open", "Op&tions"}));
    EXPECT_FALSE(fix.Keys[1]);
    EXPECT_FALSE(fix.Keys[2]);
    // A sound marker on "OK" stays: moving none is still first.
    const RScope marked{"dialog", {"&OK", "Open"}, {}};
    EXPECT_EQ(FixScopePreferring(marked, UnicodeKeyRule(), '&', {true, true}, {true, true}, Model(),
                                 TPreferMethod::Cheapest)
                  .Captions,
              (std::vector<std::string>{"&OK", "Ope&n"}));
    // Where "OK" and a control that needs a key clash, "OK" gives its key up.
    const RScope clash{"dialog", {"&OK", "&Open"}, {}};
    const RScopeFix mended = FixScopePreferring(clash, UnicodeKeyRule(), '&', {false, false},
                                                {true, false}, Model(), TPreferMethod::Cheapest);
    EXPECT_EQ(mended.Captions, (std::vector<std::string>{"OK", "&Open"}));
}

TEST(PreferredScopeFix, ListsTakeStandardKeysWordStartsAndThePreferredKey)
{
    const RScope menu{"", {"Save", "Save As", "Select All", "Exit", "Open Recent"}, {U's'}};
    const std::optional<std::vector<RKeyed>> keyed =
        AssignScopePreferring(menu, UnicodeKeyRule(), '&', Model(), TPreferMethod::Cheapest,
                              {std::nullopt, std::nullopt, std::nullopt, std::nullopt, U'r'});
    ASSERT_TRUE(keyed);
    std::vector<std::string> captions;
    for (const RKeyed& k : *keyed)
        captions.push_back(k.Caption);
    // "S" is taken from outside and "A" by the standard key of "Save As": a consonant before a
    // vowel, a wide letter before a narrow one.
    EXPECT_EQ(captions, (std::vector<std::string>{"Sa&ve", "Save &As", "Sele&ct All", "E&xit",
                                                  "Open &Recent"}));
    // Every place of a key, not only its leftmost character, and a suffix after them.
    EXPECT_EQ(RulePlaces("Sa&&ve As", UnicodeKeyRule(), '&').size(), 6u);
    const std::vector<RKeyCandidate> japanese = RulePlaces("保存", UnicodeKeyRule(), '&');
    ASSERT_EQ(japanese.size(), 36u);
    EXPECT_EQ(japanese.front().Suffix, 'A');
}

TEST(UnicodeCharacterTraits, JudgeAccentedAndOtherScriptsByTheirBaseLetter)
{
    EXPECT_TRUE(Traits.IsVowel(U'É'));
    EXPECT_TRUE(Traits.IsVowel(U'ю'));
    EXPECT_TRUE(Traits.IsVowel(U'ά'));
    EXPECT_FALSE(Traits.IsVowel(U'ж'));
    EXPECT_FALSE(Traits.IsVowel(U'ß'));
    EXPECT_TRUE(Traits.IsNarrow(U'í'));
    EXPECT_TRUE(Traits.IsNarrow(U'ł'));
    EXPECT_FALSE(Traits.IsNarrow(U'L'));
    EXPECT_TRUE(Traits.HasDescender(U'ş'));
    EXPECT_TRUE(Traits.HasDescender(U'ą'));
    EXPECT_TRUE(Traits.HasDescender(U'ý'));
    EXPECT_TRUE(Traits.HasDescender(U'р'));
    EXPECT_FALSE(Traits.HasDescender(U'é'));
    EXPECT_FALSE(Traits.HasDescender(U'P'));
    EXPECT_TRUE(Traits.IsLetter(U'ж'));
    EXPECT_TRUE(Traits.IsDigit(U'٣'));
    EXPECT_EQ(Traits.Fold(U'Ж'), Traits.Fold(U'ж'));
    EXPECT_EQ(Traits.Fold(U'Σ'), Traits.Fold(U'ς'));
}

TEST(UnicodeCharacterTraits, PriceCaptionsInEveryScriptAsInEnglish)
{
    // "Сохранить как" = Save as: the first letter, a word start, a consonant, one with a
    // descender, a vowel (two bytes a letter).
    const std::vector<int> costs =
        Model().CostsOf("Сохранить как", '&', {0, 19, 10, 6, 2}).Costs; // С к н р о
    EXPECT_TRUE(std::is_sorted(costs.begin(), costs.end())) << testing::PrintToString(costs);
    EXPECT_EQ(std::adjacent_find(costs.begin(), costs.end()), costs.end());
    EXPECT_EQ(Model().StandardKeyOf("&Édition", '&'), std::nullopt);
}

} // namespace
