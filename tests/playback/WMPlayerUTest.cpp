#include "playback/WMPlayerU.h"
#include "platform/WMPControl.h"

#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

namespace {

struct WMPlayer : ::testing::Test {
    void SetUp() override { WMPControl::SetDefaultOptions({"null", 3}); }
    QWidget panel;
    std::vector<int> codes;

    void Attach(TPlayer &player)
    {
        player.SetOnStateChange([this](TPlayer *, int code) { codes.push_back(code); });
    }
};

TEST_F(WMPlayer, CreationSetsUpTheControl)
{
    TWMPlayer player(&panel);
    ASSERT_TRUE(player.IsReady());
    WMPControl &wmp = *player.Control();
    EXPECT_TRUE(wmp.isHidden());
    EXPECT_EQ(wmp.uiMode(), "none");
    EXPECT_TRUE(wmp.stretchToFit());
    EXPECT_FALSE(wmp.settings().enableErrorDialogs());
    EXPECT_TRUE(wmp.settings().autoStart());
    EXPECT_FALSE(player.isEnabled());
    EXPECT_FALSE(player.HasVideo());
}

TEST_F(WMPlayer, ControlThatCannotBeCreatedMakesEveryOperationANoOp)
{
    WMPControl::SetDefaultOptions({"null", -5}); // the engine refuses a negative time-out
    TWMPlayer player(&panel);
    EXPECT_FALSE(player.IsReady());
    player.SetVolume(30);
    player.SetMute(true);
    player.SetUrl("http://127.0.0.1:9/x.mp3");
    player.Play();
    player.Stop();
    EXPECT_EQ(player.Volume(), 30);
    EXPECT_TRUE(player.Mute());
    EXPECT_EQ(player.Position(), 0);
    EXPECT_EQ(player.BitRate(), 0);
    EXPECT_FALSE(player.CanPause());
    EXPECT_FALSE(player.HasVideo());
}

struct TMapCase {
    bool Open; // open-state event, else play-state event
    int State;
    std::vector<int> Codes;
};

TEST_F(WMPlayer, ControlStatesBecomeStateCodes)
{
    const TMapCase cases[] = {
        {true, 9, {psConnecting}},   {true, 10, {psConnecting}}, {true, 12, {psOpening}},
        {true, 13, {psMediaOpened}}, {true, 11, {}},             {true, 0, {}},
        {false, 1, {psStopped}},     {false, 2, {psPaused}},     {false, 3, {psPlaying}},
        {false, 6, {psBuffering}},   {false, 7, {psConnecting}}, {false, 11, {psConnecting}},
        {false, 8, {psMediaEnded}},  {false, 4, {}},             {false, 9, {}},
    };
    TWMPlayer player(&panel);
    Attach(player);
    for (const auto &c : cases) {
        codes.clear();
        if (c.Open)
            player.Control()->OnOpenStateChange(c.State);
        else
            player.Control()->OnPlayStateChange(c.State);
        EXPECT_TRUE(codes.empty()) << "delivered inside the control's event";
        QCoreApplication::processEvents();
        EXPECT_EQ(codes, c.Codes) << (c.Open ? "open state " : "play state ") << c.State;
    }
    codes.clear();
    player.Control()->OnMediaError();
    QCoreApplication::processEvents();
    EXPECT_EQ(codes, std::vector<int>{psFailed});
}

TEST_F(WMPlayer, MediaOpenWithoutTitleTagTakesTheFileTitle)
{
    TWMPlayer player(&panel);
    Attach(player);
    player.SetUrl("/nonexistent/folder/My Song.mp3");
    player.Control()->OnOpenStateChange(WMPControl::wmposMediaOpen);
    EXPECT_EQ(player.ClipTitle, "My Song");
    EXPECT_EQ(player.ClipAuthor, "");
    EXPECT_EQ(player.Duration(), 0);
}

TEST_F(WMPlayer, VolumeWaitsWhileMuted)
{
    TWMPlayer player(&panel);
    WMPControl::TSettings &settings = player.Control()->settings();
    player.SetVolume(70);
    EXPECT_EQ(settings.volume(), 70);
    player.SetMute(true);
    EXPECT_TRUE(settings.mute());
    player.SetVolume(40);
    EXPECT_EQ(settings.volume(), 70) << "a muted control keeps its volume";
    EXPECT_EQ(player.Volume(), 40);
    player.SetBalance(-30);
    EXPECT_EQ(settings.balance(), -30) << "balance goes through also while muted";
    player.SetMute(false);
    EXPECT_FALSE(settings.mute());
    EXPECT_EQ(settings.volume(), 40);
}

TEST_F(WMPlayer, PlayingWithoutVideoHidesTheControl)
{
    TWMPlayer player(&panel);
    WMPControl &wmp = *player.Control();
    wmp.show();
    player.SetVideoVisible(true); // wanted, but the clip has no picture
    player.SetVolume(55);
    wmp.settings().SetVolume(5);
    wmp.OnPlayStateChange(WMPControl::wmppsPlaying);
    EXPECT_EQ(wmp.uiMode(), "Invisible");
    EXPECT_TRUE(wmp.isHidden());
    EXPECT_FALSE(player.HasVideo());
    EXPECT_EQ(wmp.settings().volume(), 55) << "playing set-up passes the stored volume again";
}

TEST_F(WMPlayer, FullScreenTurnsStretchingOff)
{
    TWMPlayer player(&panel);
    player.SetFullScreen(true);
    EXPECT_TRUE(player.FullScreen());
    EXPECT_FALSE(player.Control()->stretchToFit());
    player.SetFullScreen(false);
    EXPECT_FALSE(player.FullScreen());
    EXPECT_TRUE(player.Control()->stretchToFit());
}

TEST_F(WMPlayer, TransportWithNothingLoadedDoesNothing)
{
    TWMPlayer player(&panel);
    Attach(player);
    EXPECT_FALSE(player.CanPause());
    player.Pause();
    player.Stop();
    player.Next();
    player.Previous();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    EXPECT_TRUE(codes.empty());
}

TEST(FileTitleOf, TextAfterTheLastSeparatorWithoutExtension)
{
    EXPECT_EQ(FileTitleOf("C:\\Music\\a.mp3"), "a");
    EXPECT_EQ(FileTitleOf("http://host/live.mp3"), "//host/live");
    EXPECT_EQ(FileTitleOf("/home/u/Music/song.ogg"), "song");
    EXPECT_EQ(FileTitleOf("noext"), "noext");
    EXPECT_EQ(FileTitleOf("/a.b/c"), "c");
    EXPECT_EQ(FileTitleOf(""), "");
}

} // namespace
