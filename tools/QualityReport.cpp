#include "QualityReport.h"

#include "QuarnelError.h"
#include "ScopeFileCommands.h"
#include "UnicodeKeyRule.h"

namespace {

std::string Percent(std::size_t part, std::size_t whole)
{
    return whole == 0 ? std::string()
                      : " (" + std::to_string((part * 100 + whole / 2) / whole) + "%)";
}

std::string Figures(const RScopeQuality& quality, std::size_t offMajority, bool shares)
{
    std::string text = std::to_string(quality.Captions) +
                       (quality.Captions == 1 ? " caption, " : " captions, ") +
                       std::to_string(quality.Keys) + (quality.Keys == 1 ? " key, " : " keys, ");
    text += std::to_string(quality.FirstLetterKeys) + " on a first letter";
    if (shares)
        text += Percent(quality.FirstLetterKeys, quality.Keys);
    text += ", " + std::to_string(quality.StandardKeys) + " of " +
            std::to_string(quality.StandardCaptions) + " standard keys";
    if (shares)
        text += Percent(quality.StandardKeys, quality.StandardCaptions);
    text += ", " + std::to_string(offMajority) + " off the usual key of their command";
    return text;
}

} // namespace

std::vector<RQualityScope>
QualityScopes(const std::vector<std::string>& files, const RScopeFileOptions& options,
              const IKeyRule& listRule, char listMarker, const TKeyPreference& preference,
              const std::function<std::vector<std::string>(const std::string&)>& readList,
              std::string& errors)
{
    std::vector<RQualityScope> scopes;
    for (const std::string& fileName : files) {
        const ICaptionFormat* format = ScopeFormatFor(fileName, options);
        if (!format) {
            try {
                scopes.push_back({fileName == "-" ? "<stdin>" : fileName, readList(fileName),
                                  listMarker, &preference.ModelFor(listRule)});
            } catch (const EQuarnelError& error) {
                errors += std::string(error.what()) + '\n';
            }
            continue;
        }
        const std::optional<std::string> bytes = FileBytes(fileName);
        if (!bytes) {
            errors += fileName + ": cannot read\n";
            continue;
        }
        try {
            const RCaptionFile file = format->Read(*bytes, fileName);
            for (const RCaptionScope& scope : file.Scopes)
                scopes.push_back({fileName + " [" + scope.Name + "]", KeyableCaptions(scope),
                                  format->Marker(), &preference.ModelFor(UnicodeKeyRule())});
        } catch (const EFormatError& error) {
            errors += std::string(error.what()) + '\n';
        }
    }
    return scopes;
}

std::string QualityText(const std::vector<RQualityScope>& scopes, const TKeyPreference& preference)
{
    const TCostModel& callModel = preference.CallModel();
    std::map<char, std::vector<std::vector<std::string>>> byMarker;
    for (const RQualityScope& scope : scopes)
        byMarker[scope.Marker].push_back(scope.Captions);
    const std::map<std::u32string, TKeyTally> tallies =
        KeysByCommandOverMarkers(byMarker, callModel);
    const std::map<std::u32string, char32_t> majority = MajorityKeysOf(tallies);

    std::string text;
    RScopeQuality total;
    std::size_t totalOff = 0;
    for (const RQualityScope& scope : scopes) {
        const RScopeQuality quality =
            MeasureQuality({scope.Captions}, scope.Marker, *scope.Model).Total;
        std::size_t off = 0;
        for (const std::string& caption : scope.Captions) {
            const std::optional<RPlainChar> marked = MarkedChar(caption, scope.Marker);
            if (!marked)
                continue;
            const auto usual = majority.find(callModel.CommandText(caption, scope.Marker));
            off +=
                usual != majority.end() && usual->second != callModel.Traits().Fold(marked->Char);
        }
        text += scope.Name + ": " + Figures(quality, off, false) + '\n';
        total += quality;
        totalOff += off;
    }
    std::size_t several = 0;
    for (const auto& [command, tally] : tallies)
        several += majority.contains(command) && tally.size() > 1;
    text += "total: " + std::to_string(scopes.size()) +
            (scopes.size() == 1 ? " scope, " : " scopes, ") + Figures(total, totalOff, true) +
            "; " + std::to_string(several) + " of " + std::to_string(majority.size()) +
            " commands in several captions on more than one key\n";
    return text;
}
