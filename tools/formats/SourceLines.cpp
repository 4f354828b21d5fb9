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
