#include "WindowSnap.h"

#include <gtest/gtest.h>

namespace {

// A work area that does not start at the origin, as with a panel along the top and left.
constexpr TBounds Area{40, 24, 1000, 700};

TBounds At(int left, int top)
{
    return {left, top, 412, 317};
}

} // namespace

TEST(WindowSnap, EdgesWithinTheDistanceArePulledOntoTheArea)
{
    EXPECT_EQ(SnapToEdges(At(50, 300), Area, 10), At(40, 300));
    EXPECT_EQ(SnapToEdges(At(31, 300), Area, 10), At(40, 300)); // partly outside
    EXPECT_EQ(SnapToEdges(At(300, 34), Area, 10), At(300, 24));
    // The area ends at 1040 on the right and at 724 at the bottom.
    EXPECT_EQ(SnapToEdges(At(630, 300), Area, 10), At(628, 300));
    EXPECT_EQ(SnapToEdges(At(300, 398), Area, 10), At(300, 407));
    EXPECT_EQ(SnapToEdges(At(49, 33), Area, 10), At(40, 24)); // both axes at once
}

TEST(WindowSnap, EdgesFurtherAwayStayWhereTheyAre)
{
    EXPECT_EQ(SnapToEdges(At(51, 300), Area, 10), At(51, 300));
    EXPECT_EQ(SnapToEdges(At(29, 35), Area, 10), At(29, 35));
    EXPECT_EQ(SnapToEdges(At(617, 396), Area, 10), At(617, 396)); // 11 short of both far edges
    EXPECT_EQ(SnapToEdges(At(300, 300), Area, 0), At(300, 300));
    EXPECT_EQ(SnapToEdges(At(40, 24), Area, 0), At(40, 24));
}

TEST(WindowSnap, SizeNeverChangesAndTheNearEdgeWinsWhenBothQualify)
{
    const TBounds wide{45, 30, 995, 690}; // every edge within reach
    const TBounds snapped = SnapToEdges(wide, Area, 10);
    EXPECT_EQ(snapped, (TBounds{40, 24, 995, 690}));
}

TEST(WindowFrame, TheInsideIsTheOuterBoundsLessEachMargin)
{
    const TBounds outer{192, 107, 412, 317};
    EXPECT_EQ(InsideFrame(outer, {}), outer);
    EXPECT_EQ(InsideFrame(outer, {1, 20, 1, 5}), (TBounds{193, 127, 410, 292}));
    EXPECT_EQ(InsideFrame(outer, {4, 4, 8, 8}), (TBounds{196, 111, 400, 305}));
    // A frame larger than the bounds leaves an empty inside, not a negative one.
    EXPECT_EQ(InsideFrame({0, 0, 10, 10}, {8, 8, 8, 8}), (TBounds{8, 8, 0, 0}));
}

TEST(WindowSnap, AFrameSpanningTheAreaIsLeftToTheWindowManager)
{
    EXPECT_TRUE(MaySnap(At(45, 30), Area));
    EXPECT_TRUE(MaySnap({45, 30, 999, 699}, Area));
    // Maximised under stale margins: a pixel beyond every edge.
    EXPECT_FALSE(MaySnap({39, 23, 1002, 706}, Area));
    EXPECT_FALSE(MaySnap({45, 30, 1000, 300}, Area));
    EXPECT_FALSE(MaySnap({45, 30, 300, 700}, Area));
}

TEST(WindowClamp, BoundsComeWhollyOntoTheAreaAtAUsableSize)
{
    // Already on the area: unchanged, up to exactly the area itself.
    EXPECT_EQ(ClampToArea(At(100, 100), Area, 200, 150), At(100, 100));
    EXPECT_EQ(ClampToArea(Area, Area, 200, 150), Area);
    // Off an edge: moved back, size kept.
    EXPECT_EQ(ClampToArea(At(100, -99999), Area, 200, 150), At(100, 24));
    EXPECT_EQ(ClampToArea(At(-5, 100), Area, 200, 150), At(40, 100));
    EXPECT_EQ(ClampToArea(At(900, 600), Area, 200, 150), At(628, 407));
    // Too large: the area's size at its place; too small: the minimum.
    EXPECT_EQ(ClampToArea({100, 80, 500, 2147483647}, Area, 200, 150),
              (TBounds{100, 24, 500, 700}));
    EXPECT_EQ(ClampToArea({2147483647, 2147483647, 2147483647, 2147483647}, Area, 200, 150), Area);
    EXPECT_EQ(ClampToArea({100, 80, 12, -7}, Area, 200, 150), (TBounds{100, 80, 200, 150}));
    // An area below the minimum wins over it.
    EXPECT_EQ(ClampToArea(At(0, 0), {0, 0, 160, 100}, 200, 150), (TBounds{0, 0, 160, 100}));
}

TEST(WindowClamp, FittingAndCoveringCompareWithTheArea)
{
    EXPECT_TRUE(FitsArea(Area, Area));
    EXPECT_TRUE(FitsArea({-500, -500, 1000, 700}, Area)); // off the area, but not too large
    EXPECT_FALSE(FitsArea({40, 24, 1001, 700}, Area));
    EXPECT_FALSE(FitsArea({40, 24, 1000, 701}, Area));

    EXPECT_TRUE(CoversArea(Area, Area));
    EXPECT_TRUE(CoversArea({39, 23, 1002, 706}, Area));
    EXPECT_FALSE(CoversArea({41, 24, 1000, 700}, Area));
    EXPECT_FALSE(CoversArea(At(40, 24), Area));
}
