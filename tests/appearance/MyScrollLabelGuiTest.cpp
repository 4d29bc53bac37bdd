// The scrolling label: when it scrolls, how far, where it wraps, how it
// draws its text and background.

#include "appearance/MyScrollLabel.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <optional>

namespace {

const QString LongText = QStringLiteral("A station name far too long for a label one hundred pixels wide");

class ScrollLabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        label_.resize(100, 20);
        label_.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
        label_.SetColor(Qt::white);
        label_.SetFontColor(Qt::black);
        label_.SetDrawType(dtNone);
        label_.SetScrollDelay(100);
        label_.SetScrollStep(3);
    }
    QImage Render() { return label_.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QSize TextSize(const QString &text) const
    {
        return QFontMetrics(label_.font())
            .boundingRect(QRect(0, 0, 100000, 100000), Qt::TextExpandTabs | Qt::TextShowMnemonic, text)
            .size();
    }
    // Leftmost and rightmost columns holding dark (text) pixels.
    static std::optional<std::pair<int, int>> TextColumns(const QImage &image)
    {
        int left = image.width(), right = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return right < 0 ? std::nullopt : std::optional(std::pair(left, right));
    }
    // Ticks until the offset wraps; returns the number of ticks.
    int TicksToWrap(int limit)
    {
        for (int ticks = 1; ticks < 10000; ++ticks) {
            const int before = label_.ScrollOffset();
            label_.Tick();
            if (label_.ScrollOffset() < before)
                return ticks;
            EXPECT_LE(label_.ScrollOffset(), limit + 3);
        }
        return -1;
    }

    TScrollLabel label_;
};

TEST_F(ScrollLabelTest, AutomaticScrollingStartsOnlyForTextWiderThanTheLabel)
{
    label_.SetScrollAuto(true);
    label_.SetCaption(QStringLiteral("Hi"));
    Render();
    EXPECT_FALSE(label_.Scroll());
    EXPECT_FALSE(label_.Active());
    label_.Tick();
    EXPECT_EQ(label_.ScrollOffset(), 0);

    label_.SetCaption(LongText);
    Render();
    EXPECT_TRUE(label_.Scroll());
    EXPECT_TRUE(label_.Active());
}

TEST_F(ScrollLabelTest, RightToLeftEntersAtTheRightAndRestartsOnceTheTextHasLeftPlusTheGap)
{
    label_.SetRepeatDelay(500); // 500 / 100 * 3 = a gap of 15 pixels
    label_.SetCaption(LongText);
    label_.SetScroll(true);
    // At offset 0 the text starts at the right edge: nothing shows yet.
    EXPECT_FALSE(TextColumns(Render()));
    for (int i = 0; i < 10; ++i)
        label_.Tick();
    const auto columns = TextColumns(Render());
    ASSERT_TRUE(columns);
    EXPECT_GE(columns->first, 100 - 30);

    const int limit = TextSize(LongText).width() + 100 + 15;
    label_.SetCaption(QString());
    label_.SetCaption(LongText); // a new caption starts again at 0
    EXPECT_EQ(label_.ScrollOffset(), 0);
    const int wrapAt = limit / 3 + 1;
    for (int i = 1; i < wrapAt; ++i)
        label_.Tick();
    EXPECT_FALSE(TextColumns(Render())); // the text has left the label
    label_.Tick();
    EXPECT_EQ(label_.ScrollOffset(), 0);
}

TEST_F(ScrollLabelTest, EachModeWrapsWhereItsTextHasRunThrough)
{
    label_.SetRepeatDelay(1000); // a gap of 30 pixels
    label_.SetCaption(LongText);
    const QSize text = TextSize(LongText);
    const struct {
        TScrollMode mode;
        int limit, restart;
    } cases[] = {
        {smLeftToRight, 100 + 30, -text.width()},
        {smRightToLeft, text.width() + 100 + 30, 0},
        {smTopToBottom, 20 + 30, -text.height()},
        {smBottomToTop, text.height() + 20 + 30, 0},
    };
    label_.SetScroll(true);
    for (const auto &c : cases) {
        label_.SetScrollMode(c.mode == smRightToLeft ? smLeftToRight : smRightToLeft);
        label_.SetScrollMode(c.mode); // a change of mode starts again at 0
        EXPECT_EQ(label_.ScrollOffset(), 0);
        EXPECT_EQ(TicksToWrap(c.limit), c.limit / 3 + 1) << c.mode;
        EXPECT_EQ(label_.ScrollOffset(), c.restart) << c.mode;
    }
}

TEST_F(ScrollLabelTest, WithoutADelayBetweenStepsThereIsNoGap)
{
    label_.SetScrollDelay(0);
    label_.SetRepeatDelay(1000);
    label_.SetCaption(LongText);
    label_.SetScroll(true);
    const int limit = TextSize(LongText).width() + 100;
    EXPECT_EQ(TicksToWrap(limit), limit / 3 + 1);
}

TEST_F(ScrollLabelTest, ACentredLabelIsLeftAlignedWhileScrollingAndCentredAgainAfter)
{
    label_.SetAlignment(Qt::AlignHCenter);
    label_.SetScrollMode(smLeftToRight);
    label_.SetCaption(QStringLiteral("Mid"));
    auto centred = [&] {
        const auto c = TextColumns(Render());
        return c && std::abs(c->first - (99 - c->second)) <= 2 && c->first > 20;
    };
    EXPECT_TRUE(centred());
    label_.SetScroll(true); // offset 0, left to right: the text starts at the left edge
    const auto scrolling = TextColumns(Render());
    ASSERT_TRUE(scrolling);
    EXPECT_LE(scrolling->first, 3);
    label_.SetScroll(false);
    EXPECT_TRUE(centred());
}

TEST_F(ScrollLabelTest, LoweredAndShadowLookTheSameRaisedDoesNot)
{
    label_.SetCaption(QStringLiteral("Shadow"));
    label_.SetShadowColor(Qt::red);
    label_.SetShadowOffset(2);
    auto look = [&](TDrawType type) {
        label_.SetDrawType(type);
        return Render();
    };
    const QImage lowered = look(dtLowered), shadow = look(dtShadow), raised = look(dtRaised), none = look(dtNone);
    EXPECT_EQ(lowered, shadow);
    EXPECT_NE(lowered, raised);
    auto redColumns = [](const QImage &image) {
        std::optional<std::pair<int, int>> c;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (qRed(p) > 200 && qGreen(p) < 80)
                    c = c ? std::pair(std::min(c->first, x), std::max(c->second, x)) : std::pair(x, x);
            }
        return c;
    };
    EXPECT_FALSE(redColumns(none));
    const auto text = TextColumns(none);
    ASSERT_TRUE(text && redColumns(lowered) && redColumns(raised));
    EXPECT_GT(redColumns(lowered)->second, text->second); // shadow to the right
    EXPECT_LT(redColumns(raised)->first, text->first);    // to the left
}

TEST_F(ScrollLabelTest, ATransparentLabelShowsItsPieceOfTheBackgroundBitmap)
{
    QImage back(200, 60, QImage::Format_RGB32);
    for (int y = 0; y < back.height(); ++y)
        for (int x = 0; x < back.width(); ++x)
            back.setPixel(x, y, qRgb(x, y, 77));
    label_.SetBackBmp(back);
    label_.SetBackRect(QRect(30, 10, 100, 20));
    EXPECT_EQ(Render().pixel(5, 5), qRgb(255, 255, 255)); // opaque: its colour
    label_.SetTransparent(true);
    const QImage image = Render();
    EXPECT_EQ(image.pixel(5, 5), qRgb(35, 15, 77));
    EXPECT_EQ(image.pixel(99, 19), qRgb(129, 29, 77));
}

TEST_F(ScrollLabelTest, TheTimerScrollsOnlyWhileActive)
{
    label_.SetScrollDelay(10);
    label_.SetCaption(LongText);
    label_.SetScroll(true);
    EXPECT_TRUE(WaitUntil([&] {
        QCoreApplication::processEvents();
        return label_.ScrollOffset() >= 6;
    }, 5000));
    label_.SetActive(false);
    QCoreApplication::processEvents();
    const int stopped = label_.ScrollOffset();
    WaitUntil([] { QCoreApplication::processEvents(); return false; }, 200);
    EXPECT_EQ(label_.ScrollOffset(), stopped);
}

} // namespace
