// The editing commands as the window's logic runs them: through the command table with a
// shown form, answering the scripted dialogs and message boxes.
#include "CaptionLists.h"
#include "FakeUserInterface.h"
#include "MainController.h"
#include "QuarnelError.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using enum TCommandId;

class EditingCommandsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        FController.SetIniFileName(FDir.filePath(QStringLiteral("QuarnelApps.ini")).toStdString());
        FController.FormCreate("Quarnel 1.0");
        FController.FormShow();
    }

    TCaptionDocument& Document() { return FController.Document(); }

    // Entries as if typed and saved: unmodified, nothing selected.
    void Fill(const TLines& captions) { FillDocument(Document(), captions); }
    void Select(std::initializer_list<int> rows) { SelectDocumentRows(Document(), rows); }

    void Process() { ASSERT_TRUE(FController.Execute(FileProcess)); }

    // Adds through the command with this answer in the input dialog.
    void Add(std::optional<std::string> answer)
    {
        FUi.CaptionAnswers.push_back(std::move(answer));
        ASSERT_TRUE(FController.Execute(EditAdd));
    }

    // The message of the error Add raises for this answer; empty when it raises none.
    std::string AddError(std::string answer)
    {
        try {
            Add(std::move(answer));
        } catch (const EQuarnelError& error) {
            return error.what();
        }
        return {};
    }

    TLines Originals() const { return OriginalsOf(FController.Document()); }
    TLines SelectedOriginals() const { return SelectedOriginalsOf(FController.Document()); }

    QTemporaryDir FDir;
    TFakeUserInterface FUi;
    TMainController FController{FUi};
};

TEST_F(EditingCommandsTest, AddTrimsTheAnswerAndAppendsAnUnprocessedEntry)
{
    Fill({"File"});
    Process();
    Add("  Open  ");
    Add("\t\x01Save && Exit\r\n");
    EXPECT_EQ(Originals(), (TLines{"File", "Open", "Save && Exit"}));
    EXPECT_EQ(Document().Model().At(0).Accelerated, "&File");
    for (const int row : {1, 2}) {
        EXPECT_EQ(Document().Model().At(row).Accelerated, "") << row;
        EXPECT_EQ(Document().Model().At(row).Key, 0) << row;
    }
    EXPECT_TRUE(Document().Modified());
    EXPECT_TRUE(FUi.Messages.empty());
}

TEST_F(EditingCommandsTest, AddAllowsEqualCaptions)
{
    Add("Open");
    Add("Open");
    Add(" Open");
    EXPECT_EQ(Originals(), (TLines{"Open", "Open", "Open"}));
}

TEST_F(EditingCommandsTest, AddRefusesAnInvalidCaptionWithItsTrimmedText)
{
    Fill({"File"});
    EXPECT_EQ(AddError("A&B"), "Invalid caption \"A&B\".");
    EXPECT_EQ(AddError("  A&B  "), "Invalid caption \"A&B\".");
    EXPECT_EQ(AddError("   "), "Invalid caption \"\".");
    EXPECT_EQ(AddError(""), "Invalid caption \"\".");
    EXPECT_EQ(AddError("Trailing&"), "Invalid caption \"Trailing&\".");
    EXPECT_EQ(Originals(), TLines{"File"});
    EXPECT_FALSE(Document().Modified());
}

TEST_F(EditingCommandsTest, AddChecksAgainstTheCurrentMarker)
{
    FController.Engine().FAccChar = '~';
    EXPECT_EQ(AddError("A&B"), "");
    EXPECT_EQ(AddError("A~B"), "Invalid caption \"A~B\".");
    EXPECT_EQ(Originals(), TLines{"A&B"});
}

TEST_F(EditingCommandsTest, CancelledAddChangesNothing)
{
    Fill({"File"});
    Add(std::nullopt);
    EXPECT_EQ(Originals(), TLines{"File"});
    EXPECT_FALSE(Document().Modified());
    EXPECT_EQ(FUi.Events, TLines{"ask-caption"});
}

TEST_F(EditingCommandsTest, EditStartsInPlaceEditingOfTheFirstSelectedRow)
{
    Fill({"a", "b", "c", "d"});
    EXPECT_FALSE(FController.Execute(EditEdit)); // nothing selected
    Select({3, 1, 2});
    EXPECT_TRUE(FController.Execute(EditEdit));
    EXPECT_EQ(FUi.Events, TLines{"edit:1"});
    // Only an accepted edit modifies; starting one does not.
    EXPECT_FALSE(Document().Modified());
}

TEST_F(EditingCommandsTest, DeleteRemovesOnlyTheTopmostSelectedEntry)
{
    Fill({"a", "b", "c", "d", "e"});
    Select({4, 1, 3});
    EXPECT_TRUE(FController.Execute(EditDelete));
    EXPECT_EQ(Originals(), (TLines{"a", "c", "d", "e"}));
    EXPECT_EQ(SelectedOriginals(), (TLines{"d", "e"}));
    EXPECT_TRUE(Document().Modified());
    EXPECT_TRUE(FUi.Messages.empty()); // no confirmation
}

TEST_F(EditingCommandsTest, SelectAllSelectsEveryEntryWithoutModifying)
{
    Fill({"a", "b", "c"});
    Select({1});
    EXPECT_TRUE(FController.Execute(EditSelectAll));
    EXPECT_EQ(SelectedOriginals(), (TLines{"a", "b", "c"}));
    EXPECT_FALSE(Document().Modified());
    EXPECT_EQ(FController.ActFileNewUpdate().Position, "1: 3");
}

TEST_F(EditingCommandsTest, ClearAsksAndRemovesEverythingOnlyOnYes)
{
    Fill({"a", "b"});
    Document().SetFileName("/lists/menu.lst");
    const TMessage question{"Confirm",
                            "Are you sure to clear?",
                            TMessageIcon::Question,
                            {TMessageButton::Yes, TMessageButton::No},
                            TMessageButton::No};

    FUi.MessageAnswers.push_back(TMessageButton::No);
    EXPECT_TRUE(FController.Execute(EditClear));
    EXPECT_EQ(Originals(), (TLines{"a", "b"}));
    EXPECT_FALSE(Document().Modified());

    FUi.MessageAnswers.push_back(TMessageButton::Yes);
    EXPECT_TRUE(FController.Execute(EditClear));
    EXPECT_TRUE(Originals().empty());
    EXPECT_TRUE(Document().Modified());
    EXPECT_EQ(Document().FileName(), "/lists/menu.lst");

    EXPECT_EQ(FUi.Messages, (std::vector<TMessage>{question, question}));
    EXPECT_FALSE(FController.IsEnabled(EditClear)); // nothing left to clear
}

TEST_F(EditingCommandsTest, CopyPutsTheFirstSelectedResultOnTheClipboardThenSounds)
{
    Fill({"File", "Edit", "View"});
    Select({2, 1});
    EXPECT_TRUE(FController.Execute(EditCopy));
    Process();
    EXPECT_TRUE(FController.Execute(EditCopy));
    EXPECT_EQ(FUi.Clipboard, (TLines{"", "&Edit"}));
    EXPECT_EQ(FUi.Sounds, 2);
    EXPECT_FALSE(Document().Modified());
}

TEST_F(EditingCommandsTest, CopyWithoutSelectionIsDisabled)
{
    Fill({"File"});
    Process();
    EXPECT_FALSE(FController.Execute(EditCopy));
    EXPECT_TRUE(FUi.Clipboard.empty());
    EXPECT_EQ(FUi.Sounds, 0);
}

TEST_F(EditingCommandsTest, UpMovesSelectedBlocksAndKeepsThemSelected)
{
    Fill({"a", "b", "c", "d", "e", "f"});
    Select({1, 2, 4});
    EXPECT_TRUE(FController.Execute(EditMoveUp));
    EXPECT_EQ(Originals(), (TLines{"b", "c", "a", "e", "d", "f"}));
    EXPECT_EQ(SelectedOriginals(), (TLines{"b", "c", "e"}));
    EXPECT_TRUE(Document().Modified());
    // The block has reached the top: Up would push it past the end.
    EXPECT_FALSE(FController.Execute(EditMoveUp));
    EXPECT_EQ(Originals(), (TLines{"b", "c", "a", "e", "d", "f"}));
}

TEST_F(EditingCommandsTest, DownMovesEachSelectedEntryPastItsNeighbour)
{
    Fill({"a", "b", "c", "d"});
    Select({0, 2});
    EXPECT_TRUE(FController.Execute(EditMoveDown));
    EXPECT_EQ(Originals(), (TLines{"b", "a", "d", "c"}));
    EXPECT_EQ(SelectedOriginals(), (TLines{"a", "c"}));
    EXPECT_TRUE(Document().Modified());
    EXPECT_FALSE(FController.Execute(EditMoveDown));
    EXPECT_TRUE(FController.Execute(EditMoveUp));
    EXPECT_EQ(Originals(), (TLines{"a", "b", "c", "d"}));
}

TEST_F(EditingCommandsTest, MovesCarryResultsAndMarkTheTitle)
{
    Fill({"File", "Edit", "View"});
    Process();
    Select({1});
    EXPECT_EQ(FController.ActFileNewUpdate().Title, "Quarnel 1.0 - [Untitled.lst]");
    EXPECT_TRUE(FController.Execute(EditMoveDown));
    EXPECT_TRUE(FController.Execute(EditMoveUp));
    EXPECT_TRUE(FController.Execute(EditMoveUp));
    EXPECT_EQ(Originals(), (TLines{"Edit", "File", "View"}));
    EXPECT_EQ(Document().Model().At(0).Accelerated, "&Edit");
    EXPECT_EQ(Document().Model().At(0).Key, 'E');
    EXPECT_EQ(FController.ActFileNewUpdate().Title, "Quarnel 1.0 - [Untitled.lst*]");
}

// A new order is what Save writes, so closing after a move asks first, and Save keeps it.
TEST_F(EditingCommandsTest, AMovedOrderIsGuardedByThePromptAndSaved)
{
    const std::string path = FDir.filePath(QStringLiteral("menu.lst")).toStdString();
    WriteCrlfLines(path, {"File", "Edit", "View"});
    Document().LoadCaptionFile(path);
    Select({2});
    EXPECT_TRUE(FController.Execute(EditMoveUp));
    EXPECT_EQ(FController.ActFileNewUpdate().Title, "Quarnel 1.0 - [menu.lst*]");
    FUi.MessageAnswers = {TMessageButton::Cancel};
    EXPECT_FALSE(FController.FormCloseQuery());
    ASSERT_EQ(FUi.Messages.size(), 1u);
    EXPECT_EQ(FUi.Messages[0].Caption, "Warning");

    EXPECT_TRUE(FController.Execute(FileSave));
    EXPECT_FALSE(Document().Modified());
    EXPECT_EQ(ReadBytes(path), "File\r\nView\r\nEdit\r\n");
}

TEST_F(EditingCommandsTest, HeaderClickSortsByTheColumnFoldingOnlyAsciiLetters)
{
    Fill({"beta", "Alpha", "alpha2", "_x", "Z"});
    Select({0});
    FController.ListView1ColumnClick(TEntryModel::ColOriginal);
    // '_' (95) sorts after every letter because "z" is folded to "Z" (90) and not beyond.
    EXPECT_EQ(Originals(), (TLines{"Alpha", "alpha2", "beta", "Z", "_x"}));
    EXPECT_EQ(SelectedOriginals(), TLines{"beta"});
    EXPECT_TRUE(Document().Modified());
    EXPECT_EQ(FController.ActFileNewUpdate().Title, "Quarnel 1.0 - [Untitled.lst*]");
}

TEST_F(EditingCommandsTest, SortByKeyBeforeProcessingKeepsTheOrder)
{
    Fill({"c", "a", "b"});
    FController.ListView1ColumnClick(TEntryModel::ColKey);
    EXPECT_EQ(Originals(), (TLines{"c", "a", "b"}));
    EXPECT_TRUE(Document().Modified());
}

TEST_F(EditingCommandsTest, SortByResultColumnsAfterProcessing)
{
    Fill({"Save", "Open", "Close"});
    Process();
    FController.ListView1ColumnClick(TEntryModel::ColKey);
    EXPECT_EQ(Originals(), (TLines{"Close", "Open", "Save"}));
    // Every click sorts ascending again; a second click changes nothing but still modifies.
    Document().MarkUnmodified();
    FController.ListView1ColumnClick(TEntryModel::ColKey);
    EXPECT_EQ(Originals(), (TLines{"Close", "Open", "Save"}));
    EXPECT_TRUE(Document().Modified());
}

TEST(EditingCommandsBeforeShow, HeaderClickIsInertUntilTheFormIsShown)
{
    TFakeUserInterface ui;
    TMainController controller(ui);
    controller.FormCreate("Quarnel 1.0");
    controller.Document().AddCaption("b");
    controller.Document().AddCaption("a");
    controller.Document().MarkUnmodified();
    controller.ListView1ColumnClick(TEntryModel::ColOriginal);
    EXPECT_EQ(controller.Document().Model().At(0).Original, "b");
    EXPECT_FALSE(controller.Document().Modified());
}

} // namespace
