// Caption list files nobody would write on purpose: huge, one endless line, binary, not text in
// any encoding, or not a file at all. Each must load as its bytes say or fail with the open
// message, never crash or hang, and never leave the document half replaced.
#include "CaptionDocument.h"
#include "CaptionLists.h"
#include "FileDescriptor.h"
#include "PeakMemory.h"
#include "QuarnelError.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t MiB = 1024 * 1024;

// Size of the large list: 200 MiB by default so that the suite stays quick; set
// QUARNEL_LARGE_LIST_MB to try other sizes by hand (the README quotes 1024).
std::int64_t LargeListBytes()
{
    const char* const text = std::getenv("QUARNEL_LARGE_LIST_MB");
    const long megabytes = text ? std::strtol(text, nullptr, 10) : 0;
    return (megabytes > 0 ? megabytes : 200) * MiB;
}

// A device or FIFO that a careless read would wait on forever; the alarm turns such a hang into
// a failed test instead of a stuck run.
class TWatchdog
{
public:
    explicit TWatchdog(unsigned seconds) { ::alarm(seconds); }
    ~TWatchdog() { ::alarm(0); }
    TWatchdog(const TWatchdog&) = delete;
    TWatchdog& operator=(const TWatchdog&) = delete;
};

class hardening_HostileListFile : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        // A document the user has worked on: loaded from a file, then edited.
        const std::string old = PathOf("old.lst");
        WriteBytes(old, "File\r\nEdit\r\n");
        FDocument.LoadCaptionFile(old);
        FDocument.AddCaption("View");
    }

    std::string PathOf(const char* name) const { return FDir.filePath(name).toStdString(); }

    TLines Originals() const { return OriginalsOf(FDocument); }

    // The load of path must fail with the open message, the reason being the system's text
    // (reason given) or at least text of that form, and the edited document must stay as it was.
    void ExpectRefusedLoad(const std::string& path, const std::optional<std::string>& reason = {})
    {
        SCOPED_TRACE(path);
        const TLines before = Originals();
        const std::string prefix = "Cannot open file \"" + path + "\". ";
        try {
            FDocument.LoadCaptionFile(path);
            ADD_FAILURE() << "the load did not fail";
        } catch (const EQuarnelError& error) {
            const std::string message = error.what();
            ASSERT_TRUE(message.starts_with(prefix)) << message;
            const std::string given = message.substr(prefix.size());
            if (reason) {
                EXPECT_EQ(given, *reason);
            } else {
                ASSERT_FALSE(given.empty());
                EXPECT_GT(static_cast<unsigned char>(given.back()), ' ') << message;
                EXPECT_NE(given.back(), '.') << message;
            }
        }
        EXPECT_EQ(Originals(), before);
        EXPECT_EQ(FDocument.FileName(), PathOf("old.lst"));
        EXPECT_TRUE(FDocument.Modified());
    }

    void ExpectLoaded(const std::string& path)
    {
        EXPECT_EQ(FDocument.FileName(), path);
        EXPECT_FALSE(FDocument.Modified());
    }

    QTemporaryDir FDir;
    TCaptionDocument FDocument;
};

// The captions of the large list, "Menu item 00000000" upward, counted in place so that
// writing and checking ten million of them stays cheap in a debug build too.
class TNumberedCaptions
{
public:
    std::string_view Current() const { return FText; }

    void Next()
    {
        for (std::size_t i = FText.size(); i-- > PrefixSize;) {
            if (FText[i] != '9') {
                ++FText[i];
                return;
            }
            FText[i] = '0';
        }
    }

private:
    static constexpr std::size_t PrefixSize = 10; // "Menu item "
    std::string FText = "Menu item 00000000";
};

TEST_F(hardening_HostileListFile, LargeFileLoadsWholeInMemoryProportionalToIt)
{
    // Realistic captions, long enough that each one is an allocation of its own.
    const auto lineBytes = static_cast<std::int64_t>(TNumberedCaptions().Current().size() + 2);
    const std::int64_t lineCount = LargeListBytes() / lineBytes;
    const std::string path = PathOf("large.lst");
    {
        std::ofstream out(path, std::ios::binary);
        std::string chunk;
        TNumberedCaptions captions;
        for (std::int64_t i = 0; i < lineCount; ++i, captions.Next()) {
            chunk += captions.Current();
            chunk += "\r\n";
            if (chunk.size() >= static_cast<std::size_t>(MiB)) {
                out << chunk;
                chunk.clear();
            }
        }
        out << chunk;
        ASSERT_TRUE(out.good());
    }
    const auto fileBytes = static_cast<std::int64_t>(fs::file_size(path));

    const TPeakMemory peak;
    ASSERT_TRUE(peak.Reset());
    FDocument.LoadCaptionFile(path);
    const std::int64_t growth = peak.Growth();

    std::cout << "[ measured ] " << fileBytes / MiB << " MiB, " << lineCount
              << " lines: peak growth " << growth / MiB << " MiB\n";
    ExpectLoaded(path);
    const std::vector<TEntry>& entries = FDocument.Model().Entries();
    ASSERT_EQ(static_cast<std::int64_t>(entries.size()), lineCount);
    std::int64_t wrong = 0;
    TNumberedCaptions captions;
    for (const TEntry& entry : entries) {
        if (entry.Original != captions.Current() || !entry.Accelerated.empty() || entry.Key != 0)
            ++wrong;
        captions.Next();
    }
    EXPECT_EQ(wrong, 0);
    // The file's bytes, the lines split from them and the entries, with room for allocator
    // overhead and the sanitizers' shadow memory: some 7 times the file in a plain build.
    EXPECT_LT(growth, 12 * fileBytes + 64 * MiB)
        << "peak growth " << growth / MiB << " MiB for a " << fileBytes / MiB << " MiB file";
}

TEST_F(hardening_HostileListFile, SingleHugeLineLoadsAsOneEntry)
{
    constexpr std::int64_t Blocks = 100;
    // Every byte value that may stand in a line, high bytes included; each block is headed by
    // its number so that a block lost, doubled or moved shows.
    std::string pattern(static_cast<std::size_t>(MiB), ' ');
    for (std::size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<char>(32 + (i * 7919) % 224);
    const auto block = [&pattern](std::int64_t k) {
        std::string text = pattern;
        const std::string header = "[" + std::to_string(k) + "]";
        return text.replace(0, header.size(), header);
    };
    const std::string path = PathOf("one-line.lst");
    {
        std::ofstream out(path, std::ios::binary);
        for (std::int64_t k = 0; k < Blocks; ++k)
            out << block(k);
        ASSERT_TRUE(out.good());
    }

    const TPeakMemory peak;
    ASSERT_TRUE(peak.Reset());
    FDocument.LoadCaptionFile(path);
    const std::int64_t growth = peak.Growth();

    ExpectLoaded(path);
    ASSERT_EQ(FDocument.Count(), 1);
    const std::string_view line = FDocument.Model().At(0).Original;
    ASSERT_EQ(static_cast<std::int64_t>(line.size()), Blocks * MiB);
    for (std::int64_t k = 0; k < Blocks; ++k)
        ASSERT_TRUE(line.substr(static_cast<std::size_t>(k * MiB), static_cast<std::size_t>(MiB)) ==
                    block(k))
            << "block " << k << " differs";
    EXPECT_LT(growth, 4 * Blocks * MiB + 64 * MiB) << "peak growth " << growth / MiB << " MiB";
}

TEST_F(hardening_HostileListFile, BinaryDataLoadsItsLinesUpToTheFirstNul)
{
    std::mt19937 random(20240607);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<int> length(1, 80);
    std::uniform_int_distribution<int> terminator(0, 2);
    const char* const terminators[] = {"\r", "\n", "\r\n"};

    TLines expected;
    std::string bytes;
    while (bytes.size() < 256 * 1024) {
        std::string line;
        for (int n = length(random); n > 0;) {
            const char c = static_cast<char>(byte(random));
            if (c != '\r' && c != '\n') {
                line.push_back(c);
                --n;
            }
        }
        bytes += line;
        bytes += terminators[terminator(random)];
        expected.push_back(std::move(line));
    }
    // Everything after the NUL, line breaks and more NULs among it, is ignored.
    bytes.push_back('\0');
    for (int i = 0; i < 4096; ++i)
        bytes.push_back(static_cast<char>(byte(random) % 16));
    const std::string path = PathOf("binary.lst");
    WriteBytes(path, bytes);

    FDocument.LoadCaptionFile(path);
    ExpectLoaded(path);
    EXPECT_EQ(Originals(), expected);
}

TEST_F(hardening_HostileListFile, InvalidUtf8LoadsAndSavesByteForByte)
{
    const TLines lines = {
        "\xff\xfe",         // a byte-order mark of the wrong kind, not a BOM to strip
        "\xc3\x28",         // a lead byte without its continuation
        "\x80\xbf",         // continuations without a lead byte
        "\xed\xa0\x80",     // an encoded surrogate
        "\xc0\xaf",         // an overlong "/"
        "\xf4\x90\x80\x80", // beyond U+10FFFF
        "caf\xe9 cr\xe8me", // Latin-1, as older lists are
        "\xef\xbb\xbf"
        "Open", // a UTF-8 BOM in the middle of the file
    };
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    const std::string path = PathOf("not-utf8.lst");
    WriteBytes(path, bytes);

    FDocument.LoadCaptionFile(path);
    ExpectLoaded(path);
    EXPECT_EQ(Originals(), lines);

    const std::string copy = PathOf("copy.lst");
    FDocument.SaveCaptionFile(copy);
    EXPECT_EQ(ReadBytes(copy), bytes);
}

TEST_F(hardening_HostileListFile, ListTooBigForMemoryIsRefusedWithTheOpenMessage)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any cap would allow";
#else
    // Bare line breaks: each is an entry, so 64 MiB of them need some 5 GiB of entries.
    const std::string path = PathOf("breaks.lst");
    {
        std::ofstream out(path, std::ios::binary);
        const std::string breaks(static_cast<std::size_t>(MiB), '\n');
        for (int i = 0; i < 64; ++i)
            out << breaks;
        ASSERT_TRUE(out.good());
    }
    const TAddressSpaceCap cap(1024 * MiB);
    ASSERT_TRUE(cap.Active());
    ExpectRefusedLoad(path, "Cannot allocate memory");
#endif
}

TEST_F(hardening_HostileListFile, ThingsThatAreNotFilesAreRefusedAtOnce)
{
    const TWatchdog watchdog(60);

    const std::string folder = PathOf("folder.lst");
    ASSERT_TRUE(fs::create_directory(folder));
    ExpectRefusedLoad(folder, "Is a directory");

    for (const char* device : {"/dev/zero", "/dev/null", "/dev/urandom"})
        if (fs::exists(device))
            ExpectRefusedLoad(device);

    // A FIFO nobody writes to: opening it for reading would wait for a writer.
    const std::string fifo = PathOf("fifo.lst");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ExpectRefusedLoad(fifo);

    // The same FIFO held open by a writer with data in it: reading it to its end would wait
    // for the writer to go.
    const TFileDescriptor writer(::open(fifo.c_str(), O_RDWR | O_NONBLOCK));
    ASSERT_GE(writer.Get(), 0);
    ASSERT_EQ(::write(writer.Get(), "File\r\n", 6), 6);
    ExpectRefusedLoad(fifo);
}

TEST_F(hardening_HostileListFile, FileThatVanishesBeforeTheLoadLeavesTheDocumentAlone)
{
    // Each file was there when the dialog chose it and is gone or replaced when the load runs.
    const std::string removed = PathOf("removed.lst");
    WriteBytes(removed, "New\r\n");
    fs::remove(removed);
    ExpectRefusedLoad(removed, "No such file or directory");

    const std::string becameFolder = PathOf("became-folder.lst");
    WriteBytes(becameFolder, "New\r\n");
    fs::remove(becameFolder);
    fs::create_directory(becameFolder);
    ExpectRefusedLoad(becameFolder, "Is a directory");

    const std::string dangling = PathOf("dangling.lst");
    const std::string target = PathOf("target.lst");
    WriteBytes(target, "New\r\n");
    fs::create_symlink(target, dangling);
    fs::remove(target);
    ExpectRefusedLoad(dangling, "No such file or directory");

    const std::string folder = PathOf("gone");
    fs::create_directory(folder);
    const std::string inGoneFolder = folder + "/menu.lst";
    WriteBytes(inGoneFolder, "New\r\n");
    fs::remove_all(folder);
    ExpectRefusedLoad(inGoneFolder, "No such file or directory");
}

} // namespace
