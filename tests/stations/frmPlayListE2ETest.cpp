// The station list window for real: its face on an X server at three sizes,
// and a double click that plays a user station from a local icecast server.

#include "PlayListFixture.h"
#include "Peers.h"

#include "appearance/LanguageU.h"
#include "platform/WMPControl.h"
#include "stations/RadioTextDB.h"
#include "stations/RadioTreeViewU.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include <cstdlib>
#include <unistd.h>

namespace {

class ListWindowE2E : public PlayListFixture {};

// Runs in a second copy of this program on the X server (see the test below).
TEST_F(ListWindowE2E, ScreenChild)
{
    if (!getenv("ORVANE_LIST_SCREEN"))
        GTEST_SKIP() << "runs inside ListWindowE2E.FaceAtThreeSizesOnAnXServer";
    const std::string shot = dir_ / "shot.png";
    for (const QSize size : {QSize(300, 240), QSize(420, 330), QSize(640, 520)}) {
        list_->setGeometry(0, 0, size.width(), size.height());
        list_->show();
        PumpEvents(400);
        RunCommand("import -window root png:" + shot + " 2>/dev/null");
        QImage screen(QString::fromStdString(shot));
        ASSERT_FALSE(screen.isNull());
        QImage face(size, QImage::Format_RGB32);
        QPainter p(&face);
        skin_.PaintListFace(p, size.width(), size.height());
        p.end();
        std::vector<QPoint> points{{3, 3},
                                   {size.width() - 4, 3},
                                   {3, size.height() - 4},
                                   {size.width() - 4, size.height() - 4},
                                   {size.width() / 2, 2}};
        for (const TSkinRect &slot : list_->SlotRects())
            points.emplace_back((slot.Left + slot.Right) / 2, (slot.Top + slot.Bottom) / 2);
        int compared = 0;
        for (const QPoint &at : points) {
            const QRgb want = face.pixel(at);
            if (want == QColor(255, 0, 255).rgb())
                continue; // cut from the outline
            ++compared;
            EXPECT_EQ(QColor(screen.pixel(at)).name(), QColor(want).name())
                << size.width() << "x" << size.height() << " at " << at.x() << "," << at.y();
        }
        EXPECT_GE(compared, 10);
    }
}

TEST_F(ListWindowE2E, FaceAtThreeSizesOnAnXServer)
{
    if (getenv("ORVANE_LIST_SCREEN"))
        GTEST_SKIP();
    XvfbServer x;
    ASSERT_TRUE(x.Running());
    char self[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
    const std::string out = RunCommand("DISPLAY=" + x.Display() + " QT_QPA_PLATFORM=xcb ORVANE_LIST_SCREEN=1 " +
                                       self + " --gtest_filter=ListWindowE2E.ScreenChild 2>&1");
    EXPECT_NE(out.find("[  PASSED  ] 1 test"), std::string::npos) << out;
}

TEST_F(ListWindowE2E, DoubleClickPlaysTheStationAndFilesItAsRecentlyPlayed)
{
    if (getenv("ORVANE_LIST_SCREEN"))
        GTEST_SKIP();
    TIcecastStream radio;
    ASSERT_TRUE(radio.Started());
    TWMPEngineOptions options = WMPControl::DefaultOptions();
    options.AudioOutput = "null";
    options.NetworkTimeout = 3;
    WMPControl::SetDefaultOptions(options);
    TRadioTable t;
    t.SelectById(100001);
    ASSERT_TRUE(t.Open());
    t.ClearFields();
    t.VID = "100001";
    t.VRadioName = "Ice FM";
    t.VFormat = "2";
    t.VStreamURL = radio.Url();
    ASSERT_TRUE(t.AppendRecord());
    t.Close();
    WriteFileBytes(DataPath() + "tree_user1.dat", "5/-1/-101/Mine\r\n\t0/-1/100001/Ice FM\r\n");
    Reload();

    list_->resize(400, 400);
    list_->show();
    QTreeWidgetItem *station = Node("Ice FM");
    ASSERT_NE(station, nullptr);
    station->parent()->setExpanded(true);
    list_->Tree()->setCurrentItem(station);
    PumpEvents(100);
    QWidget *viewport = list_->Tree()->viewport();
    const QPointF at = list_->Tree()->visualItemRect(station).center();
    list_->SetClickMode(false);
    // A double click arrives as press, release and the double click itself.
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick}) {
        QMouseEvent click(type, at, viewport->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &click);
    }
    EXPECT_EQ(video_->CurPlayID(), 100001);

    EXPECT_EQ(list_->Commands().Playing(), station);
    EXPECT_EQ(station->foreground(0).color(), ToQColor(skin_.Ini().Tree.PlayingItemFontColor));
    ASSERT_TRUE(WaitUntil([&] {
        QCoreApplication::processEvents();
        return std::count(display_.States.begin(), display_.States.end(), Msg(34)) > 0;
    }, 30000)) << "never played";
    EXPECT_EQ(video_->CurPlayID(), 100001);
    QTreeWidgetItem *recent = Node("Recent");
    ASSERT_EQ(recent->childCount(), 1);
    EXPECT_EQ(TRadioTreeView::StationIdOf(recent->child(0)), 100001);
    EXPECT_NE(list_->StationInfoText(100001).find("Ice FM"), std::string::npos);
    video_->StopPlaying();
}

} // namespace
