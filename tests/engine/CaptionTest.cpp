// Which captions are acceptable and which accelerated forms a caption offers.
#include "Engine.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

using TForm = std::pair<std::string, char>; // accelerated caption, key

std::vector<TForm> FormsOf(const std::string& caption, char marker = '&')
{
    TAccEngine engine;
    engine.FAccChar = marker;
    engine.AddPosResult(caption);
    const RPosResult& posResult = engine.PosResults()->PosResult;
    std::vector<TForm> forms;
    for (const RCandidate& candidate : posResult.Candidates)
        forms.emplace_back(engine.AcceleratedCaption(posResult, candidate), candidate.Key);
    return forms;
}

TEST(IsValidCaption, MarkersMustComeInPairsTakenLeftToRight)
{
    const TAccEngine engine;
    EXPECT_FALSE(engine.IsValidCaption(""));
    EXPECT_TRUE(engine.IsValidCaption("Open"));
    EXPECT_TRUE(engine.IsValidCaption("A&&B"));
    EXPECT_FALSE(engine.IsValidCaption("A&B"));
    EXPECT_FALSE(engine.IsValidCaption("AB&"));
    EXPECT_FALSE(engine.IsValidCaption("&"));
    EXPECT_TRUE(engine.IsValidCaption("&&"));
    EXPECT_FALSE(engine.IsValidCaption("&&&"));
    EXPECT_TRUE(engine.IsValidCaption("&&&&"));
    EXPECT_FALSE(engine.IsValidCaption("&&&B"));
    // The pair after a refused single marker is never looked at.
    EXPECT_FALSE(engine.IsValidCaption("&A&&"));
    EXPECT_TRUE(engine.IsValidCaption("..."));
    EXPECT_TRUE(engine.IsValidCaption(" "));
}

TEST(IsValidCaption, FollowsTheChosenMarker)
{
    TAccEngine engine;
    engine.FAccChar = '~';
    EXPECT_TRUE(engine.IsValidCaption("A&B"));
    EXPECT_TRUE(engine.IsValidCaption("&"));
    EXPECT_FALSE(engine.IsValidCaption("A~B"));
    EXPECT_TRUE(engine.IsValidCaption("A~~B"));
    EXPECT_FALSE(engine.IsValidCaption("~"));
    EXPECT_FALSE(engine.IsValidCaption(""));
}

TEST(IsValidCaption, TreatsHighBytesAsPlainCharacters)
{
    TAccEngine engine;
    engine.FAccChar = '\xE9';
    EXPECT_FALSE(engine.IsValidCaption("Caf\xE9"));
    EXPECT_TRUE(engine.IsValidCaption("Caf\xE9\xE9"));
    engine.FAccChar = '&';
    EXPECT_TRUE(engine.IsValidCaption("Caf\xE9"));
}

TEST(Candidates, OneForEveryLetterInOrder)
{
    EXPECT_EQ(FormsOf("Open"),
              (std::vector<TForm>{{"&Open", 'O'}, {"O&pen", 'P'}, {"Op&en", 'E'}, {"Ope&n", 'N'}}));
}

TEST(Candidates, RepeatedKeyBelongsToItsLeftmostOccurrenceWhateverTheCase)
{
    EXPECT_EQ(
        FormsOf("Tools"),
        (std::vector<TForm>{{"&Tools", 'T'}, {"T&ools", 'O'}, {"Too&ls", 'L'}, {"Tool&s", 'S'}}));
    EXPECT_EQ(FormsOf("aA"), (std::vector<TForm>{{"&aA", 'A'}}));
    EXPECT_EQ(FormsOf("Aa1a1"), (std::vector<TForm>{{"&Aa1a1", 'A'}, {"Aa&1a1", '1'}}));
}

TEST(Candidates, MarkerPairsAndBlanksArePassedOver)
{
    EXPECT_EQ(FormsOf("Save && Exit"), (std::vector<TForm>{{"&Save && Exit", 'S'},
                                                           {"S&ave && Exit", 'A'},
                                                           {"Sa&ve && Exit", 'V'},
                                                           {"Sav&e && Exit", 'E'},
                                                           {"Save && E&xit", 'X'},
                                                           {"Save && Ex&it", 'I'},
                                                           {"Save && Exi&t", 'T'}}));
}

TEST(Candidates, NoneForCaptionsOfPassedOverCharacters)
{
    EXPECT_TRUE(FormsOf("...").empty());
    EXPECT_TRUE(FormsOf("- +").empty());
    EXPECT_TRUE(FormsOf("").empty());
    EXPECT_TRUE(FormsOf("&&_~:\t\x80\xFF").empty());
}

TEST(Candidates, EligibleBytesAreExactlyTheFortyThreeKeys)
{
    std::string keys;
    for (int b = 0; b < 256; ++b) {
        const std::string caption(1, static_cast<char>(b));
        const std::vector<RCandidate> candidates = TAccEngine::CandidatesOf(caption);
        ASSERT_LE(candidates.size(), 1u) << "byte " << b;
        if (candidates.empty())
            continue;
        EXPECT_EQ(candidates[0].Pos, 0u);
        if (b >= 'a' && b <= 'z')
            EXPECT_EQ(candidates[0].Key, static_cast<char>(b - 'a' + 'A'));
        else
            keys.push_back(candidates[0].Key);
        EXPECT_EQ(candidates[0].Key, KeyOf(static_cast<char>(b)));
    }
    EXPECT_EQ(keys, "!$0123456789<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ");

    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(TAccEngine::CandidatesOf(all).size(), static_cast<std::size_t>(KeyCount));
}

TEST(Candidates, KeyIndicesAreDistinctAndInRange)
{
    std::vector<bool> seen(KeyCount, false);
    for (const char key : std::string("!$0123456789<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ")) {
        const int index = KeyIndex(key);
        ASSERT_GE(index, 0) << key;
        ASSERT_LT(index, KeyCount) << key;
        EXPECT_FALSE(seen[index]) << key;
        seen[index] = true;
    }
    EXPECT_EQ(KeyIndex('a'), -1);
    EXPECT_EQ(KeyIndex('&'), -1);
}

TEST(Candidates, OtherMarkerLeavesAmpersandsAlone)
{
    EXPECT_EQ(FormsOf("A&B", '~'), (std::vector<TForm>{{"~A&B", 'A'}, {"A&~B", 'B'}}));
}

TEST(Candidates, MarkerIsInsertedAsAByteEvenWhenZero)
{
    const std::vector<TForm> forms = FormsOf("ab", '\0');
    ASSERT_EQ(forms.size(), 2u);
    EXPECT_EQ(forms[1].first, std::string("a\0b", 3));
}

} // namespace
