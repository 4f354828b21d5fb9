#pragma once

#include <QTreeView>
#include <cstddef>
#include <cstdint>
#include <vector>

// The caption list. QTreeView asks the selection model about each painted cell, scanning every
// selected range each time, and walks every row of a changed span to find what to repaint; a
// million entries make both linear costs felt as freezes. This view answers both from what is
// on screen. The selection model stays the only place the selection is kept: what is cached
// here lives for one repaint.
class TListView : public QTreeView
{
    Q_OBJECT

public:
    using QTreeView::QTreeView;

    // What the view allocates per row when it lays out a new list: QTreeView keeps a 40-byte
    // record for every row, and the list holding them may grow to twice their size. Qt cannot
    // report a failed allocation there and ends the program, so a load makes sure this much is
    // to be had before it hands the rows over.
    static constexpr std::size_t LayoutBytesPerRow = 2 * 40;

    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

private:
    // Selected columns of `row` as bits, read once per repaint for all rows on screen; false
    // when the selection is small enough for Qt's own lookup.
    bool PaintedSelection(int row, int rowHeight, std::uint32_t& columns) const;
    void DrawRowFromCache(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index, std::uint32_t selectedColumns) const;

    mutable bool FPaintCacheValid = false;
    mutable bool FPaintCacheUsed = false;
    mutable int FPaintFirstRow = 0;
    mutable std::vector<std::uint32_t> FPaintColumns; // one entry per row from FPaintFirstRow
};
