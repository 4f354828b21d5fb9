// The batch tool through its entry function: arguments, input, output and exit status.
#include "CliRun.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace {

class CliFileTest : public testing::Test
{
protected:
    QString Write(const char* name, const std::string& bytes) const
    {
        const QString path = FDir.filePath(QString::fromLatin1(name));
        WriteBytes(path.toStdString(), bytes);
        return path;
    }

    QTemporaryDir FDir;
};

TEST(CliTsv, OneLinePerCaptionFromStandardInput)
{
    const TRun run = RunTool({}, "File\r\nEdit\nFormat");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "File\t&File\tF\nEdit\t&Edit\tE\nFormat\tF&ormat\tO\n");
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(RunTool({"-"}, "File\r\nEdit\nFormat").Out, run.Out);
    EXPECT_EQ(RunTool({"--format", "tsv"}, "File\r\nEdit\nFormat").Out, run.Out);
}

TEST(CliTsv, EscapesBackslashAndTab)
{
    const TRun run = RunTool({}, "a\\b\tc\r\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "a\\\\b\\tc\t&a\\\\b\\tc\tA\n");
}

TEST(CliTsv, EveryCaptionPrintedWhenNoCombinationExists)
{
    const TRun run = RunTool({}, "A\r\n\r\na\r\n");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "A\t\t\n\t\t\na\t\t\n");
    EXPECT_EQ(run.Err, "Unable to get best captions combination.\n");
}

TEST(CliTsv, LongListFailsWithEveryLinePrinted)
{
    std::string input;
    for (int i = 0; i < 50; ++i)
        input += "Caption\r\n";
    const TRun run = RunTool({}, input);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), '\n'), 50);
}

TEST(CliInput, FollowsTheListFileRules)
{
    // LF CR is two breaks, the text ends at NUL, blanks stay.
    const TRun run = RunTool({}, std::string("  x\n\ry\0z\r\n", 10));
    EXPECT_EQ(run.Status, 1); // the empty line has no candidate
    EXPECT_EQ(run.Out, "  x\t\t\n\t\t\ny\t\t\n");
}

TEST(CliInput, EmptyListSucceedsSilently)
{
    for (const char* format : {"tsv", "lst"}) {
        const TRun run = RunTool({"--format", format}, "");
        EXPECT_EQ(run.Status, 0) << format;
        EXPECT_EQ(run.Out, "") << format;
        EXPECT_EQ(run.Err, "") << format;
    }
    EXPECT_EQ(RunTool({}, std::string("\0File\r\n", 7)).Status, 0);
}

TEST(CliLst, AcceleratedCaptionsInListFileForm)
{
    const TRun run = RunTool({"--format=lst"}, "Cut\nCopy\nPaste\nClose");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "&Cut\r\nC&opy\r\n&Paste\r\nC&lose\r\n");
}

TEST(CliLst, NothingWhenNoCombinationExists)
{
    const TRun run = RunTool({"--format", "lst"}, "ab\nba\nab\n");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "Unable to get best captions combination.\n");
}

TEST(CliMarker, ReplacesTheAmpersand)
{
    const TRun run = RunTool({"--marker", "~", "--format", "lst"}, "A&B\na\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "A&~B\r\n~a\r\n");
    EXPECT_EQ(RunTool({"--marker=_"}, "x\n").Out, "x\t_x\tX\n");
}

TEST(CliMarker, MustBeExactlyOneByte)
{
    for (const char* marker : {"", "&&", "\xC3\xA9"}) {
        const TRun run = RunTool({"--marker", QString::fromUtf8(marker)}, "File\n");
        EXPECT_EQ(run.Status, 2) << marker;
        EXPECT_EQ(run.Out, "") << marker;
        EXPECT_NE(run.Err, "") << marker;
    }
}

TEST(CliArguments, BadOnesExitWithTwo)
{
    for (const QStringList& arguments : {QStringList{"--format", "csv"}, QStringList{"--colour"},
                                         QStringList{"a.lst", "b.lst"}, QStringList{"--marker"}}) {
        const TRun run = RunTool(arguments, "File\n");
        EXPECT_EQ(run.Status, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.Out, "") << arguments.join(' ').toStdString();
        EXPECT_NE(run.Err, "") << arguments.join(' ').toStdString();
    }
}

TEST(CliArguments, HelpExplainsUsageFormatsAndStatus)
{
    const TRun run = RunTool({"--help"}, "File\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find("SYNOPSIS\n    quarnel-cli "), std::string::npos);
    for (const char* part :
         {"[FILE|-]", "--marker", "--format", "tsv", "lst", "EXIT STATUS", "standard input"})
        EXPECT_NE(run.Out.find(part), std::string::npos) << part;
    EXPECT_EQ(RunTool({"-h"}).Out, run.Out);
}

TEST_F(CliFileTest, ReadsTheNamedFile)
{
    const QString path = Write("menu.lst", "Open\r\nOpen\r\n");
    const TRun run = RunTool({path}, "ignored\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "Open\t&Open\tO\nOpen\tO&pen\tP\n");
}

TEST_F(CliFileTest, UnreadableFileExitsWithTwo)
{
    const QString missing = FDir.filePath(QStringLiteral("missing.lst"));
    TRun run = RunTool({missing});
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err,
              "Cannot open file \"" + missing.toStdString() + "\". No such file or directory\n");

    run = RunTool({FDir.path()});
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Err, "Cannot open file \"" + FDir.path().toStdString() + "\". Is a directory\n");
}

TEST_F(CliFileTest, BundledExampleSucceeds)
{
    const TRun run = RunTool({QStringLiteral(QUARNEL_EXAMPLE_LIST), "--format", "lst"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_GE(std::count(run.Out.begin(), run.Out.end(), '\n'), 8);
}

} // namespace
