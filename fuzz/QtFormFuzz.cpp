// Any bytes given as a Designer form are read without harm, and every caption it finds takes
// a marker through the writer and reads back with exactly that change.
#include "QtForm.h"
#include "QtFuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TQtFormFormat format;
    RQtForm form;
    try {
        form = ReadQtForm(bytes, "fuzz.ui");
    } catch (const EFormatError&) {
        return 0;
    }
    RequireSoundQtPlaces(form.File, size);
    Require(form.Comments.size() == form.File.Scopes.size(), "a comment list per scope");
    for (std::size_t s = 0; s < form.Comments.size(); ++s)
        Require(form.Comments[s].size() == form.File.Scopes[s].Captions.size(),
                "a comment per caption");
    for (const RFileNote& note : form.File.Notes)
        Require(note.Place.Offset <= size, "notes lie inside the file");
    RequireMarkersWriteBack(bytes, form.File, format);
    return 0;
}
