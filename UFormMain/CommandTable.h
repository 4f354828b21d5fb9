#pragma once

// The window's commands, menus and toolbar as data: one row per command says everything about
// it, from its caption to the member that runs it. The window is built from these tables, the
// controller runs and enables commands through them, and the tests check the window against
// them.

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

class TMainController;

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
// The table checks that it holds one row for each of these, in this order.
inline constexpr std::size_t CommandCount = static_cast<std::size_t>(TCommandId::HelpAbout) + 1;

inline constexpr std::size_t CommandIndex(TCommandId id)
{
    return static_cast<std::size_t>(id);
}

struct TIconInfo
{
    std::string_view ThemeName; // freedesktop icon name
    std::string_view Resource;  // bundled fallback

    bool IsNull() const { return ThemeName.empty() && Resource.empty(); }
};
inline constexpr TIconInfo NoIcon{};
inline constexpr TIconInfo ProgramIcon{"quarnel", ":/icons/quarnel.png"};

// What a command's enabling rule may look at: facts that need no scan of the list.
struct TEnablingFacts
{
    bool HasEntries = false;
    bool HasSelection = false;
    bool FirstRowSelected = false;
    bool LastRowSelected = false;
};

struct TCommandInfo
{
    TCommandId Id;
    std::string_view Name;
    std::string_view Category;
    std::string_view Caption;
    std::string_view Hint; // short part, "|", long part
    TIconInfo Icon;
    std::string_view Shortcut; // portable key sequence text, empty for none
    bool (*IsEnabled)(const TEnablingFacts&);
    void (TMainController::*Execute)();
};

// In the order of TCommandId.
extern const std::span<const TCommandInfo, CommandCount> CommandTable;

inline const TCommandInfo& CommandInfo(TCommandId id)
{
    return CommandTable[CommandIndex(id)];
}

// The short part is what precedes the first "|", the long part what follows it; a hint
// without "|" is both.
std::string_view ShortHint(std::string_view hint);
std::string_view LongHint(std::string_view hint);

// A menu entry: a command (with the menu's own caption when it differs) or a separator.
struct TMenuItem
{
    std::optional<TCommandId> Command;
    std::string_view Caption; // empty: the command's caption
};

struct TMenuInfo
{
    std::string_view Caption;
    std::span<const TMenuItem> Items;
};

extern const std::span<const TMenuInfo> MainMenu;

// nullopt is a separator.
extern const std::span<const std::optional<TCommandId>> ToolBarItems;
