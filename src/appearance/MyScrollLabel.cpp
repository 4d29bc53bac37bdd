#include "appearance/MyScrollLabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace {
constexpr int MinScrollDelay = 10;
}

TScrollLabel::TScrollLabel(QWidget *parent)
    : QWidget(parent), timer_(new QTimer(this)), color_(palette().color(QPalette::Window))
{
    timer_->setInterval(scrollDelay_);
    connect(timer_, &QTimer::timeout, this, &TScrollLabel::Tick);
    // We paint every pixel ourselves from our own buffer.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TScrollLabel::SetActive(bool value)
{
    active_ = value;
    UpdateTimer();
}

void TScrollLabel::SetScroll(bool value)
{
    if (scroll_ == value)
        return;
    scroll_ = value;
    SetActive(value);
}

void TScrollLabel::SetScrollAuto(bool value)
{
    if (scrollAuto_ == value)
        return;
    scrollAuto_ = value;
    SetScroll(value);
}

void TScrollLabel::SetScrollDelay(int ms)
{
    scrollDelay_ = ms;
    timer_->setInterval(std::max(ms, MinScrollDelay));
}

void TScrollLabel::SetScrollStep(int pixels)
{
    scrollStep_ = std::max(pixels, 1);
}

void TScrollLabel::SetScrollMode(TScrollMode mode)
{
    if (scrollMode_ == mode)
        return;
    scrollMode_ = mode;
    offset_ = 0;
    update();
}

void TScrollLabel::SetRepeatDelay(int ms)
{
    if (repeatDelay_ == ms)
        return;
    repeatDelay_ = ms;
    UpdateGap();
}

void TScrollLabel::UpdateGap()
{
    // Without a delay between steps there is no time to convert: no gap.
    gap_ = scrollDelay_ > 0 ? int(double(repeatDelay_) / scrollDelay_ * scrollStep_) : 0;
}

void TScrollLabel::UpdateTimer()
{
    if (active_ && scroll_)
        timer_->start();
    else
        timer_->stop();
}

void TScrollLabel::SetEllipses(bool value) { ellipses_ = value; update(); }
void TScrollLabel::SetDrawType(TDrawType value) { drawType_ = value; update(); }
void TScrollLabel::SetShadowOffset(int value) { shadowOffset_ = value; update(); }
void TScrollLabel::SetShadowColor(const QColor &value) { shadowColor_ = value; update(); }
void TScrollLabel::SetTransparent(bool value) { transparent_ = value; update(); }
void TScrollLabel::SetBackBmp(const QImage &image) { backBmp_ = image; update(); }
void TScrollLabel::SetBackRect(const QRect &rect) { backRect_ = rect; update(); }
void TScrollLabel::SetColor(const QColor &value) { color_ = value; update(); }
void TScrollLabel::SetFontColor(const QColor &value) { fontColor_ = value; update(); }
void TScrollLabel::SetLayout(TTextLayout value) { layout_ = value; update(); }
void TScrollLabel::SetWordWrap(bool value) { wordWrap_ = value; update(); }
void TScrollLabel::SetShowAccelChar(bool value) { showAccelChar_ = value; update(); }

void TScrollLabel::SetAlignment(Qt::Alignment value)
{
    alignment_ = value;
    centreWhenStill_ = value == Qt::AlignHCenter;
    update();
}

void TScrollLabel::SetCaption(const QString &text)
{
    if (caption_ == text)
        return;
    caption_ = text;
    offset_ = 0;
    update();
}

void TScrollLabel::Tick()
{
    if (scroll_) {
        offset_ += scrollStep_;
        const QSize text = TextSize();
        switch (scrollMode_) {
        case smLeftToRight:
            if (offset_ > width() + gap_)
                offset_ = -text.width();
            break;
        case smRightToLeft:
            if (offset_ > text.width() + width() + gap_)
                offset_ = 0;
            break;
        case smTopToBottom:
            if (offset_ > height() + gap_)
                offset_ = -text.height();
            break;
        case smBottomToTop:
            if (offset_ > text.height() + height() + gap_)
                offset_ = 0;
            break;
        }
    }
    update();
}

int TScrollLabel::TextFlags() const
{
    int flags = Qt::TextExpandTabs;
    if (wordWrap_)
        flags |= Qt::TextWordWrap;
    flags |= showAccelChar_ ? Qt::TextShowMnemonic : 0;
    return flags;
}

QSize TScrollLabel::TextSize() const
{
    const QRect bounds = QFontMetrics(font()).boundingRect(QRect(0, 0, wordWrap_ ? width() : 100000, 100000),
                                                           TextFlags(), caption_);
    return bounds.size();
}

void TScrollLabel::PaintBackground(QPainter &p) const
{
    if (transparent_ && !backBmp_.isNull())
        p.drawImage(rect(), backBmp_, QRect(backRect_.topLeft(), size()));
    else
        p.fillRect(rect(), color_);
}

void TScrollLabel::PaintText(QPainter &p)
{
    if (scrollAuto_)
        SetScroll(TextSize().width() > width());

    Qt::Alignment align = alignment_;
    QRect r = rect();
    QString text = caption_;
    if (layout_ != tlTop) {
        const int slack = r.height() - TextSize().height();
        r.translate(0, layout_ == tlBottom ? slack : slack / 2);
    }
    if (scroll_) {
        if (centreWhenStill_)
            align = Qt::AlignLeft;
        // The text box is exactly as wide or high as the text, so that its
        // edge is what moves, whatever the alignment.
        const QSize t = TextSize();
        switch (scrollMode_) {
        case smLeftToRight: r = QRect(r.left() + offset_, r.top(), t.width(), r.height()); break;
        case smRightToLeft: r = QRect(r.left() + width() - offset_, r.top(), t.width(), r.height()); break;
        case smTopToBottom: r = QRect(r.left(), r.top() + offset_, r.width(), t.height()); break;
        case smBottomToTop: r = QRect(r.left(), r.top() + height() - offset_, r.width(), t.height()); break;
        }
    } else {
        if (centreWhenStill_)
            align = Qt::AlignHCenter;
        if (ellipses_ && !wordWrap_)
            text = QFontMetrics(font()).elidedText(caption_, Qt::ElideRight, width(), TextFlags());
    }
    const int flags = TextFlags() | int(align);

    auto draw = [&](const QColor &c, int dx, int dy) {
        p.setPen(c);
        p.drawText(r.translated(dx, dy), flags, text);
    };
    if (!isEnabled()) {
        draw(palette().color(QPalette::Light), 1, 1);
        draw(palette().color(QPalette::Dark), 0, 0);
        return;
    }
    switch (drawType_) {
    case dtLowered:
    case dtShadow:
        draw(shadowColor_, shadowOffset_, shadowOffset_);
        break;
    case dtRaised:
        draw(shadowColor_, -shadowOffset_, -shadowOffset_);
        break;
    case dtNone:
        break;
    }
    draw(fontColor_, 0, 0);
}

void TScrollLabel::paintEvent(QPaintEvent *)
{
    if (width() <= 0 || height() <= 0)
        return;
    // Drawn whole into a back buffer, then shown in one copy: no flicker
    // while the marquee runs.
    QImage buffer(size() * devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
    buffer.setDevicePixelRatio(devicePixelRatio());
    {
        QPainter p(&buffer);
        p.setFont(font());
        PaintBackground(p);
        PaintText(p);
    }
    QPainter(this).drawImage(0, 0, buffer);
}

void TScrollLabel::enterEvent(QEnterEvent *)
{
    Q_EMIT MouseEnter();
}

void TScrollLabel::leaveEvent(QEvent *)
{
    Q_EMIT MouseLeave();
}

void TScrollLabel::mouseReleaseEvent(QMouseEvent *)
{
    Q_EMIT Clicked();
}
