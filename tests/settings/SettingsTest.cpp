// The window's sections of the shared settings file, read at show and written at close, and
// the About box, driven through the scripted user interface.
#include "FakeUserInterface.h"
#include "MainController.h"
#include "ProcessGuards.h"
#include "QuarnelError.h"
#include "TestFiles.h"
#include "UQuarnelApps.h"

#include <QTemporaryDir>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// One run of the program: the form is created and shown, and closed when the test says so.
struct TRun
{
    TFakeUserInterface Ui;
    TMainController Controller{Ui};
};

const std::map<int, int> DesignWidths = DesignColumnWidthMap();

class Settings : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        FIniFileName = ComputeIniFileName();
        ASSERT_EQ(FIniFileName, Folder() + "/QuarnelApps.ini");
    }

    std::string Folder() const { return FDir.path().toStdString(); }

    // Creates and shows the form; `beforeShow` sees the form as FormCreate left it.
    std::unique_ptr<TRun> Start(const std::function<void(TRun&)>& beforeShow = {}) const
    {
        auto run = std::make_unique<TRun>();
        run->Controller.SetIniFileName(FIniFileName);
        run->Controller.FormCreate("Quarnel 1.0");
        if (beforeShow)
            beforeShow(*run);
        run->Controller.FormShow();
        return run;
    }

    static void Close(TRun& run)
    {
        ASSERT_TRUE(run.Controller.FormCloseQuery());
        run.Controller.FormClose();
    }

    void WriteIni(const std::string& bytes) const { WriteBytes(FIniFileName, bytes); }
    std::string ReadIni() const { return ReadBytes(FIniFileName); }

    // The user's home, with no documents folder until a test makes one.
    std::string Home() const { return Folder() + "/home"; }

    QTemporaryDir FDir;
    // Points "windir" at the folder of the test's own while the test lives.
    TEnvVar FWindir{"windir", FDir.path().toStdString()};
    TEnvVar FHome{"HOME", FDir.path().toStdString() + "/home"};
    TEnvVar FConfigHome{"XDG_CONFIG_HOME", FDir.path().toStdString() + "/config"};
    std::string FIniFileName;
};

} // namespace

TEST_F(Settings, WithoutAFileTheWindowKeepsItsDesignAndTheDialogsStartInTheDocumentsFolder)
{
    fs::create_directories(Home() + "/Documents");
    const auto run = Start();
    EXPECT_EQ(run->Ui.Bounds, DesignBounds);
    EXPECT_EQ(run->Ui.ColumnWidths, DesignWidths);
    EXPECT_EQ(run->Controller.Engine().FAccChar, '&');
    EXPECT_EQ(run->Controller.FOpenDialog.InitialDir, Home() + "/Documents");
    EXPECT_EQ(run->Controller.FSaveDialog.InitialDir, run->Controller.FOpenDialog.InitialDir);
    // Reading leaves no file behind.
    EXPECT_FALSE(fs::exists(FIniFileName));
}

TEST_F(Settings, TheDefaultFolderIsTheDesktopsDocumentsFolderOrElseTheHome)
{
    fs::create_directories(Home());
    EXPECT_EQ(Start()->Controller.FOpenDialog.InitialDir, Home());

    // The desktop's own name for the folder wins over the usual one.
    fs::create_directories(Home() + "/Documents");
    fs::create_directories(Home() + "/Papers");
    fs::create_directories(Folder() + "/config");
    WriteBytes(Folder() + "/config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
    const auto run = Start();
    EXPECT_EQ(run->Controller.FOpenDialog.InitialDir, Home() + "/Papers");
    EXPECT_EQ(run->Controller.FSaveDialog.InitialDir, Home() + "/Papers");

    // A remembered folder still wins, even one that has gone since.
    WriteIni("[Quarnel Folders]\r\nOpen=/gone/lists\r\n");
    const auto remembered = Start();
    EXPECT_EQ(remembered->Controller.FOpenDialog.InitialDir, "/gone/lists");
    EXPECT_EQ(remembered->Controller.FSaveDialog.InitialDir, Home() + "/Papers");
}

TEST_F(Settings, CloseWritesEverySectionInOrderAndTheNextStartRestoresIt)
{
    const TBounds moved{33, 44, 500, 400};
    const std::map<int, int> widths = {{0, 150}, {1, 90}, {2, 44}};
    {
        const auto run = Start();
        run->Ui.Bounds = moved;
        run->Ui.ColumnWidths = widths;
        run->Controller.Engine().FAccChar = '~';
        run->Controller.FOpenDialog.InitialDir = "/srv/lists";
        run->Controller.FSaveDialog.InitialDir = "/";
        Close(*run);
    }
    EXPECT_EQ(ReadIni(), "[Quarnel Window]\r\nLeft=33\r\nTop=44\r\nWidth=500\r\nHeight=400\r\n"
                         "[Quarnel View]\r\nColumn0=150\r\nColumn1=90\r\nColumn2=44\r\n"
                         "[Quarnel Settings]\r\nAccCode=126\r\n"
                         "[Quarnel Folders]\r\nOpen=/srv/lists\r\nSave=/\r\n");

    const auto again = Start();
    EXPECT_EQ(again->Ui.Bounds, moved);
    EXPECT_EQ(again->Ui.ColumnWidths, widths);
    EXPECT_EQ(again->Controller.Engine().FAccChar, '~');
    EXPECT_EQ(again->Controller.FOpenDialog.InitialDir, "/srv/lists");
    EXPECT_EQ(again->Controller.FSaveDialog.InitialDir, "/");
}

TEST_F(Settings, MissingOrMalformedValuesKeepWhatTheWindowHas)
{
    WriteIni("[quarnel window]\r\nLeft=  12\r\nTop=x\r\nWidth=$1F4\r\n"
             "[QUARNEL VIEW]\r\nColumn0=\r\nColumn1=-\r\nColumn2=0x2d\r\n"
             "[Quarnel Folders]\r\nOpen=/home/u/Lists/\r\nSave=" +
             std::string(3000, 'd') + "\r\n");
    const auto run = Start();
    EXPECT_EQ(run->Ui.Bounds, (TBounds{12, DesignBounds.Top, 500, DesignBounds.Height}));
    EXPECT_EQ(run->Ui.ColumnWidths, (std::map<int, int>{{0, 120}, {1, 120}, {2, 45}}));
    EXPECT_EQ(run->Controller.FOpenDialog.InitialDir, "/home/u/Lists");
    EXPECT_EQ(run->Controller.FSaveDialog.InitialDir, std::string(2047, 'd'));
}

TEST_F(Settings, AccCodeUsesTheLowEightBitsAndNeverACodeOfZero)
{
    // The marker before the file is read is '#', so a value that is ignored is plain to see.
    const std::vector<std::pair<std::string, char>> cases = {
        {"126", '~'}, {"0x7E", '~'}, {"$7e", '~'}, {"X7e", '~'}, {" +126", '~'},
        {"294", '&'}, {"-218", '&'}, {"0", '#'},   {"256", '#'}, {"0x100", '#'},
        {"", '#'},    {"abc", '#'},  {"12a", '#'},
    };
    for (const auto& [value, marker] : cases) {
        SCOPED_TRACE("AccCode=" + value);
        WriteIni("[Quarnel Settings]\r\nAccCode=" + value + "\r\n");
        const auto run = Start([](TRun& r) { r.Controller.Engine().FAccChar = '#'; });
        EXPECT_EQ(run->Controller.Engine().FAccChar, marker);
    }

    // A marker above 127 is written as the code 0 to 255, never as a negative number.
    const auto run = Start();
    run->Controller.Engine().FAccChar = static_cast<char>(0xE9);
    Close(*run);
    EXPECT_NE(ReadIni().find("[Quarnel Settings]\r\nAccCode=233\r\n"), std::string::npos);
}

TEST_F(Settings, MaximisedCloseKeepsTheWindowSectionAsTheLastNormalCloseWroteIt)
{
    const std::string window =
        "[Quarnel Window]\r\nLeft=100\r\nTop=80\r\nWidth=500\r\nHeight=400\r\n";
    WriteIni(window);
    {
        const auto run = Start();
        run->Ui.Normal = false;
        run->Ui.Bounds = {0, 0, 1024, 768};
        run->Controller.FOpenDialog.InitialDir = "/a";
        run->Controller.FSaveDialog.InitialDir = "/b";
        Close(*run);
    }
    EXPECT_EQ(ReadIni(), window + "[Quarnel View]\r\nColumn0=120\r\nColumn1=120\r\nColumn2=30\r\n"
                                  "[Quarnel Settings]\r\nAccCode=38\r\n"
                                  "[Quarnel Folders]\r\nOpen=/a\r\nSave=/b\r\n");
    EXPECT_EQ(Start()->Ui.Bounds, (TBounds{100, 80, 500, 400}));
}

TEST_F(Settings, RestoredBoundsAreBroughtOntoTheScreenAndWrittenBackAsTheyAre)
{
    WriteIni("[Quarnel Window]\r\nLeft=100\r\nTop=-99999\r\nWidth=500\r\n"
             "Height=2147483647\r\n");
    {
        const auto run = Start([](TRun& r) { r.Ui.Area = {0, 30, 1280, 994}; }); // a top panel
        EXPECT_EQ(run->Ui.Bounds, (TBounds{100, 30, 500, 994}));
    }
    {
        const auto run = Start();
        EXPECT_EQ(run->Ui.Bounds, (TBounds{100, 0, 500, 1024}));
        Close(*run);
    }
    EXPECT_NE(ReadIni().find("[Quarnel Window]\r\nLeft=100\r\nTop=0\r\nWidth=500\r\n"
                             "Height=1024\r\n"),
              std::string::npos);

    // Far off to the right and too small to use.
    WriteIni("[Quarnel Window]\r\nLeft=5000\r\nTop=80\r\nWidth=10\r\nHeight=-3\r\n");
    EXPECT_EQ(Start()->Ui.Bounds,
              (TBounds{1280 - DesignBounds.Width, 80, MinWindowWidth, MinWindowHeight}));
}

TEST_F(Settings, AWindowLargerThanItsScreenLeavesTheWindowSectionAlone)
{
    const std::string window =
        "[Quarnel Window]\r\nLeft=100\r\nTop=80\r\nWidth=500\r\nHeight=400\r\n";
    WriteIni(window);
    {
        // What a maximise undone half-way leaves: normal, at the maximised size plus a frame.
        const auto run = Start();
        run->Ui.Bounds = {0, 0, 1282, 1030};
        Close(*run);
    }
    EXPECT_EQ(ReadIni().substr(0, window.size()), window);
    {
        const auto run = Start();
        run->Ui.Bounds = {0, 0, 1280, 1024};
        Close(*run);
    }
    EXPECT_NE(ReadIni().find("Width=1280\r\nHeight=1024\r\n"), std::string::npos);
}

TEST_F(Settings, AFolderTheFileCannotHoldIsLeftOutAndTheRestIsWritten)
{
    const std::string odd = Folder() + "/two\nlines";
    {
        const auto run = Start();
        run->Controller.FOpenDialog.InitialDir = odd;
        run->Controller.FSaveDialog.InitialDir = "/b";
        run->Controller.Engine().FAccChar = '~';
        ASSERT_TRUE(run->Controller.FormCloseQuery());
        EXPECT_NO_THROW(run->Controller.FormClose());
    }
    const std::string written = ReadIni();
    EXPECT_NE(written.find("[Quarnel Settings]\r\nAccCode=126\r\n"
                           "[Quarnel Folders]\r\nSave=/b\r\n"),
              std::string::npos)
        << written;
    EXPECT_EQ(written.find("two"), std::string::npos);
    const auto again = Start();
    EXPECT_EQ(again->Controller.FOpenDialog.InitialDir, Home());
    EXPECT_EQ(again->Controller.FSaveDialog.InitialDir, "/b");
}

TEST_F(Settings, ASecondRefusedWriteShowsTheErrorAndLetsTheWindowClose)
{
    const std::string message = "Unable to write to " + FIniFileName;
    fs::create_directory(FIniFileName);
    const auto run = Start();
    EXPECT_THROW(run->Controller.FormClose(), EQuarnelError);
    EXPECT_TRUE(run->Ui.Messages.empty());
    EXPECT_NO_THROW(run->Controller.FormClose());
    ASSERT_EQ(run->Ui.Messages.size(), 1u);
    EXPECT_EQ(run->Ui.Messages[0], run->Controller.ErrorBox(message));

    // A write that succeeds in between makes the next refusal a first one again.
    const auto other = Start();
    EXPECT_THROW(other->Controller.FormClose(), EQuarnelError);
    fs::remove(FIniFileName);
    EXPECT_NO_THROW(other->Controller.FormClose());
    fs::remove(FIniFileName);
    fs::create_directory(FIniFileName);
    EXPECT_THROW(other->Controller.FormClose(), EQuarnelError);
    EXPECT_TRUE(other->Ui.Messages.empty());
}

TEST_F(Settings, ViewAndFoldersAreWrittenAfreshAndHandWrittenKeysGo)
{
    WriteIni("[Quarnel View]\r\n; widths\r\nColumn3=77\r\nColumn0=150\r\n"
             "[Quarnel Folders]\r\nLast=/x\r\nOpen=/a\r\nSave=/b\r\n");
    const auto run = Start();
    // Only the list's own columns are read.
    EXPECT_EQ(run->Ui.ColumnWidths, (std::map<int, int>{{0, 150}, {1, 120}, {2, 30}}));
    Close(*run);
    EXPECT_EQ(ReadIni(), "[Quarnel Window]\r\nLeft=192\r\nTop=107\r\nWidth=412\r\nHeight=317\r\n"
                         "[Quarnel View]\r\nColumn0=150\r\nColumn1=120\r\nColumn2=30\r\n"
                         "[Quarnel Settings]\r\nAccCode=38\r\n"
                         "[Quarnel Folders]\r\nOpen=/a\r\nSave=/b\r\n");
}

TEST_F(Settings, OtherProgramsSectionsAndCommentsSurviveByteForByte)
{
    const std::string head = "; shared by the whole family\r\n"
                             "[Other Tool Window]\r\n"
                             "Left = 3\n"
                             "\r\n";
    const std::string tail = "[Other Tool Settings]\n"
                             "Flag=\"on\"\r"
                             "Note=  spaced  ";
    WriteIni(head + "[Quarnel Settings]\r\nAccCode=38\r\nExtra=keep me\r\n" + tail);
    {
        const auto run = Start();
        run->Controller.Engine().FAccChar = '~';
        run->Controller.FOpenDialog.InitialDir = "/a";
        run->Controller.FSaveDialog.InitialDir = "/b";
        Close(*run);
    }
    EXPECT_EQ(ReadIni(),
              head + "[Quarnel Settings]\r\nAccCode=126\r\nExtra=keep me\r\n" + tail +
                  "\r\n"
                  "[Quarnel Window]\r\nLeft=192\r\nTop=107\r\nWidth=412\r\nHeight=317\r\n"
                  "[Quarnel View]\r\nColumn0=120\r\nColumn1=120\r\nColumn2=30\r\n"
                  "[Quarnel Folders]\r\nOpen=/a\r\nSave=/b\r\n");
}

TEST_F(Settings, ARefusedWriteRaisesTheMessageAndLeavesTheOldFileIntact)
{
    const std::string message = "Unable to write to " + FIniFileName;
    const std::string original =
        "[Other Tool Window]\r\nLeft=3\r\n[Quarnel View]\r\nColumn0=99\r\n";
    WriteIni(original);
    {
        const auto run = Start();
        // Far more than the limit below, so the new contents cannot be written.
        run->Controller.FOpenDialog.InitialDir = "/" + std::string(8000, 'd');
        const TFileSizeLimit limit(4096);
        try {
            run->Controller.FormClose();
            ADD_FAILURE() << "the write was not refused";
        } catch (const EQuarnelError& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
    EXPECT_EQ(ReadIni(), original);
    EXPECT_EQ(fs::directory_iterator(Folder())->path().filename(), "QuarnelApps.ini");

    // Something else standing at the file's place is never replaced.
    fs::remove(FIniFileName);
    fs::create_directory(FIniFileName);
    const auto run = Start();
    try {
        run->Controller.FormClose();
        ADD_FAILURE() << "the write was not refused";
    } catch (const EQuarnelError& error) {
        EXPECT_EQ(error.what(), message);
    }
    EXPECT_TRUE(fs::is_directory(FIniFileName));
}

TEST_F(Settings, TheFolderOfAnOpenedListIsWhereTheNextStartOpens)
{
    const std::string lists = Folder() + "/lists";
    fs::create_directory(lists);
    WriteBytes(lists + "/menu.lst", "File\r\nEdit\r\n");
    {
        const auto run = Start();
        run->Ui.OpenDialogAnswers = {lists + "/menu.lst"};
        ASSERT_TRUE(run->Controller.Execute(TCommandId::FileOpen));
        Close(*run);
    }
    const auto again = Start();
    again->Ui.OpenDialogAnswers = {std::nullopt};
    ASSERT_TRUE(again->Controller.Execute(TCommandId::FileOpen));
    ASSERT_EQ(again->Ui.OpenDialogStates.size(), 1u);
    EXPECT_EQ(again->Ui.OpenDialogStates[0].InitialDir, lists);
    // The save dialog was never used, so it still starts in the user's folder.
    EXPECT_EQ(again->Controller.FSaveDialog.InitialDir, Home());
}

TEST(SettingsAbout, ShowsTheFamilyMessageWithAnInformationIcon)
{
    TFakeUserInterface ui;
    TMainController controller(ui);
    controller.FormCreate("Quarnel 1.0");
    controller.FormShow();
    ASSERT_TRUE(controller.Execute(TCommandId::HelpAbout));
    ASSERT_EQ(ui.Messages.size(), 1u);
    const TMessage expected{"About",
                            "Quarnel 1.0\r\rAn easy way to determine accelerator keys.\r\r"
                            "Web site: https://quarnel.example.org\r"
                            "E-mail: quarnel@quarnel.example.org\r\r"
                            "Copyright (c) 2003 The Quarnel developers",
                            TMessageIcon::Information,
                            {TMessageButton::Ok},
                            TMessageButton::Ok};
    EXPECT_EQ(ui.Messages[0], expected);

    controller.ShowAboutBox("Another tool.", 2003, 2005);
    EXPECT_NE(ui.Messages[1].Text.find("Another tool.\r\r"), std::string::npos);
    EXPECT_NE(ui.Messages[1].Text.find("(c) 2003-2005 "), std::string::npos);
}
