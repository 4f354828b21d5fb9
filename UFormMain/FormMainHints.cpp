// The current hint and the status line.
//
// The hint is polled on each idle pass from the widget under the mouse instead of taken from
// the status-tip events Qt sends: a widget sends one only for a tip of its own, so over the list,
// the status bar or the bars' empty space, which take the window's hint, nothing would come, and
// a disabled toolbar button sends none at all although its hint still shows. Open menus are the
// exception: they report their highlighted item, and the filter adds the disabled ones.
#include "FormMain.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusTipEvent>
#include <QToolButton>

bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove)
        if (const auto* menu = qobject_cast<QMenu*>(watched)) {
            const QAction* action =
                menu->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (action && !action->isSeparator() && !action->statusTip().isEmpty())
                ApplicationEvents1Hint(action->statusTip());
        }
    return QMainWindow::eventFilter(watched, event);
}

bool TFormMain::event(QEvent* event)
{
    // Menus report their highlighted command's hint this way.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        if (!tip.isEmpty())
            ApplicationEvents1Hint(tip);
        return true;
    }
    return QMainWindow::event(event);
}

void TFormMain::TakeHintUnderMouse()
{
    if (QApplication::activePopupWidget())
        return; // an open menu reports its own hints
    QWidget* widget = QApplication::widgetAt(QCursor::pos());
    if (widget && widget->window() != this)
        return;
    QString hint;
    for (; widget; widget = widget->parentWidget()) {
        if (const auto* button = qobject_cast<QToolButton*>(widget);
            button && button->defaultAction()) {
            hint = button->defaultAction()->statusTip();
            break;
        }
        if (!widget->statusTip().isEmpty()) {
            hint = widget->statusTip();
            break;
        }
    }
    ApplicationEvents1Hint(hint);
}

void TFormMain::SetStatusText(const QString& text)
{
    FStatusPanel->setText(text);
    FStatusPanel->repaint();
}

void TFormMain::ApplicationEvents1Hint(const QString& longHint)
{
    if (longHint == FCurrentHint)
        return;
    FCurrentHint = longHint;
    if (FBusy == 0)
        SetStatusText(longHint);
}
