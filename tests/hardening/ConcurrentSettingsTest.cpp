// Several applications of the family write their own sections of the one settings file at the
// same time, as separate processes, and some of them die while doing it.
#include "ProfileStore.h"
#include "QuarnelError.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Lines of applications that are not running in this test; odd terminators and a line that is
// neither section nor key included, since all of it belongs to somebody.
const std::string Foreign = "; shared by the family\r\n"
                            "[Other Tool Window]\r\n"
                            "Left = 3\n"
                            "Top=\"  5 \"\r"
                            "[Other Tool Folders]\r\n"
                            "Open=/home/user/lists\r\n"
                            "\r\n";

std::string SectionOf(int writer)
{
    return "Writer" + std::to_string(writer) + " Settings";
}

// Far longer than any one live writer holds the lock here, far shorter than a writer spends
// queueing behind all the others: only the former may make a write give up.
constexpr std::chrono::milliseconds HolderWait = 1s;

// One write of a writer's: a key of its own for this write and the number of the last write,
// in a single update, so that a lost update shows as a missing key or a stale "Last".
void WriteOnce(const std::string& path, int writer, int write, std::chrono::milliseconds wait)
{
    UpdateProfile(
        path,
        [writer, write](TProfileFile& profile) {
            profile.WriteString(SectionOf(writer), "Write" + std::to_string(write),
                                std::to_string(write * 7 + writer));
            profile.WriteString(SectionOf(writer), "Last", std::to_string(write));
        },
        wait);
}

// Runs in a forked child and never returns into the test: the exit status is the outcome.
[[noreturn]] void RunWriter(const std::string& path, int writer, int writes,
                            std::chrono::milliseconds wait)
{
    int status = 0;
    try {
        for (int write = 0; write < writes; ++write)
            WriteOnce(path, writer, write, wait);
    } catch (const EQuarnelError&) {
        status = 1;
    }
    std::_Exit(status);
}

pid_t StartWriter(const std::string& path, int writer, int writes,
                  std::chrono::milliseconds wait = HolderWait)
{
    const pid_t child = ::fork();
    if (child == 0)
        RunWriter(path, writer, writes, wait);
    return child;
}

int ExitStatusOf(pid_t child)
{
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Whatever a writer managed: its writes 0..last all there with their values, none after.
void ExpectWritesUpTo(const TProfileFile& profile, int writer, int last, int writes)
{
    SCOPED_TRACE(SectionOf(writer));
    EXPECT_EQ(profile.ReadString(SectionOf(writer), "Last"), std::to_string(last));
    int wrong = 0;
    for (int write = 0; write < writes; ++write) {
        const auto value = profile.ReadString(SectionOf(writer), "Write" + std::to_string(write));
        const bool expected = write <= last;
        if (value.has_value() != expected ||
            (expected && *value != std::to_string(write * 7 + writer)))
            ++wrong;
    }
    EXPECT_EQ(wrong, 0);
}

// Waits for the writers numbered 0 up, started on path with `writes` writes each: every one
// must end with no write refused and have all its writes in the file, its new sections after
// everything that was there, which stays byte for byte. Returns the file as read then.
TProfileFile ExpectEveryWriterDone(const std::string& path, const std::vector<pid_t>& children,
                                   int writes)
{
    for (std::size_t i = 0; i < children.size(); ++i)
        EXPECT_EQ(ExitStatusOf(children[i]), 0) << "writer " << i << " had a write refused";

    EXPECT_TRUE(ReadBytes(path).starts_with(Foreign));
    TProfileFile profile = ReadProfile(path);
    for (int writer = 0; writer < static_cast<int>(children.size()); ++writer)
        ExpectWritesUpTo(profile, writer, writes - 1, writes);
    return profile;
}

class hardening_ConcurrentSettings : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(FDir.isValid()); }

    std::string PathOf(const char* name) const { return FDir.filePath(name).toStdString(); }

    // In memory where there is such a place: the test is about the lock, not the disk, and
    // every save syncs the file, which on a busy disk would make the rounds crawl.
    static QString Scratch()
    {
        const QString memory = QStringLiteral("/dev/shm");
        const QString base = QFileInfo(memory).isWritable() ? memory : QDir::tempPath();
        return base + QStringLiteral("/quarnel-settings-XXXXXX");
    }

    QTemporaryDir FDir{Scratch()};
};

TEST_F(hardening_ConcurrentSettings, EightWritersLoseNothing)
{
    constexpr int Writers = 8;
    constexpr int Writes = 100;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string path = PathOf(("round" + std::to_string(round) + ".ini").c_str());
        WriteBytes(path, Foreign);

        std::vector<pid_t> children;
        for (int writer = 0; writer < Writers; ++writer) {
            children.push_back(StartWriter(path, writer, Writes));
            ASSERT_GT(children.back(), 0);
        }
        ExpectEveryWriterDone(path, children, Writes);
        EXPECT_FALSE(fs::exists(path + ".lock"));
    }
}

TEST_F(hardening_ConcurrentSettings, WriterKilledMidWayLeavesAWholeFileAndNoBlockingLock)
{
    constexpr int Writers = 4;
    constexpr int Writes = 60;
    constexpr int Doomed = Writers; // one more writer, killed while the others run
    const std::string path = PathOf("QuarnelApps.ini");
    WriteBytes(path, Foreign);

    // Killed between creating the lock file and writing its owner into it, a writer leaves a
    // lock nobody can tell from a live one until it has aged: the full wait covers that.
    std::vector<pid_t> children;
    for (int writer = 0; writer < Writers; ++writer)
        children.push_back(StartWriter(path, writer, Writes, ProfileLockWait));
    const pid_t doomed = StartWriter(path, Doomed, 1000000, ProfileLockWait);
    ASSERT_GT(doomed, 0);
    // Wait until it has written a few times, so that it dies in the middle of its work,
    // possibly holding the lock or with a save half done.
    while (true) {
        const auto last = ReadProfile(path).ReadString(SectionOf(Doomed), "Last");
        if (last && std::stoi(*last) >= 5)
            break;
        int status = 0;
        ASSERT_EQ(::waitpid(doomed, &status, WNOHANG), 0) << "the writer to be killed stopped";
        std::this_thread::sleep_for(1ms);
    }
    ::kill(doomed, SIGKILL);
    EXPECT_EQ(ExitStatusOf(doomed), 128 + SIGKILL);

    const TProfileFile profile = ExpectEveryWriterDone(path, children, Writes);
    const auto last = profile.ReadString(SectionOf(Doomed), "Last");
    ASSERT_TRUE(last.has_value());
    ExpectWritesUpTo(profile, Doomed, std::stoi(*last), std::stoi(*last) + 2);

    // And the next writer gets in, whatever the dead one left behind.
    UpdateProfile(
        path, [](TProfileFile& profile) { profile.WriteString("After", "Key", "1"); }, 0ms);
    EXPECT_EQ(ReadProfile(path).ReadString("After", "Key"), "1");
}

// The lock file of a writer that was killed while holding it names a process that no longer
// exists; such a lock is taken over at once rather than after the wait for a live writer.
TEST_F(hardening_ConcurrentSettings, LockOfADeadProcessIsTakenOverAtOnce)
{
    const pid_t gone = ::fork();
    ASSERT_GE(gone, 0);
    if (gone == 0)
        std::_Exit(0);
    ASSERT_EQ(ExitStatusOf(gone), 0);

    const std::string path = PathOf("QuarnelApps.ini");
    WriteBytes(path, Foreign);
    const std::string lock = path + ".lock";
    std::ofstream(lock, std::ios::binary) << gone << "\nquarnel\n"
                                          << QSysInfo::machineHostName().toStdString() << '\n'
                                          << QSysInfo::machineUniqueId().toStdString() << '\n'
                                          << QSysInfo::bootUniqueId().toStdString() << '\n';

    UpdateProfile(
        path,
        [](TProfileFile& profile) { profile.WriteString("Quarnel Settings", "AccCode", "38"); },
        0ms);
    EXPECT_EQ(ReadProfile(path).ReadString("Quarnel Settings", "AccCode"), "38");
    EXPECT_TRUE(ReadBytes(path).starts_with(Foreign));
    EXPECT_FALSE(fs::exists(lock));

    // A lock held by a live writer, in contrast, is respected.
    QLockFile live(QString::fromStdString(lock));
    ASSERT_TRUE(live.tryLock());
    EXPECT_THROW(UpdateProfile(
                     path,
                     [](TProfileFile& profile) {
                         profile.WriteString("Quarnel Settings", "AccCode", "126");
                     },
                     0ms),
                 EQuarnelError);
    EXPECT_EQ(ReadProfile(path).ReadString("Quarnel Settings", "AccCode"), "38");
}

} // namespace
