// cPlane and cSphere: distances, hits, mirroring and sphere fitting.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "zozud/math/Bounds.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Math.h"
#include "zozud/math/Plane.h"
#include "zozud/math/Quat.h"
#include "zozud/math/Sphere.h"

using namespace zozud;

static float Dist(const cVec3& a, const cVec3& b) { return (a - b).Length(); }

TEST(Plane, DistancesAndHits) {
    cPlane p;
    ASSERT_TRUE(p.FromPoints(cVec3(0, 2, 0), cVec3(1, 2, 0), cVec3(0, 2, -1)));  // counter-clockwise seen from above
    EXPECT_EQ(p.normal, cVec3(0, 1, 0));
    EXPECT_EQ(p.d, -2);
    EXPECT_EQ(p.Distance(cVec3(5, 5, 5)), 3);
    EXPECT_EQ(p.Distance(cVec3(5, -1, 5)), -3);
    EXPECT_EQ(p.Project(cVec3(3, 7, 4)), cVec3(3, 2, 4));
    EXPECT_FALSE(p.FromPoints(cVec3(0, 0, 0), cVec3(1, 1, 1), cVec3(2, 2, 2)));
    float t = 0;
    ASSERT_TRUE(p.RayIntersection(cVec3(1, 10, 1), cVec3(0, -2, 0), &t));
    EXPECT_EQ(t, 4);
    EXPECT_FALSE(p.RayIntersection(cVec3(1, 10, 1), cVec3(1, 0, 0), &t));
    EXPECT_EQ(cPlane::PlaneHit(cVec3(0, 0, 0), cVec3(0, 8, 4), p), cVec3(0, 2, 1));
    EXPECT_EQ(cPlane::PlaneHit(cVec3(0, 1, 0), cVec3(5, 1, 0), p), cVec3(0, 1, 0));  // parallel: a
    cPlane q(cVec3(0, 0, 2), 4);
    EXPECT_EQ(q.Normalize(), 2);
    EXPECT_EQ(q.ToVec4(), cVec4(0, 0, 1, 2));
    cPlane z(cVec3(0, 0, 0), 1);
    EXPECT_EQ(z.Normalize(), 0);
    EXPECT_EQ(z.d, 1);
}

TEST(Plane, BelowPlaneOfTransformedBox) {
    cPlane ground(cVec3(0, 1, 0), 0);
    cBounds box(cVec3(-1, -1, -1), cVec3(1, 1, 1));
    EXPECT_FALSE(ground.BelowPlane(box, cMat4::Identity));
    EXPECT_TRUE(ground.BelowPlane(box, cMat4::Translation(0, -1.5f, 0)));
    EXPECT_FALSE(ground.BelowPlane(box, cMat4::Translation(0, -1.0f, 0)));  // touching is not below
    // Turned 45 degrees, the corner reaches higher.
    EXPECT_FALSE(ground.BelowPlane(box, cMat4::RotationZ(45) * cMat4::Translation(0, -1.3f, 0)));
    EXPECT_TRUE(ground.BelowPlane(box, cMat4::RotationZ(45) * cMat4::Translation(0, -1.5f, 0)));
    EXPECT_FALSE(ground.BelowPlane(cBounds::Empty, cMat4::Translation(0, -9, 0)));
}

TEST(Plane, MirroringIsAReflection) {
    cMath::Randomize(51);
    for (int i = 0; i < 500; i++) {
        cVec3 n = cVec3::RandNormal();
        cPlane p(n, cMath::RandRange1() * 5);
        cVec3 x = cVec3::RandRange1() * 10;
        cVec3 m = p.MirrorPoint(x);
        ASSERT_NEAR(p.Distance(m), -p.Distance(x), 1e-4f);
        ASSERT_NEAR(Dist(p.MirrorPoint(m), x), 0, 1e-4f);
        // H R H as a matrix: H = I - 2 n n^T.
        cMat3 h(1 - 2 * n.x * n.x, -2 * n.x * n.y, -2 * n.x * n.z,
                -2 * n.y * n.x, 1 - 2 * n.y * n.y, -2 * n.y * n.z,
                -2 * n.z * n.x, -2 * n.z * n.y, 1 - 2 * n.z * n.z);
        cQuat q = cQuat(cMath::RandRange1(), cMath::RandRange1(), cMath::RandRange1(), cMath::RandRange1()).ToNormal();
        cMat3 want = h * q.ToMat3() * h, got = p.MirrorOrient(q).ToMat3();
        for (int k = 0; k < 9; k++) ASSERT_NEAR(got.m[k], want.m[k], 1e-5f);
        ASSERT_NEAR(p.MirrorOrient(q).Length(), 1, 1e-5f);
    }
}

TEST(Sphere, DistanceToPlane) {
    cPlane ground(cVec3(0, 1, 0), 0);
    EXPECT_EQ(cSphere(cVec3(0, 0.5f, 0), 1).SignedDistanceToPlane(ground), 0);
    EXPECT_EQ(cSphere(cVec3(0, 3, 0), 1).SignedDistanceToPlane(ground), 2);
    EXPECT_EQ(cSphere(cVec3(0, -3, 0), 1).SignedDistanceToPlane(ground), -2);
    EXPECT_EQ(cSphere(cVec3(0, -1, 0), 1).SignedDistanceToPlane(ground), 0);
}

TEST(Sphere, RayHits) {
    cSphere s(cVec3(0, 0, 0), 1);
    float t0, t1;
    ASSERT_TRUE(s.RayIntersection(cVec3(-5, 0, 0), cVec3(1, 0, 0), &t0, &t1));
    EXPECT_FLOAT_EQ(t0, 4);
    EXPECT_FLOAT_EQ(t1, 6);
    ASSERT_TRUE(s.RayIntersection(cVec3(-5, 0, 0), cVec3(2, 0, 0), &t0, &t1));  // units of |dir|
    EXPECT_FLOAT_EQ(t0, 2);
    ASSERT_TRUE(s.RayIntersection(cVec3(0, 0, 0), cVec3(0, 1, 0), &t0, &t1));   // from inside
    EXPECT_FLOAT_EQ(t0, -1);
    EXPECT_FLOAT_EQ(t1, 1);
    EXPECT_FALSE(s.RayIntersection(cVec3(5, 0, 0), cVec3(1, 0, 0), &t0, &t1));  // behind
    EXPECT_FALSE(s.RayIntersection(cVec3(-5, 1.01f, 0), cVec3(1, 0, 0), &t0, &t1));
    EXPECT_FALSE(s.RayIntersection(cVec3(-5, 0, 0), cVec3(0, 0, 0), &t0, &t1));
    ASSERT_TRUE(s.RayIntersection(cVec3(-5, 1, 0), cVec3(1, 0, 0), &t0, &t1));   // grazing
    EXPECT_FLOAT_EQ(t0, 5);
    EXPECT_FLOAT_EQ(t1, 5);
    // Far away and small: no cancellation.
    cSphere far(cVec3(1e4f, 0, 0), 1e-2f);
    ASSERT_TRUE(far.RayIntersection(cVec3(0, 0, 0), cVec3(1, 0, 0), &t0, &t1));
    EXPECT_NEAR(t0, 1e4f - 1e-2f, 2e-3f);

    struct Item {
        int tag;
        cSphere sphere;
    };
    Item items[3] = {{1, cSphere(cVec3(10, 0, 0), 1)}, {2, cSphere(cVec3(5, 0, 0), 1)}, {3, cSphere(cVec3(5, 5, 0), 1)}};
    int index = -1;
    cVec3 point, normal;
    ASSERT_TRUE(cSphere::RayIntersection(&items[0].sphere, 3, sizeof(Item), cVec3(0, 0, 0), cVec3(1, 0, 0), &index,
                                         &point, &normal));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(point, cVec3(4, 0, 0));
    EXPECT_EQ(normal, cVec3(-1, 0, 0));
    cSphere packed[2] = {cSphere(cVec3(0, 0, 0), 3), cSphere(cVec3(2, 0, 0), 0.5f)};
    ASSERT_TRUE(cSphere::RayIntersection(packed, 2, 0, cVec3(0, 0, 0), cVec3(1, 0, 0), &index, &point, nullptr));
    EXPECT_EQ(index, 1);  // from inside the big one, the small one is nearer
    EXPECT_FALSE(cSphere::RayIntersection(packed, 0, 0, cVec3(0, 0, 0), cVec3(1, 0, 0), &index, &point, &normal));
    EXPECT_FALSE(cSphere::RayIntersection(packed, 2, 0, cVec3(0, 9, 0), cVec3(1, 0, 0), &index, nullptr, nullptr));

    EXPECT_TRUE(s.LineIntersection(cVec3(-2, 0.5f, 0), cVec3(2, 0.5f, 0)));
    EXPECT_FALSE(s.LineIntersection(cVec3(-2, 1.5f, 0), cVec3(2, 1.5f, 0)));
    EXPECT_FALSE(s.LineIntersection(cVec3(2, 0, 0), cVec3(3, 0, 0)));  // the line would, the segment does not
    EXPECT_TRUE(s.LineIntersection(cVec3(0.5f, 0, 0), cVec3(0.5f, 0, 0)));
}

TEST(Sphere, ThroughFourPoints) {
    cSphere s;
    ASSERT_TRUE(s.FromPoints(cVec3(1, 1, 1), cVec3(1, -1, -1), cVec3(-1, 1, -1), cVec3(-1, -1, 1)));
    EXPECT_NEAR(Dist(s.center, cVec3(0, 0, 0)), 0, 1e-6f);
    EXPECT_NEAR(s.radius, std::sqrt(3.0f), 1e-6f);
    cMath::Randomize(52);
    for (int i = 0; i < 200; i++) {
        cVec3 c = cVec3::RandRange1() * 100;
        float r = 0.1f + cMath::Rand01() * 50;
        cVec3 p[4];
        for (cVec3& x : p) x = c + cVec3::RandNormal() * r;
        if (!s.FromPoints(p[0], p[1], p[2], p[3])) continue;  // nearly flat draws
        ASSERT_NEAR(s.radius, r, 1e-2f * r);
    }
    EXPECT_FALSE(s.FromPoints(cVec3(0, 0, 0), cVec3(1, 0, 0), cVec3(0, 1, 0), cVec3(1, 1, 0)));  // coplanar
    EXPECT_FALSE(s.FromPoints(cVec3(0, 0, 0), cVec3(0, 0, 0), cVec3(0, 1, 0), cVec3(1, 1, 1)));
}

// The centre of the smallest enclosing sphere minimises the largest distance
// (a convex function): no small move of the centre may lower it.
static void ExpectSmallest(const std::vector<cVec3>& pts, const cSphere& s, bool flat) {
    double worst = 0;
    for (const cVec3& p : pts) {
        double dx = double(p.x) - s.center.x, dy = double(p.y) - s.center.y, dz = double(p.z) - s.center.z;
        worst = std::fmax(worst, std::sqrt(dx * dx + dy * dy + dz * dz));
    }
    ASSERT_LE(worst, double(s.radius));                      // everything inside
    ASSERT_NEAR(worst, s.radius, 1e-5 * (1 + s.radius));     // and the radius is no larger than needed
    const double step = 1e-3 * (1 + s.radius);
    for (int k = 0; k < 26; k++) {
        double d[3] = {double(k % 3) - 1, double(k / 3 % 3) - 1, double(k / 9) - 1};
        if (flat) d[2] = 0;
        double len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        if (len == 0) continue;
        double c[3] = {s.center.x + d[0] / len * step, s.center.y + d[1] / len * step, s.center.z + d[2] / len * step};
        double moved = 0;
        for (const cVec3& p : pts) {
            double dx = p.x - c[0], dy = p.y - c[1], dz = p.z - c[2];
            moved = std::fmax(moved, std::sqrt(dx * dx + dy * dy + dz * dz));
        }
        ASSERT_GE(moved, worst - 1e-6 * (1 + s.radius));
    }
}

TEST(Sphere, SmallestAroundPointSets) {
    cSphere s;
    cVec3 two[2] = {cVec3(0, 0, 0), cVec3(4, 0, 0)};
    s.FromPoints(two, 2);
    EXPECT_NEAR(Dist(s.center, cVec3(2, 0, 0)), 0, 1e-6f);
    EXPECT_NEAR(s.radius, 2, 1e-6f);
    // Obtuse triangle: the long edge is the diameter, not the circumcircle.
    cVec3 obtuse[3] = {cVec3(0, 0, 0), cVec3(10, 0, 0), cVec3(5, 1, 0)};
    s.FromPoints(obtuse, 3);
    EXPECT_NEAR(s.radius, 5, 1e-5f);
    // Equilateral triangle: the circumcircle.
    cVec3 eq[3] = {cVec3(0, 0, 0), cVec3(2, 0, 0), cVec3(1, std::sqrt(3.0f), 0)};
    s.FromPoints(eq, 3);
    EXPECT_NEAR(s.radius, 2 / std::sqrt(3.0f), 1e-5f);
    // One point, repeated points, collinear points.
    cVec3 same[4] = {cVec3(1, 2, 3), cVec3(1, 2, 3), cVec3(1, 2, 3), cVec3(1, 2, 3)};
    s.FromPoints(same, 4);
    EXPECT_EQ(s.center, cVec3(1, 2, 3));
    EXPECT_EQ(s.radius, 0);
    cVec3 line[5] = {cVec3(0, 0, 0), cVec3(1, 1, 1), cVec3(3, 3, 3), cVec3(2, 2, 2), cVec3(-1, -1, -1)};
    s.FromPoints(line, 5);
    EXPECT_NEAR(s.radius, 2 * std::sqrt(3.0f), 1e-5f);
    s.FromPoints(line, 0);
    EXPECT_EQ(s.radius, -1);
    // Square in the plane.
    cVec2 sq[4] = {cVec2(0, 0), cVec2(2, 0), cVec2(2, 2), cVec2(0, 2)};
    s.FromPoints(sq, 4);
    EXPECT_NEAR(Dist(s.center, cVec3(1, 1, 0)), 0, 1e-6f);
    EXPECT_NEAR(s.radius, std::sqrt(2.0f), 1e-6f);

    cMath::Randomize(53);
    for (int round = 0; round < 60; round++) {
        int n = 1 + int(cMath::Rand01() * 300);
        std::vector<cVec3> pts;
        std::vector<cVec2> flat;
        cVec3 offset = cVec3::RandRange1() * 1000;
        for (int i = 0; i < n; i++) {
            cVec3 p = round % 3 == 0 ? cVec3::RandNormal() * 7 : cVec3::RandRange1() * 5;  // all on the surface, or a cube
            if (round % 5 == 0) p.z = 0;                                                 // coplanar sets
            pts.push_back(p + offset);
            flat.push_back(cVec2(p.x, p.y));
        }
        s.FromPoints(pts.data(), n);
        ExpectSmallest(pts, s, false);
        s.FromPoints(flat.data(), n);
        std::vector<cVec3> flat3;
        for (const cVec2& p : flat) flat3.push_back(cVec3(p.x, p.y, 0));
        EXPECT_EQ(s.center.z, 0);
        ExpectSmallest(flat3, s, true);
    }
}
