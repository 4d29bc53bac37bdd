// The music list driving the real video window: a folder of short tone files
// is played through in order and around again, the list survives saving and
// loading, and a missing file shows its name while the next one still plays.
// The engine plays into its null audio output.

#include "Peers.h"
#include "TestSupport.h"
#include "app/GlobalUnit.h"
#include "appearance/LanguageU.h"
#include "platform/WMPControl.h"
#include "stations/MyListBox.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <chrono>
#include <filesystem>

namespace {

// Notes which music entry was current each time the video window reported
// playing.
class TPlayedDisplay : public TPlayDisplay {
public:
    explicit TPlayedDisplay(const TMyListBox *&list) : list_(list) {}
    void SetStateText(const std::string &text) override
    {
        if (text == Msg(34))
            played.push_back(const_cast<TMyListBox *>(list_)->CurrentMusicPath());
    }
    void SetSpeedText(const std::string &) override {}
    void SetElapsedText(const std::string &) override {}
    void SetElapsedDigits(const std::string &) override {}
    void ShowName(const std::string &t, const std::string &h) override
    {
        title = t;
        hint = h;
    }
    void ShowPlayState(int) override {}
    void SetTrayActive(bool, int) override {}
    void PlaceProgressThumb(double) override {}
    bool MainWindowShown() const override { return true; }
    void SetMemoryTrimCountdown(int) override {}
    int InfoBarCountdown() const override { return 0; }
    void SetInfoBarCountdown(int) override {}
    void BringToFront() override {}

    std::vector<std::string> played;
    std::string title, hint;

private:
    const TMyListBox *&list_;
};

class MusicListE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = AppPath();
        SetAppPath(dir_.Path());
        SetCurLng("eng");
        TWMPEngineOptions options = WMPControl::DefaultOptions();
        options.AudioOutput = "null";
        WMPControl::SetDefaultOptions(options);
        std::filesystem::create_directories(dir_ / "music/more");
    }
    void TearDown() override { SetAppPath(saved_); }

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

    TempDir dir_;
    std::string saved_;
    const TMyListBox *shown_ = nullptr; // the list the display asks
    TPlayedDisplay display_{shown_};
};

} // namespace

TEST_F(MusicListE2E, FolderPlaysThroughInOrderWrapsAroundAndSurvivesAReload)
{
    for (const char *name : {"music/one.wav", "music/two.mp3", "music/more/three.wav"})
        ASSERT_TRUE(MakeToneFile(dir_ / name, 1)) << name;
    WriteFileBytes(dir_ / "music/notes.txt", "not music");

    auto list = std::make_unique<TMyListBox>();
    shown_ = list.get();
    ASSERT_EQ(list->AddFolder(dir_ / "music"), 3);
    const std::vector<std::string> entries = list->List().Entries();
    list->SetCurrentMusic(0);

    TfrmOrvaneVideo video(display_);
    video.SetPlayList(list.get());
    video.PlayMusicEntry();
    ASSERT_TRUE(WaitFor([&] { return display_.played.size() >= 4; }, 40000))
        << "played " << display_.played.size() << " entries: each file's end must lead to the next entry";
    EXPECT_EQ(video.CurPlayID(), -1);
    EXPECT_EQ(std::vector<std::string>(display_.played.begin(), display_.played.begin() + 4),
              (std::vector<std::string>{entries[0], entries[1], entries[2], entries[0]}));
    video.StopPlaying();

    // Kept between runs: the same entries come back, the saved one current.
    ASSERT_TRUE(list->SaveMusicList());
    auto reloaded = std::make_unique<TMyListBox>();
    reloaded->LoadMusicList(2);
    EXPECT_EQ(reloaded->List().Entries(), entries);
    shown_ = reloaded.get();
    video.SetPlayList(reloaded.get());
    display_.played.clear();
    video.Play();
    ASSERT_TRUE(WaitFor([&] { return !display_.played.empty(); }, 20000));
    EXPECT_EQ(display_.played.front(), entries[2]);
    video.StopPlaying();
}

TEST_F(MusicListE2E, MissingFileShowsItsNameAndTheNextPlayGoesOn)
{
    ASSERT_TRUE(MakeToneFile(dir_ / "music/there.wav", 1));
    const std::string missing = dir_ / "music/gone away.mp3";
    WriteFileBytes(MusicListFileName(), missing + "\r\n" + (dir_ / "music/there.wav") + "\r\n");

    TMyListBox list;
    shown_ = &list;
    list.LoadMusicList(0);
    TfrmOrvaneVideo video(display_);
    video.SetPlayList(&list);
    video.PlayMusicEntry();
    EXPECT_EQ(display_.title, "gone away");
    EXPECT_EQ(display_.hint, missing);
    PumpEvents(300);
    EXPECT_TRUE(display_.played.empty());

    video.PlayNext(0);
    ASSERT_TRUE(WaitFor([&] { return !display_.played.empty(); }, 20000));
    EXPECT_EQ(display_.played.front(), dir_ / "music/there.wav");
    EXPECT_EQ(list.SelectedIndex(), 1);
    video.StopPlaying();
}
