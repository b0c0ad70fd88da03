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

// Made on first use and never destroyed: the seam may be filled by another
// file's static construction, and worker threads may read the clock while
// the process exits.
TimerState& State() {
    static TimerState* state = new TimerState;
    return *state;
}

const int FpsCycleLength = 100;

timeval WallClock() {
    timeval tv;
    gettimeofday(&tv, nullptr);
    return tv;
}

// The frame rate over cycles of 100 frames; time spent in a pause is moved
// out of the cycle so that a pause does not drag the rate down.
void CountFrame(double now, bool paused) {
    if (State().fpsCycleFrame == -1) {
        State().fpsCycleFrame = 0;
        State().fpsCycleStartTimeSec = now;
        State().fpsCyclePrevTimeSec = now;
    }
    if (paused) {
        State().fpsCycleStartTimeSec += now - State().fpsCyclePrevTimeSec;
        State().fpsCyclePrevTimeSec = now;
        return;
    }
    State().fpsCycleFrame++;
    State().fpsCyclePrevTimeSec = now;
    if (State().fpsCycleFrame < FpsCycleLength) return;
    double span = now - State().fpsCycleStartTimeSec;
    if (span > 0.0) State().framesPerSecond = (float)(FpsCycleLength / span);
    State().fpsCycleStartTimeSec = now;
    State().fpsCycleFrame = 0;
}

void StopVibrations() {
    if (State().stopVibrations) State().stopVibrations();
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
    if (State().clockOverride) return State().clockOverride();
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

void cTimer::SetClockOverride(double (*clock)()) { State().clockOverride = clock; }
void cTimer::SetStopVibrations(void (*stop)()) { State().stopVibrations = stop; }

// ---- Time base ----

void cTimer::Acquire() {
    cStr date, time;
    AcquireDateTime(&date, &time);
    {
        cMutexLock lock(State().textMutex);
        State().localDate = date;
        State().localTime = time;
    }
    double now = AcquireClockSeconds();
    bool first = State().clockTimeSecPreviousQuery == 0.0;
    double previous = (first || State().systemPause) ? now : State().clockTimeSecPreviousQuery;

    double elapsed = (now - previous) * State().timeScale;
    if (elapsed < 0.0) elapsed = 0.0;
    State().systemFrameTimeSec = (float)elapsed;
    State().doubleSystemTimeSec += elapsed;
    State().systemTimeSec = (float)State().doubleSystemTimeSec;

    bool paused = cPause::GetPause();
    double frame = paused ? 0.0 : elapsed;
    State().frameTimeSec = (float)frame;
    State().frameTimeMs = (float)(frame * 1000.0);
    State().doubleTimeSec += frame;
    State().timeSec = (float)State().doubleTimeSec;
    State().timeMs = (float)(State().doubleTimeSec * 1000.0);
    State().clockTimeSecPreviousQuery = now;

    CountFrame(now, paused);
}

void cTimer::Reset() {
    State().timeSec = State().timeMs = 0.0f;
    State().doubleTimeSec = 0.0;
    State().frameTimeSec = State().frameTimeMs = 0.0f;
    State().systemTimeSec = State().systemFrameTimeSec = 0.0f;
    State().doubleSystemTimeSec = 0.0;
    State().clockTimeSecPreviousQuery = 0.0;
    State().fpsCycleFrame = -1;
    State().fpsCycleStartTimeSec = State().fpsCyclePrevTimeSec = 0.0;
    State().framesPerSecond = 0.0f;
    StopVibrations();
}

float cTimer::GetTimeSec() { return State().timeSec; }
float cTimer::GetTimeMs() { return State().timeMs; }
float cTimer::GetFrameTimeSec() { return State().frameTimeSec; }
float cTimer::GetFrameTimeMs() { return State().frameTimeMs; }
float cTimer::GetSystemTimeSec() { return State().systemTimeSec; }
float cTimer::GetSystemFrameTimeSec() { return State().systemFrameTimeSec; }
float cTimer::GetFramesPerSecond() { return State().framesPerSecond; }
const cStr& cTimer::GetLocalDate() { return State().localDate; }
const cStr& cTimer::GetLocalTime() { return State().localTime; }
void cTimer::CopyLocalDateTime(cStr* date, cStr* time) {
    cMutexLock lock(State().textMutex);
    if (date) *date = State().localDate;
    if (time) *time = State().localTime;
}

float cTimer::GetTimeScale() { return State().timeScale; }
void  cTimer::SetTimeScale(float scale) { State().timeScale = scale; }

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

bool cPause::GetPause() { return State().systemPause || State().userPause; }
bool cPause::GetSystemPause() { return State().systemPause; }
bool cPause::GetUserPause() { return State().userPause; }

void cPause::SetSystemPause(bool on) {
    // Leaving the pause: one frame with the pause still set moves the clock
    // origin to now, so the time spent paused never counts.
    if (State().systemPause && !on) cTimer::Acquire();
    bool wasPaused = GetPause();
    State().systemPause = on;
    ApplyPauseChange(wasPaused);
}

void cPause::SetUserPause(bool on) {
    bool wasPaused = GetPause();
    State().userPause = on;
    if (State().systemPause) return;  // the system pause rules; the flag only waits for it to end
    ApplyPauseChange(wasPaused);
}

}  // namespace zozud
