// Any bytes given as a catalogue are read without harm, and its translations can be written
// back; laying it over a builder file of the same messages never fails.
#include "GettextCatalogueFormat.h"
#include "GettextScopes.h"
#include "MarkerRewriteFuzz.h"
#include "PoCatalogue.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    RPoCatalogue catalogue;
    try {
        catalogue = ReadPoCatalogue(bytes, "fuzz.po");
    } catch (const EFormatError&) {
        return 0;
    }
    for (const RPoMessage& message : catalogue.Messages) {
        Require(!message.Translations.empty(), "a message has a translation");
        Require(message.Translations.size() == 1 || message.IdPlural.has_value(),
                "only plural messages have several forms");
    }
    const RPoCaptionFile captions = CatalogueCaptions(catalogue, GtkMarker);
    Require(captions.Forms.size() == captions.File.Scopes.size(), "a form for every scope");

    // A menu of the catalogue's own messages.
    std::string menu = "<interface><menu id=\"m\"><section>";
    for (const RPoMessage& message : catalogue.Messages) {
        if (message.Id.find_first_of("<&\r]") != std::string::npos || message.Id.empty())
            continue;
        menu += "<item><attribute name=\"label\" translatable=\"yes\"";
        if (message.Context && message.Context->find_first_of("<&\"\r\n\t") == std::string::npos)
            menu += " context=\"" + *message.Context + '"';
        menu += "><![CDATA[" + message.Id + "]]></attribute></item>";
    }
    menu += "</section></menu></interface>";
    try {
        const std::vector<RBuilderSource> builders{
            RBuilderSource{"m.ui", ReadGtkBuilderStrings(menu, "m.ui")}};
        for (const RCatalogueScope& scope : CatalogueScopes(catalogue, captions, builders)) {
            for (const std::size_t s : scope.Translations)
                Require(s < captions.File.Scopes.size(), "translations are scopes of the file");
        }
        // Every translated form stands as a caption once, in a menu or alone.
        const RCaptionFile scoped = ScopeCatalogue(catalogue, builders);
        std::size_t placed = 0;
        for (const RCaptionScope& scope : scoped.Scopes) {
            placed += scope.Captions.size();
            for (const std::size_t outer : scope.Enclosing)
                Require(outer < scoped.Scopes.size(), "enclosing scopes are scopes of the file");
        }
        Require(placed == captions.File.Scopes.size(), "every form placed once");
    } catch (const EFormatError&) {
    }
    CheckMarkerRewrites(bytes, "fuzz.po", captions.File, TPoCatalogueFormat(), GtkMarker);
    return 0;
}
