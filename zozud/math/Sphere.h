// cSphere: centre and radius; ray tests, distances to planes and fitting
// spheres to points (the smallest sphere around a point set).
#pragma once

#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"

namespace zozud {

class cPlane;

class cSphere {
public:
    cVec3 center;
    float radius;

    cSphere() = default;
    constexpr cSphere(const cVec3& c, float r) : center(c), radius(r) {}

    bool  ContainsPoint(const cVec3& p) const { return (p - center).LengthSq() <= radius * radius; }
    // s = normal . center + d: s - radius above, s + radius below, 0 when the plane cuts the sphere.
    float SignedDistanceToPlane(const cPlane& plane) const;
    // Both distances along dir (units of |dir|), t0 <= t1; false when the line misses
    // or the sphere lies wholly behind the origin.
    bool  RayIntersection(const cVec3& origin, const cVec3& dir, float* t0, float* t1) const;
    // The nearest sphere ahead of the origin among count spheres stride bytes apart
    // (0: packed); index, point and normal of the hit, each optional.
    static bool RayIntersection(const cSphere* spheres, int count, int stride, const cVec3& origin,
                                const cVec3& dir, int* index, cVec3* point, cVec3* normal);
    bool  LineIntersection(const cVec3& a, const cVec3& b) const;  // segment a-b touches the sphere

    // ---- Fitting ----
    bool FromPoints(const cVec3& a, const cVec3& b, const cVec3& c, const cVec3& d);  // through four; false if coplanar
    void FromPoints(const cVec2* points, int n);  // smallest enclosing (z = 0); radius -1 for n < 1
    void FromPoints(const cVec3* points, int n);  // smallest enclosing; radius -1 for n < 1
};

static_assert(sizeof(cSphere) == 16, "cSphere is four packed floats");

}  // namespace zozud
