// The document around its file: loading, saving, failures that must change nothing, and the
// results of a pass.
#include "CaptionDocument.h"

#include "CaptionLists.h"
#include "Engine.h"
#include "ProcessGuards.h"
#include "QuarnelError.h"
#include "QuietHost.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class CaptionDocumentTest : public testing::Test
{
protected:
    std::string PathOf(const char* name) const { return FDir.filePath(name).toStdString(); }

    TLines Originals() const { return OriginalsOf(FDocument); }

    TLines Accelerated() const
    {
        TLines lines;
        for (const TEntry& entry : FDocument.Model().Entries())
            lines.push_back(entry.Accelerated + "|" + entry.KeyText());
        return lines;
    }

    std::string ProcessError()
    {
        TQuietHost host;
        try {
            FDocument.Process(FEngine, host);
        } catch (const EQuarnelError& error) {
            return error.what();
        }
        return {};
    }

    QTemporaryDir FDir;
    TCaptionDocument FDocument;
    TAccEngine FEngine;
};

TEST_F(CaptionDocumentTest, StartsUntitledAndUnmodified)
{
    EXPECT_EQ(FDocument.FileName(), "Untitled.lst");
    EXPECT_FALSE(FDocument.Modified());
    EXPECT_EQ(FDocument.Count(), 0);
}

TEST_F(CaptionDocumentTest, LoadReplacesEntriesWithEmptyResults)
{
    FDocument.AddCaption("Old");
    ASSERT_EQ(ProcessError(), "");
    ASSERT_TRUE(FDocument.Modified());

    const std::string path = PathOf("menu.lst");
    WriteBytes(path, "File\r\n  Edit\r\nA&B\r\n\r\nView");
    FDocument.LoadCaptionFile(path);
    EXPECT_EQ(Originals(), (TLines{"File", "  Edit", "A&B", "", "View"}));
    EXPECT_EQ(Accelerated(), (TLines{"|", "|", "|", "|", "|"}));
    EXPECT_EQ(FDocument.FileName(), path);
    EXPECT_FALSE(FDocument.Modified());
}

TEST_F(CaptionDocumentTest, FailedLoadChangesNothing)
{
    FDocument.AddCaption("Kept");
    const std::string path = PathOf("missing.lst");
    try {
        FDocument.LoadCaptionFile(path);
        FAIL() << "loaded a missing file";
    } catch (const EQuarnelError& error) {
        EXPECT_STREQ(error.what(),
                     ("Cannot open file \"" + path + "\". No such file or directory").c_str());
    }
    EXPECT_EQ(Originals(), TLines{"Kept"});
    EXPECT_EQ(FDocument.FileName(), "Untitled.lst");
    EXPECT_TRUE(FDocument.Modified());
}

TEST_F(CaptionDocumentTest, SaveWritesOnlyOriginalsAndNamesTheDocument)
{
    FDocument.AddCaption("File");
    FDocument.AddCaption("Edit");
    ASSERT_EQ(ProcessError(), "");
    const std::string path = PathOf("menu.lst");
    FDocument.SaveCaptionFile(path);
    EXPECT_EQ(ReadBytes(path), "File\r\nEdit\r\n");
    EXPECT_EQ(FDocument.FileName(), path);
    EXPECT_FALSE(FDocument.Modified());
}

TEST_F(CaptionDocumentTest, SaveOverFolderChangesNothing)
{
    FDocument.AddCaption("File");
    ASSERT_TRUE(QDir(FDir.path()).mkdir("menu.lst"));
    const std::string path = PathOf("menu.lst");
    EXPECT_THROW(FDocument.SaveCaptionFile(path), EQuarnelError);
    EXPECT_EQ(FDocument.FileName(), "Untitled.lst");
    EXPECT_TRUE(FDocument.Modified());
    EXPECT_EQ(Originals(), TLines{"File"});
}

TEST_F(CaptionDocumentTest, FailedWriteKeepsOldFileAndDocument)
{
    const std::string path = PathOf("menu.lst");
    const std::string oldBytes = "Old\r\nList\r\n";
    WriteBytes(path, oldBytes);
    FDocument.LoadCaptionFile(path);
    FDocument.AddCaption("A caption long enough to pass the limit");
    ASSERT_EQ(ProcessError(), "");
    const TLines results = Accelerated();
    const std::string otherPath = PathOf("other.lst");
    WriteBytes(otherPath, oldBytes);

    for (const std::string& target : {path, otherPath}) {
        std::string error;
        {
            const TFileSizeLimit limit(5);
            ASSERT_TRUE(limit.Active());
            try {
                FDocument.SaveCaptionFile(target);
            } catch (const EQuarnelError& e) {
                error = e.what();
            }
        }
        EXPECT_EQ(error, "Stream write error") << target;
        EXPECT_EQ(ReadBytes(target), oldBytes) << target;
        EXPECT_EQ(FDocument.FileName(), path);
        EXPECT_TRUE(FDocument.Modified());
        EXPECT_EQ(Originals(), (TLines{"Old", "List", "A caption long enough to pass the limit"}));
        EXPECT_EQ(Accelerated(), results);
    }
    // No half-written temporary is left beside the list.
    EXPECT_EQ(QDir(FDir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{"menu.lst", "other.lst"}));

    // And with the disk free again the same save goes through.
    FDocument.SaveCaptionFile(path);
    EXPECT_EQ(ReadBytes(path), "Old\r\nList\r\nA caption long enough to pass the limit\r\n");
}

TEST_F(CaptionDocumentTest, ProcessWritesResultsButNeverModifies)
{
    const std::string path = PathOf("menu.lst");
    WriteBytes(path, "File\r\nEdit\r\nFormat\r\n");
    FDocument.LoadCaptionFile(path);
    ASSERT_EQ(ProcessError(), "");
    EXPECT_EQ(Accelerated(), (TLines{"&File|F", "&Edit|E", "F&ormat|O"}));
    EXPECT_FALSE(FDocument.Modified());
    EXPECT_EQ(Originals(), (TLines{"File", "Edit", "Format"}));
}

TEST_F(CaptionDocumentTest, FailedProcessKeepsEarlierResults)
{
    FDocument.AddCaption("Open");
    FDocument.AddCaption("Close");
    ASSERT_EQ(ProcessError(), "");
    const TLines before = Accelerated();
    EXPECT_EQ(before, (TLines{"&Open|O", "&Close|C"}));

    FDocument.AddCaption("...");
    EXPECT_EQ(ProcessError(), "Unable to get best captions combination.");
    EXPECT_EQ(Accelerated(), (TLines{"&Open|O", "&Close|C", "|"}));
}

TEST_F(CaptionDocumentTest, ProcessUsesTheEngineMarker)
{
    FEngine.FAccChar = '~';
    FDocument.AddCaption("A&B");
    ASSERT_EQ(ProcessError(), "");
    EXPECT_EQ(Accelerated(), TLines{"~A&B|A"});
}

TEST_F(CaptionDocumentTest, NewDocumentForgetsEverything)
{
    const std::string path = PathOf("menu.lst");
    WriteBytes(path, "File\r\n");
    FDocument.LoadCaptionFile(path);
    FDocument.AddCaption("Edit");
    FDocument.NewDocument();
    EXPECT_EQ(FDocument.Count(), 0);
    EXPECT_EQ(FDocument.FileName(), "Untitled.lst");
    EXPECT_FALSE(FDocument.Modified());
}

} // namespace
