// cVec3: array transforms by a cMat4, rotation about a pivot, ray/triangle tests.
#include <cmath>

#include "zozud/math/Mat4.h"
#include "zozud/math/Rotation.h"
#include "zozud/math/Vec3.h"

namespace zozud {

// ---- Transforms ----

// Written as a mix of the matrix rows, x * row 0 + y * row 1 + z * row 2 +
// row 3, which the compiler turns into four-wide vector operations.
static inline cVec3 TransformPoint(const cVec3& p, const float* m) {
    float r[4];
    for (int i = 0; i < 4; i++) r[i] = p.x * m[i] + p.y * m[4 + i] + p.z * m[8 + i] + m[12 + i];
    if (!(r[3] == 1.0f)) {  // also divides by a NaN w, so that the NaN shows
        for (int i = 0; i < 3; i++) r[i] /= r[3];
    }
    return cVec3(r[0], r[1], r[2]);
}

cVec3 cVec3::TransformCoordinate(const cVec3& p, const cMat4& t) { return TransformPoint(p, t.m); }

// The matrix is copied first: the points could alias it as far as the
// compiler knows, which would reload all sixteen elements for every point.
void cVec3::TransformCoordinate(cVec3* points, int count, const cMat4& m) {
    const cMat4 local = m;
    for (int i = 0; i < count; i++) points[i] = TransformPoint(points[i], local.m);
}

static inline cVec3 TransformDirection(const cVec3& n, const float* m) {
    return cVec3(n.x * m[0] + n.y * m[4] + n.z * m[8], n.x * m[1] + n.y * m[5] + n.z * m[9],
                 n.x * m[2] + n.y * m[6] + n.z * m[10]);
}

cVec3 cVec3::TransformNormal(const cVec3& n, const cMat4& t) { return TransformDirection(n, t.m); }

void cVec3::TransformNormal(cVec3* normals, int count, const cMat4& m) {
    const cMat4 local = m;
    for (int i = 0; i < count; i++) normals[i] = TransformDirection(normals[i], local.m);
}

cVec3 cVec3::Rotate(const cVec3& v, const cRotation& rotation) {
    return (v - rotation.Center) * rotation.ToMat3() + rotation.Center;
}

// ---- Triangles ----

static void StoreHit(float uu, float vv, float tt, float det, float* u, float* v, float* t) {
    if (u) *u = uu / det;
    if (v) *v = vv / det;
    if (t) *t = tt / det;
}

bool cVec3::RayTri(const cVec3& origin, const cVec3& dir, const cVec3& p0, const cVec3& p1, const cVec3& p2,
                   float* u, float* v, float* t, bool cullBack) {
    const float eps = 1e-6f;
    cVec3 e1 = p1 - p0, e2 = p2 - p0;
    cVec3 pvec = dir.Cross(e2);
    float det = e1.Dot(pvec);
    if (det > eps) {
        // Barycentric tests before the division: no division for a miss.
        cVec3 tvec = origin - p0;
        float uu = tvec.Dot(pvec);
        if (uu < 0 || uu > det) return false;
        cVec3 qvec = tvec.Cross(e1);
        float vv = dir.Dot(qvec);
        if (vv < 0 || uu + vv > det) return false;
        StoreHit(uu, vv, e2.Dot(qvec), det, u, v, t);
        return true;
    }
    if (cullBack || det >= -eps) return false;  // back face, or ray in the triangle's plane
    cVec3 tvec = origin - p0;
    float uu = tvec.Dot(pvec);
    if (uu > 0 || uu < det) return false;
    cVec3 qvec = tvec.Cross(e1);
    float vv = dir.Dot(qvec);
    if (vv > 0 || uu + vv < det) return false;
    StoreHit(uu, vv, e2.Dot(qvec), det, u, v, t);
    return true;
}

bool cVec3::PointInTriangle(const cVec3& p, const cVec3& a, const cVec3& b, const cVec3& c) {
    cVec3 n = (b - a).Cross(c - a);
    if (n.LengthSq() == 0) return false;
    // p is inside when it lies on the inner side of each edge (seen along the normal).
    if ((b - a).Cross(p - a).Dot(n) < 0) return false;
    if ((c - b).Cross(p - b).Dot(n) < 0) return false;
    return (a - c).Cross(p - c).Dot(n) >= 0;
}

}  // namespace zozud
