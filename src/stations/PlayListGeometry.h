#pragma once
// How the two skinned windows move, dock, snap and resize against each other,
// and how the list window's own scroll thumb maps to the list's position.
// Plain arithmetic on window boxes in screen coordinates.

struct TWindowBox {
    int Left = 0, Top = 0, Width = 0, Height = 0;

    int Right() const { return Left + Width; }
    int Bottom() const { return Top + Height; }
    TWindowBox MovedTo(int left, int top) const { return {left, top, Width, Height}; }
    bool operator==(const TWindowBox &) const = default;
};

// Edges closer than this pull the list window against the main window.
constexpr int SnapDistance = 12;

// The list window touches the main window: one of its edges lies on the
// opposite edge of the main window (left on right, right on left, top on
// bottom, bottom on top).
bool WindowsTouch(const TWindowBox &list, const TWindowBox &main);

// Where the list window goes when the user drags it to `wanted`: against an
// edge of the main window that it comes near (top or bottom edges first,
// then the sides), then aligned with the main window's near corner when that
// is near too. Only an edge the list window faces counts: the two windows
// must overlap, or nearly so, along that edge.
TWindowBox SnapListWindow(const TWindowBox &wanted, const TWindowBox &main);

// What a move of one window does to the other: `other` follows by the same
// offset when it touched `moved` before the move and `follow` allows it.
TWindowBox FollowMove(const TWindowBox &movedBefore, const TWindowBox &movedAfter, const TWindowBox &other,
                      bool follow);

// The size a grip drag gives: the width changes only once the horizontal drag
// exceeds 14 pixels, the height once the vertical drag reaches 15, and
// neither goes below its minimum.
struct TBoxSize {
    int Width = 0, Height = 0;
    bool operator==(const TBoxSize &) const = default;
};
TBoxSize GripResize(TBoxSize start, int dx, int dy, TBoxSize minimum);

// Sizing borders of a window whose edges resize it: corners of 12 pixels,
// edges of 8. Combination of the flags below, 0 inside.
enum TSizingEdge { seLeft = 1, seTop = 2, seRight = 4, seBottom = 8 };
int SizingEdgesAt(int x, int y, int width, int height);
// The box after dragging the given edges by (dx, dy), kept at its minimum
// size with the opposite edges fixed.
TWindowBox ResizeByEdges(const TWindowBox &start, int edges, int dx, int dy, TBoxSize minimum);

// The scroll thumb on its track. Positions count rows; `maxPos` is the top
// row of the last page (0 when nothing scrolls).
struct TThumbTrack {
    int Top = 0, Length = 0, ThumbHeight = 0;
    int Travel() const { return Length - ThumbHeight; }
};
// The thumb's top for a list position.
int ThumbTopForPosition(const TThumbTrack &track, int position, int maxPos);
// The list position for a thumb dragged to `thumbTop` (clamped to the track).
int PositionForThumbTop(const TThumbTrack &track, int thumbTop, int maxPos);
