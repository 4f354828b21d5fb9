#pragma once

#include "CommandTable.h"
#include "SelectionFacts.h"

#include <array>
#include <string>

// What the command state is computed from: nothing that needs a scan of the list.
struct TDocumentState
{
    int Count = 0;
    TSelectionFacts Selection;
    bool Modified = false;
    std::string FileName;
};

struct TCommandState
{
    std::array<bool, CommandCount> Enabled{};
    std::string Title;
    std::string Position;

    bool IsEnabled(TCommandId id) const { return Enabled[CommandIndex(id)]; }
};

TCommandState ComputeCommandState(const TDocumentState& document, std::string_view appTitle);
