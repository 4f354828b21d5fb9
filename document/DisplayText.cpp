#include "DisplayText.h"

bool IsValidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        unsigned int codePoint = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            codePoint = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            codePoint = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            codePoint = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > bytes.size())
            return false;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        static constexpr unsigned int smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (codePoint < smallest[length] || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

QString ToDisplayText(std::string_view bytes)
{
    const auto size = static_cast<qsizetype>(bytes.size());
    return IsValidUtf8(bytes) ? QString::fromUtf8(bytes.data(), size)
                              : QString::fromLatin1(bytes.data(), size);
}

QString ToShownText(std::string_view bytes)
{
    if (bytes.size() <= MaxShownCaptionBytes)
        return ToDisplayText(bytes);
    std::size_t cut = MaxShownCaptionBytes;
    // At most three continuation bytes belong to the character the cut would split.
    for (int back = 0; back < 3 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80; ++back)
        --cut;
    return ToDisplayText(bytes.substr(0, cut));
}

std::string FromDisplayText(const QString& text, const std::string& previousBytes)
{
    if (text == ToDisplayText(previousBytes))
        return previousBytes;
    return text.toStdString();
}
