#include "TextDecoding.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace {

std::string IconvName(unsigned codePage)
{
    switch (codePage) {
    case CodePageUtf8:
        return "UTF-8";
    case CodePageUtf16Le:
        return "UTF-16LE";
    default:
        return "CP" + std::to_string(codePage);
    }
}

iconv_t Handle(void* handle)
{
    return static_cast<iconv_t>(handle);
}

// One whole conversion; false when iconv stops before the end of the input, with the reason
// left in errno.
bool Convert(iconv_t cd, std::string_view in, std::string& out)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[64];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG)
            return false;
    }
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    return true;
}

} // namespace

void RDecodedText::MaterializeOrigins()
{
    if (!Origins.empty())
        return;
    Origins.resize(Text.size() + 1);
    for (std::size_t i = 0; i <= Text.size(); ++i)
        Origins[i] = Base + i;
}

void RDecodedText::AppendBytes(std::string_view bytes, std::size_t base)
{
    if (Origins.empty() && base == Base + Text.size()) {
        Text += bytes;
        return;
    }
    MaterializeOrigins();
    Origins.pop_back();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        Origins.push_back(base + i);
    Origins.push_back(base + bytes.size());
    Text += bytes;
}

TCodePage::TCodePage(unsigned number) : FNumber(number)
{
    const iconv_t cd = iconv_open("UTF-8", IconvName(number).c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return;
    // The reader finds quotes, backslashes and keywords as ASCII bytes, and a writer inserts
    // markers as such: a code page that spells ASCII otherwise (EBCDIC, or one that shifts
    // between states) is one we cannot read.
    for (int byte = 1; byte < 0x80; ++byte) {
        const char in = static_cast<char>(byte);
        std::string decoded;
        if (!Convert(cd, std::string_view(&in, 1), decoded) || decoded != std::string(1, in)) {
            iconv_close(cd);
            return;
        }
    }
    FToUtf8 = cd;
}

TCodePage::~TCodePage()
{
    if (FToUtf8)
        iconv_close(Handle(FToUtf8));
}

void TCodePage::ClassifyByte(unsigned char byte)
{
    std::string decoded;
    const char in = static_cast<char>(byte);
    if (Convert(Handle(FToUtf8), std::string_view(&in, 1), decoded)) {
        FKinds[byte] = TByteKind::Char;
        FChars[byte] = decoded;
    } else {
        FKinds[byte] = errno == EINVAL ? TByteKind::Lead : TByteKind::Invalid;
    }
}

std::string TCodePage::DecodeByte(unsigned char byte)
{
    if (!Valid())
        return {};
    if (FKinds[byte] == TByteKind::Unknown)
        ClassifyByte(byte);
    return FKinds[byte] == TByteKind::Char ? FChars[byte] : std::string();
}

std::size_t TCodePage::Append(std::string_view bytes, std::size_t base, RDecodedText& out)
{
    out.MaterializeOrigins();
    out.Origins.pop_back();
    std::size_t failed = std::string_view::npos;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            // Every code page a resource script may name keeps ASCII as it is.
            out.Text.push_back(static_cast<char>(byte));
            out.Origins.push_back(base + i);
            ++i;
            continue;
        }
        if (FKinds[byte] == TByteKind::Unknown)
            ClassifyByte(byte);
        std::string decoded;
        std::size_t length = 1;
        if (FKinds[byte] == TByteKind::Char) {
            decoded = FChars[byte];
        } else if (FKinds[byte] == TByteKind::Lead && i + 1 < bytes.size() &&
                   Convert(Handle(FToUtf8), bytes.substr(i, 2), decoded)) {
            length = 2;
        } else {
            failed = i;
            break;
        }
        for (std::size_t k = 0; k < decoded.size(); ++k)
            out.Origins.push_back(base + i);
        out.Text += decoded;
        i += length;
    }
    out.Origins.push_back(base + i);
    return failed;
}

std::size_t AppendUtf16Le(std::string_view bytes, std::size_t base, RDecodedText& out)
{
    out.MaterializeOrigins();
    out.Origins.pop_back();
    const auto unitAt = [&bytes](std::size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     static_cast<unsigned char>(bytes[i + 1]) << 8);
    };
    std::size_t failed = std::string_view::npos;
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (i + 1 >= bytes.size()) {
            failed = i;
            break;
        }
        const char16_t unit = unitAt(i);
        char32_t codePoint = unit;
        std::size_t length = 2;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            const char16_t low = i + 3 < bytes.size() ? unitAt(i + 2) : 0;
            if (low < 0xDC00 || low > 0xDFFF) {
                failed = i;
                break;
            }
            codePoint = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            length = 4;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            failed = i;
            break;
        }
        const std::size_t before = out.Text.size();
        AppendUtf8(out.Text, codePoint);
        out.Origins.insert(out.Origins.end(), out.Text.size() - before, base + i);
        i += length;
    }
    out.Origins.push_back(base + i);
    return failed;
}

std::string EncodeText(std::string_view utf8, unsigned codePage)
{
    if (codePage == CodePageUtf8)
        return std::string(utf8);
    const iconv_t cd = iconv_open(IconvName(codePage).c_str(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("code page " + std::to_string(codePage) + " is not available");
    std::string encoded;
    const bool converted = Convert(cd, utf8, encoded);
    iconv_close(cd);
    if (!converted)
        throw std::runtime_error("text that code page " + std::to_string(codePage) +
                                 " cannot hold");
    return encoded;
}
