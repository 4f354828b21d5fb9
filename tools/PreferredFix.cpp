#include "PreferredFix.h"

#include "ListFile.h"
#include "PreferenceRules.h"
#include "QuarnelError.h"
#include "ScopeFileCommands.h"
#include "UnicodeKeyRule.h"

#include <algorithm>
#include <fstream>
#include <iterator>

TKeyPreference::TKeyPreference(RPreferences preferences, TPreferMethod method)
    : FMethod(method), FAsciiModel(preferences, FAsciiTraits),
      FUnicodeModel(std::move(preferences), FUnicodeTraits)
{}

const TCostModel& TKeyPreference::ModelFor(const IKeyRule& rule) const
{
    return &rule == &AsciiKeyRule() ? FAsciiModel : FUnicodeModel;
}

std::map<std::u32string, TKeyTally> KeysByCommandOverMarkers(
    const std::map<char, std::vector<std::vector<std::string>>>& scopesByMarker,
    const TCostModel& model)
{
    std::map<std::u32string, TKeyTally> tallies;
    for (const auto& [marker, scopes] : scopesByMarker)
        for (const auto& [command, tally] : KeysByCommand(scopes, marker, model)) {
            TKeyTally& total = tallies[command];
            for (const auto& [key, count] : tally) {
                const auto known = std::find_if(total.begin(), total.end(),
                                                [key](const auto& k) { return k.first == key; });
                if (known != total.end())
                    known->second += count;
                else
                    total.emplace_back(key, count);
            }
        }
    return tallies;
}

std::map<std::u32string, char32_t>
MajorityKeysOf(const std::map<std::u32string, TKeyTally>& tallies)
{
    std::map<std::u32string, char32_t> majority;
    for (const auto& [command, tally] : tallies) {
        std::size_t captions = 0;
        for (const auto& count : tally)
            captions += count.second;
        if (captions < 2)
            continue;
        // max_element keeps the first of equal counts.
        majority[command] =
            std::max_element(tally.begin(), tally.end(), [](const auto& a, const auto& b) {
                return a.second < b.second;
            })->first;
    }
    return majority;
}

void TKeyPreference::LearnKeys(
    const std::map<char, std::vector<std::vector<std::string>>>& scopesByMarker)
{
    FMajority = MajorityKeysOf(KeysByCommandOverMarkers(scopesByMarker, FUnicodeModel));
}

TPreferredKeys TKeyPreference::PreferredKeys(const std::vector<std::string>& captions,
                                             char marker) const
{
    TPreferredKeys keys(captions.size());
    if (FMajority.empty())
        return keys;
    for (std::size_t i = 0; i < captions.size(); ++i)
        if (const auto found = FMajority.find(FUnicodeModel.CommandText(captions[i], marker));
            found != FMajority.end())
            keys[i] = found->second;
    return keys;
}

std::optional<std::vector<RKeyed>> AssignListPreferring(const std::vector<std::string>& captions,
                                                        const IKeyRule& rule, char marker,
                                                        const TKeyPreference& preference)
{
    return AssignScopePreferring(RScope{{}, captions, {}}, rule, marker, preference.ModelFor(rule),
                                 preference.Method(), preference.PreferredKeys(captions, marker));
}

RScopeFix FixListPreferring(const std::vector<std::string>& captions, const IKeyRule& rule,
                            char marker, const TKeyPreference& preference)
{
    // Every caption of a list wants a key, "OK" too: a list is no dialog.
    return FixScopePreferring(
        RScope{{}, captions, {}}, rule, marker, std::vector<bool>(captions.size(), true), {},
        preference.ModelFor(rule), preference.Method(), preference.PreferredKeys(captions, marker));
}

RScopeFix FixFileScopePreferring(const RScope& scope, char marker,
                                 const std::vector<bool>& wantsKey,
                                 const std::vector<bool>& mayGoWithoutKey,
                                 const TKeyPreference& preference,
                                 const std::vector<char32_t>& sourceKeys)
{
    const IKeyRule& rule = UnicodeKeyRule();
    const TCostModel& model = preference.ModelFor(rule);
    TPreferredKeys preferred = preference.PreferredKeys(scope.Captions, marker);
    // A translation keeps its source's key where it can: a user who knows the original finds
    // the command on the same key.
    for (std::size_t i = 0; i < sourceKeys.size() && i < preferred.size(); ++i)
        if (sourceKeys[i] != 0)
            preferred[i] = model.Traits().Fold(sourceKeys[i]);
    return FixScopePreferring(scope, rule, marker, wantsKey, mayGoWithoutKey, model,
                              preference.Method(), preferred);
}

std::vector<bool> MayGoWithoutKey(const RCaptionScope& scope,
                                  const std::vector<std::size_t>& captions)
{
    std::vector<bool> may;
    for (const std::size_t c : captions)
        may.push_back(!scope.Captions[c].KeyRequired);
    return may;
}

std::vector<std::string> KeyableCaptions(const RCaptionScope& scope)
{
    std::vector<std::string> captions;
    for (const RFileCaption& caption : scope.Captions)
        if (caption.CanCarryKey)
            captions.push_back(caption.Text);
    return captions;
}

std::optional<std::string> FileBytes(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return std::nullopt;
    return bytes;
}

RPreferences PreferencesFromFile(const std::string& fileName)
{
    const std::optional<std::string> text = FileBytes(fileName);
    if (!text)
        throw EQuarnelError(fileName + ": cannot read the preference rules");
    RPreferences preferences = DefaultPreferences();
    ApplyPreferenceRules(*text, fileName, preferences);
    return preferences;
}

namespace {

// The captions of one file's scopes as a fix without consistency would leave them.
void MendedScopesOfFile(const std::string& fileName, const ICaptionFormat& format,
                        const RScopeFileOptions& options, const TKeyPreference& preference,
                        std::vector<std::vector<std::string>>& scopes)
{
    const std::optional<std::string> bytes = FileBytes(fileName);
    if (!bytes)
        return;
    RCaptionFile file;
    try {
        file = format.Read(*bytes, fileName);
    } catch (const EFormatError&) {
        return;
    }
    for (const RCaptionScope& scope : file.Scopes) {
        std::vector<std::size_t> indices;
        std::vector<bool> wantsKey;
        for (std::size_t c = 0; c < scope.Captions.size(); ++c)
            if (scope.Captions[c].CanCarryKey) {
                indices.push_back(c);
                wantsKey.push_back(scope.Captions[c].KeyRequired || options.AddMissing);
            }
        const RScope engineScope{scope.Name, KeyableCaptions(scope), {}};
        const RScopeFix fix = FixFileScopePreferring(engineScope, format.Marker(), wantsKey,
                                                     MayGoWithoutKey(scope, indices), preference);
        scopes.push_back(fix.Fixed ? fix.Captions : engineScope.Captions);
    }
}

} // namespace

void LearnKeysOfCall(TKeyPreference& preference, const std::vector<std::string>& files,
                     const IKeyRule& listRule, char listMarker, const RScopeFileOptions& options)
{
    std::map<char, std::vector<std::vector<std::string>>> scopesByMarker;
    for (const std::string& fileName : files) {
        if (const ICaptionFormat* format = ScopeFormatFor(fileName, options)) {
            MendedScopesOfFile(fileName, *format, options, preference,
                               scopesByMarker[format->Marker()]);
            continue;
        }
        try {
            const std::vector<std::string> captions = ReadCaptionFile(fileName);
            const RScopeFix fix = FixListPreferring(captions, listRule, listMarker, preference);
            scopesByMarker[listMarker].push_back(fix.Fixed ? fix.Captions : captions);
        } catch (const EQuarnelError&) {
            // The fix reports it.
        }
    }
    preference.LearnKeys(scopesByMarker);
}
