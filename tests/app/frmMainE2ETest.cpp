// The real program on an X server with a tray host: its main window is cut
// to the skin's outline, a held button shows its pressed look, the play and
// stop buttons start and stop a live stream (heard on a null sink), and the
// tray icon docks in the tray.

#include "Peers.h"
#include "TestSupport.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <csignal>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const QPoint At(40, 60); // where the window is placed

QImage Screenshot(const XvfbServer &x, const std::string &file)
{
    RunCommand("DISPLAY=" + x.Display() + " import -window root png:" + file + " 2>/dev/null");
    return QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32);
}

QImage Face(const char *file)
{
    return QImage(QString::fromStdString(std::string(ORVANE_SOURCE_DIR) + "/data/Skins/default/" + file))
        .convertToFormat(QImage::Format_RGB32);
}

// A point of the rectangle where the idle and the pressed face differ.
QPoint Differing(const QImage &idle, const QImage &down, const QRect &r)
{
    for (int y = r.top() + 2; y < r.bottom() - 1; ++y)
        for (int x = r.left() + 2; x < r.right() - 1; ++x)
            if (idle.pixel(x, y) != down.pixel(x, y))
                return {x, y};
    return {-1, -1};
}

QRect SkinRect(const std::string &section, const std::string &key)
{
    const std::string skinIni = std::string(ORVANE_SOURCE_DIR) + "/data/Skins/default/skin.ini";
    int l = 0, t = 0, r = 0, b = 0;
    std::sscanf(IniFile(skinIni).ReadString(section, key, "").c_str(), "%d,%d,%d,%d", &l, &t, &r, &b);
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

void Mouse(const XvfbServer &x, const std::string &actions)
{
    RunCommand("DISPLAY=" + x.Display() + " xdotool " + actions);
}

// True when a window named "Orvane" lies inside the tray host's panel in the
// output of "xwininfo -root -tree".
bool DockedInTray(const std::string &tree)
{
    const size_t panel = tree.find("(\"panel\" \"trayer\")");
    if (panel == std::string::npos)
        return false;
    const size_t lineStart = tree.rfind('\n', panel) + 1;
    const size_t indent = tree.find_first_not_of(' ', lineStart) - lineStart;
    for (size_t at = tree.find('\n', panel); at != std::string::npos && at + 1 < tree.size();) {
        const size_t next = tree.find('\n', at + 1);
        const std::string line = tree.substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1);
        const size_t own = line.find_first_not_of(' ');
        if (own != std::string::npos && own <= indent)
            break; // out of the panel's subtree
        if (line.find("\"Orvane\"") != std::string::npos)
            return true;
        at = next;
    }
    return false;
}

std::string XPoint(QPoint p) { return std::to_string(p.x()) + " " + std::to_string(p.y()); }

} // namespace

TEST(MainWindowE2E, ShapedWindowPlaysAndStopsAStreamFromItsButtonsAndDocksInTheTray)
{
    TIcecastStream radio;
    ASSERT_TRUE(radio.Started());
    PulseServer pulse;
    ASSERT_TRUE(pulse.Running());
    XvfbServer x;
    ASSERT_TRUE(x.Running());
    TChild trayer({"env", "DISPLAY=" + x.Display(), "trayer", "--edge", "bottom", "--align", "right", "--height", "24"});
    ASSERT_TRUE(WaitUntil([&] {
        return RunCommand("DISPLAY=" + x.Display() + " xwininfo -root -tree 2>/dev/null").find("trayer") !=
               std::string::npos;
    }, 10000)) << "no tray host";

    ProgramFolder pf;
    for (const char *folder : {"Skins", "Language"})
        fs::copy(std::string(ORVANE_PROGRAM_DIR) + "/" + folder, pf.dir / folder, fs::copy_options::recursive);
    WriteFileBytes(pf.dir / "User.ini", "[frmMain]\r\nLeft=" + std::to_string(At.x()) + "\r\nTop=" +
                                            std::to_string(At.y()) + "\r\n[Player]\r\nCurPlayID=0\r\nCurUserUrl=2," +
                                            radio.Url() + "\r\n[Language]\r\nCurLng=eng\r\n");

    TempDir shots;
    const QImage idle = Face("main.png"), down = Face("main_down.png");
    const QImage desktop = Screenshot(x, shots / "desktop.png");
    ASSERT_FALSE(desktop.isNull());

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment(); // PULSE_SERVER included
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(pf.Runtime()));
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", QString::fromStdString(x.Display()));
    env.remove("DBUS_SESSION_BUS_ADDRESS"); // the tray icon docks through the X tray protocol
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QString::fromStdString(pf.Exe()), {});
    ASSERT_TRUE(program.waitForStarted(5000));

    const QPoint centre(idle.width() / 2, idle.height() / 2);
    QImage shot;
    ASSERT_TRUE(WaitUntil([&] {
        shot = Screenshot(x, shots / "shown.png");
        return !shot.isNull() && shot.pixel(At + QPoint(centre.x(), 2)) == idle.pixel(centre.x(), 2);
    }, 15000)) << "the main window never showed";

    // The outline: the desktop shows where the face has its mask colour.
    for (const QPoint corner : {QPoint(0, 0), QPoint(idle.width() - 1, 0), QPoint(0, idle.height() - 1),
                                QPoint(idle.width() - 1, idle.height() - 1)}) {
        ASSERT_EQ(idle.pixel(corner), qRgb(255, 0, 255));
        EXPECT_EQ(shot.pixel(At + corner), desktop.pixel(At + corner));
    }

    // The tray icon is docked in the tray host.
    const std::string tree = RunCommand("DISPLAY=" + x.Display() + " xwininfo -root -tree 2>/dev/null");
    EXPECT_TRUE(DockedInTray(tree)) << tree;

    // Holding play shows its pressed look; releasing plays the remembered address.
    const QRect play = SkinRect("MainForm", "bPlay"), stop = SkinRect("MainForm", "bStop");
    const QRect state = SkinRect("MainForm", "sPlayState");
    const QPoint playLook = Differing(idle, down, play), stateLook = Differing(idle, down, state);
    ASSERT_GE(playLook.x(), 0);
    ASSERT_GE(stateLook.x(), 0);
    Mouse(x, "mousemove " + XPoint(At + play.center()) + " mousedown 1");
    EXPECT_TRUE(WaitUntil([&] {
        return Screenshot(x, shots / "pressed.png").pixel(At + playLook) == down.pixel(playLook);
    }, 5000)) << "no pressed look";
    Mouse(x, "mouseup 1");

    EXPECT_TRUE(WaitUntil([&] {
        return Screenshot(x, shots / "playing.png").pixel(At + stateLook) == down.pixel(stateLook);
    }, 30000)) << "never showed playing";
    // The sound reaches the sink a moment after the state shows.
    EXPECT_TRUE(WaitUntil([&] {
        MonitorRecorder sound(pulse);
        QThread::msleep(1000);
        return sound.StopAndPeak() > 2000;
    }, 10000)) << "the stream is not heard";

    Mouse(x, "mousemove " + XPoint(At + stop.center()) + " click 1");
    EXPECT_TRUE(WaitUntil([&] {
        return Screenshot(x, shots / "stopped.png").pixel(At + stateLook) == idle.pixel(stateLook);
    }, 10000)) << "never showed stopped";
    QThread::msleep(500);
    {
        MonitorRecorder sound(pulse);
        QThread::msleep(1500);
        EXPECT_LT(sound.StopAndPeak(), 200) << "still playing after stop";
    }

    kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(IniFile(pf.dir / "User.ini").ReadString("Player", "CurUserUrl", ""), "2," + radio.Url());
    EXPECT_EQ(IniFile(pf.dir / "User.ini").ReadString("Skin", "SkinName", ""), "Default");
}
