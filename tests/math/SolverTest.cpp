// cSolver: roots, the symmetric eigen problem, plane fitting and point in polygon.
#include "math/MathCheck.h"
#include "zozud/math/Solver.h"

using namespace mathtest;

TEST(Solver, QuadraticCodes) {
    const struct {
        float a, b, c;
        int code;
        float r0, r1;
    } rows[] = {{0, 0, 0, -3, -9, -9}, {0, 0, 1, -2, -9, -9}, {0, 2, -3, -1, 1.5f, -9}, {1, 0, 1, 0, 0, 1},
                {1, -3, 2, 2, 2, 1},   {1, -2, 1, 1, 1, -9},  {2, 4, 10, 0, -1, 2},  // -1 +- 2i
                {-1, 3, -2, 2, 2, 1},  {-1, 2, -1, 1, 1, -9}, {-2, -4, -10, 0, -1, -2}};  // a < 0: the imaginary part takes its sign
    for (const auto& row : rows) {
        float r[2] = {-9, -9};
        EXPECT_EQ(cSolver::GetRoots2(row.a, row.b, row.c, r), row.code) << row.a << " " << row.b << " " << row.c;
        EXPECT_TRUE(r[0] == row.r0 && r[1] == row.r1) << r[0] << " " << r[1];
    }
    // Widely separated roots keep their precision (no cancellation in the small one).
    float r[2];
    EXPECT_EQ(cSolver::GetRoots2(1, -1e4f, 1, r), 2);
    EXPECT_FLOAT_EQ(std::max(r[0], r[1]), 1e4f);
    EXPECT_FLOAT_EQ(std::min(r[0], r[1]), 1e-4f);
    EXPECT_EQ(cSolver::GetRoots2(1, 1e4f, 1, r), 2);
    EXPECT_FLOAT_EQ(std::max(r[0], r[1]), -1e-4f);

    const struct {
        float a, b, c, limit, root;  // root -1: none
    } lowest[] = {{1, -3, 2, 1.5f, 1}, {1, -3, 2, 1, -1}, {1, -3, 2, 5, 1}, {1, 1, -2, 5, 1}, {0, 1, -1, 5, -1},
                  {1, 0, 1, 5, -1},    {1, -4, 4, 5, 2},  {1, 3, 2, 5, -1}};
    for (const auto& row : lowest) {
        float root = -1;
        EXPECT_EQ(cSolver::GetLowestPositiveRoot2(row.a, row.b, row.c, row.limit, &root), row.root > 0 ? 1 : 0) << row.b << " " << row.c;
        EXPECT_EQ(root, row.root);
    }
}

static int Roots3(double r1, double r2, double r3, float out[3]) {
    return cSolver::GetRoots3(float(-(r1 + r2 + r3)), float(r1 * r2 + r1 * r3 + r2 * r3), float(-r1 * r2 * r3), out);
}

TEST(Solver, CubicRoots) {
    // Three roots in ascending order, then the tolerance for each.
    const double rows[][6] = {{1, 1, 1, 1e-5, 1e-5, 1e-5},      {0, 0, 0, 0, 0, 0},
                              {-2, 1, 1, 1e-5, 1e-4, 1e-4},      // the double root twice
                              {0.1, 0.1, 0.7, 1e-3, 1e-3, 1e-5}, // a double root whose coefficients round in float
                              {-5, 3, 3, 1e-4, 1e-3, 1e-3},      // the double root is the largest
                              {1e-3, 1, 1e3, 1e-6, 1e-5, 1e-2}}; // six orders of magnitude apart
    float r[3];
    for (const auto& t : rows) {
        ASSERT_EQ(Roots3(t[0], t[1], t[2], r), 3) << t[0] << " " << t[1] << " " << t[2];
        for (int k = 0; k < 3; k++) EXPECT_NEAR(r[k], t[k], t[3 + k]) << t[0] << " " << k;
    }
    ASSERT_EQ(cSolver::GetRoots3(0, 0, -8, r), 1);  // x^3 = 8
    EXPECT_FLOAT_EQ(r[0], 2);
    EXPECT_TRUE(cSolver::GetRoots3(NAN, 0, 0, r) == 0 && cSolver::GetRoots3(0, INFINITY, 0, r) == 0);

    cMath::Randomize(81);
    for (int i = 0; i < 20000; i++) {
        double x[3] = {cMath::RandRange1() * 10.0, cMath::RandRange1() * 10.0, cMath::RandRange1() * 10.0};
        std::sort(x, x + 3);
        if (x[1] - x[0] < 0.05 || x[2] - x[1] < 0.05) continue;  // well separated: each must be found
        ASSERT_EQ(Roots3(x[0], x[1], x[2], r), 3) << x[0] << " " << x[1] << " " << x[2];
        for (int k = 0; k < 3; k++) ASSERT_NEAR(r[k], x[k], 2e-3 * (1 + std::fabs(x[k])));
        // A pair closer than float can separate is never lost: two roots near the pair.
        double pr = cMath::RandRange1() * 3, gap = cMath::Rand01() * 1e-4, other = pr + 1 + cMath::Rand01() * 3;
        ASSERT_EQ(Roots3(pr, pr + gap, other, r), 3) << pr << " " << gap;
        ASSERT_TRUE(std::fabs(r[0] - pr) < 3e-3 && std::fabs(r[1] - pr - gap) < 3e-3 && std::fabs(r[2] - other) < 1e-4 * (1 + std::fabs(other)));
        // One real root with a complex pair.
        double re = cMath::RandRange1() * 5, im = 0.5 + cMath::Rand01() * 5, real = cMath::RandRange1() * 5;
        ASSERT_EQ(cSolver::GetRoots3(float(-(2 * re + real)), float(re * re + im * im + 2 * re * real), float(-real * (re * re + im * im)), r), 1);
        ASSERT_NEAR(r[0], real, 1e-3 * (1 + std::fabs(real)));
    }
}

TEST(Solver, EigenSolveSymmetric) {
    float v[3];
    cVec3 e[3];
    ASSERT_TRUE(cSolver::EigenSolve(cMat3(3, 0, 0, 0, 1, 0, 0, 0, 2), v, e));
    EXPECT_TRUE(v[0] == 1 && v[1] == 2 && v[2] == 3 && std::fabs(e[0].y) == 1);
    ASSERT_TRUE(cSolver::EigenSolve(cMat3(2, 1, 0, 1, 2, 0, 0, 0, 0), v, e));
    EXPECT_TRUE(std::fabs(v[0]) < 1e-6f && std::fabs(v[1] - 1) < 1e-6f && std::fabs(v[2] - 3) < 1e-6f);
    EXPECT_FALSE(cSolver::EigenSolve(cMat3(NAN, 0, 0, 0, 1, 0, 0, 0, 1), v, e));

    // Rotated diagonal matrices, with equal, repeated and nearly repeated eigenvalues.
    cMath::Randomize(82);
    const float sets[5][3] = {{1, 2, 3}, {2, 2, 5}, {-1, 1e-4f, 1e-4f + 1e-6f}, {1e3f, 1e3f, 1e3f + 1e-2f}, {4, 4, 4}};
    for (int i = 0; i < 400; i++) {
        const float* d = sets[i % 5];
        cMat3 r = cMat3::RotationXYZ(cMath::RandRange1() * 180, cMath::RandRange1() * 90, cMath::RandRange1() * 180);
        cMat3 m = r.ToTranspose() * cMat3::Scaling(d[0], d[1], d[2]) * r;
        for (int k = 0; k < 3; k++)  // exactly symmetric
            for (int j = 0; j < k; j++) m.m[k * 3 + j] = m.m[j * 3 + k];
        ASSERT_TRUE(cSolver::EigenSolve(m, v, e));
        float scale = std::fabs(d[2]) + std::fabs(d[0]);
        for (int k = 0; k < 3; k++) {
            ASSERT_NEAR(v[k], d[k], 2e-6f * scale);
            ASSERT_NEAR(e[k].Length(), 1, 1e-5f);
            cVec3 mv = e[k] * m;  // symmetric: v M = M v
            for (int j = 0; j < 3; j++) ASSERT_NEAR(mv[j], v[k] * e[k][j], 4e-6f * scale);
        }
        ASSERT_NEAR(e[0].Cross(e[1]).Dot(e[2]), 1, 1e-5f);  // a right-handed basis
    }
}

TEST(Solver, BestFitPlane) {
    cMath::Randomize(83);
    cVec3 n = cVec3(1, 2, -2).ToNormal(), u, w, origin(10, -20, 30), pts[500];
    n.ToPerps(&u, &w);
    for (cVec3& p : pts) p = origin + u * (cMath::RandRange1() * 8) + w * (cMath::RandRange1() * 2) + n * (cMath::RandRange1() * 0.01f);
    cVec3 c, fn, au, av;
    ASSERT_TRUE(cSolver::ApproximatePoints(pts, 500, &c, &fn, &au, &av));
    EXPECT_NEAR(std::fabs(fn.Dot(n)), 1, 1e-5f);
    EXPECT_NEAR(std::fabs(au.Dot(u)), 1, 1e-3f);  // the widest spread
    EXPECT_NEAR(au.Cross(av).Dot(fn), 1, 1e-5f);
    EXPECT_LT((c - origin).Length(), 0.5f);
    // A thin triangle of points, one point, none.
    cVec3 tri[3] = {cVec3(0, 0, 5), cVec3(1000, 0, 5), cVec3(500, 0.01f, 5)};
    ASSERT_TRUE(cSolver::ApproximatePoints(tri, 3, &c, &fn));
    EXPECT_NEAR(std::fabs(fn.z), 1, 1e-5f);
    ASSERT_TRUE(cSolver::ApproximatePoints(tri, 1, &c, &fn));
    EXPECT_TRUE(c == tri[0] && std::fabs(fn.Length() - 1) < 1e-6f);
    EXPECT_FALSE(cSolver::ApproximatePoints(tri, 0, &c, &fn));
}

TEST(Solver, PointInPolygon) {
    auto poly = [](std::initializer_list<cVec2> pts) {
        cList<cVec2> l;
        for (cVec2 p : pts) l.Add(p);
        return l;
    };
    cList<cVec2> square = poly({cVec2(0, 0), cVec2(4, 0), cVec2(4, 4), cVec2(0, 4)});
    cList<cVec2> cw = poly({cVec2(0, 4), cVec2(4, 4), cVec2(4, 0), cVec2(0, 0)});
    cList<cVec2> u = poly({cVec2(0, 0), cVec2(6, 0), cVec2(6, 6), cVec2(4, 6), cVec2(4, 2), cVec2(2, 2), cVec2(2, 6), cVec2(0, 6)});
    cList<cVec2> diamond = poly({cVec2(0, -1), cVec2(1, 0), cVec2(0, 1), cVec2(-1, 0)});  // rays through vertices
    cList<cVec2> star;  // a pentagram: its centre is wound twice and still inside
    for (int i = 0; i < 5; i++) star.Add(cVec2(std::cos(cMath::HalfPi + i * 4 * cMath::Pi / 5), std::sin(cMath::HalfPi + i * 4 * cMath::Pi / 5)));
    const struct {
        const cList<cVec2>* polygon;
        cVec2 p;
        bool inside;
    } rows[] = {{&square, cVec2(2, 2), true},   {&square, cVec2(5, 2), false},  {&square, cVec2(2, -0.001f), false},
                {&cw, cVec2(2, 2), true},       {&cw, cVec2(-1, 2), false},     {&u, cVec2(3, 4), false},  // the notch
                {&u, cVec2(1, 4), true},        {&u, cVec2(3, 1), true},        {&star, cVec2(0, 0), true},
                {&star, cVec2(2, 0), false},    {&diamond, cVec2(0, 0), true},  {&diamond, cVec2(-2, 0), false}};
    for (const auto& row : rows) EXPECT_EQ(cSolver::PointInPolygon(*row.polygon, row.p), row.inside) << row.p.x << " " << row.p.y;
    EXPECT_FALSE(cSolver::PointInPolygon(poly({cVec2(0, 0), cVec2(1, 1)}), cVec2(0.5f, 0.5f)));
    EXPECT_FALSE(cSolver::PointInPolygon(cList<cVec2>(), cVec2(0, 0)));
}
