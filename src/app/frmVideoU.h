#pragma once
// The video window: the frame that shows video and the owner of all
// playback. It holds the one player, the current station's record and
// addresses, turns the player's state codes into what the main window shows,
// fails over between a station's addresses, reconnects a station that
// dropped, rates user stations and plays the notification sounds. Every play
// command of the program ends in one of its operations.

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "app/PlayListWindow.h"
#include "playback/PlayHostU.h"
#include "playback/PlayerU.h"
#include "stations/RadioTextDB.h"

class QAction;
class QLabel;
class QMenu;
class QTimer;
class TWaveOut;

// What the video window shows through the main window.
class TPlayDisplay {
public:
    virtual ~TPlayDisplay() = default;
    virtual void SetStateText(const std::string &text) = 0;
    virtual void SetSpeedText(const std::string &text) = 0;
    // The elapsed time as text and as digits.
    virtual void SetElapsedText(const std::string &text) = 0;
    // The digits alone (while the progress thumb is held).
    virtual void SetElapsedDigits(const std::string &text) = 0;
    virtual void ShowName(const std::string &title, const std::string &hint) = 0;
    virtual void ShowPlayState(int face) = 0; // 0 opening, 1 playing, 2 paused, 3 stopped
    virtual void SetTrayActive(bool active, int intervalMs) = 0;
    virtual void PlaceProgressThumb(double fraction) = 0;
    virtual bool MainWindowShown() const = 0;
    virtual void SetMemoryTrimCountdown(int ticks) = 0;
    virtual int InfoBarCountdown() const = 0;
    virtual void SetInfoBarCountdown(int ticks) = 0;
    virtual void BringToFront() = 0;
};

class TfrmOrvaneVideo : public QWidget, public TPlayerHost {
    Q_OBJECT
public:
    explicit TfrmOrvaneVideo(TPlayDisplay &display);
    ~TfrmOrvaneVideo() override;

    void SetPlayList(TPlayListSource *list) { list_ = list; }

    // Play commands.
    void PlayById(int id);
    void PlayMusicEntry();
    void PlayText(const std::string &text);
    void PlayAddress(const std::string &addresses, const std::string &title, char kind);
    void Play();
    void PlayPause();
    void Pause();
    void StopPlaying();
    void PlayNext(int flag);
    void PlayPrevious();

    // Sound and position.
    void SetVolume(int value);
    void SetBalance(int value);
    void SetMuted(bool value);
    int Volume() const { return volume_; }
    int Balance() const { return balance_; }
    bool Muted() const { return muted_; }
    bool IsPlaying() const;
    bool HasDuration() const;
    void SetSeeking(bool value) { seeking_ = value; }
    void SeekTo(double fraction);
    double ProgressFraction() const;

    // The current item.
    int CurPlayID() const { return curPlayId_; }
    void SetCurPlayID(int id) { curPlayId_ = id; }
    std::string GetUserUrl() const;
    void SetUserUrl(const std::string &value);
    std::string CurrentTitle() const;
    const std::vector<std::string> &Addresses() const { return addresses_; }
    int AddressIndex() const { return addressIndex_; }
    const TRadioTable &Record() const { return rblData; }

    // Settings.
    void SetReconnect(bool on, int retryLimit, int retryDelay);
    void EnableSounds(bool on);
    bool SoundsOn() const { return wave_ != nullptr; }
    void SetVideoFormVisible(bool on) { videoFormVisible_ = on; }

    // State of the reconnection, for the main window and tests.
    int RetryCountdown() const { return retryCountdown_; }
    int RetryCount() const { return retryCount_; }
    bool HasPlayed() const { return hasPlayed_; }

    // Another start of the program asked this instance to show itself.
    void WMActivateInstance();

Q_SIGNALS:
    // Each state code of the player, after the window has reacted to it.
    void StateCodeHandled(int code);

protected:
    // TPlayerHost
    std::string CurrentAddress() const override;
    QWidget *PlayerPanel() override;
    void BeginOpen() override;
    void PlayerNotReady() override;
    void ApplySound(TPlayer &player) override;
    void EnableCheckTimer() override;
    void StateChange(TPlayer *sender, int newState) override;
    void OpenFailed(const std::exception &e) override;

    void contextMenuEvent(QContextMenuEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool LoadStation(int id);
    void tmrCheckTimer();
    void ShowPlaying();
    void ShowStopped();
    void ShowSpeed();
    void TakeClipInformation();
    void UpdateStatistics();
    void FailOver();
    void ShowNameOfAddress();
    void ShowLocalClipInformation();
    void ShowVideo();
    void PlaySound(const std::string &name, bool looped);
    void StopSound();
    void SaveUserRecord();
    void SetFullScreen(bool on);
    // Client area of n times the clip's size, below the title panel.
    void ZoomToClip(int n);
    char StationKind() const;

    TPlayDisplay &display_;
    TPlayListSource *list_ = nullptr;
    TRadioTable rblData;
    QWidget *pnlStretch = nullptr;
    QLabel *slblTitle = nullptr;
    QMenu *pmMenu = nullptr;
    QAction *nFullScreen = nullptr;
    QAction *nExitFullScreen = nullptr;
    QTimer *tmrCheck = nullptr;
    std::unique_ptr<TWaveOut> wave_;

    int curPlayId_ = 0;
    std::vector<std::string> addresses_;
    int addressIndex_ = 0;
    int volume_ = 100;
    int balance_ = 0;
    bool muted_ = false;
    double startTime_ = 0;
    bool stoppedByUser_ = false;
    bool hasPlayed_ = false;
    int retryCountdown_ = 0;
    int retryCount_ = 0;
    bool reconnect_ = true;
    int retryLimit_ = 99;
    int retryDelay_ = 3;
    bool videoFormVisible_ = true;
    bool seeking_ = false;
    bool fullScreenWanted_ = false;
};
