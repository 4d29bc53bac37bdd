#include "app/CommonU.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <regex>
#include <vector>

namespace {

// --- Text -----------------------------------------------------------------

struct GetFieldCase {
    std::string text;
    int n;
    std::string field;
};

class GetFieldTest : public ::testing::TestWithParam<GetFieldCase> {};

TEST_P(GetFieldTest, GivesTheNthField)
{
    const auto &c = GetParam();
    EXPECT_EQ(GetField(c.text, c.n, '|'), c.field);
}

INSTANTIATE_TEST_SUITE_P(Cases, GetFieldTest,
                         ::testing::Values(GetFieldCase{"a|bb|ccc", 1, "a"}, GetFieldCase{"a|bb|ccc", 2, "bb"},
                                           GetFieldCase{"a|bb|ccc", 3, "ccc"}, GetFieldCase{"a|bb|ccc", 4, ""},
                                           GetFieldCase{"alone", 1, "alone"}, GetFieldCase{"alone", 2, ""},
                                           GetFieldCase{"a||c", 2, ""}, GetFieldCase{"a||c", 3, "c"},
                                           GetFieldCase{"a|b|", 3, ""}, GetFieldCase{"|x", 1, ""},
                                           GetFieldCase{"a|b", 0, ""}, GetFieldCase{"a|b", -1, ""},
                                           GetFieldCase{"", 1, ""}));

TEST(SplitFirstTest, ChannelValueKeepsTheWholeNameAfterTheId)
{
    std::string text = "100023-Radio One - News-Talk";
    EXPECT_EQ(SplitFirst(text, "-"), "100023");
    EXPECT_EQ(text, "Radio One - News-Talk");
}

TEST(SplitFirstTest, MultiCharacterSeparatorIsRemovedWhole)
{
    std::string text = "http://a||http://b||http://c";
    EXPECT_EQ(SplitFirst(text, "||"), "http://a");
    EXPECT_EQ(text, "http://b||http://c");
}

TEST(SplitFirstTest, WithoutSeparatorTheWholeTextIsTakenAndTextEmptied)
{
    std::string text = "no separator";
    EXPECT_EQ(SplitFirst(text, "||"), "no separator");
    EXPECT_EQ(text, "");
}

TEST(SplitFirstTest, SeparatorAtTheStartGivesAnEmptyHead)
{
    std::string text = "-rest";
    EXPECT_EQ(SplitFirst(text, "-"), "");
    EXPECT_EQ(text, "rest");
}

struct ReplaceAllCase {
    std::string text, oldText, newText, result;
};

class ReplaceAllTest : public ::testing::TestWithParam<ReplaceAllCase> {};

TEST_P(ReplaceAllTest, ReplacesEveryOccurrence)
{
    const auto &c = GetParam();
    EXPECT_EQ(ReplaceAll(c.text, c.oldText, c.newText), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceAllTest,
    ::testing::Values(ReplaceAllCase{"a-b-c", "-", "+", "a+b+c"},
                      // left to right, no overlap
                      ReplaceAllCase{"aaaa", "aa", "b", "bb"}, ReplaceAllCase{"aaa", "aa", "b", "ba"},
                      // the replacement is not searched again
                      ReplaceAllCase{"ab", "a", "aa", "aab"},
                      // case-sensitive
                      ReplaceAllCase{"Abc abc", "abc", "x", "Abc x"},
                      ReplaceAllCase{"abc", "", "x", "abc"}, ReplaceAllCase{"abc", "b", "", "ac"},
                      ReplaceAllCase{"", "a", "b", ""}, ReplaceAllCase{"%s and %s", "%s", "x", "x and x"}));

TEST(LastCharPosTest, CountsFromOneAndGivesZeroWhenMissing)
{
    EXPECT_EQ(LastCharPos('/', "a/b/c"), 4);
    EXPECT_EQ(LastCharPos('a', "a"), 1);
    EXPECT_EQ(LastCharPos('x', "abc"), 0);
    EXPECT_EQ(LastCharPos('x', ""), 0);
}

TEST(ReplaceCharTest, ReplacesEveryCharacter)
{
    std::string text = "2008-10-01 12-00";
    ReplaceChar(text, '-', '/');
    EXPECT_EQ(text, "2008/10/01 12/00");
}

struct PadCase {
    std::int64_t number;
    int width;
    std::string zero, space;
};

class PadTest : public ::testing::TestWithParam<PadCase> {};

TEST_P(PadTest, PadsToTheWidth)
{
    const auto &c = GetParam();
    EXPECT_EQ(ZeroPad(c.number, c.width), c.zero);
    EXPECT_EQ(SpacePad(c.number, c.width), c.space);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PadTest,
    ::testing::Values(PadCase{7, 3, "007", "  7"}, PadCase{42, 2, "42", "42"},
                      // never cut
                      PadCase{12345, 3, "12345", "12345"}, PadCase{5, 0, "5", "5"}, PadCase{5, -3, "5", "5"},
                      PadCase{0, 2, "00", " 0"}, PadCase{-5, 4, "-005", "  -5"},
                      // widths above 20 count as 20
                      PadCase{1, 25, std::string(19, '0') + "1", std::string(19, ' ') + "1"},
                      PadCase{1, 20, std::string(19, '0') + "1", std::string(19, ' ') + "1"}));

TEST(UrlEncodeTest, KeepsTheSafeSetAndEscapesEverythingElse)
{
    EXPECT_EQ(UrlEncode("AZaz09-._*@"), "AZaz09-._*@");
    EXPECT_EQ(UrlEncode("a b/c"), "a%20b%2Fc");
    EXPECT_EQ(UrlEncode("?=&:+%~"), "%3F%3D%26%3A%2B%25%7E");
    // bytes above 127 (UTF-8 here) in upper-case hex
    EXPECT_EQ(UrlEncode("\xE4\xB8\xAD"), "%E4%B8%AD");
    EXPECT_EQ(UrlEncode(std::string("\0\n", 2)), "%00%0A");
}

TEST(HexToBytesTest, PairsBecomeBytes)
{
    EXPECT_EQ(HexToBytes("00FF7A41"), std::string("\x00\xFF\x7A\x41", 4));
    // an odd last digit is ignored
    EXPECT_EQ(HexToBytes("414"), "A");
    // lower case and other characters count as 0
    EXPECT_EQ(HexToBytes("af4G"), std::string("\x00\x40", 2));
    EXPECT_EQ(HexToBytes(""), "");
}

TEST(RemoveInvalidFileCharsTest, RemovesOnlyForbiddenCharacters)
{
    EXPECT_EQ(RemoveInvalidFileChars("Radio 1: News/Talk?"), "Radio 1 NewsTalk");
    EXPECT_EQ(RemoveInvalidFileChars("a\"b*c/d:e<f>g?h\\i|j"), "abcdefghij");
    EXPECT_EQ(RemoveInvalidFileChars("keep. these-_()[]'&,!"), "keep. these-_()[]'&,!");
}

struct UrlCase {
    std::string in, out;
};

class NormalizeSiteUrlTest : public ::testing::TestWithParam<UrlCase> {};

TEST_P(NormalizeSiteUrlTest, AddsSchemeAndSlash)
{
    EXPECT_EQ(NormalizeSiteUrl(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Cases, NormalizeSiteUrlTest,
                         ::testing::Values(UrlCase{"www.example.com", "http://www.example.com/"},
                                           UrlCase{"http://example.com/", "http://example.com/"},
                                           UrlCase{"HTTPS://example.com", "HTTPS://example.com/"},
                                           UrlCase{"example.com/radio/", "http://example.com/radio/"},
                                           // only the first four characters are looked at
                                           UrlCase{"httpbin.org", "httpbin.org/"}, UrlCase{"", ""}));

TEST(IncludeBackslashTest, AppendsTheSeparatorOnce)
{
    EXPECT_EQ(IncludeBackslash("/tmp/a"), "/tmp/a/");
    EXPECT_EQ(IncludeBackslash("/tmp/a/"), "/tmp/a/");
    EXPECT_EQ(IncludeBackslash(""), "");
}

TEST(FileNameWithoutExtTest, TakesTheNameAndCutsTheLastExtension)
{
    EXPECT_EQ(FileNameWithoutExt("/opt/Orvane/orvane"), "orvane");
    EXPECT_EQ(FileNameWithoutExt("/opt/a.b/song.live.mp3"), "song.live");
    EXPECT_EQ(FileNameWithoutExt("song.mp3"), "song");
    EXPECT_EQ(FileNameWithoutExt("/folder/"), "");
}

TEST(SplitHostPortTest, SplitsAtTheFirstColonAndDefaultsTo8080)
{
    const THostPort withPort = SplitHostPort("proxy.local:3128");
    EXPECT_EQ(withPort.Host, "proxy.local");
    EXPECT_EQ(withPort.Port, "3128");
    const THostPort without = SplitHostPort("proxy.local");
    EXPECT_EQ(without.Host, "proxy.local");
    EXPECT_EQ(without.Port, "8080");
    const THostPort twoColons = SplitHostPort("a:1:2");
    EXPECT_EQ(twoColons.Host, "a");
    EXPECT_EQ(twoColons.Port, "1:2");
}

// --- Durations ------------------------------------------------------------

struct DurationCase {
    std::int64_t seconds;
    std::string clock, text;
};

class DurationTest : public ::testing::TestWithParam<DurationCase> {};

TEST_P(DurationTest, FormatsBothForms)
{
    const auto &c = GetParam();
    EXPECT_EQ(SecondsToClock(c.seconds), c.clock);
    EXPECT_EQ(SecondsToText(c.seconds), c.text);
}

INSTANTIATE_TEST_SUITE_P(Cases, DurationTest,
                         ::testing::Values(DurationCase{-1, "", ""}, DurationCase{0, "00:00:00", "00:00:00"},
                                           DurationCase{5, "00:00:05", "5"}, DurationCase{59, "00:00:59", "59"},
                                           DurationCase{60, "00:01:00", "1:0"}, DurationCase{61, "00:01:01", "1:1"},
                                           DurationCase{185, "00:03:05", "3:5"},
                                           DurationCase{3600, "01:00:00", "1:0:0"},
                                           DurationCase{3661, "01:01:01", "1:1:1"},
                                           DurationCase{86399, "23:59:59", "23:59:59"},
                                           DurationCase{86400, "01:00:00:00", "1:0:0:0"},
                                           DurationCase{90061, "01:01:01:01", "1:1:1:1"},
                                           DurationCase{100 * 86400 + 5, "100:00:00:05", "100:0:0:5"}));

// --- Date-time values -----------------------------------------------------

TEST(DateTimeTest, CountsDaysFrom18991230)
{
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 30, 0, 0, 0), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(1900, 1, 1, 0, 0, 0), 2.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(2008, 10, 1, 18, 0, 0), 39722.75);
    EXPECT_DOUBLE_EQ(EncodeDateTime(1970, 1, 1, 6, 0, 0), 25569.25);
}

TEST(DateTimeTest, TimeTRoundTripsInLocalTime)
{
    // local midsummer noon and a winter evening, so both DST states are met
    for (const TDateTime value : {EncodeDateTime(2021, 7, 1, 12, 0, 0), EncodeDateTime(2023, 1, 15, 21, 30, 15)}) {
        const std::time_t t = DateTimeToTimeT(value);
        std::tm tm{};
        localtime_r(&t, &tm);
        EXPECT_EQ(EncodeDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec),
                  value);
        EXPECT_DOUBLE_EQ(DateTimeFromTimeT(t), value);
    }
}

TEST(DateTimeTest, QDateTimeRoundTripsWithMilliseconds)
{
    const QDateTime qt(QDate(2009, 2, 28), QTime(23, 59, 58, 125), Qt::LocalTime);
    const TDateTime value = DateTimeFromQt(qt);
    EXPECT_DOUBLE_EQ(value, EncodeDateTime(2009, 2, 28, 23, 59, 58, 125));
    EXPECT_EQ(DateTimeToQt(value), qt);
}

TEST(DateTimeTest, NowAgreesWithTheSystemClock)
{
    const TDateTime now = NowDateTime();
    const TDateTime fromClock = DateTimeFromTimeT(std::time(nullptr));
    EXPECT_NEAR(now, fromClock, 5.0 / 86400);
}

TEST(NowStampTest, HasTheFileNameFriendlyForm)
{
    const std::string stamp = NowStamp();
    std::smatch m;
    ASSERT_TRUE(std::regex_match(stamp, m, std::regex(R"((\d{4})-(\d{2})-(\d{2}) (\d{2})\.(\d{2})\.(\d{2}))")))
        << stamp;
    const TDateTime parsed = EncodeDateTime(std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4]),
                                            std::stoi(m[5]), std::stoi(m[6]));
    EXPECT_NEAR(parsed, NowDateTime(), 5.0 / 86400);
}

struct ParseCase {
    std::string text;
    TDateTime value; // -1: the default
};

class StrToDateTimeSafeTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(StrToDateTimeSafeTest, ParsesTheFixedFormsOrGivesTheDefault)
{
    EXPECT_DOUBLE_EQ(StrToDateTimeSafe(GetParam().text, -1), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrToDateTimeSafeTest,
    ::testing::Values(ParseCase{"2008/10/01 18:30:15", EncodeDateTime(2008, 10, 1, 18, 30, 15)},
                      ParseCase{"2008-10-01 18:30:15", EncodeDateTime(2008, 10, 1, 18, 30, 15)},
                      ParseCase{"2008-10-01 18:30", EncodeDateTime(2008, 10, 1, 18, 30, 0)},
                      ParseCase{"2008-10-01", EncodeDateTime(2008, 10, 1, 0, 0, 0)},
                      ParseCase{"2008/1/5 7:05", EncodeDateTime(2008, 1, 5, 7, 5, 0)},
                      ParseCase{" 2008-10-01 ", EncodeDateTime(2008, 10, 1, 0, 0, 0)},
                      ParseCase{"2008-02-29", EncodeDateTime(2008, 2, 29, 0, 0, 0)},
                      // impossible dates and times
                      ParseCase{"2007-02-29", -1}, ParseCase{"2008-13-01", -1}, ParseCase{"2008-00-10", -1},
                      ParseCase{"2008-10-01 24:00", -1}, ParseCase{"2008-10-01 12:60", -1},
                      // other forms and rubbish
                      ParseCase{"", -1}, ParseCase{"yesterday", -1}, ParseCase{"01/10/2008", -1},
                      ParseCase{"2008-10-01 18", -1}, ParseCase{"2008-10-01x", -1}));

} // namespace

TEST(FormatMessage, FillsPlaceholdersAndNeverReadsPastTheArguments)
{
    struct Case { const char *pattern; std::vector<std::string> args; const char *expected; } cases[] = {
        {"Upgrade to the newer version : %s", {"1.2.3.4"}, "Upgrade to the newer version : 1.2.3.4"},
        {"Volume:%d%%", {"40"}, "Volume:40%"},
        {"%s and %s", {"a"}, "a and "},
        {"%n%x%5d %", {"z"}, "%n%x%5d %"},
        {"%", {}, "%"},
    };
    for (const auto &c : cases) {
        std::string got;
        if (c.args.empty())
            got = FormatMessage(c.pattern, {});
        else if (c.args.size() == 1)
            got = FormatMessage(c.pattern, {c.args[0]});
        EXPECT_EQ(got, c.expected) << c.pattern;
    }
    EXPECT_EQ(FormatMessage("%d of %d", {3, 7}), "3 of 7");
}
