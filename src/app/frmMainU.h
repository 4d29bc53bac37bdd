#pragma once
// The main window: the small skinned control panel. Its face, outline and
// button looks come from the skin; this class runs what the buttons, sliders,
// labels, menus and the tray icon do, keeps the channel pages, and owns the
// settings at start and shutdown.

#include <QWidget>

#include <array>
#include <memory>
#include <string>

#include "app/TimedActions.h"
#include "app/UserSettings.h"
#include "app/frmVideoU.h"
#include "appearance/SkinFace.h"

class QAction;
class QMenu;
class QMimeData;
class QSystemTrayIcon;
class QTimer;
class TChannelLabel;
class TDigitsPanel;
class TScrollLabel;
class TfrmPlayList;


class TfrmMain : public QWidget, public TPlayDisplay, public TPlayListHost {
    Q_OBJECT
public:
    TfrmMain();
    ~TfrmMain() override;

    TfrmPlayList *PlayListWindow() const { return frmPlayList_.get(); }

    // What the station list window asks of this window.
    QRect MainWindowRect() const override { return geometry(); }
    void MoveMainWindow(const QPoint &topLeft) override { move(topLeft); }
    void SetChannelFromTree(int number, int id, const std::string &hint) override;
    void PlayListHidden() override { update(); }
    void MainKeyPress(QKeyEvent *event) override;

    void LoadSettings();
    void SaveSettings();
    // Offers the downloaded upgrade and hands over to it.
    void LaunchUpgrade();
    void BringToFront() override;
    void SetAlwaysOnTop(bool on);
    void SetTrayAnimation(bool on);
    void SetTrayIconVisible(bool on);
    void ShowBalloon(const std::string &text);

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

    void PlaceVolumeThumb(double fraction);
    void PlaceBalanceThumb(double fraction);
    void ChangeVolume(int delta);

    // Channels: ten labels showing one page of the numbers 1 to 90.
    void ShowChannelPage(int first);
    void LoadChannels();
    void PageUp();
    void PageDown();
    void PlayChannel(int index); // 0 to 9
    std::string ChannelCaption(int index) const;
    int ChannelTag(int index) const;
    std::string ChannelHint(int index) const;

    // There is no recorder window yet: nothing records.
    bool IsRecording() const { return false; }
    void ToggleRecording() {}

    // Runs what a button slot does on release; its hint while the mouse rests on it.
    void SlotClick(int slot);
    std::string SlotHint(int slot) const;

    // Loads a skin from the skins menu: shown on success, hidden when even
    // the default skin fails.
    bool SelectSkin(const std::string &name);
    bool SkinLoaded() const { return skinLoaded_; }
    const TSkin &Skin() const { return skin_; }
    const TMainFaceState &Face() const { return face_; }

    // The close button: asks (unless told not to) and hides to the tray or exits.
    void CloseButton();
    void DropItem(const QMimeData &data);
    // Switches to music mode and plays the music list's first entry.
    void PlayCurrentMusicEntry();
    void PlayFilesAsMusic(const std::vector<std::string> &files);
    void nOpenFilesClick();
    void nOpenDirectoryClick();

    void nShowClick();
    void nHideClick();
    void nHideAllClick();
    void nPlayClick();
    void nStopClick();
    void nPreviewClick();
    void nNextClick();
    void nPauseClick();
    void nMuteClick();
    void nIncVolClick();
    void nDecVolClick();
    void nSwitchModeClick();
    void nAboutClick();

    // The play-state face last shown (0 opening, 1 playing, 2 paused, 3 stopped)
    // and the tray animation the tray icon follows.
    int PlayStateFace() const { return face_.PlayState; }
    bool TrayActive() const { return trayActive_; }
    int TrayInterval() const { return trayInterval_; }
    bool TrayAnimating() const;

    // False when the settings ask to start hidden in the tray, or no skin loaded.
    bool ShowAtStart() const { return showAtStart_; }
    TfrmOrvaneVideo *VideoWindow() const { return frmOrvaneVideo_.get(); }
    const TUserSettings &Settings() const { return settings_; }
    QMenu *MainMenu() const { return pmMainMenu; }
    QSystemTrayIcon *TrayIcon() const { return tiTray; }

    // Addresses of our web sites, opened by menu entries and dialogs.
    std::string SiteUrl, Site2Url, SearchDataUrl, QuestionUrl, SubmitRadioUrl;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void CreateUserIniFromShipped();
    void CreateDisplays();
    void CreateMenu();
    void CreateTray();
    void ApplyFace();
    void SyncFaceState();
    void FillSkinsMenu();
    TTimedTargets TickTargets();
    void tmrCheckTimer();
    void tmrDelayTimer();
    void tiTrayClick();
    void tiTrayDblClick();
    void UpdateTrayIcon();
    void UpdateTrayAnimation();
    void NextTrayFrame();
    // Stops, saves and hides everything; the program ends afterwards.
    void RunShutdown();

    // Mouse on the face.
    int TrackAt(QPoint at) const;
    void SliderMoved(int kind);
    void SliderReleased(int kind);
    void StartVolumeRepeat();
    void StopVolumeRepeat();
    void ShowVolumeLabel(bool on);
    void UpdateHint(QPoint at);
    bool MusicMode() const;
    bool ListVisible() const;

    TUserSettings settings_;
    TTimedActions timedActions_;
    TSkin skin_;
    TMainFaceState face_;
    std::unique_ptr<TfrmOrvaneVideo> frmOrvaneVideo_;
    std::unique_ptr<TfrmPlayList> frmPlayList_; // goes before the video window it plays through

    TScrollLabel *slblRadioName = nullptr, *slblState = nullptr, *slblSpeed = nullptr;
    TScrollLabel *slblElapsed = nullptr, *slblClock = nullptr, *slblVolume = nullptr;
    TDigitsPanel *dpElapsed = nullptr, *dpClock = nullptr;
    std::array<TChannelLabel *, 10> lblNum{};
    QTimer *tmrCheck = nullptr;
    QTimer *tmrDelay = nullptr;
    QTimer *tmrTrayFrame = nullptr;
    QSystemTrayIcon *tiTray = nullptr;
    QMenu *pmMainMenu = nullptr, *pmTreeMenu = nullptr, *nSkins = nullptr, *nLanguage = nullptr;
    QAction *nAlwaysOnTop = nullptr, *nShowPlayList = nullptr, *nSwitchMode = nullptr, *nMute = nullptr;
    QAction *nHide = nullptr, *nShow = nullptr;

    bool skinLoaded_ = false;
    bool showAtStart_ = true;
    bool closing_ = false;
    bool hideAll_ = false;
    bool trayMenuPending_ = false;
    bool trayActive_ = false;
    int trayInterval_ = 0;
    int trayFrame_ = 0;
    bool windowDrag_ = false;
    QPoint dragOrigin_;
    std::string hint_;
};
