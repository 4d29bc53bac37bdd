#include "appearance/Skin.h"

#include "platform/IniFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>

const std::array<const char *, MainSlotCount> MainSlotKeys = {
    "bNum1", "bNum2", "bNum3", "bNum4", "bNum5", "bNum6", "bNum7", "bNum8", "bNum9", "bNum10",
    "bPageUp", "bPageDown", "bMainMenu", "bHide", "bClose", "bRecord", "bOpenFile",
    "bPlayListFormShow", "bMute", "bPrevious", "bStop", "bPause", "bPlay", "bNext",
    "bAddVolume", "bDecVolume", "bMP3", "bAbout", "bWebsite", "bVoiceClock", "bMulti"};

const std::array<const char *, SkinLabelCount> SkinLabelSections = {
    "NameLabel", "StateLabel", "SpeedLabel", "ElapsedLabel", "ClockLabel"};

const std::array<const char *, SliderCount> SliderSections = {"VolumeBar", "EquationBar", "ProgressBar"};

const std::array<const char *, ListSlotCount> ListSlotKeys = {
    "bAddRadio", "bAddGroup", "bModify", "bDel", "bFind", "bSetChannel",
    "bPlayListFormClose", "bScrollUp", "bScrollDown"};

const std::array<const char *, ListPieceCount> ListPieceKeys = {
    "top_left", "top_left_tile", "top_middle_title", "top_right_tile", "top_right",
    "bottom_left", "bottom_middle_tile", "bottom_right",
    "left_top", "left_middle_tile", "left_bottom", "right_top", "right_middle_tile", "right_bottom"};

namespace {

const std::array<const char *, NamedTreeIconCount> NamedIconKeys = {
    "Radio_Icon", "SubGroup_Icon", "Pick_Icon", "Recently_Icon", "TV_Icon",
    "MyLibrary_Icon", "Genre_Icon", "Country_Icon", "Composite_Icon", "NetRadio_Icon"};
const std::array<const char *, NamedTreeIconCount> NamedIconFiles = {
    "radio.ico", "group.ico", "pick.ico", "recently.ico", "tv.ico",
    "mylibrary.ico", "genre.ico", "country.ico", "composite.ico", "netradio.ico"};

int NumberOrZero(const std::string &part)
{
    int v = 0;
    return ParseInt(part, v) ? v : 0;
}

// The text up to the next comma, consumed from `rest`; false when no comma is left.
bool TakePart(std::string &rest, std::string &part)
{
    const auto comma = rest.find(',');
    if (comma == std::string::npos)
        return false;
    part = rest.substr(0, comma);
    rest.erase(0, comma + 1);
    return true;
}

} // namespace

bool TSkinRect::Intersects(const TSkinRect &o) const
{
    return std::max(Left, o.Left) < std::min(Right, o.Right) && std::max(Top, o.Top) < std::min(Bottom, o.Bottom);
}

TSkinRect ParseSkinRect(const std::string &text)
{
    std::array<int, 4> v{};
    std::string rest = text, part;
    for (int i = 0; i < 4; ++i) {
        if (!TakePart(rest, part)) {
            v[i] = NumberOrZero(rest);
            break;
        }
        v[i] = NumberOrZero(part);
    }
    return {v[0], v[1], v[2], v[3]};
}

TSkinColor ParseSkinColor(const std::string &text)
{
    std::string rest = text, red, green;
    int r = 0, g = 0;
    if (TakePart(rest, red)) {
        r = NumberOrZero(red);
        if (TakePart(rest, green))
            g = NumberOrZero(green);
    }
    return SkinColor(r, g, NumberOrZero(rest));
}

int HitSlot(const TSkinRect *slots, int count, int x, int y)
{
    for (int i = 0; i < count; ++i)
        if (slots[i].ContainsStrictly(x, y))
            return i;
    return -1;
}

// ---- Sliders --------------------------------------------------------------

TSkinSlider::TSkinSlider(TSliderKind kind, const TSkinBar &bar, int thumbWidth, int thumbHeight)
    : kind_(kind), bar_(bar)
{
    if (bar_.Orientation < 0 || bar_.Orientation > 3)
        bar_.Orientation = 0;
    const TSkinRect &t = bar_.BoundsRect;
    // Centred across the track; integer division truncates toward zero.
    if (bar_.Vertical()) {
        const int left = t.Left + (t.Width() - thumbWidth) / 2;
        thumb_ = {left, t.Top, left + thumbWidth, t.Top + thumbHeight};
    } else {
        const int top = t.Top + (t.Height() - thumbHeight) / 2;
        thumb_ = {t.Left, top, t.Left + thumbWidth, top + thumbHeight};
    }
    SetOffset(0);
}

int TSkinSlider::Range() const
{
    const TSkinRect &t = bar_.BoundsRect;
    return bar_.Vertical() ? t.Height() - thumb_.Height() : t.Width() - thumb_.Width();
}

int TSkinSlider::Offset() const
{
    const TSkinRect &t = bar_.BoundsRect;
    switch (bar_.Orientation) {
    case 1: return t.Right - thumb_.Right;
    case 2: return thumb_.Top - t.Top;
    case 3: return t.Bottom - thumb_.Bottom;
    default: return thumb_.Left - t.Left;
    }
}

void TSkinSlider::SetOffset(int offset)
{
    offset = std::clamp(offset, 0, std::max(0, Range()));
    const TSkinRect &t = bar_.BoundsRect;
    switch (bar_.Orientation) {
    case 1: thumb_ = thumb_.Moved(t.Right - offset - thumb_.Right, 0); break;
    case 2: thumb_ = thumb_.Moved(0, t.Top + offset - thumb_.Top); break;
    case 3: thumb_ = thumb_.Moved(0, t.Bottom - offset - thumb_.Bottom); break;
    default: thumb_ = thumb_.Moved(t.Left + offset - thumb_.Left, 0); break;
    }
}

double TSkinSlider::Fraction() const
{
    const int range = Range();
    return range > 0 ? double(Offset()) / range : 0.0;
}

void TSkinSlider::SetFraction(double fraction)
{
    if (std::isnan(fraction))
        fraction = 0;
    SetOffset(int(std::lround(std::clamp(fraction, 0.0, 1.0) * std::max(0, Range()))));
}

void TSkinSlider::Press(int x, int y)
{
    const bool vertical = bar_.Vertical();
    const int pos = vertical ? y : x;
    if (thumb_.ContainsWithEdges(x, y)) {
        grab_ = pos - (vertical ? thumb_.Top : thumb_.Left);
    } else {
        grab_ = (vertical ? thumb_.Height() : thumb_.Width()) * 2 / 3;
        DragTo(x, y);
    }
    dragging_ = true;
}

void TSkinSlider::DragTo(int x, int y)
{
    const TSkinRect &t = bar_.BoundsRect;
    const int start = (bar_.Vertical() ? y : x) - grab_; // the thumb's new left or top
    switch (bar_.Orientation) {
    case 1: SetOffset(t.Right - start - thumb_.Width()); break;
    case 2: SetOffset(start - t.Top); break;
    case 3: SetOffset(t.Bottom - start - thumb_.Height()); break;
    default: SetOffset(start - t.Left); break;
    }
}

TSkinRect TSkinSlider::FillRect() const
{
    const TSkinRect &t = bar_.BoundsRect;
    const TSkinRect &s = thumb_;
    const bool vertical = bar_.Vertical();
    // The boundary between filled and empty track, for a minimum at the
    // left or top and for one at the right or bottom.
    int toward, away;
    if (kind_ == skBalance) {
        toward = away = vertical ? s.Top + s.Height() / 2 : s.Left + s.Width() / 2;
    } else {
        away = vertical ? s.Bottom : s.Right;
        toward = kind_ == skVolume ? away : (vertical ? s.Top : s.Left);
    }
    TSkinRect r = t;
    switch (bar_.Orientation) {
    case 1: r.Left = away; break;
    case 2: r.Bottom = toward; break;
    case 3: r.Top = away; break;
    default: r.Right = toward; break;
    }
    return r.IsEmpty() ? TSkinRect{} : r;
}

// ---- Outline --------------------------------------------------------------

std::vector<TSkinRect> CropAreas(int cropType, const TSkinRect &keep, int width, int height)
{
    const TSkinRect window{0, 0, width, height};
    // A kept rectangle reaching outside the window (or turned inside out)
    // is taken as its part inside, so the areas never overlap.
    TSkinRect k{std::clamp(keep.Left, 0, width), std::clamp(keep.Top, 0, height),
                std::clamp(keep.Right, 0, width), std::clamp(keep.Bottom, 0, height)};
    k.Right = std::max(k.Right, k.Left);
    k.Bottom = std::max(k.Bottom, k.Top);
    std::vector<TSkinRect> areas;
    switch (cropType) {
    case 0:
        areas = {window};
        break;
    case 1:
        areas = {{0, 0, width, k.Top}, {0, k.Bottom, width, height},
                 {0, k.Top, k.Left, k.Bottom}, {k.Right, k.Top, width, k.Bottom}};
        break;
    case 2:
        areas = {{0, 0, k.Left, k.Top}, {0, k.Bottom, k.Left, height},
                 {k.Right, 0, width, k.Top}, {k.Right, k.Bottom, width, height}};
        break;
    default:
        break;
    }
    std::erase_if(areas, [](const TSkinRect &a) { return a.IsEmpty(); });
    return areas;
}

// ---- skin.ini -------------------------------------------------------------

std::string TreeIconKey(int index)
{
    return index < NamedTreeIconCount ? NamedIconKeys[index] : "Icon" + std::to_string(index);
}

std::string TreeIconDefaultFile(int index)
{
    return index < NamedTreeIconCount ? NamedIconFiles[index] : std::to_string(index) + ".ico";
}

std::string TSkinIni::TreeIconFile(int index) const
{
    const auto it = TreeIconFiles.find(index);
    return it != TreeIconFiles.end() ? it->second : TreeIconDefaultFile(index);
}

int TSkinIni::VolumeStep() const
{
    const int steps = StepNum > 0 ? StepNum : 40;
    return std::max(1, 100 / steps);
}

namespace {

// One section's values, read once, with the readers of the skin's value types.
class TSkinSection {
public:
    TSkinSection(const IniFile &ini, const char *section)
    {
        for (auto &[key, value] : ini.ReadSectionValues(section)) {
            std::string k = key;
            std::transform(k.begin(), k.end(), k.begin(), [](unsigned char c) { return char(std::tolower(c)); });
            values_.emplace_back(std::move(k), std::move(value));
        }
    }

    const std::string *Find(const std::string &key) const
    {
        std::string k = key;
        std::transform(k.begin(), k.end(), k.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        // The first of repeated keys counts, as with the profile functions.
        for (const auto &[name, value] : values_)
            if (name == k)
                return &value;
        return nullptr;
    }

    std::string Text(const std::string &key, const std::string &def) const
    {
        const std::string *v = Find(key);
        return v ? *v : def;
    }
    TSkinRect Rect(const std::string &key) const
    {
        const std::string *v = Find(key);
        return v ? ParseSkinRect(*v) : TSkinRect{};
    }
    std::optional<TSkinRect> OptRect(const std::string &key) const
    {
        const std::string *v = Find(key);
        return v ? std::optional(ParseSkinRect(*v)) : std::nullopt;
    }
    TSkinColor Color(const std::string &key, TSkinColor def) const
    {
        const std::string *v = Find(key);
        return v ? ParseSkinColor(*v) : def;
    }
    std::optional<TSkinColor> OptColor(const std::string &key) const
    {
        const std::string *v = Find(key);
        return v ? std::optional(ParseSkinColor(*v)) : std::nullopt;
    }
    std::optional<int> OptInt(const std::string &key) const
    {
        int n = 0;
        const std::string *v = Find(key);
        return v && ParseInt(*v, n) ? std::optional(n) : std::nullopt;
    }
    int Int(const std::string &key, int def) const { return OptInt(key).value_or(def); }
    bool Bool(const std::string &key, bool def) const { return Int(key, def ? 1 : 0) != 0; }
    TSkinLook Look(const std::string &key) const { return {Rect(key), Rect(key + "_Down")}; }
    // Keys (lower case) and values in file order.
    const std::vector<std::pair<std::string, std::string>> &Values() const { return values_; }

private:
    std::vector<std::pair<std::string, std::string>> values_;
};

void ReadSkinSection(const IniFile &ini, TSkinIni &s)
{
    const TSkinSection sec(ini, "Skin");
    s.FaceMainForm = sec.Text("Face_MainForm", s.FaceMainForm);
    s.FacePlayListForm = sec.Text("Face_PlayListForm", s.FacePlayListForm);
    s.FaceMainFormDown = sec.Text("Face_MainForm_Down", s.FaceMainFormDown);
    s.FaceAdd = sec.Text("Face_Add", s.FaceAdd);
    s.FaceNums = sec.Text("Face_Nums", s.FaceNums);
    s.FaceClockNums = sec.Text("Face_ClockNums", s.FaceClockNums);
    for (int i = 0; i < NamedTreeIconCount; ++i)
        if (const std::string *file = sec.Find(TreeIconKey(i)))
            s.TreeIconFiles.emplace(i, *file);
    for (const auto &[key, value] : sec.Values()) {
        int index = 0;
        if (key.starts_with("icon") && ParseInt(key.substr(4), index) && index >= NamedTreeIconCount &&
            std::isdigit(static_cast<unsigned char>(key[4])))
            s.TreeIconFiles.emplace(index, value); // the first of repeated keys counts
    }
    s.ColorMaskAdd = sec.OptColor("ColorMask_Add");
    s.ColorMaskMainForm = sec.OptColor("ColorMask_MainForm");
    s.CropRegionTypeMainForm = sec.Int("CropRegionType_MainForm", 1);
    s.NotCropRegionMainForm = sec.Rect("NotCropRegion_MainForm");
    s.ColorMaskPlayListForm = sec.OptColor("ColorMask_PlayListForm");
    s.NotCropRegionPlayListForm = sec.Rect("NotCropRegion_PlayListForm");
    s.CropRegionTypePlayListForm = sec.Int("CropRegionType_PlayListForm", 1);
    s.PlayListFormCanZoom = sec.Bool("PlayListFormCanZoom", true);
    s.MoveResizeStyle = sec.OptInt("MoveResizeStyle");
    if (const auto lock = sec.OptInt("LockPlayListForm"))
        s.LockPlayListForm = *lock != 0;
    s.PlayListFormAlign = sec.Int("PlayListFormAlign", 0);
}

void ReadMainFormSection(const IniFile &ini, TSkinIni &s)
{
    const TSkinSection sec(ini, "MainForm");
    for (int i = 0; i < MainSlotCount; ++i)
        s.MainSlots[i] = sec.Rect(MainSlotKeys[i]);
    s.StepNum = sec.Int("StepNum", 40);
    s.InfoBar = sec.Rect("InfoBar");
    s.sPlayState = sec.Rect("sPlayState");
    s.sSoundState = sec.Rect("sSoundState");
    s.sRecordState = sec.Rect("sRecordState");
    for (int i = 0; i < 10; ++i) {
        const auto label = sec.OptRect("NumLabel" + std::to_string(i + 1));
        const TSkinRect &slot = s.MainSlots[msNum1 + i];
        s.NumLabels[i] = label.value_or(TSkinRect{slot.Left + 1, slot.Top + 1, slot.Right, slot.Bottom});
        s.NumLabelAtDefault[i] = !label;
    }
    s.sElapsedTime = sec.OptRect("sElapsedTime");
    s.sClock = sec.OptRect("sClock");
    s.NumsFontName = sec.Text("NumsFontName", "");
    s.NumsFontSize = sec.Int("NumsFontSize", 0);
    s.NumsFontColor = sec.Color("NumsFontColor", 0);
    s.NumsFontBold = sec.Bool("NumsFontBold", true);
}

void ReadAddFaceSection(const IniFile &ini, TSkinIni &s)
{
    const TSkinSection sec(ini, "AddFace");
    s.bRecord = sec.Look("bRecord");
    s.bPlay = sec.Look("bPlay");
    s.bMute = sec.Look("bMute");
    s.bMP3 = sec.Look("bMP3");
    s.bPlayListFormHide = sec.Look("bPlayListFormHide");
    s.Thumbs = {sec.Look("bVolumeMove"), sec.Look("bEquationMove"), sec.Look("bProgressMove")};
    s.sReady = sec.Rect("sReady");
    s.sPause = sec.Rect("sPause");
    s.bScrollMove = sec.Look("bScrollMove");
    for (int i = 0; i < ListSlotCount; ++i)
        s.ListSlotsDown[i] = sec.Rect(std::string(ListSlotKeys[i]) + "_Down");
}

TSkinLabel ReadLabel(const IniFile &ini, const char *section)
{
    const TSkinSection sec(ini, section);
    TSkinLabel l;
    l.BoundsRect = sec.Rect("BoundsRect");
    l.Alignment = sec.Int("Alignment", l.Alignment);
    l.FontName = sec.Text("FontName", "");
    l.FontSize = sec.Int("FontSize", 0);
    l.FontColor = sec.Color("FontColor", l.FontColor);
    l.FontBold = sec.Int("FontBold", 0) == 1;
    l.Elipses = sec.Bool("Elipses", l.Elipses);
    l.DrawType = sec.Int("DrawType", l.DrawType);
    l.ShadowOffset = sec.Int("ShadowOffset", l.ShadowOffset);
    l.ShadowColor = sec.Color("ShadowColor", l.ShadowColor);
    l.ScrollDelay = sec.Int("ScrollDelay", l.ScrollDelay);
    l.ScrollStep = sec.Int("ScrollStep", l.ScrollStep);
    l.ScrollRepeatDelay = sec.Int("ScrollRepeatDelay", l.ScrollRepeatDelay);
    l.AutoScroll = sec.Int("AutoScroll", l.AutoScroll);
    l.ScrollMode = sec.Int("ScrollMode", l.ScrollMode);
    return l;
}

TSkinListLook ReadListLook(const IniFile &ini, const char *section, const TSkinListLook &defaults)
{
    const TSkinSection sec(ini, section);
    TSkinListLook l;
    l.FontName = sec.Text("FontName", defaults.FontName);
    l.FontSize = sec.Int("FontSize", defaults.FontSize);
    l.FontColor = sec.Color("FontColor", defaults.FontColor);
    l.Color = sec.Color("Color", defaults.Color);
    l.PlayingItemFontColor = sec.Color("PlayingItemFontColor", defaults.PlayingItemFontColor);
    l.SelectedItemFontColor = sec.Color("SelectedItemFontColor", defaults.SelectedItemFontColor);
    l.SelectedItemBackColor = sec.Color("SelectedItemBackColor", defaults.SelectedItemBackColor);
    return l;
}

void ReadPlayListFormSection(const IniFile &ini, TSkinIni &s)
{
    const TSkinSection sec(ini, "PlayListForm");
    for (int i = 0; i < ListPieceCount; ++i)
        s.ListPieces[i] = sec.Rect(ListPieceKeys[i]);
    s.Rect = sec.Rect("Rect");
    s.ScrollBarOrbit = sec.Rect("ScrollBarOrbit");
    s.ZoomMove = sec.Rect("ZoomMove");
    for (int i = 0; i < ListSlotCount; ++i)
        s.ListSlots[i] = sec.Rect(ListSlotKeys[i]);
    s.FormMinWidth = sec.Int("FormMinWidth", 0);
    s.FormMinHeight = sec.Int("FormMinHeight", 0);
}

} // namespace

TSkinIni ReadSkinIni(const std::string &fileName)
{
    const IniFile ini(fileName);
    TSkinIni s;
    ReadSkinSection(ini, s);
    ReadMainFormSection(ini, s);
    ReadAddFaceSection(ini, s);
    for (int i = 0; i < SliderCount; ++i) {
        const TSkinSection sec(ini, SliderSections[i]);
        s.Bars[i] = {sec.Rect("BoundsRect"), sec.Int("Orientation", 0)};
    }
    for (int i = 0; i < SkinLabelCount; ++i)
        s.Labels[i] = ReadLabel(ini, SkinLabelSections[i]);
    ReadPlayListFormSection(ini, s);
    s.Tree = ReadListLook(ini, "Tree", TSkinListLook{});
    s.List = ReadListLook(ini, "List", s.Tree);
    return s;
}
