#include "EntryModel.h"

#include "DisplayText.h"

void TEntryModel::ReplaceAll(std::vector<TEntry> entries)
{
    beginResetModel();
    FEntries = std::move(entries);
    endResetModel();
}

void TEntryModel::Append(TEntry entry)
{
    const int row = Count();
    beginInsertRows({}, row, row);
    FEntries.push_back(std::move(entry));
    endInsertRows();
}

void TEntryModel::RemoveAt(int row)
{
    beginRemoveRows({}, row, row);
    FEntries.erase(FEntries.begin() + row);
    endRemoveRows();
}

void TEntryModel::SetResults(std::vector<std::pair<std::string, char>> results)
{
    if (FEntries.empty())
        return;
    for (std::size_t i = 0; i < FEntries.size() && i < results.size(); ++i) {
        FEntries[i].Accelerated = std::move(results[i].first);
        FEntries[i].Key = results[i].second;
    }
    emit dataChanged(index(0, ColAccelerated), index(Count() - 1, ColKey));
}

void TEntryModel::Rearrange(const std::function<TRowSpans(std::vector<TEntry>&)>& change)
{
    // One signal per span, not one over them all: a view walks every row of a span it is
    // told about, and scattered moves leave most rows between the spans untouched.
    for (const auto& [first, last] : change(FEntries))
        emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
}

void TEntryModel::Permute(const std::function<std::vector<int>(const std::vector<TEntry>&)>& order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<int> newOrder = order(FEntries); // newOrder[newRow] = oldRow
    // In place, cycle by cycle: a second array of a million entries costs more in page faults
    // than the moves themselves.
    std::vector<bool> placed(newOrder.size(), false);
    for (std::size_t start = 0; start < newOrder.size(); ++start) {
        if (placed[start])
            continue;
        TEntry held = std::move(FEntries[start]);
        std::size_t row = start;
        for (;;) {
            placed[row] = true;
            const auto from = static_cast<std::size_t>(newOrder[row]);
            if (from == start) {
                FEntries[row] = std::move(held);
                break;
            }
            FEntries[row] = std::move(FEntries[from]);
            row = from;
        }
    }

    std::vector<int> newRowOf(newOrder.size());
    for (std::size_t newRow = 0; newRow < newOrder.size(); ++newRow)
        newRowOf[static_cast<std::size_t>(newOrder[newRow])] = static_cast<int>(newRow);
    const QModelIndexList persistent = persistentIndexList();
    QModelIndexList moved;
    moved.reserve(persistent.size());
    for (const QModelIndex& old : persistent)
        moved.append(index(newRowOf[static_cast<std::size_t>(old.row())], old.column()));
    changePersistentIndexList(persistent, moved);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int TEntryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

int TEntryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TEntryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= Count())
        return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() == ColKey ? QVariant(Qt::AlignCenter)
                                        : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const TEntry& entry = At(index.row());
    // The editor gets the whole caption, the list its beginning.
    const auto text = role == Qt::EditRole ? ToDisplayText : ToShownText;
    switch (index.column()) {
    case ColOriginal:
        return text(entry.Original);
    case ColAccelerated:
        return text(entry.Accelerated);
    case ColKey:
        return ToDisplayText(entry.KeyText());
    default:
        return {};
    }
}

QVariant TEntryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return section == ColKey ? QVariant(Qt::AlignCenter)
                                 : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (section) {
    case ColOriginal:
        return QStringLiteral("Original");
    case ColAccelerated:
        return QStringLiteral("Accelerated");
    case ColKey:
        return QStringLiteral("Key");
    default:
        return {};
    }
}

Qt::ItemFlags TEntryModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == ColOriginal)
        result |= Qt::ItemIsEditable;
    return result;
}

bool TEntryModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != ColOriginal ||
        index.row() >= Count())
        return false;
    TEntry& entry = FEntries[static_cast<std::size_t>(index.row())];
    entry.Original = FromDisplayText(value.toString(), entry.Original);
    entry.Accelerated.clear();
    entry.Key = 0;
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), ColumnCount - 1));
    emit captionEdited(index.row());
    return true;
}
