// cPlane: normal and d; the signed distance of p is normal . p + d, positive
// on the side the normal points to.
#pragma once

#include "zozud/math/Vec3.h"
#include "zozud/math/Vec4.h"

namespace zozud {

class cQuat;
class cMat4;
class cBounds;

class cPlane {
public:
    cVec3 normal;
    float d;

    cPlane() = default;
    constexpr cPlane(const cVec3& n, float d_) : normal(n), d(d_) {}
    constexpr cPlane(float a, float b, float c, float d_) : normal(a, b, c), d(d_) {}

    // ---- Construction ----
    bool FromPoints(const cVec3& a, const cVec3& b, const cVec3& c);  // counter-clockwise a-b-c faces +normal; false if collinear
    void FromPointNormal(const cVec3& p, const cVec3& n) { normal = n; d = -n.Dot(p); }
    float Normalize();  // unit normal, d scaled alike; a zero normal stays as it is
    cVec4 ToVec4() const { return cVec4(normal, d); }

    // ---- Queries ----
    float Distance(const cVec3& p) const { return normal.Dot(p) + d; }
    cVec3 Project(const cVec3& p) const;        // the nearest point of the plane (unit normal)
    bool  RayIntersection(const cVec3& origin, const cVec3& dir, float* t) const;  // false when parallel
    // The box transformed by m lies entirely on the negative side.
    bool  BelowPlane(const cBounds& bounds, const cMat4& m) const;
    // The point where segment a-b crosses the plane (a when the segment is parallel to it).
    static cVec3 PlaneHit(const cVec3& a, const cVec3& b, const cPlane& plane);

    // ---- Mirroring (unit normal) ----
    cVec3 MirrorPoint(const cVec3& p) const;
    cVec3 MirrorVector(const cVec3& v) const;
    // The orientation an object takes when its mirror image is turned back into
    // a proper rotation: H * R * H for the reflection H.
    cQuat MirrorOrient(const cQuat& q) const;
};

static_assert(sizeof(cPlane) == 16, "cPlane is four packed floats");

}  // namespace zozud
