#pragma once

// The charsets a catalogue's header may name besides UTF-8, read and written through iconv.
// A charset is usable when iconv knows it and every character it encodes keeps clear of the
// ASCII bytes that the syntax of a catalogue is made of: not so for Shift_JIS, Big5, GBK,
// GB18030 or Johab, whose second bytes may be a quote or a backslash.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How a caption's EncodingTag names its charset: 0 for UTF-8.
struct RPoCharset
{
    std::uint32_t Tag = 0;
    std::string Name; // as iconv knows it
};

enum class TPoCharsetProblem
{
    Unknown,        // iconv does not know it
    HidesAsciiBytes // its characters may hold ASCII bytes
};

// The charset the header names (any case, "_" for "-" and the dashes left out accepted), or
// what stands in its way.
std::optional<RPoCharset> FindPoCharset(std::string_view headerName, TPoCharsetProblem& problem);

// The iconv name of a tag that FindPoCharset gave.
const char* PoCharsetName(std::uint32_t tag);

// UTF-8 text in the charset of the tag; throws std::runtime_error for a character it lacks.
std::string EncodeInPoCharset(std::string_view utf8, std::uint32_t tag);
