#pragma once

#include <string>

// One row of the caption list. Whether the row is selected is the view's selection model's
// business, not the entry's: that keeps one place for it.
struct TEntry
{
    std::string Original;
    std::string Accelerated;
    char Key = 0; // 0 until processed

    std::string KeyText() const { return Key ? std::string(1, Key) : std::string(); }
};
