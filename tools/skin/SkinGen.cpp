// Generates the shipped skins: every bitmap, icon and "skin.ini" of
// Skins/default/ and Skins/Amber/. Usage: orvane_skingen <Skins folder>
//
// Both skins share one layout and differ in colours and shapes. Faces are
// PNG files; the outlines are cut by the mask colour 255,0,255.

#include "SkinArt.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

constexpr int MainW = 440, MainH = 172;
constexpr int ListW = 300, ListH = 240;
const QString FontName = QStringLiteral("DejaVu Sans");

// ---- Layout (x, y, width, height) -----------------------------------------

struct TSlot {
    const char *Key;
    QRect Rect;
    TGlyph Glyph;
    bool Round;
};

QRect ChannelRect(int i) { return QRect(288 + (i % 5) * 23, i < 5 ? 132 : 148, 22, 14); }

std::vector<TSlot> MainSlots(const TTheme &t)
{
    const bool r = t.RoundButtons;
    std::vector<TSlot> all;
    for (int i = 0; i < 10; ++i)
        all.push_back({nullptr, ChannelRect(i), TGlyph::None, false});
    const std::vector<TSlot> rest = {
        {"bPageUp", {406, 132, 20, 14}, TGlyph::Up, false},
        {"bPageDown", {406, 148, 20, 14}, TGlyph::Down, false},
        {"bMainMenu", {16, 10, 16, 16}, TGlyph::Menu, false},
        {"bHide", {386, 10, 16, 16}, TGlyph::Minimize, false},
        {"bClose", {406, 10, 16, 16}, TGlyph::Close, false},
        {"bRecord", {196, 132, 30, 30}, TGlyph::Record, r},
        {"bOpenFile", {234, 132, 22, 14}, TGlyph::Folder, false},
        {"bPlayListFormShow", {234, 148, 22, 14}, TGlyph::List, false},
        {"bMute", {326, 74, 16, 16}, TGlyph::Speaker, false},
        {"bPrevious", {16, 132, 30, 30}, TGlyph::Previous, r},
        {"bStop", {126, 132, 30, 30}, TGlyph::Stop, r},
        {"bPause", {92, 132, 30, 30}, TGlyph::Pause, r},
        {"bPlay", {50, 128, 38, 38}, TGlyph::Play, r},
        {"bNext", {160, 132, 30, 30}, TGlyph::Next, r},
        {"bAddVolume", {260, 132, 22, 14}, TGlyph::Plus, false},
        {"bDecVolume", {260, 148, 22, 14}, TGlyph::Minus, false},
        {"bMP3", {326, 90, 16, 16}, TGlyph::Note, false},
        {"bAbout", {360, 10, 16, 16}, TGlyph::Info, false},
        {"bWebsite", {340, 10, 16, 16}, TGlyph::Globe, false},
        {"bVoiceClock", {320, 10, 16, 16}, TGlyph::Clock, false},
        {"bMulti", {300, 10, 16, 16}, TGlyph::Dots, false}};
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
}

const QRect Lcd(12, 32, 304, 76), ClockPanel(322, 32, 106, 34), VolumePanel(322, 70, 106, 38);
const QRect VolumeTrack(348, 78, 76, 8), BalanceTrack(348, 94, 76, 8), ProgressTrack(16, 114, 408, 8);
const QRect PlayStateAt(244, 56, 14, 14), SoundStateAt(264, 56, 14, 14), RecordStateAt(284, 56, 14, 14);
const QRect ElapsedAt(20, 78, 114, 24), ClockAt(334, 36, 82, 26), InfoBarAt(144, 78, 164, 24);
const QSize ElapsedCell(12, 20), ClockCell(14, 22);
const QSize SliderThumb(10, 14), ProgressThumb(14, 14), ScrollThumb(10, 28);

// Station list window.
const QRect ListClient(8, 26, 274, 186), ScrollOrbit(286, 44, 10, 150);
struct TListSlot {
    const char *Key;
    QRect Rect;
    TGlyph Glyph;
};
const std::vector<TListSlot> ListSlots = {
    {"bAddRadio", {8, 216, 24, 20}, TGlyph::AddRadio},   {"bAddGroup", {36, 216, 24, 20}, TGlyph::AddGroup},
    {"bModify", {64, 216, 24, 20}, TGlyph::Edit},        {"bDel", {92, 216, 24, 20}, TGlyph::Delete},
    {"bFind", {120, 216, 24, 20}, TGlyph::Find},         {"bSetChannel", {148, 216, 24, 20}, TGlyph::Channel},
    {"bPlayListFormClose", {274, 5, 16, 16}, TGlyph::Close},
    {"bScrollUp", {285, 28, 12, 14}, TGlyph::Up},        {"bScrollDown", {285, 196, 12, 14}, TGlyph::Down}};
const std::vector<std::pair<const char *, QRect>> ListPieces = {
    {"top_left", {0, 0, 60, 26}},           {"top_left_tile", {60, 0, 10, 26}},
    {"top_middle_title", {70, 0, 160, 26}}, {"top_right_tile", {230, 0, 10, 26}},
    {"top_right", {240, 0, 60, 26}},        {"bottom_left", {0, 212, 200, 28}},
    {"bottom_middle_tile", {200, 212, 10, 28}}, {"bottom_right", {210, 212, 90, 28}},
    {"left_top", {0, 26, 8, 14}},           {"left_middle_tile", {0, 40, 8, 10}},
    {"left_bottom", {0, 50, 8, 162}},       {"right_top", {282, 26, 18, 34}},
    {"right_middle_tile", {282, 60, 18, 10}}, {"right_bottom", {282, 70, 18, 142}}};

// ---- Values of skin.ini ---------------------------------------------------

QString R(const QRect &r)
{
    return QStringLiteral("%1,%2,%3,%4").arg(r.left()).arg(r.top()).arg(r.left() + r.width()).arg(r.top() + r.height());
}
QString C(const QColor &c) { return QStringLiteral("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue()); }

// Sections and keys in the order they were set; written with CR LF.
class TIniText {
public:
    void Set(const QString &section, const QString &key, const QString &value)
    {
        if (order_.empty() || order_.back() != section)
            if (!values_.count(section))
                order_.push_back(section);
        values_[section].push_back(key + QLatin1Char('=') + value);
    }
    QByteArray Bytes() const
    {
        QByteArray out;
        for (const QString &section : order_) {
            out += "[" + section.toUtf8() + "]\r\n";
            for (const QString &line : values_.at(section))
                out += line.toUtf8() + "\r\n";
            out += "\r\n";
        }
        return out;
    }

private:
    std::vector<QString> order_;
    std::map<QString, std::vector<QString>> values_;
};

// Images packed in rows onto the add face, each remembered by its rectangle.
class TSheet {
public:
    explicit TSheet(int width) : image_(width, 160, QImage::Format_RGB32) { image_.fill(MaskColor); }
    QRect Add(const QImage &piece)
    {
        if (x_ + piece.width() > image_.width()) {
            x_ = 0;
            y_ += row_ + 2;
            row_ = 0;
        }
        const QRect at(x_, y_, piece.width(), piece.height());
        QPainter(&image_).drawImage(at.topLeft(), piece);
        x_ += piece.width() + 2;
        row_ = std::max(row_, piece.height());
        return at;
    }
    QImage Image() const { return image_.copy(0, 0, image_.width(), y_ + row_); }

private:
    QImage image_;
    int x_ = 0, y_ = 0, row_ = 0;
};

// ---- Faces ----------------------------------------------------------------

struct TVariant {
    bool Pressed = false;   // every button pressed, tracks filled, indicators on
    bool Toggled = false;   // toggled buttons in their "on" look
};

void PaintCase(QPainter &p, const TTheme &t, int w, int h)
{
    QLinearGradient body(0, 0, 0, h);
    body.setColorAt(0, t.BodyTop);
    body.setColorAt(1, t.BodyBottom);
    p.setPen(QPen(t.Edge, 1.5));
    p.setBrush(body);
    p.drawPath(CaseShape(t, w, h));
}

void PaintTitle(QPainter &p, const TTheme &t, const QRect &r, const QString &text, int size)
{
    QFont font(FontName, size, QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2.5);
    p.setFont(font);
    p.setPen(t.Glyph);
    p.drawText(r, Qt::AlignVCenter | Qt::AlignLeft, text);
}

void PaintIndicators(QPainter &p, const TTheme &t, bool on)
{
    DrawGlyph(p, PlayStateAt, TGlyph::Play, on ? t.LcdText : t.LcdDim);
    DrawGlyph(p, SoundStateAt, on ? TGlyph::SpeakerMuted : TGlyph::Speaker, on ? t.Record : t.LcdDim);
    DrawGlyph(p, RecordStateAt, TGlyph::Record, on ? t.Record : t.LcdDim);
}

QImage MainFace(const TTheme &t, const TVariant &v)
{
    QImage img(MainW, MainH, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    PaintCase(p, t, MainW, MainH);
    PaintTitle(p, t, QRect(40, 8, 200, 20), t.Title, 9);
    DrawPanel(p, t, Lcd, 6);
    DrawPanel(p, t, ClockPanel, 6);
    DrawPanel(p, t, VolumePanel, 6);
    DrawGroove(p, t, VolumeTrack, v.Pressed);
    DrawGroove(p, t, BalanceTrack, v.Pressed);
    DrawGroove(p, t, ProgressTrack, v.Pressed);
    PaintIndicators(p, t, v.Pressed);
    for (const TSlot &s : MainSlots(t)) {
        TLook look = v.Pressed ? TLook::Pressed : TLook::Normal;
        const QString key = s.Key ? QString::fromLatin1(s.Key) : QString();
        if (v.Toggled) {
            if (key == "bRecord" || key == "bPlay" || key == "bMute" || key == "bMP3")
                look = v.Pressed ? TLook::LitPressed : TLook::Lit;
            else if (key == "bPlayListFormShow" && !v.Pressed)
                look = TLook::Dim;
        }
        const TGlyph glyph = v.Toggled && key == "bMute" ? TGlyph::SpeakerMuted : s.Glyph;
        DrawButton(p, t, s.Rect, glyph, look, s.Round);
    }
    p.end();
    return CutToMask(img, t.Edge);
}

// A slider thumb on the mask colour, so that only the knob is drawn.
QImage Thumb(const TTheme &t, QSize size, bool round, bool dragged)
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, dragged ? t.Accent.lighter(130) : t.ButtonHi.lighter(110));
    g.setColorAt(1, dragged ? t.AccentDark : t.Button);
    p.setPen(QPen(t.Edge, 1));
    p.setBrush(g);
    const QRectF r = QRectF(img.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (round)
        p.drawEllipse(r);
    else
        p.drawRoundedRect(r, 3, 3);
    p.setPen(QPen(dragged ? Qt::white : t.Accent, 1.5));
    p.drawLine(QPointF(size.width() / 2.0, 3.5), QPointF(size.width() / 2.0, size.height() - 3.5));
    p.end();
    return CutToMask(img, t.Panel);
}

// A state image on the display panel.
QImage StateImage(const TTheme &t, TGlyph glyph)
{
    QImage img(PlayStateAt.size(), QImage::Format_RGB32);
    img.fill(t.Panel);
    QPainter p(&img);
    DrawGlyph(p, img.rect(), glyph, t.LcdText);
    return img;
}

QImage ListFace(const TTheme &t, bool pressed)
{
    QImage img(ListW, ListH, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    TTheme listTheme = t;
    listTheme.Corner = t.Chamfered ? 12 : 10;
    PaintCase(p, listTheme, ListW, ListH);
    p.setPen(t.Glyph);
    QFont title(FontName, 8, QFont::Bold);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(title);
    p.drawText(QRect(70, 0, 160, 26), Qt::AlignCenter, QStringLiteral("STATIONS"));
    p.fillRect(ListClient, t.ListBack);
    p.setPen(QPen(t.PanelEdge, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(ListClient).adjusted(-0.5, -0.5, 0.5, 0.5));
    DrawGroove(p, t, ScrollOrbit, false);
    for (const TListSlot &s : ListSlots)
        DrawButton(p, t, s.Rect, s.Glyph, pressed ? TLook::Pressed : TLook::Normal, false);
    // The resize grip: a triangle of dots in the corner.
    p.setPen(Qt::NoPen);
    p.setBrush(t.Glyph);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col <= row; ++col)
            p.drawEllipse(QPointF(ListW - 7 - col * 4, ListH - 15 + row * 4), 0.9, 0.9);
    p.end();
    return CutToMask(img, t.Edge);
}

QImage ScrollThumbImage(const TTheme &t, bool dragged)
{
    QImage img(ScrollThumb, QImage::Format_ARGB32_Premultiplied);
    img.fill(t.Panel);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(t.Edge, 1));
    p.setBrush(dragged ? t.Accent : t.ButtonHi);
    p.drawRoundedRect(QRectF(img.rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4.5, 4.5);
    return img.convertToFormat(QImage::Format_RGB32);
}

// ---- Writing --------------------------------------------------------------

void Save(const QImage &image, const QString &path, const char *format)
{
    QImageWriter writer(path, format);
    if (!writer.write(image)) {
        std::fprintf(stderr, "orvane_skingen: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        std::exit(1);
    }
}

void WriteLabel(TIniText &ini, const TTheme &t, const char *section, const QRect &bounds, int size, bool bold,
                int alignment, int autoScroll)
{
    const QString s = QString::fromLatin1(section);
    ini.Set(s, "BoundsRect", R(bounds));
    ini.Set(s, "Alignment", QString::number(alignment));
    ini.Set(s, "FontName", FontName);
    ini.Set(s, "FontSize", QString::number(size));
    ini.Set(s, "FontColor", C(t.LcdText));
    ini.Set(s, "FontBold", bold ? "1" : "0");
    ini.Set(s, "Elipses", "1");
    ini.Set(s, "DrawType", t.Chamfered ? "3" : "0");
    ini.Set(s, "ShadowOffset", "1");
    ini.Set(s, "ShadowColor", C(t.LcdDim));
    ini.Set(s, "ScrollDelay", "60");
    ini.Set(s, "ScrollStep", "1");
    ini.Set(s, "ScrollRepeatDelay", "1500");
    ini.Set(s, "AutoScroll", QString::number(autoScroll));
    ini.Set(s, "ScrollMode", "1");
}

void Generate(const TTheme &t, const QString &skinsFolder)
{
    const QString dir = skinsFolder + QLatin1Char('/') + t.Folder + QLatin1Char('/');
    QDir().mkpath(dir);
    TIniText ini;
    ini.Set("Skin", "Face_MainForm", "main.png");
    ini.Set("Skin", "Face_MainForm_Down", "main_down.png");
    ini.Set("Skin", "Face_PlayListForm", "playlist.png");
    ini.Set("Skin", "Face_Add", "add.png");
    ini.Set("Skin", "Face_Nums", "nums.png");
    ini.Set("Skin", "Face_ClockNums", "nums_clock.png");
    ini.Set("Skin", "ColorMask_Add", C(MaskColor));
    ini.Set("Skin", "ColorMask_MainForm", C(MaskColor));
    ini.Set("Skin", "CropRegionType_MainForm", "2");
    ini.Set("Skin", "NotCropRegion_MainForm", "20,20,420,152");
    ini.Set("Skin", "ColorMask_PlayListForm", C(MaskColor));
    ini.Set("Skin", "CropRegionType_PlayListForm", "2");
    ini.Set("Skin", "NotCropRegion_PlayListForm", "14,14,286,226");
    ini.Set("Skin", "PlayListFormCanZoom", "1");
    ini.Set("Skin", "MoveResizeStyle", "0");
    ini.Set("Skin", "LockPlayListForm", "0");
    ini.Set("Skin", "PlayListFormAlign", "4");

    const QImage main = MainFace(t, {});
    const QImage down = MainFace(t, {true, false});
    const QImage lit = MainFace(t, {false, true});
    const QImage litDown = MainFace(t, {true, true});
    Save(main, dir + "main.png", "png");
    Save(down, dir + "main_down.png", "png");

    for (const TSlot &s : MainSlots(t))
        if (s.Key)
            ini.Set("MainForm", s.Key, R(s.Rect));
    for (int i = 0; i < 10; ++i)
        ini.Set("MainForm", QStringLiteral("bNum%1").arg(i + 1), R(ChannelRect(i)));
    ini.Set("MainForm", "StepNum", "50");
    ini.Set("MainForm", "InfoBar", R(InfoBarAt));
    ini.Set("MainForm", "sPlayState", R(PlayStateAt));
    ini.Set("MainForm", "sSoundState", R(SoundStateAt));
    ini.Set("MainForm", "sRecordState", R(RecordStateAt));
    ini.Set("MainForm", "sElapsedTime", R(ElapsedAt));
    ini.Set("MainForm", "sClock", R(ClockAt));
    ini.Set("MainForm", "NumsFontName", FontName);
    ini.Set("MainForm", "NumsFontSize", "7");
    ini.Set("MainForm", "NumsFontColor", C(t.Glyph));
    ini.Set("MainForm", "NumsFontBold", "1");

    TSheet sheet(300);
    const std::vector<std::pair<const char *, QRect>> toggles = {
        {"bRecord", {196, 132, 30, 30}}, {"bPlay", {50, 128, 38, 38}}, {"bMute", {326, 74, 16, 16}},
        {"bMP3", {326, 90, 16, 16}}, {"bPlayListFormHide", {234, 148, 22, 14}}};
    for (const auto &[key, r] : toggles) {
        ini.Set("AddFace", key, R(sheet.Add(lit.copy(r))));
        ini.Set("AddFace", QString::fromLatin1(key) + "_Down", R(sheet.Add(litDown.copy(r))));
    }
    const std::vector<std::pair<const char *, std::pair<QSize, bool>>> thumbs = {
        {"bVolumeMove", {SliderThumb, false}}, {"bEquationMove", {SliderThumb, false}},
        {"bProgressMove", {ProgressThumb, true}}};
    for (const auto &[key, shape] : thumbs) {
        ini.Set("AddFace", key, R(sheet.Add(Thumb(t, shape.first, shape.second, false))));
        ini.Set("AddFace", QString::fromLatin1(key) + "_Down", R(sheet.Add(Thumb(t, shape.first, shape.second, true))));
    }
    ini.Set("AddFace", "sReady", R(sheet.Add(StateImage(t, TGlyph::Hourglass))));
    ini.Set("AddFace", "sPause", R(sheet.Add(StateImage(t, TGlyph::Pause))));
    ini.Set("AddFace", "bScrollMove", R(sheet.Add(ScrollThumbImage(t, false))));
    ini.Set("AddFace", "bScrollMove_Down", R(sheet.Add(ScrollThumbImage(t, true))));
    const QImage listPressed = ListFace(t, true);
    for (const TListSlot &s : ListSlots)
        ini.Set("AddFace", QString::fromLatin1(s.Key) + "_Down", R(sheet.Add(listPressed.copy(s.Rect))));
    Save(sheet.Image(), dir + "add.png", "png");

    const std::vector<std::pair<const char *, QRect>> bars = {
        {"VolumeBar", VolumeTrack}, {"EquationBar", BalanceTrack}, {"ProgressBar", ProgressTrack}};
    for (const auto &[section, track] : bars) {
        ini.Set(section, "BoundsRect", R(track));
        ini.Set(section, "Orientation", "0");
    }
    WriteLabel(ini, t, "NameLabel", QRect(20, 36, 288, 18), 10, true, 0, 1);
    WriteLabel(ini, t, "StateLabel", QRect(20, 56, 130, 14), 8, false, 0, 0);
    WriteLabel(ini, t, "SpeedLabel", QRect(150, 56, 86, 14), 8, false, 2, 0);
    // The digit displays show the time; their text twins get no place.
    WriteLabel(ini, t, "ElapsedLabel", QRect(), 8, false, 0, 0);
    WriteLabel(ini, t, "ClockLabel", QRect(), 8, false, 0, 0);

    Save(DigitStrip(t, ElapsedCell.width(), ElapsedCell.height()), dir + "nums.png", "png");
    Save(DigitStrip(t, ClockCell.width(), ClockCell.height()), dir + "nums_clock.png", "png");

    Save(ListFace(t, false), dir + "playlist.png", "png");
    for (const auto &[key, r] : ListPieces)
        ini.Set("PlayListForm", key, R(r));
    ini.Set("PlayListForm", "Rect", R(ListClient));
    ini.Set("PlayListForm", "ScrollBarOrbit", R(ScrollOrbit));
    for (const TListSlot &s : ListSlots)
        ini.Set("PlayListForm", s.Key, R(s.Rect));
    ini.Set("PlayListForm", "ZoomMove", "14,14,0,0");
    ini.Set("PlayListForm", "FormMinWidth", QString::number(ListW));
    ini.Set("PlayListForm", "FormMinHeight", QString::number(ListH));
    // [List] is left out: the music list takes the tree's look.
    ini.Set("Tree", "FontName", FontName);
    ini.Set("Tree", "FontSize", "9");
    ini.Set("Tree", "FontColor", C(t.ListText));
    ini.Set("Tree", "Color", C(t.ListBack));
    ini.Set("Tree", "PlayingItemFontColor", C(t.Accent));
    ini.Set("Tree", "SelectedItemFontColor", "255,255,255");
    ini.Set("Tree", "SelectedItemBackColor", C(t.AccentDark));

    static const char *iconFiles[10] = {"radio.ico", "group.ico", "pick.ico", "recently.ico", "tv.ico",
                                        "mylibrary.ico", "genre.ico", "country.ico", "composite.ico", "netradio.ico"};
    for (int i = 0; i < 10; ++i)
        Save(TreeIcon(t, i), dir + iconFiles[i], "ico");
    for (int n = 0; n < 8; ++n)
        Save(TrayFrame(t, n), dir + QString::number(n + 1) + ".ico", "ico");

    QFile file(dir + "skin.ini");
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(ini.Bytes()) < 0) {
        std::fprintf(stderr, "orvane_skingen: cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

const TTheme DefaultTheme{
    "default", "ORVANE",
    QColor(0x3a, 0x41, 0x50), QColor(0x1c, 0x21, 0x29), QColor(0x0b, 0x0e, 0x13),
    QColor(0x0a, 0x17, 0x1f), QColor(0x04, 0x08, 0x0b), QColor(0x6a, 0xe6, 0xff), QColor(0x13, 0x2c, 0x37),
    QColor(0x35, 0xc8, 0xf0), QColor(0x0b, 0x6a, 0x94), QColor(0xff, 0x4d, 0x5e),
    QColor(0x2a, 0x30, 0x3b), QColor(0x4a, 0x54, 0x66), QColor(0xd7, 0xde, 0xe8),
    QColor(0x10, 0x16, 0x1d), QColor(0xcf, 0xd8, 0xe3),
    false, 14, 4, true};

const TTheme AmberTheme{
    "Amber", "ORVANE  AMBER",
    QColor(0xf6, 0xea, 0xd4), QColor(0xd6, 0xbb, 0x93), QColor(0x5e, 0x3f, 0x22),
    QColor(0x26, 0x17, 0x0c), QColor(0x10, 0x08, 0x03), QColor(0xff, 0xb3, 0x47), QColor(0x40, 0x2a, 0x15),
    QColor(0xff, 0x8a, 0x1f), QColor(0xb3, 0x52, 0x0a), QColor(0xd7, 0x26, 0x3d),
    QColor(0xec, 0xdb, 0xbd), QColor(0xff, 0xf8, 0xec), QColor(0x5a, 0x3a, 0x1e),
    QColor(0xfb, 0xf4, 0xe8), QColor(0x3b, 0x27, 0x14),
    true, 18, 2, false};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvane_skingen <Skins folder>\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0); // fonts without a display
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    Generate(DefaultTheme, folder);
    Generate(AmberTheme, folder);
    return 0;
}
