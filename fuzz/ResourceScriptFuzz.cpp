// Any bytes given as a resource script are read without harm: every place lies inside the file
// in rising order, and the captions can be written back. Inserting a marker never changes how
// the file reads apart from that marker; removing one may be refused, never done wrongly.
#include "CaptionFile.h"
#include "FuzzCheck.h"
#include "ResourceScript.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

void RequireSoundPlaces(const RCaptionFile& file, std::size_t size)
{
    for (const RCaptionScope& scope : file.Scopes) {
        Require(!scope.Captions.empty(), "no scope is empty");
        for (const RFileCaption& caption : scope.Captions) {
            Require(!caption.Text.empty(), "no caption is empty");
            Require(caption.Places.size() == caption.Text.size() + 1, "one place per byte");
            for (std::size_t i = 0; i < caption.Places.size(); ++i) {
                const RSourcePlace& place = caption.Places[i];
                Require(place.Offset < size, "places lie inside the file");
                Require(place.Line >= 1 && place.Column >= 1, "lines and columns count from 1");
                Require(i == 0 || caption.Places[i - 1].Offset <= place.Offset, "places rise");
            }
        }
    }
}

std::vector<RCaptionEdit> Edits(const RCaptionFile& file, bool stripMarkers)
{
    std::vector<RCaptionEdit> edits;
    for (std::size_t s = 0; s < file.Scopes.size(); ++s) {
        const std::vector<RFileCaption>& captions = file.Scopes[s].Captions;
        for (std::size_t c = 0; c < captions.size(); ++c) {
            const std::string& text = captions[c].Text;
            RCaptionEdit edit{s, c, {{0, 0, "&"}}};
            if (stripMarkers) {
                for (std::size_t i = 0; i < text.size(); ++i)
                    if (text[i] == '&')
                        edit.Edits.push_back({i, 1, ""});
            } else {
                edit.Edits.push_back({text.size(), 0, "&"});
            }
            edits.push_back(std::move(edit));
        }
    }
    return edits;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TResourceScriptFormat format;
    RCaptionFile file;
    try {
        file = format.Read(bytes, "fuzz.rc");
    } catch (const EFormatError&) {
        return 0;
    }
    RequireSoundPlaces(file, size);

    // RewriteCaptions reads its result back and throws unless it holds the same scopes with
    // exactly the edited texts.
    const std::string marked = RewriteCaptions(bytes, "fuzz.rc", file, Edits(file, false), format);
    RequireSoundPlaces(format.Read(marked, "fuzz.rc"), marked.size());
    try {
        RewriteCaptions(bytes, "fuzz.rc", file, Edits(file, true), format);
    } catch (const EFormatError&) {
    }
    return 0;
}
