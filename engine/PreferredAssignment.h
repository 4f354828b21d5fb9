#pragma once

// Keys for whole scopes under the cost model: the places a key rule offers, priced, then
// assigned greedily or exactly, and the same text kept on the same key across scopes.

#include "KeyAssignment.h"
#include "KeyCosts.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A byte position of a caption where the marker can go, and the dense index of the key the
// character there gives.
struct RKeyPlace
{
    std::size_t Pos = 0;
    int Key = 0;

    bool operator==(const RKeyPlace&) const = default;
};

// Every place of a caption under the ASCII key rule, left to right, one per eligible byte
// (not one per key: "Save As" must be able to choose the "A" of "As"). Markers and the literal
// marker of a doubled pair are skipped.
std::vector<RKeyPlace> AsciiKeyPlaces(std::string_view caption, char marker);

struct RScopeCaption
{
    std::string Caption;
    std::vector<RKeyPlace> Places;
    std::optional<std::size_t> KeptPos;   // where its marker already stands, for mending
    std::optional<char32_t> PreferredKey; // e.g. the key its text has in most scopes
};

struct RKeyScope
{
    int KeyCount = 0;
    std::vector<RScopeCaption> Captions;
    std::vector<int> TakenKeys; // taken from outside the scope
};

enum class TPreferMethod
{
    Greedy,   // one caption at a time, its cheapest free key
    Cheapest, // the exact optimum
};

struct RScopeKeys
{
    bool Assigned = false;
    // Per caption when assigned: the marker position, or nullopt for a caption that gets no
    // key ("OK", "Cancel").
    std::vector<std::optional<std::size_t>> Pos;
};

// Captions that get no key take no part. With kept positions (any caption has KeptPos), the
// exact method moves the fewest markers first; the greedy one ignores them.
RScopeKeys AssignScope(const RKeyScope& scope, char marker, const TCostModel& model,
                       TPreferMethod method);

// The folded key each command text has in most of the given scopes' results, for texts met in
// more than one caption; a tie goes to the key met first.
std::map<std::u32string, char32_t> MajorityKeys(const std::vector<std::vector<std::string>>& scopes,
                                                char marker, const TCostModel& model);

// Every scope assigned, then once more with each caption preferring its text's majority key,
// so that "Copy" keeps one key across menus wherever its scope allows.
std::vector<RScopeKeys> AssignScopesConsistently(const std::vector<RKeyScope>& scopes, char marker,
                                                 const TCostModel& model, TPreferMethod method);

// The caption with its marker inserted at `pos`, or unchanged when there is none.
std::string MarkedCaption(const std::string& caption, std::optional<std::size_t> pos, char marker);
