#pragma once
// What the main window's one-second tick does: the clock, auto-play, timed
// shut-down, timed play and recording, the talking clock, the task list, the
// periodic update check, the info bar countdowns and the memory trim.
// Plain C++ driven by the time it is given, so any moment can be tested.

#include <functional>
#include <string>

#include "app/CommonU.h"

struct TUserSettings;

// The operations the tick calls. One that is not set is skipped; the tick's
// own bookkeeping goes on all the same.
struct TTimedTargets {
    std::function<void(const std::string &hhnn)> ShowClock;
    std::function<bool()> MainWindowShown;
    std::function<void()> Play;
    std::function<void()> TimedShutDown;
    std::function<void()> StartRecording;
    std::function<void()> StopRecording;
    std::function<void()> SpeakTime;
    std::function<void(TDateTime now)> CheckPlan;
    std::function<void()> SaveTree;
    std::function<void()> StartUpdateCheck;
    std::function<void()> ShowNextInfoEntry; // only called when the info bar has entries
    std::function<bool()> InfoBarHasEntries;
    std::function<bool()> InfoBrowserExists;
    std::function<void()> RevealInfoBrowser;
    std::function<void()> TrimWorkingSet;
};

// True when the times of day of the two values lie less than 2 seconds apart
// (also across midnight).
bool TimeMatches(TDateTime now, TDateTime time);

class TTimedActions {
public:
    TTimedActions(const TUserSettings &settings, TTimedTargets targets);

    void Tick(TDateTime now);

    // The first update check runs about 2 seconds after `now`, whatever the
    // automatic update setting says.
    void ScheduleFirstUpdateCheck(TDateTime now);

    bool AutoPlayPending() const { return autoPlayPending_; }
    bool TimedRecordingRunning() const { return timedRecording_; }
    TDateTime LastUpdateCheck() const { return lastUpdateCheck_; }

    // Countdowns in ticks, set by the window (hiding, playback) and the info bar.
    void SetMemoryTrimCountdown(int ticks) { trimCountdown_ = ticks; }
    void SetInfoRotationCountdown(int ticks) { infoRotation_ = ticks; }
    int InfoRotationCountdown() const { return infoRotation_; }
    void SetInfoBrowserCountdown(int ticks) { infoBrowser_ = ticks; }

private:
    // Fires once per day and time: a clock set back or a due window spanning
    // several ticks never repeats the action for the same due moment.
    class DailyTrigger {
    public:
        bool Due(TDateTime now, TDateTime time);

    private:
        long long lastDay_ = -1;
    };

    void TalkingClock(TDateTime now);
    void UpdateCheck(TDateTime now);
    static bool CountDown(int &counter);

    const TUserSettings &s_;
    TTimedTargets t_;
    bool autoPlayPending_ = true;
    int playCooldown_ = 0;
    bool timedRecording_ = false;
    TDateTime nextTalkTime_ = 0;
    TDateTime lastUpdateCheck_ = 0;
    bool firstCheckDue_ = false;
    int trimCountdown_ = 0;
    int infoRotation_ = 0;
    int infoBrowser_ = 0;
    DailyTrigger shutDownTrigger_, playTrigger_, recordStartTrigger_, recordEndTrigger_;
};
