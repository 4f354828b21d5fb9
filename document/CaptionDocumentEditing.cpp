// The editing commands' effects on the list.
#include "CaptionDocument.h"

#include <algorithm>
#include <numeric>

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

// Case folding of the list's sort: ASCII letters only.
int CompareFolded(const std::string& a, const std::string& b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        auto fold = [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 'a' + 'A') : u;
        };
        const unsigned char x = fold(a[i]);
        const unsigned char y = fold(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

const std::string& SortText(const TEntry& entry, int column, std::string& keyBuffer)
{
    switch (column) {
    case TEntryModel::ColAccelerated: return entry.Accelerated;
    case TEntryModel::ColKey: keyBuffer = entry.KeyText(); return keyBuffer;
    default: return entry.Original;
    }
}

} // namespace

void TCaptionDocument::AddCaption(std::string caption)
{
    FModel.Append({std::move(caption), {}, 0});
    FModified = true;
}

void TCaptionDocument::DeleteFirstSelected()
{
    const int row = SelectionFacts().FirstSelected;
    if (row < 0)
        return;
    FModel.RemoveAt(row);
    FModified = true;
}

void TCaptionDocument::SelectAll()
{
    SelectRows(0, FModel.Count() - 1);
}

void TCaptionDocument::ClearEntries()
{
    FModel.ReplaceAll({});
    FModified = true;
}

// Each run of selected rows swaps places with the row before it; a run already at the top
// turns over within itself, as swapping neighbour by neighbour would do.
void TCaptionDocument::MoveSelectedUp()
{
    const int count = FModel.Count();
    std::vector<TRowRun> runs = SelectedRuns(FSelection, count);
    if (runs.empty())
        return;
    FModel.Rearrange([&runs](std::vector<TEntry>& entries) {
        for (const TRowRun& run : runs) {
            const int from = std::max(run.First - 1, 0);
            std::rotate(entries.begin() + from, entries.begin() + from + 1,
                        entries.begin() + run.Last + 1);
        }
        return std::pair{std::max(runs.front().First - 1, 0), runs.back().Last};
    });
    for (TRowRun& run : runs)
        if (run.First > 0) {
            --run.First;
            --run.Last;
        }
    // Clearing first keeps Qt from comparing the old and new selections range by range.
    FSelection.clearSelection();
    FSelection.select(RowsSelection(FModel, runs), QItemSelectionModel::Select);
}

void TCaptionDocument::MoveSelectedDown()
{
    const int count = FModel.Count();
    std::vector<TRowRun> runs = SelectedRuns(FSelection, count);
    if (runs.empty())
        return;
    FModel.Rearrange([&runs, count](std::vector<TEntry>& entries) {
        for (const TRowRun& run : runs) {
            const int to = std::min(run.Last + 1, count - 1);
            std::rotate(entries.begin() + run.First, entries.begin() + to,
                        entries.begin() + to + 1);
        }
        return std::pair{runs.front().First, std::min(runs.back().Last + 1, count - 1)};
    });
    for (TRowRun& run : runs)
        if (run.Last < count - 1) {
            ++run.First;
            ++run.Last;
        }
    FSelection.clearSelection();
    FSelection.select(RowsSelection(FModel, runs), QItemSelectionModel::Select);
}

void TCaptionDocument::SortByColumn(int column)
{
    const int count = FModel.Count();
    std::vector<TRowRun> runs = SelectedRuns(FSelection, count);
    std::vector<int> selectedFlags(static_cast<std::size_t>(count), 0);
    for (const TRowRun& run : runs)
        std::fill(selectedFlags.begin() + run.First, selectedFlags.begin() + run.Last + 1, 1);

    std::vector<int> order;
    FModel.Permute([&order, column](const std::vector<TEntry>& entries) {
        order.resize(entries.size());
        std::iota(order.begin(), order.end(), 0);
        std::string keyA;
        std::string keyB;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return CompareFolded(SortText(entries[static_cast<std::size_t>(a)], column, keyA),
                                 SortText(entries[static_cast<std::size_t>(b)], column, keyB)) < 0;
        });
        return order;
    });
    FModified = true;

    // Rebuild the selection as runs in the new order rather than moving one persistent index
    // per range: a scattered selection would otherwise fragment into as many ranges.
    std::vector<TRowRun> newRuns;
    for (int row = 0; row < count; ++row) {
        if (!selectedFlags[static_cast<std::size_t>(order[static_cast<std::size_t>(row)])])
            continue;
        if (!newRuns.empty() && newRuns.back().Last == row - 1)
            newRuns.back().Last = row;
        else
            newRuns.push_back({row, row});
    }
    FSelection.clearSelection();
    if (!newRuns.empty())
        FSelection.select(RowsSelection(FModel, newRuns), QItemSelectionModel::Select);
}

std::string TCaptionDocument::FirstSelectedAccelerated() const
{
    const int row = SelectionFacts().FirstSelected;
    return row < 0 ? std::string() : FModel.At(row).Accelerated;
}
