#pragma once
// A skin's description file "skin.ini" read into plain values, and the
// geometry of a skinned face: rectangles, slot hit tests, slider thumbs and
// the areas scanned when a window's outline is cut. Plain C++: the bitmaps
// and the painting are in SkinFace.h.
//
// Values are bytes as stored. Rectangles are left, top, right, bottom with
// right and bottom exclusive; colours are r + g*256 + b*65536.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct TSkinRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool IsZero() const { return Left == 0 && Top == 0 && Right == 0 && Bottom == 0; }
    // Strictly inside: how the face's buttons are hit.
    bool ContainsStrictly(int x, int y) const { return Left < x && x < Right && Top < y && y < Bottom; }
    // Edges included: how slider tracks are hit.
    bool ContainsWithEdges(int x, int y) const { return Left <= x && x <= Right && Top <= y && y <= Bottom; }
    TSkinRect Moved(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    bool Intersects(const TSkinRect &o) const;
    bool operator==(const TSkinRect &) const = default;
};

using TSkinColor = std::uint32_t;

// "l,t,r,b": a part that is no number, or is missing, reads as 0; anything
// after a fourth comma is ignored.
TSkinRect ParseSkinRect(const std::string &text);
// "r,g,b": before the first comma red, between the first and second green,
// the rest blue; with one comma there is no green, with none only blue. A
// part that is no number reads as 0; only the low 8 bits of each count.
TSkinColor ParseSkinColor(const std::string &text);
inline int ColorRed(TSkinColor c) { return c & 0xFF; }
inline int ColorGreen(TSkinColor c) { return (c >> 8) & 0xFF; }
inline int ColorBlue(TSkinColor c) { return (c >> 16) & 0xFF; }
inline TSkinColor SkinColor(int r, int g, int b) { return TSkinColor(r & 0xFF) | TSkinColor(g & 0xFF) << 8 | TSkinColor(b & 0xFF) << 16; }

// ---- Main window slots ----------------------------------------------------

constexpr int MainSlotCount = 31;
// [MainForm] keys of slots 0 to 30, in slot order.
extern const std::array<const char *, MainSlotCount> MainSlotKeys;
enum TMainSlot : int {
    msNum1 = 0, msNum10 = 9, msPageUp, msPageDown, msMainMenu, msHide, msClose, msRecord, msOpenFile,
    msPlayListFormShow, msMute, msPrevious, msStop, msPause, msPlay, msNext, msAddVolume, msDecVolume,
    msMP3, msAbout, msWebsite, msVoiceClock, msMulti
};

// The first slot (from 0 up) whose rectangle holds the point strictly; -1 for none.
int HitSlot(const TSkinRect *slots, int count, int x, int y);

// Normal and pressed image of a toggled look, in add-face coordinates.
struct TSkinLook {
    TSkinRect Normal, Down;
};

// ---- Labels and sliders ---------------------------------------------------

// Settings of one scrolling label ([NameLabel], [StateLabel], ...). An empty
// font name or a font size of 0 stands for the system's hint font.
struct TSkinLabel {
    TSkinRect BoundsRect;
    int Alignment = 0;         // 1 centre, 2 right, other left
    std::string FontName;
    int FontSize = 0;
    TSkinColor FontColor = 0;
    bool FontBold = false;
    bool Elipses = false;
    int DrawType = 0;          // 1 lowered, 2 raised, 3 shadow, other none
    int ShadowOffset = 1;
    TSkinColor ShadowColor = 0xFFFFFF;
    int ScrollDelay = 150;
    int ScrollStep = 3;
    int ScrollRepeatDelay = 0;
    int AutoScroll = 0;        // 1 automatic, 2 always, other never
    int ScrollMode = 1;        // 1 right to left, 2 top to bottom, 3 bottom to top, other left to right
};

enum TSkinLabelId { slName, slState, slSpeed, slElapsed, slClock, SkinLabelCount };
extern const std::array<const char *, SkinLabelCount> SkinLabelSections;

// Orientation 0: horizontal, minimum at the left; 1: horizontal, minimum at
// the right; 2: vertical, minimum at the top; 3: vertical, minimum at the
// bottom. Other values read as 0.
struct TSkinBar {
    TSkinRect BoundsRect;
    int Orientation = 0;
    bool Vertical() const { return Orientation == 2 || Orientation == 3; }
};

enum TSliderKind { skVolume, skBalance, skProgress, SliderCount };
extern const std::array<const char *, SliderCount> SliderSections;

// One slider: its track, the thumb's place on it and a drag in progress.
// Positions are face (window) coordinates.
class TSkinSlider {
public:
    TSkinSlider() = default;
    // The thumb takes the given size, is centred across the track and sits at
    // the minimum end.
    TSkinSlider(TSliderKind kind, const TSkinBar &bar, int thumbWidth, int thumbHeight);

    const TSkinRect &Track() const { return bar_.BoundsRect; }
    const TSkinRect &Thumb() const { return thumb_; }
    bool Dragging() const { return dragging_; }

    // The value the thumb shows, 0 to 1 (0 when the thumb fills the track).
    double Fraction() const;
    // Puts the thumb where the value lies; the value is clamped to 0 to 1.
    void SetFraction(double fraction);

    bool InTrack(int x, int y) const { return bar_.BoundsRect.ContainsWithEdges(x, y); }
    // Starts a drag at the point: on the thumb it is grabbed where it was hit;
    // elsewhere on the track the thumb first jumps so that the point lies at
    // two thirds of its length.
    void Press(int x, int y);
    // Moves a grabbed thumb with the pointer, along its axis, kept on the track.
    void DragTo(int x, int y);
    void Release() { dragging_ = false; }

    // The part of the track between its minimum end and the thumb, painted
    // from the pressed face. Empty when there is nothing to fill.
    TSkinRect FillRect() const;

private:
    int Range() const;
    int Offset() const; // the thumb's distance from the minimum end
    void SetOffset(int offset);

    TSliderKind kind_ = skVolume;
    TSkinBar bar_;
    TSkinRect thumb_;
    int grab_ = 0; // pointer offset inside the thumb along the axis
    bool dragging_ = false;
};

// ---- Outline --------------------------------------------------------------

// Areas of a W x H window whose mask-coloured pixels are cut from its outline,
// for crop type 0 (all), 1 (around the kept rectangle), 2 (its four corners)
// or other (none). Areas are clipped to the window and never overlap.
std::vector<TSkinRect> CropAreas(int cropType, const TSkinRect &keep, int width, int height);

// ---- List window ----------------------------------------------------------

constexpr int ListSlotCount = 9;
extern const std::array<const char *, ListSlotCount> ListSlotKeys;

enum TListPiece {
    lpTopLeft, lpTopLeftTile, lpTopMiddleTitle, lpTopRightTile, lpTopRight,
    lpBottomLeft, lpBottomMiddleTile, lpBottomRight,
    lpLeftTop, lpLeftMiddleTile, lpLeftBottom, lpRightTop, lpRightMiddleTile, lpRightBottom,
    ListPieceCount
};
extern const std::array<const char *, ListPieceCount> ListPieceKeys;

// Fonts and colours of the station tree ([Tree]) or the music list ([List]).
struct TSkinListLook {
    std::string FontName; // empty: the system's hint font
    int FontSize = 0;     // 0: the system's hint font
    TSkinColor FontColor = 0;
    TSkinColor Color = 0xFFFFFF;
    TSkinColor PlayingItemFontColor = SkinColor(0, 174, 239);
    TSkinColor SelectedItemFontColor = 0xFFFFFF;
    TSkinColor SelectedItemBackColor = SkinColor(8, 36, 107);
};

// ---- skin.ini -------------------------------------------------------------

// Tree icons: the ten named ones, then "Icon10", "Icon11", ...
constexpr int NamedTreeIconCount = 10;
std::string TreeIconKey(int index);
std::string TreeIconDefaultFile(int index);

struct TSkinIni {
    // [Skin]: files, relative to the skin folder.
    std::string FaceMainForm = "main.bmp";
    std::string FacePlayListForm = "playlist.bmp";
    std::string FaceMainFormDown = "main_down.bmp";
    std::string FaceAdd = "add.bmp";
    std::string FaceNums = "nums.bmp";
    std::string FaceClockNums = "nums_clock.bmp";
    std::map<int, std::string> TreeIconFiles; // [Skin] tree icon keys present, by index
    std::optional<TSkinColor> ColorMaskAdd;      // absent: thumbs opaque
    std::optional<TSkinColor> ColorMaskMainForm; // absent: rectangular window
    int CropRegionTypeMainForm = 1;
    TSkinRect NotCropRegionMainForm;
    std::optional<TSkinColor> ColorMaskPlayListForm; // absent: no cutting
    TSkinRect NotCropRegionPlayListForm;
    int CropRegionTypePlayListForm = 1;
    bool PlayListFormCanZoom = true;
    std::optional<int> MoveResizeStyle;  // absent: the value in effect stays
    std::optional<bool> LockPlayListForm; // absent: the value in effect stays
    int PlayListFormAlign = 0;

    // [MainForm]
    std::array<TSkinRect, MainSlotCount> MainSlots{};
    int StepNum = 40;
    TSkinRect InfoBar, sPlayState, sSoundState, sRecordState;
    std::array<TSkinRect, 10> NumLabels{};     // the slot moved in by one pixel when absent
    std::array<bool, 10> NumLabelAtDefault{};  // the key was absent
    std::optional<TSkinRect> sElapsedTime, sClock; // absent: display hidden
    std::string NumsFontName; // empty: hint font
    int NumsFontSize = 0;     // 0: hint font
    TSkinColor NumsFontColor = 0;
    bool NumsFontBold = true;

    // [AddFace]
    TSkinLook bRecord, bPlay, bMute, bMP3, bPlayListFormHide;
    std::array<TSkinLook, SliderCount> Thumbs{}; // bVolumeMove, bEquationMove, bProgressMove
    TSkinRect sReady, sPause;
    TSkinLook bScrollMove;
    std::array<TSkinRect, ListSlotCount> ListSlotsDown{};

    // [VolumeBar], [EquationBar], [ProgressBar]
    std::array<TSkinBar, SliderCount> Bars{};
    // [NameLabel], [StateLabel], [SpeedLabel], [ElapsedLabel], [ClockLabel]
    std::array<TSkinLabel, SkinLabelCount> Labels{};

    // [PlayListForm]
    std::array<TSkinRect, ListPieceCount> ListPieces{};
    TSkinRect Rect, ScrollBarOrbit, ZoomMove;
    std::array<TSkinRect, ListSlotCount> ListSlots{};
    int FormMinWidth = 0;  // raised to the list face's size once it is known
    int FormMinHeight = 0;
    // [Tree], [List] (the list defaults to the tree's values)
    TSkinListLook Tree, List;

    // The file of tree icon `index`: its key's value, else its default name.
    std::string TreeIconFile(int index) const;

    // Percent of volume per press of a volume button: 100 div StepNum, with a
    // step count of 0 or below taken as 40 and a step of at least 1.
    int VolumeStep() const;
};

// Reads every section of the file; missing keys and unreadable values give
// the defaults above. A missing file reads as all defaults.
TSkinIni ReadSkinIni(const std::string &fileName);
