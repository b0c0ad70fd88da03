// The process clock, the per-frame time base and the stopwatch. The time base
// is advanced once a frame by Acquire; game time stands still during either
// pause, system time only during a system pause (the window lost its focus),
// and wall time spent in a system pause is never counted.
#include "zozud/core/Timer.h"

#include <pthread.h>
#include <sys/time.h>
#include <time.h>

#include "zozud/core/Audio.h"
#include "zozud/core/Thread.h"

namespace zozud {

namespace {

const char* const WeekDays[7] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
const char* const Months[12] = {"January", "February", "March",     "April",   "May",      "June",
                                "July",    "August",   "September", "October", "November", "December"};

// Everything the clock, the time base and the pauses keep, in one place.
struct TimerState {
    double (*clockOverride)() = nullptr;
    void (*stopVibrations)() = nullptr;  // the input layer's seam (cTimer::SetStopVibrations)

    // Time base.
    float  timeScale = 1.0f;
    float  timeSec = 0.0f;
    float  timeMs = 0.0f;
    double doubleTimeSec = 0.0;
    float  frameTimeSec = 0.0f;
    float  frameTimeMs = 0.0f;
    float  systemTimeSec = 0.0f;
    double doubleSystemTimeSec = 0.0;
    float  systemFrameTimeSec = 0.0f;
    double clockTimeSecPreviousQuery = 0.0;
    int    fpsCycleFrame = -1;
    double fpsCycleStartTimeSec = 0.0;
    double fpsCyclePrevTimeSec = 0.0;
    float  framesPerSecond = 0.0f;
    cStr   localDate;
    cStr   localTime;
    // Worker threads read the date texts while another thread's frame refreshes
    // them; only plain string copies happen under this lock.
    pthread_mutex_t textMutex = PTHREAD_MUTEX_INITIALIZER;

    // Pauses.
    bool systemPause = false;
    bool userPause = false;
};

TimerState s_State;

const int FpsCycleLength = 100;

timeval WallClock() {
    timeval tv;
    gettimeofday(&tv, nullptr);
    return tv;
}

// The frame rate over cycles of 100 frames; time spent in a pause is moved
// out of the cycle so that a pause does not drag the rate down.
void CountFrame(double now, bool paused) {
    if (s_State.fpsCycleFrame == -1) {
        s_State.fpsCycleFrame = 0;
        s_State.fpsCycleStartTimeSec = now;
        s_State.fpsCyclePrevTimeSec = now;
    }
    if (paused) {
        s_State.fpsCycleStartTimeSec += now - s_State.fpsCyclePrevTimeSec;
        s_State.fpsCyclePrevTimeSec = now;
        return;
    }
    s_State.fpsCycleFrame++;
    s_State.fpsCyclePrevTimeSec = now;
    if (s_State.fpsCycleFrame < FpsCycleLength) return;
    double span = now - s_State.fpsCycleStartTimeSec;
    if (span > 0.0) s_State.framesPerSecond = (float)(FpsCycleLength / span);
    s_State.fpsCycleStartTimeSec = now;
    s_State.fpsCycleFrame = 0;
}

void StopVibrations() {
    if (s_State.stopVibrations) s_State.stopVibrations();
}

// Switches audio and vibrations when the combined pause state changed.
void ApplyPauseChange(bool wasPaused) {
    bool paused = cPause::GetPause();
    if (paused == wasPaused) return;
    cAudio::SetPause(paused);
    if (paused) StopVibrations();
}

}  // namespace

// ---- Clock ----

double cTimer::AcquireClockSeconds() {
    if (s_State.clockOverride) return s_State.clockOverride();
    timeval tv = WallClock();
    return (double)tv.tv_sec + (double)tv.tv_usec / 1000000.0;
}

int cTimer::AcquireClockTicks() {
    // The origin is taken once, on the first call, from whichever thread makes it.
    static const timeval origin = WallClock();
    timeval tv = WallClock();
    long long ms = (long long)(tv.tv_sec - origin.tv_sec) * 1000 + (tv.tv_usec - origin.tv_usec) / 1000;
    return (int)ms;
}

void cTimer::FormatDateTime(const struct tm& t, cStr* date, cStr* time) {
    if (time) *time = cStr::Format("%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
    if (!date) return;
    int weekDay = (t.tm_wday + 6) % 7;  // tm counts from Sunday; the names run from Monday
    int month = t.tm_mon < 0 ? 0 : (t.tm_mon > 11 ? 11 : t.tm_mon);
    if (weekDay < 0) weekDay = 0;
    *date = cStr::Format("%s, %d%d %s %d", WeekDays[weekDay], t.tm_mday / 10, t.tm_mday % 10, Months[month],
                         t.tm_year + 1900);
}

void cTimer::AcquireDateTime(cStr* date, cStr* time) {
    time_t now = ::time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    FormatDateTime(local, date, time);
}

void cTimer::SetClockOverride(double (*clock)()) { s_State.clockOverride = clock; }
void cTimer::SetStopVibrations(void (*stop)()) { s_State.stopVibrations = stop; }

// ---- Time base ----

void cTimer::Acquire() {
    cStr date, time;
    AcquireDateTime(&date, &time);
    {
        cMutexLock lock(s_State.textMutex);
        s_State.localDate = date;
        s_State.localTime = time;
    }
    double now = AcquireClockSeconds();
    bool first = s_State.clockTimeSecPreviousQuery == 0.0;
    double previous = (first || s_State.systemPause) ? now : s_State.clockTimeSecPreviousQuery;

    double elapsed = (now - previous) * s_State.timeScale;
    if (elapsed < 0.0) elapsed = 0.0;
    s_State.systemFrameTimeSec = (float)elapsed;
    s_State.doubleSystemTimeSec += elapsed;
    s_State.systemTimeSec = (float)s_State.doubleSystemTimeSec;

    bool paused = cPause::GetPause();
    double frame = paused ? 0.0 : elapsed;
    s_State.frameTimeSec = (float)frame;
    s_State.frameTimeMs = (float)(frame * 1000.0);
    s_State.doubleTimeSec += frame;
    s_State.timeSec = (float)s_State.doubleTimeSec;
    s_State.timeMs = (float)(s_State.doubleTimeSec * 1000.0);
    s_State.clockTimeSecPreviousQuery = now;

    CountFrame(now, paused);
}

void cTimer::Reset() {
    s_State.timeSec = s_State.timeMs = 0.0f;
    s_State.doubleTimeSec = 0.0;
    s_State.frameTimeSec = s_State.frameTimeMs = 0.0f;
    s_State.systemTimeSec = s_State.systemFrameTimeSec = 0.0f;
    s_State.doubleSystemTimeSec = 0.0;
    s_State.clockTimeSecPreviousQuery = 0.0;
    s_State.fpsCycleFrame = -1;
    s_State.fpsCycleStartTimeSec = s_State.fpsCyclePrevTimeSec = 0.0;
    s_State.framesPerSecond = 0.0f;
    StopVibrations();
}

float cTimer::GetTimeSec() { return s_State.timeSec; }
float cTimer::GetTimeMs() { return s_State.timeMs; }
float cTimer::GetFrameTimeSec() { return s_State.frameTimeSec; }
float cTimer::GetFrameTimeMs() { return s_State.frameTimeMs; }
float cTimer::GetSystemTimeSec() { return s_State.systemTimeSec; }
float cTimer::GetSystemFrameTimeSec() { return s_State.systemFrameTimeSec; }
float cTimer::GetFramesPerSecond() { return s_State.framesPerSecond; }
const cStr& cTimer::GetLocalDate() { return s_State.localDate; }
const cStr& cTimer::GetLocalTime() { return s_State.localTime; }
void cTimer::CopyLocalDateTime(cStr* date, cStr* time) {
    cMutexLock lock(s_State.textMutex);
    if (date) *date = s_State.localDate;
    if (time) *time = s_State.localTime;
}

float cTimer::GetTimeScale() { return s_State.timeScale; }
void  cTimer::SetTimeScale(float scale) { s_State.timeScale = scale; }

// ---- Stopwatch ----

cTimer::cTimer(int n)
    : averageMs(0.0f), averageSec(0.0f), startSec(-1.0), firstStartSec(0.0), sampleCount(n < 1 ? 1 : n) {}

void cTimer::Begin() {
    if (startSec >= 0.0) return;
    startSec = AcquireClockSeconds();
    if (samples.IsEmpty()) firstStartSec = startSec;
}

bool cTimer::End() {
    if (startSec < 0.0) return false;
    samples.Add(AcquireClockSeconds() - startSec);
    startSec = -1.0;
    if (samples.Count() < sampleCount) return false;
    double sum = 0.0;
    for (int i = 0; i < samples.Count(); i++) sum += samples[i];
    double average = sum / samples.Count();
    averageSec = (float)average;
    averageMs = (float)(average * 1000.0);
    samples.Clear();
    return true;
}

// ---- Pauses ----

bool cPause::GetPause() { return s_State.systemPause || s_State.userPause; }
bool cPause::GetSystemPause() { return s_State.systemPause; }
bool cPause::GetUserPause() { return s_State.userPause; }

void cPause::SetSystemPause(bool on) {
    // Leaving the pause: one frame with the pause still set moves the clock
    // origin to now, so the time spent paused never counts.
    if (s_State.systemPause && !on) cTimer::Acquire();
    bool wasPaused = GetPause();
    s_State.systemPause = on;
    ApplyPauseChange(wasPaused);
}

void cPause::SetUserPause(bool on) {
    bool wasPaused = GetPause();
    s_State.userPause = on;
    if (s_State.systemPause) return;  // the system pause rules; the flag only waits for it to end
    ApplyPauseChange(wasPaused);
}

}  // namespace zozud
