// The dense numbering of a list's keys: the searches trust it to give each distinct key one
// index, 0, 1, 2... in the order the keys first come, whatever range the keys lie in.
#include "Keys.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <unordered_map>
#include <vector>

namespace {

// What a list's numbering gives: the index of every key added, and what IndexOf says of the
// probes afterwards. Each call numbers on a fresh object in the same stack frame, where the
// previous list's table lay.
struct RNumbering
{
    std::vector<int> Added;
    std::vector<int> Probed;
    int Count = 0;
};

RNumbering Number(const std::vector<TKey>& keys, const std::vector<TKey>& probes)
{
    TDenseKeys dense;
    RNumbering numbering;
    for (const TKey key : keys)
        numbering.Added.push_back(dense.Add(key));
    for (const TKey probe : probes)
        numbering.Probed.push_back(dense.IndexOf(probe));
    numbering.Count = dense.Count();
    return numbering;
}

// Keys from every range the numbering treats apart: ASCII, the rest below U+0800, the rest of
// the Basic Multilingual Plane, beyond it, and keys alike in their low bits, which pile up in a
// small hash table.
TKey RandomKey(std::mt19937& random)
{
    switch (random() % 5) {
    case 0:
        return static_cast<TKey>(random() % 0x80);
    case 1:
        return static_cast<TKey>(0x80 + random() % (0x800 - 0x80));
    case 2:
        return static_cast<TKey>(0x800 + random() % (0x10000 - 0x800));
    case 3:
        return static_cast<TKey>(0x10000 + random() % (0x110000 - 0x10000));
    default:
        return static_cast<TKey>(0x1000 + (random() % 32) * (TKey{1} << 27));
    }
}

TEST(DenseKeys, NumbersKeysInTheOrderTheyFirstComeInEveryRange)
{
    const std::vector<TKey> keys = {'A',   U'ф',  U'ა', U'😀', 'A',   U'ф', 0x7F,    0x80,
                                    0x7FF, 0x800, 0,    U'😀', 0x7FF, U'ა', 0x10FFFF};
    TDenseKeys dense;
    std::vector<int> indices;
    for (const TKey key : keys)
        indices.push_back(dense.Add(key));
    EXPECT_EQ(indices, (std::vector<int>{0, 1, 2, 3, 0, 1, 4, 5, 6, 7, 8, 3, 6, 2, 9}));
    ASSERT_EQ(dense.Count(), 10);
    const std::vector<TKey> distinct = {'A',  U'ф',  U'ა',  U'😀', 0x7F,
                                        0x80, 0x7FF, 0x800, 0,    0x10FFFF};
    for (int i = 0; i < dense.Count(); ++i) {
        EXPECT_EQ(dense.KeyOfIndex(i), distinct[static_cast<std::size_t>(i)]);
        EXPECT_EQ(dense.IndexOf(distinct[static_cast<std::size_t>(i)]), i);
    }
    for (const TKey absent : {TKey{'B'}, TKey{U'х'}, TKey{U'ბ'}, TKey{U'😁'}, TKey{0x801}})
        EXPECT_EQ(dense.IndexOf(absent), -1) << std::hex << static_cast<std::uint32_t>(absent);
}

TEST(DenseKeys, EveryListStartsWithoutThePreviousOnesKeys)
{
    // The first list touches every key below U+0800 and some beyond, in reverse.
    std::vector<TKey> crowded;
    for (TKey key = 0x900; key-- > 0;)
        crowded.push_back(key);
    const RNumbering first = Number(crowded, {0x7FF, 0, 0x8FF});
    EXPECT_EQ(first.Probed, (std::vector<int>{0x900 - 0x800, 0x8FF, 0}));

    // A list of ASCII keys only sees nothing of the previous list beyond ASCII, and a list with
    // such keys numbers them afresh.
    const RNumbering asciiOnly = Number({'Q', 'A'}, {U'ф', 0x7FF, 0x8FF, 'A', 'B'});
    EXPECT_EQ(asciiOnly.Added, (std::vector<int>{0, 1}));
    EXPECT_EQ(asciiOnly.Probed, (std::vector<int>{-1, -1, -1, 1, -1}));
    const RNumbering mixed = Number({'A', 'B', U'ф', 'A', 0x8FF, U'ф'}, {U'х', 0x7FF, 0x8FE, 'C'});
    EXPECT_EQ(mixed.Added, (std::vector<int>{0, 1, 2, 0, 3, 2}));
    EXPECT_EQ(mixed.Probed, (std::vector<int>{-1, -1, -1, -1}));
    EXPECT_EQ(mixed.Count, 4);
}

// Long lists outgrow the slots kept in the object, and the colliding keys take long probes:
// the numbering must agree with a plain map all the way, key by key on a fresh object and a
// caption's keys at a time on one object cleared between lists.
TEST(DenseKeys, AgreesWithAMapThroughCollisionsGrowthAndReuse)
{
    std::mt19937 random(16);
    TDenseKeys reused;
    for (int round = 0; round < 300; ++round) {
        const std::size_t length = round < 200 ? random() % 80 : random() % 3000;
        TDenseKeys dense;
        reused.Clear();
        std::unordered_map<TKey, int> expected;
        std::vector<TKey> keys;
        std::vector<TKey> order;
        for (std::size_t n = 0; n < length; ++n) {
            const TKey key = keys.emplace_back(RandomKey(random));
            const auto [at, added] = expected.try_emplace(key, static_cast<int>(expected.size()));
            if (added)
                order.push_back(key);
            ASSERT_EQ(dense.Add(key), at->second)
                << "round " << round << " key " << std::hex << static_cast<std::uint32_t>(key);
        }
        std::vector<int> indices(keys.size());
        for (std::size_t from = 0; from < keys.size();) {
            const std::size_t to = std::min(keys.size(), from + 1 + random() % 20);
            reused.AddEach(
                keys.data() + from, keys.data() + to, [](TKey key) { return key; },
                indices.data() + from);
            from = to;
        }
        for (std::size_t n = 0; n < keys.size(); ++n)
            ASSERT_EQ(indices[n], expected[keys[n]]) << "round " << round << " key " << n;
        for (const TDenseKeys* numbering : {&dense, &reused}) {
            ASSERT_EQ(numbering->Count(), static_cast<int>(order.size()));
            for (std::size_t i = 0; i < order.size(); ++i) {
                ASSERT_EQ(numbering->KeyOfIndex(static_cast<int>(i)), order[i]);
                ASSERT_EQ(numbering->IndexOf(order[i]), static_cast<int>(i));
            }
            for (int probe = 0; probe < 50; ++probe) {
                const TKey key = RandomKey(random);
                const auto at = expected.find(key);
                ASSERT_EQ(numbering->IndexOf(key), at == expected.end() ? -1 : at->second);
            }
        }
    }
}

// Every one of 31 keys alike below bit 27, beyond half of the slots kept in place, then with
// many more keys after them.
TEST(DenseKeys, KeysSharingTheirLowBitsKeepTheirOwnIndices)
{
    TDenseKeys dense;
    for (TKey i = 0; i < 31; ++i)
        ASSERT_EQ(dense.Add(0x1000 + i * (TKey{1} << 27)), static_cast<int>(i));
    for (TKey i = 0; i < 200; ++i)
        ASSERT_EQ(dense.Add(0x20000 + i), static_cast<int>(31 + i));
    for (TKey i = 0; i < 31; ++i)
        EXPECT_EQ(dense.IndexOf(0x1000 + i * (TKey{1} << 27)), static_cast<int>(i));
    EXPECT_EQ(dense.IndexOf(0x1000 + 31 * (TKey{1} << 27)), -1);
    EXPECT_EQ(dense.Add(0x20000 + 199), 230);
    EXPECT_EQ(dense.Count(), 231);
}

} // namespace
