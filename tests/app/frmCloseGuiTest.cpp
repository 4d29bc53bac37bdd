// The main window's close button with the close dialog: what the user
// chooses there decides between hiding to the tray and exiting, and is saved.

#include "app/GlobalUnit.h"
#include "app/frmCloseU.h"
#include "app/frmMainU.h"
#include "platform/IniFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSystemTrayIcon>
#include <QTimer>

#include <filesystem>
#include <functional>

namespace {

class CloseChoice : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = AppPath();
        SetAppPath(dir_.Path());
        std::filesystem::create_directories(dir_ / "Skins");
        std::filesystem::copy(std::string(ORVANE_SOURCE_DIR) + "/data/Skins/default", dir_ / "Skins/default",
                              std::filesystem::copy_options::recursive);
    }
    void TearDown() override { SetAppPath(saved_); }

    // Presses the close button and lets `answer` handle the dialog, if one comes.
    void CloseButton(TfrmMain &w, const std::function<void(TfrmClose &)> &answer)
    {
        QTimer::singleShot(0, [&] {
            if (auto *dialog = qobject_cast<TfrmClose *>(QApplication::activeModalWidget())) {
                asked_ = true;
                answer(*dialog);
            }
        });
        w.CloseButton();
        PumpEvents(10);
    }
    static void Press(TfrmClose &d, const char *button) { d.findChild<QAbstractButton *>(button)->click(); }
    std::string Saved(const char *key) { return IniFile(dir_ / "User.ini").ReadString("Options", key, "absent"); }

    TempDir dir_;
    std::string saved_;
    bool asked_ = false;
};

} // namespace

TEST_F(CloseChoice, ExitChosenInTheDialogEndsTheProgramAndIsRemembered)
{
    WriteFileBytes(dir_ / "User.ini", "");
    TfrmMain w;
    w.show();
    CloseButton(w, [](TfrmClose &d) {
        EXPECT_TRUE(d.findChild<QRadioButton *>("rbMinimize")->isChecked()); // from CloseToTray
        EXPECT_TRUE(d.findChild<QCheckBox *>("ckbNotShow")->isChecked());
        Press(d, "rbExit");
        Press(d, "btnOK");
    });
    EXPECT_TRUE(asked_);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.TrayIcon()->isVisible()); // the shutdown ran
    EXPECT_EQ(Saved("NotShowCloseForm"), "1");
    EXPECT_EQ(Saved("CloseToTray"), "0");
}

TEST_F(CloseChoice, CancelledDialogChangesNothingAndHidesToTheTray)
{
    WriteFileBytes(dir_ / "User.ini", "");
    TfrmMain w;
    w.show();
    CloseButton(w, [](TfrmClose &d) {
        Press(d, "rbExit");
        Press(d, "btnCancel");
    });
    EXPECT_TRUE(asked_);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.TrayIcon()->isVisible());
    EXPECT_FALSE(w.Settings().NotShowCloseForm);
    EXPECT_TRUE(w.Settings().CloseToTray);
    w.close();
    EXPECT_EQ(Saved("NotShowCloseForm"), "0");
    EXPECT_EQ(Saved("CloseToTray"), "absent"); // the default is not written
}

TEST_F(CloseChoice, HidingToTheTrayWithoutAskingSwitchesTheTrayIconOn)
{
    WriteFileBytes(dir_ / "User.ini", "[Options]\r\nNotShowCloseForm=1\r\nTrayIconVisible=0\r\n");
    TfrmMain w;
    w.show();
    EXPECT_FALSE(w.TrayIcon()->isVisible());
    CloseButton(w, [](TfrmClose &) {});
    EXPECT_FALSE(asked_);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.TrayIcon()->isVisible());
    w.close();
    EXPECT_EQ(Saved("TrayIconVisible"), "1");
}
