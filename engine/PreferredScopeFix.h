#pragma once

// Keys a designer would choose under any key rule: a whole list assigned under the cost model,
// and a scope mended with the fewest moved markers first and then the least cost.

#include "KeyCosts.h"
#include "PreferredAssignment.h"
#include "Scope.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Every place of a text where the marker can go under the rule, left to right: each character
// that gives a key (not only the leftmost of each key, so that "Save As" can take the "A" of
// "As"), then the rule's suffixes. Markers and the literal of a doubled marker are no places.
std::vector<RKeyCandidate> RulePlaces(std::string_view text, const IKeyRule& rule, char marker);

struct RPlacedCaption
{
    std::string Text; // where the marker goes
    std::vector<RKeyCandidate> Places;
    std::optional<char32_t> PreferredKey;
};

// Per caption, the index of the place it takes, every caption taking one and no key twice nor
// one of `taken`: the least total cost (or the greedy pass); nullopt when there is none.
std::optional<std::vector<std::size_t>> ChoosePlaces(const std::vector<RPlacedCaption>& captions,
                                                     const std::vector<TKey>& taken, char marker,
                                                     const TCostModel& model, TPreferMethod method);

// Per caption of a scope, the key the caller prefers for it (e.g. its text's key in most scopes).
using TPreferredKeys = std::vector<std::optional<char32_t>>;

// AssignScope for RScope under the model: every caption gets a key, none of the outside keys.
std::optional<std::vector<RKeyed>> AssignScopePreferring(const RScope& scope, const IKeyRule& rule,
                                                         char marker, const TCostModel& model,
                                                         TPreferMethod method,
                                                         const TPreferredKeys& preferred = {});

// FixScope under the model: the same markers stay, and the captions to mend take the cheapest
// keys around them. A caption whose text the model gives no key ("OK") and that may go without
// one (mayGoWithoutKey[i]) gets none, even when wantsKey asks for one.
RScopeFix FixScopePreferring(const RScope& scope, const IKeyRule& rule, char marker,
                             const std::vector<bool>& wantsKey,
                             const std::vector<bool>& mayGoWithoutKey, const TCostModel& model,
                             TPreferMethod method, const TPreferredKeys& preferred = {});
