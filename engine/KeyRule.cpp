#include "KeyRule.h"

namespace {

class TAsciiKeyRule final : public IKeyRule
{
public:
    void AppendCandidates(std::string_view caption,
                          std::vector<RKeyCandidate>& candidates) const override
    {
        TKeySet offered = 0;
        for (std::size_t pos = 0; pos < caption.size(); ++pos) {
            const char key = KeyOf(caption[pos]);
            const int index = KeyIndex(key);
            if (index < 0 || (offered & KeyBit(index)) != 0)
                continue;
            offered |= KeyBit(index);
            candidates.push_back({.Pos = pos, .Key = static_cast<unsigned char>(key)});
        }
    }

    RCaptionChar CharAt(std::string_view caption, std::size_t pos) const override
    {
        RCaptionChar c;
        if (IsEligibleChar(caption[pos]))
            c.Key = static_cast<unsigned char>(KeyOf(caption[pos]));
        return c;
    }

    std::string KeyText(TKey key) const override { return std::string(1, static_cast<char>(key)); }

    std::size_t MaxKeys() const override { return KeyCount; }
};

} // namespace

const IKeyRule& AsciiKeyRule()
{
    static const TAsciiKeyRule rule;
    return rule;
}

std::string ApplyCandidate(std::string_view caption, const RKeyCandidate& candidate, char marker)
{
    std::string result;
    result.reserve(caption.size() + 4);
    ApplyCandidate(caption, candidate, marker, result);
    return result;
}

void ApplyCandidate(std::string_view caption, const RKeyCandidate& candidate, char marker,
                    std::string& result)
{
    result.assign(caption.substr(0, candidate.Pos));
    if (candidate.Suffix != 0) {
        result.push_back('(');
        result.push_back(marker);
        result.push_back(candidate.Suffix);
        result.push_back(')');
    } else {
        result.push_back(marker);
    }
    result.append(caption.substr(candidate.Pos));
}
