// How long the search, the pass and the list file take, and what a loaded entry costs.
#include "CaptionDocument.h"
#include "Engine.h"
#include "QuarnelError.h"
#include "QuietHost.h"
#include "ReferenceSearch.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string AllKeys = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!$<=>?@";

void BuildChain(TAccEngine& engine, const std::vector<std::string>& captions)
{
    engine.ClearPosResults();
    for (const std::string& caption : captions)
        engine.AddPosResult(caption);
}

// Runs a whole pass; returns whether it found a combination.
bool RunPass(TAccEngine& engine, const std::vector<std::string>& captions)
{
    TQuietHost host;
    try {
        benchmark::DoNotOptimize(engine.Process(
            captions.size(),
            [&captions](std::size_t i) -> const std::string& { return captions[i]; }, host));
        return true;
    } catch (const EQuarnelError&) {
        return false;
    }
}

// Ten captions over the same nine keys: no combination, and the reference search meets every
// ordering of the keys before it can tell.
std::vector<std::string> TenOverNineKeys()
{
    return std::vector<std::string>(10, "ABCDEFGHI");
}

// Eight captions over nine keys, then one that only the first key fits: a combination exists,
// but the reference search reaches it only after trying the first key everywhere above.
std::vector<std::string> LastNeedsTheFirstKey()
{
    std::vector<std::string> captions(8, "ABCDEFGHI");
    captions.push_back("A");
    return captions;
}

std::vector<std::string> TwentyOverNineteenKeys()
{
    return std::vector<std::string>(20, AllKeys.substr(0, 19));
}

// Each caption's keys in a different rotation, so that no two start alike.
std::vector<std::string> FortyThreeFull()
{
    std::vector<std::string> captions;
    for (std::size_t i = 0; i < AllKeys.size(); ++i)
        captions.push_back(AllKeys.substr(i) + AllKeys.substr(0, i));
    return captions;
}

// All captions alike: every caption after the first has to be moved past the keys taken.
std::vector<std::string> FortyThreeAlike()
{
    return std::vector<std::string>(43, AllKeys);
}

// Caption i offers keys i and i+1; the last offers only the first key, which pushes every
// caption above it to its second candidate.
std::vector<std::string> FortyThreeForcedChain()
{
    std::vector<std::string> captions;
    for (std::size_t i = 0; i + 1 < AllKeys.size(); ++i)
        captions.push_back(AllKeys.substr(i, 2));
    captions.push_back(AllKeys.substr(0, 1));
    return captions;
}

// The last `reserved` captions need the first `reserved` keys among themselves, so each
// caption before them has to find out, key by key, that none of those keys is free for it.
std::vector<std::string> FirstKeysReservedBelow(std::size_t reserved)
{
    std::vector<std::string> captions(AllKeys.size() - reserved, AllKeys);
    captions.resize(AllKeys.size(), AllKeys.substr(0, reserved));
    return captions;
}

std::vector<std::string> FortyTwoFullThenNone()
{
    std::vector<std::string> captions = FortyThreeFull();
    captions.back() = "...";
    return captions;
}

std::vector<std::string> WithNoneLast(std::vector<std::string> captions)
{
    captions.push_back("...");
    return captions;
}

void ReferenceSearch(benchmark::State& state, const std::vector<std::string>& captions,
                     bool solvable)
{
    TAccEngine engine;
    BuildChain(engine, captions);
    for (auto _ : state) {
        const TCombination found = ReferenceFindCombination(engine.PosResults());
        if (found.empty() == solvable)
            state.SkipWithError("unexpected outcome");
        benchmark::DoNotOptimize(found.data());
    }
}

void FastSearch(benchmark::State& state, const std::vector<std::string>& captions, bool solvable)
{
    TAccEngine engine;
    BuildChain(engine, captions);
    for (auto _ : state) {
        engine.FindCombination();
        if (engine.BestCombination().empty() == solvable)
            state.SkipWithError("unexpected outcome");
    }
}

// Everything a pass does: candidates, search and result texts.
void FullPass(benchmark::State& state, const std::vector<std::string>& captions, bool solvable)
{
    TAccEngine engine;
    for (auto _ : state)
        if (RunPass(engine, captions) != solvable)
            state.SkipWithError("unexpected outcome");
}

BENCHMARK_CAPTURE(ReferenceSearch, TenOverNineKeys, TenOverNineKeys(), false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FastSearch, TenOverNineKeys, TenOverNineKeys(), false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReferenceSearch, LastNeedsTheFirstKey, LastNeedsTheFirstKey(), true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FastSearch, LastNeedsTheFirstKey, LastNeedsTheFirstKey(), true)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(FullPass, TwentyOverNineteenKeys, TwentyOverNineteenKeys(), false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FullPass, FortyThreeFull, FortyThreeFull(), true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FullPass, FortyThreeAlike, FortyThreeAlike(), true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FullPass, FortyThreeForcedChain, FortyThreeForcedChain(), true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FullPass, FirstKeysReservedBelow21, FirstKeysReservedBelow(21), true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FullPass, FirstKeysReservedBelow32, FirstKeysReservedBelow(32), true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FullPass, FirstKeysReservedBelow38, FirstKeysReservedBelow(38), true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FullPass, FortyTwoFullThenNone, FortyTwoFullThenNone(), false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FullPass, FortyThreeFullThenNone, WithNoneLast(FortyThreeFull()), false)
    ->Unit(benchmark::kMicrosecond);

// ---- A list of a million captions -------------------------------------------------------

constexpr std::size_t MillionCaptions = 1'000'000;

// A caption list file of `count` captions of `width` bytes each, removed with the object.
class TGeneratedList
{
public:
    TGeneratedList(std::size_t count, int width)
        : FPath(FDir.filePath(QStringLiteral("generated.lst")).toStdString())
    {
        std::string text;
        text.reserve(count * static_cast<std::size_t>(width + 2));
        char caption[32];
        for (std::size_t i = 0; i < count; ++i) {
            std::snprintf(caption, sizeof caption, "Item%0*zu\r\n", width - 4, i);
            text += caption;
        }
        std::ofstream(FPath, std::ios::binary) << text;
    }

    const std::string& Path() const { return FPath; }

private:
    QTemporaryDir FDir;
    std::string FPath;
};

// About 12 MB: ten-byte captions and their line breaks.
void LoadMillionLines(benchmark::State& state)
{
    const TGeneratedList list(MillionCaptions, 10);
    for (auto _ : state) {
        state.PauseTiming();
        auto document = std::make_unique<TCaptionDocument>();
        state.ResumeTiming();
        document->LoadCaptionFile(list.Path());
        state.PauseTiming();
        if (document->Count() != static_cast<int>(MillionCaptions))
            state.SkipWithError("wrong count");
        document.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(LoadMillionLines)->Unit(benchmark::kMillisecond)->Iterations(10);

void ProcessMillionLines(benchmark::State& state)
{
    const TGeneratedList list(MillionCaptions, 10);
    TCaptionDocument document;
    document.LoadCaptionFile(list.Path());
    TAccEngine engine;
    TQuietHost host;
    for (auto _ : state) {
        try {
            document.Process(engine, host);
            state.SkipWithError("a million captions found a combination");
        } catch (const EQuarnelError&) {
        }
    }
}
BENCHMARK(ProcessMillionLines)->Unit(benchmark::kMillisecond)->Iterations(10);

void LoadAndProcessMillionLines(benchmark::State& state)
{
    const TGeneratedList list(MillionCaptions, 10);
    TAccEngine engine;
    TQuietHost host;
    for (auto _ : state) {
        state.PauseTiming();
        auto document = std::make_unique<TCaptionDocument>();
        state.ResumeTiming();
        document->LoadCaptionFile(list.Path());
        try {
            document->Process(engine, host);
        } catch (const EQuarnelError&) {
        }
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(LoadAndProcessMillionLines)->Unit(benchmark::kMillisecond)->Iterations(10);

std::size_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    // Large blocks (the entry array) are mapped on their own and counted apart.
    return info.uordblks + info.hblkhd;
}

// Heap held by a loaded list of twelve-byte captions, per entry, beyond the caption bytes.
void MemoryPerEntry(benchmark::State& state)
{
    constexpr int width = 12;
    const TGeneratedList list(MillionCaptions, width);
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        TCaptionDocument document;
        document.LoadCaptionFile(list.Path());
        const std::size_t after = HeapInUse();
        const double perEntry = static_cast<double>(after - before) / MillionCaptions;
        state.counters["bytes_per_entry"] = perEntry;
        state.counters["beyond_caption"] = perEntry - width;
    }
}
BENCHMARK(MemoryPerEntry)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
