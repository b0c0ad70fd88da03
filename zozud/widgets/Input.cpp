// The input queue and the state that draining it keeps: producers queue heap
// events, GetEvent hands the oldest to its caller and updates the mouse,
// wheel, touch and modifier-key state from it. Touches also drive a simulated mouse: the
// first finger down presses the left button, moves the pointer and releases
// it. The keyboard poll, repeats and vibrations are in InputAcquire.cpp.
#include "zozud/core/Timer.h"
#include "zozud/widgets/InputState.h"

namespace zozud {

namespace {

// A finger moving less than this in both directions does not move the simulated mouse.
const float TouchMoveThreshold = 0.001f;

bool IsWheelCode(int code) { return code == cInput::WheelUp || code == cInput::WheelDown; }
bool IsTouchIndex(int index) { return index >= 0 && index < cInput::TouchCount; }

float Abs(float v) { return v < 0 ? -v : v; }

void ViewportSize(float* width, float* height) {
    *width = *height = 0;
    if (cInput_GetState().ViewportSize) cInput_GetState().ViewportSize(width, height);
}

// The first finger down is followed: its press, moves and release become
// left-button presses, mouse moves and the release, queued at the end. Runs
// before the touch record takes the event, so the record tells a finger that
// goes down from one that moves.
void SimulateMouseEventWithMultitouchEvent(const cInput::Event& touch) {
    cInput_State& s = cInput_GetState();
    if (s.FollowedTouch < 0) {
        if (!touch.IsPressed || s.Touches[touch.Code].IsDown) return;
        s.FollowedTouch = touch.Code;
        cInput::AddEvent(cInput::NewButtonEvent(cInput::LeftButton, true, touch.Pos));
        return;
    }
    if (touch.Code != s.FollowedTouch) return;
    if (!touch.IsPressed) {
        s.FollowedTouch = -1;
        cInput::AddEvent(cInput::NewButtonEvent(cInput::LeftButton, false, touch.Pos));
    } else if (Abs(touch.Delta.x) > TouchMoveThreshold || Abs(touch.Delta.y) > TouchMoveThreshold) {
        cInput::AddEvent(cInput::NewMoveEvent(touch.Pos, touch.Delta));
    }
}

void TakeButton(const cInput::Event& event) {
    cInput_State& s = cInput_GetState();
    if (event.Code == cInput::Shift || event.Code == cInput::Control || event.Code == cInput::Alt) {
        s.HeldByEvents[event.Code] = event.IsPressed;
        return;
    }
    if (IsWheelCode(event.Code)) {
        s.WheelDelta = event.Wheel;
        return;
    }
    if (!cInput::IsMouseButtonCode(event.Code)) return;
    if (event.IsPressed) s.DoubleClick = event.IsDoubleClick;
    s.MouseState[event.Code - cInput::LeftButton] = event.IsPressed;
    s.MousePos = event.Pos;
    s.MousePosOrient = cInput::GetPosOrient(s.MousePos);
}

void TakeTouch(const cInput::Event& event) {
    if (!IsTouchIndex(event.Code)) return;
    SimulateMouseEventWithMultitouchEvent(event);
    cInput_Touch_t& touch = cInput_GetState().Touches[event.Code];
    touch.IsDown = event.IsPressed;
    touch.Pos = cInput::GetPosOrient(event.Pos);
    touch.Delta = cInput::GetDeltaOrient(event.Delta);
}

}  // namespace

cInput_State& cInput_GetState() {
    static cInput_State* state = new cInput_State;
    return *state;
}

void cInput::Init() { cInput_GetState(); }

// ---- Events ----

cInput::Event* cInput::NewButtonEvent(int code, bool pressed, const cVec2& pos) {
    Event* event = new Event;
    event->Type = EventType::Button;
    event->Code = code;
    event->IsPressed = pressed;
    event->Pos = pos;
    if (code == WheelUp) event->Wheel = 1;
    if (code == WheelDown) event->Wheel = -1;
    return event;
}

cInput::Event* cInput::NewMoveEvent(const cVec2& pos, const cVec2& delta) {
    Event* event = new Event;
    event->Type = EventType::MouseMove;
    event->Pos = pos;
    event->Delta = delta;
    return event;
}

cInput::Event* cInput::NewTouchEvent(int index, bool down, const cVec2& pos, const cVec2& delta) {
    Event* event = new Event;
    event->Type = EventType::Touch;
    event->Code = index;
    event->IsPressed = down;
    event->Pos = pos;
    event->Delta = delta;
    return event;
}

// ---- Queue ----

void cInput::AddEvent(Event* event, bool toFront) {
    if (!event) return;
    if (event->Type == EventType::Button && (event->Code < 0 || event->Code >= CodeCount)) {
        delete event;  // ours now, and nobody will drain it
        return;
    }
    cInput_State& s = cInput_GetState();
    if (toFront) {
        s.Events.Insert(0, event);
    } else {
        s.Events.Add(event);
    }
    if (event->Type == EventType::Button && event->IsPressed) s.DownTimeSec[event->Code] = cTimer::GetTimeSec();
}

cInput::Event* cInput::GetEvent() {
    cInput_State& s = cInput_GetState();
    s.MouseDelta = cVec2(0, 0);
    s.WheelDelta = 0;
    s.DoubleClick = false;
    if (s.Events.IsEmpty()) return nullptr;
    Event* event = s.Events[0];
    s.Events.RemoveAt(0);
    switch (event->Type) {
    case EventType::MouseMove:
        s.MousePos = event->Pos;
        s.MousePosOrient = GetPosOrient(s.MousePos);
        s.MouseDelta = event->Delta;
        break;
    case EventType::Button: TakeButton(*event); break;
    case EventType::Touch: TakeTouch(*event); break;
    default: break;
    }
    return event;
}

cList<cInput::Event*>& cInput::GetEvents() { return cInput_GetState().Events; }

void cInput::FreeEvents() {
    cInput_State& s = cInput_GetState();
    for (Event* event : s.Events) delete event;
    s.Events.Clear();
    for (int code = LeftButton; code <= WheelDown; code++) s.MouseState[code - LeftButton] = false;
    for (bool& held : s.HeldByEvents) held = false;
}

// ---- State ----

bool cInput::IsDown(int code) {
    cInput_State& s = cInput_GetState();
    if (IsKeyboardCode(code)) return s.KeyboardState.IsPressed[code] || s.HeldByEvents[code];
    if (IsMouseButtonCode(code)) return s.MouseState[code - LeftButton];
    if (IsGamepadCode(code)) return s.GamepadState.IsPressed[code - DpadUp];
    return false;
}

bool cInput::IsDownAcquire(int code) {
    cInput_State& s = cInput_GetState();
    return IsKeyboardCode(code) && s.Shell.isKeyDown && s.Shell.isKeyDown(code);
}

float cInput::GetDownTimeSec(int code) {
    if (code < 0 || code >= CodeCount) return 0;
    return cInput_GetState().DownTimeSec[code];
}

const cVec2& cInput::GetMousePosition() { return cInput_GetState().MousePos; }
cVec2 cInput::GetMousePositionAcquire() { return cInput_GetState().MousePos; }
const cVec2& cInput::GetMousePositionOrient() { return cInput_GetState().MousePosOrient; }
const cVec2& cInput::GetMouseDelta() { return cInput_GetState().MouseDelta; }
float cInput::GetWheelDelta() { return cInput_GetState().WheelDelta; }
bool cInput::IsDoubleClick() { return cInput_GetState().DoubleClick; }

bool cInput::GetMultitouchIsDown(int index) { return IsTouchIndex(index) && cInput_GetState().Touches[index].IsDown; }
cVec2 cInput::GetMultitouchPosition(int index) { return IsTouchIndex(index) ? cInput_GetState().Touches[index].Pos : cVec2(0, 0); }
cVec2 cInput::GetMultitouchDelta(int index) { return IsTouchIndex(index) ? cInput_GetState().Touches[index].Delta : cVec2(0, 0); }

void cInput::GetMultitouchPositions(cList<cVec2>* positions) {
    positions->Clear();
    for (const cInput_Touch_t& touch : cInput_GetState().Touches) {
        if (touch.IsDown) positions->Add(touch.Pos);
    }
}

cVec2 cInput::GetLeftThumbPos() { return cInput_GetState().GamepadState.LeftThumb; }
cVec2 cInput::GetRightThumbPos() { return cInput_GetState().GamepadState.RightThumb; }
float cInput::GetLeftTriggerPos() { return cInput_GetState().GamepadState.LeftTrigger; }
float cInput::GetRightTriggerPos() { return cInput_GetState().GamepadState.RightTrigger; }

// ---- Orientation ----

void cInput::SetHomeButtonOnTheRight(bool on) { cInput_GetState().HomeButtonOnTheRight = on; }
void cInput::SetHomeButtonOnTheLeft(bool on) { cInput_GetState().HomeButtonOnTheLeft = on; }

int cInput::GetScreenRotation() {
    const cInput_State& s = cInput_GetState();
    return s.HomeButtonOnTheRight ? -90 : s.HomeButtonOnTheLeft ? 90 : 0;
}

cVec2 cInput::GetPosOrient(const cVec2& pos) {
    cInput_State& s = cInput_GetState();
    float width, height;
    ViewportSize(&width, &height);
    if (s.HomeButtonOnTheRight) return cVec2(height - pos.y, pos.x);
    if (s.HomeButtonOnTheLeft) return cVec2(pos.y, width - pos.x);
    return pos;
}

cVec2 cInput::GetPosUnorient(const cVec2& pos) {
    cInput_State& s = cInput_GetState();
    float width, height;
    ViewportSize(&width, &height);
    if (s.HomeButtonOnTheRight) return cVec2(pos.y, height - pos.x);
    if (s.HomeButtonOnTheLeft) return cVec2(width - pos.y, pos.x);
    return pos;
}

cVec2 cInput::GetDeltaOrient(const cVec2& delta) {
    cInput_State& s = cInput_GetState();
    if (s.HomeButtonOnTheRight) return cVec2(-delta.y, delta.x);
    if (s.HomeButtonOnTheLeft) return cVec2(delta.y, -delta.x);
    return delta;
}

void cInput::UpdateMousePosOrient() {
    cInput_State& s = cInput_GetState();
    s.MousePosOrient = GetPosOrient(s.MousePos);
}

// ---- Cursor and seams ----

void cInput::SetCursor(Cursor::Enum cursor) {
    int index = cursor < Cursor::Arrow || cursor > Cursor::Hidden ? Cursor::Arrow : cursor;
    cInput_State& s = cInput_GetState();
    if (s.Shell.setCursor) s.Shell.setCursor(index);
}

void cInput::WarpCursor(int x, int y, bool yUp) {
    cInput_State& s = cInput_GetState();
    if (s.Shell.warpCursor) s.Shell.warpCursor(x, y, yUp);
}

void cInput::SetShellHooks(const ShellHooks& hooks) { cInput_GetState().Shell = hooks; }
void cInput::SetViewportSizeQuery(void (*query)(float* width, float* height)) { cInput_GetState().ViewportSize = query; }

}  // namespace zozud
