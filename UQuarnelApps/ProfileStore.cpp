#include "ProfileStore.h"

#include "QuarnelError.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QString>
#include <optional>
#include <stdexcept>

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

    QLockFile lock(qtPath + QStringLiteral(".lock"));
    lock.setStaleLockTime(StaleLockAge);
    if (!lock.tryLock(lockWait)) {
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
