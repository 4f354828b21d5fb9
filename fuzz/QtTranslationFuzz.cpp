// Any bytes given as a Linguist translation are read without harm, alone and with a form of
// its first context's class, and every translation it finds takes a marker through the writer
// and reads back with exactly that change; a source never changes.
#include "QtFuzzCheck.h"
#include "QtTranslation.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// A form with menus, a page and a label whose strings the seeds translate.
constexpr std::string_view FormText =
    "<ui><class>EditorWindow</class><widget class=\"QMainWindow\" name=\"EditorWindow\">"
    "<widget class=\"QTabWidget\" name=\"tabs\"><widget class=\"QWidget\" name=\"page\">"
    "<attribute name=\"title\"><string>&amp;General</string></attribute>"
    "<widget class=\"QCheckBox\" name=\"wrap\"><property name=\"text\"><string>&amp;Wrap lines"
    "</string></property></widget></widget></widget>"
    "<widget class=\"QLabel\" name=\"l\"><property name=\"text\"><string>&amp;Find:</string>"
    "</property><property name=\"buddy\"><cstring>e</cstring></property></widget>"
    "<widget class=\"QMenuBar\" name=\"menubar\"><widget class=\"QMenu\" name=\"menuEdit\">"
    "<property name=\"title\"><string>&amp;Edit</string></property><addaction name=\"cut\"/>"
    "<addaction name=\"copy\"/><addaction name=\"paste\"/><addaction name=\"cut\"/></widget>"
    "<addaction name=\"menuEdit\"/></widget>"
    "<action name=\"cut\"><property name=\"text\"><string>Cu&amp;t</string></property></action>"
    "<action name=\"copy\"><property name=\"text\"><string comment=\"text\">&amp;Copy</string>"
    "</property></action><action name=\"paste\"><property name=\"text\"><string>&amp;Paste"
    "</string></property></action></widget></ui>";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const RQtForm form = ReadQtForm(FormText, "form.ui");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    RQtTranslation translation;
    try {
        translation = ReadQtTranslation(bytes, "fuzz.ts");
    } catch (const EFormatError&) {
        return 0;
    }
    for (const TFormsByClass& forms : {TFormsByClass{}, TFormsByClass{{form.ClassName, &form}}}) {
        const RTranslationScopes scopes = ScopeTranslation(translation, forms);
        RequireSoundQtPlaces(scopes.File, size);
        for (const RFileNote& note : scopes.File.Notes)
            Require(note.Place.Offset <= size, "notes lie inside the file");
        RequireMarkersWriteBack(bytes, scopes.File, TQtTranslationFormat(forms));
    }
    return 0;
}
