#include "CommandState.h"

TCommandState ComputeCommandState(const TDocumentState& document, std::string_view appTitle)
{
    using enum TCommandId;
    TCommandState state;
    auto set = [&state](TCommandId id, bool enabled) { state.Enabled[CommandIndex(id)] = enabled; };
    const bool hasEntries = document.Count > 0;
    const bool hasSelection = document.Selection.HasSelection();

    set(FileNew, true);
    set(FileOpen, true);
    set(FileSave, hasEntries);
    set(FileSaveAs, state.IsEnabled(FileSave));
    set(FileProcess, state.IsEnabled(FileSave));
    set(FileExit, true);
    set(EditAdd, true);
    set(EditEdit, hasSelection);
    set(EditDelete, state.IsEnabled(EditEdit));
    set(EditSelectAll, hasEntries);
    set(EditClear, state.IsEnabled(EditSelectAll));
    set(EditCopy, state.IsEnabled(EditEdit));
    set(EditMoveUp, state.IsEnabled(EditEdit) && !document.Selection.FirstRowSelected);
    set(EditMoveDown, state.IsEnabled(EditEdit) && !document.Selection.LastRowSelected);
    set(HelpAbout, true);

    state.Title = std::string(appTitle) + " - [" + FileNamePart(document.FileName) +
                  (document.Modified ? "*]" : "]");
    const int position = hasSelection ? document.Selection.FirstSelected + 1 : 0;
    state.Position = std::to_string(position) + ": " + std::to_string(document.Count);
    return state;
}

std::string FileNamePart(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FolderPart(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? std::string_view()
                                                       : path.substr(0, slash + 1));
}
