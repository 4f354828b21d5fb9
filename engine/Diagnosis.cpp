#include "Diagnosis.h"

#include "Engine.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>

namespace {

static_assert(KeyCount <= 64, "keys must fit a set");

constexpr std::size_t NoCaption = std::numeric_limits<std::size_t>::max();

TKeySet Bit(int key)
{
    return TKeySet{1} << key;
}

int Size(TKeySet keys)
{
    return std::popcount(keys);
}

char KeyAt(int index)
{
    static constexpr std::array<char, KeyCount> Keys = {
        'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O',
        'P', 'Q', 'R', 'S', 'T', 'U', 'V', 'W', 'X', 'Y', 'Z', '0', '1', '2', '3',
        '4', '5', '6', '7', '8', '9', '!', '$', '<', '=', '>', '?', '@'};
    return Keys[static_cast<std::size_t>(index)];
}

// A maximum matching grown by augmenting paths, one pass over the captions. A caption that finds
// no path never finds one later, and every key its search reached is matched to a caption whose
// keys were all reached too: such a closed set can never lead to a free key, so its keys are
// marked dead once and for all and never searched again.
class TMaskMatching
{
public:
    explicit TMaskMatching(const std::vector<TKeySet>& keySets) : FKeySets(keySets)
    {
        FHolder.fill(NoCaption);
        for (std::size_t caption = 0; caption < keySets.size(); ++caption)
            Offer(caption);
    }

    std::size_t Size() const { return FMatched; }
    std::size_t FirstUnmatched() const { return FFirstUnmatched; }
    std::size_t HolderOf(int key) const { return FHolder[static_cast<std::size_t>(key)]; }

private:
    void Offer(std::size_t caption)
    {
        const TKeySet keys = FKeySets[caption];
        if (keys == 0 || (keys & ~FDead) == 0 || FMatched == static_cast<std::size_t>(KeyCount)) {
            NoteUnmatched(caption);
            return;
        }
        TKeySet visited = FDead;
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

    bool Augment(std::size_t caption, TKeySet& visited)
    {
        // Depth is bounded by the number of keys, since each level takes a key of its own.
        const TKeySet keys = FKeySets[caption];
        // A free key ends the path at once; looking for one first keeps paths short.
        const TKeySet free = keys & ~visited & ~FTaken;
        if (free != 0) {
            Take(std::countr_zero(free), caption);
            return true;
        }
        for (TKeySet open = keys & ~visited; open != 0; open &= open - 1) {
            const int key = std::countr_zero(open);
            if (visited & Bit(key))
                continue;
            visited |= Bit(key);
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
        FTaken |= Bit(key);
    }

    const std::vector<TKeySet>& FKeySets;
    std::array<std::size_t, KeyCount> FHolder{};
    TKeySet FTaken = 0;
    TKeySet FDead = 0;
    std::size_t FMatched = 0;
    std::size_t FFirstUnmatched = NoCaption;
};

// In a maximum matching every key reachable by alternating paths from an unmatched caption is
// matched, so the caption and the holders of those keys are one more than their keys.
std::vector<std::size_t> ReachableGroup(const TMaskMatching& matching,
                                        const std::vector<TKeySet>& keySets, std::size_t start)
{
    std::vector<std::size_t> group{start};
    TKeySet reached = 0;
    TKeySet pending = keySets[start];
    while (pending != 0) {
        const int key = std::countr_zero(pending);
        reached |= Bit(key);
        const std::size_t holder = matching.HolderOf(key);
        group.push_back(holder);
        pending = (pending | keySets[holder]) & ~reached;
    }
    return group;
}

TKeySet KeysOf(const std::vector<std::size_t>& group, const std::vector<TKeySet>& keySets,
               std::size_t skip)
{
    TKeySet keys = 0;
    for (std::size_t i = 0; i < group.size(); ++i)
        if (i != skip)
            keys |= keySets[group[i]];
    return keys;
}

// Drops members while the rest stays deficient, later lines first so that the report keeps the
// earliest lines it can. Dropping one member can make another droppable, hence the repeat.
void Shrink(std::vector<std::size_t>& group, const std::vector<TKeySet>& keySets)
{
    bool dropped = true;
    while (dropped) {
        dropped = false;
        for (std::size_t i = group.size(); i-- > 0;) {
            const TKeySet rest = KeysOf(group, keySets, i);
            if (static_cast<std::size_t>(Size(rest)) < group.size() - 1) {
                group.erase(group.begin() + static_cast<std::ptrdiff_t>(i));
                dropped = true;
            }
        }
    }
}

} // namespace

TKeySet KeySetOf(std::string_view caption)
{
    // A million captions go through here for one explanation; one lookup per byte instead of
    // three calls. Built once from the engine's own rules, so the two can never disagree.
    static const std::array<TKeySet, 256> KeyBit = [] {
        std::array<TKeySet, 256> table{};
        for (int b = 0; b < 256; ++b) {
            const char c = static_cast<char>(b);
            if (IsEligibleChar(c))
                table[static_cast<std::size_t>(b)] = Bit(KeyIndex(KeyOf(c)));
        }
        return table;
    }();
    TKeySet keys = 0;
    for (const char c : caption)
        keys |= KeyBit[static_cast<unsigned char>(c)];
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
    RDiagnosis diagnosis;
    const TMaskMatching matching(keySets);
    diagnosis.MaxDistinct = matching.Size();
    if (matching.Size() == keySets.size())
        return diagnosis;

    for (std::size_t caption = 0; caption < keySets.size(); ++caption)
        if (keySets[caption] == 0)
            diagnosis.WithoutKeys.push_back(caption);
    if (!diagnosis.WithoutKeys.empty())
        return diagnosis;

    std::vector<std::size_t> group = ReachableGroup(matching, keySets, matching.FirstUnmatched());
    std::sort(group.begin(), group.end());
    Shrink(group, keySets);
    diagnosis.GroupKeys = KeysOf(group, keySets, group.size());
    diagnosis.Group = std::move(group);
    return diagnosis;
}
