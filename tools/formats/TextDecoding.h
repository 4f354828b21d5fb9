#pragma once

#include "Utf8.h"

// Source files in the encodings resource files come in, decoded to UTF-8 so that a reader can
// tokenize one kind of text, with where every decoded byte came from so that a writer can edit
// the original bytes. Legacy code pages go through iconv.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

inline constexpr unsigned CodePageUtf8 = 65001;
inline constexpr unsigned CodePageUtf16Le = 1200;

struct RDecodedText
{
    std::string Text;
    // Text.size() + 1 file offsets when the file was not taken byte for byte; empty when
    // Text[i] is the file's byte Base + i.
    std::vector<std::size_t> Origins;
    std::size_t Base = 0;

    std::size_t Origin(std::size_t i) const { return Origins.empty() ? Base + i : Origins[i]; }
    // Keeps Origins valid from here on, for text that is no longer taken byte for byte.
    void MaterializeOrigins();
    // Appends bytes taken as they are (UTF-8) that stand at file offset `base`.
    void AppendBytes(std::string_view bytes, std::size_t base);
};

// A Windows code page through iconv. Opening never throws; Valid() says whether iconv knows it.
class TCodePage
{
public:
    explicit TCodePage(unsigned number);
    ~TCodePage();
    TCodePage(const TCodePage&) = delete;
    TCodePage& operator=(const TCodePage&) = delete;

    unsigned Number() const { return FNumber; }
    bool Valid() const { return FToUtf8 != nullptr; }

    // Appends bytes (which stand at file offset `base`) decoded, one origin per decoded byte.
    // Returns the index in `bytes` of the first byte that is not text in this code page, or
    // npos when all of it is.
    std::size_t Append(std::string_view bytes, std::size_t base, RDecodedText& out);
    // One byte as a character of this code page, in UTF-8; empty when it is none by itself.
    std::string DecodeByte(unsigned char byte);

private:
    enum class TByteKind : unsigned char
    {
        Unknown,
        Char,
        Lead,
        Invalid
    };
    void ClassifyByte(unsigned char byte);

    unsigned FNumber;
    void* FToUtf8 = nullptr; // iconv_t
    TByteKind FKinds[256] = {};
    std::string FChars[256];
};

// UTF-16LE code units (after any BOM) at file offset `base`. Returns the index in `bytes` of
// the first unit that is not text (an unpaired surrogate, an odd last byte), or npos.
std::size_t AppendUtf16Le(std::string_view bytes, std::size_t base, RDecodedText& out);

// UTF-8 text in the encoding a code page number names (UTF-8, UTF-16LE or a legacy code page).
// Throws std::runtime_error when the text has a character the code page lacks.
std::string EncodeText(std::string_view utf8, unsigned codePage);
