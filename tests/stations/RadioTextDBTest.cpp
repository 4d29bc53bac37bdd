// TRadioTable: the station record, its operations, the ID rule and the
// reference lists.
#include "StationTestSupport.h"
#include "TestSupport.h"
#include "app/GlobalUnit.h"
#include "cipher/Encipher.h"
#include "stations/RadioTextDB.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string FullLine = "12\tJazz FM\tJazz\tUnited Kingdom\tEngland\tLondon\tEnglish\t2\t3\t128K\t102.2 FM\t"
                             "none\thttp://jazz.example/\thttp://jazz.example/schedule\thttp://a.example/live||"
                             "http://b.example/live";

std::vector<std::string> Columns(const std::string &line)
{
    std::vector<std::string> c;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        c.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return c;
        start = tab + 1;
    }
}

class RadioTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedApp = AppPath();
        savedLng = CurLng();
        SetAppPath(dir.Path());
        SetCurLng("eng");
    }
    void TearDown() override
    {
        SetAppPath(savedApp);
        SetCurLng(savedLng);
    }
    TempDir dir;
    TRadioTable table;
    std::string savedApp, savedLng;
};

} // namespace

TEST(RadioRecord, FullLineParsesAndComposesBack)
{
    TRadioTable t;
    t.ParseRecord(FullLine);
    EXPECT_EQ(t.VID, "12");
    EXPECT_EQ(t.VRadioName, "Jazz FM");
    EXPECT_EQ(t.VGenre, "Jazz");
    EXPECT_EQ(t.VCountry, "United Kingdom");
    EXPECT_EQ(t.VState, "England");
    EXPECT_EQ(t.VCity, "London");
    EXPECT_EQ(t.VLanguage, "English");
    EXPECT_EQ(t.VFormat, "2");
    EXPECT_EQ(t.VValidity, "3");
    EXPECT_EQ(t.VSpeed, "128K");
    EXPECT_EQ(t.VFrequency, "102.2 FM");
    EXPECT_EQ(t.VProxy, "none");
    EXPECT_EQ(t.VHomepage, "http://jazz.example/");
    EXPECT_EQ(t.VSchedule, "http://jazz.example/schedule");
    EXPECT_EQ(t.VStreamURL, "http://a.example/live||http://b.example/live");
    EXPECT_EQ(t.ComposeRecord(), FullLine);
}

TEST(RadioRecord, ThreeColumns)
{
    TRadioTable t;
    t.ParseRecord("7\tA Station\thttp://s.example/x");
    EXPECT_EQ(t.VID, "7");
    EXPECT_EQ(t.VRadioName, "A Station");
    EXPECT_EQ(t.VStreamURL, "http://s.example/x");
    for (const std::string *f : {&t.VGenre, &t.VCountry, &t.VState, &t.VCity, &t.VLanguage, &t.VFormat,
                                 &t.VValidity, &t.VSpeed, &t.VFrequency, &t.VProxy, &t.VHomepage, &t.VSchedule})
        EXPECT_EQ(*f, "");
    const auto c = Columns(t.ComposeRecord());
    ASSERT_EQ(c.size(), 15u);
    EXPECT_EQ(std::count(c.begin(), c.end(), std::string()), 12);
    EXPECT_EQ(c[14], "http://s.example/x");
}

TEST(RadioRecord, FourColumnsGiveScheduleAndAddress)
{
    TRadioTable t;
    t.ParseRecord("8\tName\thttp://sched.example/\thttp://s.example/y");
    EXPECT_EQ(t.VRadioName, "Name");
    EXPECT_EQ(t.VSchedule, "http://sched.example/");
    EXPECT_EQ(t.VStreamURL, "http://s.example/y");
    EXPECT_EQ(t.VGenre, "");
    EXPECT_EQ(t.VHomepage, "");
}

TEST(RadioRecord, EmptyScheduleAndAddressKeepHomepage)
{
    TRadioTable t;
    t.ParseRecord("1\tN\tG\tC\tS\tCi\tL\t0\t0\t64K\tF\tP\thttp://home.example/\t\t");
    EXPECT_EQ(t.VHomepage, "http://home.example/");
    EXPECT_EQ(t.VSchedule, "");
    EXPECT_EQ(t.VStreamURL, "");
    EXPECT_EQ(t.VProxy, "P");
}

TEST(RadioRecord, ShortAndOddLines)
{
    TRadioTable t;
    t.VRadioName = "old";
    t.ParseRecord("");
    EXPECT_EQ(t.VID, "");
    EXPECT_EQ(t.VRadioName, "");
    t.ParseRecord("42");
    EXPECT_EQ(t.VID, "42");
    EXPECT_EQ(t.VRadioName, "");
    t.ParseRecord("42\tName only");
    EXPECT_EQ(t.VRadioName, "Name only");
    EXPECT_EQ(t.VStreamURL, "");
    // Extra columns between homepage and schedule are dropped.
    t.ParseRecord("1\tN\tG\tC\tS\tCi\tL\t0\t0\t64K\tF\tP\tH\tEXTRA1\tEXTRA2\tSch\tURL");
    EXPECT_EQ(t.VHomepage, "H");
    EXPECT_EQ(t.VSchedule, "Sch");
    EXPECT_EQ(t.VStreamURL, "URL");
}

TEST(RadioRecord, ClearFields)
{
    TRadioTable t;
    t.ParseRecord(FullLine);
    t.ClearFields();
    EXPECT_EQ(t.ComposeRecord(), std::string(14, '\t'));
}

TEST(RadioRecord, EncipheredLine)
{
    const std::string rest = FullLine.substr(FullLine.find('\t') + 1);
    const std::string line = "12\t" + EncipherText(rest);
    TRadioTable t;
    EXPECT_FALSE(t.Encry());
    EXPECT_TRUE(t.NeedCheckIndex());
    t.SetEncry(true);
    EXPECT_FALSE(t.NeedCheckIndex());
    t.ParseRecord(line);
    EXPECT_EQ(t.ComposeRecord(), FullLine); // composing is always plain
    // A cipher text cut short deciphers what whole blocks there are.
    t.ParseRecord(line.substr(0, 3 + 8 + 5));
    EXPECT_EQ(t.VID, "12");
    EXPECT_EQ(t.VRadioName, "Jazz FM");
    t.ParseRecord("12\tshort");
    EXPECT_EQ(t.VID, "12");
    EXPECT_EQ(t.VRadioName, "");
    EXPECT_EQ(t.VStreamURL, "");
    t.SetEncry(false);
    EXPECT_TRUE(t.NeedCheckIndex());
}

TEST(RadioRecord, Addresses)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(TRadioTable::SplitAddresses("a||b||"), (V{"a", "b", ""}));
    EXPECT_EQ(TRadioTable::SplitAddresses(""), V{});
    EXPECT_EQ(TRadioTable::SplitAddresses("one"), V{"one"});
    EXPECT_EQ(TRadioTable::SplitAddresses("||x"), (V{"", "x"}));
    EXPECT_EQ(TRadioTable::SplitAddresses("a|||b"), (V{"a", "|b"}));
    EXPECT_EQ(TRadioTable::JoinAddresses({"a", "b"}), "a||b");
    EXPECT_EQ(TRadioTable::JoinAddresses({}), "");
    EXPECT_EQ(TRadioTable::JoinAddresses(TRadioTable::SplitAddresses("a||b||")), "a||b||");
}

TEST(RadioRecord, FormatAndValidityNames)
{
    EXPECT_EQ(TRadioTable::FormatName("1"), "RP");
    EXPECT_EQ(TRadioTable::FormatName("3"), "RP");
    EXPECT_EQ(TRadioTable::FormatName("2"), "WMP");
    EXPECT_EQ(TRadioTable::FormatName("4"), "WMP");
    EXPECT_EQ(TRadioTable::FormatName("0"), "Auto");
    EXPECT_EQ(TRadioTable::FormatName(""), "Auto");
    EXPECT_EQ(TRadioTable::FormatName("7"), "Auto");
    EXPECT_EQ(TRadioTable::ValidityName("0"), "Unknown");
    EXPECT_EQ(TRadioTable::ValidityName(""), "Unknown");
    EXPECT_EQ(TRadioTable::ValidityName("1"), "Bad");
    EXPECT_EQ(TRadioTable::ValidityName("2"), "Good");
    EXPECT_EQ(TRadioTable::ValidityName("3"), "Better");
    EXPECT_EQ(TRadioTable::ValidityName("4"), "Best");
    EXPECT_EQ(TRadioTable::ValidityName("9"), "Unknown");
}

TEST(RadioRecord, StationInfoText)
{
    TRadioTable t;
    t.ParseRecord(FullLine);
    EXPECT_EQ(t.StationInfoText(), "Name :  Jazz FM\r\n"
                                   "Genre :  Jazz\r\n"
                                   "Language :  English\r\n"
                                   "Place :  United Kingdom England London\r\n"
                                   "Format :  WMP\r\n"
                                   "Speed :  128K\r\n"
                                   "Validity :  Better\r\n"
                                   "StreamURL :  http://a.example/live\r\n"
                                   "Homepage :  http://jazz.example/\r\n"
                                   "Schedule :  http://jazz.example/schedule\r\n"
                                   "Proxy :  none\r\n"
                                   "Frequency :  102.2 FM");
    t.SetEncry(true); // a maker's station never shows its addresses
    EXPECT_EQ(t.StationInfoText().find("StreamURL"), std::string::npos);
    t.SetEncry(false);
    t.VStreamURL = "  http://x.example/  ||http://y";
    EXPECT_NE(t.StationInfoText().find("StreamURL :  http://x.example/\r\n"), std::string::npos);
}

TEST_F(RadioTableTest, IdRuleChoosesTheFile)
{
    EXPECT_TRUE(IsSystemStationId(100000));
    EXPECT_FALSE(IsSystemStationId(100001));
    EXPECT_EQ(StationFileName(100000), dir / "Data/eng/data.dat");
    EXPECT_EQ(StationFileName(100001), dir / "Data/eng/datauser.dat");
    table.SelectById(100000);
    EXPECT_EQ(table.TableName(), DataFileName());
    EXPECT_TRUE(table.Encry());
    EXPECT_FALSE(table.NeedCheckIndex());
    table.SelectById(100001);
    EXPECT_EQ(table.TableName(), UserDataFileName());
    EXPECT_FALSE(table.Encry());
    EXPECT_TRUE(table.NeedCheckIndex());
    SetCurLng("chs");
    table.SelectById(5);
    EXPECT_EQ(table.TableName(), dir / "Data/chs/data.dat");
}

TEST_F(RadioTableTest, UserStationsRoundTrip)
{
    WriteFileBytes(UserDataFileName(), "");
    table.SelectById(100001);
    ASSERT_TRUE(table.Open());
    const int id = table.NextFreeId(MaxSystemStationId);
    EXPECT_EQ(id, 100001);
    table.ParseRecord(FullLine);
    table.VID = std::to_string(id);
    ASSERT_TRUE(table.AppendRecord());
    table.ClearFields();
    table.VID = "100002";
    table.VRadioName = "Second";
    table.VStreamURL = "http://second.example/";
    ASSERT_TRUE(table.InsertRecord(1));
    table.ClearFields();
    ASSERT_TRUE(table.LoadById(100001));
    EXPECT_EQ(table.VRadioName, "Jazz FM");
    table.VValidity = "1";
    ASSERT_TRUE(table.SaveById(100001));
    table.ClearFields();
    const std::string raw = table.LoadLine(2);
    EXPECT_EQ(raw.substr(0, 15), "100001\tJazz FM\t");
    EXPECT_EQ(table.VID, "100001");
    EXPECT_EQ(table.VValidity, "1");
    EXPECT_EQ(table.VStreamURL, "http://a.example/live||http://b.example/live");
    table.LoadLine(1);
    EXPECT_EQ(table.VRadioName, "Second");
    table.VRadioName = "Second, renamed";
    ASSERT_TRUE(table.SaveLine(1));
    EXPECT_FALSE(table.LoadById(100003));
    EXPECT_EQ(table.VRadioName, "");
    EXPECT_EQ(table.VID, "");
    ASSERT_TRUE(table.LoadById(100002));
    EXPECT_EQ(table.VRadioName, "Second, renamed");
    EXPECT_EQ(table.NextFreeId(MaxSystemStationId), 100003);
    EXPECT_FALSE(table.SaveById(100009));
    table.Close();
}

TEST_F(RadioTableTest, EncipheredSystemTable)
{
    const std::string rest = FullLine.substr(FullLine.find('\t') + 1);
    std::vector<std::string> lines = {"3\t" + EncipherText(rest), "12\t" + EncipherText("Other\t\t\t\t\t\t\t\t\t\t\t\t\t\turl")};
    // Write the files as the data tool does (the cipher text may hold CR or LF).
    std::string table1, idp, idi;
    auto le = [](std::int32_t v) {
        std::string s(4, '\0');
        for (int i = 0; i < 4; ++i)
            s[static_cast<std::size_t>(i)] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
        return s;
    };
    idp = le(0);
    for (const auto &l : lines) {
        table1 += l + "\r\n";
        idp += le(static_cast<std::int32_t>(table1.size()));
    }
    idp += std::string(8, '\0');
    idi = le(3) + le(1) + le(12) + le(2);
    WriteFileBytes(DataFileName(), table1);
    WriteFileBytes(dir / "Data/eng/data.idp", idp);
    WriteFileBytes(dir / "Data/eng/data.idi", idi);
    table.SelectById(3);
    ASSERT_TRUE(table.Open());
    ASSERT_TRUE(table.LoadById(3));
    EXPECT_EQ(table.VRadioName, "Jazz FM");
    EXPECT_EQ(table.VStreamURL, "http://a.example/live||http://b.example/live");
    ASSERT_TRUE(table.LoadById(12));
    EXPECT_EQ(table.VRadioName, "Other");
    EXPECT_EQ(table.VStreamURL, "url");
    EXPECT_EQ(table.RecordCount(), 2);
    // The stale stamp is never looked at: the files stay as they came.
    EXPECT_EQ(ReadFileBytes(DataFileName()), table1);
    EXPECT_EQ(ReadFileBytes(dir / "Data/eng/data.idp"), idp);
}

TEST_F(RadioTableTest, FindByNameOrUrl)
{
    WriteFileBytes(UserDataFileName(),
                   "100001\tRadio One\tPop\t\t\t\t\t\t\t\t\t\t\t\thttp://Stream.Example/One.mp3\r\n"
                   "100002\tJazz Two\tJazz\t\t\t\t\t\t\t\t\t\t\t\thttp://jazz.example/two||http://mirror.example/two\r\n"
                   "100003\tBoth\t\t\t\t\t\t\t\t\t\t\t\t\thttp://both.example/\r\n");
    table.SetTableName(UserDataFileName());
    EXPECT_EQ(table.FindByNameOrUrl("radio ONE", "http://nowhere/"), 1);
    EXPECT_EQ(table.VID, "100001");
    EXPECT_EQ(table.VRadioName, "radio one");
    EXPECT_EQ(table.VStreamURL, "http://stream.example/one.mp3");
    EXPECT_EQ(table.FindByNameOrUrl("Unknown", "MIRROR.example/TWO"), 2);
    EXPECT_EQ(table.VID, "100002");
    EXPECT_EQ(table.FindByNameOrUrl("both", "http://BOTH.example/"), 3);
    EXPECT_EQ(table.VID, "100003");
    table.VID = "keep";
    EXPECT_EQ(table.FindByNameOrUrl("nobody", "http://none/"), 0);
    EXPECT_EQ(table.VID, "keep");
    EXPECT_EQ(table.FindByNameOrUrl("nobody", ""), 0); // an empty address matches nothing
    table.SetTableName(dir / "missing.dat");
    EXPECT_EQ(table.FindByNameOrUrl("Radio One", "x"), 0);
}

TEST_F(RadioTableTest, FindNameAndUrl)
{
    WriteFileBytes(UserDataFileName(),
                   "100001\tRock Alpha\tRock\t\t\t\t\t\t\t\t\t\t\t\thttp://alpha.example/live\n"
                   "100002\tJazz Beta\tJazz\t\t\t\t\t\t\t\t\t\t\t\thttp://beta.example/LIVE\r\n"
                   "100003\tRock Gamma\tRock\t\t\t\t\t\t\t\t\t\t\t\thttp://gamma.example/x");
    table.SetTableName(UserDataFileName());
    EXPECT_EQ(table.FindName("rock", 0), 1);
    EXPECT_EQ(table.VRadioName, "Rock Alpha");
    EXPECT_EQ(table.FindName("ROCK", 1), 3);
    EXPECT_EQ(table.VID, "100003");
    EXPECT_EQ(table.VGenre, "Rock");
    EXPECT_EQ(table.FindName("rock", 3), 0);
    EXPECT_EQ(table.FindName("", 0), 0);
    EXPECT_EQ(table.FindUrl("/live", 0), 1);
    EXPECT_EQ(table.FindUrl("/live", 1), 2);
    EXPECT_EQ(table.VStreamURL, "http://beta.example/LIVE");
    EXPECT_EQ(table.FindUrl("/live", 2), 0);
}

TEST_F(RadioTableTest, ReferenceListPaths)
{
    EXPECT_EQ(ReferenceListFileName("genre.txt"), dir / "Language/eng/genre.txt");
    WriteFileBytes(dir / "Language/eng/genre.txt", "Pop\r\n\r\n  \r\nRock\nJazz");
    EXPECT_EQ(LoadChoiceList(ReferenceListFileName("genre.txt")), (std::vector<std::string>{"Pop", "Rock", "Jazz"}));
    EXPECT_TRUE(LoadChoiceList(ReferenceListFileName("missing.txt")).empty());
}

TEST(ReferenceLists, CountryOutline)
{
    const std::vector<std::string> lines = {
        "China",
        "\tBeijing",
        "\t\tBeijing",
        "\tGuangdong",
        "\t\tGuangzhou",
        "  ",
        "\t\tShenzhen",
        "\t",
        "United States",
        "\tCalifornia",
        "\t\tLos Angeles",
        "\t\tSan Francisco",
        "\tNew York",
        "\t\tNew York City",
        "",
        "Iceland",
        "Georgia",
        "\tTbilisi",
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(CountryList(lines), (V{"China", "United States", "Iceland", "Georgia"}));
    EXPECT_EQ(StateList(lines, "China"), (V{"Beijing", "Guangdong"}));
    EXPECT_EQ(StateList(lines, "United States"), (V{"California", "New York"}));
    EXPECT_EQ(StateList(lines, "Iceland"), V{});
    EXPECT_EQ(StateList(lines, "Georgia"), V{"Tbilisi"});
    EXPECT_EQ(StateList(lines, "Nowhere"), V{});
    EXPECT_EQ(StateList(lines, "china"), V{}); // compared as it stands
    EXPECT_EQ(CityList(lines, "China", "Guangdong"), (V{"Guangzhou", "Shenzhen"}));
    EXPECT_EQ(CityList(lines, "China", "Beijing"), V{"Beijing"});
    EXPECT_EQ(CityList(lines, "United States", "California"), (V{"Los Angeles", "San Francisco"}));
    EXPECT_EQ(CityList(lines, "United States", "New York"), V{"New York City"});
    EXPECT_EQ(CityList(lines, "United States", "Texas"), V{});
    EXPECT_EQ(CityList(lines, "Nowhere", "Beijing"), V{});
}

TEST(ReferenceLists, ReadTextLinesAcceptsAnyLineBreak)
{
    TempDir dir;
    WriteFileBytes(dir / "c.txt", "A\r\n\tB\n\t\tC\rD");
    EXPECT_EQ(ReadTextLines(dir / "c.txt"), (std::vector<std::string>{"A", "\tB", "\t\tC", "D"}));
    EXPECT_TRUE(ReadTextLines(dir / "none.txt").empty());
}
