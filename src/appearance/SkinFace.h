#pragma once
// The loaded skin: its bitmaps, tree icons and tray frames, and the painting
// and hit-testing of the skinned windows' faces. A window forwards its paint
// and mouse events here and keeps the actions behind the buttons itself.
//
// How the main window uses it:
//   - at start and from the skin menu: ApplySkin(name); then resize to
//     MainFace().size(), setMask(MainOutline()), Apply* to the scrolling
//     labels and digit displays, MakeSlider() for the three sliders (placed
//     again from the current volume, balance and position), the info bar to
//     Ini().InfoBar, the tray frames and the list window's face;
//   - paintEvent: PaintMainFace(painter, state) with its TMainFaceState;
//   - mouse events: HitMainSlot(), and the sliders' Press/DragTo/Release.
// Bitmaps may be BMP or PNG (any format Qt reads; the file name decides
// nothing). Labels and digit displays should be created transparent with no
// bevels, so that the face shows behind them.

#include "appearance/Skin.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRegion>

#include <array>
#include <string>
#include <vector>

class QPainter;
class TDigitsPanel;
class TScrollLabel;

// What the main window's face shows besides the skin itself.
struct TMainFaceState {
    int PressedSlot = -1;      // -1: none
    bool PressedInside = false; // the pointer is inside the pressed slot
    int PlayState = 3;         // 0 opening/connecting/buffering, 1 playing, 2 paused, 3 stopped
    bool CanPause = false;     // the current player can pause
    bool Muted = false;
    bool MusicMode = false;
    bool ListHidden = false;
    bool Recording = false;
    bool VolumeRepeat = false; // a volume button is held and repeating
    std::array<TSkinSlider, SliderCount> Sliders;
    std::array<QString, 10> ChannelCaptions; // drawn where a label lies at its default place
};

// Cuts every pixel of `mask` colour inside the crop areas of `source` out of
// a width x height rectangle. Pixels outside the source are never cut.
QRegion CutOutline(const QImage &source, TSkinColor mask, int cropType, const TSkinRect &keep, int width,
                   int height);

// Appends the names of the sub-folders of `folder`; returns how many.
int ListSkins(const std::string &folder, std::vector<std::string> &names);

inline QColor ToQColor(TSkinColor c) { return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c)); }

class TSkin {
public:
    TSkin();

    // Loads the skin in `folder`. All or nothing: on failure (no folder, no
    // "skin.ini", a missing main or list face, an unreadable bitmap) the skin
    // in effect stays as it was. Missing tree icons and tray frames come from
    // the default skin's folder.
    bool LoadSkin(const std::string &folder);
    // Loads "Skins/<name>/" and on failure the default skin; the skin name
    // becomes `name`, or "Default" after a fall-back. The result is that of
    // the load in effect.
    bool ApplySkin(const std::string &name);
    const std::string &SkinName() const { return skinName_; }

    const TSkinIni &Ini() const { return ini_; }
    const QImage &MainFace() const { return mainFace_; }
    const QImage &MainFaceDown() const { return mainFaceDown_; }
    const QImage &ListFace() const { return listFace_; }
    const QImage &AddFace() const { return addFace_; }
    const QImage &ElapsedDigits() const { return elapsedDigits_; }
    const QImage &ClockDigits() const { return clockDigits_; }
    // 16 x 16 tree icons, by index.
    const std::vector<QImage> &TreeIcons() const { return treeIcons_; }
    // Frames of the tray animation; the first is also the still icon.
    const std::vector<QImage> &TrayFrames() const { return trayFrames_; }
    int MoveResizeStyle() const { return moveResizeStyle_; }
    bool LockPlayListForm() const { return lockPlayListForm_; }
    int FormMinWidth() const;
    int FormMinHeight() const;

    // ---- Main window ----
    QRegion MainOutline() const;
    // The slot under the point (strictly inside), -1 for none.
    int HitMainSlot(int x, int y) const;
    // The slider with the thumb size of the skin, centred across its track.
    TSkinSlider MakeSlider(TSliderKind kind) const;
    // The thumb with the transparent colour cut out (opaque without one).
    const QImage &ThumbImage(TSliderKind kind, bool dragged) const;
    void PaintMainFace(QPainter &p, const TMainFaceState &state) const;

    QFont LabelFont(TSkinLabelId id) const;
    QFont NumsFont() const;
    // Bounds, font, colours, scrolling and background of a scrolling label.
    void ApplyToLabel(TScrollLabel *label, TSkinLabelId id) const;
    // Bounds, background and strip of a digit display; hidden when the skin
    // has no place for it.
    void ApplyToDigits(TDigitsPanel *panel, bool clock) const;

    // ---- Station list window ----
    // The face at any size: pieces tiled when the window can zoom, else the
    // list face as it is.
    void PaintListFace(QPainter &p, int width, int height) const;
    // The list slots' rectangles for a window of this size.
    std::array<TSkinRect, ListSlotCount> ListSlotRects(int width, int height) const;
    bool HasListMask() const { return ini_.ColorMaskPlayListForm.has_value(); }
    // The outline cut from the window's painted face (see HasListMask).
    QRegion ListOutline(const QImage &painted) const;

private:
    bool LoadFaces(const std::string &folder);
    void LoadIcons(const std::string &folder);
    void MakeThumbImages();
    void DrawLook(QPainter &p, const QImage &from, const TSkinRect &source, const TSkinRect &at) const;
    void DrawSlot(QPainter &p, int slot, bool pressed, const TMainFaceState &state) const;
    void DrawPlayState(QPainter &p, const TMainFaceState &state) const;
    void DrawChannelCaptions(QPainter &p, const TMainFaceState &state) const;

    TSkinIni ini_;
    std::string skinName_;
    QImage mainFace_, mainFaceDown_, listFace_, addFace_, elapsedDigits_, clockDigits_;
    std::array<QImage, SliderCount * 2> thumbs_;
    std::vector<QImage> treeIcons_, trayFrames_;
    int moveResizeStyle_ = 0;
    bool lockPlayListForm_ = false;
};
