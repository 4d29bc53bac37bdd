#pragma once
// The main window: creation, settings at start and shutdown, showing and
// bringing to front, and the main menu. The skinned face comes with the skin.

#include <QWidget>

#include <memory>
#include <string>

#include "app/TimedActions.h"
#include "app/UserSettings.h"

class QLabel;
class QMenu;
class QAction;
class QTimer;
class TfrmOrvaneVideo;

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    TfrmMain();
    ~TfrmMain() override;

    void LoadSettings();
    void SaveSettings();
    // Offers the downloaded upgrade and hands over to it.
    void LaunchUpgrade();
    void BringToFront();
    void SetAlwaysOnTop(bool on);

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
    QLabel *slblClock = nullptr;
    QTimer *tmrCheck = nullptr;
    QMenu *pmMainMenu = nullptr;
    QAction *nAlwaysOnTop = nullptr;
    bool showAtStart_ = true;
    bool closing_ = false;
};
