// cVec2, cVec3, cVec4 and the cVec<T, N> template.
#include "math/MathCheck.h"

using namespace mathtest;

TEST(Vec, NormalizeKeepsZero) {
    cVec3 v(3, 0, 4), z(0, 0, 0), tiny(1e-15f, 0, 0);
    EXPECT_TRUE(v.Normalize() == 5 && v == cVec3(0.6f, 0, 0.8f));
    EXPECT_TRUE(z.Normalize() == 0 && z == cVec3::Zero);
    EXPECT_TRUE(tiny.Normalize() > 0 && std::fabs(tiny.x - 1) < 1e-6f);
    EXPECT_EQ(cVec4(0, 0, 0, 0).ToNormal(), cVec4::Zero);
    cVec<float, 2> n(0, 5);
    n.Normalize();
    EXPECT_EQ(n, (cVec<float, 2>(0, 1)));
}

TEST(Vec, TextForms) {
    EXPECT_STREQ(cVec2(1.5f, -2).ToString(2), "1.50 -2.00");
    EXPECT_STREQ(cVec4(0.125f, 0, 0, 1).ToString(3), "0.125 0.000 0.000 1.000");
    cStr s("at ");
    s << cVec2(3, 4.25f);
    EXPECT_STREQ(s, "at 3.00 4.25");
    EXPECT_STREQ((cVec<int, 3>(1, -2, 3).ToString()), "1 -2 3");
    std::ostringstream os;
    os << cVec<int, 3>(1, -2, 3) << " " << cVec<float, 2>(0.5f, 2);
    EXPECT_EQ(os.str(), "[1, -2, 3] [0.5, 2]");
}

TEST(Vec3, ToAnglesKnownDirectionsAndRoundTrip) {
    // Direction, then pitch and yaw; beyond the poles the pitch is clamped to exactly +-90.
    const float rows[][5] = {{-1, 0, 0, 0, 90}, {0, 0, -1, 0, 0}, {0, 1, 0, 90, 0}, {0, 2, 0, 90, 0}, {0.3f, -1.5f, 0, -90, 0}};
    for (const auto& r : rows)
        EXPECT_TRUE(Near(cVec3(r[0], r[1], r[2]).ToAngles(), cAngles(r[3], r[4], 0), 4e-5f, false)) << r[0] << " " << r[1];
    EXPECT_FLOAT_EQ(std::fabs(cVec3(0, 0, 1).ToAngles().Yaw), 180);
    cMath::Randomize(11);
    for (int i = 0; i < 2000; i++) {
        cVec3 d = cVec3::RandNormal();
        ASSERT_TRUE(std::fabs(d.y) > 0.999f || Near(d.ToAngles().ToForward(), d, 1e-5f)) << i;
    }
}

TEST(Vec3, FixDenormalsAndDegenerateNormals) {
    auto fix = [](cVec3 v, bool degenerate, cVec3 want, bool changed) {
        bool got = degenerate ? v.FixDegenerateNormal() : v.FixDenormals();
        EXPECT_TRUE(got == changed && v == want) << v.x << " " << v.y << " " << v.z;
    };
    fix(cVec3(0.0005f, 0.9995f, 0.5f), false, cVec3(0, 1, 0.5f), true);
    fix(cVec3(-0.001f, 1.0009f, -1), false, cVec3(0, 1, -1), true);  // -1 is left alone
    fix(cVec3(0.0011f, 0.5f, 0.998f), false, cVec3(0.0011f, 0.5f, 0.998f), false);
    fix(cVec3(0, -0.3f, 0), true, cVec3(0, -1, 0), true);
    fix(cVec3(0.2f, 1, -0.1f), true, cVec3(0, 1, 0), true);
    fix(cVec3(0.6f, 0.8f, 0), true, cVec3(0.6f, 0.8f, 0), false);
    fix(cVec3(0, 0, 0), true, cVec3(0, 0, 0), false);
}

TEST(Vec3, PerpsFormRightHandedBasis) {
    cMath::Randomize(5);
    cVec3 dirs[2005] = {cVec3(0, 0, -1), cVec3(0, 0, 1), cVec3(1e-7f, 0, -1), cVec3(0, 3, 0), cVec3(-1, 0, 0)};
    for (int i = 5; i < 2005; i++) dirs[i] = cVec3::RandNormal() * (0.1f + 10 * cMath::Rand01());
    for (const cVec3& d : dirs) {
        cVec3 a, b;
        d.ToPerps(&a, &b);
        ASSERT_TRUE(std::fabs(a.Length() - 1) < 1e-5f && std::fabs(a.Dot(b)) < 1e-5f) << d.x << " " << d.y << " " << d.z;
        ASSERT_TRUE(Near(a.Cross(b), d.ToNormal(), 1e-5f));  // unit b, and both perpendicular to d
        ASSERT_EQ(d.ToPerp(), a);
    }
    cVec3 a, b;
    cVec3::Zero.ToPerps(&a, &b);
    EXPECT_TRUE(a == cVec3::AxisX && b == cVec3::AxisY);
}

TEST(Vec3, SlerpFollowsTheArc) {
    cVec3 a(1, 0, 0), b(0, 1, 0), h = cVec3::Slerp(a, -a, 0.5f);
    EXPECT_TRUE(Near(cVec3::Slerp(a, b, 1.0f / 3.0f), cVec3(std::cos(cMath::Pi / 6), 0.5f, 0), 1e-6f));
    EXPECT_NEAR(cVec3::Slerp(a * 2, b * 4, 0.5f).Length(), 3, 1e-5f);  // lengths mix linearly
    EXPECT_EQ(cVec3::Slerp(a, a, 0.3f), a);
    EXPECT_TRUE(std::fabs(h.Length() - 1) < 1e-6f && std::fabs(h.Dot(a)) < 1e-6f);  // opposite: still a half circle
    // The angle grows linearly with t.
    cVec3 c = cVec3(1, 2, -2).ToNormal(), d = cVec3(-3, 0.5f, 1).ToNormal();
    for (float t = 0; t <= 1; t += 0.125f)
        EXPECT_NEAR(std::acos(cMath::Clamp(cVec3::Slerp(c, d, t).ToNormal().Dot(c), -1, 1)), t * std::acos(c.Dot(d)), 1e-4f);
}

TEST(Vec3, TransformsByMatrix) {
    cMat4 m = cMat4::Mul(cMat4::RotationZ(90), cMat4::Translation(1, 2, 3)), bad = cMat4::Identity;
    cVec3 pts[2] = {cVec3(1, 0, 0), cVec3(0, 0, 0)}, nrm[1] = {cVec3(1, 0, 0)};
    cVec3::TransformCoordinate(pts, 2, m);
    cVec3::TransformNormal(nrm, 1, m);
    EXPECT_TRUE(pts[0] == cVec3(1, 3, 3) && pts[1] == cVec3(1, 2, 3));  // rotated onto +Y, then moved
    EXPECT_EQ(nrm[0], cVec3(0, 1, 0));                                  // no translation
    // A NaN w' divides too, so the NaN shows in every component; a zero count does nothing.
    bad.m[15] = NAN;
    cVec3 q = cVec3::TransformCoordinate(cVec3(1, 2, 3), bad);
    EXPECT_TRUE(std::isnan(q.x) && std::isnan(q.y) && std::isnan(q.z));
    cVec3::TransformCoordinate(pts, 0, bad);
    EXPECT_EQ(pts[0], cVec3(1, 3, 3));
    cRotation r(cVec3(1, 1, 0), cVec3(0, 0, 1), 90);  // about a centre
    EXPECT_TRUE(Near(cVec3::Rotate(cVec3(2, 1, 0), r), cVec3(1, 2, 0), 1e-6f));
    EXPECT_TRUE(Near(cVec3::Rotate(cVec3(1, 1, 5), r), cVec3(1, 1, 5), 1e-6f));
}

TEST(Vec3, RayTriangleEdgesAndDegenerateCases) {
    cVec3 p0(0, 0, 0), p1(1, 0, 0), p2(0, 1, 0), down(0, 0, -1);
    float u = -1, v = -1, t = -1;
    ASSERT_TRUE(cVec3::RayTri(cVec3(0.25f, 0.5f, 2), cVec3(0, 0, -4), p0, p1, p2, &u, &v, &t, true));
    EXPECT_TRUE(u == 0.25f && v == 0.5f && t == 0.5f);  // t in units of |dir|
    ASSERT_TRUE(cVec3::RayTri(cVec3(0.2f, 0.2f, -3), down, p0, p1, p2, &u, &v, &t, true));
    EXPECT_EQ(t, -3);  // behind the origin
    // Edges and corners count, just outside does not.
    EXPECT_TRUE(cVec3::RayTri(cVec3(1, 0, 1), down, p0, p1, p2, &u, &v, &t, true));
    EXPECT_EQ(u, 1);
    EXPECT_TRUE(cVec3::RayTri(cVec3(0.5f, 0.5f, 1), down, p0, p1, p2, nullptr, nullptr, nullptr, true));
    EXPECT_FALSE(cVec3::RayTri(cVec3(0.5f, 0.51f, 1), down, p0, p1, p2, &u, &v, &t, true));
    // In the plane, a zero direction, a degenerate triangle, a sliver with determinant below 1e-6.
    EXPECT_FALSE(cVec3::RayTri(cVec3(-1, 0.2f, 0), cVec3(1, 0, 0), p0, p1, p2, &u, &v, &t, false));
    EXPECT_FALSE(cVec3::RayTri(cVec3(0.2f, 0.2f, 1), cVec3(0, 0, 0), p0, p1, p2, &u, &v, &t, false));
    EXPECT_FALSE(cVec3::RayTri(cVec3(0.5f, 0, 1), down, p0, p1, cVec3(2, 0, 0), &u, &v, &t, false));
    EXPECT_FALSE(cVec3::RayTri(cVec3(0.5f, 1e-8f, 1), down, p0, p1, cVec3(1, 1e-7f, 0), &u, &v, &t, false));
}

// Against a double-precision reference: the plane hit, then barycentric weights.
TEST(Vec3, RayTriangleMatchesReference) {
    auto D = [](const cVec3& v) { return glm::dvec3(v.x, v.y, v.z); };
    cMath::Randomize(21);
    int hits = 0;
    for (int i = 0; i < 5000; i++) {
        cVec3 p0 = cVec3::RandRange1() * 5, p1 = cVec3::RandRange1() * 5, p2 = cVec3::RandRange1() * 5;
        cVec3 o = cVec3::RandRange1() * 10;  // aimed near the triangle, so that about half hit
        float ka = cMath::Rand01() * 1.6f - 0.3f, kb = cMath::Rand01() * 1.6f - 0.3f;
        cVec3 d = (p0 + (p1 - p0) * ka + (p2 - p0) * kb - o).ToNormal();
        glm::dvec3 e1 = D(p1) - D(p0), e2 = D(p2) - D(p0), dd = D(d), op = D(o) - D(p0), n = glm::cross(e1, e2);
        double nd = glm::dot(n, dd);
        if (std::fabs(nd) < 1e-2) continue;
        double t = -glm::dot(n, op) / nd;
        glm::dvec3 w = op + dd * t;
        // w = u e1 + v e2, solved by the normal equations.
        double a11 = glm::dot(e1, e1), a12 = glm::dot(e1, e2), a22 = glm::dot(e2, e2), b1 = glm::dot(w, e1), b2 = glm::dot(w, e2);
        double det = a11 * a22 - a12 * a12, ru = (b1 * a22 - b2 * a12) / det, rv = (a11 * b2 - a12 * b1) / det;
        double margin = std::min(std::min(ru, rv), 1 - ru - rv);
        if (std::fabs(margin) < 1e-3) continue;  // too close to an edge to call
        float u, v, tt;
        bool hit = cVec3::RayTri(o, d, p0, p1, p2, &u, &v, &tt, false);
        ASSERT_EQ(hit, margin > 0) << i;
        if (!hit) continue;
        hits++;
        ASSERT_NEAR(u, ru, 1e-3);
        ASSERT_NEAR(v, rv, 1e-3);
        ASSERT_NEAR(tt, t, 1e-3 * (1 + std::fabs(t)));
        ASSERT_EQ(cVec3::RayTri(o, d, p0, p1, p2, &u, &v, &tt, true), nd < 0);  // culling keeps the front face
    }
    EXPECT_GT(hits, 500);
}

TEST(Vec3, PointInTriangle) {
    cVec3 a(0, 0, 0), b(2, 0, 0), c(0, 2, 0);
    EXPECT_TRUE(cVec3::PointInTriangle(cVec3(1, 1, 0), a, b, c) && cVec3::PointInTriangle(cVec3(0.5f, 0.5f, 0), a, c, b));
    EXPECT_FALSE(cVec3::PointInTriangle(cVec3(1.01f, 1, 0), a, b, c) || cVec3::PointInTriangle(cVec3(-0.01f, 1, 0), a, b, c));
    EXPECT_FALSE(cVec3::PointInTriangle(cVec3(1, 0, 0), a, b, cVec3(4, 0, 0)));  // degenerate
}

TEST(Vec2, SegmentsAndDistances) {
    // a0, a1, b0, b1, whether they meet, and where along each.
    const float rows[][11] = {{0, 0, 4, 0, 1, -1, 1, 3, 1, 0.25f, 0.25f},
                              {0, 0, 1, 0, 1, 0, 1, 5, 1, 1, 0},            // touching at an end
                              {0, 0, 0.99f, 0, 1, -1, 1, 5, 0, 0, 0},       // stopping short
                              {0, 0, 1, 1, 0, 1, 1, 2, 0, 0, 0},            // parallel
                              {0, 0, 4, 0, 3, 0, 1, 0, 1, 0.25f, 1},        // collinear: the first shared point along a
                              {0, 0, 1, 0, 2, 0, 3, 0, 0, 0, 0},            // collinear apart
                              {1, 1, 1, 1, 0, 0, 2, 2, 1, 0, 0.5f}};        // a point on a segment
    for (const auto& r : rows) {
        float ta = -1, tb = -1;
        bool hit = cVec2::SegIntersection(cVec2(r[0], r[1]), cVec2(r[2], r[3]), cVec2(r[4], r[5]), cVec2(r[6], r[7]), &ta, &tb);
        EXPECT_TRUE(hit == (r[8] != 0) && (!hit || (ta == r[9] && tb == r[10]))) << r[0] << " " << r[2] << ": " << ta << " " << tb;
    }
    float ta, tb, t = -1;
    ASSERT_TRUE(cVec2::SegIntersection(cVec2(0, 0), cVec2(1000, 1), cVec2(0, 1), cVec2(1000, -0.001f), &ta, &tb));
    EXPECT_NEAR(ta, tb, 1e-3f);  // nearly parallel, long
    EXPECT_TRUE(cVec2(1, 3).DistanceToLineSegSq(cVec2(0, 0), cVec2(4, 0), &t) == 9 && t == 0.25f);
    EXPECT_TRUE(cVec2(-3, 4).DistanceToLineSegSq(cVec2(0, 0), cVec2(4, 0), &t) == 25 && t == 0);
    EXPECT_EQ(cVec2(1, 1).DistanceToLineSegSq(cVec2(2, 2), cVec2(2, 2), &t), 2);
    EXPECT_TRUE(cVec2(1.5f, -1.5f).ToRound() == cVec2(2, -1) && cVec2(2.49f, -2.51f).ToRound() == cVec2(2, -3));
}
