// cTimer and cPause: date texts against strftime, the time base on a fake clock, the stopwatch.
#include <gtest/gtest.h>

#include <time.h>

#include <clocale>
#include <string>

#include "zozud/core/Audio.h"
#include "zozud/core/Timer.h"

using namespace zozud;

namespace {

double s_FakeNow = 1000.0;  // never 0, which means "no previous query"
double FakeClock() { return s_FakeNow; }

// Stands in for the input layer's vibration stop.
float s_Vibration = 0.0f;
void StopVibrations() { s_Vibration = 0.0f; }

class RecordingAudio : public cAudio::Stub {
public:
    void SetPause(bool paused) override { calls += paused ? "P" : "R"; }
    std::string calls;
};

// Every test starts from a fresh time base on the fake clock, without pauses.
class TimeBase : public ::testing::Test {
protected:
    void SetUp() override {
        cTimer::SetStopVibrations(StopVibrations);
        Restart(&audio);
    }
    void TearDown() override {
        Restart(nullptr);
        cTimer::SetClockOverride(nullptr);
        cTimer::SetStopVibrations(nullptr);
    }
    void Restart(RecordingAudio* device) {
        s_FakeNow = 1000.0;
        cTimer::SetClockOverride(FakeClock);
        cAudio::SetDevice(nullptr);
        cPause::SetSystemPause(false);
        cPause::SetUserPause(false);
        cTimer::SetTimeScale(1.0f);
        cTimer::Reset();
        cAudio::SetDevice(device);
    }
    static void Frame(double seconds) {
        s_FakeNow += seconds;
        cTimer::Acquire();
    }
    RecordingAudio audio;
};

}  // namespace

TEST(TimerClock, DateAndTimeTexts) {
    struct tm t = {};
    t.tm_year = 2026 - 1900, t.tm_mon = 11, t.tm_mday = 3, t.tm_hour = 9, t.tm_min = 5, t.tm_sec = 7;
    timegm(&t);  // fills in the weekday
    cStr date, time;
    cTimer::FormatDateTime(t, &date, &time);
    EXPECT_STREQ("Thursday, 03 December 2026", date);
    EXPECT_STREQ("09:05:07", time);
    t.tm_mday = 6;  // Sunday is the last name of the week, not the first
    timegm(&t);
    cTimer::FormatDateTime(t, &date, nullptr);
    EXPECT_STREQ("Sunday, 06 December 2026", date);
    setlocale(LC_TIME, "C");  // the live texts agree with strftime of the same moment
    for (int attempt = 0;; attempt++) {
        ASSERT_LT(attempt, 3) << "the clock never held still for a second";
        time_t before = ::time(nullptr);
        cTimer::AcquireDateTime(&date, &time);
        if (::time(nullptr) != before) continue;
        char expectDate[64], expectTime[16];
        struct tm local;
        localtime_r(&before, &local);
        strftime(expectDate, sizeof expectDate, "%A, %d %B %Y", &local);
        strftime(expectTime, sizeof expectTime, "%H:%M:%S", &local);
        EXPECT_STREQ(expectDate, date);
        EXPECT_STREQ(expectTime, time);
        break;
    }
}

// Each step moves the clock, sets scale and pauses, then takes one frame.
TEST_F(TimeBase, ScaleAndPausesStopTheRightClocks) {
    struct { double seconds; float scale; bool userPause, systemPause; float time, systemTime, frame, systemFrame; } steps[] = {
        {0.0, 1, false, false, 0, 0, 0, 0},  // the first frame has no previous query
        {0.5, 1, false, false, 0.5f, 0.5f, 0.5f, 0.5f},
        {0.25, 2, false, false, 1, 1, 0.5f, 0.5f},
        {-3.0, 1, false, false, 1, 1, 0, 0},  // a clock that steps back never runs time backwards
        {2.0, 0, false, false, 1, 1, 0, 0},
        {2.0, 1, true, false, 1, 3, 0, 2},  // a user pause stops game time only
        {0.5, 1, false, false, 1.5f, 3.5f, 0.5f, 0.5f},
        {10.0, 1, false, true, 1.5f, 3.5f, 0, 0},  // a system pause stops both...
        {100.0, 1, false, false, 1.5f, 3.5f, 0, 0},  // ...and its wall time is skipped
        {0.25, 1, false, false, 1.75f, 3.75f, 0.25f, 0.25f},
    };
    for (auto& step : steps) {
        s_FakeNow += step.seconds;
        cTimer::SetTimeScale(step.scale);
        cPause::SetUserPause(step.userPause);
        cPause::SetSystemPause(step.systemPause);
        cTimer::Acquire();
        EXPECT_FLOAT_EQ(step.time * 1000, cTimer::GetTimeMs()) << step.seconds;
        EXPECT_FLOAT_EQ(step.systemTime, cTimer::GetSystemTimeSec()) << step.seconds;
        EXPECT_FLOAT_EQ(step.frame * 1000, cTimer::GetFrameTimeMs()) << step.seconds;
        EXPECT_FLOAT_EQ(step.systemFrame, cTimer::GetSystemFrameTimeSec()) << step.seconds;
    }
    s_Vibration = 0.5f;
    cTimer::Reset();
    EXPECT_EQ(0.0f, cTimer::GetTimeSec() + cTimer::GetSystemTimeSec() + s_Vibration);
    Frame(50.0);  // after a reset the next frame is a first frame again
    EXPECT_EQ(0.0f, cTimer::GetTimeSec() + cTimer::GetSystemTimeSec());
}

TEST_F(TimeBase, FrameRateOverCyclesOfHundredFramesLeavesPausesOut) {
    EXPECT_EQ(0.0f, cTimer::GetFramesPerSecond());
    for (int i = 0; i < 100; i++) Frame(i == 0 ? 0.0 : 0.01);
    float first = cTimer::GetFramesPerSecond();
    EXPECT_GT(first, 100.0f);  // the first cycle spans 99 intervals
    // 50 frames, 5 s paused, 50 frames: 100 frames in 1 s of running time.
    for (int i = 0; i < 50; i++) Frame(0.01);
    cPause::SetUserPause(true);
    for (int i = 0; i < 5; i++) Frame(1.0);
    cPause::SetUserPause(false);
    for (int i = 0; i < 49; i++) Frame(0.01);
    EXPECT_EQ(first, cTimer::GetFramesPerSecond()) << "not yet a full cycle";
    Frame(0.01);
    EXPECT_NEAR(100.0f, cTimer::GetFramesPerSecond(), 0.01f);
    for (int i = 0; i < 100; i++) Frame(0.04);
    EXPECT_NEAR(25.0f, cTimer::GetFramesPerSecond(), 0.01f);
    cTimer::Reset();
    EXPECT_EQ(0.0f, cTimer::GetFramesPerSecond());
}

// Audio pauses and vibrations stop only when the combined pause state changes.
TEST_F(TimeBase, PausesSwitchAudioOnlyWhenTheCombinedStateChanges) {
    s_Vibration = 0.7f;
    cPause::SetUserPause(true);
    EXPECT_EQ(0.0f, s_Vibration);
    cPause::SetSystemPause(true);  // already paused: audio is left alone
    cPause::SetUserPause(false);   // the system pause still holds
    EXPECT_TRUE(cPause::GetPause());
    EXPECT_EQ("P", audio.calls);
    cPause::SetSystemPause(false);
    EXPECT_FALSE(cPause::GetPause());
    cPause::SetSystemPause(true);
    cPause::SetUserPause(true);     // recorded under the system pause...
    cPause::SetSystemPause(false);  // ...so leaving it keeps the game paused
    EXPECT_TRUE(cPause::GetUserPause() && !cPause::GetSystemPause());
    cPause::SetUserPause(false);
    cPause::SetUserPause(false);  // no change, no call
    EXPECT_EQ("PRPR", audio.calls);
}

TEST_F(TimeBase, StopwatchAveragesOverItsSamples) {
    cTimer watch(3);
    EXPECT_FALSE(watch.End()) << "not running: nothing is added";
    for (double d : {0.1, 0.2, 0.6}) {
        watch.Begin();
        s_FakeNow += d;
        if (d == 0.1) watch.Begin();  // a second Begin while running keeps the first start
        s_FakeNow += d;
        EXPECT_EQ(d == 0.6, watch.End());
        EXPECT_FALSE(watch.End());
        s_FakeNow += 5.0;  // time between samples is not measured
    }
    EXPECT_NEAR(0.6f, watch.GetAverageSec(), 1e-6f);
    EXPECT_NEAR(600.0f, watch.GetAverageMs(), 1e-3f);

    for (int n : {0, -4}) {  // fewer than one sample: an average after every End
        cTimer every(n);
        every.Begin();
        s_FakeNow += 0.75;
        EXPECT_TRUE(every.End());
        EXPECT_NEAR(750.0f, every.GetAverageMs(), 1e-3f);
    }
}
