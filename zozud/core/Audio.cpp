#include "zozud/core/Audio.h"

namespace zozud {

namespace {

cAudio::Stub* s_Device = nullptr;

}  // namespace

void cAudio::SetDevice(Stub* device) { s_Device = device; }
cAudio::Stub* cAudio::GetDevice() { return s_Device; }

void cAudio::SetPause(bool paused) {
    if (s_Device) s_Device->SetPause(paused);
}

}  // namespace zozud
