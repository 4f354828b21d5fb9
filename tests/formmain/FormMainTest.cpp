// The built window checked against the tables it is built from, and driven the way a user and
// the event loop drive it: commands, processing, hints, the busy state and the error box.
#include "FormMain.h"

#include "Application.h"
#include "CommandTable.h"
#include "DisplayText.h"
#include "Engine.h"
#include "QuarnelError.h"
#include "WindowLayout.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QCursor>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>
#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

namespace {

QString Q(std::string_view text)
{
    return ToDisplayText(text);
}

// What a message box showed before the watcher answered it.
struct TSeenBox
{
    QString Title;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> Buttons;
};

// Polls for a modal message box while the code under test waits in it, notes what it shows
// and presses its default button, so a test never hangs on a box it didn't expect.
class TMessageBoxWatcher : public QObject
{
public:
    TMessageBoxWatcher()
    {
        connect(&FTimer, &QTimer::timeout, this, [this] { Poll(); });
        FTimer.start(10);
    }

    const std::vector<TSeenBox>& Seen() const { return FSeen; }

private:
    void Poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        TSeenBox seen{box->windowTitle(), box->text(), box->icon(), {}};
        for (QAbstractButton* button : box->buttons())
            seen.Buttons.append(box->standardButton(button));
        FSeen.push_back(seen);
        if (QPushButton* button = box->defaultButton())
            button->click();
        else
            box->reject();
    }

    QTimer FTimer;
    std::vector<TSeenBox> FSeen;
};

// Runs a callback whenever the watched widget paints, which is how a test gets a word in
// while a long operation keeps the event loop from running.
class TPaintProbe : public QObject
{
public:
    TPaintProbe(QWidget* widget, std::function<void()> onPaint) : FOnPaint(std::move(onPaint))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            FOnPaint();
        return false;
    }

private:
    std::function<void()> FOnPaint;
};

class TThrowingObject : public QObject
{
protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User)
            throw EQuarnelError("Thrown by an event handler.");
        return QObject::event(event);
    }
};

} // namespace

class TFormMainTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menusFollowTheMenuTable();
    void actionsCarryTheirHintsShortcutsAndIcons();
    void shortcutsAreTheIntendedKeys();
    void toolBarHoldsTwelveIconButtonsInSixGroups();
    void listHasThreeColumnsAndKeepsItsSelectionVisible();
    void statusBarHasThePositionAndHintPanels();
    void windowUsesTheFormFontInItsMenus();
    void longHintDoesNotWidenTheWindow();

    void windowShowsAtItsDesignBoundsWithItsTitle();
    void commandsAreInertBeforeShow();
    void idlePassesKeepTheCommandsTitleAndPositionCurrent();
    void disabledCommandDoesNothingWhenTriggered();
    void processFillsTheResultColumns();
    void impossibleListShowsTheErrorBox();
    void busyPassKeepsItsStatusTextAndHourglass();
    void hintsFollowTheMouseAndTheHighlightedMenuItem();
    void disabledMenuItemsShowTheirHintUnderTheMouse();
    void positionPanelGrowsToFitItsText();
    void errorsFromEventHandlersReachTheErrorBox();
    void exitClosesTheWindow();
    void applicationIsKnownByTheFormsCaptionAndDesktopEntry();

private:
    void ShowForm();
    static void IdlePass();
    void LoadList(const std::vector<std::string>& lines);
    QStringList Column(int column) const;
    QMenu* MenuAt(int index) const;

    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TFormMain> FForm;
};

void TFormMainTest::init()
{
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    FForm = std::make_unique<TFormMain>(
        FDir->filePath(QStringLiteral("QuarnelApps.ini")).toStdString());
}

void TFormMainTest::cleanup()
{
    FForm.reset();
    FDir.reset();
}

void TFormMainTest::ShowForm()
{
    FForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
    IdlePass();
}

// Lets the event loop run out of work and wait, as it does between the user's actions: the
// window updates its commands, title, position and hint only then.
void TFormMainTest::IdlePass()
{
    RunIdlePass();
}

void TFormMainTest::LoadList(const std::vector<std::string>& lines)
{
    const QString path = FDir->filePath(QStringLiteral("menu.lst"));
    {
        std::ofstream file(path.toStdString(), std::ios::binary);
        for (const std::string& line : lines)
            file << line << "\r\n";
    }
    FForm->Controller().Document().LoadCaptionFile(path.toStdString());
}

QStringList TFormMainTest::Column(int column) const
{
    QStringList texts;
    const QAbstractItemModel* model =
        FForm->findChild<QTreeView*>(QStringLiteral("ListView1"))->model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts.append(model->index(row, column).data().toString());
    return texts;
}

QMenu* TFormMainTest::MenuAt(int index) const
{
    return FForm->menuBar()->actions().at(index)->menu();
}

void TFormMainTest::menusFollowTheMenuTable()
{
    const QList<QAction*> titles = FForm->menuBar()->actions();
    QCOMPARE(titles.size(), static_cast<qsizetype>(MainMenu.size()));
    for (std::size_t m = 0; m < MainMenu.size(); ++m) {
        const TMenuInfo& info = MainMenu[m];
        QCOMPARE(titles[static_cast<qsizetype>(m)]->text(), Q(info.Caption));
        const QList<QAction*> items = MenuAt(static_cast<int>(m))->actions();
        QCOMPARE(items.size(), static_cast<qsizetype>(info.Items.size()));
        for (std::size_t i = 0; i < info.Items.size(); ++i) {
            const TMenuItem& item = info.Items[i];
            QAction* action = items[static_cast<qsizetype>(i)];
            QCOMPARE(action->isSeparator(), !item.Command.has_value());
            if (!item.Command)
                continue;
            QCOMPARE(action, FForm->Action(*item.Command));
            const std::string_view caption =
                item.Caption.empty() ? CommandInfo(*item.Command).Caption : item.Caption;
            QCOMPARE(action->text(), Q(caption));
        }
    }
    // The three items whose wording differs from their command's caption.
    QCOMPARE(FForm->Action(TCommandId::EditAdd)->text(), QStringLiteral("&Add..."));
    QCOMPARE(FForm->Action(TCommandId::EditSelectAll)->text(), QStringLiteral("&Select All"));
    QCOMPARE(FForm->Action(TCommandId::FileProcess)->text(), QStringLiteral("&Process"));
}

void TFormMainTest::actionsCarryTheirHintsShortcutsAndIcons()
{
    for (const TCommandInfo& command : CommandTable) {
        const QAction* action = FForm->Action(command.Id);
        QVERIFY2(action, command.Name.data());
        QCOMPARE(action->objectName(), Q(command.Name));
        QCOMPARE(action->toolTip(), Q(ShortHint(command.Hint)));
        QCOMPARE(action->statusTip(), Q(LongHint(command.Hint)));
        QCOMPARE(action->shortcut(), QKeySequence(Q(command.Shortcut)));
        // A misspelt key name would silently give no shortcut at all.
        QCOMPARE(action->shortcut().isEmpty(), command.Shortcut.empty());
        if (command.Icon.IsNull()) {
            QVERIFY2(action->icon().isNull(), command.Name.data());
        } else {
            QVERIFY2(!action->icon().pixmap(ToolBarIconSize, ToolBarIconSize).isNull(),
                     command.Name.data());
        }
    }
}

void TFormMainTest::shortcutsAreTheIntendedKeys()
{
    using enum TCommandId;
    const std::vector<std::pair<TCommandId, QKeySequence>> keys = {
        {FileNew, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {FileOpen, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {FileSave, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {FileSaveAs, QKeySequence()},
        {FileProcess, QKeySequence(Qt::Key_F9)},
        {FileExit, QKeySequence()},
        {EditAdd, QKeySequence(Qt::CTRL | Qt::Key_Insert)},
        {EditEdit, QKeySequence(Qt::Key_F2)},
        {EditDelete, QKeySequence(Qt::CTRL | Qt::Key_Delete)},
        {EditSelectAll, QKeySequence(Qt::CTRL | Qt::Key_A)},
        {EditClear, QKeySequence()},
        {EditCopy, QKeySequence(Qt::CTRL | Qt::Key_C)},
        {EditMoveUp, QKeySequence(Qt::CTRL | Qt::Key_U)},
        {EditMoveDown, QKeySequence(Qt::CTRL | Qt::Key_W)},
        {HelpAbout, QKeySequence()},
    };
    QCOMPARE(keys.size(), CommandTable.size());
    for (const auto& [id, key] : keys)
        QCOMPARE(FForm->Action(id)->shortcut(), key);
}

void TFormMainTest::toolBarHoldsTwelveIconButtonsInSixGroups()
{
    const QToolBar* toolBar = FForm->findChild<QToolBar*>(QStringLiteral("ActionToolBar1"));
    QCOMPARE(toolBar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    const QList<QAction*> actions = toolBar->actions();
    QCOMPARE(actions.size(), static_cast<qsizetype>(ToolBarItems.size()));
    int buttons = 0;
    int separators = 0;
    for (std::size_t i = 0; i < ToolBarItems.size(); ++i) {
        QAction* action = actions[static_cast<qsizetype>(i)];
        if (!ToolBarItems[i]) {
            QVERIFY(action->isSeparator());
            ++separators;
            continue;
        }
        QCOMPARE(action, FForm->Action(*ToolBarItems[i]));
        const auto* button = qobject_cast<QToolButton*>(toolBar->widgetForAction(action));
        QVERIFY(button);
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        QCOMPARE(button->toolTip(), Q(ShortHint(CommandInfo(*ToolBarItems[i]).Hint)));
        QVERIFY(!button->icon().isNull());
        ++buttons;
    }
    QCOMPARE(buttons, 12);
    QCOMPARE(separators, 5);
    for (const TCommandId absent :
         {TCommandId::FileSaveAs, TCommandId::FileExit, TCommandId::EditSelectAll})
        QVERIFY(!actions.contains(FForm->Action(absent)));
}

void TFormMainTest::listHasThreeColumnsAndKeepsItsSelectionVisible()
{
    const QTreeView* list = FForm->findChild<QTreeView*>(QStringLiteral("ListView1"));
    QCOMPARE(list->objectName(), QStringLiteral("ListView1"));
    QCOMPARE(FForm->centralWidget(), list);
    QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    const QHeaderView* header = list->header();
    QCOMPARE(header->count(), static_cast<int>(DesignColumnWidths.size()));
    const QStringList names = {QStringLiteral("Original"), QStringLiteral("Accelerated"),
                               QStringLiteral("Key")};
    for (int column = 0; column < header->count(); ++column) {
        QCOMPARE(list->model()->headerData(column, Qt::Horizontal).toString(), names[column]);
        QCOMPARE(header->sectionSize(column), DesignColumnWidths[static_cast<std::size_t>(column)]);
    }
    LoadList({"File"});
    const auto keyAlignment = Qt::Alignment(
        list->model()->index(0, TEntryModel::ColKey).data(Qt::TextAlignmentRole).toInt());
    QVERIFY(keyAlignment & Qt::AlignHCenter);
    const auto keyHeaderAlignment =
        Qt::Alignment(list->model()
                          ->headerData(TEntryModel::ColKey, Qt::Horizontal, Qt::TextAlignmentRole)
                          .toInt());
    QVERIFY(keyHeaderAlignment & Qt::AlignHCenter);
    const QPalette palette = list->palette();
    QCOMPARE(palette.color(QPalette::Inactive, QPalette::Highlight),
             palette.color(QPalette::Active, QPalette::Highlight));
    QCOMPARE(palette.color(QPalette::Inactive, QPalette::HighlightedText),
             palette.color(QPalette::Active, QPalette::HighlightedText));
}

void TFormMainTest::statusBarHasThePositionAndHintPanels()
{
    ShowForm();
    QCOMPARE(FForm->statusBar()->height(), StatusBarHeight);
    const QLabel* position = FForm->findChild<QLabel*>(QStringLiteral("Panel0"));
    QCOMPARE(position->width(), PositionPanelWidth);
    QVERIFY(position->alignment() & Qt::AlignHCenter);
    // The hint panel takes the rest of the bar, to the right of the position.
    const QLabel* status = FForm->findChild<QLabel*>(QStringLiteral("Panel1"));
    QVERIFY(status->geometry().left() >= position->geometry().right());
    QVERIFY(status->width() > FForm->width() / 2);
}

void TFormMainTest::windowUsesTheFormFontInItsMenus()
{
    const QFont font = FForm->font();
    QCOMPARE(font.family(), Q(FormFontFamily));
    QCOMPARE(QFontInfo(font).pixelSize(), FormFontPixelHeight);
    if (!QFontDatabase::families().contains(Q(FormFontFamily))) {
        // Without the font, the closest match is the desktop's ordinary sans-serif face.
        QFont sans(QStringLiteral("sans-serif"));
        sans.setStyleHint(QFont::SansSerif);
        QCOMPARE(QFontInfo(font).family(), QFontInfo(sans).family());
    }
    QCOMPARE(FForm->menuBar()->font(), font);
    for (int m = 0; m < FForm->menuBar()->actions().size(); ++m)
        QCOMPARE(MenuAt(m)->font(), font);
}

void TFormMainTest::longHintDoesNotWidenTheWindow()
{
    ShowForm();
    const QSize before = FForm->size();
    FForm->ApplicationEvents1Hint(QString(400, QLatin1Char('x')));
    QCoreApplication::processEvents();
    QVERIFY(FForm->minimumSizeHint().width() < DesignBounds.Width);
    QCOMPARE(FForm->size(), before);
}

void TFormMainTest::windowShowsAtItsDesignBoundsWithItsTitle()
{
    ShowForm();
    QCOMPARE(FForm->frameGeometry(),
             QRect(DesignBounds.Left, DesignBounds.Top, DesignBounds.Width, DesignBounds.Height));
    QCOMPARE(FForm->windowTitle(), QStringLiteral("Quarnel 1.0 - [Untitled.lst]"));
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel0"))->text(), QStringLiteral("0: 0"));
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(),
             QString()); // no hint has arrived yet
}

void TFormMainTest::commandsAreInertBeforeShow()
{
    LoadList({"File", "Edit"});
    FForm->findChild<QTreeView*>(QStringLiteral("ListView1"))
        ->selectionModel()
        ->select(FForm->findChild<QTreeView*>(QStringLiteral("ListView1"))->model()->index(0, 0),
                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    for (const TCommandId id :
         {TCommandId::FileProcess, TCommandId::EditDelete, TCommandId::EditMoveDown})
        FForm->Action(id)->trigger();
    QCOMPARE(Column(TEntryModel::ColOriginal), QStringList({"File", "Edit"}));
    QCOMPARE(Column(TEntryModel::ColAccelerated), QStringList({"", ""}));

    ShowForm();
    FForm->Action(TCommandId::EditMoveDown)->trigger();
    QCOMPARE(Column(TEntryModel::ColOriginal), QStringList({"Edit", "File"}));
}

void TFormMainTest::idlePassesKeepTheCommandsTitleAndPositionCurrent()
{
    ShowForm();
    QVERIFY(!FForm->Action(TCommandId::FileSave)->isEnabled());
    LoadList({"a", "b", "c"});
    IdlePass();
    QCOMPARE(FForm->windowTitle(), QStringLiteral("Quarnel 1.0 - [menu.lst]"));
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel0"))->text(), QStringLiteral("0: 3"));
    QVERIFY(FForm->Action(TCommandId::FileSave)->isEnabled());
    QVERIFY(!FForm->Action(TCommandId::EditEdit)->isEnabled());

    FForm->Controller().Document().SelectRows(1, 2);
    IdlePass();
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel0"))->text(), QStringLiteral("2: 3"));
    QVERIFY(FForm->Action(TCommandId::EditMoveUp)->isEnabled());
    QVERIFY(!FForm->Action(TCommandId::EditMoveDown)->isEnabled());

    FForm->Controller().Document().AddCaption("d");
    IdlePass();
    QCOMPARE(FForm->windowTitle(), QStringLiteral("Quarnel 1.0 - [menu.lst*]"));
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel0"))->text(), QStringLiteral("2: 4"));
    QVERIFY(FForm->Action(TCommandId::EditMoveDown)->isEnabled());
}

void TFormMainTest::disabledCommandDoesNothingWhenTriggered()
{
    ShowForm();
    LoadList({"a", "b", "c"});
    FForm->Controller().Document().SelectRows(0, 0);
    IdlePass();
    QVERIFY(FForm->Action(TCommandId::EditDelete)->isEnabled());
    // Until the next idle pass the action still looks enabled; the command must not run.
    FForm->findChild<QTreeView*>(QStringLiteral("ListView1"))->selectionModel()->clearSelection();
    FForm->Action(TCommandId::EditDelete)->trigger();
    QCOMPARE(Column(TEntryModel::ColOriginal), QStringList({"a", "b", "c"}));
}

void TFormMainTest::processFillsTheResultColumns()
{
    ShowForm();
    LoadList({"File", "Edit", "Format"});
    FForm->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    IdlePass();
    QTest::keyClick(FForm->findChild<QTreeView*>(QStringLiteral("ListView1")), Qt::Key_F9);
    QCOMPARE(Column(TEntryModel::ColAccelerated), QStringList({"&File", "&Edit", "F&ormat"}));
    QCOMPARE(Column(TEntryModel::ColKey), QStringList({"F", "E", "O"}));
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(),
             Q(StageFindingCombination));
    IdlePass();
    QCOMPARE(FForm->windowTitle(), QStringLiteral("Quarnel 1.0 - [menu.lst]"));
}

void TFormMainTest::impossibleListShowsTheErrorBox()
{
    ShowForm();
    LoadList({"A", "B"});
    IdlePass();
    FForm->Action(TCommandId::FileProcess)->trigger();
    FForm->Controller().Document().AddCaption("a");

    const TMessageBoxWatcher watcher;
    FForm->Action(TCommandId::FileProcess)->trigger();
    QCOMPARE(watcher.Seen().size(), std::size_t{1});
    const TSeenBox& box = watcher.Seen().front();
    QCOMPARE(box.Title, QStringLiteral("Error"));
    QCOMPARE(box.Icon, QMessageBox::Critical);
    QCOMPARE(box.Text, QStringLiteral("Unable to get best captions combination."));
    QCOMPARE(box.Buttons.size(), 1);
    QCOMPARE(box.Buttons.front(), QMessageBox::Ok);

    QCOMPARE(Column(TEntryModel::ColAccelerated), QStringList({"&A", "&B", ""}));
    QCOMPARE(FForm->BusyFlag(), 0);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(FForm->isVisible());
}

void TFormMainTest::busyPassKeepsItsStatusTextAndHourglass()
{
    ShowForm();
    LoadList({"File", "Edit", "Format"});
    IdlePass();
    QStringList paintedWhileBusy;
    int hourglassPaints = 0;
    const TPaintProbe probe(FForm->findChild<QLabel*>(QStringLiteral("Panel1")), [&] {
        if (FForm->BusyFlag() != 1)
            return;
        // The mouse wanders over a command while the pass runs.
        FForm->ApplicationEvents1Hint(QStringLiteral("A hint that arrives during the pass"));
        paintedWhileBusy.append(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text());
        const QCursor* cursor = QApplication::overrideCursor();
        if (cursor && cursor->shape() == Qt::WaitCursor)
            ++hourglassPaints;
    });
    FForm->Action(TCommandId::FileProcess)->trigger();

    // Each stage was painted at once, in order, and none was replaced by the hint.
    QCOMPARE(paintedWhileBusy, QStringList({Q(StageInitializing), Q(StageFindingCaptions),
                                            Q(StageFindingCombination)}));
    QCOMPARE(hourglassPaints, 3);
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(),
             Q(StageFindingCombination));
    QCOMPARE(FForm->BusyFlag(), 0);
    QVERIFY(!QApplication::overrideCursor());

    // Once idle, a new hint shows again.
    FForm->ApplicationEvents1Hint(QStringLiteral("A hint after the pass"));
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(),
             QStringLiteral("A hint after the pass"));
}

void TFormMainTest::hintsFollowTheMouseAndTheHighlightedMenuItem()
{
    ShowForm();
    const QString formHint = Q(LongHint(FormHint));
    auto longHint = [](TCommandId id) { return Q(LongHint(CommandInfo(id).Hint)); };
    auto hover = [](QWidget* widget, QPoint at) {
        QCursor::setPos(widget->mapToGlobal(at));
        QCoreApplication::processEvents();
    };

    // Entering a toolbar button shows its command's hint at once.
    QWidget* addButton = FForm->findChild<QToolBar*>(QStringLiteral("ActionToolBar1"))
                             ->widgetForAction(FForm->Action(TCommandId::EditAdd));
    hover(addButton, addButton->rect().center());
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(),
             longHint(TCommandId::EditAdd));

    // Controls without a hint of their own show the window's, from the next idle pass on.
    hover(FForm->findChild<QTreeView*>(QStringLiteral("ListView1"))->viewport(),
          FForm->findChild<QTreeView*>(QStringLiteral("ListView1"))->viewport()->rect().center());
    IdlePass();
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(), formHint);

    QWidget* saveButton = FForm->findChild<QToolBar*>(QStringLiteral("ActionToolBar1"))
                              ->widgetForAction(FForm->Action(TCommandId::FileSave));
    hover(saveButton, saveButton->rect().center());
    IdlePass();
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(),
             longHint(TCommandId::FileSave));

    hover(FForm->findChild<QToolBar*>(QStringLiteral("ActionToolBar1")),
          QPoint(FForm->findChild<QToolBar*>(QStringLiteral("ActionToolBar1"))->width() - 3,
                 FForm->findChild<QToolBar*>(QStringLiteral("ActionToolBar1"))->height() / 2));
    IdlePass();
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(), formHint);

    hover(FForm->findChild<QLabel*>(QStringLiteral("Panel0")),
          FForm->findChild<QLabel*>(QStringLiteral("Panel0"))->rect().center());
    FForm->ApplicationEvents1Hint(QStringLiteral("something else"));
    IdlePass();
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(), formHint);

    // Away from every window of the program there is no hint.
    QCursor::setPos(FForm->frameGeometry().bottomRight() + QPoint(40, 40));
    IdlePass();
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(), QString());

    // A highlighted menu item shows its command's hint, and idle passes leave it there
    // although the mouse is over the list.
    hover(FForm->findChild<QTreeView*>(QStringLiteral("ListView1"))->viewport(),
          FForm->findChild<QTreeView*>(QStringLiteral("ListView1"))->viewport()->rect().center());
    IdlePass();
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(), formHint);
    QMenu* fileMenu = MenuAt(0);
    FForm->menuBar()->setActiveAction(fileMenu->menuAction());
    QVERIFY(QTest::qWaitForWindowExposed(fileMenu));
    fileMenu->setActiveAction(FForm->Action(TCommandId::FileOpen));
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(),
             longHint(TCommandId::FileOpen));
    IdlePass();
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(),
             longHint(TCommandId::FileOpen));
    fileMenu->hide();
    IdlePass();
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(), formHint);
}

void TFormMainTest::disabledMenuItemsShowTheirHintUnderTheMouse()
{
    ShowForm();
    auto longHint = [](TCommandId id) { return Q(LongHint(CommandInfo(id).Hint)); };
    QMenu* fileMenu = MenuAt(0);
    FForm->menuBar()->setActiveAction(fileMenu->menuAction());
    QVERIFY(QTest::qWaitForWindowExposed(fileMenu));
    auto hover = [fileMenu](QAction* action) {
        QTest::mouseMove(fileMenu, fileMenu->actionGeometry(action).center());
        QCoreApplication::processEvents();
    };
    QAction* open = FForm->Action(TCommandId::FileOpen);
    QAction* save = FForm->Action(TCommandId::FileSave);
    QAction* process = FForm->Action(TCommandId::FileProcess);
    QVERIFY(open->isEnabled());
    QVERIFY(!save->isEnabled() && !process->isEnabled()); // the list is empty

    hover(open);
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(),
             longHint(TCommandId::FileOpen));
    hover(save);
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(),
             longHint(TCommandId::FileSave));
    IdlePass();
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(),
             longHint(TCommandId::FileSave));
    hover(open);
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(),
             longHint(TCommandId::FileOpen));
    hover(process);
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(),
             longHint(TCommandId::FileProcess));
    // A separator has no command: the hint stays as it was.
    const QList<QAction*> items = fileMenu->actions();
    const auto separator =
        std::find_if(items.begin(), items.end(), [](QAction* item) { return item->isSeparator(); });
    QVERIFY(separator != items.end());
    hover(*separator);
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->text(),
             longHint(TCommandId::FileProcess));
    fileMenu->hide();
}

void TFormMainTest::positionPanelGrowsToFitItsText()
{
    ShowForm();
    QLabel* position = FForm->findChild<QLabel*>(QStringLiteral("Panel0"));
    QCOMPARE(position->width(), PositionPanelWidth);

    std::vector<std::string> lines(123456, "Caption");
    LoadList(lines);
    FForm->Controller().Document().SelectRows(123455, 123455);
    IdlePass();
    QCOMPARE(position->text(), QStringLiteral("123456: 123456"));
    const int textWidth = position->fontMetrics().horizontalAdvance(position->text());
    QVERIFY2(
        position->contentsRect().width() >= textWidth,
        qPrintable(QStringLiteral("%1 < %2").arg(position->contentsRect().width()).arg(textWidth)));
    QVERIFY(FForm->findChild<QLabel*>(QStringLiteral("Panel1"))->geometry().left() >=
            position->geometry().right());

    // Back to a short text, back to the design width.
    FForm->Controller().Document().NewDocument();
    IdlePass();
    QCOMPARE(position->text(), QStringLiteral("0: 0"));
    QCOMPARE(position->width(), PositionPanelWidth);
}

void TFormMainTest::errorsFromEventHandlersReachTheErrorBox()
{
    ShowForm();
    const TMessageBoxWatcher watcher;
    TThrowingObject thrower;
    bool carriedOn = false;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QTimer::singleShot(0, FForm.get(), [&carriedOn] { carriedOn = true; });
    QTRY_COMPARE(watcher.Seen().size(), std::size_t{1});
    const TSeenBox& box = watcher.Seen().front();
    QCOMPARE(box.Title, QStringLiteral("Error"));
    QCOMPARE(box.Icon, QMessageBox::Critical);
    QCOMPARE(box.Text, QStringLiteral("Thrown by an event handler."));
    QTRY_VERIFY(carriedOn);

    // The program goes on serving its commands.
    LoadList({"File"});
    IdlePass();
    FForm->Action(TCommandId::FileProcess)->trigger();
    QCOMPARE(Column(TEntryModel::ColAccelerated), QStringList({"&File"}));
    QVERIFY(FForm->isVisible());
}

void TFormMainTest::exitClosesTheWindow()
{
    ShowForm();
    FForm->Action(TCommandId::FileExit)->trigger();
    QVERIFY(!FForm->isVisible());
}

void TFormMainTest::applicationIsKnownByTheFormsCaptionAndDesktopEntry()
{
    QCOMPARE(QCoreApplication::applicationName() + QLatin1Char(' ') +
                 QCoreApplication::applicationVersion(),
             Q(FormCaption));
    // The desktop finds the window's icon and name through the entry of this name.
    const QString entry = QStringLiteral(QUARNEL_RESOURCE_DIR "/") +
                          QGuiApplication::desktopFileName() + QStringLiteral(".desktop");
    QVERIFY2(QFile::exists(entry), qPrintable(entry));
}

int main(int argc, char** argv)
{
    // The program's own application object, so errors thrown by event handlers take the same
    // way as in the program.
    TApplication application(argc, argv);
    TFormMainTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FormMainTest.moc"
