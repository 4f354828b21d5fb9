// The real window, offscreen, given what a careless or unlucky user gives it: line breaks and
// NULs pasted into the one-line editors, a list whose rows the view could not hold, a caption
// of a hundred megabytes.
#include "Application.h"
#include "CommandTable.h"
#include "FormMain.h"
#include "PeakMemory.h"
#include "QuarnelError.h"
#include "TestFiles.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

constexpr std::int64_t MiB = 1024 * 1024;

// The pasted text: CR LF, a bare LF and a bare CR, each one line break, and a NUL.
const QString PastedLines = QString::fromUtf8("Line1\r\nLine2\nLine3\rEnd\0!", 25);
const QString PastedAsOneLine = QStringLiteral("Line1 Line2 Line3 End!");

class THostileWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void addDialogTakesPastedLinesAsOne();
    void inPlaceEditorTakesPastedLinesAsOne();
    void listTheViewCouldNotHoldIsRefusedWithTheOpenMessage();
    void hugeCaptionIsShownByItsBeginning();

private:
    TCaptionDocument& Document() { return FForm->Controller().Document(); }
    QString Caption(int row) const
    {
        return FForm->findChild<QTreeView*>(QStringLiteral("ListView1"))
            ->model()
            ->index(row, 0)
            .data(Qt::EditRole)
            .toString();
    }
    std::string PathOf(const char* name) const { return FDir->filePath(name).toStdString(); }
    static void IdlePass();
    void LayOutAndPaint();

    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TFormMain> FForm;
};

void THostileWindowTest::init()
{
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    FForm = std::make_unique<TFormMain>(PathOf("QuarnelApps.ini"));
    FForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
    FForm->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    IdlePass();
}

void THostileWindowTest::cleanup()
{
    FForm.reset();
    FDir.reset();
}

// Commands are enabled, and the title set, only when the event loop runs dry.
void THostileWindowTest::IdlePass()
{
    RunIdlePass();
}

// What the next pass of the event loop would do for a new list, done now.
void THostileWindowTest::LayOutAndPaint()
{
    FForm->findChild<QTreeView*>(QStringLiteral("ListView1"))->doItemsLayout();
    FForm->findChild<QTreeView*>(QStringLiteral("ListView1"))->viewport()->repaint();
}

void THostileWindowTest::addDialogTakesPastedLinesAsOne()
{
    QApplication::clipboard()->setText(PastedLines);
    bool answered = false;
    QString pasted;
    QTimer poll;
    // Checked only once the dialog is closed: a failure inside would leave it open for good.
    connect(&poll, &QTimer::timeout, this, [&answered, &pasted] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!dialog || answered)
            return;
        answered = true;
        if (auto* edit = dialog->findChild<QLineEdit*>()) {
            edit->paste();
            pasted = edit->text();
        }
        dialog->accept();
    });
    poll.start(10);
    IdlePass();
    FForm->Action(TCommandId::EditAdd)->trigger();
    QVERIFY(answered);
    QCOMPARE(pasted, PastedAsOneLine);
    QCOMPARE(Document().Count(), 1);
    QCOMPARE(Caption(0), PastedAsOneLine);
}

void THostileWindowTest::inPlaceEditorTakesPastedLinesAsOne()
{
    Document().AddCaption("File");
    Document().SelectRows(0, 0);
    IdlePass();
    FForm->Action(TCommandId::EditEdit)->trigger();
    QLineEdit* editor = nullptr;
    QVERIFY(QTest::qWaitFor([&editor] {
        editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        return editor != nullptr;
    }));
    editor->selectAll();
    QApplication::clipboard()->setText(PastedLines);
    editor->paste();
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(Caption(0), PastedAsOneLine);
}

void THostileWindowTest::listTheViewCouldNotHoldIsRefusedWithTheOpenMessage()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer reserves more address space than any cap would allow");
#else
    // Under the cap the entries of the large list fit (5 million of 72 bytes); the view's rows
    // on top of them do not, while both fit for the small list.
    const auto writeLines = [this](const char* name, int lines) {
        std::string bytes(2 * static_cast<std::size_t>(lines), 'a');
        for (std::size_t i = 1; i < bytes.size(); i += 2)
            bytes[i] = '\n';
        WriteBytes(PathOf(name), bytes);
        return PathOf(name);
    };
    const std::string large = writeLines("large.lst", 5000000);
    const std::string small = writeLines("small.lst", 1000000);
    Document().AddCaption("Old");
    LayOutAndPaint();

    const TAddressSpaceCap cap(500 * MiB);
    QVERIFY(cap.Active());
    try {
        Document().LoadCaptionFile(large);
        LayOutAndPaint();
        QFAIL("the large list was loaded");
    } catch (const EQuarnelError& error) {
        QCOMPARE(
            QString::fromStdString(error.what()),
            QString::fromStdString("Cannot open file \"" + large + "\". Cannot allocate memory"));
    }
    LayOutAndPaint();
    QCOMPARE(Document().Count(), 1);
    QCOMPARE(Caption(0), QStringLiteral("Old"));

    Document().LoadCaptionFile(small);
    LayOutAndPaint();
    QCOMPARE(Document().Count(), 1000000);
#endif
}

void THostileWindowTest::hugeCaptionIsShownByItsBeginning()
{
    const std::string path = PathOf("one-line.lst");
    std::string line(100 * MiB, 'x');
    WriteBytes(path, line + "\r\n");

    const TPeakMemory peak;
    QVERIFY(peak.Reset());
    Document().LoadCaptionFile(path);
    LayOutAndPaint();
    Document().SelectRows(0, 0);
    FForm->findChild<QTreeView*>(QStringLiteral("ListView1"))->viewport()->repaint();
    const std::int64_t growth = peak.Growth();
    qInfo("[ measured ] a 100 MiB caption loaded and painted: peak growth %lld MiB",
          static_cast<long long>(growth / MiB));
    // The file's text and the caption, once each; painting the caption whole took more than
    // five times its size on top.
    QVERIFY2(growth < 2 * 100 * MiB + 64 * MiB, qPrintable(QString::number(growth / MiB)));
    QCOMPARE(Document().Model().At(0).Original.size(), line.size());
}

} // namespace

int main(int argc, char** argv)
{
    TApplication application(argc, argv);
    THostileWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HostileWindowTest.moc"
