#pragma once
// The player contract every host talks to: one frame holding one media
// control, the same volume, balance, mute, position, bit-rate, buffering and
// video operations for every kind of control, and one event carrying an
// integer state code.

#include <QWidget>

#include <functional>
#include <string>

class TPlayer;

// State codes carried by OnStateChange and kept in PlayState.
constexpr int psIdle = 0;
constexpr int psWaiting = 1;
constexpr int psOpening = 2;
constexpr int psConnecting = 3;
constexpr int psBuffering = 4;
constexpr int psStopped = 5;
constexpr int psPaused = 6;
constexpr int psPlaying = 7;
constexpr int psMediaOpened = 9;
constexpr int psMediaEnded = 10;
constexpr int psHalted = 11;
constexpr int psVideoReady = 12;
constexpr int psFailed = 99;

using TStateChangeEvent = std::function<void(TPlayer *Sender, int NewState)>;

class TPlayer : public QWidget {
    Q_OBJECT
public:
    // Hidden, a child of owner filling it.
    explicit TPlayer(QWidget *owner);

    int PlayState() const { return fPlayState; }
    const std::string &Url() const { return fUrl; }
    int Volume() const { return fVolume; }
    int Duration() const { return fDuration; }
    int Balance() const { return fBalance; }
    bool Mute() const { return fMute; }
    bool VideoVisible() const { return fVideoVisible; }
    void SetVideoVisible(bool value) { fVideoVisible = value; }
    const TStateChangeEvent &OnStateChange() const { return fOnStateChange; }
    void SetOnStateChange(TStateChangeEvent handler) { fOnStateChange = std::move(handler); }

    std::string ClipCopyright;
    std::string ClipAuthor;
    std::string ClipTitle;

    virtual void SetBalance(int value) = 0;
    virtual void SetVolume(int value) = 0;
    virtual void SetMute(bool value) = 0;
    virtual int Position() = 0;                  // milliseconds, 0 when unknown
    virtual void SetPosition(int milliseconds) = 0;
    virtual void SetUrl(const std::string &address) = 0; // loads and starts playing
    virtual int BitRate() = 0;                   // bits per second, 0 when unknown
    virtual int BufferingProgress() = 0;         // percent
    virtual int ClipHeight() = 0;
    virtual int ClipWidth() = 0;
    virtual bool FullScreen() = 0;
    virtual void SetFullScreen(bool value) = 0;
    virtual bool CanPause() = 0;
    // Queues the code for the handler; returns at once, so a handler never
    // runs inside the control's own event. Codes arrive in posting order.
    virtual void NotifyState(int code);
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    virtual void Next() = 0;
    virtual void Previous() = 0;
    virtual bool IsReady() = 0;  // the media control exists
    virtual bool HasVideo() = 0; // video is being shown
    virtual void AfterShow() {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

    int fPlayState = psIdle;
    std::string fUrl;
    int fVolume = 100;
    int fDuration = 0;
    int fBalance = 0;
    bool fMute = false;
    bool fVideoVisible = false;
    TStateChangeEvent fOnStateChange;

private:
    void DeliverState(int code);
};
