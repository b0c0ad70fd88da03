// cSphere: plane distance, ray and segment tests, the sphere through four
// points and the smallest sphere (or circle) around a point set.
#include "zozud/math/Sphere.h"

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "zozud/math/Plane.h"

namespace zozud {

float cSphere::SignedDistanceToPlane(const cPlane& plane) const {
    float s = plane.Distance(center);
    if (s > radius) return s - radius;
    if (s < -radius) return s + radius;
    return 0.0f;
}

// |o + t d - c|^2 = r^2 solved with the cancellation-free form of the roots.
bool cSphere::RayIntersection(const cVec3& origin, const cVec3& dir, float* t0, float* t1) const {
    double oc[3] = {double(origin.x) - center.x, double(origin.y) - center.y, double(origin.z) - center.z};
    double a = double(dir.x) * dir.x + double(dir.y) * dir.y + double(dir.z) * dir.z;
    double hb = oc[0] * dir.x + oc[1] * dir.y + oc[2] * dir.z;  // half of b
    double c = oc[0] * oc[0] + oc[1] * oc[1] + oc[2] * oc[2] - double(radius) * radius;
    double disc = hb * hb - a * c;
    if (a == 0 || disc < 0) return false;
    double q = -(hb + std::copysign(std::sqrt(disc), hb));
    double r0 = q / a, r1 = q != 0 ? c / q : r0;
    if (r0 > r1) std::swap(r0, r1);
    if (r1 < 0) return false;  // wholly behind the origin
    if (t0) *t0 = float(r0);
    if (t1) *t1 = float(r1);
    return true;
}

bool cSphere::RayIntersection(const cSphere* spheres, int count, int stride, const cVec3& origin,
                              const cVec3& dir, int* index, cVec3* point, cVec3* normal) {
    if (!spheres || count < 1) return false;
    if (stride <= 0) stride = sizeof(cSphere);
    const char* base = reinterpret_cast<const char*>(spheres);
    int best = -1;
    float bestT = 0;
    for (int i = 0; i < count; i++) {
        const cSphere* s = reinterpret_cast<const cSphere*>(base + (size_t)i * stride);
        float t0, t1;
        if (!s->RayIntersection(origin, dir, &t0, &t1)) continue;
        float t = t0 >= 0 ? t0 : t1;  // from inside a sphere, the way out
        if (best < 0 || t < bestT) {
            best = i;
            bestT = t;
        }
    }
    if (best < 0) return false;
    const cSphere* s = reinterpret_cast<const cSphere*>(base + (size_t)best * stride);
    cVec3 p = origin + dir * bestT;
    if (index) *index = best;
    if (point) *point = p;
    if (normal) *normal = (p - s->center).ToNormal();
    return true;
}

bool cSphere::LineIntersection(const cVec3& a, const cVec3& b) const {
    cVec3 ab = b - a;
    float lenSq = ab.LengthSq();
    float t = lenSq > 0 ? (center - a).Dot(ab) / lenSq : 0.0f;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return (a + ab * t - center).LengthSq() <= radius * radius;
}

// ---- Fitting, in double ----

namespace {

struct cBall {
    double c[3];
    double r2;  // squared radius; -1 for none
};

double Dist2(const double* a, const double* b) {
    double x = a[0] - b[0], y = a[1] - b[1], z = a[2] - b[2];
    return x * x + y * y + z * z;
}

double Det3(const double m[3][3]) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

// Solves m x = v by Cramer's rule; false when m is singular for its scale.
bool Solve3(const double m[3][3], const double v[3], double x[3]) {
    double det = Det3(m);
    double scale = 0;
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++) scale = std::fmax(scale, std::fabs(m[i][j]));
    if (scale == 0 || std::fabs(det) <= 1e-12 * scale * scale * scale) return false;
    for (int k = 0; k < 3; k++) {
        double a[3][3];
        for (int i = 0; i < 3; i++)
            for (int j = 0; j < 3; j++) a[i][j] = j == k ? v[i] : m[i][j];
        x[k] = Det3(a) / det;
    }
    return true;
}

cBall BallOf2(const double* a, const double* b) {
    cBall s;
    for (int i = 0; i < 3; i++) s.c[i] = (a[i] + b[i]) * 0.5;
    s.r2 = Dist2(s.c, a);
    return s;
}

// The circumscribed circle of a triangle (in its plane); for collinear points
// the circle over the two farthest apart.
cBall BallOf3(const double* a, const double* b, const double* c) {
    double u[3], v[3], n[3];
    for (int i = 0; i < 3; i++) {
        u[i] = b[i] - a[i];
        v[i] = c[i] - a[i];
    }
    n[0] = u[1] * v[2] - u[2] * v[1];
    n[1] = u[2] * v[0] - u[0] * v[2];
    n[2] = u[0] * v[1] - u[1] * v[0];
    // Centre a + x: x . u = |u|^2 / 2, x . v = |v|^2 / 2, x . n = 0.
    double m[3][3] = {{u[0], u[1], u[2]}, {v[0], v[1], v[2]}, {n[0], n[1], n[2]}};
    double rhs[3] = {0.5 * (u[0] * u[0] + u[1] * u[1] + u[2] * u[2]), 0.5 * (v[0] * v[0] + v[1] * v[1] + v[2] * v[2]), 0};
    double x[3];
    if (!Solve3(m, rhs, x)) {
        double ab = Dist2(a, b), ac = Dist2(a, c), bc = Dist2(b, c);
        if (ab >= ac && ab >= bc) return BallOf2(a, b);
        return ac >= bc ? BallOf2(a, c) : BallOf2(b, c);
    }
    cBall s;
    for (int i = 0; i < 3; i++) s.c[i] = a[i] + x[i];
    s.r2 = Dist2(s.c, a);
    return s;
}

// The circumscribed sphere of a tetrahedron; for a flat one the smallest of
// the circles through three of its points that holds the fourth.
cBall BallOf4(const double* a, const double* b, const double* c, const double* d) {
    double m[3][3], rhs[3];
    const double* q[3] = {b, c, d};
    for (int k = 0; k < 3; k++) {
        double len2 = 0;
        for (int i = 0; i < 3; i++) {
            m[k][i] = q[k][i] - a[i];
            len2 += m[k][i] * m[k][i];
        }
        rhs[k] = 0.5 * len2;
    }
    double x[3];
    cBall s;
    if (Solve3(m, rhs, x)) {
        for (int i = 0; i < 3; i++) s.c[i] = a[i] + x[i];
        s.r2 = Dist2(s.c, a);
        return s;
    }
    const double* p[4] = {a, b, c, d};
    s.r2 = -1;
    for (int skip = 0; skip < 4; skip++) {
        const double* t[3];
        for (int i = 0, k = 0; i < 4; i++)
            if (i != skip) t[k++] = p[i];
        cBall cand = BallOf3(t[0], t[1], t[2]);
        if (Dist2(cand.c, p[skip]) <= cand.r2 * (1 + 1e-9) && (s.r2 < 0 || cand.r2 < s.r2)) s = cand;
    }
    return s.r2 >= 0 ? s : BallOf3(a, b, c);
}

bool Outside(const cBall& s, const double* p) { return Dist2(s.c, p) > s.r2 * (1 + 1e-9) + 1e-18; }

// Welzl's algorithm as nested loops over a shuffled copy: expected linear time,
// no recursion depth that grows with the number of points.
cBall SmallestBall(std::vector<double>& pts, int n) {
    uint32_t seed = 0x9E3779B9u;  // own generator: leaves cMath's sequence alone
    for (int i = n - 1; i > 0; i--) {
        seed = seed * 1664525u + 1013904223u;
        int j = int((uint64_t(seed) * uint64_t(i + 1)) >> 32);
        for (int k = 0; k < 3; k++) std::swap(pts[i * 3 + k], pts[j * 3 + k]);
    }
    const double* p = pts.data();
    cBall s{{p[0], p[1], p[2]}, 0};
    for (int i = 1; i < n; i++) {
        if (!Outside(s, p + i * 3)) continue;
        s = cBall{{p[i * 3], p[i * 3 + 1], p[i * 3 + 2]}, 0};
        for (int j = 0; j < i; j++) {
            if (!Outside(s, p + j * 3)) continue;
            s = BallOf2(p + i * 3, p + j * 3);
            for (int k = 0; k < j; k++) {
                if (!Outside(s, p + k * 3)) continue;
                s = BallOf3(p + i * 3, p + j * 3, p + k * 3);
                for (int l = 0; l < k; l++)
                    if (Outside(s, p + l * 3)) s = BallOf4(p + i * 3, p + j * 3, p + k * 3, p + l * 3);
            }
        }
    }
    return s;
}

// The centre as float, and the radius measured from that rounded centre and
// rounded up, so that every point is inside the float sphere.
void SetFromBall(cSphere* out, const cBall& s, const std::vector<double>& pts, int n) {
    out->center = cVec3(float(s.c[0]), float(s.c[1]), float(s.c[2]));
    double c[3] = {out->center.x, out->center.y, out->center.z}, r2 = 0;
    for (int i = 0; i < n; i++) r2 = std::fmax(r2, Dist2(c, &pts[(size_t)i * 3]));
    float r = float(std::sqrt(r2));
    out->radius = double(r) * r < r2 ? std::nextafter(r, HUGE_VALF) : r;
}

}  // namespace

bool cSphere::FromPoints(const cVec3& a, const cVec3& b, const cVec3& c, const cVec3& d) {
    double p[4][3] = {{a.x, a.y, a.z}, {b.x, b.y, b.z}, {c.x, c.y, c.z}, {d.x, d.y, d.z}};
    double m[3][3], rhs[3], x[3];
    for (int k = 0; k < 3; k++) {
        double len2 = 0;
        for (int i = 0; i < 3; i++) {
            m[k][i] = p[k + 1][i] - p[0][i];
            len2 += m[k][i] * m[k][i];
        }
        rhs[k] = 0.5 * len2;
    }
    if (!Solve3(m, rhs, x)) return false;
    cBall s;
    for (int i = 0; i < 3; i++) s.c[i] = p[0][i] + x[i];
    s.r2 = Dist2(s.c, p[0]);
    center = cVec3(float(s.c[0]), float(s.c[1]), float(s.c[2]));
    radius = float(std::sqrt(s.r2));
    return true;
}

void cSphere::FromPoints(const cVec3* points, int n) {
    if (!points || n < 1) {
        *this = cSphere(cVec3(0, 0, 0), -1.0f);
        return;
    }
    std::vector<double> pts((size_t)n * 3);
    for (int i = 0; i < n; i++)
        for (int k = 0; k < 3; k++) pts[(size_t)i * 3 + k] = points[i][k];
    SetFromBall(this, SmallestBall(pts, n), pts, n);
}

// In the plane every fourth point is coplanar, so the search ends with circles.
void cSphere::FromPoints(const cVec2* points, int n) {
    if (!points || n < 1) {
        *this = cSphere(cVec3(0, 0, 0), -1.0f);
        return;
    }
    std::vector<double> pts((size_t)n * 3);
    for (int i = 0; i < n; i++) {
        pts[(size_t)i * 3] = points[i].x;
        pts[(size_t)i * 3 + 1] = points[i].y;
        pts[(size_t)i * 3 + 2] = 0;
    }
    SetFromBall(this, SmallestBall(pts, n), pts, n);
}

}  // namespace zozud
