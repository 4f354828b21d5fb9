#pragma once

// Key rules: which characters of a caption can carry the marker, and what key each gives. The
// engine knows the ASCII rule; other rules (Unicode letters and digits) come from libraries of
// their own that implement this interface.

#include "Keys.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One accelerated form of a caption under a rule: the marker goes right before Caption[Pos], or,
// for a suffix candidate, "(" marker Suffix ")" is inserted at Pos.
struct RKeyCandidate
{
    std::size_t Pos = 0;
    TKey Key = 0;
    char Suffix = 0; // the Latin letter or digit of a "(&X)" suffix; 0 for a marked character

    bool operator==(const RKeyCandidate&) const = default;
};

// The character that starts at a position of a caption.
struct RCaptionChar
{
    std::size_t Length = 1;  // bytes, at least one
    std::optional<TKey> Key; // none when it cannot carry the marker
};

class IKeyRule
{
public:
    virtual ~IKeyRule() = default;

    // Appends one candidate per distinct key, in preference order: the caption's own characters
    // left to right, each key belonging to its leftmost character, then any suffix candidates. The
    // rule does not look at the marker: a doubled marker yields nothing only when the marker cannot
    // be a key.
    virtual void AppendCandidates(std::string_view caption,
                                  std::vector<RKeyCandidate>& candidates) const = 0;

    // AppendCandidates for each caption in turn, appending to `ends` where each caption's
    // candidates end: one call for a whole scope, so that a rule can keep what it needs from
    // one caption to the next.
    virtual void AppendCandidatesOfEach(std::span<const std::string> captions,
                                        std::vector<RKeyCandidate>& candidates,
                                        std::vector<std::size_t>& ends) const
    {
        for (const std::string& caption : captions) {
            AppendCandidates(caption, candidates);
            ends.push_back(candidates.size());
        }
    }

    std::vector<RKeyCandidate> CandidatesOf(std::string_view caption) const
    {
        std::vector<RKeyCandidate> candidates;
        AppendCandidates(caption, candidates);
        return candidates;
    }

    virtual RCaptionChar CharAt(std::string_view caption, std::size_t pos) const = 0;

    // The key as users see it (a TSV column, a message): one character of UTF-8.
    virtual std::string KeyText(TKey key) const = 0;

    // How many distinct keys a list can have at most under this rule: more captions than this
    // fail without a look at them.
    virtual std::size_t MaxKeys() const = 0;
};

// Today's rule: the 43 keys of AsciiKeys, bytes compared after ASCII upper-casing.
const IKeyRule& AsciiKeyRule();

std::string ApplyCandidate(std::string_view caption, const RKeyCandidate& candidate, char marker);
// The same written over `result`, within the room it already has when that is enough.
void ApplyCandidate(std::string_view caption, const RKeyCandidate& candidate, char marker,
                    std::string& result);
