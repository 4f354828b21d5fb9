// --prefer through the batch tool: "first" is today's behaviour to the byte, "guidelines" gives
// the keys a designer would choose in lists and in every scope format, mends with the fewest
// moved markers, and keeps a command on one key across the files of a call.
#include "CliRun.h"
#include "ScratchFolderTest.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using PreferredKeysTest = TScratchFolderTest;

constexpr const char* Menu = "File\r\nEdit\r\nFind\r\nFind Next\r\nSave As\r\nSelect All\r\n"
                             "Exit\r\nCut\r\nCopy\r\nClose\r\nPaste\r\nPrint\r\n";

// A menu and a dialog as a translator leaves them: a clash in the menu, a dialog without keys.
constexpr const char* Script = "IDR_MAIN MENU\r\n"
                               "BEGIN\r\n"
                               "    POPUP \"&Edit\"\r\n"
                               "    BEGIN\r\n"
                               "        MENUITEM \"&Copy\", 1\r\n"
                               "        MENUITEM \"&Cut\", 2\r\n"
                               "        MENUITEM \"Paste\", 3\r\n"
                               "    END\r\n"
                               "END\r\n"
                               "\r\n"
                               "IDD_FIND DIALOGEX 0, 0, 200, 60\r\n"
                               "BEGIN\r\n"
                               "    LTEXT \"Find what:\", -1, 7, 9, 40, 8\r\n"
                               "    DEFPUSHBUTTON \"OK\", 1, 140, 40, 50, 14\r\n"
                               "    PUSHBUTTON \"Cancel\", 2, 140, 40, 50, 14\r\n"
                               "    PUSHBUTTON \"Options\", 3, 140, 40, 50, 14\r\n"
                               "END\r\n";

TEST_F(PreferredKeysTest, FirstIsTodaysBehaviourInEveryModeAndFormat)
{
    const std::string example = ReadBytes(QUARNEL_EXAMPLE_LIST);
    for (const QStringList& mode :
         {QStringList{}, QStringList{"--format", "lst"}, QStringList{"--keep"},
          QStringList{"--keys", "unicode"}, QStringList{"--explain"}}) {
        EXPECT_EQ(RunTool(mode + QStringList{"--prefer", "first"}, example),
                  RunTool(mode, example));
        EXPECT_EQ(RunTool(mode + QStringList{"--prefer=first"}, Menu), RunTool(mode, Menu));
    }
    const std::string plain = Write("plain/de.rc", Script);
    const std::string first = Write("first/de.rc", Script);
    const std::string list = Write("first/menu.lst", Menu);
    const std::string plainList = Write("plain/menu.lst", Menu);
    const TRun plainRun = RunTool({"fix", "--add-missing", Q(plain), Q(plainList)});
    const TRun firstRun = RunTool({"fix", "--add-missing", "--prefer", "first", Q(first), Q(list)});
    EXPECT_EQ(firstRun.Status, plainRun.Status);
    EXPECT_EQ(ReadBytes(first), ReadBytes(plain));
    EXPECT_EQ(ReadBytes(list), ReadBytes(plainList));
    EXPECT_NE(ReadBytes(first), Script);

    const std::string help = RunTool({"--help"}).Out;
    for (const char* option : {"--prefer first|guidelines", "--prefer-file FILE", "--quality"})
        EXPECT_NE(help.find(std::string("\n    ") + option), std::string::npos) << option;

    const TRun bad = RunTool({"--prefer", "best"}, Menu);
    EXPECT_EQ(bad.Status, 2);
    EXPECT_EQ(bad.Err, "Unknown preference \"best\": use first or guidelines.\n");
}

TEST_F(PreferredKeysTest, GuidelinesGiveStandardKeysThenWordStartsThenClearConsonants)
{
    TRun run = RunTool({"--format", "lst", "--prefer", "guidelines"}, Menu);
    EXPECT_EQ(run.Status, 0);
    // "Save As" and "Select All" share their standard key, as do "Copy" and "Close": one of
    // each pair gives way, where the others cost least.
    EXPECT_EQ(run.Out, "&File\r\n&Edit\r\nFin&d\r\nFind &Next\r\n&Save As\r\nSelect &All\r\n"
                       "E&xit\r\nCu&t\r\nCop&y\r\n&Close\r\n&Paste\r\nP&rint\r\n");
    // The TSV shows the key as the rule shows it; Unicode keys compare folded.
    run = RunTool({"--prefer", "guidelines", "--keys", "unicode"}, "Сохранить\r\nСоздать\r\n");
    EXPECT_EQ(run.Out, "Сохранить\t&Сохранить\tС\nСоздать\tСо&здать\tЗ\n");
    // Kept markers stay; the rest around them.
    run = RunTool({"--prefer", "guidelines", "--keep", "--format", "lst"}, "E&xit\r\nEdit\r\n");
    EXPECT_EQ(run.Out, "E&xit\r\n&Edit\r\n");
    // No combination is no combination under any preference.
    run = RunTool({"--prefer", "guidelines", "--explain"}, "a\r\nA\r\n");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run, RunTool({"--explain"}, "a\r\nA\r\n"));
}

TEST_F(PreferredKeysTest, FixMovesTheFewestMarkersAndLeavesOkAndCancelWithoutKeys)
{
    const std::string list = Write("menu.lst", "&Copy\r\n&Cut\r\nPaste\r\n");
    EXPECT_EQ(RunTool({"fix", "--prefer", "guidelines", Q(list)}).Status, 0);
    EXPECT_EQ(ReadBytes(list), "&Copy\r\nCu&t\r\n&Paste\r\n");

    const std::string script = Write("de.rc", Script);
    const TRun fix = RunTool({"fix", "--add-missing", "--prefer", "guidelines", Q(script)});
    EXPECT_EQ(fix.Status, 0) << fix.Err;
    std::string expected = Script;
    expected.replace(expected.find("&Cut"), 4, "Cu&t");
    expected.replace(expected.find("\"Paste"), 6, "\"&Paste");
    expected.replace(expected.find("\"Find"), 5, "\"&Find");
    expected.replace(expected.find("\"Options"), 8, "\"&Options");
    EXPECT_EQ(ReadBytes(script), expected);
    // Under the first assignment, the buttons get keys.
    const std::string first = Write("first.rc", Script);
    RunTool({"fix", "--add-missing", Q(first)});
    EXPECT_NE(ReadBytes(first).find("\"&OK\""), std::string::npos);
}

TEST_F(PreferredKeysTest, ACommandKeepsTheKeyItHasInMostFilesOfTheCall)
{
    // Alone, "Merge" keeps its first letter and "Mark" moves; in the call, "Mark" is on M in
    // two lists of three, so "Merge" gives way.
    const std::string a = Write("a.lst", "Merge\r\nMark\r\n");
    const std::string b = Write("b.lst", "Mark\r\n");
    const std::string c = Write("c.lst", "Mark\r\nMove\r\n");
    const std::string alone = Write("alone.lst", "Merge\r\nMark\r\n");
    RunTool({"fix", "--prefer", "guidelines", Q(alone)});
    EXPECT_EQ(ReadBytes(alone), "&Merge\r\nMa&rk\r\n");
    EXPECT_EQ(RunTool({"fix", "--prefer", "guidelines", Q(a), Q(b), Q(c)}).Status, 0);
    EXPECT_EQ(ReadBytes(a), "Me&rge\r\n&Mark\r\n");
    EXPECT_EQ(ReadBytes(b), "&Mark\r\n");
    EXPECT_EQ(ReadBytes(c), "&Mark\r\nMo&ve\r\n");

    // The same across the menus of one script.
    const std::string script = Write("menus.rc", "IDR_MAIN MENU\r\nBEGIN\r\n"
                                                 "    POPUP \"&Layers\"\r\n    BEGIN\r\n"
                                                 "        MENUITEM \"Merge\", 1\r\n"
                                                 "        MENUITEM \"Mark\", 2\r\n    END\r\n"
                                                 "    POPUP \"&Text\"\r\n    BEGIN\r\n"
                                                 "        MENUITEM \"Mark\", 3\r\n    END\r\n"
                                                 "    POPUP \"&View\"\r\n    BEGIN\r\n"
                                                 "        MENUITEM \"Mark\", 4\r\n    END\r\n"
                                                 "END\r\n");
    EXPECT_EQ(RunTool({"fix", "--prefer", "guidelines", Q(script)}).Status, 0);
    const std::string fixed = ReadBytes(script);
    EXPECT_NE(fixed.find("\"Me&rge\""), std::string::npos) << fixed;
    EXPECT_EQ(fixed.find("\"Ma&rk\""), std::string::npos) << fixed;
}

// Two translations of one context on "K": the second is mended.
constexpr const char* GermanTranslation = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                          "<TS version=\"2.1\" language=\"de\">\n"
                                          "<context>\n"
                                          "    <name>Editor</name>\n"
                                          "    <message>\n"
                                          "        <source>&amp;Copy</source>\n"
                                          "        <translation>&amp;Kopieren</translation>\n"
                                          "    </message>\n"
                                          "    <message>\n"
                                          "        <source>H&amp;eader</source>\n"
                                          "        <translation>&amp;Kopfzeile</translation>\n"
                                          "    </message>\n"
                                          "</context>\n"
                                          "</TS>\n";

constexpr const char* GermanCatalogue = "msgid \"\"\nmsgstr \"\"\n"
                                        "\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                                        "#: data/menu.ui:4\n"
                                        "msgid \"_Copy\"\nmsgstr \"_Kopieren\"\n\n"
                                        "#: data/menu.ui:7\n"
                                        "msgid \"H_eader\"\nmsgstr \"_Kopfzeile\"\n";

TEST_F(PreferredKeysTest, AMendedTranslationPrefersItsSourcesKey)
{
    // Left to its own costs, "Kopfzeile" would take a clear consonant; its source is on "E".
    const std::string ts = Write("editor_de.ts", GermanTranslation);
    EXPECT_EQ(RunTool({"fix", "--prefer", "guidelines", Q(ts)}).Status, 0);
    EXPECT_NE(ReadBytes(ts).find("<translation>Kopfz&amp;eile</translation>"), std::string::npos)
        << ReadBytes(ts);
    EXPECT_EQ(RunTool({"check", Q(ts)}).Status, 0);

    // The catalogue, checked string by string, has no clash; with the builder's menu it has.
    const std::string po = Write("po/de.po", GermanCatalogue);
    Write("data/menu.ui",
          "<interface>\n  <menu id=\"edit\">\n    <item>\n"
          "      <attribute name=\"label\" translatable=\"yes\">_Copy</attribute>\n    </item>\n"
          "    <item>\n      <attribute name=\"label\" translatable=\"yes\">H_eader</attribute>\n"
          "    </item>\n  </menu>\n</interface>\n");
    const QString builder = FDir.filePath("data");
    EXPECT_EQ(RunTool({"fix", "--prefer", "guidelines", "--builder", builder, Q(po)}).Status, 0);
    EXPECT_NE(ReadBytes(po).find("msgstr \"Kopfz_eile\""), std::string::npos) << ReadBytes(po);

    // Without guidelines the first free letter is taken, as before.
    const std::string first = Write("first_de.ts", GermanTranslation);
    EXPECT_EQ(RunTool({"fix", Q(first)}).Status, 0);
    EXPECT_NE(ReadBytes(first).find("<translation>K&amp;opfzeile</translation>"), std::string::npos)
        << ReadBytes(first);
}

TEST_F(PreferredKeysTest, ARuleFileAdjustsTheCostsAndABadLineIsNamed)
{
    const std::string rules = Write("house.rules", "# house style\nstandard \"Copy\" p\n");
    TRun run = RunTool({"--prefer-file", Q(rules), "--format", "lst"}, "Copy\r\nCut\r\n");
    EXPECT_EQ(run, (TRun{0, "Co&py\r\nCu&t\r\n", ""}));
    // The same file with fix, for every format.
    const std::string list = Write("menu.lst", "Copy\r\n");
    EXPECT_EQ(RunTool({"fix", "--prefer-file", Q(rules), Q(list)}).Status, 0);
    EXPECT_EQ(ReadBytes(list), "Co&py\r\n");

    const std::string bad = Write("bad.rules", "weight vowel 5\n\nweight bogus 1\n");
    run = RunTool({"--prefer-file", Q(bad)}, "Copy\r\n");
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err.substr(0, bad.size() + 4), bad + ":3: ");
    EXPECT_NE(run.Err.find("unknown weight \"bogus\""), std::string::npos) << run.Err;
    EXPECT_EQ(RunTool({"--prefer-file", Q(bad + ".missing")}, "Copy\r\n").Status, 2);
    EXPECT_EQ(RunTool({"fix", "--prefer-file", Q(bad), Q(list)}).Status, 2);
    EXPECT_EQ(ReadBytes(list), "Co&py\r\n");

    EXPECT_EQ(RunTool({"--prefer", "first", "--prefer-file", Q(rules)}, "Copy\r\n").Status, 2);
    EXPECT_EQ(RunTool({"check", "--prefer", "guidelines"}, "&Copy\r\n").Status, 2);
    EXPECT_EQ(RunTool({"--quality"}, "&Copy\r\n").Status, 2);
}

TEST_F(PreferredKeysTest, QualityCountsFirstLettersStandardKeysAndCommandsOnSeveralKeys)
{
    const std::string list = Write("menu.lst", "&Copy\r\nC&ut\r\nPa&ste\r\nZoom &in\r\n");
    const std::string script = Write("de.rc", "IDR_MAIN MENU\r\nBEGIN\r\n"
                                              "    POPUP \"&Edit\"\r\n    BEGIN\r\n"
                                              "        MENUITEM \"Cu&t\", 1\r\n"
                                              "        MENUITEM \"Co&py\", 2\r\n    END\r\n"
                                              "END\r\n");
    const TRun run = RunTool({"check", "--quality", Q(list), Q(script)});
    EXPECT_EQ(run.Status, 0) << run.Err;
    // "Zoom in" has a standard key, I, which it honours on a word start; "Cut" and "Copy" are
    // each on two keys, and on a tie the key met first, in the list, is the usual one.
    EXPECT_EQ(run.Out, list +
                           ": 4 captions, 4 keys, 2 on a first letter, 2 of 4 standard keys, "
                           "0 off the usual key of their command\n" +
                           script +
                           " [menu IDR_MAIN]: 1 caption, 1 key, 1 on a first letter, 1 of 1 "
                           "standard keys, 0 off the usual key of their command\n" +
                           script +
                           " [menu IDR_MAIN > \"&Edit\"]: 2 captions, 2 keys, 0 on a first "
                           "letter, 1 of 2 standard keys, 2 off the usual key of their command\n"
                           "total: 3 scopes, 7 captions, 7 keys, 3 on a first letter (43%), 4 of 7 "
                           "standard keys (57%), 2 off the usual key of their command; 2 of 2 "
                           "commands in several captions on more than one key\n");
    // An unreadable file is named and makes the status 2; the others are still measured.
    const TRun missing = RunTool({"check", "--quality", Q(list + ".missing"), Q(list)});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_NE(missing.Out.find("total: 1 scope, 4 captions"), std::string::npos) << missing.Out;
    EXPECT_NE(missing.Err, "");
}

} // namespace
