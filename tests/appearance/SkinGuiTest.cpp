// Loading skins with their fall-backs, painting and hit-testing the main
// window's face, and the two shipped skins.

#include "appearance/SkinFace.h"

#include "app/GlobalUnit.h"
#include "appearance/MyDigitsPanel.h"
#include "appearance/MyScrollLabel.h"
#include "SkinFixture.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {

class SkinLoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedAppPath_ = AppPath();
        SetAppPath(dir_.Path());
    }
    void TearDown() override { SetAppPath(savedAppPath_); }

    std::string Folder(const std::string &name) const { return dir_ / ("Skins/" + name + "/"); }
    std::string Write(const std::string &name, const TTinySkin &skin = {})
    {
        WriteTinySkin(Folder(name), skin);
        return Folder(name);
    }
    static QColor At(const QImage &image, int x, int y) { return QColor(image.pixel(x, y)); }

    TempDir dir_;

private:
    std::string savedAppPath_;
};

TEST_F(SkinLoadTest, LoadsBmpAndPngFaces)
{
    for (bool png : {false, true}) {
        TSkin skin;
        ASSERT_TRUE(skin.LoadSkin(Write(png ? "png" : "bmp", {.Png = png}))) << png;
        EXPECT_EQ(skin.MainFace().size(), QSize(40, 20));
        EXPECT_EQ(At(skin.MainFace(), 5, 5), QColor(100, 100, 100));
        EXPECT_EQ(At(skin.MainFaceDown(), 5, 5), QColor(200, 0, 0));
        EXPECT_EQ(skin.ListFace().size(), QSize(30, 30));
        EXPECT_EQ(At(skin.AddFace(), 1, 1), QColor(Qt::green));
    }
}

TEST_F(SkinLoadTest, ABrokenSkinFailsAndLeavesTheSkinInEffectWhole)
{
    const struct {
        const char *what;
        std::function<void(const std::string &folder)> breakIt;
    } cases[] = {
        {"no skin.ini", [](const std::string &f) { fs::remove(f + "skin.ini"); }},
        {"no main face", [](const std::string &f) { fs::remove(f + "main.bmp"); }},
        {"no list face", [](const std::string &f) { fs::remove(f + "playlist.bmp"); }},
        {"corrupt main face", [](const std::string &f) { WriteFileBytes(f + "main.bmp", "BM not really"); }},
        {"corrupt list face", [](const std::string &f) { WriteFileBytes(f + "playlist.bmp", ""); }},
        {"corrupt pressed face", [](const std::string &f) { WriteFileBytes(f + "main_down.bmp", "garbage"); }},
        {"corrupt add face", [](const std::string &f) { WriteFileBytes(f + "add.bmp", "garbage"); }},
        {"corrupt digit strip", [](const std::string &f) { WriteFileBytes(f + "nums.bmp", "garbage"); }},
        {"main face is a folder", [](const std::string &f) { fs::remove(f + "main.bmp"); fs::create_directory(f + "main.bmp"); }},
        {"no folder", [](const std::string &f) { fs::remove_all(f); }},
    };
    TSkin skin;
    ASSERT_TRUE(skin.LoadSkin(Write("good", {.Main = QColor(10, 20, 30)})));
    for (const auto &c : cases) {
        const std::string folder = Write("broken", {.Main = QColor(200, 200, 200), .Pressed = Qt::blue});
        c.breakIt(folder);
        EXPECT_FALSE(skin.LoadSkin(folder)) << c.what;
        EXPECT_EQ(At(skin.MainFace(), 5, 5), QColor(10, 20, 30)) << c.what;
        EXPECT_EQ(At(skin.MainFaceDown(), 5, 5), QColor(200, 0, 0)) << c.what;
        fs::remove_all(folder);
    }
}

TEST_F(SkinLoadTest, ApplySkinFallsBackToTheDefaultSkin)
{
    Write("default", {.Main = QColor(1, 2, 3)});
    Write("nice", {.Main = QColor(4, 5, 6)});
    fs::remove(Write("nolist") + "playlist.bmp");

    TSkin skin;
    EXPECT_TRUE(skin.ApplySkin("nice"));
    EXPECT_EQ(skin.SkinName(), "nice");
    EXPECT_EQ(At(skin.MainFace(), 5, 5), QColor(4, 5, 6));

    EXPECT_TRUE(skin.ApplySkin("nolist"));
    EXPECT_EQ(skin.SkinName(), "Default");
    EXPECT_EQ(At(skin.MainFace(), 5, 5), QColor(1, 2, 3));

    EXPECT_TRUE(skin.ApplySkin("missing"));
    EXPECT_EQ(skin.SkinName(), "Default");

    // Without a default skin the fall-back fails too; the name is still "Default".
    fs::remove_all(Folder("default"));
    EXPECT_FALSE(skin.ApplySkin("nolist"));
    EXPECT_EQ(skin.SkinName(), "Default");
    EXPECT_EQ(At(skin.MainFace(), 5, 5), QColor(1, 2, 3)); // what was loaded stays
}

TEST_F(SkinLoadTest, MissingOptionalPiecesKeepOrCopyWhatTheRulesSay)
{
    TSkin skin;
    const std::string first = Write("first", {.SkinKeys = "MoveResizeStyle=2\r\nLockPlayListForm=1\r\n"});
    SaveImage(Solid(24, 4, Qt::magenta), first + "nums.bmp");
    ASSERT_TRUE(skin.LoadSkin(first));
    EXPECT_EQ(skin.MoveResizeStyle(), 2);
    EXPECT_TRUE(skin.LockPlayListForm());

    const std::string second = Write("second", {.Main = QColor(50, 60, 70)});
    fs::remove(second + "main_down.bmp");
    fs::remove(second + "add.bmp");
    ASSERT_TRUE(skin.LoadSkin(second));
    // No pressed face: a copy of the main face, so pressing shows no change.
    EXPECT_EQ(skin.MainFaceDown(), skin.MainFace());
    // No add face, digit strip or window options: the previous ones stay.
    EXPECT_EQ(At(skin.AddFace(), 1, 1), QColor(Qt::green));
    EXPECT_EQ(skin.ElapsedDigits().size(), QSize(24, 4));
    EXPECT_EQ(skin.MoveResizeStyle(), 2);
    EXPECT_TRUE(skin.LockPlayListForm());
}

TEST_F(SkinLoadTest, TreeIconsComeFromTheSkinTheDefaultSkinOrTheTreeItself)
{
    Write("default");
    WriteIcon(Folder("default") + "group.ico", Qt::red);
    const std::string folder = Write("icons", {.SkinKeys = "Radio_Icon=my radio.ico\r\n"});
    WriteIcon(folder + "my radio.ico", Qt::green);
    WriteIcon(folder + "10.ico", Qt::yellow);
    WriteIcon(folder + "12.ico", Qt::cyan);
    WriteFileBytes(folder + "tv.ico", "not an icon");

    TSkin skin;
    const QImage builtInTv = skin.TreeIcons().at(4);
    ASSERT_TRUE(skin.LoadSkin(folder));
    // No icon 11 anywhere: the list ends after 10, and 12 is never reached.
    ASSERT_EQ(skin.TreeIcons().size(), 11u);
    for (const QImage &icon : skin.TreeIcons())
        EXPECT_EQ(icon.size(), QSize(16, 16));
    EXPECT_EQ(At(skin.TreeIcons()[0], 8, 8), QColor(Qt::green));
    EXPECT_EQ(At(skin.TreeIcons()[1], 8, 8), QColor(Qt::red)); // from the default skin
    EXPECT_EQ(skin.TreeIcons()[4], builtInTv);                  // unreadable: the tree's own icon
    EXPECT_EQ(At(skin.TreeIcons()[10], 8, 8), QColor(Qt::yellow));

    // With 11.ico in the default skin the list bridges the gap.
    WriteIcon(Folder("default") + "11.ico", Qt::blue);
    ASSERT_TRUE(skin.LoadSkin(folder));
    ASSERT_EQ(skin.TreeIcons().size(), 13u);
    EXPECT_EQ(At(skin.TreeIcons()[11], 8, 8), QColor(Qt::blue));
    EXPECT_EQ(At(skin.TreeIcons()[12], 8, 8), QColor(Qt::cyan));

    // A skin without icons keeps the icons in effect at every index.
    fs::remove(Folder("default") + "11.ico");
    ASSERT_TRUE(skin.LoadSkin(Write("plain")));
    ASSERT_EQ(skin.TreeIcons().size(), 13u);
    EXPECT_EQ(At(skin.TreeIcons()[0], 8, 8), QColor(Qt::green));
    EXPECT_EQ(At(skin.TreeIcons()[12], 8, 8), QColor(Qt::cyan));
}

TEST_F(SkinLoadTest, SwitchingTwiceLeavesExactlyTheSecondSkinsTrayFrames)
{
    const std::string a = Write("a");
    for (int n = 1; n <= 8; ++n)
        WriteIcon(a + std::to_string(n) + ".ico", Qt::red);
    const std::string b = Write("b");
    WriteIcon(b + "1.ico", Qt::blue);
    WriteIcon(b + "3.ico", Qt::blue);

    TSkin skin;
    ASSERT_TRUE(skin.LoadSkin(a));
    EXPECT_EQ(skin.TrayFrames().size(), 8u);
    ASSERT_TRUE(skin.LoadSkin(b));
    ASSERT_EQ(skin.TrayFrames().size(), 2u);
    for (const QImage &frame : skin.TrayFrames())
        EXPECT_EQ(At(frame, 8, 8), QColor(Qt::blue));
}

TEST_F(SkinLoadTest, MainOutlineIsCutByTheMaskColourOutsideTheKeptRectangle)
{
    TSkin skin;
    ASSERT_TRUE(skin.LoadSkin(Write("a")));
    const QRegion outline = skin.MainOutline();
    for (auto [x, y] : {std::pair{0, 0}, {39, 0}, {0, 19}, {39, 19}})
        EXPECT_FALSE(outline.contains(QPoint(x, y))) << x << "," << y;
    EXPECT_TRUE(outline.contains(QPoint(20, 10))); // mask pixel inside NotCropRegion
    EXPECT_TRUE(outline.contains(QPoint(1, 0)));

    // Without a mask colour the window is a plain rectangle.
    const std::string plain = Write("plain");
    std::string ini = ReadFileBytes(plain + "skin.ini");
    ini.replace(ini.find("ColorMask_MainForm"), 5, "XXXXX");
    WriteFileBytes(plain + "skin.ini", ini);
    ASSERT_TRUE(skin.LoadSkin(plain));
    EXPECT_EQ(skin.MainOutline(), QRegion(0, 0, 40, 20));
}

// ---- Painting the main face ------------------------------------------------

class MainFacePaintTest : public SkinLoadTest {
protected:
    void SetUp() override
    {
        SkinLoadTest::SetUp();
        ASSERT_TRUE(skin_.LoadSkin(Write("a")));
        for (int k = 0; k < SliderCount; ++k)
            state_.Sliders[k] = skin_.MakeSlider(TSliderKind(k));
    }
    QImage Paint() const
    {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter p(&image);
        skin_.PaintMainFace(p, state_);
        return image;
    }
    TSkin skin_;
    TMainFaceState state_;
};

TEST_F(MainFacePaintTest, PressedSlotShowsThePressedFaceWhileThePointerIsInside)
{
    EXPECT_EQ(skin_.HitMainSlot(15, 10), msPlay);
    EXPECT_EQ(skin_.HitMainSlot(10, 10), -1);
    state_.PressedSlot = msPlay;
    state_.PressedInside = true;
    QImage image = Paint();
    EXPECT_EQ(At(image, 15, 10), QColor(200, 0, 0));
    EXPECT_EQ(At(image, 9, 10), QColor(100, 100, 100));
    state_.PressedInside = false;
    EXPECT_EQ(At(Paint(), 15, 10), QColor(100, 100, 100));
}

TEST_F(MainFacePaintTest, PlayingWithAPausablePlayerShowsThePlayButtonsToggledLooks)
{
    state_.PlayState = 1;
    state_.CanPause = true;
    EXPECT_EQ(At(Paint(), 15, 10), QColor(Qt::green));
    state_.PressedSlot = msPlay;
    state_.PressedInside = true;
    EXPECT_EQ(At(Paint(), 15, 10), QColor(Qt::yellow));
    state_.PlayState = 3; // stopped: the plain looks again
    EXPECT_EQ(At(Paint(), 15, 10), QColor(200, 0, 0));
}

TEST_F(MainFacePaintTest, ThumbIsTransparentWhereTheAddFaceHasTheMaskColour)
{
    // Volume track 2,12-38,18, thumb 6 x 6 at its left end: 2,12-8,18.
    state_.Sliders[skVolume].SetFraction(0);
    QImage image = Paint();
    EXPECT_EQ(At(image, 2, 12), QColor(200, 0, 0)); // the thumb's mask pixel shows the filled track
    EXPECT_EQ(At(image, 3, 13), QColor(Qt::white));
    // The filled part of the track comes from the pressed face (volume: up to the thumb's right edge).
    state_.Sliders[skVolume].SetFraction(1);
    state_.Sliders[skVolume].Press(35, 15);
    image = Paint();
    EXPECT_EQ(At(image, 35, 15), QColor(Qt::cyan)); // dragged look
    EXPECT_EQ(At(image, 10, 15), QColor(200, 0, 0));
    EXPECT_EQ(At(image, 10, 11), QColor(100, 100, 100));
}

TEST_F(MainFacePaintTest, LabelsAndDigitDisplaysTakeTheirPlacesAndTheFace)
{
    const std::string folder = Write("placed", {.MainFormKeys = "sClock=5,6,25,16\r\n",
                                                .ExtraIni = "[StateLabel]\r\nBoundsRect=1,2,31,12\r\n"
                                                            "Alignment=1\r\nAutoScroll=2\r\nScrollMode=3\r\n"});
    SaveImage(Solid(24, 4, Qt::darkGreen), folder + "nums_clock.bmp");
    ASSERT_TRUE(skin_.LoadSkin(folder));

    TScrollLabel label;
    skin_.ApplyToLabel(&label, slState);
    EXPECT_EQ(label.geometry(), QRect(1, 2, 30, 10));
    EXPECT_EQ(label.Alignment(), Qt::AlignHCenter);
    EXPECT_TRUE(label.Scroll());
    EXPECT_FALSE(label.ScrollAuto());
    EXPECT_EQ(label.ScrollMode(), smBottomToTop);
    EXPECT_TRUE(label.Transparent());
    EXPECT_EQ(label.BackRect(), QRect(1, 2, 30, 10));
    EXPECT_EQ(label.BackBmp(), skin_.MainFace());

    TDigitsPanel clock, elapsed;
    elapsed.show();
    skin_.ApplyToDigits(&clock, true);
    skin_.ApplyToDigits(&elapsed, false);
    EXPECT_FALSE(clock.isHidden());
    EXPECT_EQ(clock.geometry(), QRect(5, 6, 20, 10));
    EXPECT_EQ(clock.Digits().size(), QSize(24, 4));
    EXPECT_TRUE(elapsed.isHidden()); // no sElapsedTime in this skin
}

TEST_F(SkinLoadTest, RectanglesOutsideTheirFacesDrawOnlyTheirPartsInside)
{
    const std::string folder = Write("wild");
    WriteFileBytes(folder + "skin.ini", "[Skin]\r\nColorMask_MainForm=255,0,255\r\nCropRegionType_MainForm=2\r\n"
                                        "NotCropRegion_MainForm=-100,-100,500,500\r\nColorMask_Add=255,0,255\r\n"
                                        "[MainForm]\r\nbMute=30,10,90,90\r\nbPlay=-20,-20,5,5\r\n"
                                        "sPlayState=35,15,80,80\r\nsSoundState=-5,-5,3,3\r\nStepNum=0\r\n"
                                        "[AddFace]\r\nbMute=35,5,100,100\r\nbMute_Down=-10,-10,5,5\r\n"
                                        "bPlay=0,0,1000,1000\r\nsReady=39,9,41,11\r\nbVolumeMove=30,0,90,5\r\n"
                                        "[VolumeBar]\r\nBoundsRect=-10,15,100,25\r\nOrientation=9\r\n");
    TSkin skin;
    ASSERT_TRUE(skin.LoadSkin(folder));
    EXPECT_EQ(skin.Ini().VolumeStep(), 2);
    // The kept rectangle covers the face: nothing is cut, not even the mask corners.
    EXPECT_EQ(skin.MainOutline(), QRegion(0, 0, 40, 20));

    TMainFaceState state;
    state.Sliders[skVolume] = skin.MakeSlider(skVolume);
    state.Sliders[skVolume].SetFraction(1);
    state.Muted = true;
    state.PlayState = 0;
    state.CanPause = true;
    state.PressedSlot = msMute;
    state.PressedInside = true;
    QImage image = Solid(40, 20, Qt::black);
    {
        QPainter p(&image);
        skin.PaintMainFace(p, state);
    }
    EXPECT_EQ(At(image, 20, 3), QColor(100, 100, 100)); // under no rectangle: the face
    EXPECT_EQ(At(image, 1, 1), QColor(200, 0, 0));      // muted indicator, its part inside the face
    EXPECT_EQ(At(image, 10, 16), QColor(200, 0, 0));    // the volume fill up to the thumb
}

// ---- The station list window's face -----------------------------------------

TEST_F(SkinLoadTest, ListSlotsFollowTheFramePieceTheyLieOn)
{
    const std::string folder = Write("list", {.ExtraIni = "[PlayListForm]\r\n"
                                                          "top_right=20,0,30,5\r\nbottom_left=0,25,10,30\r\n"
                                                          "right_bottom=25,20,30,25\r\n"
                                                          "bAddRadio=1,26,5,29\r\nbPlayListFormClose=22,1,28,4\r\n"
                                                          "bScrollDown=26,21,29,24\r\nbFind=10,10,15,15\r\n"
                                                          "FormMinWidth=10\r\nFormMinHeight=50\r\n"});
    TSkin skin;
    ASSERT_TRUE(skin.LoadSkin(folder));
    const auto rects = skin.ListSlotRects(30 + 40, 30 + 20);
    EXPECT_EQ(rects[0], (TSkinRect{1, 46, 5, 49}));    // bottom left: down
    EXPECT_EQ(rects[6], (TSkinRect{62, 1, 68, 4}));    // top right: right
    EXPECT_EQ(rects[8], (TSkinRect{66, 41, 69, 44}));  // right bottom: both
    EXPECT_EQ(rects[4], (TSkinRect{10, 10, 15, 15}));  // on no piece: stays
    EXPECT_EQ(skin.FormMinWidth(), 30);                 // raised to the face
    EXPECT_EQ(skin.FormMinHeight(), 50);
}

TEST_F(SkinLoadTest, ListOutlineWithoutAKeptRectangleScansTheWholeWindow)
{
    const std::string folder =
        Write("list", {.SkinKeys = "ColorMask_PlayListForm=255,0,255\r\nCropRegionType_PlayListForm=3\r\n"});
    TSkin skin;
    ASSERT_TRUE(skin.LoadSkin(folder));
    ASSERT_TRUE(skin.HasListMask());
    QImage painted = Solid(50, 40, Qt::gray);
    painted.setPixel(25, 20, MaskRgb);
    const QRegion outline = skin.ListOutline(painted);
    EXPECT_FALSE(outline.contains(QPoint(25, 20)));
    EXPECT_TRUE(outline.contains(QPoint(24, 20)));
    EXPECT_EQ(outline.boundingRect(), QRect(0, 0, 50, 40));
}

// ---- The shipped skins --------------------------------------------------------

class ShippedSkinTest : public ::testing::TestWithParam<const char *> {};

bool Inside(const TSkinRect &r, const QSize &size)
{
    return !r.IsEmpty() && r.Left >= 0 && r.Top >= 0 && r.Right <= size.width() && r.Bottom <= size.height();
}

TEST_P(ShippedSkinTest, LoadsCompletely)
{
    const std::string saved = AppPath();
    SetAppPath(std::string(ORVANE_SOURCE_DIR) + "/data/");
    TSkin skin;
    const bool loaded = skin.LoadSkin(SkinsPath() + GetParam());
    SetAppPath(saved);
    ASSERT_TRUE(loaded);

    const TSkinIni &ini = skin.Ini();
    const QSize main = skin.MainFace().size(), list = skin.ListFace().size(), add = skin.AddFace().size();
    EXPECT_EQ(skin.MainFaceDown().size(), main);
    EXPECT_NE(skin.MainFaceDown(), skin.MainFace());
    for (int i = 0; i < MainSlotCount; ++i)
        EXPECT_TRUE(Inside(ini.MainSlots[i], main)) << MainSlotKeys[i];
    for (const TSkinLook *look : {&ini.bRecord, &ini.bPlay, &ini.bMute, &ini.bMP3, &ini.bPlayListFormHide,
                                  &ini.Thumbs[0], &ini.Thumbs[1], &ini.Thumbs[2], &ini.bScrollMove}) {
        EXPECT_TRUE(Inside(look->Normal, add));
        EXPECT_TRUE(Inside(look->Down, add));
    }
    for (const TSkinRect &r : {ini.sReady, ini.sPause, ini.sPlayState, ini.sSoundState, ini.sRecordState, ini.InfoBar})
        EXPECT_TRUE(Inside(r, main));
    for (const TSkinBar &bar : ini.Bars)
        EXPECT_TRUE(Inside(bar.BoundsRect, main));
    for (int id : {slName, slState, slSpeed})
        EXPECT_TRUE(Inside(ini.Labels[id].BoundsRect, main)) << SkinLabelSections[id];
    ASSERT_TRUE(ini.sElapsedTime && ini.sClock);
    EXPECT_TRUE(Inside(*ini.sElapsedTime, main));
    EXPECT_TRUE(Inside(*ini.sClock, main));
    for (const QImage *strip : {&skin.ElapsedDigits(), &skin.ClockDigits()}) {
        ASSERT_FALSE(strip->isNull());
        EXPECT_EQ(strip->width() % 12, 0);
    }
    for (int i = 0; i < ListSlotCount; ++i) {
        EXPECT_TRUE(Inside(ini.ListSlots[i], list)) << ListSlotKeys[i];
        EXPECT_TRUE(Inside(ini.ListSlotsDown[i], add)) << ListSlotKeys[i];
    }
    for (int i = 0; i < ListPieceCount; ++i)
        EXPECT_TRUE(Inside(ini.ListPieces[i], list)) << ListPieceKeys[i];
    EXPECT_TRUE(Inside(ini.Rect, list));
    EXPECT_TRUE(Inside(ini.ScrollBarOrbit, list));
    for (int k = 0; k < SliderCount; ++k) {
        EXPECT_FALSE(skin.ThumbImage(TSliderKind(k), false).isNull());
        EXPECT_FALSE(skin.ThumbImage(TSliderKind(k), true).isNull());
    }
    EXPECT_EQ(skin.TreeIcons().size(), size_t(NamedTreeIconCount));
    EXPECT_EQ(skin.TrayFrames().size(), 8u);

    // Shaped: the corners are cut, the buttons are not.
    const QRegion outline = skin.MainOutline();
    EXPECT_FALSE(outline.contains(QPoint(0, 0)));
    EXPECT_FALSE(outline.contains(QPoint(main.width() - 1, main.height() - 1)));
    for (const TSkinRect &slot : ini.MainSlots) {
        const QRect r(slot.Left, slot.Top, slot.Width(), slot.Height());
        EXPECT_EQ(outline.intersected(r), QRegion(r));
    }
    const QImage listFace(skin.ListFace());
    EXPECT_FALSE(skin.ListOutline(listFace).contains(QPoint(0, 0)));
    EXPECT_TRUE(skin.ListOutline(listFace).contains(QPoint(list.width() / 2, list.height() / 2)));
}

TEST(ShippedSkins, DifferFromEachOtherAndAreListed)
{
    const std::string skins = std::string(ORVANE_SOURCE_DIR) + "/data/Skins/";
    std::vector<std::string> names{"already there"};
    EXPECT_EQ(ListSkins(skins, names), 2);
    std::sort(names.begin() + 1, names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"already there", "Amber", "default"}));

    TSkin a, b;
    ASSERT_TRUE(a.LoadSkin(skins + "default"));
    ASSERT_TRUE(b.LoadSkin(skins + "Amber"));
    EXPECT_NE(a.MainFace(), b.MainFace());
    EXPECT_NE(a.MainOutline(), b.MainOutline()); // round corners against cut ones
    std::vector<std::string> none;
    EXPECT_EQ(ListSkins(skins + "no such folder", none), 0);
}

INSTANTIATE_TEST_SUITE_P(BothSkins, ShippedSkinTest, ::testing::Values("default", "Amber"));

} // namespace
