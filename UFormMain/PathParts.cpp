#include "PathParts.h"

std::string FileNamePart(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FolderPart(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? std::string_view()
                                                       : path.substr(0, slash + 1));
}

std::string DialogFolder(std::string_view folderWithDelimiter)
{
    std::string folder(folderWithDelimiter);
    if (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}
