// New knots for a path: through given points, or along an existing path at
// chosen arc lengths. Each new segment spans an arc length h of the old path
// and starts and ends along the old path's tangents with control vertices h / 3
// away: exact on straight stretches, within a fraction of a percent of the
// radius on circular ones.
#include "zozud/math/SplinePath.h"

#include <cmath>

namespace zozud {

namespace {

const int ErrorChecks = 8;       // old points compared per new segment
const int MaxAdaptiveDepth = 12; // halvings of one stretch
const float CornerCos = 0.99996f;  // tangents more than half a degree apart make a corner
const int MaxSampledKnots = 1 << 20;   // uniform sampling refuses more
const int MaxAdaptiveKnots = 1 << 12;  // adaptive sampling splits no further: a bound of 0 stays quick

bool Finite(float x) { return std::isfinite(x); }

}  // namespace

void cSplinePath::KnotsFromPoints(const cVec3* points, int n, bool closed, cList<cSplineKnot>* out) {
    out->Free();
    if (!points || n <= 0) return;
    out->SetCount(n);
    for (int i = 0; i < n; i++) {
        const cVec3& p = points[i];
        const cVec3& prev = i > 0 ? points[i - 1] : closed ? points[n - 1] : p;
        const cVec3& next = i + 1 < n ? points[i + 1] : closed ? points[0] : p;
        cVec3 dir = next - prev;
        dir.Normalize();
        float before = (p - prev).Length(), after = (next - p).Length();
        if (before == 0) before = after;  // an open end mirrors its one handle
        if (after == 0) after = before;
        cSplineKnot& k = (*out)[i];
        k.EP = p;
        k.CV0 = p - dir * (before / 3);
        k.CV1 = p + dir * (after / 3);
    }
}

// The unit tangent on one side of a place: at a segment's start the incoming
// one belongs to the previous segment, at its end the outgoing one to the
// next. A zero derivative (a control vertex on its end point) falls back to
// the chord of a short step inside the segment.
cVec3 cSplinePath::Direction(const Place& place, bool incoming) const {
    Place p = Clamp(place);
    int n = m_Segments.Count();
    if (incoming && p.T == 0 && (p.Segment > 0 || m_Closed)) p = Place((p.Segment + n - 1) % n, 1);
    if (!incoming && p.T == 1 && (p.Segment + 1 < n || m_Closed)) p = Place((p.Segment + 1) % n, 0);
    const cSegBezier<cVec3>& b = m_Segments[p.Segment].Bezier;
    cVec3 d = b.GetDerivative(p.T);
    if (d.LengthSq() < 1e-20f) {
        const float step = 1e-3f;
        d = p.T + step <= 1 ? b.GetValue(p.T + step) - b.GetValue(p.T) : b.GetValue(p.T) - b.GetValue(p.T - step);
    }
    d.Normalize();
    return d;
}

// Knot i (an inner knot of an open path, any knot of a closed one) where the
// path turns abruptly.
bool cSplinePath::IsCorner(int knot) const {
    Place at(knot % m_Segments.Count(), 0);
    return Direction(at, true).Dot(Direction(at, false)) < CornerCos;
}

namespace {

// Knots at the given arc lengths of the path (ascending; a closed path's
// last break is its total length, the same point as the first).
void KnotsAtBreaks(const cSplinePath& path, const cList<float>& breaks, cList<cSplineKnot>* out,
                   cVec3 (*direction)(const cSplinePath&, float, bool)) {
    bool closed = path.IsClosed();
    int count = closed ? breaks.Count() - 1 : breaks.Count();
    out->Free();
    out->SetCount(count);
    for (int j = 0; j < count; j++) {
        float s = breaks[j];
        float before = j > 0 ? s - breaks[j - 1] : closed ? path.GetTotalLength() - breaks[count - 1] : -1;
        float after = j + 1 < breaks.Count() ? breaks[j + 1] - s : -1;
        if (before < 0) before = after;
        if (after < 0) after = before;
        cSplineKnot& k = (*out)[j];
        k.EP = path.GetValueByLength(s);
        k.CV0 = k.EP - direction(path, s, true) * (before / 3);
        k.CV1 = k.EP + direction(path, s, false) * (after / 3);
    }
}

}  // namespace

bool cSplinePath::SampleUniform(int count, cList<cSplineKnot>* out) const {
    if (m_Segments.IsEmpty() || count < (m_Closed ? 3 : 2) || count > MaxSampledKnots) return false;
    if (!Finite(GetTotalLength())) return false;
    float total = GetTotalLength();
    int steps = m_Closed ? count : count - 1;
    cList<float> breaks;
    for (int i = 0; i <= steps; i++) breaks.Add(i == steps ? total : total * i / steps);
    KnotsAtBreaks(*this, breaks, out, [](const cSplinePath& path, float s, bool incoming) {
        return path.Direction(path.GetPlaceByLengthAccurate(s), incoming);
    });
    return true;
}

namespace {

struct AdaptiveRun {
    const cSplinePath* path;
    float maxErrSq;
    float minStep;
    cVec3 (*direction)(const cSplinePath&, float, bool);
    cList<float>* breaks;

    // The largest squared distance from the old path's points inside (a, b)
    // to the one new segment that would replace it.
    float Error(float a, float b) const {
        float third = (b - a) / 3;
        cVec3 p0 = path->GetValueByLength(a), p3 = path->GetValueByLength(b);
        cSegBezier<cVec3> made(p0, p0 + direction(*path, a, false) * third, p3 - direction(*path, b, true) * third, p3);
        float worst = 0;
        for (int j = 1; j < ErrorChecks; j++) {
            cVec3 q = path->GetValueByLength(a + (b - a) * j / ErrorChecks);
            float t = made.CalcClosestPointParameterAccurate(q, 1e-5f);
            worst = std::fmax(worst, (made.GetValue(t) - q).LengthSq());
        }
        return worst;
    }
    // Adds the breaks inside (a, b) in order.
    void Refine(float a, float b, int depth) {
        if (depth >= MaxAdaptiveDepth || b - a <= minStep || breaks->Count() >= MaxAdaptiveKnots) return;
        if (!(Error(a, b) > maxErrSq)) return;  // within the bound, or not a number
        float mid = 0.5f * (a + b);
        Refine(a, mid, depth + 1);
        breaks->Add(mid);
        Refine(mid, b, depth + 1);
    }
};

}  // namespace

bool cSplinePath::SampleAdaptive(float maxErrSq, cList<cSplineKnot>* out) const {
    if (m_Segments.IsEmpty() || !(maxErrSq >= 0) || !Finite(GetTotalLength())) return false;
    auto direction = [](const cSplinePath& path, float s, bool incoming) {
        return path.Direction(path.GetPlaceByLengthAccurate(s), incoming);
    };
    // The ends and the corners are kept; a closed path starts as two halves at least.
    float total = GetTotalLength();
    cList<float> fixed;
    fixed.Add(0);
    int inner = m_Closed ? m_KnotCount : m_KnotCount - 1;
    for (int i = 1; i < inner; i++)
        if (IsCorner(i)) fixed.Add(m_Segments[i].Length0);
    if (m_Closed && fixed.Count() == 1) fixed.Add(0.5f * total);
    fixed.Add(total);

    cList<float> breaks;
    AdaptiveRun run = {this, maxErrSq, total * 1e-6f, direction, &breaks};
    for (int j = 0; j + 1 < fixed.Count(); j++) {
        breaks.Add(fixed[j]);
        run.Refine(fixed[j], fixed[j + 1], 0);
    }
    breaks.Add(total);
    KnotsAtBreaks(*this, breaks, out, direction);
    return true;
}

}  // namespace zozud
