// Moving the list window with the mouse: snapping to the stand-in main
// window, moving it along when locked, and following its moves.

#include "PlayListFixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include <filesystem>

namespace {

class ListWindowMoves : public PlayListFixture {
protected:
    // Presses on the title area and drags by (dx, dy).
    void Drag(int dx, int dy)
    {
        const QPointF at(150, 10), global = list_->mapToGlobal(at);
        auto send = [&](QEvent::Type type, QPointF g, Qt::MouseButtons buttons) {
            QMouseEvent e(type, list_->mapFromGlobal(g), g, Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(list_.get(), &e);
        };
        send(QEvent::MouseButtonPress, global, Qt::LeftButton);
        send(QEvent::MouseMove, global + QPointF(dx, dy), Qt::LeftButton);
        send(QEvent::MouseButtonRelease, global + QPointF(dx, dy), Qt::NoButton);
    }
    QRect Main() const { return main_.Window.geometry(); }
};

TEST_F(ListWindowMoves, SnapsToTheMainWindowWithinTheDistance)
{
    ASSERT_EQ(list_->PressedSlot(), -1);
    list_->setGeometry(Main().right() + 1 + 40, Main().top() + 30, 300, 240);
    Drag(-29, -25); // 11 px from the right edge, 5 px below the top
    EXPECT_EQ(list_->geometry().topLeft(), QPoint(Main().right() + 1, Main().top()));
    EXPECT_EQ(Main().topLeft(), QPoint(100, 100)); // not locked: the main window stays

    list_->setGeometry(Main().right() + 1 + 40, Main().top() + 30, 300, 240);
    Drag(-28, 0); // 12 px away: no snap
    EXPECT_EQ(list_->geometry().topLeft(), QPoint(Main().right() + 1 + 12, Main().top() + 30));
}

TEST_F(ListWindowMoves, LockedWindowsMoveTogetherAndTheListFollowsTheMain)
{
    namespace fs = std::filesystem;
    fs::copy(dir_ / "Skins/default", dir_ / "Skins/locked", fs::copy_options::recursive);
    std::string ini = ReadFileBytes(dir_ / "Skins/locked/skin.ini");
    const auto at = ini.find("LockPlayListForm=0");
    ASSERT_NE(at, std::string::npos);
    ini.replace(at, 18, "LockPlayListForm=1");
    WriteFileBytes(dir_ / "Skins/locked/skin.ini", ini);
    ASSERT_TRUE(skin_.ApplySkin("locked"));
    ASSERT_TRUE(skin_.LockPlayListForm());
    list_->ApplySkin();

    list_->setGeometry(Main().right() + 1, Main().top() + 20, 300, 240); // touching
    Drag(30, 40);
    EXPECT_EQ(Main().topLeft(), QPoint(130, 140));
    EXPECT_EQ(list_->geometry().left(), Main().right() + 1);

    list_->setGeometry(Main().right() + 1 + 50, Main().top(), 300, 240); // apart: moves alone, no snap
    Drag(-45, 0);
    EXPECT_EQ(Main().topLeft(), QPoint(130, 140));
    EXPECT_EQ(list_->geometry().left(), Main().right() + 1 + 5);

    // The main window moving takes a touching list window along.
    list_->setGeometry(Main().left(), Main().bottom() + 1, 300, 240);
    const QRect before = Main();
    main_.Window.move(200, 50);
    list_->MainWindowMoved(before);
    EXPECT_EQ(list_->geometry().topLeft(), QPoint(200, 50 + before.height()));
}

TEST_F(ListWindowMoves, SlotsFollowTheFrameAndThePressedLookShows)
{
    list_->show();
    list_->resize(500, 400);
    const auto &rects = list_->SlotRects();
    // Close (on the top right piece) moves right, the tool buttons (bottom left) down.
    EXPECT_EQ(rects[6].Left, 274 + 200);
    EXPECT_EQ(rects[0].Top, 216 + 160);
    const QPointF close((rects[6].Left + rects[6].Right) / 2.0, (rects[6].Top + rects[6].Bottom) / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, close, list_->mapToGlobal(close), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(list_.get(), &press);
    EXPECT_EQ(list_->PressedSlot(), 6);
    QMouseEvent release(QEvent::MouseButtonRelease, close, list_->mapToGlobal(close), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list_.get(), &release);
    EXPECT_FALSE(list_->isVisible());
    EXPECT_EQ(main_.Hidden, 1);
}

} // namespace
