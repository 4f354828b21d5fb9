#pragma once

#include "WindowLayout.h"

// Where a window moved to `frame` comes to rest: an edge within `distance` of the same edge
// of `area` is pulled onto it.
TBounds SnapToEdges(const TBounds& frame, const TBounds& area, int distance);
