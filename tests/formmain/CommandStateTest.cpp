#include "CommandState.h"

#include "PathParts.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr std::string_view AppTitle = "Quarnel 1.0";

// The names of the enabled commands, in table order, so a failure lists what differs.
std::vector<std::string> EnabledNames(const TCommandState& state)
{
    std::vector<std::string> names;
    for (const TCommandInfo& command : CommandTable)
        if (state.IsEnabled(command.Id))
            names.emplace_back(command.Name);
    return names;
}

TDocumentState ListOf(int count, TSelectionFacts selection = {})
{
    TDocumentState document;
    document.Count = count;
    document.Selection = selection;
    document.FileName = "Untitled.lst";
    return document;
}

TSelectionFacts Selected(int first, bool firstRow, bool lastRow)
{
    return {first, firstRow, lastRow};
}

} // namespace

TEST(CommandStateEnabling, EmptyListLeavesOnlyTheAlwaysAvailableCommands)
{
    const TCommandState state = ComputeCommandState(ListOf(0), AppTitle);
    EXPECT_EQ(EnabledNames(state),
              (std::vector<std::string>{"ActFileNew", "ActFileOpen", "ActFileExit", "ActEditAdd",
                                        "ActHelpAbout"}));
    EXPECT_EQ(state.Position, "0: 0");
}

TEST(CommandStateEnabling, EntriesWithoutSelectionEnableTheWholeListCommands)
{
    const TCommandState state = ComputeCommandState(ListOf(3), AppTitle);
    EXPECT_EQ(EnabledNames(state),
              (std::vector<std::string>{"ActFileNew", "ActFileOpen", "ActFileSave", "ActFileSaveAs",
                                        "ActFileProcess", "ActFileExit", "ActEditAdd",
                                        "ActEditSelectAll", "ActEditClear", "ActHelpAbout"}));
    EXPECT_EQ(state.Position, "0: 3");
}

TEST(CommandStateEnabling, SecondAndThirdOfThreeSelectedAllowsUpButNotDown)
{
    const TCommandState state = ComputeCommandState(ListOf(3, Selected(1, false, true)), AppTitle);
    EXPECT_TRUE(state.IsEnabled(TCommandId::EditMoveUp));
    EXPECT_FALSE(state.IsEnabled(TCommandId::EditMoveDown));
    for (const TCommandId id : {TCommandId::EditEdit, TCommandId::EditDelete, TCommandId::EditCopy,
                                TCommandId::EditSelectAll, TCommandId::EditClear,
                                TCommandId::FileSave, TCommandId::FileProcess})
        EXPECT_TRUE(state.IsEnabled(id)) << CommandInfo(id).Name;
    EXPECT_EQ(state.Position, "2: 3");
}

TEST(CommandStateEnabling, UpAndDownStopAtTheEndsOfTheList)
{
    const TCommandState top = ComputeCommandState(ListOf(3, Selected(0, true, false)), AppTitle);
    EXPECT_FALSE(top.IsEnabled(TCommandId::EditMoveUp));
    EXPECT_TRUE(top.IsEnabled(TCommandId::EditMoveDown));
    EXPECT_EQ(top.Position, "1: 3");

    // A single entry that is selected is both the first and the last.
    const TCommandState single = ComputeCommandState(ListOf(1, Selected(0, true, true)), AppTitle);
    EXPECT_FALSE(single.IsEnabled(TCommandId::EditMoveUp));
    EXPECT_FALSE(single.IsEnabled(TCommandId::EditMoveDown));
    EXPECT_TRUE(single.IsEnabled(TCommandId::EditDelete));
    EXPECT_EQ(single.Position, "1: 1");

    const TCommandState middle =
        ComputeCommandState(ListOf(3, Selected(1, false, false)), AppTitle);
    EXPECT_TRUE(middle.IsEnabled(TCommandId::EditMoveUp));
    EXPECT_TRUE(middle.IsEnabled(TCommandId::EditMoveDown));
}

TEST(CommandStateTitle, ShowsTheFileNamePartAndTheModifiedMark)
{
    EXPECT_EQ(ComputeCommandState(ListOf(0), AppTitle).Title, "Quarnel 1.0 - [Untitled.lst]");

    TDocumentState named = ListOf(4);
    named.FileName = "/home/u/Lists/menu.lst";
    EXPECT_EQ(ComputeCommandState(named, AppTitle).Title, "Quarnel 1.0 - [menu.lst]");
    named.Modified = true;
    EXPECT_EQ(ComputeCommandState(named, AppTitle).Title, "Quarnel 1.0 - [menu.lst*]");

    TDocumentState untitled = ListOf(1);
    untitled.Modified = true;
    EXPECT_EQ(ComputeCommandState(untitled, AppTitle).Title, "Quarnel 1.0 - [Untitled.lst*]");
}

TEST(CommandStatePaths, FileNamePartIsWhatFollowsTheLastDelimiter)
{
    EXPECT_EQ(FileNamePart("/home/u/Lists/menu.lst"), "menu.lst");
    EXPECT_EQ(FileNamePart("menu.lst"), "menu.lst");
    EXPECT_EQ(FileNamePart("/menu.lst"), "menu.lst");
    EXPECT_EQ(FileNamePart("/home/u/"), "");
    EXPECT_EQ(FileNamePart(""), "");
    // Only the path delimiter splits; blanks and dots stay in the name.
    EXPECT_EQ(FileNamePart("/tmp/my lists/a.b.lst"), "a.b.lst");
}

TEST(CommandStatePaths, FolderPartKeepsTheLastDelimiter)
{
    EXPECT_EQ(FolderPart("/home/u/Lists/menu.lst"), "/home/u/Lists/");
    EXPECT_EQ(FolderPart("/menu.lst"), "/");
    EXPECT_EQ(FolderPart("menu.lst"), "");
    EXPECT_EQ(FolderPart("/home/u/"), "/home/u/");
    EXPECT_EQ(FolderPart(""), "");
}

TEST(CommandTableRows, EachCommandHasAHandlerOfItsOwnAndANameAfterItsCategory)
{
    for (std::size_t i = 0; i < CommandTable.size(); ++i) {
        const TCommandInfo& command = CommandTable[i];
        ASSERT_NE(command.Execute, nullptr) << command.Name;
        ASSERT_NE(command.IsEnabled, nullptr) << command.Name;
        EXPECT_EQ(command.Name.substr(0, 3 + command.Category.size()),
                  "Act" + std::string(command.Category));
        // A row copied from its neighbour and not fully mended would run the neighbour's job.
        for (std::size_t j = i + 1; j < CommandTable.size(); ++j)
            EXPECT_NE(command.Execute, CommandTable[j].Execute)
                << command.Name << " and " << CommandTable[j].Name;
    }
}
