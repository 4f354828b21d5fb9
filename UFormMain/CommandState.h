#pragma once

#include "CaptionDocument.h"
#include "CommandTable.h"

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

// The text after the last path delimiter.
std::string FileNamePart(std::string_view path);
// The text up to and including the last path delimiter.
std::string FolderPart(std::string_view path);
