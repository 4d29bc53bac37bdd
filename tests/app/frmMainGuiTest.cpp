#include "app/GlobalUnit.h"
#include "app/frmMainU.h"
#include "platform/IniFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <sys/stat.h>

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
    TfrmMain frmMain;
    EXPECT_FALSE(frmMain.ShowAtStart());
    frmMain.BringToFront();
    EXPECT_TRUE(frmMain.isVisible());
    frmMain.close();
}
