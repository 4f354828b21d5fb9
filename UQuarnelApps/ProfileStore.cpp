#include "ProfileStore.h"

#include "QuarnelError.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QString>
#include <cstdint>
#include <optional>
#include <stdexcept>
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

// The file's bytes, an empty string when there is no file, nothing when a file (or something
// else) is there but cannot be read.
std::optional<std::string> ReadBytes(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        return std::string();
    }
    QFile file(path);
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

} // namespace

TProfileFile ReadProfile(const std::string& path)
{
    const auto bytes = ReadBytes(ToQtPath(path));
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
    if (!AcquireLock(lock, lockPath, lockWait)) {
        throw failure;
    }

    // Read under the lock: another application may have saved its own sections since we last
    // looked, and those must survive this write. A file that exists but cannot be read must
    // not be replaced by what little we would know of it.
    const auto before = ReadBytes(qtPath);
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

    // Unbuffered, so that a short write shows here: a buffered one is flushed inside commit(),
    // which then reports success for a file cut short by a full disk or a size limit.
    QSaveFile file(qtPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        throw failure;
    }
    const auto size = static_cast<qint64>(after.size());
    if (file.write(after.data(), size) != size) {
        file.cancelWriting();
        throw failure;
    }
    if (!file.commit()) {
        throw failure;
    }
}
