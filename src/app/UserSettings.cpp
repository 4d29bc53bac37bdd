#include "app/UserSettings.h"

#include "platform/IniFile.h"

#include <algorithm>
#include <stdexcept>

namespace {

// Writes stop at the first failure, as the file must never claim more than it holds.
class Writer {
public:
    explicit Writer(IniFile &ini) : ini_(ini) {}
    void Str(const char *section, const char *key, const std::string &v)
    {
        if (!ini_.WriteString(section, key, v))
            throw std::runtime_error("write failed");
    }
    void Int(const char *section, const char *key, int v) { Str(section, key, std::to_string(v)); }
    void Bool(const char *section, const char *key, bool v) { Str(section, key, v ? "1" : "0"); }
    void Time(const char *section, const char *key, double v) { Str(section, key, FormatTimeOfDay(v)); }

private:
    IniFile &ini_;
};

void ReadOptions(const IniFile &u, TUserSettings &s)
{
    const char *o = "Options";
    s.AlwaysOnTop = u.ReadBool(o, "AlwaysOnTop", s.AlwaysOnTop);
    s.TimingShutDown = u.ReadBool(o, "TimingShutDown", s.TimingShutDown);
    s.ShutDownTime = u.ReadTime(o, "ShutDownTime", s.ShutDownTime);
    s.EnabledHotkeys = u.ReadBool(o, "EnabledHotkeys", s.EnabledHotkeys);
    s.Reconnect = u.ReadBool(o, "Reconnect", s.Reconnect);
    s.RetryNum = u.ReadInteger(o, "RetryNum", s.RetryNum);
    s.RetryDelay = u.ReadInteger(o, "RetryDelay", s.RetryDelay);
    s.ShowHint = u.ReadBool(o, "ShowHint", s.ShowHint);
    s.EnableSound = u.ReadBool(o, "EnableSound", s.EnableSound);
    s.AutoUpdate = u.ReadBool(o, "AutoUpdate", s.AutoUpdate);
    s.AutoPlay = u.ReadBool(o, "AutoPlay", s.AutoPlay);
    s.AutoHide = u.ReadBool(o, "AutoHide", s.AutoHide);
    s.VideoFormVisible = u.ReadBool(o, "VideoFormVisible", s.VideoFormVisible);
    s.TrayIconVisible = u.ReadBool(o, "TrayIconVisible", s.TrayIconVisible);
    s.TrayClickTree = u.ReadBool(o, "TrayClickTree", s.TrayClickTree);
    s.EnabledAnimate = u.ReadBool(o, "EnabledAnimate", s.EnabledAnimate);
    s.TimingPlay = u.ReadBool(o, "TimingPlay", s.TimingPlay);
    s.TimingPlayTime = u.ReadTime(o, "TimingPlayTime", s.TimingPlayTime);
    s.TimingRecord = u.ReadBool(o, "TimingRecord", s.TimingRecord);
    s.TimingRecordStartTime = u.ReadTime(o, "TimingRecordStartTime", s.TimingRecordStartTime);
    s.TimingRecordEndTime = u.ReadTime(o, "TimingRecordEndTime", s.TimingRecordEndTime);
    s.AutoTalkClock = u.ReadBool(o, "AutoTalkClock", s.AutoTalkClock);
    s.TalkClockInterval = u.ReadInteger(o, "TalkClockInterval", s.TalkClockInterval);
    s.MuteTalkClock = u.ReadBool(o, "MuteTalkClock", s.MuteTalkClock);
    s.NotShowCloseForm = u.ReadBool(o, "NotShowCloseForm", s.NotShowCloseForm);
    if (u.ValueExists(o, "CloseToTray"))
        s.CloseToTray = u.ReadBool(o, "CloseToTray", s.CloseToTray);
}

void WriteOptions(IniFile &u, Writer &w, const TUserSettings &s)
{
    const char *o = "Options";
    w.Bool(o, "AlwaysOnTop", s.AlwaysOnTop);
    w.Bool(o, "TimingShutDown", s.TimingShutDown);
    w.Time(o, "ShutDownTime", s.ShutDownTime);
    w.Bool(o, "EnabledHotkeys", s.EnabledHotkeys);
    w.Bool(o, "Reconnect", s.Reconnect);
    w.Int(o, "RetryNum", s.RetryNum);
    w.Int(o, "RetryDelay", s.RetryDelay);
    w.Bool(o, "ShowHint", s.ShowHint);
    w.Bool(o, "EnableSound", s.EnableSound);
    w.Bool(o, "AutoUpdate", s.AutoUpdate);
    w.Bool(o, "AutoPlay", s.AutoPlay);
    w.Bool(o, "AutoHide", s.AutoHide);
    w.Bool(o, "VideoFormVisible", s.VideoFormVisible);
    w.Bool(o, "TrayIconVisible", s.TrayIconVisible);
    w.Bool(o, "TrayClickTree", s.TrayClickTree);
    w.Bool(o, "EnabledAnimate", s.EnabledAnimate);
    w.Bool(o, "TimingPlay", s.TimingPlay);
    w.Time(o, "TimingPlayTime", s.TimingPlayTime);
    w.Bool(o, "TimingRecord", s.TimingRecord);
    w.Time(o, "TimingRecordStartTime", s.TimingRecordStartTime);
    w.Time(o, "TimingRecordEndTime", s.TimingRecordEndTime);
    w.Bool(o, "AutoTalkClock", s.AutoTalkClock);
    w.Int(o, "TalkClockInterval", s.TalkClockInterval);
    w.Bool(o, "MuteTalkClock", s.MuteTalkClock);
    w.Bool(o, "NotShowCloseForm", s.NotShowCloseForm);
    // Absent means true; keep it absent while the user keeps that default.
    if (u.ReadBool(o, "CloseToTray", true) != s.CloseToTray)
        w.Bool(o, "CloseToTray", s.CloseToTray);
}

} // namespace

THotkeys DefaultHotkeys()
{
    THotkeys h;
    for (int i = 0; i < HotkeyCount; ++i)
        h[i] = {DefHotkeys[i].Modifiers, DefHotkeys[i].Key, 0};
    return h;
}

TChannelEntry DecodeChannel(const std::string &value)
{
    TChannelEntry e;
    const size_t dash = value.find('-');
    const std::string id = value.substr(0, dash);
    if (!ParseInt(id, e.ID))
        e.ID = 0;
    if (dash != std::string::npos)
        e.Name = value.substr(dash + 1);
    return e;
}

std::string EncodeChannel(int id, const std::string &name) { return std::to_string(id) + "-" + name; }

TUserUrl DecodeCurUserUrl(const std::string &value)
{
    TUserUrl u;
    const size_t first = value.find(',');
    if (first == std::string::npos) {
        u.Address = value;
        return u;
    }
    if (first == 1) {
        u.Kind = value[0];
        const size_t second = value.find(',', first + 1);
        u.Address = value.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
        return u;
    }
    u.Address = value.substr(0, first);
    return u;
}

std::string EncodeCurUserUrl(const TUserUrl &url)
{
    if (url.Address.empty())
        return {};
    return std::string(1, url.Kind) + "," + url.Address;
}

void SeedPackageVersions(IniFile &user, const IniFile &shipped, const std::string &lng)
{
    for (const std::string &key : {"data_" + lng, std::string("bin"), std::string("dll"), std::string("sound")}) {
        if (!user.ValueExists("Update", key))
            user.WriteString("Update", key, shipped.ReadString("Update", key, ""));
    }
}

void LoadHotkeys(const IniFile &user, THotkeys &hotkeys)
{
    for (int i = 0; i < HotkeyCount; ++i) {
        const TDefHotkey &d = DefHotkeys[i];
        const std::string value = user.ReadString("Hotkeys", d.Name, "");
        THotkey &h = hotkeys[i];
        h.Id = 0;
        if (value.empty() && user.ValueExists("Hotkeys", d.Name))
            continue; // deliberately cleared by the user
        const size_t comma = value.find(',');
        const std::string mods = value.substr(0, comma);
        const std::string key = comma == std::string::npos ? std::string() : value.substr(comma + 1);
        if (!ParseInt(mods, h.Modifiers))
            h.Modifiers = d.Modifiers;
        if (!ParseInt(key, h.Key))
            h.Key = d.Key;
    }
}

bool SaveHotkeys(IniFile &user, const THotkeys &hotkeys)
{
    for (int i = 0; i < HotkeyCount; ++i) {
        const std::string v = std::to_string(hotkeys[i].Modifiers) + "," + std::to_string(hotkeys[i].Key);
        if (!user.WriteString("Hotkeys", DefHotkeys[i].Name, v))
            return false;
    }
    return true;
}

bool ReadUserSettings(const IniFile &u, const TWindowMetrics &m, TUserSettings &s)
{
    try {
        const char *p = "Player";
        s.RootNodeIndex = u.ReadInteger(p, "RootNodeIndex", -1);
        s.SelectNodeIndex = u.ReadInteger(p, "SelectNodeIndex", -1);
        s.SelectItemIndex = u.ReadInteger(p, "SelectItemIndex", 0);
        s.CurPlayID = u.ReadInteger(p, "CurPlayID", 0);
        s.CurUserUrl = DecodeCurUserUrl(u.ReadString(p, "CurUserUrl", ""));
        s.Volume = std::clamp(u.ReadInteger(p, "Volume", s.Volume), 0, 100);
        s.Balance = std::clamp(u.ReadInteger(p, "Balance", s.Balance), -100, 100);

        ReadOptions(u, s);

        // The main window and a list window of the same width side by side are
        // centred; on a screen too small for both the main window stays on it.
        s.MainLeft = u.ReadInteger("frmMain", "Left", std::max(0, (m.WorkAreaWidth - 2 * m.MainWidth) / 2));
        s.MainTop = u.ReadInteger("frmMain", "Top", std::max(0, (m.WorkAreaHeight - m.MainHeight) / 2));

        s.SkinName = u.ReadString("Skin", "SkinName", "Default");

        const char *l = "frmPlayList";
        s.ListLeft = u.ReadInteger(l, "Left", s.MainLeft + m.MainWidth);
        s.ListTop = u.ReadInteger(l, "Top", s.MainTop);
        s.ListWidth = u.ReadInteger(l, "Width", m.MainWidth + 30);
        s.ListHeight = u.ReadInteger(l, "Height", m.MainHeight);
        s.ListVisible = u.ReadBool(l, "Visible", true);
        s.TreeVisible = u.ReadBool(l, "TreeVisible", true);
        s.ClickMode = u.ReadBool(l, "ClickMode", true);

        LoadHotkeys(u, s.Hotkeys);
        return true;
    } catch (...) {
        s.SelectItemIndex = 0;
        s.ListVisible = true;
        s.TreeVisible = true;
        s.RootNodeIndex = -1;
        s.SelectNodeIndex = -1;
        return false;
    }
}

bool WriteUserSettings(IniFile &u, const TUserSettings &s)
{
    Writer w(u);
    try {
        w.Int("frmMain", "Left", s.MainLeft);
        w.Int("frmMain", "Top", s.MainTop);
        const char *l = "frmPlayList";
        w.Int(l, "Left", s.ListLeft);
        w.Int(l, "Top", s.ListTop);
        w.Int(l, "Width", s.ListWidth);
        w.Int(l, "Height", s.ListHeight);
        w.Bool(l, "Visible", s.ListVisible);
        w.Bool(l, "TreeVisible", s.TreeVisible);
        w.Bool(l, "ClickMode", s.ClickMode);

        const char *p = "Player";
        w.Int(p, "RootNodeIndex", s.RootNodeIndex);
        w.Int(p, "SelectNodeIndex", s.SelectNodeIndex);
        w.Int(p, "SelectItemIndex", s.SelectItemIndex);
        w.Int(p, "CurPlayID", s.CurPlayID);
        if (s.CurPlayID == 0)
            w.Str(p, "CurUserUrl", EncodeCurUserUrl(s.CurUserUrl));
        w.Int(p, "Volume", s.Volume);
        w.Int(p, "Balance", s.Balance);

        WriteOptions(u, w, s);

        w.Str("Skin", "SkinName", s.SkinName);
        w.Str("Language", "CurLng", s.CurLng);
        if (!SaveHotkeys(u, s.Hotkeys))
            return false;
        return true;
    } catch (...) {
        return false;
    }
}
