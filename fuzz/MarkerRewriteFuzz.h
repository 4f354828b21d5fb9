// What every fuzzer of a caption format checks once its reader took the bytes: every place lies
// inside the file in rising order, inserting a marker into every caption changes how the file
// reads by those markers alone, and removing markers may be refused but is never done wrongly.
#pragma once

#include "CaptionFile.h"
#include "FuzzCheck.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

inline void RequireSoundPlaces(const RCaptionFile& file, std::size_t size)
{
    for (const RCaptionScope& scope : file.Scopes) {
        Require(!scope.Captions.empty(), "no scope is empty");
        for (const std::size_t outer : scope.Enclosing)
            Require(outer < file.Scopes.size(), "enclosing scopes are scopes of the file");
        for (const RFileCaption& caption : scope.Captions) {
            Require(!caption.Text.empty(), "no caption is empty");
            Require(caption.Places.size() == caption.Text.size() + 1, "one place per byte");
            for (std::size_t i = 0; i < caption.Places.size(); ++i) {
                const RSourcePlace& place = caption.Places[i];
                Require(place.Offset <= size, "places lie inside the file");
                Require(place.Line >= 1 && place.Column >= 1, "lines and columns count from 1");
                Require(i == 0 || caption.Places[i - 1].Offset <= place.Offset, "places rise");
            }
        }
    }
}

inline std::vector<RCaptionEdit> MarkerEdits(const RCaptionFile& file, char marker,
                                             bool stripMarkers)
{
    std::vector<RCaptionEdit> edits;
    for (std::size_t s = 0; s < file.Scopes.size(); ++s) {
        const std::vector<RFileCaption>& captions = file.Scopes[s].Captions;
        for (std::size_t c = 0; c < captions.size(); ++c) {
            const std::string& text = captions[c].Text;
            RCaptionEdit edit{s, c, {{0, 0, std::string(1, marker)}}};
            if (stripMarkers) {
                for (std::size_t i = 0; i < text.size(); ++i)
                    if (text[i] == marker)
                        edit.Edits.push_back({i, 1, ""});
            } else {
                edit.Edits.push_back({text.size(), 0, std::string(1, marker)});
            }
            edits.push_back(std::move(edit));
        }
    }
    return edits;
}

inline void CheckMarkerRewrites(std::string_view bytes, const std::string& fileName,
                                const RCaptionFile& file, const ICaptionFormat& format, char marker)
{
    RequireSoundPlaces(file, bytes.size());
    // RewriteCaptions reads its result back and throws unless it holds the same scopes with
    // exactly the edited texts.
    const std::string marked =
        RewriteCaptions(bytes, fileName, file, MarkerEdits(file, marker, false), format);
    RequireSoundPlaces(format.Read(marked, fileName), marked.size());
    try {
        RewriteCaptions(bytes, fileName, file, MarkerEdits(file, marker, true), format);
    } catch (const EFormatError&) {
    }
}
