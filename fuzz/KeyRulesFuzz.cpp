// Any caption bytes, above all invalid UTF-8, under both key rules: candidates point at whole
// characters and leave every byte in place, the scope search equals the depth-first one on
// small scopes, and a mended scope checks clean.
#include "FuzzCheck.h"
#include "ReferenceSearch.h"
#include "Scope.h"
#include "UnicodeKeyRule.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t MaxCaptions = 64;
constexpr double MaxReferenceLeaves = 20000;

void CheckCandidates(const IKeyRule& rule, const std::string& caption, char marker)
{
    std::vector<TKey> keys;
    for (const RKeyCandidate& candidate : rule.CandidatesOf(caption)) {
        Require(candidate.Pos <= caption.size(), "a candidate points into its caption");
        for (const TKey key : keys)
            Require(key != candidate.Key, "keys are distinct");
        keys.push_back(candidate.Key);
        const std::string applied = ApplyCandidate(caption, candidate, marker);
        const std::size_t inserted = candidate.Suffix != 0 ? 4 : 1;
        Require(applied.size() == caption.size() + inserted, "only the marker is inserted");
        Require(applied.substr(0, candidate.Pos) == caption.substr(0, candidate.Pos) &&
                    applied.substr(candidate.Pos + inserted) == caption.substr(candidate.Pos),
                "every caption byte stays");
        if (candidate.Suffix == 0)
            Require(rule.CharAt(caption, candidate.Pos).Key == candidate.Key,
                    "a candidate marks a whole character with its key");
    }
}

void CheckScopeOf(const IKeyRule& rule, const RScope& scope, char marker)
{
    const std::vector<std::vector<RKeyCandidate>> candidates = ScopeCandidates(scope, rule);
    double leaves = 0;
    double prefixes = 1;
    for (const std::vector<RKeyCandidate>& list : candidates) {
        prefixes *= static_cast<double>(list.size());
        leaves += prefixes;
    }
    const std::optional<std::vector<RKeyed>> got = AssignScope(scope, rule, marker);
    if (leaves <= MaxReferenceLeaves) {
        const std::optional<std::vector<std::size_t>> expected =
            ReferenceFirstAssignment(candidates);
        Require(got.has_value() == expected.has_value(), "the search fails exactly when the "
                                                         "depth-first search does");
        for (std::size_t i = 0; got && i < got->size(); ++i)
            Require((*got)[i].Key == candidates[i][(*expected)[i]].Key,
                    "the search equals the depth-first search");
    }
    const RScopeDiagnosis diagnosis = ExplainScope(scope, rule, marker, false);
    Require((diagnosis.MaxDistinct == scope.Captions.size()) == got.has_value(),
            "the explanation agrees with the search");

    CheckScope(scope, rule, marker);
    const RScopeFix fix =
        FixScope(scope, rule, marker, std::vector<bool>(scope.Captions.size(), true));
    if (fix.Fixed) {
        const RScope mended{scope.Name, fix.Captions, scope.OutsideKeys};
        Require(CheckScope(mended, rule, marker).empty(), "a mended scope checks clean");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    // Markers that are no key under either rule, so that a mended caption reads back as mended.
    static constexpr std::string_view Markers = "&~_^%#";
    const char marker = Markers[data[0] % Markers.size()];
    const IKeyRule& rule = (data[1] & 1) != 0 ? UnicodeKeyRule() : AsciiKeyRule();
    const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);

    RScope scope;
    std::size_t start = 0;
    while (start <= text.size() && scope.Captions.size() < MaxCaptions) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        scope.Captions.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    if ((data[1] & 2) != 0 && !scope.Captions.empty() && !scope.Captions[0].empty())
        if (const std::optional<TKey> key = rule.CharAt(scope.Captions[0], 0).Key)
            scope.OutsideKeys.push_back(*key);
    for (const std::string& caption : scope.Captions)
        CheckCandidates(rule, caption, marker);
    CheckScopeOf(rule, scope, marker);
    return 0;
}
