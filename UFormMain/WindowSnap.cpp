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

bool MaySnap(const TBounds& frame, const TBounds& area)
{
    return frame.Width < area.Width && frame.Height < area.Height;
}

TBounds ClampToArea(const TBounds& bounds, const TBounds& area, int minWidth, int minHeight)
{
    TBounds clamped;
    clamped.Width = std::min(std::max(bounds.Width, minWidth), area.Width);
    clamped.Height = std::min(std::max(bounds.Height, minHeight), area.Height);
    // In 64 bits: a far-off edge plus a size must not wrap around.
    const auto place = [](int start, int size, int areaStart, int areaSize) {
        const long long last = static_cast<long long>(areaStart) + areaSize - size;
        return static_cast<int>(
            std::clamp<long long>(start, areaStart, std::max<long long>(last, areaStart)));
    };
    clamped.Left = place(bounds.Left, clamped.Width, area.Left, area.Width);
    clamped.Top = place(bounds.Top, clamped.Height, area.Top, area.Height);
    return clamped;
}

bool FitsArea(const TBounds& frame, const TBounds& area)
{
    return frame.Width <= area.Width && frame.Height <= area.Height;
}

bool CoversArea(const TBounds& frame, const TBounds& area)
{
    const auto end = [](int start, int size) { return static_cast<long long>(start) + size; };
    return frame.Left <= area.Left && frame.Top <= area.Top &&
           end(frame.Left, frame.Width) >= end(area.Left, area.Width) &&
           end(frame.Top, frame.Height) >= end(area.Top, area.Height);
}

TBounds InsideFrame(const TBounds& outer, const TFrameMargins& frame)
{
    return {outer.Left + frame.Left, outer.Top + frame.Top,
            std::max(outer.Width - frame.Left - frame.Right, 0),
            std::max(outer.Height - frame.Top - frame.Bottom, 0)};
}
