#pragma once

// The one-line editors of captions: the Add dialog's edit and the list's in-place editor.

#include <QStyledItemDelegate>
#include <QValidator>

// A caption can hold neither a line break nor a NUL: the list file could not store them. Like
// other one-line edits, the editors turn a pasted line break (CR, LF or CR LF) into a blank and
// drop NULs, whatever brought them in.
class TOneLineValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override;
};

// The list's delegate, whose in-place editors keep to one line.
class TCaptionDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
};
