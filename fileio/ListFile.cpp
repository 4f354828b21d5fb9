#include "ListFile.h"

#include "AtomicFile.h"
#include "FileDescriptor.h"
#include "QuarnelError.h"
#include "SystemError.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <new>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

std::size_t CountCaptionLines(std::string_view text)
{
    std::size_t count = 0;
    ForEachCaptionLine(text, [&count](std::string_view) { ++count; });
    return count;
}

std::vector<std::string> SplitCaptionLines(std::string_view text)
{
    std::vector<std::string> lines;
    lines.reserve(CountCaptionLines(text));
    AdviseLargeBuffer(lines.data(), lines.capacity() * sizeof(std::string));
    ForEachCaptionLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::string JoinCaptionLines(const std::vector<std::string_view>& captions)
{
    std::size_t size = 0;
    for (const std::string_view caption : captions)
        size += caption.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string_view caption : captions) {
        text.append(caption);
        text.append("\r\n");
    }
    return text;
}

void AdviseLargeBuffer(const void* data, std::size_t bytes)
{
    constexpr std::uintptr_t hugePage = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + hugePage - 1) & ~(hugePage - 1);
    const std::uintptr_t last = (start + bytes) & ~(hugePage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

namespace {

[[noreturn]] void ThrowCannotOpen(const std::string& fileName, int errorNumber)
{
    throw EQuarnelError("Cannot open file \"" + fileName + "\". " + SystemErrorText(errorNumber));
}

} // namespace

std::vector<std::string> ReadCaptionFile(const std::string& fileName)
{
    try {
        return SplitCaptionLines(ReadCaptionFileText(fileName));
    } catch (const std::bad_alloc&) {
        ThrowCannotOpen(fileName, ENOMEM);
    }
}

std::string ReadCaptionFileText(const std::string& fileName)
{
    // Non-blocking so that a FIFO or device given by mistake can't hang the program.
    const TFileDescriptor file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0)
        ThrowCannotOpen(fileName, errno);
    struct stat info = {};
    if (::fstat(file.Get(), &info) != 0)
        ThrowCannotOpen(fileName, errno);
    if (S_ISDIR(info.st_mode))
        ThrowCannotOpen(fileName, EISDIR);
    if (!S_ISREG(info.st_mode))
        ThrowCannotOpen(fileName, EINVAL);
    // Writers are shut out while we read (advisory, as far as this platform goes).
    ::flock(file.Get(), LOCK_SH | LOCK_NB);

    std::string text;
    text.reserve(static_cast<std::size_t>(info.st_size));
    AdviseLargeBuffer(text.data(), text.capacity());
    text.resize(static_cast<std::size_t>(info.st_size));
    std::size_t filled = 0;
    while (true) {
        if (filled == text.size())
            text.resize(text.size() + 65536); // the file may have grown since fstat
        const ssize_t got = ::read(file.Get(), text.data() + filled, text.size() - filled);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ThrowCannotOpen(fileName, errno);
        }
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    text.resize(filled);
    return text;
}

void WriteCaptionFile(const std::string& fileName, const std::vector<std::string_view>& captions)
{
    constexpr std::string_view Unstorable("\r\n\0", 3);
    for (std::size_t i = 0; i < captions.size(); ++i)
        if (captions[i].find_first_of(Unstorable) != std::string_view::npos)
            throw EQuarnelError("Caption " + std::to_string(i + 1) +
                                " cannot be saved: a list file cannot hold a line break or a NUL "
                                "byte.");
    const std::optional<RReplaceFailure> failure =
        ReplaceFile(fileName, JoinCaptionLines(captions));
    if (!failure)
        return;
    if (failure->Step == RReplaceFailure::EStep::Create)
        throw EQuarnelError("Cannot create file \"" + fileName + "\". " + failure->Reason());
    throw EQuarnelError("Stream write error");
}
