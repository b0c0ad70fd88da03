// The state behind the static cInput facade, shared by its source files.
// Made on first use and never destroyed (events queued at exit stay
// reachable); touched by the toolkit thread only.
#pragma once

#include "zozud/widgets/Input.h"

namespace zozud {

struct cInput_GamepadState {
    bool  IsPressed[cInput::GamepadCodeCount] = {};
    cVec2 LeftThumb = cVec2(0, 0);
    cVec2 RightThumb = cVec2(0, 0);
    float LeftTrigger = 0;
    float RightTrigger = 0;
};

struct cInput_State {
    cList<cInput::Event*> Events;  // oldest first

    // As of the event GetEvent handed out last.
    cVec2 MousePos = cVec2(0, 0);
    cVec2 MousePosOrient = cVec2(0, 0);
    cVec2 MouseDelta = cVec2(0, 0);
    float WheelDelta = 0;
    bool  DoubleClick = false;
    bool  MouseState[cInput::MouseCodeCount] = {};  // by code - LeftButton
    cInput_Touch_t Touches[cInput::TouchCount];
    int   FollowedTouch = -1;  // the touch that drives the simulated mouse
    // Shift, Control and Alt as their events say, pressed until released.
    // A key struck while a modifier is held can reach the queue after the
    // frame's poll already saw the modifier let go (xdotool, fast typists,
    // a busy frame); the modifier counts as down in either case.
    bool  HeldByEvents[cInput::KeyboardCodeCount] = {};

    // Polled by Acquire.
    cInput::KeyboardState KeyboardState;
    cInput::KeyboardState KeyboardStatePrevious;
    cInput_GamepadState   GamepadState;
    cInput_GamepadState   GamepadStatePrevious;
    float DownTimeSec[cInput::CodeCount] = {};
    double CharsStartRepeatTimeSec[cInput::KeyboardCodeCount] = {};   // next repeat; 0 when none is due
    double GamepadStartRepeatTimeSec[cInput::GamepadCodeCount] = {};

    cList<cInput_VIBRATION> Vibrations;
    float VibrationLeft = 0;
    float VibrationRight = 0;

    bool HomeButtonOnTheRight = false;
    bool HomeButtonOnTheLeft = false;
    void (*ViewportSize)(float* width, float* height) = nullptr;

    cInput::ShellHooks Shell;
};

cInput_State& cInput_GetState();

}  // namespace zozud
