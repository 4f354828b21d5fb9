// New, Open, Save and Save As with the save-changes prompt, driven through a scripted user
// interface against real files in a folder of the test's own.
#include "FakeUserInterface.h"
#include "MainController.h"
#include "PathParts.h"
#include "QuarnelError.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using TLines = std::vector<std::string>;

const std::string UntitledPrompt = "\"Untitled.lst\" has been modified.\r\rSave changes?";

// What a command may change: the entries, the file name and the modified flag.
struct TDocumentCheck
{
    TLines Captions;
    std::string FileName;
    bool Modified = false;

    bool operator==(const TDocumentCheck&) const = default;
    friend void PrintTo(const TDocumentCheck& check, std::ostream* out)
    {
        *out << "{";
        for (const std::string& caption : check.Captions)
            *out << "'" << caption << "' ";
        *out << "in " << check.FileName << (check.Modified ? ", modified}" : "}");
    }
};

class FileCommands : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        FController.SetIniFileName(Path("QuarnelApps.ini"));
        FController.FormCreate("Quarnel 1.0");
        FController.FormShow();
    }

    std::string Path(const std::string& name) const
    {
        return FDir.filePath(QString::fromStdString(name)).toStdString();
    }

    std::string WriteList(const std::string& name, const TLines& lines) const
    {
        const std::string path = Path(name);
        fs::create_directories(fs::path(path).parent_path());
        WriteCrlfLines(path, lines);
        return path;
    }

    TLines Captions() const
    {
        TLines texts;
        const TEntryModel& model = FController.Document().Model();
        for (int row = 0; row < model.Count(); ++row)
            texts.push_back(
                model.index(row, TEntryModel::ColOriginal).data().toString().toStdString());
        return texts;
    }

    // Opens a list through the command and its dialog, as the user would.
    void Open(const std::string& path)
    {
        FUi.OpenDialogAnswers.push_back(path);
        ASSERT_TRUE(FController.Execute(TCommandId::FileOpen));
    }

    TDocumentCheck State() const
    {
        return {Captions(), FController.Document().FileName(), FController.Document().Modified()};
    }

    void Add(const std::string& caption) { FController.Document().AddCaption(caption); }
    std::string Title() const { return FController.ActFileNewUpdate().Title; }

    QTemporaryDir FDir;
    TFakeUserInterface FUi;
    TMainController FController{FUi};
};

} // namespace

using enum TCommandId;
using enum TMessageButton;

TEST_F(FileCommands, NewWithoutChangesClearsTheListWithoutAPrompt)
{
    Open(WriteList("a.lst", {"File", "Edit"}));
    ASSERT_EQ(State(), (TDocumentCheck{{"File", "Edit"}, Path("a.lst"), false}));

    EXPECT_TRUE(FController.Execute(FileNew));
    EXPECT_TRUE(FUi.Messages.empty());
    EXPECT_EQ(State(), (TDocumentCheck{{}, "Untitled.lst", false}));
    EXPECT_EQ(Title(), "Quarnel 1.0 - [Untitled.lst]");
}

TEST_F(FileCommands, PromptNamesTheDocumentAsItIsAndOffersYesNoCancelWithYesAsDefault)
{
    Add("File");
    FUi.MessageAnswers = {Cancel};
    FController.Execute(FileNew);
    ASSERT_EQ(FUi.Messages.size(), 1u);
    const TMessage expected{
        "Warning", UntitledPrompt, TMessageIcon::Warning, {Yes, No, Cancel}, Yes};
    EXPECT_EQ(FUi.Messages[0], expected);
    EXPECT_EQ(State(), (TDocumentCheck{{"File"}, "Untitled.lst", true}));

    // A named document is named by its full path, not by the part the title shows.
    const std::string path = WriteList("lists/menu.lst", {"Open"});
    FUi.MessageAnswers = {No};
    Open(path);
    Add("Save");
    FUi.MessageAnswers = {Cancel};
    FController.Execute(FileNew);
    EXPECT_EQ(FUi.Messages.back().Text, "\"" + path + "\" has been modified.\r\rSave changes?");
    EXPECT_EQ(State(), (TDocumentCheck{{"Open", "Save"}, path, true}));
}

TEST_F(FileCommands, OpenOnAModifiedDocumentAsksAfterTheDialogAndCancelLoadsNothing)
{
    const std::string first = WriteList("a.lst", {"File", "Edit"});
    Open(first);
    Add("View");
    const std::string folderBefore = FController.FOpenDialog.InitialDir;
    FUi.Events.clear();

    FUi.MessageAnswers = {Cancel};
    Open(WriteList("other/b.lst", {"Help"}));
    EXPECT_EQ(FUi.Events, (std::vector<std::string>{"open-dialog", "message:Warning"}));
    EXPECT_EQ(State(), (TDocumentCheck{{"File", "Edit", "View"}, first, true}));
    EXPECT_EQ(FController.FOpenDialog.InitialDir, folderBefore);
}

TEST_F(FileCommands, OpenOnAModifiedDocumentAnsweredNoLoadsTheChosenFile)
{
    const std::string first = WriteList("a.lst", {"File", "Edit"});
    Open(first);
    Add("View");

    FUi.MessageAnswers = {No};
    const std::string second = WriteList("other/b.lst", {"Help"});
    Open(second);
    EXPECT_EQ(State(), (TDocumentCheck{{"Help"}, second, false}));
    EXPECT_EQ(FController.FOpenDialog.InitialDir, Path("other"));
    EXPECT_EQ(ReadBytes(first), "File\r\nEdit\r\n");
}

// The load that No made way for fails: the edits are still in the window and still guarded.
TEST_F(FileCommands, AFailedOpenAfterNoKeepsTheEditsModified)
{
    const std::string first = WriteList("a.lst", {"File", "Edit"});
    Open(first);
    Add("View");
    const std::string fifo = Path("pipe.lst");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    FUi.MessageAnswers = {No};
    EXPECT_THROW(Open(fifo), EQuarnelError);
    EXPECT_EQ(State(), (TDocumentCheck{{"File", "Edit", "View"}, first, true}));
    EXPECT_EQ(Title(), "Quarnel 1.0 - [a.lst*]");
    FUi.MessageAnswers = {Cancel};
    EXPECT_FALSE(FController.FormCloseQuery());
    EXPECT_EQ(FUi.Messages.size(), 2u);

    // Saved through Yes, the edits are on disk: a failed load leaves nothing to guard.
    FUi.MessageAnswers = {Yes};
    EXPECT_THROW(Open(fifo), EQuarnelError);
    EXPECT_EQ(ReadBytes(first), "File\r\nEdit\r\nView\r\n");
    EXPECT_EQ(State(), (TDocumentCheck{{"File", "Edit", "View"}, first, false}));
}

TEST_F(FileCommands, OpenDialogStartsWhereTheLastListCameFromAndProposesItsName)
{
    const std::string path = WriteList("lists/menu.lst", {"File"});
    Open(path);

    FUi.OpenDialogAnswers = {std::nullopt};
    EXPECT_TRUE(FController.Execute(FileOpen));
    ASSERT_EQ(FUi.OpenDialogStates.size(), 2u);
    EXPECT_EQ(FUi.OpenDialogStates[1].InitialDir, Path("lists"));
    EXPECT_EQ(FUi.OpenDialogStates[1].FileName, path);
    // A cancelled dialog asks nothing and changes nothing.
    EXPECT_TRUE(FUi.Messages.empty());
    EXPECT_EQ(State(), (TDocumentCheck{{"File"}, path, false}));
}

TEST_F(FileCommands, YesOnAnUntitledDocumentThenACancelledSaveDialogStopsTheCaller)
{
    const std::string other = WriteList("b.lst", {"Help"});
    Add("File");
    const std::vector<std::pair<std::string, std::function<void()>>> callers = {
        {"New", [this] { FController.Execute(FileNew); }},
        {"Open", [this, &other] { Open(other); }},
        {"close", [this] { EXPECT_FALSE(FController.FormCloseQuery()); }},
    };
    for (const auto& [name, run] : callers) {
        SCOPED_TRACE(name);
        FUi.MessageAnswers = {Yes};
        FUi.SaveDialogAnswers = {std::nullopt};
        const std::size_t dialogsBefore = FUi.SaveDialogStates.size();
        run();
        ASSERT_EQ(FUi.SaveDialogStates.size(), dialogsBefore + 1);
        EXPECT_EQ(FUi.SaveDialogStates.back().FileName, "Untitled.lst");
        EXPECT_EQ(State(), (TDocumentCheck{{"File"}, "Untitled.lst", true}));
    }
    EXPECT_EQ(ReadBytes(other), "Help\r\n");
}

TEST_F(FileCommands, YesOnANamedDocumentSavesInPlaceAndTheCallerGoesOn)
{
    const std::string path = WriteList("a.lst", {"File"});
    Open(path);
    Add("Edit");
    FUi.MessageAnswers = {Yes};
    EXPECT_TRUE(FController.FormCloseQuery());
    EXPECT_EQ(ReadBytes(path), "File\r\nEdit\r\n");

    Add("View");
    FUi.MessageAnswers = {Yes};
    FController.Execute(FileNew);
    EXPECT_EQ(ReadBytes(path), "File\r\nEdit\r\nView\r\n");
    EXPECT_EQ(State(), (TDocumentCheck{{}, "Untitled.lst", false}));
    EXPECT_TRUE(FUi.SaveDialogStates.empty());
}

TEST_F(FileCommands, AFailedSaveFromThePromptEndsTheCallerWithTheError)
{
    const std::string path = WriteList("a.lst", {"File"});
    Open(path);
    Add("Edit");
    // A folder now stands where the list was.
    fs::remove(path);
    fs::create_directory(path);

    FUi.MessageAnswers = {Yes};
    EXPECT_THROW(FController.Execute(FileNew), EQuarnelError);
    EXPECT_EQ(State(), (TDocumentCheck{{"File", "Edit"}, path, true}));
    FUi.MessageAnswers = {Yes};
    EXPECT_THROW(FController.FormCloseQuery(), EQuarnelError);
    EXPECT_EQ(State(), (TDocumentCheck{{"File", "Edit"}, path, true}));
}

TEST_F(FileCommands, AfterClearYesSavesNothingAndOnlyNoStartsTheNewDocument)
{
    const std::string path = WriteList("a.lst", {"File", "Edit"});
    Open(path);
    FUi.MessageAnswers = {Yes}; // the question of Clear
    ASSERT_TRUE(FController.Execute(EditClear));
    ASSERT_EQ(State(), (TDocumentCheck{{}, path, true}));

    FUi.MessageAnswers = {Yes};
    FController.Execute(FileNew);
    EXPECT_EQ(FUi.Messages.size(), 2u);
    EXPECT_EQ(FUi.Messages.back().Caption, "Warning");
    EXPECT_TRUE(FUi.SaveDialogStates.empty());
    EXPECT_EQ(State(), (TDocumentCheck{{}, path, true}));
    EXPECT_EQ(ReadBytes(path), "File\r\nEdit\r\n");

    FUi.MessageAnswers = {No};
    FController.Execute(FileNew);
    EXPECT_EQ(State(), (TDocumentCheck{{}, "Untitled.lst", false}));
    EXPECT_EQ(ReadBytes(path), "File\r\nEdit\r\n");
}

TEST_F(FileCommands, SaveOfAnUntitledDocumentAsksForANameOnceThenSavesInPlace)
{
    Add("File");
    const std::string path = Path("menus.lst");
    FUi.SaveDialogAnswers = {path};
    ASSERT_TRUE(FController.Execute(FileSave));
    ASSERT_EQ(FUi.SaveDialogStates.size(), 1u);
    EXPECT_EQ(FUi.SaveDialogStates[0].FileName, "Untitled.lst");
    EXPECT_EQ(ReadBytes(path), "File\r\n");
    EXPECT_EQ(State(), (TDocumentCheck{{"File"}, path, false}));
    EXPECT_EQ(Title(), "Quarnel 1.0 - [menus.lst]");
    EXPECT_EQ(FController.FSaveDialog.InitialDir, FDir.path().toStdString());

    Add("Edit");
    EXPECT_EQ(Title(), "Quarnel 1.0 - [menus.lst*]");
    ASSERT_TRUE(FController.Execute(FileSave));
    EXPECT_EQ(FUi.SaveDialogStates.size(), 1u);
    EXPECT_EQ(ReadBytes(path), "File\r\nEdit\r\n");
    EXPECT_EQ(State(), (TDocumentCheck{{"File", "Edit"}, path, false}));

    // Save As proposes the document's own path.
    FUi.SaveDialogAnswers = {std::nullopt};
    ASSERT_TRUE(FController.Execute(FileSaveAs));
    EXPECT_EQ(FUi.SaveDialogStates.back().FileName, path);
}

TEST_F(FileCommands, SaveAsOfANamedDocumentStartsBesideItsFileNotInTheLastSaveFolder)
{
    Add("File");
    FUi.SaveDialogAnswers = {Path("c/elsewhere.lst")};
    fs::create_directories(Path("c"));
    ASSERT_TRUE(FController.Execute(FileSaveAs));
    ASSERT_EQ(FController.FSaveDialog.InitialDir, Path("c"));

    const std::string path = WriteList("a/menu.lst", {"Open"});
    Open(path);
    FUi.SaveDialogAnswers = {std::nullopt};
    ASSERT_TRUE(FController.Execute(FileSaveAs));
    EXPECT_EQ(FUi.SaveDialogStates.back().InitialDir, Path("a"));
    EXPECT_EQ(FUi.SaveDialogStates.back().FileName, path);
    // Looking is not saving: the folder the dialog remembers stays.
    EXPECT_EQ(FController.FSaveDialog.InitialDir, Path("c"));

    // An untitled document still proposes its name in the save folder.
    ASSERT_TRUE(FController.Execute(FileNew));
    Add("Edit");
    FUi.SaveDialogAnswers = {std::nullopt};
    ASSERT_TRUE(FController.Execute(FileSave));
    EXPECT_EQ(FUi.SaveDialogStates.back().InitialDir, Path("c"));
    EXPECT_EQ(FUi.SaveDialogStates.back().FileName, "Untitled.lst");
}

TEST_F(FileCommands, OnlyTheExactUntitledNameMakesSaveAskForAName)
{
    // A list that is called Untitled.lst on disk is a named document all the same.
    const std::string path = WriteList("Untitled.lst", {"File"});
    Open(path);
    Add("Edit");
    ASSERT_TRUE(FController.Execute(FileSave));
    EXPECT_TRUE(FUi.SaveDialogStates.empty());
    EXPECT_EQ(ReadBytes(path), "File\r\nEdit\r\n");
}

TEST_F(FileCommands, AFailedLoadOrSaveChangesNothingAndKeepsTheDialogFolders)
{
    const std::string path = WriteList("a.lst", {"File"});
    Open(path);
    const std::string openFolder = FController.FOpenDialog.InitialDir;
    const std::string saveFolder = FController.FSaveDialog.InitialDir;
    const std::string blocked = Path("blocked/in-the-way.lst");
    fs::create_directories(blocked);

    EXPECT_THROW(Open(blocked), EQuarnelError);
    EXPECT_EQ(State(), (TDocumentCheck{{"File"}, path, false}));
    EXPECT_EQ(FController.FOpenDialog.InitialDir, openFolder);

    Add("Edit");
    FUi.SaveDialogAnswers = {blocked};
    EXPECT_THROW(FController.Execute(FileSaveAs), EQuarnelError);
    EXPECT_EQ(State(), (TDocumentCheck{{"File", "Edit"}, path, true}));
    EXPECT_EQ(FController.FSaveDialog.InitialDir, saveFolder);
    EXPECT_EQ(ReadBytes(path), "File\r\n");
}

TEST(FileCommandsDialogFolder, DropsOneTrailingDelimiterButKeepsTheRoot)
{
    EXPECT_EQ(DialogFolder("/home/u/Lists/"), "/home/u/Lists");
    EXPECT_EQ(DialogFolder("/home/u/Lists"), "/home/u/Lists");
    EXPECT_EQ(DialogFolder("/"), "/");
    EXPECT_EQ(DialogFolder(""), "");
}
