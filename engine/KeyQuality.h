#pragma once

// How good the keys of marked captions are by the designers' rules of thumb, so that lists
// and tools can be compared: keys on first letters, standard keys honoured, and the same
// command on the same key everywhere.

#include "KeyCosts.h"

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct RScopeQuality
{
    std::size_t Captions = 0;
    std::size_t Keys = 0;             // captions that carry a key
    std::size_t FirstLetterKeys = 0;  // keys on the first letter of a word
    std::size_t StandardCaptions = 0; // captions whose command has a standard key
    std::size_t StandardKeys = 0;     // of those, the ones that carry it

    RScopeQuality& operator+=(const RScopeQuality& other);
    bool operator==(const RScopeQuality&) const = default;
};

struct RQualityReport
{
    std::vector<RScopeQuality> Scopes;
    RScopeQuality Total;
    std::size_t SharedTexts = 0;       // command texts that carry a key in several captions
    std::size_t InconsistentTexts = 0; // of those, the texts that carry more than one key
    std::size_t OffMajorityKeys = 0;   // captions whose key is not the one most of its text's have
};

RQualityReport MeasureQuality(const std::vector<std::vector<std::string>>& scopes, char marker,
                              const TCostModel& model);

// Per command text, each folded key its captions carry and how often, in the order met.
using TKeyTally = std::vector<std::pair<char32_t, std::size_t>>;
std::map<std::u32string, TKeyTally>
KeysByCommand(const std::vector<std::vector<std::string>>& scopes, char marker,
              const TCostModel& model);
