#include "CommandState.h"

#include "PathParts.h"

TCommandState ComputeCommandState(const TDocumentState& document, std::string_view appTitle)
{
    TCommandState state;
    const TEnablingFacts facts{document.Count > 0, document.Selection.HasSelection(),
                               document.Selection.FirstRowSelected,
                               document.Selection.LastRowSelected};
    for (const TCommandInfo& command : CommandTable)
        state.Enabled[CommandIndex(command.Id)] = command.IsEnabled(facts);

    state.Title = std::string(appTitle) + " - [" + FileNamePart(document.FileName) +
                  (document.Modified ? "*]" : "]");
    const int position = facts.HasSelection ? document.Selection.FirstSelected + 1 : 0;
    state.Position = std::to_string(position) + ": " + std::to_string(document.Count);
    return state;
}
