#include "InterfaceFolder.h"

#include "CaptionFile.h"

#include <QtCore/QDirIterator>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <algorithm>
#include <vector>

void ForEachInterfaceFile(const std::string& folder, std::string_view whatFolderHolds,
                          const std::function<void(const std::string&, std::string_view)>& take)
{
    const QString root = QFile::decodeName(QByteArray::fromStdString(folder));
    if (!QFileInfo(root).isDir())
        throw EFormatError(folder + ": no such folder of " + std::string(whatFolderHolds));
    std::vector<QString> paths;
    QDirIterator walk(root, {QStringLiteral("*.ui")}, QDir::Files, QDirIterator::Subdirectories);
    while (walk.hasNext())
        paths.push_back(walk.next());
    // Name order, so that of two files that define one thing the same one counts every time.
    std::sort(paths.begin(), paths.end());
    for (const QString& path : paths) {
        const std::string name = QFile::encodeName(path).toStdString();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw EFormatError(name + ": cannot read: " + file.errorString().toStdString());
        const QByteArray bytes = file.readAll();
        take(name, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
}
