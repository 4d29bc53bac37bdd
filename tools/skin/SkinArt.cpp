#include "SkinArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace {

QColor Mix(const QColor &a, const QColor &b, double f)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * f, a.greenF() + (b.greenF() - a.greenF()) * f,
                            a.blueF() + (b.blueF() - a.blueF()) * f);
}

// A square of side `side` centred in r.
QRectF Centred(const QRectF &r, double side)
{
    return QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
}

QPainterPath RoundedOrChamfered(const QRectF &r, double corner, bool chamfered)
{
    QPainterPath path;
    if (!chamfered) {
        path.addRoundedRect(r, corner, corner);
        return path;
    }
    const double c = corner;
    QPolygonF poly;
    poly << QPointF(r.left() + c, r.top()) << QPointF(r.right() - c, r.top()) << QPointF(r.right(), r.top() + c)
         << QPointF(r.right(), r.bottom() - c) << QPointF(r.right() - c, r.bottom())
         << QPointF(r.left() + c, r.bottom()) << QPointF(r.left(), r.bottom() - c)
         << QPointF(r.left(), r.top() + c);
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

void Segment(QPainter &p, QPointF a, QPointF b, double t)
{
    // A six-sided bar from a to b with pointed ends.
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double len = std::hypot(dx, dy);
    const double ux = dx / len, uy = dy / len, nx = -uy * t / 2, ny = ux * t / 2;
    const double e = t / 2;
    QPolygonF poly;
    poly << a << QPointF(a.x() + ux * e + nx, a.y() + uy * e + ny) << QPointF(b.x() - ux * e + nx, b.y() - uy * e + ny)
         << b << QPointF(b.x() - ux * e - nx, b.y() - uy * e - ny) << QPointF(a.x() + ux * e - nx, a.y() + uy * e - ny);
    p.drawPolygon(poly);
}

} // namespace

QPainterPath CaseShape(const TTheme &t, double w, double h)
{
    return RoundedOrChamfered(QRectF(0.5, 0.5, w - 1, h - 1), t.Corner, t.Chamfered);
}

void DrawPanel(QPainter &p, const TTheme &t, const QRectF &r, double radius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(t.PanelEdge, 1));
    p.setBrush(t.Panel);
    p.drawPath(RoundedOrChamfered(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, t.Chamfered));
    // A thin light line under the panel: it looks set into the case.
    p.setPen(QPen(Mix(t.BodyBottom, Qt::white, 0.25), 1));
    p.drawLine(QPointF(r.left() + radius, r.bottom() + 0.5), QPointF(r.right() - radius, r.bottom() + 0.5));
    p.restore();
}

void DrawGroove(QPainter &p, const TTheme &t, const QRectF &r, bool filled)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double radius = std::min(r.height(), r.width()) / 2;
    p.setPen(QPen(t.PanelEdge, 1));
    p.setBrush(t.Panel);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    if (filled) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, t.Accent.lighter(130));
        g.setColorAt(1, t.AccentDark);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1.5, radius - 1.5);
    }
    p.restore();
}

void DrawGlyph(QPainter &p, const QRectF &r, TGlyph glyph, const QColor &c)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double s = std::min(r.width(), r.height());
    const QRectF g = Centred(r, s * 0.5);
    const double lw = std::max(1.4, s * 0.09);
    QPen pen(c, lw, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    auto fill = [&] { p.setPen(Qt::NoPen); p.setBrush(c); };
    auto tri = [&](QPointF a, QPointF b, QPointF d) { QPolygonF t; t << a << b << d; p.drawPolygon(t); };
    const double x = g.left(), y = g.top(), w = g.width(), h = g.height();
    switch (glyph) {
    case TGlyph::None:
        break;
    case TGlyph::Menu:
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(x, y + h * (0.2 + 0.3 * i)), QPointF(x + w, y + h * (0.2 + 0.3 * i)));
        break;
    case TGlyph::Dots:
        fill();
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(x + w * (0.15 + 0.35 * i), y + h / 2), lw * 0.8, lw * 0.8);
        break;
    case TGlyph::Clock:
        p.drawEllipse(g);
        p.drawLine(g.center(), QPointF(g.center().x(), y + h * 0.22));
        p.drawLine(g.center(), QPointF(x + w * 0.75, g.center().y()));
        break;
    case TGlyph::Globe:
        p.drawEllipse(g);
        p.drawEllipse(QRectF(x + w * 0.3, y, w * 0.4, h));
        p.drawLine(QPointF(x, y + h / 2), QPointF(x + w, y + h / 2));
        break;
    case TGlyph::Info:
        p.drawLine(QPointF(x + w / 2, y + h * 0.42), QPointF(x + w / 2, y + h));
        fill();
        p.drawEllipse(QPointF(x + w / 2, y + h * 0.1), lw * 0.75, lw * 0.75);
        break;
    case TGlyph::Minimize:
        p.drawLine(QPointF(x, y + h * 0.75), QPointF(x + w, y + h * 0.75));
        break;
    case TGlyph::Close:
        p.drawLine(g.topLeft(), g.bottomRight());
        p.drawLine(g.topRight(), g.bottomLeft());
        break;
    case TGlyph::Previous:
        fill();
        tri({x + w * 0.5, y}, {x + w * 0.5, y + h}, {x, y + h / 2});
        tri({x + w, y}, {x + w, y + h}, {x + w * 0.5, y + h / 2});
        break;
    case TGlyph::Next:
        fill();
        tri({x, y}, {x, y + h}, {x + w * 0.5, y + h / 2});
        tri({x + w * 0.5, y}, {x + w * 0.5, y + h}, {x + w, y + h / 2});
        break;
    case TGlyph::Play:
        fill();
        tri({x + w * 0.12, y}, {x + w * 0.12, y + h}, {x + w, y + h / 2});
        break;
    case TGlyph::Pause:
        fill();
        p.drawRoundedRect(QRectF(x + w * 0.1, y, w * 0.28, h), 1, 1);
        p.drawRoundedRect(QRectF(x + w * 0.62, y, w * 0.28, h), 1, 1);
        break;
    case TGlyph::Stop:
        fill();
        p.drawRoundedRect(g.adjusted(w * 0.05, h * 0.05, -w * 0.05, -h * 0.05), 1.5, 1.5);
        break;
    case TGlyph::Record:
        fill();
        p.drawEllipse(g.adjusted(w * 0.05, h * 0.05, -w * 0.05, -h * 0.05));
        break;
    case TGlyph::Folder: {
        QPainterPath f;
        f.moveTo(x, y + h * 0.15);
        f.lineTo(x + w * 0.4, y + h * 0.15);
        f.lineTo(x + w * 0.5, y + h * 0.3);
        f.lineTo(x + w, y + h * 0.3);
        f.lineTo(x + w, y + h * 0.9);
        f.lineTo(x, y + h * 0.9);
        f.closeSubpath();
        p.drawPath(f);
        break;
    }
    case TGlyph::List:
        for (int i = 0; i < 3; ++i) {
            const double ly = y + h * (0.15 + 0.35 * i);
            p.drawPoint(QPointF(x, ly));
            p.drawLine(QPointF(x + w * 0.3, ly), QPointF(x + w, ly));
        }
        break;
    case TGlyph::Plus:
        p.drawLine(QPointF(x + w / 2, y), QPointF(x + w / 2, y + h));
        [[fallthrough]];
    case TGlyph::Minus:
        p.drawLine(QPointF(x, y + h / 2), QPointF(x + w, y + h / 2));
        break;
    case TGlyph::Speaker:
    case TGlyph::SpeakerMuted: {
        QPolygonF body;
        body << QPointF(x, y + h * 0.35) << QPointF(x + w * 0.25, y + h * 0.35) << QPointF(x + w * 0.55, y + h * 0.05)
             << QPointF(x + w * 0.55, y + h * 0.95) << QPointF(x + w * 0.25, y + h * 0.65) << QPointF(x, y + h * 0.65);
        p.save();
        fill();
        p.drawPolygon(body);
        p.restore();
        if (glyph == TGlyph::Speaker) {
            p.drawArc(QRectF(x + w * 0.45, y + h * 0.25, w * 0.3, h * 0.5), -50 * 16, 100 * 16);
            p.drawArc(QRectF(x + w * 0.4, y + h * 0.02, w * 0.6, h * 0.96), -50 * 16, 100 * 16);
        } else {
            p.drawLine(QPointF(x + w * 0.7, y + h * 0.3), QPointF(x + w, y + h * 0.7));
            p.drawLine(QPointF(x + w, y + h * 0.3), QPointF(x + w * 0.7, y + h * 0.7));
        }
        break;
    }
    case TGlyph::Note:
        p.drawLine(QPointF(x + w * 0.4, y + h * 0.8), QPointF(x + w * 0.4, y));
        p.drawLine(QPointF(x + w * 0.4, y), QPointF(x + w * 0.9, y + h * 0.2));
        fill();
        p.drawEllipse(QPointF(x + w * 0.25, y + h * 0.8), w * 0.2, h * 0.16);
        break;
    case TGlyph::Up:
        fill();
        tri({x, y + h * 0.75}, {x + w, y + h * 0.75}, {x + w / 2, y + h * 0.2});
        break;
    case TGlyph::Down:
        fill();
        tri({x, y + h * 0.25}, {x + w, y + h * 0.25}, {x + w / 2, y + h * 0.8});
        break;
    case TGlyph::Hourglass:
        p.drawLine(QPointF(x, y), QPointF(x + w, y));
        p.drawLine(QPointF(x, y + h), QPointF(x + w, y + h));
        fill();
        tri({x + w * 0.1, y + h * 0.1}, {x + w * 0.9, y + h * 0.1}, {x + w / 2, y + h / 2});
        tri({x + w * 0.1, y + h * 0.9}, {x + w * 0.9, y + h * 0.9}, {x + w / 2, y + h / 2});
        break;
    case TGlyph::AddRadio:
        p.drawEllipse(QPointF(x + w * 0.3, y + h * 0.6), w * 0.12, w * 0.12);
        p.drawArc(QRectF(x, y + h * 0.3, w * 0.6, h * 0.6), 30 * 16, 120 * 16);
        p.drawLine(QPointF(x + w * 0.8, y), QPointF(x + w * 0.8, y + h * 0.4));
        p.drawLine(QPointF(x + w * 0.6, y + h * 0.2), QPointF(x + w, y + h * 0.2));
        break;
    case TGlyph::AddGroup:
        DrawGlyph(p, QRectF(r.left() - r.width() * 0.12, r.top() + r.height() * 0.1, r.width(), r.height()),
                  TGlyph::Folder, c);
        p.drawLine(QPointF(x + w * 0.8, y - h * 0.05), QPointF(x + w * 0.8, y + h * 0.35));
        p.drawLine(QPointF(x + w * 0.6, y + h * 0.15), QPointF(x + w, y + h * 0.15));
        break;
    case TGlyph::Edit:
        p.drawLine(QPointF(x + w * 0.1, y + h * 0.9), QPointF(x + w * 0.9, y + h * 0.1));
        p.drawLine(QPointF(x, y + h), QPointF(x + w * 0.25, y + h));
        break;
    case TGlyph::Delete:
        p.drawLine(QPointF(x + w * 0.1, y + h * 0.15), QPointF(x + w * 0.9, y + h * 0.15));
        p.drawRect(QRectF(x + w * 0.2, y + h * 0.3, w * 0.6, h * 0.7));
        break;
    case TGlyph::Find:
        p.drawEllipse(QRectF(x, y, w * 0.65, h * 0.65));
        p.drawLine(QPointF(x + w * 0.6, y + h * 0.6), QPointF(x + w, y + h));
        break;
    case TGlyph::Channel:
        p.drawRoundedRect(QRectF(x, y + h * 0.1, w, h * 0.8), 1.5, 1.5);
        p.drawLine(QPointF(x + w * 0.35, y + h * 0.1), QPointF(x + w * 0.35, y + h * 0.9));
        break;
    }
    p.restore();
}

void DrawButton(QPainter &p, const TTheme &t, const QRectF &r, TGlyph glyph, TLook look, bool round)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const bool pressed = look == TLook::Pressed || look == TLook::LitPressed;
    const bool lit = look == TLook::Lit || look == TLook::LitPressed;
    const QRectF b = r.adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    if (round)
        shape.addEllipse(b);
    else
        shape = RoundedOrChamfered(b, t.ButtonRadius, t.Chamfered && t.ButtonRadius > 2);
    QLinearGradient g(b.topLeft(), b.bottomLeft());
    g.setColorAt(0, pressed ? t.Button.darker(125) : t.ButtonHi);
    g.setColorAt(1, pressed ? t.Button.darker(105) : t.Button);
    p.setPen(QPen(lit ? t.Accent : t.Edge, lit ? 1.4 : 1));
    p.setBrush(g);
    p.drawPath(shape);
    if (!pressed) {
        // A soft sheen on the upper half.
        p.setPen(Qt::NoPen);
        QColor sheen(255, 255, 255, 28);
        p.setBrush(sheen);
        p.drawPath(shape.intersected([&] {
            QPainterPath top;
            top.addRect(QRectF(b.left(), b.top(), b.width(), b.height() * 0.45));
            return top;
        }()));
    }
    QColor glyphColour = lit ? t.Accent.lighter(pressed ? 100 : 115) : (pressed ? t.Accent : t.Glyph);
    if (look == TLook::Dim)
        glyphColour = Mix(t.Glyph, t.Button, 0.65);
    if (glyph == TGlyph::Record)
        glyphColour = lit ? t.Record.lighter(125) : t.Record;
    const double shift = pressed ? 1 : 0;
    DrawGlyph(p, r.translated(shift, shift), glyph, glyphColour);
    p.restore();
}

QImage DigitStrip(const TTheme &t, int cw, int ch)
{
    QImage strip(cw * 12, ch, QImage::Format_RGB32);
    strip.fill(t.Panel);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    // Segments a to g: top, top right, bottom right, bottom, bottom left,
    // top left, middle.
    static const char *lit[10] = {"abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"};
    const double th = std::max(2.0, cw * 0.2);
    const double l = 2 + th / 2, r = cw - 2 - th / 2, top = 1.5 + th / 2, bottom = ch - 1.5 - th / 2;
    const double mid = (top + bottom) / 2;
    for (int cell = 0; cell < 12; ++cell) {
        p.save();
        // A slight lean, as on a real display.
        p.translate(cell * cw + cw / 2.0, ch / 2.0);
        p.shear(-0.08, 0);
        p.translate(-cw / 2.0, -ch / 2.0);
        if (cell == 10) {
            p.setBrush(t.LcdText);
            p.drawEllipse(QPointF(cw / 2.0, ch * 0.32), th * 0.55, th * 0.55);
            p.drawEllipse(QPointF(cw / 2.0, ch * 0.68), th * 0.55, th * 0.55);
            p.restore();
            continue;
        }
        const std::string on = cell < 10 ? lit[cell] : "";
        const struct { char id; QPointF a, b; } segs[] = {
            {'a', {l, top}, {r, top}}, {'b', {r, top}, {r, mid}}, {'c', {r, mid}, {r, bottom}},
            {'d', {l, bottom}, {r, bottom}}, {'e', {l, mid}, {l, bottom}}, {'f', {l, top}, {l, mid}},
            {'g', {l, mid}, {r, mid}}};
        for (const auto &s : segs) {
            p.setBrush(on.find(s.id) != std::string::npos ? t.LcdText : t.LcdDim);
            Segment(p, s.a, s.b, th);
        }
        p.restore();
    }
    return strip;
}

QImage TreeIcon(const TTheme &t, int index)
{
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor hues[10] = {t.Accent, QColor(0xe8, 0xb0, 0x3a), QColor(0xf0, 0xc0, 0x30), QColor(0x8a, 0x9a, 0xb0),
                             QColor(0x7a, 0x6a, 0xe0), QColor(0xe0, 0x5a, 0x7a), QColor(0x50, 0xb8, 0x78),
                             QColor(0x3a, 0xa0, 0xd8), QColor(0xb0, 0x80, 0x50), t.AccentDark.lighter(140)};
    const QColor c = hues[index % 10];
    const QRectF box(1, 1, 14, 14);
    switch (index) {
    case 1: // sub-group: a folder
        p.setPen(QPen(c.darker(150), 1));
        p.setBrush(c);
        p.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1.5, 1.5);
        p.drawRoundedRect(QRectF(1.5, 2.5, 6, 3), 1, 1);
        break;
    case 2: { // picks: a star
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const double a = -M_PI / 2 + i * M_PI / 5, rad = i % 2 ? 3.0 : 7.0;
            star << QPointF(8 + rad * std::cos(a), 8.5 + rad * std::sin(a));
        }
        p.setPen(QPen(c.darker(150), 1));
        p.setBrush(c);
        p.drawPolygon(star);
        break;
    }
    default: {
        // A coloured badge with the matching glyph.
        static const TGlyph glyphs[10] = {TGlyph::AddRadio, TGlyph::Folder, TGlyph::None, TGlyph::Clock,
                                          TGlyph::Channel, TGlyph::List, TGlyph::Note, TGlyph::Globe,
                                          TGlyph::Menu, TGlyph::Speaker};
        p.setPen(QPen(c.darker(140), 1));
        p.setBrush(c);
        p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 3.5, 3.5);
        DrawGlyph(p, QRectF(-3, -3, 22, 22), glyphs[index % 10], Qt::white);
        break;
    }
    }
    return icon;
}

QImage TrayFrame(const TTheme &t, int n)
{
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 32);
    g.setColorAt(0, t.Accent.lighter(115));
    g.setColorAt(1, t.AccentDark);
    p.setPen(QPen(t.AccentDark.darker(150), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 17), 3, 3);
    // Waves run outward: the bright arc moves one step per frame.
    for (int i = 0; i < 3; ++i) {
        const int phase = (n % 4);
        const int alpha = i == phase ? 255 : i < phase ? 150 : 60;
        QPen pen(QColor(255, 255, 255, alpha), 2.2, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const double rad = 6 + i * 4.5;
        const QRectF arc(16 - rad, 17 - rad, rad * 2, rad * 2);
        p.drawArc(arc, 40 * 16, 100 * 16);
        p.drawArc(arc, 220 * 16, 100 * 16);
    }
    return icon;
}

QImage CutToMask(const QImage &argb, const QColor &under)
{
    QImage src = argb.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const int a = qAlpha(in[x]);
            if (a < 128) {
                line[x] = MaskColor.rgb();
                continue;
            }
            auto blend = [&](int c, int u) { return (c * a + u * (255 - a)) / 255; };
            line[x] = qRgb(blend(qRed(in[x]), under.red()), blend(qGreen(in[x]), under.green()),
                           blend(qBlue(in[x]), under.blue()));
        }
    }
    return out;
}
