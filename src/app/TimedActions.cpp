#include "app/TimedActions.h"

#include "app/UserSettings.h"

#include <cmath>

namespace {

constexpr double Second = 1.0 / 86400;
constexpr double Minute = 1.0 / 1440;

double TimeOfDay(TDateTime value) { return value - std::floor(value); }

template <typename F, typename... A> void Call(const F &f, A &&...args)
{
    if (f)
        f(std::forward<A>(args)...);
}

} // namespace

bool TimeMatches(TDateTime now, TDateTime time)
{
    const double d = std::fabs(TimeOfDay(now) - TimeOfDay(time));
    return std::min(d, 1.0 - d) < 2 * Second;
}

bool TTimedActions::DailyTrigger::Due(TDateTime now, TDateTime time)
{
    if (!TimeMatches(now, time))
        return false;
    // The day of the due moment nearest to now names this occurrence.
    const long long day = std::llround(now - TimeOfDay(time));
    if (day == lastDay_)
        return false;
    lastDay_ = day;
    return true;
}

TTimedActions::TTimedActions(const TUserSettings &settings, TTimedTargets targets)
    : s_(settings), t_(std::move(targets))
{
}

void TTimedActions::ScheduleFirstUpdateCheck(TDateTime now)
{
    firstCheckDue_ = true;
    lastUpdateCheck_ = now - 0.5 + 2 * Second;
}

bool TTimedActions::CountDown(int &counter)
{
    if (counter <= 0)
        return false;
    return --counter == 0;
}

void TTimedActions::Tick(TDateTime now)
{
    if (!t_.MainWindowShown || t_.MainWindowShown()) {
        const double minutes = std::floor(TimeOfDay(now) * 1440 + 1e-7);
        const int m = static_cast<int>(minutes);
        char text[8];
        std::snprintf(text, sizeof text, "%02d:%02d", (m / 60) % 24, m % 60);
        Call(t_.ShowClock, std::string(text));
    }

    if (autoPlayPending_ && s_.AutoPlay) {
        autoPlayPending_ = false;
        Call(t_.Play);
    }

    if (s_.TimingShutDown && shutDownTrigger_.Due(now, s_.ShutDownTime))
        Call(t_.TimedShutDown);

    if (s_.TimingPlay && playCooldown_ < 1 && playTrigger_.Due(now, s_.TimingPlayTime)) {
        playCooldown_ = 10;
        Call(t_.Play);
    }
    if (playCooldown_ > 0)
        --playCooldown_;

    if (s_.TimingRecord && !timedRecording_ && recordStartTrigger_.Due(now, s_.TimingRecordStartTime)) {
        timedRecording_ = true;
        Call(t_.StartRecording);
    }
    if (s_.TimingRecord && timedRecording_ && recordEndTrigger_.Due(now, s_.TimingRecordEndTime)) {
        Call(t_.StopRecording);
        timedRecording_ = false;
    }

    TalkingClock(now);
    Call(t_.CheckPlan, now);
    UpdateCheck(now);

    if (CountDown(infoRotation_) && t_.InfoBarHasEntries && t_.InfoBarHasEntries())
        Call(t_.ShowNextInfoEntry);
    if (CountDown(infoBrowser_) && t_.InfoBrowserExists && t_.InfoBrowserExists()) {
        Call(t_.RevealInfoBrowser);
        trimCountdown_ = 2;
    }
    if (CountDown(trimCountdown_))
        Call(t_.TrimWorkingSet);
}

void TTimedActions::TalkingClock(TDateTime now)
{
    if (!s_.AutoTalkClock)
        return;
    // A clock set back must not silence the talking clock for hours.
    if (nextTalkTime_ - now > 15 * Minute)
        nextTalkTime_ = now;
    if (now <= nextTalkTime_)
        return;
    // Only a hand-edited file holds an interval below 1: speak hourly then.
    const int interval = s_.TalkClockInterval > 0 ? s_.TalkClockInterval : 60;
    const long long minutes = static_cast<long long>(TimeOfDay(now) / Minute + 1e-7);
    if (minutes % interval == 0) {
        Call(t_.SpeakTime);
        nextTalkTime_ = now + 15 * Minute;
    }
}

void TTimedActions::UpdateCheck(TDateTime now)
{
    // After the clock was set back the interval starts again from now.
    if (lastUpdateCheck_ > now)
        lastUpdateCheck_ = now;
    if (!(s_.AutoUpdate || firstCheckDue_) || now - lastUpdateCheck_ <= 0.5)
        return;
    lastUpdateCheck_ = now;
    firstCheckDue_ = false;
    Call(t_.SaveTree);
    Call(t_.StartUpdateCheck);
}
