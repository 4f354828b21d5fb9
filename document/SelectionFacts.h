#pragma once

// What the command state needs to know about the selection, kept cheap to ask.
struct TSelectionFacts
{
    int FirstSelected = -1; // lowest selected row, -1 without a selection
    bool FirstRowSelected = false;
    bool LastRowSelected = false;

    bool HasSelection() const { return FirstSelected >= 0; }
};
