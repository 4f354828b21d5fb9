// Which characters carry keys under the two rules, and the East Asian suffix.
#include "UnicodeKeyRule.h"

#include "Engine.h"
#include "KeyRule.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

using TShown = std::pair<std::string, std::string>; // accelerated caption, key shown

std::vector<TShown> FormsOf(const std::string& caption, const IKeyRule& rule = UnicodeKeyRule())
{
    std::vector<TShown> forms;
    for (const RKeyCandidate& candidate : rule.CandidatesOf(caption))
        forms.emplace_back(ApplyCandidate(caption, candidate, '&'), rule.KeyText(candidate.Key));
    return forms;
}

TEST(AsciiKeyRule, OffersWhatTheWindowOffers)
{
    std::mt19937 random(5);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 2000; ++round) {
        std::string caption;
        for (int n = round % 12; n > 0; --n)
            caption.push_back(static_cast<char>(byte(random)));
        const std::vector<RCandidate> expected = TAccEngine::CandidatesOf(caption);
        const std::vector<RKeyCandidate> got = AsciiKeyRule().CandidatesOf(caption);
        ASSERT_EQ(got.size(), expected.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].Pos, expected[i].Pos);
            EXPECT_EQ(AsciiKeyRule().KeyText(got[i].Key), std::string(1, expected[i].Key));
            EXPECT_EQ(got[i].Suffix, 0);
        }
    }
}

TEST(UnicodeKeyRule, LettersOfEveryAlphabetShownInUpperCase)
{
    EXPECT_EQ(
        FormsOf("Файл"),
        (std::vector<TShown>{{"&Файл", "Ф"}, {"Ф&айл", "А"}, {"Фа&йл", "Й"}, {"Фай&л", "Л"}}));
    EXPECT_EQ(FormsOf("Αρχείο 2"), (std::vector<TShown>{{"&Αρχείο 2", "Α"},
                                                        {"Α&ρχείο 2", "Ρ"},
                                                        {"Αρ&χείο 2", "Χ"},
                                                        {"Αρχ&είο 2", "Ε"},
                                                        {"Αρχε&ίο 2", "Ί"},
                                                        {"Αρχεί&ο 2", "Ο"},
                                                        {"Αρχείο &2", "2"}}));
    EXPECT_EQ(FormsOf("קובץ").size(), 4u);
    // Decimal digits of any script and today's punctuation keys; other signs never.
    EXPECT_EQ(FormsOf("٣!$<=>?@").size(), 8u);
    EXPECT_TRUE(FormsOf("&-.:_~ \t€©").empty());
}

TEST(UnicodeKeyRule, KeysCompareBySimpleCaseFolding)
{
    EXPECT_EQ(FormsOf("ёЁ"), (std::vector<TShown>{{"&ёЁ", "Ё"}}));
    EXPECT_EQ(FormsOf("ςΣσ"), (std::vector<TShown>{{"&ςΣσ", "Σ"}}));
    EXPECT_EQ(FormsOf("aA"), (std::vector<TShown>{{"&aA", "A"}}));
    const IKeyRule& rule = UnicodeKeyRule();
    EXPECT_EQ(rule.CharAt("Σ", 0).Key, rule.CharAt("ς", 0).Key);
    EXPECT_NE(rule.CharAt("Е", 0).Key, rule.CharAt("E", 0).Key); // Cyrillic is not Latin
}

TEST(UnicodeKeyRule, MarkerGoesBeforeTheWholeCharacterAndMarksArePassedOver)
{
    // e + COMBINING ACUTE: the mark carries no key and the marker never splits a character.
    EXPECT_EQ(FormsOf("e\u0301x"), (std::vector<TShown>{{"&e\u0301x", "E"}, {"e\u0301&x", "X"}}));
    EXPECT_EQ(FormsOf("Ж"), (std::vector<TShown>{{"&Ж", "Ж"}}));
    const RCaptionChar c = UnicodeKeyRule().CharAt("\u0301", 0);
    EXPECT_EQ(c.Length, 2u);
    EXPECT_FALSE(c.Key);
}

TEST(UnicodeKeyRule, InvalidBytesAreNeverKeysAndStayAsTheyAre)
{
    // A lone continuation byte, a truncated sequence, an overlong 'A', a surrogate, beyond
    // U+10FFFF.
    const std::string caption = "\x80"
                                "A\xD0"
                                "\xC1\x81"
                                "\xED\xA0\x80"
                                "\xF4\x90\x80\x80"
                                "b\xE2\x82";
    const std::vector<RKeyCandidate> candidates = UnicodeKeyRule().CandidatesOf(caption);
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0].Pos, 1u);
    EXPECT_EQ(candidates[1].Pos, 12u);
    EXPECT_EQ(ApplyCandidate(caption, candidates[1], '&'),
              caption.substr(0, 12) + "&" + caption.substr(12));
    for (std::size_t pos = 0; pos < caption.size(); ++pos) {
        if (pos != 1 && pos != 12) {
            EXPECT_FALSE(UnicodeKeyRule().CharAt(caption, pos).Key) << pos;
        }
    }
    EXPECT_FALSE(DecodeUtf8At("\xF0\x9F\x98", 0).Valid);
    EXPECT_EQ(DecodeUtf8At("\xF0\x9F\x98\x80", 0).CodePoint, U'\U0001F600');
}

TEST(Utf8, TheFirstInvalidByteIsFoundWhereverItStands)
{
    constexpr auto npos = std::string_view::npos;
    EXPECT_EQ(FirstInvalidUtf8(""), npos);
    EXPECT_EQ(FirstInvalidUtf8("Ёлка \xF0\x9F\x98\x80 ok"), npos);
    EXPECT_EQ(FirstInvalidUtf8("ab\xC0\xAF"), 2u);       // overlong "/"
    EXPECT_EQ(FirstInvalidUtf8("ab\xED\xA0\x80"), 2u);   // a surrogate
    EXPECT_EQ(FirstInvalidUtf8("\xF4\x90\x80\x80"), 0u); // past U+10FFFF
    EXPECT_EQ(FirstInvalidUtf8("Ж\xD0"), 2u);            // cut short at the end
    EXPECT_EQ(FirstInvalidUtf8("Ж\x80Ж"), 2u);           // a stray continuation byte
    EXPECT_TRUE(IsValidUtf8("Σσς"));
    EXPECT_FALSE(IsValidUtf8("caf\xE9")); // Latin-1
}

TEST(UnicodeKeyRule, InputMethodScriptsTakeTheSuffixBeforeATrailingEllipsisOrColon)
{
    const std::vector<TShown> forms = FormsOf("ファイル");
    ASSERT_EQ(forms.size(), 36u);
    EXPECT_EQ(forms.front(), (TShown{"ファイル(&A)", "A"}));
    EXPECT_EQ(forms[25], (TShown{"ファイル(&Z)", "Z"}));
    EXPECT_EQ(forms[26], (TShown{"ファイル(&0)", "0"}));
    EXPECT_EQ(forms.back(), (TShown{"ファイル(&9)", "9"}));
    EXPECT_EQ(FormsOf("名前を付けて保存...")[0].first, "名前を付けて保存(&A)...");
    EXPECT_EQ(FormsOf("保存…")[0].first, "保存(&A)…");
    EXPECT_EQ(FormsOf("名前:")[0].first, "名前(&A):");
    EXPECT_EQ(FormsOf("名前：")[0].first, "名前(&A)：");
    EXPECT_EQ(FormsOf("파일")[1].first, "파일(&B)");
    EXPECT_EQ(FormsOf("ꀀ").size(), 36u);       // Yi
    EXPECT_EQ(FormsOf("データー").size(), 36u); // the prolonged sound mark is no key either
}

TEST(UnicodeKeyRule, SuffixCandidatesComeAfterTheCaptionsOwnKeys)
{
    // Keys the caption offers itself are not offered again as a suffix.
    const std::vector<TShown> forms = FormsOf("PDFを開く");
    ASSERT_EQ(forms.size(), 3u + 33u);
    EXPECT_EQ(forms[0], (TShown{"&PDFを開く", "P"}));
    EXPECT_EQ(forms[2], (TShown{"PD&Fを開く", "F"}));
    EXPECT_EQ(forms[3], (TShown{"PDFを開く(&A)", "A"}));
    EXPECT_EQ(forms[5], (TShown{"PDFを開く(&C)", "C"}));
    EXPECT_EQ(forms[6], (TShown{"PDFを開く(&E)", "E"}));
    // Without any such character no suffix is offered, whatever else the caption holds.
    EXPECT_TRUE(FormsOf("...").empty());
}

} // namespace

// A whole scope in one call keeps the rule's record of offered keys from caption to caption:
// each caption must still get exactly what it gets alone, whatever came before it.
TEST(UnicodeKeyRule, ScopeInOneCallOffersWhatEachCaptionOffersAlone)
{
    const std::vector<std::string> tokens = {"a",    "Ж",   "ж",    "ё", "Σ", "ς", "ա",
                                             "ა",    "😀",   "ファ", "1", "&", " ", "\xFF",
                                             "\xD0", "...", "ǅ",    "ǆ", "Z", "ק", "ب"};
    std::mt19937 random(21);
    for (int round = 0; round < 500; ++round) {
        std::vector<std::string> captions(random() % 20);
        for (std::string& caption : captions)
            for (int n = static_cast<int>(random() % 12); n > 0; --n)
                caption += tokens[random() % tokens.size()];
        std::vector<RKeyCandidate> expected{{.Pos = 7, .Key = U'x'}}; // kept in front
        std::vector<std::size_t> expectedEnds{99};
        for (const std::string& caption : captions) {
            UnicodeKeyRule().AppendCandidates(caption, expected);
            expectedEnds.push_back(expected.size());
        }
        std::vector<RKeyCandidate> got{{.Pos = 7, .Key = U'x'}};
        std::vector<std::size_t> ends{99};
        UnicodeKeyRule().AppendCandidatesOfEach(captions, got, ends);
        ASSERT_EQ(got, expected) << "round " << round;
        ASSERT_EQ(ends, expectedEnds) << "round " << round;
    }
}
