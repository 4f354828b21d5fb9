// How long the batch tool's explaining and keeping take beyond reading the list: on a million
// captions, and on lists of at most 43 captions.
#include "Diagnosis.h"
#include "Engine.h"
#include "Pinning.h"
#include "QuarnelError.h"
#include "QuietHost.h"

#include <benchmark/benchmark.h>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t Million = 1'000'000;
const std::string AllKeys = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!$<=>?@";

// What --explain runs once the list is read: the pass, and on failure the diagnosis.
void ExplainLogic(const std::vector<std::string>& captions)
{
    TAccEngine engine;
    TQuietHost host;
    try {
        benchmark::DoNotOptimize(engine.Process(
            captions.size(),
            [&captions](std::size_t i) -> const std::string& { return captions[i]; }, host));
    } catch (const EQuarnelError&) {
        benchmark::DoNotOptimize(Diagnose(KeySetsOf(captions)));
    }
}

// What --keep --explain runs once the list is read.
void KeepLogic(const std::vector<std::string>& captions)
{
    const RPinnedAssignment assignment = AssignKeepingPins(captions, '&');
    benchmark::DoNotOptimize(assignment);
    if (!assignment.Assigned && assignment.Conflicts.empty())
        benchmark::DoNotOptimize(Diagnose(PinnedKeySets(captions, '&')));
}

// Menu-like captions: words of random letters, digits and blanks, many key sets all different.
std::vector<std::string> RandomCaptions(std::size_t count, bool withMarkers)
{
    std::mt19937 random(42);
    std::uniform_int_distribution<int> length(3, 24);
    std::uniform_int_distribution<std::size_t> pick(0, AllKeys.size() + 25);
    std::vector<std::string> captions(count);
    for (std::string& caption : captions) {
        for (int n = length(random); n > 0; --n) {
            const std::size_t i = pick(random);
            caption.push_back(i < AllKeys.size() ? AllKeys[i]
                              : i % 5 == 0       ? ' '
                                                 : static_cast<char>('a' + i % 26));
        }
        if (withMarkers && random() % 2 == 0)
            caption.insert(0, 1, '&');
    }
    return captions;
}

// Each caption offers two keys picked at random: the matching has to move captions along long
// paths before every key is taken.
std::vector<std::string> RandomPairs(std::size_t count)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, AllKeys.size() - 1);
    std::vector<std::string> captions(count);
    for (std::string& caption : captions)
        caption = {AllKeys[pick(random)], AllKeys[pick(random)]};
    return captions;
}

// Caption i offers keys i and i+1, and the last offers key 0 only: one long chain of moves.
std::vector<std::string> ForcedChain()
{
    std::vector<std::string> captions;
    for (std::size_t i = 0; i + 1 < AllKeys.size(); ++i)
        captions.push_back({AllKeys[i], AllKeys[i + 1]});
    captions.emplace_back(1, AllKeys[0]);
    return captions;
}

// 43 captions that share 42 keys: the whole list is the group.
std::vector<std::string> FortyThreeOverFortyTwoKeys()
{
    std::vector<std::string> captions;
    for (std::size_t i = 0; i < 43; ++i)
        captions.push_back(AllKeys.substr(i % 42, 42 - i % 42) + AllKeys.substr(0, i % 42));
    return captions;
}

std::string Pinned(char key)
{
    std::string caption(1, '&');
    caption.push_back(key);
    return caption;
}

// Every other caption pinned to a key of its own; the others offer every key.
std::vector<std::string> HalfPinned(std::size_t pinned)
{
    std::vector<std::string> captions;
    for (std::size_t i = 0; i < 43; ++i)
        captions.push_back(i % 2 == 0 && i / 2 < pinned ? Pinned(AllKeys[i / 2]) : AllKeys);
    return captions;
}

// 42 captions offering every key but pins reserve the first half, and one caption needing them.
std::vector<std::string> PinsBlockTheLast()
{
    std::vector<std::string> captions(21, AllKeys);
    for (std::size_t i = 0; i < 21; ++i)
        captions.push_back(Pinned(AllKeys[i]));
    captions.push_back(AllKeys.substr(0, 21));
    return captions;
}

void Explain(benchmark::State& state, const std::vector<std::string>& captions)
{
    for (auto _ : state)
        ExplainLogic(captions);
}

void Keep(benchmark::State& state, const std::vector<std::string>& captions)
{
    for (auto _ : state)
        KeepLogic(captions);
}

} // namespace

BENCHMARK_CAPTURE(Explain, MillionAlike, std::vector<std::string>(Million, "Open"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Explain, MillionRandom, RandomCaptions(Million, false))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Explain, MillionRandomPairs, RandomPairs(Million))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Explain, MillionThenNoKey,
                  [] {
                      std::vector<std::string> captions = RandomCaptions(Million, false);
                      captions.back() = "...";
                      return captions;
                  }())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Keep, MillionUnmarked, RandomCaptions(Million, false))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Keep, MillionHalfMarked, RandomCaptions(Million, true))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Keep, MillionAllPinnedAlike, std::vector<std::string>(Million, "&Open"))
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(Explain, FortyThreeOverFortyTwoKeys, FortyThreeOverFortyTwoKeys())
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Explain, FortyThreeForcedChainFails,
                  [] {
                      std::vector<std::string> captions = ForcedChain();
                      captions.front() = captions.back();
                      return captions;
                  }())
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Explain, FortyThreeForcedChain, ForcedChain())->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Keep, FortyThreeHalfPinned, HalfPinned(21))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Keep, FortyThreeNonePinned, HalfPinned(0))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Keep, PinsBlockTheLast, PinsBlockTheLast())->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
