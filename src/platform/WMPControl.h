#pragma once
// The Windows Media control as the Windows Media player sees it: URL, uiMode,
// stretchToFit, fullScreen, settings, controls, network, currentMedia and the
// open-state, play-state and media-error events, played by one libmpv engine
// per control. Engine events are drained on the GUI thread, so the control's
// events fire there too.

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

// Engine settings, taken by every control created afterwards.
struct TWMPEngineOptions {
    std::string AudioOutput;  // the engine's audio output list ("pulse", "null"); empty: its own choice
    int NetworkTimeout = 10;  // seconds a connection may stay silent before the clip fails
};

class WMPControl : public QWidget {
    Q_OBJECT
public:
    // Windows Media open states. The engine has no separate locating and
    // opening steps, so it reports connecting and open only.
    static constexpr int wmposMediaLocating = 9;
    static constexpr int wmposMediaConnecting = 10;
    static constexpr int wmposMediaOpening = 12;
    static constexpr int wmposMediaOpen = 13;
    // Windows Media play states. The engine reconnects nothing by itself, so
    // waiting and reconnecting are never reported.
    static constexpr int wmppsStopped = 1;
    static constexpr int wmppsPaused = 2;
    static constexpr int wmppsPlaying = 3;
    static constexpr int wmppsBuffering = 6;
    static constexpr int wmppsWaiting = 7;
    static constexpr int wmppsMediaEnded = 8;
    static constexpr int wmppsReconnecting = 11;

    static TWMPEngineOptions DefaultOptions();
    static void SetDefaultOptions(const TWMPEngineOptions &options);

    // Throws std::runtime_error when the engine cannot be created.
    explicit WMPControl(QWidget *parent);
    ~WMPControl() override;

    // Loading an address replaces the current clip; autoStart decides
    // whether it plays at once. An empty address stops.
    const std::string &URL() const;
    void SetURL(const std::string &url);
    const std::string &uiMode() const; // "none" shows video; "invisible" hides the control
    void SetUiMode(const std::string &mode);
    bool stretchToFit() const;         // false: video at its own size
    void SetStretchToFit(bool value);
    bool fullScreen() const;           // the control's window fills the screen
    void SetFullScreen(bool value);

    class TSettings {
    public:
        bool enableErrorDialogs() const; // kept for callers; the engine shows no dialogs
        void SetEnableErrorDialogs(bool value);
        bool autoStart() const;
        void SetAutoStart(bool value);
        bool mute() const;
        void SetMute(bool value);
        int volume() const; // 0 to 100
        void SetVolume(int value);
        int balance() const; // -100 (left) to 100 (right)
        void SetBalance(int value);

    private:
        friend class WMPControl;
        explicit TSettings(WMPControl &control) : c_(control) {}
        WMPControl &c_;
    };

    class TControls {
    public:
        // "play", "pause", "stop", "next", "previous", "currentPosition".
        bool isAvailable(const std::string &name) const;
        void play();
        void pause();
        void stop();
        void next();
        void previous();
        double currentPosition() const; // seconds
        void SetCurrentPosition(double seconds);

    private:
        friend class WMPControl;
        explicit TControls(WMPControl &control) : c_(control) {}
        WMPControl &c_;
    };

    class TNetwork {
    public:
        int bitRate() const;   // the clip's bits per second as decoded, 0 while unknown
        int bandWidth() const; // bits per second arriving from the network now
        int bufferingProgress() const;

    private:
        friend class WMPControl;
        explicit TNetwork(WMPControl &control) : c_(control) {}
        WMPControl &c_;
    };

    class TMedia {
    public:
        double duration() const; // seconds; 0 for live streams and while unknown
        int imageSourceWidth() const;
        int imageSourceHeight() const;
        // "Title" (the title tag, else the stream's current ICY title),
        // "Author" (artist or author tag), any other tag by its name.
        std::string getItemInfo(const std::string &name) const;

    private:
        friend class WMPControl;
        explicit TMedia(WMPControl &control) : c_(control) {}
        WMPControl &c_;
    };

    TSettings &settings() { return settings_; }
    TControls &controls() { return controls_; }
    TNetwork &network() { return network_; }
    TMedia &currentMedia() { return currentMedia_; }
    // The engine's live-stream flag, for tests and diagnostics.
    bool seekable() const;

    std::function<void(int)> OnOpenStateChange;
    std::function<void(int)> OnPlayStateChange;
    std::function<void()> OnMediaError;

private:
    struct TEngine;
    void Drain();
    void HandleEvent(const struct mpv_event &event);
    void ReadClipProperties();
    void ReportPlayState();

    std::unique_ptr<TEngine> e_;
    TSettings settings_{*this};
    TControls controls_{*this};
    TNetwork network_{*this};
    TMedia currentMedia_{*this};
};
