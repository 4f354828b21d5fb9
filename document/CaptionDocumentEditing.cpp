// The editing commands' effects on the list.
#include "CaptionDocument.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string_view>

namespace {

struct TRowRun
{
    int First;
    int Last;
};

// The selected rows as sorted, disjoint, non-adjacent runs.
std::vector<TRowRun> SelectedRuns(const QItemSelectionModel& selection, int count)
{
    std::vector<TRowRun> runs;
    for (const QItemSelectionRange& range : selection.selection())
        if (range.isValid())
            runs.push_back({range.top(), std::min(range.bottom(), count - 1)});
    std::sort(runs.begin(), runs.end(),
              [](const TRowRun& a, const TRowRun& b) { return a.First < b.First; });
    std::vector<TRowRun> merged;
    for (const TRowRun& run : runs) {
        if (!merged.empty() && run.First <= merged.back().Last + 1)
            merged.back().Last = std::max(merged.back().Last, run.Last);
        else
            merged.push_back(run);
    }
    return merged;
}

QItemSelection RowsSelection(const QAbstractItemModel& model, const std::vector<TRowRun>& runs)
{
    QItemSelection selection;
    selection.reserve(static_cast<qsizetype>(runs.size()));
    for (const TRowRun& run : runs)
        selection.append(QItemSelectionRange(model.index(run.First, 0),
                                             model.index(run.Last, model.columnCount() - 1)));
    return selection;
}

// Qt compares an old and a new selection range against range, which takes minutes when both
// hold a hundred thousand ranges; against an empty old selection it is a single pass.
void ReplaceSelection(QItemSelectionModel& selection, const std::vector<TRowRun>& runs)
{
    selection.clearSelection();
    if (!runs.empty())
        selection.select(RowsSelection(*selection.model(), runs), QItemSelectionModel::Select);
}

unsigned char Fold(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

// The list's sort comparison: bytes with ASCII letters folded, a proper prefix first.
int CompareFolded(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = Fold(a[i]);
        const unsigned char y = Fold(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string_view SortText(const TEntry& entry, int column)
{
    if (column == TEntryModel::ColAccelerated)
        return entry.Accelerated;
    if (column == TEntryModel::ColKey)
        return {&entry.Key, entry.Key ? 1U : 0U};
    return entry.Original;
}

// The first bytes of a sort text, folded, as a number that orders like the text: most texts
// are told apart by it alone, without reaching into the entries spread over memory.
struct TSortItem
{
    std::uint64_t Head;
    std::uint32_t Length; // saturated; only compared when the shorter text fits in Head
    int Row;
};

constexpr std::size_t HeadBytes = sizeof(std::uint64_t);

TSortItem MakeSortItem(std::string_view text, int row)
{
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < HeadBytes; ++i)
        head = (head << 8) | (i < text.size() ? Fold(text[i]) : 0U);
    const auto length = static_cast<std::uint32_t>(
        std::min<std::size_t>(text.size(), std::numeric_limits<std::uint32_t>::max()));
    return {head, length, row};
}

// Rows in ascending order of the column's text; rows with equal texts keep their order.
std::vector<int> SortedRows(const std::vector<TEntry>& entries, int column)
{
    std::vector<TSortItem> items;
    items.reserve(entries.size());
    for (std::size_t row = 0; row < entries.size(); ++row)
        items.push_back(MakeSortItem(SortText(entries[row], column), static_cast<int>(row)));
    // Equal heads mean equal first bytes, with zero padding standing for "text ended": when
    // either text ends within the head, the shorter one is a prefix of the other.
    const auto before = [&entries, column](const TSortItem& a, const TSortItem& b) {
        if (a.Head != b.Head)
            return a.Head < b.Head;
        if (std::min(a.Length, b.Length) <= HeadBytes) {
            if (a.Length != b.Length)
                return a.Length < b.Length;
        } else {
            const int order = CompareFolded(
                SortText(entries[static_cast<std::size_t>(a.Row)], column).substr(HeadBytes),
                SortText(entries[static_cast<std::size_t>(b.Row)], column).substr(HeadBytes));
            if (order != 0)
                return order < 0;
        }
        return a.Row < b.Row;
    };
    std::sort(items.begin(), items.end(), before);
    std::vector<int> rows;
    rows.reserve(items.size());
    for (const TSortItem& item : items)
        rows.push_back(item.Row);
    return rows;
}

} // namespace

void TCaptionDocument::SelectOnlyRows(std::vector<int> rows)
{
    const int count = FModel.Count();
    std::sort(rows.begin(), rows.end());
    std::vector<TRowRun> runs;
    for (const int row : rows) {
        if (row < 0 || row >= count)
            continue;
        if (!runs.empty() && row <= runs.back().Last + 1)
            runs.back().Last = std::max(runs.back().Last, row);
        else
            runs.push_back({row, row});
    }
    ReplaceSelection(FSelection, runs);
}

void TCaptionDocument::AddCaption(std::string caption)
{
    FModel.Append({std::move(caption), {}, 0});
    MarkModified();
}

void TCaptionDocument::DeleteFirstSelected()
{
    const int row = SelectionFacts().FirstSelected;
    if (row < 0)
        return;
    FModel.RemoveAt(row);
    MarkModified();
}

void TCaptionDocument::SelectAll()
{
    if (FModel.Count() > 0)
        ReplaceSelection(FSelection, {{0, FModel.Count() - 1}});
}

void TCaptionDocument::ClearEntries()
{
    FModel.ReplaceAll({});
    MarkModified();
}

// Each run of selected rows swaps places with the row before it; a run already at the top
// turns over within itself, as swapping neighbour by neighbour would do.
void TCaptionDocument::MoveSelectedUp()
{
    const int count = FModel.Count();
    std::vector<TRowRun> runs = SelectedRuns(FSelection, count);
    if (runs.empty())
        return;
    // The order is the file's content: any entry that changes place is a change to save.
    if (runs.size() > 1 || runs.front().Last > 0)
        MarkModified();
    FModel.Rearrange([&runs](std::vector<TEntry>& entries) {
        TEntryModel::TRowSpans spans;
        spans.reserve(runs.size());
        for (const TRowRun& run : runs) {
            const int from = std::max(run.First - 1, 0);
            std::rotate(entries.begin() + from, entries.begin() + from + 1,
                        entries.begin() + run.Last + 1);
            spans.emplace_back(from, run.Last);
        }
        return spans;
    });
    for (TRowRun& run : runs)
        if (run.First > 0) {
            --run.First;
            --run.Last;
        }
    ReplaceSelection(FSelection, runs);
}

void TCaptionDocument::MoveSelectedDown()
{
    const int count = FModel.Count();
    std::vector<TRowRun> runs = SelectedRuns(FSelection, count);
    if (runs.empty())
        return;
    if (runs.size() > 1 || runs.front().First < count - 1)
        MarkModified();
    FModel.Rearrange([&runs, count](std::vector<TEntry>& entries) {
        TEntryModel::TRowSpans spans;
        spans.reserve(runs.size());
        for (const TRowRun& run : runs) {
            const int to = std::min(run.Last + 1, count - 1);
            std::rotate(entries.begin() + run.First, entries.begin() + to,
                        entries.begin() + to + 1);
            spans.emplace_back(run.First, to);
        }
        return spans;
    });
    for (TRowRun& run : runs)
        if (run.Last < count - 1) {
            ++run.First;
            ++run.Last;
        }
    ReplaceSelection(FSelection, runs);
}

void TCaptionDocument::SortByColumn(int column)
{
    const int count = FModel.Count();
    std::vector<char> selected(static_cast<std::size_t>(count), 0);
    for (const TRowRun& run : SelectedRuns(FSelection, count))
        std::fill(selected.begin() + run.First, selected.begin() + run.Last + 1, 1);
    // With the selection empty during the move, Qt need not keep a persistent index for every
    // selected row; the selection is rebuilt below as runs in the new order instead.
    FSelection.clearSelection();

    std::vector<int> order;
    FModel.Permute([&order, column](const std::vector<TEntry>& entries) {
        order = SortedRows(entries, column);
        return order;
    });
    MarkModified();

    std::vector<TRowRun> runs;
    for (int row = 0; row < count; ++row) {
        if (!selected[static_cast<std::size_t>(order[static_cast<std::size_t>(row)])])
            continue;
        if (!runs.empty() && runs.back().Last == row - 1)
            runs.back().Last = row;
        else
            runs.push_back({row, row});
    }
    ReplaceSelection(FSelection, runs);
}

std::string TCaptionDocument::FirstSelectedAccelerated() const
{
    const int row = SelectionFacts().FirstSelected;
    return row < 0 ? std::string() : FModel.At(row).Accelerated;
}
