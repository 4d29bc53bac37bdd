#pragma once
// Settings files with the behaviour of the Windows profile functions: section
// and key names compare case-insensitively, a value is the text after "="
// (blanks trimmed), a missing file reads as defaults and a write creates it.
// Every call is one access: reads parse the file, writes rewrite it through a
// temporary file and a rename, so a crash never leaves half a file. Calls from
// different threads are serialised, so a worker may write one section while
// the GUI thread writes another.

#include <string>
#include <utility>
#include <vector>

class IniFile {
public:
    explicit IniFile(std::string fileName);

    const std::string &FileName() const { return fileName_; }

    std::string ReadString(const std::string &section, const std::string &key, const std::string &def) const;
    int ReadInteger(const std::string &section, const std::string &key, int def) const;
    bool ReadBool(const std::string &section, const std::string &key, bool def) const;
    // A time of day as a fraction of a day, stored as "H:MM:SS".
    double ReadTime(const std::string &section, const std::string &key, double def) const;

    bool WriteString(const std::string &section, const std::string &key, const std::string &value);
    bool WriteInteger(const std::string &section, const std::string &key, int value);
    bool WriteBool(const std::string &section, const std::string &key, bool value);
    bool WriteTime(const std::string &section, const std::string &key, double value);

    bool SectionExists(const std::string &section) const;
    bool ValueExists(const std::string &section, const std::string &key) const;
    // Keys of a section in file order.
    std::vector<std::string> ReadSection(const std::string &section) const;
    // Key/value pairs of a section in file order.
    std::vector<std::pair<std::string, std::string>> ReadSectionValues(const std::string &section) const;

    bool DeleteKey(const std::string &section, const std::string &key);
    bool EraseSection(const std::string &section);

private:
    std::string fileName_;
};

// Integer parsing shared by the settings readers: decimal with an optional
// sign and surrounding blanks; false for anything else or out of range.
bool ParseInt(const std::string &text, int &value);
// "H:MM:SS" (or "H:MM") to a fraction of a day; false when unreadable.
bool ParseTimeOfDay(const std::string &text, double &value);
std::string FormatTimeOfDay(double value);
