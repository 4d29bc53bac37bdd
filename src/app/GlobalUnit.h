#pragma once
// Paths of the program folder, the current language code, the default hotkey
// table and the two message boxes every window shares.

#include <array>
#include <functional>
#include <string>

class QWidget;

// The program folder: the folder of the running executable, ending in "/".
const std::string &AppPath();
// Points every path at another program folder (a test's temporary copy).
void SetAppPath(const std::string &folder);

// The current language code ("eng", "chs", ...). Data paths follow it.
const std::string &CurLng();
void SetCurLng(const std::string &code);

std::string UserIniFileName();    // "User.ini"
std::string DefaultIniFileName(); // "Orvane.ini"
std::string LanguagePath();       // "Language/"
std::string SkinsPath();          // "Skins/"
std::string DefaultSkinPath();    // "Skins/default/"
std::string SoundPath();          // "Sound/"
std::string DataPath();           // "Data/<CurLng>/"
std::string DataFileName();       // "Data/<CurLng>/data.dat"
std::string UserDataFileName();   // "Data/<CurLng>/datauser.dat"
std::string CachePath();          // "temp/cache/"

// Language code for a system language id when the settings name none.
std::string LanguageForSystemId(int languageId);
// The system's language as a Windows language id (from the locale).
int SystemDefaultLanguageId();

// One global hotkey of the default table.
struct TDefHotkey {
    const char *Name;    // key in [Hotkeys]
    int Modifiers;       // 1 Alt, 2 Ctrl, 4 Shift
    int Key;             // virtual key code
    const char *Caption; // the options dialog's "Action" column
};
constexpr int HotkeyCount = 22;
extern const std::array<TDefHotkey, HotkeyCount> DefHotkeys;

// Message boxes captioned "Question" / "Information" from the message table.
bool AskYesNo(const std::string &text, QWidget *owner = nullptr);
void ShowInfo(const std::string &text, QWidget *owner = nullptr);
// A Yes/No question in an "Information" box (the upgrade offer).
bool AskYesNoInfo(const std::string &text, QWidget *owner = nullptr);

// Tests and headless runs answer the boxes instead of a user: the handler gets
// the caption and text and returns the answer (ignored for ShowInfo).
using TMessageBoxHandler = std::function<bool(const std::string &caption, const std::string &text)>;
void SetMessageBoxHandler(TMessageBoxHandler handler);
