#include "app/TimedActions.h"
#include "app/UserSettings.h"

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr double Second = 1.0 / 86400;

TDateTime At(int day, int h, int m, int s) { return 45000 + day + (h * 3600 + m * 60 + s) * Second; }
double TimeOf(int h, int m, int s) { return (h * 3600 + m * 60 + s) * Second; }

// Counts every call the tick makes.
class TimedActionsTest : public ::testing::Test {
protected:
    TTimedTargets Targets()
    {
        TTimedTargets t;
        t.ShowClock = [this](const std::string &text) { clock = text; };
        t.Play = [this] { ++calls["Play"]; };
        t.TimedShutDown = [this] { ++calls["ShutDown"]; };
        t.StartRecording = [this] { ++calls["StartRecording"]; };
        t.StopRecording = [this] { ++calls["StopRecording"]; };
        t.SpeakTime = [this] { ++calls["SpeakTime"]; spoken.push_back(clock); };
        t.SaveTree = [this] { ++calls["SaveTree"]; };
        t.StartUpdateCheck = [this] { ++calls["Update"]; };
        t.TrimWorkingSet = [this] { ++calls["Trim"]; };
        t.InfoBrowserExists = [] { return true; };
        t.RevealInfoBrowser = [this] { ++calls["Reveal"]; };
        return t;
    }
    // Ticks once a second over [from, to].
    void Run(TTimedActions &a, TDateTime from, TDateTime to)
    {
        for (TDateTime now = from; now <= to + Second / 2; now += Second)
            a.Tick(now);
    }
    TUserSettings s;
    std::map<std::string, int> calls;
    std::vector<std::string> spoken;
    std::string clock;
};

} // namespace

TEST(TimeMatchesTest, TwoSecondToleranceAlsoAcrossMidnight)
{
    struct Case { TDateTime now; double time; bool expected; } cases[] = {
        {At(0, 8, 0, 0), TimeOf(8, 0, 0), true},
        {At(0, 7, 59, 58) + 0.1 * Second, TimeOf(8, 0, 0), true},
        {At(0, 7, 59, 58) - 0.1 * Second, TimeOf(8, 0, 0), false},
        {At(0, 8, 0, 2) + 0.1 * Second, TimeOf(8, 0, 0), false},
        {At(3, 8, 0, 1), TimeOf(8, 0, 0) + 17, true}, // only times of day compare
        {At(0, 23, 59, 59), TimeOf(0, 0, 0), true},
        {At(0, 0, 0, 0) + 0.5 * Second, TimeOf(23, 59, 59), true},
        {At(0, 0, 0, 1) + 0.1 * Second, TimeOf(23, 59, 59), false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TimeMatches(c.now, c.time), c.expected) << c.now;
}

TEST_F(TimedActionsTest, TimedPlayRunsOnceAroundItsTimeAndAgainTheNextDay)
{
    s.TimingPlay = true;
    s.TimingPlayTime = TimeOf(8, 0, 0);
    TTimedActions a(s, Targets());
    Run(a, At(0, 7, 59, 50), At(0, 8, 0, 10));
    EXPECT_EQ(calls["Play"], 1);
    EXPECT_EQ(clock, "08:00");
    Run(a, At(1, 7, 59, 57), At(1, 8, 0, 3));
    EXPECT_EQ(calls["Play"], 2);
}

TEST_F(TimedActionsTest, ClockSetBackDoesNotRepeatADueAction)
{
    s.TimingPlay = true;
    s.TimingPlayTime = TimeOf(8, 0, 0);
    s.TimingShutDown = true;
    s.ShutDownTime = TimeOf(9, 0, 0);
    TTimedActions a(s, Targets());
    Run(a, At(0, 7, 59, 59), At(0, 8, 0, 1));
    Run(a, At(0, 8, 59, 59), At(0, 9, 0, 2)); // the user declines: the dialog is not asked again
    Run(a, At(0, 7, 59, 58), At(0, 8, 0, 2)); // clock set back an hour, e.g. daylight saving ends
    Run(a, At(0, 8, 59, 59), At(0, 9, 0, 2));
    EXPECT_EQ(calls["Play"], 1);
    EXPECT_EQ(calls["ShutDown"], 1);
}

TEST_F(TimedActionsTest, AutoPlayOncePerRunEvenWhenSwitchedOnLater)
{
    TTimedActions a(s, Targets());
    Run(a, At(0, 10, 0, 0), At(0, 10, 0, 5));
    EXPECT_EQ(calls["Play"], 0);
    EXPECT_TRUE(a.AutoPlayPending());
    s.AutoPlay = true;
    Run(a, At(0, 10, 0, 6), At(0, 10, 0, 20));
    EXPECT_EQ(calls["Play"], 1);
}

TEST_F(TimedActionsTest, TimedRecordingStartsAndStopsOnce)
{
    s.TimingRecord = true;
    s.TimingRecordStartTime = TimeOf(22, 0, 0);
    s.TimingRecordEndTime = TimeOf(23, 0, 0);
    TTimedActions a(s, Targets());
    Run(a, At(0, 21, 59, 55), At(0, 22, 0, 5));
    EXPECT_EQ(calls["StartRecording"], 1);
    EXPECT_TRUE(a.TimedRecordingRunning());
    Run(a, At(0, 22, 59, 55), At(0, 23, 0, 5));
    EXPECT_EQ(calls["StopRecording"], 1);
    EXPECT_FALSE(a.TimedRecordingRunning());
}

TEST_F(TimedActionsTest, TalkingClockSpeaksAtIntervalMinutesAndRestsFifteenMinutes)
{
    s.AutoTalkClock = true;
    s.TalkClockInterval = 30;
    TTimedActions a(s, Targets());
    Run(a, At(0, 9, 59, 0), At(0, 11, 0, 30));
    EXPECT_EQ(spoken, (std::vector<std::string>{"10:00", "10:30", "11:00"}));
}

TEST_F(TimedActionsTest, TalkingClockSurvivesABadIntervalAndAClockSetBack)
{
    s.AutoTalkClock = true;
    s.TalkClockInterval = 0;
    TTimedActions a(s, Targets());
    Run(a, At(0, 12, 59, 58), At(0, 13, 0, 2));
    EXPECT_EQ(spoken, (std::vector<std::string>{"13:00"}));
    Run(a, At(0, 9, 59, 58), At(0, 10, 0, 2)); // three hours back
    EXPECT_EQ(spoken, (std::vector<std::string>{"13:00", "10:00"}));
}

TEST_F(TimedActionsTest, FirstUpdateCheckRunsSoonAfterStartAndThenOnlyWithAutoUpdate)
{
    s.AutoUpdate = false;
    TTimedActions a(s, Targets());
    const TDateTime start = At(0, 10, 0, 0);
    a.ScheduleFirstUpdateCheck(start);
    Run(a, start, start + Second);
    EXPECT_EQ(calls["Update"], 0);
    Run(a, start + 2 * Second, start + 4 * Second);
    EXPECT_EQ(calls["Update"], 1);
    EXPECT_EQ(calls["SaveTree"], 1);
    for (int minute = 1; minute < 30 * 60; ++minute)
        a.Tick(start + minute / 1440.0);
    EXPECT_EQ(calls["Update"], 1);

    s.AutoUpdate = true;
    TTimedActions b(s, Targets());
    b.ScheduleFirstUpdateCheck(start);
    for (int minute = 0; minute <= 25 * 60; ++minute)
        b.Tick(start + minute / 1440.0);
    EXPECT_EQ(calls["Update"], 1 + 3); // at start, +12 h, +24 h
}

TEST_F(TimedActionsTest, ClockJumpsNeitherBurstNorStallTheUpdateCheck)
{
    s.AutoUpdate = true;
    TTimedActions a(s, Targets());
    const TDateTime start = At(0, 10, 0, 0);
    a.ScheduleFirstUpdateCheck(start);
    Run(a, start, start + 5 * Second);
    ASSERT_EQ(calls["Update"], 1);
    a.Tick(start + 3.0); // resumed after three days asleep
    a.Tick(start + 3.0 + Second);
    EXPECT_EQ(calls["Update"], 2);
    a.Tick(start - 1.0); // clock set back a day: the next check is 12 h from now, not from the future
    a.Tick(start - 1.0 + 0.5 + Second);
    EXPECT_EQ(calls["Update"], 3);
}

TEST_F(TimedActionsTest, CountdownsFireOnceWhenTheyRunOut)
{
    TTimedActions a(s, Targets());
    const TDateTime t = At(0, 12, 0, 0);
    a.SetMemoryTrimCountdown(1);
    a.Tick(t);
    EXPECT_EQ(calls["Trim"], 1);
    a.SetInfoBrowserCountdown(2);
    a.Tick(t + Second);
    EXPECT_EQ(calls["Reveal"], 0);
    a.Tick(t + 2 * Second); // browser revealed; the trim countdown of 2 starts in the same tick
    EXPECT_EQ(calls["Reveal"], 1);
    EXPECT_EQ(calls["Trim"], 1);
    a.Tick(t + 3 * Second);
    EXPECT_EQ(calls["Trim"], 2);
    a.Tick(t + 4 * Second);
    EXPECT_EQ(calls["Trim"], 2);
}
