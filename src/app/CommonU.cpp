#include "app/CommonU.h"

#include <QDateTime>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <regex>
#include <string_view>

namespace {

// 1970-01-01 counted from 1899-12-30.
constexpr int kUnixEpochDay = 25569;
constexpr std::int64_t kMsPerDay = 86400000;

std::string FormatNumber(const char *format, std::int64_t number, int width)
{
    width = std::clamp(width, 0, 20);
    char buf[48];
    std::snprintf(buf, sizeof buf, format, width, static_cast<long long>(number));
    return buf;
}

bool KeptByUrlEncode(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '*' ||
           c == '-' || c == '.' || c == '@' || c == '_';
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

// Days, hours, minutes and seconds joined by ":", leading zero parts dropped
// while more than minParts remain; width 2 pads each part with a zero.
std::string JoinClockParts(std::int64_t seconds, size_t minParts, int width)
{
    const std::array<std::int64_t, 4> parts = {seconds / 86400, seconds / 3600 % 24, seconds / 60 % 60,
                                               seconds % 60};
    size_t first = 0;
    while (first < parts.size() - minParts && parts[first] == 0)
        ++first;
    std::string text;
    for (size_t i = first; i < parts.size(); ++i) {
        if (i > first)
            text += ':';
        text += ZeroPad(parts[i], width);
    }
    return text;
}

struct TDecoded {
    int Year, Month, Day, Hour, Minute, Second, Msec;
};

TDecoded DecodeDateTime(TDateTime value)
{
    std::int64_t ms = std::llround(value * kMsPerDay);
    std::int64_t days = ms / kMsPerDay;
    ms %= kMsPerDay;
    if (ms < 0) {
        ms += kMsPerDay;
        --days;
    }
    using namespace std::chrono;
    const year_month_day ymd{sys_days{std::chrono::days{days - kUnixEpochDay}}};
    return {int(ymd.year()),
            int(unsigned(ymd.month())),
            int(unsigned(ymd.day())),
            int(ms / 3600000),
            int(ms / 60000 % 60),
            int(ms / 1000 % 60),
            int(ms % 1000)};
}

TDateTime FromTm(const std::tm &tm, int msec)
{
    return EncodeDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, msec);
}

bool ValidDate(int year, int month, int day)
{
    using namespace std::chrono;
    return year_month_day{std::chrono::year{year}, std::chrono::month(unsigned(month)), std::chrono::day(unsigned(day))}
        .ok();
}

} // namespace

std::string SplitFirst(std::string &text, const std::string &separator)
{
    const size_t pos = separator.empty() ? std::string::npos : text.find(separator);
    std::string head;
    if (pos == std::string::npos) {
        head.swap(text);
    } else {
        head = text.substr(0, pos);
        text.erase(0, pos + separator.size());
    }
    return head;
}

std::string GetField(const std::string &text, int n, char separator)
{
    if (n < 1)
        return {};
    size_t start = 0;
    for (int i = 1; i < n; ++i) {
        const size_t sep = text.find(separator, start);
        if (sep == std::string::npos)
            return {};
        start = sep + 1;
    }
    const size_t end = text.find(separator, start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string ReplaceAll(const std::string &text, const std::string &oldText, const std::string &newText)
{
    if (oldText.empty())
        return text;
    std::string result;
    size_t start = 0;
    for (size_t pos; (pos = text.find(oldText, start)) != std::string::npos; start = pos + oldText.size())
        result.append(text, start, pos - start).append(newText);
    return result.append(text, start);
}

int LastCharPos(char c, const std::string &text)
{
    const size_t pos = text.rfind(c);
    return pos == std::string::npos ? 0 : int(pos) + 1;
}

void ReplaceChar(std::string &text, char from, char to) { std::replace(text.begin(), text.end(), from, to); }

std::string ZeroPad(std::int64_t number, int width) { return FormatNumber("%0*lld", number, width); }

std::string SpacePad(std::int64_t number, int width) { return FormatNumber("%*lld", number, width); }

std::string UrlEncode(const std::string &text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (KeptByUrlEncode(c)) {
            out += char(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string HexToBytes(const std::string &text)
{
    std::string bytes;
    bytes.reserve(text.size() / 2);
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        bytes += char(HexDigitValue(text[i]) << 4 | HexDigitValue(text[i + 1]));
    return bytes;
}

std::string RemoveInvalidFileChars(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (std::string_view("\"*/:<>?\\|").find(c) == std::string_view::npos)
            out += c;
    }
    return out;
}

std::string NormalizeSiteUrl(const std::string &url)
{
    if (url.empty())
        return url;
    std::string result = url.back() == '/' ? url : url + '/';
    std::string scheme = result.substr(0, 4);
    std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
    return scheme == "http" ? result : "http://" + result;
}

std::string IncludeBackslash(const std::string &path)
{
    return path.empty() || path.back() == '/' ? path : path + '/';
}

std::string FileNameWithoutExt(const std::string &path)
{
    std::string name = path.substr(path.rfind('/') + 1);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

THostPort SplitHostPort(const std::string &text)
{
    const size_t colon = text.find(':');
    if (colon == std::string::npos)
        return {text, "8080"};
    return {text.substr(0, colon), text.substr(colon + 1)};
}

std::string SecondsToClock(std::int64_t seconds)
{
    return seconds < 0 ? std::string() : JoinClockParts(seconds, 3, 2);
}

std::string SecondsToText(std::int64_t seconds)
{
    if (seconds < 0)
        return {};
    return seconds == 0 ? "00:00:00" : JoinClockParts(seconds, 1, 0);
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec)
{
    using namespace std::chrono;
    const auto date = sys_days{std::chrono::year{year} / month / day}.time_since_epoch().count();
    const std::int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + msec;
    return TDateTime(date + kUnixEpochDay) + double(ms) / kMsPerDay;
}

TDateTime DateTimeFromTimeT(std::time_t t)
{
    std::tm tm{};
    localtime_r(&t, &tm);
    return FromTm(tm, 0);
}

std::time_t DateTimeToTimeT(TDateTime value)
{
    const TDecoded d = DecodeDateTime(value);
    std::tm tm{};
    tm.tm_year = d.Year - 1900;
    tm.tm_mon = d.Month - 1;
    tm.tm_mday = d.Day;
    tm.tm_hour = d.Hour;
    tm.tm_min = d.Minute;
    tm.tm_sec = d.Second + (d.Msec >= 500 ? 1 : 0);
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

TDateTime DateTimeFromQt(const QDateTime &value)
{
    const QDateTime local = value.toLocalTime();
    const QDate date = local.date();
    const QTime time = local.time();
    return EncodeDateTime(date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second(),
                          time.msec());
}

QDateTime DateTimeToQt(TDateTime value)
{
    const TDecoded d = DecodeDateTime(value);
    return QDateTime(QDate(d.Year, d.Month, d.Day), QTime(d.Hour, d.Minute, d.Second, d.Msec), Qt::LocalTime);
}

TDateTime NowDateTime() { return DateTimeFromQt(QDateTime::currentDateTime()); }

std::string NowStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H.%M.%S", &tm);
    return buf;
}

TDateTime StrToDateTimeSafe(const std::string &text, TDateTime def)
{
    static const std::regex kForm(R"(\s*(\d{4})/(\d{1,2})/(\d{1,2})(?:\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?\s*)");
    std::string normal = text;
    ReplaceChar(normal, '-', '/');
    std::smatch m;
    if (!std::regex_match(normal, m, kForm))
        return def;
    auto part = [&m](size_t i) { return m[i].matched ? std::stoi(m[i].str()) : 0; };
    const int year = part(1), month = part(2), day = part(3);
    const int hour = part(4), minute = part(5), second = part(6);
    if (year < 1 || !ValidDate(year, month, day) || hour > 23 || minute > 59 || second > 59)
        return def;
    return EncodeDateTime(year, month, day, hour, minute, second);
}

std::string FormatMessage(const std::string &pattern, std::initializer_list<TFormatArg> args)
{
    std::string out;
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        const char kind = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (c != '%' || (kind != 's' && kind != 'd' && kind != '%')) {
            out += c;
            continue;
        }
        ++i;
        if (kind == '%')
            out += '%';
        else if (next != args.end())
            out += (next++)->text;
    }
    return out;
}
