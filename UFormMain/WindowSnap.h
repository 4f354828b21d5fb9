#pragma once

#include "Bounds.h"

// Where a window moved to `frame` comes to rest: an edge within `distance` of the same edge
// of `area` is pulled onto it.
TBounds SnapToEdges(const TBounds& frame, const TBounds& area, int distance);

// Whether the window in `frame` may be pulled onto the edges of `area`. A frame that spans the
// area along either axis is being laid out by the window manager (maximised, or on its way
// there), and a move of ours would fight it.
bool MaySnap(const TBounds& frame, const TBounds& area);

// The bounds brought onto `area`: at least the minimum size where the area allows it, at most
// the area's size, and placed wholly inside it, so the title bar can always be reached.
TBounds ClampToArea(const TBounds& bounds, const TBounds& area, int minWidth, int minHeight);

// Whether the frame is no larger than the area along both axes.
bool FitsArea(const TBounds& frame, const TBounds& area);

// Whether the frame covers all of the area.
bool CoversArea(const TBounds& frame, const TBounds& area);

// How far a window manager's frame reaches beyond the window's inside on each side.
struct TFrameMargins
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool operator==(const TFrameMargins&) const = default;
};

// The inside of a window whose frame has the bounds `outer`; never of negative size.
TBounds InsideFrame(const TBounds& outer, const TFrameMargins& frame);
