// Any caption bytes and any marker: the candidates are exactly those the caption rules give,
// IsValidCaption agrees with an independent reading of the marker rule, and on lists small
// enough for it the fast search picks what the plain depth-first search picks.
#include "Engine.h"
#include "FuzzCheck.h"
#include "QuarnelError.h"
#include "ReferenceSearch.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t MaxCompared = 8;
// Beyond this many prefixes the reference search would dominate the run; such lists still get
// every check except the comparison.
constexpr double MaxReferenceLeaves = 50000;

bool IsEligible(const unsigned char c)
{
    static constexpr std::string_view Others = "!$<=>?@";
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           Others.find(static_cast<char>(c)) != std::string_view::npos;
}

char Upper(const unsigned char c)
{
    return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
}

// Left to right; a key already offered by an earlier character is passed over.
std::vector<RCandidate> ExpectedCandidates(std::string_view caption)
{
    std::vector<RCandidate> expected;
    std::string offered;
    for (std::size_t pos = 0; pos < caption.size(); ++pos) {
        const auto c = static_cast<unsigned char>(caption[pos]);
        if (!IsEligible(c) || offered.find(Upper(c)) != std::string::npos)
            continue;
        offered.push_back(Upper(c));
        expected.push_back({pos, Upper(c)});
    }
    return expected;
}

// Valid when non-empty and every maximal run of markers has even length.
bool ExpectedValid(std::string_view caption, const char marker)
{
    if (caption.empty())
        return false;
    std::size_t run = 0;
    for (const char c : caption) {
        if (c == marker) {
            ++run;
            continue;
        }
        if (run % 2 != 0)
            return false;
        run = 0;
    }
    return run % 2 == 0;
}

void CheckCaption(const TAccEngine& engine, std::string_view caption)
{
    Require(engine.IsValidCaption(caption) == ExpectedValid(caption, engine.FAccChar),
            "IsValidCaption follows the marker rule");

    const std::vector<RCandidate> candidates = TAccEngine::CandidatesOf(caption);
    Require(candidates.size() <= static_cast<std::size_t>(KeyCount), "at most 43 candidates");
    std::string keys;
    for (const RCandidate& candidate : candidates) {
        Require(candidate.Pos < caption.size(), "a candidate points into its caption");
        Require(IsEligible(static_cast<unsigned char>(caption[candidate.Pos])),
                "a candidate points at an eligible character");
        Require(keys.find(candidate.Key) == std::string::npos, "keys are distinct");
        keys.push_back(candidate.Key);
    }
    Require(candidates == ExpectedCandidates(caption),
            "candidates are the leftmost occurrence of every key, in order");
}

class TQuietHost : public IProcessHost
{
public:
    void ProcessBusy() override { ++FBusy; }
    void ProcessIdle() override { ++FIdle; }
    void ProcessStage(const std::string&) override {}
    int FBusy = 0;
    int FIdle = 0;
};

bool IsAssignment(const RPosResultList* head, const TCombination& combination)
{
    std::string keys;
    std::size_t i = 0;
    for (const RPosResultList* node = head; node; node = node->Next.get(), ++i) {
        if (i >= combination.size())
            return false;
        bool offered = false;
        for (const RCandidate& candidate : node->PosResult.Candidates)
            offered = offered || candidate == combination[i];
        if (!offered || keys.find(combination[i].Key) != std::string::npos)
            return false;
        keys.push_back(combination[i].Key);
    }
    return i == combination.size();
}

void CheckList(const char marker, const std::vector<std::string>& captions)
{
    TAccEngine engine;
    engine.FAccChar = marker;
    // The depth-first search visits at most every prefix of choices before the caption it
    // fails on, so a caption without candidates at the end still costs all the ones before it.
    double leaves = 0;
    double prefixes = 1;
    for (const std::string& caption : captions) {
        engine.AddPosResult(caption);
        prefixes *= static_cast<double>(TAccEngine::CandidatesOf(caption).size());
        leaves += prefixes;
    }
    engine.FindCombination();
    const TCombination& fast = engine.BestCombination();
    Require(fast.empty() || IsAssignment(engine.PosResults(), fast),
            "the fast search gives one offered candidate per caption with distinct keys");
    if (captions.size() <= MaxCompared && leaves <= MaxReferenceLeaves)
        Require(fast == ReferenceFindCombination(engine.PosResults()),
                "the fast search equals the depth-first search");

    TQuietHost host;
    std::vector<RAccelerated> results;
    bool failed = false;
    try {
        results = engine.Process(
            captions.size(),
            [&captions](std::size_t i) -> const std::string& { return captions[i]; }, host);
    } catch (const EQuarnelError&) {
        failed = true;
    }
    Require(host.FBusy == 1 && host.FIdle == 1, "a pass is busy once and idle once");
    Require(failed == (fast.empty() && !captions.empty()),
            "a pass fails exactly without a combination");
    if (failed)
        return;
    Require(results.size() == captions.size(), "one result per caption");
    for (std::size_t i = 0; i < results.size(); ++i) {
        const std::string& caption = captions[i];
        const std::size_t pos = fast[i].Pos;
        Require(results[i].Key == fast[i].Key, "each caption gets the key of its candidate");
        Require(results[i].Caption == caption.substr(0, pos) + marker + caption.substr(pos),
                "the marker goes right before the chosen character, every other byte kept");
    }
}

} // namespace

// The first byte is the marker; the rest is the list, one caption per line, and also taken
// whole as one caption so that line breaks inside captions are covered too.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const char marker = static_cast<char>(data[0]);
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);

    TAccEngine engine;
    engine.FAccChar = marker;
    CheckCaption(engine, rest);

    std::vector<std::string> captions;
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t end = std::min(rest.find('\n', start), rest.size());
        captions.emplace_back(rest.substr(start, end - start));
        start = end + 1;
    }
    for (const std::string& caption : captions)
        CheckCaption(engine, caption);
    CheckList(marker, captions);
    return 0;
}
