#pragma once

// check --quality: how good the keys of lists and scope files are by the designers' rules of
// thumb, per scope and over the whole call, so that lists and tools can be compared.

#include "PreferredFix.h"

#include <functional>
#include <string>
#include <vector>

struct RQualityScope
{
    std::string Name; // how the report names it: the file, and the scope for scope files
    std::vector<std::string> Captions;
    char Marker = '&';
    const TCostModel* Model = nullptr;
};

// Every file of the call as scopes: scope files through their formats, the others as lists
// read by readList under listRule and listMarker. A file that cannot be read adds its message
// to `errors` and no scope.
std::vector<RQualityScope>
QualityScopes(const std::vector<std::string>& files, const RScopeFileOptions& options,
              const IKeyRule& listRule, char listMarker, const TKeyPreference& preference,
              const std::function<std::vector<std::string>(const std::string&)>& readList,
              std::string& errors);

// One line per scope, then the total: captions, keys, keys on the first letter of a word,
// standard keys honoured, and keys off the one most captions of the same command carry.
std::string QualityText(const std::vector<RQualityScope>& scopes, const TKeyPreference& preference);
