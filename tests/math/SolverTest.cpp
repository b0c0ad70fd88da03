// cSolver: quadratic and cubic roots (with repeated and ill-separated roots),
// the symmetric eigen problem, plane fitting and point in polygon.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "zozud/math/Math.h"
#include "zozud/math/Solver.h"

using namespace zozud;

TEST(Solver, QuadraticCodes) {
    float r[2] = {-9, -9};
    EXPECT_EQ(cSolver::GetRoots2(0, 0, 0, r), -3);
    EXPECT_EQ(cSolver::GetRoots2(0, 0, 1, r), -2);
    EXPECT_EQ(cSolver::GetRoots2(0, 2, -3, r), -1);
    EXPECT_EQ(r[0], 1.5f);
    EXPECT_EQ(cSolver::GetRoots2(1, 0, 1, r), 0);
    EXPECT_EQ(r[0], 0);
    EXPECT_EQ(r[1], 1);
    EXPECT_EQ(cSolver::GetRoots2(1, -3, 2, r), 2);
    EXPECT_EQ(r[0], 2);
    EXPECT_EQ(r[1], 1);
    EXPECT_EQ(cSolver::GetRoots2(1, -2, 1, r), 1);
    EXPECT_EQ(r[0], 1);
    EXPECT_EQ(cSolver::GetRoots2(2, 4, 10, r), 0);  // -1 +- 2i
    EXPECT_EQ(r[0], -1);
    EXPECT_EQ(r[1], 2);
    // Widely separated roots keep their precision (no cancellation in the small one).
    EXPECT_EQ(cSolver::GetRoots2(1, -1e4f, 1, r), 2);
    EXPECT_FLOAT_EQ(std::max(r[0], r[1]), 1e4f);
    EXPECT_FLOAT_EQ(std::min(r[0], r[1]), 1e-4f);
    EXPECT_EQ(cSolver::GetRoots2(1, 1e4f, 1, r), 2);
    EXPECT_FLOAT_EQ(std::max(r[0], r[1]), -1e-4f);

    float root = -1;
    EXPECT_EQ(cSolver::GetLowestPositiveRoot2(1, -3, 2, 1.5f, &root), 1);
    EXPECT_EQ(root, 1);
    root = -1;
    EXPECT_EQ(cSolver::GetLowestPositiveRoot2(1, -3, 2, 1, &root), 0);
    EXPECT_EQ(root, -1);
    EXPECT_EQ(cSolver::GetLowestPositiveRoot2(1, -3, 2, 5, &root), 1);
    EXPECT_EQ(root, 1);
    EXPECT_EQ(cSolver::GetLowestPositiveRoot2(1, 1, -2, 5, &root), 1);  // roots -2 and 1
    EXPECT_EQ(root, 1);
    EXPECT_EQ(cSolver::GetLowestPositiveRoot2(0, 1, -1, 5, &root), 0);  // linear: none
    EXPECT_EQ(cSolver::GetLowestPositiveRoot2(1, 0, 1, 5, &root), 0);   // complex: none
    EXPECT_EQ(cSolver::GetLowestPositiveRoot2(1, -4, 4, 5, &root), 1);  // double root 2
    EXPECT_EQ(root, 2);
    EXPECT_EQ(cSolver::GetLowestPositiveRoot2(1, 3, 2, 5, &root), 0);   // both negative
}

static int Roots3(double r1, double r2, double r3, float out[3]) {
    double a = -(r1 + r2 + r3), b = r1 * r2 + r1 * r3 + r2 * r3, c = -r1 * r2 * r3;
    return cSolver::GetRoots3(float(a), float(b), float(c), out);
}

TEST(Solver, CubicRoots) {
    float r[3];
    ASSERT_EQ(Roots3(1, 2, 3, r), 3);
    EXPECT_NEAR(r[0], 1, 1e-5f);
    EXPECT_NEAR(r[1], 2, 1e-5f);
    EXPECT_NEAR(r[2], 3, 1e-5f);
    ASSERT_EQ(cSolver::GetRoots3(-3, 3, -1, r), 3);  // (x - 1)^3
    for (float x : r) EXPECT_NEAR(x, 1, 1e-5f);
    ASSERT_EQ(cSolver::GetRoots3(0, 0, 0, r), 3);  // x^3
    for (float x : r) EXPECT_EQ(x, 0);
    ASSERT_EQ(cSolver::GetRoots3(0, -3, 2, r), 3);  // (x - 1)^2 (x + 2): the double root twice
    EXPECT_NEAR(r[0], -2, 1e-5f);
    EXPECT_NEAR(r[1], 1, 1e-4f);
    EXPECT_NEAR(r[2], 1, 1e-4f);
    ASSERT_EQ(Roots3(0.1, 0.1, 0.7, r), 3);  // a double root whose coefficients round in float
    EXPECT_NEAR(r[0], 0.1f, 1e-3f);
    EXPECT_NEAR(r[1], 0.1f, 1e-3f);
    EXPECT_NEAR(r[2], 0.7f, 1e-5f);
    ASSERT_EQ(Roots3(-5, 3, 3, r), 3);  // the double root is the largest
    EXPECT_NEAR(r[0], -5, 1e-4f);
    EXPECT_NEAR(r[2], 3, 1e-3f);
    ASSERT_EQ(cSolver::GetRoots3(0, 0, -8, r), 1);  // x^3 = 8
    EXPECT_FLOAT_EQ(r[0], 2);
    ASSERT_EQ(cSolver::GetRoots3(0, 1, 0, r), 1);  // x (x^2 + 1)
    EXPECT_EQ(r[0], 0);
    ASSERT_EQ(Roots3(1e-3, 1, 1e3, r), 3);  // six orders of magnitude apart
    EXPECT_NEAR(r[0], 1e-3f, 1e-6f);
    EXPECT_NEAR(r[1], 1, 1e-5f);
    EXPECT_NEAR(r[2], 1e3f, 1e-2f);
    EXPECT_EQ(cSolver::GetRoots3(NAN, 0, 0, r), 0);
    EXPECT_EQ(cSolver::GetRoots3(0, INFINITY, 0, r), 0);

    cMath::Randomize(81);
    for (int i = 0; i < 20000; i++) {
        double x[3] = {cMath::RandRange1() * 10.0, cMath::RandRange1() * 10.0, cMath::RandRange1() * 10.0};
        std::sort(x, x + 3);
        if (x[1] - x[0] < 0.05 || x[2] - x[1] < 0.05) continue;  // well separated: each must be found
        ASSERT_EQ(Roots3(x[0], x[1], x[2], r), 3) << x[0] << " " << x[1] << " " << x[2];
        for (int k = 0; k < 3; k++) ASSERT_NEAR(r[k], x[k], 2e-3 * (1 + std::fabs(x[k])));
        // A pair closer than float can separate is never lost: it comes back
        // as two roots near the pair (within about the square root of the
        // coefficients' rounding).
        double pr = cMath::RandRange1() * 3, gap = cMath::Rand01() * 1e-4, other = pr + 1 + cMath::Rand01() * 3;
        ASSERT_EQ(Roots3(pr, pr + gap, other, r), 3) << pr << " " << gap;
        ASSERT_NEAR(r[0], pr, 3e-3);
        ASSERT_NEAR(r[1], pr + gap, 3e-3);
        ASSERT_NEAR(r[2], other, 1e-4 * (1 + std::fabs(other)));
        // One real root with a complex pair.
        double re = cMath::RandRange1() * 5, im = 0.5 + cMath::Rand01() * 5, real = cMath::RandRange1() * 5;
        double a = -(2 * re + real), b = re * re + im * im + 2 * re * real, c = -real * (re * re + im * im);
        ASSERT_EQ(cSolver::GetRoots3(float(a), float(b), float(c), r), 1);
        ASSERT_NEAR(r[0], real, 1e-3 * (1 + std::fabs(real)));
    }
}

static void ExpectEigen(const cMat3& m, const float values[3], const cVec3 vectors[3], float eps) {
    for (int i = 0; i < 3; i++) {
        EXPECT_NEAR(vectors[i].Length(), 1, 1e-5f);
        cVec3 mv = vectors[i] * m;  // symmetric: v M = M v
        for (int k = 0; k < 3; k++) EXPECT_NEAR(mv[k], values[i] * vectors[i][k], eps);
        if (i) {
            EXPECT_LE(values[i - 1], values[i]);
        }
    }
    EXPECT_NEAR(vectors[0].Cross(vectors[1]).Dot(vectors[2]), 1, 1e-5f);
}

TEST(Solver, EigenSolveSymmetric) {
    float v[3];
    cVec3 e[3];
    ASSERT_TRUE(cSolver::EigenSolve(cMat3(3, 0, 0, 0, 1, 0, 0, 0, 2), v, e));
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(v[1], 2);
    EXPECT_EQ(v[2], 3);
    EXPECT_EQ(std::fabs(e[0].y), 1);
    ASSERT_TRUE(cSolver::EigenSolve(cMat3::Identity * 4, v, e));  // all three equal
    EXPECT_EQ(v[0], 4);
    EXPECT_EQ(v[2], 4);
    ExpectEigen(cMat3::Identity * 4, v, e, 1e-6f);
    ASSERT_TRUE(cSolver::EigenSolve(cMat3(2, 1, 0, 1, 2, 0, 0, 0, 0), v, e));
    EXPECT_NEAR(v[0], 0, 1e-6f);
    EXPECT_NEAR(v[1], 1, 1e-6f);
    EXPECT_NEAR(v[2], 3, 1e-6f);
    EXPECT_FALSE(cSolver::EigenSolve(cMat3(NAN, 0, 0, 0, 1, 0, 0, 0, 1), v, e));

    // Rotated diagonal matrices, with repeated and nearly repeated eigenvalues.
    cMath::Randomize(82);
    const float sets[4][3] = {{1, 2, 3}, {2, 2, 5}, {-1, 1e-4f, 1e-4f + 1e-6f}, {1e3f, 1e3f, 1e3f + 1e-2f}};
    for (int i = 0; i < 400; i++) {
        const float* d = sets[i % 4];
        cMat3 r = cMat3::RotationXYZ(cMath::RandRange1() * 180, cMath::RandRange1() * 90, cMath::RandRange1() * 180);
        cMat3 m = r.ToTranspose() * cMat3::Scaling(d[0], d[1], d[2]) * r;
        for (int k = 0; k < 3; k++)  // exactly symmetric
            for (int j = 0; j < k; j++) m.m[k * 3 + j] = m.m[j * 3 + k];
        ASSERT_TRUE(cSolver::EigenSolve(m, v, e));
        float scale = std::fabs(d[2]) + std::fabs(d[0]);
        for (int k = 0; k < 3; k++) ASSERT_NEAR(v[k], d[k], 2e-6f * scale);
        ExpectEigen(m, v, e, 4e-6f * scale);
    }
}

TEST(Solver, BestFitPlane) {
    cMath::Randomize(83);
    cVec3 n = cVec3(1, 2, -2).ToNormal(), u, w;
    n.ToPerps(&u, &w);
    cVec3 origin(10, -20, 30), pts[500];
    for (cVec3& p : pts) p = origin + u * (cMath::RandRange1() * 8) + w * (cMath::RandRange1() * 2) + n * (cMath::RandRange1() * 0.01f);
    cVec3 c, fn, au, av;
    ASSERT_TRUE(cSolver::ApproximatePoints(pts, 500, &c, &fn, &au, &av));
    EXPECT_NEAR(std::fabs(fn.Dot(n)), 1, 1e-5f);
    EXPECT_NEAR(std::fabs(au.Dot(u)), 1, 1e-3f);  // the widest spread
    EXPECT_NEAR(au.Cross(av).Dot(fn), 1, 1e-5f);
    EXPECT_LT((c - origin).Length(), 0.5f);
    // Exactly planar (also a thin triangle of points), one point, none.
    cVec3 tri[3] = {cVec3(0, 0, 5), cVec3(1000, 0, 5), cVec3(500, 0.01f, 5)};
    ASSERT_TRUE(cSolver::ApproximatePoints(tri, 3, &c, &fn));
    EXPECT_NEAR(std::fabs(fn.z), 1, 1e-5f);
    ASSERT_TRUE(cSolver::ApproximatePoints(tri, 1, &c, &fn));
    EXPECT_EQ(c, tri[0]);
    EXPECT_NEAR(fn.Length(), 1, 1e-6f);
    EXPECT_FALSE(cSolver::ApproximatePoints(tri, 0, &c, &fn));
}

TEST(Solver, PointInPolygon) {
    cList<cVec2> square;
    for (cVec2 p : {cVec2(0, 0), cVec2(4, 0), cVec2(4, 4), cVec2(0, 4)}) square.Add(p);
    EXPECT_TRUE(cSolver::PointInPolygon(square, cVec2(2, 2)));
    EXPECT_FALSE(cSolver::PointInPolygon(square, cVec2(5, 2)));
    EXPECT_FALSE(cSolver::PointInPolygon(square, cVec2(2, -0.001f)));
    // Clockwise outline: the same answers.
    cList<cVec2> cw;
    for (int i = 3; i >= 0; i--) cw.Add(square[i]);
    EXPECT_TRUE(cSolver::PointInPolygon(cw, cVec2(2, 2)));
    EXPECT_FALSE(cSolver::PointInPolygon(cw, cVec2(-1, 2)));
    // Concave "U": the notch is outside.
    cList<cVec2> u;
    for (cVec2 p : {cVec2(0, 0), cVec2(6, 0), cVec2(6, 6), cVec2(4, 6), cVec2(4, 2), cVec2(2, 2), cVec2(2, 6), cVec2(0, 6)}) u.Add(p);
    EXPECT_FALSE(cSolver::PointInPolygon(u, cVec2(3, 4)));
    EXPECT_TRUE(cSolver::PointInPolygon(u, cVec2(1, 4)));
    EXPECT_TRUE(cSolver::PointInPolygon(u, cVec2(3, 1)));
    // A pentagram: its centre is wound twice and still inside.
    cList<cVec2> star;
    for (int i = 0; i < 5; i++) {
        float a = cMath::HalfPi + i * 2 * (2 * cMath::Pi / 5);
        star.Add(cVec2(std::cos(a), std::sin(a)));
    }
    EXPECT_TRUE(cSolver::PointInPolygon(star, cVec2(0, 0)));
    EXPECT_FALSE(cSolver::PointInPolygon(star, cVec2(2, 0)));
    // Ray through a vertex does not count twice.
    cList<cVec2> diamond;
    for (cVec2 p : {cVec2(0, -1), cVec2(1, 0), cVec2(0, 1), cVec2(-1, 0)}) diamond.Add(p);
    EXPECT_TRUE(cSolver::PointInPolygon(diamond, cVec2(0, 0)));
    EXPECT_FALSE(cSolver::PointInPolygon(diamond, cVec2(-2, 0)));
    cList<cVec2> two;
    two.Add(cVec2(0, 0));
    two.Add(cVec2(1, 1));
    EXPECT_FALSE(cSolver::PointInPolygon(two, cVec2(0.5f, 0.5f)));
    EXPECT_FALSE(cSolver::PointInPolygon(cList<cVec2>(), cVec2(0, 0)));
}
