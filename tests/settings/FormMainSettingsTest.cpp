// The real window, offscreen, with its settings file in a folder of the test's own: what it
// reads when shown, what it writes when closed, its two file dialogs and its boxes.
#include "FormMain.h"
#include "ProfileStore.h"
#include "UQuarnelApps.h"
#include "WindowLayout.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <optional>
#include <string>

namespace {

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

} // namespace

class TFormMainSettingsTest : public TWindowTest
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
    static QList<int> ColumnWidths(const TFormMain& form);

    QByteArray FOldWindir;
    bool FHadWindir = false;
};

void TFormMainSettingsTest::init()
{
    MakeFolder();
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
    EndForm();
}

void TFormMainSettingsTest::WriteIni(const QString& text) const
{
    QFile file(QFile::decodeName(QByteArray::fromStdString(IniFileName())));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(text.toUtf8()) == text.toUtf8().size());
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
        Show(form, TShow::Active);
        QCOMPARE(form.frameGeometry(), QRect(100, 80, 500, 400));
        QCOMPARE(ColumnWidths(form), (QList<int>{150, 90, 44}));
        QCOMPARE(form.Controller().Engine().FAccChar, '~');
        QCOMPARE(form.Controller().OpenDialog().InitialDir, lists.toStdString());
        QCOMPARE(form.Controller().SaveDialog().InitialDir, Folder().toStdString());

        // The user moves and resizes the window and widens a column.
        form.move(150, 120);
        form.resize(form.width() + 20, form.height() + 10);
        IdlePass();
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
    Show(again, TShow::Active);
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
    Show(form, TShow::Active);
    form.showMaximized();
    IdlePass();
    QVERIFY(form.windowState() & Qt::WindowMaximized);
    QVERIFY(form.frameGeometry() != QRect(100, 80, 500, 400));
    QVERIFY(form.close());

    QFile file(QFile::decodeName(QByteArray::fromStdString(IniFileName())));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(file.readAll());
    QVERIFY2(written.startsWith(window), qPrintable(written));
    QVERIFY2(!written.contains(QStringLiteral("Column3")), qPrintable(written));
    QCOMPARE(IniValue("Quarnel View", "Column2"),
             std::optional(std::to_string(DesignColumnWidths[2])));
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
    Show(form, TShow::Active);
    QAction* open = form.Action(TCommandId::FileOpen);

    // A name that does not exist is refused by the dialog itself.
    TModalDriver missing;
    TSeenBox notFound;
    QString firstDir;
    QString firstName;
    QStringList filters;
    missing.Expect<QFileDialog>([&](QFileDialog* dialog) {
        firstDir = dialog->directory().absolutePath();
        firstName = FileNameEdit(dialog)->text();
        filters = dialog->nameFilters();
        TypeAndEnter(dialog, QStringLiteral("missing.lst"));
    });
    missing.Expect<QMessageBox>(Answer(notFound, QMessageBox::Ok));
    missing.Expect<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    open->trigger();
    QVERIFY(missing.AllAnswered());
    QCOMPARE(firstDir, lists);
    QCOMPARE(firstName, QString());
    QCOMPARE(filters, QStringList{QStringLiteral("Caption list files (*.lst)")});
    QVERIFY(!notFound.Text.isEmpty());
    QCOMPARE(form.Controller().Document().Count(), 0);

    TModalDriver choose;
    choose.Expect<QFileDialog>([&](QFileDialog* dialog) {
        // The user looks around elsewhere before typing the list's full path.
        dialog->setDirectory(QDir::rootPath());
        TypeAndEnter(dialog, list);
    });
    open->trigger();
    QVERIFY(choose.AllAnswered());
    QCOMPARE(form.Controller().Document().FileName(), list.toStdString());
    QCOMPARE(form.Controller().Document().Count(), 2);
    form.ActFileNewUpdate();
    QCOMPARE(form.windowTitle(), QStringLiteral("Quarnel 1.0 - [menu.lst]"));
    QCOMPARE(form.focusWidget(),
             static_cast<QWidget*>(form.findChild<QTreeView*>(QStringLiteral("ListView1"))));

    TModalDriver again;
    QString againDir;
    QString againName;
    again.Expect<QFileDialog>([&](QFileDialog* dialog) {
        // Wherever the user went in the dialog, it starts where the list came from.
        againDir = dialog->directory().absolutePath();
        againName = FileNameEdit(dialog)->text();
        dialog->reject();
    });
    open->trigger();
    QVERIFY(again.AllAnswered());
    QCOMPARE(againDir, lists);
    QCOMPARE(againName, QStringLiteral("menu.lst"));
    QVERIFY(form.close());
}

void TFormMainSettingsTest::saveDialogAddsTheSuffixAndAsksBeforeOverwriting()
{
    WriteIni(QStringLiteral("[Quarnel Folders]\r\nSave=%1\r\n").arg(Folder()));
    TFormMain form(IniFileName());
    Show(form, TShow::Active);
    DocumentOf(form).AddCaption("File");
    form.ActFileNewUpdate();

    TModalDriver save;
    QString proposedDir;
    QString proposedName;
    save.Expect<QFileDialog>([&](QFileDialog* dialog) {
        proposedDir = dialog->directory().absolutePath();
        proposedName = FileNameEdit(dialog)->text();
        TypeAndEnter(dialog, QStringLiteral("out"));
    });
    form.Action(TCommandId::FileSave)->trigger();
    QVERIFY(save.AllAnswered());
    QCOMPARE(proposedDir, Folder());
    QCOMPARE(proposedName, QStringLiteral("Untitled.lst"));
    const QString out = Folder() + QStringLiteral("/out.lst");
    QCOMPARE(form.Controller().Document().FileName(), out.toStdString());
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("File\r\n"));
    file.close();

    // Saving as the same name asks first; No leaves the file alone.
    DocumentOf(form).AddCaption("Edit");
    form.ActFileNewUpdate();
    TModalDriver saveAs;
    TSeenBox replace;
    QString proposedAgain;
    saveAs.Expect<QFileDialog>([&](QFileDialog* dialog) {
        proposedAgain = FileNameEdit(dialog)->text();
        TypeAndEnter(dialog, proposedAgain);
    });
    saveAs.Expect<QMessageBox>(Answer(replace, QMessageBox::No));
    saveAs.Expect<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    form.Action(TCommandId::FileSaveAs)->trigger();
    QVERIFY(saveAs.AllAnswered());
    QCOMPARE(proposedAgain, QStringLiteral("out.lst"));
    QVERIFY(replace.Text.contains(QStringLiteral("out.lst")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("File\r\n"));
    QVERIFY(form.Controller().Document().Modified());

    TModalDriver discard;
    TSeenBox prompt;
    discard.Expect<QMessageBox>(Answer(prompt, QMessageBox::No));
    QVERIFY(form.close());
    QVERIFY(discard.AllAnswered());
}

void TFormMainSettingsTest::unsavedChangesCanKeepTheWindowOpen()
{
    TFormMain form(IniFileName());
    Show(form, TShow::Active);
    DocumentOf(form).AddCaption("File");
    form.ActFileNewUpdate();

    TModalDriver script;
    TSeenBox prompt;
    script.Expect<QMessageBox>(Answer(prompt, QMessageBox::Yes));
    script.Expect<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    QVERIFY(!form.close());
    QVERIFY(script.AllAnswered());
    QVERIFY(form.isVisible());
    QCOMPARE(prompt.Caption, QStringLiteral("Warning"));
    QCOMPARE(prompt.Icon, QMessageBox::Warning);
    QCOMPARE(prompt.Text, QStringLiteral("\"Untitled.lst\" has been modified.\n\nSave changes?"));
    // Nothing was written: closing did not go ahead.
    QVERIFY(!QFile::exists(QFile::decodeName(QByteArray::fromStdString(IniFileName()))));

    TModalDriver discard;
    TSeenBox again;
    discard.Expect<QMessageBox>(Answer(again, QMessageBox::No));
    QVERIFY(form.close());
    QVERIFY(discard.AllAnswered());
}

void TFormMainSettingsTest::refusedWriteKeepsTheWindowOpenAndShowsTheError()
{
    const QString ini = QFile::decodeName(QByteArray::fromStdString(IniFileName()));
    QVERIFY(QDir().mkdir(ini));
    TFormMain form(IniFileName());
    Show(form, TShow::Active);

    TModalDriver script;
    TSeenBox error;
    script.Expect<QMessageBox>(Answer(error, QMessageBox::Ok));
    QVERIFY(!form.close());
    QVERIFY(script.AllAnswered());
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
    Show(form, TShow::Active);

    TModalDriver first;
    TSeenBox error;
    first.Expect<QMessageBox>(Answer(error, QMessageBox::Ok));
    QVERIFY(!form.close());
    QVERIFY(first.AllAnswered());
    QVERIFY(form.isVisible());

    TModalDriver second;
    TSeenBox again;
    second.Expect<QMessageBox>(Answer(again, QMessageBox::Ok));
    QVERIFY(form.close());
    QVERIFY(second.AllAnswered());
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
    Show(form, TShow::Active);
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
    Show(form, TShow::Active);
    // As a window manager does before it reports the window maximised.
    form.setGeometry(form.screen()->availableGeometry());
    IdlePass();
    QVERIFY(!(form.windowState() & Qt::WindowMaximized));
    QVERIFY(form.close());
    QCOMPARE(IniValue("Quarnel Window", "Width"), std::optional<std::string>("500"));
    QCOMPARE(IniValue("Quarnel Window", "Height"), std::optional<std::string>("400"));
}

void TFormMainSettingsTest::aboutBox()
{
    TFormMain form(IniFileName());
    Show(form, TShow::Active);
    TModalDriver script;
    TSeenBox about;
    script.Expect<QMessageBox>(Answer(about, QMessageBox::Ok));
    form.Action(TCommandId::HelpAbout)->trigger();
    QVERIFY(script.AllAnswered());
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
