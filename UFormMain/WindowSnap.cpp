#include "WindowSnap.h"

#include <algorithm>
#include <cstdlib>

namespace {

int SnapAxis(int start, int size, int areaStart, int areaSize, int distance)
{
    if (std::abs(start - areaStart) <= distance)
        return areaStart;
    const int areaEnd = areaStart + areaSize;
    if (std::abs(start + size - areaEnd) <= distance)
        return areaEnd - size;
    return start;
}

} // namespace

TBounds SnapToEdges(const TBounds& frame, const TBounds& area, int distance)
{
    TBounds snapped = frame;
    snapped.Left = SnapAxis(frame.Left, frame.Width, area.Left, area.Width, distance);
    snapped.Top = SnapAxis(frame.Top, frame.Height, area.Top, area.Height, distance);
    return snapped;
}

TBounds InsideFrame(const TBounds& outer, const TFrameMargins& frame)
{
    return {outer.Left + frame.Left, outer.Top + frame.Top,
            std::max(outer.Width - frame.Left - frame.Right, 0),
            std::max(outer.Height - frame.Top - frame.Bottom, 0)};
}
