#include "platform/IniFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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
