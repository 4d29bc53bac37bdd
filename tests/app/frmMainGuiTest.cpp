#include "app/GlobalUnit.h"
#include "app/frmMainU.h"
#include "appearance/MyScrollLabel.h"
#include "platform/IniFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = AppPath();
        SetAppPath(dir_.Path());
    }
    void TearDown() override { SetAppPath(saved_); }
    TempDir dir_;
    std::string saved_;
};

} // namespace

TEST_F(MainWindowTest, FirstStartCopiesShippedSettingsAndCloseWritesEveryKey)
{
    WriteFileBytes(dir_ / "Orvane.ini", "[Options]\r\nRetryNum=7\r\n[Update]\r\nbin=1.2\r\n[Language]\r\nCurLng=chs\r\n");
    {
        TfrmMain frmMain;
        EXPECT_EQ(frmMain.Settings().RetryNum, 7);
        EXPECT_EQ(CurLng(), "chs");
        frmMain.show();
        frmMain.move(40, 50);
        frmMain.close();
    }
    IniFile user(dir_ / "User.ini");
    EXPECT_EQ(user.ReadString("Update", "bin", ""), "1.2");
    EXPECT_TRUE(user.ValueExists("Update", "data_chs"));
    EXPECT_EQ(user.ReadInteger("frmMain", "Left", -1), 40);
    EXPECT_EQ(user.ReadInteger("Options", "RetryNum", -1), 7);
    EXPECT_EQ(user.ReadString("Language", "CurLng", ""), "chs");
    EXPECT_EQ(user.ReadSection("Hotkeys").size(), size_t(HotkeyCount));
    EXPECT_EQ(user.ReadSection("frmPlayList").size(), 7u);
    EXPECT_EQ(user.ReadSection("Player").size(), 7u);
    SetCurLng("eng");
}

TEST_F(MainWindowTest, ReadOnlyUserIniIsLeftAsItIs)
{
    WriteFileBytes(dir_ / "Orvane.ini", "[Options]\r\nRetryNum=7\r\n");
    WriteFileBytes(dir_ / "User.ini", "[Options]\r\nRetryNum=5\r\n");
    chmod((dir_ / "User.ini").c_str(), 0444);
    {
        TfrmMain frmMain;
        EXPECT_EQ(frmMain.Settings().RetryNum, 5);
        frmMain.close();
    }
    EXPECT_EQ(ReadFileBytes(dir_ / "User.ini"), "[Options]\r\nRetryNum=5\r\n");
}

TEST_F(MainWindowTest, AutoHideStartsHiddenAndActivationBringsItBack)
{
    WriteFileBytes(dir_ / "User.ini", "[Options]\r\nAutoHide=1\r\n");
    // Only a skinned window can be shown.
    std::filesystem::create_directories(dir_ / "Skins");
    std::filesystem::copy(std::string(ORVANE_SOURCE_DIR) + "/data/Skins/default", dir_ / "Skins/default",
                          std::filesystem::copy_options::recursive);
    TfrmMain frmMain;
    EXPECT_FALSE(frmMain.ShowAtStart());
    frmMain.BringToFront();
    EXPECT_TRUE(frmMain.isVisible());
    frmMain.close();
}

TEST_F(MainWindowTest, FirstTickRunsAsSoonAsTheEventLoopDoes)
{
    TfrmMain frmMain;
    frmMain.show(); // the clock shows on a visible window only
    auto *clock = frmMain.findChild<TScrollLabel *>("slblClock");
    ASSERT_NE(clock, nullptr);
    EXPECT_TRUE(clock->Caption().isEmpty());
    QElapsedTimer waited;
    waited.start();
    while (clock->Caption().isEmpty() && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // Well before the one-second interval: the auto-play of the same tick
    // starts the stream without waiting for it.
    EXPECT_LT(waited.elapsed(), 500);
    EXPECT_EQ(clock->Caption().size(), 5); // hh:nn
    frmMain.close();
}

TEST_F(MainWindowTest, LaunchUpgradeOffersTheCopysVersionAndHandsOverWithPidAndFolder)
{
    const std::string copy = dir_ / "temp/bin/orvane";
    WriteFileBytes(copy, std::string("#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/args.txt\"\nexit 0\n"
                                     "ORVANE_FILE_VERSION:2.3.4.5") + '\0' + "\n");
    chmod(copy.c_str(), 0755);
    std::vector<std::string> asked;
    bool answer = false;
    SetMessageBoxHandler([&](const std::string &caption, const std::string &text) {
        asked.push_back(caption + "|" + text);
        return answer;
    });
    TfrmMain frmMain;
    frmMain.show();

    frmMain.LaunchUpgrade(); // the user says No: nothing happens
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "Information|Upgrade to the newer version : 2.3.4.5");
    EXPECT_TRUE(frmMain.isVisible());
    EXPECT_FALSE(IniFile(dir_ / "User.ini").SectionExists("frmMain"));

    answer = true;
    frmMain.LaunchUpgrade();
    EXPECT_FALSE(frmMain.isVisible());
    EXPECT_TRUE(IniFile(dir_ / "User.ini").SectionExists("frmMain")); // saved before the hand-over
    ASSERT_TRUE(WaitUntil([&] { return FileExists(dir_ / "temp/bin/args.txt"); }, 5000));
    EXPECT_EQ(ReadFileBytes(dir_ / "temp/bin/args.txt"), std::to_string(getpid()) + " " + dir_.Path() + "\n");
    SetMessageBoxHandler(nullptr);
}
