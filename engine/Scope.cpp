#include "Scope.h"

#include "CombinationSearch.h"
#include "Diagnosis.h"

#include <algorithm>
#include <span>
#include <utility>

namespace {

class TKeyTable
{
public:
    TKeyTable() = default;
    explicit TKeyTable(std::vector<TKey> keys) : FKeys(std::move(keys))
    {
        std::sort(FKeys.begin(), FKeys.end());
    }
    void Assign(const std::vector<TKey>& keys)
    {
        FKeys.assign(keys.begin(), keys.end());
        std::sort(FKeys.begin(), FKeys.end());
    }
    bool Has(TKey key) const { return std::binary_search(FKeys.begin(), FKeys.end(), key); }
    bool Empty() const { return FKeys.empty(); }

private:
    std::vector<TKey> FKeys;
};

// Candidate keys as dense indices, for the searches.
struct RDenseLists
{
    std::vector<std::vector<int>> KeyLists;
    TDenseKeys Keys;
};

RDenseLists DenseListsOf(const std::vector<std::vector<RKeyCandidate>>& candidates)
{
    RDenseLists dense;
    dense.KeyLists.reserve(candidates.size());
    for (const std::vector<RKeyCandidate>& list : candidates) {
        std::vector<int>& keys = dense.KeyLists.emplace_back();
        keys.reserve(list.size());
        for (const RKeyCandidate& candidate : list)
            keys.push_back(dense.Keys.Add(candidate.Key));
    }
    return dense;
}

std::vector<RKeyCandidate> WithoutKeys(std::vector<RKeyCandidate> candidates,
                                       const TKeyTable& taken)
{
    std::erase_if(candidates, [&taken](const RKeyCandidate& c) { return taken.Has(c.Key); });
    return candidates;
}

// The candidates of many captions in one block, with their dense keys: a scope is searched
// with a handful of allocations, not a few per caption, and none once the block is reused.
struct RFlatCandidates
{
    RFlatCandidates() = default;
    explicit RFlatCandidates(std::size_t captions) { Reserve(captions); }

    // Room for a typical caption's candidates, so that the block rarely grows.
    void Reserve(std::size_t captions)
    {
        All.reserve(captions * 8);
        Lists.Keys.reserve(captions * 8);
        Lists.Ends.reserve(captions);
    }

    // Empty for the next scope, with the room the last ones took.
    void Clear()
    {
        All.clear();
        Lists.Keys.clear();
        Lists.Ends.clear();
        Keys.Clear();
    }

    std::vector<RKeyCandidate> All;
    TFlatKeyLists Lists; // dense key indices, parallel to All
    TDenseKeys Keys;

    // The candidates of each caption without the taken keys, through one call of the rule.
    void Add(std::span<const std::string> captions, const IKeyRule& rule, const TKeyTable& taken)
    {
        const std::size_t firstEntry = Lists.Ends.size();
        const std::size_t begin = All.size();
        rule.AppendCandidatesOfEach(captions, All, Lists.Ends);
        if (!taken.Empty()) {
            std::size_t kept = begin;
            std::size_t c = begin;
            for (std::size_t entry = firstEntry; entry < Lists.Ends.size(); ++entry) {
                for (; c < Lists.Ends[entry]; ++c)
                    if (!taken.Has(All[c].Key))
                        All[kept++] = All[c];
                Lists.Ends[entry] = kept;
            }
            All.resize(kept);
        }
        Lists.Keys.resize(All.size());
        Keys.AddEach(
            All.data() + begin, All.data() + All.size(),
            [](const RKeyCandidate& c) { return c.Key; }, Lists.Keys.data() + begin);
    }

    const RKeyCandidate& At(std::size_t entry, int position) const
    {
        const std::size_t begin = entry == 0 ? 0 : Lists.Ends[entry - 1];
        return All[begin + static_cast<std::size_t>(position)];
    }
};

// A character between single quotes: as it is when the rule read it as one character of
// several bytes, a byte a reader cannot see in hexadecimal.
std::string Quoted(std::string_view bytes)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text(1, '\'');
    if (bytes.size() == 1) {
        const auto byte = static_cast<unsigned char>(bytes[0]);
        if (byte >= 0x20 && byte < 0x7F) {
            text.push_back(bytes[0]);
        } else {
            text.append("\\x");
            text.push_back(Digits[byte >> 4]);
            text.push_back(Digits[byte & 0xF]);
        }
    } else {
        text.append(bytes);
    }
    text.push_back('\'');
    return text;
}

// A long list with more captions than keys fails without its candidates ever being held: a
// million Unicode captions would otherwise take hundreds of megabytes to find that out.
bool FewerKeysThanCaptions(const RScope& scope, const IKeyRule& rule)
{
    constexpr std::size_t LongList = 4096;
    if (scope.Captions.size() <= LongList)
        return false;
    const TKeyTable outside(scope.OutsideKeys);
    TDenseKeys keys;
    std::vector<RKeyCandidate> candidates;
    for (const std::string& caption : scope.Captions) {
        candidates.clear();
        rule.AppendCandidates(caption, candidates);
        for (const RKeyCandidate& candidate : candidates)
            if (!outside.Has(candidate.Key))
                keys.Add(candidate.Key);
        if (static_cast<std::size_t>(keys.Count()) >= scope.Captions.size())
            return false;
    }
    return true;
}

} // namespace

RScopeMarkers ScanScopeMarkers(std::string_view caption, const IKeyRule& rule, char marker)
{
    RScopeMarkers scanned{ScanMarkers(caption, marker), std::nullopt};
    const RMarkers& markers = scanned.Markers;
    if (markers.Singles.size() == 1 && !markers.LoneAtEnd)
        scanned.PinnedKey = rule.CharAt(caption, markers.Singles.front() + 1).Key;
    return scanned;
}

std::vector<std::vector<RKeyCandidate>> ScopeCandidates(const RScope& scope, const IKeyRule& rule)
{
    const TKeyTable outside(scope.OutsideKeys);
    std::vector<std::vector<RKeyCandidate>> candidates;
    candidates.reserve(scope.Captions.size());
    for (const std::string& caption : scope.Captions)
        candidates.push_back(WithoutKeys(rule.CandidatesOf(caption), outside));
    return candidates;
}

struct TScopeAssigner::RBuffers
{
    TKeyTable Outside;
    RFlatCandidates Candidates;
    std::vector<int> Chosen;
};

TScopeAssigner::TScopeAssigner(const IKeyRule& rule, char marker)
    : FRule(rule), FMarker(marker), FBuffers(std::make_unique<RBuffers>())
{}

TScopeAssigner::~TScopeAssigner() = default;

bool TScopeAssigner::Assign(const RScope& scope, std::vector<RKeyed>& results)
{
    if (scope.Captions.size() > FRule.MaxKeys() || FewerKeysThanCaptions(scope, FRule))
        return false;
    RBuffers& buffers = *FBuffers;
    buffers.Outside.Assign(scope.OutsideKeys);
    RFlatCandidates& flat = buffers.Candidates;
    flat.Clear();
    flat.Reserve(scope.Captions.size());
    flat.Add(scope.Captions, FRule, buffers.Outside);
    if (!FindFirstAssignment(flat.Lists, flat.Keys.Count(), buffers.Chosen))
        return false;
    // Strings kept from an earlier scope are written over in place, within the room they have.
    results.resize(scope.Captions.size());
    for (std::size_t i = 0; i < scope.Captions.size(); ++i) {
        const RKeyCandidate& candidate = flat.At(i, buffers.Chosen[i]);
        ApplyCandidate(scope.Captions[i], candidate, FMarker, results[i].Caption);
        results[i].Key = candidate.Key;
    }
    return true;
}

std::optional<std::vector<RKeyed>> AssignScope(const RScope& scope, const IKeyRule& rule,
                                               char marker)
{
    std::vector<RKeyed> results;
    if (!TScopeAssigner(rule, marker).Assign(scope, results))
        return std::nullopt;
    return results;
}

std::vector<RScopeFinding> CheckScope(const RScope& scope, const IKeyRule& rule, char marker,
                                      std::size_t scopeIndex)
{
    const std::vector<std::string>& captions = scope.Captions;
    std::vector<RScopeMarkers> scanned;
    scanned.reserve(captions.size());
    // Per pinned caption its key, sorted by key and then caption: each key's captions in a run.
    std::vector<std::pair<TKey, std::size_t>> pinned;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        scanned.push_back(ScanScopeMarkers(captions[i], rule, marker));
        if (scanned.back().PinnedKey)
            pinned.emplace_back(*scanned.back().PinnedKey, i);
    }
    std::sort(pinned.begin(), pinned.end());
    const auto captionsWithKey = [&pinned](TKey key) {
        std::vector<std::size_t> same;
        for (auto at = std::lower_bound(pinned.begin(), pinned.end(),
                                        std::make_pair(key, std::size_t{0}));
             at != pinned.end() && at->first == key; ++at)
            same.push_back(at->second);
        return same;
    };
    const TKeyTable outside(scope.OutsideKeys);

    std::vector<RScopeFinding> findings;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const std::string& caption = captions[i];
        const RMarkers& markers = scanned[i].Markers;
        RScopeFinding base;
        base.Scope = scopeIndex;
        base.Caption = i;
        if (markers.Singles.empty() && !markers.LoneAtEnd)
            findings.push_back(base);
        if (markers.LoneAtEnd) {
            RScopeFinding& finding = findings.emplace_back(base);
            finding.Kind = TFindingKind::LoneMarkerAtEnd;
            finding.Pos = caption.size() - 1;
        }
        for (const std::size_t single : markers.Singles) {
            const RCaptionChar marked = rule.CharAt(caption, single + 1);
            if (marked.Key)
                continue;
            RScopeFinding& finding = findings.emplace_back(base);
            finding.Kind = TFindingKind::MarkerBeforeNonKey;
            finding.Pos = single;
            finding.Char = caption.substr(single + 1, marked.Length);
        }
        if (markers.Singles.size() > 1) {
            RScopeFinding& finding = findings.emplace_back(base);
            finding.Kind = TFindingKind::SeveralMarkers;
            finding.Pos = markers.Singles.front();
            finding.Count = markers.Singles.size();
        }
        if (!scanned[i].PinnedKey)
            continue;
        const TKey key = *scanned[i].PinnedKey;
        const bool takenOutside = outside.Has(key);
        std::vector<std::size_t> same = captionsWithKey(key);
        if (takenOutside || same.front() != i) {
            RScopeFinding& finding = findings.emplace_back(base);
            finding.Kind = TFindingKind::DuplicateKey;
            finding.Pos = markers.Singles.front();
            finding.Key = key;
            finding.SameKey = std::move(same);
            finding.TakenOutside = takenOutside;
        }
    }
    return findings;
}

std::vector<RScopeFinding> CheckScopes(const std::vector<RScope>& scopes, const IKeyRule& rule,
                                       char marker)
{
    std::vector<RScopeFinding> findings;
    for (std::size_t s = 0; s < scopes.size(); ++s) {
        std::vector<RScopeFinding> found = CheckScope(scopes[s], rule, marker, s);
        findings.insert(findings.end(), std::make_move_iterator(found.begin()),
                        std::make_move_iterator(found.end()));
    }
    return findings;
}

std::string DescribeScopeFinding(const RScopeFinding& finding, const IKeyRule& rule, char marker)
{
    const std::string quotedMarker = Quoted(std::string_view(&marker, 1));
    std::string text;
    switch (finding.Kind) {
    case TFindingKind::NoMarker:
        text.append("no accelerator marker");
        break;
    case TFindingKind::LoneMarkerAtEnd:
        text.append("marker ").append(quotedMarker).append(" at the end marks nothing");
        break;
    case TFindingKind::MarkerBeforeNonKey:
        text.append("marker ")
            .append(quotedMarker)
            .append(" before ")
            .append(Quoted(finding.Char))
            .append(", which cannot be a key");
        break;
    case TFindingKind::SeveralMarkers:
        text.append(std::to_string(finding.Count))
            .append(" markers ")
            .append(quotedMarker)
            .append(" where a caption takes one");
        break;
    case TFindingKind::DuplicateKey: {
        text.append("key ").append(Quoted(rule.KeyText(finding.Key)));
        const auto other = std::find_if(finding.SameKey.begin(), finding.SameKey.end(),
                                        [&finding](std::size_t c) { return c != finding.Caption; });
        if (other != finding.SameKey.end() && *other < finding.Caption)
            text.append(" is also used on line ").append(std::to_string(*other + 1));
        else
            text.append(" is already taken outside this scope");
        break;
    }
    }
    return text;
}

RScopeKeeping AssignScopeKeepingPins(const RScope& scope, const IKeyRule& rule, char marker,
                                     std::size_t scopeIndex)
{
    RScopeKeeping keeping;
    keeping.Conflicts = CheckScope(scope, rule, marker, scopeIndex);
    std::erase_if(keeping.Conflicts,
                  [](const RScopeFinding& f) { return f.Kind == TFindingKind::NoMarker; });
    const std::vector<std::string>& captions = scope.Captions;
    if (!keeping.Conflicts.empty() || captions.size() > rule.MaxKeys())
        return keeping;

    std::vector<std::optional<TKey>> pins;
    pins.reserve(captions.size());
    std::vector<TKey> reserved = scope.OutsideKeys;
    for (const std::string& caption : captions) {
        pins.push_back(ScanScopeMarkers(caption, rule, marker).PinnedKey);
        if (pins.back())
            reserved.push_back(*pins.back());
    }
    const TKeyTable taken(std::move(reserved));
    RFlatCandidates flat(captions.size());
    for (std::size_t i = 0; i < captions.size(); ++i)
        if (!pins[i])
            flat.Add(std::span(&captions[i], 1), rule, taken);
    const std::optional<std::vector<int>> chosen =
        FindFirstAssignment(flat.Lists, flat.Keys.Count());
    if (!chosen)
        return keeping;

    keeping.Assigned = true;
    keeping.Results.reserve(captions.size());
    std::size_t free = 0;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        if (pins[i]) {
            keeping.Results.push_back({captions[i], *pins[i]});
        } else {
            const RKeyCandidate& candidate = flat.At(free, (*chosen)[free]);
            keeping.Results.push_back(
                {ApplyCandidate(captions[i], candidate, marker), candidate.Key});
            ++free;
        }
    }
    return keeping;
}

RScopeDiagnosis ExplainScope(const RScope& scope, const IKeyRule& rule, char marker, bool keepPins)
{
    std::vector<std::vector<RKeyCandidate>> candidates = ScopeCandidates(scope, rule);
    if (keepPins) {
        const TKeyTable outside(scope.OutsideKeys);
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            const std::optional<TKey> pin =
                ScanScopeMarkers(scope.Captions[i], rule, marker).PinnedKey;
            if (pin) {
                candidates[i].clear();
                if (!outside.Has(*pin))
                    candidates[i].push_back({.Key = *pin});
            }
        }
    }
    const RDenseLists dense = DenseListsOf(candidates);
    const RListDiagnosis found = Diagnose(dense.KeyLists, dense.Keys.Count());
    RScopeDiagnosis diagnosis{found.MaxDistinct, found.WithoutKeys, found.Group, {}};
    for (const int key : found.GroupKeys)
        diagnosis.GroupKeys.push_back(dense.Keys.KeyOfIndex(key));
    std::sort(diagnosis.GroupKeys.begin(), diagnosis.GroupKeys.end());
    return diagnosis;
}
