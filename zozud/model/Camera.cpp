#include "zozud/model/Camera.h"

#include <cmath>

#include "zozud/math/Vec3.h"

namespace zozud {

float cCamera::GetStartTimeSec(int track) const {
    if (track < 0 || track >= Tracks.Count() || Tracks[track].Frames.IsEmpty()) return 0;
    return Tracks[track].Frames[0].TimeSec;
}

float cCamera::GetEndTimeSec(int track) const {
    if (track < 0 || track >= Tracks.Count() || Tracks[track].Frames.IsEmpty()) return 0;
    return Tracks[track].Frames.GetLast().TimeSec;
}

float cCamera::CalcDurationSec() const {
    float total = 0;
    for (int i = 0; i < Tracks.Count(); i++) total += GetEndTimeSec(i) - GetStartTimeSec(i);
    return total;
}

void cCamera::FillViewerState(State* state) const {
    if (state->Track < 0 || state->Track >= Tracks.Count()) return;
    const cList<Frame>& frames = Tracks[state->Track].Frames;
    if (frames.IsEmpty()) return;
    float t = state->TimeSec;
    int b = 0;
    while (b < frames.Count() && frames[b].TimeSec <= t) b++;
    if (b == 0 || b == frames.Count()) {
        const Frame& f = frames[b == 0 ? 0 : frames.Count() - 1];
        state->Position = f.Position;
        state->Orient = f.Orient;
        state->FovY = f.FovY;
        return;
    }
    const Frame& fa = frames[b - 1];
    const Frame& fb = frames[b];
    float span = fb.TimeSec - fa.TimeSec;
    float k = span > 0 ? (t - fa.TimeSec) / span : 0.0f;
    state->Position = cVec3::Lerp(fa.Position, fb.Position, k);
    state->Orient = cQuat::Slerp(fa.Orient, fb.Orient, k);
    state->FovY = fa.FovY + (fb.FovY - fa.FovY) * k;
}

void cCamera::Step(State* state, float dt) const {
    if (Tracks.IsEmpty() || state->Finished || !std::isfinite(dt)) return;
    if (state->Track < 0 || state->Track >= Tracks.Count()) {
        state->Track = 0;
        state->TimeSec = GetStartTimeSec(0);
    }
    state->TimeSec += dt;
    // Past the end of a track: the rest of the step continues on the next one.
    for (int guard = 0; guard < Tracks.Count() * 4 + 4; guard++) {
        float end = GetEndTimeSec(state->Track);
        if (state->TimeSec <= end) break;
        float over = state->TimeSec - end;
        if (state->Track + 1 < Tracks.Count()) {
            state->Track++;
        } else if (Flags & 1) {
            state->Track = 0;
        } else {
            state->TimeSec = end;
            state->Finished = true;
            break;
        }
        state->TimeSec = GetStartTimeSec(state->Track) + over;
        if (CalcDurationSec() <= 0) break;
    }
    FillViewerState(state);
}

void cCamera::Transform(const cMat4& m) {
    cQuat rotation = m.ToQuat();
    rotation.Normalize();
    for (Camera& c : Tracks)
        for (Frame& f : c.Frames) {
            f.Position = cVec3::TransformCoordinate(f.Position, m);
            f.Orient = f.Orient * rotation;
            f.Orient.Normalize();
        }
}

}  // namespace zozud
