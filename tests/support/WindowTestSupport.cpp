#include "WindowTestSupport.h"

#include "CaptionDocument.h"
#include "FormMain.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

void RunIdlePass()
{
    // QTest's waits never let the event loop block, so the window's idle pass would not run;
    // one short blocking loop lets it.
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
}

TCaptionDocument& DocumentOf(const TFormMain& form)
{
    return *form.findChild<TCaptionDocument*>(QStringLiteral("Document"));
}

void TWindowTest::MakeFolder()
{
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
}

QString TWindowTest::SettingsFile() const
{
    return FDir->filePath(QStringLiteral("QuarnelApps.ini"));
}

void TWindowTest::MakeForm()
{
    FForm = std::make_unique<TFormMain>(SettingsFile().toStdString());
}

void TWindowTest::EndForm()
{
    FForm.reset();
    FDir.reset();
}

void TWindowTest::Show(TFormMain& form, TShow how)
{
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    if (how == TShow::Active) {
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }
    IdlePass();
}

QTreeView* TWindowTest::List() const
{
    return FForm->findChild<QTreeView*>(QStringLiteral("ListView1"));
}

QStringList TWindowTest::Column(int column) const
{
    QStringList texts;
    const QAbstractItemModel* model = List()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts.append(model->index(row, column).data().toString());
    return texts;
}

namespace {

TSeenBox SeenBox(const QMessageBox& box)
{
    TSeenBox seen{box.windowTitle(), box.text(), box.icon(), {}};
    for (QAbstractButton* button : box.buttons())
        seen.Buttons.append(box.standardButton(button));
    return seen;
}

void Cancel(QWidget* modal)
{
    if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible())
        dialog->reject();
}

} // namespace

TModalDriver::TModalDriver() : QObject(QCoreApplication::instance())
{
    Poll();
}

void TModalDriver::Expect(std::function<void(QWidget*)> step)
{
    FSteps.push_back({[](QWidget*) { return true; }, std::move(step)});
}

void TModalDriver::Poll()
{
    QTimer::singleShot(10, this, &TModalDriver::Check);
}

void TModalDriver::Check()
{
    // Scheduled first: the step may block in a modal loop of its own, whose windows are
    // answered from within it.
    Poll();
    const QList<TModalDriver*> drivers =
        QCoreApplication::instance()->findChildren<TModalDriver*>(Qt::FindDirectChildrenOnly);
    if (drivers.last() != this)
        return;
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal == FAnswered)
        return;
    Respond(modal);
}

void TModalDriver::Respond(QWidget* modal)
{
    FAnswered = modal;
    modal->installEventFilter(this);
    if (const auto* box = qobject_cast<QMessageBox*>(modal))
        FSeen.push_back(SeenBox(*box));
    if (FSteps.empty() || !FSteps.front().Matches(modal)) {
        ++FUnexpected;
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (QPushButton* button = box ? box->defaultButton() : nullptr)
            button->click();
        else
            Cancel(modal);
        return;
    }
    const TStep step = std::move(FSteps.front());
    FSteps.pop_front();
    step.Run(modal);
    // A step that failed half-way leaves its window open; the test must not hang on it.
    QTimer::singleShot(1000, this, [this, answered = QPointer<QWidget>(modal)] {
        if (answered && answered == FAnswered)
            Cancel(answered);
    });
}

bool TModalDriver::eventFilter(QObject* watched, QEvent* event)
{
    // Closed, the window may come again (the file dialogs live as long as the form) and is
    // then a window to answer anew.
    if (event->type() == QEvent::Hide && watched == FAnswered)
        FAnswered = nullptr;
    return false;
}

std::function<void(QMessageBox*)> Answer(TSeenBox& seen, QMessageBox::StandardButton button)
{
    return [&seen, button](QMessageBox* box) {
        seen = SeenBox(*box);
        box->button(button)->click();
    };
}
