// cTimer: the process clock (date and time texts, clock ticks), the per-frame
// time base with time scale and pauses, and, as an instance, a stopwatch that
// averages over a number of samples. cPause holds the system and user pauses.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"

struct tm;

namespace zozud {

class cTimer {
public:
    // ---- Clock ----
    static double AcquireClockSeconds();                   // wall clock, seconds with microseconds
    static int    AcquireClockTicks();                     // ms since the first call
    static void   AcquireDateTime(cStr* date, cStr* time); // "Thursday, 03 December 2026", "23:19:16"
    static void   FormatDateTime(const struct tm& t, cStr* date, cStr* time);  // the texts of one broken-down time

    // ---- Time base (toolkit thread) ----
    static void  Acquire();  // one frame: date texts, scaled frame time, frame rate
    static void  Reset();
    static float GetTimeSec();
    static float GetTimeMs();
    static float GetFrameTimeSec();
    static float GetFrameTimeMs();
    static float GetSystemTimeSec();
    static float GetSystemFrameTimeSec();
    static float GetFramesPerSecond();
    static const cStr& GetLocalDate();
    static const cStr& GetLocalTime();
    static void  CopyLocalDateTime(cStr* date, cStr* time);  // both texts, consistent, safe on any thread
    static float GetTimeScale();
    static void  SetTimeScale(float scale);

    // ---- Tests ----
    // Replaces the wall clock of AcquireClockSeconds (and so of Acquire and the
    // stopwatch); null restores it. Set it only while no other thread reads the clock.
    static void SetClockOverride(double (*clock)());

    // ---- Seam: vibrations ----
    // Entering a pause and Reset stop the game pad's vibrations, which belong
    // to the input layer far above; that layer hands its stop function in here
    // at start-up. Until then (null) there is nothing to stop.
    static void SetStopVibrations(void (*stop)());

    // ---- Stopwatch ----
    explicit cTimer(int sampleCount = 1);
    void  Begin();
    bool  End();  // true when a new average was taken
    float GetAverageMs() const { return averageMs; }
    float GetAverageSec() const { return averageSec; }

private:
    float         averageMs;
    float         averageSec;
    cList<double> samples;
    double        startSec;
    double        firstStartSec;
    int           sampleCount;
};

class cPause {
public:
    static bool GetPause();  // system or user pause
    static bool GetSystemPause();
    static bool GetUserPause();
    static void SetSystemPause(bool on);
    static void SetUserPause(bool on);
};

}  // namespace zozud
