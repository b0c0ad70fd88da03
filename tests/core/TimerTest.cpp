#include <gtest/gtest.h>

#include <time.h>

#include <clocale>
#include <regex>
#include <string>

#include "zozud/core/Audio.h"
#include "zozud/core/Timer.h"
#include "zozud/widgets/Input.h"

using namespace zozud;

namespace {

// The clock the time base sees in these tests; never 0 (0 means "no previous query").
double s_FakeNow = 1000.0;
double FakeClock() { return s_FakeNow; }

// An audio device that records the pause calls it receives.
class RecordingAudio : public cAudio::Stub {
public:
    void SetPause(bool paused) override { calls += paused ? "P" : "R"; }
    std::string calls;
};

// Every test starts from a fresh time base on the fake clock, without pauses.
class TimeBase : public ::testing::Test {
protected:
    void SetUp() override {
        s_FakeNow = 1000.0;
        cTimer::SetClockOverride(FakeClock);
        cAudio::SetDevice(nullptr);
        cPause::SetSystemPause(false);
        cPause::SetUserPause(false);
        cTimer::SetTimeScale(1.0f);
        cTimer::Reset();
        cAudio::SetDevice(&audio);
    }
    void TearDown() override {
        cAudio::SetDevice(nullptr);
        cPause::SetSystemPause(false);
        cPause::SetUserPause(false);
        cTimer::SetTimeScale(1.0f);
        cTimer::SetClockOverride(nullptr);
        cTimer::Reset();
    }
    // One frame `seconds` after the previous one.
    static void Frame(double seconds) {
        s_FakeNow += seconds;
        cTimer::Acquire();
    }
    RecordingAudio audio;
};

struct tm MakeDate(int year, int month, int day, int hour, int minute, int second) {
    struct tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    timegm(&t);  // fills in the weekday
    return t;
}

}  // namespace

TEST(TimerClock, DateAndTimeTextsOfKnownDays) {
    cStr date, time;
    cTimer::FormatDateTime(MakeDate(2026, 12, 3, 23, 19, 16), &date, &time);
    EXPECT_STREQ("Thursday, 03 December 2026", date);
    EXPECT_STREQ("23:19:16", time);

    cTimer::FormatDateTime(MakeDate(2000, 1, 1, 0, 0, 0), &date, &time);
    EXPECT_STREQ("Saturday, 01 January 2000", date);
    EXPECT_STREQ("00:00:00", time);

    // Sunday is the last name of the week, not the first.
    cTimer::FormatDateTime(MakeDate(2024, 3, 31, 9, 5, 7), &date, &time);
    EXPECT_STREQ("Sunday, 31 March 2024", date);
    EXPECT_STREQ("09:05:07", time);

    cTimer::FormatDateTime(MakeDate(2024, 2, 26, 12, 0, 59), &date, nullptr);
    EXPECT_STREQ("Monday, 26 February 2024", date);
}

// The live texts agree with the C library's own formatting of the same moment.
TEST(TimerClock, AcquireDateTimeMatchesStrftime) {
    setlocale(LC_TIME, "C");
    for (int attempt = 0; attempt < 3; attempt++) {
        time_t before = ::time(nullptr);
        cStr date, time;
        cTimer::AcquireDateTime(&date, &time);
        if (::time(nullptr) != before) continue;  // crossed a second boundary: the texts may differ
        struct tm local;
        localtime_r(&before, &local);
        char expectDate[64], expectTime[16];
        strftime(expectDate, sizeof(expectDate), "%A, %d %B %Y", &local);
        strftime(expectTime, sizeof(expectTime), "%H:%M:%S", &local);
        EXPECT_STREQ(expectDate, date);
        EXPECT_STREQ(expectTime, time);
        return;
    }
    FAIL() << "the clock never held still for a second";
}

TEST(TimerClock, TicksCountMillisecondsOfTheWallClock) {
    int first = cTimer::AcquireClockTicks();
    EXPECT_GE(first, 0);
    double start = cTimer::AcquireClockSeconds();
    while (cTimer::AcquireClockSeconds() - start < 0.03) {
    }
    int later = cTimer::AcquireClockTicks();
    EXPECT_GE(later - first, 29);
}

TEST_F(TimeBase, FramesAccumulateScaledTime) {
    cTimer::Acquire();  // the first frame has no previous query: nothing elapses
    EXPECT_EQ(0.0f, cTimer::GetFrameTimeSec());
    EXPECT_EQ(0.0f, cTimer::GetTimeSec());
    EXPECT_FALSE(cTimer::GetLocalDate().IsEmpty());
    EXPECT_TRUE(std::regex_match(cTimer::GetLocalTime().ToChar(), std::regex("\\d\\d:\\d\\d:\\d\\d")));

    Frame(0.5);
    EXPECT_FLOAT_EQ(0.5f, cTimer::GetFrameTimeSec());
    EXPECT_FLOAT_EQ(500.0f, cTimer::GetFrameTimeMs());
    EXPECT_FLOAT_EQ(0.5f, cTimer::GetTimeSec());
    EXPECT_FLOAT_EQ(500.0f, cTimer::GetTimeMs());
    EXPECT_FLOAT_EQ(0.5f, cTimer::GetSystemTimeSec());
    EXPECT_FLOAT_EQ(0.5f, cTimer::GetSystemFrameTimeSec());

    cTimer::SetTimeScale(2.0f);
    EXPECT_EQ(2.0f, cTimer::GetTimeScale());
    Frame(0.25);
    EXPECT_FLOAT_EQ(0.5f, cTimer::GetFrameTimeSec());
    EXPECT_FLOAT_EQ(1.0f, cTimer::GetTimeSec());
    EXPECT_FLOAT_EQ(1.0f, cTimer::GetSystemTimeSec());

    // A clock that steps back never makes time run backwards.
    cTimer::SetTimeScale(1.0f);
    Frame(-3.0);
    EXPECT_EQ(0.0f, cTimer::GetFrameTimeSec());
    EXPECT_FLOAT_EQ(1.0f, cTimer::GetTimeSec());
    Frame(0.125);
    EXPECT_FLOAT_EQ(1.125f, cTimer::GetTimeSec());
}

TEST_F(TimeBase, ZeroTimeScaleStopsBothClocks) {
    cTimer::Acquire();
    Frame(1.0);
    cTimer::SetTimeScale(0.0f);
    for (int i = 0; i < 5; i++) Frame(2.0);
    EXPECT_FLOAT_EQ(1.0f, cTimer::GetTimeSec());
    EXPECT_FLOAT_EQ(1.0f, cTimer::GetSystemTimeSec());
    EXPECT_EQ(0.0f, cTimer::GetFrameTimeSec());
    EXPECT_EQ(0.0f, cTimer::GetSystemFrameTimeSec());
}

TEST_F(TimeBase, UserPauseStopsGameTimeOnly) {
    cTimer::Acquire();
    Frame(1.0);
    cPause::SetUserPause(true);
    Frame(2.0);
    Frame(3.0);
    EXPECT_FLOAT_EQ(1.0f, cTimer::GetTimeSec());
    EXPECT_EQ(0.0f, cTimer::GetFrameTimeSec());
    EXPECT_EQ(0.0f, cTimer::GetFrameTimeMs());
    EXPECT_FLOAT_EQ(6.0f, cTimer::GetSystemTimeSec());
    EXPECT_FLOAT_EQ(3.0f, cTimer::GetSystemFrameTimeSec());
    cPause::SetUserPause(false);
    Frame(0.5);
    EXPECT_FLOAT_EQ(1.5f, cTimer::GetTimeSec());
    EXPECT_FLOAT_EQ(6.5f, cTimer::GetSystemTimeSec());
}

TEST_F(TimeBase, SystemPauseTimeIsNeverCounted) {
    cTimer::Acquire();
    Frame(1.0);
    cPause::SetSystemPause(true);
    Frame(10.0);
    EXPECT_FLOAT_EQ(1.0f, cTimer::GetTimeSec());
    EXPECT_FLOAT_EQ(1.0f, cTimer::GetSystemTimeSec());
    s_FakeNow += 100.0;                // the window stays inactive a long time
    cPause::SetSystemPause(false);     // ...and the time base skips it
    Frame(0.25);
    EXPECT_FLOAT_EQ(0.25f, cTimer::GetFrameTimeSec());
    EXPECT_FLOAT_EQ(1.25f, cTimer::GetTimeSec());
    EXPECT_FLOAT_EQ(1.25f, cTimer::GetSystemTimeSec());
}

TEST_F(TimeBase, FrameRateOverCyclesOfHundredFramesLeavesPausesOut) {
    EXPECT_EQ(0.0f, cTimer::GetFramesPerSecond());
    for (int i = 0; i < 100; i++) Frame(i == 0 ? 0.0 : 0.01);
    float first = cTimer::GetFramesPerSecond();
    EXPECT_GT(first, 100.0f);  // the first cycle spans 99 intervals

    // Second cycle: 50 frames, a paused stretch of 5 s, 50 frames; 100 frames in 1 s of running time.
    for (int i = 0; i < 50; i++) Frame(0.01);
    cPause::SetUserPause(true);
    for (int i = 0; i < 5; i++) Frame(1.0);
    cPause::SetUserPause(false);
    for (int i = 0; i < 49; i++) Frame(0.01);
    EXPECT_EQ(first, cTimer::GetFramesPerSecond());  // not yet a full cycle
    Frame(0.01);
    EXPECT_NEAR(100.0f, cTimer::GetFramesPerSecond(), 0.01f);

    // Third cycle at 25 frames a second.
    for (int i = 0; i < 100; i++) Frame(0.04);
    EXPECT_NEAR(25.0f, cTimer::GetFramesPerSecond(), 0.01f);
}

TEST_F(TimeBase, ResetZeroesTheTimeBaseAndStopsVibrations) {
    cTimer::Acquire();
    for (int i = 0; i < 120; i++) Frame(0.02);
    EXPECT_GT(cTimer::GetTimeSec(), 0.0f);
    EXPECT_GT(cTimer::GetFramesPerSecond(), 0.0f);
    cInput::SetVibration(0.5f, 2.0f);
    EXPECT_EQ(1.0f, cInput::GetVibrationRight());

    cTimer::Reset();
    EXPECT_EQ(0.0f, cTimer::GetTimeSec());
    EXPECT_EQ(0.0f, cTimer::GetTimeMs());
    EXPECT_EQ(0.0f, cTimer::GetFrameTimeSec());
    EXPECT_EQ(0.0f, cTimer::GetSystemTimeSec());
    EXPECT_EQ(0.0f, cTimer::GetSystemFrameTimeSec());
    EXPECT_EQ(0.0f, cTimer::GetFramesPerSecond());
    EXPECT_EQ(0.0f, cInput::GetVibrationLeft());
    EXPECT_EQ(0.0f, cInput::GetVibrationRight());

    // After a reset the next frame is a first frame again: the gap is not counted.
    Frame(50.0);
    EXPECT_EQ(0.0f, cTimer::GetTimeSec());
}

TEST_F(TimeBase, PausesSwitchAudioOnlyWhenTheCombinedStateChanges) {
    cInput::SetVibration(0.7f, 0.3f);
    cPause::SetUserPause(true);
    EXPECT_TRUE(cPause::GetPause());
    EXPECT_TRUE(cPause::GetUserPause());
    EXPECT_EQ("P", audio.calls);
    EXPECT_EQ(0.0f, cInput::GetVibrationLeft());

    cPause::SetSystemPause(true);  // already paused: audio is left alone
    EXPECT_EQ("P", audio.calls);
    cPause::SetUserPause(false);   // the system pause still holds: only the flag changes
    EXPECT_FALSE(cPause::GetUserPause());
    EXPECT_TRUE(cPause::GetPause());
    EXPECT_EQ("P", audio.calls);
    cPause::SetSystemPause(false);
    EXPECT_FALSE(cPause::GetPause());
    EXPECT_EQ("PR", audio.calls);

    cInput::SetVibration(0.7f, 0.3f);
    cPause::SetSystemPause(true);
    EXPECT_TRUE(cPause::GetSystemPause());
    EXPECT_EQ("PRP", audio.calls);
    EXPECT_EQ(0.0f, cInput::GetVibrationLeft());
    cPause::SetUserPause(true);    // recorded under the system pause...
    cPause::SetSystemPause(false); // ...so leaving it keeps the game paused
    EXPECT_TRUE(cPause::GetPause());
    EXPECT_EQ("PRP", audio.calls);
    cPause::SetUserPause(false);
    EXPECT_EQ("PRPR", audio.calls);

    cPause::SetUserPause(false);  // no change, no call
    cPause::SetSystemPause(false);
    EXPECT_EQ("PRPR", audio.calls);
}

TEST_F(TimeBase, PausesWithoutAudioDeviceDoNothingAudible) {
    cAudio::SetDevice(nullptr);
    cPause::SetUserPause(true);
    cPause::SetUserPause(false);
    EXPECT_EQ("", audio.calls);
    EXPECT_EQ(nullptr, cAudio::GetDevice());
}

TEST_F(TimeBase, StopwatchAveragesOverItsSamples) {
    cTimer watch(3);
    EXPECT_FALSE(watch.End());  // not running: nothing is added

    const double durations[] = {0.1, 0.2, 0.6};
    for (int i = 0; i < 3; i++) {
        watch.Begin();
        s_FakeNow += durations[i];
        EXPECT_EQ(i == 2, watch.End());
        s_FakeNow += 5.0;  // time between samples is not measured
    }
    EXPECT_NEAR(0.3f, watch.GetAverageSec(), 1e-6f);
    EXPECT_NEAR(300.0f, watch.GetAverageMs(), 1e-3f);

    // A second Begin while running keeps the first start.
    watch.Begin();
    s_FakeNow += 1.0;
    watch.Begin();
    s_FakeNow += 2.0;
    EXPECT_FALSE(watch.End());
    EXPECT_FALSE(watch.End());  // already stopped
    watch.Begin();
    s_FakeNow += 3.0;
    EXPECT_FALSE(watch.End());
    watch.Begin();
    s_FakeNow += 3.0;
    EXPECT_TRUE(watch.End());
    EXPECT_NEAR(3.0f, watch.GetAverageSec(), 1e-6f);
}

TEST_F(TimeBase, StopwatchWithoutSamplesAveragesEveryTime) {
    cTimer watch(0);
    EXPECT_EQ(0.0f, watch.GetAverageMs());
    for (double d : {0.5, 0.25, 2.0}) {
        watch.Begin();
        s_FakeNow += d;
        EXPECT_TRUE(watch.End());
        EXPECT_NEAR(d, watch.GetAverageSec(), 1e-6);
    }
    cTimer negative(-4);
    negative.Begin();
    s_FakeNow += 0.75;
    EXPECT_TRUE(negative.End());
    EXPECT_NEAR(750.0f, negative.GetAverageMs(), 1e-3f);
}
