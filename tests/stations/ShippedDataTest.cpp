// The shipped maker's station data: data/Data/<lang>/data.dat deciphers to
// the reviewable source list tools/stations/stations-<lang>.tsv, its index
// files are the ones the data tool makes from that list, and every station's
// genre, place, language and speed stands in the language's reference lists.
#include "StationTestSupport.h"
#include "TestSupport.h"
#include "app/GlobalUnit.h"
#include "stations/RadioTextDB.h"
#include "stations/StationData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace {

const std::string Source = ORVANE_SOURCE_DIR;

bool ValidUtf8(const std::string &s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (n < 0 || i + static_cast<std::size_t>(n) >= s.size() + (n == 0 ? 1 : 0))
            return false;
        for (int k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) >> 6) != 2)
                return false;
        i += static_cast<std::size_t>(n) + 1;
    }
    return true;
}

bool HasNonAscii(const std::string &s)
{
    return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

class ShippedData : public ::testing::TestWithParam<std::string> {
protected:
    std::string Lang() const { return GetParam(); }
    std::string DataDir() const { return Source + "/data/Data/" + Lang() + "/"; }
    std::vector<TStationColumns> Rows()
    {
        std::vector<TStationColumns> rows;
        std::string error;
        EXPECT_TRUE(ReadStationSource(Source + "/tools/stations/stations-" + Lang() + ".tsv", rows, error)) << error;
        return rows;
    }
};

} // namespace

TEST_P(ShippedData, DeciphersToTheSourceList)
{
    const auto rows = Rows();
    ASSERT_GE(rows.size(), 300u);
    // Work on a copy: the shipped files stay untouched whatever happens.
    TempDir dir;
    for (const char *f : {"data.dat", "data.idp", "data.idi"})
        std::filesystem::copy_file(DataDir() + f, dir / f);
    TRadioTable t;
    t.SetTableName(dir / "data.dat");
    t.SetEncry(true);
    ASSERT_TRUE(t.Open());
    ASSERT_EQ(t.RecordCount(), static_cast<int>(rows.size()));
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const TStationColumns &r = rows[k];
        const std::vector<std::string> expected(r.begin(), r.end());
        const std::string raw = t.LoadLine(static_cast<int>(k + 1));
        EXPECT_EQ(raw, ComposeStationLine(r, true)) << r[0];
        const std::vector<std::string> fields = {t.VID, t.VRadioName, t.VGenre, t.VCountry, t.VState,
                                                 t.VCity, t.VLanguage, t.VFormat, t.VValidity, t.VSpeed,
                                                 t.VFrequency, t.VProxy, t.VHomepage, t.VSchedule, t.VStreamURL};
        ASSERT_EQ(fields, expected) << "line " << k + 1;
        t.ClearFields();
        ASSERT_TRUE(t.LoadById(std::stoi(r[0]))) << r[0];
        EXPECT_EQ(t.ComposeRecord(), ComposeStationLine(r, false));
        EXPECT_FALSE(TRadioTable::SplitAddresses(t.VStreamURL).empty());
    }
    EXPECT_FALSE(t.LoadById(0));
    EXPECT_FALSE(t.LoadById(100000));
    // The shipped files are exactly what the data tool makes from the list.
    std::vector<std::string> lines;
    for (const TStationColumns &r : rows)
        lines.push_back(ComposeStationLine(r, true));
    std::string error;
    ASSERT_TRUE(WriteTableFiles(dir / "again.dat", lines, IdpStamp(DataDir() + "data.idp"), error)) << error;
    EXPECT_EQ(ReadFileBytes(dir / "again.dat"), ReadFileBytes(DataDir() + "data.dat"))
        << "data.dat is out of date: cmake --build <build dir> --target station_data";
    EXPECT_EQ(ReadFileBytes(dir / "again.idp"), ReadFileBytes(DataDir() + "data.idp"));
    EXPECT_EQ(ReadFileBytes(dir / "again.idi"), ReadFileBytes(DataDir() + "data.idi"));
}

TEST_P(ShippedData, RecordsAreWellFormed)
{
    std::set<std::string> names;
    for (const TStationColumns &r : Rows()) {
        EXPECT_FALSE(r[1].empty()) << r[0];
        EXPECT_TRUE(names.insert(r[1]).second) << "name twice: " << r[1];
        EXPECT_TRUE(r[7] == "2" || r[7] == "3") << r[0];
        EXPECT_EQ(r[8], "0") << r[0];
        EXPECT_TRUE(r[12].rfind("http", 0) == 0) << r[0];
        for (const std::string &url : TRadioTable::SplitAddresses(r[14]))
            EXPECT_TRUE(url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0) << r[0] << " " << url;
        for (const std::string &c : r)
            EXPECT_TRUE(ValidUtf8(c)) << r[0];
    }
}

TEST_P(ShippedData, ReferenceListsHoldEveryStationsValues)
{
    const std::string dir = Source + "/data/Language/" + Lang() + "/";
    const auto genres = LoadChoiceList(dir + "genre.txt");
    const auto languages = LoadChoiceList(dir + "language.txt");
    const auto speeds = LoadChoiceList(dir + "speed.txt");
    const auto outline = ReadTextLines(dir + "country.txt");
    ASSERT_FALSE(genres.empty());
    ASSERT_FALSE(languages.empty());
    ASSERT_FALSE(speeds.empty());
    ASSERT_FALSE(outline.empty());
    // Shipped text files end their lines with CR LF.
    for (const char *f : {"genre.txt", "language.txt", "speed.txt", "country.txt"}) {
        const std::string bytes = ReadFileBytes(dir + f);
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << f;
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), std::count(bytes.begin(), bytes.end(), '\r')) << f;
        EXPECT_TRUE(ValidUtf8(bytes)) << f;
    }
    const auto countries = CountryList(outline);
    auto has = [](const std::vector<std::string> &list, const std::string &v) {
        return std::find(list.begin(), list.end(), v) != list.end();
    };
    for (const TStationColumns &r : Rows()) {
        EXPECT_TRUE(has(genres, r[2])) << r[0] << " genre " << r[2];
        EXPECT_TRUE(has(countries, r[3])) << r[0] << " country " << r[3];
        EXPECT_TRUE(has(StateList(outline, r[3]), r[4])) << r[0] << " state " << r[4];
        EXPECT_TRUE(has(CityList(outline, r[3], r[4]), r[5])) << r[0] << " city " << r[5];
        EXPECT_TRUE(has(languages, r[6])) << r[0] << " language " << r[6];
        EXPECT_TRUE(has(speeds, r[9])) << r[0] << " speed " << r[9];
    }
}

TEST(ShippedDataChs, TextsAreChinese)
{
    std::vector<TStationColumns> rows;
    std::string error;
    ASSERT_TRUE(ReadStationSource(Source + "/tools/stations/stations-chs.tsv", rows, error)) << error;
    for (const TStationColumns &r : rows) {
        EXPECT_TRUE(HasNonAscii(r[2])) << r[0] << " genre " << r[2];
        EXPECT_TRUE(HasNonAscii(r[3])) << r[0] << " country " << r[3];
        EXPECT_TRUE(HasNonAscii(r[6])) << r[0] << " language " << r[6];
    }
    const auto chinese = std::count_if(rows.begin(), rows.end(), [](const TStationColumns &r) { return HasNonAscii(r[1]); });
    EXPECT_GE(chinese, 50);
}

TEST(ShippedDataProgramFolder, TheBuiltProgramReadsItsStations)
{
    // The build copies data/ into the program folder; a maker's station is
    // found there by the ID rule.
    const std::string savedApp = AppPath(), savedLng = CurLng();
    TempDir dir;
    std::filesystem::copy(std::string(ORVANE_PROGRAM_DIR) + "/Data", dir / "Data",
                          std::filesystem::copy_options::recursive);
    SetAppPath(dir.Path());
    for (const char *lng : {"eng", "chs"}) {
        SetCurLng(lng);
        TRadioTable t;
        t.SelectById(1);
        ASSERT_TRUE(t.Open()) << lng;
        ASSERT_TRUE(t.LoadById(1)) << lng;
        EXPECT_EQ(t.VRadioName, "SomaFM Groove Salad");
        EXPECT_EQ(TRadioTable::SplitAddresses(t.VStreamURL).front(), "http://ice1.somafm.com/groovesalad-128-mp3");
        EXPECT_EQ(t.StationInfoText().find("StreamURL"), std::string::npos);
        t.Close();
    }
    SetAppPath(savedApp);
    SetCurLng(savedLng);
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedData, ::testing::Values("eng", "chs"));
