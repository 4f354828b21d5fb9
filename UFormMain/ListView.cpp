#include "ListView.h"

#include <QAccessible>
#include <QCursor>
#include <QHeaderView>
#include <QPainter>
#include <algorithm>

namespace {

// Below these, Qt's own answers cost too little to be worth replacing.
constexpr int LargeSpanRows = 1024;
constexpr qsizetype LargeSelectionRanges = 256;
constexpr int MaxCachedColumns = 32;

std::uint32_t ColumnBits(int left, int right)
{
    std::uint32_t bits = 0;
    for (int column = std::max(left, 0); column <= std::min(right, MaxCachedColumns - 1); ++column)
        bits |= std::uint32_t{1} << column;
    return bits;
}

} // namespace

void TListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                            const QList<int>& roles)
{
    // An open editor must hear about its row, and rows of uniform height in a flat list have
    // no cached height or children to refresh: a long span only needs the viewport repainted,
    // which is what uniting its million cell rectangles would come to.
    if (bottomRight.row() - topLeft.row() < LargeSpanRows || state() == EditingState ||
        topLeft.parent().isValid() || !uniformRowHeights()) {
        QTreeView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::DataChanged);
        event.setFirstRow(topLeft.row());
        event.setFirstColumn(topLeft.column());
        event.setLastRow(bottomRight.row());
        event.setLastColumn(bottomRight.column());
        QAccessible::updateAccessibility(&event);
    }
}

void TListView::paintEvent(QPaintEvent* event)
{
    FPaintCacheValid = false;
    QTreeView::paintEvent(event);
    // The next repaint may follow any change of the selection.
    FPaintCacheValid = false;
    FPaintColumns.clear();
}

bool TListView::PaintedSelection(int row, int rowHeight, std::uint32_t& columns) const
{
    const auto cached = [this, row] {
        return row >= FPaintFirstRow &&
               row - FPaintFirstRow < static_cast<int>(FPaintColumns.size());
    };
    if (!FPaintCacheValid || (FPaintCacheUsed && !cached())) {
        // Rows are painted top down, so the first one asked about starts the cache.
        const QItemSelection selection = selectionModel()->selection();
        FPaintCacheValid = true;
        FPaintCacheUsed = selection.size() > LargeSelectionRanges &&
                          model()->columnCount(rootIndex()) <= MaxCachedColumns;
        FPaintColumns.clear();
        if (FPaintCacheUsed) {
            FPaintFirstRow = row;
            FPaintColumns.assign(
                static_cast<std::size_t>(viewport()->height() / std::max(rowHeight, 1) + 2), 0);
            const int lastRow = row + static_cast<int>(FPaintColumns.size()) - 1;
            for (const QItemSelectionRange& range : selection) {
                const int top = std::max(range.top(), row);
                const int bottom = std::min(range.bottom(), lastRow);
                if (top > bottom || range.parent() != rootIndex())
                    continue;
                const std::uint32_t bits = ColumnBits(range.left(), range.right());
                for (int r = top; r <= bottom; ++r)
                    FPaintColumns[static_cast<std::size_t>(r - row)] |= bits;
            }
        }
    }
    if (!FPaintCacheUsed)
        return false;
    columns = FPaintColumns[static_cast<std::size_t>(row - FPaintFirstRow)];
    return true;
}

void TListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const
{
    std::uint32_t selectedColumns = 0;
    if (index.parent().isValid() || rootIsDecorated() ||
        !PaintedSelection(index.row(), option.rect.height(), selectedColumns)) {
        QTreeView::drawRow(painter, option, index);
        return;
    }
    DrawRowFromCache(painter, option, index, selectedColumns);
}

// QTreeView::drawRow for a flat list without branches, taking the selection from the cache.
void TListView::DrawRowFromCache(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index, std::uint32_t selectedColumns) const
{
    const QHeaderView* const head = header();
    std::vector<int> sections;
    for (int visual = 0; visual < head->count(); ++visual)
        if (const int logical = head->logicalIndex(visual); !head->isSectionHidden(logical))
            sections.push_back(logical);

    const QModelIndex current = currentIndex();
    const bool currentRow = current.isValid() && current.row() == index.row();
    // A row whose editor has the focus is painted as active.
    const bool editorActive = currentRow && state() == EditingState;
    const bool hovered = selectionBehavior() == SelectRows && viewport()->underMouse() &&
                         indexAt(viewport()->mapFromGlobal(QCursor::pos())).row() == index.row();
    const bool widgetHasFocus = hasFocus();
    bool focusRow = false;
    const bool rowSelected =
        index.column() < MaxCachedColumns && ((selectedColumns >> index.column()) & 1U) != 0;

    QStyleOptionViewItem opt = option;
    opt.showDecorationSelected = selectionBehavior() == SelectRows || option.showDecorationSelected;
    for (std::size_t k = 0; k < sections.size(); ++k) {
        const int column = sections[k];
        const QModelIndex cell = model()->index(index.row(), column, index.parent());
        if (!cell.isValid())
            continue;
        const Qt::ItemFlags flags = model()->flags(cell);
        opt.state = option.state;
        opt.viewItemPosition = sections.size() == 1       ? QStyleOptionViewItem::OnlyOne
                               : k == 0                   ? QStyleOptionViewItem::Beginning
                               : k + 1 == sections.size() ? QStyleOptionViewItem::End
                                                          : QStyleOptionViewItem::Middle;
        if (editorActive)
            opt.state |= QStyle::State_Active;
        if (column < MaxCachedColumns && ((selectedColumns >> column) & 1U) != 0 &&
            (flags & Qt::ItemIsSelectable)) {
            opt.state |= QStyle::State_Selected;
        }
        if (widgetHasFocus && cell == current) {
            if (allColumnsShowFocus())
                focusRow = true;
            else
                opt.state |= QStyle::State_HasFocus;
        }
        if (hovered)
            opt.state |= QStyle::State_MouseOver;
        else
            opt.state &= ~QStyle::State_MouseOver;
        if (option.state & QStyle::State_Enabled) {
            QPalette::ColorGroup group = QPalette::Inactive;
            if (!(flags & Qt::ItemIsEnabled)) {
                opt.state &= ~QStyle::State_Enabled;
                group = QPalette::Disabled;
            } else if (opt.state & QStyle::State_Active) {
                group = QPalette::Active;
            }
            opt.palette.setCurrentColorGroup(group);
        }
        if (alternatingRowColors() && (index.row() & 1) != 0)
            opt.features |= QStyleOptionViewItem::Alternate;
        else
            opt.features &= ~QStyleOptionViewItem::Alternate;

        // The row's background without the selection, which the delegate paints.
        opt.rect = QRect(columnViewportPosition(column), option.rect.y(), head->sectionSize(column),
                         option.rect.height());
        const QStyle::State state = opt.state;
        opt.state &= ~QStyle::State_Selected;
        style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &opt, painter, this);
        opt.state = state;
        itemDelegateForIndex(cell)->paint(painter, opt, cell);
    }

    if (focusRow) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.state |= QStyle::State_KeyboardFocusChange;
        const QPalette::ColorGroup group =
            (option.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
        focus.backgroundColor =
            option.palette.color(group, rowSelected ? QPalette::Highlight : QPalette::Window);
        const int left = option.showDecorationSelected ? 0 : head->sectionPosition(0);
        const QRect area(left - head->offset(), option.rect.y(), head->length() - left,
                         option.rect.height());
        focus.rect = style()->visualRect(layoutDirection(), viewport()->rect(), area);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter);
    }
}
