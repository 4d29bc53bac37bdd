// Docking, snapping, resizing and the scroll thumb of the list window.

#include "stations/PlayListGeometry.h"

#include <gtest/gtest.h>

namespace {

const TWindowBox Main{100, 100, 300, 120}; // right 400, bottom 220

struct TSnapCase {
    const char *What;
    TWindowBox Wanted, Expected;
};

class SnapTest : public ::testing::TestWithParam<TSnapCase> {};

TEST_P(SnapTest, Snaps)
{
    const TSnapCase &c = GetParam();
    EXPECT_EQ(SnapListWindow(c.Wanted, Main), c.Expected) << c.What;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SnapTest,
    ::testing::Values(
        TSnapCase{"left edge 11 px off the right edge, top 5 px off", {411, 105, 200, 150}, {400, 100, 200, 150}},
        TSnapCase{"12 px is too far", {412, 105, 200, 150}, {412, 105, 200, 150}},
        TSnapCase{"bottom near the main window's bottom", {400 + 3, 140, 200, 75}, {400, 145, 200, 75}},
        TSnapCase{"right edge near the left edge", {-95, 300 - 200, 200, 150}, {-100, 100, 200, 150}},
        TSnapCase{"top near the bottom, left near the left", {108, 229, 250, 150}, {100, 220, 250, 150}},
        TSnapCase{"top near the bottom, right near the right", {145, 215, 250, 150}, {150, 220, 250, 150}},
        TSnapCase{"bottom near the top, not aligned", {160, -35, 100, 130}, {160, -30, 100, 130}},
        TSnapCase{"already aligned left stays", {100, 225, 200, 150}, {100, 220, 200, 150}},
        TSnapCase{"level with the bottom edge but far to the side", {900, 225, 200, 150}, {900, 225, 200, 150}},
        TSnapCase{"beside the right edge but far below", {405, 900, 200, 150}, {405, 900, 200, 150}}));

TEST(PlayListGeometry, TouchingWindowsFollowAMove)
{
    const TWindowBox moved = Main.MovedTo(150, 80);
    const TWindowBox right{400, 130, 200, 150}, below{120, 220, 200, 150}, apart{401, 100, 200, 150};
    EXPECT_EQ(FollowMove(Main, moved, right, true), (TWindowBox{450, 110, 200, 150}));
    EXPECT_EQ(FollowMove(Main, moved, below, true), (TWindowBox{170, 200, 200, 150}));
    EXPECT_EQ(FollowMove(Main, moved, apart, true), apart);
    EXPECT_EQ(FollowMove(Main, moved, right, false), right); // not locked
}

TEST(PlayListGeometry, GripChangesEachSizeOnlyPastItsThreshold)
{
    const TBoxSize start{300, 240}, minimum{300, 240};
    EXPECT_EQ(GripResize(start, 14, 14, minimum), start);
    EXPECT_EQ(GripResize(start, 15, 15, minimum), (TBoxSize{315, 255}));
    EXPECT_EQ(GripResize(start, 40, 3, minimum), (TBoxSize{340, 240}));
    EXPECT_EQ(GripResize(start, -60, -60, minimum), minimum);
}

TEST(PlayListGeometry, EdgesResizeWithTheOppositeEdgeFixed)
{
    const TWindowBox start{100, 100, 400, 300};
    EXPECT_EQ(SizingEdgesAt(3, 150, 400, 300), seLeft);
    EXPECT_EQ(SizingEdgesAt(10, 150, 400, 300), 0);
    EXPECT_EQ(SizingEdgesAt(395, 295, 400, 300), seRight | seBottom);
    EXPECT_EQ(SizingEdgesAt(11, 3, 400, 300), seLeft | seTop); // corners are wider than edges
    EXPECT_EQ(ResizeByEdges(start, seLeft | seTop, 30, -20, {300, 240}), (TWindowBox{130, 80, 370, 320}));
    EXPECT_EQ(ResizeByEdges(start, seLeft, 250, 0, {300, 240}), (TWindowBox{200, 100, 300, 300}));
    EXPECT_EQ(ResizeByEdges(start, seBottom, 0, -100, {300, 240}), (TWindowBox{100, 100, 400, 240}));
}

TEST(PlayListGeometry, ThumbAndPositionMapBothWays)
{
    const TThumbTrack track{44, 150, 28}; // travel 122
    EXPECT_EQ(ThumbTopForPosition(track, 0, 0), 44);      // nothing to scroll
    EXPECT_EQ(ThumbTopForPosition(track, 0, 50), 44);
    EXPECT_EQ(ThumbTopForPosition(track, 25, 50), 44 + 61);
    EXPECT_EQ(ThumbTopForPosition(track, 50, 50), 44 + 122);
    EXPECT_EQ(PositionForThumbTop(track, 30, 50), 0);
    EXPECT_EQ(PositionForThumbTop(track, 44 + 61, 50), 25);
    EXPECT_EQ(PositionForThumbTop(track, 500, 50), 50);
    for (int pos = 0; pos <= 50; ++pos)
        EXPECT_EQ(PositionForThumbTop(track, ThumbTopForPosition(track, pos, 50), 50), pos);
}

} // namespace
