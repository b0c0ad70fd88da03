// cInput: the framework's input state and event queue, all static. The shell
// queues window-system events (AddEvent); once a frame Acquire polls the
// keyboard and queues character events and key repeats; the widget registry
// drains the queue (GetEvent), which keeps the mouse, wheel and touch state
// as of the event just handed out, so handlers can query it.
// Surprises: the queue and the state belong to the shell's toolkit thread
// (no lock; the live key query IsDownAcquire is the one exception, the shell
// locks its key mutex); GetEvent hands the event to its caller, who deletes it.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/math/Vec2.h"

namespace zozud {

// Gestures of touch screens and track pads; no producer on this platform.
struct cGestureType {
    enum Enum { Unknown = 0, Tap, DoubleTap, Pan, Pinch, Rotate, Swipe };
};

struct cInput_Touch_t {
    bool  IsDown = false;
    cVec2 Pos = cVec2(0, 0);    // in the oriented frame
    cVec2 Delta = cVec2(0, 0);  // in the oriented frame
};

// One rumble of the game pad motors (strengths 0..1) until EndTimeSec.
struct cInput_VIBRATION {
    float Left, Right;
    float EndTimeSec;  // cTimer::GetTimeSec time at which it stops
};

class cInput {
public:
    // ---- Input codes: keyboard 0..92 (the shell's key set order), mouse 93..99, game pad 100..123 ----
    enum InputCode {
        Esc = 0, F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
        Key0, Key1, Key2, Key3, Key4, Key5, Key6, Key7, Key8, Key9, Minus, Equals,
        BackSpace, Tab, CapsLock, Insert, Delete, Home, End, PageUp, PageDown,
        Up, Down, Left, Right, BackSlash, Enter,
        LeftBracket, RightBracket, Semicolon, Apostrophe, Comma, Period, Slash,
        Shift, Control, Alt, Space, Tilde,
        A, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z,
        NumPad0, NumPad1, NumPad2, NumPad3, NumPad4, NumPad5, NumPad6, NumPad7, NumPad8, NumPad9,
        Add, Subtract, Multiply, Divide, Decimal,
        LeftButton, RightButton, MiddleButton, WheelUp, WheelDown, XButton1, XButton2,
        DpadUp, DpadDown, DpadLeft, DpadRight, Start, Back,
        LeftThumb, LeftThumbUp, LeftThumbDown, LeftThumbLeft, LeftThumbRight,
        RightThumb, RightThumbUp, RightThumbDown, RightThumbLeft, RightThumbRight,
        LeftShoulder, RightShoulder, ButtonA, ButtonB, ButtonX, ButtonY,
        LeftTrigger, RightTrigger,
        CodeCount  // 124
    };
    static const int KeyboardCodeCount = 93;
    static const int MouseCodeCount = 7;     // LeftButton..XButton2
    static const int GamepadCodeCount = 24;  // DpadUp..RightTrigger
    static const int TouchCount = 20;

    static cStr ToString(int code);          // its name; empty outside 0..123
    static int  ToCode(const char* name);    // first code of that name, any letter case; -1 for none
    static int  GetCharClass(int code);      // 0 no character, 1 the typed character, 2 the key code (editing keys)
    static bool IsKeyboardCode(int code);    // 0..92
    static bool IsMouseButtonCode(int code); // 93..95, 98, 99 (the wheel is no button)
    static bool IsGamepadCode(int code);     // 100..123

    // ---- Events ----
    struct EventType {
        enum Enum { Button = 1, MouseMove = 2, Char = 3, Touch = 4, Gesture = 5 };
    };
    // One queued event; every field the type does not use keeps its default.
    struct Event {
        int   Type = 0;                // EventType::Enum
        int   Code = -1;               // input code (Button), touch index (Touch)
        bool  IsPressed = false;       // down or up (Button, Touch)
        bool  IsDoubleClick = false;   // a press that completed a double click
        cVec2 Pos = cVec2(0, 0);       // pixels, origin at the bottom left of the client area
        cVec2 Delta = cVec2(0, 0);     // movement since the previous one, y up
        float Wheel = 0;               // +1 WheelUp, -1 WheelDown
        int   Char = -1;               // the character (Char events)
        int   GestureType = cGestureType::Unknown;
        int   GesturePhase = 0;        // 1 begins, 2 moves, 3 ends
        cVec2 GesturePos = cVec2(0, 0);
        cVec2 GestureDelta = cVec2(0, 0);
        float GestureRotation = 0;
        float GestureScale = 1;
    };
    // Heap events for the producers (AddEvent takes them over).
    static Event* NewButtonEvent(int code, bool pressed, const cVec2& pos = cVec2(0, 0));
    static Event* NewMoveEvent(const cVec2& pos, const cVec2& delta);
    static Event* NewTouchEvent(int index, bool down, const cVec2& pos, const cVec2& delta);

    // ---- Queue (toolkit thread) ----
    static void   Init();  // idempotent; every call below makes sure of it
    static void   AddEvent(Event* event, bool toFront = false);  // owns it; deletes a Button event of a bad code
    static Event* GetEvent();  // oldest event, now the caller's; null when empty
    static cList<Event*>& GetEvents();  // the queue itself, oldest first
    static void   FreeEvents();  // deletes every queued event, releases the mouse buttons and the modifiers they held
    static bool   EnableEvents() { return true; }

    // ---- State as of the last GetEvent ----
    static bool  IsDown(int code);         // keyboard (a modifier also while its events hold it), mouse button or game pad code
    static bool  IsDownAcquire(int code);  // keyboard: the live key state from the window system
    static float GetDownTimeSec(int code); // cTimer::GetTimeSec of its last press; 0 outside 0..123
    static const cVec2& GetMousePosition();
    static cVec2 GetMousePositionAcquire();
    static const cVec2& GetMousePositionOrient();
    static const cVec2& GetMouseDelta();  // (0, 0) unless the last event moved the mouse
    static float GetWheelDelta();         // non-zero for one GetEvent after a wheel event
    static bool  IsDoubleClick();
    static bool  GetMultitouchIsDown(int index);
    static cVec2 GetMultitouchPosition(int index);
    static cVec2 GetMultitouchDelta(int index);
    static void  GetMultitouchPositions(cList<cVec2>* positions);  // of the touches down
    static cVec2 GetLeftThumbPos();
    static cVec2 GetRightThumbPos();
    static float GetLeftTriggerPos();
    static float GetRightTriggerPos();

    // ---- Once a frame ----
    // Vibrations, the keyboard poll, game pad and character events with their
    // repeats (first after CharRepeatDelaySec, then every CharRepeatRateSec,
    // missed ones caught up at once), on the cTimer::GetSystemTimeSec time base.
    static void Acquire();
    static constexpr float CharRepeatDelaySec = 0.4f;
    static constexpr float CharRepeatRateSec = 0.04f;
    static constexpr float GamepadRepeatDelaySec = 0.3f;
    static constexpr float GamepadRepeatRateSec = 0.12f;

    // The keyboard as one poll sees it: pressed flags and the character each
    // key types now (0 for none), indexed by keyboard code. A shell that
    // sees every key press as an event sets PressesTyped and queues the
    // press's character event itself, in typing order: a key struck and
    // released between two polls then still types. Acquire then queues
    // only the repeats of held keys.
    struct KeyboardState {
        bool IsPressed[KeyboardCodeCount] = {};
        int  Chars[KeyboardCodeCount] = {};
        bool PressesTyped = false;
    };
    // The character event of keyboard code `code` typing `ch` (its Code
    // set as Acquire sets it, from the key's class and the held modifiers).
    static Event* NewCharEvent(int code, int ch, bool controlOrAlt);

    // ---- Orientation: the screen turned for hand-held use ----
    // HomeButtonOnTheRight maps (x, y) to (H - y, x), HomeButtonOnTheLeft to
    // (y, W - x), W and H the viewport size; the first wins; both off by default.
    static void  SetHomeButtonOnTheRight(bool on);
    static void  SetHomeButtonOnTheLeft(bool on);
    // The quarter turn the projection makes for the held screen: -90 with the
    // home button on the right, 90 on the left, else 0.
    static int   GetScreenRotation();
    static cVec2 GetPosOrient(const cVec2& pos);
    static cVec2 GetPosUnorient(const cVec2& pos);
    static cVec2 GetDeltaOrient(const cVec2& delta);
    static void  UpdateMousePosOrient();

    // ---- Cursor ----
    struct Cursor {
        enum Enum { Default = -1, Arrow, UpArrow, SizeWE, SizeNS, SizeNESW, SizeNWSE, SizeAll, IBeam, Cross, Wait, No, Hidden };
    };
    static void SetCursor(Cursor::Enum cursor);  // Default means Arrow
    static void WarpCursor(int x, int y, bool yUp);  // yUp: y counts up from the client area's bottom

    // ---- Vibration (strengths 0..1, clamped) ----
    static void  AddVibration(float left, float right, float durationSec);
    static void  SetVibration(float left, float right);
    static void  StopVibrations();   // both motors off, every rumble dropped
    static void  UpdateVibrations(); // the strongest rumble still running drives the motors
    static float GetVibrationLeft();
    static float GetVibrationRight();

    // ---- Seams ----
    // The live keyboard, the mouse cursor and the pointer belong to the
    // platform shell far above; it lends them here at start-up. Until then
    // the keyboard reads as all released, IsDownAcquire is false and cursor
    // calls do nothing.
    struct ShellHooks {
        void (*acquireKeyboard)(KeyboardState* state) = nullptr;  // fills every flag and character
        bool (*isKeyDown)(int code) = nullptr;                    // keyboard codes 0..92 only
        void (*setCursor)(int cursor) = nullptr;                  // 0..11, the cursor of the main window
        void (*warpCursor)(int x, int y, bool yUp) = nullptr;
    };
    static void SetShellHooks(const ShellHooks& hooks);
    // The viewport that the orientation turns (the current viewer's, a layer
    // above). Until one is lent the viewport is 0 by 0.
    static void SetViewportSizeQuery(void (*query)(float* width, float* height));
};

}  // namespace zozud
