#include "platform/IniFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <thread>

TEST(IniFile, MissingFileReadsDefaultsAndWriteCreatesIt)
{
    TempDir dir;
    IniFile ini(dir / "User.ini");
    EXPECT_EQ(ini.ReadString("Player", "CurUserUrl", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInteger("Player", "Volume", 100), 100);
    EXPECT_FALSE(ini.SectionExists("Player"));
    ASSERT_TRUE(ini.WriteInteger("Player", "Volume", 42));
    EXPECT_EQ(ReadFileBytes(dir / "User.ini"), "[Player]\r\nVolume=42\r\n");
}

TEST(IniFile, SectionsAndKeysIgnoreCaseAndValuesAreTrimmed)
{
    TempDir dir;
    WriteFileBytes(dir / "a.ini", "; comment\n[Options]\r\n  RetryNum = 7 \r\nName=\"quoted value\"\r\n[options]\nRetryNum=9\n");
    IniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadInteger("OPTIONS", "retrynum", 0), 7); // first section wins
    EXPECT_EQ(ini.ReadString("options", "name", ""), "quoted value");
    EXPECT_TRUE(ini.ValueExists("Options", "RETRYNUM"));
    EXPECT_FALSE(ini.ValueExists("Options", "Missing"));
}

TEST(IniFile, NonNumbersReadAsDefault)
{
    TempDir dir;
    WriteFileBytes(dir / "a.ini", "[S]\nA=12x\nB=\nC=-5\nD=99999999999\nE=+3\nT=25:00:00\nU=7:05\n");
    IniFile ini(dir / "a.ini");
    struct Case { const char *key; int expected; } cases[] = {
        {"A", 1}, {"B", 1}, {"C", -5}, {"D", 1}, {"E", 3}, {"Z", 1}};
    for (const auto &c : cases)
        EXPECT_EQ(ini.ReadInteger("S", c.key, 1), c.expected) << c.key;
    EXPECT_DOUBLE_EQ(ini.ReadTime("S", "T", 0.5), 0.5);
    EXPECT_DOUBLE_EQ(ini.ReadTime("S", "U", 0), (7 * 3600 + 5 * 60) / 86400.0);
}

TEST(IniFile, WritesReplaceInPlaceKeepOtherLinesAndUseCrLf)
{
    TempDir dir;
    WriteFileBytes(dir / "a.ini", "[A]\nx=1\n\n[B]\ny=2\n");
    IniFile ini(dir / "a.ini");
    ASSERT_TRUE(ini.WriteString("a", "X", "5"));
    ASSERT_TRUE(ini.WriteString("A", "z", "6"));
    ASSERT_TRUE(ini.WriteString("C", "w", "7"));
    EXPECT_EQ(ReadFileBytes(dir / "a.ini"), "[A]\r\nX=5\r\nz=6\r\n\r\n[B]\r\ny=2\r\n[C]\r\nw=7\r\n");
    ASSERT_TRUE(ini.DeleteKey("B", "y"));
    ASSERT_TRUE(ini.EraseSection("A"));
    EXPECT_EQ(ReadFileBytes(dir / "a.ini"), "[B]\r\n[C]\r\nw=7\r\n");
}

TEST(IniFile, ReadOnlyFileIsNotWritten)
{
    TempDir dir;
    WriteFileBytes(dir / "a.ini", "[A]\r\nx=1\r\n");
    chmod((dir / "a.ini").c_str(), 0444);
    IniFile ini(dir / "a.ini");
    EXPECT_FALSE(ini.WriteString("A", "x", "2"));
    EXPECT_EQ(ini.ReadString("A", "x", ""), "1");
}

TEST(IniFile, TimesRoundTripInFixedForm)
{
    TempDir dir;
    IniFile ini(dir / "a.ini");
    const double t = (13 * 3600 + 4 * 60 + 5) / 86400.0;
    ASSERT_TRUE(ini.WriteTime("O", "T", t));
    EXPECT_EQ(ini.ReadString("O", "T", ""), "13:04:05");
    EXPECT_NEAR(ini.ReadTime("O", "T", 0), t, 1e-9);
    EXPECT_EQ(FormatTimeOfDay(0), "0:00:00");
}

TEST(IniFile, ConcurrentWritersToDifferentSectionsLoseNothing)
{
    TempDir dir;
    auto writer = [&](const char *section) {
        IniFile ini(dir / "a.ini");
        for (int i = 0; i < 100; ++i)
            ini.WriteInteger(section, "k" + std::to_string(i), i);
    };
    std::thread a(writer, "Worker"), b(writer, "Gui");
    a.join();
    b.join();
    IniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadSection("Worker").size(), 100u);
    EXPECT_EQ(ini.ReadSection("Gui").size(), 100u);
}
