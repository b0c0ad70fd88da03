// cInput: the framework's input state. So far it holds only the vibration
// strength of the game pad motors, which pauses and the time base stop.
#pragma once

namespace zozud {

class cInput {
public:
    // ---- Vibration (strengths 0..1, clamped) ----
    static void  SetVibration(float left, float right);
    static void  StopVibrations();  // both motors off
    static float GetVibrationLeft();
    static float GetVibrationRight();
};

}  // namespace zozud
