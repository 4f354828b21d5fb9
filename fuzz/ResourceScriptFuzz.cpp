// Any bytes given as a resource script are read without harm: every place lies inside the file
// in rising order, and the captions can be written back. Inserting a marker never changes how
// the file reads apart from that marker; removing one may be refused, never done wrongly; and
// the engine's fix, written back, reads as the same scopes with no error left in them.
#include "CaptionFile.h"
#include "FuzzCheck.h"
#include "MarkerEdits.h"
#include "ResourceScript.h"
#include "Scope.h"
#include "UnicodeKeyRule.h"

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

// What fix does: every scope mended, menu entries and dialog controls alike.
void RequireSoundFix(std::string_view bytes, const RCaptionFile& file,
                     const TResourceScriptFormat& format)
{
    const IKeyRule& rule = UnicodeKeyRule();
    std::vector<RCaptionEdit> edits;
    std::vector<bool> fixed(file.Scopes.size(), false);
    for (std::size_t s = 0; s < file.Scopes.size(); ++s) {
        RScope scope;
        std::vector<std::size_t> indices;
        for (std::size_t c = 0; c < file.Scopes[s].Captions.size(); ++c) {
            if (!file.Scopes[s].Captions[c].CanCarryKey)
                continue;
            scope.Captions.push_back(file.Scopes[s].Captions[c].Text);
            indices.push_back(c);
        }
        const RScopeFix fix = FixScope(scope, rule, '&', std::vector<bool>(indices.size(), true));
        fixed[s] = fix.Fixed;
        for (std::size_t c = 0; fix.Fixed && c < indices.size(); ++c)
            if (fix.Changed[c])
                edits.push_back(
                    {s, indices[c], MarkerEdits(scope.Captions[c], fix.Captions[c], '&')});
    }
    std::string mended;
    try {
        mended = RewriteCaptions(bytes, "fuzz.rc", file, edits, format);
    } catch (const EFormatError&) {
        return; // refused: nothing would be written
    }
    const RCaptionFile reread = format.Read(mended, "fuzz.rc");
    for (std::size_t s = 0; s < reread.Scopes.size(); ++s) {
        if (!fixed[s])
            continue;
        RScope scope;
        for (const RFileCaption& caption : reread.Scopes[s].Captions)
            if (caption.CanCarryKey)
                scope.Captions.push_back(caption.Text);
        Require(CheckScope(scope, rule, '&').empty(), "a fixed scope checks clean");
    }
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
    RequireSoundFix(bytes, file, format);
    return 0;
}
