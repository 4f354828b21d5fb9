// Keys a designer would choose: how long the exact assignment takes under the cost model, and
// how the first assignment, a greedy pass and the exact optimum compare on real-looking menus.
#include "Engine.h"
#include "GeneratedMenus.h"
#include "KeyQuality.h"
#include "PreferredAssignment.h"
#include "QuietHost.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

const TAsciiCharacterTraits Ascii;

std::vector<std::vector<std::string>> ExampleList()
{
    std::ifstream in(QUARNEL_EXAMPLE_LIST, std::ios::binary);
    std::vector<std::string> captions;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            captions.push_back(line);
    }
    return {captions};
}

RKeyScope ScopeOf(const std::vector<std::string>& captions)
{
    RKeyScope scope{KeyCount, {}, {}};
    for (const std::string& caption : captions)
        scope.Captions.push_back({caption, AsciiKeyPlaces(caption, DefaultAccChar), {}, {}});
    return scope;
}

std::vector<RKeyScope> ScopesOf(const std::vector<std::vector<std::string>>& application)
{
    std::vector<RKeyScope> scopes;
    for (const std::vector<std::string>& captions : application)
        scopes.push_back(ScopeOf(captions));
    return scopes;
}

void CheapestScope(benchmark::State& state, const std::vector<std::string>& captions,
                   TPreferMethod method)
{
    const TCostModel model(DefaultPreferences(), Ascii);
    const RKeyScope scope = ScopeOf(captions);
    bool assigned = false;
    for (auto _ : state) {
        const RScopeKeys keys = AssignScope(scope, DefaultAccChar, model, method);
        assigned = keys.Assigned;
        benchmark::DoNotOptimize(keys);
    }
    // A greedy pass can fail where the optimum exists.
    state.counters["assigned"] = assigned ? 1 : 0;
}

// Forty captions that each offer every key at the same cost: ties everywhere.
std::vector<std::string> FortyOverAllKeys()
{
    const std::string all = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!$<=>?@";
    std::vector<std::string> captions;
    for (std::size_t i = 0; i < 40; ++i)
        captions.push_back(all.substr(i) + all.substr(0, i));
    return captions;
}

std::vector<std::string> FortyMenuItems()
{
    const TCostModel model(DefaultPreferences(), Ascii);
    return ::FortyMenuItems([&](const std::vector<std::string>& menu) {
        return AssignScope(ScopeOf(menu), DefaultAccChar, model, TPreferMethod::Cheapest).Assigned;
    });
}

BENCHMARK_CAPTURE(CheapestScope, FortyMenuItems, FortyMenuItems(), TPreferMethod::Cheapest)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CheapestScope, FortyMenuItemsGreedy, FortyMenuItems(), TPreferMethod::Greedy)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CheapestScope, FortyOverAllKeys, FortyOverAllKeys(), TPreferMethod::Cheapest)
    ->Unit(benchmark::kMicrosecond);

// A large application's menus and dialogs, priced and assigned one scope at a time; and
// again with the second pass that keeps each command on one key.
void TenThousandScopes(benchmark::State& state, bool consistently)
{
    const TCostModel model(DefaultPreferences(), Ascii);
    const std::vector<RKeyScope> scopes = ScopesOf(GeneratedApplication(10000, 15, 15, 10000));
    for (auto _ : state) {
        if (consistently) {
            benchmark::DoNotOptimize(
                AssignScopesConsistently(scopes, DefaultAccChar, model, TPreferMethod::Cheapest));
            continue;
        }
        for (const RKeyScope& scope : scopes)
            benchmark::DoNotOptimize(
                AssignScope(scope, DefaultAccChar, model, TPreferMethod::Cheapest));
    }
}
BENCHMARK_CAPTURE(TenThousandScopes, EachAlone, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(TenThousandScopes, Consistently, true)->Unit(benchmark::kMillisecond);

enum class TMethod
{
    First,
    Greedy,
    Cheapest,
    CheapestConsistently,
};

std::vector<std::vector<std::string>> Assigned(const std::vector<std::vector<std::string>>& app,
                                               TMethod method, const TCostModel& model)
{
    std::vector<std::vector<std::string>> marked(app.size());
    if (method == TMethod::First) {
        TAccEngine engine;
        TQuietHost host;
        for (std::size_t s = 0; s < app.size(); ++s)
            for (const RAccelerated& result : engine.Process(
                     app[s].size(),
                     [&app, s](std::size_t i) -> const std::string& { return app[s][i]; }, host))
                marked[s].push_back(result.Caption);
        return marked;
    }
    const std::vector<RKeyScope> scopes = ScopesOf(app);
    const TPreferMethod prefer =
        method == TMethod::Greedy ? TPreferMethod::Greedy : TPreferMethod::Cheapest;
    std::vector<RScopeKeys> keys;
    if (method == TMethod::CheapestConsistently)
        keys = AssignScopesConsistently(scopes, DefaultAccChar, model, prefer);
    else
        for (const RKeyScope& scope : scopes)
            keys.push_back(AssignScope(scope, DefaultAccChar, model, prefer));
    for (std::size_t s = 0; s < app.size(); ++s)
        for (std::size_t i = 0; i < app[s].size(); ++i)
            marked[s].push_back(keys[s].Assigned
                                    ? MarkedCaption(app[s][i], keys[s].Pos[i], DefaultAccChar)
                                    : app[s][i]);
    return marked;
}

// Not a timing: the share of keys on a first letter and of standard keys honoured, and the
// commands keyed differently in different menus, as counters.
void Shares(benchmark::State& state, const std::vector<std::vector<std::string>>& app,
            TMethod method)
{
    const TCostModel model(DefaultPreferences(), Ascii);
    RQualityReport report;
    for (auto _ : state)
        report = MeasureQuality(Assigned(app, method, model), DefaultAccChar, model);
    const RScopeQuality& total = report.Total;
    state.counters["first_letter_pct"] =
        100.0 * static_cast<double>(total.FirstLetterKeys) / static_cast<double>(total.Keys);
    state.counters["standard_pct"] = 100.0 * static_cast<double>(total.StandardKeys) /
                                     static_cast<double>(total.StandardCaptions);
    state.counters["keyed_pct"] =
        100.0 * static_cast<double>(total.Keys) / static_cast<double>(total.Captions);
    state.counters["inconsistent_texts"] = static_cast<double>(report.InconsistentTexts);
    state.counters["shared_texts"] = static_cast<double>(report.SharedTexts);
}

const std::vector<std::vector<std::string>>& Application()
{
    static const std::vector<std::vector<std::string>> app = GeneratedApplication(200, 6, 20, 200);
    return app;
}

BENCHMARK_CAPTURE(Shares, ExampleFirst, ExampleList(), TMethod::First)->Iterations(1);
BENCHMARK_CAPTURE(Shares, ExampleGreedy, ExampleList(), TMethod::Greedy)->Iterations(1);
BENCHMARK_CAPTURE(Shares, ExampleCheapest, ExampleList(), TMethod::Cheapest)->Iterations(1);
BENCHMARK_CAPTURE(Shares, AppFirst, Application(), TMethod::First)->Iterations(1);
BENCHMARK_CAPTURE(Shares, AppGreedy, Application(), TMethod::Greedy)->Iterations(1);
BENCHMARK_CAPTURE(Shares, AppCheapest, Application(), TMethod::Cheapest)->Iterations(1);
BENCHMARK_CAPTURE(Shares, AppCheapestConsistently, Application(), TMethod::CheapestConsistently)
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
