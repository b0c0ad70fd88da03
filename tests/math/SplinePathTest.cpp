// cSegBezier and cSplinePath, against a double-precision evaluation, dense polyline walks and sampling.
#include "math/MathCheck.h"
#include "zozud/math/SplinePath.h"

using namespace mathtest;

namespace {

cSplineKnot Knot(const cVec3& cv0, const cVec3& ep, const cVec3& cv1) { return cSplineKnot{cv0, ep, cv1}; }

cSplinePath FromKnots(const cList<cSplineKnot>& k, bool closed) {
    cSplinePath path;
    path.Build(k.GetPtr(), k.Count(), closed);
    return path;
}

// A path of knots with handles along the x axis, so each segment is an S.
cVec3 WavePoint(int i) { return cVec3((float)(i * 10), (float)(i % 2 ? 5 : -5), (float)(i % 3)); }
cSplinePath Wave(int count, bool closed) {
    cList<cSplineKnot> k;
    for (int i = 0; i < count; i++) k.Add(Knot(WavePoint(i) - cVec3(4, 0, 1), WavePoint(i), WavePoint(i) + cVec3(4, 0, 1)));
    return FromKnots(k, closed);
}

// Independent evaluation of one segment in double precision.
glm::dvec3 RefAt(const cSegBezier<cVec3>& b, double t) {
    glm::dvec3 p[4];
    for (int i = 0; i < 4; i++) p[i] = glm::dvec3(b.P[i].x, b.P[i].y, b.P[i].z);
    double s = 1 - t;
    return p[0] * (s * s * s) + p[1] * (3 * t * s * s) + p[2] * (3 * t * t * s) + p[3] * (t * t * t);
}
cVec3 ToVec3(const glm::dvec3& d) { return cVec3((float)d.x, (float)d.y, (float)d.z); }

// The path walked as a polyline of `steps` chords per segment: its
// cumulative lengths and points, for lengths and places by length.
struct Walk {
    std::vector<double> length;
    std::vector<cVec3> point;
    Walk(const cSplinePath& path, int steps) {
        glm::dvec3 prev;
        for (int i = 0; i < path.GetSegmentCount(); i++)
            for (int j = (i == 0 ? 0 : 1); j <= steps; j++) {
                glm::dvec3 cur = RefAt(path.GetSegment(i), (double)j / steps);
                length.push_back(point.empty() ? 0 : length.back() + glm::distance(cur, prev));
                point.push_back(ToVec3(cur));
                prev = cur;
            }
    }
    double Total() const { return length.back(); }
    cVec3 PointAt(double s) const {
        size_t i = std::lower_bound(length.begin(), length.end(), s) - length.begin();
        if (i == 0) return point[0];
        if (i >= length.size()) return point.back();
        double f = (s - length[i - 1]) / (length[i] - length[i - 1]);
        return cVec3::Lerp(point[i - 1], point[i], (float)f);
    }
    // The smallest distance from p to the walked points.
    float Distance(const cVec3& p) const {
        float best = FLT_MAX;
        for (const cVec3& q : point) best = std::min(best, (q - p).LengthSq());
        return std::sqrt(best);
    }
};

// The largest distance from the points of `from` to the curve `to`.
float Deviation(const cSplinePath& from, const cSplinePath& to, int samples) {
    float worst = 0;
    for (int i = 0; i <= samples; i++) {
        cVec3 q = from.GetValueByLength(from.GetTotalLength() * i / samples);
        cVec3 near = to.GetValue(to.CalcClosestPointPlaceAccurate(q, 1e-6f));
        worst = std::max(worst, (near - q).Length());
    }
    return worst;
}

}  // namespace

// ---- Layout ----

TEST(SplinePath, SegmentsTimeRangesAndEnds) {
    const struct { int knots; bool closed; int segments; } rows[] = {
        {0, false, 0}, {1, false, 0}, {1, true, 0}, {2, false, 1}, {2, true, 2}, {3, true, 3}, {5, false, 4},
    };
    for (const auto& r : rows) {
        cSplinePath path = Wave(r.knots, r.closed);
        SCOPED_TRACE(testing::Message() << r.knots << (r.closed ? " closed" : " open"));
        ASSERT_EQ(r.segments, path.GetSegmentCount());
        float start = -1, end = -1;
        EXPECT_FALSE(path.GetSegmentTimeRange(r.segments, &start, &end));
        for (int i = 0; i < r.segments; i++) {
            ASSERT_TRUE(path.GetSegmentTimeRange(i, &start, &end));
            EXPECT_TRUE(std::fabs(start - (float)i / r.segments) < 1e-6f && std::fabs(end - (float)(i + 1) / r.segments) < 1e-6f) << i;
            // t = 0 is the end point of knot i, t = 1 that of the next (the first again when closed).
            EXPECT_EQ(WavePoint(i), path.GetValue(cSplinePath::Place(i, 0)));
            EXPECT_EQ(WavePoint((i + 1) % r.knots), path.GetValue(cSplinePath::Place(i, 1)));
        }
        if (r.segments == 0) {
            cSplinePath::Place p = path.GetPlaceByTime(0.7f);
            EXPECT_TRUE(p.Segment == 0 && p.T == 0);
            EXPECT_EQ(r.knots ? cVec3(0, -5, 0) : cVec3(0, 0, 0), path.GetValueByTime(0.5f));
            EXPECT_EQ(cVec3(0, 0, 0), path.GetDerivativeGlobal(0.5f));
            EXPECT_EQ(0, path.GetTotalLength());
        }
    }
}

TEST(SplinePath, TimesClampAndMapToSegments) {
    cSplinePath path = Wave(4, true);  // four segments of a quarter each
    const struct { float time; int segment; float t; } rows[] = {
        {-0.5f, 0, 0}, {0, 0, 0}, {0.125f, 0, 0.5f}, {0.25f, 0, 1}, {0.3f, 1, 0.2f},
        {0.999f, 3, 0.996f}, {1, 3, 1}, {7, 3, 1}, {NAN, 0, 0},
    };
    for (const auto& r : rows) {
        cSplinePath::Place p = path.GetPlaceByTime(r.time);
        EXPECT_EQ(r.segment, p.Segment) << r.time;
        EXPECT_NEAR(r.t, p.T, 1e-4f) << r.time;
        if (r.time >= 0 && r.time <= 1) {
            EXPECT_NEAR(r.time, path.GetTimeFromPlace(p), 1e-6f);
        }
    }
    EXPECT_EQ(path.GetValueByTime(0), path.GetValueByTime(1));  // closed: the end is the start
}

TEST(SplinePath, StraightLineHasKnownPointsAndLengths) {
    cSplineKnot k[2] = {Knot(cVec3(-1, 0, 0), cVec3(0, 0, 0), cVec3(1, 0, 0)),
                        Knot(cVec3(2, 0, 0), cVec3(3, 0, 0), cVec3(4, 0, 0))};
    cSplinePath path;
    path.Build(k, 2, false);
    EXPECT_NEAR(3.0f, path.GetTotalLength(), 1e-6f);
    EXPECT_TRUE(Near(cVec3(1.5f, 0, 0), path.GetValueByTime(0.5f), 1e-6f));
    EXPECT_TRUE(Near(cVec3(3, 0, 0), path.GetDerivativeLocal(0.3f), 1e-5f));  // uniform speed
    const float lengths[] = {-1, 0, 0.25f, 1, 2.9f, 3, 5};
    for (float s : lengths) {
        float clamped = std::min(3.0f, std::max(0.0f, s));
        EXPECT_TRUE(Near(cVec3(clamped, 0, 0), path.GetValueByLength(s), 1e-5f)) << s;
        EXPECT_NEAR(clamped / 3, path.GetPlaceByLength(s).T, 1e-6f) << s;
    }
}

// ---- Derivatives ----

TEST(SplinePath, DerivativesMatchFiniteDifferences) {
    for (bool closed : {false, true}) {
        cSplinePath path = Wave(5, closed);
        int n = path.GetSegmentCount();
        const float times[] = {0.03f, 0.2f, 0.41f, 0.66f, 0.93f};
        for (float time : times) {
            cSplinePath::Place p = path.GetPlaceByTime(time);
            const double h = 1e-3;
            cVec3 local = ToVec3((RefAt(path.GetSegment(p.Segment), p.T + h) - RefAt(path.GetSegment(p.Segment), p.T - h)) / (2 * h));
            EXPECT_TRUE(Near(local, path.GetDerivativeLocal(time), 1e-3f)) << time;
            EXPECT_TRUE(Near(local * (float)n, path.GetDerivativeGlobal(time), 1e-3f)) << time;
        }
    }
    cSegBezier<cVec3> s(cVec3(0, 0, 0), cVec3(1, 2, 0), cVec3(3, 2, 0), cVec3(4, 0, 0));
    cVec3 d2 = (s.GetDerivative(0.501f) - s.GetDerivative(0.499f)) / 0.002f;
    EXPECT_TRUE(Near(d2, s.GetSecondDerivative(0.5f), 2e-2f));
}

// ---- Arc length ----

TEST(SplinePath, ArcLengthMatchesADensePolylineWalk) {
    struct Row { const char* name; cSplineKnot a, b; };
    const Row rows[] = {
        {"s-curve", Knot(cVec3(0, 0, 0), cVec3(0, 0, 0), cVec3(5, 10, 0)), Knot(cVec3(5, -10, 3), cVec3(10, 0, 3), cVec3(10, 0, 3))},
        {"loop", Knot(cVec3(0, 0, 0), cVec3(0, 0, 0), cVec3(20, 10, 0)), Knot(cVec3(-10, 10, 0), cVec3(10, 0, 0), cVec3(0, 0, 0))},
        {"cusp", Knot(cVec3(0, 0, 0), cVec3(0, 0, 0), cVec3(10, 10, 0)), Knot(cVec3(0, 10, 0), cVec3(10, 0, 0), cVec3(0, 0, 0))},
        {"short handles", Knot(cVec3(0, 0, 0), cVec3(0, 0, 0), cVec3(0.001f, 0, 0)), Knot(cVec3(7, 7, 7), cVec3(7, 7, 7), cVec3(7, 7, 7))},
        {"tiny", Knot(cVec3(0, 0, 0), cVec3(0, 0, 0), cVec3(1e-3f, 1e-3f, 0)), Knot(cVec3(2e-3f, 0, 0), cVec3(3e-3f, 1e-3f, 0), cVec3(0, 0, 0))},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        cSplineKnot k[2] = {r.a, r.b};
        cSplinePath path;
        path.Build(k, 2, false);
        Walk walk(path, 200000);
        EXPECT_NEAR(walk.Total(), path.GetTotalLength(), 2e-5 * walk.Total());
        for (int i = 1; i < 8; i++) {
            double s = walk.Total() * i / 8;
            cSplinePath::Place p = path.GetPlaceByLengthAccurate((float)s);
            EXPECT_NEAR(s, path.GetLengthFromPlace(p), 2e-5 * walk.Total()) << i;
            EXPECT_TRUE(Near(walk.PointAt(s), path.GetValue(p), 1e-4f * (float)walk.Total(), false)) << i;
        }
    }
    cSplinePath wave = Wave(6, true);
    Walk walk(wave, 20000);
    EXPECT_NEAR(walk.Total(), wave.GetTotalLength(), 2e-5 * walk.Total());
    for (int i = 0; i < wave.GetSegmentCount(); i++) {
        float start, end;
        ASSERT_TRUE(wave.GetSegmentLengthRange(i, &start, &end));
        EXPECT_NEAR(start, wave.GetLengthFromPlace(cSplinePath::Place(i, 0)), 1e-3f);
        EXPECT_NEAR(end, wave.GetLengthFromPlace(cSplinePath::Place(i, 1)), 1e-3f);
        // The linear place lands on the right segment and inside it.
        cSplinePath::Place linear = wave.GetPlaceByLength(0.5f * (start + end));
        EXPECT_TRUE(linear.Segment == i && std::fabs(linear.T - 0.5f) < 1e-5f) << i << ": " << linear.Segment << " " << linear.T;
    }
}

// ---- Closest point ----

TEST(SplinePath, ClosestPointAgreesWithDenseSampling) {
    for (bool closed : {false, true}) {
        cSplinePath path = Wave(5, closed);
        Walk walk(path, 4000);
        cMath::Randomize(7);
        for (int i = 0; i < 60; i++) {
            cVec3 p(20 + 30 * cMath::RandRange1(), 15 * cMath::RandRange1(), 5 * cMath::RandRange1());
            float reference = walk.Distance(p);
            float accurate = (path.GetValue(path.CalcClosestPointPlaceAccurate(p, 1e-6f)) - p).Length();
            float linear = (path.GetValue(path.CalcClosestPointPlaceLinear(p)) - p).Length();
            EXPECT_NEAR(reference, accurate, 2e-3f) << p.ToString();
            EXPECT_LE(accurate, reference + 1e-4f);
            EXPECT_NEAR(reference, linear, 0.1f) << p.ToString();  // the sag of 16 chords a segment
        }
    }
}

TEST(SegBezier, ClosestPointFindsTheNearerOfTwoApproaches) {
    // A U: the point lies just off the right arm, farther from the left one.
    cSegBezier<cVec3> u(cVec3(0, 10, 0), cVec3(0, -5, 0), cVec3(10, -5, 0), cVec3(10, 10, 0));
    const struct { cVec3 p; float tMin, tMax; } rows[] = {
        {cVec3(10.5f, 8, 0), 0.9f, 1.0f}, {cVec3(-0.5f, 8, 0), 0.0f, 0.1f}, {cVec3(5, -20, 0), 0.45f, 0.55f},
        {cVec3(5, 30, 0), 0.0f, 1.0f}, {cVec3(20, 20, 0), 1.0f, 1.0f},
    };
    for (const auto& r : rows) {
        float t = u.CalcClosestPointParameterAccurate(r.p, 1e-6f);
        EXPECT_TRUE(t >= r.tMin && t <= r.tMax) << r.p.ToString() << ": " << t;
        float best = FLT_MAX;
        for (int i = 0; i <= 100000; i++) best = std::min(best, (u.GetValue(i / 100000.0f) - r.p).LengthSq());
        EXPECT_NEAR(std::sqrt(best), (u.GetValue(t) - r.p).Length(), 1e-4f);
        EXPECT_LE(u.CalcDistanceSqLowerBound(r.p), best + 1e-4f);
    }
    cSegBezier<cVec3> left, right;
    u.Split(0.3f, &left, &right);
    EXPECT_TRUE(Near(u.GetValue(0.15f), left.GetValue(0.5f), 1e-5f));
    EXPECT_TRUE(Near(u.GetValue(0.65f), right.GetValue(0.5f), 1e-5f));
    cSegBezier<cVec3> middle = u.SubSegment(0.2f, 0.6f);
    EXPECT_TRUE(Near(u.GetValue(0.3f), middle.GetValue(0.25f), 1e-4f));
}

TEST(SplinePath, BoundsHoldTheCurveTightly) {
    cSplinePath path = Wave(4, true);
    Walk walk(path, 2000);
    cBounds sampled;
    for (const cVec3& q : walk.point) sampled.AddPoint(q);
    EXPECT_TRUE(Near(sampled, path.GetBounds(), 1e-3f));
    EXPECT_TRUE(cSplinePath().GetBounds().IsEmpty());
}

// ---- New knots ----

TEST(SplinePath, KnotsFromPointsPassThroughThemAndFollowTheShape) {
    // On a circle of radius 10: through every point and near the circle between them.
    const int n = 12;
    cVec3 circle[n];
    for (int i = 0; i < n; i++) circle[i] = cVec3(10 * std::cos(i * 6.2831853f / n), 10 * std::sin(i * 6.2831853f / n), 0);
    cList<cSplineKnot> k;
    cSplinePath::KnotsFromPoints(circle, n, true, &k);
    ASSERT_EQ(n, k.Count());
    cSplinePath path = FromKnots(k, true);
    for (int i = 0; i < n; i++) EXPECT_EQ(circle[i], path.GetValue(cSplinePath::Place(i, 0)));
    for (int i = 0; i <= 500; i++) EXPECT_NEAR(10.0f, path.GetValueByTime(i / 500.0f).Length(), 0.05f);
    EXPECT_NEAR(62.83f, path.GetTotalLength(), 0.1f);

    // Points on a line, unevenly spaced: a straight path without overshoot.
    cVec3 line[4] = {cVec3(0, 0, 0), cVec3(1, 1, 1), cVec3(5, 5, 5), cVec3(6, 6, 6)};
    cSplinePath::KnotsFromPoints(line, 4, false, &k);
    path = FromKnots(k, false);
    EXPECT_NEAR(6 * std::sqrt(3.0f), path.GetTotalLength(), 1e-4f);
    cBounds b = path.GetBounds();
    EXPECT_TRUE(Near(cVec3(0, 0, 0), b.min, 1e-5f) && Near(cVec3(6, 6, 6), b.max, 1e-5f));

    cSplinePath::KnotsFromPoints(line, 1, false, &k);
    ASSERT_EQ(1, k.Count());
    EXPECT_TRUE(k[0].CV0 == line[0] && k[0].CV1 == line[0]);
    cSplinePath::KnotsFromPoints(nullptr, 3, false, &k);
    EXPECT_EQ(0, k.Count());
}

TEST(SplinePath, UniformSamplingSpacesKnotsEquallyAlongTheSameCurve) {
    const struct { bool closed; int count; } rows[] = {{false, 2}, {false, 9}, {false, 40}, {true, 3}, {true, 24}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.count << (r.closed ? " closed" : " open"));
        cSplinePath path = Wave(5, r.closed);
        cList<cSplineKnot> k;
        ASSERT_TRUE(path.SampleUniform(r.count, &k));
        ASSERT_EQ(r.count, k.Count());
        float step = path.GetTotalLength() / (r.closed ? r.count : r.count - 1);
        for (int i = 0; i < r.count; i++) {
            // Where each knot lies along the old curve.
            float s = path.GetLengthFromPlace(path.CalcClosestPointPlaceAccurate(k[i].EP, 1e-6f));
            EXPECT_NEAR(step * i, s, 2e-3f * path.GetTotalLength()) << i;
        }
        cSplinePath made = FromKnots(k, r.closed);
        if (r.count == 40) {  // the closing segment of the wave turns too sharply for coarse steps
            EXPECT_LT(Deviation(path, made, 400), 0.05f);
            EXPECT_NEAR(path.GetTotalLength(), made.GetTotalLength(), 2e-3f * path.GetTotalLength());
        }
    }
    cSplinePath path = Wave(3, false);
    cList<cSplineKnot> k;
    k.Add(cSplineKnot());
    EXPECT_FALSE(path.SampleUniform(1, &k) || Wave(3, true).SampleUniform(2, &k) || Wave(1, false).SampleUniform(5, &k));
    EXPECT_EQ(1, k.Count());  // untouched by the failures
}

TEST(SplinePath, AdaptiveSamplingKeepsTheErrorBoundAndTheCorners) {
    // A square with rounded sides turned into a corner at each knot.
    cList<cSplineKnot> square;
    const cVec3 c[4] = {cVec3(0, 0, 0), cVec3(20, 0, 0), cVec3(20, 20, 0), cVec3(0, 20, 0)};
    for (int i = 0; i < 4; i++) {
        cVec3 in = c[(i + 3) % 4] - c[i], out = c[(i + 1) % 4] - c[i];
        square.Add(Knot(c[i] + in * 0.3f + cVec3(0, 0, 2), c[i], c[i] + out * 0.3f + cVec3(0, 0, 2)));
    }
    cSplinePath path = FromKnots(square, true);
    int previous = 0;
    const float errors[] = {1.0f, 0.01f, 1e-6f};
    for (float maxErrSq : errors) {
        cList<cSplineKnot> k;
        ASSERT_TRUE(path.SampleAdaptive(maxErrSq, &k));
        cSplinePath made = FromKnots(k, true);
        EXPECT_LE(Deviation(path, made, 600), std::sqrt(maxErrSq) * 1.5f) << maxErrSq;
        EXPECT_GE(k.Count(), previous) << maxErrSq;
        previous = k.Count();
        for (const cVec3& corner : c) {
            bool kept = false;
            for (const cSplineKnot& knot : k) kept |= (knot.EP - corner).Length() < 1e-3f;
            EXPECT_TRUE(kept) << maxErrSq << " " << corner.ToString();
        }
    }
    EXPECT_GT(previous, 8);  // corners alone at 1.0, more as the bound tightens

    // A straight open path needs only its ends; a dense one collapses back to them.
    cVec3 line[30];
    for (int i = 0; i < 30; i++) line[i] = cVec3((float)i, 2.0f * i, 0);
    cList<cSplineKnot> k;
    cSplinePath::KnotsFromPoints(line, 30, false, &k);
    cSplinePath dense = FromKnots(k, false);
    ASSERT_TRUE(dense.SampleAdaptive(1e-6f, &k));
    EXPECT_EQ(2, k.Count());
    EXPECT_NEAR(dense.GetTotalLength(), FromKnots(k, false).GetTotalLength(), 1e-3f);

    EXPECT_FALSE(dense.SampleAdaptive(-1, &k) || dense.SampleAdaptive(NAN, &k) || cSplinePath().SampleAdaptive(1, &k));
    EXPECT_EQ(2, k.Count());
}

TEST(SplinePath, PointsThatAreNotNumbersGiveAnswersNotHangs) {
    const float bad[] = {NAN, INFINITY, 3e38f};
    for (float v : bad) {
        cSplineKnot k[3] = {Knot(cVec3(0, 0, 0), cVec3(1, 0, 0), cVec3(2, 0, 0)), Knot(cVec3(v, 0, 0), cVec3(4, v, 0), cVec3(5, 0, v)),
                            Knot(cVec3(-v, 1, 0), cVec3(-v, 2, 0), cVec3(9, 9, 9))};
        cSplinePath path;
        path.Build(k, 3, true);
        path.GetValueByLength(5);
        path.CalcClosestPointPlaceAccurate(cVec3(1, 1, 1), 1e-6f);
        path.CalcClosestPointPlaceLinear(cVec3(1, 1, 1));
        path.GetBounds();
        cList<cSplineKnot> out;
        EXPECT_TRUE(!path.SampleUniform(8, &out) && !path.SampleAdaptive(0, &out) && out.Count() == 0) << v;
    }
    EXPECT_FALSE(Wave(3, false).SampleUniform(2000000, nullptr));
}
