#include "CombinationSearch.h"
#include "Scope.h"

#include <algorithm>

namespace {

// One caption that ends with a key: kept as it is, or mended from its text without markers.
struct RNeed
{
    std::size_t Caption = 0;
    std::optional<TKey> Pin; // the key of its one sound marker
    std::string Text;        // without markers
    std::vector<RKeyCandidate> Candidates;
};

bool Taken(const std::vector<TKey>& keys, TKey key)
{
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

// Dense key lists of the needs not kept, without the taken keys.
TFlatKeyLists ListsAround(const std::vector<RNeed>& needs, const std::vector<bool>& kept,
                          const std::vector<TKey>& taken, TDenseKeys& keys)
{
    TFlatKeyLists lists;
    for (std::size_t n = 0; n < needs.size(); ++n) {
        if (kept[n])
            continue;
        for (const RKeyCandidate& candidate : needs[n].Candidates)
            if (!Taken(taken, candidate.Key))
                lists.Keys.push_back(keys.Add(candidate.Key));
        lists.Ends.push_back(lists.Keys.size());
    }
    return lists;
}

bool Completes(const std::vector<RNeed>& needs, const std::vector<bool>& kept,
               const std::vector<TKey>& taken)
{
    TDenseKeys keys;
    const TFlatKeyLists lists = ListsAround(needs, kept, taken, keys);
    return FindFirstAssignment(lists, keys.Count()).has_value();
}

// A caption whose one marker stands in a "(&X)" suffix, as captions in scripts typed through an
// input method carry their key, is mended from its text without that suffix: a new key then
// replaces the suffix instead of standing beside a "(X)" that no longer means anything.
std::string WithoutOwnSuffix(std::string text, const RMarkers& markers, const IKeyRule& rule)
{
    if (markers.Singles.size() != 1 || markers.LoneAtEnd)
        return text;
    const std::size_t key = markers.Singles.front(); // the suffix's letter, markers taken out
    if (key == 0 || key + 1 >= text.size() || text[key - 1] != '(' || text[key + 1] != ')')
        return text;
    const char letter = text[key];
    if (!((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z') ||
          (letter >= '0' && letter <= '9')))
        return text;
    std::string base = text;
    base.erase(key - 1, 3);
    // Only where the rule would put a suffix of its own at that very place.
    for (const RKeyCandidate& candidate : rule.CandidatesOf(base))
        if (candidate.Suffix != 0)
            return candidate.Pos == key - 1 ? base : text;
    return text;
}

} // namespace

std::string WithoutMarkers(std::string_view caption, const RMarkers& markers)
{
    std::string text;
    text.reserve(caption.size());
    std::size_t next = 0;
    for (const std::size_t single : markers.Singles) {
        text.append(caption.substr(next, single - next));
        next = single + 1;
    }
    text.append(caption.substr(next));
    if (markers.LoneAtEnd)
        text.pop_back();
    return text;
}

RScopeFix FixScope(const RScope& scope, const IKeyRule& rule, char marker,
                   const std::vector<bool>& wantsKey)
{
    const std::vector<std::string>& captions = scope.Captions;
    std::vector<RScopeFinding> findings = CheckScope(scope, rule, marker);
    std::vector<bool> faulty(captions.size(), false);
    for (const RScopeFinding& finding : findings)
        if (finding.Kind != TFindingKind::NoMarker && finding.Kind != TFindingKind::DuplicateKey)
            faulty[finding.Caption] = true;

    std::vector<RNeed> needs;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const RScopeMarkers scanned = ScanScopeMarkers(captions[i], rule, marker);
        const bool marked = !scanned.Markers.Singles.empty() || scanned.Markers.LoneAtEnd;
        if (!marked && !(i < wantsKey.size() && wantsKey[i]))
            continue;
        RNeed& need = needs.emplace_back();
        need.Caption = i;
        if (!faulty[i])
            need.Pin = scanned.PinnedKey;
        need.Text =
            WithoutOwnSuffix(WithoutMarkers(captions[i], scanned.Markers), scanned.Markers, rule);
        need.Candidates = rule.CandidatesOf(need.Text);
    }

    // Sound markers in caption order: each stays when the others can still be completed with
    // it and every marker kept before it. Keeping is then exact: a set of kept markers is
    // feasible exactly when the captions left over can be matched to keys, and those sets have
    // the exchange property of a matroid, so taking them greedily in order reaches a largest
    // set, and the earliest among the largest.
    std::vector<bool> kept(needs.size(), false);
    std::vector<TKey> taken = scope.OutsideKeys;
    for (std::size_t n = 0; n < needs.size(); ++n) {
        if (!needs[n].Pin || Taken(taken, *needs[n].Pin))
            continue;
        kept[n] = true;
        taken.push_back(*needs[n].Pin);
        if (!Completes(needs, kept, taken)) {
            kept[n] = false;
            taken.pop_back();
        }
    }

    RScopeFix fix;
    TDenseKeys keys;
    const TFlatKeyLists lists = ListsAround(needs, kept, taken, keys);
    const std::optional<std::vector<int>> chosen = FindFirstAssignment(lists, keys.Count());
    if (!chosen)
        return fix;

    fix.Fixed = true;
    fix.Captions = captions;
    fix.Keys.assign(captions.size(), std::nullopt);
    fix.Changed.assign(captions.size(), false);
    std::size_t mended = 0;
    for (std::size_t n = 0; n < needs.size(); ++n) {
        const std::size_t i = needs[n].Caption;
        if (kept[n]) {
            fix.Keys[i] = needs[n].Pin;
            continue;
        }
        const std::span<const int> list = lists[mended];
        const int key = list[static_cast<std::size_t>((*chosen)[mended])];
        ++mended;
        const auto candidate =
            std::find_if(needs[n].Candidates.begin(), needs[n].Candidates.end(),
                         [&](const RKeyCandidate& c) { return c.Key == keys.KeyOfIndex(key); });
        fix.Captions[i] = ApplyCandidate(needs[n].Text, *candidate, marker);
        fix.Keys[i] = candidate->Key;
        fix.Changed[i] = fix.Captions[i] != captions[i];
    }
    return fix;
}
