#pragma once

#include "WindowLayout.h"

// Where a window moved to `frame` comes to rest: an edge within `distance` of the same edge
// of `area` is pulled onto it.
TBounds SnapToEdges(const TBounds& frame, const TBounds& area, int distance);

// How far a window manager's frame reaches beyond the window's inside on each side.
struct TFrameMargins
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// The inside of a window whose frame has the bounds `outer`; never of negative size.
TBounds InsideFrame(const TBounds& outer, const TFrameMargins& frame);
