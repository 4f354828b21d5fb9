#include "CombinationSearch.h"

#include "KeyBits.h"

#include <algorithm>
#include <span>

namespace {

// A maximum matching between entries and keys, grown by augmenting paths (Kuhn). Paths are
// walked with a stack of their own: a list of many keys would otherwise recurse once per key.
template <class TBits, class TLists> class TMatching
{
public:
    TMatching(const TLists& keyLists, int keyCount)
        : FKeyLists(keyLists), FKeyCount(keyCount), FEntryKey(keyLists.size(), -1),
          FKeyEntry(static_cast<std::size_t>(keyCount), -1)
    {}

    int KeyOfEntry(std::size_t entry) const { return FEntryKey[entry]; }
    int EntryOfKey(int key) const { return FKeyEntry[static_cast<std::size_t>(key)]; }
    int KeyCount() const { return FKeyCount; }

    // Finds a key for `entry` without touching the keys in `banned`, moving other entries
    // along an alternating path if needed. Changes nothing when it fails; `reached` then holds
    // the keys the search went through, all of them taken by the entries it visited.
    bool Augment(int entry, const TBits& banned, TBits& reached)
    {
        TBits visited = banned;
        const bool found = AugmentFrom(entry, visited);
        reached = visited.Without(banned);
        return found;
    }

    void Assign(int entry, int key)
    {
        FEntryKey[static_cast<std::size_t>(entry)] = key;
        if (key >= 0)
            FKeyEntry[static_cast<std::size_t>(key)] = entry;
    }

    void ReleaseKey(int key) { FKeyEntry[static_cast<std::size_t>(key)] = -1; }

private:
    struct RStep
    {
        int Entry;
        std::size_t Next; // position in the entry's list of the next key to try
    };

    // Depth first, keys in list order, as a recursive walk would take them.
    bool AugmentFrom(int entry, TBits& visited)
    {
        FPath.clear();
        FPath.push_back({entry, 0});
        while (!FPath.empty()) {
            RStep& step = FPath.back();
            const std::span<const int> keys = FKeyLists[static_cast<std::size_t>(step.Entry)];
            if (step.Next == keys.size()) {
                FPath.pop_back();
                continue;
            }
            const int key = keys[step.Next++];
            if (visited.Test(key))
                continue;
            visited.Set(key);
            const int holder = FKeyEntry[static_cast<std::size_t>(key)];
            if (holder >= 0) {
                FPath.push_back({holder, 0});
                continue;
            }
            // A free key: every entry on the path moves to the key it was trying.
            for (const RStep& taken : FPath)
                Assign(taken.Entry,
                       FKeyLists[static_cast<std::size_t>(taken.Entry)][taken.Next - 1]);
            return true;
        }
        return false;
    }

    const TLists& FKeyLists;
    int FKeyCount;
    std::vector<int> FEntryKey;
    std::vector<int> FKeyEntry;
    std::vector<RStep> FPath;
};

template <class TBits, class TLists>
bool FirstAssignment(const TLists& keyLists, int keyCount, std::vector<int>& chosen)
{
    const std::size_t count = keyLists.size();
    // When every entry finds a key no earlier entry took, the depth-first search never goes
    // back and that first path is the answer: most real scopes end here, after one pass.
    chosen.assign(count, -1);
    TBits used(keyCount);
    std::size_t greedy = 0;
    for (; greedy < count; ++greedy) {
        const std::span<const int> keys = keyLists[greedy];
        std::size_t c = 0;
        while (c < keys.size() && used.Test(keys[c]))
            ++c;
        if (c == keys.size())
            break;
        chosen[greedy] = static_cast<int>(c);
        used.Set(keys[c]);
    }
    if (greedy == count)
        return true;

    // The greedy prefix is a matching already; paths are needed only for the rest.
    TMatching<TBits, TLists> matching(keyLists, keyCount);
    for (std::size_t entry = 0; entry < greedy; ++entry)
        matching.Assign(static_cast<int>(entry),
                        keyLists[entry][static_cast<std::size_t>(chosen[entry])]);
    const TBits none(keyCount);
    for (std::size_t entry = greedy; entry < count; ++entry) {
        TBits reached(keyCount);
        if (!matching.Augment(static_cast<int>(entry), none, reached))
            return false;
    }

    // Fix entries in order. The matching always covers every entry, so "a completion exists
    // with this key" is "the entry that holds the key can be rerouted around the fixed keys".
    std::fill(chosen.begin(), chosen.end(), -1);
    TBits fixed(keyCount);
    for (std::size_t i = 0; i < count; ++i) {
        const int entry = static_cast<int>(i);
        const std::span<const int> keys = keyLists[i];
        // Keys a failed reroute went through. The entries it visited number one more than those
        // keys and can take no others (besides fixed ones and the key tried), so giving this
        // entry any of them would leave one of those entries without a key: no need to try.
        TBits unreachable(keyCount);
        for (std::size_t c = 0; c < keys.size(); ++c) {
            const int key = keys[c];
            if (fixed.Test(key) || unreachable.Test(key))
                continue;
            const int ownKey = matching.KeyOfEntry(i);
            const int holder = matching.EntryOfKey(key);
            if (holder == entry) {
                chosen[i] = static_cast<int>(c);
                break;
            }
            matching.ReleaseKey(ownKey);
            matching.Assign(entry, key);
            if (holder < 0) {
                chosen[i] = static_cast<int>(c);
                break;
            }
            matching.Assign(holder, -1);
            TBits banned = fixed;
            banned.Set(key);
            TBits reached(keyCount);
            if (matching.Augment(holder, banned, reached)) {
                chosen[i] = static_cast<int>(c);
                break;
            }
            unreachable |= reached;
            // No way round: put both back as they were.
            matching.Assign(holder, key);
            matching.Assign(entry, ownKey);
        }
        fixed.Set(keys[static_cast<std::size_t>(chosen[i])]);
    }
    return true;
}

template <class TLists>
bool FirstAssignmentOf(const TLists& keyLists, int keyCount, std::vector<int>& chosen)
{
    if (keyLists.size() > static_cast<std::size_t>(std::max(keyCount, 0)))
        return false;
    if (keyCount <= KeySetBits)
        return FirstAssignment<TSmallKeyBits>(keyLists, keyCount, chosen);
    return FirstAssignment<TWideKeyBits>(keyLists, keyCount, chosen);
}

template <class TLists>
std::optional<std::vector<int>> FirstAssignmentOf(const TLists& keyLists, int keyCount)
{
    std::vector<int> chosen;
    if (!FirstAssignmentOf(keyLists, keyCount, chosen))
        return std::nullopt;
    return chosen;
}

} // namespace

std::optional<std::vector<int>> FindFirstAssignment(const std::vector<std::vector<int>>& keyLists,
                                                    int keyCount)
{
    return FirstAssignmentOf(keyLists, keyCount);
}

std::optional<std::vector<int>> FindFirstAssignment(const TFlatKeyLists& keyLists, int keyCount)
{
    return FirstAssignmentOf(keyLists, keyCount);
}

bool FindFirstAssignment(const TFlatKeyLists& keyLists, int keyCount, std::vector<int>& chosen)
{
    return FirstAssignmentOf(keyLists, keyCount, chosen);
}

std::optional<std::vector<int>> FindFirstAssignment(const std::vector<std::vector<int>>& keyLists)
{
    int keyCount = 0;
    for (const std::vector<int>& keys : keyLists)
        for (const int key : keys)
            keyCount = std::max(keyCount, key + 1);
    return FindFirstAssignment(keyLists, keyCount);
}
