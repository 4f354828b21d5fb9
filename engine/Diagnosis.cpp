#include "Diagnosis.h"

#include "KeyBits.h"

#include <algorithm>
#include <array>
#include <limits>
#include <type_traits>
#include <utility>

namespace {

constexpr std::size_t NoCaption = std::numeric_limits<std::size_t>::max();

// Key sets are read where they lie: plain words for the ASCII rule's million-caption lists.
TSmallKeyBits AsBits(TKeySet keys)
{
    return TSmallKeyBits::FromWord(keys);
}

const TWideKeyBits& AsBits(const TWideKeyBits& keys)
{
    return keys;
}

template <class TSet> using TBitsOf = std::remove_cvref_t<decltype(AsBits(std::declval<TSet>()))>;

// A maximum matching grown by augmenting paths, one pass over the captions. A caption that finds
// no path never finds one later, and every key its search reached is matched to a caption whose
// keys were all reached too: such a closed set can never lead to a free key, so its keys are
// marked dead once and for all and never searched again.
template <class TSet> class TMaskMatching
{
    using TBits = TBitsOf<TSet>;

public:
    TMaskMatching(const std::vector<TSet>& keySets, int keyCount)
        : FKeySets(keySets), FHolder(static_cast<std::size_t>(keyCount), NoCaption),
          FTaken(keyCount), FDead(keyCount)
    {
        TBits all(keyCount);
        for (const TSet& keys : keySets)
            all |= AsBits(keys);
        FKeyTotal = static_cast<std::size_t>(all.Count());
        for (std::size_t caption = 0; caption < keySets.size(); ++caption)
            Offer(caption);
    }

    std::size_t Size() const { return FMatched; }
    std::size_t FirstUnmatched() const { return FFirstUnmatched; }
    std::size_t HolderOf(int key) const { return FHolder[static_cast<std::size_t>(key)]; }

private:
    void Offer(std::size_t caption)
    {
        const auto& keys = AsBits(FKeySets[caption]);
        if (!keys.Without(FDead).Any() || FMatched == FKeyTotal) {
            NoteUnmatched(caption);
            return;
        }
        TBits visited = FDead;
        if (Augment(caption, visited)) {
            ++FMatched;
        } else {
            FDead = visited;
            NoteUnmatched(caption);
        }
    }

    void NoteUnmatched(std::size_t caption)
    {
        if (FFirstUnmatched == NoCaption)
            FFirstUnmatched = caption;
    }

    bool Augment(std::size_t caption, TBits& visited)
    {
        // Depth is bounded by the number of keys, since each level takes a key of its own.
        const auto& keys = AsBits(FKeySets[caption]);
        // A free key ends the path at once; looking for one first keeps paths short.
        const TBits free = keys.Without(visited).Without(FTaken);
        if (free.Any()) {
            Take(free.First(), caption);
            return true;
        }
        for (TBits open = keys.Without(visited); open.Any();) {
            const int key = open.PopFirst();
            if (visited.Test(key))
                continue;
            visited.Set(key);
            if (Augment(FHolder[static_cast<std::size_t>(key)], visited)) {
                Take(key, caption);
                return true;
            }
        }
        return false;
    }

    void Take(int key, std::size_t caption)
    {
        FHolder[static_cast<std::size_t>(key)] = caption;
        FTaken.Set(key);
    }

    const std::vector<TSet>& FKeySets;
    std::vector<std::size_t> FHolder;
    TBits FTaken;
    TBits FDead;
    std::size_t FKeyTotal = 0;
    std::size_t FMatched = 0;
    std::size_t FFirstUnmatched = NoCaption;
};

// In a maximum matching every key reachable by alternating paths from an unmatched caption is
// matched, so the caption and the holders of those keys are one more than their keys.
template <class TSet>
std::vector<std::size_t> ReachableGroup(const TMaskMatching<TSet>& matching,
                                        const std::vector<TSet>& keySets, int keyCount,
                                        std::size_t start)
{
    std::vector<std::size_t> group{start};
    TBitsOf<TSet> reached(keyCount);
    TBitsOf<TSet> pending = AsBits(keySets[start]);
    while (pending.Any()) {
        const int key = pending.First();
        reached.Set(key);
        const std::size_t holder = matching.HolderOf(key);
        group.push_back(holder);
        pending |= AsBits(keySets[holder]);
        pending = pending.Without(reached);
    }
    return group;
}

template <class TSet>
TBitsOf<TSet> KeysOf(const std::vector<std::size_t>& group, const std::vector<TSet>& keySets,
                     int keyCount, std::size_t skip)
{
    TBitsOf<TSet> keys(keyCount);
    for (std::size_t i = 0; i < group.size(); ++i)
        if (i != skip)
            keys |= AsBits(keySets[group[i]]);
    return keys;
}

// Drops members while the rest stays deficient, later lines first so that the report keeps the
// earliest lines it can. Dropping one member can make another droppable, hence the repeat.
template <class TSet>
void Shrink(std::vector<std::size_t>& group, const std::vector<TSet>& keySets, int keyCount)
{
    bool dropped = true;
    while (dropped) {
        dropped = false;
        for (std::size_t i = group.size(); i-- > 0;) {
            const auto rest = KeysOf(group, keySets, keyCount, i);
            if (static_cast<std::size_t>(rest.Count()) < group.size() - 1) {
                group.erase(group.begin() + static_cast<std::ptrdiff_t>(i));
                dropped = true;
            }
        }
    }
}

template <class TResult, class TSet>
TResult DiagnoseSets(const std::vector<TSet>& keySets, int keyCount, TBitsOf<TSet>& groupKeys)
{
    TResult diagnosis;
    const TMaskMatching<TSet> matching(keySets, keyCount);
    diagnosis.MaxDistinct = matching.Size();
    if (matching.Size() == keySets.size())
        return diagnosis;

    for (std::size_t caption = 0; caption < keySets.size(); ++caption)
        if (!AsBits(keySets[caption]).Any())
            diagnosis.WithoutKeys.push_back(caption);
    if (!diagnosis.WithoutKeys.empty())
        return diagnosis;

    std::vector<std::size_t> group =
        ReachableGroup(matching, keySets, keyCount, matching.FirstUnmatched());
    std::sort(group.begin(), group.end());
    Shrink(group, keySets, keyCount);
    groupKeys = KeysOf(group, keySets, keyCount, group.size());
    diagnosis.Group = std::move(group);
    return diagnosis;
}

template <class TBits> void AddGroupKeys(RListDiagnosis& diagnosis, TBits groupKeys)
{
    while (groupKeys.Any())
        diagnosis.GroupKeys.push_back(groupKeys.PopFirst());
}

} // namespace

TKeySet KeySetOf(std::string_view caption)
{
    // A million captions go through here for one explanation; one lookup per byte instead of
    // three calls. Built once from the engine's own rules, so the two can never disagree.
    static const std::array<TKeySet, 256> KeyBitOfByte = [] {
        std::array<TKeySet, 256> table{};
        for (int b = 0; b < 256; ++b) {
            const char c = static_cast<char>(b);
            if (IsEligibleChar(c))
                table[static_cast<std::size_t>(b)] = KeyBit(KeyIndex(KeyOf(c)));
        }
        return table;
    }();
    TKeySet keys = 0;
    for (const char c : caption)
        keys |= KeyBitOfByte[static_cast<unsigned char>(c)];
    return keys;
}

std::vector<TKeySet> KeySetsOf(const std::vector<std::string>& captions)
{
    std::vector<TKeySet> keySets;
    keySets.reserve(captions.size());
    for (const std::string& caption : captions)
        keySets.push_back(KeySetOf(caption));
    return keySets;
}

std::string KeysText(TKeySet keys)
{
    std::string text;
    for (; keys != 0; keys &= keys - 1) {
        if (!text.empty())
            text += ", ";
        text.push_back(KeyAt(std::countr_zero(keys)));
    }
    return text;
}

RDiagnosis Diagnose(const std::vector<TKeySet>& keySets)
{
    TSmallKeyBits groupKeys;
    RDiagnosis diagnosis = DiagnoseSets<RDiagnosis>(keySets, KeySetBits, groupKeys);
    diagnosis.GroupKeys = groupKeys.Word();
    return diagnosis;
}

RListDiagnosis Diagnose(const std::vector<std::vector<int>>& keyLists, int keyCount)
{
    RListDiagnosis diagnosis;
    if (keyCount <= KeySetBits) {
        std::vector<TKeySet> keySets;
        keySets.reserve(keyLists.size());
        for (const std::vector<int>& keys : keyLists) {
            TKeySet& set = keySets.emplace_back(0);
            for (const int key : keys)
                set |= KeyBit(key);
        }
        TSmallKeyBits groupKeys;
        diagnosis = DiagnoseSets<RListDiagnosis>(keySets, keyCount, groupKeys);
        AddGroupKeys(diagnosis, groupKeys);
    } else {
        std::vector<TWideKeyBits> keySets;
        keySets.reserve(keyLists.size());
        for (const std::vector<int>& keys : keyLists) {
            TWideKeyBits& set = keySets.emplace_back(keyCount);
            for (const int key : keys)
                set.Set(key);
        }
        TWideKeyBits groupKeys(keyCount);
        diagnosis = DiagnoseSets<RListDiagnosis>(keySets, keyCount, groupKeys);
        AddGroupKeys(diagnosis, groupKeys);
    }
    return diagnosis;
}
