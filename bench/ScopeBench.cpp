// Scopes under both key rules: adversarial scopes of up to 43 captions (and beyond 64 keys), and
// the 10,000 menus and dialogs of a large application checked, kept and assigned.
#include "KeyRule.h"
#include "Scope.h"
#include "UnicodeKeyRule.h"

#include <benchmark/benchmark.h>
#include <random>
#include <string>
#include <vector>

namespace {

// A caption alphabet: one string per key, in key order.
using TAlphabet = std::vector<std::string>;

// Letters below U+0800 only, two bytes each.
std::string Utf8(char32_t c)
{
    return {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
}

TAlphabet AsciiAlphabet()
{
    TAlphabet letters;
    for (const char c : AsciiKeys)
        letters.emplace_back(1, c);
    return letters;
}

// 32 Cyrillic and 11 Greek small letters: as many keys as the ASCII rule has, none of them ASCII.
TAlphabet CyrillicGreekAlphabet()
{
    TAlphabet letters;
    for (char32_t c = U'а'; c <= U'я'; ++c)
        letters.push_back(Utf8(c));
    for (char32_t c = U'α'; c < U'α' + 11; ++c)
        letters.push_back(Utf8(c));
    return letters;
}

std::string Join(const TAlphabet& letters, std::size_t from, std::size_t count)
{
    std::string caption;
    for (std::size_t i = 0; i < count; ++i)
        caption += letters[(from + i) % letters.size()];
    return caption;
}

// The adversarial shapes of the ASCII benchmarks, spelled in any alphabet of 43 keys.
RScope FortyThreeFull(const TAlphabet& a)
{
    RScope scope;
    for (std::size_t i = 0; i < a.size(); ++i)
        scope.Captions.push_back(Join(a, i, a.size()));
    return scope;
}

RScope FortyThreeAlike(const TAlphabet& a)
{
    return RScope{{}, std::vector<std::string>(a.size(), Join(a, 0, a.size())), {}};
}

RScope FortyThreeForcedChain(const TAlphabet& a)
{
    RScope scope;
    for (std::size_t i = 0; i + 1 < a.size(); ++i)
        scope.Captions.push_back(std::string(a[i]).append(a[i + 1]));
    scope.Captions.push_back(a[0]);
    return scope;
}

RScope FirstKeysReservedBelow(const TAlphabet& a, std::size_t reserved)
{
    RScope scope;
    scope.Captions.assign(a.size() - reserved, Join(a, 0, a.size()));
    scope.Captions.resize(a.size(), Join(a, 0, reserved));
    return scope;
}

RScope FortyTwoFullThenNone(const TAlphabet& a)
{
    RScope scope = FortyThreeFull(a);
    scope.Captions.back() = "...";
    return scope;
}

void Assign(benchmark::State& state, const IKeyRule& rule, const RScope& scope, bool solvable)
{
    for (auto _ : state) {
        const auto result = AssignScope(scope, rule, '&');
        if (result.has_value() != solvable)
            state.SkipWithError("unexpected outcome");
        benchmark::DoNotOptimize(result);
    }
}

#define SCOPE_CASES(rule, alphabet, suffix)                                                        \
    BENCHMARK_CAPTURE(Assign, FortyThreeFull##suffix, rule, FortyThreeFull(alphabet), true)        \
        ->Unit(benchmark::kMicrosecond);                                                           \
    BENCHMARK_CAPTURE(Assign, FortyThreeAlike##suffix, rule, FortyThreeAlike(alphabet), true)      \
        ->Unit(benchmark::kMicrosecond);                                                           \
    BENCHMARK_CAPTURE(Assign, FortyThreeForcedChain##suffix, rule,                                 \
                      FortyThreeForcedChain(alphabet), true)                                       \
        ->Unit(benchmark::kMicrosecond);                                                           \
    BENCHMARK_CAPTURE(Assign, FirstKeysReservedBelow21##suffix, rule,                              \
                      FirstKeysReservedBelow(alphabet, 21), true)                                  \
        ->Unit(benchmark::kMicrosecond);                                                           \
    BENCHMARK_CAPTURE(Assign, FirstKeysReservedBelow38##suffix, rule,                              \
                      FirstKeysReservedBelow(alphabet, 38), true)                                  \
        ->Unit(benchmark::kMicrosecond);                                                           \
    BENCHMARK_CAPTURE(Assign, FortyTwoFullThenNone##suffix, rule, FortyTwoFullThenNone(alphabet),  \
                      false)                                                                       \
        ->Unit(benchmark::kMicrosecond)

SCOPE_CASES(AsciiKeyRule(), AsciiAlphabet(), Ascii);
SCOPE_CASES(UnicodeKeyRule(), CyrillicGreekAlphabet(), Unicode);

// Beyond 64 keys the bit sets take several words: 43 captions over 100 Cyrillic, Greek, Latin
// and Armenian letters, alike and in a forced chain.
TAlphabet HundredLetters()
{
    TAlphabet letters = CyrillicGreekAlphabet();
    for (char c = 'a'; c <= 'z'; ++c)
        letters.emplace_back(1, c);
    for (char32_t c = U'ա'; letters.size() < 100; ++c) // Armenian
        letters.push_back(Utf8(c));
    return letters;
}

RScope AlikeOverHundredKeys()
{
    const TAlphabet a = HundredLetters();
    return RScope{{}, std::vector<std::string>(43, Join(a, 0, a.size())), {}};
}

RScope ForcedChainOverHundredKeys()
{
    const TAlphabet a = HundredLetters();
    RScope scope;
    for (std::size_t i = 0; i + 1 < 43; ++i)
        scope.Captions.push_back(std::string(a[57 + i]).append(a[58 + i]));
    scope.Captions.push_back(a[57]);
    return scope;
}

BENCHMARK_CAPTURE(Assign, AlikeOverHundredKeysUnicode, UnicodeKeyRule(), AlikeOverHundredKeys(),
                  true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Assign, ForcedChainOverHundredKeysUnicode, UnicodeKeyRule(),
                  ForcedChainOverHundredKeys(), true)
    ->Unit(benchmark::kMicrosecond);

// ---- A large application: 10,000 menus and dialogs of 15 captions -------------------------

// Words of two to nine letters, one or two words a caption, a third of them already marked;
// every tenth scope also has two keys taken from outside.
std::vector<RScope> Application(const TAlphabet& letters, const IKeyRule& rule)
{
    std::mt19937 random(12);
    std::uniform_int_distribution<std::size_t> letter(0, letters.size() - 1);
    std::uniform_int_distribution<int> length(2, 9);
    std::vector<RScope> scopes(10'000);
    for (std::size_t s = 0; s < scopes.size(); ++s) {
        RScope& scope = scopes[s];
        scope.Name = "dialog " + std::to_string(s);
        for (int c = 0; c < 15; ++c) {
            // Marked or not from the start: inserting at the front afterwards draws a false
            // -Wrestrict from GCC 12.
            std::string caption = random() % 3 == 0 ? "&" : "";
            for (int word = 1 + static_cast<int>(random() % 2); word > 0; --word) {
                if (!caption.empty() && caption != "&")
                    caption += ' ';
                for (int n = length(random); n > 0; --n)
                    caption += letters[letter(random)];
            }
            scope.Captions.push_back(std::move(caption));
        }
        if (s % 10 == 0)
            for (const std::size_t i : {letter(random), letter(random)})
                scope.OutsideKeys.push_back(*rule.CharAt(letters[i], 0).Key);
    }
    return scopes;
}

TAlphabet Letters(bool unicode)
{
    TAlphabet letters = unicode ? CyrillicGreekAlphabet() : AsciiAlphabet();
    letters.resize(unicode ? 43 : 26);
    return letters;
}

enum class TJob
{
    Assign,      // one assigner for the whole application, as a document's scopes are assigned
    AssignAlone, // each scope through AssignScope, its buffers built afresh
    Check,
    Keep,
};

void Application(benchmark::State& state, bool unicode, TJob job)
{
    const IKeyRule& rule = unicode ? UnicodeKeyRule() : AsciiKeyRule();
    const std::vector<RScope> scopes = Application(Letters(unicode), rule);
    TScopeAssigner assigner(rule, '&');
    std::vector<RKeyed> results;
    for (auto _ : state) {
        std::size_t done = 0;
        for (std::size_t s = 0; s < scopes.size(); ++s) {
            switch (job) {
            case TJob::Assign:
                done += assigner.Assign(scopes[s], results);
                benchmark::DoNotOptimize(results.data());
                break;
            case TJob::AssignAlone:
                done += AssignScope(scopes[s], rule, '&').has_value();
                break;
            case TJob::Check:
                done += CheckScope(scopes[s], rule, '&', s).size();
                break;
            case TJob::Keep:
                done += AssignScopeKeepingPins(scopes[s], rule, '&', s).Assigned;
                break;
            }
        }
        benchmark::DoNotOptimize(done);
    }
}

BENCHMARK_CAPTURE(Application, AssignAscii, false, TJob::Assign)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Application, AssignUnicode, true, TJob::Assign)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Application, AssignAloneAscii, false, TJob::AssignAlone)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Application, AssignAloneUnicode, true, TJob::AssignAlone)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Application, CheckAscii, false, TJob::Check)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Application, CheckUnicode, true, TJob::Check)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Application, KeepAscii, false, TJob::Keep)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Application, KeepUnicode, true, TJob::Keep)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
