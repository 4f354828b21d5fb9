// The batch tool's Unicode keys and its check and fix commands over several files and folders.
#include "CliRun.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

namespace {

class CliCommandsTest : public testing::Test
{
protected:
    std::string Write(const QString& name, const std::string& bytes) const
    {
        const QString path = FDir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        WriteBytes(path.toStdString(), bytes);
        return path.toStdString();
    }
    static QString Q(const std::string& path) { return QString::fromStdString(path); }

    QTemporaryDir FDir;
};

TEST(CliUnicodeKeys, AssignsKeysInEveryScriptAndShowsThemInUpperCase)
{
    const TRun run = RunTool({"--keys", "unicode"}, "Файл\r\nфайл\r\nファイル\r\nσύνολο\r\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "Файл\t&Файл\tФ\nфайл\tф&айл\tА\nファイル\tファイル(&A)\tA\n"
                       "σύνολο\t&σύνολο\tΣ\n");
    // Under today's keys the same list has no combination at all.
    EXPECT_EQ(RunTool({}, "Файл\r\nфайл\r\n").Status, 1);
    EXPECT_EQ(RunTool({"--keys=ascii"}, "File\r\n").Out, RunTool({}, "File\r\n").Out);
}

TEST(CliUnicodeKeys, InvalidBytesSurviveAndFailuresAreExplained)
{
    TRun run = RunTool({"--keys", "unicode", "--format", "lst"}, "\xFF\xD0Ж\xC0\r\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "\xFF\xD0&Ж\xC0\r\n");
    run = RunTool({"--keys", "unicode", "--explain"}, "Ёж\r\nёЖ\r\nЖЁ\r\n\xFF\r\n");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "Unable to get best captions combination.\n"
                       "<stdin>:4: '\xFF' has no character that can be a key\n"
                       "<stdin>: at most 2 of 4 captions can get distinct keys\n");
    run = RunTool({"--keys", "unicode", "--explain"}, "Ёж\r\nёЖ\r\nЖЁ\r\n");
    EXPECT_EQ(run.Err, "Unable to get best captions combination.\n"
                       "<stdin>: 3 captions share only 2 keys (Ё, Ж): line 1 'Ёж', line 2 "
                       "'ёЖ', line 3 'ЖЁ'\n"
                       "<stdin>: at most 2 of 3 captions can get distinct keys\n");
}

TEST(CliUnicodeKeys, KeepAndCheckCompareByCaseFolding)
{
    TRun run = RunTool({"--keys", "unicode", "--keep"}, "&Файл\r\nфайл\r\n");
    EXPECT_EQ(run.Out, "&Файл\t&Файл\tФ\nфайл\tф&айл\tА\n");
    run = RunTool({"check", "--keys", "unicode"}, "&Файл\r\n&файл\r\n&ς\r\n&Σ\r\n");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "<stdin>:2: key 'Ф' is also used on line 1\n"
                       "<stdin>:4: key 'Σ' is also used on line 3\n");
    // ASCII keys know no Cyrillic.
    EXPECT_EQ(RunTool({"check"}, "&Файл\r\n").Out,
              "<stdin>:1: marker '&' before '\\xD0', which cannot be a key\n");
}

TEST(CliCheck, TheOptionIsTheCommand)
{
    const std::string list = "&Open\r\nClose\r\nExit&\r\n& x\r\n&a&b\r\n&open\r\n";
    EXPECT_EQ(RunTool({"check"}, list), RunTool({"--check"}, list));
    EXPECT_EQ(RunTool({"check", "-"}, list), RunTool({"--check", "-"}, list));
    EXPECT_EQ(RunTool({"check", "--marker", "~"}, "~A\r\n").Status, 0);
    EXPECT_EQ(RunTool({"check", "--keep"}, list).Status, 2);
}

TEST_F(CliCommandsTest, CheckWalksFoldersAndReportsTheWorstStatus)
{
    const std::string clean = Write("a/clean.lst", "&Open\r\n");
    const std::string dirty = Write("a/b/dirty.lst", "&Open\r\n&Over\r\n");
    Write("a/notes.txt", "Open\r\n");
    TRun run = RunTool({Q(FDir.filePath("a").toStdString())});
    EXPECT_EQ(run.Status, 2); // the default mode still takes one file, no folder

    run = RunTool({"check", FDir.filePath("a")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, dirty + ":2: key 'O' is also used on line 1\n");
    run = RunTool({"check", Q(clean)});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "");
    run = RunTool({"check", Q(clean), FDir.filePath("missing.lst"), Q(dirty)});
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, dirty + ":2: key 'O' is also used on line 1\n");
    EXPECT_NE(run.Err.find("missing.lst"), std::string::npos);
}

TEST_F(CliCommandsTest, FixCompletesListsInPlaceChangingOnlyCaptions)
{
    // Mixed line breaks, no final break and bytes after a NUL all survive.
    const std::string path = Write("menu.lst", std::string("&Open\nOpen Recent\r\nSave\rE&xit"
                                                           "\0tail",
                                                           36));
    const std::string same = Write("done.lst", "&Open\r\n&Save\r\n");
    const TRun run = RunTool({"fix", Q(path), Q(same)});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, path + ": 2 captions changed\n");
    EXPECT_EQ(ReadBytes(path), std::string("&Open\nO&pen Recent\r\n&Save\rE&xit\0tail", 38));
    EXPECT_EQ(ReadBytes(same), "&Open\r\n&Save\r\n");
    // A fixed list checks clean apart from nothing, and a second fix changes nothing.
    EXPECT_EQ(RunTool({"fix", Q(path)}).Out, "");
    EXPECT_EQ(RunTool({"check", Q(same)}).Status, 0);
}

TEST_F(CliCommandsTest, FixUnderTheUnicodeRuleAndItsSuffix)
{
    const std::string path = Write("ja.lst", "ファイル(&F)\r\n編集\r\n名前を付けて保存...\r\n");
    EXPECT_EQ(RunTool({"fix", "--keys", "unicode", Q(path)}).Status, 0);
    EXPECT_EQ(ReadBytes(path), "ファイル(&F)\r\n編集(&A)\r\n名前を付けて保存(&B)...\r\n");
    EXPECT_EQ(RunTool({"check", "--keys", "unicode", Q(path)}).Out, "");
}

TEST_F(CliCommandsTest, FixThatCannotSucceedLeavesTheFileAsItWas)
{
    const std::string conflict = Write("conflict.lst", "&Open\r\n&over\r\nSave\r\n");
    const std::string impossible = Write("impossible.lst", "A\r\na\r\n");
    const std::string fine = Write("fine.lst", "Save\r\n");
    const TRun run = RunTool({"fix", Q(conflict), Q(impossible), Q(fine)});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, conflict + ":2: key 'O' is also used on line 1\n" + impossible +
                           ": Unable to get best captions combination.\n" + impossible +
                           ": 2 captions share only 1 key (A): line 1 'A', line 2 'a'\n" +
                           impossible + ": at most 1 of 2 captions can get distinct keys\n");
    EXPECT_EQ(ReadBytes(conflict), "&Open\r\n&over\r\nSave\r\n");
    EXPECT_EQ(ReadBytes(impossible), "A\r\na\r\n");
    EXPECT_EQ(ReadBytes(fine), "&Save\r\n"); // the others are still fixed
}

TEST_F(CliCommandsTest, DiffAndDryRunWriteNothing)
{
    std::string lines = "&Open\r\n";
    for (int i = 0; i < 9; ++i)
        lines += "&" + std::to_string(i) + "\r\n";
    const std::string path = Write("long.lst", lines + "Save\r\nE&xit\r\nQuit");
    TRun run = RunTool({"fix", "--diff", Q(path)});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "--- " + path + "\n+++ " + path +
                           "\n@@ -8,6 +8,6 @@\n &6\r\n &7\r\n &8\r\n-Save\r\n+&Save\r\n E&xit\r\n"
                           "-Quit\n\\ No newline at end of file\n"
                           "+&Quit\n\\ No newline at end of file\n");
    EXPECT_EQ(ReadBytes(path), lines + "Save\r\nE&xit\r\nQuit");

    run = RunTool({"fix", "--dry-run", FDir.path()});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, path + ": 2 captions would change\n");
    EXPECT_EQ(ReadBytes(path), lines + "Save\r\nE&xit\r\nQuit");
    EXPECT_EQ(RunTool({"fix", "--dry-run", FDir.path()}).Status, 1);
    RunTool({"fix", FDir.path()});
    EXPECT_EQ(RunTool({"fix", "--dry-run", FDir.path()}).Status, 0);
}

TEST(CliCommands, BadArgumentsExitWithTwo)
{
    for (const QStringList& arguments :
         {QStringList{"fix"}, QStringList{"fix", "-"}, QStringList{"--diff"},
          QStringList{"check", "--dry-run"}, QStringList{"fix", "--format", "lst", "x.lst"},
          QStringList{"fix", "--check", "x.lst"}, QStringList{"--keys", "latin"}}) {
        const TRun run = RunTool(arguments, "File\n");
        EXPECT_EQ(run.Status, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.Out, "") << arguments.join(' ').toStdString();
    }
}

} // namespace
