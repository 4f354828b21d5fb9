#include "CommandTable.h"

#include "MainController.h"

#include <array>

namespace {

using enum TCommandId;
using TController = TMainController;

// The enabling rules. A command enabled "when Save is" shares Save's rule.
constexpr bool Always(const TEnablingFacts&)
{
    return true;
}
constexpr bool HasEntries(const TEnablingFacts& facts)
{
    return facts.HasEntries;
}
constexpr bool HasSelection(const TEnablingFacts& facts)
{
    return facts.HasSelection;
}
constexpr bool CanMoveUp(const TEnablingFacts& facts)
{
    return facts.HasSelection && !facts.FirstRowSelected;
}
constexpr bool CanMoveDown(const TEnablingFacts& facts)
{
    return facts.HasSelection && !facts.LastRowSelected;
}

constexpr auto Commands = std::to_array<TCommandInfo>({
    {FileNew,
     "ActFileNew",
     "File",
     "Ne&w...",
     "New|Create new file",
     {"document-new", ":/icons/new.png"},
     "Ctrl+N",
     Always,
     &TController::ActFileNewExecute},
    {FileOpen,
     "ActFileOpen",
     "File",
     "&Open...",
     "Open|Opens an existing file",
     {"document-open", ":/icons/open.png"},
     "Ctrl+O",
     Always,
     &TController::ActFileOpenExecute},
    {FileSave,
     "ActFileSave",
     "File",
     "&Save",
     "Save|Save current file",
     {"document-save", ":/icons/save.png"},
     "Ctrl+S",
     HasEntries,
     &TController::ActFileSaveExecute},
    {FileSaveAs,
     "ActFileSaveAs",
     "File",
     "Save &As...",
     "Save As|Saves the active file with a new name",
     {"document-save-as", ":/icons/save-as.png"},
     "",
     HasEntries,
     &TController::ActFileSaveAsExecute},
    {FileProcess,
     "ActFileProcess",
     "File",
     "Process",
     "Process|Process captions to have acceleration characters",
     {"system-run", ":/icons/process.png"},
     "F9",
     HasEntries,
     &TController::ActFileProcessExecute},
    {FileExit,
     "ActFileExit",
     "File",
     "E&xit",
     "Exit|Quits the application",
     {"application-exit", ":/icons/exit.png"},
     "",
     Always,
     &TController::ActFileExitExecute},
    {EditAdd,
     "ActEditAdd",
     "Edit",
     "Add...",
     "Add|Add new caption",
     {"list-add", ":/icons/add.png"},
     "Ctrl+Ins",
     Always,
     &TController::ActEditAddExecute},
    {EditEdit,
     "ActEditEdit",
     "Edit",
     "Edit",
     "Edit|Edit selected caption",
     {"document-edit", ":/icons/edit.png"},
     "F2",
     HasSelection,
     &TController::ActEditEditExecute},
    {EditDelete,
     "ActEditDelete",
     "Edit",
     "Delete",
     "Delete|Delete selected captions",
     {"edit-delete", ":/icons/delete.png"},
     "Ctrl+Del",
     HasSelection,
     &TController::ActEditDeleteExecute},
    {EditSelectAll, "ActEditSelectAll", "Edit", "Select &All", "Select All|Select all captions",
     NoIcon, "Ctrl+A", HasEntries, &TController::ActEditSelectAllExecute},
    {EditClear,
     "ActEditClear",
     "Edit",
     "C&lear",
     "Clear|Remove all captions",
     {"edit-clear", ":/icons/clear.png"},
     "",
     HasEntries,
     &TController::ActEditClearExecute},
    {EditCopy,
     "ActEditCopy",
     "Edit",
     "&Copy",
     "Copy|Copy accelerated caption",
     {"edit-copy", ":/icons/copy.png"},
     "Ctrl+C",
     HasSelection,
     &TController::ActEditCopyExecute},
    {EditMoveUp,
     "ActEditMoveUp",
     "Edit",
     "&Up",
     "Up|Move selected captions upward",
     {"go-up", ":/icons/up.png"},
     "Ctrl+U",
     CanMoveUp,
     &TController::ActEditMoveUpExecute},
    {EditMoveDown,
     "ActEditMoveDown",
     "Edit",
     "Do&wn",
     "Down|Move selected captions downward",
     {"go-down", ":/icons/down.png"},
     "Ctrl+W",
     CanMoveDown,
     &TController::ActEditMoveDownExecute},
    {HelpAbout,
     "ActHelpAbout",
     "Help",
     "&About...",
     "About|About this application",
     {"help-about", ":/icons/about.png"},
     "",
     Always,
     &TController::ActHelpAboutExecute},
});

static_assert(Commands.size() == CommandCount, "one row for each command");
constexpr bool RowsInEnumOrder()
{
    for (std::size_t i = 0; i < Commands.size(); ++i)
        if (CommandIndex(Commands[i].Id) != i)
            return false;
    return true;
}
static_assert(RowsInEnumOrder(), "rows in the order of TCommandId");

constexpr TMenuItem Separator{std::nullopt, ""};

constexpr auto FileMenu = std::to_array<TMenuItem>({
    {FileNew, ""},
    {FileOpen, ""},
    {FileSave, ""},
    {FileSaveAs, ""},
    Separator,
    {FileProcess, "&Process"},
    Separator,
    {FileExit, ""},
});

constexpr auto EditMenu = std::to_array<TMenuItem>({
    {EditAdd, "&Add..."},
    {EditEdit, "&Edit"},
    {EditDelete, "&Delete"},
    {EditSelectAll, "&Select All"},
    {EditClear, ""},
    Separator,
    {EditCopy, ""},
    Separator,
    {EditMoveUp, ""},
    {EditMoveDown, ""},
});

constexpr auto HelpMenu = std::to_array<TMenuItem>({
    {HelpAbout, ""},
});

constexpr auto Menus = std::to_array<TMenuInfo>({
    {"&File", FileMenu},
    {"&Edit", EditMenu},
    {"&Help", HelpMenu},
});

constexpr auto ToolBar = std::to_array<std::optional<TCommandId>>({
    FileNew,
    FileOpen,
    FileSave,
    std::nullopt,
    FileProcess,
    std::nullopt,
    EditAdd,
    EditEdit,
    EditDelete,
    EditClear,
    std::nullopt,
    EditCopy,
    std::nullopt,
    EditMoveUp,
    EditMoveDown,
    std::nullopt,
    HelpAbout,
});

} // namespace

constinit const std::span<const TCommandInfo, CommandCount> CommandTable{Commands};
constinit const std::span<const TMenuInfo> MainMenu{Menus};
constinit const std::span<const std::optional<TCommandId>> ToolBarItems{ToolBar};

std::string_view ShortHint(std::string_view hint)
{
    return hint.substr(0, hint.find('|'));
}

std::string_view LongHint(std::string_view hint)
{
    const std::size_t bar = hint.find('|');
    return bar == std::string_view::npos ? hint : hint.substr(bar + 1);
}
