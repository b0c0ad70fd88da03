// cFrustum: corners and planes from a view-projection, culling and scaling.
#include <gtest/gtest.h>

#include <cmath>

#include "zozud/math/Bounds.h"
#include "zozud/math/Frustum.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Math.h"
#include "zozud/math/Sphere.h"

using namespace zozud;

static float PlaneDist(const cVec4& p, const cVec3& x) { return p.x * x.x + p.y * x.y + p.z * x.z + p.w; }

TEST(Frustum, FromPerspective) {
    cFrustum f;
    ASSERT_TRUE(f.FromViewProjection(cMat4::Perspective(90, 1, 1, 10)));
    // Corners: near face at z = -1 (half size 1), far face at z = -10 (half size 10).
    const cVec3 want[8] = {cVec3(-1, -1, -1), cVec3(-1, 1, -1),    cVec3(1, 1, -1),    cVec3(1, -1, -1),
                           cVec3(-10, -10, -10), cVec3(-10, 10, -10), cVec3(10, 10, -10), cVec3(10, -10, -10)};
    for (int i = 0; i < 8; i++)
        for (int k = 0; k < 3; k++) EXPECT_NEAR(f.corners[i][k], want[i][k], 1e-4f) << i;
    // Planes: near, far, left, right, bottom, top, all facing inwards.
    const cVec3 normals[6] = {cVec3(0, 0, -1), cVec3(0, 0, 1), cVec3(cMath::Sqrt1Over2, 0, -cMath::Sqrt1Over2),
                              cVec3(-cMath::Sqrt1Over2, 0, -cMath::Sqrt1Over2), cVec3(0, cMath::Sqrt1Over2, -cMath::Sqrt1Over2),
                              cVec3(0, -cMath::Sqrt1Over2, -cMath::Sqrt1Over2)};
    for (int i = 0; i < 6; i++)
        for (int k = 0; k < 3; k++) EXPECT_NEAR(f.planes[i][k], normals[i][k], 1e-5f) << i;
    EXPECT_NEAR(f.planes[0].w, -1, 1e-4f);
    EXPECT_NEAR(f.planes[1].w, 10, 1e-3f);
    // Every corner lies on three planes and inside the other three.
    for (int i = 0; i < 8; i++) {
        int on = 0;
        for (const cVec4& p : f.planes) {
            float d = PlaneDist(p, f.corners[i]);
            EXPECT_GT(d, -1e-3f);
            on += std::fabs(d) < 1e-3f;
        }
        EXPECT_EQ(on, 3);
    }
    EXPECT_FALSE(f.CullPoint(cVec3(0, 0, -5)));
    EXPECT_FALSE(f.CullPoint(cVec3(4.9f, 0, -5)));
    EXPECT_TRUE(f.CullPoint(cVec3(5.1f, 0, -5)));
    EXPECT_TRUE(f.CullPoint(cVec3(0, 0, -0.5f)));
    EXPECT_TRUE(f.CullPoint(cVec3(0, 0, -11)));
    EXPECT_TRUE(f.CullPoint(cVec3(0, 0, 5)));
    EXPECT_FALSE(f.CullSphere(cSphere(cVec3(6, 0, -5), 1)));
    EXPECT_TRUE(f.CullSphere(cSphere(cVec3(8, 0, -5), 1)));
    EXPECT_FALSE(f.FromViewProjection(cMat4::Zero));
}

TEST(Frustum, OrthoAndLookAt) {
    cFrustum f;
    ASSERT_TRUE(f.FromViewProjection(cMat4::Ortho(4, 2, 1, 5), 0.0f));
    EXPECT_NEAR(f.corners[0].x, -2, 1e-5f);
    EXPECT_NEAR(f.corners[0].z, -1, 1e-5f);
    EXPECT_NEAR(f.corners[6].y, 1, 1e-5f);
    EXPECT_NEAR(f.corners[6].z, -5, 1e-5f);
    EXPECT_FALSE(f.CullPoint(cVec3(1.9f, 0.9f, -4.9f)));
    EXPECT_TRUE(f.CullPoint(cVec3(2.1f, 0, -3)));

    // The frustum of a camera in the world agrees with the projection itself.
    cMat4 vp = cMat4::LookAtViewProjection(cVec3(5, 3, 8), cVec3(0, 0, 0), 60, 1.5f, 0.5f, 50);
    ASSERT_TRUE(f.FromViewProjection(vp));
    cMath::Randomize(71);
    for (int i = 0; i < 3000; i++) {
        cVec3 p = cVec3::RandRange1() * 40;
        cVec4 clip = cVec4(p, 1) * vp;
        bool inside = clip.w > 0 && std::fabs(clip.x) <= clip.w && std::fabs(clip.y) <= clip.w && std::fabs(clip.z) <= clip.w;
        float margin = std::fmin(std::fmin(clip.w - std::fabs(clip.x), clip.w - std::fabs(clip.y)), clip.w - std::fabs(clip.z));
        if (std::fabs(margin) < 1e-2f) continue;
        ASSERT_EQ(f.CullPoint(p), !inside) << i;
    }
}

TEST(Frustum, CullBoundsAndZeroPlanes) {
    cFrustum f;
    ASSERT_TRUE(f.FromViewProjection(cMat4::Perspective(90, 1, 1, 100)));
    cBounds unit(cVec3(-1, -1, -1), cVec3(1, 1, 1));
    EXPECT_FALSE(f.CullBounds(unit, cMat4::Translation(0, 0, -10)));
    EXPECT_TRUE(f.CullBounds(unit, cMat4::Translation(0, 0, 10)));     // behind
    EXPECT_TRUE(f.CullBounds(unit, cMat4::Translation(0, 0, -200)));   // past the far plane
    EXPECT_TRUE(f.CullBounds(unit, cMat4::Translation(20, 0, -10)));   // to the right
    EXPECT_FALSE(f.CullBounds(unit, cMat4::Translation(10.5f, 0, -10)));  // straddling the side
    // Scaled by the matrix, the box reaches back in.
    EXPECT_FALSE(f.CullBounds(unit, cMat4::Scaling(15) * cMat4::Translation(20, 0, -10)));
    EXPECT_FALSE(f.CullBounds(cBounds::Empty, cMat4::Identity));

    cFrustum z = cFrustum::Zero;
    z.CalcPlanes();
    for (const cVec4& p : z.planes) EXPECT_EQ(p, cVec4(0, 0, 0, 0));
    EXPECT_FALSE(z.CullPoint(cVec3(1e6f, -5, 3)));
    EXPECT_FALSE(z.CullBounds(unit, cMat4::Translation(100, 0, 0)));
    // A far face collapsed to a point loses its plane; the others still cull.
    cFrustum apex = f;
    for (int i = 4; i < 8; i++) apex.corners[i] = cVec3(0, 0, -10);
    apex.CalcPlanes();
    EXPECT_EQ(apex.planes[1], cVec4(0, 0, 0, 0));
    EXPECT_NE(apex.planes[0], cVec4(0, 0, 0, 0));
    EXPECT_NE(apex.planes[2], cVec4(0, 0, 0, 0));
    EXPECT_FALSE(apex.CullPoint(cVec3(0, 0, -5)));
    EXPECT_TRUE(apex.CullPoint(cVec3(0, 0, 0)));
    EXPECT_TRUE(apex.CullPoint(cVec3(0.9f, 0, -5)));
}

TEST(Frustum, ScaleShrinksTheCrossSection) {
    cFrustum f;
    ASSERT_TRUE(f.FromViewProjection(cMat4::Perspective(90, 1, 1, 10)));
    cFrustum same = f;
    same.Scale(cVec2(1, 1));
    for (int i = 0; i < 8; i++)
        for (int k = 0; k < 3; k++) EXPECT_NEAR(same.corners[i][k], f.corners[i][k], 1e-5f);
    f.Scale(cVec2(0.5f, 0.25f));
    EXPECT_NEAR(f.corners[2].x, 0.5f, 1e-5f);
    EXPECT_NEAR(f.corners[2].y, 0.25f, 1e-5f);
    EXPECT_NEAR(f.corners[6].x, 5, 1e-4f);
    EXPECT_NEAR(f.corners[6].z, -10, 1e-4f);
    EXPECT_FALSE(f.CullPoint(cVec3(2.4f, 0, -5)));
    EXPECT_TRUE(f.CullPoint(cVec3(2.6f, 0, -5)));
    EXPECT_TRUE(f.CullPoint(cVec3(0, 1.3f, -5)));
    EXPECT_FALSE(f.CullPoint(cVec3(0, 1.2f, -5)));
}

TEST(Frustum, TablesCoverTheBox) {
    // Each edge appears in exactly two triangles' outlines or as a face diagonal.
    int uses[8] = {0};
    for (const auto& t : cFrustum::Triangles)
        for (int v : t) uses[v]++;
    for (int u : uses) EXPECT_GE(u, 3);
    for (const auto& s : cFrustum::Segments) EXPECT_NE(s[0], s[1]);
    EXPECT_EQ(sizeof(cFrustum), 192u);
}
