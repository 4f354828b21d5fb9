#pragma once

// The key rule for captions in UTF-8: any letter or decimal digit of any script, and the ASCII
// rule's punctuation keys, keys compared by simple case folding. Scripts typed through an input
// method give no keys of their own; their captions are offered the East Asian "(&X)" suffix.

#include "KeyRule.h"

class TUnicodeKeyRule final : public IKeyRule
{
public:
    void AppendCandidates(std::string_view caption,
                          std::vector<RKeyCandidate>& candidates) const override;
    RCaptionChar CharAt(std::string_view caption, std::size_t pos) const override;
    std::string KeyText(TKey key) const override;
    std::size_t MaxKeys() const override;
};

const IKeyRule& UnicodeKeyRule();

// A caption's code point at `pos`: Length bytes, or Length 1 and no code point for a byte that
// does not start a valid UTF-8 sequence (overlong forms and surrogates included).
struct RDecoded
{
    std::size_t Length = 1;
    bool Valid = false;
    char32_t CodePoint = 0;
};
RDecoded DecodeUtf8At(std::string_view text, std::size_t pos);
