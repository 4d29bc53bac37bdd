// Cutting a window's outline from its face by the mask colour, pixel by pixel.

#include "appearance/SkinFace.h"

#include "SkinFixture.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Pixels = std::set<std::pair<int, int>>;

// 6 x 4 grey with mask pixels: a run of two in the top left corner, one in
// the other corners, one inside the kept rectangle and one on the bottom edge.
QImage Face()
{
    QImage image = Solid(6, 4, QColor(90, 90, 90));
    for (auto [x, y] : Pixels{{0, 0}, {1, 0}, {5, 0}, {2, 1}, {0, 3}, {3, 3}, {5, 3}})
        image.setPixel(x, y, MaskRgb);
    image.setPixel(4, 1, qRgb(255, 0, 254)); // one step off the mask colour: kept
    return image;
}

TEST(SkinOutline, CutsMaskPixelsOfTheScannedAreasOnly)
{
    const TSkinRect keep{1, 1, 5, 3};
    const struct {
        int cropType;
        Pixels cut;
    } cases[] = {
        {0, {{0, 0}, {1, 0}, {5, 0}, {2, 1}, {0, 3}, {3, 3}, {5, 3}}},
        {1, {{0, 0}, {1, 0}, {5, 0}, {0, 3}, {3, 3}, {5, 3}}}, // not inside the kept rectangle
        {2, {{0, 0}, {5, 0}, {0, 3}, {5, 3}}},                 // the four corners outside it
        {7, {}},                                               // rectangular
    };
    const QImage face = Face();
    for (const auto &c : cases) {
        const QRegion region = CutOutline(face, SkinColor(255, 0, 255), c.cropType, keep, 6, 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(region.contains(QPoint(x, y)), !c.cut.count({x, y}))
                    << "type " << c.cropType << " at " << x << "," << y;
    }
}

TEST(SkinOutline, AWindowLargerThanItsFaceKeepsTheRest)
{
    const QRegion region = CutOutline(Face(), SkinColor(255, 0, 255), 0, {}, 9, 6);
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_TRUE(region.contains(QPoint(8, 5)));
    EXPECT_TRUE(region.contains(QPoint(7, 0)));
    EXPECT_FALSE(region.contains(QPoint(9, 0))); // outside the window
    EXPECT_EQ(region.boundingRect(), QRect(0, 0, 9, 6));
}

TEST(SkinOutline, AnotherMaskColourCutsOtherPixels)
{
    const QRegion region = CutOutline(Face(), SkinColor(90, 90, 90), 0, {}, 6, 4);
    EXPECT_TRUE(region.contains(QPoint(0, 0)));
    EXPECT_FALSE(region.contains(QPoint(3, 1)));
}

} // namespace
