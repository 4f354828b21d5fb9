#pragma once

// Why a list has no combination: the captions that offer no key at all, or else a group of
// captions whose keys together are fewer than the captions in it and from which no caption can
// be dropped, and how many captions at most can get distinct keys at the same time.

#include "Keys.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The keys of a caption's candidates under the ASCII rule.
TKeySet KeySetOf(std::string_view caption);
std::vector<TKeySet> KeySetsOf(const std::vector<std::string>& captions);

// The keys of a set in index order, comma separated: "A, B, 0, !".
std::string KeysText(TKeySet keys);

struct RDiagnosis
{
    // Size of a maximum matching between captions and keys; the list has a combination
    // exactly when this equals the number of captions.
    std::size_t MaxDistinct = 0;
    // Captions without any key, ascending.
    std::vector<std::size_t> WithoutKeys;
    // Only when every caption has a key but the list still fails: captions, ascending, that
    // share fewer keys than they are, none of which can be left out without the rest finding
    // keys enough. Their keys are GroupKeys, one fewer than the members.
    std::vector<std::size_t> Group;
    TKeySet GroupKeys = 0;
};

// Linear in the number of captions: at most as many captions as there are keys are ever
// matched, so only those few are revisited when a path is searched, and captions whose keys all
// lie in a part of the matching already proven closed are settled in constant time.
RDiagnosis Diagnose(const std::vector<TKeySet>& keySets);

// The same for captions given as lists of dense key indices 0..keyCount-1, any number of keys;
// the group's keys come as ascending indices.
struct RListDiagnosis
{
    std::size_t MaxDistinct = 0;
    std::vector<std::size_t> WithoutKeys;
    std::vector<std::size_t> Group;
    std::vector<int> GroupKeys;
};

RListDiagnosis Diagnose(const std::vector<std::vector<int>>& keyLists, int keyCount);
