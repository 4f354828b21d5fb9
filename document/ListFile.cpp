#include "ListFile.h"

#include "QuarnelError.h"

#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

std::vector<std::string> SplitCaptionLines(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c != '\r' && c != '\n') {
            ++pos;
            continue;
        }
        lines.emplace_back(text.substr(start, pos - start));
        pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
        start = pos;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
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

std::string SystemErrorText(int errorNumber)
{
    std::string text = std::strerror(errorNumber);
    while (!text.empty()) {
        const auto last = static_cast<unsigned char>(text.back());
        if (last > ' ' && last != '.')
            break;
        text.pop_back();
    }
    return text;
}

namespace {

class TFileDescriptor
{
public:
    explicit TFileDescriptor(int fd) : FFd(fd) {}
    ~TFileDescriptor()
    {
        if (FFd >= 0)
            ::close(FFd);
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    int Get() const { return FFd; }

private:
    int FFd;
};

[[noreturn]] void ThrowCannotOpen(const std::string& fileName, int errorNumber)
{
    throw EQuarnelError("Cannot open file \"" + fileName + "\". " + SystemErrorText(errorNumber));
}

} // namespace

std::vector<std::string> ReadCaptionFile(const std::string& fileName)
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
    return SplitCaptionLines(text);
}

void WriteCaptionFile(const std::string& fileName, const std::vector<std::string_view>& captions)
{
    QSaveFile file(QString::fromLocal8Bit(fileName.data(), static_cast<qsizetype>(fileName.size())));
    struct stat info = {};
    if (::stat(fileName.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        throw EQuarnelError("Cannot create file \"" + fileName + "\". " + SystemErrorText(EISDIR));
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        const int error = errno != 0 ? errno : EACCES;
        throw EQuarnelError("Cannot create file \"" + fileName + "\". " + SystemErrorText(error));
    }
    const std::string text = JoinCaptionLines(captions);
    const qint64 written = file.write(text.data(), static_cast<qint64>(text.size()));
    // commit() ignores an error met while flushing its own buffer and would put the short
    // file in place of the old one, so the flush has to be checked first.
    if (written != static_cast<qint64>(text.size()) || !file.flush() || !file.commit()) {
        file.cancelWriting();
        throw EQuarnelError("Stream write error");
    }
}
