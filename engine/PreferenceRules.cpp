#include "PreferenceRules.h"

#include "QuarnelError.h"
#include "Utf8.h"

#include <charconv>
#include <string>
#include <vector>

namespace {

struct RToken
{
    std::string Text;
    bool Quoted = false;
};

class TBadRule : public std::exception
{
public:
    explicit TBadRule(std::string message) : FMessage(std::move(message)) {}
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::size_t CharacterCount(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

std::vector<RToken> Tokens(std::string_view line)
{
    std::vector<RToken> tokens;
    std::size_t pos = 0;
    while (true) {
        while (pos < line.size() && IsBlank(line[pos]))
            ++pos;
        if (pos == line.size() || line[pos] == '#')
            return tokens;
        RToken& token = tokens.emplace_back();
        if (line[pos] != '"') {
            while (pos < line.size() && !IsBlank(line[pos]) && line[pos] != '#' && line[pos] != '"')
                token.Text.push_back(line[pos++]);
            continue;
        }
        token.Quoted = true;
        ++pos;
        while (true) {
            if (pos == line.size())
                throw TBadRule("the caption has no closing quote");
            const char c = line[pos++];
            if (c == '"')
                break;
            if (c == '\\') {
                if (pos == line.size() || (line[pos] != '"' && line[pos] != '\\'))
                    throw TBadRule("only \\\" and \\\\ may follow a backslash in a caption");
                token.Text.push_back(line[pos++]);
                continue;
            }
            token.Text.push_back(c);
        }
    }
}

std::string JoinedWeightNames()
{
    std::string names;
    for (std::size_t i = 0; i < CostWeightCount; ++i) {
        if (i > 0)
            names += ", ";
        names += WeightName(static_cast<TCostWeight>(i));
    }
    return names;
}

void ExpectCount(const std::vector<RToken>& tokens, std::size_t count)
{
    if (tokens.size() > count)
        throw TBadRule("unexpected \"" + tokens[count].Text + "\" after the rule");
}

std::string QuotedCaption(const std::vector<RToken>& tokens, const std::string& rule)
{
    if (tokens.size() < 2 || !tokens[1].Quoted)
        throw TBadRule("\"" + rule + "\" needs a caption in double quotes");
    if (tokens[1].Text.empty())
        throw TBadRule("the caption is empty");
    return tokens[1].Text;
}

bool ContainsFolded(std::string_view text, std::string_view key)
{
    const auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    for (std::size_t pos = 0; pos + key.size() <= text.size(); ++pos) {
        bool same = true;
        for (std::size_t i = 0; i < key.size() && same; ++i)
            same = lower(text[pos + i]) == lower(key[i]);
        if (same)
            return true;
    }
    return false;
}

char32_t DecodeOne(std::string_view text)
{
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (text.size() == 1)
        return byte(0);
    char32_t c = byte(0) & (0x7F >> text.size());
    for (std::size_t i = 1; i < text.size(); ++i)
        c = (c << 6) | (byte(i) & 0x3F);
    return c;
}

void ApplyRule(const std::vector<RToken>& tokens, RPreferences& preferences)
{
    const RToken& rule = tokens[0];
    if (rule.Quoted)
        throw TBadRule("a rule starts with weight, standard, nokey or clear");
    if (rule.Text == "weight") {
        if (tokens.size() < 2 || tokens[1].Quoted)
            throw TBadRule("\"weight\" needs a name: " + JoinedWeightNames());
        const std::optional<TCostWeight> weight = WeightNamed(tokens[1].Text);
        if (!weight)
            throw TBadRule("unknown weight \"" + tokens[1].Text + "\"; the weights are " +
                           JoinedWeightNames());
        int value = -1;
        const std::string& number = tokens.size() > 2 ? tokens[2].Text : std::string();
        const auto [end, error] =
            std::from_chars(number.data(), number.data() + number.size(), value);
        if (tokens.size() < 3 || tokens[2].Quoted || error != std::errc() ||
            end != number.data() + number.size() || value < 0 || value > MaxRuleWeight)
            throw TBadRule("weight \"" + tokens[1].Text + "\" needs a whole number from 0 to " +
                           std::to_string(MaxRuleWeight));
        ExpectCount(tokens, 3);
        preferences.Weights[*weight] = value;
    } else if (rule.Text == "standard") {
        const std::string caption = QuotedCaption(tokens, rule.Text);
        if (tokens.size() < 3 || tokens[2].Quoted || CharacterCount(tokens[2].Text) != 1)
            throw TBadRule("\"standard\" needs one key character after the caption");
        const std::string& key = tokens[2].Text;
        if (!ContainsFolded(caption, key))
            throw TBadRule("the key \"" + key + "\" is not a character of \"" + caption + "\"");
        ExpectCount(tokens, 3);
        preferences.StandardKeys.push_back({caption, DecodeOne(key)});
    } else if (rule.Text == "nokey") {
        preferences.NoKeyTexts.push_back(QuotedCaption(tokens, rule.Text));
        ExpectCount(tokens, 2);
    } else if (rule.Text == "clear") {
        if (tokens.size() < 2 || tokens[1].Quoted ||
            (tokens[1].Text != "standard" && tokens[1].Text != "nokey"))
            throw TBadRule("\"clear\" needs standard or nokey");
        ExpectCount(tokens, 2);
        if (tokens[1].Text == "standard")
            preferences.StandardKeys.clear();
        else
            preferences.NoKeyTexts.clear();
    } else {
        throw TBadRule("unknown rule \"" + rule.Text +
                       "\"; the rules are weight, standard, nokey and clear");
    }
}

} // namespace

void ApplyPreferenceRules(std::string_view text, std::string_view fileName,
                          RPreferences& preferences)
{
    RPreferences updated = preferences;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        try {
            if (!IsValidUtf8(line))
                throw TBadRule("the line is not UTF-8");
            const std::vector<RToken> tokens = Tokens(line);
            if (!tokens.empty())
                ApplyRule(tokens, updated);
        } catch (const TBadRule& bad) {
            throw EQuarnelError(std::string(fileName) + ":" + std::to_string(lineNumber) + ": " +
                                bad.what());
        }
    }
    preferences = std::move(updated);
}
