#include "appearance/MyDigitsPanel.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int SeparatorCell = 10;
constexpr int BlankCell = 11;

int CellOf(QChar c)
{
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return c.unicode() - '0';
    return c == QLatin1Char(':') || c == QLatin1Char('.') ? SeparatorCell : BlankCell;
}

// A 3D frame of the given width; the rectangle shrinks to its inside.
void DrawBevel(QPainter &p, QRect &r, TBevelCut cut, int width, const QPalette &pal)
{
    if (cut == bvNone)
        return;
    const QColor topLeft = pal.color(cut == bvLowered ? QPalette::Dark : QPalette::Light);
    const QColor bottomRight = pal.color(cut == bvLowered ? QPalette::Light : QPalette::Dark);
    for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
        p.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
        p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
        r.adjust(1, 1, -1, -1);
    }
}

} // namespace

TDigitsPanel::TDigitsPanel(QWidget *parent) : QWidget(parent)
{
    resize(100, 20);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetValue(value_);
}

void TDigitsPanel::SetDigits(const QImage &strip)
{
    digits_ = strip.convertToFormat(QImage::Format_RGB32);
    if (!digits_.isNull())
        SetColor(QColor::fromRgb(digits_.pixel(0, digits_.height() - 1)));
    UpdateBounds();
    update();
}

void TDigitsPanel::SetValue(const QString &value)
{
    const QString padded = value.size() < length_ ? value.leftJustified(length_, QLatin1Char(' ')) : value;
    if (padded == value_)
        return;
    value_ = padded;
    update();
}

void TDigitsPanel::SetLength(int value)
{
    value = std::max(value, 1);
    if (value == length_)
        return;
    length_ = value;
    UpdateBounds();
    update();
}

void TDigitsPanel::SetMargin(int value) { margin_ = std::max(value, 0); UpdateBounds(); update(); }
void TDigitsPanel::SetBevelOuter(TBevelCut value) { bevelOuter_ = value; UpdateBounds(); update(); }
void TDigitsPanel::SetBevelInner(TBevelCut value) { bevelInner_ = value; UpdateBounds(); update(); }
void TDigitsPanel::SetBevelWidth(int value) { bevelWidth_ = std::max(value, 0); UpdateBounds(); update(); }
void TDigitsPanel::SetColor(const QColor &value) { color_ = value; update(); }
void TDigitsPanel::SetTransparent(bool value) { transparent_ = value; update(); }
void TDigitsPanel::SetBackBitmap(const QImage &image) { backBitmap_ = image; update(); }
void TDigitsPanel::SetBackRect(const QRect &rect) { backRect_ = rect; update(); }

void TDigitsPanel::SetAutoSize(bool value)
{
    autoSize_ = value;
    UpdateBounds();
}

int TDigitsPanel::BevelCount() const
{
    return (bevelOuter_ != bvNone) + (bevelInner_ != bvNone);
}

void TDigitsPanel::UpdateBounds()
{
    if (!autoSize_)
        return;
    const int frame = bevelWidth_ * BevelCount() * 2;
    resize(frame + margin_ + (CellWidth() + margin_) * length_, frame + CellHeight() + 2 * margin_);
}

QImage TDigitsPanel::Composite() const
{
    const int cw = CellWidth(), ch = CellHeight();
    QImage composite(margin_ + (cw + margin_) * length_, ch + 2 * margin_, QImage::Format_ARGB32);
    composite.fill(color_.rgb());
    if (cw > 0 && ch > 0) {
        QPainter p(&composite);
        for (int i = 0; i < length_ && i < value_.size(); ++i)
            p.drawImage(margin_ + i * (cw + margin_), margin_, digits_, CellOf(value_[i]) * cw, 0, cw, ch);
    }
    if (transparent_) {
        const QRgb key = color_.rgb();
        for (int y = 0; y < composite.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(composite.scanLine(y));
            for (int x = 0; x < composite.width(); ++x)
                if (line[x] == key)
                    line[x] = 0;
        }
    }
    return composite;
}

void TDigitsPanel::Paint(QPainter &p) const
{
    QRect inside = rect();
    DrawBevel(p, inside, bevelOuter_, bevelWidth_, palette());
    DrawBevel(p, inside, bevelInner_, bevelWidth_, palette());
    if (transparent_ && !backBitmap_.isNull())
        p.drawImage(inside, backBitmap_, QRect(backRect_.topLeft() + inside.topLeft(), inside.size()));
    else
        p.fillRect(inside, color_);
    // Stretched without smoothing: digit images stay crisp.
    p.drawImage(inside, Composite());
}

void TDigitsPanel::paintEvent(QPaintEvent *)
{
    if (width() <= 0 || height() <= 0)
        return;
    QImage buffer(size() * devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
    buffer.setDevicePixelRatio(devicePixelRatio());
    {
        QPainter p(&buffer);
        Paint(p);
    }
    QPainter(this).drawImage(0, 0, buffer);
}
