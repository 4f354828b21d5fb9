// Any bytes given as a GtkBuilder file are read without harm, and its captions can be written
// back; the strings for catalogues stand beside their captions.
#include "GtkBuilder.h"
#include "MarkerRewriteFuzz.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    RGtkBuilderFile builder;
    try {
        builder = ReadGtkBuilderStrings(bytes, "fuzz.ui");
    } catch (const EFormatError&) {
        return 0;
    }
    Require(builder.Strings.size() == builder.File.Scopes.size(), "strings for every scope");
    for (std::size_t s = 0; s < builder.Strings.size(); ++s)
        Require(builder.Strings[s].size() == builder.File.Scopes[s].Captions.size(),
                "strings for every caption");
    CheckMarkerRewrites(bytes, "fuzz.ui", builder.File, TGtkBuilderFormat(), GtkMarker);
    return 0;
}
