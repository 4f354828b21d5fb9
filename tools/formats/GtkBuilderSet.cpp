#include "GtkBuilderSet.h"

#include <QtCore/QDirIterator>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <algorithm>

namespace {

// The root element comes after the XML declaration and any comments: this much holds it in
// any file written by hand or by a designer.
constexpr qint64 SniffSize = 64 * 1024;

} // namespace

TGtkBuilderSet::TGtkBuilderSet(const std::string& folder)
{
    const QString root = QFile::decodeName(QByteArray::fromStdString(folder));
    if (!QFileInfo(root).isDir())
        throw EFormatError(folder + ": no such folder of builder files");
    std::vector<QString> paths;
    QDirIterator walk(root, {QStringLiteral("*.ui")}, QDir::Files, QDirIterator::Subdirectories);
    while (walk.hasNext())
        paths.push_back(walk.next());
    std::sort(paths.begin(), paths.end());
    for (const QString& path : paths) {
        const std::string name = QFile::encodeName(path).toStdString();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw EFormatError(name + ": cannot read: " + file.errorString().toStdString());
        const QByteArray bytes = file.readAll();
        const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        if (!IsGtkBuilderFile(view))
            continue;
        FSources.push_back(RBuilderSource{name, ReadGtkBuilderStrings(view, name)});
    }
}

bool IsGtkBuilderFileAt(const std::string& fileName)
{
    QFile file(QFile::decodeName(QByteArray::fromStdString(fileName)));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray start = file.read(SniffSize);
    return IsGtkBuilderFile(
        std::string_view(start.constData(), static_cast<std::size_t>(start.size())));
}
