#include "CombinationSearch.h"

#include "Engine.h"

#include <array>
#include <cstdint>

namespace {

using TKeyMask = std::uint64_t;
static_assert(KeyCount <= 64, "keys must fit a mask");

TKeyMask Bit(int key)
{
    return TKeyMask{1} << key;
}

// A maximum matching between entries and keys, grown by augmenting paths (Kuhn). With at most
// KeyCount entries and keys, every path search is a few thousand steps at worst.
class TMatching
{
public:
    explicit TMatching(const std::vector<std::vector<int>>& keyLists) : FKeyLists(keyLists)
    {
        FEntryKey.assign(keyLists.size(), -1);
        FKeyEntry.fill(-1);
    }

    int KeyOfEntry(std::size_t entry) const { return FEntryKey[entry]; }
    int EntryOfKey(int key) const { return FKeyEntry[key]; }

    // Finds a key for `entry` without touching the keys in `banned`, moving other entries
    // along an alternating path if needed. Changes nothing when it fails; `reached` then holds
    // the keys the search went through, all of them taken by the entries it visited.
    bool Augment(int entry, TKeyMask banned, TKeyMask& reached)
    {
        TKeyMask visited = banned;
        const bool found = AugmentFrom(entry, visited);
        reached = visited & ~banned;
        return found;
    }

    void Assign(int entry, int key)
    {
        FEntryKey[entry] = key;
        if (key >= 0)
            FKeyEntry[key] = entry;
    }

    void ReleaseKey(int key) { FKeyEntry[key] = -1; }

private:
    bool AugmentFrom(int entry, TKeyMask& visited)
    {
        for (const int key : FKeyLists[entry]) {
            if (visited & Bit(key))
                continue;
            visited |= Bit(key);
            const int holder = FKeyEntry[key];
            if (holder < 0 || AugmentFrom(holder, visited)) {
                Assign(entry, key);
                return true;
            }
        }
        return false;
    }

    const std::vector<std::vector<int>>& FKeyLists;
    std::vector<int> FEntryKey;
    std::array<int, KeyCount> FKeyEntry{};
};

} // namespace

std::optional<std::vector<int>> FindFirstAssignment(const std::vector<std::vector<int>>& keyLists)
{
    const std::size_t count = keyLists.size();
    if (count > static_cast<std::size_t>(KeyCount))
        return std::nullopt;

    TMatching matching(keyLists);
    for (std::size_t entry = 0; entry < count; ++entry) {
        TKeyMask reached = 0;
        if (!matching.Augment(static_cast<int>(entry), 0, reached))
            return std::nullopt;
    }

    // Fix entries in order. The matching always covers every entry, so "a completion exists
    // with this key" is "the entry that holds the key can be rerouted around the fixed keys".
    std::vector<int> chosen(count, -1);
    TKeyMask fixed = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int entry = static_cast<int>(i);
        const std::vector<int>& keys = keyLists[i];
        // Keys a failed reroute went through. The entries it visited number one more than those
        // keys and can take no others (besides fixed ones and the key tried), so giving this
        // entry any of them would leave one of those entries without a key: no need to try.
        TKeyMask unreachable = 0;
        for (std::size_t c = 0; c < keys.size(); ++c) {
            const int key = keys[c];
            if ((fixed | unreachable) & Bit(key))
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
            TKeyMask reached = 0;
            if (matching.Augment(holder, fixed | Bit(key), reached)) {
                chosen[i] = static_cast<int>(c);
                break;
            }
            unreachable |= reached;
            // No way round: put both back as they were.
            matching.Assign(holder, key);
            matching.Assign(entry, ownKey);
        }
        fixed |= Bit(keys[chosen[i]]);
    }
    return chosen;
}
