#pragma once

// The window's commands, menus and toolbar as data: the window is built from these tables
// and the tests check the built window against them.

#include <array>
#include <optional>
#include <string_view>

enum class TCommandId
{
    FileNew,
    FileOpen,
    FileSave,
    FileSaveAs,
    FileProcess,
    FileExit,
    EditAdd,
    EditEdit,
    EditDelete,
    EditSelectAll,
    EditClear,
    EditCopy,
    EditMoveUp,
    EditMoveDown,
    HelpAbout,
};
inline constexpr int CommandCount = 15;

inline constexpr int NoIcon = -1;

struct TCommandInfo
{
    TCommandId Id;
    std::string_view Name;
    std::string_view Category;
    std::string_view Caption;
    std::string_view Hint; // short part, "|", long part
    int IconIndex;
    std::string_view Shortcut; // portable key sequence text, empty for none
};

extern const std::array<TCommandInfo, CommandCount> CommandTable;

const TCommandInfo& CommandInfo(TCommandId id);
inline int CommandIndex(TCommandId id)
{
    return static_cast<int>(id);
}

// The short part is what precedes the first "|", the long part what follows it; a hint
// without "|" is both.
std::string_view ShortHint(std::string_view hint);
std::string_view LongHint(std::string_view hint);

struct TIconInfo
{
    std::string_view ThemeName; // freedesktop icon name
    std::string_view Resource;  // bundled fallback
};
inline constexpr int IconCount = 14;
extern const std::array<TIconInfo, IconCount> IconTable;
inline constexpr std::string_view ProgramIconResource = ":/icons/quarnel.png";
inline constexpr std::string_view ProgramIconThemeName = "quarnel";

// A menu entry: a command (with the menu's own caption when it differs) or a separator.
struct TMenuItem
{
    std::optional<TCommandId> Command;
    std::string_view Caption; // empty: the command's caption
};

struct TMenuInfo
{
    std::string_view Caption;
    std::array<TMenuItem, 10> Items;
    int ItemCount;
};

extern const std::array<TMenuInfo, 3> MainMenu;

// nullopt is a separator.
extern const std::array<std::optional<TCommandId>, 17> ToolBarItems;
