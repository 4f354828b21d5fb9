#include "ProfileStore.h"

#include "AtomicFile.h"
#include "FileDescriptor.h"
#include "QuarnelError.h"

#include <QByteArray>
#include <QFile>
#include <QLockFile>
#include <QString>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <optional>
#include <stdexcept>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>

namespace {

// A lock older than this cannot belong to a live writer (see ProfileLockWait), so it may be
// taken over even when its owner cannot be checked, e.g. a process on another machine.
constexpr std::chrono::milliseconds StaleLockAge{5000};

QString ToQtPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

enum class EFileKind
{
    Missing,
    Regular,
    Other // a folder, device, FIFO or socket, or a link to one
};

EFileKind KindOf(const std::string& path)
{
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0) {
        return errno == ENOENT ? EFileKind::Missing : EFileKind::Other;
    }
    return S_ISREG(info.st_mode) ? EFileKind::Regular : EFileKind::Other;
}

// The bytes of a regular file, an empty string when there is none, nothing when it cannot be
// read. Only regular files are read: a FIFO would wait for a writer and a device may never end.
std::optional<std::string> ReadBytes(const std::string& path)
{
    switch (KindOf(path)) {
    case EFileKind::Missing:
        return std::string();
    case EFileKind::Other:
        return std::nullopt;
    case EFileKind::Regular:
        break;
    }
    QFile file(ToQtPath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return bytes.toStdString();
}

// Which acquisition of the lock is on disk: every holder creates the lock file anew, so a
// change of inode or creation time means another writer has had its turn.
struct TLockHolder
{
    ino_t Inode = 0;
    std::int64_t ChangeSeconds = 0;
    long ChangeNanoseconds = 0;

    bool operator==(const TLockHolder&) const = default;
};

std::optional<TLockHolder> CurrentHolder(const QString& lockPath)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(lockPath).constData(), &info) != 0) {
        return std::nullopt;
    }
    return TLockHolder{info.st_ino, info.st_ctim.tv_sec, info.st_ctim.tv_nsec};
}

// QLockFile's own wait doubles its pause after every miss, up to seconds at a time, and counts
// the whole time spent queueing: behind a few busy writers a waiter keeps losing the lock to
// later arrivals and gives up although every holder lets go within milliseconds. Here the
// lock is asked for at short, steady intervals, and the wait runs out only when one and the
// same holder keeps the lock for all of it.
bool AcquireLock(QLockFile& lock, const QString& lockPath, const std::chrono::milliseconds wait)
{
    constexpr std::chrono::milliseconds Pause{2};
    std::optional<TLockHolder> holder = CurrentHolder(lockPath);
    auto deadline = std::chrono::steady_clock::now() + wait;
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError) {
            return false;
        }
        const auto now = std::chrono::steady_clock::now();
        const std::optional<TLockHolder> current = CurrentHolder(lockPath);
        if (current != holder) {
            holder = current;
            deadline = now + wait;
        } else if (now >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(Pause);
    }
    return true;
}

// The same wait on the settings file itself, for a folder that takes no lock file.
bool AcquireFileLock(const int descriptor, const std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) ||
            std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace

TProfileFile ReadProfile(const std::string& path)
{
    const auto bytes = ReadBytes(path);
    return bytes ? TProfileFile::Parse(*bytes) : TProfileFile();
}

void UpdateProfile(const std::string& path, const std::function<void(TProfileFile&)>& edit,
                   const std::chrono::milliseconds lockWait)
{
    const EQuarnelError failure("Unable to write to " + path);
    const QString qtPath = ToQtPath(path);

    const QString lockPath = qtPath + QStringLiteral(".lock");
    QLockFile lock(lockPath);
    lock.setStaleLockTime(StaleLockAge);
    std::optional<TFileDescriptor> fileLock;
    if (!AcquireLock(lock, lockPath, lockWait)) {
        // A folder that takes no new files holds no lock file either. The settings file can
        // then only be overwritten in place, and the writers of the family, all meeting the same
        // refusal, queue on the file itself instead.
        if (lock.error() != QLockFile::PermissionError || KindOf(path) != EFileKind::Regular) {
            throw failure;
        }
        fileLock.emplace(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        if (fileLock->Get() < 0 || !AcquireFileLock(fileLock->Get(), lockWait)) {
            throw failure;
        }
    }

    // Read under the lock: another application may have saved its own sections since we last
    // looked, and those must survive this write. A file that exists but cannot be read must
    // not be replaced by what little we would know of it.
    const auto before = ReadBytes(path);
    if (!before) {
        throw failure;
    }
    TProfileFile profile = TProfileFile::Parse(*before);
    try {
        edit(profile);
    } catch (const std::invalid_argument&) {
        throw failure;
    }
    const std::string after = profile.ToBytes();
    if (after == *before) {
        return;
    }
    if (ReplaceFile(path, after)) {
        throw failure;
    }
}
