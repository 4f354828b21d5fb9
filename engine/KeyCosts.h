#pragma once

// What each place of a caption costs as its access key, after the rules of thumb designers
// follow: the first letter of the caption or of a word, a clear consonant, a wide letter with
// no descender, the key everyone knows for a common command, and the key the same text has
// elsewhere. Lower is better; the costs feed FindCheapestAssignment.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the costs need to know about a character. The ASCII default knows ASCII only; a rule
// for other scripts answers from Unicode data.
class ICharacterTraits
{
public:
    virtual ~ICharacterTraits() = default;
    virtual bool IsLetter(char32_t c) const = 0;
    virtual bool IsDigit(char32_t c) const = 0;
    virtual bool IsVowel(char32_t c) const = 0;
    virtual bool IsNarrow(char32_t c) const = 0;
    virtual bool HasDescender(char32_t c) const = 0;
    // Equal for the two cases of one letter.
    virtual char32_t Fold(char32_t c) const = 0;
};

class TAsciiCharacterTraits : public ICharacterTraits
{
public:
    bool IsLetter(char32_t c) const override;
    bool IsDigit(char32_t c) const override;
    bool IsVowel(char32_t c) const override;
    bool IsNarrow(char32_t c) const override;
    bool HasDescender(char32_t c) const override;
    char32_t Fold(char32_t c) const override;
};

// The weights, one named table so that a rule file can change any of them.
enum class TCostWeight
{
    FirstLetter, // the first letter or digit of the caption
    WordStart,   // the first letter or digit of another word
    Consonant,   // any other letter that is not a vowel
    Vowel,       // any other vowel
    Digit,       // any other digit
    Punctuation, // anything else
    Narrow,      // added for a narrow character such as i, l, I, 1, !
    Descender,   // added for a letter whose descender the underline cuts: g, j, p, q, y
    Standard,    // added for every other key of a caption whose command has a standard key
    Consistency, // added for every other key of a caption with a preferred key
    Count
};

inline constexpr std::size_t CostWeightCount = static_cast<std::size_t>(TCostWeight::Count);

struct RCostWeights
{
    std::array<int, CostWeightCount> Values{};

    int& operator[](TCostWeight weight) { return Values[static_cast<std::size_t>(weight)]; }
    int operator[](TCostWeight weight) const { return Values[static_cast<std::size_t>(weight)]; }
};

std::string_view WeightName(TCostWeight weight);
std::optional<TCostWeight> WeightNamed(std::string_view name);

// A common command and its usual key, the key as it stands in the text ("Exit", 'x').
struct RStandardKey
{
    std::string Text;
    char32_t Key = 0;

    bool operator==(const RStandardKey&) const = default;
};

struct RPreferences
{
    RCostWeights Weights;
    std::vector<RStandardKey> StandardKeys;
    std::vector<std::string> NoKeyTexts; // captions that get no key at all, such as "OK"
};

// The built-in weights and the English table.
RPreferences DefaultPreferences();

// A caption's characters as they read once its markers are taken out, each with the byte
// where it starts in the caption. A doubled marker reads as one literal marker character.
// Bytes that are not UTF-8 read as U+FFFD, one per byte.
struct RPlainChar
{
    char32_t Char = 0;
    std::size_t Pos = 0;
};
std::vector<RPlainChar> PlainChars(std::string_view caption, char marker);

// The character that starts at byte `pos` of `text`, U+FFFD when none does.
char32_t CharacterAt(std::string_view text, std::size_t pos);

// The key of a caption that carries markers: the character after its first single marker.
std::optional<RPlainChar> MarkedChar(std::string_view caption, char marker);

struct RCaptionCosts
{
    bool NoKey = false;               // a caption that should carry no key
    std::optional<char32_t> Standard; // its command's standard key, folded
    std::vector<int> Costs;           // one per place asked about
};

class TCostModel
{
public:
    // The traits must outlive the model.
    explicit TCostModel(RPreferences preferences, const ICharacterTraits& traits);

    // What identifies a command across captions: the text without markers, without a shortcut
    // after a tab and without a trailing ellipsis, trimmed, each character folded.
    std::u32string CommandText(std::string_view caption, char marker) const;

    std::optional<char32_t> StandardKeyOf(std::string_view caption, char marker) const;
    bool IsNoKeyCaption(std::string_view caption, char marker) const;

    // Whether the character at plain index i begins the caption's first word or another word.
    bool BeginsWord(const std::vector<RPlainChar>& plain, std::size_t i) const;

    // Costs for the places (byte positions of the caption, where the marker would go) a key
    // rule offers. A place that is not the start of a character of the caption, such as a
    // suffix the rule appends, or that lies in a shortcut after a tab, costs as punctuation.
    // `preferred` is the key the caller wants this caption to keep, folded, e.g. the key its text
    // has in most other scopes.
    RCaptionCosts CostsOf(std::string_view caption, char marker,
                          const std::vector<std::size_t>& places,
                          std::optional<char32_t> preferred = std::nullopt) const;

    const RPreferences& Preferences() const { return FPreferences; }
    const ICharacterTraits& Traits() const { return FTraits; }

private:
    std::u32string Folded(std::string_view text) const;
    std::u32string CommandOfPlain(const std::vector<RPlainChar>& plain) const;
    std::optional<char32_t> StandardKeyOfCommand(const std::u32string& text) const;

    RPreferences FPreferences;
    const ICharacterTraits& FTraits;
    std::vector<std::pair<std::u32string, char32_t>> FStandard; // sorted by text
    std::vector<std::u32string> FNoKey;                         // sorted
};
