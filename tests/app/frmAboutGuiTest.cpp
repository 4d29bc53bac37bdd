// The about box: its captions take the program's title, version and the
// installed station data version of the current language.

#include "app/GlobalUnit.h"
#include "app/frmAboutU.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

namespace {

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = AppPath();
        SetAppPath(dir_.Path());
        SetCurLng("eng");
        QApplication::setApplicationDisplayName("Orvane");
    }
    void TearDown() override { SetAppPath(saved_); }
    static std::string Text(const TfrmAbout &about, const char *name)
    {
        return about.findChild<QLabel *>(name)->text().toStdString();
    }
    TempDir dir_;
    std::string saved_;
};

} // namespace

TEST_F(AboutBox, ShowsTitleVersionAndTheDataVersionOfTheCurrentLanguage)
{
    WriteFileBytes(dir_ / "User.ini", "[Update]\r\ndata_chs=2020-01-01\r\nData_eng=2024-05-06\r\n");
    TfrmAbout about(nullptr, "http://www.orvane.net/");
    EXPECT_EQ(about.windowTitle().toStdString(), "About Orvane");
    EXPECT_EQ(Text(about, "lblTitle"), "Orvane");
    EXPECT_EQ(Text(about, "lblVersion"), "Version: " ORVANE_VERSION);
    EXPECT_EQ(Text(about, "lblData"), "Data: 2024-05-06");
    EXPECT_EQ(Text(about, "lblWebsit"), "http://www.orvane.net/");
    EXPECT_FALSE(about.findChild<QLineEdit *>("edtAuthor")->text().isEmpty());
}

TEST_F(AboutBox, DataVersionDefaultsToTheShippedOne)
{
    TfrmAbout about(nullptr, "http://www.orvane.net/");
    EXPECT_EQ(Text(about, "lblData"), "Data: 2011-08-31");
}
