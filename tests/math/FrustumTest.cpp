// cFrustum: corners and planes from a view-projection, culling and scaling.
#include "math/MathCheck.h"
#include "zozud/math/Frustum.h"
#include "zozud/math/Sphere.h"

using namespace mathtest;

TEST(Frustum, FromPerspective) {
    cFrustum f;
    ASSERT_TRUE(f.FromViewProjection(cMat4::Perspective(90, 1, 1, 10)));
    // Near face at z = -1 (half size 1), far face at z = -10 (half size 10).
    const cVec3 want[8] = {cVec3(-1, -1, -1),    cVec3(-1, 1, -1),    cVec3(1, 1, -1),    cVec3(1, -1, -1),
                           cVec3(-10, -10, -10), cVec3(-10, 10, -10), cVec3(10, 10, -10), cVec3(10, -10, -10)};
    for (int i = 0; i < 8; i++) EXPECT_TRUE(Near(f.corners[i], want[i], 1e-4f)) << i;
    EXPECT_TRUE(Near(f.planes[0], cVec4(0, 0, -1, -1), 1e-4f));  // near first, facing inwards
    EXPECT_FALSE(f.CullSphere(cSphere(cVec3(6, 0, -5), 1)));
    EXPECT_TRUE(f.CullSphere(cSphere(cVec3(8, 0, -5), 1)));
    EXPECT_FALSE(f.FromViewProjection(cMat4::Zero));
}

// The frustum of a camera in the world agrees with the clip test of the projection itself.
TEST(Frustum, CullingAgreesWithClipSpace) {
    cFrustum f;
    ASSERT_TRUE(f.FromViewProjection(cMat4::Ortho(4, 2, 1, 5), 0.0f));
    EXPECT_TRUE(Near(f.corners[6], cVec3(2, 1, -5), 1e-5f));
    cMat4 vp = cMat4::LookAtViewProjection(cVec3(5, 3, 8), cVec3(0, 0, 0), 60, 1.5f, 0.5f, 50);
    ASSERT_TRUE(f.FromViewProjection(vp));
    cMath::Randomize(71);
    for (int i = 0; i < 3000; i++) {
        cVec3 p = cVec3::RandRange1() * 40;
        cVec4 clip = cVec4(p, 1) * vp;
        float margin = std::fmin(std::fmin(clip.w - std::fabs(clip.x), clip.w - std::fabs(clip.y)), clip.w - std::fabs(clip.z));
        ASSERT_TRUE(std::fabs(margin) < 1e-2f || f.CullPoint(p) == (margin < 0)) << i;
    }
}

TEST(Frustum, CullBoundsAndZeroPlanes) {
    cFrustum f;
    ASSERT_TRUE(f.FromViewProjection(cMat4::Perspective(90, 1, 1, 100)));
    cBounds unit(cVec3(-1, -1, -1), cVec3(1, 1, 1));
    // x and z of the box, and whether it is culled: inside, behind, past the far plane, right, straddling.
    const float boxes[][3] = {{0, -10, 0}, {0, 10, 1}, {0, -200, 1}, {20, -10, 1}, {10.5f, -10, 0}};
    for (const auto& b : boxes) EXPECT_EQ(f.CullBounds(unit, cMat4::Translation(b[0], 0, b[1])), b[2] != 0) << b[0] << " " << b[1];
    EXPECT_FALSE(f.CullBounds(unit, cMat4::Scaling(15) * cMat4::Translation(20, 0, -10)));  // scaled back in
    EXPECT_FALSE(f.CullBounds(cBounds::Empty, cMat4::Identity));
    // A box with a corner inside is kept, however many of the others lie outside.
    cMath::Randomize(72);
    int straddling = 0;
    for (int i = 0; i < 2000; i++) {
        cMat4 m = RandomAngles().ToMat4() * cMat4::Translation(cVec3::RandRange1() * 60 + cVec3(0, 0, -50));
        cVec3 c[8];
        unit.ToPoints(c);
        int inside = 0;
        for (const cVec3& p : c) inside += !f.CullPoint(cVec3::TransformCoordinate(p, m));
        if (inside == 0) continue;
        straddling += inside < 8;
        ASSERT_FALSE(f.CullBounds(unit, m)) << i << ": " << inside << " corners inside";
    }
    EXPECT_GT(straddling, 50);

    cFrustum z = cFrustum::Zero;  // coincident corners: zero planes, which cull nothing
    z.CalcPlanes();
    for (const cVec4& p : z.planes) EXPECT_EQ(p, cVec4(0, 0, 0, 0));
    EXPECT_FALSE(z.CullPoint(cVec3(1e6f, -5, 3)) || z.CullBounds(unit, cMat4::Translation(100, 0, 0)));
}

TEST(Frustum, ScaleShrinksTheCrossSection) {
    cFrustum f;
    ASSERT_TRUE(f.FromViewProjection(cMat4::Perspective(90, 1, 1, 10)));
    f.Scale(cVec2(0.5f, 0.25f));
    EXPECT_TRUE(Near(f.corners[2], cVec3(0.5f, 0.25f, -1), 1e-5f));
    EXPECT_TRUE(Near(f.corners[6], cVec3(5, 2.5f, -10), 1e-5f));
    EXPECT_FALSE(f.CullPoint(cVec3(2.4f, 1.2f, -5)));  // and the planes follow
    EXPECT_TRUE(f.CullPoint(cVec3(2.6f, 0, -5)) && f.CullPoint(cVec3(0, 1.3f, -5)));
}
