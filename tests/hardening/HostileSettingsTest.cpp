// Settings files in odd states: not a file at all, headed by a byte-order mark, owned by
// somebody else, or in a folder we may not write. Reads never hang, writes replace only a
// regular file and keep what they do not change.
#include "ProcessGuards.h"
#include "ProfileStore.h"
#include "QuarnelError.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void WriteOneValue(const std::string& path)
{
    UpdateProfile(path, [](TProfileFile& profile) {
        profile.WriteString("Quarnel Settings", "AccCode", "126");
    });
}

class hardening_HostileSettings : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(FDir.isValid()); }

    std::string PathOf(const std::string& name) const
    {
        return FDir.path().toStdString() + '/' + name;
    }

    static void ExpectRefusedWrite(const std::string& path)
    {
        SCOPED_TRACE(path);
        try {
            WriteOneValue(path);
            ADD_FAILURE() << "the write was not refused";
        } catch (const EQuarnelError& error) {
            EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
        }
    }

    QTemporaryDir FDir;
};

TEST_F(hardening_HostileSettings, ThingsThatAreNotFilesReadAsEmptyAndAreNeverReplaced)
{
    // A FIFO nobody writes to would hold the start in open(); /dev/zero would never end.
    const std::string fifo = PathOf("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string toZero = PathOf("zero.ini");
    fs::create_symlink("/dev/zero", toZero);
    const std::string toNull = PathOf("null.ini");
    fs::create_symlink("/dev/null", toNull);
    const std::string folder = PathOf("folder.ini");
    ASSERT_TRUE(fs::create_directory(folder));

    ::alarm(60); // a hang fails the run instead of stalling it
    for (const std::string& path : {fifo, toZero, toNull, folder}) {
        EXPECT_FALSE(ReadProfile(path).ReadString("Quarnel Settings", "AccCode")) << path;
        ExpectRefusedWrite(path);
    }
    ::alarm(0);
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_symlink(toNull));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(hardening_HostileSettings, ByteOrderMarkDoesNotHideTheFirstSection)
{
    const std::string path = PathOf("QuarnelApps.ini");
    const std::string bom = "\xEF\xBB\xBF";
    WriteBytes(path, bom + "[Quarnel Settings]\r\nAccCode=35\r\n[Other]\r\nx=1\r\n");
    EXPECT_EQ(ReadProfile(path).ReadString("Quarnel Settings", "AccCode"), "35");

    WriteOneValue(path);
    EXPECT_EQ(ReadBytes(path), bom + "[Quarnel Settings]\r\nAccCode=126\r\n[Other]\r\nx=1\r\n");
}

TEST_F(hardening_HostileSettings, ReplacedFileKeepsItsOwner)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root may write a file that belongs to another user";
    const std::string path = PathOf("QuarnelApps.ini");
    WriteBytes(path, "[Other]\r\nx=1\r\n");
    ASSERT_EQ(::chown(path.c_str(), NobodyId, NobodyId), 0);
    WriteOneValue(path);
    struct stat info = {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, NobodyId);
    EXPECT_EQ(info.st_gid, NobodyId);
    EXPECT_EQ(ReadProfile(path).ReadString("Quarnel Settings", "AccCode"), "126");
}

TEST_F(hardening_HostileSettings, WritableFileInAFolderWeCannotWriteIsUpdatedInPlace)
{
    const std::string folder = PathOf("windows");
    ASSERT_TRUE(fs::create_directory(folder));
    const std::string path = folder + "/QuarnelApps.ini";
    WriteBytes(path, "[Other]\r\nx=1\r\n");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chmod(FDir.path().toLocal8Bit().constData(), 0755), 0);
        ASSERT_EQ(::chown(folder.c_str(), NobodyId, NobodyId), 0);
        ASSERT_EQ(::chown(path.c_str(), NobodyId, NobodyId), 0);
    }
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    // 0: written; 1: refused; 2: another error.
    const int status = RunUnprivileged([&path] {
        try {
            WriteOneValue(path);
            return 0;
        } catch (const EQuarnelError&) {
            return 1;
        } catch (...) {
            return 2;
        }
    });
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadBytes(path), "[Other]\r\nx=1\r\n[Quarnel Settings]\r\nAccCode=126\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

} // namespace
