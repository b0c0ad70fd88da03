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
#include "zozud/widgets/Input.h"

namespace zozud {

namespace {

const char* const WeekDays[7] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
const char* const Months[12] = {"January", "February", "March",     "April",   "May",      "June",
                                "July",    "August",   "September", "October", "November", "December"};

double (*s_ClockOverride)() = nullptr;

// Time base.
float  s_TimeScale = 1.0f;
float  s_TimeSec = 0.0f;
float  s_TimeMs = 0.0f;
double s_DoubleTimeSec = 0.0;
float  s_FrameTimeSec = 0.0f;
float  s_FrameTimeMs = 0.0f;
float  s_SystemTimeSec = 0.0f;
double s_DoubleSystemTimeSec = 0.0;
float  s_SystemFrameTimeSec = 0.0f;
double s_ClockTimeSecPreviousQuery = 0.0;
int    s_FpsCycleFrame = -1;
double s_FpsCycleStartTimeSec = 0.0;
double s_FpsCyclePrevTimeSec = 0.0;
float  s_FramesPerSecond = 0.0f;
cStr   s_LocalDate;
cStr   s_LocalTime;
// Worker threads read the date texts while another thread's frame refreshes
// them; only plain string copies happen under this lock.
pthread_mutex_t s_TextMutex = PTHREAD_MUTEX_INITIALIZER;

// Pauses.
bool s_SystemPause = false;
bool s_UserPause = false;

const int FpsCycleLength = 100;

timeval WallClock() {
    timeval tv;
    gettimeofday(&tv, nullptr);
    return tv;
}

// The frame rate over cycles of 100 frames; time spent in a pause is moved
// out of the cycle so that a pause does not drag the rate down.
void CountFrame(double now, bool paused) {
    if (s_FpsCycleFrame == -1) {
        s_FpsCycleFrame = 0;
        s_FpsCycleStartTimeSec = now;
        s_FpsCyclePrevTimeSec = now;
    }
    if (paused) {
        s_FpsCycleStartTimeSec += now - s_FpsCyclePrevTimeSec;
        s_FpsCyclePrevTimeSec = now;
        return;
    }
    s_FpsCycleFrame++;
    s_FpsCyclePrevTimeSec = now;
    if (s_FpsCycleFrame < FpsCycleLength) return;
    double span = now - s_FpsCycleStartTimeSec;
    if (span > 0.0) s_FramesPerSecond = (float)(FpsCycleLength / span);
    s_FpsCycleStartTimeSec = now;
    s_FpsCycleFrame = 0;
}

// Switches audio and vibrations when the combined pause state changed.
void ApplyPauseChange(bool wasPaused) {
    bool paused = cPause::GetPause();
    if (paused == wasPaused) return;
    cAudio::SetPause(paused);
    if (paused) cInput::StopVibrations();
}

}  // namespace

// ---- Clock ----

double cTimer::AcquireClockSeconds() {
    if (s_ClockOverride) return s_ClockOverride();
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

void cTimer::SetClockOverride(double (*clock)()) { s_ClockOverride = clock; }

// ---- Time base ----

void cTimer::Acquire() {
    cStr date, time;
    AcquireDateTime(&date, &time);
    {
        cMutexLock lock(s_TextMutex);
        s_LocalDate = date;
        s_LocalTime = time;
    }
    double now = AcquireClockSeconds();
    bool first = s_ClockTimeSecPreviousQuery == 0.0;
    double previous = (first || s_SystemPause) ? now : s_ClockTimeSecPreviousQuery;

    double elapsed = (now - previous) * s_TimeScale;
    if (elapsed < 0.0) elapsed = 0.0;
    s_SystemFrameTimeSec = (float)elapsed;
    s_DoubleSystemTimeSec += elapsed;
    s_SystemTimeSec = (float)s_DoubleSystemTimeSec;

    bool paused = cPause::GetPause();
    double frame = paused ? 0.0 : elapsed;
    s_FrameTimeSec = (float)frame;
    s_FrameTimeMs = (float)(frame * 1000.0);
    s_DoubleTimeSec += frame;
    s_TimeSec = (float)s_DoubleTimeSec;
    s_TimeMs = (float)(s_DoubleTimeSec * 1000.0);
    s_ClockTimeSecPreviousQuery = now;

    CountFrame(now, paused);
}

void cTimer::Reset() {
    s_TimeSec = s_TimeMs = 0.0f;
    s_DoubleTimeSec = 0.0;
    s_FrameTimeSec = s_FrameTimeMs = 0.0f;
    s_SystemTimeSec = s_SystemFrameTimeSec = 0.0f;
    s_DoubleSystemTimeSec = 0.0;
    s_ClockTimeSecPreviousQuery = 0.0;
    s_FpsCycleFrame = -1;
    s_FpsCycleStartTimeSec = s_FpsCyclePrevTimeSec = 0.0;
    s_FramesPerSecond = 0.0f;
    cInput::StopVibrations();
}

float cTimer::GetTimeSec() { return s_TimeSec; }
float cTimer::GetTimeMs() { return s_TimeMs; }
float cTimer::GetFrameTimeSec() { return s_FrameTimeSec; }
float cTimer::GetFrameTimeMs() { return s_FrameTimeMs; }
float cTimer::GetSystemTimeSec() { return s_SystemTimeSec; }
float cTimer::GetSystemFrameTimeSec() { return s_SystemFrameTimeSec; }
float cTimer::GetFramesPerSecond() { return s_FramesPerSecond; }
const cStr& cTimer::GetLocalDate() { return s_LocalDate; }
const cStr& cTimer::GetLocalTime() { return s_LocalTime; }
void cTimer::CopyLocalDateTime(cStr* date, cStr* time) {
    cMutexLock lock(s_TextMutex);
    if (date) *date = s_LocalDate;
    if (time) *time = s_LocalTime;
}

float cTimer::GetTimeScale() { return s_TimeScale; }
void  cTimer::SetTimeScale(float scale) { s_TimeScale = scale; }

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

bool cPause::GetPause() { return s_SystemPause || s_UserPause; }
bool cPause::GetSystemPause() { return s_SystemPause; }
bool cPause::GetUserPause() { return s_UserPause; }

void cPause::SetSystemPause(bool on) {
    // Leaving the pause: one frame with the pause still set moves the clock
    // origin to now, so the time spent paused never counts.
    if (s_SystemPause && !on) cTimer::Acquire();
    bool wasPaused = GetPause();
    s_SystemPause = on;
    ApplyPauseChange(wasPaused);
}

void cPause::SetUserPause(bool on) {
    bool wasPaused = GetPause();
    s_UserPause = on;
    if (s_SystemPause) return;  // the system pause rules; the flag only waits for it to end
    ApplyPauseChange(wasPaused);
}

}  // namespace zozud
