// cPlane: construction from points, projections, ray hits, mirroring.
#include "zozud/math/Plane.h"

#include "zozud/math/Bounds.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Quat.h"

namespace zozud {

bool cPlane::FromPoints(const cVec3& a, const cVec3& b, const cVec3& c) {
    cVec3 n = (b - a).Cross(c - a);
    if (n.Normalize() == 0) return false;
    normal = n;
    d = -n.Dot(a);
    return true;
}

float cPlane::Normalize() {
    float len = normal.Length();
    if (len > 0) {
        normal /= len;
        d /= len;
    }
    return len;
}

cVec3 cPlane::Project(const cVec3& p) const { return p - normal * Distance(p); }

bool cPlane::RayIntersection(const cVec3& origin, const cVec3& dir, float* t) const {
    float denom = normal.Dot(dir);
    if (denom == 0) return false;
    if (t) *t = -Distance(origin) / denom;
    return true;
}

bool cPlane::BelowPlane(const cBounds& bounds, const cMat4& m) const {
    if (bounds.IsEmpty()) return false;
    cVec3 corners[8];
    bounds.ToPoints(corners);
    for (const cVec3& c : corners)
        if (!(Distance(cVec3::TransformCoordinate(c, m)) < 0)) return false;
    return true;
}

cVec3 cPlane::PlaneHit(const cVec3& a, const cVec3& b, const cPlane& plane) {
    float da = plane.Distance(a), db = plane.Distance(b);
    float denom = da - db;
    if (denom == 0) return a;
    return a + (b - a) * (da / denom);
}

cVec3 cPlane::MirrorPoint(const cVec3& p) const { return p - normal * (2.0f * Distance(p)); }

cVec3 cPlane::MirrorVector(const cVec3& v) const { return v - normal * (2.0f * normal.Dot(v)); }

// H R H is the rotation about the mirrored axis by the opposite angle: for
// q = (sin(a/2) u, cos(a/2)) that is (-sin(a/2) H u, cos(a/2)).
cQuat cPlane::MirrorOrient(const cQuat& q) const { return cQuat(-MirrorVector(q.ToVec3()), q.w); }

}  // namespace zozud
