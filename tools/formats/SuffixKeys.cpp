#include "SuffixKeys.h"

#include "Lint.h"
#include "Utf8.h"

bool KeysInSuffixes(std::string_view language)
{
    const auto is = [&](std::string_view code) {
        return language.size() >= 2 &&
               (language.size() == 2 || language[2] == '_' || language[2] == '-') &&
               language.substr(0, 2) == code;
    };
    return is("ja") || is("zh") || is("ko");
}

char SuffixKeyOfSource(std::string_view source, char marker)
{
    const RMarkers markers = ScanMarkers(source, marker);
    if (markers.Singles.size() != 1 || markers.LoneAtEnd)
        return 0;
    const char c = source[markers.Singles.front() + 1];
    if (c >= 'a' && c <= 'z')
        return static_cast<char>(c - 'a' + 'A');
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ? c : 0;
}

char32_t MarkedCharacterOf(std::string_view source, char marker)
{
    const RMarkers markers = ScanMarkers(source, marker);
    if (markers.Singles.size() != 1 || markers.LoneAtEnd)
        return 0;
    const RDecoded decoded = DecodeUtf8At(source, markers.Singles.front() + 1);
    return decoded.Valid ? decoded.CodePoint : 0;
}
