#pragma once
// A short string of digits drawn with images cut from a digit strip: twelve
// equal cells, "0" to "9", a separator for ":" and ".", and a blank for any
// other character. Painted double-buffered.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

enum TBevelCut { bvNone, bvLowered, bvRaised };

class TDigitsPanel : public QWidget {
    Q_OBJECT
public:
    explicit TDigitsPanel(QWidget *parent = nullptr);

    // Copies the strip; the panel's Color becomes the strip's bottom-left
    // pixel, which shows through as transparent.
    const QImage &Digits() const { return digits_; }
    void SetDigits(const QImage &strip);
    int CellWidth() const { return digits_.width() / 12; }
    int CellHeight() const { return digits_.height(); }

    // The text, padded with blanks to Length characters (a longer one stays
    // whole; only the first Length characters are shown).
    const QString &Value() const { return value_; }
    void SetValue(const QString &value);
    int Length() const { return length_; }
    // At least 1.
    void SetLength(int value);
    int Margin() const { return margin_; }
    void SetMargin(int value);

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);

    QColor Color() const { return color_; }
    void SetColor(const QColor &value);
    // Transparent: the background bitmap shows behind the digits wherever the
    // strip has its transparent colour.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    const QImage &BackBitmap() const { return backBitmap_; }
    void SetBackBitmap(const QImage &image);
    QRect BackRect() const { return backRect_; }
    void SetBackRect(const QRect &rect);

    // Sizes the panel to fit its bevels, margins and Length cells.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void UpdateBounds();
    int BevelCount() const;
    QImage Composite() const;
    void Paint(QPainter &p) const;

    QImage digits_;
    QString value_ = QString(7, QLatin1Char(' '));
    int length_ = 8, margin_ = 2, bevelWidth_ = 2;
    TBevelCut bevelOuter_ = bvRaised, bevelInner_ = bvLowered;
    QColor color_ = Qt::black;
    bool transparent_ = false, autoSize_ = false;
    QImage backBitmap_;
    QRect backRect_;
};
