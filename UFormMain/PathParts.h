#pragma once

// File names are the bytes the system takes, "/" the one delimiter.

#include <string>
#include <string_view>

// The text after the last path delimiter.
std::string FileNamePart(std::string_view path);
// The text up to and including the last path delimiter.
std::string FolderPart(std::string_view path);
// A dialog's folder: no trailing "/" unless it is the root.
std::string DialogFolder(std::string_view folderWithDelimiter);
