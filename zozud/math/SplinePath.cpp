#include "zozud/math/SplinePath.h"

#include <cmath>

#include "zozud/math/Seg.h"
#include "zozud/math/Solver.h"

namespace zozud {

namespace {

float Clamp01(float t) { return t > 0 ? (t < 1 ? t : 1) : 0; }  // NaN gives 0

const int MaxNewtonSteps = 12;

}  // namespace

// ---- Building ----

void cSplinePath::Build(const cSplineKnot* knots, int count, bool closed) {
    m_Segments.Free();
    m_KnotCount = knots && count > 0 ? count : 0;
    m_Closed = closed;
    m_Single = m_KnotCount > 0 ? knots[0].EP : cVec3(0, 0, 0);
    int n = m_KnotCount < 2 ? 0 : closed ? m_KnotCount : m_KnotCount - 1;
    if (n == 0) return;
    m_Segments.SetCount(n);
    float length = 0;
    for (int i = 0; i < n; i++) {
        const cSplineKnot& a = knots[i];
        const cSplineKnot& b = knots[(i + 1) % m_KnotCount];
        Segment& s = m_Segments[i];
        s.Bezier = cSegBezier<cVec3>(a.EP, a.CV1, b.CV0, b.EP);
        s.Time0 = (float)i / n;
        s.Time1 = i + 1 == n ? 1.0f : (float)(i + 1) / n;
        s.Table[0] = 0;
        for (int k = 0; k < LengthSteps; k++)
            s.Table[k + 1] = s.Table[k] + s.Bezier.GetLength((float)k / LengthSteps, (float)(k + 1) / LengthSteps);
        s.Length0 = length;
        length += s.Table[LengthSteps];
        s.Length1 = length;
    }
}

// ---- Points and derivatives ----

cSplinePath::Place cSplinePath::Clamp(const Place& place) const {
    int last = m_Segments.Count() - 1;
    int i = place.Segment < 0 ? 0 : place.Segment > last ? last : place.Segment;
    return Place(i < 0 ? 0 : i, Clamp01(place.T));
}

cVec3 cSplinePath::GetValue(const Place& place) const {
    if (m_Segments.IsEmpty()) return m_Single;
    Place p = Clamp(place);
    return m_Segments[p.Segment].Bezier.GetValue(p.T);
}

cVec3 cSplinePath::GetDerivativeLocal(const Place& place) const {
    if (m_Segments.IsEmpty()) return cVec3(0, 0, 0);
    Place p = Clamp(place);
    return m_Segments[p.Segment].Bezier.GetDerivative(p.T);
}

// Every segment spans 1 / n of the time, so d/dtime = n d/dt.
cVec3 cSplinePath::GetDerivativeGlobal(const Place& place) const {
    return GetDerivativeLocal(place) * (float)m_Segments.Count();
}

// ---- Places, times and lengths ----

cSplinePath::Place cSplinePath::GetPlaceByTime(float time) const {
    if (m_Segments.IsEmpty()) return Place(0, 0);
    time = Clamp01(time);
    int lo = 0, hi = m_Segments.Count() - 1;  // the first segment whose end time is not below time
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        if (m_Segments[mid].Time1 < time) lo = mid + 1; else hi = mid;
    }
    const Segment& s = m_Segments[lo];
    return Place(lo, Clamp01((time - s.Time0) / (s.Time1 - s.Time0)));
}

int cSplinePath::SegmentByLength(float length) const {
    int lo = 0, hi = m_Segments.Count() - 1;  // the first segment whose end length is not below length
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        if (m_Segments[mid].Length1 < length) lo = mid + 1; else hi = mid;
    }
    return lo;
}

cSplinePath::Place cSplinePath::GetPlaceByLength(float length) const {
    if (m_Segments.IsEmpty()) return Place(0, 0);
    int i = SegmentByLength(length);
    const Segment& s = m_Segments[i];
    float span = s.Length1 - s.Length0;
    return Place(i, span > 0 ? Clamp01((length - s.Length0) / span) : 0);
}

// The tabulated step that holds the length, then Newton steps on the arc
// length from the step's start, kept inside the step (a bisection when a
// step would leave it, as near a cusp where the speed drops to zero).
cSplinePath::Place cSplinePath::GetPlaceByLengthAccurate(float length) const {
    if (m_Segments.IsEmpty()) return Place(0, 0);
    int i = SegmentByLength(length);
    const Segment& s = m_Segments[i];
    if (!(length > s.Length0)) return Place(i, 0);
    if (length >= s.Length1) return Place(i, 1);  // exactly 1 at a knot, so the next segment is its other side
    float r = length - s.Length0;
    int k = 0;
    while (k + 1 < LengthSteps && s.Table[k + 1] <= r) k++;
    float lo = (float)k / LengthSteps, hi = (float)(k + 1) / LengthSteps;
    float want = r - s.Table[k], piece = s.Table[k + 1] - s.Table[k];
    float t = piece > 0 ? lo + (hi - lo) * (want / piece) : lo;
    for (int step = 0; step < MaxNewtonSteps; step++) {
        float error = s.Bezier.GetLengthQuick((float)k / LengthSteps, t) - want;
        if (std::fabs(error) <= 1e-6f * (piece + 1e-30f)) break;
        if (error > 0) hi = t; else lo = t;
        float speed = s.Bezier.GetDerivative(t).Length();
        float next = speed > 0 ? t - error / speed : lo - 1;
        t = next > lo && next < hi ? next : 0.5f * (lo + hi);
    }
    return Place(i, t);
}

float cSplinePath::GetLengthFromPlace(const Place& place) const {
    if (m_Segments.IsEmpty()) return 0;
    Place p = Clamp(place);
    const Segment& s = m_Segments[p.Segment];
    int k = (int)(p.T * LengthSteps);
    if (k >= LengthSteps) return s.Length1;
    return s.Length0 + s.Table[k] + s.Bezier.GetLengthQuick((float)k / LengthSteps, p.T);
}

float cSplinePath::GetTimeFromPlace(const Place& place) const {
    if (m_Segments.IsEmpty()) return 0;
    Place p = Clamp(place);
    const Segment& s = m_Segments[p.Segment];
    return s.Time0 + (s.Time1 - s.Time0) * p.T;
}

bool cSplinePath::GetSegmentTimeRange(int i, float* start, float* end) const {
    if (i < 0 || i >= m_Segments.Count()) return false;
    if (start) *start = m_Segments[i].Time0;
    if (end) *end = m_Segments[i].Time1;
    return true;
}

bool cSplinePath::GetSegmentLengthRange(int i, float* start, float* end) const {
    if (i < 0 || i >= m_Segments.Count()) return false;
    if (start) *start = m_Segments[i].Length0;
    if (end) *end = m_Segments[i].Length1;
    return true;
}

// The ends of each segment and the points where one coordinate turns: the
// roots of that coordinate's derivative, a quadratic in t.
cBounds cSplinePath::GetBounds() const {
    cBounds bounds;
    if (m_KnotCount > 0) bounds.AddPoint(m_Single);
    for (const Segment& s : m_Segments) {
        const cVec3* P = s.Bezier.P;
        bounds.AddPoint(P[0]);
        bounds.AddPoint(P[3]);
        for (int k = 0; k < 3; k++) {
            float d0 = P[1][k] - P[0][k], d1 = P[2][k] - P[1][k], d2 = P[3][k] - P[2][k];
            float roots[2];
            int found = cSolver::GetRoots2(d0 - 2 * d1 + d2, 2 * (d1 - d0), d0, roots);
            int count = found == -1 || found == 1 ? 1 : found == 2 ? 2 : 0;
            for (int j = 0; j < count; j++)
                if (roots[j] > 0 && roots[j] < 1) bounds.AddPoint(s.Bezier.GetValue(roots[j]));
        }
    }
    return bounds;
}

// ---- Closest point ----

cSplinePath::Place cSplinePath::CalcClosestPointPlaceLinear(const cVec3& p) const {
    Place best(0, 0);
    float bestSq = -1;
    for (int i = 0; i < m_Segments.Count(); i++) {
        const cSegBezier<cVec3>& b = m_Segments[i].Bezier;
        cVec3 a = b.P[0];
        for (int k = 0; k < LengthSteps; k++) {
            cVec3 c = b.GetValue((float)(k + 1) / LengthSteps), projected;
            float u = Clamp01(cSeg(a, c).ProjectPoint(cSeg::ConsiderAs::Segment, p, &projected));
            float dSq = (projected - p).LengthSq();
            if (bestSq < 0 || dSq < bestSq) bestSq = dSq, best = Place(i, (k + u) / LengthSteps);
            a = c;
        }
    }
    return best;
}

// Segments in the order of their lower bounds (the box around their points);
// each is refined until the next bound is farther than the best found.
cSplinePath::Place cSplinePath::CalcClosestPointPlaceAccurate(const cVec3& p, float epsilon) const {
    cList<ClosestPointRef> candidates;
    for (int i = 0; i < m_Segments.Count(); i++) {
        ClosestPointRef ref;
        ref.first = i;
        ref.second = m_Segments[i].Bezier.CalcDistanceSqLowerBound(p);
        candidates.Add(ref);
    }
    candidates.Sort(ClosestPointRef::Cmp());
    Place best(0, 0);
    float bestSq = -1;
    for (const ClosestPointRef& c : candidates) {
        if (bestSq >= 0 && c.second > bestSq) break;
        const cSegBezier<cVec3>& b = m_Segments[c.first].Bezier;
        float t = b.CalcClosestPointParameterAccurate(p, epsilon);
        float dSq = (b.GetValue(t) - p).LengthSq();
        if (bestSq < 0 || dSq < bestSq) bestSq = dSq, best = Place(c.first, t);
    }
    return best;
}

}  // namespace zozud
