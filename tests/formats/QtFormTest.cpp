// Reading Designer forms: which captions in which scopes, where each byte comes from, and
// writing a moved marker back without touching any other byte.
#include "QtForm.h"

#include "ScopeDump.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string EditorForm()
{
    return ReadBytes(std::string(QUARNEL_FORMATS_DATA) + "/editor.ui");
}

std::string WithCrlf(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// The text with the first `from` replaced by `to`, asserting that there is one.
std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

const RFileCaption& CaptionNamed(const RCaptionFile& file, const std::string& text)
{
    for (const RCaptionScope& scope : file.Scopes)
        for (const RFileCaption& caption : scope.Captions)
            if (caption.Text == text)
                return caption;
    throw std::runtime_error("no caption " + text);
}

RCaptionEdit EditOf(const RCaptionFile& file, const std::string& text, std::vector<RTextEdit> edits)
{
    for (std::size_t s = 0; s < file.Scopes.size(); ++s)
        for (std::size_t c = 0; c < file.Scopes[s].Captions.size(); ++c)
            if (file.Scopes[s].Captions[c].Text == text)
                return {s, c, std::move(edits)};
    throw std::runtime_error("no caption " + text);
}

const char* const EditorScopes =
    "form EditorWindow: [&Find:] [Press &Enter to search]- [&General]? [F&onts]? [&Options]?\n"
    "page tabs > \"&General\": [&Wrap lines]?\n"
    "page tabs > \"F&onts\": [&Choose...]? [Fish && &Chips]?\n"
    "menu bar menubar: [&File] [&Edit]\n"
    "menu menubar > \"&File\": [&Open...] [&Recent files] [&Quit]\n"
    "menu menubar > \"&File\" > \"&Recent files\": [&Clear]\n"
    "menu menubar > \"&Edit\": [Cu&t] [&Copy] [&Paste]\n";

TEST(QtFormReader, FindsMenusControlsAndPagesInTheirScopes)
{
    const RQtForm form = ReadQtForm(EditorForm(), "editor.ui");
    EXPECT_EQ(form.ClassName, "EditorWindow");
    EXPECT_EQ(DumpScopes(form.File), EditorScopes);
    // Each page must also avoid the keys of the form around it; menus stand alone.
    EXPECT_EQ(form.File.Scopes[1].Enclosing, std::vector<std::size_t>{0});
    EXPECT_EQ(form.File.Scopes[2].Enclosing, std::vector<std::size_t>{0});
    EXPECT_TRUE(form.File.Scopes[0].Enclosing.empty());
    EXPECT_TRUE(form.File.Scopes[5].Enclosing.empty());

    ASSERT_EQ(form.File.Notes.size(), 1u);
    EXPECT_EQ(form.File.Notes[0].Message,
              "label hintLabel has no buddy, so its marker shows as it stands");
    EXPECT_EQ(form.File.Notes[0].Place.Line, 26u);
}

TEST(QtFormReader, PlacesNameTheBytesOfEachCaptionWhateverItsSpelling)
{
    for (const std::string& bytes : {EditorForm(), WithCrlf(EditorForm())}) {
        const RQtForm form = ReadQtForm(bytes, "editor.ui");
        EXPECT_EQ(DumpScopes(form.File), EditorScopes);
        for (const RCaptionScope& scope : form.File.Scopes)
            ExpectPlacesMatchUtf8Source(bytes, scope);

        const RFileCaption& cut = CaptionNamed(form.File, "Cu&t");
        EXPECT_EQ(bytes.substr(cut.Places[2].Offset, 5), "&amp;");
        EXPECT_EQ(cut.Places[3].Offset, cut.Places[2].Offset + 5);
        EXPECT_EQ(bytes.substr(cut.Places.back().Offset, 9), "</string>");

        // A character reference, and a comment inside the text.
        const RFileCaption& options = CaptionNamed(form.File, "&Options");
        EXPECT_EQ(bytes.substr(options.Places[0].Offset, 5), "&#38;");
        EXPECT_EQ(bytes.substr(options.Places[3].Offset, 28), "t<!-- ions, not options -->i");
        EXPECT_EQ(options.Places[4].Offset, options.Places[3].Offset + 27);

        // Inside CDATA the marker is raw, and the end lies inside the section.
        const RFileCaption& choose = CaptionNamed(form.File, "&Choose...");
        EXPECT_EQ(choose.EncodingTag, static_cast<std::uint32_t>(TXmlSpelling::Cdata));
        EXPECT_EQ(bytes.substr(choose.Places[0].Offset, 2), "&C");
        EXPECT_EQ(bytes.substr(choose.Places.back().Offset, 3), "]]>");
    }
}

TEST(QtFormReader, CountsCharactersOutsideTheBmpAndPassesOverWhatCarriesNoKey)
{
    const std::string bytes = "<ui version=\"4.0\"><widget class=\"QDialog\" name=\"Smiles\">\n"
                              "<property name=\"windowTitle\"><string>\xF0\x9F\x98\x80</string>"
                              "</property><widget class=\"QPushButton\" name=\"a\">"
                              "<property name=\"text\"><string>\xF0\x9F\x98\x80 &amp;Smile"
                              "</string></property></widget>"
                              "<widget class=\"QLabel\" name=\"b\"><property name=\"text\">"
                              "<string>&amp;Name</string></property><property name=\"buddy\">"
                              "<cstring></cstring></property></widget>"
                              "<widget class=\"QLineEdit\" name=\"c\"><property name=\"text\">"
                              "<string>&amp;Typed</string></property></widget>"
                              "<widget class=\"QToolButton\" name=\"d\"><property name=\"text\">"
                              "<string></string></property></widget></widget></ui>";
    const RQtForm form = ReadQtForm(bytes, "smiles.ui");
    EXPECT_EQ(DumpScopes(form.File), "form Smiles: [\xF0\x9F\x98\x80 &Smile]? [&Name]-\n");
    ExpectPlacesMatchUtf8Source(bytes, form.File.Scopes[0]);
    // The reader counts the emoji as two code units, an editor as one column.
    EXPECT_EQ(form.File.Scopes[0].Captions[0].Start().Column, 126u);
}

TEST(QtFormWriter, ChangesOnlyTheBytesOfTheMovedMarkers)
{
    const TQtFormFormat format;
    for (const bool crlf : {false, true}) {
        const std::string bytes = crlf ? WithCrlf(EditorForm()) : EditorForm();
        const RCaptionFile file = format.Read(bytes, "editor.ui");
        const std::vector<RCaptionEdit> edits = {
            EditOf(file, "Cu&t", {{0, 0, "&"}, {2, 1, ""}}),
            EditOf(file, "&Options", {{0, 1, ""}, {2, 0, "&"}}),
            EditOf(file, "&Choose...", {{0, 1, ""}, {2, 0, "&"}}),
            EditOf(file, "&Wrap lines", {{11, 0, " (&2)"}}),
        };
        std::string expected = Replaced(bytes, "Cu&amp;t", "&amp;Cut");
        expected = Replaced(expected, "&#38;Opt", "O&amp;pt");
        expected = Replaced(expected, "&Choose...", "C&hoose...");
        expected = Replaced(expected, "&amp;Wrap lines<", "&amp;Wrap lines (&amp;2)<");
        EXPECT_EQ(RewriteCaptions(bytes, "editor.ui", file, edits, format), expected);
        EXPECT_EQ(RewriteCaptions(bytes, "editor.ui", file, {}, format), bytes);
    }
}

TEST(QtFormWriter, InsertsAtTheEndOfACdataStringInsideTheSection)
{
    const std::string bytes =
        "<ui><widget class=\"QDialog\" name=\"d\"><widget class=\"QCheckBox\" "
        "name=\"c\"><property name=\"text\"><string><![CDATA[Keep <b>]]>"
        "</string></property></widget></widget></ui>";
    const TQtFormFormat format;
    const RCaptionFile file = format.Read(bytes, "cdata.ui");
    ASSERT_EQ(DumpScopes(file), "form d: [Keep <b>]?\n");
    EXPECT_EQ(RewriteCaptions(bytes, "cdata.ui", file, {{0, 0, {{8, 0, "(&K)"}}}}, format),
              Replaced(bytes, "<b>]]>", "<b>(&K)]]>"));
}

TEST(QtFormWriter, LeavesStringsMixingCdataWithTextToTheUser)
{
    const std::string bytes =
        "<ui><widget class=\"QDialog\" name=\"d\"><widget class=\"QCheckBox\" "
        "name=\"c\"><property name=\"text\"><string>&amp;Keep<![CDATA[ <b>]]>"
        "</string></property></widget></widget></ui>";
    const TQtFormFormat format;
    const RCaptionFile file = format.Read(bytes, "mixed.ui");
    ASSERT_EQ(DumpScopes(file), "form d: [&Keep <b>]?\n");
    EXPECT_THROW(RewriteCaptions(bytes, "mixed.ui", file, {{0, 0, {{1, 0, "&"}}}}, format),
                 EFormatError);
}

TEST(QtFormReader, NamesTheLineAndColumnOfMalformedXmlInQtsWords)
{
    const std::string good = EditorForm();
    const std::string broken = Replaced(good, "</action>\n  <!--", "</actio>\n  <!--");
    try {
        ReadQtForm(broken, "editor.ui");
        FAIL() << "no error";
    } catch (const EFormatError& error) {
        EXPECT_STREQ(error.what(), "editor.ui:126:10: Opening and ending tag mismatch.");
    }
    try {
        ReadQtForm(good.substr(0, good.size() / 2), "half.ui");
        FAIL() << "no error";
    } catch (const EFormatError& error) {
        EXPECT_TRUE(std::string(error.what()).starts_with("half.ui:")) << error.what();
        EXPECT_TRUE(std::string(error.what()).ends_with(": Premature end of document."))
            << error.what();
    }
    EXPECT_THROW(ReadQtForm("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ui/>", "l1.ui"),
                 EFormatError);
    EXPECT_THROW(ReadQtForm(std::string("\xFF\xFE<\0u\0i\0/\0>\0", 12), "u16.ui"), EFormatError);
    EXPECT_THROW(ReadQtForm("<ui><widget>\xC3(</widget></ui>", "bad.ui"), EFormatError);
}

TEST(QtFormReader, PassesOverStringsSpeltWithEntitiesOfTheirOwn)
{
    const std::string bytes = "<!DOCTYPE ui [<!ENTITY app \"Edit&amp;or\">]><ui>"
                              "<widget class=\"QDialog\" name=\"d\"><widget class=\"QCheckBox\" "
                              "name=\"c\"><property name=\"text\"><string>&amp;About &app;</string>"
                              "</property></widget></widget></ui>";
    const RQtForm form = ReadQtForm(bytes, "entity.ui");
    EXPECT_EQ(DumpScopes(form.File), "");
    ASSERT_EQ(form.File.Notes.size(), 1u);
    EXPECT_EQ(form.File.Notes[0].Place.Offset, bytes.find("&amp;About"));
}

TEST(QtFormReader, TakesDeepAndWideFormsInStride)
{
    std::string deep = "<ui><widget class=\"QDialog\" name=\"d\">";
    for (int i = 0; i < 30000; ++i)
        deep += "<widget class=\"QFrame\" name=\"f\">";
    deep += "<widget class=\"QCheckBox\" name=\"c\"><property name=\"text\"><string>&amp;Deep"
            "</string></property></widget>";
    for (int i = 0; i < 30000; ++i)
        deep += "</widget>";
    deep += "</widget></ui>";
    EXPECT_EQ(DumpScopes(ReadQtForm(deep, "deep.ui").File), "form d: [&Deep]?\n");

    // Tab widgets inside tab pages, each page a scope inside every one around it.
    std::string tabs = "<ui><widget class=\"QDialog\" name=\"d\">";
    for (int i = 0; i < 2000; ++i)
        tabs += "<widget class=\"QTabWidget\" name=\"t\"><widget class=\"QWidget\" name=\"p\">"
                "<widget class=\"QCheckBox\" name=\"c\"><property name=\"text\"><string>&amp;Tab"
                "</string></property></widget>";
    for (int i = 0; i < 2000; ++i)
        tabs += "</widget></widget>";
    tabs += "</widget></ui>";
    const RQtForm nested = ReadQtForm(tabs, "tabs.ui");
    ASSERT_EQ(nested.File.Scopes.size(), 16u);
    EXPECT_EQ(nested.File.Scopes.back().Captions.size(), 2000u - 15u);
    EXPECT_EQ(nested.File.Scopes.back().Enclosing,
              (std::vector<std::size_t>{14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
}

} // namespace
