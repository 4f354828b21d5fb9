#include "CommandTable.h"

using enum TCommandId;

const std::array<TCommandInfo, CommandCount> CommandTable = {{
    {FileNew, "ActFileNew", "File", "Ne&w...", "New|Create new file", 0, "Ctrl+N"},
    {FileOpen, "ActFileOpen", "File", "&Open...", "Open|Opens an existing file", 1, "Ctrl+O"},
    {FileSave, "ActFileSave", "File", "&Save", "Save|Save current file", 2, "Ctrl+S"},
    {FileSaveAs, "ActFileSaveAs", "File", "Save &As...",
     "Save As|Saves the active file with a new name", 3, ""},
    {FileProcess, "ActFileProcess", "File", "Process",
     "Process|Process captions to have acceleration characters", 4, "F9"},
    {FileExit, "ActFileExit", "File", "E&xit", "Exit|Quits the application", 5, ""},
    {EditAdd, "ActEditAdd", "Edit", "Add...", "Add|Add new caption", 6, "Ctrl+Ins"},
    {EditEdit, "ActEditEdit", "Edit", "Edit", "Edit|Edit selected caption", 7, "F2"},
    {EditDelete, "ActEditDelete", "Edit", "Delete", "Delete|Delete selected captions", 8,
     "Ctrl+Del"},
    {EditSelectAll, "ActEditSelectAll", "Edit", "Select &All", "Select All|Select all captions",
     NoIcon, "Ctrl+A"},
    {EditClear, "ActEditClear", "Edit", "C&lear", "Clear|Remove all captions", 9, ""},
    {EditCopy, "ActEditCopy", "Edit", "&Copy", "Copy|Copy accelerated caption", 10, "Ctrl+C"},
    {EditMoveUp, "ActEditMoveUp", "Edit", "&Up", "Up|Move selected captions upward", 11, "Ctrl+U"},
    {EditMoveDown, "ActEditMoveDown", "Edit", "Do&wn", "Down|Move selected captions downward", 12,
     "Ctrl+W"},
    {HelpAbout, "ActHelpAbout", "Help", "&About...", "About|About this application", 13, ""},
}};

const TCommandInfo& CommandInfo(TCommandId id)
{
    return CommandTable[CommandIndex(id)];
}

std::string_view ShortHint(std::string_view hint)
{
    return hint.substr(0, hint.find('|'));
}

std::string_view LongHint(std::string_view hint)
{
    const std::size_t bar = hint.find('|');
    return bar == std::string_view::npos ? hint : hint.substr(bar + 1);
}

const std::array<TIconInfo, IconCount> IconTable = {{
    {"document-new", ":/icons/new.png"},
    {"document-open", ":/icons/open.png"},
    {"document-save", ":/icons/save.png"},
    {"document-save-as", ":/icons/save-as.png"},
    {"system-run", ":/icons/process.png"},
    {"application-exit", ":/icons/exit.png"},
    {"list-add", ":/icons/add.png"},
    {"document-edit", ":/icons/edit.png"},
    {"edit-delete", ":/icons/delete.png"},
    {"edit-clear", ":/icons/clear.png"},
    {"edit-copy", ":/icons/copy.png"},
    {"go-up", ":/icons/up.png"},
    {"go-down", ":/icons/down.png"},
    {"help-about", ":/icons/about.png"},
}};

namespace {
constexpr TMenuItem Separator{std::nullopt, ""};
}

const std::array<TMenuInfo, 3> MainMenu = {{
    {"&File",
     {{{FileNew, ""},
       {FileOpen, ""},
       {FileSave, ""},
       {FileSaveAs, ""},
       Separator,
       {FileProcess, "&Process"},
       Separator,
       {FileExit, ""}}},
     8},
    {"&Edit",
     {{{EditAdd, "&Add..."},
       {EditEdit, "&Edit"},
       {EditDelete, "&Delete"},
       {EditSelectAll, "&Select All"},
       {EditClear, ""},
       Separator,
       {EditCopy, ""},
       Separator,
       {EditMoveUp, ""},
       {EditMoveDown, ""}}},
     10},
    {"&Help", {{{HelpAbout, ""}}}, 1},
}};

const std::array<std::optional<TCommandId>, 17> ToolBarItems = {
    FileNew,      FileOpen,   FileSave,     std::nullopt, FileProcess,  std::nullopt,
    EditAdd,      EditEdit,   EditDelete,   EditClear,    std::nullopt, EditCopy,
    std::nullopt, EditMoveUp, EditMoveDown, std::nullopt, HelpAbout,
};
