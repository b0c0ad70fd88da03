// cSplinePath: the arithmetic of a path of cubic Bezier segments through a
// list of knots (an end point with an incoming and an outgoing control
// vertex), open or closed. Build() makes the segments once; every query then
// reads them. Segment i runs from knot i to knot i + 1 (the last of a closed
// path back to knot 0) and gets the same share of the normalised time
// [0, 1] as every other, whatever its length; arc length is integrated
// numerically and tabulated per segment, so places by length are found by
// search and a few Newton steps.
// Surprises: one knot makes no segment (points are that knot's end point,
// derivatives zero); times and lengths outside the path clamp to its ends.
#pragma once

#include "zozud/core/List.h"
#include "zozud/math/Bounds.h"
#include "zozud/math/SegBezier.h"
#include "zozud/math/Vec3.h"

namespace zozud {

struct cSplineKnot {
    cVec3 CV0;  // incoming control vertex
    cVec3 EP;   // the point the path passes through
    cVec3 CV1;  // outgoing control vertex
};

class cSplinePath {
public:
    // A segment and the parameter t in [0, 1] inside it.
    struct Place {
        int   Segment = 0;
        float T = 0;
        Place() {}
        Place(int segment, float t) : Segment(segment), T(t) {}
    };
    // A candidate of the closest-point search: a segment and its squared
    // distance (a lower bound until refined). Cmp puts nearer ones first.
    struct ClosestPointRef {
        int   first = 0;
        float second = 0;
        struct Cmp : cList<ClosestPointRef>::CompareFunctor {
            bool operator()(const ClosestPointRef& a, const ClosestPointRef& b) const override {
                return a.second < b.second;
            }
        };
    };
    static const int LengthSteps = 16;  // tabulated arc lengths per segment

    // ---- Building ----
    void Build(const cSplineKnot* knots, int count, bool closed);
    void Clear() { Build(nullptr, 0, false); }
    int  GetSegmentCount() const { return m_Segments.Count(); }
    int  GetKnotCount() const { return m_KnotCount; }
    bool IsClosed() const { return m_Closed; }
    const cSegBezier<cVec3>& GetSegment(int i) const { return m_Segments[i].Bezier; }  // 0 <= i < count

    // ---- Points and derivatives ----
    cVec3 GetValue(const Place& place) const;
    cVec3 GetDerivativeLocal(const Place& place) const;   // with respect to t
    cVec3 GetDerivativeGlobal(const Place& place) const;  // with respect to the normalised time
    cVec3 GetValueByTime(float time) const { return GetValue(GetPlaceByTime(time)); }
    cVec3 GetValueByLength(float length) const { return GetValue(GetPlaceByLengthAccurate(length)); }
    cVec3 GetDerivativeLocal(float time) const { return GetDerivativeLocal(GetPlaceByTime(time)); }
    cVec3 GetDerivativeGlobal(float time) const { return GetDerivativeGlobal(GetPlaceByTime(time)); }

    // ---- Places, times and lengths ----
    Place GetPlaceByTime(float time) const;             // segment 0, t 0 without segments
    Place GetPlaceByLength(float length) const;         // linear in t inside the segment
    Place GetPlaceByLengthAccurate(float length) const; // along the curve
    float GetLengthFromPlace(const Place& place) const;
    float GetTimeFromPlace(const Place& place) const;
    bool  GetSegmentTimeRange(int i, float* start, float* end) const;    // false outside 0..count-1
    bool  GetSegmentLengthRange(int i, float* start, float* end) const;
    float GetTotalLength() const { return m_Segments.IsEmpty() ? 0 : m_Segments.GetLast().Length1; }
    cBounds GetBounds() const;  // around the curve itself; empty without knots

    // ---- Closest point ----
    Place CalcClosestPointPlaceLinear(const cVec3& p) const;  // against a polyline of the segments
    Place CalcClosestPointPlaceAccurate(const cVec3& p, float epsilon) const;  // epsilon in t

    // ---- New knots ----
    // Knots through the points, each control vertex a third of the way to the
    // neighbouring point along the direction from the previous to the next.
    static void KnotsFromPoints(const cVec3* points, int n, bool closed, cList<cSplineKnot>* out);
    // count knots at equal arc-length steps along this path (at least 2 open,
    // 3 closed, at most 2^20); false and out untouched without segments, with
    // another count or when the path's length is not a finite number.
    bool SampleUniform(int count, cList<cSplineKnot>* out) const;
    // As few knots as keep every checked point of this path within
    // sqrt(maxErrSq) of the new path; knots at corners are kept. Splitting
    // stops at 4096 knots, at 12 halvings of a stretch, or at a millionth
    // of the length, so even a bound of 0 answers quickly. False as SampleUniform, and for a negative maxErrSq.
    bool SampleAdaptive(float maxErrSq, cList<cSplineKnot>* out) const;

private:
    struct Segment {
        cSegBezier<cVec3> Bezier;
        float Time0, Time1, Length0, Length1;
        float Table[LengthSteps + 1];  // arc length from the segment's start at t = k / LengthSteps
    };
    cList<Segment> m_Segments;
    cVec3 m_Single = cVec3(0, 0, 0);  // the end point of a lone knot
    int   m_KnotCount = 0;
    bool  m_Closed = false;

    int   SegmentByLength(float length) const;
    Place Clamp(const Place& place) const;
    cVec3 Direction(const Place& place, bool incoming) const;
    bool  IsCorner(int knot) const;
};

}  // namespace zozud
