#pragma once

#include "MainController.h"
#include "WindowLayout.h"
#include "WindowSnap.h"

#include <QMainWindow>
#include <array>
#include <functional>

class QAction;
class QFileDialog;
class QLabel;
class QToolBar;
class QTreeView;

// The main window: a thin view over TMainController. It builds its bars from the command
// table, shows what the controller computes, and lends it dialogs, clipboard and sound. Its
// widgets carry object names that tests find them by: ListView1, ActionToolBar1, StatusBar1
// with the panels Panel0 and Panel1, OpenDialog and SaveDialog. FormMain.cpp holds its life;
// FormMainWidgets.cpp, FormMainGeometry.cpp, FormMainHints.cpp and FormMainDialogs.cpp the rest.
class TFormMain : public QMainWindow, private IUserInterface
{
    Q_OBJECT

public:
    explicit TFormMain(std::string iniFileName, QWidget* parent = nullptr);
    ~TFormMain() override;

    TMainController& Controller() { return FController; }
    QAction* Action(TCommandId id) const { return FActions[CommandIndex(id)]; }
    int BusyFlag() const { return FBusy; }

    // The update handler: commands, title and position panel from the document.
    void ActFileNewUpdate();
    // The status line, repainted at once so it shows during long work.
    void SetStatusText(const QString& text);
    // A change of the current hint; ignored while a pass is busy.
    void ApplicationEvents1Hint(const QString& longHint);
    // Shows an error in the error box.
    void ApplicationEvents1Exception(const std::string& message);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpForm();
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateListView();
    void CreateStatusBar();
    void CreateDialogs();
    void StyleBars();
    void OnIdle();
    // The one error boundary: every handler of the window runs through it. An error escaping
    // the handler ends it and goes to the error box, and the program carries on in the state the
    // handler left; during an idle pass the box waits until the loop turns again.
    void RunHandler(const std::function<void()>& handler);
    void TakeHintUnderMouse();
    TFrameMargins FrameMargins() const;
    void ApplyWindowBounds();

    // IUserInterface
    void ProcessBusy() override;
    void ProcessIdle() override;
    void ProcessStage(const std::string& text) override;
    TMessageButton ShowMessage(const TMessage& message) override;
    std::optional<std::string> RunOpenDialog(const TFileDialogState& state) override;
    std::optional<std::string> RunSaveDialog(const TFileDialogState& state) override;
    std::optional<std::string> AskCaption() override;
    void StartCaptionEdit(int row) override;
    void SetClipboardText(const std::string& text) override;
    void PlayInformationSound() override;
    void CloseWindow() override;
    TBounds WindowBounds() const override;
    void SetWindowBounds(const TBounds& bounds) override;
    bool IsWindowNormal() const override;
    TBounds AvailableArea(const TBounds& bounds) const override;
    int ColumnWidth(int column) const override;
    void SetColumnWidth(int column, int width) override;

    std::optional<std::string> RunFileDialog(QFileDialog* dialog, const TFileDialogState& state);

    TMainController FController;
    std::array<QAction*, CommandCount> FActions{};
    QToolBar* FToolBar = nullptr;
    QTreeView* FListView1 = nullptr;
    QLabel* FPositionPanel = nullptr;
    QLabel* FStatusPanel = nullptr;
    QFileDialog* FOpenDialog = nullptr;
    QFileDialog* FSaveDialog = nullptr;
    QString FCurrentHint;
    int FBusy = 0; // the window's tag: 1 while a processing pass runs
    bool FShown = false;
    bool FInIdlePass = false;
    bool FSnapping = false;
    // Bounds asked for before the window manager's frame was known; they are applied again
    // once it is, since they describe the frame and not the inside.
    std::optional<TBounds> FPendingBounds;
    // Bounds applied while the window had no frame yet, should a window manager add one.
    std::optional<TBounds> FUnframedBounds;
    // The bounds last asked for through SetWindowBounds, to tell them from the window manager's.
    TBounds FAppliedBounds;
};
