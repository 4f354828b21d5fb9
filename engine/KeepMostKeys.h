#pragma once

// Mending a scope whose captions already carry keys by moving as few markers as possible. The
// largest set of existing keys that still leaves a distinct key for every caption that needs
// one stays, decided exactly by a minimum-cost assignment; among equally large sets, earlier
// captions keep their keys. The captions mended then take the first assignment around the kept
// keys, captions in order and candidates in rule order, as a whole list would.

#include "KeyRule.h"
#include "Scope.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A caption without its markers: the single ones and a lone one at the end go, a doubled
// marker stays as the literal character it stands for.
struct RStrippedCaption
{
    std::string Text;
    std::vector<std::size_t> Origins;        // Text.size() + 1 positions in the caption
    std::vector<std::size_t> RemovedMarkers; // positions in the caption, ascending
};
RStrippedCaption StripMarkers(std::string_view caption, char marker);

struct RCaptionMend
{
    bool Changed = false;
    std::string Caption; // the new caption when changed
    // When changed: the candidate taken, on the stripped caption.
    RStrippedCaption Stripped;
    RKeyCandidate Candidate;
};

struct RScopeMending
{
    bool Mended = false; // false when no complete assignment exists: nothing changes
    std::size_t KeptKeys = 0;
    std::vector<RCaptionMend> Captions; // one per caption of the scope when mended
};

// needsKey[i]: caption i must get a key even when it has no marker now (a menu entry, or any
// caption the user asks to complete). A caption with a marker that cannot stay (a key another
// caption keeps or the scope's outside keys hold, several markers, a marker before a character
// that cannot be a key or at the end) always needs one; a caption without marker and without
// need is left as it is.
RScopeMending KeepMostKeys(const RScope& scope, const std::vector<bool>& needsKey,
                           const IKeyRule& rule, char marker);
