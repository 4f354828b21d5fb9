// Writing captions back: text edits become byte edits in the caption's own encoding, and no
// other byte of the file moves.
#include "CaptionFile.h"

#include "ResourceScript.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string DataFile(const std::string& name)
{
    return std::string(QUARNEL_FORMATS_DATA) + '/' + name;
}

TEST(CaptionTextEdits, OneEditBetweenTheCommonStartAndEnd)
{
    EXPECT_EQ(TextEditsBetween("Open", "Open"), std::vector<RTextEdit>{});
    EXPECT_EQ(TextEditsBetween("Open", "&Open"), (std::vector<RTextEdit>{{0, 0, "&"}}));
    EXPECT_EQ(TextEditsBetween("&File", "F&ile"), (std::vector<RTextEdit>{{0, 2, "F&"}}));
    EXPECT_EQ(TextEditsBetween("E&xit", "Exit"), (std::vector<RTextEdit>{{1, 1, ""}}));
    EXPECT_EQ(TextEditsBetween("ファイル...", "ファイル(&F)..."),
              (std::vector<RTextEdit>{{12, 0, "(&F)"}}));
    // Ж and З share their first byte: the edit takes whole characters.
    EXPECT_EQ(TextEditsBetween("аЖб", "аЗб"), (std::vector<RTextEdit>{{2, 2, "З"}}));
    EXPECT_EQ(TextEditsBetween("Ж", "ЖЗ"), (std::vector<RTextEdit>{{2, 0, "З"}}));
}

class TBracketEncoder : public ICaptionEncoder
{
public:
    std::string Encode(const RFileCaption&, std::string_view text) const override
    {
        return '<' + std::string(text) + '>';
    }
};

TEST(CaptionByteEdits, FollowThePlacesOfTheText)
{
    // "a" written as \x61, then "b" and "c" as they are: source \x61bc".
    RFileCaption caption;
    caption.Text = "abc";
    caption.Places = {{10, 1, 5}, {14, 1, 9}, {15, 1, 10}, {16, 1, 11}};
    const TBracketEncoder encoder;
    EXPECT_EQ(ToByteEdits(caption, {{0, 0, "&"}, {1, 1, ""}, {3, 0, "!"}}, encoder),
              (std::vector<RByteEdit>{{10, 0, "<&>"}, {14, 1, "<>"}, {16, 0, "<!>"}}));
    EXPECT_THROW(ToByteEdits(caption, {{2, 2, ""}}, encoder), std::invalid_argument);
}

TEST(CaptionByteEdits, ApplyInAnyOrderAndRefuseOverlaps)
{
    EXPECT_EQ(ApplyByteEdits("0123456789", {{8, 1, "x"}, {0, 0, "<"}, {3, 2, ""}, {10, 0, ">"}}),
              "<012567x9>");
    // Two insertions at one offset keep their order.
    EXPECT_EQ(ApplyByteEdits("ab", {{1, 0, "1"}, {1, 0, "2"}}), "a12b");
    EXPECT_EQ(ApplyByteEdits("ab", {}), "ab");
    EXPECT_THROW(ApplyByteEdits("0123", {{0, 3, ""}, {2, 0, "x"}}), std::invalid_argument);
    EXPECT_THROW(ApplyByteEdits("0123", {{3, 2, ""}}), std::invalid_argument);
    EXPECT_THROW(ApplyByteEdits("0123", {{5, 0, "x"}}), std::invalid_argument);
}

// The edits that give one caption of a file its new text, made on the file.
std::string Edited(const std::string& bytes, const RFileCaption& caption, const std::string& text)
{
    return ApplyByteEdits(
        bytes, ToByteEdits(caption, TextEditsBetween(caption.Text, text), TResourceScriptFormat()));
}

TEST(ResourceScriptWriter, WritesInTheEncodingOfTheCaption)
{
    const std::string utf16 = ReadBytes(DataFile("options_ja.utf16.rc"));
    RCaptionFile file = ReadResourceScript(utf16, "ja");
    const RFileCaption& quit = file.Scopes[1].Captions[2]; // 終了
    std::string expected = utf16;
    expected.insert(quit.Places.back().Offset, std::string("(\0&\0Q\0)\0", 8));
    EXPECT_EQ(Edited(utf16, quit, "終了(&Q)"), expected);

    const std::string cp = ReadBytes(DataFile("menus_bg_el.cp1251.rc"));
    file = ReadResourceScript(cp, "cp");
    const RFileCaption& newItem = file.Scopes[1].Captions[0]; // &Нов
    expected = cp;
    expected.replace(newItem.Places[0].Offset, 2, "\xCD&");
    EXPECT_EQ(Edited(cp, newItem, "Н&ов"), expected);
    // A Greek letter goes into the Greek part in code page 1253.
    const RFileCaption& greek = file.Scopes[4].Captions[0]; // &Νέο
    expected = cp;
    expected.insert(greek.Places.back().Offset, "(\xCD)");
    EXPECT_EQ(Edited(cp, greek, "&Νέο(Ν)"), expected);
    // Code page 1251 has no Greek letters: nothing is written rather than something wrong.
    EXPECT_THROW(Edited(cp, newItem, "&Нов(Ν)"), std::runtime_error);
}

TEST(ResourceScriptWriter, EscapesWhatTheLiteralNeeds)
{
    const std::string bytes = "1 MENU BEGIN MENUITEM \"a\\x26b\", 1 END";
    const RFileCaption caption = ReadResourceScript(bytes, "t").Scopes[0].Captions[0];
    ASSERT_EQ(caption.Text, "a&b");
    EXPECT_EQ(Edited(bytes, caption, "\"a\\b\t"), "1 MENU BEGIN MENUITEM \"\"\"a\\\\b\\t\", 1 END");
    // Removing the marker that an escape spelled removes the whole escape.
    EXPECT_EQ(Edited(bytes, caption, "ab"), "1 MENU BEGIN MENUITEM \"ab\", 1 END");
}

TEST(ResourceScriptWriter, RewritesOnlyWhatReadsBackAsWritten)
{
    const TResourceScriptFormat format;
    const std::string bytes = "1 MENU BEGIN MENUITEM \"&Open\", 1 MENUITEM \"\\x4&1\", 2 END";
    const RCaptionFile file = format.Read(bytes, "t.rc");
    // A marker moved as two edits: the letters between keep their bytes.
    EXPECT_EQ(RewriteCaptions(bytes, "t.rc", file, {{0, 0, {{0, 1, ""}, {3, 0, "&"}}}}, format),
              "1 MENU BEGIN MENUITEM \"Op&en\", 1 MENUITEM \"\\x4&1\", 2 END");
    EXPECT_EQ(RewriteCaptions(bytes, "t.rc", file, {}, format), bytes);
    // Without the marker, \x4 and 1 would join into one escape, "A".
    EXPECT_THROW(RewriteCaptions(bytes, "t.rc", file, {{0, 1, {{1, 1, ""}}}}, format),
                 EFormatError);
}

// Every caption of every file marked at its first character: the file reads back with the
// same scopes and captions holding exactly the new texts.
TEST(ResourceScriptWriter, EditedFilesReadBackWithTheSameScopes)
{
    for (const char* name :
         {"editor_en.rc", "editor_ru.rc", "options_ja.utf16.rc", "menus_bg_el.cp1251.rc"}) {
        const std::string bytes = ReadBytes(DataFile(name));
        const RCaptionFile before = ReadResourceScript(bytes, name);
        std::vector<RByteEdit> edits;
        std::vector<std::vector<std::string>> expected;
        for (const RCaptionScope& scope : before.Scopes) {
            expected.emplace_back();
            for (const RFileCaption& caption : scope.Captions) {
                std::string text = caption.Text;
                if (caption.CanCarryKey) {
                    std::erase(text, '&');
                    text.insert(0, "&");
                }
                expected.back().push_back(text);
                for (RByteEdit& edit : ToByteEdits(caption, TextEditsBetween(caption.Text, text),
                                                   TResourceScriptFormat()))
                    edits.push_back(std::move(edit));
            }
        }
        const RCaptionFile after = ReadResourceScript(ApplyByteEdits(bytes, edits), name);
        ASSERT_EQ(after.Scopes.size(), before.Scopes.size()) << name;
        for (std::size_t s = 0; s < after.Scopes.size(); ++s) {
            std::vector<std::string> texts;
            for (const RFileCaption& caption : after.Scopes[s].Captions)
                texts.push_back(caption.Text);
            EXPECT_EQ(texts, expected[s]) << name << ' ' << after.Scopes[s].Name;
        }
    }
}

} // namespace

TEST(XmlCharacterReference, NamesACharacterOrNothing)
{
    EXPECT_EQ(XmlCharacterReference("#38"), U'&');
    EXPECT_EQ(XmlCharacterReference("#x26"), U'&');
    EXPECT_EQ(XmlCharacterReference("#x1F600"), U'\U0001F600');
    EXPECT_EQ(XmlCharacterReference("#x0000000041"), U'A'); // leading zeros are allowed
    for (const char* bad :
         {"#", "#x", "#x1G", "#12a", "amp", "#xD800", "#x110000", "#99999999999999999999"})
        EXPECT_EQ(XmlCharacterReference(bad), std::nullopt) << bad;
}
