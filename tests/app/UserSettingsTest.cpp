#include "app/UserSettings.h"
#include "platform/IniFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

TEST(UserSettingsCodecs, CurUserUrl)
{
    struct Case { const char *stored; char kind; const char *address; } cases[] = {
        {"2,mms://example.com/live", '2', "mms://example.com/live"},
        {"http://example.com/a.mp3", '0', "http://example.com/a.mp3"},
        {"1,rtsp://h/a,b", '1', "rtsp://h/a"},           // an address with "," is cut there
        {"22,http://h/x", '0', "22"},                    // head longer than one character
        {"http://h/a?x=1,2", '0', "http://h/a?x=1"},
        {"", '0', ""},
    };
    for (const auto &c : cases) {
        TUserUrl u = DecodeCurUserUrl(c.stored);
        EXPECT_EQ(u.Kind, c.kind) << c.stored;
        EXPECT_EQ(u.Address, c.address) << c.stored;
    }
    EXPECT_EQ(EncodeCurUserUrl({'5', "http://h/p"}), "5,http://h/p");
    EXPECT_EQ(EncodeCurUserUrl({'2', ""}), "");
}

TEST(UserSettingsCodecs, Channel)
{
    struct Case { const char *stored; int id; const char *name; } cases[] = {
        {"123", 123, ""},
        {"100005-Radio One-Two", 100005, "Radio One-Two"},
        {"x-Name", 0, "Name"},
        {"", 0, ""},
    };
    for (const auto &c : cases) {
        TChannelEntry e = DecodeChannel(c.stored);
        EXPECT_EQ(e.ID, c.id) << c.stored;
        EXPECT_EQ(e.Name, c.name) << c.stored;
    }
    EXPECT_EQ(DecodeChannel(EncodeChannel(7, "A-B")).Name, "A-B");
}

TEST(UserSettings, FirstStartWithoutFilesGivesDefaults)
{
    TempDir dir;
    IniFile user(dir / "User.ini");
    TUserSettings s;
    TWindowMetrics m{1600, 900, 300, 120};
    ASSERT_TRUE(ReadUserSettings(user, m, s));
    EXPECT_EQ(s.MainLeft, (1600 - 600) / 2);
    EXPECT_EQ(s.MainTop, (900 - 120) / 2);
    EXPECT_EQ(s.ListLeft, s.MainLeft + 300); // to the right of the main window
    EXPECT_EQ(s.ListTop, s.MainTop);
    EXPECT_EQ(s.ListWidth, 330);
    EXPECT_EQ(s.ListHeight, 120);
    EXPECT_TRUE(s.TreeVisible);
    EXPECT_EQ(s.Volume, 100);
    EXPECT_EQ(s.Balance, 0);
    EXPECT_TRUE(s.Reconnect);
    EXPECT_EQ(s.RetryNum, 99);
    EXPECT_EQ(s.RetryDelay, 3);
    EXPECT_TRUE(s.EnabledHotkeys);
    EXPECT_TRUE(s.TrayIconVisible);
    EXPECT_TRUE(s.CloseToTray);
    EXPECT_EQ(s.Hotkeys[0].Modifiers, 3);
    EXPECT_EQ(s.Hotkeys[0].Key, 80);
    EXPECT_FALSE(FileExists(dir / "User.ini")); // reading never creates the file

    TUserSettings small;
    ReadUserSettings(user, {800, 600, 420, 170}, small);
    EXPECT_EQ(small.MainLeft, 0); // a screen too small for both windows
}

TEST(UserSettings, GarbageValuesReadAsDefaultsAndVolumeIsClamped)
{
    TempDir dir;
    WriteFileBytes(dir / "User.ini",
                   "[Player]\nVolume=250\nBalance=abc\nCurPlayID=\x01\x02\n[Options]\nRetryNum=many\n"
                   "ShutDownTime=half past\nReconnect=0\n\xff\xfe garbage line\n");
    IniFile user(dir / "User.ini");
    TUserSettings s;
    ASSERT_TRUE(ReadUserSettings(user, {}, s));
    EXPECT_EQ(s.Volume, 100);
    EXPECT_EQ(s.Balance, 0);
    EXPECT_EQ(s.CurPlayID, 0);
    EXPECT_EQ(s.RetryNum, 99);
    EXPECT_DOUBLE_EQ(s.ShutDownTime, 0);
    EXPECT_FALSE(s.Reconnect);
}

TEST(UserSettings, SaveWritesEveryShutdownKeyAndReadsBackTheSame)
{
    TempDir dir;
    IniFile user(dir / "User.ini");
    TUserSettings s;
    s.MainLeft = 11; s.MainTop = 12; s.ListLeft = 13; s.ListTop = 14; s.ListWidth = 400; s.ListHeight = 500;
    s.ListVisible = false; s.TreeVisible = false; s.ClickMode = false;
    s.RootNodeIndex = 3; s.SelectNodeIndex = 17; s.SelectItemIndex = 4; s.CurPlayID = 0;
    s.CurUserUrl = {'2', "mms://example.com/live"}; s.Volume = 55; s.Balance = -20;
    s.TimingPlay = true; s.TimingPlayTime = 0.75; s.RetryNum = 5; s.TalkClockInterval = 15;
    s.SkinName = "Blue"; s.CurLng = "chs"; s.Hotkeys[3] = {2, 112, 9};
    ASSERT_TRUE(WriteUserSettings(user, s));

    for (const char *key : {"Left", "Top"})
        EXPECT_TRUE(user.ValueExists("frmMain", key)) << key;
    for (const char *key : {"Left", "Top", "Width", "Height", "Visible", "TreeVisible", "ClickMode"})
        EXPECT_TRUE(user.ValueExists("frmPlayList", key)) << key;
    for (const char *key : {"RootNodeIndex", "SelectNodeIndex", "SelectItemIndex", "CurPlayID", "CurUserUrl",
                            "Volume", "Balance"})
        EXPECT_TRUE(user.ValueExists("Player", key)) << key;
    EXPECT_EQ(user.ReadSection("Options").size(), 25u); // all but CloseToTray, which keeps its default
    EXPECT_EQ(user.ReadSection("Hotkeys").size(), size_t(HotkeyCount));
    EXPECT_EQ(user.ReadString("Options", "TimingPlayTime", ""), "18:00:00");

    TUserSettings r;
    ASSERT_TRUE(ReadUserSettings(user, {}, r));
    EXPECT_EQ(r.ListWidth, 400);
    EXPECT_FALSE(r.TreeVisible);
    EXPECT_EQ(r.SelectNodeIndex, 17);
    EXPECT_EQ(r.CurUserUrl.Kind, '2');
    EXPECT_EQ(r.CurUserUrl.Address, "mms://example.com/live");
    EXPECT_EQ(r.Balance, -20);
    EXPECT_DOUBLE_EQ(r.TimingPlayTime, 0.75);
    EXPECT_EQ(r.SkinName, "Blue");
    EXPECT_EQ(r.Hotkeys[3].Modifiers, 2);
    EXPECT_EQ(r.Hotkeys[3].Key, 112);
    EXPECT_EQ(r.Hotkeys[3].Id, 0);
}

TEST(UserSettings, StationPlayingKeepsPreviousAddress)
{
    TempDir dir;
    WriteFileBytes(dir / "User.ini", "[Player]\r\nCurUserUrl=2,http://old/\r\n");
    IniFile user(dir / "User.ini");
    TUserSettings s;
    s.CurPlayID = 42;
    s.CurUserUrl = {'0', "http://new/"};
    ASSERT_TRUE(WriteUserSettings(user, s));
    EXPECT_EQ(user.ReadString("Player", "CurUserUrl", ""), "2,http://old/");
}

TEST(UserSettings, CloseToTrayIsWrittenOnlyWhenItDiffersFromTheStoredValue)
{
    TempDir dir;
    IniFile user(dir / "User.ini");
    TUserSettings s;
    ASSERT_TRUE(WriteUserSettings(user, s));
    EXPECT_FALSE(user.ValueExists("Options", "CloseToTray"));
    s.CloseToTray = false;
    ASSERT_TRUE(WriteUserSettings(user, s));
    EXPECT_EQ(user.ReadString("Options", "CloseToTray", ""), "0");
    TUserSettings r;
    ReadUserSettings(user, {}, r);
    EXPECT_FALSE(r.CloseToTray);
}

TEST(UserSettings, EmptyHotkeyStaysUnsetAndDeletedKeyRestoresDefault)
{
    TempDir dir;
    WriteFileBytes(dir / "User.ini", "[Hotkeys]\r\nPlay=\r\nStop=4,x\r\nMute=1\r\n");
    IniFile user(dir / "User.ini");
    THotkeys h = DefaultHotkeys();
    LoadHotkeys(user, h);
    EXPECT_EQ(h[0].Key, 80); // empty value leaves the entry as it was
    h[0] = {0, 0, 0};
    LoadHotkeys(user, h);
    EXPECT_EQ(h[0].Modifiers, 0);
    EXPECT_EQ(h[0].Key, 0);
    EXPECT_EQ(h[1].Modifiers, 4);
    EXPECT_EQ(h[1].Key, 83); // key part no number: default key
    EXPECT_EQ(h[4].Modifiers, 1);
    EXPECT_EQ(h[4].Key, 77);
    ASSERT_TRUE(SaveHotkeys(user, h));
    EXPECT_EQ(user.ReadString("Hotkeys", "Play", "?"), "0,0");
    user.DeleteKey("Hotkeys", "Play");
    LoadHotkeys(user, h);
    EXPECT_EQ(h[0].Modifiers, 3);
    EXPECT_EQ(h[0].Key, 80);
}

TEST(UserSettings, SeedingCopiesOnlyMissingPackageVersions)
{
    TempDir dir;
    WriteFileBytes(dir / "Orvane.ini", "[Update]\r\ndata_eng=2026-01-01\r\nbin=1.0\r\ndll=2.0\r\n");
    WriteFileBytes(dir / "User.ini", "[Update]\r\nbin=1.5\r\n");
    IniFile user(dir / "User.ini"), shipped(dir / "Orvane.ini");
    SeedPackageVersions(user, shipped, "eng");
    EXPECT_EQ(user.ReadString("Update", "data_eng", ""), "2026-01-01");
    EXPECT_EQ(user.ReadString("Update", "bin", ""), "1.5");
    EXPECT_EQ(user.ReadString("Update", "dll", ""), "2.0");
    EXPECT_TRUE(user.ValueExists("Update", "sound"));
    EXPECT_EQ(user.ReadString("Update", "sound", "?"), "");
}
