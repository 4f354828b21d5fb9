#include "UnicodeKeyRule.h"

#include <QChar>
#include <algorithm>
#include <array>
#include <limits>

namespace {

constexpr std::string_view AsciiPunctuationKeys = "!$<=>?@";

// Chinese, Japanese, Korean and Yi text is typed through an input method, where an access key
// of its own script cannot be pressed. The prolonged sound marks are filed under no script but
// belong to Japanese words all the same.
bool IsTypedThroughInputMethod(char32_t c)
{
    switch (QChar::script(c)) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Hangul:
    case QChar::Script_Yi:
        return true;
    default:
        return c == U'\u30FC' || c == U'\uFF70';
    }
}

bool IsEligible(char32_t c)
{
    if (c < 0x80)
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
               AsciiPunctuationKeys.find(static_cast<char>(c)) != std::string_view::npos;
    switch (QChar::category(c)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Number_DecimalDigit:
        return !IsTypedThroughInputMethod(c);
    default:
        return false;
    }
}

TKey KeyOfCodePoint(char32_t c)
{
    return QChar::toCaseFolded(c);
}

// What the rule needs of one character: its key, 0 when it can carry none, and whether it is
// typed through an input method.
struct RCharClass
{
    TKey Key = 0;
    bool InputMethod = false;
};

RCharClass ClassifyDirectly(char32_t c)
{
    return {IsEligible(c) ? KeyOfCodePoint(c) : 0, c >= 0x80 && IsTypedThroughInputMethod(c)};
}

// Captions are nearly all in the Basic Multilingual Plane, and QChar takes several lookups per
// character: the plane is classified once, on first use, into half a megabyte.
RCharClass Classify(char32_t c)
{
    static const std::vector<RCharClass> Plane = [] {
        std::vector<RCharClass> table(0x10000);
        for (char32_t i = 0; i < 0x10000; ++i)
            table[i] = ClassifyDirectly(i);
        return table;
    }();
    return c < 0x10000 ? Plane[c] : ClassifyDirectly(c);
}

// Where "(&X)" goes: before a trailing ellipsis or colon, else at the end.
std::size_t SuffixPosition(std::string_view caption)
{
    for (const std::string_view ending : {"...", "\u2026", ":", "\uFF1A"})
        if (caption.ends_with(ending))
            return caption.size() - ending.size();
    return caption.size();
}

// Keys offered so far by one caption: a table for ASCII; the others in a short list kept in
// place, a caption rarely having more than a few dozen letters.
class TOfferedKeys
{
public:
    // True when the key is new, and remembers it.
    bool Add(TKey key)
    {
        if (key < FAscii.size()) {
            const bool added = !FAscii[key];
            FAscii[key] = true;
            return added;
        }
        const auto end = FInPlace.begin() + static_cast<std::ptrdiff_t>(FInPlaceCount);
        if (std::find(FInPlace.begin(), end, key) != end)
            return false;
        if (FInPlaceCount < FInPlace.size()) {
            FInPlace[FInPlaceCount++] = key;
            return true;
        }
        const auto at = std::lower_bound(FOthers.begin(), FOthers.end(), key);
        if (at != FOthers.end() && *at == key)
            return false;
        FOthers.insert(at, key);
        return true;
    }

private:
    std::array<bool, 128> FAscii{};
    std::array<TKey, 32> FInPlace;
    std::size_t FInPlaceCount = 0;
    std::vector<TKey> FOthers; // beyond those, sorted
};

} // namespace

void TUnicodeKeyRule::AppendCandidates(std::string_view caption,
                                       std::vector<RKeyCandidate>& candidates) const
{
    TOfferedKeys offered;
    bool typedThroughInputMethod = false;
    for (std::size_t pos = 0; pos < caption.size();) {
        const RDecoded decoded = DecodeUtf8At(caption, pos);
        if (decoded.Valid) {
            const RCharClass c = Classify(decoded.CodePoint);
            typedThroughInputMethod = typedThroughInputMethod || c.InputMethod;
            if (c.Key != 0 && offered.Add(c.Key))
                candidates.push_back({.Pos = pos, .Key = c.Key});
        }
        pos += decoded.Length;
    }
    if (!typedThroughInputMethod)
        return;
    const std::size_t at = SuffixPosition(caption);
    for (const char c : AsciiKeys.substr(0, 36))
        if (offered.Add(KeyOfCodePoint(static_cast<unsigned char>(c))))
            candidates.push_back(
                {.Pos = at, .Key = KeyOfCodePoint(static_cast<unsigned char>(c)), .Suffix = c});
}

RCaptionChar TUnicodeKeyRule::CharAt(std::string_view caption, std::size_t pos) const
{
    const RDecoded decoded = DecodeUtf8At(caption, pos);
    RCaptionChar c{decoded.Length, std::nullopt};
    if (decoded.Valid && Classify(decoded.CodePoint).Key != 0)
        c.Key = Classify(decoded.CodePoint).Key;
    return c;
}

std::string TUnicodeKeyRule::KeyText(TKey key) const
{
    std::string text;
    AppendUtf8(text, QChar::toUpper(key));
    return text;
}

std::size_t TUnicodeKeyRule::MaxKeys() const
{
    return std::numeric_limits<std::size_t>::max();
}

const IKeyRule& UnicodeKeyRule()
{
    static const TUnicodeKeyRule rule;
    return rule;
}
