// The window's logic driven through a scripted user interface: when commands may run, what a
// processing pass shows and leaves behind, and the form's life.
#include "MainController.h"

#include "FakeUserInterface.h"
#include "QuarnelError.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using TLines = std::vector<std::string>;

const std::vector<std::string> PassEvents = {
    "busy",
    std::string("stage:") + StageInitializing,
    std::string("stage:") + StageFindingCaptions,
    std::string("stage:") + StageFindingCombination,
    "idle",
};

class MainControllerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        // Settings live in a folder of the test's own, whatever the form does with them.
        FController.SetIniFileName(FDir.filePath(QStringLiteral("QuarnelApps.ini")).toStdString());
        FController.FormCreate("Quarnel 1.0");
    }

    std::string WriteList(const TLines& lines)
    {
        const std::string path = FDir.filePath(QStringLiteral("menu.lst")).toStdString();
        WriteCrlfLines(path, lines);
        return path;
    }

    void Load(const TLines& lines) { FController.Document().LoadCaptionFile(WriteList(lines)); }

    TLines Column(int column) const
    {
        TLines texts;
        const TEntryModel& model = FController.Document().Model();
        for (int row = 0; row < model.Count(); ++row)
            texts.push_back(model.index(row, column).data().toString().toStdString());
        return texts;
    }

    QTemporaryDir FDir;
    TFakeUserInterface FUi;
    TMainController FController{FUi};
};

} // namespace

TEST_F(MainControllerTest, FormCreateStartsAnUntitledDocumentWithTheDefaultMarker)
{
    EXPECT_EQ(FController.AppTitle(), "Quarnel 1.0");
    EXPECT_EQ(FController.Document().FileName(), "Untitled.lst");
    EXPECT_FALSE(FController.Document().Modified());
    EXPECT_EQ(FController.Document().Count(), 0);
    EXPECT_EQ(FController.Engine().FAccChar, '&');
    EXPECT_EQ(FController.Engine().PosResults(), nullptr);
    EXPECT_EQ(FController.ActFileNewUpdate().Title, "Quarnel 1.0 - [Untitled.lst]");
}

TEST_F(MainControllerTest, CommandsAreInertUntilTheFormIsShown)
{
    Load({"File", "Edit", "Format"});
    FController.Document().SelectRows(1, 1);
    for (const TCommandInfo& command : CommandTable) {
        EXPECT_FALSE(FController.IsEnabled(command.Id)) << command.Name;
        EXPECT_FALSE(FController.Execute(command.Id)) << command.Name;
    }
    EXPECT_TRUE(FUi.Events.empty());
    EXPECT_EQ(FUi.CloseRequests, 0);
    EXPECT_EQ(Column(TEntryModel::ColOriginal), (TLines{"File", "Edit", "Format"}));
    EXPECT_EQ(Column(TEntryModel::ColAccelerated), (TLines{"", "", ""}));
    EXPECT_FALSE(FController.Document().Modified());

    FController.FormShow();
    EXPECT_TRUE(FController.IsLive());
    EXPECT_TRUE(FController.Execute(TCommandId::FileExit));
    EXPECT_EQ(FUi.CloseRequests, 1);
}

TEST_F(MainControllerTest, DisabledCommandsDoNothingWhenExecuted)
{
    FController.FormShow();
    for (const TCommandId id :
         {TCommandId::FileSave, TCommandId::FileSaveAs, TCommandId::FileProcess,
          TCommandId::EditEdit, TCommandId::EditDelete, TCommandId::EditSelectAll,
          TCommandId::EditClear, TCommandId::EditCopy, TCommandId::EditMoveUp,
          TCommandId::EditMoveDown})
        EXPECT_FALSE(FController.Execute(id)) << CommandInfo(id).Name;
    EXPECT_TRUE(FUi.Events.empty()); // no dialog, no prompt, no pass
    EXPECT_TRUE(FUi.Clipboard.empty());
    EXPECT_EQ(FUi.Sounds, 0);

    // The last entry can't move down: the list stays as it is.
    Load({"a", "b", "c"});
    FController.Document().SelectRows(2, 2);
    EXPECT_FALSE(FController.Execute(TCommandId::EditMoveDown));
    EXPECT_EQ(Column(TEntryModel::ColOriginal), (TLines{"a", "b", "c"}));
    EXPECT_TRUE(FController.Execute(TCommandId::EditMoveUp));
    EXPECT_EQ(Column(TEntryModel::ColOriginal), (TLines{"a", "c", "b"}));
}

TEST_F(MainControllerTest, CommandStateFollowsTheDocumentsSelectionAndSize)
{
    FController.FormShow();
    Load({"a", "b", "c"});
    FController.Document().SelectRows(1, 2);
    TCommandState state = FController.ActFileNewUpdate();
    EXPECT_EQ(state.Position, "2: 3");
    EXPECT_TRUE(state.IsEnabled(TCommandId::EditMoveUp));
    EXPECT_FALSE(state.IsEnabled(TCommandId::EditMoveDown));
    EXPECT_EQ(state.Title, "Quarnel 1.0 - [menu.lst]");

    // A new last row is not selected, so Down becomes possible.
    FController.Document().AddCaption("d");
    state = FController.ActFileNewUpdate();
    EXPECT_EQ(state.Position, "2: 4");
    EXPECT_TRUE(state.IsEnabled(TCommandId::EditMoveDown));
    EXPECT_EQ(state.Title, "Quarnel 1.0 - [menu.lst*]");

    FController.Document().Selection().clearSelection();
    state = FController.ActFileNewUpdate();
    EXPECT_EQ(state.Position, "0: 4");
    EXPECT_FALSE(state.IsEnabled(TCommandId::EditEdit));
}

TEST_F(MainControllerTest, ProcessAcceleratesEveryEntryWithoutModifyingTheDocument)
{
    FController.FormShow();
    Load({"File", "Edit", "Format"});
    ASSERT_TRUE(FController.Execute(TCommandId::FileProcess));
    EXPECT_EQ(Column(TEntryModel::ColAccelerated), (TLines{"&File", "&Edit", "F&ormat"}));
    EXPECT_EQ(Column(TEntryModel::ColKey), (TLines{"F", "E", "O"}));
    EXPECT_EQ(Column(TEntryModel::ColOriginal), (TLines{"File", "Edit", "Format"}));
    EXPECT_FALSE(FController.Document().Modified());
    EXPECT_EQ(FController.ActFileNewUpdate().Title, "Quarnel 1.0 - [menu.lst]");
    EXPECT_EQ(FUi.Events, PassEvents);
    EXPECT_FALSE(FUi.Busy);
}

TEST_F(MainControllerTest, ImpossibleListRaisesTheMessageAndKeepsEarlierResults)
{
    FController.FormShow();
    Load({"A", "B"});
    ASSERT_TRUE(FController.Execute(TCommandId::FileProcess));
    FUi.Events.clear();

    FController.Document().AddCaption("a"); // only key A again
    try {
        FController.Execute(TCommandId::FileProcess);
        FAIL() << "the pass succeeded";
    } catch (const EQuarnelError& error) {
        EXPECT_STREQ(error.what(), "Unable to get best captions combination.");
    }
    EXPECT_EQ(Column(TEntryModel::ColAccelerated), (TLines{"&A", "&B", ""}));
    EXPECT_EQ(Column(TEntryModel::ColKey), (TLines{"A", "B", ""}));
    // Idle is reported after a failure just as after success.
    EXPECT_EQ(FUi.Events, PassEvents);
    EXPECT_FALSE(FUi.Busy);

    const TMessage box = FController.ErrorBox("Unable to get best captions combination.");
    EXPECT_EQ(box.Caption, "Error");
    EXPECT_EQ(box.Text, "Unable to get best captions combination.");
    EXPECT_EQ(box.Icon, TMessageIcon::Error);
    EXPECT_EQ(box.Buttons, std::vector<TMessageButton>{TMessageButton::Ok});
}

TEST_F(MainControllerTest, TheFormsLifeEndsWithTheChainFreed)
{
    FController.FormShow();
    Load({"File", "Edit"});
    ASSERT_TRUE(FController.Execute(TCommandId::FileProcess));
    EXPECT_NE(FController.Engine().PosResults(), nullptr);
    ASSERT_TRUE(FController.FormCloseQuery());
    FController.FormClose();
    FController.FormDestroy();
    EXPECT_EQ(FController.Engine().PosResults(), nullptr);
}
