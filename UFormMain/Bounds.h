#pragma once

// A window's place and size on the screen, in pixels.
struct TBounds
{
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    bool operator==(const TBounds&) const = default;
};
