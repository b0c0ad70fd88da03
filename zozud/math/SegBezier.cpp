#include "zozud/math/SegBezier.h"

#include <cmath>

namespace zozud {

namespace {

// Five-point Gauss-Legendre rule on [-1, 1]: exact for polynomials up to
// degree 9, so a smooth stretch of |B'(t)| is integrated almost exactly.
const double GaussX[5] = {0.0, -0.5384693101056831, 0.5384693101056831, -0.9061798459386640, 0.9061798459386640};
const double GaussW[5] = {0.5688888888888889, 0.4786286704993665, 0.4786286704993665, 0.2369268850561891,
                          0.2369268850561891};

const int ClosestSamples = 16;     // a cubic's squared distance has at most three minima
const int MaxHalvings = 18;        // of the length integration, where |B'| has a kink (a cusp)
const int MaxGoldenSteps = 200;

template <class V>
double Gauss(const cSegBezier<V>& b, double t0, double t1) {
    double half = 0.5 * (t1 - t0), mid = 0.5 * (t0 + t1), sum = 0;
    for (int i = 0; i < 5; i++) sum += GaussW[i] * b.GetDerivative((float)(mid + half * GaussX[i])).Length();
    return sum * half;
}

// Halves [t0, t1] until the two halves agree with the whole within tolerance.
template <class V>
double Adaptive(const cSegBezier<V>& b, double t0, double t1, double whole, double tolerance, int depth) {
    double mid = 0.5 * (t0 + t1);
    double left = Gauss(b, t0, mid), right = Gauss(b, mid, t1);
    // Also stops on a NaN (points that are not numbers), which never agrees.
    if (depth <= 0 || !(std::fabs(left + right - whole) > tolerance)) return left + right;
    return Adaptive(b, t0, mid, left, tolerance * 0.5, depth - 1) + Adaptive(b, mid, t1, right, tolerance * 0.5, depth - 1);
}

template <class V>
float DistanceSq(const cSegBezier<V>& b, float t, const V& p) {
    return (b.GetValue(t) - p).LengthSq();
}

// Golden-section search for the smallest squared distance within [lo, hi].
template <class V>
float NarrowMinimum(const cSegBezier<V>& b, const V& p, float lo, float hi, float epsilon) {
    const float ratio = 0.61803398875f;
    float x1 = hi - (hi - lo) * ratio, x2 = lo + (hi - lo) * ratio;
    float f1 = DistanceSq(b, x1, p), f2 = DistanceSq(b, x2, p);
    for (int step = 0; step < MaxGoldenSteps && hi - lo > epsilon; step++) {
        if (f1 <= f2) {
            hi = x2, x2 = x1, f2 = f1;
            x1 = hi - (hi - lo) * ratio;
            f1 = DistanceSq(b, x1, p);
        } else {
            lo = x1, x1 = x2, f1 = f2;
            x2 = lo + (hi - lo) * ratio;
            f2 = DistanceSq(b, x2, p);
        }
    }
    return 0.5f * (lo + hi);
}

int Components(const cVec2&) { return 2; }
int Components(const cVec3&) { return 3; }

}  // namespace

template <class V>
float cSegBezier<V>::GetLength(float t0, float t1) const {
    if (t1 < t0) return -GetLength(t1, t0);
    if (t1 == t0) return 0;
    double whole = Gauss(*this, t0, t1);
    double tolerance = 1e-7 * (whole > 1e-30 ? whole : 1e-30);
    return (float)Adaptive(*this, t0, t1, whole, tolerance, MaxHalvings);
}

template <class V>
float cSegBezier<V>::GetLengthQuick(float t0, float t1) const {
    return (float)Gauss(*this, t0, t1);
}

template <class V>
void cSegBezier<V>::Split(float t, cSegBezier* left, cSegBezier* right) const {
    V a = V::Lerp(P[0], P[1], t), b = V::Lerp(P[1], P[2], t), c = V::Lerp(P[2], P[3], t);
    V d = V::Lerp(a, b, t), e = V::Lerp(b, c, t);
    V m = V::Lerp(d, e, t);
    cSegBezier l(P[0], a, d, m), r(m, e, c, P[3]);
    if (left) *left = l;
    if (right) *right = r;
}

// The points of the sub-curve follow from its values and derivatives at the
// ends: P1 = B(t0) + B'(t0) (t1 - t0) / 3 and P2 = B(t1) - B'(t1) (t1 - t0) / 3.
template <class V>
cSegBezier<V> cSegBezier<V>::SubSegment(float t0, float t1) const {
    float span = (t1 - t0) / 3;
    V a = GetValue(t0), d = GetValue(t1);
    return cSegBezier(a, a + GetDerivative(t0) * span, d - GetDerivative(t1) * span, d);
}

template <class V>
float cSegBezier<V>::CalcClosestPointParameterAccurate(const V& p, float epsilon) const {
    if (!(epsilon > 1e-7f)) epsilon = 1e-7f;
    float d[ClosestSamples + 1];
    for (int i = 0; i <= ClosestSamples; i++) d[i] = DistanceSq(*this, (float)i / ClosestSamples, p);
    float bestT = 0, best = d[0];
    for (int i = 0; i <= ClosestSamples; i++) {
        bool lowest = (i == 0 || d[i] <= d[i - 1]) && (i == ClosestSamples || d[i] <= d[i + 1]);
        if (!lowest) continue;
        float lo = (float)(i > 0 ? i - 1 : 0) / ClosestSamples;
        float hi = (float)(i < ClosestSamples ? i + 1 : ClosestSamples) / ClosestSamples;
        float t = NarrowMinimum(*this, p, lo, hi, epsilon);
        float dt = DistanceSq(*this, t, p);
        if (d[i] < dt) t = (float)i / ClosestSamples, dt = d[i];  // an end of the segment
        if (dt < best) best = dt, bestT = t;
    }
    return bestT;
}

template <class V>
float cSegBezier<V>::CalcDistanceSqLowerBound(const V& p) const {
    float sum = 0;
    for (int k = 0; k < Components(p); k++) {
        float lo = P[0][k], hi = P[0][k];
        for (int i = 1; i < 4; i++) lo = std::fmin(lo, P[i][k]), hi = std::fmax(hi, P[i][k]);
        float out = p[k] < lo ? lo - p[k] : p[k] > hi ? p[k] - hi : 0;
        sum += out * out;
    }
    return sum;
}

template class cSegBezier<cVec2>;
template class cSegBezier<cVec3>;

}  // namespace zozud
