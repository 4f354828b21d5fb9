#include "PreferredAssignment.h"

#include "Engine.h"
#include "KeyQuality.h"

#include <algorithm>
#include <unordered_map>

std::vector<RKeyPlace> AsciiKeyPlaces(std::string_view caption, char marker)
{
    std::vector<RKeyPlace> places;
    for (const RPlainChar& c : PlainChars(caption, marker)) {
        if (c.Char >= 0x80 || static_cast<char>(c.Char) == marker)
            continue;
        const char byte = static_cast<char>(c.Char);
        if (IsEligibleChar(byte))
            places.push_back({c.Pos, KeyIndex(KeyOf(byte))});
    }
    return places;
}

RScopeKeys AssignScope(const RKeyScope& scope, char marker, const TCostModel& model,
                       TPreferMethod method)
{
    RAssignmentScope costs{scope.KeyCount, {}, scope.TakenKeys};
    std::vector<std::optional<std::size_t>> kept;
    std::vector<std::size_t> rowOf(scope.Captions.size(), 0);
    std::vector<char> keyless(scope.Captions.size(), 0);
    bool anyKept = false;
    for (std::size_t i = 0; i < scope.Captions.size(); ++i) {
        const RScopeCaption& caption = scope.Captions[i];
        std::vector<std::size_t> positions;
        for (const RKeyPlace& place : caption.Places)
            positions.push_back(place.Pos);
        const RCaptionCosts priced =
            model.CostsOf(caption.Caption, marker, positions, caption.PreferredKey);
        if (priced.NoKey) {
            keyless[i] = 1;
            continue;
        }
        rowOf[i] = costs.Captions.size();
        std::vector<RKeyChoice>& row = costs.Captions.emplace_back();
        std::optional<std::size_t> keptIndex;
        for (std::size_t p = 0; p < caption.Places.size(); ++p) {
            row.push_back({caption.Places[p].Key, priced.Costs[p]});
            if (caption.KeptPos == caption.Places[p].Pos)
                keptIndex = p;
        }
        anyKept = anyKept || keptIndex.has_value();
        kept.push_back(keptIndex);
    }

    std::optional<TChoiceIndices> chosen;
    if (method == TPreferMethod::Greedy)
        chosen = FindGreedyAssignment(costs);
    else if (anyKept)
        chosen = FindCheapestAssignmentKeeping(costs, kept);
    else
        chosen = FindCheapestAssignment(costs);

    RScopeKeys keys;
    if (!chosen)
        return keys;
    keys.Assigned = true;
    keys.Pos.resize(scope.Captions.size());
    for (std::size_t i = 0; i < scope.Captions.size(); ++i)
        if (!keyless[i])
            keys.Pos[i] = scope.Captions[i].Places[(*chosen)[rowOf[i]]].Pos;
    return keys;
}

namespace {

// The key each tallied command has most often, for commands keyed in more than one caption;
// a tie goes to the key met first.
template <typename TTallies, typename TMajority>
void TakeMajorities(const TTallies& tallies, TMajority& majority)
{
    for (const auto& [text, tally] : tallies) {
        std::size_t captions = 0;
        for (const auto& count : tally)
            captions += count.second;
        if (captions < 2)
            continue;
        // max_element keeps the first of equal counts.
        majority[text] =
            std::max_element(tally.begin(), tally.end(), [](const auto& a, const auto& b) {
                return a.second < b.second;
            })->first;
    }
}

void Tally(TKeyTally& tally, char32_t key)
{
    const auto known = std::find_if(tally.begin(), tally.end(),
                                    [key](const auto& count) { return count.first == key; });
    if (known != tally.end())
        ++known->second;
    else
        tally.emplace_back(key, 1);
}

} // namespace

std::map<std::u32string, char32_t> MajorityKeys(const std::vector<std::vector<std::string>>& scopes,
                                                char marker, const TCostModel& model)
{
    std::map<std::u32string, char32_t> majority;
    TakeMajorities(KeysByCommand(scopes, marker, model), majority);
    return majority;
}

std::vector<RScopeKeys> AssignScopesConsistently(const std::vector<RKeyScope>& scopes, char marker,
                                                 const TCostModel& model, TPreferMethod method)
{
    std::vector<RScopeKeys> first;
    first.reserve(scopes.size());
    std::vector<std::vector<std::u32string>> commands(scopes.size());
    std::unordered_map<std::u32string, TKeyTally> tallies;
    for (std::size_t s = 0; s < scopes.size(); ++s) {
        const RScopeKeys& keys = first.emplace_back(AssignScope(scopes[s], marker, model, method));
        for (std::size_t i = 0; i < scopes[s].Captions.size(); ++i) {
            const std::string& caption = scopes[s].Captions[i].Caption;
            commands[s].push_back(model.CommandText(caption, marker));
            if (keys.Assigned && keys.Pos[i])
                Tally(tallies[commands[s].back()],
                      model.Traits().Fold(CharacterAt(caption, *keys.Pos[i])));
        }
    }
    std::unordered_map<std::u32string, char32_t> majority;
    TakeMajorities(tallies, majority);
    if (majority.empty())
        return first;

    std::vector<RScopeKeys> second;
    second.reserve(scopes.size());
    for (std::size_t s = 0; s < scopes.size(); ++s) {
        if (!first[s].Assigned) {
            second.push_back(std::move(first[s]));
            continue;
        }
        std::optional<RKeyScope> preferring;
        for (std::size_t i = 0; i < scopes[s].Captions.size(); ++i) {
            if (scopes[s].Captions[i].PreferredKey)
                continue; // the caller's own preference, such as a source string's key
            const auto found = majority.find(commands[s][i]);
            if (found == majority.end())
                continue;
            if (!preferring)
                preferring = scopes[s];
            preferring->Captions[i].PreferredKey = found->second;
        }
        second.push_back(preferring ? AssignScope(*preferring, marker, model, method)
                                    : std::move(first[s]));
    }
    return second;
}

std::string MarkedCaption(const std::string& caption, std::optional<std::size_t> pos, char marker)
{
    return pos ? InsertMarker(caption, *pos, marker) : caption;
}
