#include "DisplayText.h"

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
