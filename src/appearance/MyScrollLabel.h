#pragma once
// A one-line text display over a piece of the skin's bitmap: a shadow effect
// and, when the text is too wide, a marquee. Painted double-buffered.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>

class QTimer;

enum TScrollMode { smLeftToRight, smRightToLeft, smTopToBottom, smBottomToTop };
enum TDrawType { dtNone, dtLowered, dtRaised, dtShadow };
enum TTextLayout { tlTop, tlCenter, tlBottom };

class TScrollLabel : public QWidget {
    Q_OBJECT
public:
    explicit TScrollLabel(QWidget *parent = nullptr);

    // The timer runs exactly while Active and Scroll are both on.
    bool Active() const { return active_; }
    void SetActive(bool value);
    bool Scroll() const { return scroll_; }
    void SetScroll(bool value);
    // Scroll follows "the text is wider than the label" at every paint.
    bool ScrollAuto() const { return scrollAuto_; }
    void SetScrollAuto(bool value);
    // Milliseconds between steps; below 10 the timer runs at 10, so a skin
    // cannot make it spin.
    int ScrollDelay() const { return scrollDelay_; }
    void SetScrollDelay(int ms);
    // Pixels per step; below 1 it steps by 1.
    int ScrollStep() const { return scrollStep_; }
    void SetScrollStep(int pixels);
    TScrollMode ScrollMode() const { return scrollMode_; }
    void SetScrollMode(TScrollMode mode);
    // A pause between two passes, as a delay in milliseconds: the text runs
    // on for RepeatDelay / ScrollDelay * ScrollStep pixels (0 without a delay).
    int RepeatDelay() const { return repeatDelay_; }
    void SetRepeatDelay(int ms);

    bool Ellipses() const { return ellipses_; }
    void SetEllipses(bool value);
    TDrawType DrawType() const { return drawType_; }
    void SetDrawType(TDrawType value);
    int ShadowOffset() const { return shadowOffset_; }
    void SetShadowOffset(int value);
    QColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(const QColor &value);

    // Transparent labels show BackRect of BackBmp behind the text (or their
    // colour when there is no bitmap); opaque ones fill with Color.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    const QImage &BackBmp() const { return backBmp_; }
    void SetBackBmp(const QImage &image);
    QRect BackRect() const { return backRect_; }
    void SetBackRect(const QRect &rect);
    QColor Color() const { return color_; }
    void SetColor(const QColor &value);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor &value);

    Qt::Alignment Alignment() const { return alignment_; }
    // Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter.
    void SetAlignment(Qt::Alignment value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    // "&" marks an accelerator (underlined) unless this is off.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);

    const QString &Caption() const { return caption_; }
    void SetCaption(const QString &text);

    // The current scroll offset in pixels (for tests and the owner's display).
    int ScrollOffset() const { return offset_; }
    // One step of the scroll timer.
    void Tick();

Q_SIGNALS:
    void MouseEnter();
    void MouseLeave();
    void Clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void UpdateTimer();
    void UpdateGap();
    int TextFlags() const;
    QSize TextSize() const;
    void PaintBackground(QPainter &p) const;
    void PaintText(QPainter &p);

    QTimer *timer_;
    bool active_ = false, scroll_ = false, scrollAuto_ = false;
    int scrollDelay_ = 100, scrollStep_ = 3, repeatDelay_ = 0;
    TScrollMode scrollMode_ = smRightToLeft;
    bool ellipses_ = true;
    TDrawType drawType_ = dtLowered;
    int shadowOffset_ = 1;
    QColor shadowColor_ = Qt::white;
    bool transparent_ = false;
    QImage backBmp_;
    QRect backRect_;
    QColor color_;
    QColor fontColor_ = Qt::black;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    bool centreWhenStill_ = false;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false, showAccelChar_ = true;
    QString caption_;
    int offset_ = 0, gap_ = 0;
};
