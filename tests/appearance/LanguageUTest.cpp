#include "appearance/LanguageU.h"
#include "app/GlobalUnit.h"
#include "platform/IniFile.h"

#include "LanguageFixture.h"

#include <filesystem>
#include <regex>

TEST(MessageTable, EnglishDefaults)
{
    const std::pair<int, const char *> samples[] = {
        {1, "Question"},
        {2, "Information"},
        {7, "Exit %s"},
        {18, "Play"},
        {23, "<< Get more skins! >>"},
        {24, "Equation:%d%%Left"},
        {44, "Trcack Equation Tune"},
        {56, "Really Delete \"%s\" ?"},
        {65, "Name :"},
        {93, "&Simple"},
        {111, "CD Quality,Commend"},
        {125, "Size: %d bytes"},
        {144, "You already have the latest version(%s) of Orvane."},
        {147, "Load flash object fails, will download flash.ocx, please wait a minute and try again."},
    };
    for (const auto &[key, text] : samples)
        EXPECT_EQ(DefaultMsg(key), text) << key;
    for (int key = 1; key <= MessageCount; ++key)
        EXPECT_FALSE(DefaultMsg(key).empty()) << key;
    for (int key : {-1, 0, MessageCount + 1}) {
        EXPECT_EQ(DefaultMsg(key), "") << key;
        EXPECT_EQ(Msg(key), "") << key;
    }
}

TEST_F(LanguageTest, StringsReplaceMessagesAndBadValuesKeepThem)
{
    WriteLanguage("xx", "[Info]\r\nLanguage=Test\r\n"
                        "[strings]\r\n"
                        "0=zero\r\n"
                        "148=beyond\r\n"
                        "1=Frage\r\n"
                        "1=second one loses\r\n"
                        "5=\r\n"
                        "07=leading zero is another key\r\n"
                        "this line has no equals sign\r\n"
                        "=no key\r\n"
                        "16=  Halt  \r\n"
                        "18=\xD6\xD0\xCE\xC4\r\n" // GBK bytes, not UTF-8
                        "19=\xE4\xB8\x8B\xE4\xB8\x80\xE4\xB8\xAA\r\n"
                        "20=\xED\xA0\x80\r\n" // an encoded surrogate
                        "21=\xC0\xAF\r\n"     // an overlong "/"
                        "[Other]\r\n"
                        "2=not a message\r\n");
    SetCurLng("xx");
    ASSERT_TRUE(LoadMessageTable());

    EXPECT_EQ(Msg(1), "Frage");
    EXPECT_EQ(Msg(16), "Halt");
    EXPECT_EQ(Msg(19), "\xE4\xB8\x8B\xE4\xB8\x80\xE4\xB8\xAA");
    for (int key : {2, 5, 7, 18, 20, 21, 147})
        EXPECT_EQ(Msg(key), DefaultMsg(key)) << key;
    EXPECT_EQ(Msg(0), "");
    EXPECT_EQ(Msg(148), "");
}

TEST_F(LanguageTest, PartialFileKeepsThePreviousLanguage)
{
    WriteLanguage("full", AllStrings("full-"));
    std::string partial = "[Strings]\r\n";
    for (int key = 1; key <= 10; ++key)
        partial += std::to_string(key) + "=part-" + std::to_string(key) + "\r\n";
    WriteLanguage("part", partial);

    SetCurLng("full");
    ASSERT_TRUE(LoadMessageTable());
    SetCurLng("part");
    ASSERT_TRUE(LoadMessageTable());

    for (int key = 1; key <= MessageCount; ++key)
        EXPECT_EQ(Msg(key), (key <= 10 ? "part-" : "full-") + std::to_string(key)) << key;
}

TEST_F(LanguageTest, MissingFileOrSectionLeavesTheTable)
{
    WriteLanguage("nostrings", "[Info]\r\nLanguage=Nothing\r\n");
    for (const char *code : {"absent", "nostrings"}) {
        SetCurLng(code);
        EXPECT_FALSE(LoadMessageTable()) << code;
        EXPECT_EQ(Msg(1), "Question") << code;
    }
}

TEST(StartLanguage, SettingsFirstThenSystemLanguage)
{
    struct Case {
        const char *settings; // nullptr: no settings file
        int systemId;
        const char *expected;
    } cases[] = {
        {nullptr, 2052, "chs"},
        {nullptr, 4100, "cht"},
        {nullptr, 1028, "cht"},
        {nullptr, 1033, "eng"},
        {"[Language]\r\nCurLng=\r\n", 3076, "cht"},
        {"[Language]\r\nCurLng=eng\r\n", 2052, "eng"},
        {"[language]\r\ncurlng=my\r\n", 2052, "my"},
        {"[Language]\r\nCurLng=../../etc/passwd\r\n", 2052, "chs"},
        {"[Language]\r\nCurLng=..\r\n", 1033, "eng"},
    };
    for (const Case &c : cases) {
        TempDir dir;
        if (c.settings)
            WriteFileBytes(dir / "User.ini", c.settings);
        EXPECT_EQ(StartLanguage(dir / "User.ini", c.systemId), c.expected)
            << (c.settings ? c.settings : "no file") << " / " << c.systemId;
    }
}

TEST_F(LanguageTest, InitLanguageTakesTheSettingsAndLoadsItsMessages)
{
    WriteFileBytes(UserIniFileName(), "[Language]\r\nCurLng=my\r\n");
    WriteLanguage("my", "[Strings]\r\n2=Auskunft\r\n");
    InitLanguage();
    EXPECT_EQ(CurLng(), "my");
    EXPECT_EQ(Msg(2), "Auskunft");
}

TEST_F(LanguageTest, LanguageListOffersNamedIniFilesInDirectoryOrder)
{
    WriteLanguage("eng", "[Info]\r\nLanguage=English\r\n");
    WriteFileBytes(dir_ / "Language/chs.INI", "[info]\r\nlanguage=\xE7\xAE\x80\xE4\xBD\x93\r\n");
    WriteLanguage("de", "; German\r\n[Info]\r\nLanguage=Deutsch\r\n[Strings]\r\n1=Frage\r\n");
    WriteLanguage("noinfo", "[Strings]\r\n1=x\r\n");
    WriteLanguage("emptyname", "[Info]\r\nLanguage=\r\n");
    WriteLanguage("gbk", "[Info]\r\nLanguage=\xD6\xD0\xCE\xC4\r\n");
    WriteFileBytes(dir_ / "Language/.hidden.ini", "[Info]\r\nLanguage=Hidden\r\n");
    WriteFileBytes(dir_ / "Language/readme.txt", "[Info]\r\nLanguage=Text\r\n");
    std::filesystem::create_directory(dir_ / "Language/folder.ini");

    const auto entries = ListLanguages(LanguagePath(), "CHS");

    // No sorting: the order is whatever the directory lists.
    std::vector<std::string> expectedOrder;
    for (const auto &e : std::filesystem::directory_iterator(dir_ / "Language")) {
        const std::string stem = e.path().stem().string();
        if (stem == "eng" || stem == "chs" || stem == "de")
            expectedOrder.push_back(stem);
    }
    std::vector<std::string> codes;
    for (const auto &e : entries)
        codes.push_back(e.Code);
    EXPECT_EQ(codes, expectedOrder);

    for (const auto &e : entries) {
        if (e.Code == "eng")
            EXPECT_EQ(e.Caption, "English");
        if (e.Code == "chs")
            EXPECT_EQ(e.Caption, "\xE7\xAE\x80\xE4\xBD\x93");
        EXPECT_EQ(e.Checked, e.Code == "chs") << e.Code;
    }
    EXPECT_TRUE(ListLanguages(dir_ / "no such folder/", "eng").empty());
}

namespace {

const std::string ShippedFolder = std::string(ORVANE_SOURCE_DIR) + "/data/Language/";

// The window sections of a file, in file order.
std::vector<std::string> WindowSections(const std::string &fileName)
{
    std::vector<std::string> names;
    static const std::regex header(R"(^\[([^\]]+)\]\r?$)");
    const std::string bytes = ReadFileBytes(fileName);
    std::smatch m;
    for (size_t begin = 0; begin < bytes.size();) {
        size_t end = bytes.find('\n', begin);
        if (end == std::string::npos)
            end = bytes.size();
        const std::string line = bytes.substr(begin, end - begin);
        if (std::regex_match(line, m, header) && m[1] != "Info" && m[1] != "Strings" && m[1] != "Font")
            names.push_back(m[1]);
        begin = end + 1;
    }
    return names;
}

std::vector<std::string> FormatSpecs(const std::string &text)
{
    static const std::regex placeholder("%[sd%]");
    std::vector<std::string> specs;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), placeholder); it != std::sregex_iterator(); ++it)
        specs.push_back(it->str());
    return specs;
}

} // namespace

TEST(ShippedLanguages, EnglishFileHoldsTheDefaults)
{
    const std::string eng = ShippedFolder + "eng.ini";
    EXPECT_EQ(IniFile(eng).ReadString("Info", "Language", ""), "English");
    const TLanguageSection strings(eng, "Strings");
    for (int key = 1; key <= MessageCount; ++key)
        EXPECT_EQ(strings.Text(std::to_string(key)).value_or("<missing>"), DefaultMsg(key)) << key;
}

TEST(ShippedLanguages, ChineseFileTranslatesEveryKeyOfTheEnglishOne)
{
    const std::string eng = ShippedFolder + "eng.ini";
    const std::string chs = ShippedFolder + "chs.ini";
    EXPECT_TRUE(TLanguageSection(chs, "Info").Text("Language").has_value());

    const TLanguageSection strings(chs, "Strings");
    for (int key = 1; key <= MessageCount; ++key) {
        const auto text = strings.Text(std::to_string(key));
        ASSERT_TRUE(text.has_value()) << key;
        // The program formats these: the same patterns in the same order.
        EXPECT_EQ(FormatSpecs(*text), FormatSpecs(DefaultMsg(key))) << key << ": " << *text;
    }

    const auto engSections = WindowSections(eng);
    EXPECT_EQ(WindowSections(chs), engSections);
    for (const std::string &section : engSections) {
        const auto keys = IniFile(eng).ReadSection(section);
        EXPECT_EQ(IniFile(chs).ReadSection(section), keys) << section;
        const TLanguageSection engTexts(eng, section), chsTexts(chs, section);
        for (const std::string &key : keys) {
            const auto english = engTexts.Text(key);
            const auto chinese = chsTexts.Text(key);
            ASSERT_TRUE(english && chinese) << section << "." << key;
            EXPECT_EQ(FormatSpecs(*chinese), FormatSpecs(*english)) << section << "." << key;
        }
    }
    for (const char *window : {"frmMain", "frmClose", "frmAbout", "frmPlayList", "frmOptions"})
        EXPECT_NE(std::find(engSections.begin(), engSections.end(), window), engSections.end()) << window;
}
