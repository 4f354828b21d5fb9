#pragma once

#include <algorithm>
#include <iterator>
#include <numeric>
#include <random>
#include <vector>

// `count` sorted, distinct rows of `entryCount`, never the first or the last, so Up and Down
// both stay enabled; the same rows on every run.
inline std::vector<int> ScatteredRows(int entryCount, int count)
{
    std::mt19937 random(11);
    std::vector<int> all(static_cast<std::size_t>(entryCount - 2));
    std::iota(all.begin(), all.end(), 1);
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(count));
    std::sample(all.begin(), all.end(), std::back_inserter(rows), count, random);
    return rows;
}
