#include "CaptionEditor.h"

#include <QLineEdit>

QValidator::State TOneLineValidator::validate(QString& input, int& position) const
{
    QString kept;
    kept.reserve(input.size());
    int keptPosition = position;
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input.at(i);
        // A CR LF pair is one line break, and so one blank.
        const bool pairedCr = c == u'\r' && i + 1 < input.size() && input.at(i + 1) == u'\n';
        if (c == QChar(0) || pairedCr) {
            if (i < position)
                --keptPosition;
            continue;
        }
        kept.append(c == u'\r' || c == u'\n' ? QChar(u' ') : c);
    }
    input = kept;
    position = keptPosition;
    return Acceptable;
}

QWidget* TCaptionDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setValidator(new TOneLineValidator(line));
    return editor;
}
