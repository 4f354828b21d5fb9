#include "UnicodeCharacterTraits.h"

#include <QChar>
#include <QList>
#include <QString>
#include <algorithm>
#include <initializer_list>

namespace {

// The letter an accented letter is built on, and whether one of its marks sits below the line
// where the underline runs: canonical decompositions followed to their first character.
struct RBase
{
    char32_t Letter = 0;
    bool MarkBelow = false;
};

RBase BaseOf(char32_t c)
{
    RBase base{c, false};
    for (int depth = 0; depth < 4 && QChar::decompositionTag(base.Letter) == QChar::Canonical;
         ++depth) {
        const QString parts = QChar::decomposition(base.Letter);
        const QList<uint> points = parts.toUcs4();
        if (points.isEmpty())
            break;
        for (qsizetype i = 1; i < points.size(); ++i) {
            const unsigned char below = QChar::combiningClass(points[i]);
            base.MarkBelow = base.MarkBelow || below == 202 || below == 220;
        }
        base.Letter = points.front();
    }
    return base;
}

bool IsOneOf(char32_t c, std::initializer_list<char32_t> set)
{
    return std::find(set.begin(), set.end(), c) != set.end();
}

} // namespace

bool TUnicodeCharacterTraits::IsLetter(char32_t c) const
{
    return QChar::isLetter(c);
}

bool TUnicodeCharacterTraits::IsDigit(char32_t c) const
{
    return QChar::isDigit(c);
}

bool TUnicodeCharacterTraits::IsVowel(char32_t c) const
{
    const char32_t f = QChar::toLower(BaseOf(c).Letter);
    return IsOneOf(f, {U'a', U'e', U'i', U'o', U'u', U'æ', U'œ', U'ø', U'ı',
                       // Cyrillic
                       U'а', U'е', U'и', U'о', U'у', U'ы', U'э', U'ю', U'я', U'і', U'є',
                       // Greek
                       U'α', U'ε', U'η', U'ι', U'ο', U'υ', U'ω'});
}

bool TUnicodeCharacterTraits::IsNarrow(char32_t c) const
{
    const char32_t b = BaseOf(c).Letter;
    return IsOneOf(b, {U'i', U'l', U'I', U'1', U'!', U'ı', U'ł', U'і', U'І', U'ι', U'Ι'});
}

bool TUnicodeCharacterTraits::HasDescender(char32_t c) const
{
    const RBase base = BaseOf(c);
    return base.MarkBelow ||
           IsOneOf(base.Letter, {U'g', U'j', U'p', U'q', U'y', U'ȷ',
                                 // Cyrillic
                                 U'д', U'р', U'у', U'ф', U'ц', U'щ',
                                 // Greek
                                 U'β', U'γ', U'ζ', U'η', U'μ', U'ξ', U'ρ', U'φ', U'χ', U'ψ'});
}

char32_t TUnicodeCharacterTraits::Fold(char32_t c) const
{
    return QChar::toCaseFolded(c);
}
