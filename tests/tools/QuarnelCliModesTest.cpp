// The batch tool's explaining, checking and keeping modes through its entry function.
#include "CliRun.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

namespace {

constexpr const char* NoCombination = "Unable to get best captions combination.\n";

TEST(CliExplain, NamesTheGroupThatSharesTooFewKeys)
{
    const TRun run = RunTool({"--explain"}, "Abc\r\nOpen\r\nCab\r\nBca\r\nXyz\r\nab\r\n");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "Abc\t\t\nOpen\t\t\nCab\t\t\nBca\t\t\nXyz\t\t\nab\t\t\n");
    EXPECT_EQ(run.Err, std::string(NoCombination) +
                           "<stdin>: 4 captions share only 3 keys (A, B, C): line 1 'Abc', "
                           "line 3 'Cab', line 4 'Bca', line 6 'ab'\n"
                           "<stdin>: at most 5 of 6 captions can get distinct keys\n");
}

TEST(CliExplain, ListsEveryCaptionWithoutAKey)
{
    const TRun run = RunTool({"--explain", "--format", "lst"}, "Open\r\n...\r\nA\ta\r\n\r\n");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, std::string(NoCombination) +
                           "<stdin>:2: '...' has no character that can be a key\n"
                           "<stdin>:4: '' has no character that can be a key\n"
                           "<stdin>: at most 2 of 4 captions can get distinct keys\n");
}

TEST(CliExplain, OneSharedKeyAndLongLists)
{
    TRun run = RunTool({"--explain"}, "x\r\nX\r\n");
    EXPECT_EQ(run.Err, std::string(NoCombination) +
                           "<stdin>: 2 captions share only 1 key (X): line 1 'x', line 2 'X'\n"
                           "<stdin>: at most 1 of 2 captions can get distinct keys\n");
    std::string input;
    for (int i = 0; i < 1000; ++i)
        input += "New\r\n";
    run = RunTool({"--explain", "--format", "lst"}, input);
    EXPECT_EQ(run.Err, std::string(NoCombination) +
                           "<stdin>: 4 captions share only 3 keys (E, N, W): line 1 'New', "
                           "line 2 'New', line 3 'New', line 4 'New'\n"
                           "<stdin>: at most 3 of 1000 captions can get distinct keys\n");
}

TEST(CliExplain, SucceedsLikeTheNormalRun)
{
    for (const char* format : {"tsv", "lst"}) {
        const std::string input = "Cut\nCopy\nPaste\nClose\n";
        const TRun plain = RunTool({"--format", format}, input);
        EXPECT_EQ(plain.Status, 0);
        EXPECT_EQ(RunTool({"--explain", "--format", format}, input), plain) << format;
    }
}

TEST(CliCheck, CleanListExitsZeroSilently)
{
    const TRun run = RunTool({"--check"}, "&Open\r\nSave && E&xit\r\n&1\r\n");
    EXPECT_EQ(run, (TRun{0, "", ""}));
}

TEST(CliCheck, OneLinePerFinding)
{
    const TRun run = RunTool({"--check"}, "&Open\r\nClose\r\nExit&\r\n& x\r\n&a&b\r\n&open\r\n");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "<stdin>:2: no accelerator marker\n"
                       "<stdin>:3: marker '&' at the end marks nothing\n"
                       "<stdin>:4: marker '&' before ' ', which cannot be a key\n"
                       "<stdin>:5: 2 markers '&' where a caption takes one\n"
                       "<stdin>:6: key 'O' is also used on line 1\n");
    EXPECT_EQ(run.Err, "");
}

TEST(CliCheck, OtherMarker)
{
    EXPECT_EQ(RunTool({"--check", "--marker", "~"}, "~Open\r\n&Close\r\n").Out,
              "<stdin>:2: no accelerator marker\n");
}

TEST(CliCheck, AssignsNothingSoTakesNoAssigningOptions)
{
    for (const QStringList& arguments :
         {QStringList{"--check", "--keep"}, QStringList{"--check", "--explain"},
          QStringList{"--check", "--format", "lst"}}) {
        const TRun run = RunTool(arguments, "&Open\r\n");
        EXPECT_EQ(run.Status, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.Out, "");
        EXPECT_NE(run.Err, "");
    }
}

TEST(CliKeep, PinnedCaptionsKeepTheirKeys)
{
    const TRun run = RunTool({"--keep"}, "Open\r\n&Print\r\nE&xit\r\nExtra\r\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "Open\t&Open\tO\n&Print\t&Print\tP\nE&xit\tE&xit\tX\nExtra\t&Extra\tE\n");
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(RunTool({"--keep", "--format", "lst"}, "Open\r\n&Open\r\n").Out,
              "O&pen\r\n&Open\r\n");
}

TEST(CliKeep, ConflictsReportedLikeFindings)
{
    const TRun run = RunTool({"--keep"}, "&Open\r\nSave\r\n&over\r\n& x\r\n");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "&Open\t\t\nSave\t\t\n&over\t\t\n& x\t\t\n");
    EXPECT_EQ(run.Err, "<stdin>:3: key 'O' is also used on line 1\n"
                       "<stdin>:4: marker '&' before ' ', which cannot be a key\n");
    EXPECT_EQ(RunTool({"--keep", "--format=lst"}, "&Open\r\n&over\r\n").Out, "");
}

TEST(CliKeep, FailureAroundPinsIsExplained)
{
    TRun run = RunTool({"--keep"}, "Ab\r\nBa\r\n&Apple\r\n");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, NoCombination);
    run = RunTool({"--keep", "--explain"}, "Ab\r\nBa\r\n&Apple\r\n");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, std::string(NoCombination) +
                           "<stdin>: 3 captions share only 2 keys (A, B): line 1 'Ab', "
                           "line 2 'Ba', line 3 '&Apple'\n"
                           "<stdin>: at most 2 of 3 captions can get distinct keys\n");
}

TEST(CliModes, MessagesNameTheFile)
{
    const QTemporaryDir dir;
    const auto write = [&dir](const char* name, const char* bytes) {
        const std::string path = QDir(dir.path()).filePath(QString::fromLatin1(name)).toStdString();
        WriteBytes(path, bytes);
        return path;
    };
    const std::string pinned = write("pinned.lst", "&Open\r\n&Over\r\n");
    EXPECT_EQ(RunTool({"--check", QString::fromStdString(pinned)}).Out,
              pinned + ":2: key 'O' is also used on line 1\n");
    EXPECT_EQ(RunTool({"--keep", QString::fromStdString(pinned)}).Err,
              pinned + ":2: key 'O' is also used on line 1\n");
    const std::string failing = write("failing.lst", "A\r\na\r\n");
    EXPECT_EQ(RunTool({"--explain", QString::fromStdString(failing)}).Err,
              std::string(NoCombination) + failing +
                  ": 2 captions share only 1 key (A): line 1 'A', line 2 'a'\n" + failing +
                  ": at most 1 of 2 captions can get distinct keys\n");
}

TEST(CliModes, HelpIsAReferencePage)
{
    const TRun run = RunTool({"--help"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out.rfind("NAME\n    quarnel-cli - ", 0), 0u);
    std::size_t last = 0;
    for (const char* section :
         {"\nSYNOPSIS\n", "\nDESCRIPTION\n", "\nOPTIONS\n", "\nEXIT STATUS\n", "\nEXAMPLES\n"}) {
        const std::size_t at = run.Out.find(section);
        ASSERT_NE(at, std::string::npos) << section;
        EXPECT_GT(at, last) << section << " out of order";
        last = at;
    }
    for (const char* option : {"--marker C", "--format tsv|lst", "--format text|json|sarif",
                               "--explain", "--keep", "--check", "-h, --help"})
        EXPECT_NE(run.Out.find("\n    " + std::string(option) + "\n"), std::string::npos) << option;
}

} // namespace
