// cSegBezier<V>: one cubic Bezier segment over a vector type V (cVec2 or
// cVec3), its four points P0..P3 with the curve passing through P0 (t = 0)
// and P3 (t = 1). Arc length is integrated numerically (Gauss-Legendre,
// halved until two levels agree). The closest point is found by sampling and
// then narrowing every local minimum of the samples, so a curve that comes
// near a point twice still answers the nearer approach.
#pragma once

#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"

namespace zozud {

template <class V>
class cSegBezier {
public:
    V P[4];

    cSegBezier() {}
    cSegBezier(const V& p0, const V& p1, const V& p2, const V& p3) { P[0] = p0, P[1] = p1, P[2] = p2, P[3] = p3; }

    // ---- Evaluation; t is not clamped ----
    V GetValue(float t) const;            // (1-t)^3 P0 + 3t(1-t)^2 P1 + 3t^2(1-t) P2 + t^3 P3
    V GetDerivative(float t) const;       // with respect to t
    V GetSecondDerivative(float t) const;

    // ---- Length ----
    float GetLength() const { return GetLength(0, 1); }
    float GetLength(float t0, float t1) const;        // arc length from t0 to t1 (negative when t1 < t0)
    float GetLengthQuick(float t0, float t1) const;   // one five-point rule: for short, smooth stretches

    // ---- Pieces ----
    void       Split(float t, cSegBezier* left, cSegBezier* right) const;  // de Casteljau at t
    cSegBezier SubSegment(float t0, float t1) const;  // the same curve between t0 and t1, reparameterised

    // ---- Distance ----
    // Parameter in [0, 1] of the point nearest to p, to within epsilon in t.
    float CalcClosestPointParameterAccurate(const V& p, float epsilon) const;
    // Squared distance from p to the box around the four points: never more
    // than the distance to the curve, which lies inside their hull.
    float CalcDistanceSqLowerBound(const V& p) const;
};

typedef cSegBezier<cVec2> cSegBezier2;
typedef cSegBezier<cVec3> cSegBezier3;

// ---- Inline evaluation ----

template <class V>
inline V cSegBezier<V>::GetValue(float t) const {
    float s = 1 - t;
    return P[0] * (s * s * s) + P[1] * (3 * t * s * s) + P[2] * (3 * t * t * s) + P[3] * (t * t * t);
}

template <class V>
inline V cSegBezier<V>::GetDerivative(float t) const {
    float s = 1 - t;
    return (P[1] - P[0]) * (3 * s * s) + (P[2] - P[1]) * (6 * t * s) + (P[3] - P[2]) * (3 * t * t);
}

template <class V>
inline V cSegBezier<V>::GetSecondDerivative(float t) const {
    return (P[2] - P[1] * 2 + P[0]) * (6 * (1 - t)) + (P[3] - P[2] * 2 + P[1]) * (6 * t);
}

}  // namespace zozud
