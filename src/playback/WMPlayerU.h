#pragma once
// The Windows Media player: the player contract on a Windows Media control.

#include "playback/PlayerU.h"

class WMPControl;

class TWMPlayer : public TPlayer {
    Q_OBJECT
public:
    // Without a control (its creation failed) every operation does nothing
    // and IsReady answers false.
    explicit TWMPlayer(QWidget *owner);
    ~TWMPlayer() override;

    void SetBalance(int value) override;
    void SetVolume(int value) override;
    void SetMute(bool value) override;
    int Position() override;
    void SetPosition(int milliseconds) override;
    void SetUrl(const std::string &address) override;
    int BitRate() override;
    int BufferingProgress() override;
    int ClipHeight() override;
    int ClipWidth() override;
    bool FullScreen() override;
    void SetFullScreen(bool value) override;
    bool CanPause() override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    void Next() override;
    void Previous() override;
    bool IsReady() override;
    bool HasVideo() override;

    // The control itself, absent when it could not be created.
    WMPControl *Control() const { return fWMP; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void OpenStateChange(int state);
    void PlayStateChange(int state);
    void ReadClipTexts();
    void SetUpPlaying();
    void Transport(const char *name, void (*call)(WMPControl &));

    WMPControl *fWMP = nullptr;
};

// The clip title made from an address: the text after its last "\" or ":",
// without the extension from its last ".".
std::string FileTitleOf(const std::string &address);
