#include "PreferredScopeFix.h"

#include <algorithm>

std::vector<RKeyCandidate> RulePlaces(std::string_view text, const IKeyRule& rule, char marker)
{
    std::vector<RKeyCandidate> places;
    for (std::size_t pos = 0; pos < text.size();) {
        if (text[pos] == marker) {
            pos += pos + 1 < text.size() && text[pos + 1] == marker ? 2 : 1;
            continue;
        }
        const RCaptionChar c = rule.CharAt(text, pos);
        if (c.Key)
            places.push_back({.Pos = pos, .Key = *c.Key});
        pos += c.Length;
    }
    for (const RKeyCandidate& candidate : rule.CandidatesOf(text))
        if (candidate.Suffix != 0)
            places.push_back(candidate);
    return places;
}

std::optional<std::vector<std::size_t>> ChoosePlaces(const std::vector<RPlacedCaption>& captions,
                                                     const std::vector<TKey>& taken, char marker,
                                                     const TCostModel& model, TPreferMethod method)
{
    TDenseKeys keys;
    RAssignmentScope scope;
    std::vector<std::size_t> positions;
    for (const RPlacedCaption& caption : captions) {
        positions.clear();
        // A suffix is no character of the text: it costs as punctuation.
        for (const RKeyCandidate& place : caption.Places)
            positions.push_back(place.Suffix != 0 ? caption.Text.size() + 1 : place.Pos);
        const RCaptionCosts priced =
            model.CostsOf(caption.Text, marker, positions, caption.PreferredKey);
        std::vector<RKeyChoice>& row = scope.Captions.emplace_back();
        for (std::size_t p = 0; p < caption.Places.size(); ++p)
            row.push_back({keys.Add(caption.Places[p].Key), priced.Costs[p]});
    }
    for (const TKey key : taken)
        if (const int index = keys.IndexOf(key); index >= 0)
            scope.TakenKeys.push_back(index);
    scope.KeyCount = keys.Count();
    return method == TPreferMethod::Greedy ? FindGreedyAssignment(scope)
                                           : FindCheapestAssignment(scope);
}

std::optional<std::vector<RKeyed>> AssignScopePreferring(const RScope& scope, const IKeyRule& rule,
                                                         char marker, const TCostModel& model,
                                                         TPreferMethod method,
                                                         const TPreferredKeys& preferred)
{
    std::vector<RPlacedCaption> captions;
    for (std::size_t i = 0; i < scope.Captions.size(); ++i)
        captions.push_back({scope.Captions[i], RulePlaces(scope.Captions[i], rule, marker),
                            i < preferred.size() ? preferred[i] : std::nullopt});
    const std::optional<std::vector<std::size_t>> chosen =
        ChoosePlaces(captions, scope.OutsideKeys, marker, model, method);
    if (!chosen)
        return std::nullopt;
    std::vector<RKeyed> keyed;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const RKeyCandidate& place = captions[i].Places[(*chosen)[i]];
        keyed.push_back({ApplyCandidate(captions[i].Text, place, marker), place.Key});
    }
    return keyed;
}

RScopeFix FixScopePreferring(const RScope& scope, const IKeyRule& rule, char marker,
                             const std::vector<bool>& wantsKey,
                             const std::vector<bool>& mayGoWithoutKey, const TCostModel& model,
                             TPreferMethod method, const TPreferredKeys& preferred)
{
    std::vector<bool> keyless(scope.Captions.size(), false);
    for (std::size_t i = 0; i < scope.Captions.size(); ++i)
        keyless[i] = i < mayGoWithoutKey.size() && mayGoWithoutKey[i] &&
                     model.IsNoKeyCaption(scope.Captions[i], marker);
    const RScopeFixPlan plan = PlanScopeFix(scope, rule, marker, wantsKey, keyless);

    std::vector<RPlacedCaption> captions;
    std::vector<std::size_t> needOf;
    for (std::size_t n = 0; n < plan.Needs.size(); ++n) {
        const RFixNeed& need = plan.Needs[n];
        if (need.Kept || need.Keyless)
            continue;
        needOf.push_back(n);
        captions.push_back(
            {need.Text, RulePlaces(need.Text, rule, marker),
             need.Caption < preferred.size() ? preferred[need.Caption] : std::nullopt});
    }
    const std::optional<std::vector<std::size_t>> chosen =
        ChoosePlaces(captions, plan.Taken, marker, model, method);
    if (!chosen)
        return {};
    std::vector<std::optional<RKeyCandidate>> mended(plan.Needs.size());
    for (std::size_t c = 0; c < captions.size(); ++c)
        mended[needOf[c]] = captions[c].Places[(*chosen)[c]];
    return ApplyScopeFix(scope, plan, marker, mended);
}
