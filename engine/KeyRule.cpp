#include "KeyRule.h"

#include <array>

namespace {

class TAsciiKeyRule final : public IKeyRule
{
public:
    std::vector<RKeyCandidate> CandidatesOf(std::string_view caption) const override
    {
        std::vector<RKeyCandidate> candidates;
        std::array<bool, 256> offered{};
        for (std::size_t pos = 0; pos < caption.size(); ++pos) {
            if (!IsEligibleChar(caption[pos]))
                continue;
            const char key = KeyOf(caption[pos]);
            bool& seen = offered[static_cast<unsigned char>(key)];
            if (seen)
                continue;
            seen = true;
            candidates.push_back({.Pos = pos, .Key = static_cast<unsigned char>(key)});
        }
        return candidates;
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
    result.append(caption.substr(0, candidate.Pos));
    if (candidate.Suffix != 0) {
        result.push_back('(');
        result.push_back(marker);
        result.push_back(candidate.Suffix);
        result.push_back(')');
    } else {
        result.push_back(marker);
    }
    result.append(caption.substr(candidate.Pos));
    return result;
}
