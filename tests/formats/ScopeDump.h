// Scopes written out as text, so that a test states a whole file's reading in one string, and
// the places of captions checked against the bytes of a UTF-8 file.
#pragma once

#include "CaptionFile.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

// One line per scope: its name, then each caption in brackets, followed by "?" when a missing
// key is not mended by default and "-" when it cannot carry one at all.
inline std::string DumpScopes(const RCaptionFile& file)
{
    std::string text;
    for (const RCaptionScope& scope : file.Scopes) {
        text += scope.Name + ':';
        for (const RFileCaption& caption : scope.Captions) {
            text += " [" + caption.Text + ']';
            if (!caption.CanCarryKey)
                text += '-';
            else if (!caption.KeyRequired)
                text += '?';
        }
        text += '\n';
    }
    return text;
}

// For a UTF-8 file: places rise, stay inside the file, and give the line and the column in
// characters (a BOM not counted) of the byte they name; a byte of text taken as it is from
// the file has its own byte at its place.
inline void ExpectPlacesMatchUtf8Source(std::string_view bytes, const RCaptionScope& scope)
{
    const std::size_t bom = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    for (const RFileCaption& caption : scope.Captions) {
        ASSERT_EQ(caption.Places.size(), caption.Text.size() + 1) << caption.Text;
        for (std::size_t i = 0; i < caption.Places.size(); ++i) {
            const RSourcePlace& place = caption.Places[i];
            ASSERT_LT(place.Offset, bytes.size()) << caption.Text;
            if (i > 0) {
                EXPECT_LE(caption.Places[i - 1].Offset, place.Offset) << caption.Text;
            }
            std::uint32_t line = 1;
            std::uint32_t column = 1;
            for (std::size_t k = bom; k < place.Offset; ++k) {
                if (bytes[k] == '\n') {
                    ++line;
                    column = 1;
                } else if ((static_cast<unsigned char>(bytes[k]) & 0xC0) != 0x80) {
                    ++column;
                }
            }
            EXPECT_EQ(place.Line, line) << caption.Text << " byte " << i;
            EXPECT_EQ(place.Column, column) << caption.Text << " byte " << i;
            // The k-th byte of a character taken as it is, not an escape or a doubled quote.
            std::size_t k = 0;
            while (k < i && caption.Places[i - k - 1].Offset == place.Offset)
                ++k;
            if (i < caption.Text.size() && bytes[place.Offset] != '\\' && caption.Text[i] != '"') {
                EXPECT_EQ(bytes[place.Offset + k], caption.Text[i])
                    << caption.Text << " byte " << i;
            }
        }
    }
}
