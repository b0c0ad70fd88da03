// cMat3 and cMat4, cross-checked against GLM.
#include "math/MathCheck.h"

using namespace mathtest;

// Random entries with a dominant diagonal: well conditioned.
static cMat4 RandomMat4() {
    cMat4 m;
    for (int i = 0; i < 16; i++) m.m[i] = cMath::RandRange1();
    for (int i = 0; i < 4; i++) m.m[i * 5] += 3.0f * (cMath::Rand01() < 0.5f ? -1 : 1);
    return m;
}

static cVec3 Apply(const cMat4& m, const cVec3& p) { return cVec3::TransformCoordinate(p, m); }

TEST(Mat3, ElementaryRotationsAreRightHanded) {
    float s = std::sin(30 * cMath::RadsPerDeg), c = std::cos(30 * cMath::RadsPerDeg);
    EXPECT_TRUE(Near(cMat3::RotationX(30), cMat3(1, 0, 0, 0, c, s, 0, -s, c), 1e-7f));
    EXPECT_TRUE(Near(cMat3::RotationY(30), cMat3(c, 0, -s, 0, 1, 0, s, 0, c), 1e-7f));
    EXPECT_TRUE(Near(cMat3::RotationZ(30), cMat3(c, s, 0, -s, c, 0, 0, 0, 1), 1e-7f));
    // The forward vector turned by a yaw of 90 looks towards -X.
    EXPECT_EQ(cVec3(0, 0, -1) * cMat3::RotationXYZ(0, 90, 0), cVec3(-1, 0, 0));
    EXPECT_EQ(cAngles(0, 90, 0).ToForward(), cVec3(-1, 0, 0));
    // EulerZYX is the transpose of RotationXYZ (which applies X first, checked against GLM below).
    cMath::Randomize(1);
    for (int i = 0; i < 200; i++) {
        cAngles a = RandomAngles();
        cMat3 r = cMat3::RotationXYZ(a.Pitch, a.Yaw, a.Roll);
        ASSERT_TRUE(Near(cMat3::EulerZYX(a.Pitch, a.Yaw, a.Roll), r.ToTranspose(), 0));
        cVec3 fw, rt, up;
        r.ToVectors(&fw, &rt, &up);
        ASSERT_TRUE(fw == -r.GetRow(2) && rt == r.GetRow(0) && up == r.GetRow(1));
        ASSERT_EQ(cMat3::FromVectors(fw, rt, up), r);
    }
}

TEST(Mat3, ToAnglesInvertsRotationXYZ) {
    cMath::Randomize(4);
    for (int i = 0; i < 5000; i++) {
        cAngles a = RandomAngles(), back = a.ToMat3().ToAngles();
        ASSERT_TRUE(Near(back, a, 2e-3f, false)) << a;
    }
    // Gimbal lock: Yaw +-90, Roll 0, and the same matrix again.
    for (float yaw : {90.0f, -90.0f}) {
        for (int i = 0; i < 50; i++) {
            cMat3 m = cAngles(cMath::RandRange1() * 90, yaw, cMath::RandRange1() * 90).ToMat3();
            cAngles b = m.ToAngles();
            ASSERT_TRUE(b.Yaw == yaw && b.Roll == 0) << b;
            ASSERT_TRUE(Near(b.ToMat3(), m, 1e-5f)) << b;
        }
    }
    cMat3 m = cMat3::RotationXYZ(0, 90, 0);
    m.m[2] = -1.0000001f;  // past the asin range: clamped to exactly 90
    EXPECT_EQ(m.ToAngles().Yaw, 90.0f);
}

TEST(Mat4, ProductsAndInversesMatchGlm) {
    cMath::Randomize(5);
    for (int i = 0; i < 1000; i++) {
        cMat4 a = RandomMat4(), b = RandomMat4(), inv;
        // A * B applies A first: GLM writes that B * A.
        ASSERT_TRUE(Near(cMat4::Mul(a, b), FromGlm(ToGlm(b) * ToGlm(a)), 1e-5f));
        ASSERT_NEAR(a.Determinant(), glm::determinant(ToGlm(a)), 1e-3f * (1 + std::fabs(a.Determinant())));
        ASSERT_TRUE(cMat4::Invert(a, &inv));
        ASSERT_TRUE(Near(inv, FromGlm(glm::inverse(ToGlm(a))), 1e-4f));
        cMat3 m3 = a.ToMat3(), inv3;  // also diagonally dominant
        glm::mat3 g3 = glm::make_mat3(m3.m);
        ASSERT_NEAR(m3.Determinant(), glm::determinant(g3), 1e-4f * (1 + std::fabs(m3.Determinant())));
        ASSERT_TRUE(cMat3::Invert(m3, &inv3));
        ASSERT_TRUE(Near(inv3, FromGlm(glm::inverse(g3)), 1e-4f));
        // Rigid and scaled transforms come back to their points.
        cMat4 m = cMat4::Scaling(0.1f + cMath::Rand01() * 10) * RandomAngles().ToMat4() * cMat4::Translation(cVec3::RandRange1() * 100);
        ASSERT_TRUE(cMat4::Invert(m, &inv));
        cVec3 p = cVec3::RandRange1() * 50;
        ASSERT_NEAR((Apply(inv, Apply(m, p)) - p).Length(), 0, 1e-3f);
    }
}

TEST(Mat4, SingularMatricesAreRefused) {
    // |det| <= 1e-14: false, destination untouched.
    cMat3 dst3 = cMat3::Scaling(7);
    EXPECT_FALSE(cMat3::Invert(cMat3(1, 2, 3, 2, 4, 6, 0, 1, 1), &dst3) || cMat3::Invert(cMat3::Scaling(1e-5f), &dst3));
    EXPECT_EQ(dst3, cMat3::Scaling(7));
    ASSERT_TRUE(cMat3::Invert(cMat3::Scaling(1e-4f), &dst3));  // det 1e-12
    EXPECT_FLOAT_EQ(dst3.m[0], 1e4f);
    cMat4 dst = cMat4::Translation(1, 2, 3), rank3 = cMat4::Identity;
    rank3.SetRow(3, cVec4(1, 1, 0, 0));
    EXPECT_FALSE(cMat4::Invert(rank3, &dst) || cMat4::Invert(cMat4::Scaling(1e-5f), &dst));  // det 1e-15
    EXPECT_EQ(dst, cMat4::Translation(1, 2, 3));
    cMat4 near = cMat4::Scaling(1, 1e-8f, 1e-4f);  // two rows almost parallel and two small ones: det 1e-12
    near.m[4] = 1;
    ASSERT_TRUE(cMat4::Invert(near, &dst));
    EXPECT_TRUE(cMat4::Equals(dst * near, cMat4::Identity, 1e-3f));
}

TEST(Mat4, TransformsMatchGlm) {
    cMath::Randomize(7);
    for (int i = 0; i < 200; i++) {
        cVec3 t = cVec3::RandRange1() * 10, axis = cVec3::RandNormal();
        float a = cMath::RandRange1() * 180;
        glm::mat4 gt = glm::translate(glm::mat4(1), ToGlm(t));
        ASSERT_TRUE(Near(cMat4::Translation(t), FromGlm(gt), 0));
        ASSERT_TRUE(Near(cMat4::Rotation(axis, a), FromGlm(GlmRotate(axis, a)), 2e-6f));
        cAngles e = RandomAngles();
        glm::mat4 gxyz = GlmRotate(cVec3(0, 0, 1), e.Roll) * GlmRotate(cVec3(0, 1, 0), e.Yaw) * GlmRotate(cVec3(1, 0, 0), e.Pitch);
        ASSERT_TRUE(Near(cMat4::RotationXYZ(e.Pitch, e.Yaw, e.Roll), FromGlm(gxyz), 2e-6f));
        // About a pivot: translate there, turn, translate back.
        ASSERT_TRUE(Near(cMat4::RotationAt(t, axis, a), FromGlm(gt * GlmRotate(axis, a) * glm::inverse(gt)), 1e-5f));
    }
    cMat4 s = cMat4::ScalingAt(cVec3(1, 2, 3), cVec3(2, 3, 4));
    EXPECT_EQ(Apply(s, cVec3(1, 2, 3)), cVec3(1, 2, 3));
    EXPECT_EQ(Apply(s, cVec3(2, 3, 4)), cVec3(3, 5, 7));
    EXPECT_EQ(Apply(cMat4::ScalingAt(cVec2(1, 1), 3.0f), cVec3(2, 2, 5)), cVec3(4, 4, 5));  // z kept
    // Along an axis: the axis direction scales, the plane across it does not.
    cMat4 sa = cMat4::ScalingAt(cVec3(0, 0, 1), cVec3(1, 1, 0).ToNormal(), 3);
    EXPECT_TRUE(Near(Apply(sa, cVec3(1, 1, 1)), cVec3(3, 3, 1), 1e-6f));
    EXPECT_TRUE(Near(Apply(sa, cVec3(1, -1, 5)), cVec3(1, -1, 5), 1e-6f));
    EXPECT_TRUE(Near(Apply(cMat4::RotationAt(cVec2(1, 0), 90), cVec3(2, 0, 0)), cVec3(1, 1, 0), 1e-6f));
}

TEST(Mat4, RotationAccessAndNormalMatrix) {
    cMat4 m = cMat4::Scaling(5) * cMat4::Translation(1, 2, 3);
    m.m[3] = 9, m.m[15] = 2;
    m.SetRotation(cAngles(10, 20, 30));
    EXPECT_TRUE(m.GetTranslation() == cVec3(1, 2, 3) && m.m[3] == 0 && m.m[15] == 1);
    EXPECT_TRUE(Near(m.GetRotation(), cAngles(10, 20, 30), 1e-4f, false));
    EXPECT_TRUE(SameRotation(m.ToQuat(), cAngles(10, 20, 30).ToQuat(), 1e-6f));

    cMat4 n = cMat4::Scaling(2, 1, 1) * cMat4::RotationZ(30) * cMat4::Translation(4, 5, 6);
    EXPECT_TRUE(Near(n.ToNormalMatrix(), FromGlm(glm::transpose(glm::inverse(glm::mat3(ToGlm(n))))), 1e-6f));
    EXPECT_EQ(cMat4::Scaling(1, 0, 1).ToNormalMatrix(), cMat3::Identity);  // singular
}

// Perspective depth runs from -1 at the near plane to +1 at the far one, as
// GLM's; orthographic depth from 0 to 1.
TEST(Mat4, ProjectionsAndViewsMatchGlm) {
    cMath::Randomize(8);
    for (int i = 0; i < 300; i++) {
        float fov = 20 + cMath::Rand01() * 130, aspect = 0.5f + cMath::Rand01() * 2;
        float zn = 0.01f + cMath::Rand01(), zf = zn + 1 + cMath::Rand01() * 1000;
        ASSERT_TRUE(Near(cMat4::Perspective(fov, aspect, zn, zf), FromGlm(glm::perspective(glm::radians(fov), aspect, zn, zf)), 1e-5f));
        float l = cMath::RandRange1() * 10, r = l + 1 + cMath::Rand01() * 10, b = cMath::RandRange1() * 10, t = b + 1 + cMath::Rand01() * 10;
        ASSERT_TRUE(Near(cMat4::Ortho(l, r, b, t, zn, zf), FromGlm(glm::orthoRH_ZO(l, r, b, t, zn, zf)), 1e-5f));
        ASSERT_TRUE(Near(cMat4::Ortho(r - l, t - b, zn, zf),
                         FromGlm(glm::orthoRH_ZO(-(r - l) / 2, (r - l) / 2, -(t - b) / 2, (t - b) / 2, zn, zf)), 1e-5f));
        cVec3 eye = cVec3::RandRange1() * 20, at = cVec3::RandRange1() * 20;
        if (std::fabs((at - eye).ToNormal().y) > 0.99f) continue;
        glm::mat4 g = glm::perspective(glm::radians(60.0f), 1.5f, 0.1f, 500.0f) * glm::lookAt(ToGlm(eye), ToGlm(at), glm::vec3(0, 1, 0));
        ASSERT_TRUE(Near(cMat4::LookAtViewProjection(eye, at, 60, 1.5f, 0.1f, 500), FromGlm(g), 1e-4f)) << i;
    }
    cMat4 inf = cMat4::PerspectiveInf(90, 2, 0.5f);
    EXPECT_NEAR(Apply(inf, cVec3(0, 0, -0.5f)).z, -1, 1e-6f);
    float farDepth = Apply(inf, cVec3(0, 0, -1e7f)).z;
    EXPECT_TRUE(farDepth < 1 && farDepth > 0.99f);  // the slack keeps far points inside
    // A view-space box fills the clip volume.
    cMat4 ob = cMat4::Ortho(cBounds(cVec3(-2, 1, -50), cVec3(6, 5, -10)));
    EXPECT_TRUE(Near(Apply(ob, cVec3(-2, 1, -10)), cVec3(-1, -1, 0), 1e-6f));
    EXPECT_TRUE(Near(Apply(ob, cVec3(6, 5, -50)), cVec3(1, 1, 1), 1e-6f));
}

// Where a GPU samples a direction d of a cube map: the face of d's major axis
// (+X, -X, +Y, -Y, +Z, -Z) at (sc, tc) / |ma| from the standard table. Drawing
// through that OpenGL face must put d there.
static int GpuCubeFace(const cVec3& d, cVec2* st) {
    float ax = std::fabs(d.x), ay = std::fabs(d.y), az = std::fabs(d.z);
    if (ax >= ay && ax >= az) return *st = cVec2(d.x > 0 ? -d.z : d.z, -d.y) / ax, d.x > 0 ? 0 : 1;
    if (ay >= az) return *st = cVec2(d.x, d.y > 0 ? d.z : -d.z) / ay, d.y > 0 ? 2 : 3;
    return *st = cVec2(d.z > 0 ? d.x : -d.x, -d.y) / az, d.z > 0 ? 4 : 5;
}

TEST(Mat4, CubeFacesFollowTheGpuLayout) {
    const cVec3 pos(1, 2, 3);
    cMath::Randomize(12);
    for (int i = 0; i < 2000; i++) {
        cVec3 d = cVec3::RandNormal();
        cVec2 st;
        int face = GpuCubeFace(d, &st);
        cVec3 c = Apply(cMat4::CubeViewProjection(pos, face, 100, true), pos + d * 10);
        ASSERT_TRUE(Near(cVec2(c.x, c.y), st, 1e-4f, false)) << face << " " << d.x << " " << d.y << " " << d.z;
        // The Direct3D faces look along the opposite axes; together they cover every direction once.
        int seen = 0;
        for (int f = 0; f < 6; f++) {
            cVec4 clip = cVec4(pos + d * 10, 1) * cMat4::CubeViewProjection(pos, f, 100, false);
            seen += clip.w > 0 && std::fabs(clip.x) <= clip.w && std::fabs(clip.y) <= clip.w;
        }
        ASSERT_EQ(seen, 1) << d.x << " " << d.y << " " << d.z;
    }
    // No face shows a mirror image: a quarter turn about the view axis turns the same way on all twelve.
    for (int api = 0; api < 2; api++) {
        for (int face = 0; face < 6; face++) {
            cVec3 axis(0, 0, 0), e1(0, 0, 0), e2(0, 0, 0);
            axis[face / 2] = face % 2 ? -1 : 1, e1[(face / 2 + 1) % 3] = 1, e2[(face / 2 + 2) % 3] = 1;  // e1 x e2: the positive axis
            cVec3 view = api ? -axis : axis;
            cMat4 vp = cMat4::CubeViewProjection(pos, face, 100, api == 0);
            cVec3 a = Apply(vp, pos + view * 10 + e1), b = Apply(vp, pos + view * 10 + e2);
            EXPECT_LT((a.x * b.y - a.y * b.x) * view.Dot(axis) * (face % 2 ? -1 : 1), 0) << api << " " << face;
        }
    }
    EXPECT_EQ(cMat4::CubeViewProjection(pos, 6, 100, true), cMat4::Identity);
    EXPECT_EQ(cMat4::CubeViewProjection(pos, -1, 100, false), cMat4::Identity);
}

TEST(Mat4, TextFormsAndEquals) {
    std::ostringstream os;
    os << cMat3::Identity << " " << cMat4::Translation(1, 2, 3);
    EXPECT_EQ(os.str(), "[1,0,0, 0,1,0, 0,0,1] [1,0,0,0, 0,1,0,0, 0,0,1,0, 1,2,3,1]");
    EXPECT_STREQ(cMat3::Scaling(2).ToString(0), "2 0 0 0 2 0 0 0 2");
    EXPECT_TRUE(cMat4::Equals(cMat4::Identity, cMat4::Scaling(1.0005f), 0.001f));
    EXPECT_FALSE(cMat4::Equals(cMat4::Identity, cMat4::Scaling(1.002f), 0.001f));
    cMat4 nan = cMat4::Identity;
    nan.m[5] = NAN;
    EXPECT_FALSE(cMat4::Equals(nan, nan, 1));
}

// The bits of many products, inverses and transformed points, summed up by a
// checksum taken from the plain scalar routines: a faster kernel must give
// exactly the same floats.
TEST(Mat4, KernelsKeepTheirBits) {
    cMath::Randomize(2024);
    std::vector<cMat4> products, inverses;
    std::vector<cVec3> points;
    cMat4 vp = cMat4::LookAtViewProjection(cVec3(5, 3, 8), cVec3(0, 0, 0), 60, 1.5f, 0.5f, 500), affine = cMat4::Identity;
    for (int i = 0; i < 500; i++) {
        cMat4 a = RandomMat4(), b = cMat4::Scaling(1 + cMath::Rand01()) * RandomAngles().ToMat4() * cMat4::Translation(cVec3::RandRange1() * 10), r;
        products.push_back(a * b);
        inverses.push_back(cMat4::Invert(a, &r) ? r : cMat4::Zero);
        inverses.push_back(cMat4::Invert(b, &r) ? r : cMat4::Zero);
        if (i == 0) affine = b;
        points.push_back(cVec3::RandRange1() * 100);
    }
    std::vector<cVec3> affinePoints = points;
    cVec3::TransformCoordinate(points.data(), (int)points.size(), vp);
    cVec3::TransformCoordinate(affinePoints.data(), (int)affinePoints.size(), affine);
    auto sum = [](const auto& v) { return uint32_t(cMath::Checksum(v.data(), int(v.size() * sizeof(v[0])))); };
    EXPECT_EQ(sum(products), 0x5916DBA4u);
    EXPECT_EQ(sum(inverses), 0x04D95453u);
    EXPECT_EQ(sum(points), 0x8880CA3Au);        // divided by w
    EXPECT_EQ(sum(affinePoints), 0xC49889B6u);  // w is exactly 1
}
