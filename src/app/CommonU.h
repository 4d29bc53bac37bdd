#pragma once
// Small text, number and time routines shared across the program. Texts are
// bytes; positions count from 1 where a routine returns one.

#include <cstdint>
#include <ctime>
#include <initializer_list>
#include <string>

class QDateTime;

// --- Text -----------------------------------------------------------------

// Cuts the text at the first separator: returns what stood before it and
// leaves what follows in text. Without a separator the whole text is
// returned and text becomes empty, as with an empty separator.
std::string SplitFirst(std::string &text, const std::string &separator);

// Field n (from 1) of the text split at the separator character; empty when
// the field does not exist or n is below 1.
std::string GetField(const std::string &text, int n, char separator);

// Every occurrence of oldText, left to right and without overlap, replaced
// case-sensitively. An empty oldText changes nothing.
std::string ReplaceAll(const std::string &text, const std::string &oldText, const std::string &newText);

// Position (from 1) of the last c in the text, 0 when there is none.
int LastCharPos(char c, const std::string &text);

void ReplaceChar(std::string &text, char from, char to);

// The decimal number left-padded to the width (at most 20) with "0" or with
// blanks; a longer number is never cut. A minus sign stays in front.
std::string ZeroPad(std::int64_t number, int width);
std::string SpacePad(std::int64_t number, int width);

// Keeps "*-.@_", digits and ASCII letters; every other byte becomes "%XX".
std::string UrlEncode(const std::string &text);

// Pairs of hexadecimal digits ("0"-"9", "A"-"F") to bytes; any other
// character counts as 0 and an odd last character is ignored.
std::string HexToBytes(const std::string &text);

// Drops the characters a file name may not hold: " * / : < > ? \ |
std::string RemoveInvalidFileChars(const std::string &text);

// Ends the address in "/" and puts "http://" in front unless it starts with
// "http" in any case.
std::string NormalizeSiteUrl(const std::string &url);

// Appends the path separator "/" unless the path is empty or ends in one.
std::string IncludeBackslash(const std::string &path);

// The file name part of the path without its last extension.
std::string FileNameWithoutExt(const std::string &path);

// "host:port" split at the first ":"; the port is "8080" when none is given.
struct THostPort {
    std::string Host;
    std::string Port;
};
THostPort SplitHostPort(const std::string &text);

// Fills a message pattern: "%s" and "%d" take the next argument in turn,
// "%%" is a percent sign. Patterns come from language files, so nothing in
// them can read past the arguments: a placeholder without an argument stays
// empty and every other "%" stays as it is.
struct TFormatArg {
    TFormatArg(const std::string &s) : text(s) {}
    TFormatArg(const char *s) : text(s) {}
    TFormatArg(std::int64_t n) : text(std::to_string(n)) {}
    TFormatArg(int n) : text(std::to_string(n)) {}
    std::string text;
};
std::string FormatMessage(const std::string &pattern, std::initializer_list<TFormatArg> args);

// --- Durations ------------------------------------------------------------

// "hh:mm:ss" or "dd:hh:mm:ss" with two-digit parts; "00:00:00" for 0 and
// empty for a negative count.
std::string SecondsToClock(std::int64_t seconds);
// The same parts as plain numbers without leading zeros ("3:5"), only as
// many as needed; "00:00:00" for 0 and empty for a negative count.
std::string SecondsToText(std::int64_t seconds);

// --- Date-time values -----------------------------------------------------

// Days since 1899-12-30 00:00 local time, the fraction being the time of day.
using TDateTime = double;

TDateTime DateTimeFromTimeT(std::time_t t);
std::time_t DateTimeToTimeT(TDateTime value);
// Local time with milliseconds.
TDateTime DateTimeFromQt(const QDateTime &value);
QDateTime DateTimeToQt(TDateTime value);
// The date-time of a local calendar date and time of day; no range checks.
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec = 0);
TDateTime NowDateTime();

// The current local date-time as "yyyy-mm-dd hh.nn.ss" (fit for file names).
std::string NowStamp();

// Parses "yyyy/mm/dd hh:nn:ss", "yyyy/mm/dd hh:nn" or "yyyy/mm/dd" ("-" may
// stand for "/"); returns def for anything else or an impossible date.
TDateTime StrToDateTimeSafe(const std::string &text, TDateTime def);
