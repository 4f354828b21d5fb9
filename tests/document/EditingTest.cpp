// What the editing commands do to the entries, the selection and the modified flag.
#include "CaptionDocument.h"
#include "CaptionLists.h"
#include "Engine.h"
#include "QuietHost.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

class EditingTest : public testing::Test
{
protected:
    void Fill(const TLines& captions) { FillDocument(FDocument, captions); }
    void Select(std::initializer_list<int> rows) { SelectDocumentRows(FDocument, rows); }

    TLines Originals() const { return OriginalsOf(FDocument); }

    // The captions of the selected rows, top to bottom.
    TLines SelectedOriginals() const { return SelectedOriginalsOf(FDocument); }

    void ProcessAll()
    {
        TAccEngine engine;
        TQuietHost host;
        FDocument.Process(engine, host);
    }

    TCaptionDocument FDocument;
};

TEST_F(EditingTest, AddAppendsUnprocessedEntryAndModifies)
{
    Fill({"Open"});
    FDocument.AddCaption("Open");
    EXPECT_EQ(Originals(), (TLines{"Open", "Open"}));
    EXPECT_TRUE(FDocument.Model().At(1).Accelerated.empty());
    EXPECT_EQ(FDocument.Model().At(1).Key, 0);
    EXPECT_TRUE(FDocument.Modified());
}

TEST_F(EditingTest, UpMovesSelectedBlockAndKeepsItSelected)
{
    Fill({"a", "b", "c", "d"});
    Select({1, 2});
    FDocument.MoveSelectedUp();
    EXPECT_EQ(Originals(), (TLines{"b", "c", "a", "d"}));
    EXPECT_EQ(SelectedOriginals(), (TLines{"b", "c"}));
    EXPECT_TRUE(FDocument.Modified());
}

TEST_F(EditingTest, DownMovesEachSelectedEntry)
{
    Fill({"a", "b", "c", "d"});
    Select({0, 2});
    FDocument.MoveSelectedDown();
    EXPECT_EQ(Originals(), (TLines{"b", "a", "d", "c"}));
    EXPECT_EQ(SelectedOriginals(), (TLines{"a", "c"}));
    EXPECT_TRUE(FDocument.Modified());
}

TEST_F(EditingTest, MovesCarryResultsWithTheirEntries)
{
    Fill({"File", "Edit"});
    ProcessAll();
    Select({1});
    FDocument.MoveSelectedUp();
    EXPECT_EQ(FDocument.Model().At(0).Accelerated, "&Edit");
    EXPECT_EQ(FDocument.Model().At(0).Key, 'E');
    EXPECT_EQ(FDocument.Model().At(1).Accelerated, "&File");
}

TEST_F(EditingTest, MovesThatChangeNoPlaceLeaveTheDocumentUnmodified)
{
    Fill({"a", "b", "c"});
    Select({0});
    FDocument.MoveSelectedUp();
    EXPECT_FALSE(FDocument.Modified());
    FDocument.SelectOnlyRows({2});
    FDocument.MoveSelectedDown();
    EXPECT_FALSE(FDocument.Modified());
    EXPECT_EQ(Originals(), (TLines{"a", "b", "c"}));
    // A block at the top turns over within itself: that is a move.
    FDocument.SelectOnlyRows({0, 1});
    FDocument.MoveSelectedUp();
    EXPECT_EQ(Originals(), (TLines{"b", "a", "c"}));
    EXPECT_TRUE(FDocument.Modified());
}

// Up and Down as the row-by-row swaps of the command's definition, selection flags included.
std::vector<std::pair<std::string, bool>> SwapModel(std::vector<std::pair<std::string, bool>> rows,
                                                    bool up)
{
    const int count = static_cast<int>(rows.size());
    if (up) {
        for (int i = 1; i < count; ++i)
            if (rows[static_cast<std::size_t>(i)].second)
                std::swap(rows[static_cast<std::size_t>(i)], rows[static_cast<std::size_t>(i - 1)]);
    } else {
        for (int i = count - 2; i >= 0; --i)
            if (rows[static_cast<std::size_t>(i)].second)
                std::swap(rows[static_cast<std::size_t>(i)], rows[static_cast<std::size_t>(i + 1)]);
    }
    return rows;
}

TEST(EditingMoves, MatchRowByRowSwapsOnRandomSelections)
{
    std::mt19937 random(5);
    for (int round = 0; round < 2000; ++round) {
        const bool up = round % 2 == 0;
        const int count = std::uniform_int_distribution<int>(1, 8)(random);
        TCaptionDocument document;
        std::vector<std::pair<std::string, bool>> rows;
        for (int i = 0; i < count; ++i) {
            const std::string caption(1, static_cast<char>('a' + i));
            document.AddCaption(caption);
            rows.emplace_back(caption, false);
        }
        for (int i = 0; i < count; ++i)
            if (std::bernoulli_distribution(0.4)(random)) {
                rows[static_cast<std::size_t>(i)].second = true;
                document.SelectRows(i, i);
            }
        // Blocks touching the end are included on purpose: they turn over as swaps would.
        const auto expected = SwapModel(rows, up);
        up ? document.MoveSelectedUp() : document.MoveSelectedDown();
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(document.Model().At(i).Original, expected[static_cast<std::size_t>(i)].first)
                << "round " << round << " row " << i;
            ASSERT_EQ(document.IsRowSelected(i), expected[static_cast<std::size_t>(i)].second)
                << "round " << round << " row " << i;
        }
    }
}

TEST_F(EditingTest, DeleteRemovesOnlyTheTopmostSelected)
{
    Fill({"a", "b", "c", "d"});
    Select({3, 1, 2});
    FDocument.DeleteFirstSelected();
    EXPECT_EQ(Originals(), (TLines{"a", "c", "d"}));
    EXPECT_TRUE(FDocument.Modified());
}

TEST_F(EditingTest, DeleteWithoutSelectionDoesNothing)
{
    Fill({"a"});
    FDocument.DeleteFirstSelected();
    EXPECT_EQ(Originals(), TLines{"a"});
    EXPECT_FALSE(FDocument.Modified());
}

TEST_F(EditingTest, SelectAllSelectsEveryRowWithoutModifying)
{
    Fill({"a", "b", "c"});
    FDocument.SelectAll();
    EXPECT_EQ(SelectedOriginals(), (TLines{"a", "b", "c"}));
    EXPECT_FALSE(FDocument.Modified());
    const TSelectionFacts facts = FDocument.SelectionFacts();
    EXPECT_EQ(facts.FirstSelected, 0);
    EXPECT_TRUE(facts.FirstRowSelected);
    EXPECT_TRUE(facts.LastRowSelected);
}

TEST_F(EditingTest, SelectionFactsFollowMovesAndDeletes)
{
    Fill({"a", "b", "c"});
    Select({1});
    EXPECT_EQ(FDocument.SelectionFacts().FirstSelected, 1);
    EXPECT_FALSE(FDocument.SelectionFacts().LastRowSelected);
    FDocument.MoveSelectedDown();
    EXPECT_EQ(FDocument.SelectionFacts().FirstSelected, 2);
    EXPECT_TRUE(FDocument.SelectionFacts().LastRowSelected);
    FDocument.DeleteFirstSelected();
    EXPECT_FALSE(FDocument.SelectionFacts().HasSelection());
}

TEST_F(EditingTest, ClearRemovesAllButKeepsTheName)
{
    Fill({"a", "b"});
    FDocument.SetFileName("/tmp/menu.lst");
    FDocument.ClearEntries();
    EXPECT_EQ(FDocument.Count(), 0);
    EXPECT_EQ(FDocument.FileName(), "/tmp/menu.lst");
    EXPECT_TRUE(FDocument.Modified());
}

TEST_F(EditingTest, SortFoldsOnlyAsciiLettersAndSelectionFollows)
{
    Fill({"beta", "Alpha", "alpha2"});
    Select({0});
    FDocument.SortByColumn(TEntryModel::ColOriginal);
    EXPECT_EQ(Originals(), (TLines{"Alpha", "alpha2", "beta"}));
    EXPECT_EQ(SelectedOriginals(), TLines{"beta"});
    EXPECT_TRUE(FDocument.Modified());
}

TEST_F(EditingTest, SortComparesFoldedBytesWithPrefixesFirst)
{
    // '_' (95) sorts after the folded letters (65..90) but before unfolded high bytes.
    Fill({"\xE9", "b_", "B", "_", "ab", "A"});
    FDocument.SortByColumn(TEntryModel::ColOriginal);
    EXPECT_EQ(Originals(), (TLines{"A", "ab", "B", "b_", "_", "\xE9"}));
}

TEST_F(EditingTest, SortByKeyUsesTheResults)
{
    Fill({"Cut", "Copy", "Paste"});
    ProcessAll(); // C, O, P
    Select({1, 2});
    FDocument.SortByColumn(TEntryModel::ColKey);
    EXPECT_EQ(Originals(), (TLines{"Cut", "Copy", "Paste"}));
    FDocument.SortByColumn(TEntryModel::ColAccelerated); // '&Cut' '&Paste' 'C&opy'
    EXPECT_EQ(Originals(), (TLines{"Cut", "Paste", "Copy"}));
    EXPECT_EQ(SelectedOriginals(), (TLines{"Paste", "Copy"}));
}

TEST_F(EditingTest, AcceptedInPlaceEditEmptiesResultsAndModifies)
{
    Fill({"File", "Edit"});
    ProcessAll();
    TEntryModel& model = FDocument.Model();
    ASSERT_TRUE(
        model.setData(model.index(0, TEntryModel::ColOriginal), QString("File"), Qt::EditRole));
    EXPECT_EQ(model.At(0).Original, "File");
    EXPECT_TRUE(model.At(0).Accelerated.empty());
    EXPECT_EQ(model.At(0).Key, 0);
    EXPECT_EQ(model.At(1).Accelerated, "&Edit");
    EXPECT_TRUE(FDocument.Modified());

    ASSERT_TRUE(
        model.setData(model.index(1, TEntryModel::ColOriginal), QString("A&B"), Qt::EditRole));
    EXPECT_EQ(model.At(1).Original, "A&B");
}

TEST_F(EditingTest, FirstSelectedAcceleratedIsWhatCopyTakes)
{
    Fill({"File", "Edit"});
    EXPECT_EQ(FDocument.FirstSelectedAccelerated(), "");
    ProcessAll();
    Select({1});
    EXPECT_EQ(FDocument.FirstSelectedAccelerated(), "&Edit");
}

} // namespace
