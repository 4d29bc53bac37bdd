#include "platform/IniFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>

namespace {

std::mutex &FileLock()
{
    static std::mutex lock;
    return lock;
}


std::string Trim(const std::string &s)
{
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool EqualNoCase(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x < 128 && y < 128) {
            if (std::tolower(x) != std::tolower(y))
                return false;
        } else if (x != y) {
            return false;
        }
    }
    return true;
}

// Lines of the file without their line breaks; any of CR LF, LF or CR ends a line.
std::vector<std::string> ReadLines(const std::string &fileName, bool *exists = nullptr)
{
    std::vector<std::string> lines;
    std::ifstream in(fileName, std::ios::binary);
    if (exists)
        *exists = static_cast<bool>(in);
    if (!in)
        return lines;
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string data = ss.str();
    std::string cur;
    for (size_t i = 0; i < data.size(); ++i) {
        char c = data[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(cur);
            cur.clear();
            if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n')
                ++i;
        } else {
            cur += c;
        }
    }
    if (!cur.empty())
        lines.push_back(cur);
    return lines;
}

bool IsSectionLine(const std::string &line, std::string &name)
{
    std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[')
        return false;
    size_t close = t.find(']');
    if (close == std::string::npos)
        return false;
    name = Trim(t.substr(1, close - 1));
    return true;
}

bool IsKeyLine(const std::string &line, std::string &key, std::string &value)
{
    std::string t = Trim(line);
    if (t.empty() || t[0] == ';')
        return false;
    size_t eq = t.find('=');
    if (eq == std::string::npos)
        return false;
    key = Trim(t.substr(0, eq));
    value = Trim(t.substr(eq + 1));
    // The profile functions drop one pair of enclosing quotes.
    if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                              (value.front() == '\'' && value.back() == '\'')))
        value = value.substr(1, value.size() - 2);
    return !key.empty();
}

// Range [begin, end) of the lines after the first header of the section;
// begin == npos when the section is missing.
std::pair<size_t, size_t> FindSection(const std::vector<std::string> &lines, const std::string &section)
{
    size_t begin = std::string::npos;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string name;
        if (!IsSectionLine(lines[i], name))
            continue;
        if (begin != std::string::npos)
            return {begin, i};
        if (EqualNoCase(name, section))
            begin = i + 1;
    }
    return {begin, lines.size()};
}

bool IsReadOnly(const std::string &fileName)
{
    struct stat st{};
    if (stat(fileName.c_str(), &st) != 0)
        return false;
    // The owner write bit is the read-only attribute; root would pass access(W_OK).
    return (st.st_mode & S_IWUSR) == 0;
}

bool WriteLinesAtomically(const std::string &fileName, const std::vector<std::string> &lines)
{
    if (IsReadOnly(fileName))
        return false;
    static std::atomic<unsigned> counter{0};
    const std::string tmp = fileName + ".tmp" + std::to_string(getpid()) + "_" + std::to_string(counter++);
    FILE *f = std::fopen(tmp.c_str(), "wb");
    if (!f)
        return false;
    bool ok = true;
    for (const std::string &l : lines) {
        if (std::fwrite(l.data(), 1, l.size(), f) != l.size() || std::fwrite("\r\n", 1, 2, f) != 2) {
            ok = false;
            break;
        }
    }
    // No fsync: a settings save is some seventy single-value writes, and the
    // rename already keeps a crashed process from leaving half a file.
    ok = (std::fflush(f) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (ok) {
        struct stat st{};
        if (stat(fileName.c_str(), &st) == 0)
            chmod(tmp.c_str(), st.st_mode & 07777);
        ok = std::rename(tmp.c_str(), fileName.c_str()) == 0;
    }
    if (!ok)
        std::remove(tmp.c_str());
    return ok;
}

} // namespace

bool ParseInt(const std::string &text, int &value)
{
    std::string t = Trim(text);
    if (!t.empty() && t[0] == '+')
        t.erase(0, 1);
    if (t.empty())
        return false;
    int v = 0;
    auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || ptr != t.data() + t.size())
        return false;
    value = v;
    return true;
}

bool ParseTimeOfDay(const std::string &text, double &value)
{
    int parts[3] = {0, 0, 0};
    int count = 0;
    std::string t = Trim(text);
    size_t pos = 0;
    while (count < 3) {
        size_t colon = t.find(':', pos);
        std::string part = t.substr(pos, colon == std::string::npos ? std::string::npos : colon - pos);
        if (part.empty() || part.find_first_not_of("0123456789") != std::string::npos || part.size() > 2)
            return false;
        parts[count++] = std::stoi(part);
        if (colon == std::string::npos)
            break;
        pos = colon + 1;
        if (count == 3)
            return false;
    }
    if (count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59)
        return false;
    value = (parts[0] * 3600 + parts[1] * 60 + parts[2]) / 86400.0;
    return true;
}

std::string FormatTimeOfDay(double value)
{
    double frac = value - std::floor(value);
    long secs = std::lround(frac * 86400.0) % 86400;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%ld:%02ld:%02ld", secs / 3600, (secs / 60) % 60, secs % 60);
    return buf;
}

IniFile::IniFile(std::string fileName) : fileName_(std::move(fileName)) {}

std::string IniFile::ReadString(const std::string &section, const std::string &key, const std::string &def) const
{
    std::lock_guard<std::mutex> guard(FileLock());
    const auto lines = ReadLines(fileName_);
    auto [b, e] = FindSection(lines, section);
    if (b == std::string::npos)
        return def;
    for (size_t i = b; i < e; ++i) {
        std::string k, v;
        if (IsKeyLine(lines[i], k, v) && EqualNoCase(k, key))
            return v;
    }
    return def;
}

int IniFile::ReadInteger(const std::string &section, const std::string &key, int def) const
{
    int v = def;
    return ParseInt(ReadString(section, key, ""), v) ? v : def;
}

bool IniFile::ReadBool(const std::string &section, const std::string &key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double IniFile::ReadTime(const std::string &section, const std::string &key, double def) const
{
    double v = def;
    return ParseTimeOfDay(ReadString(section, key, ""), v) ? v : def;
}

bool IniFile::WriteString(const std::string &section, const std::string &key, const std::string &value)
{
    std::lock_guard<std::mutex> guard(FileLock());
    auto lines = ReadLines(fileName_);
    const std::string entry = key + "=" + value;
    auto [b, e] = FindSection(lines, section);
    if (b == std::string::npos) {
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
        return WriteLinesAtomically(fileName_, lines);
    }
    size_t insertAt = b;
    for (size_t i = b; i < e; ++i) {
        std::string k, v;
        if (IsKeyLine(lines[i], k, v) && EqualNoCase(k, key)) {
            lines[i] = entry;
            return WriteLinesAtomically(fileName_, lines);
        }
        if (!Trim(lines[i]).empty())
            insertAt = i + 1;
    }
    lines.insert(lines.begin() + static_cast<long>(insertAt), entry);
    return WriteLinesAtomically(fileName_, lines);
}

bool IniFile::WriteInteger(const std::string &section, const std::string &key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteBool(const std::string &section, const std::string &key, bool value)
{
    return WriteString(section, key, value ? "1" : "0");
}

bool IniFile::WriteTime(const std::string &section, const std::string &key, double value)
{
    return WriteString(section, key, FormatTimeOfDay(value));
}

bool IniFile::SectionExists(const std::string &section) const
{
    std::lock_guard<std::mutex> guard(FileLock());
    return FindSection(ReadLines(fileName_), section).first != std::string::npos;
}

bool IniFile::ValueExists(const std::string &section, const std::string &key) const
{
    for (const auto &k : ReadSection(section))
        if (EqualNoCase(k, key))
            return true;
    return false;
}

std::vector<std::string> IniFile::ReadSection(const std::string &section) const
{
    std::vector<std::string> keys;
    for (auto &kv : ReadSectionValues(section))
        keys.push_back(kv.first);
    return keys;
}

std::vector<std::pair<std::string, std::string>> IniFile::ReadSectionValues(const std::string &section) const
{
    std::lock_guard<std::mutex> guard(FileLock());
    std::vector<std::pair<std::string, std::string>> values;
    const auto lines = ReadLines(fileName_);
    auto [b, e] = FindSection(lines, section);
    if (b == std::string::npos)
        return values;
    for (size_t i = b; i < e; ++i) {
        std::string k, v;
        if (IsKeyLine(lines[i], k, v))
            values.emplace_back(k, v);
    }
    return values;
}

bool IniFile::DeleteKey(const std::string &section, const std::string &key)
{
    std::lock_guard<std::mutex> guard(FileLock());
    auto lines = ReadLines(fileName_);
    auto [b, e] = FindSection(lines, section);
    if (b == std::string::npos)
        return true;
    for (size_t i = b; i < e; ++i) {
        std::string k, v;
        if (IsKeyLine(lines[i], k, v) && EqualNoCase(k, key)) {
            lines.erase(lines.begin() + static_cast<long>(i));
            return WriteLinesAtomically(fileName_, lines);
        }
    }
    return true;
}

bool IniFile::EraseSection(const std::string &section)
{
    std::lock_guard<std::mutex> guard(FileLock());
    auto lines = ReadLines(fileName_);
    auto [b, e] = FindSection(lines, section);
    if (b == std::string::npos)
        return true;
    lines.erase(lines.begin() + static_cast<long>(b - 1), lines.begin() + static_cast<long>(e));
    return WriteLinesAtomically(fileName_, lines);
}
