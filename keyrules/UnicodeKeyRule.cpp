#include "UnicodeKeyRule.h"

#include <QChar>
#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <span>

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

// What the rule needs of one character: its key; 0 when it can carry none;
// InputMethodOnly when it carries none and is typed through an input method, which can never be
// a key of its own.
constexpr TKey InputMethodOnly = ~TKey{0};

TKey ClassifyDirectly(char32_t c)
{
    if (IsEligible(c))
        return KeyOfCodePoint(c);
    return c >= 0x80 && IsTypedThroughInputMethod(c) ? InputMethodOnly : 0;
}

// Captions are nearly all in the Basic Multilingual Plane, and QChar takes several lookups per
// character: the plane is classified once, on first use, into a quarter of a megabyte.
const std::vector<TKey>& BasicPlane()
{
    static const std::vector<TKey> plane = [] {
        std::vector<TKey> table(0x10000);
        for (char32_t i = 0; i < 0x10000; ++i)
            table[i] = ClassifyDirectly(i);
        return table;
    }();
    return plane;
}

TKey Classify(const TKey* plane, char32_t c)
{
    return c < 0x10000 ? plane[c] : ClassifyDirectly(c);
}

// Where "(&X)" goes: before a trailing ellipsis or colon, else at the end.
std::size_t SuffixPosition(std::string_view caption)
{
    for (const std::string_view ending : {"...", "\u2026", ":", "\uFF1A"})
        if (caption.ends_with(ending))
            return caption.size() - ending.size();
    return caption.size();
}

// Keys offered so far by one caption: a bit each below U+0800 (ASCII, Latin, Greek, Cyrillic,
// Hebrew, Arabic...), the others in a short list kept in place, a caption rarely having more
// than a few dozen letters.
class TOfferedKeys
{
public:
    // True when the key is new, and remembers it.
    bool Add(TKey key)
    {
        if (key < TableEnd) {
            std::uint64_t& word = FTable[key / 64];
            const std::uint64_t bit = std::uint64_t{1} << (key % 64);
            const bool added = (word & bit) == 0;
            word |= bit;
            return added;
        }
        // A key whose filter bit is clear is new: most keys of a caption are told apart
        // without a look at the list.
        const std::uint64_t bit = std::uint64_t{1} << (key % 64);
        const bool maybeSeen = (FFilter & bit) != 0;
        FFilter |= bit;
        const auto end = FInPlace.begin() + static_cast<std::ptrdiff_t>(FInPlaceCount);
        if (maybeSeen && std::find(FInPlace.begin(), end, key) != end)
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

    // Forgets the keys of a caption, given the candidates it was offered: a caption has few,
    // and the table is cleared only where they lie.
    void Clear(std::span<const RKeyCandidate> offered)
    {
        for (const RKeyCandidate& candidate : offered)
            if (candidate.Key < TableEnd)
                FTable[candidate.Key / 64] = 0;
        FFilter = 0;
        FInPlaceCount = 0;
        FOthers.clear();
    }

private:
    static constexpr TKey TableEnd = 0x800;
    std::array<std::uint64_t, TableEnd / 64> FTable{};
    std::uint64_t FFilter = 0; // bit key % 64 of every key beyond the table seen
    std::array<TKey, 32> FInPlace;
    std::size_t FInPlaceCount = 0;
    std::vector<TKey> FOthers; // beyond those, sorted
};

// The candidates of one caption, every key it offers remembered in `offered`.
void AppendCaptionCandidates(std::string_view caption, const TKey* plane, TOfferedKeys& offered,
                             std::vector<RKeyCandidate>& candidates)
{
    bool typedThroughInputMethod = false;
    for (std::size_t pos = 0; pos < caption.size();) {
        // ASCII and the two-byte forms (Latin, Greek, Cyrillic, Hebrew, Arabic...) are decoded
        // in place, without a branch between the two, as words and the spaces between them
        // alternate; the rest takes the full check.
        const auto lead = static_cast<unsigned char>(caption[pos]);
        const auto next =
            pos + 1 < caption.size() ? static_cast<unsigned char>(caption[pos + 1]) : 0;
        const bool twoBytes = lead >= 0xC2 && lead <= 0xDF && (next & 0xC0) == 0x80;
        char32_t codePoint = twoBytes ? (char32_t{lead} & 0x1F) << 6 | (next & 0x3F) : lead;
        std::size_t length = twoBytes ? 2 : 1;
        if (lead >= 0x80 && !twoBytes) {
            const RDecoded decoded = DecodeUtf8At(caption, pos);
            if (!decoded.Valid) {
                pos += decoded.Length;
                continue;
            }
            codePoint = decoded.CodePoint;
            length = decoded.Length;
        }
        const TKey key = Classify(plane, codePoint);
        if (key == InputMethodOnly)
            typedThroughInputMethod = true;
        else if (key != 0 && offered.Add(key))
            candidates.push_back({.Pos = pos, .Key = key});
        pos += length;
    }
    if (!typedThroughInputMethod)
        return;
    const std::size_t at = SuffixPosition(caption);
    for (const char c : AsciiKeys.substr(0, 36))
        if (offered.Add(KeyOfCodePoint(static_cast<unsigned char>(c))))
            candidates.push_back(
                {.Pos = at, .Key = KeyOfCodePoint(static_cast<unsigned char>(c)), .Suffix = c});
}

} // namespace

void TUnicodeKeyRule::AppendCandidates(std::string_view caption,
                                       std::vector<RKeyCandidate>& candidates) const
{
    TOfferedKeys offered;
    AppendCaptionCandidates(caption, BasicPlane().data(), offered, candidates);
}

void TUnicodeKeyRule::AppendCandidatesOfEach(std::span<const std::string> captions,
                                             std::vector<RKeyCandidate>& candidates,
                                             std::vector<std::size_t>& ends) const
{
    const TKey* const plane = BasicPlane().data();
    TOfferedKeys offered;
    for (const std::string& caption : captions) {
        const std::size_t begin = candidates.size();
        AppendCaptionCandidates(caption, plane, offered, candidates);
        offered.Clear(std::span<const RKeyCandidate>(candidates).subspan(begin));
        ends.push_back(candidates.size());
    }
}

RCaptionChar TUnicodeKeyRule::CharAt(std::string_view caption, std::size_t pos) const
{
    const RDecoded decoded = DecodeUtf8At(caption, pos);
    RCaptionChar c{decoded.Length, std::nullopt};
    if (decoded.Valid) {
        const TKey key = Classify(BasicPlane().data(), decoded.CodePoint);
        if (key != 0 && key != InputMethodOnly)
            c.Key = key;
    }
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
