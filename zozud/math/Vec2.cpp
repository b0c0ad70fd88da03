// cVec2: normalisation, segment geometry in the plane, random directions, text.
#include "zozud/math/Vec2.h"

#include <algorithm>

#include "zozud/core/Str.h"
#include "zozud/math/Math.h"

namespace zozud {

float cVec2::Normalize() { return cMath::NormalizeComponents<2>(*this); }

cVec2 cVec2::ToNormal() const {
    cVec2 r = *this;
    r.Normalize();
    return r;
}

float cVec2::DistanceToLineSegSq(const cVec2& a, const cVec2& b, float* t) const {
    cVec2 ab = b - a;
    float lenSq = ab.LengthSq();
    float s = lenSq > 0 ? (*this - a).Dot(ab) / lenSq : 0.0f;
    s = cMath::Clamp(s, 0.0f, 1.0f);
    if (t) *t = s;
    return (a + ab * s - *this).LengthSq();
}

// Collinear segments (or points): the first point of a that b covers, if any.
static bool CollinearOverlap(double ax, double ay, double rx, double ry, double bx, double by, double sx,
                             double sy, float* ta, float* tb) {
    double rr = rx * rx + ry * ry, ss = sx * sx + sy * sy;
    double qx = bx - ax, qy = by - ay;
    if (rr == 0 && ss == 0) {  // two points
        if (qx != 0 || qy != 0) return false;
        if (ta) *ta = 0;
        if (tb) *tb = 0;
        return true;
    }
    if (rr == 0) {  // a is a point on b's line: is it within b?
        double u = -(qx * sx + qy * sy) / ss;
        if (u < 0 || u > 1) return false;
        if (ta) *ta = 0;
        if (tb) *tb = float(u);
        return true;
    }
    double t0 = (qx * rx + qy * ry) / rr;
    double t1 = t0 + (sx * rx + sy * ry) / rr;
    double lo = std::max(0.0, std::min(t0, t1)), hi = std::min(1.0, std::max(t0, t1));
    if (lo > hi) return false;
    if (ta) *ta = float(lo);
    if (tb) *tb = ss > 0 ? float(((ax + rx * lo - bx) * sx + (ay + ry * lo - by) * sy) / ss) : 0.0f;
    return true;
}

bool cVec2::SegIntersection(const cVec2& a0, const cVec2& a1, const cVec2& b0, const cVec2& b1, float* ta,
                            float* tb) {
    // In double: the cross products of nearly parallel segments cancel badly in float.
    double rx = double(a1.x) - a0.x, ry = double(a1.y) - a0.y;
    double sx = double(b1.x) - b0.x, sy = double(b1.y) - b0.y;
    double qx = double(b0.x) - a0.x, qy = double(b0.y) - a0.y;
    double denom = rx * sy - ry * sx;
    if (denom == 0) {
        if (qx * ry - qy * rx != 0 || qx * sy - qy * sx != 0) return false;  // parallel, apart
        return CollinearOverlap(a0.x, a0.y, rx, ry, b0.x, b0.y, sx, sy, ta, tb);
    }
    double u = (qx * sy - qy * sx) / denom;
    double v = (qx * ry - qy * rx) / denom;
    if (u < 0 || u > 1 || v < 0 || v > 1) return false;
    if (ta) *ta = float(u);
    if (tb) *tb = float(v);
    return true;
}

cVec2 cVec2::RandRange1() {
    float a = cMath::RandRange1();
    return cVec2(a, cMath::RandRange1());
}

cVec2 cVec2::RandNormal() {
    // Rejection keeps the direction uniform; the lower bound keeps it away from 0.
    for (;;) {
        cVec2 v = RandRange1();
        float lenSq = v.LengthSq();
        if (lenSq >= 0.001f && lenSq <= 1.0f) return v.ToNormal();
    }
}

cStr cVec2::ToString(int precision) const { return cStr::ToString(&x, 2, precision, " "); }

cStr& operator<<(cStr& s, const cVec2& v) {
    s.Append(v.ToString(2));
    return s;
}

}  // namespace zozud
