#pragma once

// The forms a translation is checked against (`--forms DIR`): every Designer form in a folder
// and below it, read once and found by class name.

#include "QtTranslation.h"

#include <deque>
#include <string>

class TQtFormSet
{
public:
    // Throws EFormatError for a form that cannot be read, and for a folder that is not there.
    explicit TQtFormSet(const std::string& folder);
    TQtFormSet(const TQtFormSet&) = delete;
    TQtFormSet& operator=(const TQtFormSet&) = delete;

    // Valid as long as the set; of two forms with one class, the first in name order counts.
    const TFormsByClass& ByClass() const { return FByClass; }

private:
    std::deque<RQtForm> FForms; // never moves an element, so the pointers stay valid
    TFormsByClass FByClass;
};
