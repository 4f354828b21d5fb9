// The caption list file: how bytes become lines and lines become bytes, and what failures say.
#include "ListFile.h"

#include "QuarnelError.h"
#include "SystemError.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using TLines = std::vector<std::string>;

std::string Bytes(const char* text, std::size_t size)
{
    return std::string(text, size);
}

class ListFileTest : public testing::Test
{
protected:
    std::string PathOf(const char* name) const { return FDir.filePath(name).toStdString(); }

    static std::string ErrorOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const EQuarnelError& error) {
            return error.what();
        }
        return {};
    }

    QTemporaryDir FDir;
};

TEST(SplitCaptionLines, EachTerminatorEndsALine)
{
    EXPECT_EQ(SplitCaptionLines("A\r\nB"), (TLines{"A", "B"}));
    EXPECT_EQ(SplitCaptionLines("A\rB\r"), (TLines{"A", "B"}));
    EXPECT_EQ(SplitCaptionLines("A\nB\n"), (TLines{"A", "B"}));
    EXPECT_EQ(SplitCaptionLines("A\r\nB\r\n"), (TLines{"A", "B"}));
}

TEST(SplitCaptionLines, LfCrIsTwoBreaks)
{
    EXPECT_EQ(SplitCaptionLines("A\n\rB"), (TLines{"A", "", "B"}));
    EXPECT_EQ(SplitCaptionLines("A\r\n\rB"), (TLines{"A", "", "B"}));
    EXPECT_EQ(SplitCaptionLines("A\r\r\nB"), (TLines{"A", "", "B"}));
}

TEST(SplitCaptionLines, EmptyLinesStayButAFinalTerminatorAddsNone)
{
    EXPECT_EQ(SplitCaptionLines("A\r\n\r\n"), (TLines{"A", ""}));
    EXPECT_EQ(SplitCaptionLines("\r\nA"), (TLines{"", "A"}));
    EXPECT_EQ(SplitCaptionLines("\n"), (TLines{""}));
    EXPECT_EQ(SplitCaptionLines("\r\n\r\n"), (TLines{"", ""}));
    EXPECT_EQ(SplitCaptionLines(""), TLines{});
}

TEST(SplitCaptionLines, TextEndsAtTheFirstNul)
{
    EXPECT_EQ(SplitCaptionLines(Bytes("A\0B", 3)), (TLines{"A"}));
    EXPECT_EQ(SplitCaptionLines(Bytes("A\r\n\0B\r\n", 7)), (TLines{"A"}));
    EXPECT_EQ(SplitCaptionLines(Bytes("\0A", 2)), TLines{});
    // The NUL cuts the pair: the CR before it is a break of its own.
    EXPECT_EQ(SplitCaptionLines(Bytes("A\r\0\nB", 5)), (TLines{"A"}));
}

TEST(SplitCaptionLines, NothingIsTrimmedOrChecked)
{
    EXPECT_EQ(SplitCaptionLines("  Lead\r\nTrail \r\nA&B\r\n\t\r\n\xE9t\xE9"),
              (TLines{"  Lead", "Trail ", "A&B", "\t", "\xE9t\xE9"}));
}

TEST(JoinCaptionLines, CrLfAfterEveryCaption)
{
    EXPECT_EQ(JoinCaptionLines({"File", "Edit"}), "File\r\nEdit\r\n");
    EXPECT_EQ(JoinCaptionLines({"", "A"}), "\r\nA\r\n");
    EXPECT_EQ(JoinCaptionLines({}), "");
    EXPECT_EQ(SplitCaptionLines(JoinCaptionLines({"", " x ", "", "A&B"})),
              (TLines{"", " x ", "", "A&B"}));
}

TEST(SystemErrorText, DropsTrailingBlanksControlsAndPeriods)
{
    EXPECT_EQ(SystemErrorText(ENOENT), "No such file or directory");
    EXPECT_EQ(SystemErrorText(EISDIR), "Is a directory");
}

TEST_F(ListFileTest, ReadsTheFileByTheLineRules)
{
    const std::string path = PathOf("menu.lst");
    WriteBytes(path, Bytes("A\n\rB\0C\r\n", 8));
    EXPECT_EQ(ReadCaptionFile(path), (TLines{"A", "", "B"}));
    WriteBytes(path, "");
    EXPECT_EQ(ReadCaptionFile(path), TLines{});
}

TEST_F(ListFileTest, ReadsALargeFileWhole)
{
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "Caption " + std::to_string(i) + "\r\n";
    const std::string path = PathOf("big.lst");
    WriteBytes(path, text);
    const TLines lines = ReadCaptionFile(path);
    ASSERT_EQ(lines.size(), 100000u);
    EXPECT_EQ(lines.back(), "Caption 99999");
}

TEST_F(ListFileTest, WritesExactlyTwelveBytesForFileAndEdit)
{
    const std::string path = PathOf("menu.lst");
    WriteCaptionFile(path, {"File", "Edit"});
    EXPECT_EQ(ReadBytes(path), "File\r\nEdit\r\n");
}

TEST_F(ListFileTest, WritingReplacesTheWholeOldContent)
{
    const std::string path = PathOf("menu.lst");
    WriteBytes(path, "A much longer old content\r\nwith two lines\r\n");
    WriteCaptionFile(path, {"X"});
    EXPECT_EQ(ReadBytes(path), "X\r\n");
    WriteCaptionFile(path, {});
    EXPECT_EQ(ReadBytes(path), "");
    EXPECT_EQ(QDir(FDir.path()).entryList(QDir::Files), QStringList{"menu.lst"});
}

TEST_F(ListFileTest, WrittenBytesComeBackUnchanged)
{
    const TLines captions = {" Lead", "Trail ", "", "A&B", "\xE9\xFF", "\t"};
    const std::vector<std::string_view> views(captions.begin(), captions.end());
    const std::string path = PathOf("menu.lst");
    WriteCaptionFile(path, views);
    EXPECT_EQ(ReadCaptionFile(path), captions);
}

TEST_F(ListFileTest, MissingFileCannotBeOpened)
{
    const std::string path = PathOf("missing.lst");
    EXPECT_EQ(ErrorOf([&] { ReadCaptionFile(path); }),
              "Cannot open file \"" + path + "\". No such file or directory");
}

TEST_F(ListFileTest, FolderCannotBeOpenedAsAFile)
{
    const std::string path = FDir.path().toStdString();
    EXPECT_EQ(ErrorOf([&] { ReadCaptionFile(path); }),
              "Cannot open file \"" + path + "\". Is a directory");
}

TEST_F(ListFileTest, FolderInTheWayCannotBeCreatedAndKeepsItsContent)
{
    ASSERT_TRUE(QDir(FDir.path()).mkdir("menu.lst"));
    const std::string path = PathOf("menu.lst");
    const std::string inside = path + "/kept.lst";
    WriteBytes(inside, "Kept\r\n");
    EXPECT_EQ(ErrorOf([&] { WriteCaptionFile(path, {"File"}); }),
              "Cannot create file \"" + path + "\". Is a directory");
    EXPECT_EQ(ReadBytes(inside), "Kept\r\n");
    EXPECT_EQ(QDir(FDir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"menu.lst"});
}

TEST_F(ListFileTest, MissingFolderCannotBeCreated)
{
    const std::string path = PathOf("nowhere/menu.lst");
    EXPECT_EQ(ErrorOf([&] { WriteCaptionFile(path, {"File"}); }),
              "Cannot create file \"" + path + "\". No such file or directory");
}

} // namespace
