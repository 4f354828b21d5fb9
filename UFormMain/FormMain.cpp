// The window's life: creation, showing, closing, the idle pass and the error boundary. Building
// the widgets, geometry, hints and the dialogs lent to the controller have files of their own.
#include "FormMain.h"

#include "Application.h"
#include "DisplayText.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QScopedValueRollback>
#include <QWindow>
#include <utility>

TFormMain::TFormMain(std::string iniFileName, QWidget* parent)
    : QMainWindow(parent), FController(*this)
{
    Q_INIT_RESOURCE(quarnel);
    setObjectName(QStringLiteral("FormMain"));
    FController.SetIniFileName(std::move(iniFileName));

    SetUpForm();
    SetWindowBounds(DesignBounds);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateListView();
    CreateStatusBar();
    CreateDialogs();
    StyleBars();

    FController.FormCreate(FormCaption);
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TFormMain::OnIdle);
    // The last resort, for errors that escape an event handler of Qt's own, such as the list's
    // editor: every handler of the window passes through RunHandler.
    if (auto* application = qobject_cast<TApplication*>(QCoreApplication::instance()))
        application->SetErrorHandler(
            [this](const std::string& message) { ApplicationEvents1Exception(message); });
}

TFormMain::~TFormMain()
{
    if (auto* application = qobject_cast<TApplication*>(QCoreApplication::instance()))
        application->SetErrorHandler(nullptr);
    FController.FormDestroy();
}

void TFormMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (FShown)
        return;
    FShown = true;
    RunHandler([this] { FController.FormShow(); });
    ActFileNewUpdate();
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    bool mayClose = false;
    RunHandler([this, &mayClose] {
        if (FController.FormCloseQuery()) {
            FController.FormClose();
            mayClose = true;
        }
    });
    if (mayClose)
        event->accept();
    else
        event->ignore();
}

void TFormMain::OnIdle()
{
    if (!FShown || QApplication::activeModalWidget())
        return;
    const QScopedValueRollback idlePass(FInIdlePass, true);
    RunHandler([this] {
        if (FPendingBounds && windowHandle() && windowHandle()->isExposed())
            ApplyWindowBounds();
        if (FUnframedBounds && FrameMargins() != TFrameMargins{}) {
            FPendingBounds = std::exchange(FUnframedBounds, std::nullopt);
            ApplyWindowBounds();
        }
        TakeHintUnderMouse();
        ActFileNewUpdate();
    });
}

void TFormMain::ActFileNewUpdate()
{
    const TCommandState state = FController.ActFileNewUpdate();
    for (const TCommandInfo& command : CommandTable) {
        QAction* action = Action(command.Id);
        const bool enabled = state.IsEnabled(command.Id);
        if (action->isEnabled() != enabled)
            action->setEnabled(enabled);
    }
    // The task bar shows the window's title, so this is the application's title as well.
    const QString title = ToDisplayText(state.Title);
    if (windowTitle() != title)
        setWindowTitle(title);
    const QString position = ToDisplayText(state.Position);
    if (FPositionPanel->text() != position)
        FPositionPanel->setText(position);
}

void TFormMain::ApplicationEvents1Exception(const std::string& message)
{
    ShowMessage(FController.ErrorBox(message));
}

void TFormMain::RunHandler(const std::function<void()>& handler)
{
    std::string message;
    try {
        handler();
        return;
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
        message = "Unknown error";
    }
    if (FInIdlePass) {
        // The dispatcher is about to sleep: a modal box can't run from here.
        QMetaObject::invokeMethod(
            this, [this, message] { ApplicationEvents1Exception(message); }, Qt::QueuedConnection);
        return;
    }
    ApplicationEvents1Exception(message);
}

void TFormMain::ProcessBusy()
{
    FBusy = 1;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TFormMain::ProcessIdle()
{
    FBusy = 0;
    QApplication::restoreOverrideCursor();
}

void TFormMain::ProcessStage(const std::string& text)
{
    SetStatusText(ToDisplayText(text));
}

void TFormMain::CloseWindow()
{
    close();
}
