// check and fix on resource scripts through the batch tool's entry function: the findings and
// their places, the exit status, and fixes that touch nothing but the mended captions.
#include "CliRun.h"
#include "ResourceScript.h"
#include "ScratchFolderTest.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const char* const Fixtures[] = {"editor_en.rc", "editor_ru.rc", "options_ja.utf16.rc",
                                "menus_bg_el.cp1251.rc"};

// A German copy of a menu and a dialog, as a translator leaves it.
constexpr const char* GermanScript = "LANGUAGE LANG_GERMAN, SUBLANG_GERMAN\r\n"
                                     "\r\n"
                                     "IDR_MAIN MENU\r\n"
                                     "BEGIN\r\n"
                                     "    POPUP \"&Datei\"\r\n"
                                     "    BEGIN\r\n"
                                     "        MENUITEM \"&Neu\\tStrg+N\", 1\r\n"
                                     "        MENUITEM \"Ö&ffnen...\", 2\r\n"
                                     "        MENUITEM \"&Nochmals\", 3\r\n"
                                     "        MENUITEM \"Beenden\", 4\r\n"
                                     "    END\r\n"
                                     "    POPUP \"&Bearbeiten\"\r\n"
                                     "    BEGIN\r\n"
                                     "        MENUITEM \"&Aus&schneiden\", 5\r\n"
                                     "        MENUITEM \"Ein&fügen&\", 6\r\n"
                                     "        MENUITEM \"Alles& markieren\", 7\r\n"
                                     "    END\r\n"
                                     "END\r\n"
                                     "\r\n"
                                     "IDD_FIND DIALOGEX 0, 0, 200, 60\r\n"
                                     "BEGIN\r\n"
                                     "    LTEXT \"&Suchen nach:\", -1, 7, 9, 40, 8\r\n"
                                     "    DEFPUSHBUTTON \"OK\", 1, 140, 40, 50, 14\r\n"
                                     "END\r\n";

class ResourceCommandsTest : public TScratchFolderTest
{
protected:
    std::string CopyFixture(const std::string& name) const
    {
        return Write(name, ReadBytes(std::string(QUARNEL_FORMATS_DATA) + '/' + name));
    }
};

TEST_F(ResourceCommandsTest, CheckNamesPlaceScopeAndEveryLineOfAKey)
{
    const std::string file = Write("de.rc", GermanScript);
    const TRun run = RunTool({"check", Q(file)});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "");
    const std::string menu = " [menu IDR_MAIN > \"&Datei\"]\n";
    const std::string edit = " [menu IDR_MAIN > \"&Bearbeiten\"]\n";
    EXPECT_EQ(run.Out,
              file + ":9:19: error: key 'N' is used on lines 7, 9" + menu + file +
                  ":10:19: warning: \"Beenden\" has no key" + menu + file +
                  ":14:19: error: 2 markers in \"&Aus&schneiden\", which takes one" + edit + file +
                  ":15:28: error: marker at the end of \"Ein&fügen&\" marks nothing" + edit + file +
                  ":16:24: error: marker before \" \", which cannot be a key" + edit + file +
                  ":23:20: warning: \"OK\" has no key [dialog IDD_FIND]\n");
}

TEST_F(ResourceCommandsTest, WarningsCountOnlyWhenStrict)
{
    const std::string file =
        Write("w.rc", "1 MENU { MENUITEM \"&Open\", 1 MENUITEM \"Close\", 2 }\n"
                      "2 DIALOG 0, 0, 9, 9 { PUSHBUTTON \"OK\", 1, 0, 0, 9, 9 "
                      "LTEXT \"100% & more\", 2, 0, 0, 9, 9, SS_NOPREFIX }\n");
    TRun run = RunTool({"check", Q(file)});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, file + ":1:40: warning: \"Close\" has no key [menu 1]\n" + file +
                           ":2:35: warning: \"OK\" has no key [dialog 2]\n");
    EXPECT_EQ(RunTool({"check", "--strict", Q(file)}).Status, 1);
    const std::string clean = Write("c.rc", "1 MENU { MENUITEM \"&Open\", 1 }\n");
    run = RunTool({"check", "--strict", Q(clean)});
    EXPECT_EQ(run, (TRun{0, "", ""}));
}

TEST_F(ResourceCommandsTest, UnreadableFilesExitTwoAndNameTheEncoding)
{
    const std::string big = Write("be.rc", std::string("\xFE\xFF\0x", 4));
    const std::string bad =
        Write("cp.rc", "#pragma code_page(4242)\n1 MENU { MENUITEM \"&A\", 1 }");
    const std::string good = Write("ok.rc", "1 MENU { MENUITEM \"A&&B\", 1 }");
    TRun run =
        RunTool({"check", Q(big), Q(bad), Q(good), Q(FDir.filePath("none.rc").toStdString())});
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, good + ":1:20: warning: \"A&&B\" has no key [menu 1]\n");
    EXPECT_EQ(run.Err.find(big + ": the encoding UTF-16BE cannot be read"), 0u) << run.Err;
    EXPECT_NE(run.Err.find(bad + ":1: the encoding code page 4242 cannot be read\n"),
              std::string::npos);
    EXPECT_NE(run.Err.find("none.rc: cannot read"), std::string::npos);

    run = RunTool({"fix", Q(bad)});
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(ReadBytes(bad), "#pragma code_page(4242)\n1 MENU { MENUITEM \"&A\", 1 }");
}

TEST_F(ResourceCommandsTest, ExplainShowsTheGroupWithTooFewKeys)
{
    const std::string file =
        Write("x.rc", "1 MENU { MENUITEM \"&Ab\", 1 MENUITEM \"&Ba\", 2 MENUITEM \"AB\", 3 "
                      "MENUITEM \"Other\", 4 }\n");
    const TRun run = RunTool({"check", "--explain", Q(file)});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Out.find(file +
                           ":1:20: note: 3 captions share only 2 keys (A, B): \"&Ab\", \"&Ba\", "
                           "\"AB\" [menu 1]\n"),
              std::string::npos)
        << run.Out;
    const std::string dots = Write("y.rc", "1 MENU { MENUITEM \"Open\", 1 MENUITEM \"...\", 2 }\n");
    EXPECT_EQ(RunTool({"check", "--explain", Q(dots)}).Out,
              dots + ":1:20: warning: \"Open\" has no key [menu 1]\n" + dots +
                  ":1:39: warning: \"...\" has no key [menu 1]\n" + dots +
                  ":1:39: note: \"...\" has no character that can be a key [menu 1]\n");

    // fix reports the same and leaves the file as it is.
    const std::string before = ReadBytes(file);
    const TRun fix = RunTool({"fix", Q(file)});
    EXPECT_EQ(fix.Status, 1);
    EXPECT_EQ(fix.Out, "");
    EXPECT_NE(fix.Err.find("error: no distinct key for every caption; left as it is [menu 1]"),
              std::string::npos);
    EXPECT_EQ(ReadBytes(file), before);
}

TEST_F(ResourceCommandsTest, FixMovesFewMarkersAndShowsItAsADiff)
{
    const std::string file = Write("de.rc", GermanScript);
    TRun run = RunTool({"fix", "--diff", Q(file)});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out, "--- " + file + "\n+++ " + file +
                           "\n"
                           "@@ -6,14 +6,14 @@\n"
                           "     BEGIN\r\n"
                           "         MENUITEM \"&Neu\\tStrg+N\", 1\r\n"
                           "         MENUITEM \"Ö&ffnen...\", 2\r\n"
                           "-        MENUITEM \"&Nochmals\", 3\r\n"
                           "-        MENUITEM \"Beenden\", 4\r\n"
                           "+        MENUITEM \"N&ochmals\", 3\r\n"
                           "+        MENUITEM \"&Beenden\", 4\r\n"
                           "     END\r\n"
                           "     POPUP \"&Bearbeiten\"\r\n"
                           "     BEGIN\r\n"
                           "-        MENUITEM \"&Aus&schneiden\", 5\r\n"
                           "-        MENUITEM \"Ein&fügen&\", 6\r\n"
                           "-        MENUITEM \"Alles& markieren\", 7\r\n"
                           "+        MENUITEM \"&Ausschneiden\", 5\r\n"
                           "+        MENUITEM \"&Einfügen\", 6\r\n"
                           "+        MENUITEM \"A&lles markieren\", 7\r\n"
                           "     END\r\n"
                           " END\r\n"
                           " \r\n");
    EXPECT_EQ(ReadBytes(file), GermanScript);

    run = RunTool({"fix", "--dry-run", Q(file)});
    EXPECT_EQ(run, (TRun{1, file + ": 5 captions would change\n", ""}));
    EXPECT_EQ(ReadBytes(file), GermanScript);

    run = RunTool({"fix", Q(file)});
    EXPECT_EQ(run, (TRun{0, file + ": 5 captions changed\n", ""}));
    // The dialog's "OK" stays without a key unless asked for.
    EXPECT_EQ(RunTool({"check", "--strict", Q(file)}).Out,
              file + ":23:20: warning: \"OK\" has no key [dialog IDD_FIND]\n");
    EXPECT_EQ(RunTool({"fix", "--add-missing", Q(file)}).Status, 0);
    EXPECT_EQ(RunTool({"check", "--strict", Q(file)}), (TRun{0, "", ""}));
    std::string expected = GermanScript;
    expected.replace(expected.find("\"OK\""), 4, "\"&OK\"");
    EXPECT_EQ(ReadBytes(file).substr(ReadBytes(file).find("IDD_FIND")),
              expected.substr(expected.find("IDD_FIND")));
}

// Every byte outside the captions' text, in file order.
std::string OutsideCaptions(const std::string& bytes)
{
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (const RCaptionScope& scope : ReadResourceScript(bytes, "f").Scopes)
        for (const RFileCaption& caption : scope.Captions)
            spans.emplace_back(caption.Places.front().Offset, caption.Places.back().Offset);
    std::sort(spans.begin(), spans.end());
    std::string outside;
    std::size_t copied = 0;
    for (const auto& [begin, end] : spans) {
        outside.append(bytes, copied, begin - copied);
        copied = end;
    }
    return outside.append(bytes, copied);
}

TEST_F(ResourceCommandsTest, FixThenCheckIsCleanInEveryEncodingAndNothingElseMoves)
{
    for (const char* name : Fixtures) {
        const std::string file = CopyFixture(name);
        const std::string before = ReadBytes(file);
        const TRun fix = RunTool({"fix", "--add-missing", Q(file)});
        EXPECT_EQ(fix.Status, 0) << name << fix.Err;
        const std::string after = ReadBytes(file);
        EXPECT_EQ(OutsideCaptions(after), OutsideCaptions(before)) << name;
        const TRun check = RunTool({"check", "--strict", Q(file)});
        // "(empty)" and its like have keys now; only captions without any letter could stay.
        EXPECT_EQ(check, (TRun{0, "", ""})) << name;
        // A second fix finds nothing to do and writes nothing.
        EXPECT_EQ(RunTool({"fix", "--add-missing", Q(file)}), (TRun{0, "", ""})) << name;
        EXPECT_EQ(ReadBytes(file), after) << name;
    }
}

TEST_F(ResourceCommandsTest, FixOnACleanFileChangesNoByteAndFoldersAreWalked)
{
    const std::string clean = Write("tree/a/clean.rc", "1 MENU { MENUITEM \"&Open\", 1 }\r\n");
    const std::string other = Write("tree/b/menu.RC", "1 MENU { MENUITEM \"Open\", 1 }\r\n");
    Write("tree/b/notes.txt", "1 MENU { MENUITEM \"Open\", 1 }\r\n");
    const std::string tree = FDir.filePath("tree").toStdString();
    TRun run = RunTool({"check", Q(tree)});
    EXPECT_EQ(run, (TRun{0, other + ":1:20: warning: \"Open\" has no key [menu 1]\n", ""}));
    run = RunTool({"fix", Q(tree)});
    EXPECT_EQ(run, (TRun{0, other + ": 1 caption changed\n", ""}));
    EXPECT_EQ(ReadBytes(clean), "1 MENU { MENUITEM \"&Open\", 1 }\r\n");
    EXPECT_EQ(ReadBytes(other), "1 MENU { MENUITEM \"&Open\", 1 }\r\n");
}

TEST_F(ResourceCommandsTest, FixKeepsTheEncodingOfEachPart)
{
    const std::string file = CopyFixture("menus_bg_el.cp1251.rc");
    const std::string before = ReadBytes(file);
    // Add a Greek entry without a key to the Greek menu; it must be written in code page 1253.
    std::string bytes = before;
    const std::size_t exit = bytes.find("\"\xB8&\xEE\xEF\xE4\xEF\xF2\""); // "Έ&ξοδος" in 1253
    ASSERT_NE(exit, std::string::npos);
    bytes.insert(exit, "\"\xC1\xED\xDF\xE3\xEC\xE1\", 9\r\n        MENUITEM "); // "Αίγμα"
    WriteBytes(file, bytes);
    EXPECT_EQ(RunTool({"fix", Q(file)}).Status, 0);
    std::string expected = bytes;
    expected.replace(expected.find("\"\xC1\xED\xDF"), 2, "\"&\xC1");
    EXPECT_EQ(ReadBytes(file), expected);
}

} // namespace
