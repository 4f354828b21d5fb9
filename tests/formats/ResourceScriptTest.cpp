// Reading resource scripts: which captions in which scopes, where each byte of a caption comes
// from, and the encodings the files come in.
#include "ResourceScript.h"

#include "ScopeDump.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string DataFile(const std::string& name)
{
    return std::string(QUARNEL_FORMATS_DATA) + '/' + name;
}

RCaptionFile ReadData(const std::string& name)
{
    return ReadResourceScript(ReadBytes(DataFile(name)), name);
}

RCaptionFile ReadText(const std::string& text)
{
    return ReadResourceScript(text, "test.rc");
}

TEST(ResourceScriptReader, FindsTheCaptionsOfEveryMenuAndDialog)
{
    EXPECT_EQ(DumpScopes(ReadData("editor_en.rc")),
              "menu IDR_MAINMENU: [&File] [&Edit] [&Help]\n"
              "menu IDR_MAINMENU > \"&File\": [&New] [&Open...] [Save &As...] [Recent &Files] "
              "[E&xit]\n"
              "menu IDR_MAINMENU > \"&File\" > \"Recent &Files\": [(empty)]\n"
              "menu IDR_MAINMENU > \"&Edit\": [&Undo] [Cu&t] [&Copy] [Say \"&Hello\"]\n"
              "menu 128: [Context]\n"
              "menu 128 > \"Context\": [&Refresh] [P&roperties]\n"
              "dialog IDD_PAGESETUP: [Paper]? [&Size:]? [S&ource:]? [&Portrait]? [&Landscape]? "
              "[Print &headers]? [100% & more]- [&Margins in inches]? [Preview]? [OK]? "
              "[Cancel]?\n"
              "dialog IDD_ABOUT: [Editor, version 1.0]? [&Close]?\n");
}

TEST(ResourceScriptReader, PlacesPointAtTheSourceOfEveryByte)
{
    const std::string bytes = ReadBytes(DataFile("editor_en.rc"));
    const RCaptionFile file = ReadResourceScript(bytes, "editor_en.rc");
    for (const RCaptionScope& scope : file.Scopes)
        ExpectPlacesMatchUtf8Source(bytes, scope);

    // Say ""&Hello"": the doubled quote is one byte of text and two of source.
    const RFileCaption& hello = file.Scopes[3].Captions[3];
    const std::size_t quote = bytes.find("Say \"\"&Hello");
    ASSERT_EQ(hello.Places.size(), hello.Text.size() + 1);
    EXPECT_EQ(hello.Places[4].Offset, quote + 4);
    EXPECT_EQ(hello.Places[5].Offset, quote + 6);
    EXPECT_EQ(hello.Places.back().Offset, bytes.find("\"\"\",", quote) + 2);
    EXPECT_EQ(hello.Start().Line, 34u);
    EXPECT_EQ(hello.Start().Column, 19u);

    // A menu caption ends where its shortcut begins.
    const RFileCaption& newFile = file.Scopes[1].Captions[0];
    EXPECT_EQ(newFile.Places.back().Offset, bytes.find("\\tCtrl+N"));
}

TEST(ResourceScriptReader, Utf8WithBomCountsColumnsInCharacters)
{
    const std::string bytes = ReadBytes(DataFile("editor_ru.rc"));
    const RCaptionFile file = ReadResourceScript(bytes, "editor_ru.rc");
    EXPECT_EQ(DumpScopes(file),
              "menu IDR_MAINMENU: [&Файл] [&Правка]\n"
              "menu IDR_MAINMENU > \"&Файл\": [&Создать] [&Открыть...] [&Сохранить как...] "
              "[В&ыход]\n"
              "menu IDR_MAINMENU > \"&Правка\": [Ё&лка !]\n"
              "dialog IDD_FIND: [&Найти:]? [С учётом &регистра]? [Найти &далее]?\n");
    for (const RCaptionScope& scope : file.Scopes)
        ExpectPlacesMatchUtf8Source(bytes, scope);
    // The comment line before it is Cyrillic: columns must not count its bytes.
    const RFileCaption& find = file.Scopes[3].Captions[0];
    EXPECT_EQ(find.Start().Line, 24u);
    EXPECT_EQ(find.Start().Column, 22u);
}

TEST(ResourceScriptReader, Utf16LittleEndianWithSurrogatesAndWideStrings)
{
    const std::string bytes = ReadBytes(DataFile("options_ja.utf16.rc"));
    const RCaptionFile file = ReadResourceScript(bytes, "options_ja.utf16.rc");
    EXPECT_EQ(DumpScopes(file), "menu IDR_MAINMENU: [ファイル(&F)] [編集(&E)]\n"
                                "menu IDR_MAINMENU > \"ファイル(&F)\": [新規作成(&N)] "
                                "[名前を付けて保存(&A)...] [終了]\n"
                                "menu IDR_MAINMENU > \"編集(&E)\": [元に戻す(&U)] [𠮷野家(&Y)]\n"
                                "dialog IDD_OPTIONS: [自動保存(&S)]? [名前:]? [OK]?\n");
    // Every byte of a character points at its first code unit; a surrogate pair is one column.
    const RFileCaption& yoshinoya = file.Scopes[2].Captions[1];
    const std::size_t start = yoshinoya.Places[0].Offset;
    EXPECT_EQ(bytes.substr(start, 4), std::string("\x42\xD8\xB7\xDF", 4));
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(yoshinoya.Places[i].Offset, start);
    EXPECT_EQ(yoshinoya.Places[4].Offset, start + 4);
    EXPECT_EQ(yoshinoya.Places[4].Column, yoshinoya.Places[0].Column + 1);
    EXPECT_EQ(yoshinoya.EncodingTag, 1200u);
    const RFileCaption& undo = file.Scopes[2].Captions[0];
    EXPECT_EQ(undo.Start().Line, 14u);
    EXPECT_EQ(undo.Start().Column, 20u);
}

TEST(ResourceScriptReader, CodePagesChangeWhereTheirPragmaStands)
{
    const std::string bytes = ReadBytes(DataFile("menus_bg_el.cp1251.rc"));
    const RCaptionFile file = ReadResourceScript(bytes, "menus_bg_el.cp1251.rc");
    EXPECT_EQ(DumpScopes(file), "menu IDR_MAINMENU: [&Файл] [&Редактиране]\n"
                                "menu IDR_MAINMENU > \"&Файл\": [&Нов] [&Отваряне...] [Из&ход]\n"
                                "menu IDR_MAINMENU > \"&Редактиране\": [Абв &ю]\n"
                                "menu IDR_MAINMENU: [&Αρχείο]\n"
                                "menu IDR_MAINMENU > \"&Αρχείο\": [&Νέο] [Έ&ξοδος]\n");
    EXPECT_EQ(file.Scopes[0].Captions[0].EncodingTag, 1251u);
    EXPECT_EQ(file.Scopes[4].Captions[1].EncodingTag, 1253u);
    // One byte per letter: "&Файл" has five characters and five bytes of source.
    const RFileCaption& fileMenu = file.Scopes[0].Captions[0];
    EXPECT_EQ(fileMenu.Places.back().Offset - fileMenu.Places.front().Offset, 5u);
    EXPECT_EQ(fileMenu.Places[2].Offset, fileMenu.Places[1].Offset);
    EXPECT_EQ(fileMenu.Places[3].Offset, fileMenu.Places[1].Offset + 1);
}

TEST(ResourceScriptReader, EscapesAndTabs)
{
    const RCaptionFile file =
        ReadText("1 MENU BEGIN MENUITEM \"A\\x42\\103\\\\d\\q\\a\\tShift+\\tX\", 1 END\n"
                 "2 DIALOG 0,0,1,1 BEGIN LTEXT \"Tab\\there\\n\", 1, 0,0,1,1 END\n"
                 "3 MENUEX BEGIN MENUITEM L\"\\x263A\\x4\", 1 MENUITEM \"\\\"&q\", 2 END\n");
    EXPECT_EQ(DumpScopes(file), "menu 1: [ABC\\d\\q\b]\n"
                                "dialog 2: [Tab\there\n]?\n"
                                "menu 3: [☺\x04] [\"&q]\n");
    const RFileCaption& escapes = file.Scopes[0].Captions[0];
    const std::vector<std::size_t> expected = {23, 24, 28, 32, 34, 35, 36, 37, 39};
    ASSERT_EQ(escapes.Places.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(escapes.Places[i].Offset, expected[i]) << i;
}

TEST(ResourceScriptReader, PreprocessorCommentsAndOtherResourcesHideNoCaption)
{
    const RCaptionFile file =
        ReadText("#if 0\n"
                 "  #define X \"a\" \\\n"
                 "    BEGIN \"b\n"
                 "#endif\n"
                 "A ICON a.ico\n"
                 "B MENU { MENUITEM \"&One\", 1 /* MENUITEM \"x\", 2 */ // \"y\n"
                 "  POPUP \"&Two\" { } }\n"
                 "C TOOLBAR 16, 15 BEGIN BUTTON 1 SEPARATOR END\n"
                 "D DIALOGEX 0, 0, 1, 1 MENU B CAPTION \"Title\" { PUSHBUTTON \"&Go\", 1, 0, "
                 "0, 1, 1 }\n"
                 "E DESIGNINFO BEGIN \"x\" END\n"
                 "STRINGTABLE { 1, \"&s\" }\n"
                 "F MYDATA { \"MENUITEM\" }\n");
    EXPECT_EQ(DumpScopes(file), "menu B: [&One] [&Two]\n"
                                "dialog D: [&Go]?\n");
}

TEST(ResourceScriptReader, UnreadableFilesNameTheFileAndTheEncoding)
{
    const auto errorOf = [](const std::string& bytes) {
        try {
            ReadResourceScript(bytes, "bad.rc");
        } catch (const EFormatError& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(errorOf("\xFE\xFF"), "bad.rc: the encoding UTF-16BE cannot be read; save the file "
                                   "as UTF-16LE or UTF-8");
    EXPECT_EQ(errorOf("\n#pragma code_page(4242)\n1 MENU BEGIN END"),
              "bad.rc:2: the encoding code page 4242 cannot be read");
    // iconv knows these, but they spell ASCII otherwise (EBCDIC, with shifts for Korean).
    EXPECT_EQ(errorOf("#pragma code_page(933)\n1 MENU BEGIN END"),
              "bad.rc:1: the encoding code page 933 cannot be read");
    EXPECT_EQ(errorOf("#pragma code_page(37)\n1 MENU BEGIN END"),
              "bad.rc:1: the encoding code page 37 cannot be read");
    EXPECT_EQ(errorOf("#pragma code_page(1251)\n\n1 MENU BEGIN MENUITEM \"\x98\", 1 END"),
              "bad.rc:3: byte 0x98 is not text in code page 1251");
    EXPECT_EQ(errorOf("#pragma code_page(932)\n1 MENU BEGIN MENUITEM \"\x81\", 1 END"),
              "bad.rc:2: byte 0x81 is not text in code page 932");
    EXPECT_EQ(errorOf("1 MENU BEGIN\n  MENUITEM \"Open, 1\nEND\n"),
              "bad.rc:2:12: string without its closing quote");
    EXPECT_EQ(errorOf(std::string("\xFF\xFE\x00\xD8", 4)), "bad.rc: not valid UTF-16LE at byte 2");
}

TEST(ResourceScriptReader, ShiftJisTrailBytesAreNotBackslashes)
{
    // "表" is 0x95 0x5C in code page 932: its second byte is a backslash in ASCII.
    const RCaptionFile file =
        ReadText("#pragma code_page(932)\n1 MENU BEGIN MENUITEM \"\x95\x5C(&T)\", 1 END\n");
    EXPECT_EQ(DumpScopes(file), "menu 1: [表(&T)]\n");
    EXPECT_EQ(file.Scopes[0].Captions[0].EncodingTag, 932u);
}

} // namespace
