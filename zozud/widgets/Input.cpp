#include "zozud/widgets/Input.h"

namespace zozud {

namespace {

float s_VibrationLeft = 0.0f;
float s_VibrationRight = 0.0f;

float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

}  // namespace

void cInput::SetVibration(float left, float right) {
    s_VibrationLeft = Clamp01(left);
    s_VibrationRight = Clamp01(right);
}

void cInput::StopVibrations() { SetVibration(0.0f, 0.0f); }
float cInput::GetVibrationLeft() { return s_VibrationLeft; }
float cInput::GetVibrationRight() { return s_VibrationRight; }

void cInput::FreeEvents() {}

}  // namespace zozud
