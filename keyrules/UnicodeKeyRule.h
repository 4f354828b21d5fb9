#pragma once

// The key rule for captions in UTF-8: any letter or decimal digit of any script, and the ASCII
// rule's punctuation keys, keys compared by simple case folding. Scripts typed through an input
// method give no keys of their own; their captions are offered the East Asian "(&X)" suffix.

#include "KeyRule.h"
#include "Utf8.h"

class TUnicodeKeyRule final : public IKeyRule
{
public:
    void AppendCandidates(std::string_view caption,
                          std::vector<RKeyCandidate>& candidates) const override;
    void AppendCandidatesOfEach(std::span<const std::string> captions,
                                std::vector<RKeyCandidate>& candidates,
                                std::vector<std::size_t>& ends) const override;
    RCaptionChar CharAt(std::string_view caption, std::size_t pos) const override;
    std::string KeyText(TKey key) const override;
    std::size_t MaxKeys() const override;
};

const IKeyRule& UnicodeKeyRule();
