// cAudio: the static sound facade. Every call is forwarded to an optional
// audio device (a cAudio::Stub); with no device, which is how this program
// runs, every call does nothing.
#pragma once

namespace zozud {

class cAudio {
public:
    // Base of an audio device; each operation does nothing unless overridden.
    class Stub {
    public:
        virtual ~Stub() {}
        virtual void SetPause(bool paused) { (void)paused; }
    };

    static void  SetDevice(Stub* device);  // not owned; null removes the device
    static Stub* GetDevice();
    static void  SetPause(bool paused);    // pauses or resumes every playing sound
};

}  // namespace zozud
