#include "CombinationSearch.h"
#include "Scope.h"

#include <algorithm>

namespace {

bool Taken(const std::vector<TKey>& keys, TKey key)
{
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

// Dense key lists of the needs that want a key and are not kept, without the taken keys.
TFlatKeyLists ListsAround(const std::vector<RFixNeed>& needs, const std::vector<bool>& kept,
                          const std::vector<TKey>& taken, TDenseKeys& keys)
{
    TFlatKeyLists lists;
    for (std::size_t n = 0; n < needs.size(); ++n) {
        if (kept[n] || needs[n].Keyless)
            continue;
        for (const RKeyCandidate& candidate : needs[n].Candidates)
            if (!Taken(taken, candidate.Key))
                lists.Keys.push_back(keys.Add(candidate.Key));
        lists.Ends.push_back(lists.Keys.size());
    }
    return lists;
}

bool Completes(const std::vector<RFixNeed>& needs, const std::vector<bool>& kept,
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

std::vector<bool> KeptOf(const RScopeFixPlan& plan)
{
    std::vector<bool> kept;
    for (const RFixNeed& need : plan.Needs)
        kept.push_back(need.Kept);
    return kept;
}

// The suffix candidate of the preferred letter moves before the other suffixes; the caption's
// own characters stay first.
void PreferSuffix(std::vector<RKeyCandidate>& candidates, char suffix)
{
    const auto firstSuffix = std::find_if(candidates.begin(), candidates.end(),
                                          [](const RKeyCandidate& c) { return c.Suffix != 0; });
    const auto preferred = std::find_if(firstSuffix, candidates.end(),
                                        [&](const RKeyCandidate& c) { return c.Suffix == suffix; });
    if (preferred != candidates.end())
        std::rotate(firstSuffix, preferred, preferred + 1);
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

RScopeFixPlan PlanScopeFix(const RScope& scope, const IKeyRule& rule, char marker,
                           const std::vector<bool>& wantsKey, const std::vector<bool>& keyless,
                           const std::vector<char>& preferredSuffixes)
{
    const std::vector<std::string>& captions = scope.Captions;
    std::vector<RScopeFinding> findings = CheckScope(scope, rule, marker);
    std::vector<bool> faulty(captions.size(), false);
    for (const RScopeFinding& finding : findings)
        if (finding.Kind != TFindingKind::NoMarker && finding.Kind != TFindingKind::DuplicateKey)
            faulty[finding.Caption] = true;

    RScopeFixPlan plan;
    std::vector<RFixNeed>& needs = plan.Needs;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const RScopeMarkers scanned = ScanScopeMarkers(captions[i], rule, marker);
        const bool marked = !scanned.Markers.Singles.empty() || scanned.Markers.LoneAtEnd;
        const bool withoutKey = i < keyless.size() && keyless[i];
        if (!marked && (withoutKey || !(i < wantsKey.size() && wantsKey[i])))
            continue;
        RFixNeed& need = needs.emplace_back();
        need.Caption = i;
        need.Keyless = withoutKey;
        if (!faulty[i])
            need.Pin = scanned.PinnedKey;
        need.Text =
            WithoutOwnSuffix(WithoutMarkers(captions[i], scanned.Markers), scanned.Markers, rule);
        need.Candidates = rule.CandidatesOf(need.Text);
        if (i < preferredSuffixes.size() && preferredSuffixes[i] != 0)
            PreferSuffix(need.Candidates, preferredSuffixes[i]);
    }

    // Sound markers in caption order: each stays when the others can still be completed with
    // it and every marker kept before it. Keeping is then exact: a set of kept markers is
    // feasible exactly when the captions left over can be matched to keys, and those sets have
    // the exchange property of a matroid, so taking them greedily in order reaches a largest
    // set, and the earliest among the largest. Captions that need no key come last, so that
    // where "&OK" and "&Open" clash, "Open" keeps its key and "OK" loses its marker.
    std::vector<bool> kept(needs.size(), false);
    plan.Taken = scope.OutsideKeys;
    std::vector<TKey>& taken = plan.Taken;
    for (const bool keylessPass : {false, true})
        for (std::size_t n = 0; n < needs.size(); ++n) {
            if (needs[n].Keyless != keylessPass || !needs[n].Pin || Taken(taken, *needs[n].Pin))
                continue;
            kept[n] = true;
            taken.push_back(*needs[n].Pin);
            if (!Completes(needs, kept, taken)) {
                kept[n] = false;
                taken.pop_back();
            }
        }
    for (std::size_t n = 0; n < needs.size(); ++n)
        needs[n].Kept = kept[n];
    return plan;
}

RScopeFix ApplyScopeFix(const RScope& scope, const RScopeFixPlan& plan, char marker,
                        const std::vector<std::optional<RKeyCandidate>>& mended)
{
    const std::vector<std::string>& captions = scope.Captions;
    RScopeFix fix;
    fix.Fixed = true;
    fix.Captions = captions;
    fix.Keys.assign(captions.size(), std::nullopt);
    fix.Changed.assign(captions.size(), false);
    for (std::size_t n = 0; n < plan.Needs.size(); ++n) {
        const RFixNeed& need = plan.Needs[n];
        const std::size_t i = need.Caption;
        if (need.Kept) {
            fix.Keys[i] = need.Pin;
            continue;
        }
        if (n < mended.size() && mended[n]) {
            fix.Captions[i] = ApplyCandidate(need.Text, *mended[n], marker);
            fix.Keys[i] = mended[n]->Key;
        } else {
            fix.Captions[i] = need.Text; // a caption that keeps no key loses its markers
        }
        fix.Changed[i] = fix.Captions[i] != captions[i];
    }
    return fix;
}

RScopeFix FixScope(const RScope& scope, const IKeyRule& rule, char marker,
                   const std::vector<bool>& wantsKey, const std::vector<char>& preferredSuffixes)
{
    const RScopeFixPlan plan = PlanScopeFix(scope, rule, marker, wantsKey, {}, preferredSuffixes);
    TDenseKeys keys;
    const std::vector<bool> kept = KeptOf(plan);
    const TFlatKeyLists lists = ListsAround(plan.Needs, kept, plan.Taken, keys);
    const std::optional<std::vector<int>> chosen = FindFirstAssignment(lists, keys.Count());
    if (!chosen)
        return {};

    std::vector<std::optional<RKeyCandidate>> mended(plan.Needs.size());
    std::size_t list = 0;
    for (std::size_t n = 0; n < plan.Needs.size(); ++n) {
        const RFixNeed& need = plan.Needs[n];
        if (need.Kept || need.Keyless)
            continue;
        const std::span<const int> keysOfNeed = lists[list];
        const int key = keysOfNeed[static_cast<std::size_t>((*chosen)[list])];
        ++list;
        mended[n] =
            *std::find_if(need.Candidates.begin(), need.Candidates.end(),
                          [&](const RKeyCandidate& c) { return c.Key == keys.KeyOfIndex(key); });
    }
    return ApplyScopeFix(scope, plan, marker, mended);
}
