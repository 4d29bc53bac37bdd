#pragma once
// The main window: creation, settings at start and shutdown, showing and
// bringing to front, and the main menu. The skinned face comes with the skin.

#include <QWidget>

#include <memory>
#include <string>

#include "app/TimedActions.h"
#include "app/UserSettings.h"
#include "app/frmVideoU.h"

class QLabel;
class QMenu;
class QAction;
class QTimer;

class TfrmMain : public QWidget, public TPlayDisplay {
    Q_OBJECT
public:
    TfrmMain();
    ~TfrmMain() override;

    void LoadSettings();
    void SaveSettings();
    // Offers the downloaded upgrade and hands over to it.
    void LaunchUpgrade();
    void BringToFront() override;
    void SetAlwaysOnTop(bool on);

    // What the video window shows here.
    void SetStateText(const std::string &text) override;
    void SetSpeedText(const std::string &text) override;
    void SetElapsedText(const std::string &text) override;
    void SetElapsedDigits(const std::string &text) override;
    void ShowName(const std::string &title, const std::string &hint) override;
    void ShowPlayState(int face) override;
    void SetTrayActive(bool active, int intervalMs) override;
    void PlaceProgressThumb(double fraction) override;
    bool MainWindowShown() const override { return isVisible(); }
    void SetMemoryTrimCountdown(int ticks) override { timedActions_.SetMemoryTrimCountdown(ticks); }
    int InfoBarCountdown() const override { return timedActions_.InfoRotationCountdown(); }
    void SetInfoBarCountdown(int ticks) override { timedActions_.SetInfoRotationCountdown(ticks); }

    // The play-state face last shown (0 opening, 1 playing, 2 paused, 3 stopped)
    // and the tray animation the tray icon follows.
    int PlayStateFace() const { return playStateFace_; }
    bool TrayActive() const { return trayActive_; }
    int TrayInterval() const { return trayInterval_; }
    double ProgressFraction() const { return progress_; }

    // False when the settings ask to start hidden in the tray.
    bool ShowAtStart() const { return showAtStart_; }
    TfrmOrvaneVideo *VideoWindow() const { return frmOrvaneVideo_.get(); }
    const TUserSettings &Settings() const { return settings_; }

    // Addresses of our web sites, opened by menu entries and dialogs.
    std::string SiteUrl, Site2Url, SearchDataUrl, QuestionUrl, SubmitRadioUrl;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void CreateUserIniFromShipped();
    void CreateMenu();
    TTimedTargets TickTargets();
    void tmrCheckTimer();
    // Stops, saves and hides everything; the program ends afterwards.
    void RunShutdown();

    TUserSettings settings_;
    TTimedActions timedActions_;
    std::unique_ptr<TfrmOrvaneVideo> frmOrvaneVideo_;
    QLabel *slblRadioName = nullptr;
    QLabel *slblState = nullptr;
    QLabel *slblSpeed = nullptr;
    QLabel *slblElapsed = nullptr;
    QLabel *slblClock = nullptr;
    QTimer *tmrCheck = nullptr;
    QMenu *pmMainMenu = nullptr;
    QAction *nAlwaysOnTop = nullptr;
    int playStateFace_ = 3;
    double progress_ = 0;
    bool trayActive_ = false;
    int trayInterval_ = 0;
    bool showAtStart_ = true;
    bool closing_ = false;
};
