#pragma once

// Captions that stand in several scopes from one source: an action listed in two menus, or a
// translation its form shows twice. Whichever scope fix mends first decides the text, and every
// later scope keeps that text and is mended around its key, so that one place of the file is
// never edited two ways.

#include "CaptionFile.h"
#include "Keys.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct RDecidedCaption
{
    std::size_t Scope = 0;        // the scope that decided it
    std::string Text;             // as it ends
    std::optional<TKey> Key;      // the key it ends with, if any
    std::vector<RTextEdit> Edits; // from the text as read; empty when it stays
};

class TSharedCaptions
{
public:
    // The decision an earlier scope made for this caption's source; nullptr when none did.
    const RDecidedCaption* Find(const RFileCaption& caption) const;
    // The first decision for a source stands; later ones are ignored.
    void Decide(const RFileCaption& caption, RDecidedCaption decided);

private:
    // A source by its first byte and the byte after it, which no two distinct captions share.
    using TSpan = std::pair<std::size_t, std::size_t>;
    static TSpan SpanOf(const RFileCaption& caption);

    std::map<TSpan, RDecidedCaption> FDecided;
};
