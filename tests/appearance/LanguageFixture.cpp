#include "LanguageFixture.h"

#include "app/GlobalUnit.h"
#include "appearance/LanguageU.h"

#include <filesystem>

void LanguageTest::SetUp()
{
    savedAppPath_ = AppPath();
    savedLng_ = CurLng();
    SetAppPath(dir_.Path());
    std::filesystem::create_directory(dir_ / "Language");
    ResetMessages();
}

void LanguageTest::TearDown()
{
    ResetMessages();
    SetAppPath(savedAppPath_);
    SetCurLng(savedLng_);
}

void LanguageTest::WriteLanguage(const std::string &code, const std::string &bytes)
{
    WriteFileBytes(LanguageFileName(code), bytes);
}

void LanguageTest::ResetMessages()
{
    std::string file = "[Strings]\r\n";
    for (int key = 1; key <= MessageCount; ++key)
        file += std::to_string(key) + "=" + DefaultMsg(key) + "\r\n";
    WriteLanguage("defaults-for-test", file);
    SetCurLng("defaults-for-test");
    ASSERT_TRUE(LoadMessageTable());
    for (int key = 1; key <= MessageCount; ++key)
        ASSERT_EQ(Msg(key), DefaultMsg(key)) << key;
    std::filesystem::remove(LanguageFileName("defaults-for-test"));
    SetCurLng("eng");
}

std::string AllStrings(const std::string &prefix)
{
    std::string s = "[Strings]\r\n";
    for (int key = 1; key <= MessageCount; ++key)
        s += std::to_string(key) + "=" + prefix + std::to_string(key) + "\r\n";
    return s;
}
