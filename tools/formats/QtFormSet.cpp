#include "QtFormSet.h"

#include "GtkBuilder.h"

#include <QtCore/QDirIterator>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <algorithm>
#include <vector>

TQtFormSet::TQtFormSet(const std::string& folder)
{
    const QString root = QFile::decodeName(QByteArray::fromStdString(folder));
    if (!QFileInfo(root).isDir())
        throw EFormatError(folder + ": no such folder of forms");
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
        // A project may hold GTK interface files too: they are no forms of its Qt classes.
        if (IsGtkBuilderFile(std::string_view(bytes.constData(), bytes.size())))
            continue;
        FForms.push_back(ReadQtForm(std::string_view(bytes.constData(), bytes.size()), name));
        FByClass.emplace(FForms.back().ClassName, &FForms.back());
    }
}
