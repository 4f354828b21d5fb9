// Keys a designer would choose as the batch tool gives them: a list of 40 captions assigned
// under --prefer guidelines with either key rule, and 10,000 menus mended as fix mends the
// scopes of resource scripts and Qt and GTK files (the Unicode rule and its character traits).
#include "GeneratedMenus.h"
#include "KeyRule.h"
#include "PreferredScopeFix.h"
#include "UnicodeCharacterTraits.h"
#include "UnicodeKeyRule.h"

#include <benchmark/benchmark.h>
#include <random>
#include <string>
#include <vector>

namespace {

const TAsciiCharacterTraits Ascii;
const TUnicodeCharacterTraits Unicode;

const ICharacterTraits& TraitsFor(const IKeyRule& rule)
{
    return &rule == &AsciiKeyRule() ? static_cast<const ICharacterTraits&>(Ascii) : Unicode;
}

std::vector<std::string> FortyMenuItems()
{
    const TCostModel model(DefaultPreferences(), Ascii);
    return ::FortyMenuItems([&](const std::vector<std::string>& menu) {
        return AssignScopePreferring(RScope{{}, menu, {}}, AsciiKeyRule(), '&', model,
                                     TPreferMethod::Cheapest)
            .has_value();
    });
}

void FortyCaptionList(benchmark::State& state, const IKeyRule* rule)
{
    const TCostModel model(DefaultPreferences(), TraitsFor(*rule));
    const RScope scope{{}, FortyMenuItems(), {}};
    bool assigned = false;
    for (auto _ : state) {
        const auto keyed = AssignScopePreferring(scope, *rule, '&', model, TPreferMethod::Cheapest);
        assigned = keyed.has_value();
        benchmark::DoNotOptimize(keyed);
    }
    state.counters["assigned"] = assigned ? 1 : 0;
}
BENCHMARK_CAPTURE(FortyCaptionList, Ascii, &AsciiKeyRule())->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FortyCaptionList, Unicode, &UnicodeKeyRule())->Unit(benchmark::kMicrosecond);

// 10,000 menus of 15 captions as a translator leaves them: a third of the captions keep a
// marker on their first letter (so some clash), the rest have none and want one.
std::vector<RScope> TranslatedMenus()
{
    std::mt19937 random(10000);
    std::uniform_int_distribution<int> percent(0, 99);
    std::vector<RScope> scopes;
    for (const std::vector<std::string>& menu : GeneratedApplication(10000, 15, 15, 10000)) {
        RScope& scope = scopes.emplace_back();
        for (const std::string& caption : menu)
            scope.Captions.push_back(percent(random) < 33 ? '&' + caption : caption);
    }
    return scopes;
}

void TenThousandMenusMended(benchmark::State& state)
{
    const TCostModel model(DefaultPreferences(), Unicode);
    const std::vector<RScope> scopes = TranslatedMenus();
    const std::vector<bool> wants(15, true);
    std::size_t fixed = 0;
    for (auto _ : state) {
        fixed = 0;
        for (const RScope& scope : scopes) {
            const RScopeFix fix = FixScopePreferring(scope, UnicodeKeyRule(), '&', wants, {}, model,
                                                     TPreferMethod::Cheapest);
            fixed += fix.Fixed;
            benchmark::DoNotOptimize(fix);
        }
    }
    state.counters["fixed"] = static_cast<double>(fixed);
}
BENCHMARK(TenThousandMenusMended)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
