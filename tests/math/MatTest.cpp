// cMat3 and cMat4: conventions, products, inverses, rotations, projections
// and view matrices, cross-checked against GLM. Our row-vector matrices are
// the transposes of GLM's column-vector ones, so both lie in memory alike:
// the 16 floats of a cMat4 equal the 16 floats of the matching glm::mat4.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "zozud/core/Str.h"
#include "zozud/math/Angles.h"
#include "zozud/math/Bounds.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Math.h"
#include "zozud/math/Quat.h"

using namespace zozud;

static cMat4 FromGlm(const glm::mat4& g) {
    cMat4 m;
    std::memcpy(m.m, glm::value_ptr(g), 64);
    return m;
}

static cMat3 FromGlm(const glm::mat3& g) {
    cMat3 m;
    std::memcpy(m.m, glm::value_ptr(g), 36);
    return m;
}

static glm::mat4 ToGlm(const cMat4& m) { return glm::make_mat4(m.m); }

static ::testing::AssertionResult Near(const float* a, const float* b, int n, float eps) {
    for (int i = 0; i < n; i++)
        if (!(std::fabs(a[i] - b[i]) <= eps * (1 + std::fabs(b[i]))))
            return ::testing::AssertionFailure() << "element " << i << ": " << a[i] << " vs " << b[i];
    return ::testing::AssertionSuccess();
}

static ::testing::AssertionResult Near(const cMat4& a, const cMat4& b, float eps) { return Near(a.m, b.m, 16, eps); }
static ::testing::AssertionResult Near(const cMat3& a, const cMat3& b, float eps) { return Near(a.m, b.m, 9, eps); }

// Random entries with a dominant diagonal: well conditioned.
static cMat4 RandomMat4() {
    cMat4 m;
    for (int i = 0; i < 16; i++) m.m[i] = cMath::RandRange1();
    for (int i = 0; i < 4; i++) m.m[i * 5] += 3.0f * (cMath::Rand01() < 0.5f ? -1 : 1);
    return m;
}

static cAngles RandomAngles() {
    return cAngles(cMath::RandRange1() * 180, cMath::RandRange1() * 89.5f, cMath::RandRange1() * 180);
}

// ---- Conventions ----

TEST(Mat3, ElementaryRotationsAreRightHanded) {
    // Rows as written: a quarter turn about Z takes +X to +Y, about X takes +Y
    // to +Z, about Y takes +Z to +X.
    EXPECT_EQ(cVec3(1, 0, 0) * cMat3::RotationZ(90), cVec3(0, 1, 0));
    EXPECT_EQ(cVec3(0, 1, 0) * cMat3::RotationX(90), cVec3(0, 0, 1));
    EXPECT_EQ(cVec3(0, 0, 1) * cMat3::RotationY(90), cVec3(1, 0, 0));
    float s = std::sin(30 * cMath::RadsPerDeg), c = std::cos(30 * cMath::RadsPerDeg);
    EXPECT_TRUE(Near(cMat3::RotationX(30), cMat3(1, 0, 0, 0, c, s, 0, -s, c), 1e-7f));
    EXPECT_TRUE(Near(cMat3::RotationY(30), cMat3(c, 0, -s, 0, 1, 0, s, 0, c), 1e-7f));
    EXPECT_TRUE(Near(cMat3::RotationZ(30), cMat3(c, s, 0, -s, c, 0, 0, 0, 1), 1e-7f));

    // RotationXYZ applies X first: the product in that order, and its transpose is EulerZYX.
    cMath::Randomize(1);
    for (int i = 0; i < 200; i++) {
        cAngles a = RandomAngles();
        cMat3 r = cMat3::RotationXYZ(a.Pitch, a.Yaw, a.Roll);
        cMat3 p = cMat3::RotationX(a.Pitch) * cMat3::RotationY(a.Yaw) * cMat3::RotationZ(a.Roll);
        ASSERT_TRUE(Near(r, p, 1e-6f));
        ASSERT_TRUE(Near(cMat3::EulerZYX(a.Pitch, a.Yaw, a.Roll), r.ToTranspose(), 0));
        ASSERT_TRUE(Near(r * cMat3::EulerZYX(a.Pitch, a.Yaw, a.Roll), cMat3::Identity, 1e-6f));
    }
    // The forward vector turned by a yaw of 90 looks towards -X.
    cVec3 f = cVec3(0, 0, -1) * cMat3::RotationXYZ(0, 90, 0);
    EXPECT_EQ(f, cVec3(-1, 0, 0));
    EXPECT_EQ(cAngles(0, 90, 0).ToForward(), cVec3(-1, 0, 0));
    EXPECT_EQ(cAngles(0, 0, 0).ToForward(), cVec3(0, 0, -1));
}

TEST(Mat3, VectorsAndScaling) {
    cMat3 r = cMat3::RotationXYZ(10, 20, 30);
    cVec3 fw, rt, up;
    r.ToVectors(&fw, &rt, &up);
    EXPECT_EQ(fw, -r.GetRow(2));
    EXPECT_EQ(rt, r.GetRow(0));
    EXPECT_EQ(up, r.GetRow(1));
    r.ToVectors(nullptr, nullptr, nullptr);
    EXPECT_EQ(cMat3::FromVectors(fw, rt, up), r);
    EXPECT_EQ(r.ToForward(), fw);
    EXPECT_EQ(cMat3::Scaling(2, 3), cMat3(2, 0, 0, 0, 3, 0, 0, 0, 1));
    EXPECT_EQ(cMat3::Scaling(cVec3(1, 2, 3)), cMat3(1, 0, 0, 0, 2, 0, 0, 0, 3));
    EXPECT_EQ(cMat3::Scaling(cVec2(4, 5)), cMat3::Scaling(4, 5));
    EXPECT_EQ(cMat3::Scaling(2), cMat3::Scaling(2, 2, 2));
}

TEST(Mat3, RotationAboutAxisMatchesGlmAndQuaternion) {
    cMath::Randomize(2);
    for (int i = 0; i < 500; i++) {
        cVec3 axis = cVec3::RandNormal();
        float a = cMath::RandRange1() * 400;
        cMat3 ours = cMat3::Rotation(axis, a);
        glm::mat4 g = glm::rotate(glm::mat4(1), glm::radians(a), glm::vec3(axis.x, axis.y, axis.z));
        ASSERT_TRUE(Near(ours, FromGlm(glm::mat3(g)), 2e-6f)) << i;
        ASSERT_TRUE(Near(ours, cQuat::FromAxisAngle(axis, a).ToMat3(), 1e-6f));
        // The axis is left alone.
        cVec3 turned = axis * ours;
        ASSERT_NEAR((turned - axis).Length(), 0, 1e-5f);
    }
}

TEST(Mat3, DeterminantAndInverse) {
    cMath::Randomize(3);
    for (int i = 0; i < 500; i++) {
        cMat3 m = cMat4(RandomMat4()).ToMat3();
        glm::mat3 g = glm::make_mat3(m.m);
        ASSERT_NEAR(m.Determinant(), glm::determinant(g), 1e-4f * (1 + std::fabs(m.Determinant())));
        cMat3 inv;
        if (!cMat3::Invert(m, &inv)) continue;
        ASSERT_TRUE(Near(inv, FromGlm(glm::inverse(g)), 1e-4f));
        ASSERT_TRUE(Near(inv * m, cMat3::Identity, 1e-5f));
    }
    // Singular: false, destination untouched.
    cMat3 dst = cMat3::Scaling(7);
    EXPECT_FALSE(cMat3::Invert(cMat3(1, 2, 3, 2, 4, 6, 0, 1, 1), &dst));
    EXPECT_FALSE(cMat3::Invert(cMat3::Zero, &dst));
    EXPECT_FALSE(cMat3::Invert(cMat3::Scaling(1e-5f), &dst));  // det 1e-15
    EXPECT_EQ(dst, cMat3::Scaling(7));
    ASSERT_TRUE(cMat3::Invert(cMat3::Scaling(1e-4f), &dst));  // det 1e-12
    EXPECT_FLOAT_EQ(dst.m[0], 1e4f);
}

TEST(Mat3, ToAnglesInvertsRotationXYZ) {
    cMath::Randomize(4);
    for (int i = 0; i < 5000; i++) {
        cAngles a = RandomAngles();
        cAngles back = cMat3::RotationXYZ(a.Pitch, a.Yaw, a.Roll).ToAngles();
        // Inside the non-degenerate range the angles come back themselves.
        ASSERT_NEAR(back.Pitch, a.Pitch, 2e-3f) << a;
        ASSERT_NEAR(back.Yaw, a.Yaw, 2e-3f) << a;
        ASSERT_NEAR(back.Roll, a.Roll, 2e-3f) << a;
    }
    // Gimbal lock: Yaw +-90, Roll 0, and the same matrix again.
    for (float yaw : {90.0f, -90.0f}) {
        for (int i = 0; i < 50; i++) {
            cAngles a(cMath::RandRange1() * 90, yaw, cMath::RandRange1() * 90);
            cMat3 m = a.ToMat3();
            cAngles b = m.ToAngles();
            ASSERT_EQ(b.Yaw, yaw);
            ASSERT_EQ(b.Roll, 0);
            ASSERT_TRUE(Near(b.ToMat3(), m, 1e-5f)) << a << " " << b;
        }
    }
    // Past the asin range: clamped to exactly 90.
    cMat3 m = cMat3::RotationXYZ(0, 90, 0);
    m.m[2] = -1.0000001f;
    EXPECT_EQ(m.ToAngles().Yaw, 90.0f);
}

// ---- cMat4 against GLM ----

TEST(Mat4, ProductsAndInversesMatchGlm) {
    cMath::Randomize(5);
    for (int i = 0; i < 1000; i++) {
        cMat4 a = RandomMat4(), b = RandomMat4();
        // A * B applies A first: GLM writes that B * A.
        ASSERT_TRUE(Near(cMat4::Mul(a, b), FromGlm(ToGlm(b) * ToGlm(a)), 1e-5f));
        cMat4 c = a;
        c.Mul(b);
        ASSERT_EQ(c, a * b);
        float det = a.Determinant();
        ASSERT_NEAR(det, glm::determinant(ToGlm(a)), 1e-3f * (1 + std::fabs(det)));
        cMat4 inv;
        ASSERT_TRUE(cMat4::Invert(a, &inv));
        ASSERT_TRUE(Near(inv, FromGlm(glm::inverse(ToGlm(a))), 1e-4f));
        ASSERT_TRUE(cMat4::Equals(inv * a, cMat4::Identity, 1e-5f));
        ASSERT_TRUE(cMat4::Equals(a * inv, cMat4::Identity, 1e-5f));
    }
}

TEST(Mat4, InverseOfRigidAndScaledTransforms) {
    cMath::Randomize(6);
    for (int i = 0; i < 1000; i++) {
        cAngles a = RandomAngles();
        cMat4 m = cMat4::Scaling(0.1f + cMath::Rand01() * 10) * a.ToMat4() *
                  cMat4::Translation(cVec3::RandRange1() * 100);
        cMat4 inv;
        ASSERT_TRUE(cMat4::Invert(m, &inv));
        cMat4 id = inv * m;
        ASSERT_TRUE(cMat4::Equals(id, cMat4::Identity, 2e-4f)) << id;
        cVec3 p = cVec3::RandRange1() * 50;
        cVec3 q = cVec3::TransformCoordinate(cVec3::TransformCoordinate(p, m), inv);
        ASSERT_NEAR((q - p).Length(), 0, 1e-3f);
    }
}

TEST(Mat4, SingularMatricesAreRefused) {
    cMat4 dst = cMat4::Translation(1, 2, 3);
    cMat4 rank3 = cMat4::Identity;
    rank3.SetRow(3, cVec4(1, 1, 0, 0));  // row 3 in the span of rows 0 and 1
    EXPECT_FALSE(cMat4::Invert(rank3, &dst));
    EXPECT_FALSE(cMat4::Invert(cMat4::Zero, &dst));
    EXPECT_FALSE(cMat4::Invert(cMat4::Scaling(1e-5f), &dst));  // det 1e-15 <= 1e-14
    // Nearly singular: two rows almost parallel and two small ones, det 1e-15.
    cMat4 near = cMat4::Scaling(1, 1e-8f, 1e-4f) ;
    near.m[4] = 1;
    near.m[15] = 1e-3f;
    EXPECT_NEAR(near.Determinant(), 1e-15, 1e-17);
    EXPECT_FALSE(cMat4::Invert(near, &dst));
    near.m[15] = 1;  // det 1e-12: still inverted, and correctly
    ASSERT_TRUE(cMat4::Invert(near, &dst));
    EXPECT_TRUE(cMat4::Equals(dst * near, cMat4::Identity, 1e-3f));
    dst = cMat4::Translation(1, 2, 3);
    EXPECT_EQ(dst, cMat4::Translation(1, 2, 3));
    EXPECT_EQ(cMat4::Zero.Determinant(), 0.0f);
    EXPECT_FLOAT_EQ(cMat4::Scaling(2, 3, 4).Determinant(), 24);
}

TEST(Mat4, TransformsMatchGlm) {
    cMath::Randomize(7);
    for (int i = 0; i < 200; i++) {
        cVec3 t = cVec3::RandRange1() * 10, axis = cVec3::RandNormal();
        float a = cMath::RandRange1() * 180;
        ASSERT_TRUE(Near(cMat4::Translation(t), FromGlm(glm::translate(glm::mat4(1), glm::vec3(t.x, t.y, t.z))), 0));
        ASSERT_TRUE(Near(cMat4::Rotation(axis, a),
                         FromGlm(glm::rotate(glm::mat4(1), glm::radians(a), glm::vec3(axis.x, axis.y, axis.z))), 2e-6f));
        cAngles e = RandomAngles();
        glm::mat4 gx = glm::rotate(glm::mat4(1), glm::radians(e.Pitch), glm::vec3(1, 0, 0));
        glm::mat4 gy = glm::rotate(glm::mat4(1), glm::radians(e.Yaw), glm::vec3(0, 1, 0));
        glm::mat4 gz = glm::rotate(glm::mat4(1), glm::radians(e.Roll), glm::vec3(0, 0, 1));
        ASSERT_TRUE(Near(cMat4::RotationXYZ(e.Pitch, e.Yaw, e.Roll), FromGlm(gz * gy * gx), 2e-6f));
        // About a pivot: the pivot stays, other points turn around it.
        cMat4 at = cMat4::RotationAt(t, axis, a);
        glm::mat4 gat = glm::translate(glm::mat4(1), glm::vec3(t.x, t.y, t.z)) *
                        glm::rotate(glm::mat4(1), glm::radians(a), glm::vec3(axis.x, axis.y, axis.z)) *
                        glm::translate(glm::mat4(1), -glm::vec3(t.x, t.y, t.z));
        ASSERT_TRUE(Near(at, FromGlm(gat), 1e-5f));
        ASSERT_NEAR((cVec3::TransformCoordinate(t, at) - t).Length(), 0, 1e-5f);
    }
    cMat4 s = cMat4::ScalingAt(cVec3(1, 2, 3), cVec3(2, 3, 4));
    EXPECT_EQ(cVec3::TransformCoordinate(cVec3(1, 2, 3), s), cVec3(1, 2, 3));
    EXPECT_EQ(cVec3::TransformCoordinate(cVec3(2, 3, 4), s), cVec3(3, 5, 7));
    EXPECT_EQ(cMat4::ScalingAt(1, 2, 3, 2, 3, 4), s);
    EXPECT_EQ(cMat4::ScalingAt(cVec3(1, 2, 3), 2.0f), cMat4::ScalingAt(1, 2, 3, 2.0f));
    cMat4 s2 = cMat4::ScalingAt(cVec2(1, 1), 3.0f);
    EXPECT_EQ(cVec3::TransformCoordinate(cVec3(2, 2, 5), s2), cVec3(4, 4, 5));  // z kept
    EXPECT_EQ(cMat4::ScalingAt(1, 1, 3.0f), s2);
    EXPECT_EQ(cMat4::ScalingAt(cVec2(1, 1), cVec2(3, 3)), s2);
    // Along an axis: the axis direction scales, the plane across it does not.
    cVec3 ax = cVec3(1, 1, 0).ToNormal();
    cMat4 sa = cMat4::ScalingAt(cVec3(0, 0, 1), ax, 3);
    EXPECT_TRUE(Near(cVec3::TransformCoordinate(cVec3(1, 1, 1), sa).ToFloatPtr(), cVec3(3, 3, 1).ToFloatPtr(), 3, 1e-6f));
    EXPECT_TRUE(Near(cVec3::TransformCoordinate(cVec3(1, -1, 5), sa).ToFloatPtr(), cVec3(1, -1, 5).ToFloatPtr(), 3, 1e-6f));
    cMat4 r2 = cMat4::RotationAt(cVec2(1, 0), 90);
    EXPECT_TRUE(Near(cVec3::TransformCoordinate(cVec3(2, 0, 0), r2).ToFloatPtr(), cVec3(1, 1, 0).ToFloatPtr(), 3, 1e-6f));
    EXPECT_EQ(cMat4::Translation(cVec2(1, 2)), cMat4::Translation(1, 2, 0));
    EXPECT_EQ(cMat4::Scaling(cVec2(2, 3)), cMat4::Scaling(2, 3, 1));
}

TEST(Mat4, RotationAccessKeepsTranslation) {
    cMat4 m = cMat4::Scaling(5) * cMat4::Translation(1, 2, 3);
    m.m[3] = 9;
    m.SetRotation(cAngles(10, 20, 30));
    EXPECT_EQ(m.GetTranslation(), cVec3(1, 2, 3));
    EXPECT_EQ(m.m[3], 0);
    EXPECT_EQ(m.m[15], 1);
    cAngles a = m.GetRotation();
    EXPECT_NEAR(a.Pitch, 10, 1e-4f);
    EXPECT_NEAR(a.Yaw, 20, 1e-4f);
    EXPECT_NEAR(a.Roll, 30, 1e-4f);
    cQuat q = m.ToQuat(), p = cAngles(10, 20, 30).ToQuat();
    EXPECT_NEAR(std::fabs(q.Dot(p)), 1, 1e-6f);
}

TEST(Mat4, NormalMatrix) {
    cMat4 m = cMat4::Scaling(2, 1, 1) * cMat4::RotationZ(30) * cMat4::Translation(4, 5, 6);
    cMat3 n = m.ToNormalMatrix();
    // A normal stays perpendicular to a tangent after both are transformed.
    cVec3 tangent(1, 1, 0), normal(1, -1, 0);
    cVec3 t2 = cVec3::TransformNormal(tangent, m), n2 = normal * n;
    EXPECT_NEAR(t2.Dot(n2), 0, 1e-6f);
    EXPECT_TRUE(Near(n, FromGlm(glm::transpose(glm::inverse(glm::mat3(ToGlm(m))))), 1e-6f));
    EXPECT_EQ(cMat4::Scaling(1, 0, 1).ToNormalMatrix(), cMat3::Identity);  // singular
}

// ---- Projections ----

TEST(Mat4, PerspectiveKnownAnswerAndGlm) {
    cMat4 p = cMat4::Perspective(90, 1, 1, 100);
    EXPECT_FLOAT_EQ(p.m[0], 1);
    EXPECT_FLOAT_EQ(p.m[5], 1);
    EXPECT_FLOAT_EQ(p.m[10], -101.0f / 99.0f);
    EXPECT_EQ(p.m[11], -1);
    EXPECT_FLOAT_EQ(p.m[14], -200.0f / 99.0f);
    EXPECT_EQ(p.m[15], 0);
    // Near plane at depth -1, far at +1.
    EXPECT_NEAR(cVec3::TransformCoordinate(cVec3(0, 0, -1), p).z, -1, 1e-6f);
    EXPECT_NEAR(cVec3::TransformCoordinate(cVec3(0, 0, -100), p).z, 1, 1e-5f);
    cMath::Randomize(8);
    for (int i = 0; i < 100; i++) {
        float fov = 20 + cMath::Rand01() * 130, aspect = 0.5f + cMath::Rand01() * 2;
        float zn = 0.01f + cMath::Rand01(), zf = zn + 1 + cMath::Rand01() * 1000;
        ASSERT_TRUE(Near(cMat4::Perspective(fov, aspect, zn, zf),
                         FromGlm(glm::perspective(glm::radians(fov), aspect, zn, zf)), 1e-5f));
    }
    cMat4 inf = cMat4::PerspectiveInf(90, 2, 0.5f);
    EXPECT_FLOAT_EQ(inf.m[0], 0.5f);
    EXPECT_FLOAT_EQ(inf.m[10], 0.001f - 1);
    EXPECT_FLOAT_EQ(inf.m[14], (0.001f - 2) * 0.5f);
    EXPECT_NEAR(cVec3::TransformCoordinate(cVec3(0, 0, -0.5f), inf).z, -1, 1e-6f);
    float farDepth = cVec3::TransformCoordinate(cVec3(0, 0, -1e7f), inf).z;
    EXPECT_LT(farDepth, 1.0f);  // the slack keeps far points inside
    EXPECT_GT(farDepth, 0.99f);
}

TEST(Mat4, OrthoDepthRunsFromZeroToOne) {
    cMat4 o = cMat4::Ortho(2, 2, 0, 1);
    EXPECT_NEAR(cVec3::TransformCoordinate(cVec3(0, 0, 0), o).z, 0, 1e-7f);
    EXPECT_NEAR(cVec3::TransformCoordinate(cVec3(0, 0, -1), o).z, 1, 1e-7f);
    EXPECT_EQ(cVec3::TransformCoordinate(cVec3(1, -1, 0), o), cVec3(1, -1, 0));
    cMath::Randomize(9);
    for (int i = 0; i < 100; i++) {
        float l = cMath::RandRange1() * 10, r = l + 1 + cMath::Rand01() * 10;
        float b = cMath::RandRange1() * 10, t = b + 1 + cMath::Rand01() * 10;
        float n = cMath::Rand01(), f = n + 1 + cMath::Rand01() * 100;
        ASSERT_TRUE(Near(cMat4::Ortho(l, r, b, t, n, f), FromGlm(glm::orthoRH_ZO(l, r, b, t, n, f)), 1e-5f));
        ASSERT_TRUE(Near(cMat4::Ortho(r - l, t - b, n, f),
                         FromGlm(glm::orthoRH_ZO(-(r - l) / 2, (r - l) / 2, -(t - b) / 2, (t - b) / 2, n, f)), 1e-5f));
    }
    // A view-space box fills the clip volume.
    cBounds box(cVec3(-2, 1, -50), cVec3(6, 5, -10));
    cMat4 ob = cMat4::Ortho(box);
    cVec3 lo = cVec3::TransformCoordinate(cVec3(-2, 1, -10), ob), hi = cVec3::TransformCoordinate(cVec3(6, 5, -50), ob);
    EXPECT_TRUE(Near(lo.ToFloatPtr(), cVec3(-1, -1, 0).ToFloatPtr(), 3, 1e-6f));
    EXPECT_TRUE(Near(hi.ToFloatPtr(), cVec3(1, 1, 1).ToFloatPtr(), 3, 1e-6f));
}

TEST(Mat4, LookAtMatchesGlm) {
    cMath::Randomize(10);
    for (int i = 0; i < 300; i++) {
        cVec3 eye = cVec3::RandRange1() * 20, at = cVec3::RandRange1() * 20;
        if (std::fabs((at - eye).ToNormal().y) > 0.99f) continue;
        cMat4 ours = cMat4::LookAtViewProjection(eye, at, 60, 1.5f, 0.1f, 500);
        glm::mat4 g = glm::perspective(glm::radians(60.0f), 1.5f, 0.1f, 500.0f) *
                      glm::lookAt(glm::vec3(eye.x, eye.y, eye.z), glm::vec3(at.x, at.y, at.z), glm::vec3(0, 1, 0));
        ASSERT_TRUE(Near(ours, FromGlm(g), 1e-4f)) << i;
        // The target lands in the middle of the screen.
        cVec3 c = cVec3::TransformCoordinate(at, ours);
        ASSERT_NEAR(c.x, 0, 1e-4f);
        ASSERT_NEAR(c.y, 0, 1e-4f);
    }
}

TEST(Mat4, CubeFacesLookAlongTheirAxes) {
    const cVec3 pos(1, 2, 3);
    for (int api = 0; api < 2; api++) {
        const cMat3* faces = api ? cMat4::CubeOrientDX() : cMat4::CubeOrientGL();
        for (int face = 0; face < 6; face++) {
            cMat4 vp = cMat4::CubeViewProjection(pos, face, 100, api == 0);
            cVec3 forward = -faces[face].GetRow(2), up = faces[face].GetRow(1), right = faces[face].GetRow(0);
            cVec3 c = cVec3::TransformCoordinate(pos + forward * 10, vp);
            EXPECT_NEAR(c.x, 0, 1e-5f);
            EXPECT_NEAR(c.y, 0, 1e-5f);
            EXPECT_GT(c.z, -1);
            EXPECT_LT(c.z, 1);
            // 90 degrees: a point at 45 degrees up sits on the top edge, right on the right edge.
            EXPECT_NEAR(cVec3::TransformCoordinate(pos + forward * 10 + up * 10, vp).y, 1, 1e-4f);
            EXPECT_NEAR(cVec3::TransformCoordinate(pos + forward * 10 + right * 10, vp).x, 1, 1e-4f);
        }
    }
    // The GL faces look down +X, -X, +Y, -Y, +Z, -Z; face 2 of GL has (0,0,1) as up.
    const cVec3 dirs[6] = {cVec3(1, 0, 0), cVec3(-1, 0, 0), cVec3(0, 1, 0), cVec3(0, -1, 0), cVec3(0, 0, 1), cVec3(0, 0, -1)};
    for (int face = 0; face < 6; face++) EXPECT_EQ(-cMat4::CubeOrientGL()[face].GetRow(2), dirs[face]);
    EXPECT_EQ(cMat4::CubeOrientDX()[2].GetRow(2), cVec3(0, 1, 0));
    EXPECT_EQ(cMat4::CubeViewProjection(pos, 6, 100, true), cMat4::Identity);
    EXPECT_EQ(cMat4::CubeViewProjection(pos, -1, 100, false), cMat4::Identity);
}

TEST(Mat4, TextForms) {
    std::ostringstream os;
    os << cMat3::Identity << " " << cMat4::Translation(1, 2, 3);
    EXPECT_EQ(os.str(), "[1,0,0, 0,1,0, 0,0,1] [1,0,0,0, 0,1,0,0, 0,0,1,0, 1,2,3,1]");
    EXPECT_STREQ(cMat3::Scaling(2).ToString(0), "2 0 0 0 2 0 0 0 2");
    EXPECT_STREQ(cMat4::Identity.ToString(1), "1.0 0.0 0.0 0.0 0.0 1.0 0.0 0.0 0.0 0.0 1.0 0.0 0.0 0.0 0.0 1.0");
    EXPECT_TRUE(cMat4::Equals(cMat4::Identity, cMat4::Scaling(1.0005f), 0.001f));
    EXPECT_FALSE(cMat4::Equals(cMat4::Identity, cMat4::Scaling(1.002f), 0.001f));
    cMat4 nan = cMat4::Identity;
    nan.m[5] = NAN;
    EXPECT_FALSE(cMat4::Equals(nan, nan, 1));
}
