#pragma once

// What both Qt readers must hold for any bytes: sound places, and captions that take a marker
// at either end and read back with exactly that change.
#include "CaptionFile.h"
#include "FuzzCheck.h"
#include "QtXmlText.h"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

inline void RequireSoundQtPlaces(const RCaptionFile& file, std::size_t size)
{
    for (const RCaptionScope& scope : file.Scopes) {
        Require(!scope.Captions.empty(), "no scope is empty");
        for (const std::size_t outer : scope.Enclosing)
            Require(outer < file.Scopes.size(), "enclosing scopes exist");
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

// A marker at the start (or end) of every caption that stands once in the file and is not
// spelt half in CDATA; a caption shared by several scopes (an action in two menus) is left
// alone, as its scopes would expect different texts of one string.
inline std::vector<RCaptionEdit> MarkerEdits(const RCaptionFile& file, bool atEnd)
{
    std::map<std::size_t, int> uses;
    for (const RCaptionScope& scope : file.Scopes)
        for (const RFileCaption& caption : scope.Captions)
            ++uses[caption.Start().Offset];
    std::vector<RCaptionEdit> edits;
    for (std::size_t s = 0; s < file.Scopes.size(); ++s) {
        const std::vector<RFileCaption>& captions = file.Scopes[s].Captions;
        for (std::size_t c = 0; c < captions.size(); ++c) {
            if (uses[captions[c].Start().Offset] != 1 ||
                captions[c].EncodingTag == static_cast<std::uint32_t>(TXmlSpelling::Mixed))
                continue;
            edits.push_back({s, c, {{atEnd ? captions[c].Text.size() : 0, 0, "&"}}});
        }
    }
    return edits;
}

// RewriteCaptions reads its result back and throws unless it holds the same scopes with
// exactly the edited texts: for these edits it must never refuse.
inline void RequireMarkersWriteBack(std::string_view bytes, const RCaptionFile& file,
                                    const ICaptionFormat& format)
{
    for (const bool atEnd : {false, true}) {
        const std::string marked =
            RewriteCaptions(bytes, "fuzz", file, MarkerEdits(file, atEnd), format);
        RequireSoundQtPlaces(format.Read(marked, "fuzz"), marked.size());
    }
    Require(RewriteCaptions(bytes, "fuzz", file, {}, format) == bytes, "no edit, no change");
}
