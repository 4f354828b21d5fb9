#include "FormMain.h"

#include "Application.h"
#include "CaptionEditor.h"
#include "DisplayText.h"
#include "ListView.h"
#include "QuarnelError.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCompleter>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QWindow>
#include <algorithm>
#include <limits>
#include <utility>

namespace {

QString ToQString(std::string_view text)
{
    return ToDisplayText(text);
}

TBounds ToBounds(const QRect& rect)
{
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

// Message texts break lines with CR alone; only the screen wants real line breaks.
QString MessageText(const std::string& text)
{
    return ToDisplayText(text).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QIcon ThemeIcon(const TIconInfo& icon)
{
    if (icon.IsNull())
        return {};
    return QIcon::fromTheme(ToQString(icon.ThemeName), QIcon(ToQString(icon.Resource)));
}

QMessageBox::StandardButton ToStandardButton(TMessageButton button)
{
    switch (button) {
    case TMessageButton::Yes:
        return QMessageBox::Yes;
    case TMessageButton::No:
        return QMessageBox::No;
    case TMessageButton::Cancel:
        return QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon ToMessageIcon(TMessageIcon icon)
{
    switch (icon) {
    case TMessageIcon::Warning:
        return QMessageBox::Warning;
    case TMessageIcon::Question:
        return QMessageBox::Question;
    case TMessageIcon::Error:
        return QMessageBox::Critical;
    default:
        return QMessageBox::Information;
    }
}

// The position display: its design width, or wider when a long list's numbers need it.
class TPositionPanel : public QLabel
{
public:
    using QLabel::QLabel;

    QSize sizeHint() const override
    {
        QSize size = QLabel::sizeHint();
        size.setWidth(std::max(size.width(), PositionPanelWidth));
        return size;
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
};

} // namespace

TFormMain::TFormMain(std::string iniFileName, QWidget* parent)
    : QMainWindow(parent), FController(*this)
{
    Q_INIT_RESOURCE(quarnel);
    setObjectName(QStringLiteral("FormMain"));
    FController.SetIniFileName(std::move(iniFileName));

    QFont font(ToQString(FormFontFamily));
    font.setPixelSize(FormFontPixelHeight);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    setWindowIcon(ThemeIcon(ProgramIcon));
    setStatusTip(ToQString(LongHint(FormHint)));
    setWindowTitle(ToQString(FormCaption));
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

void TFormMain::CreateActions()
{
    for (const TCommandInfo& command : CommandTable) {
        auto* action = new QAction(ToQString(command.Caption), this);
        action->setObjectName(ToQString(command.Name));
        action->setIcon(ThemeIcon(command.Icon));
        action->setIconVisibleInMenu(true);
        action->setToolTip(ToQString(ShortHint(command.Hint)));
        action->setStatusTip(ToQString(LongHint(command.Hint)));
        action->setShortcut(QKeySequence(ToQString(command.Shortcut)));
        action->setShortcutContext(Qt::WindowShortcut);
        const TCommandId id = command.Id;
        connect(action, &QAction::triggered, this,
                [this, id] { RunHandler([this, id] { FController.Execute(id); }); });
        FActions[CommandIndex(id)] = action;
        addAction(action); // shortcuts work whether or not a bar shows the action
    }
}

void TFormMain::CreateMenus()
{
    for (const TMenuInfo& info : MainMenu) {
        QMenu* menu = menuBar()->addMenu(ToQString(info.Caption));
        for (const TMenuItem& item : info.Items) {
            if (!item.Command) {
                menu->addSeparator();
                continue;
            }
            // One action serves menu and toolbar; the toolbar shows no text, so the action's
            // text is the menu's wording.
            QAction* action = Action(*item.Command);
            if (!item.Caption.empty())
                action->setText(ToQString(item.Caption));
            menu->addAction(action);
        }
        // A menu is a window of its own and would not inherit the form's font.
        menu->setFont(font());
        // Menus report the hints of enabled items only; the filter adds the others.
        menu->installEventFilter(this);
    }
}

void TFormMain::CreateToolBar()
{
    QToolBar* toolBar = addToolBar(QStringLiteral("ActionToolBar1"));
    FToolBar = toolBar;
    toolBar->setObjectName(QStringLiteral("ActionToolBar1"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar->setMinimumHeight(ToolBarMinHeight);
    toolBar->setIconSize(QSize(ToolBarIconSize, ToolBarIconSize));
    toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    for (const std::optional<TCommandId>& item : ToolBarItems) {
        if (item)
            toolBar->addAction(Action(*item));
        else
            toolBar->addSeparator();
    }
}

void TFormMain::CreateListView()
{
    FListView1 = new TListView(this);
    FListView1->setObjectName(QStringLiteral("ListView1"));
    FListView1->setRootIsDecorated(false);
    FListView1->setItemsExpandable(false);
    FListView1->setUniformRowHeights(true); // keeps a million rows cheap to lay out
    FListView1->setAllColumnsShowFocus(true);
    FListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    FListView1->setEditTriggers(QAbstractItemView::SelectedClicked);
    FListView1->setItemDelegate(new TCaptionDelegate(FListView1));
    FListView1->setModel(&FController.Document().Model());
    FListView1->setSelectionModel(&FController.Document().Selection());
    FController.Document().SetViewBytesPerRow(TListView::LayoutBytesPerRow);

    // The selection stays visible when the list loses the focus.
    QPalette palette = FListView1->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    FListView1->setPalette(palette);

    QHeaderView* header = FListView1->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    for (int column = 0; column < static_cast<int>(DesignColumnWidths.size()); ++column)
        header->resizeSection(column, DesignColumnWidths[column]);
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
        RunHandler([this, column] { FController.ListView1ColumnClick(column); });
    });
    setCentralWidget(FListView1);
}

void TFormMain::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(StatusBarHeight);
    bar->setSizeGripEnabled(true);
    FPositionPanel = new TPositionPanel(bar);
    FPositionPanel->setObjectName(QStringLiteral("Panel0"));
    FPositionPanel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    FPositionPanel->setAlignment(Qt::AlignCenter);
    FStatusPanel = new QLabel(bar);
    FStatusPanel->setObjectName(QStringLiteral("Panel1"));
    // A long hint is cut off at the window's edge instead of widening the window.
    FStatusPanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(FPositionPanel);
    bar->addWidget(FStatusPanel, 1);
}

void TFormMain::CreateDialogs()
{
    const QString filter = QStringLiteral("Caption list files (*.lst)");
    FOpenDialog = new QFileDialog(this);
    FOpenDialog->setObjectName(QStringLiteral("OpenDialog"));
    FOpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
    FOpenDialog->setFileMode(QFileDialog::ExistingFile);
    FSaveDialog = new QFileDialog(this);
    FSaveDialog->setObjectName(QStringLiteral("SaveDialog"));
    FSaveDialog->setAcceptMode(QFileDialog::AcceptSave);
    FSaveDialog->setFileMode(QFileDialog::AnyFile);
    for (QFileDialog* dialog : {FOpenDialog, FSaveDialog}) {
        dialog->setNameFilter(filter);
        dialog->setDefaultSuffix(QStringLiteral("lst"));
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->setSizeGripEnabled(true);
    }
}

void TFormMain::StyleBars()
{
    // Flat bars: no gradients and no extra spacing; the item under the mouse or with an open
    // menu lights up in the bars' highlight colour, a pressed button shows the button face.
    const QString highlight = QStringLiteral("rgb(%1, %2, %3)")
                                  .arg(BarHighlightColour.Red)
                                  .arg(BarHighlightColour.Green)
                                  .arg(BarHighlightColour.Blue);
    menuBar()->setStyleSheet(
        QStringLiteral("QMenuBar { background: palette(button); border: none; spacing: 0px; }"
                       "QMenuBar::item { background: transparent; padding: 2px 6px; }"
                       "QMenuBar::item:selected, QMenuBar::item:pressed { background: %1; }")
            .arg(highlight));
    FToolBar->setStyleSheet(
        QStringLiteral("QToolBar { background: palette(button); border: none; spacing: 0px;"
                       " padding: 0px; }"
                       "QToolButton { border: 1px solid transparent; padding: 2px; }"
                       "QToolButton:hover { background: %1; border-color: palette(mid); }"
                       "QToolButton:pressed { background: palette(button); }")
            .arg(highlight));
    // The menus keep their style's look and take only the colour: a style sheet would redraw
    // their icons, check marks and shortcut column from scratch.
    const QColor highlightColour(BarHighlightColour.Red, BarHighlightColour.Green,
                                 BarHighlightColour.Blue);
    for (QMenu* menu : menuBar()->findChildren<QMenu*>()) {
        QPalette palette = menu->palette();
        palette.setColor(QPalette::Highlight, highlightColour);
        palette.setColor(QPalette::HighlightedText, palette.color(QPalette::Text));
        menu->setPalette(palette);
    }
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

void TFormMain::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (FSnapping || !isVisible() || !screen())
        return;
    // While the window manager maximises the window, the frame it reports may still carry the
    // old frame's margins and so lie a pixel or two off the screen's edge; pulling it onto the
    // edge then would undo the maximising and leave the window larger than the screen.
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QRect frame = frameGeometry();
    const TBounds bounds{frame.x(), frame.y(), frame.width(), frame.height()};
    const TBounds area = ToBounds(screen()->availableGeometry());
    if (!MaySnap(bounds, area))
        return;
    const TBounds snapped = SnapToEdges(bounds, area, SnapDistance);
    if (snapped.Left != frame.x() || snapped.Top != frame.y()) {
        FSnapping = true;
        move(snapped.Left, snapped.Top);
        FSnapping = false;
    }
}

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
    const QString title = ToQString(state.Title);
    if (windowTitle() != title)
        setWindowTitle(title);
    const QString position = ToQString(state.Position);
    if (FPositionPanel->text() != position)
        FPositionPanel->setText(position);
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
    SetStatusText(ToQString(text));
}

TMessageButton TFormMain::ShowMessage(const TMessage& message)
{
    QMessageBox box(ToMessageIcon(message.Icon), ToQString(message.Caption),
                    MessageText(message.Text), QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("MessageBox"));
    for (const TMessageButton button : message.Buttons)
        box.addButton(ToStandardButton(button));
    box.setDefaultButton(ToStandardButton(message.Default));
    if (!message.Buttons.empty())
        box.setEscapeButton(ToStandardButton(message.Buttons.back()));
    const int result = box.exec();
    for (const TMessageButton button : message.Buttons)
        if (result == ToStandardButton(button))
            return button;
    return message.Buttons.empty() ? TMessageButton::Ok : message.Buttons.back();
}

std::optional<std::string> TFormMain::RunFileDialog(QFileDialog* dialog,
                                                    const TFileDialogState& state)
{
    // Paths are bytes to the rest of the program; the file system's own encoding keeps them so.
    const QString initialDir = QFile::decodeName(QByteArray::fromStdString(state.InitialDir));
    // A folder that has gone since it was remembered is no place to start: the dialog's own
    // choice is better than an empty view.
    if (!initialDir.isEmpty() && QFileInfo(initialDir).isDir())
        dialog->setDirectory(initialDir);
    // Only the name: a full path would make the dialog start in that path's folder instead.
    dialog->selectFile(QFile::decodeName(QByteArray::fromStdString(FileNamePart(state.FileName))));
    const bool confirmed = dialog->exec() == QDialog::Accepted;
    // The name field's completer may still be reading a folder the user typed; when it is
    // done it would pop up over the window with the dialog gone and take the keyboard.
    if (const auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        edit && edit->completer()) {
        edit->completer()->setCompletionPrefix(QString());
        edit->completer()->popup()->hide();
    }
    // The dialog is kept for next time; without this the keyboard would still talk to it.
    FListView1->setFocus();
    if (!confirmed || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return QFile::encodeName(dialog->selectedFiles().constFirst()).toStdString();
}

std::optional<std::string> TFormMain::RunOpenDialog(const TFileDialogState& state)
{
    return RunFileDialog(FOpenDialog, state);
}

std::optional<std::string> TFormMain::RunSaveDialog(const TFileDialogState& state)
{
    return RunFileDialog(FSaveDialog, state);
}

std::optional<std::string> TFormMain::AskCaption()
{
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("AddDialog"));
    dialog.setWindowTitle(QStringLiteral("Add"));
    dialog.setLabelText(QStringLiteral("Caption:"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(QString());
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Cancel"));
    if (auto* edit = dialog.findChild<QLineEdit*>()) {
        edit->setMaxLength(MaxCaptionInputLength);
        edit->setValidator(new TOneLineValidator(edit));
    }
    dialog.adjustSize();
    if (const QScreen* screen = this->screen()) {
        QRect frame = dialog.frameGeometry();
        frame.moveCenter(screen->geometry().center());
        dialog.move(frame.topLeft());
    }
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    FListView1->setFocus();
    if (!confirmed)
        return std::nullopt;
    return dialog.textValue().toStdString();
}

void TFormMain::StartCaptionEdit(int row)
{
    const QModelIndex index = FController.Document().Model().index(row, TEntryModel::ColOriginal);
    FListView1->scrollTo(index);
    FListView1->setFocus();
    FListView1->edit(index);
}

void TFormMain::SetClipboardText(const std::string& text)
{
    QGuiApplication::clipboard()->setText(ToQString(text));
}

void TFormMain::PlayInformationSound()
{
    QApplication::beep();
}

void TFormMain::CloseWindow()
{
    close();
}

TBounds TFormMain::WindowBounds() const
{
    if (FPendingBounds)
        return *FPendingBounds;
    const QRect frame = frameGeometry();
    return {frame.x(), frame.y(), frame.width(), frame.height()};
}

void TFormMain::SetWindowBounds(const TBounds& bounds)
{
    FPendingBounds = bounds;
    FUnframedBounds.reset();
    FAppliedBounds = bounds;
    ApplyWindowBounds();
}

TBounds TFormMain::AvailableArea(const TBounds& bounds) const
{
    // In 64 bits: bounds read from the settings file may lie near the ends of int.
    const auto middle = [](int start, int size) {
        return static_cast<int>(std::clamp<long long>(static_cast<long long>(start) + size / 2,
                                                      std::numeric_limits<int>::min(),
                                                      std::numeric_limits<int>::max()));
    };
    const QPoint centre(middle(bounds.Left, bounds.Width), middle(bounds.Top, bounds.Height));
    const QScreen* holder = QGuiApplication::screenAt(centre);
    if (holder == nullptr)
        holder = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    // Without any screen there is nothing to keep the window on.
    return holder != nullptr ? ToBounds(holder->availableGeometry()) : bounds;
}

TFrameMargins TFormMain::FrameMargins() const
{
    const QRect frame = frameGeometry();
    const QRect inside = geometry();
    return {inside.left() - frame.left(), inside.top() - frame.top(),
            frame.right() - inside.right(), frame.bottom() - inside.bottom()};
}

// Bounds are the outer frame, but Qt sizes the inside, and the frame's size is known only
// once the window manager has framed the shown window.
void TFormMain::ApplyWindowBounds()
{
    const TBounds bounds = *FPendingBounds;
    if (!windowHandle() || !windowHandle()->isExposed()) {
        move(bounds.Left, bounds.Top); // places the frame, whatever its size turns out to be
        resize(bounds.Width, bounds.Height);
        return;
    }
    const TFrameMargins margins = FrameMargins();
    const TBounds inside = InsideFrame(bounds, margins);
    setGeometry(inside.Left, inside.Top, inside.Width, inside.Height);
    FPendingBounds.reset();
    // On a busy machine the window manager may frame the window only after it is first
    // exposed; the frame would then reach beyond the bounds, its title bar perhaps off the
    // screen. The bounds are applied again once the frame is there.
    if (margins == TFrameMargins{})
        FUnframedBounds = bounds;
}

bool TFormMain::IsWindowNormal() const
{
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return false;
    // The window manager gives a window the whole screen before it reports it maximised: until
    // then such a window is being maximised, unless those are the bounds we gave it ourselves.
    const TBounds frame = WindowBounds();
    return !CoversArea(frame, AvailableArea(frame)) || frame == FAppliedBounds;
}

int TFormMain::ColumnWidth(int column) const
{
    return FListView1->header()->sectionSize(column);
}

void TFormMain::SetColumnWidth(int column, int width)
{
    FListView1->header()->resizeSection(column, width);
}
