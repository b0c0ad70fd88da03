// cAnim: a skeletal animation. The joint hierarchy (name and parent per
// joint, parents before children), frames holding every joint's model-space
// position and orientation, the frame rate, and the box around the joints of
// every frame. Posing a frame or a time gives cAnim::Joint values that a
// skinned cModel takes.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/math/Bounds.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Quat.h"
#include "zozud/image/Color.h"

namespace zozud {

class cAnim {
public:
    struct Hierarchy {
        cStr Name;
        int  Parent = -1;  // negative for a root
    };
    // One joint's value in one frame. Scale is the joint's scaling (1, 1, 1
    // when the source has none).
    struct FrameJoint {
        cVec3 Position = cVec3(0, 0, 0);
        cQuat Orient = cQuat(0, 0, 0, 1);
        cVec3 Scale = cVec3(1, 1, 1);
    };
    // A posed joint, model space.
    struct Joint {
        cVec3 Position = cVec3(0, 0, 0);
        cQuat Orient = cQuat(0, 0, 0, 1);
    };

    cList<Hierarchy>         Joints;
    cList<cList<FrameJoint>> Frames;       // Frames[f][joint]
    int                      FrameRate = 24;
    cList<cBounds>           FrameBounds;  // one per frame, after UpdateBounds
    cBounds                  Bounds;       // around every frame

    int   GetFrameCount() const { return Frames.Count(); }
    int   GetJointCount() const { return Joints.Count(); }
    float GetDurationSec() const;  // frames / rate, 0 without a rate

    // The joints of a frame (clamped to the frames there are).
    void SetFrame(int frame, cList<Joint>* out) const;
    // The joints at a time, interpolated between the two frames around it;
    // with loop the time wraps around the duration and the last frame leads
    // back to the first.
    void SetFrame(float timeSec, cList<Joint>* out, bool loop = true) const;
    void LerpFrames(int a, int b, float t, cList<Joint>* out) const;
    static void Blend(const cList<Joint>& a, const cList<Joint>& b, float t, cList<Joint>* out);
    void ToJoints(const cList<FrameJoint>& frame, cList<Joint>* out) const;

    void Smooth();                    // every inner frame averaged with its neighbours
    bool Crop(int start, int end);    // keeps frames start..end inclusive
    bool ReSample(int frames);        // the same duration with this many frames
    void UpdateBounds();
    void Transform(const cMat4& m);   // positions and orientations of every frame
    void DrawFrame(int frame, const cColor& color) const;
    void Free();
};

}  // namespace zozud
