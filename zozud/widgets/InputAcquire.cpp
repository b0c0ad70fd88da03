// Once a frame: vibrations, the keyboard poll with its character events and
// the game pad with its button events. A key held down repeats its event
// after a delay and then at a fixed rate; the repeat keeps its phase, so a
// late frame queues every repeat it missed at once. Only the key pressed
// last repeats. Time base: cTimer::GetSystemTimeSec (runs through pauses).
#include <cmath>

#include "zozud/core/Timer.h"
#include "zozud/widgets/InputState.h"

namespace zozud {

namespace {

// Press and repeat bookkeeping of one set of buttons: `before` and `now` are
// their pressed flags, `timers` the time of each one's next repeat (0 when
// none is due). emit(index) queues one event of that button.
struct RepeatSet {
    const bool* before;
    const bool* now;
    double*     timers;
    int         count;
    double      delaySec;
    double      rateSec;
    bool        emitPresses;  // false: the producer queued the presses' events itself
};

void Repeat(const RepeatSet& set, double nowSec, void (*emit)(int index)) {
    int newest = -1;
    for (int i = 0; i < set.count; i++) {
        if (set.now[i] && !set.before[i]) {
            if (set.emitPresses) emit(i);
            newest = i;
        }
    }
    if (newest >= 0) {
        for (int i = 0; i < set.count; i++) set.timers[i] = 0;
        set.timers[newest] = nowSec + set.delaySec;
    }
    for (int i = 0; i < set.count; i++) {
        if (!set.now[i]) set.timers[i] = 0;
        if (set.timers[i] == 0 || nowSec < set.timers[i]) continue;
        double steps = (nowSec - set.timers[i] + set.rateSec) / set.rateSec;
        double whole = std::floor(steps);
        for (int n = 0; n < (int)whole; n++) emit(i);
        set.timers[i] = nowSec + set.rateSec - (steps - whole) * set.rateSec;
    }
}

void EmitChar(int code) {
    const cInput::KeyboardState& keys = cInput_GetState().KeyboardState;
    cInput::AddEvent(cInput::NewCharEvent(code, keys.Chars[code],
                                          keys.IsPressed[cInput::Control] || keys.IsPressed[cInput::Alt]));
}

void EmitGamepadPress(int index) { cInput::AddEvent(cInput::NewButtonEvent(cInput::DpadUp + index, true)); }

void AcquireKeyboard(double nowSec) {
    cInput_State& s = cInput_GetState();
    s.KeyboardStatePrevious = s.KeyboardState;
    s.KeyboardState = cInput::KeyboardState();
    if (s.Shell.acquireKeyboard) s.Shell.acquireKeyboard(&s.KeyboardState);

    // Only keys that type something or edit take part; the others never repeat.
    bool before[cInput::KeyboardCodeCount], now[cInput::KeyboardCodeCount];
    for (int code = 0; code < cInput::KeyboardCodeCount; code++) {
        bool types = cInput::GetCharClass(code) != 0;
        before[code] = types && s.KeyboardStatePrevious.IsPressed[code];
        now[code] = types && s.KeyboardState.IsPressed[code];
    }
    RepeatSet set = {before, now, s.CharsStartRepeatTimeSec, cInput::KeyboardCodeCount,
                     cInput::CharRepeatDelaySec, cInput::CharRepeatRateSec, !s.KeyboardState.PressesTyped};
    Repeat(set, nowSec, EmitChar);
}

// No game pad is read on this platform: the state stays released, and the
// releases below only matter once a source fills it.
void AcquireGamepad(double nowSec) {
    cInput_State& s = cInput_GetState();
    for (int i = 0; i < cInput::GamepadCodeCount; i++) {
        if (s.GamepadStatePrevious.IsPressed[i] && !s.GamepadState.IsPressed[i])
            cInput::AddEvent(cInput::NewButtonEvent(cInput::DpadUp + i, false));
    }
    RepeatSet set = {s.GamepadStatePrevious.IsPressed, s.GamepadState.IsPressed, s.GamepadStartRepeatTimeSec,
                     cInput::GamepadCodeCount, cInput::GamepadRepeatDelaySec, cInput::GamepadRepeatRateSec, true};
    Repeat(set, nowSec, EmitGamepadPress);
    s.GamepadStatePrevious = s.GamepadState;
}

float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

}  // namespace

cInput::Event* cInput::NewCharEvent(int code, int ch, bool controlOrAlt) {
    Event* event = new Event;
    event->Type = EventType::Char;
    event->Char = ch;
    event->Code = GetCharClass(code) == 2 || controlOrAlt ? code : -1;
    return event;
}

void cInput::Acquire() {
    double nowSec = cTimer::GetSystemTimeSec();
    UpdateVibrations();
    AcquireKeyboard(nowSec);
    AcquireGamepad(nowSec);
}

// ---- Vibration ----

void cInput::AddVibration(float left, float right, float durationSec) {
    if (!(durationSec > 0)) return;
    cInput_VIBRATION rumble = {Clamp01(left), Clamp01(right), cTimer::GetTimeSec() + durationSec};
    cInput_GetState().Vibrations.Add(rumble);
    UpdateVibrations();
}

void cInput::SetVibration(float left, float right) {
    cInput_State& s = cInput_GetState();
    s.VibrationLeft = Clamp01(left);
    s.VibrationRight = Clamp01(right);
}

void cInput::StopVibrations() {
    cInput_GetState().Vibrations.Clear();
    SetVibration(0.0f, 0.0f);
}

void cInput::UpdateVibrations() {
    cInput_State& s = cInput_GetState();
    if (s.Vibrations.IsEmpty()) return;  // the motors stay as SetVibration left them
    float now = cTimer::GetTimeSec(), left = 0, right = 0;
    for (int i = s.Vibrations.Count() - 1; i >= 0; i--) {
        const cInput_VIBRATION& rumble = s.Vibrations[i];
        if (rumble.EndTimeSec <= now) {
            s.Vibrations.RemoveAt(i);
            continue;
        }
        if (rumble.Left > left) left = rumble.Left;
        if (rumble.Right > right) right = rumble.Right;
    }
    SetVibration(left, right);
}

float cInput::GetVibrationLeft() { return cInput_GetState().VibrationLeft; }
float cInput::GetVibrationRight() { return cInput_GetState().VibrationRight; }

}  // namespace zozud
