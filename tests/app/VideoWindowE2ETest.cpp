// The video window against a real stream: failover between a station's
// addresses, rating of user stations, reconnection after a drop, and the
// user's stop. icecast2 fed by ffmpeg on loopback; the engine plays into its
// null audio output.

#include "Peers.h"
#include "TestSupport.h"
#include "app/GlobalUnit.h"
#include "app/frmVideoU.h"
#include "appearance/LanguageU.h"
#include "platform/WMPControl.h"
#include "stations/RadioTextDB.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <filesystem>
#include <iostream>
#include <regex>

namespace {

// Records what the video window shows.
class TRecordingDisplay : public TPlayDisplay {
public:
    void SetStateText(const std::string &text) override { states.push_back(text); }
    void SetSpeedText(const std::string &text) override { speed = text; }
    void SetElapsedText(const std::string &text) override { elapsed = text; }
    void SetElapsedDigits(const std::string &) override {}
    void ShowName(const std::string &t, const std::string &) override { title = t; }
    void ShowPlayState(int f) override { face = f; }
    void SetTrayActive(bool, int) override {}
    void PlaceProgressThumb(double) override {}
    bool MainWindowShown() const override { return true; }
    void SetMemoryTrimCountdown(int) override {}
    int InfoBarCountdown() const override { return 0; }
    void SetInfoBarCountdown(int) override {}
    void BringToFront() override { ++broughtToFront; }

    int Count(const std::string &state) const { return static_cast<int>(std::count(states.begin(), states.end(), state)); }
    std::vector<std::string> states;
    std::string speed, elapsed, title;
    int face = 3;
    int broughtToFront = 0;
};

class VideoWindowE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = AppPath();
        SetAppPath(dir_.Path());
        SetCurLng("eng");
        std::filesystem::create_directories(DataPath());
        TWMPEngineOptions options = WMPControl::DefaultOptions();
        options.AudioOutput = "null";
        options.NetworkTimeout = 3;
        WMPControl::SetDefaultOptions(options);
    }
    void TearDown() override { SetAppPath(saved_); }

    // A user station with the given addresses.
    void AddUserStation(int id, const std::string &name, const std::vector<std::string> &addresses)
    {
        TRadioTable t;
        t.SelectById(id);
        ASSERT_TRUE(t.Open());
        t.ClearFields();
        t.VID = std::to_string(id);
        t.VRadioName = name;
        t.VFormat = "2";
        t.VStreamURL = TRadioTable::JoinAddresses(addresses);
        ASSERT_TRUE(t.AppendRecord());
        t.Close();
    }
    struct TStored {
        std::string VStreamURL, VValidity, VSpeed;
    };
    TStored Stored(int id)
    {
        TRadioTable t;
        t.SelectById(id);
        EXPECT_TRUE(t.Open());
        t.LoadById(id);
        t.Close();
        return {t.VStreamURL, t.VValidity, t.VSpeed};
    }
    bool WaitFor(const std::function<bool()> &condition, int ms)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        return true;
    }
    static std::string DeadAddress() { return "http://127.0.0.1:" + std::to_string(FreeLoopbackPort()) + "/dead.mp3"; }

    TempDir dir_;
    std::string saved_;
    TRecordingDisplay display_;
};

} // namespace

TEST_F(VideoWindowE2E, DeadFirstAddressFailsOverToTheSecondWhichIsMovedToTheFront)
{
    TIcecastStream radio;
    ASSERT_TRUE(radio.Started());
    const std::string dead = DeadAddress(), third = DeadAddress();
    AddUserStation(100001, "Test FM", {dead, radio.Url(), third});

    TfrmOrvaneVideo video(display_);
    std::string codes;
    QObject::connect(&video, &TfrmOrvaneVideo::StateCodeHandled, [&](int code) {
        codes += std::to_string(code) + " ";
    });
    video.PlayById(100001);
    ASSERT_TRUE(WaitFor([&] { return display_.Count(Msg(34)) > 0; }, 30000)) << "never played";
    EXPECT_EQ(video.CurPlayID(), 100001);
    EXPECT_EQ(display_.title, "Test FM(1)"); // renamed after the address moved to the front
    EXPECT_EQ(display_.face, 1);

    const TStored stored = Stored(100001);
    EXPECT_EQ(stored.VStreamURL, TRadioTable::JoinAddresses({radio.Url(), dead, third}));
    EXPECT_EQ(stored.VValidity, "4"); // connected within nine seconds
    std::cout << "state codes of the failover: " << codes << std::endl;
    EXPECT_EQ(codes.rfind("3 99 ", 0), 0u) << codes; // the dead first address fails at once
    // The engine's first bit-rate estimate is all there is at that moment.
    EXPECT_TRUE(std::regex_match(stored.VSpeed, std::regex("[1-9][0-9]*K"))) << stored.VSpeed;
    video.StopPlaying();
}

TEST_F(VideoWindowE2E, DroppedStationReconnectsWhenTheSourceReturns)
{
    TIcecastStream radio;
    ASSERT_TRUE(radio.Started());
    AddUserStation(100002, "Drop FM", {radio.Url()});

    TfrmOrvaneVideo video(display_);
    std::string codes;
    QObject::connect(&video, &TfrmOrvaneVideo::StateCodeHandled, [&](int code) {
        codes += std::to_string(code) + " ";
    });
    video.SetReconnect(true, 5, 1);
    video.PlayById(100002);
    ASSERT_TRUE(WaitFor([&] { return display_.Count(Msg(34)) == 1; }, 30000));

    radio.StopSource();
    ASSERT_TRUE(WaitFor([&] { return video.RetryCountdown() > 0 || video.RetryCount() > 0; }, 30000))
        << "the drop was not noticed";
    ASSERT_TRUE(radio.StartSource());
    ASSERT_TRUE(WaitFor([&] { return display_.Count(Msg(34)) >= 2; }, 40000)) << "did not reconnect";
    EXPECT_GE(video.RetryCount(), 1);
    EXPECT_LE(video.RetryCount(), 5);
    EXPECT_TRUE(video.HasPlayed());
    std::cout << "state codes of the reconnection: " << codes << std::endl;
    video.StopPlaying();
}

TEST_F(VideoWindowE2E, ReconnectionIsLimitedAndTheUserStopCancelsIt)
{
    TIcecastStream radio;
    ASSERT_TRUE(radio.Started());
    AddUserStation(100003, "Gone FM", {radio.Url()});

    TfrmOrvaneVideo video(display_);
    video.SetReconnect(true, 2, 1);
    video.PlayById(100003);
    ASSERT_TRUE(WaitFor([&] { return display_.Count(Msg(34)) == 1; }, 30000));
    radio.StopSource();
    // Two reconnections, then it stays stopped.
    ASSERT_TRUE(WaitFor([&] { return video.RetryCount() == 2 && video.RetryCountdown() == 0 &&
                                     video.Player() && video.Player()->PlayState() != psConnecting &&
                                     video.Player()->PlayState() != psOpening; },
                        60000));
    PumpEvents(2500);
    EXPECT_EQ(video.RetryCount(), 2);
    EXPECT_EQ(video.RetryCountdown(), 0);
    EXPECT_EQ(Stored(100003).VValidity, "1");

    // Played again and dropped: the stop command cancels the pending reconnection.
    ASSERT_TRUE(radio.StartSource());
    video.PlayById(100003);
    ASSERT_TRUE(WaitFor([&] { return display_.Count(Msg(34)) == 2; }, 30000));
    radio.StopSource();
    ASSERT_TRUE(WaitFor([&] { return video.RetryCountdown() > 0; }, 30000));
    ASSERT_TRUE(radio.StartSource());
    video.StopPlaying();
    EXPECT_EQ(video.RetryCountdown(), 0);
    PumpEvents(3000);
    EXPECT_EQ(display_.Count(Msg(34)), 2);
}

TEST_F(VideoWindowE2E, StationThatNeverPlayedIsNotReconnectedAndMissingStationsPlayNothing)
{
    AddUserStation(100004, "Never FM", {DeadAddress(), DeadAddress()});
    TfrmOrvaneVideo video(display_);
    video.SetReconnect(true, 0, 1); // unlimited, yet a station that never played stays stopped
    video.PlayById(100004);
    ASSERT_TRUE(WaitFor([&] { return Stored(100004).VValidity == "1"; }, 30000));
    PumpEvents(2500);
    EXPECT_EQ(video.RetryCountdown(), 0);
    EXPECT_EQ(video.RetryCount(), 0);
    EXPECT_EQ(display_.Count(Msg(34)), 0);
    EXPECT_EQ(video.AddressIndex(), 0);

    video.PlayById(100099); // no such record
    EXPECT_EQ(video.CurPlayID(), 100004);
    video.PlayById(5); // a maker's station, and this folder has no maker's data
    EXPECT_EQ(video.CurPlayID(), 100004);
}

TEST_F(VideoWindowE2E, FailureSoundComesFromTheChineseFolderWhenTheLanguageHasNone)
{
    PulseServer pulse;
    ASSERT_TRUE(pulse.Running());
    std::filesystem::create_directories(SoundPath() + "chs");
    std::filesystem::copy_file(std::string(ORVANE_SOURCE_DIR) + "/data/Sound/chs/error.wav",
                               SoundPath() + "chs/error.wav");
    AddUserStation(100005, "Silent FM", {DeadAddress()});
    SetCurLng("xyz"); // a language without a sound folder
    std::filesystem::create_directories(DataPath());
    std::filesystem::copy_file(dir_ / "Data/eng/datauser.dat", UserDataFileName());

    TfrmOrvaneVideo video(display_);
    video.EnableSounds(true);
    ASSERT_TRUE(video.SoundsOn());
    MonitorRecorder rec(pulse);
    video.PlayById(100005);
    PumpEvents(5000);
    EXPECT_GT(rec.StopAndPeak(), 3000) << "no error sound reached the sound server";
    EXPECT_GT(display_.Count(Msg(35)), 0); // shown as stopped
    SetCurLng("eng");
}
