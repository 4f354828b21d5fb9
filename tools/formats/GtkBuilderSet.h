#pragma once

// The builder files that catalogues are checked against (`--builder DIR`): every GtkBuilder
// file in a folder and below it, read once. Qt Designer forms beside them are left out.

#include "GettextScopes.h"

#include <string>
#include <vector>

class TGtkBuilderSet
{
public:
    // Throws EFormatError for a builder file that cannot be read, and for a folder that is not
    // there.
    explicit TGtkBuilderSet(const std::string& folder);

    // In name order, each named by its path as found under the folder.
    const std::vector<RBuilderSource>& Sources() const { return FSources; }

private:
    std::vector<RBuilderSource> FSources;
};

// Whether the file of this name starts as a GtkBuilder file; false for one that cannot be read,
// which the Qt reader then reports.
bool IsGtkBuilderFileAt(const std::string& fileName);
