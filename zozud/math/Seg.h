// cSeg: a segment or ray (start, end, radius) with its cached unit direction,
// length and inverse length. Projections clamp by ConsiderAs flags: a line
// uses none, a ray clamps at the start, a segment at both ends.
#pragma once

#include "zozud/math/Vec3.h"

namespace zozud {

class cSeg {
public:
    struct ConsiderAs {
        enum Enum { Line = 0, ClampStart = 16, ClampEnd = 32, Ray = 16, Segment = 48 };
    };

    cVec3 start;
    cVec3 end;
    float radius;      // thickness given at construction
    cVec3 direction;   // unit; zero for a zero segment
    float length;
    float invLength;   // 1 / length, or 1 below 1e-10

    cSeg() : start(0, 0, 0), end(0, 0, 0), radius(0), direction(0, 0, 0), length(0), invLength(1) {}
    cSeg(const cVec3& a, const cVec3& b, float radius_ = 0.001f) { SetFromEnds(a, b, radius_); }

    void SetFromEnds(const cVec3& a, const cVec3& b, float radius_ = 0.001f);
    void SetFromRay(const cVec3& origin, const cVec3& dir, float radius_ = 0.001f);  // end = origin + dir
    bool IsZero() const { return length < 1e-10f; }
    cVec3 PointAt(float t) const { return start + direction * (t * length); }  // t in units of length

    // t = ((p - start) . direction) / length (unclamped) and the projected point, clamped by consider.
    float ProjectPoint(int consider, const cVec3& p, cVec3* projected) const;
    static float Distance(int consider, const cSeg& seg, const cVec3& p);
    // Closest points of a and b (each clamped by consider); returns their distance.
    // ta, tb (optional) receive the parameters in units of each length.
    static float ClosestPoints(int consider, const cSeg& a, const cSeg& b, cVec3* pa, cVec3* pb,
                               float* ta = nullptr, float* tb = nullptr);
    static float Distance(int consider, const cSeg& a, const cSeg& b);
};

}  // namespace zozud
