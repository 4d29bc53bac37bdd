#pragma once
// Languages: the numbered message table with its English defaults, the
// language files in "Language/" that replace it and the windows' own texts,
// and the switch from one language to another.
//
// A language file is "Language/<code>.ini" in UTF-8. [Info] Language names the
// language, [Strings] "1" to "147" holds the messages, [Font] the windows' font
// and one section per window (named after the window's objectName) its caption
// and its components' texts, each found by the component's objectName.
// A value that is missing, empty or not valid UTF-8 leaves the text it would
// replace as it was.

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class QMenu;
class QObject;
class QWidget;

constexpr int MessageCount = 147;

// Message `key` (1 to 147) of the current language; empty for other keys.
// Safe to call from worker threads.
std::string Msg(int key);
// The English default of message `key`.
std::string DefaultMsg(int key);

// "Language/<code>.ini" in the program folder.
std::string LanguageFileName(const std::string &code);

// One section of a language file, read once. Keys compare without case and
// the first of repeated keys counts, as with the settings file.
class TLanguageSection {
public:
    TLanguageSection(const std::string &fileName, const std::string &section);
    // The value of `key` when it can replace a text: present, not empty and
    // valid UTF-8 (a file saved in a legacy code page fails that test).
    std::optional<std::string> Text(const std::string &key) const;
    // The file holds the section (a missing file holds none).
    bool Exists() const { return exists_; }

private:
    bool exists_;
    std::unordered_map<std::string, std::string> values_;
};

// Replaces messages from [Strings] of the current language's file; keys the
// file lacks keep their texts. False when the file has no [Strings].
bool LoadMessageTable();

// The language code to start with: [Language] CurLng of the settings file, or
// the code for the system language when that is empty or no plain file name.
std::string StartLanguage(const std::string &userIniFileName, int systemLanguageId);
// Sets CurLng for this run (settings file, else system language) and loads
// its messages. Call once at start, before any window uses a message.
void InitLanguage();

// One entry of the "&Language" menu.
struct TLanguageEntry {
    std::string Caption; // [Info] Language
    std::string Code;    // file name without extension
    bool Checked;        // the current language
};
// The languages offered in `folder`: every "*.ini" file (any case, names
// beginning with "." skipped) with a [Info] Language, in directory order.
std::vector<TLanguageEntry> ListLanguages(const std::string &folder, const std::string &currentCode);

// ---- Windows ------------------------------------------------------------
// A window sets its English texts and the objectNames of itself and of its
// components in its constructor, then calls AddTranslatedWindow(this): it is
// translated now and after every language switch for as long as it lives.

// Applies the current language file to one window: [Font], the caption and
// its named components. False when the window has no name or the file has
// no section for it (the font is set all the same).
bool TranslateWindow(QWidget *window);
// Translates `window` now and again on each language switch while it lives.
void AddTranslatedWindow(QWidget *window);

// Makes `code` current: CurLng, the message table and every translated window
// follow, then the switch handlers run. Does nothing and returns false when
// `code` is already current (compared with case).
bool SwitchLanguage(const std::string &code);
// Runs `handler` after each language switch for as long as `context` lives.
void OnLanguageSwitched(QObject *context, std::function<void()> handler);

// Rebuilds `menu` with one checkable entry per language of LanguagePath();
// picking an entry switches to that language.
void FillLanguageMenu(QMenu *menu);
