#pragma once
// A program folder of its own for language tests: AppPath points at a fresh
// temporary folder with "Language/", and the message table starts from the
// English defaults. Everything global is put back afterwards.

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes "Language/<code>.ini" with these bytes.
    void WriteLanguage(const std::string &code, const std::string &bytes);
    // The message table back to the English defaults.
    void ResetMessages();

    TempDir dir_;

private:
    std::string savedAppPath_;
    std::string savedLng_;
};

// "[Strings]" with every key 1 to 147 set to prefix + key.
std::string AllStrings(const std::string &prefix);
