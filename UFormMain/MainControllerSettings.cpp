// Reading and writing the window's sections of the shared settings file.
#include "MainController.h"
#include "PathParts.h"
#include "ProfileStore.h"
#include "UQuarnelApps.h"
#include "WindowLayout.h"
#include "WindowSnap.h"

#include <array>
#include <cstdint>
#include <stdexcept>

namespace {

struct TSections
{
    std::string Window;
    std::string View;
    std::string Settings;
    std::string Folders;
};

TSections SectionsOf(const std::string& appTitle)
{
    const std::string base = TitleWithoutVersion(appTitle);
    return {base + SectionSuffixWindow, base + SectionSuffixView, base + SectionSuffixSettings,
            base + SectionSuffixFolders};
}

// A marker of code 0 could never be typed or inserted, so such a value counts as malformed.
char AccCharFrom(const int code, const char current)
{
    const auto low = static_cast<std::uint8_t>(code & 0xFF);
    return low == 0 ? current : static_cast<char>(low);
}

// A folder's name may hold a line break, which no profile line can carry. Such a folder is
// left out, so the next start falls back to the default, rather than refusing every close.
void WriteFolder(TProfileFile& profile, const std::string& section, const char* key,
                 const std::string& folder)
{
    try {
        profile.WriteString(section, key, folder);
    } catch (const std::invalid_argument&) {
    }
}

} // namespace

void TMainController::ReadSettings()
{
    const TProfileFile profile = ReadProfile(FIniFileName);
    const TSections sections = SectionsOf(FAppTitle);

    // Each edge is applied before the next is read, so every default is the window as it is
    // then, whatever the window made of the edges applied before. Each step is kept on the
    // screen: bounds from another screen, or typed by hand, could put the title bar out of reach
    // or size the window far beyond any screen.
    const std::array<int TBounds::*, 4> edges = {&TBounds::Left, &TBounds::Top, &TBounds::Width,
                                                 &TBounds::Height};
    const std::array<const char*, 4> edgeKeys = {KeyLeft, KeyTop, KeyWidth, KeyHeight};
    for (std::size_t i = 0; i < edges.size(); ++i) {
        TBounds bounds = FUi.WindowBounds();
        bounds.*edges[i] =
            ReadProfileInteger(profile, sections.Window, edgeKeys[i], bounds.*edges[i]);
        FUi.SetWindowBounds(
            ClampToArea(bounds, FUi.AvailableArea(bounds), MinWindowWidth, MinWindowHeight));
    }

    for (int column = 0; column < TEntryModel::ColumnCount; ++column)
        FUi.SetColumnWidth(column, ReadProfileInteger(profile, sections.View, ColumnKey(column),
                                                      FUi.ColumnWidth(column)));

    const int code = ReadProfileInteger(profile, sections.Settings, KeyAccCode,
                                        static_cast<std::uint8_t>(FEngine.FAccChar));
    FEngine.FAccChar = AccCharFrom(code, FEngine.FAccChar);

    // An installed program's own folder is no place a user can save to; their documents are.
    const std::string documents = DocumentsFolder();
    FOpenDialog.InitialDir =
        DialogFolder(profile.ReadString(sections.Folders, KeyOpen).value_or(documents));
    FSaveDialog.InitialDir =
        DialogFolder(profile.ReadString(sections.Folders, KeySave).value_or(documents));
}

void TMainController::WriteSettings()
{
    const TSections sections = SectionsOf(FAppTitle);
    const TBounds bounds = FUi.WindowBounds();
    // A window larger than its screen is the window manager's doing, not the user's: the next
    // start would open that way.
    const bool normal = FUi.IsWindowNormal() && FitsArea(bounds, FUi.AvailableArea(bounds));
    std::array<int, TEntryModel::ColumnCount> widths{};
    for (int column = 0; column < TEntryModel::ColumnCount; ++column)
        widths[static_cast<std::size_t>(column)] = FUi.ColumnWidth(column);
    const auto accCode = static_cast<std::uint8_t>(FEngine.FAccChar);

    // One replacement of the whole file: a refused write leaves the file as it was, never
    // half of this close's settings in it.
    UpdateProfile(FIniFileName, [&](TProfileFile& profile) {
        if (normal) {
            profile.EraseSection(sections.Window);
            profile.WriteString(sections.Window, KeyLeft, std::to_string(bounds.Left));
            profile.WriteString(sections.Window, KeyTop, std::to_string(bounds.Top));
            profile.WriteString(sections.Window, KeyWidth, std::to_string(bounds.Width));
            profile.WriteString(sections.Window, KeyHeight, std::to_string(bounds.Height));
        }
        profile.EraseSection(sections.View);
        for (int column = 0; column < TEntryModel::ColumnCount; ++column)
            profile.WriteString(sections.View, ColumnKey(column),
                                std::to_string(widths[static_cast<std::size_t>(column)]));
        profile.WriteString(sections.Settings, KeyAccCode, std::to_string(accCode));
        profile.EraseSection(sections.Folders);
        WriteFolder(profile, sections.Folders, KeyOpen, FOpenDialog.InitialDir);
        WriteFolder(profile, sections.Folders, KeySave, FSaveDialog.InitialDir);
    });
}
