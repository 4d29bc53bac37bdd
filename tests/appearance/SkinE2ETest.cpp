// A skinned face as a real window on an X server: the outline cut by the
// mask colour lets the desktop show through the corners.

#include "TestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <csignal>
#include <string>

namespace {

const std::string Previewer = std::string(ORVANE_PROGRAM_DIR) + "/../tools/skin/orvane_skinpreview";

QImage Screenshot(const XvfbServer &x, const std::string &file)
{
    RunCommand("DISPLAY=" + x.Display() + " import -window root png:" + file + " 2>/dev/null");
    return QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32);
}

TEST(SkinWindow, ShapedOutlineShowsTheDesktopThroughTheCutCorners)
{
    if (!FileExists(Previewer))
        GTEST_SKIP() << "orvane_skinpreview is built with the tools";
    XvfbServer x;
    ASSERT_TRUE(x.Running());
    TempDir dir;
    const std::string skin = std::string(ORVANE_SOURCE_DIR) + "/data/Skins/default/";
    const QImage face = QImage(QString::fromStdString(skin + "main.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(face.isNull());
    const QImage before = Screenshot(x, dir / "before.png");
    ASSERT_FALSE(before.isNull());

    const int left = 40, top = 30;
    const std::string pid = RunCommand("DISPLAY=" + x.Display() + " QT_QPA_PLATFORM=xcb " + Previewer +
                                       " --show " + skin + " " + std::to_string(left) + " " +
                                       std::to_string(top) + " 8000 >/dev/null 2>&1 & echo $!");
    const QPoint centre(face.width() / 2, face.height() / 2);
    QImage shot;
    EXPECT_TRUE(WaitUntil([&] {
        shot = Screenshot(x, dir / "shot.png");
        return !shot.isNull() && shot.pixel(centre + QPoint(left, top)) == face.pixel(centre);
    }, 10000));
    kill(std::stoi(pid), SIGTERM);
    ASSERT_FALSE(shot.isNull());

    // The face's corner pixels have the mask colour; on screen the desktop
    // shows there, while the rim just inside is the face's own.
    for (const QPoint corner : {QPoint(0, 0), QPoint(face.width() - 1, 0), QPoint(0, face.height() - 1),
                                QPoint(face.width() - 1, face.height() - 1)}) {
        ASSERT_EQ(face.pixel(corner), qRgb(255, 0, 255));
        EXPECT_EQ(shot.pixel(corner + QPoint(left, top)), before.pixel(corner + QPoint(left, top)));
    }
    const QPoint rim(face.width() / 2, 1);
    EXPECT_EQ(shot.pixel(rim + QPoint(left, top)), face.pixel(rim));
    for (int y = top; y < top + face.height(); ++y)
        for (int x2 = left; x2 < left + face.width(); ++x2)
            ASSERT_NE(shot.pixel(x2, y), qRgb(255, 0, 255)) << x2 << "," << y;
}

} // namespace
