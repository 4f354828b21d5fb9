// The sort of a header click against a plain stable sort with the list's comparison, on texts
// built to share long prefixes, end inside and just past the first eight bytes, and hold the
// bytes around the folded letters, zero bytes included.
#include "CaptionDocument.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

// The comparison as the command describes it, byte by byte.
bool ReferenceBefore(const std::string& a, const std::string& b)
{
    auto fold = [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (u >= 'a' && u <= 'z') ? u - 'a' + 'A' : u;
    };
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (fold(a[i]) != fold(b[i]))
            return fold(a[i]) < fold(b[i]);
    return a.size() < b.size();
}

std::string RandomText(std::mt19937& random)
{
    static const std::string Alphabet = std::string("aAzZ_`@[{b\xff\x7f ") + '\0';
    static const std::vector<std::string> Stems = {"", "Open", "Caption ", "Caption 1", "OPEN ALL"};
    std::string text =
        Stems[std::uniform_int_distribution<std::size_t>(0, Stems.size() - 1)(random)];
    const int extra = std::uniform_int_distribution<int>(0, 10)(random);
    for (int i = 0; i < extra; ++i)
        text +=
            Alphabet[std::uniform_int_distribution<std::size_t>(0, Alphabet.size() - 1)(random)];
    return text;
}

struct TRow
{
    std::string Original;
    std::string Accelerated;
    char Key;
    bool Selected;
    int Tag; // the row before sorting
};

std::string SortTextOf(const TRow& row, int column)
{
    if (column == TEntryModel::ColAccelerated)
        return row.Accelerated;
    if (column == TEntryModel::ColKey)
        return row.Key ? std::string(1, row.Key) : std::string();
    return row.Original;
}

TEST(SortOrder, MatchesAStableSortWithTheFoldedComparison)
{
    std::mt19937 random(23);
    for (int round = 0; round < 300; ++round) {
        const int column = round % TEntryModel::ColumnCount;
        const int count = std::uniform_int_distribution<int>(0, 60)(random);
        std::vector<TRow> rows;
        for (int i = 0; i < count; ++i) {
            const char key = "\0AaZ_1"[std::uniform_int_distribution<int>(0, 5)(random)];
            rows.push_back({RandomText(random), RandomText(random), key,
                            std::bernoulli_distribution(0.3)(random), i});
        }

        TCaptionDocument document;
        std::vector<std::pair<std::string, char>> results;
        std::vector<int> selected;
        for (const TRow& row : rows) {
            document.AddCaption(row.Original);
            results.emplace_back(row.Accelerated, row.Key);
            if (row.Selected)
                selected.push_back(row.Tag);
        }
        document.Model().SetResults(results);
        document.SelectOnlyRows(selected);
        document.SortByColumn(column);

        std::stable_sort(rows.begin(), rows.end(), [column](const TRow& a, const TRow& b) {
            return ReferenceBefore(SortTextOf(a, column), SortTextOf(b, column));
        });
        ASSERT_EQ(document.Count(), count);
        for (int i = 0; i < count; ++i) {
            const TRow& expected = rows[static_cast<std::size_t>(i)];
            const TEntry& entry = document.Model().At(i);
            // Equal texts are told apart by the fields that were not compared.
            ASSERT_EQ(entry.Original, expected.Original) << "round " << round << " row " << i;
            ASSERT_EQ(entry.Accelerated, expected.Accelerated) << "round " << round << " row " << i;
            ASSERT_EQ(entry.Key, expected.Key) << "round " << round << " row " << i;
            ASSERT_EQ(document.IsRowSelected(i), expected.Selected)
                << "round " << round << " row " << i;
        }
    }
}

TEST(SortOrder, EqualTextsKeepTheirOrder)
{
    TCaptionDocument document;
    // Same text in every column; only the results' order tells the entries apart.
    const std::vector<std::string> originals = {"same caption text", "b",
                                                "same caption text", "a",
                                                "SAME CAPTION TEXT", "same caption text"};
    std::vector<std::pair<std::string, char>> results;
    for (std::size_t i = 0; i < originals.size(); ++i) {
        document.AddCaption(originals[i]);
        results.emplace_back(std::to_string(i), 0);
    }
    document.Model().SetResults(results);
    document.SortByColumn(TEntryModel::ColOriginal);
    std::vector<std::string> tags;
    for (const TEntry& entry : document.Model().Entries())
        tags.push_back(entry.Accelerated);
    EXPECT_EQ(tags, (std::vector<std::string>{"3", "1", "0", "2", "4", "5"}));
}

TEST(SortOrder, CurrentEntryFollowsItsEntry)
{
    TCaptionDocument document;
    for (const char* caption : {"c", "a", "b"})
        document.AddCaption(caption);
    document.Selection().setCurrentIndex(document.Model().index(0, 0),
                                         QItemSelectionModel::NoUpdate);
    document.SortByColumn(TEntryModel::ColOriginal);
    EXPECT_EQ(document.Selection().currentIndex().row(), 2);
}

} // namespace
