// The skinned main window offscreen: its buttons, hints, volume and balance
// sliders, channel pages, skins menu, tray icon and drops, with the shipped
// skins, the shipped English station data and the station list window.

#include "app/GlobalUnit.h"
#include "app/frmMainU.h"
#include "stations/MyListBox.h"
#include "stations/frmPlayListU.h"
#include "appearance/MyScrollLabel.h"
#include "platform/IniFile.h"
#include "stations/RadioTextDB.h"
#include "Peers.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <QUrl>

#include <cmath>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

class MainFace : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = AppPath();
        SetAppPath(dir_.Path());
        SetCurLng("eng");
        fs::create_directories(dir_ / "Skins");
        for (const char *skin : {"default", "Amber"})
            fs::copy(std::string(ORVANE_SOURCE_DIR) + "/data/Skins/" + skin, dir_ / "Skins/" + skin,
                     fs::copy_options::recursive);
        fs::create_directories(DataPath());
        fs::copy(std::string(ORVANE_SOURCE_DIR) + "/data/Data/eng", DataPath(), fs::copy_options::recursive);
    }
    void TearDown() override { SetAppPath(saved_); }

    std::unique_ptr<TfrmMain> Open(const std::string &userIni)
    {
        WriteFileBytes(dir_ / "User.ini", userIni);
        auto w = std::make_unique<TfrmMain>();
        w->show();
        return w;
    }
    static QPoint Centre(const TfrmMain &w, int slot)
    {
        const TSkinRect &r = w.Skin().Ini().MainSlots[slot];
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    static void Mouse(QWidget &w, QEvent::Type type, QPoint at, Qt::MouseButtons held)
    {
        QMouseEvent e(type, QPointF(at), w.mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(&w, &e);
    }
    static void Press(QWidget &w, QPoint at) { Mouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton); }
    static void MoveTo(QWidget &w, QPoint at) { Mouse(w, QEvent::MouseMove, at, Qt::LeftButton); }
    static void Release(QWidget &w, QPoint at) { Mouse(w, QEvent::MouseButtonRelease, at, Qt::NoButton); }
    static void Click(TfrmMain &w, int slot)
    {
        Press(w, Centre(w, slot));
        Release(w, Centre(w, slot));
    }
    static TScrollLabel *Label(TfrmMain &w, const char *name) { return w.findChild<TScrollLabel *>(name); }
    static std::string Caption(TfrmMain &w, const char *name) { return Label(w, name)->Caption().toStdString(); }
    void AddUserStation(int id, const std::string &address)
    {
        TRadioTable t;
        t.SelectById(id);
        ASSERT_TRUE(t.Open());
        t.ClearFields();
        t.VID = std::to_string(id);
        t.VRadioName = "Station " + t.VID;
        t.VFormat = "2";
        t.VStreamURL = address;
        ASSERT_TRUE(t.AppendRecord());
        t.Close();
    }
    static std::string DeadAddress() { return "http://127.0.0.1:" + std::to_string(FreeLoopbackPort()) + "/x.mp3"; }

    static TPlayListWindow &List(TfrmMain &w) { return *w.PlayListWindow(); }

    TempDir dir_;
    std::string saved_;
};

} // namespace

TEST_F(MainFace, TakesTheSkinsSizeAndOutline)
{
    auto w = Open("[Skin]\r\nSkinName=Amber\r\n");
    ASSERT_TRUE(w->SkinLoaded());
    EXPECT_EQ(w->Skin().SkinName(), "Amber");
    EXPECT_EQ(w->size(), w->Skin().MainFace().size());
    EXPECT_EQ(w->mask(), w->Skin().MainOutline());
    EXPECT_FALSE(w->mask().contains(QPoint(0, 0))); // the mask colour is cut at the corner
}

TEST_F(MainFace, PressedButtonShowsThePressedFaceUntilReleased)
{
    auto w = Open("");
    const QPoint stop = Centre(*w, msStop);
    const QRgb idle = w->Skin().MainFace().pixel(stop), down = w->Skin().MainFaceDown().pixel(stop);
    ASSERT_NE(idle, down);
    Press(*w, stop);
    EXPECT_EQ(w->grab().toImage().pixel(stop), down);
    MoveTo(*w, QPoint(2, 60)); // leaving the button lets it go
    EXPECT_EQ(w->Face().PressedSlot, -1);
    EXPECT_EQ(w->grab().toImage().pixel(stop), idle);
    Release(*w, QPoint(2, 60));
    EXPECT_EQ(Caption(*w, "slblState"), ""); // no stop ran
    Click(*w, msStop);
    EXPECT_EQ(Caption(*w, "slblState"), "Stopped");
}

TEST_F(MainFace, ButtonsRunTheirActions)
{
    auto w = Open("[Player]\r\nVolume=50\r\n");
    TfrmOrvaneVideo &video = *w->VideoWindow();
    const int step = w->Skin().Ini().VolumeStep(); // the default skin has 50 steps
    ASSERT_EQ(step, 2);

    struct {
        int slot;
        std::function<bool()> done;
    } cases[] = {
        {msMute, [&] { return video.Muted(); }},
        {msMute, [&] { return !video.Muted(); }},
        {msAddVolume, [&] { return video.Volume() == 52; }},
        {msDecVolume, [&] { return video.Volume() == 50; }},
        {msPageDown, [&] { return w->ChannelCaption(0) == "11" && w->ChannelCaption(9) == "20"; }},
        {msPageUp, [&] { return w->ChannelCaption(0) == "1"; }},
        {msMP3, [&] { return !List(*w).IsRadioMode(); }},
        {msMP3, [&] { return List(*w).IsRadioMode(); }},
        {msPlayListFormShow, [&] { return !List(*w).ListVisible(); }},
        {msPlayListFormShow, [&] { return List(*w).ListVisible(); }},
        {msHide, [&] { return !w->isVisible(); }},
    };
    for (const auto &c : cases) {
        Click(*w, c.slot);
        EXPECT_TRUE(c.done()) << MainSlotKeys[c.slot];
    }
}

TEST_F(MainFace, HintsFollowTheState)
{
    auto w = Open("[Channel]\r\n1=100001-Jazz FM\r\n");
    const std::pair<int, std::string> hints[] = {
        {msNum1, "Jazz FM"},       {msPageUp, "Page Up Radio"}, {msClose, "Exit Orvane"},
        {msAbout, "About Orvane"}, {msMute, "Mute"},            {msPlayListFormShow, "Hide PlayList"},
        {msMP3, "Switch to Music Mode"}, {msRecord, "Start Record"}, {msMulti, ""},
    };
    for (const auto &[slot, hint] : hints)
        EXPECT_EQ(w->SlotHint(slot), hint) << MainSlotKeys[slot];

    w->nMuteClick();
    List(*w).SetListVisible(false);
    List(*w).SetRadioMode(false);
    EXPECT_EQ(w->SlotHint(msMute), "Cancel Mute");
    EXPECT_EQ(w->SlotHint(msPlayListFormShow), "Show PlayList");
    EXPECT_EQ(w->SlotHint(msMP3), "Switch to Radio Mode");
    EXPECT_EQ(w->SlotHint(msNum1), ""); // music mode: channels are list entries

    // The window's hint follows the mouse: a track, a button, nothing.
    List(*w).SetRadioMode(true);
    const TSkinRect &volume = w->Skin().Ini().Bars[skVolume].BoundsRect;
    MoveTo(*w, QPoint(volume.Left + 3, volume.Top + 3));
    EXPECT_EQ(w->toolTip().toStdString(), "Volume Tune");
    MoveTo(*w, Centre(*w, msNum1));
    EXPECT_EQ(w->toolTip().toStdString(), "Jazz FM");
    MoveTo(*w, QPoint(w->width() / 2, 3));
    EXPECT_EQ(w->toolTip().toStdString(), "");
}

TEST_F(MainFace, HeldVolumeButtonRepeatsAndShowsTheVolume)
{
    auto w = Open("[Player]\r\nVolume=50\r\n");
    TfrmOrvaneVideo &video = *w->VideoWindow();
    Press(*w, Centre(*w, msAddVolume));
    EXPECT_TRUE(Label(*w, "slblVolume")->isVisibleTo(w.get()));
    EXPECT_FALSE(Label(*w, "slblRadioName")->isVisibleTo(w.get()));
    PumpEvents(450);
    const int held = video.Volume();
    EXPECT_GE(held, 56); // a step every 100 ms
    EXPECT_EQ(Caption(*w, "slblVolume"), "Volume:" + std::to_string(held) + "%");
    Release(*w, Centre(*w, msAddVolume));
    EXPECT_EQ(video.Volume(), held + 2); // the release is one more press
    EXPECT_FALSE(Label(*w, "slblVolume")->isVisibleTo(w.get()));
    PumpEvents(250);
    EXPECT_EQ(video.Volume(), held + 2);

    // Clamped at both ends.
    video.SetVolume(99);
    w->nIncVolClick();
    EXPECT_EQ(video.Volume(), 100);
    w->nIncVolClick();
    EXPECT_EQ(video.Volume(), 100);
    video.SetVolume(1);
    w->nDecVolClick();
    EXPECT_EQ(video.Volume(), 0);
}

TEST_F(MainFace, BalanceThumbAtTheMiddleIsCentreAndAPixelLeftIsLeft)
{
    auto w = Open("");
    TfrmOrvaneVideo &video = *w->VideoWindow();
    const TSkinSlider &slider = w->Face().Sliders[skBalance];
    const TSkinRect thumb = slider.Thumb();
    const int range = slider.Track().Width() - thumb.Width();
    ASSERT_EQ(range % 2, 0) << "the middle is a pixel";
    const QPoint grab(thumb.Left + thumb.Width() / 2, (thumb.Top + thumb.Bottom) / 2);

    Press(*w, grab);
    EXPECT_EQ(Caption(*w, "slblVolume"), "Equation:Center");
    MoveTo(*w, grab - QPoint(1, 0));
    const int v = static_cast<int>(std::lrint((0.5 - (range / 2 - 1) / double(range)) * 200));
    EXPECT_EQ(Caption(*w, "slblVolume"), "Equation:" + std::to_string(v) + "%Left");
    EXPECT_EQ(video.Balance(), -v);
    MoveTo(*w, grab + QPoint(range, 0)); // clamped at the right end
    EXPECT_EQ(Caption(*w, "slblVolume"), "Equation:100%Right");
    EXPECT_EQ(video.Balance(), 100);
    Release(*w, grab + QPoint(range, 0));
    EXPECT_FALSE(Label(*w, "slblVolume")->isVisibleTo(w.get()));

    // A press on the volume track puts the thumb under the pointer at once.
    const TSkinRect &track = w->Face().Sliders[skVolume].Track();
    Press(*w, QPoint(track.Left + 1, (track.Top + track.Bottom) / 2));
    Release(*w, QPoint(track.Left + 1, (track.Top + track.Bottom) / 2));
    EXPECT_EQ(video.Volume(), 0);
}

TEST_F(MainFace, ChannelPagesReadTheirStationsFromTheSettings)
{
    auto w = Open("[Channel]\r\n1=100001-Jazz - FM\r\n2=abc-Bad\r\n3=123\r\n11=5-Eleven\r\n");
    EXPECT_EQ(w->ChannelTag(0), 100001);
    EXPECT_EQ(w->ChannelHint(0), "Jazz - FM");
    EXPECT_EQ(w->ChannelTag(1), 0);
    EXPECT_EQ(w->ChannelHint(1), "Bad");
    EXPECT_EQ(w->ChannelTag(2), 123);
    EXPECT_EQ(w->ChannelHint(2), "");
    EXPECT_EQ(w->ChannelTag(3), 0);

    w->PageUp(); // page 1 stays
    EXPECT_EQ(w->ChannelCaption(0), "1");
    w->PageDown();
    EXPECT_EQ(w->ChannelCaption(0), "11");
    EXPECT_EQ(w->ChannelTag(0), 5);
    EXPECT_EQ(w->ChannelHint(0), "Eleven");
    for (int i = 0; i < 20; ++i)
        w->PageDown();
    EXPECT_EQ(w->ChannelCaption(0), "81"); // the last page: 81 to 90
    EXPECT_EQ(w->ChannelCaption(9), "90");
}

TEST_F(MainFace, WithoutChannelSettingsEveryPageShowsTheTreesChannels)
{
    auto w = Open("");
    w->PageDown();
    w->PageDown();
    EXPECT_EQ(w->ChannelCaption(0), "21");
    const TChannelEntry first = List(*w).ChannelStation(0), tenth = List(*w).ChannelStation(9);
    ASSERT_GT(first.ID, 0); // the shipped tree has a channels group
    EXPECT_EQ(w->ChannelTag(0), first.ID);
    EXPECT_EQ(w->ChannelHint(9), tenth.Name);
}

TEST_F(MainFace, ChannelPlaysItsStationInRadioModeAndAListEntryInMusicMode)
{
    const std::string address = DeadAddress();
    AddUserStation(100001, address);
    auto w = Open("[Channel]\r\n12=100001-Mine\r\n");
    TfrmOrvaneVideo &video = *w->VideoWindow();
    w->PageDown();
    Click(*w, msNum1 + 1); // channel 12
    EXPECT_EQ(video.CurPlayID(), 100001);
    ASSERT_EQ(video.Addresses().size(), 1u);
    EXPECT_EQ(video.Addresses()[0], address);
    video.StopPlaying();

    List(*w).SetRadioMode(false);
    w->PlayChannel(1);
    EXPECT_EQ(video.CurPlayID(), 100001); // the music list has no entry 12: nothing plays

    std::vector<std::string> files;
    for (int i = 1; i <= 12; ++i) {
        files.push_back(dir_ / ("music/" + std::to_string(i) + ".mp3"));
        WriteFileBytes(files.back(), "not really music");
    }
    ASSERT_EQ(w->PlayListWindow()->MusicList().AddFiles(files), 12);
    w->PlayChannel(1);
    EXPECT_EQ(video.CurPlayID(), -1);
    ASSERT_EQ(video.Addresses().size(), 1u);
    EXPECT_EQ(video.Addresses()[0], files[11]);
    video.StopPlaying();
}

TEST_F(MainFace, SkinsMenuListsCheckedSkinsAndSwitches)
{
    fs::create_directories(dir_ / "Skins/Broken");
    WriteFileBytes(dir_ / "Skins/Broken/skin.ini", "[Skin]\r\n");
    auto w = Open("");
    auto entries = [&] {
        Q_EMIT w->MainMenu()->aboutToShow();
        std::vector<std::string> out;
        for (QAction *a : w->MainMenu()->findChild<QMenu *>("nSkins")->actions())
            out.push_back(a->isSeparator() ? "-" : (a->isChecked() ? "*" : "") + a->text().toStdString());
        return out;
    };
    auto choose = [&](const char *name) {
        for (QAction *a : w->MainMenu()->findChild<QMenu *>("nSkins")->actions())
            if (a->text() == name)
                a->trigger();
        PumpEvents(20);
    };
    EXPECT_EQ(entries(), (std::vector<std::string>{"Amber", "Broken", "*default", "-", "<< Get more skins! >>"}));

    choose("Amber");
    EXPECT_EQ(w->Skin().SkinName(), "Amber");
    EXPECT_EQ(w->size(), QImage(QString::fromStdString(dir_ / "Skins/Amber/main.png")).size());
    EXPECT_EQ(entries()[0], "*Amber");

    w->hide();
    choose("Broken"); // falls back to the default skin and shows the window
    EXPECT_EQ(w->Skin().SkinName(), "Default");
    EXPECT_TRUE(w->isVisible());
    w->close();
    EXPECT_EQ(IniFile(dir_ / "User.ini").ReadString("Skin", "SkinName", ""), "Default");
}

TEST_F(MainFace, WithoutAnySkinTheWindowStaysHiddenAndTheTrayIconIsTheWayIn)
{
    fs::remove_all(dir_ / "Skins");
    WriteFileBytes(dir_ / "User.ini", "");
    TfrmMain w;
    EXPECT_FALSE(w.SkinLoaded());
    EXPECT_FALSE(w.ShowAtStart());
    w.nShowClick();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.TrayIcon()->isVisible());
    EXPECT_FALSE(w.TrayIcon()->icon().isNull());
}

TEST_F(MainFace, TrayIconAnimatesOnlyWhileActiveWithAnimationOn)
{
    auto w = Open("[Options]\r\nEnabledAnimate=1\r\n");
    const qint64 still = w->TrayIcon()->icon().cacheKey();
    w->SetTrayActive(true, 100);
    EXPECT_TRUE(w->TrayAnimating());
    EXPECT_TRUE(WaitUntil([&] {
        PumpEvents(20);
        return w->TrayIcon()->icon().cacheKey() != still;
    }, 2000));
    w->SetTrayActive(false, 0);
    EXPECT_FALSE(w->TrayAnimating());

    w->SetTrayAnimation(false);
    w->SetTrayActive(true, 100);
    EXPECT_FALSE(w->TrayAnimating());
}

TEST_F(MainFace, TrayClickWaitsForADoubleClickBeforeTheStationMenu)
{
    auto w = Open("[Options]\r\nTrayClickTree=1\r\n");
    w->hide();
    Q_EMIT w->TrayIcon()->activated(QSystemTrayIcon::Trigger);
    Q_EMIT w->TrayIcon()->activated(QSystemTrayIcon::DoubleClick);
    PumpEvents(QApplication::doubleClickInterval() + 200);
    QMenu *menu = w->findChild<QMenu *>("pmTreeMenu");
    EXPECT_FALSE(menu->isVisible());
    EXPECT_TRUE(w->isVisible());

    Q_EMIT w->TrayIcon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(menu->isVisible());
    PumpEvents(QApplication::doubleClickInterval() + 200);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_FALSE(menu->actions().isEmpty()); // the shipped tree's groups
    menu->close();
}

TEST_F(MainFace, DroppedLinksPlayAsAddressesAndDroppedFilesAsMusic)
{
    auto w = Open("");
    TfrmOrvaneVideo &video = *w->VideoWindow();
    auto drop = [&](const QList<QUrl> &urls) {
        QMimeData data;
        data.setUrls(urls);
        w->DropItem(data);
    };
    drop({QUrl::fromLocalFile(QString::fromStdString(dir_ / "stations.ZIP"))});
    drop({QUrl("http://127.0.0.1:9/page.html")}); // no player can be told from it
    EXPECT_TRUE(video.Addresses().empty());

    const std::string link = DeadAddress();
    drop({QUrl::fromLocalFile("/tmp/a.mp3"), QUrl(QString::fromStdString(link))});
    ASSERT_EQ(video.Addresses().size(), 1u);
    EXPECT_EQ(video.Addresses()[0], link);
    EXPECT_EQ(video.CurPlayID(), 0);
    video.StopPlaying();

    // Files: music mode, a list of just these files, the first one playing.
    const std::string one = dir_ / "drop/one.mp3", two = dir_ / "drop/two.wma";
    WriteFileBytes(one, "x");
    WriteFileBytes(two, "x");
    drop({QUrl::fromLocalFile(QString::fromStdString(one)), QUrl::fromLocalFile(QString::fromStdString(two))});
    EXPECT_FALSE(List(*w).IsRadioMode());
    EXPECT_EQ(w->PlayListWindow()->MusicList().List().Entries(), (std::vector<std::string>{one, two}));
    EXPECT_EQ(video.CurPlayID(), -1);
    ASSERT_EQ(video.Addresses().size(), 1u);
    EXPECT_EQ(video.Addresses()[0], one);
    video.StopPlaying();
}
