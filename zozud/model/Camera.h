// cCamera: camera paths. A list of tracks, each a list of keyed frames
// (time, position, orientation, field of view); a viewer steps through the
// tracks one after another and takes the interpolated state.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Quat.h"

namespace zozud {

class cCamera {
public:
    struct Frame {
        float TimeSec = 0;
        cVec3 Position = cVec3(0, 0, 0);
        cQuat Orient = cQuat(0, 0, 0, 1);
        float FovY = 60;  // degrees
    };
    struct Camera {
        cStr         Name;
        cList<Frame> Frames;  // by time
    };
    // Where a viewer stands on the paths.
    struct State {
        int   Track = 0;
        float TimeSec = 0;  // within the track
        bool  Finished = false;
        cVec3 Position = cVec3(0, 0, 0);
        cQuat Orient = cQuat(0, 0, 0, 1);
        float FovY = 60;
    };

    int           Flags = 0;  // kept with the file (bit 0: the tracks loop)
    cList<Camera> Tracks;

    float GetStartTimeSec(int track) const;  // 0 for a track without frames
    float GetEndTimeSec(int track) const;
    float CalcDurationSec() const;           // the tracks one after another
    // Advances the state by dt seconds, passing on to the next track at the end
    // of one (back to the first when looping), and fills its viewer values.
    void  Step(State* state, float dt) const;
    void  FillViewerState(State* state) const;  // the values at the state's track and time
    void  Transform(const cMat4& m);
    void  Free() { Tracks.Free(); Flags = 0; }
};

}  // namespace zozud
