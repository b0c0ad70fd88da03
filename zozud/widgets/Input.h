// cInput: the framework's input state. So far it holds the vibration
// strength of the game pad motors, which pauses and the time base stop; the
// event queue that modal dialogs empty arrives with the input layer.
#pragma once

namespace zozud {

class cInput {
public:
    // ---- Vibration (strengths 0..1, clamped) ----
    static void  SetVibration(float left, float right);
    static void  StopVibrations();  // both motors off
    static float GetVibrationLeft();
    static float GetVibrationRight();

    // ---- Event queue ----
    static void FreeEvents();  // drops every queued event (none are queued yet)
};

}  // namespace zozud
