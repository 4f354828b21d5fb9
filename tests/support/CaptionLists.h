// Caption documents built from lists of captions and read back as lists. Header-only, for the
// suites that link the document.
#pragma once

#include "CaptionDocument.h"

#include <initializer_list>
#include <string>
#include <vector>

using TLines = std::vector<std::string>;

// Entries as if typed and saved: unmodified, nothing selected.
inline void FillDocument(TCaptionDocument& document, const TLines& captions)
{
    for (const std::string& caption : captions)
        document.AddCaption(caption);
    document.MarkUnmodified();
}

// Adds each of these rows to the selection.
inline void SelectDocumentRows(TCaptionDocument& document, std::initializer_list<int> rows)
{
    for (const int row : rows)
        document.SelectRows(row, row);
}

// The captions of all entries, top to bottom.
inline TLines OriginalsOf(const TCaptionDocument& document)
{
    TLines lines;
    for (const TEntry& entry : document.Model().Entries())
        lines.push_back(entry.Original);
    return lines;
}

// The captions of the selected rows, top to bottom.
inline TLines SelectedOriginalsOf(const TCaptionDocument& document)
{
    TLines lines;
    for (int row = 0; row < document.Count(); ++row)
        if (document.IsRowSelected(row))
            lines.push_back(document.Model().At(row).Original);
    return lines;
}
