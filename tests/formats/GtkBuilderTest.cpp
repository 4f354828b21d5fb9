// Reading GtkBuilder files: which captions in which scopes, where each byte of a caption comes
// from, what a catalogue needs to find its translation, and rewriting only the markers moved.
#include "GtkBuilder.h"

#include "ScopeDump.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string GtkData(const std::string& name)
{
    return ReadBytes(std::string(QUARNEL_FORMATS_DATA) + "/gtk/" + name);
}

std::string ReadError(const std::string& text)
{
    try {
        ReadGtkBuilder(text, "bad.ui");
    } catch (const EFormatError& error) {
        return error.what();
    }
    return "no error";
}

TEST(GtkBuilderReader, MenuModelsShareOneScopeAcrossSectionsAndWindowsHavePageScopes)
{
    EXPECT_EQ(DumpScopes(ReadGtkBuilder(GtkData("editor.ui"), "editor.ui")),
              "menu \"app-menu\": [_New Window] [_Preferences] [_Export] [_Recent] [_Quit]\n"
              "menu \"app-menu\" > \"_Export\": [_PDF] [P_NG image]\n"
              "menu \"app-menu\" > \"_Recent\": [_Clear List]\n"
              "template \"EditorWindow\": [_Text] [_Search & Replace] [File_name unknown]- "
              "[_Debug]\n"
              "template \"EditorWindow\" > \"_Text\": [_Wrap lines] [Show __init__ _files]\n"
              "template \"EditorWindow\" > \"_Search & Replace\": [_Find]\n");
}

TEST(GtkBuilderReader, Gtk3MenuWidgetsAndANotebookWithTabsInTheDialogScope)
{
    const RCaptionFile file = ReadGtkBuilder(GtkData("prefs.ui"), "prefs.ui");
    EXPECT_EQ(DumpScopes(file),
              "menu \"menubar\": [_File] [_Help]\n"
              "menu \"menubar\" > \"_File\": [_Open…] [_Offline]\n"
              "dialog \"prefs_dialog\" > \"_General\": [_Name:] [_Small] [_Large]\n"
              "dialog \"prefs_dialog\": [_General] [_Network] [_Close]\n"
              "dialog \"prefs_dialog\" > \"_Network\": [_Details] [Proxy]- "
              "[Use a _proxy]\n");
    ASSERT_EQ(file.Scopes.size(), 5u);
    EXPECT_TRUE(file.Scopes[0].Enclosing.empty());
    EXPECT_TRUE(file.Scopes[1].Enclosing.empty());
    EXPECT_EQ(file.Scopes[2].Enclosing, std::vector<std::size_t>{3});
    EXPECT_TRUE(file.Scopes[3].Enclosing.empty());
    EXPECT_EQ(file.Scopes[4].Enclosing, std::vector<std::size_t>{3});
}

TEST(GtkBuilderReader, StringsCarryContextTranslatabilityAndLine)
{
    const RGtkBuilderFile editor = ReadGtkBuilderStrings(GtkData("editor.ui"), "editor.ui");
    ASSERT_EQ(editor.Strings.size(), editor.File.Scopes.size());
    const RBuilderString& png = editor.Strings[1][1];
    EXPECT_EQ(png.Context, "format");
    EXPECT_TRUE(png.Translatable);
    EXPECT_EQ(png.Line, 23u);
    const RBuilderString& debug = editor.Strings[3][3];
    EXPECT_FALSE(debug.Translatable);
    EXPECT_EQ(debug.Context, "");
    EXPECT_EQ(editor.Strings[0][0].Line, 7u);
}

TEST(GtkBuilderReader, PlacesPointAtEveryByteThroughEntitiesCdataBomAndCrLf)
{
    for (const char* name : {"editor.ui", "prefs.ui"}) {
        const std::string bytes = GtkData(name);
        const RCaptionFile file = ReadGtkBuilder(bytes, name);
        for (const RCaptionScope& scope : file.Scopes)
            ExpectPlacesMatchUtf8Source(bytes, scope);
    }

    const std::string bytes = GtkData("prefs_ru.ui");
    const RCaptionFile file = ReadGtkBuilder(bytes, "prefs_ru.ui");
    // The captions taken as they are; the one with references is checked below.
    RCaptionScope plain = file.Scopes.at(0);
    plain.Captions.erase(plain.Captions.begin() + 1);
    ExpectPlacesMatchUtf8Source(bytes, plain);
    EXPECT_EQ(DumpScopes(file),
              "window \"окно\": [_Открыть] [Сохранить <всё> как _…] [𝔸 _Жирный]\n");
    const RFileCaption& save = file.Scopes[0].Captions[1];
    const std::size_t reference = bytes.find("&#x445;");
    // "х" came from a character reference: both of its bytes stand at the reference.
    EXPECT_EQ(save.Places[4].Offset, reference);
    EXPECT_EQ(save.Places[5].Offset, reference);
    EXPECT_EQ(save.Places[6].Offset, reference + 7);
    const std::size_t less = save.Text.find('<');
    EXPECT_EQ(save.Places[less].Offset, bytes.find("&lt;"));
    const std::size_t marker = save.Text.find('_');
    EXPECT_EQ(save.Places[marker].Offset, bytes.find("_…]]>"));
    EXPECT_EQ(save.Places.back().Offset, bytes.find("</property>", reference));
    EXPECT_EQ(save.Start().Line, 14u);
    EXPECT_EQ(save.Start().Column, 36u);
    // Outside the BMP: one character, one column.
    const RFileCaption& bold = file.Scopes[0].Captions[2];
    EXPECT_EQ(bold.Places[5].Column, bold.Start().Column + 2);
}

TEST(GtkBuilderReader, LabelsWithoutUnderlineOrWithMarkupCarryNoKeyAndStockItemsAreNoCaptions)
{
    const RCaptionFile file = ReadGtkBuilder(
        "<interface><object class=\"GtkWindow\"><child><object class=\"GtkBox\">"
        "<child><object class=\"GtkLabel\"><property name=\"label\">_Plain</property></object>"
        "</child>"
        "<child><object class=\"GtkLabel\"><property name=\"mnemonic-widget\">e</property>"
        "<property name=\"label\">_Mnemonic</property></object></child>"
        "<child><object class=\"GtkButton\"><property name=\"label\">_Off</property>"
        "<property name=\"use-underline\">False</property></object></child>"
        "<child><object class=\"GtkButton\"><property name=\"label\">gtk-ok</property>"
        "<property name=\"use-stock\">True</property><property name=\"use-underline\">True"
        "</property></object></child>"
        "<child><object class=\"GtkButton\"><property name=\"label\"/></object></child>"
        "<child><object class=\"GtkLabel\"><property name=\"label\">&lt;b&gt;_Bold&lt;/b&gt;"
        "</property><property name=\"use-markup\">1</property>"
        "<property name=\"use-underline\">1</property></object></child>"
        "</object></child></object></interface>",
        "w.ui");
    EXPECT_EQ(DumpScopes(file), "window: [_Plain]- [_Mnemonic] [_Off]- [<b>_Bold</b>]-\n");
}

TEST(GtkBuilderReader, NestedNotebookPagesAvoidEveryScopeAroundThem)
{
    const RCaptionFile file = ReadGtkBuilder(
        "<interface><object class=\"GtkDialog\" id=\"d\">"
        "<child><object class=\"GtkNotebook\">"
        "<child><object class=\"GtkNotebook\">"
        "<child><object class=\"GtkButton\"><property name=\"label\">_Inner</property>"
        "<property name=\"use-underline\">1</property></object></child>"
        "<child type=\"tab\"><object class=\"GtkLabel\"><property name=\"label\">_B</property>"
        "<property name=\"use-underline\">1</property></object></child>"
        "</object></child>"
        "<child type=\"tab\"><object class=\"GtkLabel\"><property name=\"label\">_A</property>"
        "<property name=\"use-underline\">1</property></object></child>"
        "</object></child></object></interface>",
        "n.ui");
    EXPECT_EQ(DumpScopes(file), "dialog \"d\" > \"_A\" > \"_B\": [_Inner]\n"
                                "dialog \"d\" > \"_A\": [_B]\n"
                                "dialog \"d\": [_A]\n");
    EXPECT_EQ(file.Scopes[0].Enclosing, (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(file.Scopes[1].Enclosing, std::vector<std::size_t>{2});
}

TEST(GtkBuilderReader, BadFilesNameTheFileAndTheLine)
{
    EXPECT_EQ(ReadError("<interface>\n<object class=\"GtkWindow\">\n</interface>\n"),
              "bad.ui:3: Opening and ending tag mismatch.");
    EXPECT_EQ(ReadError("<?xml version=\"1.0\"?>\n<ui version=\"4.0\"/>\n"),
              "bad.ui:2: the root element is <ui>, not <interface>: not a GtkBuilder file");
    EXPECT_EQ(ReadError("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<interface/>\n"),
              "bad.ui:1: the file declares the encoding ISO-8859-1; GtkBuilder files are UTF-8");
    EXPECT_EQ(ReadError("<interface>\n<!-- caf\xE9 -->\n</interface>\n"),
              "bad.ui:2: not valid UTF-8");
    EXPECT_EQ(ReadError(""), "bad.ui:1: Premature end of document.");
    std::string deep = "<interface>\n<menu>";
    for (int i = 0; i < 300; ++i)
        deep += "<section>";
    EXPECT_EQ(ReadError(deep), "bad.ui:2: elements nested too deeply");
}

TEST(GtkBuilderReader, TellsBuilderFilesFromDesignerFiles)
{
    EXPECT_TRUE(IsGtkBuilderFile(GtkData("prefs.ui")));
    EXPECT_TRUE(IsGtkBuilderFile("<?xml version=\"1.0\"?><!-- x --><interface/>"));
    EXPECT_FALSE(IsGtkBuilderFile("<?xml version=\"1.0\"?>\n<ui version=\"4.0\"></ui>"));
    EXPECT_FALSE(IsGtkBuilderFile("not xml"));
}

TEST(GtkBuilderWriter, MovesOnlyTheMarkerBytes)
{
    const std::string bytes = GtkData("editor.ui");
    const TGtkBuilderFormat format;
    const RCaptionFile file = format.Read(bytes, "editor.ui");
    // "_Export" becomes "E_xport"; "_Search & Replace" becomes "Search & _Replace", across
    // the entity.
    const std::vector<RCaptionEdit> edits{
        {0, 2, TextEditsBetween("_Export", "E_xport")},
        {3, 1, TextEditsBetween("_Search & Replace", "Search & _Replace")}};
    const std::string written = RewriteCaptions(bytes, "editor.ui", file, edits, format);

    std::string expected = bytes;
    expected.replace(expected.find(">_Export<"), 9, ">E_xport<");
    expected.replace(expected.find(">_Search &amp; Replace<"), 23, ">Search &amp; _Replace<");
    EXPECT_EQ(written, expected);
}

TEST(GtkBuilderWriter, EscapesWhatItInserts)
{
    const TGtkBuilderFormat format;
    EXPECT_EQ(format.Encode(RFileCaption{}, "(_&<>)"), "(_&amp;&lt;&gt;)");
}

} // namespace
