#include "zozud/model/Anim.h"

#include <cmath>

#include "zozud/math/Vec3.h"
#include "zozud/render/Render.h"

namespace zozud {

float cAnim::GetDurationSec() const { return FrameRate > 0 ? (float)Frames.Count() / FrameRate : 0.0f; }

void cAnim::ToJoints(const cList<FrameJoint>& frame, cList<Joint>* out) const {
    out->SetCount(frame.Count());
    for (int i = 0; i < frame.Count(); i++) {
        (*out)[i].Position = frame[i].Position;
        (*out)[i].Orient = frame[i].Orient;
    }
}

void cAnim::SetFrame(int frame, cList<Joint>* out) const {
    if (Frames.IsEmpty()) {
        out->Clear();
        return;
    }
    if (frame < 0) frame = 0;
    if (frame >= Frames.Count()) frame = Frames.Count() - 1;
    ToJoints(Frames[frame], out);
}

void cAnim::SetFrame(float timeSec, cList<Joint>* out, bool loop) const {
    int n = Frames.Count();
    if (n == 0 || FrameRate <= 0 || !std::isfinite(timeSec)) {
        SetFrame(0, out);
        return;
    }
    float f = timeSec * FrameRate;
    if (loop) {
        f = std::fmod(f, (float)n);
        if (f < 0) f += n;
    } else if (f < 0) {
        f = 0;
    } else if (f > n - 1) {
        f = (float)(n - 1);
    }
    int a = (int)f;
    if (a >= n) a = n - 1;
    int b = a + 1 < n ? a + 1 : (loop ? 0 : a);
    LerpFrames(a, b, f - a, out);
}

void cAnim::LerpFrames(int a, int b, float t, cList<Joint>* out) const {
    cList<Joint> ja, jb;
    SetFrame(a, &ja);
    SetFrame(b, &jb);
    Blend(ja, jb, t, out);
}

void cAnim::Blend(const cList<Joint>& a, const cList<Joint>& b, float t, cList<Joint>* out) {
    int n = a.Count() < b.Count() ? a.Count() : b.Count();
    out->SetCount(n);
    for (int i = 0; i < n; i++) {
        (*out)[i].Position = cVec3::Lerp(a[i].Position, b[i].Position, t);
        (*out)[i].Orient = cQuat::Slerp(a[i].Orient, b[i].Orient, t);
    }
}

void cAnim::Smooth() {
    if (Frames.Count() < 3) return;
    cList<cList<FrameJoint>> smoothed = Frames;
    for (int f = 1; f + 1 < Frames.Count(); f++) {
        const cList<FrameJoint>& prev = Frames[f - 1];
        const cList<FrameJoint>& next = Frames[f + 1];
        cList<FrameJoint>& cur = smoothed[f];
        for (int j = 0; j < cur.Count() && j < prev.Count() && j < next.Count(); j++) {
            cur[j].Position = (prev[j].Position + Frames[f][j].Position * 2 + next[j].Position) * 0.25f;
            cQuat q = cQuat::Slerp(prev[j].Orient, next[j].Orient, 0.5f);
            cur[j].Orient = cQuat::Slerp(Frames[f][j].Orient, q, 0.5f);
            cur[j].Scale = (prev[j].Scale + Frames[f][j].Scale * 2 + next[j].Scale) * 0.25f;
        }
    }
    Frames = static_cast<cList<cList<FrameJoint>>&&>(smoothed);
    UpdateBounds();
}

bool cAnim::Crop(int start, int end) {
    if (start < 0 || end < start || end >= Frames.Count()) return false;
    cList<cList<FrameJoint>> kept;
    for (int f = start; f <= end; f++) kept.Add(Frames[f]);
    Frames = static_cast<cList<cList<FrameJoint>>&&>(kept);
    UpdateBounds();
    return true;
}

bool cAnim::ReSample(int frames) {
    if (frames < 1 || Frames.IsEmpty()) return false;
    int n = Frames.Count();
    cList<cList<FrameJoint>> out;
    out.SetCount(frames);
    for (int f = 0; f < frames; f++) {
        float src = frames > 1 ? (float)f * (n - 1) / (frames - 1) : 0.0f;
        int a = (int)src;
        if (a > n - 1) a = n - 1;
        int b = a + 1 < n ? a + 1 : a;
        float t = src - a;
        const cList<FrameJoint>& fa = Frames[a];
        const cList<FrameJoint>& fb = Frames[b];
        out[f] = fa;
        for (int j = 0; j < fa.Count() && j < fb.Count(); j++) {
            out[f][j].Position = cVec3::Lerp(fa[j].Position, fb[j].Position, t);
            out[f][j].Orient = cQuat::Slerp(fa[j].Orient, fb[j].Orient, t);
            out[f][j].Scale = cVec3::Lerp(fa[j].Scale, fb[j].Scale, t);
        }
    }
    // The same duration: the rate scales with the frame count.
    if (n > 0 && FrameRate > 0) FrameRate = (int)std::lround((double)FrameRate * frames / n);
    Frames = static_cast<cList<cList<FrameJoint>>&&>(out);
    UpdateBounds();
    return true;
}

void cAnim::UpdateBounds() {
    FrameBounds.SetCount(Frames.Count());
    Bounds.Clear();
    for (int f = 0; f < Frames.Count(); f++) {
        FrameBounds[f].Clear();
        for (const FrameJoint& j : Frames[f]) FrameBounds[f].AddPoint(j.Position);
        Bounds.AddBounds(FrameBounds[f]);
    }
}

void cAnim::Transform(const cMat4& m) {
    cQuat rotation = m.ToQuat();
    rotation.Normalize();
    for (cList<FrameJoint>& frame : Frames)
        for (FrameJoint& j : frame) {
            j.Position = cVec3::TransformCoordinate(j.Position, m);
            j.Orient = j.Orient * rotation;
            j.Orient.Normalize();
        }
    UpdateBounds();
}

void cAnim::DrawFrame(int frame, const cColor& color) const {
    cList<Joint> joints;
    SetFrame(frame, &joints);
    for (int i = 0; i < joints.Count() && i < Joints.Count(); i++) {
        int p = Joints[i].Parent;
        if (p >= 0 && p < joints.Count()) cRender::DrawLine(joints[i].Position, joints[p].Position, color);
    }
}

void cAnim::Free() {
    Joints.Free();
    Frames.Free();
    FrameBounds.Free();
    Bounds.Clear();
}

}  // namespace zozud
