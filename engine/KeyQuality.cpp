#include "KeyQuality.h"

#include <algorithm>

RScopeQuality& RScopeQuality::operator+=(const RScopeQuality& other)
{
    Captions += other.Captions;
    Keys += other.Keys;
    FirstLetterKeys += other.FirstLetterKeys;
    StandardCaptions += other.StandardCaptions;
    StandardKeys += other.StandardKeys;
    return *this;
}

std::map<std::u32string, TKeyTally>
KeysByCommand(const std::vector<std::vector<std::string>>& scopes, char marker,
              const TCostModel& model)
{
    std::map<std::u32string, TKeyTally> tallies;
    for (const std::vector<std::string>& scope : scopes)
        for (const std::string& caption : scope) {
            const std::optional<RPlainChar> marked = MarkedChar(caption, marker);
            if (!marked)
                continue;
            TKeyTally& tally = tallies[model.CommandText(caption, marker)];
            const char32_t key = model.Traits().Fold(marked->Char);
            const auto known = std::find_if(tally.begin(), tally.end(), [key](const auto& count) {
                return count.first == key;
            });
            if (known != tally.end())
                ++known->second;
            else
                tally.emplace_back(key, 1);
        }
    return tallies;
}

namespace {

RScopeQuality MeasureScope(const std::vector<std::string>& scope, char marker,
                           const TCostModel& model)
{
    RScopeQuality quality;
    for (const std::string& caption : scope) {
        ++quality.Captions;
        const std::optional<char32_t> standard = model.StandardKeyOf(caption, marker);
        if (standard)
            ++quality.StandardCaptions;
        const std::optional<RPlainChar> marked = MarkedChar(caption, marker);
        if (!marked)
            continue;
        ++quality.Keys;
        if (standard && *standard == model.Traits().Fold(marked->Char))
            ++quality.StandardKeys;
        const std::vector<RPlainChar> plain = PlainChars(caption, marker);
        const auto at = std::find_if(plain.begin(), plain.end(), [&marked](const RPlainChar& c) {
            return c.Pos == marked->Pos;
        });
        if (at != plain.end() &&
            model.BeginsWord(plain, static_cast<std::size_t>(at - plain.begin())))
            ++quality.FirstLetterKeys;
    }
    return quality;
}

} // namespace

RQualityReport MeasureQuality(const std::vector<std::vector<std::string>>& scopes, char marker,
                              const TCostModel& model)
{
    RQualityReport report;
    for (const std::vector<std::string>& scope : scopes) {
        report.Scopes.push_back(MeasureScope(scope, marker, model));
        report.Total += report.Scopes.back();
    }
    for (const auto& [text, tally] : KeysByCommand(scopes, marker, model)) {
        std::size_t captions = 0;
        std::size_t most = 0;
        for (const auto& [key, count] : tally) {
            captions += count;
            most = std::max(most, count);
        }
        if (captions < 2)
            continue;
        ++report.SharedTexts;
        if (tally.size() > 1)
            ++report.InconsistentTexts;
        report.OffMajorityKeys += captions - most;
    }
    return report;
}
