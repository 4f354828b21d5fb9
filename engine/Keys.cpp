#include "Keys.h"

#include <algorithm>
#include <array>

namespace {

// Index of every byte that is a key, -1 for the others; built from AsciiKeys so that the order
// is spelled once.
constexpr auto IndexTable = [] {
    std::array<signed char, 256> table{};
    table.fill(-1);
    for (std::size_t i = 0; i < AsciiKeys.size(); ++i)
        table[static_cast<unsigned char>(AsciiKeys[i])] = static_cast<signed char>(i);
    return table;
}();

} // namespace

bool IsEligibleChar(char c)
{
    return KeyIndex(KeyOf(c)) >= 0;
}

char KeyOf(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

int KeyIndex(char key)
{
    return IndexTable[static_cast<unsigned char>(key)];
}

char KeyAt(int index)
{
    return AsciiKeys[static_cast<std::size_t>(index)];
}

TDenseKeys::TDenseKeys(std::vector<TKey> keys) : FKeys(std::move(keys))
{
    std::sort(FKeys.begin(), FKeys.end());
    FKeys.erase(std::unique(FKeys.begin(), FKeys.end()), FKeys.end());
}

int TDenseKeys::IndexOf(TKey key) const
{
    const auto found = std::lower_bound(FKeys.begin(), FKeys.end(), key);
    if (found == FKeys.end() || *found != key)
        return -1;
    return static_cast<int>(found - FKeys.begin());
}
