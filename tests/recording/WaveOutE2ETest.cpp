// TWaveOut plays into a null sink of a PulseAudio server the test starts;
// what the sink plays is recorded from its monitor. The windows are generous:
// a null sink on a busy machine may render later than a sound card would.

#include "recording/WaveComp.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

std::string Tone(const TempDir &dir, double seconds)
{
    const std::string file = dir / "tone.wav";
    RunCommand("sox -n -r 44100 -c 2 -b 16 " + file + " synth " + std::to_string(seconds) + " sine 1000 vol 0.5");
    return file;
}

// Peak of what the sink plays during the next `ms` milliseconds.
int PeakDuring(const PulseServer &pulse, int ms)
{
    MonitorRecorder rec(pulse);
    PumpEvents(ms);
    return rec.StopAndPeak();
}

} // namespace

TEST(WaveOutE2E, PlaysAFileOnceAndStaysActiveAfterwards)
{
    PulseServer pulse;
    ASSERT_TRUE(pulse.Running());
    TempDir dir;
    const std::string tone = Tone(dir, 0.4);
    ASSERT_TRUE(FileExists(tone));

    TWaveOut out;
    {
        MonitorRecorder rec(pulse);
        PumpEvents(200);
        out.PlayFile(tone);
        EXPECT_TRUE(out.Active());
        EXPECT_FALSE(out.Repeated());
        PumpEvents(3500);
        EXPECT_GT(rec.StopAndPeak(), 8000); // the tone at half scale reached the sink
    }
    EXPECT_LT(PeakDuring(pulse, 1500), 100); // played once: nothing more
    EXPECT_TRUE(out.Active());
    out.Stop();
    EXPECT_FALSE(out.Active());
}

TEST(WaveOutE2E, LoopedFilePlaysUntilStopped)
{
    PulseServer pulse;
    ASSERT_TRUE(pulse.Running());
    TempDir dir;
    const std::string tone = Tone(dir, 0.3);

    TWaveOut out;
    out.PlayFileLooped(tone);
    EXPECT_TRUE(out.Repeated());
    PumpEvents(3000); // ten times the file's length
    EXPECT_GT(PeakDuring(pulse, 1500), 8000);
    out.Stop();
    PumpEvents(300);
    EXPECT_LT(PeakDuring(pulse, 1500), 100);
}
