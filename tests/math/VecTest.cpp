// cVec2, cVec3, cVec4 and the cVec<T, N> template: arithmetic, text, angles,
// snapping, bases, interpolation, transforms and the ray/triangle test.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <sstream>

#include "zozud/core/Str.h"
#include "zozud/math/Angles.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Math.h"
#include "zozud/math/Rotation.h"
#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"
#include "zozud/math/Vec4.h"
#include "zozud/math/VecT.h"

using namespace zozud;

#define EXPECT_VEC3_NEAR(a, b, eps)       \
    do {                                  \
        cVec3 a_ = (a), b_ = (b);         \
        EXPECT_NEAR(a_.x, b_.x, eps);     \
        EXPECT_NEAR(a_.y, b_.y, eps);     \
        EXPECT_NEAR(a_.z, b_.z, eps);     \
    } while (0)

TEST(Vec, LayoutsAndConstants) {
    cVec3 arr[2] = {cVec3(1, 2, 3), cVec3(4, 5, 6)};
    const float* f = arr[0].ToFloatPtr();
    EXPECT_EQ(f[3], 4.0f);  // contiguous floats
    EXPECT_EQ(f[5], 6.0f);
    EXPECT_EQ(cVec2::Infinity.x, FLT_MAX);
    EXPECT_EQ(cVec3::AxisNegZ, cVec3(0, 0, -1));
    EXPECT_EQ(cVec4::AxisW, cVec4(0, 0, 0, 1));
    EXPECT_EQ(cVec4::AxisNegW, cVec4(0, 0, 0, -1));
    EXPECT_EQ(cVec2::AxisNegY, cVec2(0, -1));
    EXPECT_EQ(cVec3::One.Dot(cVec3::One), 3.0f);
}

TEST(Vec, NormalizeKeepsZeroAndScalesOthers) {
    cVec3 z(0, 0, 0);
    EXPECT_EQ(z.Normalize(), 0.0f);
    EXPECT_EQ(z, cVec3::Zero);
    cVec3 v(3, 0, 4);
    EXPECT_EQ(v.Normalize(), 5.0f);
    EXPECT_EQ(v, cVec3(0.6f, 0, 0.8f));
    EXPECT_EQ(cVec2(0, -7).ToNormal(), cVec2(0, -1));
    EXPECT_EQ(cVec2::Zero.ToNormal(), cVec2::Zero);
    EXPECT_EQ(cVec4(0, 0, 0, 0).ToNormal(), cVec4::Zero);
    EXPECT_FLOAT_EQ(cVec4(1, 1, 1, 1).ToNormal().x, 0.5f);
    cVec3 tiny(1e-15f, 0, 0);  // no epsilon: still normalised
    tiny.Normalize();
    EXPECT_FLOAT_EQ(tiny.x, 1.0f);
    EXPECT_EQ(cVec3(1, 0, 0).Cross(cVec3(0, 1, 0)), cVec3(0, 0, 1));
    EXPECT_EQ(cVec2(1, 0).Cross(cVec2(0, 1)), 1.0f);
}

TEST(Vec, TextForms) {
    EXPECT_STREQ(cVec2(1.5f, -2).ToString(2), "1.50 -2.00");
    EXPECT_STREQ(cVec3(1, 2, 3).ToString(0), "1 2 3");
    EXPECT_STREQ(cVec4(0.125f, 0, 0, 1).ToString(3), "0.125 0.000 0.000 1.000");
    cStr s("at ");
    s << cVec2(3, 4.25f);
    EXPECT_STREQ(s, "at 3.00 4.25");

    cVec<int, 3> iv(1, -2, 3);
    EXPECT_STREQ(iv.ToString(), "1 -2 3");
    std::ostringstream os;
    os << iv << " " << cVec<float, 2>(0.5f, 2);
    EXPECT_EQ(os.str(), "[1, -2, 3] [0.5, 2]");
    cStr t;
    t << cVec<int, 2>(7, 8);
    EXPECT_STREQ(t, "7 8");
}

typedef cVec<float, 3> Vec3f;
typedef cVec<float, 2> Vec2f;
typedef cVec<int, 2> Vec2i;

TEST(VecTemplate, DefaultsToUndefined) {
    cVec<float, 3> f;
    cVec<int, 2> i;
    EXPECT_EQ(f[0], FLT_MAX);
    EXPECT_EQ(f[2], FLT_MAX);
    EXPECT_EQ(i[1], 2147483647);
    EXPECT_TRUE(f.IsUndefined());
    EXPECT_EQ(Vec3f::ZERO(), Vec3f(0, 0, 0));
    EXPECT_FALSE(Vec3f::ZERO().IsUndefined());
    EXPECT_EQ(sizeof(cVec<int, 2>), 8u);
    EXPECT_EQ(sizeof(cVec<int, 3>), 12u);
    EXPECT_EQ(sizeof(cVec<float, 1>), 4u);
    cVec<int, 2> a(3, 4), b(1, -1);
    EXPECT_EQ(a + b, Vec2i(4, 3));
    EXPECT_EQ(a.Dot(b), -1);
    EXPECT_EQ(a.LengthSq(), 25);
    EXPECT_EQ(Vec2i::Min(a, b), Vec2i(1, -1));
    cVec<float, 2> n(0, 5);
    n.Normalize();
    EXPECT_EQ(n, Vec2f(0, 1));
}

TEST(Vec3, ToAnglesKnownDirections) {
    cAngles a = cVec3(-1, 0, 0).ToAngles();
    EXPECT_FLOAT_EQ(a.Pitch, 0);
    EXPECT_FLOAT_EQ(a.Yaw, 90);
    EXPECT_EQ(a.Roll, 0);
    a = cVec3(0, 0, -1).ToAngles();
    EXPECT_EQ(a, cAngles(0, 0, 0));
    a = cVec3(0, 1, 0).ToAngles();
    EXPECT_EQ(a.Pitch, 90.0f);
    EXPECT_EQ(a.Yaw, 0.0f);
    a = cVec3(0, 2, 0).ToAngles();  // clamped
    EXPECT_EQ(a.Pitch, 90.0f);
    a = cVec3(0.3f, -1.5f, 0).ToAngles();
    EXPECT_EQ(a.Pitch, -90.0f);
    EXPECT_EQ(a.Yaw, 0.0f);
    a = cVec3(0, 0, 1).ToAngles();
    EXPECT_FLOAT_EQ(std::fabs(a.Yaw), 180);
    // Forward of the angles gives the direction back.
    cMath::Randomize(11);
    for (int i = 0; i < 2000; i++) {
        cVec3 d = cVec3::RandNormal();
        if (std::fabs(d.y) > 0.999f) continue;
        EXPECT_VEC3_NEAR(d.ToAngles().ToForward(), d, 1e-5f);
    }
}

TEST(Vec3, FixDenormalsAndDegenerateNormals) {
    cVec3 v(0.0005f, 0.9995f, 0.5f);
    EXPECT_TRUE(v.FixDenormals());
    EXPECT_EQ(v, cVec3(0, 1, 0.5f));
    EXPECT_FALSE(v.FixDenormals());
    cVec3 w(-0.001f, 1.0009f, -1.0f);
    EXPECT_TRUE(w.FixDenormals());
    EXPECT_EQ(w, cVec3(0, 1, -1));  // -1 is left alone
    cVec3 keep(0.0011f, 0.5f, 0.998f);
    EXPECT_FALSE(keep.FixDenormals());

    cVec3 a(0, -0.3f, 0);
    EXPECT_TRUE(a.FixDegenerateNormal());
    EXPECT_EQ(a, cVec3(0, -1, 0));
    EXPECT_FALSE(a.FixDegenerateNormal());
    cVec3 b(0.2f, 1.0f, -0.1f);
    EXPECT_TRUE(b.FixDegenerateNormal());
    EXPECT_EQ(b, cVec3(0, 1, 0));
    cVec3 c(0.6f, 0.8f, 0);
    EXPECT_FALSE(c.FixDegenerateNormal());
    EXPECT_EQ(c, cVec3(0.6f, 0.8f, 0));
    cVec3 zero(0, 0, 0);
    EXPECT_FALSE(zero.FixDegenerateNormal());
}

TEST(Vec3, PerpsFormRightHandedBasis) {
    cMath::Randomize(5);
    cVec3 dirs[2005];
    for (int i = 0; i < 2000; i++) dirs[i] = cVec3::RandNormal() * (0.1f + 10 * cMath::Rand01());
    dirs[2000] = cVec3(0, 0, -1);  // the case where the simple formula divides by zero
    dirs[2001] = cVec3(0, 0, 1);
    dirs[2002] = cVec3(1e-7f, 0, -1);
    dirs[2003] = cVec3(0, 3, 0);
    dirs[2004] = cVec3(-1, 0, 0);
    for (const cVec3& d : dirs) {
        cVec3 a, b, n = d.ToNormal();
        d.ToPerps(&a, &b);
        EXPECT_NEAR(a.Length(), 1, 1e-5f);
        EXPECT_NEAR(b.Length(), 1, 1e-5f);
        EXPECT_NEAR(a.Dot(n), 0, 1e-5f);
        EXPECT_NEAR(b.Dot(n), 0, 1e-5f);
        EXPECT_NEAR(a.Dot(b), 0, 1e-5f);
        EXPECT_VEC3_NEAR(a.Cross(b), n, 1e-5f);
        EXPECT_EQ(d.ToPerp(), a);
    }
    cVec3 a, b;
    cVec3::Zero.ToPerps(&a, &b);
    EXPECT_EQ(a, cVec3::AxisX);
    EXPECT_EQ(b, cVec3::AxisY);
}

TEST(Vec3, SlerpFollowsTheArc) {
    cVec3 a(1, 0, 0), b(0, 1, 0);
    EXPECT_VEC3_NEAR(cVec3::Slerp(a, b, 0.5f), cVec3(cMath::Sqrt1Over2, cMath::Sqrt1Over2, 0), 1e-6f);
    EXPECT_VEC3_NEAR(cVec3::Slerp(a, b, 1.0f / 3.0f), cVec3(std::cos(cMath::Pi / 6), 0.5f, 0), 1e-6f);
    EXPECT_VEC3_NEAR(cVec3::Slerp(a, b, 0), a, 1e-7f);
    EXPECT_VEC3_NEAR(cVec3::Slerp(a, b, 1), b, 1e-6f);
    // Lengths are mixed linearly.
    EXPECT_NEAR(cVec3::Slerp(a * 2, b * 4, 0.5f).Length(), 3, 1e-5f);
    // Equal directions: the linear mix.
    EXPECT_EQ(cVec3::Slerp(a, a, 0.3f), a);
    // Opposite directions still turn through a half circle of unit vectors.
    cVec3 h = cVec3::Slerp(a, -a, 0.5f);
    EXPECT_NEAR(h.Length(), 1, 1e-6f);
    EXPECT_NEAR(h.Dot(a), 0, 1e-6f);
    EXPECT_VEC3_NEAR(cVec3::Slerp(a, -a, 1), -a, 1e-6f);
    // The angle grows linearly with t.
    cVec3 c = cVec3(1, 2, -2).ToNormal(), d = cVec3(-3, 0.5f, 1).ToNormal();
    float total = std::acos(c.Dot(d));
    for (float t = 0; t <= 1; t += 0.125f)
        EXPECT_NEAR(std::acos(cMath::Clamp(cVec3::Slerp(c, d, t).ToNormal().Dot(c), -1, 1)), t * total, 1e-4f);
}

TEST(Vec3, TransformsByMatrix) {
    cMat4 m = cMat4::Mul(cMat4::RotationZ(90), cMat4::Translation(1, 2, 3));
    cVec3 pts[3] = {cVec3(1, 0, 0), cVec3(0, 1, 0), cVec3(0, 0, 0)};
    cVec3::TransformCoordinate(pts, 3, m);
    EXPECT_EQ(pts[0], cVec3(1, 3, 3));  // rotated onto +Y, then moved
    EXPECT_EQ(pts[1], cVec3(0, 2, 3));
    EXPECT_EQ(pts[2], cVec3(1, 2, 3));
    cVec3 nrm[1] = {cVec3(1, 0, 0)};
    cVec3::TransformNormal(nrm, 1, m);
    EXPECT_EQ(nrm[0], cVec3(0, 1, 0));  // no translation

    // Projective: divided by w'.
    cMat4 p = cMat4::Perspective(90, 1, 1, 100);
    cVec3 q = cVec3::TransformCoordinate(cVec3(1, 1, -1), p);
    EXPECT_VEC3_NEAR(q, cVec3(1, 1, -1), 1e-6f);
    q = cVec3::TransformCoordinate(cVec3(0, 0, -100), p);
    EXPECT_NEAR(q.z, 1, 1e-5f);
    // A NaN w' divides, so the NaN shows in every component.
    cMat4 bad = cMat4::Identity;
    bad.m[15] = NAN;
    q = cVec3::TransformCoordinate(cVec3(1, 2, 3), bad);
    EXPECT_TRUE(std::isnan(q.x) && std::isnan(q.y) && std::isnan(q.z));
    // Zero count does nothing.
    cVec3::TransformCoordinate(pts, 0, bad);
    EXPECT_EQ(pts[0], cVec3(1, 3, 3));

    cVec4 h = cVec4(1, 0, 0, 1) * cMat4::Translation(5, 0, 0);
    EXPECT_EQ(h, cVec4(6, 0, 0, 1));
    EXPECT_EQ(cVec3(1, 0, 0) * cMat3::RotationZ(90), cVec3(0, 1, 0));
}

TEST(Vec3, RotateAboutCentre) {
    cRotation r(cVec3(1, 1, 0), cVec3(0, 0, 1), 90);
    EXPECT_VEC3_NEAR(cVec3::Rotate(cVec3(2, 1, 0), r), cVec3(1, 2, 0), 1e-6f);
    EXPECT_VEC3_NEAR(cVec3::Rotate(cVec3(1, 1, 5), r), cVec3(1, 1, 5), 1e-6f);
}

TEST(Vec3, RayTriangle) {
    cVec3 p0(0, 0, 0), p1(1, 0, 0), p2(0, 1, 0);
    float u = -1, v = -1, t = -1;
    // Front face (counter-clockwise seen from +Z), ray coming down -Z.
    ASSERT_TRUE(cVec3::RayTri(cVec3(0.25f, 0.5f, 2), cVec3(0, 0, -1), p0, p1, p2, &u, &v, &t, true));
    EXPECT_FLOAT_EQ(u, 0.25f);
    EXPECT_FLOAT_EQ(v, 0.5f);
    EXPECT_FLOAT_EQ(t, 2);
    // t is in units of |dir|.
    ASSERT_TRUE(cVec3::RayTri(cVec3(0.25f, 0.5f, 2), cVec3(0, 0, -4), p0, p1, p2, &u, &v, &t, true));
    EXPECT_FLOAT_EQ(t, 0.5f);
    // Back face: a hit only without culling, with the same weights.
    EXPECT_FALSE(cVec3::RayTri(cVec3(0.25f, 0.5f, -2), cVec3(0, 0, 1), p0, p1, p2, &u, &v, &t, true));
    ASSERT_TRUE(cVec3::RayTri(cVec3(0.25f, 0.5f, -2), cVec3(0, 0, 1), p0, p1, p2, &u, &v, &t, false));
    EXPECT_FLOAT_EQ(u, 0.25f);
    EXPECT_FLOAT_EQ(v, 0.5f);
    EXPECT_FLOAT_EQ(t, 2);
    // Behind the origin: still a hit, with a negative t.
    ASSERT_TRUE(cVec3::RayTri(cVec3(0.2f, 0.2f, -3), cVec3(0, 0, -1), p0, p1, p2, &u, &v, &t, true));
    EXPECT_FLOAT_EQ(t, -3);
    // Edges and corners count, just outside does not.
    EXPECT_TRUE(cVec3::RayTri(cVec3(0, 0, 1), cVec3(0, 0, -1), p0, p1, p2, &u, &v, &t, true));
    EXPECT_TRUE(cVec3::RayTri(cVec3(1, 0, 1), cVec3(0, 0, -1), p0, p1, p2, &u, &v, &t, true));
    EXPECT_FLOAT_EQ(u, 1);
    EXPECT_TRUE(cVec3::RayTri(cVec3(0.5f, 0.5f, 1), cVec3(0, 0, -1), p0, p1, p2, &u, &v, &t, true));
    EXPECT_FALSE(cVec3::RayTri(cVec3(0.5f, 0.51f, 1), cVec3(0, 0, -1), p0, p1, p2, &u, &v, &t, true));
    EXPECT_FALSE(cVec3::RayTri(cVec3(-0.001f, 0.5f, 1), cVec3(0, 0, -1), p0, p1, p2, &u, &v, &t, false));
    // A ray in the triangle's plane, a zero direction and a degenerate triangle all miss.
    EXPECT_FALSE(cVec3::RayTri(cVec3(-1, 0.2f, 0), cVec3(1, 0, 0), p0, p1, p2, &u, &v, &t, false));
    EXPECT_FALSE(cVec3::RayTri(cVec3(0.2f, 0.2f, 1), cVec3(0, 0, 0), p0, p1, p2, &u, &v, &t, false));
    EXPECT_FALSE(cVec3::RayTri(cVec3(0.5f, 0, 1), cVec3(0, 0, -1), p0, p1, cVec3(2, 0, 0), &u, &v, &t, false));
    // A sliver whose determinant is below 1e-6 misses although the ray goes through it.
    EXPECT_FALSE(cVec3::RayTri(cVec3(0.5f, 1e-8f, 1), cVec3(0, 0, -1), p0, p1, cVec3(1, 1e-7f, 0), &u, &v, &t, false));
    // A thin but proper one hits, with weights that still add up.
    ASSERT_TRUE(cVec3::RayTri(cVec3(0.5f, 0.0005f, 1), cVec3(0, 0, -1), p0, cVec3(1, 0, 0), cVec3(1, 0.001f, 0), &u,
                              &v, &t, true));
    EXPECT_NEAR(u + v, 0.5f, 1e-3f);
    // Outputs are optional.
    EXPECT_TRUE(cVec3::RayTri(cVec3(0.25f, 0.25f, 1), cVec3(0, 0, -1), p0, p1, p2, nullptr, nullptr, nullptr, true));
}

// Against a double-precision reference: the plane hit, then barycentric weights.
TEST(Vec3, RayTriangleMatchesReference) {
    cMath::Randomize(21);
    int hits = 0;
    for (int i = 0; i < 5000; i++) {
        cVec3 p0 = cVec3::RandRange1() * 5, p1 = cVec3::RandRange1() * 5, p2 = cVec3::RandRange1() * 5;
        // Aimed near the triangle, so that about half the rays hit.
        cVec3 o = cVec3::RandRange1() * 10;
        float ka = cMath::Rand01() * 1.6f - 0.3f, kb = cMath::Rand01() * 1.6f - 0.3f;
        cVec3 d = (p0 + (p1 - p0) * ka + (p2 - p0) * kb - o).ToNormal();
        double e1[3], e2[3], n[3], w[3];
        for (int k = 0; k < 3; k++) {
            e1[k] = double(p1[k]) - p0[k];
            e2[k] = double(p2[k]) - p0[k];
        }
        n[0] = e1[1] * e2[2] - e1[2] * e2[1];
        n[1] = e1[2] * e2[0] - e1[0] * e2[2];
        n[2] = e1[0] * e2[1] - e1[1] * e2[0];
        double nd = n[0] * d.x + n[1] * d.y + n[2] * d.z;
        if (std::fabs(nd) < 1e-2) continue;
        double t = -(n[0] * (o.x - p0.x) + n[1] * (o.y - p0.y) + n[2] * (o.z - p0.z)) / nd;
        for (int k = 0; k < 3; k++) w[k] = o[k] + d[k] * t - p0[k];
        // Solve w = u e1 + v e2 in the plane by the normal equations.
        double a11 = e1[0] * e1[0] + e1[1] * e1[1] + e1[2] * e1[2], a12 = e1[0] * e2[0] + e1[1] * e2[1] + e1[2] * e2[2];
        double a22 = e2[0] * e2[0] + e2[1] * e2[1] + e2[2] * e2[2];
        double b1 = w[0] * e1[0] + w[1] * e1[1] + w[2] * e1[2], b2 = w[0] * e2[0] + w[1] * e2[1] + w[2] * e2[2];
        double det = a11 * a22 - a12 * a12;
        double ru = (b1 * a22 - b2 * a12) / det, rv = (a11 * b2 - a12 * b1) / det;
        double margin = std::min(std::min(ru, rv), 1 - ru - rv);
        if (std::fabs(margin) < 1e-3) continue;  // too close to an edge to call
        float u, v, tt;
        bool hit = cVec3::RayTri(o, d, p0, p1, p2, &u, &v, &tt, false);
        ASSERT_EQ(hit, margin > 0) << i;
        if (!hit) continue;
        hits++;
        EXPECT_NEAR(u, ru, 1e-3);
        EXPECT_NEAR(v, rv, 1e-3);
        EXPECT_NEAR(tt, t, 1e-3 * (1 + std::fabs(t)));
        // Culling keeps exactly the hits on the front face.
        EXPECT_EQ(cVec3::RayTri(o, d, p0, p1, p2, &u, &v, &tt, true), nd < 0);
    }
    EXPECT_GT(hits, 500);
}

TEST(Vec3, PointInTriangle) {
    cVec3 a(0, 0, 0), b(2, 0, 0), c(0, 2, 0);
    EXPECT_TRUE(cVec3::PointInTriangle(cVec3(0.5f, 0.5f, 0), a, b, c));
    EXPECT_TRUE(cVec3::PointInTriangle(cVec3(1, 1, 0), a, b, c));  // on the edge
    EXPECT_TRUE(cVec3::PointInTriangle(a, a, b, c));
    EXPECT_FALSE(cVec3::PointInTriangle(cVec3(1.01f, 1, 0), a, b, c));
    EXPECT_FALSE(cVec3::PointInTriangle(cVec3(-0.01f, 1, 0), a, b, c));
    EXPECT_TRUE(cVec3::PointInTriangle(cVec3(0.5f, 0.5f, 0), a, c, b));  // either winding
    EXPECT_FALSE(cVec3::PointInTriangle(cVec3(1, 0, 0), a, b, cVec3(4, 0, 0)));  // degenerate
}

TEST(Vec2, SegmentsAndDistances) {
    float ta = -1, tb = -1;
    ASSERT_TRUE(cVec2::SegIntersection(cVec2(0, 0), cVec2(2, 2), cVec2(0, 2), cVec2(2, 0), &ta, &tb));
    EXPECT_FLOAT_EQ(ta, 0.5f);
    EXPECT_FLOAT_EQ(tb, 0.5f);
    ASSERT_TRUE(cVec2::SegIntersection(cVec2(0, 0), cVec2(4, 0), cVec2(1, -1), cVec2(1, 3), &ta, &tb));
    EXPECT_FLOAT_EQ(ta, 0.25f);
    EXPECT_FLOAT_EQ(tb, 0.25f);
    // Touching at an end point counts; stopping short does not.
    EXPECT_TRUE(cVec2::SegIntersection(cVec2(0, 0), cVec2(1, 0), cVec2(1, 0), cVec2(1, 5), &ta, &tb));
    EXPECT_FLOAT_EQ(ta, 1);
    EXPECT_FALSE(cVec2::SegIntersection(cVec2(0, 0), cVec2(0.99f, 0), cVec2(1, -1), cVec2(1, 5)));
    // Parallel apart; collinear overlapping (the first shared point along a); collinear apart.
    EXPECT_FALSE(cVec2::SegIntersection(cVec2(0, 0), cVec2(1, 1), cVec2(0, 1), cVec2(1, 2)));
    ASSERT_TRUE(cVec2::SegIntersection(cVec2(0, 0), cVec2(4, 0), cVec2(3, 0), cVec2(1, 0), &ta, &tb));
    EXPECT_FLOAT_EQ(ta, 0.25f);
    EXPECT_FLOAT_EQ(tb, 1);
    EXPECT_FALSE(cVec2::SegIntersection(cVec2(0, 0), cVec2(1, 0), cVec2(2, 0), cVec2(3, 0)));
    // Points.
    EXPECT_TRUE(cVec2::SegIntersection(cVec2(1, 1), cVec2(1, 1), cVec2(0, 0), cVec2(2, 2), &ta, &tb));
    EXPECT_FLOAT_EQ(tb, 0.5f);
    EXPECT_FALSE(cVec2::SegIntersection(cVec2(1, 1.1f), cVec2(1, 1.1f), cVec2(0, 0), cVec2(2, 2)));
    // Nearly parallel long segments that do cross.
    ASSERT_TRUE(cVec2::SegIntersection(cVec2(0, 0), cVec2(1000, 1), cVec2(0, 1), cVec2(1000, -0.001f), &ta, &tb));
    EXPECT_NEAR(ta, tb, 1e-3f);

    float t = -1;
    EXPECT_FLOAT_EQ(cVec2(1, 3).DistanceToLineSegSq(cVec2(0, 0), cVec2(4, 0), &t), 9);
    EXPECT_FLOAT_EQ(t, 0.25f);
    EXPECT_FLOAT_EQ(cVec2(-3, 4).DistanceToLineSegSq(cVec2(0, 0), cVec2(4, 0), &t), 25);
    EXPECT_EQ(t, 0);
    EXPECT_FLOAT_EQ(cVec2(7, 4).DistanceToLineSegSq(cVec2(0, 0), cVec2(4, 0), &t), 25);
    EXPECT_EQ(t, 1);
    EXPECT_FLOAT_EQ(cVec2(1, 1).DistanceToLineSegSq(cVec2(2, 2), cVec2(2, 2), &t), 2);

    EXPECT_EQ(cVec2(1.5f, -1.5f).ToRound(), cVec2(2, -1));
    EXPECT_EQ(cVec2(2.49f, -2.51f).ToRound(), cVec2(2, -3));
}

TEST(Vec, RandomDirectionsAreUnitAndSpread) {
    cMath::Randomize(99);
    cVec3 sum3(0, 0, 0);
    cVec2 sum2(0, 0);
    for (int i = 0; i < 20000; i++) {
        cVec3 d = cVec3::RandNormal();
        ASSERT_NEAR(d.Length(), 1, 1e-5f);
        sum3 += d;
        cVec2 e = cVec2::RandNormal();
        ASSERT_NEAR(e.Length(), 1, 1e-5f);
        sum2 += e;
        cVec3 c = cVec3::RandRange1();
        ASSERT_TRUE(c.x >= -1 && c.x < 1 && c.y >= -1 && c.y < 1 && c.z >= -1 && c.z < 1);
    }
    EXPECT_LT((sum3 / 20000).Length(), 0.03f);
    EXPECT_LT((sum2 / 20000).Length(), 0.03f);
}
