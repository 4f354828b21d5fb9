#include "ProfileFile.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

using namespace std::string_literals;

namespace {

std::string Written(const std::string& input, const char* section, const char* key,
                    const char* value)
{
    TProfileFile profile = TProfileFile::Parse(input);
    profile.WriteString(section, key, value);
    return profile.ToBytes();
}

std::string Erased(const std::string& input, const char* section)
{
    TProfileFile profile = TProfileFile::Parse(input);
    profile.EraseSection(section);
    return profile.ToBytes();
}

} // namespace

TEST(quarnelapps_ProfileFileRead, NamesCompareWithoutRegardToAsciiCase)
{
    const auto profile = TProfileFile::Parse("[Quarnel Window]\r\nLeft=10\r\n");
    EXPECT_EQ(profile.ReadString("quarnel window", "LEFT"), "10");
    EXPECT_EQ(profile.ReadString("QUARNEL WINDOW", "left"), "10");
    EXPECT_EQ(profile.ReadString("Quarnel Window", "Top"), std::nullopt);
    EXPECT_EQ(profile.ReadString("Quarnel View", "Left"), std::nullopt);
    // Only ASCII letters fold: bytes above 127 must match exactly.
    const auto latin = TProfileFile::Parse("[\xC9t\xE9]\nk=1\n");
    EXPECT_EQ(latin.ReadString("\xC9T\xE9", "K"), "1");
    EXPECT_EQ(latin.ReadString("\xE9t\xE9", "k"), std::nullopt);
}

TEST(quarnelapps_ProfileFileRead, FirstSectionAndFirstKeyWin)
{
    const auto profile = TProfileFile::Parse("[A]\nk=first\nK=second\n"
                                             "[B]\nk=other\n"
                                             "[a]\nk=third\nonly=late\n");
    EXPECT_EQ(profile.ReadString("A", "k"), "first");
    EXPECT_EQ(profile.ReadString("B", "k"), "other");
    // A key present only in a later duplicate of the section is not seen.
    EXPECT_EQ(profile.ReadString("A", "only"), std::nullopt);
}

TEST(quarnelapps_ProfileFileRead, KeysBelongOnlyToTheirOwnSection)
{
    const auto profile = TProfileFile::Parse("k=before any section\n"
                                             "[A]\n"
                                             "  [ B ]  trailing\n"
                                             "k=in B\n"
                                             "[C\n"
                                             "k=in unterminated header\n");
    EXPECT_EQ(profile.ReadString("A", "k"), std::nullopt);
    EXPECT_EQ(profile.ReadString("B", "k"), "in B");
    EXPECT_EQ(profile.ReadString("C", "k"), "in unterminated header");
}

TEST(quarnelapps_ProfileFileRead, ValuesAreTrimmedUnquotedOnceAndCut)
{
    const auto profile = TProfileFile::Parse("[S]\n"
                                             " \tspaced \t=\t  some value \t\n"
                                             "dq=\"  padded  \"\n"
                                             "sq='x'\n"
                                             "twice=\"\"inner\"\"\n"
                                             "mixed=\"x'\n"
                                             "lone=\"\n"
                                             "empty=\n"
                                             "eq=a=b\n"
                                             "no equals sign here\n"
                                             "long=" +
                                             std::string(3000, 'v') + "\n" + "quotedlong=\"" +
                                             std::string(2046, 'q') + "\"\n");
    EXPECT_EQ(profile.ReadString("S", "spaced"), "some value");
    EXPECT_EQ(profile.ReadString("S", "dq"), "  padded  ");
    EXPECT_EQ(profile.ReadString("S", "sq"), "x");
    EXPECT_EQ(profile.ReadString("S", "twice"), "\"inner\"");
    EXPECT_EQ(profile.ReadString("S", "mixed"), "\"x'");
    EXPECT_EQ(profile.ReadString("S", "lone"), "\"");
    EXPECT_EQ(profile.ReadString("S", "empty"), "");
    EXPECT_EQ(profile.ReadString("S", "eq"), "a=b");
    EXPECT_EQ(profile.ReadString("S", "no equals sign here"), std::nullopt);
    EXPECT_EQ(profile.ReadString("S", "long"), std::string(2047, 'v'));
    // The cut applies after the quotes are gone.
    EXPECT_EQ(profile.ReadString("S", "quotedlong"), std::string(2046, 'q'));
}

TEST(quarnelapps_ProfileFileBytes, UnchangedInputRoundTripsExactly)
{
    const std::string inputs[] = {
        "",
        "\n",
        "\r",
        "\r\n",
        "\r\r\n\n\r",
        "no terminator",
        "[A]\r\nk=v",
        "; comment\n[Other App]\r\nx = 1\rjunk line\n\n   \n[A]\nk=v\r\n",
        "\0[A]\0\n\0k=\0v\r\0\n"s,
        "\xFF\xFE[\x80]\r\r\r\n\t\n\x1A"s,
    };
    for (const std::string& input : inputs) {
        EXPECT_EQ(TProfileFile::Parse(input).ToBytes(), input);
    }
    std::string every;
    for (int i = 0; i < 4; ++i) {
        for (int c = 0; c < 256; ++c) {
            every += static_cast<char>(c);
        }
    }
    EXPECT_EQ(TProfileFile::Parse(every).ToBytes(), every);
}

TEST(quarnelapps_ProfileFileWrite, ReplacesTheFirstMatchingKeyInPlace)
{
    EXPECT_EQ(Written("[Other]\nLeft=1\n[A]\n; note\nleft = 5\nLEFT=6\nTop=7\n[a]\nLeft=8\n", "a",
                      "Left", "9"),
              "[Other]\nLeft=1\n[A]\n; note\nLeft=9\r\nLEFT=6\nTop=7\n[a]\nLeft=8\n");
    // The last line had no terminator; as a changed line it gets one.
    EXPECT_EQ(Written("[A]\nk=1", "A", "k", "2"), "[A]\nk=2\r\n");
    // Writing what is already there changes nothing, not even the terminator.
    EXPECT_EQ(Written("[A]\nk=1\n", "A", "k", "1"), "[A]\nk=1\n");
}

TEST(quarnelapps_ProfileFileWrite, NewKeyGoesAtTheEndOfItsSection)
{
    EXPECT_EQ(Written("[A]\nx=1\n\n  \n[B]\ny=2\n", "A", "k", "v"),
              "[A]\nx=1\nk=v\r\n\n  \n[B]\ny=2\n");
    EXPECT_EQ(Written("[A]\n\n[B]\n", "a", "k", "v"), "[A]\nk=v\r\n\n[B]\n");
    // Lines that are not keys still belong to the section.
    EXPECT_EQ(Written("[A]\nx=1\njunk\n[B]\n", "A", "k", "v"), "[A]\nx=1\njunk\nk=v\r\n[B]\n");
    // Only the first of two equally named sections receives the key.
    EXPECT_EQ(Written("[A]\nx=1\n[A]\nk=old\n", "A", "k", "v"), "[A]\nx=1\nk=v\r\n[A]\nk=old\n");
    EXPECT_EQ(Written("[A]\nx=1", "A", "k", "v"), "[A]\nx=1\r\nk=v\r\n");
    EXPECT_EQ(Written("[B]\n[A]", "A", "k", "v"), "[B]\n[A]\r\nk=v\r\n");
}

TEST(quarnelapps_ProfileFileWrite, MissingSectionIsAppendedAtTheEnd)
{
    EXPECT_EQ(Written("", "Quarnel Settings", "AccCode", "38"),
              "[Quarnel Settings]\r\nAccCode=38\r\n");
    EXPECT_EQ(Written("[B]\ny=2\n", "A", "k", "v"), "[B]\ny=2\n[A]\r\nk=v\r\n");
    EXPECT_EQ(Written("[B]\ny=2", "A", "k", "v"), "[B]\ny=2\r\n[A]\r\nk=v\r\n");
    EXPECT_EQ(Written("[B]\ny=2\r", "A", "k", "v"), "[B]\ny=2\r[A]\r\nk=v\r\n");
}

TEST(quarnelapps_ProfileFileWrite, WrittenValuesReadBackUnchanged)
{
    const char* const values[] = {"plain", "",   " lead", "trail\t", "\"quoted\"",
                                  "'q'",   "\"", "a=b",   "x\"",     "[not a section]"};
    TProfileFile profile;
    for (const char* value : values) {
        profile.WriteString("S", "k", value);
        EXPECT_EQ(TProfileFile::Parse(profile.ToBytes()).ReadString("S", "k"), value);
    }
}

TEST(quarnelapps_ProfileFileWrite, RefusesTextThatWouldChangeTheFileStructure)
{
    const std::string original = "[Other]\nx=1\n";
    TProfileFile profile = TProfileFile::Parse(original);
    EXPECT_THROW(profile.WriteString("A", "k", "v\r\n[Other]\r\nx=2"), std::invalid_argument);
    EXPECT_THROW(profile.WriteString("A", "k", "v\rw"), std::invalid_argument);
    EXPECT_THROW(profile.WriteString("A\n", "k", "v"), std::invalid_argument);
    EXPECT_THROW(profile.WriteString("A", "k\n", "v"), std::invalid_argument);
    EXPECT_THROW(profile.WriteString("A]B", "k", "v"), std::invalid_argument);
    EXPECT_THROW(profile.WriteString("A", "k=j", "v"), std::invalid_argument);
    EXPECT_EQ(profile.ToBytes(), original);
}

TEST(quarnelapps_ProfileFileErase, RemovesHeaderAndLinesUpToTheNextSection)
{
    const std::string other = "; keep me\r\n[Other]\nx=1\r";
    EXPECT_EQ(Erased(other + "[a]\nk=1\njunk\n\n[B]\ny=2", "A"), other + "[B]\ny=2");
    EXPECT_EQ(Erased(other + "[A]\nk=1", "a"), other);
    EXPECT_EQ(Erased(other + "[A]\nk=1\n[A]\nk=2\n", "A"), other + "[A]\nk=2\n");
    EXPECT_EQ(Erased(other, "Missing"), other);

    TProfileFile profile = TProfileFile::Parse(other + "[A]\nk=1\n");
    profile.EraseSection("A");
    EXPECT_EQ(profile.ReadString("A", "k"), std::nullopt);
    EXPECT_EQ(profile.ReadString("Other", "x"), "1");
    // Erase then write moves the section to the end, written afresh.
    profile.WriteString("A", "k", "2");
    EXPECT_EQ(profile.ToBytes(), other + "[A]\r\nk=2\r\n");
}
