// cLine<T, N>: a polyline through a list of cVec<T, N> points (T float or int,
// N 1 to 4): arc lengths, points along it, the nearest projection of a point,
// and CompareClockwise for sorting points around a centre. Integer lines are
// measured in floating point; points evaluated on them are rounded.
#pragma once

#include <cmath>
#include <cstddef>
#include <type_traits>

#include "zozud/core/List.h"
#include "zozud/math/Vec3.h"
#include "zozud/math/VecT.h"

namespace zozud {

template <class T, size_t N>
class cLine {
public:
    typedef cVec<T, N> Vec;

    cList<Vec> Points;

    // Arc length from the first point to each point (out receives one per point); returns the total.
    float Distances(cList<float>* out) const;
    // a + (b - a) * t; rounded to the nearest integer for int lines.
    static Vec Point(const Vec& a, const Vec& b, float t);
    // The point at the given arc length, clamped to the ends; the first point of an
    // empty-length line. UNDEFINED components for a line without points.
    Vec PointAtDistance(float distance) const;
    // The nearest point of the polyline to p lies on segment (index, index + 1) at
    // parameter t (index is the last point and t 0 for a single point); distance
    // receives |p - that point|. Each output optional; false without points.
    bool NearestProjection(const Vec& p, float* t, float* distance, int* index) const;

    // Orders points clockwise around a centre, starting at twelve o'clock (+Y for
    // 2D; for 3D as seen looking down -normal, with "up" the second axis of
    // normal.ToPerps). Points at the same angle: the nearer first.
    class CompareClockwise : public cList<Vec>::CompareFunctor {
    public:
        explicit CompareClockwise(const cVec<float, N>& center, const cVec3& normal = cVec3(0, 0, 1));
        bool operator()(const Vec& a, const Vec& b) const override;
    private:
        void Plane(const Vec& p, double* x, double* y) const;  // coordinates in the clock face
        double c[3], u[3], v[3];
    };

private:
    static double SegmentLength(const Vec& a, const Vec& b);
};

// ---- Implementation ----

template <class T, size_t N>
double cLine<T, N>::SegmentLength(const Vec& a, const Vec& b) {
    double s = 0;
    for (size_t i = 0; i < N; i++) {
        double d = double(b[i]) - double(a[i]);
        s += d * d;
    }
    return std::sqrt(s);
}

template <class T, size_t N>
float cLine<T, N>::Distances(cList<float>* out) const {
    double total = 0;
    if (out) out->Clear();
    for (int i = 0; i < Points.Count(); i++) {
        if (i) total += SegmentLength(Points[i - 1], Points[i]);
        if (out) out->Add(float(total));
    }
    return float(total);
}

template <class T, size_t N>
cVec<T, N> cLine<T, N>::Point(const Vec& a, const Vec& b, float t) {
    Vec r;
    for (size_t i = 0; i < N; i++) {
        double x = double(a[i]) + (double(b[i]) - double(a[i])) * t;
        r[i] = std::is_integral<T>::value ? T(std::floor(x + 0.5)) : T(x);
    }
    return r;
}

template <class T, size_t N>
cVec<T, N> cLine<T, N>::PointAtDistance(float distance) const {
    int n = Points.Count();
    if (n == 0) return Vec();
    double walked = 0;
    for (int i = 1; i < n; i++) {
        double len = SegmentLength(Points[i - 1], Points[i]);
        if (distance <= walked + len && len > 0)
            return Point(Points[i - 1], Points[i], float(distance <= walked ? 0 : (distance - walked) / len));
        walked += len;
    }
    return distance <= 0 ? Points[0] : Points[n - 1];
}

template <class T, size_t N>
bool cLine<T, N>::NearestProjection(const Vec& p, float* t, float* distance, int* index) const {
    int n = Points.Count();
    if (n == 0) return false;
    double bestSq = -1, bestT = 0;
    int best = n - 1;
    for (int i = 0; i + 1 < n || (n == 1 && i == 0); i++) {
        const Vec& a = Points[i];
        const Vec& b = n == 1 ? Points[0] : Points[i + 1];
        double ab2 = 0, ap = 0;
        for (size_t k = 0; k < N; k++) {
            double e = double(b[k]) - a[k];
            ab2 += e * e;
            ap += (double(p[k]) - a[k]) * e;
        }
        double s = ab2 > 0 ? ap / ab2 : 0;
        s = s < 0 ? 0 : (s > 1 ? 1 : s);
        double dSq = 0;
        for (size_t k = 0; k < N; k++) {
            double q = a[k] + (double(b[k]) - a[k]) * s - double(p[k]);
            dSq += q * q;
        }
        if (bestSq < 0 || dSq < bestSq) {
            bestSq = dSq;
            bestT = s;
            best = i;
        }
    }
    if (n == 1) best = 0;
    if (t) *t = float(bestT);
    if (distance) *distance = float(std::sqrt(bestSq));
    if (index) *index = best;
    return true;
}

template <class T, size_t N>
cLine<T, N>::CompareClockwise::CompareClockwise(const cVec<float, N>& center, const cVec3& normal) {
    static_assert(N == 2 || N == 3, "clockwise order needs a plane");
    for (int i = 0; i < 3; i++) c[i] = i < int(N) ? center[i] : 0;
    cVec3 a(1, 0, 0), b(0, 1, 0);
    if (N == 3) normal.ToPerps(&a, &b);
    for (int i = 0; i < 3; i++) {
        u[i] = a[i];
        v[i] = b[i];
    }
}

template <class T, size_t N>
void cLine<T, N>::CompareClockwise::Plane(const Vec& p, double* x, double* y) const {
    *x = *y = 0;
    for (size_t i = 0; i < N && i < 3; i++) {
        double d = double(p[i]) - c[i];
        *x += d * u[i];
        *y += d * v[i];
    }
}

// The right half (with twelve o'clock) comes before the left half (with six
// o'clock); within a half the cross product decides without any angle.
template <class T, size_t N>
bool cLine<T, N>::CompareClockwise::operator()(const Vec& a, const Vec& b) const {
    double ax, ay, bx, by;
    Plane(a, &ax, &ay);
    Plane(b, &bx, &by);
    int ha = (ax > 0 || (ax == 0 && ay >= 0)) ? 0 : 1;
    int hb = (bx > 0 || (bx == 0 && by >= 0)) ? 0 : 1;
    if (ha != hb) return ha < hb;
    double cross = ax * by - ay * bx;
    if (cross != 0) return cross < 0;
    return ax * ax + ay * ay < bx * bx + by * by;
}

}  // namespace zozud
