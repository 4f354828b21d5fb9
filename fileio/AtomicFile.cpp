#include "AtomicFile.h"

#include "SystemError.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

std::string RReplaceFailure::Reason() const
{
    return SystemErrorText(ErrorNumber);
}

namespace {

using EStep = RReplaceFailure::EStep;

RReplaceFailure Failed(EStep step, int errorNumber, int otherwise)
{
    return RReplaceFailure{step, errorNumber != 0 ? errorNumber : otherwise};
}

// Asked with the effective ids, as the open that follows will be.
bool MayWrite(const std::string& path)
{
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// The folder the new file has to be created in: that of the file a symbolic link leads to.
std::string FolderOfTarget(const std::string& path)
{
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                               &std::free);
    const std::string target = resolved ? resolved.get() : path;
    const std::size_t slash = target.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : target.substr(0, slash);
}

// The new file is created as ours; a file someone else owned is handed back to its owner and
// group, or at least to its group, as far as this process may.
void KeepOwnership(int descriptor, const struct stat& old)
{
    struct stat now = {};
    if (::fstat(descriptor, &now) != 0 || (now.st_uid == old.st_uid && now.st_gid == old.st_gid))
        return;
    if (::fchown(descriptor, old.st_uid, old.st_gid) != 0 &&
        ::fchown(descriptor, static_cast<uid_t>(-1), old.st_gid) != 0) {
        // Neither is ours to give: the file stays ours, as any new file would be.
    }
}

} // namespace

std::optional<RReplaceFailure> ReplaceFile(const std::string& path, std::string_view bytes)
{
    const QByteArray name = QByteArray::fromStdString(path);
    const QString qtPath = QFile::decodeName(name);
    // Qt names files by text: a name whose bytes are not text would be saved under another name.
    if (QFile::encodeName(qtPath) != name)
        return Failed(EStep::Create, EILSEQ, EILSEQ);

    struct stat old = {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return Failed(EStep::Create, EISDIR, EISDIR);
    // Renaming over a device or FIFO would put a plain file in its place (for root, even in
    // place of /dev/null), and writing into one is no save either.
    if (exists && !S_ISREG(old.st_mode))
        return Failed(EStep::Create, EINVAL, EINVAL);

    QSaveFile file(qtPath);
    file.setDirectWriteFallback(exists && !MayWrite(FolderOfTarget(path)) && MayWrite(path));
    // Unbuffered, so that a short write shows in write(): a buffered one is flushed inside
    // commit(), which then puts a file cut short by a full disk in place of the old one.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Failed(EStep::Create, errno, EACCES);
    if (exists)
        KeepOwnership(file.handle(), old);

    const auto size = static_cast<qint64>(bytes.size());
    errno = 0;
    if (file.write(bytes.data(), size) != size) {
        const int error = errno;
        file.cancelWriting();
        return Failed(EStep::Write, error, EIO);
    }
    errno = 0;
    if (!file.commit())
        return Failed(EStep::Write, errno, EIO);
    return std::nullopt;
}

void IgnoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}
