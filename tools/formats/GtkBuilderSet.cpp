#include "GtkBuilderSet.h"

#include "InterfaceFolder.h"

#include <QtCore/QFile>

namespace {

// The root element comes after the XML declaration and any comments: this much holds it in
// any file written by hand or by a designer.
constexpr qint64 SniffSize = 64 * 1024;

} // namespace

TGtkBuilderSet::TGtkBuilderSet(const std::string& folder)
{
    ForEachInterfaceFile(
        folder, "builder files", [&](const std::string& name, std::string_view bytes) {
            if (IsGtkBuilderFile(bytes))
                FSources.push_back(RBuilderSource{name, ReadGtkBuilderStrings(bytes, name)});
        });
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
