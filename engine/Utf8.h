#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Appends the UTF-8 form of a code point. Surrogates and values past U+10FFFF, which a decoder
// of another encoding or a character reference may still produce, become U+FFFD, so that what
// is appended is always valid UTF-8.
inline void AppendUtf8(std::string& out, char32_t c)
{
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        c = 0xFFFD;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// A caption's code point at `pos`: Length bytes, or Length 1 and no code point for a byte that
// does not start a valid UTF-8 sequence (overlong forms and surrogates included).
struct RDecoded
{
    std::size_t Length = 1;
    bool Valid = false;
    char32_t CodePoint = 0;
};
RDecoded DecodeUtf8At(std::string_view text, std::size_t pos);

// Where the first byte that does not start a valid UTF-8 sequence stands (DecodeUtf8At's
// sense), npos when there is none.
std::size_t FirstInvalidUtf8(std::string_view text);

inline bool IsValidUtf8(std::string_view text)
{
    return FirstInvalidUtf8(text) == std::string_view::npos;
}
