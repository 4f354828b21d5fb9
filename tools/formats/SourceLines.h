#pragma once

// Lines and character columns of byte offsets in a UTF-8 file, for the places that readers of
// UTF-8 formats report.

#include "CaptionFile.h"
#include "Utf8.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class TSourceLines
{
public:
    // `start` is where the text begins (after a BOM), so that line 1 counts columns from there.
    explicit TSourceLines(std::string_view bytes, std::size_t start = 0);

    std::uint32_t LineOf(std::size_t offset) const;
    RSourcePlace PlaceOf(std::size_t offset) const;
    // The place of a later offset, counted on from `from` rather than from its line's start.
    RSourcePlace Advance(const RSourcePlace& from, std::size_t offset) const;

private:
    std::string_view FBytes;
    std::vector<std::size_t> FLineStarts;
};

// The length of the UTF-8 sequence that starts with this byte: 1 for ASCII and for a byte that
// cannot start one.
std::size_t Utf8SequenceLength(unsigned char lead);
