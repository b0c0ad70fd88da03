// cSeg (against brute-force search) and cLine<T, N>.
#include "math/MathCheck.h"
#include "zozud/math/Line.h"
#include "zozud/math/Seg.h"

using namespace mathtest;

typedef cSeg::ConsiderAs CA;

TEST(Seg, SetUpAndProjectionByFlags) {
    cSeg s;
    cVec3 q;
    s.SetFromEnds(cVec3(1, 2, 3), cVec3(1, 2, 3), 0.5f);  // equal ends
    EXPECT_TRUE(s.IsZero() && s.invLength == 1 && s.direction == cVec3(0, 0, 0) && s.radius == 0.5f);
    EXPECT_EQ(s.ProjectPoint(CA::Segment, cVec3(9, 9, 9), &q), 0);
    EXPECT_EQ(q, cVec3(1, 2, 3));
    s.SetFromEnds(cVec3(0, 0, 0), cVec3(0, 0, 1e-11f));
    EXPECT_TRUE(s.IsZero() && s.invLength == 1);
    cSeg r;
    r.SetFromRay(cVec3(0, 1, 0), cVec3(0, 0, -2));
    EXPECT_TRUE(r.end == cVec3(0, 1, -2) && r.length == 2 && r.invLength == 0.5f && r.direction == cVec3(0, 0, -1));
    EXPECT_EQ(r.radius, 0.001f);

    s = cSeg(cVec3(0, 0, 0), cVec3(4, 0, 0));
    const struct {
        int consider;
        cVec3 p, want;
    } rows[] = {{CA::Segment, cVec3(1, 5, 0), cVec3(1, 0, 0)}, {CA::Segment, cVec3(-2, 1, 0), cVec3(0, 0, 0)},
                {CA::Line, cVec3(-2, 1, 0), cVec3(-2, 0, 0)},  {CA::Ray, cVec3(-2, 1, 0), cVec3(0, 0, 0)},
                {CA::Ray, cVec3(10, 1, 0), cVec3(10, 0, 0)},   {CA::Segment, cVec3(10, 1, 0), cVec3(4, 0, 0)},
                {CA::ClampEnd, cVec3(-3, 0, 0), cVec3(-3, 0, 0)}};
    for (const auto& row : rows) {
        EXPECT_EQ(s.ProjectPoint(row.consider, row.p, &q), row.p.x / 4);  // t itself is never clamped
        EXPECT_EQ(q, row.want) << row.p.x;
    }
    EXPECT_EQ(cSeg::Distance(CA::Segment, s, cVec3(7, 4, 0)), 5);
    EXPECT_EQ(cSeg::Distance(CA::Line, s, cVec3(7, 4, 0)), 4);
}

TEST(Seg, ClosestPointsOfParallelAndZeroSegments) {
    cVec3 pa, pb;
    float ta, tb;
    cSeg e(cVec3(0, 0, 0), cVec3(4, 0, 0)), f(cVec3(2, 3, 0), cVec3(9, 3, 0)), p(cVec3(1, 1, 0), cVec3(1, 1, 0));
    EXPECT_FLOAT_EQ(cSeg::ClosestPoints(CA::Segment, e, f, &pa, &pb, &ta, &tb), 3);  // any pair on both, 3 apart
    EXPECT_TRUE(ta >= 0 && ta <= 1 && tb >= 0 && tb <= 1 && std::fabs((pa - pb).Length() - 3) < 1e-6f);
    EXPECT_FLOAT_EQ(cSeg::ClosestPoints(CA::Segment, e, cSeg(cVec3(6, 1, 0), cVec3(8, 1, 0)), &pa, &pb), std::sqrt(5.0f));
    EXPECT_FLOAT_EQ(cSeg::ClosestPoints(CA::Segment, p, e, &pa, &pb), 1);
    EXPECT_EQ(pb, cVec3(1, 0, 0));
    EXPECT_FLOAT_EQ(cSeg::Distance(CA::Segment, p, cSeg(cVec3(1, 4, 0), cVec3(1, 4, 0))), 3);
}

// Dense sampling of both parameter ranges: our answer may not be beaten.
static float BruteForce(const cSeg& a, const cSeg& b, float lo, float hi) {
    float best = 1e30f;
    for (int i = 0; i <= 300; i++) {
        cVec3 p = a.start + (a.end - a.start) * (lo + (hi - lo) * i / 300);
        for (int j = 0; j <= 300; j++) best = std::fmin(best, (p - (b.start + (b.end - b.start) * (lo + (hi - lo) * j / 300))).Length());
    }
    return best;
}

TEST(Seg, ClosestPointsAgainstBruteForce) {
    cMath::Randomize(61);
    for (int i = 0; i < 120; i++) {
        cSeg a(cVec3::RandRange1() * 5, cVec3::RandRange1() * 5), b(cVec3::RandRange1() * 5, cVec3::RandRange1() * 5);
        if (i % 4 == 0) b.SetFromEnds(a.start + cVec3(0.3f, 0.2f, 0), a.end + cVec3(0.31f, 0.2f, 0.001f));  // nearly parallel
        cVec3 pa, pb;
        float ta, tb;
        float d = cSeg::ClosestPoints(CA::Segment, a, b, &pa, &pb, &ta, &tb);
        ASSERT_TRUE(ta >= 0 && ta <= 1 && tb >= 0 && tb <= 1);
        ASSERT_NEAR((pa - pb).Length(), d, 1e-5f);
        ASSERT_NEAR((a.start + (a.end - a.start) * ta - pa).Length(), 0, 1e-5f);
        ASSERT_LE(d, BruteForce(a, b, 0, 1) + 1e-5f) << i;
        float dr = cSeg::ClosestPoints(CA::Ray, a, b, &pa, &pb, &ta, &tb);  // rays: sampled far along both
        ASSERT_TRUE(ta >= 0 && tb >= 0 && dr <= d + 1e-5f);
        ASSERT_LE(dr, BruteForce(a, b, 0, 20) + 1e-5f) << i;
        // Lines: the connection is perpendicular to both, unless they are parallel.
        ASSERT_LE(cSeg::ClosestPoints(CA::Line, a, b, &pa, &pb), dr + 1e-5f);
        if (a.direction.Cross(b.direction).Length() > 0.1f) {
            ASSERT_NEAR((pa - pb).Dot(a.direction), 0, 1e-4f);
            ASSERT_NEAR((pa - pb).Dot(b.direction), 0, 1e-4f);
        }
    }
}

typedef cVec<float, 2> V2;
typedef cVec<float, 3> V3;
typedef cVec<int, 2> I2;
typedef cVec<int, 3> I3;

TEST(Line, DistancesPointsAndProjections) {
    cLine<float, 3> line;
    cList<float> d;
    float t = -1, dist = -1;
    int index = -1;
    EXPECT_TRUE(line.Distances(&d) == 0 && line.PointAtDistance(1).IsUndefined());
    EXPECT_FALSE(line.NearestProjection(V3(0, 0, 0), &t, &dist, &index));
    for (V3 p : {V3(0, 0, 0), V3(10, 0, 0), V3(10, 10, 0)}) line.Points.Add(p);
    EXPECT_EQ(line.Distances(&d), 20);
    EXPECT_TRUE(d.Count() == 3 && d[0] == 0 && d[1] == 10 && d[2] == 20);
    EXPECT_EQ(line.PointAtDistance(15), V3(10, 5, 0));
    EXPECT_TRUE(line.PointAtDistance(-1) == V3(0, 0, 0) && line.PointAtDistance(99) == V3(10, 10, 0));
    ASSERT_TRUE(line.NearestProjection(V3(9, 5, 0), &t, &dist, &index));
    EXPECT_TRUE(index == 1 && t == 0.5f && dist == 1);
    ASSERT_TRUE(line.NearestProjection(V3(4, -2, 3), &t, &dist, &index));
    EXPECT_TRUE(index == 0 && std::fabs(t - 0.4f) < 1e-6f && std::fabs(dist - std::sqrt(13.0f)) < 1e-5f);
    // Integer points round halves up; a zero-length piece is passed over.
    EXPECT_EQ((cLine<int, 2>::Point(I2(0, 0), I2(3, -3), 0.5f)), I2(2, -1));
    cLine<int, 2> il;
    for (I2 p : {I2(0, 0), I2(0, 0), I2(4, 0)}) il.Points.Add(p);
    EXPECT_EQ(il.PointAtDistance(1.4f), I2(1, 0));
    ASSERT_TRUE(il.NearestProjection(I2(1, 3), &t, &dist, &index));
    EXPECT_TRUE(index == 1 && t == 0.25f && dist == 3);
}

TEST(Line, ClockwiseSort) {
    cList<V2> pts;
    for (V2 p : {V2(-1, 0), V2(0, -1), V2(1, 1), V2(0, 1), V2(-1, 1), V2(1, 0), V2(1, -1), V2(-1, -1)}) pts.Add(p);
    pts.Sort(cLine<float, 2>::CompareClockwise(V2(0, 0)));
    const V2 want[8] = {V2(0, 1), V2(1, 1), V2(1, 0), V2(1, -1), V2(0, -1), V2(-1, -1), V2(-1, 0), V2(-1, 1)};
    for (int i = 0; i < 8; i++) EXPECT_EQ(pts[i], want[i]) << i;
    // Integer points around another centre seen from +Z (z does not matter; the nearer of
    // two in one direction first), then from -Z, where the turn reverses and twelve is -Y.
    cList<I3> ip;
    for (I3 p : {I3(10, 8, 0), I3(12, 10, 5), I3(10, 14, 0), I3(10, 12, 0), I3(8, 10, -3)}) ip.Add(p);
    const I3 order[2][5] = {{I3(10, 12, 0), I3(10, 14, 0), I3(12, 10, 5), I3(10, 8, 0), I3(8, 10, -3)},
                            {I3(10, 8, 0), I3(12, 10, 5), I3(10, 12, 0), I3(10, 14, 0), I3(8, 10, -3)}};
    for (int k = 0; k < 2; k++) {
        ip.Sort(cLine<int, 3>::CompareClockwise(V3(10, 10, 0), cVec3(0, 0, k ? -1.0f : 1.0f)));
        for (int i = 0; i < 5; i++) EXPECT_EQ(ip[i], order[k][i]) << k << " " << i;
    }
}
