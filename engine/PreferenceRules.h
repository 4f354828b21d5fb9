#pragma once

// The rule file that adjusts the cost model: one rule a line, "#" starts a comment.
//
//   weight first-letter 0        # any weight of the table, a whole number 0..1000000
//   standard "Save As" A         # a command's usual key, one character of its text
//   nokey "Close Window"         # a caption that gets no key
//   clear standard               # forget the built-in standard keys (or: clear nokey)
//
// Captions are in double quotes, with \" and \\ for a quote and a backslash.

#include "KeyCosts.h"

#include <string_view>

inline constexpr int MaxRuleWeight = 1000000;

// Applies the rules of `text` to `preferences` in order. The first bad line throws
// EQuarnelError with "FILE:LINE: message", and `preferences` is left as it was.
void ApplyPreferenceRules(std::string_view text, std::string_view fileName,
                          RPreferences& preferences);
