#include "PoCharset.h"

#include <cerrno>
#include <iconv.h>
#include <iterator>
#include <stdexcept>

namespace {

// The charsets gettext's own tools accept in a header, in the spelling iconv knows; a tag is a
// place in this list plus one.
constexpr const char* Charsets[] = {
    "ISO-8859-1", "ISO-8859-2", "ISO-8859-3", "ISO-8859-4",  "ISO-8859-5",  "ISO-8859-6",
    "ISO-8859-7", "ISO-8859-8", "ISO-8859-9", "ISO-8859-13", "ISO-8859-14", "ISO-8859-15",
    "KOI8-R",     "KOI8-U",     "KOI8-T",     "CP850",       "CP866",       "CP874",
    "CP932",      "CP949",      "CP950",      "CP1250",      "CP1251",      "CP1252",
    "CP1253",     "CP1254",     "CP1255",     "CP1256",      "CP1257",      "GB2312",
    "EUC-JP",     "EUC-KR",     "EUC-TW",     "BIG5",        "BIG5-HKSCS",  "GBK",
    "GB18030",    "SHIFT_JIS",  "JOHAB",      "TIS-620",     "VISCII",      "GEORGIAN-PS",
};

// Upper case without "-" and "_": "iso_8859-1", "ISO8859-1" and "iso-8859-1" are one name.
std::string Folded(std::string_view name)
{
    std::string folded;
    for (char c : name) {
        if (c == '-' || c == '_')
            continue;
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        folded.push_back(c);
    }
    return folded;
}

class TIconv
{
public:
    TIconv(const char* to, const char* from) : FHandle(iconv_open(to, from)) {}
    ~TIconv()
    {
        if (Valid())
            iconv_close(FHandle);
    }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    bool Valid() const { return FHandle != reinterpret_cast<iconv_t>(-1); }

    // false when iconv stops before the end, errno saying why.
    bool Convert(std::string_view in, std::string& out)
    {
        iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char buffer[256];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t done = iconv(FHandle, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (done == static_cast<std::size_t>(-1) && errno != E2BIG)
                return false;
        }
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        iconv(FHandle, nullptr, nullptr, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        return true;
    }

private:
    iconv_t FHandle;
};

// Whether some character of the charset has an ASCII byte after its first, or an ASCII byte
// stands for something else.
bool HidesAsciiBytes(const char* name)
{
    TIconv toUtf8("UTF-8", name);
    for (int byte = 1; byte < 0x80; ++byte) {
        const char in = static_cast<char>(byte);
        std::string out;
        if (!toUtf8.Convert(std::string_view(&in, 1), out) || out != std::string_view(&in, 1))
            return true;
    }
    for (int lead = 0x80; lead < 0x100; ++lead) {
        const char in = static_cast<char>(lead);
        std::string out;
        if (toUtf8.Convert(std::string_view(&in, 1), out) || errno != EINVAL)
            continue; // a character by itself, or no start of one
        for (int trail = 0x20; trail < 0x80; ++trail) {
            const char pair[2] = {in, static_cast<char>(trail)};
            out.clear();
            if (toUtf8.Convert(std::string_view(pair, 2), out))
                return true;
        }
    }
    return false;
}

} // namespace

std::optional<RPoCharset> FindPoCharset(std::string_view headerName, TPoCharsetProblem& problem)
{
    const std::string folded = Folded(headerName);
    for (std::size_t i = 0; i < std::size(Charsets); ++i) {
        if (Folded(Charsets[i]) != folded)
            continue;
        if (!TIconv("UTF-8", Charsets[i]).Valid()) {
            problem = TPoCharsetProblem::Unknown;
            return std::nullopt;
        }
        if (HidesAsciiBytes(Charsets[i])) {
            problem = TPoCharsetProblem::HidesAsciiBytes;
            return std::nullopt;
        }
        return RPoCharset{static_cast<std::uint32_t>(i + 1), Charsets[i]};
    }
    problem = TPoCharsetProblem::Unknown;
    return std::nullopt;
}

const char* PoCharsetName(std::uint32_t tag)
{
    return tag >= 1 && tag <= std::size(Charsets) ? Charsets[tag - 1] : "UTF-8";
}

std::string EncodeInPoCharset(std::string_view utf8, std::uint32_t tag)
{
    if (tag == 0)
        return std::string(utf8);
    TIconv fromUtf8(PoCharsetName(tag), "UTF-8");
    std::string encoded;
    if (!fromUtf8.Valid() || !fromUtf8.Convert(utf8, encoded))
        throw std::runtime_error(std::string("text that ") + PoCharsetName(tag) + " cannot hold");
    return encoded;
}
