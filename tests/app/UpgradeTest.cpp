#include "app/Upgrade.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST(CopyListedFiles, CreatesFoldersAndCopiesFilesOverwriting)
{
    TempDir src, dst;
    WriteFileBytes(src / "bin.txt", "Skins\\new\\\r\n\r\norvane\r\nSkins/new/skin.ini\nLanguage/eng.ini\r\n");
    WriteFileBytes(src / "orvane", "new program");
    WriteFileBytes(src / "Skins/new/skin.ini", "[Main]");
    WriteFileBytes(src / "Language/eng.ini", "[Info]");
    WriteFileBytes(dst / "orvane", "old program");
    fs::create_directories(dst / "Language");

    EXPECT_TRUE(CopyListedFiles(src.Path(), dst.Path(), "bin"));
    EXPECT_EQ(ReadFileBytes(dst / "orvane"), "new program");
    EXPECT_EQ(ReadFileBytes(dst / "Skins/new/skin.ini"), "[Main]");
    EXPECT_EQ(ReadFileBytes(dst / "Language/eng.ini"), "[Info]");
    EXPECT_EQ(ReadFileBytes(src / "bin.txt").substr(0, 11), "Skins\\new\\\r"); // the list is not rewritten
}

TEST(CopyListedFiles, MissingOrEmptyListCountsAsDone)
{
    TempDir src, dst;
    EXPECT_TRUE(CopyListedFiles(src.Path(), dst.Path(), "dll"));
    WriteFileBytes(src / "dll.txt", "\r\n\r\n\n");
    EXPECT_TRUE(CopyListedFiles(src.Path(), dst.Path(), "dll"));
}

TEST(CopyListedFiles, FailsOnUnsafeOrImpossibleLinesButDoesTheRest)
{
    struct Case { const char *line; } cases[] = {
        {"../outside.txt"}, {"/etc/passwd"}, {"sub/../../x"}, {"C:\\x.dll"}, {"missing.dll"}, {"blocked"},
    };
    for (const auto &c : cases) {
        TempDir src, dst;
        WriteFileBytes(src / "bin.txt", std::string(c.line) + "\r\ngood.dll\r\n");
        WriteFileBytes(src / "good.dll", "ok");
        WriteFileBytes(src / "blocked", "file");
        fs::create_directories(dst / "blocked/inner"); // a folder where the file should go
        EXPECT_FALSE(CopyListedFiles(src.Path(), dst.Path(), "bin")) << c.line;
        EXPECT_EQ(ReadFileBytes(dst / "good.dll"), "ok") << c.line;
        EXPECT_FALSE(FileExists(dst.Path() + "../outside.txt")) << c.line;
    }
}

TEST(InstallUpgrade, WrongArgumentsEndWithoutDoingAnything)
{
    TempDir dst;
    EXPECT_FALSE(InstallUpgrade({"abc", dst.Path()}));
    EXPECT_FALSE(InstallUpgrade({"0", dst.Path()}));
    EXPECT_FALSE(InstallUpgrade({"12345", dst.Path() + "no-such-folder/"}));
}
