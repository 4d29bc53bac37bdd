#include "app/GlobalUnit.h"

#include "appearance/LanguageU.h"

#include <QLocale>
#include <QMessageBox>

#include <climits>
#include <unistd.h>

namespace {

std::string ExecutableFolder()
{
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0)
        return "./";
    std::string path(buf, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/') + 1);
}

std::string &AppPathValue()
{
    static std::string path = ExecutableFolder();
    return path;
}

std::string &CurLngValue()
{
    static std::string code = "eng";
    return code;
}

TMessageBoxHandler &BoxHandler()
{
    static TMessageBoxHandler handler;
    return handler;
}

} // namespace

const std::string &AppPath() { return AppPathValue(); }

void SetAppPath(const std::string &folder)
{
    std::string f = folder.empty() ? "./" : folder;
    if (f.back() != '/')
        f += '/';
    AppPathValue() = f;
}

const std::string &CurLng() { return CurLngValue(); }
void SetCurLng(const std::string &code) { CurLngValue() = code; }

std::string UserIniFileName() { return AppPath() + "User.ini"; }
std::string DefaultIniFileName() { return AppPath() + "Orvane.ini"; }
std::string LanguagePath() { return AppPath() + "Language/"; }
std::string SkinsPath() { return AppPath() + "Skins/"; }
std::string DefaultSkinPath() { return SkinsPath() + "default/"; }
std::string SoundPath() { return AppPath() + "Sound/"; }
std::string DataPath() { return AppPath() + "Data/" + CurLng() + "/"; }
std::string DataFileName() { return DataPath() + "data.dat"; }
std::string UserDataFileName() { return DataPath() + "datauser.dat"; }
std::string CachePath() { return AppPath() + "temp/cache/"; }

std::string LanguageForSystemId(int languageId)
{
    switch (languageId) {
    case 1028: case 3076: case 4100: case 5124:
        return "cht";
    case 2052:
        return "chs";
    default:
        return "eng";
    }
}

int SystemDefaultLanguageId()
{
    // The Windows ids the language choice knows; everything else is English.
    const QLocale locale = QLocale::system();
    if (locale.language() != QLocale::Chinese)
        return 1033;
    if (locale.script() == QLocale::TraditionalChineseScript) {
        switch (locale.territory()) {
        case QLocale::HongKong: return 3076;
        case QLocale::Singapore: return 4100;
        case QLocale::Macau: return 5124;
        default: return 1028;
        }
    }
    switch (locale.territory()) {
    case QLocale::Taiwan: return 1028;
    case QLocale::HongKong: return 3076;
    case QLocale::Macau: return 5124;
    case QLocale::Singapore: return 4100;
    default: return 2052;
    }
}

const std::array<TDefHotkey, HotkeyCount> DefHotkeys = {{
    {"Play", 3, 80, "Play/Pause"},
    {"Stop", 3, 83, "Stop"},
    {"Preview", 3, 37, "Preview"},
    {"Next", 3, 39, "Next"},
    {"Mute", 3, 77, "Mute"},
    {"IncVol", 3, 38, "Increase Volume"},
    {"DecVol", 3, 40, "Decrease Volume"},
    {"Record", 3, 82, "Record"},
    {"HideAll", 3, 72, "Hide All"},
    {"Num1", 3, 97, "Channel 1"},
    {"Num2", 3, 98, "Channel 2"},
    {"Num3", 3, 99, "Channel 3"},
    {"Num4", 3, 100, "Channel 4"},
    {"Num5", 3, 101, "Channel 5"},
    {"Num6", 3, 102, "Channel 6"},
    {"Num7", 3, 103, "Channel 7"},
    {"Num8", 3, 104, "Channel 8"},
    {"Num9", 3, 105, "Channel 9"},
    {"Num0", 3, 96, "Channel 10"},
    {"PageUp", 3, 33, "Previous Page Radios"},
    {"PageDown", 3, 34, "Next Page Radios"},
    {"Clock", 3, 84, "Talking Clock"},
}};

void SetMessageBoxHandler(TMessageBoxHandler handler) { BoxHandler() = std::move(handler); }

namespace {

bool MessageBox(QMessageBox::Icon icon, const std::string &caption, const std::string &text,
                QMessageBox::StandardButtons buttons, QWidget *owner)
{
    if (BoxHandler())
        return BoxHandler()(caption, text);
    QMessageBox box(icon, QString::fromStdString(caption), QString::fromStdString(text), buttons, owner);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

bool AskYesNo(const std::string &text, QWidget *owner)
{
    return MessageBox(QMessageBox::Question, Msg(1), text, QMessageBox::Yes | QMessageBox::No, owner);
}

bool AskYesNoInfo(const std::string &text, QWidget *owner)
{
    return MessageBox(QMessageBox::Information, Msg(2), text, QMessageBox::Yes | QMessageBox::No, owner);
}

void ShowInfo(const std::string &text, QWidget *owner)
{
    MessageBox(QMessageBox::Information, Msg(2), text, QMessageBox::Ok, owner);
}
