#pragma once
// A player without a control: it records what its host asks of it.

#include "playback/PlayerU.h"

#include <string>
#include <vector>

class TFakePlayer : public TPlayer {
public:
    TFakePlayer(QWidget *owner, std::vector<std::string> &log, bool ready = true)
        : TPlayer(owner), log_(log), ready_(ready) {}

    void SetBalance(int value) override { fBalance = value; log_.push_back("Balance"); }
    void SetVolume(int value) override { fVolume = value; log_.push_back("Volume"); }
    void SetMute(bool value) override { fMute = value; log_.push_back("Mute"); }
    int Position() override { return 0; }
    void SetPosition(int) override {}
    void SetUrl(const std::string &address) override { fUrl = address; log_.push_back("Url=" + address); }
    int BitRate() override { return 0; }
    int BufferingProgress() override { return 0; }
    int ClipHeight() override { return 0; }
    int ClipWidth() override { return 0; }
    bool FullScreen() override { return false; }
    void SetFullScreen(bool) override {}
    bool CanPause() override { return false; }
    void Play() override {}
    void Pause() override {}
    void Stop() override {}
    void Next() override {}
    void Previous() override {}
    bool IsReady() override { log_.push_back("IsReady"); return ready_; }
    bool HasVideo() override { return false; }

private:
    std::vector<std::string> &log_;
    bool ready_;
};
