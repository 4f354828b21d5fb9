#include "ProfileStore.h"

#include "ProcessGuards.h"
#include "QuarnelError.h"
#include "TestFiles.h"

#include <QLockFile>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Settings shared with other applications: nothing of this may change when we write ours.
const std::string OtherApps = "; hand-written note\n"
                              "[Other Tool Window]\r\n"
                              "Left = 3\r"
                              "\n"
                              "[Other Tool Settings]\n"
                              "Flag=\"on\"";

class ProfileStoreFixture : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(FDir.isValid()); }

    std::string PathOf(const char* name) const { return FDir.filePath(name).toStdString(); }

    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(FDir.path().toStdString())) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    static void ExpectRefused(const std::string& path, const std::function<void()>& action)
    {
        try {
            action();
            ADD_FAILURE() << "the write to " << path << " was not refused";
        } catch (const EQuarnelError& error) {
            EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
        }
    }

    QTemporaryDir FDir;
};

// Named so that the suite can be picked out of the whole project's tests by library name.
using quarnelapps_ProfileStore = ProfileStoreFixture;

} // namespace

TEST_F(quarnelapps_ProfileStore, ReadingNeverFails)
{
    EXPECT_EQ(ReadProfile(PathOf("missing.ini")).ToBytes(), "");
    EXPECT_EQ(ReadProfile(FDir.path().toStdString()).ToBytes(), "");

    const std::string path = PathOf("QuarnelApps.ini");
    WriteBytes(path, OtherApps + "\n[Quarnel View]\nColumn0=99\n");
    const TProfileFile profile = ReadProfile(path);
    EXPECT_EQ(profile.ReadString("quarnel view", "column0"), "99");
    EXPECT_EQ(profile.ToBytes(), OtherApps + "\n[Quarnel View]\nColumn0=99\n");
}

TEST_F(quarnelapps_ProfileStore, UpdateKeepsOtherApplicationsSettings)
{
    const std::string path = PathOf("QuarnelApps.ini");
    WriteBytes(path, OtherApps);
    UpdateProfile(path, [](TProfileFile& profile) {
        profile.EraseSection("Quarnel Window");
        profile.WriteString("Quarnel Window", "Left", "192");
        profile.WriteString("Quarnel Window", "Top", "107");
    });
    EXPECT_EQ(ReadBytes(path), OtherApps + "\r\n[Quarnel Window]\r\nLeft=192\r\nTop=107\r\n");
    // Neither the lock file nor a temporary copy is left behind.
    EXPECT_EQ(Entries(), std::vector<std::string>{"QuarnelApps.ini"});

    UpdateProfile(path, [](TProfileFile& profile) { profile.EraseSection("Quarnel Window"); });
    EXPECT_EQ(ReadBytes(path), OtherApps + "\r\n");
}

TEST_F(quarnelapps_ProfileStore, UpdateCreatesTheFileOnlyWhenThereIsSomethingToWrite)
{
    const std::string path = PathOf("QuarnelApps.ini");
    UpdateProfile(path, [](TProfileFile& profile) { profile.EraseSection("Quarnel View"); });
    EXPECT_FALSE(fs::exists(path));

    UpdateProfile(path, [](TProfileFile& profile) {
        profile.WriteString("Quarnel Settings", "AccCode", "38");
    });
    EXPECT_EQ(ReadBytes(path), "[Quarnel Settings]\r\nAccCode=38\r\n");
}

TEST_F(quarnelapps_ProfileStore, UnchangedContentsAreNotRewritten)
{
    const std::string path = PathOf("QuarnelApps.ini");
    const std::string original = OtherApps + "\n[Quarnel Settings]\nAccCode=38\n";
    WriteBytes(path, original);
    const auto past = fs::last_write_time(path) - 24h;
    fs::last_write_time(path, past);

    UpdateProfile(path, [](TProfileFile& profile) {
        profile.WriteString("Quarnel Settings", "AccCode", "38");
        profile.EraseSection("Quarnel Folders");
    });
    EXPECT_EQ(fs::last_write_time(path), past);
    EXPECT_EQ(ReadBytes(path), original);
}

TEST_F(quarnelapps_ProfileStore, RefusedWritesLeaveTheOldFileIntact)
{
    const std::string path = PathOf("QuarnelApps.ini");
    const std::string original = OtherApps + "\n[Quarnel View]\nColumn0=120\n";
    WriteBytes(path, original);
    // Below the new contents, far above what the lock file needs. A small excess fails only
    // when buffered bytes are flushed, a large one already while writing.
    for (const std::size_t valueSize : {5000, 100000}) {
        {
            const TFileSizeLimit limit(4096);
            ExpectRefused(path, [&path, valueSize] {
                UpdateProfile(path, [valueSize](TProfileFile& profile) {
                    profile.WriteString("Quarnel Folders", "Open", std::string(valueSize, 'd'));
                });
            });
        }
        EXPECT_EQ(ReadBytes(path), original);
        EXPECT_EQ(Entries(), std::vector<std::string>{"QuarnelApps.ini"});
    }

    // A value that would break the file into extra lines is refused the same way.
    ExpectRefused(path, [&path] {
        UpdateProfile(path, [](TProfileFile& profile) {
            profile.WriteString("Quarnel Folders", "Open", "/x\r\n[Other Tool Settings]");
        });
    });
    EXPECT_EQ(ReadBytes(path), original);
}

TEST_F(quarnelapps_ProfileStore, SomethingElseInThePlaceOfTheFileIsNeverReplaced)
{
    const std::string path = PathOf("QuarnelApps.ini");
    fs::create_directory(path);
    WriteBytes(path + "/inside", "kept");
    ExpectRefused(path, [&path] {
        UpdateProfile(path, [](TProfileFile& profile) { profile.WriteString("S", "k", "v"); });
    });
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(ReadBytes(path + "/inside"), "kept");

    const std::string nowhere = PathOf("no such folder/QuarnelApps.ini");
    ExpectRefused(nowhere, [&nowhere] {
        UpdateProfile(nowhere, [](TProfileFile& profile) { profile.WriteString("S", "k", "v"); });
    });
}

TEST_F(quarnelapps_ProfileStore, ErrorsOfTheEditPassThroughAndReleaseTheLock)
{
    const std::string path = PathOf("QuarnelApps.ini");
    WriteBytes(path, OtherApps);
    const auto failingEdit = [](TProfileFile& profile) {
        profile.WriteString("Quarnel Window", "Left", "1");
        throw EQuarnelError("edit failed");
    };
    try {
        UpdateProfile(path, failingEdit);
        ADD_FAILURE() << "the edit's error was swallowed";
    } catch (const EQuarnelError& error) {
        EXPECT_STREQ(error.what(), "edit failed");
    }
    EXPECT_EQ(ReadBytes(path), OtherApps);

    UpdateProfile(
        path, [](TProfileFile& profile) { profile.WriteString("Quarnel Window", "Left", "2"); },
        100ms);
    EXPECT_EQ(ReadProfile(path).ReadString("Quarnel Window", "Left"), "2");
}

TEST_F(quarnelapps_ProfileStore, LiveLockMakesTheWriteFailAfterTheWait)
{
    const std::string path = PathOf("QuarnelApps.ini");
    WriteBytes(path, OtherApps);
    QLockFile holder(QString::fromStdString(path + ".lock"));
    ASSERT_TRUE(holder.tryLock());

    bool edited = false;
    const auto start = std::chrono::steady_clock::now();
    ExpectRefused(path, [&] {
        UpdateProfile(
            path, [&edited](TProfileFile&) { edited = true; }, 300ms);
    });
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    EXPECT_FALSE(edited);
    EXPECT_EQ(ReadBytes(path), OtherApps);
}

TEST_F(quarnelapps_ProfileStore, StaleLocksDoNotBlockForever)
{
    const std::string path = PathOf("QuarnelApps.ini");
    const std::string lockPath = path + ".lock";

    // Left by a process killed while holding it.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile lock(QString::fromStdString(lockPath));
        lock.lock();
        std::raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(fs::exists(lockPath));
    UpdateProfile(
        path, [](TProfileFile& profile) { profile.WriteString("S", "k", "1"); }, 2s);
    EXPECT_EQ(ReadProfile(path).ReadString("S", "k"), "1");

    // Of unknown origin and untouched for longer than any writer holds the lock.
    WriteBytes(lockPath, "not a lock we know\n");
    fs::last_write_time(lockPath, fs::file_time_type::clock::now() - 10s);
    UpdateProfile(
        path, [](TProfileFile& profile) { profile.WriteString("S", "k", "2"); }, 2s);
    EXPECT_EQ(ReadProfile(path).ReadString("S", "k"), "2");
    EXPECT_FALSE(fs::exists(lockPath));
}

TEST_F(quarnelapps_ProfileStore, ConcurrentWritersLoseNoUpdate)
{
    const std::string path = PathOf("QuarnelApps.ini");
    constexpr int Writers = 4;
    constexpr int KeysPerWriter = 25;
    std::atomic<int> failures = 0;
    {
        std::vector<std::jthread> writers;
        for (int w = 0; w < Writers; ++w) {
            writers.emplace_back([&path, &failures, w] {
                for (int k = 0; k < KeysPerWriter; ++k) {
                    try {
                        UpdateProfile(path, [w, k](TProfileFile& profile) {
                            profile.WriteString("Writer" + std::to_string(w),
                                                "Key" + std::to_string(k), std::to_string(k));
                        });
                    } catch (const EQuarnelError&) {
                        ++failures;
                    }
                }
            });
        }
    }
    EXPECT_EQ(failures, 0);
    const TProfileFile profile = ReadProfile(path);
    for (int w = 0; w < Writers; ++w) {
        for (int k = 0; k < KeysPerWriter; ++k) {
            EXPECT_EQ(profile.ReadString("Writer" + std::to_string(w), "Key" + std::to_string(k)),
                      std::to_string(k));
        }
    }
}
