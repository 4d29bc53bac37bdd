#pragma once
// The user's settings as kept in "User.ini": every section and key the main
// window reads at start and writes at shutdown, with their defaults, and the
// value codecs of the hotkey, channel and last-address keys. Windows copy the
// values they use into their own fields; until a window exists its values
// stay here, so nothing read at start is lost at shutdown.

#include <array>
#include <string>

#include "app/GlobalUnit.h"

class IniFile;

struct THotkey {
    int Modifiers = 0; // 1 Alt, 2 Ctrl, 4 Shift; 0 and Key 0: not set
    int Key = 0;       // virtual key code
    int Id = 0;        // registration id, 0 when not registered
};
using THotkeys = std::array<THotkey, HotkeyCount>;
THotkeys DefaultHotkeys();

// [Channel] "<id>-<name>": the first "-" ends the ID.
struct TChannelEntry {
    int ID = 0;
    std::string Name;
};
TChannelEntry DecodeChannel(const std::string &value);
std::string EncodeChannel(int id, const std::string &name);

// [Player] CurUserUrl: "<kind>,<address>".
struct TUserUrl {
    char Kind = '0';
    std::string Address;
};
TUserUrl DecodeCurUserUrl(const std::string &value);
std::string EncodeCurUserUrl(const TUserUrl &url);

// Screen facts the position defaults are derived from.
struct TWindowMetrics {
    int WorkAreaWidth = 1024;
    int WorkAreaHeight = 768;
    int MainWidth = 275;
    int MainHeight = 116;
};

struct TUserSettings {
    // [frmMain]
    int MainLeft = 0, MainTop = 0;
    // [frmPlayList]
    int ListLeft = 0, ListTop = 0, ListWidth = 0, ListHeight = 0;
    bool ListVisible = true, TreeVisible = true, ClickMode = true;
    // [Player]
    int RootNodeIndex = -1, SelectNodeIndex = -1, SelectItemIndex = 0, CurPlayID = 0;
    TUserUrl CurUserUrl;
    int Volume = 100, Balance = 0;
    // [Options], in file order
    bool AlwaysOnTop = false;
    bool TimingShutDown = false;
    double ShutDownTime = 0;
    bool EnabledHotkeys = true;
    bool Reconnect = true;
    int RetryNum = 99, RetryDelay = 3;
    bool ShowHint = true, EnableSound = false, AutoUpdate = true, AutoPlay = false, AutoHide = false;
    bool VideoFormVisible = true, TrayIconVisible = true, TrayClickTree = false, EnabledAnimate = false;
    bool TimingPlay = false;
    double TimingPlayTime = 0;
    bool TimingRecord = false;
    double TimingRecordStartTime = 0, TimingRecordEndTime = 0;
    bool AutoTalkClock = false;
    int TalkClockInterval = 60;
    bool MuteTalkClock = false, NotShowCloseForm = false, CloseToTray = true;
    // [Skin], [Language]
    std::string SkinName = "Default";
    std::string CurLng;
    // [Hotkeys]
    THotkeys Hotkeys = DefaultHotkeys();
};

// Copies the installed package versions the user's file lacks from the
// shipped file ("data_<lng>", "bin", "dll", "sound").
void SeedPackageVersions(IniFile &user, const IniFile &shipped, const std::string &lng);

// Reads [Player], [Options], the main window's place, [Skin], [frmPlayList]
// and [Hotkeys] in that order. Returns false when reading broke off; the
// fall-backs for a broken read are then applied.
bool ReadUserSettings(const IniFile &user, const TWindowMetrics &metrics, TUserSettings &s);
// Writes everything the shutdown writes. False when a write failed; the
// values written before it stay in the file.
bool WriteUserSettings(IniFile &user, const TUserSettings &s);

void LoadHotkeys(const IniFile &user, THotkeys &hotkeys);
bool SaveHotkeys(IniFile &user, const THotkeys &hotkeys);
