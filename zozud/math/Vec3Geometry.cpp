// cVec3: array transforms by a cMat4, rotation about a pivot, ray/triangle tests.
#include <cmath>

#include "zozud/math/Float4.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Rotation.h"
#include "zozud/math/Vec3.h"

namespace zozud {

// ---- Transforms ----

// x * row 0 + y * row 1 + z * row 2 + row 3, four-wide, then divided by w
// unless w is exactly 1 (a division by 1 changes no bit, so it is done
// always and the loop has no branch). A NaN w divides, so that the NaN shows.
static inline cVec3 TransformPoint(const cVec3& p, const cFloat4 rows[4]) {
    const cFloat4 r = SplatFloat4(p.x) * rows[0] + SplatFloat4(p.y) * rows[1] + SplatFloat4(p.z) * rows[2] + rows[3];
    const cFloat4 w = SplatFloat4(r[3]);
    const cFloat4 q = r / (w == SplatFloat4(1.0f) ? SplatFloat4(1.0f) : w);
    return cVec3(q[0], q[1], q[2]);
}

static inline void LoadRows(const cMat4& m, cFloat4 rows[4]) {
    for (int i = 0; i < 4; i++) rows[i] = LoadFloat4(m.m + i * 4);
}

cVec3 cVec3::TransformCoordinate(const cVec3& p, const cMat4& t) {
    cFloat4 rows[4];
    LoadRows(t, rows);
    return TransformPoint(p, rows);
}

// The rows are loaded once into registers: read from memory, the points could
// alias the matrix as far as the compiler knows, and every point would reload it.
void cVec3::TransformCoordinate(cVec3* points, int count, const cMat4& m) {
    cFloat4 rows[4];
    LoadRows(m, rows);
    for (int i = 0; i < count; i++) points[i] = TransformPoint(points[i], rows);
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
