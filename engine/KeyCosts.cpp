#include "KeyCosts.h"

#include "Utf8.h"

#include <algorithm>

namespace {

constexpr char32_t Replacement = 0xFFFD;

constexpr std::array<std::string_view, CostWeightCount> WeightNames = {
    "first-letter", "word-start", "consonant", "vowel",    "digit",
    "punctuation",  "narrow",     "descender", "standard", "consistency",
};

// One character from text[pos], or U+FFFD for one byte that does not start a valid,
// shortest-form sequence.
char32_t DecodeAt(std::string_view text, std::size_t pos, std::size_t& length)
{
    const RDecoded decoded = DecodeUtf8At(text, pos);
    length = decoded.Length;
    return decoded.Valid ? decoded.CodePoint : Replacement;
}

bool IsSpace(char32_t c)
{
    return c == ' ' || c == '\t' || c == 0xA0;
}

// The command a caption names: no shortcut after a tab, no trailing ellipsis, no spaces
// around it.
std::u32string CommandOf(std::u32string text)
{
    if (const std::size_t tab = text.find(U'\t'); tab != std::u32string::npos)
        text.resize(tab);
    const auto trimEnd = [&text] {
        while (!text.empty() && IsSpace(text.back()))
            text.pop_back();
    };
    trimEnd();
    if (text.ends_with(U"..."))
        text.resize(text.size() - 3);
    else if (text.ends_with(U"\u2026"))
        text.pop_back();
    trimEnd();
    const auto first =
        std::find_if(text.begin(), text.end(), [](char32_t c) { return !IsSpace(c); });
    text.erase(text.begin(), first);
    return text;
}

} // namespace

bool TAsciiCharacterTraits::IsLetter(char32_t c) const
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool TAsciiCharacterTraits::IsDigit(char32_t c) const
{
    return c >= '0' && c <= '9';
}

bool TAsciiCharacterTraits::IsVowel(char32_t c) const
{
    const char32_t f = Fold(c);
    return f == 'a' || f == 'e' || f == 'i' || f == 'o' || f == 'u';
}

bool TAsciiCharacterTraits::IsNarrow(char32_t c) const
{
    return c == 'i' || c == 'l' || c == 'I' || c == '1' || c == '!';
}

bool TAsciiCharacterTraits::HasDescender(char32_t c) const
{
    return c == 'g' || c == 'j' || c == 'p' || c == 'q' || c == 'y';
}

char32_t TAsciiCharacterTraits::Fold(char32_t c) const
{
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}

std::string_view WeightName(TCostWeight weight)
{
    return WeightNames[static_cast<std::size_t>(weight)];
}

std::optional<TCostWeight> WeightNamed(std::string_view name)
{
    for (std::size_t i = 0; i < CostWeightCount; ++i)
        if (WeightNames[i] == name)
            return static_cast<TCostWeight>(i);
    return std::nullopt;
}

RPreferences DefaultPreferences()
{
    RPreferences preferences;
    RCostWeights& w = preferences.Weights;
    w[TCostWeight::FirstLetter] = 0;
    w[TCostWeight::WordStart] = 10;
    w[TCostWeight::Consonant] = 20;
    w[TCostWeight::Vowel] = 30;
    w[TCostWeight::Digit] = 50;
    w[TCostWeight::Punctuation] = 60;
    w[TCostWeight::Narrow] = 8;
    w[TCostWeight::Descender] = 4;
    // Far above what the other weights can add up to in a scope of a few hundred captions,
    // so that honouring standard keys comes first; consistency above any one caption's
    // spread of position and shape.
    w[TCostWeight::Standard] = 100000;
    w[TCostWeight::Consistency] = 100;
    preferences.StandardKeys = {
        {"File", 'F'},          {"Edit", 'E'},          {"View", 'V'},       {"Insert", 'I'},
        {"Format", 'o'},        {"Tools", 'T'},         {"Window", 'W'},     {"Help", 'H'},
        {"New", 'N'},           {"Open", 'O'},          {"Close", 'C'},      {"Close All", 'l'},
        {"Save", 'S'},          {"Save As", 'A'},       {"Save All", 'l'},   {"Print", 'P'},
        {"Print Preview", 'v'}, {"Page Setup", 'u'},    {"Exit", 'x'},       {"Quit", 'Q'},
        {"Undo", 'U'},          {"Redo", 'R'},          {"Cut", 't'},        {"Copy", 'C'},
        {"Paste", 'P'},         {"Paste Special", 'S'}, {"Delete", 'D'},     {"Select All", 'A'},
        {"Find", 'F'},          {"Find Next", 'N'},     {"Replace", 'R'},    {"Go To", 'G'},
        {"Options", 'O'},       {"Preferences", 'n'},   {"Properties", 'r'}, {"About", 'A'},
        {"Contents", 'C'},      {"Index", 'I'},         {"Search", 'S'},     {"Refresh", 'R'},
        {"Rename", 'm'},        {"Import", 'I'},        {"Export", 'E'},     {"Bold", 'B'},
        {"Italic", 'I'},        {"Underline", 'U'},     {"Toolbar", 'T'},    {"Status Bar", 'S'},
        {"Full Screen", 'F'},   {"Zoom In", 'I'},       {"Zoom Out", 'O'},   {"Back", 'B'},
        {"Forward", 'F'},       {"Yes", 'Y'},           {"No", 'N'},         {"Apply", 'A'},
        {"Next", 'N'},          {"Previous", 'P'},      {"Finish", 'F'},     {"Browse", 'B'},
    };
    preferences.NoKeyTexts = {"OK", "Cancel"};
    return preferences;
}

std::vector<RPlainChar> PlainChars(std::string_view caption, char marker)
{
    std::vector<RPlainChar> plain;
    std::size_t pos = 0;
    while (pos < caption.size()) {
        if (caption[pos] == marker) {
            if (pos + 1 < caption.size() && caption[pos + 1] == marker) {
                plain.push_back({static_cast<unsigned char>(marker), pos + 1});
                pos += 2;
            } else {
                ++pos;
            }
            continue;
        }
        std::size_t length = 1;
        plain.push_back({DecodeAt(caption, pos, length), pos});
        pos += length;
    }
    return plain;
}

char32_t CharacterAt(std::string_view text, std::size_t pos)
{
    std::size_t length = 1;
    return pos < text.size() ? DecodeAt(text, pos, length) : Replacement;
}

std::optional<RPlainChar> MarkedChar(std::string_view caption, char marker)
{
    std::size_t pos = 0;
    while (pos < caption.size()) {
        if (caption[pos] != marker) {
            ++pos;
            continue;
        }
        if (pos + 1 >= caption.size())
            return std::nullopt;
        if (caption[pos + 1] != marker) {
            std::size_t length = 1;
            return RPlainChar{DecodeAt(caption, pos + 1, length), pos + 1};
        }
        pos += 2;
    }
    return std::nullopt;
}

TCostModel::TCostModel(RPreferences preferences, const ICharacterTraits& traits)
    : FPreferences(std::move(preferences)), FTraits(traits)
{
    // A later entry for the same command replaces an earlier one, so that a rule file can
    // change a built-in key.
    for (const RStandardKey& entry : FPreferences.StandardKeys) {
        std::u32string text = Folded(entry.Text);
        const auto same = std::find_if(FStandard.begin(), FStandard.end(),
                                       [&text](const auto& known) { return known.first == text; });
        if (same != FStandard.end())
            same->second = FTraits.Fold(entry.Key);
        else
            FStandard.emplace_back(std::move(text), FTraits.Fold(entry.Key));
    }
    std::sort(FStandard.begin(), FStandard.end());
    for (const std::string& text : FPreferences.NoKeyTexts)
        FNoKey.push_back(Folded(text));
    std::sort(FNoKey.begin(), FNoKey.end());
}

std::u32string TCostModel::Folded(std::string_view text) const
{
    std::u32string folded;
    std::size_t length = 1;
    for (std::size_t pos = 0; pos < text.size(); pos += length)
        folded.push_back(FTraits.Fold(DecodeAt(text, pos, length)));
    return CommandOf(std::move(folded));
}

std::u32string TCostModel::CommandText(std::string_view caption, char marker) const
{
    return CommandOfPlain(PlainChars(caption, marker));
}

std::u32string TCostModel::CommandOfPlain(const std::vector<RPlainChar>& plain) const
{
    std::u32string text;
    text.reserve(plain.size());
    for (const RPlainChar& c : plain)
        text.push_back(FTraits.Fold(c.Char));
    return CommandOf(std::move(text));
}

std::optional<char32_t> TCostModel::StandardKeyOfCommand(const std::u32string& text) const
{
    const auto found = std::lower_bound(
        FStandard.begin(), FStandard.end(), text,
        [](const auto& entry, const std::u32string& wanted) { return entry.first < wanted; });
    if (found == FStandard.end() || found->first != text)
        return std::nullopt;
    return found->second;
}

std::optional<char32_t> TCostModel::StandardKeyOf(std::string_view caption, char marker) const
{
    return StandardKeyOfCommand(CommandText(caption, marker));
}

bool TCostModel::IsNoKeyCaption(std::string_view caption, char marker) const
{
    return std::binary_search(FNoKey.begin(), FNoKey.end(), CommandText(caption, marker));
}

bool TCostModel::BeginsWord(const std::vector<RPlainChar>& plain, std::size_t i) const
{
    const auto inWord = [this](char32_t c) {
        return FTraits.IsLetter(c) || FTraits.IsDigit(c) || c == '\'' || c == 0x2019;
    };
    return (FTraits.IsLetter(plain[i].Char) || FTraits.IsDigit(plain[i].Char)) &&
           (i == 0 || !inWord(plain[i - 1].Char));
}

RCaptionCosts TCostModel::CostsOf(std::string_view caption, char marker,
                                  const std::vector<std::size_t>& places,
                                  std::optional<char32_t> preferred) const
{
    const RCostWeights& w = FPreferences.Weights;
    RCaptionCosts result;
    const std::vector<RPlainChar> plain = PlainChars(caption, marker);
    const std::u32string command = CommandOfPlain(plain);
    result.NoKey = std::binary_search(FNoKey.begin(), FNoKey.end(), command);
    result.Standard = StandardKeyOfCommand(command);
    const auto firstWord = std::find_if(plain.begin(), plain.end(), [this](const RPlainChar& c) {
        return FTraits.IsLetter(c.Char) || FTraits.IsDigit(c.Char);
    });
    const std::size_t firstIndex = static_cast<std::size_t>(firstWord - plain.begin());

    const auto firstTab = std::find_if(plain.begin(), plain.end(),
                                       [](const RPlainChar& c) { return c.Char == '\t'; });
    result.Costs.reserve(places.size());
    for (const std::size_t place : places) {
        const auto at = std::lower_bound(
            plain.begin(), plain.end(), place,
            [](const RPlainChar& c, std::size_t wanted) { return c.Pos < wanted; });
        // A shortcut after a tab is no part of the command: its letters are a last resort.
        const bool inShortcut = at != plain.end() && at->Pos == place && at > firstTab;
        if (at == plain.end() || at->Pos != place || inShortcut) {
            int cost = w[TCostWeight::Punctuation];
            if (result.Standard)
                cost += w[TCostWeight::Standard];
            if (preferred)
                cost += w[TCostWeight::Consistency];
            result.Costs.push_back(cost);
            continue;
        }
        const std::size_t index = static_cast<std::size_t>(at - plain.begin());
        const char32_t c = at->Char;
        int cost = 0;
        if (index == firstIndex)
            cost = w[TCostWeight::FirstLetter];
        else if (BeginsWord(plain, index))
            cost = w[TCostWeight::WordStart];
        else if (FTraits.IsLetter(c))
            cost = FTraits.IsVowel(c) ? w[TCostWeight::Vowel] : w[TCostWeight::Consonant];
        else if (FTraits.IsDigit(c))
            cost = w[TCostWeight::Digit];
        else
            cost = w[TCostWeight::Punctuation];
        if (FTraits.IsNarrow(c))
            cost += w[TCostWeight::Narrow];
        if (FTraits.HasDescender(c))
            cost += w[TCostWeight::Descender];
        const char32_t folded = FTraits.Fold(c);
        if (result.Standard && *result.Standard != folded)
            cost += w[TCostWeight::Standard];
        if (preferred && FTraits.Fold(*preferred) != folded)
            cost += w[TCostWeight::Consistency];
        result.Costs.push_back(cost);
    }
    return result;
}
