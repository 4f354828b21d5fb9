// The batch tool run as pipelines run it, on input nobody would give it on purpose: endless
// streams, lists too big for memory, names that are not text, markers that are no characters,
// output to a file that cannot grow. Each ends with a message and an exit status, never a signal.
#include "CliRun.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// 2 GiB of address space for the tool, so that reading without end fails soon instead of taking
// the machine's memory; AddressSanitizer cannot start under any such cap.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool MemoryCapped = false;
const std::string MemoryCap;
#else
constexpr bool MemoryCapped = true;
const std::string MemoryCap = "ulimit -v 2097152; ";
#endif

struct TProcessRun
{
    bool Exited = false; // false: ended by a signal
    int Status = -1;     // exit status, or the signal's number
    std::string Out;
    std::string Err;
};

class hardening_HostileCli : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(FDir.isValid()); }

    std::string PathOf(const std::string& name) const
    {
        return FDir.path().toStdString() + '/' + name;
    }

    // Runs `script` in bash with the tool as $0 and `arguments` as $1 and on, every byte as it
    // is; the script sets the limits and feeds standard input.
    TProcessRun Run(const std::string& script, const std::vector<std::string>& arguments = {})
    {
        const std::string out = PathOf("stdout");
        const std::string err = PathOf("stderr");
        std::vector<std::string> words{"bash", "-c", script, QUARNEL_CLI};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);

        const pid_t child = ::fork();
        if (child == 0) {
            const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (outFd < 0 || errFd < 0 || ::dup2(outFd, 1) < 0 || ::dup2(errFd, 2) < 0)
                ::_exit(126);
            std::signal(SIGXFSZ, SIG_DFL);
            ::execvp("bash", argv.data());
            ::_exit(127);
        }
        int status = 0;
        TProcessRun run;
        if (child < 0 || ::waitpid(child, &status, 0) != child)
            return run;
        run.Exited = WIFEXITED(status);
        run.Status = run.Exited ? WEXITSTATUS(status) : WTERMSIG(status);
        run.Out = ReadBytes(out);
        run.Err = ReadBytes(err);
        return run;
    }

    static void ExpectOutOfMemory(const TProcessRun& run)
    {
        EXPECT_TRUE(run.Exited) << "ended by signal " << run.Status << ": " << run.Err;
        EXPECT_EQ(run.Status, 2);
        EXPECT_NE(run.Err.find("Cannot allocate memory"), std::string::npos) << run.Err;
    }

    QTemporaryDir FDir;
};

TEST_F(hardening_HostileCli, StandardInputEndsAtTheFirstNul)
{
    // Would be read forever otherwise.
    const TProcessRun zero = Run(MemoryCap + "exec \"$0\" < /dev/zero");
    EXPECT_TRUE(zero.Exited);
    EXPECT_EQ(zero.Status, 0);
    EXPECT_EQ(zero.Out, "");

    // Random bytes hold a NUL within a few hundred bytes: a short list, whatever its result.
    const TProcessRun random =
        Run(MemoryCap + "head -c 100000000 /dev/urandom | \"$0\" --format lst");
    EXPECT_TRUE(random.Exited) << "ended by signal " << random.Status;
    EXPECT_LE(random.Status, 1) << random.Err;

    EXPECT_EQ(RunTool({"-"}, std::string("File\nEdit\0View\n", 15)).Out,
              "File\t&File\tF\nEdit\t&Edit\tE\n");
}

TEST_F(hardening_HostileCli, InputTooBigForMemoryIsReportedNotAborted)
{
    if (!MemoryCapped)
        GTEST_SKIP() << "AddressSanitizer reserves more address space than any cap would allow";
    // 100 MB of bare line feeds: 100 million captions, far beyond 2 GiB of entries.
    const std::string breaks = PathOf("breaks.lst");
    {
        std::ofstream file(breaks, std::ios::binary);
        const std::string block(1000000, '\n');
        for (int i = 0; i < 100; ++i)
            file << block;
        ASSERT_TRUE(file.good());
    }
    ExpectOutOfMemory(Run(MemoryCap + "exec \"$0\" \"$1\"", {breaks}));
    ExpectOutOfMemory(Run(MemoryCap + "exec \"$0\" < \"$1\"", {breaks}));
    // An endless stream without a NUL.
    ExpectOutOfMemory(Run(MemoryCap + "yes | \"$0\""));
}

TEST_F(hardening_HostileCli, FileNamesPassThroughAsBytes)
{
    const std::string name = PathOf("menu\xff\xfe.lst");
    WriteBytes(name, "File\r\nEdit\r\n");
    const TProcessRun process = Run("exec \"$0\" \"$1\"", {name});
    EXPECT_EQ(process.Status, 0) << process.Err;
    EXPECT_EQ(process.Out, "File\t&File\tF\nEdit\t&Edit\tE\n");

    // The name in messages is the name as given, in every mode.
    const TProcessRun check = Run("exec \"$0\" --check \"$1\"", {name});
    EXPECT_EQ(check.Out,
              name + ":1: no accelerator marker\n" + name + ":2: no accelerator marker\n");
    WriteBytes(name, "-\r\n");
    const TProcessRun keyless = Run("exec \"$0\" --explain \"$1\"", {name});
    EXPECT_EQ(keyless.Status, 1);
    EXPECT_NE(keyless.Err.find(name + ":1: '-' has no character"), std::string::npos)
        << keyless.Err;

    const std::string missing = PathOf("gone\xff.lst");
    const TProcessRun gone = Run("exec \"$0\" \"$1\"", {missing});
    EXPECT_EQ(gone.Status, 2);
    EXPECT_EQ(gone.Err, "Cannot open file \"" + missing + "\". No such file or directory\n");
    EXPECT_EQ(RunToolOnBytes({missing}).Err, gone.Err);
    // Qt's removal of the folder names files by text and would miss this one.
    fs::remove(name);
}

TEST_F(hardening_HostileCli, ControlCharactersAreRefusedAsMarkers)
{
    for (const char code : {'\n', '\r', '\t', '\x1f', '\0'}) {
        const TRun run = RunToolOnBytes({"--marker", std::string(1, code)}, "File\nEdit\n");
        EXPECT_EQ(run.Status, 2) << int(code);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, "Invalid marker: code " + std::to_string(code) +
                               " is a control character; give a character of code 32 or above.\n");
    }
    // The lowest marker left is the blank.
    EXPECT_EQ(RunToolOnBytes({"--marker", " ", "--format", "lst"}, "File\n").Out, " File\r\n");
}

TEST_F(hardening_HostileCli, OutputToAFileThatCannotGrowFailsWithAMessage)
{
    // Findings for every line, far more than the 8 KiB the output file may take.
    std::string list;
    for (int i = 0; i < 2000; ++i)
        list += "Caption\r\n";
    const std::string path = PathOf("long.lst");
    WriteBytes(path, list);
    const TProcessRun run = Run("ulimit -f 8; exec \"$0\" --check \"$1\" > \"$1.out\"", {path});
    EXPECT_TRUE(run.Exited) << "ended by signal " << run.Status;
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Err, "Stream write error\n");
    EXPECT_EQ(fs::file_size(path + ".out"), 8192u);
}

} // namespace
