#include "appearance/LanguageU.h"

#include "app/GlobalUnit.h"
#include "platform/IniFile.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>
#include <mutex>

namespace {

const std::array<const char *, MessageCount> DefaultMessages = {
    /*   1 */ "Question",
    /*   2 */ "Information",
    /*   3 */ "Page Up Radio",
    /*   4 */ "Page Down Radio",
    /*   5 */ "Open Main Menu",
    /*   6 */ "Minimize/Hide Window",
    /*   7 */ "Exit %s",
    /*   8 */ "Start Record",
    /*   9 */ "Stop Record",
    /*  10 */ "Open Radio Menu",
    /*  11 */ "Hide PlayList",
    /*  12 */ "Show PlayList",
    /*  13 */ "Cancel Mute",
    /*  14 */ "Mute",
    /*  15 */ "Previous",
    /*  16 */ "Stop",
    /*  17 */ "Pause",
    /*  18 */ "Play",
    /*  19 */ "Next",
    /*  20 */ "Increase Volume",
    /*  21 */ "Decrease Volume",
    /*  22 */ "About %s",
    /*  23 */ "<< Get more skins! >>",
    /*  24 */ "Equation:%d%%Left",
    /*  25 */ "Equation:%d%%Right",
    /*  26 */ "Equation:Center",
    /*  27 */ "Volume:%d%%",
    /*  28 */ "Really Exit %s?",
    /*  29 */ "Select Play Directory:",
    /*  30 */ "Waiting...",
    /*  31 */ "Locating...",
    /*  32 */ "Connecting...",
    /*  33 */ "Opening...",
    /*  34 */ "Playing",
    /*  35 */ "Stopped",
    /*  36 */ "Paused",
    /*  37 */ "Title:",
    /*  38 */ "Author:",
    /*  39 */ "Copyright:",
    /*  40 */ "Length:",
    /*  41 */ "File Name:",
    /*  42 */ "Buffering",
    /*  43 */ "Volume Tune",
    /*  44 */ "Trcack Equation Tune",
    /*  45 */ "Play Guage",
    /*  46 */ "Switch to Music Mode",
    /*  47 */ "Switch to Radio Mode",
    /*  48 */ "Open Website",
    /*  49 */ "The Voice Clock",
    /*  50 */ "All Files",
    /*  51 */ "Bulletin",
    /*  52 */ "You must upgrade to the new version: %s",
    /*  53 */ "Data have been updated to %s.",
    /*  54 */ "You already have the latest data.",
    /*  55 */ "Errors in updating.",
    /*  56 */ "Really Delete \"%s\" ?",
    /*  57 */ "Cannot Find",
    /*  58 */ "Export Data",
    /*  59 */ "Import Data",
    /*  60 */ "Import Previous Data",
    /*  61 */ "Select Previous Data Directory:",
    /*  62 */ "Successfully done, Congratulations!",
    /*  63 */ "Radio Tree be changed, want to save?",
    /*  64 */ "Update mode - YES, Append mode - NO",
    /*  65 */ "Name :",
    /*  66 */ "Genre :",
    /*  67 */ "Language :",
    /*  68 */ "Place :",
    /*  69 */ "Format :",
    /*  70 */ "Speed :",
    /*  71 */ "Validity :",
    /*  72 */ "StreamURL :",
    /*  73 */ "Homepage :",
    /*  74 */ "Schedule :",
    /*  75 */ "Proxy :",
    /*  76 */ "Frequency :",
    /*  77 */ "Auto",
    /*  78 */ "RP",
    /*  79 */ "WMP",
    /*  80 */ "WMP6",
    /*  81 */ "WMP9",
    /*  82 */ "Bad",
    /*  83 */ "Good",
    /*  84 */ "Better",
    /*  85 */ "Best",
    /*  86 */ "Unknown",
    /*  87 */ "Executing a task, really want to abort?",
    /*  88 */ "-Good",
    /*  89 */ "-Bad",
    /*  90 */ "Done!",
    /*  91 */ "Continue",
    /*  92 */ "Testing",
    /*  93 */ "&Simple",
    /*  94 */ "&More",
    /*  95 */ "Local time:",
    /*  96 */ "Standard time:",
    /*  97 */ "Already corrected your computer time!",
    /*  98 */ "Error in setting system time.",
    /*  99 */ "Recorder",
    /* 100 */ "Recording",
    /* 101 */ "Wave Files",
    /* 102 */ "MP3 Audio Files",
    /* 103 */ "Save Guage:",
    /* 104 */ "Save Location:",
    /* 105 */ "Executing a task, really want to exit?",
    /* 106 */ "Bit",
    /* 107 */ "Mono",
    /* 108 */ "Stereo",
    /* 109 */ "Phone Quality",
    /* 110 */ "FM Quality",
    /* 111 */ "CD Quality,Commend",
    /* 112 */ "Please Select Save Directory:",
    /* 113 */ "Really Delete any temporary record files?",
    /* 114 */ "Please inpute Station Name.",
    /* 115 */ "It has existed, want to append a new record?",
    /* 116 */ "Sorry, you have not filled in Streaming URL.",
    /* 117 */ "Have succeeded in sending, thanks!",
    /* 118 */ "Sending failure, send to Email:%s?",
    /* 119 */ "Sorry, you have filled in nothing.",
    /* 120 */ "Yes",
    /* 121 */ "No",
    /* 122 */ "Joint-Stereo",
    /* 123 */ "Dual-Channel",
    /* 124 */ "Single-Channel",
    /* 125 */ "Size: %d bytes",
    /* 126 */ "Length: %d seconds",
    /* 127 */ "MPEG %s layer %d",
    /* 128 */ "%d kbit, %d frames",
    /* 129 */ "%d Hz %s",
    /* 130 */ "CRCs: %s",
    /* 131 */ "Copyrighted: %s",
    /* 132 */ "Original: %s",
    /* 133 */ "Encoder: %s",
    /* 134 */ "Text Files",
    /* 135 */ "Playlist Files",
    /* 136 */ "Real Media Files",
    /* 137 */ "Windows Media Files",
    /* 138 */ "Stereo Mix",
    /* 139 */ "Microphone",
    /* 140 */ "Please install Realplayer",
    /* 141 */ "Upgrade to the newer version : %s",
    /* 142 */ "Upgrade to %s",
    /* 143 */ "Downloading the audio files, please try again later",
    /* 144 */ "You already have the latest version(%s) of Orvane.",
    /* 145 */ "Manually update data",
    /* 146 */ "Flash.ocx does not match, will download flash.ocx, please wait a minute and try again.",
    /* 147 */ "Load flash object fails, will download flash.ocx, please wait a minute and try again.",
};

struct TMessageTable {
    TMessageTable() { std::copy(DefaultMessages.begin(), DefaultMessages.end(), Texts.begin()); }
    std::mutex Lock; // workers format messages while the GUI thread may switch
    std::array<std::string, MessageCount> Texts;
};

TMessageTable &Messages()
{
    static TMessageTable table;
    return table;
}

std::string AsciiLower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

bool EqualNoCase(const std::string &a, const std::string &b) { return AsciiLower(a) == AsciiLower(b); }

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const std::string &s)
{
    struct TLead {
        unsigned char Mask, Bits; // lead byte & Mask == Bits
        int Follow;               // continuation bytes after it
        char32_t Least;           // smallest code point of that length
    };
    static constexpr TLead Leads[] = {{0xE0, 0xC0, 1, 0x80}, {0xF0, 0xE0, 2, 0x800}, {0xF8, 0xF0, 3, 0x10000}};

    const auto *p = reinterpret_cast<const unsigned char *>(s.data());
    const auto *end = p + s.size();
    while (p < end) {
        const unsigned char c = *p++;
        if (c < 0x80)
            continue;
        const TLead *lead = std::find_if(std::begin(Leads), std::end(Leads),
                                         [c](const TLead &l) { return (c & l.Mask) == l.Bits; });
        if (lead == std::end(Leads) || end - p < lead->Follow)
            return false;
        char32_t cp = c & static_cast<unsigned char>(~lead->Mask);
        for (int i = 0; i < lead->Follow; ++i, ++p) {
            if ((*p & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (*p & 0x3F);
        }
        if (cp < lead->Least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
    }
    return true;
}

bool IsRegularFile(const std::string &path)
{
    struct stat st{};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// A code names files and folders under the program folder: it must stay there.
bool IsPlainFileName(const std::string &code)
{
    return !code.empty() && code != "." && code != ".." && code.find_first_of("/\\") == std::string::npos;
}

} // namespace

std::string Msg(int key)
{
    if (key < 1 || key > MessageCount)
        return {};
    TMessageTable &table = Messages();
    std::lock_guard<std::mutex> guard(table.Lock);
    return table.Texts[key - 1];
}

std::string DefaultMsg(int key)
{
    if (key < 1 || key > MessageCount)
        return {};
    return DefaultMessages[key - 1];
}

std::string LanguageFileName(const std::string &code) { return LanguagePath() + code + ".ini"; }

TLanguageSection::TLanguageSection(const std::string &fileName, const std::string &section)
{
    const IniFile file(fileName);
    exists_ = file.SectionExists(section);
    for (auto &[key, value] : file.ReadSectionValues(section))
        values_.emplace(AsciiLower(key), std::move(value));
}

std::optional<std::string> TLanguageSection::Text(const std::string &key) const
{
    const auto it = values_.find(AsciiLower(key));
    if (it == values_.end() || it->second.empty() || !IsValidUtf8(it->second))
        return std::nullopt;
    return it->second;
}

bool LoadMessageTable()
{
    const TLanguageSection strings(LanguageFileName(CurLng()), "Strings");
    if (!strings.Exists())
        return false;
    TMessageTable &table = Messages();
    std::lock_guard<std::mutex> guard(table.Lock);
    for (int key = 1; key <= MessageCount; ++key) {
        if (auto text = strings.Text(std::to_string(key)))
            table.Texts[key - 1] = std::move(*text);
    }
    return true;
}

std::string StartLanguage(const std::string &userIniFileName, int systemLanguageId)
{
    const std::string code = IniFile(userIniFileName).ReadString("Language", "CurLng", "");
    return IsPlainFileName(code) ? code : LanguageForSystemId(systemLanguageId);
}

void InitLanguage()
{
    SetCurLng(StartLanguage(UserIniFileName(), SystemDefaultLanguageId()));
    LoadMessageTable();
}

std::vector<TLanguageEntry> ListLanguages(const std::string &folder, const std::string &currentCode)
{
    std::vector<TLanguageEntry> entries;
    DIR *dir = opendir(folder.c_str());
    if (!dir)
        return entries;
    const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    while (const dirent *e = readdir(dir)) {
        const std::string name = e->d_name;
        const size_t dot = name.rfind('.');
        if (name.front() == '.' || dot == std::string::npos || !EqualNoCase(name.substr(dot), ".ini") ||
            !IsRegularFile(base + name))
            continue;
        if (auto caption = TLanguageSection(base + name, "Info").Text("Language")) {
            std::string code = name.substr(0, dot);
            const bool checked = EqualNoCase(code, currentCode);
            entries.push_back({std::move(*caption), std::move(code), checked});
        }
    }
    closedir(dir);
    return entries;
}
