// Replacing a file: the new bytes land whole or the old file stays, and what stands at the path
// keeps its kind, permissions and owner.
#include "AtomicFile.h"

#include "ProcessGuards.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class fileio_AtomicFile : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(FDir.isValid()); }

    std::string PathOf(const std::string& name) const
    {
        return FDir.path().toStdString() + '/' + name;
    }

    QStringList Entries() const
    {
        return QDir(FDir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    }

    static void ExpectFailure(const std::optional<RReplaceFailure>& failure,
                              RReplaceFailure::EStep step, int errorNumber)
    {
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->Step, step);
        EXPECT_EQ(failure->ErrorNumber, errorNumber) << failure->Reason();
    }

    QTemporaryDir FDir;
};

TEST_F(fileio_AtomicFile, NewContentsReplaceTheOldWholeAndLeaveNothingBeside)
{
    const std::string path = PathOf("menu.lst");
    EXPECT_FALSE(ReplaceFile(path, std::string("A\0B", 3)));
    EXPECT_EQ(ReadBytes(path), std::string("A\0B", 3));
    WriteBytes(path, std::string(10000, 'x'));
    EXPECT_FALSE(ReplaceFile(path, "short"));
    EXPECT_EQ(ReadBytes(path), "short");
    EXPECT_FALSE(ReplaceFile(path, ""));
    EXPECT_EQ(ReadBytes(path), "");
    EXPECT_EQ(Entries(), QStringList{"menu.lst"});
}

TEST_F(fileio_AtomicFile, FailedWriteLeavesTheOldFileAsItWas)
{
    const std::string path = PathOf("menu.lst");
    WriteBytes(path, "old\r\n");
    // A small excess fails only when the last bytes go out, a large one at once.
    for (const std::size_t size : {5000, 1000000}) {
        {
            const TFileSizeLimit limit(4096);
            ASSERT_TRUE(limit.Active());
            ExpectFailure(ReplaceFile(path, std::string(size, 'n')), RReplaceFailure::EStep::Write,
                          EFBIG);
        }
        EXPECT_EQ(ReadBytes(path), "old\r\n");
        EXPECT_EQ(Entries(), QStringList{"menu.lst"});
    }

    const std::string nowhere = PathOf("no folder/menu.lst");
    ExpectFailure(ReplaceFile(nowhere, "x"), RReplaceFailure::EStep::Create, ENOENT);
}

TEST_F(fileio_AtomicFile, OnlyRegularFilesAndLinksToThemAreReplaced)
{
    const std::string folder = PathOf("folder");
    ASSERT_TRUE(fs::create_directory(folder));
    ExpectFailure(ReplaceFile(folder, "x"), RReplaceFailure::EStep::Create, EISDIR);

    const std::string fifo = PathOf("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string toFifo = PathOf("to-fifo");
    fs::create_symlink(fifo, toFifo);
    const std::string toNull = PathOf("to-null");
    fs::create_symlink("/dev/null", toNull);
    for (const std::string& path : {fifo, toFifo, toNull, std::string("/dev/null")}) {
        SCOPED_TRACE(path);
        ExpectFailure(ReplaceFile(path, "x"), RReplaceFailure::EStep::Create, EINVAL);
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(fs::is_symlink(toNull));

    // A link to a regular file stays a link; the file it leads to gets the bytes.
    const std::string target = PathOf("target.lst");
    WriteBytes(target, "old");
    const std::string link = PathOf("link.lst");
    fs::create_symlink(target, link);
    EXPECT_FALSE(ReplaceFile(link, "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), "new");
}

TEST_F(fileio_AtomicFile, NameThatIsNoTextIsRefusedRatherThanSavedUnderAnother)
{
    const std::string path = PathOf("menu\xff.lst");
    ExpectFailure(ReplaceFile(path, "x"), RReplaceFailure::EStep::Create, EILSEQ);
    EXPECT_TRUE(Entries().isEmpty());
}

TEST_F(fileio_AtomicFile, ReplacedFileKeepsItsPermissionsAndOwner)
{
    const std::string path = PathOf("menu.lst");
    WriteBytes(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0604), 0);
    ASSERT_FALSE(ReplaceFile(path, "new"));
    struct stat info = {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604u);

    if (::geteuid() != 0)
        GTEST_SKIP() << "only root may give a file to another user";
    ASSERT_EQ(::chown(path.c_str(), NobodyId, NobodyId), 0);
    ASSERT_FALSE(ReplaceFile(path, "newer"));
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, NobodyId);
    EXPECT_EQ(info.st_gid, NobodyId);
    EXPECT_EQ(ReadBytes(path), "newer");
}

TEST_F(fileio_AtomicFile, WritableFileInAFolderWeCannotWriteIsOverwrittenInPlace)
{
    const std::string folder = PathOf("locked");
    ASSERT_TRUE(fs::create_directory(folder));
    const std::string path = folder + "/menu.lst";
    WriteBytes(path, "old");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chmod(FDir.path().toLocal8Bit().constData(), 0755), 0);
        ASSERT_EQ(::chown(folder.c_str(), NobodyId, NobodyId), 0);
        ASSERT_EQ(::chown(path.c_str(), NobodyId, NobodyId), 0);
    }
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);

    // 0: replaced; 1: the new file was refused as it must be; 2 and up: what went wrong.
    const int inPlace = RunUnprivileged([&path] {
        if (ReplaceFile(path, "new"))
            return 2;
        return ReadBytes(path) == "new" ? 0 : 3;
    });
    const int created = RunUnprivileged([&folder] {
        const auto failure = ReplaceFile(folder + "/other.lst", "new");
        return failure && failure->Step == RReplaceFailure::EStep::Create &&
                       failure->ErrorNumber == EACCES
                   ? 1
                   : 2;
    });
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(inPlace, 0);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(QDir(QString::fromStdString(folder)).entryList(QDir::Files), QStringList{"menu.lst"});
}

} // namespace
