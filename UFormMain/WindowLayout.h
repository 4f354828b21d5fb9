#pragma once

// Every figure of the window's look, in one place.

#include "Bounds.h"

#include <array>
#include <string_view>

inline constexpr std::string_view FormCaption = "Quarnel 1.0";

inline constexpr TBounds DesignBounds{192, 107, 412, 317}; // outer frame
// The smallest frame that still shows the bars and a few rows of the list.
inline constexpr int MinWindowWidth = 200;
inline constexpr int MinWindowHeight = 150;
inline constexpr int SnapDistance = 10;

inline constexpr std::string_view FormFontFamily = "Tahoma";
inline constexpr int FormFontPixelHeight = 11;

inline constexpr std::array<int, 3> DesignColumnWidths = {120, 120, 30};

inline constexpr int StatusBarHeight = 19;
inline constexpr int PositionPanelWidth = 60;
inline constexpr int ToolBarMinHeight = 26;
inline constexpr int ToolBarIconSize = 16;

struct TRgb
{
    int Red, Green, Blue;
};
inline constexpr TRgb BarHighlightColour{226, 225, 219};

// The window's own hint: no short part, an owner notice as the long part.
inline constexpr std::string_view FormHint =
    "|Quarnel: give every caption its own access key. Made by the Quarnel developers.";

inline constexpr std::string_view ErrorBoxCaption = "Error";

inline constexpr int MaxCaptionInputLength = 255; // the Add dialog's edit
