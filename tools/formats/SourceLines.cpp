#include "SourceLines.h"

#include <algorithm>

TSourceLines::TSourceLines(std::string_view bytes, std::size_t start) : FBytes(bytes)
{
    FLineStarts.push_back(start);
    for (std::size_t i = start; i < bytes.size(); ++i)
        if (bytes[i] == '\n')
            FLineStarts.push_back(i + 1);
}

std::uint32_t TSourceLines::LineOf(std::size_t offset) const
{
    const auto next = std::upper_bound(FLineStarts.begin(), FLineStarts.end(), offset);
    return static_cast<std::uint32_t>(std::max<std::ptrdiff_t>(next - FLineStarts.begin(), 1));
}

RSourcePlace TSourceLines::PlaceOf(std::size_t offset) const
{
    const std::uint32_t line = LineOf(offset);
    std::uint32_t column = 1;
    for (std::size_t i = FLineStarts[line - 1]; i < offset && i < FBytes.size(); ++i)
        if ((static_cast<unsigned char>(FBytes[i]) & 0xC0) != 0x80)
            ++column;
    return RSourcePlace{offset, line, column};
}

RSourcePlace TSourceLines::Advance(const RSourcePlace& from, std::size_t offset) const
{
    RSourcePlace place = from;
    for (std::size_t i = from.Offset; i < offset && i < FBytes.size(); ++i) {
        if (FBytes[i] == '\n') {
            ++place.Line;
            place.Column = 1;
        } else if ((static_cast<unsigned char>(FBytes[i]) & 0xC0) != 0x80) {
            ++place.Column;
        }
    }
    place.Offset = offset;
    return place;
}

std::size_t Utf8SequenceLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 1;
}

std::size_t FirstInvalidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = Utf8SequenceLength(lead);
        if (length == 1 || i + length > bytes.size())
            return i;
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        // The second byte narrows the range: no overlong forms, no surrogates, nothing past
        // U+10FFFF.
        const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        if (second < low || second > high)
            return i;
        for (std::size_t k = 2; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return i;
        i += length;
    }
    return std::string_view::npos;
}
