#pragma once

#include "Entry.h"

#include <QAbstractTableModel>
#include <functional>
#include <vector>

// The caption list as the view sees it: three columns over the entries, which live here and
// nowhere else.
class TEntryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum TColumn
    {
        ColOriginal = 0,
        ColAccelerated = 1,
        ColKey = 2,
        ColumnCount = 3
    };

    using QAbstractTableModel::QAbstractTableModel;

    const std::vector<TEntry>& Entries() const { return FEntries; }
    int Count() const { return static_cast<int>(FEntries.size()); }
    const TEntry& At(int row) const { return FEntries[static_cast<std::size_t>(row)]; }

    void ReplaceAll(std::vector<TEntry> entries);
    void Append(TEntry entry);
    void RemoveAt(int row);
    void SetResults(std::vector<std::pair<std::string, char>> results); // one per entry
    // Rearranges entries without adding or removing any; `change` returns the changed spans
    // (first and last row each), in ascending order.
    using TRowSpans = std::vector<std::pair<int, int>>;
    void Rearrange(const std::function<TRowSpans(std::vector<TEntry>&)>& change);
    // Sorts with a caller-supplied permutation step so persistent indexes (the selection)
    // follow their entries.
    void Permute(const std::function<std::vector<int>(const std::vector<TEntry>&)>& order);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    // An in-place edit of a caption was accepted (whether or not the text changed).
    void captionEdited(int row);

private:
    std::vector<TEntry> FEntries;
};
