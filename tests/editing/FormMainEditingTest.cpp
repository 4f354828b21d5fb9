// The editing commands in the real window on the offscreen platform: the Add dialog, editing
// in place through the list, the clipboard, the confirmation of Clear, sorting by a header
// click, and the enabling of Up and Down at the ends of the list.
#include "Application.h"
#include "DisplayText.h"
#include "FormMain.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QtTest>
#include <deque>
#include <functional>
#include <memory>

namespace {

// Answers the modal dialogs the code under test opens, one handler per dialog in order.
// A dialog nobody expected is rejected and noted, so a test fails instead of hanging.
class TModalDriver : public QObject
{
public:
    using THandler = std::function<void(QWidget*)>;

    TModalDriver()
    {
        connect(&FTimer, &QTimer::timeout, this, [this] { Poll(); });
        FTimer.start(10);
    }

    void Expect(THandler handler) { FHandlers.push_back(std::move(handler)); }
    bool AllAnswered() const { return FHandlers.empty(); }
    int Unexpected() const { return FUnexpected; }

private:
    void Poll()
    {
        // Dialogs live on the stack of the code under test, so a new one may take the place
        // of the last: a mark on the object, not its address, tells them apart.
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal->property(HandledMark).toBool())
            return;
        modal->setProperty(HandledMark, true);
        if (FHandlers.empty()) {
            ++FUnexpected;
            Reject(modal);
            return;
        }
        const THandler handler = std::move(FHandlers.front());
        FHandlers.pop_front();
        handler(modal);
        // A handler that failed half-way leaves its dialog open; the test must not hang on it.
        QTimer::singleShot(1000, modal, [modal] { Reject(modal); });
    }

    static void Reject(QWidget* modal)
    {
        if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible())
            dialog->reject();
    }

    static constexpr const char* HandledMark = "quarnelTestHandled";
    QTimer FTimer;
    std::deque<THandler> FHandlers;
    int FUnexpected = 0;
};

QMessageBox* AsMessageBox(QWidget* modal)
{
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box)
        qWarning("expected a message box, found %s", modal->metaObject()->className());
    return box;
}

} // namespace

class TFormMainEditingTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void addDialogAsksForACaptionCentredOnTheScreen();
    void addDialogCancelledAddsNothing();
    void addDialogRefusalShowsTheErrorBox();
    void editInPlaceStoresTheTextAsTypedAndEmptiesTheResults();
    void editInPlaceAcceptedUnchangedStillEmptiesAndModifies();
    void editInPlaceAbandonedWithEscapeChangesNothing();
    void editStartedByClickingASelectedEntryEmptiesThatEntry();
    void editOfALaterSelectedEntryLeavesTheFirstSelectedAlone();
    void copyPutsTheAcceleratedCaptionOnTheClipboard();
    void clearAsksForConfirmationWithNoAsDefault();
    void headerClickSortsAndMarksTheTitle();
    void upAndDownAreDisabledAtTheEnds();
    void upAndDownKeepTheKeyboardFocusRow();

private:
    void ShowForm();
    static void IdlePass();
    void Fill(const std::vector<std::string>& captions);
    void Process();
    void Trigger(TCommandId id);
    QStringList Column(int column) const;
    TCaptionDocument& Document() { return FForm->Controller().Document(); }
    QLineEdit* WaitForEditor() const;

    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TFormMain> FForm;
};

void TFormMainEditingTest::init()
{
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    FForm = std::make_unique<TFormMain>(
        FDir->filePath(QStringLiteral("QuarnelApps.ini")).toStdString());
    ShowForm();
}

void TFormMainEditingTest::cleanup()
{
    FForm.reset();
    FDir.reset();
}

void TFormMainEditingTest::ShowForm()
{
    FForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
    FForm->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    IdlePass();
}

// The window recomputes its commands and title only when the event loop runs dry.
void TFormMainEditingTest::IdlePass()
{
    RunIdlePass();
}

void TFormMainEditingTest::Fill(const std::vector<std::string>& captions)
{
    for (const std::string& caption : captions)
        Document().AddCaption(caption);
    Document().MarkUnmodified();
    IdlePass();
}

void TFormMainEditingTest::Process()
{
    Trigger(TCommandId::FileProcess);
    QVERIFY(!Column(TEntryModel::ColKey).contains(QString()));
    IdlePass();
}

void TFormMainEditingTest::Trigger(TCommandId id)
{
    IdlePass();
    QVERIFY2(FForm->Action(id)->isEnabled(), qPrintable(FForm->Action(id)->objectName()));
    FForm->Action(id)->trigger();
}

QStringList TFormMainEditingTest::Column(int column) const
{
    QStringList texts;
    const QAbstractItemModel* model =
        FForm->findChild<QTreeView*>(QStringLiteral("ListView1"))->model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts.append(model->index(row, column).data().toString());
    return texts;
}

QLineEdit* TFormMainEditingTest::WaitForEditor() const
{
    QLineEdit* editor = nullptr;
    const bool editing = QTest::qWaitFor([&editor, this] {
        editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        return editor &&
               FForm->findChild<QTreeView*>(QStringLiteral("ListView1"))->isAncestorOf(editor);
    });
    return editing ? editor : nullptr;
}

void TFormMainEditingTest::addDialogAsksForACaptionCentredOnTheScreen()
{
    Fill({"File"});
    TModalDriver driver;
    driver.Expect([](QWidget* modal) {
        auto* dialog = qobject_cast<QInputDialog*>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Add"));
        QCOMPARE(dialog->labelText(), QStringLiteral("Caption:"));
        QCOMPARE(dialog->inputMode(), QInputDialog::TextInput);
        auto* edit = dialog->findChild<QLineEdit*>();
        QVERIFY(edit);
        QCOMPARE(edit->text(), QString());
        QCOMPARE(edit->maxLength(), 255);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QVERIFY(buttons);
        QStringList texts;
        for (QAbstractButton* button : buttons->buttons())
            texts.append(button->text().remove(QLatin1Char('&')));
        texts.sort();
        QCOMPARE(texts, QStringList({"Cancel", "OK"}));
        QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
        QVERIFY(ok && ok->isDefault());
        // Centred to within the rounding of a frame whose size settles only when shown.
        const QPoint screenCentre = dialog->screen()->geometry().center();
        QVERIFY2((dialog->frameGeometry().center() - screenCentre).manhattanLength() <= 8,
                 qPrintable(QStringLiteral("dialog at %1,%2 %3x%4, screen centre %5,%6")
                                .arg(dialog->frameGeometry().x())
                                .arg(dialog->frameGeometry().y())
                                .arg(dialog->frameGeometry().width())
                                .arg(dialog->frameGeometry().height())
                                .arg(screenCentre.x())
                                .arg(screenCentre.y())));

        QTest::keyClicks(edit, QStringLiteral("  Open  "));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    Trigger(TCommandId::EditAdd);
    QVERIFY(driver.AllAnswered());
    QCOMPARE(driver.Unexpected(), 0);
    QCOMPARE(Column(TEntryModel::ColOriginal), QStringList({"File", "Open"}));
    QCOMPARE(Column(TEntryModel::ColAccelerated), QStringList({"", ""}));
    IdlePass();
    QCOMPARE(FForm->windowTitle(), QStringLiteral("Quarnel 1.0 - [Untitled.lst*]"));
}

void TFormMainEditingTest::addDialogCancelledAddsNothing()
{
    Fill({"File"});
    TModalDriver driver;
    driver.Expect([](QWidget* modal) {
        QTest::keyClicks(modal->findChild<QLineEdit*>(), QStringLiteral("Open"));
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    driver.Expect([](QWidget* modal) {
        QTest::keyClicks(modal->findChild<QLineEdit*>(), QStringLiteral("Open"));
        auto* buttons = modal->findChild<QDialogButtonBox*>();
        QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    });
    Trigger(TCommandId::EditAdd);
    Trigger(TCommandId::EditAdd);
    QVERIFY(driver.AllAnswered());
    QCOMPARE(driver.Unexpected(), 0);
    QCOMPARE(Column(TEntryModel::ColOriginal), QStringList({"File"}));
    QVERIFY(!Document().Modified());
}

void TFormMainEditingTest::addDialogRefusalShowsTheErrorBox()
{
    TModalDriver driver;
    driver.Expect([](QWidget* modal) {
        QTest::keyClicks(modal->findChild<QLineEdit*>(), QStringLiteral(" A&B "));
        QTest::keyClick(modal->findChild<QLineEdit*>(), Qt::Key_Return);
    });
    driver.Expect([](QWidget* modal) {
        QMessageBox* box = AsMessageBox(modal);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Error"));
        QCOMPARE(box->text(), QStringLiteral("Invalid caption \"A&B\"."));
        QCOMPARE(box->icon(), QMessageBox::Critical);
        box->defaultButton()->click();
    });
    Trigger(TCommandId::EditAdd);
    QTRY_VERIFY(driver.AllAnswered());
    QCOMPARE(driver.Unexpected(), 0);
    QCOMPARE(Document().Count(), 0);
    QVERIFY(!Document().Modified());
}

void TFormMainEditingTest::editInPlaceStoresTheTextAsTypedAndEmptiesTheResults()
{
    Fill({"File", "Edit"});
    Process();
    Document().SelectRows(1, 1);
    IdlePass();
    QTest::keyClick(FForm->findChild<QTreeView*>(QStringLiteral("ListView1")), Qt::Key_F2);
    QLineEdit* editor = WaitForEditor();
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("Edit"));
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("  A&B "));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(Column(TEntryModel::ColOriginal), QStringList({"File", "  A&B "}));
    QCOMPARE(Column(TEntryModel::ColAccelerated), QStringList({"&File", ""}));
    QCOMPARE(Column(TEntryModel::ColKey), QStringList({"F", ""}));
    QVERIFY(Document().Modified());
}

void TFormMainEditingTest::editInPlaceAcceptedUnchangedStillEmptiesAndModifies()
{
    Fill({"File", "Edit"});
    Process();
    Document().SelectRows(0, 0);
    Trigger(TCommandId::EditEdit);
    QLineEdit* editor = WaitForEditor();
    QVERIFY(editor);
    // The focus leaving the editor accepts the edit as Enter does.
    FForm->findChild<QLabel*>(QStringLiteral("Panel0"))->setFocusPolicy(Qt::StrongFocus);
    FForm->findChild<QLabel*>(QStringLiteral("Panel0"))->setFocus();
    QTRY_VERIFY(Document().Modified());
    QCOMPARE(Column(TEntryModel::ColOriginal), QStringList({"File", "Edit"}));
    QCOMPARE(Column(TEntryModel::ColAccelerated), QStringList({"", "&Edit"}));
    QCOMPARE(Column(TEntryModel::ColKey), QStringList({"", "E"}));
}

void TFormMainEditingTest::editInPlaceAbandonedWithEscapeChangesNothing()
{
    Fill({"File", "Edit"});
    Process();
    Document().SelectRows(1, 1);
    Trigger(TCommandId::EditEdit);
    QLineEdit* editor = WaitForEditor();
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("Changed"));
    QTest::keyClick(editor, Qt::Key_Escape);
    QTRY_VERIFY(!qobject_cast<QLineEdit*>(QApplication::focusWidget()));
    QCOMPARE(Column(TEntryModel::ColOriginal), QStringList({"File", "Edit"}));
    QCOMPARE(Column(TEntryModel::ColAccelerated), QStringList({"&File", "&Edit"}));
    QVERIFY(!Document().Modified());
}

void TFormMainEditingTest::editStartedByClickingASelectedEntryEmptiesThatEntry()
{
    Fill({"File", "Edit", "View"});
    Process();
    Document().SelectRows(0, 2);
    IdlePass();
    QTreeView* list = FForm->findChild<QTreeView*>(QStringLiteral("ListView1"));
    const QModelIndex clicked = list->model()->index(2, TEntryModel::ColOriginal);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(clicked).center());
    QLineEdit* editor = WaitForEditor();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Window"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(Column(TEntryModel::ColOriginal), QStringList({"File", "Edit", "Window"}));
    QCOMPARE(Column(TEntryModel::ColAccelerated), QStringList({"&File", "&Edit", ""}));
    QVERIFY(Document().Modified());
}

void TFormMainEditingTest::editOfALaterSelectedEntryLeavesTheFirstSelectedAlone()
{
    Fill({"File", "Edit", "View"});
    Process();
    Document().SelectRows(0, 2);
    IdlePass();
    QTreeView* list = FForm->findChild<QTreeView*>(QStringLiteral("ListView1"));
    // The view's own way in, as a click on a selected caption takes it.
    list->edit(list->model()->index(1, TEntryModel::ColOriginal));
    QLineEdit* editor = WaitForEditor();
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(Column(TEntryModel::ColAccelerated), QStringList({"&File", "", "&View"}));
    QCOMPARE(Column(TEntryModel::ColKey), QStringList({"F", "", "V"}));
    QCOMPARE(Document().SelectionFacts().FirstSelected, 0);
}

void TFormMainEditingTest::copyPutsTheAcceleratedCaptionOnTheClipboard()
{
    Fill({"File", "Edit"});
    Document().SelectRows(1, 1);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    Trigger(TCommandId::EditCopy);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString()); // not yet processed
    Process();
    QTest::keyClick(FForm->findChild<QTreeView*>(QStringLiteral("ListView1")), Qt::Key_C,
                    Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("&Edit"));
    QVERIFY(!Document().Modified());
}

void TFormMainEditingTest::clearAsksForConfirmationWithNoAsDefault()
{
    Fill({"File", "Edit"});
    TModalDriver driver;
    auto check = [](QMessageBox* box) {
        QCOMPARE(box->windowTitle(), QStringLiteral("Confirm"));
        QCOMPARE(box->text(), QStringLiteral("Are you sure to clear?"));
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
    };
    driver.Expect([&check](QWidget* modal) {
        QMessageBox* box = AsMessageBox(modal);
        QVERIFY(box);
        check(box);
        QTest::keyClick(box, Qt::Key_Return); // the default: No
    });
    driver.Expect([&check](QWidget* modal) {
        QMessageBox* box = AsMessageBox(modal);
        QVERIFY(box);
        check(box);
        box->button(QMessageBox::Yes)->click();
    });
    Trigger(TCommandId::EditClear);
    QCOMPARE(Document().Count(), 2);
    QVERIFY(!Document().Modified());
    Trigger(TCommandId::EditClear);
    QCOMPARE(Document().Count(), 0);
    QVERIFY(Document().Modified());
    QVERIFY(driver.AllAnswered());
    QCOMPARE(driver.Unexpected(), 0);
}

void TFormMainEditingTest::headerClickSortsAndMarksTheTitle()
{
    Fill({"beta", "Alpha", "alpha2"});
    Document().SelectRows(0, 0);
    QCOMPARE(FForm->windowTitle(), QStringLiteral("Quarnel 1.0 - [Untitled.lst]"));
    QHeaderView* header = FForm->findChild<QTreeView*>(QStringLiteral("ListView1"))->header();
    const int x = header->sectionViewportPosition(TEntryModel::ColOriginal) + 5;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    QCOMPARE(Column(TEntryModel::ColOriginal), QStringList({"Alpha", "alpha2", "beta"}));
    QVERIFY(Document().IsRowSelected(2));
    QVERIFY(!Document().IsRowSelected(0));
    IdlePass();
    QCOMPARE(FForm->windowTitle(), QStringLiteral("Quarnel 1.0 - [Untitled.lst*]"));
    QCOMPARE(FForm->findChild<QLabel*>(QStringLiteral("Panel0"))->text(), QStringLiteral("3: 3"));
}

void TFormMainEditingTest::upAndDownAreDisabledAtTheEnds()
{
    Fill({"a", "b", "c"});
    QAction* up = FForm->Action(TCommandId::EditMoveUp);
    QAction* down = FForm->Action(TCommandId::EditMoveDown);
    QVERIFY(!up->isEnabled() && !down->isEnabled());

    Document().SelectRows(1, 1);
    IdlePass();
    QVERIFY(up->isEnabled() && down->isEnabled());

    up->trigger();
    IdlePass();
    QCOMPARE(Column(TEntryModel::ColOriginal), QStringList({"b", "a", "c"}));
    QVERIFY(!up->isEnabled());
    QVERIFY(down->isEnabled());

    down->trigger();
    IdlePass();
    down->trigger();
    IdlePass();
    QCOMPARE(Column(TEntryModel::ColOriginal), QStringList({"a", "c", "b"}));
    QVERIFY(up->isEnabled());
    QVERIFY(!down->isEnabled());
    QVERIFY(Document().Modified());
    QCOMPARE(FForm->windowTitle(), QStringLiteral("Quarnel 1.0 - [Untitled.lst*]"));
}

void TFormMainEditingTest::upAndDownKeepTheKeyboardFocusRow()
{
    Fill({"a", "b", "c", "d"});
    QTreeView* list = FForm->findChild<QTreeView*>(QStringLiteral("ListView1"));
    list->setFocus();
    list->selectionModel()->setCurrentIndex(list->model()->index(2, 0),
                                            QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
    Trigger(TCommandId::EditMoveUp);
    QCOMPARE(Column(TEntryModel::ColOriginal), QStringList({"a", "c", "b", "d"}));
    QCOMPARE(list->currentIndex().row(), 2);
    QVERIFY(Document().IsRowSelected(1));
    QVERIFY(!Document().IsRowSelected(2));
}

int main(int argc, char** argv)
{
    TApplication application(argc, argv);
    TFormMainEditingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FormMainEditingTest.moc"
