// Renders a skin folder into one PNG without the program's windows: the main
// window idle and busy (playing, muted, recording, music mode, a button held,
// a thumb dragged), with its labels and digit displays, and the station list
// window at its base size and enlarged. Everything outside the cut outlines
// shows a checkerboard. Usage: orvane_skinpreview <skin folder> <out.png>
//
// With --show it opens the main window's face as a real shaped window at
// (x, y) for the given milliseconds instead: buttons press, thumbs drag.
// Usage: orvane_skinpreview --show <skin folder> <x> <y> <ms>

#include "app/GlobalUnit.h"
#include "appearance/MyDigitsPanel.h"
#include "appearance/MyScrollLabel.h"
#include "appearance/SkinFace.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr int Gap = 16;

void Checkerboard(QImage &canvas)
{
    QPainter p(&canvas);
    for (int y = 0; y < canvas.height(); y += 8)
        for (int x = 0; x < canvas.width(); x += 8)
            p.fillRect(x, y, 8, 8, ((x + y) / 8) % 2 ? QColor(0xe4, 0xe4, 0xe4) : QColor(0xfa, 0xfa, 0xfa));
}

struct TMainTexts {
    QString Name, State, Speed, Elapsed, Clock;
};

QImage RenderMain(const TSkin &skin, const TMainFaceState &state, const TMainTexts &texts)
{
    QImage face(skin.MainFace().size(), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&face);
    skin.PaintMainFace(p, state);

    const std::pair<TSkinLabelId, QString> labels[] = {
        {slName, texts.Name}, {slState, texts.State}, {slSpeed, texts.Speed}};
    for (const auto &[id, text] : labels) {
        TScrollLabel label;
        skin.ApplyToLabel(&label, id);
        label.SetCaption(text);
        // A long name is shown part way through its run (the first paint
        // decides whether it scrolls).
        label.grab();
        for (int step = 0; step < 120; ++step)
            label.Tick();
        if (label.width() > 0 && label.height() > 0)
            label.render(&p, label.pos());
    }
    const std::pair<bool, QString> displays[] = {{false, texts.Elapsed}, {true, texts.Clock}};
    for (const auto &[clock, value] : displays) {
        TDigitsPanel panel;
        panel.SetBevelOuter(bvNone);
        panel.SetBevelInner(bvNone);
        panel.SetTransparent(true);
        panel.SetLength(clock ? 5 : 8);
        skin.ApplyToDigits(&panel, clock);
        panel.SetValue(value);
        if (!panel.isHidden())
            panel.render(&p, panel.pos());
    }
    return face;
}

QImage RenderList(const TSkin &skin, int width, int height)
{
    QImage face(width, height, QImage::Format_ARGB32_Premultiplied);
    face.fill(Qt::black);
    QPainter p(&face);
    skin.PaintListFace(p, width, height);
    // The station tree covers the client area, which grows with the window.
    const TSkinRect &client = skin.Ini().Rect;
    p.fillRect(client.Left, client.Top, client.Width() + width - skin.ListFace().width(),
               client.Height() + height - skin.ListFace().height(), ToQColor(skin.Ini().Tree.Color));
    return face;
}

void Place(QPainter &p, const QImage &face, const QRegion &outline, QPoint at)
{
    p.save();
    p.setClipRegion(outline.translated(at));
    p.drawImage(at, face);
    p.restore();
}

// The main window's face as the main window will forward its events to it.
class TFaceWindow : public QWidget {
public:
    explicit TFaceWindow(const TSkin &skin) : QWidget(nullptr, Qt::FramelessWindowHint), skin_(skin)
    {
        setFixedSize(skin.MainFace().size());
        setMask(skin.MainOutline());
        for (int k = 0; k < SliderCount; ++k)
            state_.Sliders[k] = skin.MakeSlider(TSliderKind(k));
        for (int i = 0; i < 10; ++i)
            state_.ChannelCaptions[i] = QString::number(i + 1);
        state_.Sliders[skVolume].SetFraction(0.7);
        state_.Sliders[skBalance].SetFraction(0.5);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        skin_.PaintMainFace(p, state_);
    }
    void mousePressEvent(QMouseEvent *e) override
    {
        const QPoint at = e->position().toPoint();
        for (TSkinSlider &slider : state_.Sliders)
            if (slider.InTrack(at.x(), at.y())) {
                slider.Press(at.x(), at.y());
                update();
                return;
            }
        state_.PressedSlot = skin_.HitMainSlot(at.x(), at.y());
        state_.PressedInside = state_.PressedSlot >= 0;
        update();
    }
    void mouseMoveEvent(QMouseEvent *e) override
    {
        const QPoint at = e->position().toPoint();
        for (TSkinSlider &slider : state_.Sliders)
            if (slider.Dragging())
                slider.DragTo(at.x(), at.y());
        if (state_.PressedSlot >= 0)
            state_.PressedInside = skin_.HitMainSlot(at.x(), at.y()) == state_.PressedSlot;
        update();
    }
    void mouseReleaseEvent(QMouseEvent *) override
    {
        for (TSkinSlider &slider : state_.Sliders)
            slider.Release();
        // A click on play, mute, record or the mode button flips its toggled look.
        if (state_.PressedInside) {
            switch (state_.PressedSlot) {
            case msPlay: state_.PlayState = state_.PlayState == 1 ? 3 : 1; state_.CanPause = true; break;
            case msMute: state_.Muted = !state_.Muted; break;
            case msRecord: state_.Recording = !state_.Recording; break;
            case msMP3: state_.MusicMode = !state_.MusicMode; break;
            case msClose: close(); break;
            default: break;
            }
        }
        state_.PressedSlot = -1;
        state_.PressedInside = false;
        update();
    }

private:
    const TSkin &skin_;
    TMainFaceState state_;
};

} // namespace

int main(int argc, char **argv)
{
    const bool show = argc == 6 && std::string(argv[1]) == "--show";
    if (argc != 3 && !show) {
        std::fprintf(stderr, "usage: orvane_skinpreview <skin folder> <out.png>\n"
                             "       orvane_skinpreview --show <skin folder> <x> <y> <ms>\n");
        return 2;
    }
    if (!show)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const char *skinArg = argv[show ? 2 : 1];
    const std::string folder = std::filesystem::absolute(skinArg).lexically_normal().string() + "/";
    // The folder's parent is "Skins/": missing icons come from its default skin.
    SetAppPath((std::filesystem::path(folder).parent_path().parent_path().parent_path()).string() + "/");

    TSkin skin;
    if (!skin.LoadSkin(folder)) {
        std::fprintf(stderr, "orvane_skinpreview: %s is no complete skin\n", skinArg);
        return 1;
    }
    if (show) {
        TFaceWindow window(skin);
        window.move(std::atoi(argv[3]), std::atoi(argv[4]));
        window.show();
        QTimer::singleShot(std::atoi(argv[5]), &app, &QApplication::quit);
        return app.exec();
    }
    const QSize main = skin.MainFace().size(), list = skin.ListFace().size();

    TMainFaceState idle;
    for (int k = 0; k < SliderCount; ++k)
        idle.Sliders[k] = skin.MakeSlider(TSliderKind(k));
    for (int i = 0; i < 10; ++i)
        idle.ChannelCaptions[i] = QString::number(i + 1);
    idle.Sliders[skVolume].SetFraction(0.7);
    idle.Sliders[skBalance].SetFraction(0.5);

    TMainFaceState busy = idle;
    busy.PlayState = 1;
    busy.CanPause = true;
    busy.Muted = busy.Recording = busy.MusicMode = busy.ListHidden = true;
    busy.PressedSlot = msNum1 + 2;
    busy.PressedInside = true;
    busy.Sliders[skProgress].SetFraction(0.35);
    const TSkinRect thumb = busy.Sliders[skVolume].Thumb();
    busy.Sliders[skVolume].Press(thumb.Left + 1, thumb.Top + 1);

    const QImage idleFace = RenderMain(skin, idle, {"Orvane Radio - pick a station", "Stopped", "", "  :  :  ", "21:45"});
    const QImage busyFace = RenderMain(
        skin, busy,
        {"Jazz Lounge 24/7 - Smooth late night sounds from the city", "Playing", "128 kbps", "01:02:37", "21:45"});
    const QSize bigList(list.width() + 120, list.height() + 80);

    QImage canvas(Gap * 3 + main.width() * 2, Gap * 3 + main.height() + bigList.height(), QImage::Format_RGB32);
    Checkerboard(canvas);
    QPainter p(&canvas);
    const QRegion outline = skin.MainOutline();
    Place(p, idleFace, outline, {Gap, Gap});
    Place(p, busyFace, outline, {Gap * 2 + main.width(), Gap});
    const int listTop = Gap * 2 + main.height();
    for (const auto &[size, left] : {std::pair{list, Gap}, std::pair{bigList, Gap * 2 + list.width()}}) {
        const QImage face = RenderList(skin, size.width(), size.height());
        Place(p, face, skin.ListOutline(face), {left, listTop});
    }
    p.end();
    if (!canvas.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "orvane_skinpreview: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
