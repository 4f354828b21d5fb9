// Saving a list where a save can go wrong: captions the file cannot carry, something other than
// a file at the chosen name, a folder we may not write, a file that belongs to someone else.
// Whatever fails leaves the old file and the document as they were.
#include "CaptionDocument.h"
#include "CaptionLists.h"
#include "DisplayText.h"
#include "ProcessGuards.h"
#include "QuarnelError.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class hardening_HostileSave : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        FSaved = PathOf("saved.lst");
        WriteBytes(FSaved, "Old\r\n");
        FDocument.LoadCaptionFile(FSaved);
        FDocument.AddCaption("File");
    }

    std::string PathOf(const std::string& name) const
    {
        return FDir.path().toStdString() + '/' + name;
    }

    // The in-place editor's way into the document, which takes the text as it comes.
    void EditCaption(int row, const QString& text)
    {
        TEntryModel& model = FDocument.Model();
        ASSERT_TRUE(model.setData(model.index(row, TEntryModel::ColOriginal), text, Qt::EditRole));
    }

    void ExpectRefusedSave(const std::string& path, const std::string& message)
    {
        SCOPED_TRACE(path);
        const TLines before = OriginalsOf(FDocument);
        try {
            FDocument.SaveCaptionFile(path);
            ADD_FAILURE() << "the save did not fail";
        } catch (const EQuarnelError& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
        EXPECT_EQ(OriginalsOf(FDocument), before);
        EXPECT_EQ(FDocument.FileName(), FSaved);
        EXPECT_TRUE(FDocument.Modified());
    }

    QTemporaryDir FDir;
    std::string FSaved;
    TCaptionDocument FDocument;
};

TEST_F(hardening_HostileSave, CaptionsTheFileCannotCarryAreRefusedBeforeAnythingIsWritten)
{
    const std::string other = PathOf("other.lst");
    for (const QString& text :
         {QStringLiteral("Line1\nLine2"), QStringLiteral("A\rB"), QString::fromUtf8("A\0B", 3)}) {
        EditCaption(1, text);
        ExpectRefusedSave(FSaved, "Caption 2 cannot be saved: a list file cannot hold a line "
                                  "break or a NUL byte.");
        ExpectRefusedSave(other, "Caption 2 cannot be saved: a list file cannot hold a line "
                                 "break or a NUL byte.");
        EXPECT_EQ(ReadBytes(FSaved), "Old\r\n");
        EXPECT_FALSE(fs::exists(other));
    }
}

TEST_F(hardening_HostileSave, SaveOntoADeviceOrFifoIsRefusedAndLeavesItAsItWas)
{
    const std::string fifo = PathOf("fifo.lst");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string toNull = PathOf("null.lst");
    fs::create_symlink("/dev/null", toNull);
    for (const std::string& path : {fifo, toNull, std::string("/dev/null")})
        ExpectRefusedSave(path, "Cannot create file \"" + path + "\". Invalid argument");
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_symlink(toNull));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(hardening_HostileSave, SavedListKeepsItsOwner)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root may write a file that belongs to another user";
    ASSERT_EQ(::chown(FSaved.c_str(), NobodyId, NobodyId), 0);
    FDocument.SaveCaptionFile(FSaved);
    struct stat info = {};
    ASSERT_EQ(::stat(FSaved.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, NobodyId);
    EXPECT_EQ(info.st_gid, NobodyId);
    EXPECT_EQ(ReadBytes(FSaved), "Old\r\nFile\r\n");
}

TEST_F(hardening_HostileSave, ListInAFolderWeCannotWriteIsSavedInPlace)
{
    const std::string folder = PathOf("shared");
    ASSERT_TRUE(fs::create_directory(folder));
    const std::string path = folder + "/menu.lst";
    WriteBytes(path, "Old\r\n");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chmod(FDir.path().toLocal8Bit().constData(), 0755), 0);
        ASSERT_EQ(::chown(folder.c_str(), NobodyId, NobodyId), 0);
        ASSERT_EQ(::chown(path.c_str(), NobodyId, NobodyId), 0);
    }
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    // 0: saved; 1: refused.
    const int status = RunUnprivileged([this, &path] {
        try {
            FDocument.SaveCaptionFile(path);
            return 0;
        } catch (const EQuarnelError&) {
            return 1;
        }
    });
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadBytes(path), "Old\r\nFile\r\n");
}

TEST_F(hardening_HostileSave, HugeCaptionShowsItsBeginningAndKeepsEveryByte)
{
    // A multi-byte character across the cut is left out whole, not split.
    std::string caption(MaxShownCaptionBytes - 1, 'a');
    caption += "\xc3\xa9";
    caption += std::string(1000000, 'b');
    EditCaption(1, QString::fromStdString(caption));
    const QModelIndex cell = FDocument.Model().index(1, TEntryModel::ColOriginal);
    EXPECT_EQ(cell.data(Qt::DisplayRole).toString(),
              QString(static_cast<qsizetype>(MaxShownCaptionBytes - 1), u'a'));
    EXPECT_EQ(cell.data(Qt::EditRole).toString().toStdString(), caption);
    FDocument.SaveCaptionFile(FSaved);
    EXPECT_EQ(ReadBytes(FSaved), "Old\r\n" + caption + "\r\n");
}

} // namespace
