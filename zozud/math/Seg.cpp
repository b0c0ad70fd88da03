// cSeg: set-up, projection of points and closest points of two segments,
// each end clamped or not by the ConsiderAs flags.
#include "zozud/math/Seg.h"

#include <cmath>

namespace zozud {

static const float kZeroLength = 1e-10f;

static void SetCache(cSeg* s, const cVec3& d) {
    s->length = d.Length();
    if (s->length >= kZeroLength) {
        s->direction = d / s->length;
        s->invLength = 1.0f / s->length;
    } else {
        s->direction = cVec3(0, 0, 0);
        s->invLength = 1.0f;
    }
}

void cSeg::SetFromEnds(const cVec3& a, const cVec3& b, float radius_) {
    start = a;
    end = b;
    radius = radius_;
    SetCache(this, b - a);
}

void cSeg::SetFromRay(const cVec3& origin, const cVec3& dir, float radius_) {
    start = origin;
    end = origin + dir;
    radius = radius_;
    SetCache(this, dir);
}

float cSeg::ProjectPoint(int consider, const cVec3& p, cVec3* projected) const {
    cVec3 q;
    float t = 0;
    if (IsZero()) {
        q = start;
    } else {
        t = (p - start).Dot(direction) * invLength;
        if ((consider & ConsiderAs::ClampStart) && t <= 0) q = start;
        else if ((consider & ConsiderAs::ClampEnd) && t >= 1) q = end;
        else q = start + direction * (t * length);
    }
    if (projected) *projected = q;
    return t;
}

float cSeg::Distance(int consider, const cSeg& seg, const cVec3& p) {
    cVec3 q;
    seg.ProjectPoint(consider, p, &q);
    return (p - q).Length();
}

// ---- Segment to segment ----

struct cSegRange {
    double lo, hi;
    explicit cSegRange(int consider)
        : lo((consider & cSeg::ConsiderAs::ClampStart) ? 0.0 : -HUGE_VAL),
          hi((consider & cSeg::ConsiderAs::ClampEnd) ? 1.0 : HUGE_VAL) {}
    double Clamp(double t) const { return t < lo ? lo : (t > hi ? hi : t); }
};

static double Dot(const double* a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Minimises |P(s) - Q(t)| over the allowed ranges (Ericson's method, which
// holds for any interval): the line-line optimum for s, clamped; the best t
// for that s; if t had to be clamped, the best s for that t. In double, so
// that nearly parallel segments do not lose their parameters to cancellation.
float cSeg::ClosestPoints(int consider, const cSeg& a, const cSeg& b, cVec3* pa, cVec3* pb, float* ta, float* tb) {
    cSegRange range(consider);
    double d1[3], d2[3], r[3];
    for (int i = 0; i < 3; i++) {
        d1[i] = double(a.end[i]) - a.start[i];
        d2[i] = double(b.end[i]) - b.start[i];
        r[i] = double(a.start[i]) - b.start[i];
    }
    if (a.IsZero()) d1[0] = d1[1] = d1[2] = 0;
    if (b.IsZero()) d2[0] = d2[1] = d2[2] = 0;
    double aa = Dot(d1, d1), e = Dot(d2, d2), f = Dot(d2, r);
    double s = 0, t = 0;
    if (aa == 0 && e == 0) {
        s = t = 0;
    } else if (aa == 0) {
        t = range.Clamp(f / e);
    } else {
        double c = Dot(d1, r);
        if (e == 0) {
            s = range.Clamp(-c / aa);
        } else {
            double bb = Dot(d1, d2), denom = aa * e - bb * bb;
            s = denom > 1e-12 * aa * e ? range.Clamp((bb * f - c * e) / denom) : range.Clamp(0.0);
            t = (bb * s + f) / e;
            if (t < range.lo || t > range.hi) {
                t = range.Clamp(t);
                s = range.Clamp((bb * t - c) / aa);
            }
        }
    }
    double p[3], q[3], dist = 0;
    for (int i = 0; i < 3; i++) {
        p[i] = a.start[i] + d1[i] * s;
        q[i] = b.start[i] + d2[i] * t;
        dist += (p[i] - q[i]) * (p[i] - q[i]);
    }
    if (pa) *pa = cVec3(float(p[0]), float(p[1]), float(p[2]));
    if (pb) *pb = cVec3(float(q[0]), float(q[1]), float(q[2]));
    if (ta) *ta = float(s);
    if (tb) *tb = float(t);
    return float(std::sqrt(dist));
}

float cSeg::Distance(int consider, const cSeg& a, const cSeg& b) {
    return ClosestPoints(consider, a, b, nullptr, nullptr);
}

}  // namespace zozud
