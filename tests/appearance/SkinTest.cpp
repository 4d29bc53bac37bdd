// skin.ini values, defaults and garbage; slot hit tests; slider thumbs; the
// areas scanned when an outline is cut.

#include "appearance/Skin.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

struct RectCase {
    const char *text;
    TSkinRect want;
};

TEST(SkinValues, RectanglesReadPartByPart)
{
    const RectCase cases[] = {
        {"1,2,3,4", {1, 2, 3, 4}},
        {" 5 , 6 ,7, 8 ", {5, 6, 7, 8}},
        {"1,2", {1, 2, 0, 0}},             // missing parts read as 0
        {"a,2,b,4", {0, 2, 0, 4}},         // parts that are no number read as 0
        {"1,2,3,4,5", {1, 2, 3, 4}},       // after a fourth comma: ignored
        {"1,2,3,4x", {1, 2, 3, 0}},
        {"-3,4,5,6", {-3, 4, 5, 6}},
        {"", {0, 0, 0, 0}},
        {"99999999999,1,2,3", {0, 1, 2, 3}}, // out of range is no number
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParseSkinRect(c.text), c.want) << c.text;
}

struct ColourCase {
    const char *text;
    int r, g, b;
};

TEST(SkinValues, ColoursReadRedGreenAndTheRestAsBlue)
{
    const ColourCase cases[] = {
        {"1,2,3", 1, 2, 3},
        {"255,128", 255, 0, 128}, // two parts: the last is blue, green is missing
        {"200", 0, 0, 200},       // no comma: pure blue
        {" 10 , 20 , 30 ", 10, 20, 30},
        {"256,257,-1", 0, 1, 255}, // only the low 8 bits count
        {"x,y,z", 0, 0, 0},
        {"1,2,3,4", 1, 2, 0},      // the rest "3,4" is no number
        {"", 0, 0, 0},
    };
    for (const auto &c : cases) {
        const TSkinColor colour = ParseSkinColor(c.text);
        EXPECT_EQ(ColorRed(colour), c.r) << c.text;
        EXPECT_EQ(ColorGreen(colour), c.g) << c.text;
        EXPECT_EQ(ColorBlue(colour), c.b) << c.text;
    }
    EXPECT_EQ(ParseSkinColor("1,2,3"), 1u + 2u * 256 + 3u * 65536);
}

class SkinIniTest : public ::testing::Test {
protected:
    TSkinIni Read(const std::string &bytes)
    {
        WriteFileBytes(dir_ / "skin.ini", bytes);
        return ReadSkinIni(dir_ / "skin.ini");
    }
    TempDir dir_;
};

TEST_F(SkinIniTest, MissingFileGivesEveryDefault)
{
    const TSkinIni s = ReadSkinIni(dir_ / "none.ini");
    EXPECT_EQ(s.FaceMainForm, "main.bmp");
    EXPECT_EQ(s.FacePlayListForm, "playlist.bmp");
    EXPECT_EQ(s.FaceMainFormDown, "main_down.bmp");
    EXPECT_EQ(s.FaceAdd, "add.bmp");
    EXPECT_EQ(s.FaceNums, "nums.bmp");
    EXPECT_EQ(s.FaceClockNums, "nums_clock.bmp");
    EXPECT_FALSE(s.ColorMaskAdd);
    EXPECT_FALSE(s.ColorMaskMainForm);
    EXPECT_FALSE(s.ColorMaskPlayListForm);
    EXPECT_EQ(s.CropRegionTypeMainForm, 1);
    EXPECT_EQ(s.CropRegionTypePlayListForm, 1);
    EXPECT_TRUE(s.PlayListFormCanZoom);
    EXPECT_FALSE(s.MoveResizeStyle);
    EXPECT_FALSE(s.LockPlayListForm);
    EXPECT_EQ(s.StepNum, 40);
    EXPECT_FALSE(s.sElapsedTime);
    EXPECT_FALSE(s.sClock);
    EXPECT_TRUE(s.NumsFontBold);
    EXPECT_EQ(s.NumsFontColor, 0u);
    for (const TSkinLabel &l : s.Labels) {
        EXPECT_EQ(l.ScrollDelay, 150);
        EXPECT_EQ(l.ScrollStep, 3);
        EXPECT_EQ(l.ScrollMode, 1);
        EXPECT_EQ(l.ShadowOffset, 1);
        EXPECT_EQ(l.ShadowColor, SkinColor(255, 255, 255));
        EXPECT_FALSE(l.Elipses);
        EXPECT_FALSE(l.FontBold);
    }
    EXPECT_EQ(s.Tree.Color, SkinColor(255, 255, 255));
    EXPECT_EQ(s.Tree.PlayingItemFontColor, SkinColor(0, 174, 239));
    EXPECT_EQ(s.Tree.SelectedItemBackColor, SkinColor(8, 36, 107));
    EXPECT_EQ(s.TreeIconFile(0), "radio.ico");
    EXPECT_EQ(s.TreeIconFile(9), "netradio.ico");
    EXPECT_EQ(s.TreeIconFile(12), "12.ico");
}

TEST_F(SkinIniTest, GarbageValuesFallBackToTheirDefaults)
{
    const TSkinIni s = Read("[skin]\r\n"
                            "CropRegionType_MainForm=abc\r\n"
                            "PlayListFormCanZoom=maybe\r\n"
                            "MoveResizeStyle=x\r\n"
                            "LockPlayListForm=\r\n"
                            "ColorMask_MainForm=red\r\n"
                            "[MAINFORM]\r\n"
                            "StepNum=many\r\n"
                            "bPlay=one,two\r\n"
                            "NumsFontBold=yes\r\n"
                            "sClock=\r\n"
                            "[NameLabel]\r\n"
                            "ScrollDelay=fast\r\n"
                            "FontBold=2\r\n"
                            "[VolumeBar]\r\n"
                            "Orientation=sideways\r\n");
    EXPECT_EQ(s.CropRegionTypeMainForm, 1);
    EXPECT_TRUE(s.PlayListFormCanZoom);
    EXPECT_FALSE(s.MoveResizeStyle);
    EXPECT_FALSE(s.LockPlayListForm);
    ASSERT_TRUE(s.ColorMaskMainForm); // present, reads as black
    EXPECT_EQ(*s.ColorMaskMainForm, 0u);
    EXPECT_EQ(s.StepNum, 40);
    EXPECT_TRUE(s.MainSlots[msPlay].IsZero());
    EXPECT_TRUE(s.NumsFontBold);
    ASSERT_TRUE(s.sClock); // present but empty: a zero rectangle
    EXPECT_TRUE(s.sClock->IsZero());
    EXPECT_EQ(s.Labels[slName].ScrollDelay, 150);
    EXPECT_FALSE(s.Labels[slName].FontBold); // only 1 is bold
    EXPECT_EQ(s.Bars[skVolume].Orientation, 0);
}

TEST_F(SkinIniTest, ReadsSectionsAndKeysWithoutRegardToCase)
{
    const TSkinIni s = Read("[MainForm]\r\n"
                            "BPLAY=1,2,3,4\r\n"
                            "bnum3=10,20,30,40\r\n"
                            "NumLabel4=5,5,9,9\r\n"
                            "StepNum=3\r\n"
                            "[addface]\r\n"
                            "bmute_down=7,7,8,8\r\n"
                            "[Skin]\r\n"
                            "moveresizestyle=2\r\n"
                            "LockPlayListForm=1\r\n"
                            "Icon10=ten.ico\r\n"
                            "Icon12=twelve.ico\r\n"
                            "Radio_Icon=r.ico\r\n"
                            "ColorMask_Add=1,2,3\r\n"
                            "[ProgressBar]\r\nBoundsRect=1,1,50,9\r\nOrientation=3\r\n"
                            "[Tree]\r\nFontColor=1,1,1\r\nColor=9,9,9\r\n"
                            "[List]\r\nColor=5,5,5\r\n");
    EXPECT_EQ(s.MainSlots[msPlay], (TSkinRect{1, 2, 3, 4}));
    // Channel labels default to their slot moved in by one pixel.
    EXPECT_EQ(s.NumLabels[2], (TSkinRect{11, 21, 30, 40}));
    EXPECT_TRUE(s.NumLabelAtDefault[2]);
    EXPECT_EQ(s.NumLabels[3], (TSkinRect{5, 5, 9, 9}));
    EXPECT_FALSE(s.NumLabelAtDefault[3]);
    EXPECT_EQ(s.StepNum, 3);
    EXPECT_EQ(s.bMute.Down, (TSkinRect{7, 7, 8, 8}));
    EXPECT_EQ(s.MoveResizeStyle, 2);
    EXPECT_EQ(s.LockPlayListForm, true);
    EXPECT_EQ(s.TreeIconFile(0), "r.ico");
    EXPECT_EQ(s.TreeIconFile(10), "ten.ico");
    EXPECT_EQ(s.TreeIconFile(11), "11.ico");
    EXPECT_EQ(s.TreeIconFile(12), "twelve.ico");
    EXPECT_EQ(s.ColorMaskAdd, SkinColor(1, 2, 3));
    EXPECT_EQ(s.Bars[skProgress].Orientation, 3);
    EXPECT_EQ(s.Bars[skProgress].BoundsRect, (TSkinRect{1, 1, 50, 9}));
    // The music list takes the tree's values for the keys it lacks.
    EXPECT_EQ(s.List.FontColor, SkinColor(1, 1, 1));
    EXPECT_EQ(s.List.Color, SkinColor(5, 5, 5));
    EXPECT_EQ(s.List.PlayingItemFontColor, SkinColor(0, 174, 239));
}

TEST(SkinValues, VolumeStepIsAHundredDividedByTheStepCount)
{
    const std::pair<int, int> cases[] = {{40, 2}, {0, 2}, {3, 33}, {1, 100}, {-5, 2}, {200, 1}};
    for (const auto &[steps, percent] : cases) {
        TSkinIni s;
        s.StepNum = steps;
        EXPECT_EQ(s.VolumeStep(), percent) << steps;
    }
}

TEST(SkinHitTest, SlotsAreHitStrictlyInsideAndTheLowestIndexWins)
{
    const TSkinRect slots[] = {{0, 0, 0, 0}, {10, 10, 20, 20}, {15, 15, 30, 30}};
    EXPECT_EQ(HitSlot(slots, 3, 0, 0), -1);   // a zero rectangle is never hit
    EXPECT_EQ(HitSlot(slots, 3, 10, 15), -1); // on the left edge
    EXPECT_EQ(HitSlot(slots, 3, 11, 11), 1);
    EXPECT_EQ(HitSlot(slots, 3, 19, 19), 1);  // overlap: slot 1 first
    EXPECT_EQ(HitSlot(slots, 3, 20, 20), 2);  // right and bottom edges of 1 are outside it
    EXPECT_EQ(HitSlot(slots, 3, 30, 29), -1);
}

// ---- Sliders --------------------------------------------------------------

TSkinSlider Slider(TSliderKind kind, int orientation)
{
    // A horizontal track 100 x 10 or a vertical one 10 x 100, thumb 10 x 6
    // (or 6 x 10): a range of 90 pixels.
    const bool vertical = orientation >= 2;
    const TSkinBar bar{vertical ? TSkinRect{50, 0, 60, 100} : TSkinRect{0, 50, 100, 60}, orientation};
    return vertical ? TSkinSlider(kind, bar, 6, 10) : TSkinSlider(kind, bar, 10, 6);
}

TEST(SkinSlider, ThumbIsCentredAcrossTheTrackAtTheMinimumEnd)
{
    struct Case {
        int orientation;
        TSkinRect thumb;
    } cases[] = {{0, {0, 52, 10, 58}}, {1, {90, 52, 100, 58}}, {2, {52, 0, 58, 10}}, {3, {52, 90, 58, 100}}};
    for (const auto &c : cases) {
        const TSkinSlider s = Slider(skVolume, c.orientation);
        EXPECT_EQ(s.Thumb(), c.thumb) << c.orientation;
        EXPECT_EQ(s.Fraction(), 0.0);
    }
}

TEST(SkinSlider, PlacingFromAFractionAndReadingItBack)
{
    struct Case {
        int orientation;
        double fraction;
        int left, top;
    } cases[] = {
        {0, 0.5, 45, 52},  {0, 1.0, 90, 52},  {0, 0.333, 30, 52}, // 29.97 rounds to 30
        {1, 0.25, 67, 52}, {1, 1.0, 0, 52}, // left = T right - S width - round(f * R)
        {2, 0.5, 52, 45},  {3, 0.1, 52, 81},  {3, 2.0, 52, 0},    // clamped to 1
        {0, -1.0, 0, 52},
    };
    for (const auto &c : cases) {
        TSkinSlider s = Slider(skVolume, c.orientation);
        s.SetFraction(c.fraction);
        EXPECT_EQ(s.Thumb().Left, c.left) << c.orientation << " " << c.fraction;
        EXPECT_EQ(s.Thumb().Top, c.top) << c.orientation << " " << c.fraction;
        const double back = std::clamp(c.fraction, 0.0, 1.0);
        EXPECT_NEAR(s.Fraction(), back, 0.5 / 90) << c.orientation << " " << c.fraction;
    }
}

TEST(SkinSlider, FillRunsFromTheMinimumEndToTheSliderBoundary)
{
    // Thumb at offset 45 (fraction 0.5): horizontal left 45..55, vertical top 45..55.
    struct Case {
        TSliderKind kind;
        int orientation;
        TSkinRect fill;
    } cases[] = {
        {skVolume, 0, {0, 50, 55, 60}},   {skVolume, 1, {55, 50, 100, 60}},
        {skVolume, 2, {50, 0, 60, 55}},   {skVolume, 3, {50, 55, 60, 100}},
        {skBalance, 0, {0, 50, 50, 60}},  {skBalance, 1, {50, 50, 100, 60}},
        {skBalance, 2, {50, 0, 60, 50}},  {skBalance, 3, {50, 50, 60, 100}},
        {skProgress, 0, {0, 50, 45, 60}}, {skProgress, 1, {55, 50, 100, 60}},
        {skProgress, 2, {50, 0, 60, 45}}, {skProgress, 3, {50, 55, 60, 100}},
    };
    for (const auto &c : cases) {
        TSkinSlider s = Slider(c.kind, c.orientation);
        s.SetFraction(0.5);
        EXPECT_EQ(s.FillRect(), c.fill) << c.kind << " " << c.orientation;
    }
    // At the minimum end a progress bar has nothing to fill.
    EXPECT_TRUE(Slider(skProgress, 0).FillRect().IsEmpty());
}

TEST(SkinSlider, PressOnTheTrackPutsThePointerAtTwoThirdsOfTheThumbThenDrags)
{
    TSkinSlider s = Slider(skVolume, 0);
    s.Press(50, 55); // outside the thumb (0..10)
    EXPECT_TRUE(s.Dragging());
    EXPECT_EQ(s.Thumb().Left, 50 - 10 * 2 / 3);
    s.DragTo(70, 0); // follows x only
    EXPECT_EQ(s.Thumb().Left, 70 - 6);
    EXPECT_EQ(s.Thumb().Top, 52);
    s.DragTo(500, 55); // clamped to the track
    EXPECT_EQ(s.Thumb().Right, 100);
    EXPECT_DOUBLE_EQ(s.Fraction(), 1.0);
    s.DragTo(-500, 55);
    EXPECT_EQ(s.Thumb().Left, 0);
    s.Release();
    EXPECT_FALSE(s.Dragging());

    // On the thumb it is grabbed where it was hit; reversed tracks move with the pointer too.
    TSkinSlider r = Slider(skVolume, 1);
    r.Press(95, 55); // thumb at 90..100, grabbed 5 px in
    r.DragTo(45, 55);
    EXPECT_EQ(r.Thumb().Left, 40);
    EXPECT_NEAR(r.Fraction(), 50.0 / 90, 1e-9);
    TSkinSlider v = Slider(skVolume, 3);
    v.Press(55, 20); // outside the thumb at 90..100
    EXPECT_EQ(v.Thumb().Top, 20 - 10 * 2 / 3);
}

TEST(SkinSlider, AThumbAsLargeAsItsTrackStaysPutAndReadsZero)
{
    TSkinSlider s(skVolume, {{0, 0, 10, 10}, 0}, 20, 10);
    s.SetFraction(0.7);
    EXPECT_EQ(s.Thumb().Left, 0);
    EXPECT_EQ(s.Fraction(), 0.0);
    s.SetFraction(std::nan(""));
    EXPECT_EQ(s.Fraction(), 0.0);
}

// ---- Crop areas -----------------------------------------------------------

TEST(SkinCrop, AreasFollowTheCropTypeAndTheKeptRectangle)
{
    const TSkinRect k{2, 3, 8, 7};
    using V = std::vector<TSkinRect>;
    EXPECT_EQ(CropAreas(0, k, 10, 10), (V{{0, 0, 10, 10}}));
    EXPECT_EQ(CropAreas(1, k, 10, 10), (V{{0, 0, 10, 3}, {0, 7, 10, 10}, {0, 3, 2, 7}, {8, 3, 10, 7}}));
    EXPECT_EQ(CropAreas(2, k, 10, 10), (V{{0, 0, 2, 3}, {0, 7, 2, 10}, {8, 0, 10, 3}, {8, 7, 10, 10}}));
    EXPECT_EQ(CropAreas(3, k, 10, 10), V{});
    EXPECT_EQ(CropAreas(-1, k, 10, 10), V{});
    // Type 1 around an empty kept rectangle scans everything.
    EXPECT_EQ(CropAreas(1, {}, 10, 10), (V{{0, 0, 10, 10}}));
    // A kept rectangle outside the window, or inside out, is clipped: the
    // areas stay inside the window and never overlap.
    EXPECT_EQ(CropAreas(1, {-5, -5, 50, 50}, 10, 10), V{});
    EXPECT_EQ(CropAreas(2, {8, 8, 2, 2}, 10, 10), (V{{0, 0, 8, 8}, {0, 8, 8, 10}, {8, 0, 10, 8}, {8, 8, 10, 10}}));
}

} // namespace
