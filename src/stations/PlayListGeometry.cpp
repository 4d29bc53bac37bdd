#include "stations/PlayListGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

bool Near(int a, int b) { return std::abs(a - b) < SnapDistance; }

// The ranges [a1, a2) and [b1, b2) overlap or come within the snap distance.
bool Facing(int a1, int a2, int b1, int b2) { return a1 < b2 + SnapDistance && b1 < a2 + SnapDistance; }

} // namespace

bool WindowsTouch(const TWindowBox &list, const TWindowBox &main)
{
    return list.Left == main.Right() || list.Right() == main.Left || list.Top == main.Bottom() ||
           list.Bottom() == main.Top;
}

TWindowBox SnapListWindow(const TWindowBox &wanted, const TWindowBox &main)
{
    TWindowBox box = wanted;
    const bool alongX = Facing(box.Left, box.Right(), main.Left, main.Right());
    const bool alongY = Facing(box.Top, box.Bottom(), main.Top, main.Bottom());
    const bool nearBelow = Near(box.Top, main.Bottom()), nearAbove = Near(box.Bottom(), main.Top);
    if (alongX && (nearBelow || nearAbove)) {
        box.Top = nearBelow ? main.Bottom() : main.Top - box.Height;
        if (box.Left != main.Left && box.Right() != main.Right()) {
            if (Near(box.Left, main.Left))
                box.Left = main.Left;
            else if (Near(box.Right(), main.Right()))
                box.Left = main.Right() - box.Width;
        }
        return box;
    }
    const bool nearRight = Near(box.Left, main.Right()), nearLeft = Near(box.Right(), main.Left);
    if (alongY && (nearRight || nearLeft)) {
        box.Left = nearRight ? main.Right() : main.Left - box.Width;
        if (box.Top != main.Top && box.Bottom() != main.Bottom()) {
            if (Near(box.Top, main.Top))
                box.Top = main.Top;
            else if (Near(box.Bottom(), main.Bottom()))
                box.Top = main.Bottom() - box.Height;
        }
    }
    return box;
}

TWindowBox FollowMove(const TWindowBox &movedBefore, const TWindowBox &movedAfter, const TWindowBox &other,
                      bool follow)
{
    if (!follow || !WindowsTouch(other, movedBefore))
        return other;
    return other.MovedTo(other.Left + movedAfter.Left - movedBefore.Left, other.Top + movedAfter.Top - movedBefore.Top);
}

TBoxSize GripResize(TBoxSize start, int dx, int dy, TBoxSize minimum)
{
    TBoxSize size = start;
    if (std::abs(dx) > 14)
        size.Width = std::max(minimum.Width, start.Width + dx);
    if (std::abs(dy) >= 15)
        size.Height = std::max(minimum.Height, start.Height + dy);
    return size;
}

int SizingEdgesAt(int x, int y, int width, int height)
{
    constexpr int Corner = 12, Edge = 8;
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    const bool cornerX = x < Corner || x >= width - Corner, cornerY = y < Corner || y >= height - Corner;
    if (cornerX && cornerY)
        return (x < Corner ? seLeft : seRight) | (y < Corner ? seTop : seBottom);
    int edges = 0;
    if (x < Edge)
        edges |= seLeft;
    else if (x >= width - Edge)
        edges |= seRight;
    if (y < Edge)
        edges |= seTop;
    else if (y >= height - Edge)
        edges |= seBottom;
    return edges;
}

TWindowBox ResizeByEdges(const TWindowBox &start, int edges, int dx, int dy, TBoxSize minimum)
{
    TWindowBox box = start;
    if (edges & seRight)
        box.Width = std::max(minimum.Width, start.Width + dx);
    if (edges & seBottom)
        box.Height = std::max(minimum.Height, start.Height + dy);
    if (edges & seLeft) {
        box.Width = std::max(minimum.Width, start.Width - dx);
        box.Left = start.Right() - box.Width;
    }
    if (edges & seTop) {
        box.Height = std::max(minimum.Height, start.Height - dy);
        box.Top = start.Bottom() - box.Height;
    }
    return box;
}

int ThumbTopForPosition(const TThumbTrack &track, int position, int maxPos)
{
    if (maxPos <= 0 || track.Travel() <= 0)
        return track.Top;
    if (position >= maxPos)
        return track.Top + track.Travel();
    return track.Top + static_cast<int>(std::lround(double(std::max(position, 0)) / maxPos * track.Travel()));
}

int PositionForThumbTop(const TThumbTrack &track, int thumbTop, int maxPos)
{
    if (maxPos <= 0 || track.Travel() <= 0 || thumbTop <= track.Top)
        return 0;
    if (thumbTop >= track.Top + track.Travel())
        return maxPos;
    return static_cast<int>(std::lround(double(thumbTop - track.Top) / track.Travel() * maxPos));
}
