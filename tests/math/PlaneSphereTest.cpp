// cPlane and cSphere: distances, hits, mirroring and sphere fitting.
#include "math/MathCheck.h"
#include "zozud/math/Plane.h"
#include "zozud/math/Sphere.h"

using namespace mathtest;

TEST(Plane, DistancesAndHits) {
    cPlane p;
    ASSERT_TRUE(p.FromPoints(cVec3(0, 2, 0), cVec3(1, 2, 0), cVec3(0, 2, -1)));  // counter-clockwise from above
    EXPECT_TRUE(p.normal == cVec3(0, 1, 0) && p.d == -2);
    EXPECT_TRUE(p.Distance(cVec3(5, -1, 5)) == -3 && p.Project(cVec3(3, 7, 4)) == cVec3(3, 2, 4));
    EXPECT_FALSE(p.FromPoints(cVec3(0, 0, 0), cVec3(1, 1, 1), cVec3(2, 2, 2)));
    float t = 0;
    ASSERT_TRUE(p.RayIntersection(cVec3(1, 10, 1), cVec3(0, -2, 0), &t));
    EXPECT_EQ(t, 4);
    EXPECT_FALSE(p.RayIntersection(cVec3(1, 10, 1), cVec3(1, 0, 0), &t));
    EXPECT_EQ(cPlane::PlaneHit(cVec3(0, 0, 0), cVec3(0, 8, 4), p), cVec3(0, 2, 1));
    EXPECT_EQ(cPlane::PlaneHit(cVec3(0, 1, 0), cVec3(5, 1, 0), p), cVec3(0, 1, 0));  // parallel: a
    cPlane q(cVec3(0, 0, 2), 4), z(cVec3(0, 0, 0), 1);
    EXPECT_TRUE(q.Normalize() == 2 && q.ToVec4() == cVec4(0, 0, 1, 2));
    EXPECT_TRUE(z.Normalize() == 0 && z.d == 1);

    cBounds box(cVec3(-1, -1, -1), cVec3(1, 1, 1));
    cPlane ground(cVec3(0, 1, 0), 0);
    EXPECT_TRUE(ground.BelowPlane(box, cMat4::Translation(0, -1.5f, 0)));
    EXPECT_FALSE(ground.BelowPlane(box, cMat4::Translation(0, -1.0f, 0)));  // touching is not below
    EXPECT_FALSE(ground.BelowPlane(box, cMat4::RotationZ(45) * cMat4::Translation(0, -1.3f, 0)));  // the corner reaches up
    EXPECT_FALSE(ground.BelowPlane(cBounds::Empty, cMat4::Translation(0, -9, 0)));
}

TEST(Plane, MirroringIsAReflection) {
    cMath::Randomize(51);
    for (int i = 0; i < 500; i++) {
        cVec3 n = cVec3::RandNormal(), x = cVec3::RandRange1() * 10;
        cPlane p(n, cMath::RandRange1() * 5);
        cVec3 m = p.MirrorPoint(x);
        ASSERT_NEAR(p.Distance(m), -p.Distance(x), 1e-4f);
        ASSERT_NEAR((p.MirrorPoint(m) - x).Length(), 0, 1e-4f);
        // H R H as a matrix, with H = I - 2 n n^T.
        cMat3 h(1 - 2 * n.x * n.x, -2 * n.x * n.y, -2 * n.x * n.z, -2 * n.y * n.x, 1 - 2 * n.y * n.y, -2 * n.y * n.z,
                -2 * n.z * n.x, -2 * n.z * n.y, 1 - 2 * n.z * n.z);
        cQuat q = RandomQuat();
        ASSERT_TRUE(Near(p.MirrorOrient(q).ToMat3(), h * q.ToMat3() * h, 1e-5f, false));
        ASSERT_NEAR(p.MirrorOrient(q).Length(), 1, 1e-5f);
    }
}

TEST(Sphere, DistanceToPlane) {
    const float rows[][2] = {{0.5f, 0}, {3, 2}, {-3, -2}, {-1, 0}};  // centre height, signed distance
    for (const auto& r : rows) EXPECT_EQ(cSphere(cVec3(0, r[0], 0), 1).SignedDistanceToPlane(cPlane(cVec3(0, 1, 0), 0)), r[1]) << r[0];
}

TEST(Sphere, RayHits) {
    cSphere s(cVec3(0, 0, 0), 1);
    auto ray = [&](const cSphere& sphere, cVec3 origin, cVec3 dir, bool hit, float w0, float w1) {
        float t0 = -9, t1 = -9;
        bool got = sphere.RayIntersection(origin, dir, &t0, &t1);
        EXPECT_TRUE(got == hit && (!hit || (std::fabs(t0 - w0) < 2e-3f && std::fabs(t1 - w1) < 2e-3f))) << origin.x << " " << t0 << " " << t1;
    };
    ray(s, cVec3(-5, 0, 0), cVec3(1, 0, 0), true, 4, 6);
    ray(s, cVec3(-5, 0, 0), cVec3(2, 0, 0), true, 2, 3);   // in units of |dir|
    ray(s, cVec3(0, 0, 0), cVec3(0, 1, 0), true, -1, 1);   // from inside
    ray(s, cVec3(-5, 1, 0), cVec3(1, 0, 0), true, 5, 5);   // grazing
    ray(s, cVec3(5, 0, 0), cVec3(1, 0, 0), false, 0, 0);   // behind
    ray(s, cVec3(-5, 1.01f, 0), cVec3(1, 0, 0), false, 0, 0);
    ray(s, cVec3(-5, 0, 0), cVec3(0, 0, 0), false, 0, 0);
    ray(cSphere(cVec3(1e4f, 0, 0), 1e-2f), cVec3(0, 0, 0), cVec3(1, 0, 0), true, 1e4f - 1e-2f, 1e4f + 1e-2f);  // no cancellation

    // The nearest of many, with a stride over a larger record.
    struct Item {
        int tag;
        cSphere sphere;
    } items[3] = {{1, cSphere(cVec3(10, 0, 0), 1)}, {2, cSphere(cVec3(5, 0, 0), 1)}, {3, cSphere(cVec3(5, 5, 0), 1)}};
    int index = -1;
    cVec3 point, normal;
    ASSERT_TRUE(cSphere::RayIntersection(&items[0].sphere, 3, sizeof(Item), cVec3(0, 0, 0), cVec3(1, 0, 0), &index, &point, &normal));
    EXPECT_TRUE(index == 1 && point == cVec3(4, 0, 0) && normal == cVec3(-1, 0, 0));
    cSphere packed[2] = {cSphere(cVec3(0, 0, 0), 3), cSphere(cVec3(2, 0, 0), 0.5f)};
    ASSERT_TRUE(cSphere::RayIntersection(packed, 2, 0, cVec3(0, 0, 0), cVec3(1, 0, 0), &index, &point, nullptr));
    EXPECT_EQ(index, 1);  // from inside the big one, the small one is nearer
    EXPECT_FALSE(cSphere::RayIntersection(packed, 0, 0, cVec3(0, 0, 0), cVec3(1, 0, 0), &index, &point, &normal));

    EXPECT_TRUE(s.LineIntersection(cVec3(-2, 0.5f, 0), cVec3(2, 0.5f, 0)) && s.LineIntersection(cVec3(0.5f, 0, 0), cVec3(0.5f, 0, 0)));
    EXPECT_FALSE(s.LineIntersection(cVec3(-2, 1.5f, 0), cVec3(2, 1.5f, 0)));
    EXPECT_FALSE(s.LineIntersection(cVec3(2, 0, 0), cVec3(3, 0, 0)));  // the line would, the segment does not
}

TEST(Sphere, ThroughFourPoints) {
    cSphere s;
    ASSERT_TRUE(s.FromPoints(cVec3(1, 1, 1), cVec3(1, -1, -1), cVec3(-1, 1, -1), cVec3(-1, -1, 1)));
    EXPECT_TRUE(Near(s.center, cVec3(0, 0, 0), 1e-6f));
    EXPECT_NEAR(s.radius, std::sqrt(3.0f), 1e-6f);
    cMath::Randomize(52);
    for (int i = 0; i < 200; i++) {
        cVec3 c = cVec3::RandRange1() * 100, p[4];
        float r = 0.1f + cMath::Rand01() * 50;
        for (cVec3& x : p) x = c + cVec3::RandNormal() * r;
        ASSERT_TRUE(!s.FromPoints(p[0], p[1], p[2], p[3]) || std::fabs(s.radius - r) < 1e-2f * r) << r;  // nearly flat draws fail
    }
    EXPECT_FALSE(s.FromPoints(cVec3(0, 0, 0), cVec3(1, 0, 0), cVec3(0, 1, 0), cVec3(1, 1, 0)));  // coplanar
    EXPECT_FALSE(s.FromPoints(cVec3(0, 0, 0), cVec3(0, 0, 0), cVec3(0, 1, 0), cVec3(1, 1, 1)));
}

// The centre of the smallest enclosing sphere minimises the largest distance
// (a convex function): no small move of the centre may lower it.
static void ExpectSmallest(const std::vector<cVec3>& pts, const cSphere& s, bool flat) {
    auto farthest = [&](double cx, double cy, double cz) {
        double worst = 0;
        for (const cVec3& p : pts) worst = std::fmax(worst, std::sqrt((p.x - cx) * (p.x - cx) + (p.y - cy) * (p.y - cy) + (p.z - cz) * (p.z - cz)));
        return worst;
    };
    double worst = farthest(s.center.x, s.center.y, s.center.z), step = 1e-3 * (1 + s.radius);
    ASSERT_LE(worst, double(s.radius));                   // everything inside
    ASSERT_NEAR(worst, s.radius, 1e-5 * (1 + s.radius));  // and no larger than needed
    for (int k = 0; k < 27; k++) {
        double d[3] = {double(k % 3) - 1, double(k / 3 % 3) - 1, flat ? 0 : double(k / 9) - 1};
        double len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        if (len == 0) continue;
        ASSERT_GE(farthest(s.center.x + d[0] / len * step, s.center.y + d[1] / len * step, s.center.z + d[2] / len * step),
                  worst - 1e-6 * (1 + s.radius));
    }
}

TEST(Sphere, SmallestAroundPointSets) {
    cSphere s;
    cVec3 obtuse[3] = {cVec3(0, 0, 0), cVec3(10, 0, 0), cVec3(5, 1, 0)};  // the long edge is the diameter
    s.FromPoints(obtuse, 3);
    EXPECT_NEAR(s.radius, 5, 1e-5f);
    cVec3 same[3] = {cVec3(1, 2, 3), cVec3(1, 2, 3), cVec3(1, 2, 3)};
    s.FromPoints(same, 3);
    EXPECT_TRUE(s.center == cVec3(1, 2, 3) && s.radius == 0);
    s.FromPoints(same, 0);
    EXPECT_EQ(s.radius, -1);

    cMath::Randomize(53);
    for (int round = 0; round < 60; round++) {
        int n = 1 + int(cMath::Rand01() * 300);
        std::vector<cVec3> pts, flat3;
        std::vector<cVec2> flat;
        cVec3 offset = cVec3::RandRange1() * 1000;
        for (int i = 0; i < n; i++) {
            cVec3 p = round % 3 == 0 ? cVec3::RandNormal() * 7 : cVec3::RandRange1() * 5;  // on a sphere, or in a cube
            if (round % 5 == 0) p.z = 0;                                                 // coplanar sets
            if (round % 7 == 0) p = cVec3(p.x, p.x, p.x);                                // collinear sets
            pts.push_back(p + offset);
            flat.push_back(cVec2(p.x, p.y));
            flat3.push_back(cVec3(p.x, p.y, 0));
        }
        s.FromPoints(pts.data(), n);
        ExpectSmallest(pts, s, false);
        s.FromPoints(flat.data(), n);
        EXPECT_EQ(s.center.z, 0);
        ExpectSmallest(flat3, s, true);
    }
}
