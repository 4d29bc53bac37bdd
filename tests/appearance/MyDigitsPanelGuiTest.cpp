// The digits panel: which cell of the strip each character shows, where,
// and what shows through the strip's transparent colour.

#include "appearance/MyDigitsPanel.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QColor Key(10, 20, 30); // the strip's background, its transparent colour

QColor CellColour(int cell) { return QColor(40 + cell * 15, 200 - cell * 10, cell * 20); }

// 12 cells of 10 x 10: the key colour with a 6 x 6 block of the cell's colour.
QImage Strip()
{
    QImage strip(120, 10, QImage::Format_RGB32);
    strip.fill(Key);
    QPainter p(&strip);
    for (int cell = 0; cell < 12; ++cell)
        p.fillRect(cell * 10 + 2, 2, 6, 6, CellColour(cell));
    return strip;
}

class DigitsPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        panel_.SetBevelOuter(bvNone);
        panel_.SetBevelInner(bvNone);
        panel_.SetDigits(Strip());
        panel_.SetAutoSize(true); // margin 2: 2 + 12 * 8 wide, 10 + 4 high
    }
    QImage Render() { return panel_.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // The centre of character i.
    static QPoint Cell(int i) { return QPoint(2 + i * 12 + 5, 2 + 5); }

    TDigitsPanel panel_;
};

TEST_F(DigitsPanelTest, StripSetsCellSizeAndTransparentColour)
{
    EXPECT_EQ(panel_.CellWidth(), 10);
    EXPECT_EQ(panel_.CellHeight(), 10);
    EXPECT_EQ(panel_.Color(), Key);
    EXPECT_EQ(panel_.size(), QSize(98, 14));
}

TEST_F(DigitsPanelTest, ATimeOfFiveCharactersShowsDigitsASeparatorAndBlanks)
{
    panel_.SetValue(QStringLiteral("12:34"));
    EXPECT_EQ(panel_.Value(), QStringLiteral("12:34   "));
    const QImage image = Render();
    const int want[8] = {1, 2, 10, 3, 4, 11, 11, 11};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(QColor(image.pixel(Cell(i))), CellColour(want[i])) << i;
    // The margins and the cells' own background are the panel's colour.
    EXPECT_EQ(QColor(image.pixel(0, 0)), Key);
    EXPECT_EQ(QColor(image.pixel(Cell(0) - QPoint(4, 4))), Key);

    panel_.SetValue(QStringLiteral("0.9x"));
    const QImage other = Render();
    const int want2[4] = {0, 10, 9, 11};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(QColor(other.pixel(Cell(i))), CellColour(want2[i])) << i;
}

TEST_F(DigitsPanelTest, ALongerValueStaysWholeButOnlyLengthCharactersShow)
{
    panel_.SetLength(3);
    EXPECT_EQ(panel_.size(), QSize(2 + 12 * 3, 14));
    panel_.SetValue(QStringLiteral("98765"));
    EXPECT_EQ(panel_.Value(), QStringLiteral("98765"));
    const QImage image = Render();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(QColor(image.pixel(Cell(i))), CellColour(9 - i));
}

TEST_F(DigitsPanelTest, TransparentShowsTheBackgroundWhereTheStripHasItsKeyColour)
{
    QImage back(200, 50, QImage::Format_RGB32);
    for (int y = 0; y < back.height(); ++y)
        for (int x = 0; x < back.width(); ++x)
            back.setPixel(x, y, qRgb(x, y, 99));
    panel_.SetBackBitmap(back);
    panel_.SetBackRect(QRect(50, 20, 98, 14));
    panel_.SetValue(QStringLiteral("7"));
    EXPECT_EQ(QColor(Render().pixel(0, 0)), Key); // not transparent: the panel's colour
    panel_.SetTransparent(true);
    const QImage image = Render();
    EXPECT_EQ(image.pixel(0, 0), qRgb(50, 20, 99));
    EXPECT_EQ(image.pixel(Cell(0) - QPoint(4, 4)), qRgb(50 + 3, 20 + 3, 99));
    EXPECT_EQ(QColor(image.pixel(Cell(0))), CellColour(7)); // the digit itself stays
}

TEST_F(DigitsPanelTest, BevelsTakeTheirWidthInsideAndAroundTheDigits)
{
    panel_.SetBevelOuter(bvRaised);
    panel_.SetBevelInner(bvLowered);
    panel_.SetBevelWidth(3);
    EXPECT_EQ(panel_.size(), QSize(98 + 12, 14 + 12));
    panel_.SetValue(QStringLiteral("5"));
    const QImage image = Render();
    EXPECT_EQ(QColor(image.pixel(Cell(0) + QPoint(6, 6))), CellColour(5));
    EXPECT_NE(QColor(image.pixel(0, 0)), Key);
}

TEST_F(DigitsPanelTest, TheCompositeIsStretchedOverALargerPanel)
{
    panel_.SetAutoSize(false);
    panel_.SetLength(2);
    panel_.resize(2 * (2 + 12 * 2), 2 * 14);
    panel_.SetValue(QStringLiteral("36"));
    const QImage image = Render();
    EXPECT_EQ(QColor(image.pixel(Cell(0) * 2)), CellColour(3));
    EXPECT_EQ(QColor(image.pixel(Cell(1) * 2)), CellColour(6));
}

TEST_F(DigitsPanelTest, WithoutAStripNothingButTheColourIsDrawn)
{
    TDigitsPanel empty;
    empty.SetBevelOuter(bvNone);
    empty.SetBevelInner(bvNone);
    empty.SetColor(Qt::darkBlue);
    empty.SetValue(QStringLiteral("12:00"));
    const QImage image = empty.grab().toImage();
    EXPECT_EQ(empty.size(), QSize(100, 20));
    EXPECT_EQ(QColor(image.pixel(50, 10)), QColor(Qt::darkBlue));
}

} // namespace
