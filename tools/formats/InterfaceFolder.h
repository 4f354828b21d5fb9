#pragma once

// The interface files (`.ui`) in a folder and below it, as `--forms` and `--builder` read them.

#include <functional>
#include <string>
#include <string_view>

// Calls take(name, bytes) for every `.ui` file under folder, in name order, each named by its
// path as found under the folder. Throws EFormatError for a file that cannot be read, and
// "FOLDER: no such folder of <whatFolderHolds>" for a folder that is not there.
void ForEachInterfaceFile(const std::string& folder, std::string_view whatFolderHolds,
                          const std::function<void(const std::string&, std::string_view)>& take);
