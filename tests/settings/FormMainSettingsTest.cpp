// The real window, offscreen, with its settings file in a folder of the test's own: what it
// reads when shown, what it writes when closed, its two file dialogs and its boxes.
#include "FormMain.h"
#include "ProfileStore.h"
#include "UQuarnelApps.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace {

// Answers modal windows as they come up, one step each, so that code which runs a modal loop
// can be driven from the test. A step may itself open the next modal window.
class TModalScript : public QObject
{
public:
    template <typename T> void Then(std::function<void(T*)> step)
    {
        FSteps.push_back(
            {[](QWidget* widget) { return qobject_cast<T*>(widget) != nullptr; },
             [step = std::move(step)](QWidget* widget) { step(static_cast<T*>(widget)); }});
    }

    void Start() { Poll(); }
    bool Done() const { return FSteps.empty(); }

private:
    struct TStep
    {
        std::function<bool(QWidget*)> Matches;
        std::function<void(QWidget*)> Run;
    };

    void Poll()
    {
        QTimer::singleShot(10, this, [this] { Check(); });
    }

    void Check()
    {
        if (FSteps.empty())
            return;
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible() || !FSteps.front().Matches(modal)) {
            Poll();
            return;
        }
        const TStep step = std::move(FSteps.front());
        FSteps.pop_front();
        // Scheduled first: the step may block in a modal loop of its own.
        if (!FSteps.empty())
            Poll();
        step.Run(modal);
    }

    std::deque<TStep> FSteps;
};

QLineEdit* FileNameEdit(QFileDialog* dialog)
{
    return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

// What the user does: types into the dialog's name field and presses Enter.
void TypeAndEnter(QFileDialog* dialog, const QString& text)
{
    QLineEdit* edit = FileNameEdit(dialog);
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
}

struct TSeenBox
{
    QString Caption;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
};

std::function<void(QMessageBox*)> Answer(TSeenBox& seen, QMessageBox::StandardButton button)
{
    return [&seen, button](QMessageBox* box) {
        seen = {box->windowTitle(), box->text(), box->icon()};
        box->button(button)->click();
    };
}

} // namespace

class TFormMainSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void boundsColumnsMarkerAndFoldersRoundTrip();
    void maximisedCloseKeepsTheWindowSection();
    void openDialogStartsInTheRememberedFolderWithTheLastName();
    void saveDialogAddsTheSuffixAndAsksBeforeOverwriting();
    void unsavedChangesCanKeepTheWindowOpen();
    void refusedWriteKeepsTheWindowOpenAndShowsTheError();
    void secondRefusedWriteShowsTheErrorThenCloses();
    void restoredBoundsAreBroughtOntoTheScreen();
    void aWindowGivenTheWholeScreenByOthersIsNotWritten();
    void aboutBox();

private:
    QString Folder() const { return FDir->path(); }
    std::string IniFileName() const { return ComputeIniFileName(); }
    std::optional<std::string> IniValue(const char* section, const char* key) const
    {
        return ReadProfile(IniFileName()).ReadString(section, key);
    }
    void WriteIni(const QString& text) const;
    static void Show(TFormMain& form);
    static void Settle();
    static QList<int> ColumnWidths(const TFormMain& form);

    std::unique_ptr<QTemporaryDir> FDir;
    QByteArray FOldWindir;
    bool FHadWindir = false;
};

void TFormMainSettingsTest::init()
{
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    FHadWindir = qEnvironmentVariableIsSet("windir");
    FOldWindir = qgetenv("windir");
    qputenv("windir", QFile::encodeName(FDir->path()));
}

void TFormMainSettingsTest::cleanup()
{
    if (FHadWindir)
        qputenv("windir", FOldWindir);
    else
        qunsetenv("windir");
    FDir.reset();
}

void TFormMainSettingsTest::WriteIni(const QString& text) const
{
    QFile file(QFile::decodeName(QByteArray::fromStdString(IniFileName())));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(text.toUtf8()) == text.toUtf8().size());
}

void TFormMainSettingsTest::Show(TFormMain& form)
{
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    Settle();
}

void TFormMainSettingsTest::Settle()
{
    // QTest's waits never let the event loop block, so the window's idle pass would not run;
    // one short blocking loop lets it.
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
}

QList<int> TFormMainSettingsTest::ColumnWidths(const TFormMain& form)
{
    const QHeaderView* header = form.findChild<QTreeView*>(QStringLiteral("ListView1"))->header();
    return {header->sectionSize(0), header->sectionSize(1), header->sectionSize(2)};
}

void TFormMainSettingsTest::boundsColumnsMarkerAndFoldersRoundTrip()
{
    const QString lists = Folder() + QStringLiteral("/lists");
    WriteIni(QStringLiteral("[Quarnel Window]\r\nLeft=100\r\nTop=80\r\nWidth=500\r\nHeight=400\r\n"
                            "[Quarnel View]\r\nColumn0=150\r\nColumn1=90\r\nColumn2=44\r\n"
                            "[Quarnel Settings]\r\nAccCode=0x7E\r\n"
                            "[Quarnel Folders]\r\nOpen=%1/\r\nSave=%2\r\n")
                 .arg(lists, Folder()));
    QRect moved;
    {
        TFormMain form(IniFileName());
        Show(form);
        QCOMPARE(form.frameGeometry(), QRect(100, 80, 500, 400));
        QCOMPARE(ColumnWidths(form), (QList<int>{150, 90, 44}));
        QCOMPARE(form.Controller().Engine().FAccChar, '~');
        QCOMPARE(form.Controller().FOpenDialog.InitialDir, lists.toStdString());
        QCOMPARE(form.Controller().FSaveDialog.InitialDir, Folder().toStdString());

        // The user moves and resizes the window and widens a column.
        form.move(150, 120);
        form.resize(form.width() + 20, form.height() + 10);
        Settle();
        moved = form.frameGeometry();
        QCOMPARE(moved.topLeft(), QPoint(150, 120));
        QCOMPARE(moved.size(), QSize(520, 410));
        form.findChild<QTreeView*>(QStringLiteral("ListView1"))->header()->resizeSection(0, 170);
        QVERIFY(form.close());
    }
    QCOMPARE(IniValue("Quarnel Window", "Left"), std::optional<std::string>("150"));
    QCOMPARE(IniValue("Quarnel Window", "Top"), std::optional<std::string>("120"));
    QCOMPARE(IniValue("Quarnel Window", "Width"), std::optional<std::string>("520"));
    QCOMPARE(IniValue("Quarnel Window", "Height"), std::optional<std::string>("410"));
    QCOMPARE(IniValue("Quarnel View", "Column0"), std::optional<std::string>("170"));
    QCOMPARE(IniValue("Quarnel Settings", "AccCode"), std::optional<std::string>("126"));
    QCOMPARE(IniValue("Quarnel Folders", "Open"), std::optional(lists.toStdString()));

    TFormMain again(IniFileName());
    Show(again);
    QCOMPARE(again.frameGeometry(), QRect(150, 120, 520, 410));
    QCOMPARE(ColumnWidths(again), (QList<int>{170, 90, 44}));
    QCOMPARE(again.Controller().Engine().FAccChar, '~');
    QVERIFY(again.close());
}

void TFormMainSettingsTest::maximisedCloseKeepsTheWindowSection()
{
    const QString window =
        QStringLiteral("[Quarnel Window]\r\nLeft=100\r\nTop=80\r\nWidth=500\r\nHeight=400\r\n");
    WriteIni(window + QStringLiteral("[Quarnel View]\r\nColumn3=77\r\n"));
    TFormMain form(IniFileName());
    Show(form);
    form.showMaximized();
    Settle();
    QVERIFY(form.windowState() & Qt::WindowMaximized);
    QVERIFY(form.frameGeometry() != QRect(100, 80, 500, 400));
    QVERIFY(form.close());

    QFile file(QFile::decodeName(QByteArray::fromStdString(IniFileName())));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(file.readAll());
    QVERIFY2(written.startsWith(window), qPrintable(written));
    QVERIFY2(!written.contains(QStringLiteral("Column3")), qPrintable(written));
    QCOMPARE(IniValue("Quarnel View", "Column2"), std::optional<std::string>("30"));
}

void TFormMainSettingsTest::openDialogStartsInTheRememberedFolderWithTheLastName()
{
    const QString lists = Folder() + QStringLiteral("/lists");
    QVERIFY(QDir().mkpath(lists));
    const QString list = lists + QStringLiteral("/menu.lst");
    {
        QFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("File\r\nEdit\r\n");
    }
    WriteIni(QStringLiteral("[Quarnel Folders]\r\nOpen=%1\r\n").arg(lists));
    TFormMain form(IniFileName());
    Show(form);
    QAction* open = form.Action(TCommandId::FileOpen);

    // A name that does not exist is refused by the dialog itself.
    TModalScript missing;
    TSeenBox notFound;
    QString firstDir;
    QString firstName;
    QStringList filters;
    missing.Then<QFileDialog>([&](QFileDialog* dialog) {
        firstDir = dialog->directory().absolutePath();
        firstName = FileNameEdit(dialog)->text();
        filters = dialog->nameFilters();
        TypeAndEnter(dialog, QStringLiteral("missing.lst"));
    });
    missing.Then<QMessageBox>(Answer(notFound, QMessageBox::Ok));
    missing.Then<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    missing.Start();
    open->trigger();
    QVERIFY(missing.Done());
    QCOMPARE(firstDir, lists);
    QCOMPARE(firstName, QString());
    QCOMPARE(filters, QStringList{QStringLiteral("Caption list files (*.lst)")});
    QVERIFY(!notFound.Text.isEmpty());
    QCOMPARE(form.Controller().Document().Count(), 0);

    TModalScript choose;
    choose.Then<QFileDialog>([&](QFileDialog* dialog) {
        // The user looks around elsewhere before typing the list's full path.
        dialog->setDirectory(QDir::rootPath());
        TypeAndEnter(dialog, list);
    });
    choose.Start();
    open->trigger();
    QVERIFY(choose.Done());
    QCOMPARE(form.Controller().Document().FileName(), list.toStdString());
    QCOMPARE(form.Controller().Document().Count(), 2);
    form.ActFileNewUpdate();
    QCOMPARE(form.windowTitle(), QStringLiteral("Quarnel 1.0 - [menu.lst]"));
    QCOMPARE(form.focusWidget(),
             static_cast<QWidget*>(form.findChild<QTreeView*>(QStringLiteral("ListView1"))));

    TModalScript again;
    QString againDir;
    QString againName;
    again.Then<QFileDialog>([&](QFileDialog* dialog) {
        // Wherever the user went in the dialog, it starts where the list came from.
        againDir = dialog->directory().absolutePath();
        againName = FileNameEdit(dialog)->text();
        dialog->reject();
    });
    again.Start();
    open->trigger();
    QVERIFY(again.Done());
    QCOMPARE(againDir, lists);
    QCOMPARE(againName, QStringLiteral("menu.lst"));
    QVERIFY(form.close());
}

void TFormMainSettingsTest::saveDialogAddsTheSuffixAndAsksBeforeOverwriting()
{
    WriteIni(QStringLiteral("[Quarnel Folders]\r\nSave=%1\r\n").arg(Folder()));
    TFormMain form(IniFileName());
    Show(form);
    form.Controller().Document().AddCaption("File");
    form.ActFileNewUpdate();

    TModalScript save;
    QString proposedDir;
    QString proposedName;
    save.Then<QFileDialog>([&](QFileDialog* dialog) {
        proposedDir = dialog->directory().absolutePath();
        proposedName = FileNameEdit(dialog)->text();
        TypeAndEnter(dialog, QStringLiteral("out"));
    });
    save.Start();
    form.Action(TCommandId::FileSave)->trigger();
    QVERIFY(save.Done());
    QCOMPARE(proposedDir, Folder());
    QCOMPARE(proposedName, QStringLiteral("Untitled.lst"));
    const QString out = Folder() + QStringLiteral("/out.lst");
    QCOMPARE(form.Controller().Document().FileName(), out.toStdString());
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("File\r\n"));
    file.close();

    // Saving as the same name asks first; No leaves the file alone.
    form.Controller().Document().AddCaption("Edit");
    form.ActFileNewUpdate();
    TModalScript saveAs;
    TSeenBox replace;
    QString proposedAgain;
    saveAs.Then<QFileDialog>([&](QFileDialog* dialog) {
        proposedAgain = FileNameEdit(dialog)->text();
        TypeAndEnter(dialog, proposedAgain);
    });
    saveAs.Then<QMessageBox>(Answer(replace, QMessageBox::No));
    saveAs.Then<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    saveAs.Start();
    form.Action(TCommandId::FileSaveAs)->trigger();
    QVERIFY(saveAs.Done());
    QCOMPARE(proposedAgain, QStringLiteral("out.lst"));
    QVERIFY(replace.Text.contains(QStringLiteral("out.lst")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("File\r\n"));
    QVERIFY(form.Controller().Document().Modified());

    TModalScript discard;
    TSeenBox prompt;
    discard.Then<QMessageBox>(Answer(prompt, QMessageBox::No));
    discard.Start();
    QVERIFY(form.close());
    QVERIFY(discard.Done());
}

void TFormMainSettingsTest::unsavedChangesCanKeepTheWindowOpen()
{
    TFormMain form(IniFileName());
    Show(form);
    form.Controller().Document().AddCaption("File");
    form.ActFileNewUpdate();

    TModalScript script;
    TSeenBox prompt;
    script.Then<QMessageBox>(Answer(prompt, QMessageBox::Yes));
    script.Then<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    script.Start();
    QVERIFY(!form.close());
    QVERIFY(script.Done());
    QVERIFY(form.isVisible());
    QCOMPARE(prompt.Caption, QStringLiteral("Warning"));
    QCOMPARE(prompt.Icon, QMessageBox::Warning);
    QCOMPARE(prompt.Text, QStringLiteral("\"Untitled.lst\" has been modified.\n\nSave changes?"));
    // Nothing was written: closing did not go ahead.
    QVERIFY(!QFile::exists(QFile::decodeName(QByteArray::fromStdString(IniFileName()))));

    TModalScript discard;
    TSeenBox again;
    discard.Then<QMessageBox>(Answer(again, QMessageBox::No));
    discard.Start();
    QVERIFY(form.close());
    QVERIFY(discard.Done());
}

void TFormMainSettingsTest::refusedWriteKeepsTheWindowOpenAndShowsTheError()
{
    const QString ini = QFile::decodeName(QByteArray::fromStdString(IniFileName()));
    QVERIFY(QDir().mkdir(ini));
    TFormMain form(IniFileName());
    Show(form);

    TModalScript script;
    TSeenBox error;
    script.Then<QMessageBox>(Answer(error, QMessageBox::Ok));
    script.Start();
    QVERIFY(!form.close());
    QVERIFY(script.Done());
    QVERIFY(form.isVisible());
    QCOMPARE(error.Caption, QStringLiteral("Error"));
    QCOMPARE(error.Icon, QMessageBox::Critical);
    QCOMPARE(error.Text, QStringLiteral("Unable to write to ") + ini);

    // Closing again tries again.
    QVERIFY(QDir().rmdir(ini));
    QVERIFY(form.close());
    QCOMPARE(IniValue("Quarnel Settings", "AccCode"), std::optional<std::string>("38"));
}

void TFormMainSettingsTest::secondRefusedWriteShowsTheErrorThenCloses()
{
    const QString ini = QFile::decodeName(QByteArray::fromStdString(IniFileName()));
    QVERIFY(QDir().mkdir(ini));
    TFormMain form(IniFileName());
    Show(form);

    TModalScript first;
    TSeenBox error;
    first.Then<QMessageBox>(Answer(error, QMessageBox::Ok));
    first.Start();
    QVERIFY(!form.close());
    QVERIFY(first.Done());
    QVERIFY(form.isVisible());

    TModalScript second;
    TSeenBox again;
    second.Then<QMessageBox>(Answer(again, QMessageBox::Ok));
    second.Start();
    QVERIFY(form.close());
    QVERIFY(second.Done());
    QVERIFY(!form.isVisible());
    QCOMPARE(again.Caption, QStringLiteral("Error"));
    QCOMPARE(again.Text, QStringLiteral("Unable to write to ") + ini);
    QVERIFY(QFileInfo(ini).isDir());
}

void TFormMainSettingsTest::restoredBoundsAreBroughtOntoTheScreen()
{
    WriteIni(QStringLiteral("[Quarnel Window]\r\nLeft=100\r\nTop=-99999\r\nWidth=500\r\n"
                            "Height=2147483647\r\n"));
    TFormMain form(IniFileName());
    Show(form);
    const QRect area = form.screen()->availableGeometry();
    QCOMPARE(form.frameGeometry(), QRect(100, area.top(), 500, area.height()));
    QVERIFY(form.close());
    QCOMPARE(IniValue("Quarnel Window", "Top"), std::optional(std::to_string(area.top())));
    QCOMPARE(IniValue("Quarnel Window", "Height"), std::optional(std::to_string(area.height())));
}

void TFormMainSettingsTest::aWindowGivenTheWholeScreenByOthersIsNotWritten()
{
    const QString window =
        QStringLiteral("[Quarnel Window]\r\nLeft=100\r\nTop=80\r\nWidth=500\r\nHeight=400\r\n");
    WriteIni(window);
    TFormMain form(IniFileName());
    Show(form);
    // As a window manager does before it reports the window maximised.
    form.setGeometry(form.screen()->availableGeometry());
    Settle();
    QVERIFY(!(form.windowState() & Qt::WindowMaximized));
    QVERIFY(form.close());
    QCOMPARE(IniValue("Quarnel Window", "Width"), std::optional<std::string>("500"));
    QCOMPARE(IniValue("Quarnel Window", "Height"), std::optional<std::string>("400"));
}

void TFormMainSettingsTest::aboutBox()
{
    TFormMain form(IniFileName());
    Show(form);
    TModalScript script;
    TSeenBox about;
    script.Then<QMessageBox>(Answer(about, QMessageBox::Ok));
    script.Start();
    form.Action(TCommandId::HelpAbout)->trigger();
    QVERIFY(script.Done());
    QCOMPARE(about.Caption, QStringLiteral("About"));
    QCOMPARE(about.Icon, QMessageBox::Information);
    QVERIFY2(about.Text.startsWith(QStringLiteral(
                 "Quarnel 1.0\n\nAn easy way to determine accelerator keys.\n\nWeb site: ")),
             qPrintable(about.Text));
    QVERIFY2(about.Text.endsWith(QStringLiteral("Copyright (c) 2003 The Quarnel developers")),
             qPrintable(about.Text));
    QVERIFY(form.close());
}

QTEST_MAIN(TFormMainSettingsTest)
#include "FormMainSettingsTest.moc"
