#pragma once

#include "ProfileFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The settings file shared by every application of the family.
inline constexpr const char* IniBaseName = "QuarnelApps.ini";

// Each application keeps its settings in sections named after its title without the version,
// followed by one of these suffixes.
inline constexpr const char* SectionSuffixWindow = " Window";
inline constexpr const char* SectionSuffixView = " View";
inline constexpr const char* SectionSuffixSettings = " Settings";
inline constexpr const char* SectionSuffixFolders = " Folders";

inline constexpr const char* KeyLeft = "Left";
inline constexpr const char* KeyTop = "Top";
inline constexpr const char* KeyWidth = "Width";
inline constexpr const char* KeyHeight = "Height";
// Followed by the column index in decimal: Column0, Column1, ...
inline constexpr const char* KeyColumnPrefix = "Column";
inline constexpr const char* KeyAccCode = "AccCode";
inline constexpr const char* KeyOpen = "Open";
inline constexpr const char* KeySave = "Save";

inline constexpr const char* WebAddress = "https://quarnel.example.org";
inline constexpr const char* EMailAddress = "quarnel@quarnel.example.org";

// Full path of the settings file. The folder named by "windir" when that variable is set and
// not empty; otherwise the user's configuration folder ($XDG_CONFIG_HOME, by default
// ~/.config), which is created when it does not exist yet.
std::string ComputeIniFileName();

// Folder of the running program's executable, ending in "/"; empty when it cannot be found.
// Works before (and without) an application object, as tests run without one.
std::string ProgramFolder();

// Where a user keeps their files, ending in "/": the documents folder of the desktop's user
// folders, or the home folder while there is none.
std::string DocumentsFolder();

// "Quarnel 1.0" -> "Quarnel": the text before the last blank, the whole title when it has none.
std::string TitleWithoutVersion(const std::string& title);

std::string ColumnKey(int index);

// Optional leading blanks, an optional sign, then decimal digits, or hexadecimal digits after
// "$", "x" or "0x". Anything else, including trailing characters and values outside the range
// of int, is no integer.
std::optional<int> ParseProfileInteger(std::string_view text);

int ReadProfileInteger(const TProfileFile& profile, std::string_view section, std::string_view key,
                       int defaultValue);

// Lines are separated by CR alone, as message boxes expect.
std::string AboutMessage(const std::string& appTitle, const std::string& description,
                         std::uint16_t firstYear, std::uint16_t lastYear);
