// cSeg: set-up, point projection and closest points of segments, rays and
// lines, checked against brute-force search.
#include <gtest/gtest.h>

#include <cmath>

#include "zozud/math/Math.h"
#include "zozud/math/Seg.h"

using namespace zozud;

typedef cSeg::ConsiderAs CA;

TEST(Seg, SetUpAndZeroSegments) {
    cSeg s;
    s.SetFromEnds(cVec3(1, 2, 3), cVec3(1, 2, 3), 0.5f);
    EXPECT_TRUE(s.IsZero());
    EXPECT_EQ(s.invLength, 1);
    EXPECT_EQ(s.direction, cVec3(0, 0, 0));
    EXPECT_EQ(s.radius, 0.5f);
    cVec3 q;
    EXPECT_EQ(s.ProjectPoint(CA::Segment, cVec3(9, 9, 9), &q), 0);
    EXPECT_EQ(q, cVec3(1, 2, 3));
    s.SetFromEnds(cVec3(0, 0, 0), cVec3(0, 0, 1e-11f));
    EXPECT_TRUE(s.IsZero());
    EXPECT_EQ(s.invLength, 1);

    s.SetFromEnds(cVec3(1, 0, 0), cVec3(1, 0, 4));
    EXPECT_EQ(s.length, 4);
    EXPECT_EQ(s.invLength, 0.25f);
    EXPECT_EQ(s.direction, cVec3(0, 0, 1));
    EXPECT_EQ(s.radius, 0.001f);
    cSeg r;
    r.SetFromRay(cVec3(0, 1, 0), cVec3(0, 0, -2));
    EXPECT_EQ(r.end, cVec3(0, 1, -2));
    EXPECT_EQ(r.length, 2);
    EXPECT_EQ(r.direction, cVec3(0, 0, -1));
    EXPECT_EQ(r.PointAt(0.5f), cVec3(0, 1, -1));
}

TEST(Seg, ProjectPointByFlags) {
    cSeg s(cVec3(0, 0, 0), cVec3(4, 0, 0));
    cVec3 q;
    EXPECT_EQ(s.ProjectPoint(CA::Segment, cVec3(1, 5, 0), &q), 0.25f);
    EXPECT_EQ(q, cVec3(1, 0, 0));
    EXPECT_EQ(s.ProjectPoint(CA::Segment, cVec3(-2, 1, 0), &q), -0.5f);  // t itself is not clamped
    EXPECT_EQ(q, cVec3(0, 0, 0));
    EXPECT_EQ(s.ProjectPoint(CA::Line, cVec3(-2, 1, 0), &q), -0.5f);
    EXPECT_EQ(q, cVec3(-2, 0, 0));
    s.ProjectPoint(CA::Ray, cVec3(-2, 1, 0), &q);
    EXPECT_EQ(q, cVec3(0, 0, 0));
    s.ProjectPoint(CA::Ray, cVec3(10, 1, 0), &q);
    EXPECT_EQ(q, cVec3(10, 0, 0));
    s.ProjectPoint(CA::Segment, cVec3(10, 1, 0), &q);
    EXPECT_EQ(q, cVec3(4, 0, 0));
    s.ProjectPoint(CA::ClampEnd, cVec3(-3, 0, 0), &q);
    EXPECT_EQ(q, cVec3(-3, 0, 0));
    EXPECT_EQ(cSeg::Distance(CA::Segment, s, cVec3(7, 4, 0)), 5);
    EXPECT_EQ(cSeg::Distance(CA::Line, s, cVec3(7, 4, 0)), 4);
}

TEST(Seg, ClosestPointsKnownCases) {
    cVec3 pa, pb;
    float ta, tb;
    // Skew perpendicular segments crossing over each other.
    cSeg a(cVec3(-1, 0, 0), cVec3(1, 0, 0)), b(cVec3(0, -1, 2), cVec3(0, 1, 2));
    EXPECT_FLOAT_EQ(cSeg::ClosestPoints(CA::Segment, a, b, &pa, &pb, &ta, &tb), 2);
    EXPECT_EQ(pa, cVec3(0, 0, 0));
    EXPECT_EQ(pb, cVec3(0, 0, 2));
    EXPECT_EQ(ta, 0.5f);
    // Only the lines meet there; the segments meet at their ends.
    cSeg c(cVec3(2, 0, 0), cVec3(3, 0, 0)), d(cVec3(0, 2, 0), cVec3(0, 3, 0));
    EXPECT_FLOAT_EQ(cSeg::ClosestPoints(CA::Segment, c, d, &pa, &pb), std::sqrt(8.0f));
    EXPECT_EQ(pa, cVec3(2, 0, 0));
    EXPECT_EQ(pb, cVec3(0, 2, 0));
    EXPECT_NEAR(cSeg::ClosestPoints(CA::Line, c, d, &pa, &pb), 0, 1e-6f);
    EXPECT_EQ(pa, cVec3(0, 0, 0));
    EXPECT_NEAR(cSeg::ClosestPoints(CA::Ray, c, d, &pa, &pb), std::sqrt(8.0f), 1e-6f);
    // Parallel segments: any pair at the right distance, on both segments.
    cSeg e(cVec3(0, 0, 0), cVec3(4, 0, 0)), f(cVec3(2, 3, 0), cVec3(9, 3, 0));
    EXPECT_FLOAT_EQ(cSeg::ClosestPoints(CA::Segment, e, f, &pa, &pb, &ta, &tb), 3);
    EXPECT_NEAR((pa - pb).Length(), 3, 1e-6f);
    EXPECT_TRUE(ta >= 0 && ta <= 1 && tb >= 0 && tb <= 1);
    cSeg g(cVec3(6, 1, 0), cVec3(8, 1, 0));  // parallel and apart along the axis
    EXPECT_FLOAT_EQ(cSeg::ClosestPoints(CA::Segment, e, g, &pa, &pb), std::sqrt(5.0f));
    // A zero segment against a segment, and two zero segments.
    cSeg p(cVec3(1, 1, 0), cVec3(1, 1, 0));
    EXPECT_FLOAT_EQ(cSeg::ClosestPoints(CA::Segment, p, e, &pa, &pb), 1);
    EXPECT_EQ(pb, cVec3(1, 0, 0));
    EXPECT_FLOAT_EQ(cSeg::ClosestPoints(CA::Segment, e, p, &pa, &pb), 1);
    EXPECT_FLOAT_EQ(cSeg::Distance(CA::Segment, p, cSeg(cVec3(1, 4, 0), cVec3(1, 4, 0))), 3);
}

// Dense sampling of both parameter ranges: our answer may not be beaten.
static float BruteForce(const cSeg& a, const cSeg& b, float lo, float hi) {
    float best = 1e30f;
    const int n = 300;
    for (int i = 0; i <= n; i++) {
        float s = lo + (hi - lo) * i / n;
        cVec3 p = a.start + (a.end - a.start) * s;
        for (int j = 0; j <= n; j++) {
            float t = lo + (hi - lo) * j / n;
            best = std::fmin(best, (p - (b.start + (b.end - b.start) * t)).Length());
        }
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
        // Rays: sampled far enough along both.
        float dr = cSeg::ClosestPoints(CA::Ray, a, b, &pa, &pb, &ta, &tb);
        ASSERT_GE(ta, 0);
        ASSERT_GE(tb, 0);
        ASSERT_LE(dr, d + 1e-5f);
        ASSERT_LE(dr, BruteForce(a, b, 0, 20) + 1e-5f) << i;
        // Lines: the connection is perpendicular to both (when they are not parallel).
        float dl = cSeg::ClosestPoints(CA::Line, a, b, &pa, &pb);
        ASSERT_LE(dl, dr + 1e-5f);
        if (a.direction.Cross(b.direction).Length() > 0.1f) {
            ASSERT_NEAR((pa - pb).Dot(a.direction), 0, 1e-4f);
            ASSERT_NEAR((pa - pb).Dot(b.direction), 0, 1e-4f);
        }
    }
}
