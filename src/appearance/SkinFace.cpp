#include "appearance/SkinFace.h"

#include "app/CommonU.h"
#include "app/GlobalUnit.h"
#include "appearance/MyDigitsPanel.h"
#include "appearance/MyScrollLabel.h"

#include <QImageReader>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr int TreeIconSize = 16;
constexpr int TrayFrameCount = 8;

QRect ToQRect(const TSkinRect &r)
{
    return QRect(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
}

bool IsFile(const std::string &path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// A face bitmap; null when the file cannot be read as an image.
QImage ReadFace(const std::string &path)
{
    QImage image(QString::fromStdString(path));
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

// An icon file's first image at the given size; null when there is none.
QImage ReadIcon(const std::string &path, int size)
{
    if (!IsFile(path))
        return {};
    QImage image = QImageReader(QString::fromStdString(path)).read();
    if (image.isNull() || size <= 0 || image.size() == QSize(size, size))
        return image;
    return image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The tree's own icons, the last resort when no skin has one.
std::vector<QImage> BuiltInTreeIcons()
{
    static const QColor colours[NamedTreeIconCount] = {
        {0x2f, 0x8f, 0xd8}, {0xe0, 0xa8, 0x30}, {0xd8, 0x48, 0x48}, {0x78, 0x78, 0x88}, {0x8a, 0x5c, 0xd0},
        {0x3a, 0xa8, 0x6a}, {0xd0, 0x6c, 0xa8}, {0x40, 0xa0, 0xa8}, {0xa0, 0x80, 0x50}, {0x50, 0x70, 0xd0}};
    std::vector<QImage> icons;
    for (const QColor &c : colours) {
        QImage icon(TreeIconSize, TreeIconSize, QImage::Format_ARGB32_Premultiplied);
        icon.fill(Qt::transparent);
        QPainter p(&icon);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(c.darker(140));
        p.setBrush(c);
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
        p.setBrush(Qt::white);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(5.5, 5.5, 5, 5));
        icons.push_back(icon);
    }
    return icons;
}

// A copy of the rectangle of the sheet, with `mask` made transparent.
QImage CutImage(const QImage &sheet, const TSkinRect &r, const std::optional<TSkinColor> &mask)
{
    if (r.IsEmpty() || sheet.isNull())
        return {};
    QImage image = sheet.copy(ToQRect(r)).convertToFormat(QImage::Format_ARGB32);
    if (mask) {
        const QRgb key = qRgb(ColorRed(*mask), ColorGreen(*mask), ColorBlue(*mask));
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (line[x] == key)
                    line[x] = 0;
        }
    }
    return image;
}

QFont SkinFont(const std::string &name, int size, bool bold)
{
    QFont font = QToolTip::font(); // the system's hint font stands in for a missing name or size
    if (!name.empty())
        font.setFamily(QString::fromStdString(name));
    if (size > 0)
        font.setPointSize(size);
    font.setBold(bold);
    return font;
}

} // namespace

QRegion CutOutline(const QImage &source, TSkinColor mask, int cropType, const TSkinRect &keep, int width,
                   int height)
{
    const QImage src = source.convertToFormat(QImage::Format_RGB32);
    const QRgb key = qRgb(ColorRed(mask), ColorGreen(mask), ColorBlue(mask));
    const auto areas =
        CropAreas(cropType, keep, std::min(width, src.width()), std::min(height, src.height()));

    // Runs of mask-coloured pixels, one pixel high, in the y-x order with
    // no horizontal neighbours that QRegion::setRects expects.
    std::vector<QRect> runs;
    std::vector<std::pair<int, int>> spans;
    for (int y = 0; y < std::min(height, src.height()); ++y) {
        spans.clear();
        for (const TSkinRect &a : areas)
            if (a.Top <= y && y < a.Bottom)
                spans.emplace_back(a.Left, a.Right);
        std::sort(spans.begin(), spans.end());
        const auto *line = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        const size_t rowStart = runs.size();
        for (const auto &[from, to] : spans) {
            for (int x = from; x < to;) {
                if ((line[x] & 0xFFFFFF) != (key & 0xFFFFFF)) {
                    ++x;
                    continue;
                }
                int end = x;
                while (end < to && (line[end] & 0xFFFFFF) == (key & 0xFFFFFF))
                    ++end;
                if (runs.size() > rowStart && runs.back().right() + 1 == x)
                    runs.back().setRight(end - 1);
                else
                    runs.emplace_back(x, y, end - x, 1);
                x = end;
            }
        }
    }
    QRegion cut;
    if (!runs.empty())
        cut.setRects(runs.data(), int(runs.size()));
    return QRegion(0, 0, width, height).subtracted(cut);
}

int ListSkins(const std::string &folder, std::vector<std::string> &names)
{
    int count = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError)) {
            names.push_back(it->path().filename().string());
            ++count;
        }
    }
    return count;
}

TSkin::TSkin() : treeIcons_(BuiltInTreeIcons()) {}

bool TSkin::ApplySkin(const std::string &name)
{
    if (LoadSkin(SkinsPath() + name + "/")) {
        skinName_ = name;
        return true;
    }
    skinName_ = "Default";
    return LoadSkin(DefaultSkinPath());
}

bool TSkin::LoadSkin(const std::string &folderPath)
{
    const std::string folder = IncludeBackslash(folderPath);
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec) || !IsFile(folder + "skin.ini"))
        return false;
    // Built on a copy that starts from the skin in effect, which is what a
    // new skin without an add face, digit strips or icons keeps; swapped in
    // only when everything loaded.
    TSkin next = *this;
    next.ini_ = ReadSkinIni(folder + "skin.ini");
    if (!next.LoadFaces(folder))
        return false;
    next.LoadIcons(folder);
    next.MakeThumbImages();
    next.moveResizeStyle_ = next.ini_.MoveResizeStyle.value_or(moveResizeStyle_);
    next.lockPlayListForm_ = next.ini_.LockPlayListForm.value_or(lockPlayListForm_);
    next.skinName_ = skinName_;
    *this = std::move(next);
    return true;
}

bool TSkin::LoadFaces(const std::string &folder)
{
    // A required face must exist and read; an optional one may be missing
    // (with its own rule) but not unreadable.
    auto load = [&](const std::string &file, QImage &into) {
        into = ReadFace(folder + file);
        return !into.isNull();
    };
    auto loadOptional = [&](const std::string &file, QImage &into) {
        if (!IsFile(folder + file))
            return true;
        return load(file, into);
    };
    if (!load(ini_.FaceMainForm, mainFace_) || !load(ini_.FacePlayListForm, listFace_))
        return false;
    if (!IsFile(folder + ini_.FaceMainFormDown))
        mainFaceDown_ = mainFace_;
    else if (!load(ini_.FaceMainFormDown, mainFaceDown_))
        return false;
    return loadOptional(ini_.FaceAdd, addFace_) && loadOptional(ini_.FaceNums, elapsedDigits_) &&
           loadOptional(ini_.FaceClockNums, clockDigits_);
}

void TSkin::LoadIcons(const std::string &folder)
{
    const std::string fallback = DefaultSkinPath();
    std::vector<QImage> icons;
    for (int i = 0;; ++i) {
        QImage icon = ReadIcon(folder + ini_.TreeIconFile(i), TreeIconSize);
        if (icon.isNull())
            icon = ReadIcon(fallback + TreeIconDefaultFile(i), TreeIconSize);
        if (icon.isNull() && i < int(treeIcons_.size()))
            icon = treeIcons_[i];
        if (icon.isNull())
            break;
        icons.push_back(icon);
    }
    treeIcons_ = std::move(icons);

    trayFrames_.clear();
    for (int n = 1; n <= TrayFrameCount; ++n) {
        const std::string file = std::to_string(n) + ".ico";
        QImage frame = ReadIcon(folder + file, 0);
        if (frame.isNull())
            frame = ReadIcon(fallback + file, 0);
        if (!frame.isNull())
            trayFrames_.push_back(frame);
    }
}

void TSkin::MakeThumbImages()
{
    for (int k = 0; k < SliderCount; ++k) {
        thumbs_[k * 2] = CutImage(addFace_, ini_.Thumbs[k].Normal, ini_.ColorMaskAdd);
        thumbs_[k * 2 + 1] = CutImage(addFace_, ini_.Thumbs[k].Down, ini_.ColorMaskAdd);
    }
}

int TSkin::FormMinWidth() const { return std::max(ini_.FormMinWidth, listFace_.width()); }
int TSkin::FormMinHeight() const { return std::max(ini_.FormMinHeight, listFace_.height()); }

// ---- Main window ----------------------------------------------------------

QRegion TSkin::MainOutline() const
{
    const int w = mainFace_.width(), h = mainFace_.height();
    if (!ini_.ColorMaskMainForm)
        return QRegion(0, 0, w, h);
    return CutOutline(mainFace_, *ini_.ColorMaskMainForm, ini_.CropRegionTypeMainForm, ini_.NotCropRegionMainForm,
                      w, h);
}

int TSkin::HitMainSlot(int x, int y) const
{
    return HitSlot(ini_.MainSlots.data(), MainSlotCount, x, y);
}

TSkinSlider TSkin::MakeSlider(TSliderKind kind) const
{
    const TSkinRect &thumb = ini_.Thumbs[kind].Normal;
    return TSkinSlider(kind, ini_.Bars[kind], std::max(0, thumb.Width()), std::max(0, thumb.Height()));
}

const QImage &TSkin::ThumbImage(TSliderKind kind, bool dragged) const
{
    return thumbs_[kind * 2 + (dragged ? 1 : 0)];
}

void TSkin::DrawLook(QPainter &p, const QImage &from, const TSkinRect &source, const TSkinRect &at) const
{
    if (!source.IsEmpty())
        p.drawImage(QPoint(at.Left, at.Top), from, ToQRect(source));
}

namespace {
// The toggled look of a slot while its condition holds; null otherwise.
const TSkinLook *ToggledLook(const TSkinIni &ini, int slot, const TMainFaceState &s)
{
    switch (slot) {
    case msRecord: return s.Recording ? &ini.bRecord : nullptr;
    case msPlayListFormShow: return s.ListHidden ? &ini.bPlayListFormHide : nullptr;
    case msMute: return s.Muted ? &ini.bMute : nullptr;
    case msPlay: return s.PlayState == 1 && s.CanPause ? &ini.bPlay : nullptr;
    case msMP3: return s.MusicMode ? &ini.bMP3 : nullptr;
    default: return nullptr;
    }
}
} // namespace

void TSkin::DrawSlot(QPainter &p, int slot, bool pressed, const TMainFaceState &state) const
{
    const TSkinRect &at = ini_.MainSlots[slot];
    if (const TSkinLook *look = ToggledLook(ini_, slot, state))
        DrawLook(p, addFace_, pressed ? look->Down : look->Normal, at);
    else
        DrawLook(p, pressed ? mainFaceDown_ : mainFace_, at, at);
}

void TSkin::DrawPlayState(QPainter &p, const TMainFaceState &state) const
{
    const TSkinRect &at = ini_.sPlayState;
    switch (state.PlayState) {
    case 0:
        DrawLook(p, addFace_, ini_.sReady, at);
        break;
    case 1:
        DrawLook(p, mainFaceDown_, at, at);
        DrawSlot(p, msPlay, false, state);
        break;
    case 2:
        DrawLook(p, addFace_, ini_.sPause, at);
        break;
    default: // stopped: the main face, already drawn
        break;
    }
}

void TSkin::DrawChannelCaptions(QPainter &p, const TMainFaceState &state) const
{
    p.setFont(NumsFont());
    p.setPen(ToQColor(ini_.NumsFontColor));
    for (int i = 0; i < 10; ++i) {
        if (!ini_.NumLabelAtDefault[i] || state.ChannelCaptions[i].isEmpty())
            continue;
        const bool pressed = state.PressedSlot == msNum1 + i && state.PressedInside;
        const QRect r = ToQRect(ini_.NumLabels[i]).translated(pressed ? 2 : 0, pressed ? 2 : 0);
        p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, state.ChannelCaptions[i]);
    }
}

void TSkin::PaintMainFace(QPainter &p, const TMainFaceState &state) const
{
    p.drawImage(0, 0, mainFace_);
    DrawPlayState(p, state);
    if (state.Muted) {
        DrawSlot(p, msMute, false, state);
        DrawLook(p, mainFaceDown_, ini_.sSoundState, ini_.sSoundState);
    }
    if (state.MusicMode)
        DrawSlot(p, msMP3, false, state);
    if (state.ListHidden)
        DrawSlot(p, msPlayListFormShow, false, state);
    if (state.Recording) {
        DrawSlot(p, msRecord, false, state);
        DrawLook(p, mainFaceDown_, ini_.sRecordState, ini_.sRecordState);
    }
    if (state.VolumeRepeat)
        DrawSlot(p, state.PressedSlot == msAddVolume ? msAddVolume : msDecVolume, true, state);
    for (const TSkinSlider &slider : state.Sliders) {
        const TSkinRect fill = slider.FillRect();
        DrawLook(p, mainFaceDown_, fill, fill);
    }
    if (state.PressedSlot >= 0 && state.PressedSlot < MainSlotCount && state.PressedInside)
        DrawSlot(p, state.PressedSlot, true, state);
    DrawChannelCaptions(p, state);
    for (int k = 0; k < SliderCount; ++k) {
        const TSkinSlider &slider = state.Sliders[k];
        const QImage &thumb = ThumbImage(TSliderKind(k), slider.Dragging());
        p.drawImage(slider.Thumb().Left, slider.Thumb().Top, thumb);
    }
}

QFont TSkin::LabelFont(TSkinLabelId id) const
{
    const TSkinLabel &l = ini_.Labels[id];
    return SkinFont(l.FontName, l.FontSize, l.FontBold);
}

QFont TSkin::NumsFont() const
{
    return SkinFont(ini_.NumsFontName, ini_.NumsFontSize, ini_.NumsFontBold);
}

void TSkin::ApplyToLabel(TScrollLabel *label, TSkinLabelId id) const
{
    const TSkinLabel &s = ini_.Labels[id];
    label->setGeometry(ToQRect(s.BoundsRect));
    label->SetAlignment(s.Alignment == 1 ? Qt::AlignHCenter : s.Alignment == 2 ? Qt::AlignRight : Qt::AlignLeft);
    label->setFont(LabelFont(id));
    label->SetFontColor(ToQColor(s.FontColor));
    label->SetEllipses(s.Elipses);
    static constexpr TDrawType drawTypes[] = {dtNone, dtLowered, dtRaised, dtShadow};
    label->SetDrawType(s.DrawType >= 1 && s.DrawType <= 3 ? drawTypes[s.DrawType] : dtNone);
    label->SetShadowOffset(s.ShadowOffset);
    label->SetShadowColor(ToQColor(s.ShadowColor));
    label->SetScrollDelay(s.ScrollDelay);
    label->SetScrollStep(s.ScrollStep);
    label->SetRepeatDelay(s.ScrollRepeatDelay);
    label->SetScrollAuto(s.AutoScroll == 1);
    label->SetScroll(s.AutoScroll == 2);
    static constexpr TScrollMode modes[] = {smLeftToRight, smRightToLeft, smTopToBottom, smBottomToTop};
    label->SetScrollMode(s.ScrollMode >= 1 && s.ScrollMode <= 3 ? modes[s.ScrollMode] : smLeftToRight);
    label->SetTransparent(true);
    label->SetBackBmp(mainFace_);
    label->SetBackRect(ToQRect(s.BoundsRect));
}

void TSkin::ApplyToDigits(TDigitsPanel *panel, bool clock) const
{
    const std::optional<TSkinRect> &bounds = clock ? ini_.sClock : ini_.sElapsedTime;
    if (!bounds) {
        panel->hide();
        return;
    }
    const QImage &strip = clock ? clockDigits_ : elapsedDigits_;
    if (!strip.isNull())
        panel->SetDigits(strip);
    panel->setGeometry(ToQRect(*bounds));
    panel->SetBackBitmap(mainFace_);
    panel->SetBackRect(ToQRect(*bounds));
    panel->show();
}

// ---- Station list window --------------------------------------------------

void TSkin::PaintListFace(QPainter &p, int width, int height) const
{
    const auto &piece = ini_.ListPieces;
    if (!ini_.PlayListFormCanZoom) {
        // Fixed size: the face around the client area, which the tree covers.
        const QRect client = ToQRect(ini_.Rect);
        const QRegion bands = QRegion(listFace_.rect()).subtracted(client);
        p.save();
        p.setClipRegion(bands);
        p.drawImage(0, 0, listFace_);
        p.restore();
        return;
    }
    const int dW = width - listFace_.width(), dW2 = dW / 2, dH = height - listFace_.height();
    auto copy = [&](TListPiece i, int dx, int dy) { DrawLook(p, listFace_, piece[i], piece[i].Moved(dx, dy)); };
    // Copies at the source's own size from the area's top left, overhanging
    // the area's right and bottom edges rather than being clipped.
    auto tile = [&](TListPiece i, const TSkinRect &area) {
        const TSkinRect &src = piece[i];
        if (src.IsEmpty())
            return;
        for (int y = area.Top; y < area.Bottom; y += src.Height())
            for (int x = area.Left; x < area.Right; x += src.Width())
                DrawLook(p, listFace_, src, {x, y, x + src.Width(), y + src.Height()});
    };
    const TSkinRect &tl = piece[lpTopLeftTile], &tr = piece[lpTopRightTile], &bm = piece[lpBottomMiddleTile];
    const TSkinRect &lm = piece[lpLeftMiddleTile], &rm = piece[lpRightMiddleTile];
    copy(lpTopLeft, 0, 0);
    tile(lpTopLeftTile, {tl.Left, tl.Top, tl.Right + dW2, tl.Bottom});
    copy(lpTopMiddleTitle, dW2, 0);
    tile(lpTopRightTile, {tr.Left + dW2, tr.Top, tr.Right + dW, tr.Bottom});
    copy(lpTopRight, dW, 0);
    copy(lpBottomLeft, 0, dH);
    tile(lpBottomMiddleTile, {bm.Left, bm.Top + dH, bm.Right + dW, bm.Bottom + dH});
    copy(lpBottomRight, dW, dH);
    copy(lpLeftTop, 0, 0);
    tile(lpLeftMiddleTile, {lm.Left, lm.Top, lm.Right, lm.Bottom + dH});
    copy(lpLeftBottom, 0, dH);
    copy(lpRightTop, dW, 0);
    tile(lpRightMiddleTile, {rm.Left + dW, rm.Top, rm.Right + dW, rm.Bottom + dH});
    copy(lpRightBottom, dW, dH);
    DrawLook(p, listFace_, ini_.Rect, ini_.Rect);
}

std::array<TSkinRect, ListSlotCount> TSkin::ListSlotRects(int width, int height) const
{
    const int dW = width - listFace_.width(), dH = height - listFace_.height();
    const auto &piece = ini_.ListPieces;
    std::array<TSkinRect, ListSlotCount> rects;
    for (int i = 0; i < ListSlotCount; ++i) {
        const TSkinRect &src = ini_.ListSlots[i];
        // Each slot follows the first frame piece it lies on.
        auto on = [&](TListPiece k) { return src.Intersects(piece[k]); };
        if (on(lpBottomLeft))
            rects[i] = src.Moved(0, dH);
        else if (on(lpBottomRight))
            rects[i] = src.Moved(dW, dH);
        else if (on(lpTopRight) || on(lpRightTop))
            rects[i] = src.Moved(dW, 0);
        else if (on(lpRightBottom))
            rects[i] = src.Moved(dW, dH);
        else if (on(lpLeftBottom))
            rects[i] = src.Moved(0, dH);
        else
            rects[i] = src;
    }
    return rects;
}

QRegion TSkin::ListOutline(const QImage &painted) const
{
    const int w = painted.width(), h = painted.height();
    if (!ini_.ColorMaskPlayListForm)
        return QRegion(0, 0, w, h);
    const TSkinRect &k = ini_.NotCropRegionPlayListForm;
    if (k.IsZero())
        return CutOutline(painted, *ini_.ColorMaskPlayListForm, 1, {}, w, h);
    const TSkinRect keep{k.Left, k.Top, k.Right + w - listFace_.width(), k.Bottom + h - listFace_.height()};
    return CutOutline(painted, *ini_.ColorMaskPlayListForm, ini_.CropRegionTypePlayListForm, keep, w, h);
}
