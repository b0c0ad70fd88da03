// cQuat: conversions to and from matrices (against GLM and as round trips),
// the product order, axis-angle, and the interpolators.
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
#include "zozud/math/Mat4.h"
#include "zozud/math/Math.h"
#include "zozud/math/Quat.h"
#include "zozud/math/Rotation.h"

using namespace zozud;

static glm::quat ToGlm(const cQuat& q) { return glm::quat(q.w, q.x, q.y, q.z); }
static cQuat FromGlm(const glm::quat& q) { return cQuat(q.x, q.y, q.z, q.w); }

static ::testing::AssertionResult Near(const float* a, const float* b, int n, float eps) {
    for (int i = 0; i < n; i++)
        if (!(std::fabs(a[i] - b[i]) <= eps))
            return ::testing::AssertionFailure() << "element " << i << ": " << a[i] << " vs " << b[i];
    return ::testing::AssertionSuccess();
}

// Equal as rotations: q and -q are the same.
static ::testing::AssertionResult SameRotation(const cQuat& a, const cQuat& b, float eps) {
    if (std::fabs(std::fabs(a.Dot(b)) - 1) <= eps && std::fabs(a.Length() - 1) <= eps) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a << " vs " << b;
}

static cQuat RandomQuat() {
    cQuat q;
    do {
        q = cQuat(cMath::RandRange1(), cMath::RandRange1(), cMath::RandRange1(), cMath::RandRange1());
    } while (q.LengthSq() < 0.01f || q.LengthSq() > 1);
    return q.ToNormal();
}

TEST(Quat, ToMat3MatchesGlmAndAcceptsNonUnit) {
    cMath::Randomize(31);
    for (int i = 0; i < 2000; i++) {
        cQuat q = RandomQuat();
        cMat3 m = q.ToMat3();
        glm::mat3 g = glm::mat3_cast(ToGlm(q));
        ASSERT_TRUE(Near(m.m, glm::value_ptr(g), 9, 2e-6f)) << q;
        ASSERT_TRUE(Near((q * 3.5f).ToMat3().m, m.m, 9, 2e-6f));  // scale does not matter
        ASSERT_TRUE(Near(q.ToMat4().ToMat3().m, m.m, 9, 0));
        ASSERT_NEAR(m.Determinant(), 1, 1e-5f);
        cVec3 v = cVec3::RandRange1();
        cVec3 a = q.Rotate(v), b = v * m;
        ASSERT_TRUE(Near(a.ToFloatPtr(), b.ToFloatPtr(), 3, 1e-5f));
    }
    EXPECT_EQ(cQuat::Zero.ToMat3(), cMat3::Identity);
    EXPECT_EQ(cQuat::Identity.ToMat4(), cMat4::Identity);
}

TEST(Quat, MatrixRoundTripUpToSign) {
    cMath::Randomize(32);
    for (int i = 0; i < 20000; i++) {
        cQuat q = RandomQuat();
        if (i % 4 == 1) q.w *= 1e-3f;  // half-turns: the trace is negative, every branch is used
        if (i % 4 == 2) {
            q.x *= 1e-3f;
            q.y *= 1e-3f;
        }
        q.Normalize();
        cQuat back = q.ToMat3().ToQuat();
        ASSERT_TRUE(SameRotation(back, q, 2e-6f)) << i;
        cQuat g = FromGlm(glm::quat_cast(glm::mat3_cast(ToGlm(q))));
        ASSERT_TRUE(SameRotation(back, g, 2e-6f));
    }
    // Exact half turns about each axis, where two diagonal elements tie.
    EXPECT_TRUE(SameRotation(cMat3::RotationX(180).ToQuat(), cQuat(1, 0, 0, 0), 1e-6f));
    EXPECT_TRUE(SameRotation(cMat3::RotationY(180).ToQuat(), cQuat(0, 1, 0, 0), 1e-6f));
    EXPECT_TRUE(SameRotation(cMat3::RotationZ(180).ToQuat(), cQuat(0, 0, 1, 0), 1e-6f));
    EXPECT_EQ(cMat3::Identity.ToQuat(), cQuat::Identity);
}

TEST(Quat, ToQuatOrthonormalisesFirst) {
    cMath::Randomize(33);
    for (int i = 0; i < 500; i++) {
        cQuat q = RandomQuat();
        cMat3 m = cMat3::Scaling(0.5f + cMath::Rand01() * 4) * q.ToMat3();
        ASSERT_TRUE(SameRotation(m.ToQuat(), q, 1e-5f));
        m.m[3] += 0.001f;  // slightly skewed
        ASSERT_TRUE(SameRotation(m.ToQuat(), q, 2e-3f));
        ASSERT_NEAR(m.ToQuat().Length(), 1, 1e-5f);
    }
    EXPECT_TRUE(SameRotation(cMat4(cMat3::RotationZ(40), cVec3(5, 6, 7)).ToQuat(), cAngles(0, 0, 40).ToQuat(), 1e-6f));
}

TEST(Quat, ProductAppliesLeftFirst) {
    cMath::Randomize(34);
    for (int i = 0; i < 1000; i++) {
        cQuat a = RandomQuat(), b = RandomQuat();
        cMat3 m = (a * b).ToMat3(), n = a.ToMat3() * b.ToMat3();
        ASSERT_TRUE(Near(m.m, n.m, 9, 1e-5f));
        ASSERT_TRUE(Near((a * b).ToFloatPtr(), FromGlm(ToGlm(b) * ToGlm(a)).ToFloatPtr(), 4, 1e-6f));
        ASSERT_TRUE(SameRotation(a * a.ToInverse(), cQuat::Identity, 1e-6f));
    }
    EXPECT_EQ(cQuat(1, 2, 3, 4).ToConjugate(), cQuat(-1, -2, -3, 4));
    EXPECT_EQ(cQuat::Zero.ToInverse(), cQuat::Zero);
    cQuat z = cQuat::Zero;
    EXPECT_EQ(z.Normalize(), 0);
    EXPECT_EQ(z, cQuat::Zero);
}

TEST(Quat, AxisAngleForms) {
    cRotation r = cQuat::FromAxisAngle(cVec3(0, 1, 0), 90).ToRotation();
    EXPECT_NEAR(r.Angle, 90, 1e-4f);
    EXPECT_EQ(r.Axis, cVec3(0, 1, 0));
    EXPECT_EQ(r.Center, cVec3::Zero);
    EXPECT_FALSE(r.IsCacheValid());
    r = cQuat::Identity.ToRotation();
    EXPECT_EQ(r.Axis, cVec3::AxisZ);
    EXPECT_EQ(r.Angle, 0);
    r = cQuat(0, 0, 0, 1.5f).ToRotation();  // w above 1 is clamped
    EXPECT_EQ(r.Angle, 0);
    // A nearly axis-aligned axis snaps onto the axis.
    r = cQuat(0.5f, 1e-9f, 0, std::sqrt(0.75f)).ToRotation();
    EXPECT_EQ(r.Axis, cVec3(1, 0, 0));
    EXPECT_NEAR(r.Angle, 60, 1e-4f);
    cMath::Randomize(35);
    for (int i = 0; i < 500; i++) {
        cQuat q = RandomQuat();
        cRotation rot = q.ToRotation();
        ASSERT_TRUE(SameRotation(rot.ToQuat(), q, 1e-5f));
        ASSERT_TRUE(Near(rot.ToMat3().m, q.ToMat3().m, 9, 1e-5f));
    }
    // Angular velocity: the axis times acos(w), that is half the turn.
    cVec3 av = cQuat::FromAxisAngle(cVec3(0, 0, 1), 90).ToAngularVelocity();
    EXPECT_NEAR(av.z, cMath::QuarterPi, 1e-6f);
    EXPECT_EQ(cQuat(0, 0, 0, -2).ToAngularVelocity(), cVec3(0, 0, 0));
    EXPECT_NEAR(cQuat(1, 0, 0, -1).ToNormal().ToAngularVelocity().x, 3 * cMath::QuarterPi, 1e-6f);
}

TEST(Quat, SlerpAndLerp) {
    cMath::Randomize(36);
    for (int i = 0; i < 2000; i++) {
        cQuat a = RandomQuat(), b = RandomQuat();
        float t = cMath::Rand01();
        cQuat s = cQuat::Slerp(a, b, t);
        ASSERT_TRUE(Near(s.ToFloatPtr(), FromGlm(glm::slerp(ToGlm(a), ToGlm(b), t)).ToFloatPtr(), 4, 2e-5f)) << i;
        ASSERT_NEAR(s.Length(), 1, 1e-5f);
        ASSERT_EQ(s, cQuat::Slerp(a, b, t, false));  // the flag is not consulted
        // Lerp normalises; with shortest it stays on a's hemisphere.
        cQuat l = cQuat::Lerp(a, b, t);
        ASSERT_NEAR(l.Length(), 1, 1e-5f);
        ASSERT_GE(l.Dot(a), -1e-6f);
    }
    cQuat a = cQuat::FromAxisAngle(cVec3(0, 0, 1), 10), b = cQuat::FromAxisAngle(cVec3(0, 0, 1), 70);
    EXPECT_TRUE(SameRotation(cQuat::Slerp(a, b, 0.5f), cQuat::FromAxisAngle(cVec3(0, 0, 1), 40), 1e-6f));
    EXPECT_TRUE(SameRotation(cQuat::Slerp(a, -b, 0.5f), cQuat::FromAxisAngle(cVec3(0, 0, 1), 40), 1e-6f));
    // The negated target is the same rotation: the result is a itself.
    cQuat q = cQuat(1, 2, 3, 4).ToNormal();
    EXPECT_EQ(cQuat::Slerp(q, -q, 0.5f), q);
    EXPECT_EQ(cQuat::Slerp(q, q, 0.3f), q * 0.7f + q * 0.3f);
    // Lerp without shortest goes the long way through the blend.
    EXPECT_TRUE(Near(cQuat::Lerp(q, -q, 0.5f, true).ToFloatPtr(), q.ToFloatPtr(), 4, 1e-7f));
    EXPECT_EQ(cQuat::Lerp(q, -q, 0.5f, false), cQuat::Zero);  // zero length: left as it is
}

TEST(Quat, LogarithmsAndSquad) {
    cMath::Randomize(37);
    for (int i = 0; i < 1000; i++) {
        cQuat q = RandomQuat();
        cQuat l = cQuat::Ln(q);
        ASSERT_EQ(l.w, 0);
        ASSERT_TRUE(Near(cQuat::Exp(l).ToFloatPtr(), q.ToFloatPtr(), 4, 1e-5f));
        cQuat p = RandomQuat();
        // The length of LnDif is half the angle between the two orientations.
        float half = std::acos(cMath::Clamp(std::fabs(p.Dot(q)), 0, 1));
        cQuat d = cQuat::LnDif(p, p.Dot(q) < 0 ? -q : q);
        ASSERT_NEAR(d.ToVec3().Length(), half, 1e-3f);
    }
    EXPECT_EQ(cQuat::Ln(cQuat::Identity), cQuat::Zero);
    EXPECT_EQ(cQuat::Exp(cQuat::Zero), cQuat::Identity);

    // Evenly spaced keys about one axis: Squad is the uniform turn.
    cVec3 axis = cVec3(1, 2, 3).ToNormal();
    cQuat k[4];
    for (int i = 0; i < 4; i++) k[i] = cQuat::FromAxisAngle(axis, 30.0f * i);
    cQuat qa, qb, qc;
    cQuat::SquadSetup(k[0], k[1], k[2], k[3], &qa, &qb, &qc);
    EXPECT_TRUE(SameRotation(qc, k[2], 1e-6f));
    for (float t = 0; t <= 1.0f; t += 0.125f)
        EXPECT_TRUE(SameRotation(cQuat::Squad(k[1], qa, qb, qc, t), cQuat::FromAxisAngle(axis, 30 + 30 * t), 1e-5f));

    // Random keys: the curve passes through the keys, and its rate of turn is
    // continuous where two pieces meet.
    cQuat r[5];
    for (cQuat& x : r) x = RandomQuat();
    for (int i = 1; i < 5; i++)
        if (r[i].Dot(r[i - 1]) < 0) r[i] = -r[i];
    cQuat a1, b1, c1, a2, b2, c2;
    cQuat::SquadSetup(r[0], r[1], r[2], r[3], &a1, &b1, &c1);
    cQuat::SquadSetup(r[1], r[2], r[3], r[4], &a2, &b2, &c2);
    EXPECT_TRUE(SameRotation(cQuat::Squad(r[1], a1, b1, c1, 0), r[1], 1e-6f));
    EXPECT_TRUE(SameRotation(cQuat::Squad(r[1], a1, b1, c1, 1), r[2], 1e-6f));
    EXPECT_TRUE(SameRotation(cQuat::Squad(c1, a2, b2, c2, 0), r[2], 1e-6f));
    // One-sided differences at the joint: equal up to O(h), so their relative
    // gap shrinks with h (a kink would keep it near a constant).
    float gap[2];
    for (int k = 0; k < 2; k++) {
        float h = k ? 2e-3f : 2e-2f;
        cQuat before = cQuat::Squad(r[1], a1, b1, c1, 1 - h), after = cQuat::Squad(c1, a2, b2, c2, h);
        // LnDif is in the frame of its first argument: turn both into world terms.
        cVec3 g1 = before.Rotate(cQuat::LnDif(before, r[2]).ToVec3());
        cVec3 g2 = r[2].Rotate(cQuat::LnDif(r[2], after).ToVec3());
        gap[k] = (g1 - g2).Length() / (g1.Length() + g2.Length());
    }
    EXPECT_LT(gap[1], 0.05f);
    EXPECT_LT(gap[1], gap[0] * 0.5f + 1e-3f);
}

TEST(Quat, TextForms) {
    std::ostringstream os;
    os << cQuat(1, 0.5f, -2, 4);
    EXPECT_EQ(os.str(), "[1, 0.5, -2, 4]");
    EXPECT_STREQ(cQuat(1, 0.5f, -2, 4).ToStr(1), "1.0 0.5 -2.0 4.0");
}

// ---- cAngles and cRotation ----

TEST(Angles, WrappingAndShortestPath) {
    cAngles a(190, 180, -180);
    a.Normalize180();
    EXPECT_EQ(a, cAngles(-170, 180, 180));
    a = cAngles(-10, 725, 360);
    a.Normalize360();
    EXPECT_EQ(a, cAngles(350, 5, 0));
    a = cAngles(-1e-6f, 0, 359.5f);
    a.Normalize360();  // a tiny negative angle wraps to 0, not 360
    EXPECT_GE(a.Pitch, 0);
    EXPECT_LT(a.Pitch, 360);
    cAngles p(0, 0, 0), q(350, 0, 0);
    cAngles::EnsureShortestPath(&p, &q);
    EXPECT_EQ(q, cAngles(-10, 0, 0));
    p = cAngles(170, -170, 90);
    q = cAngles(-170, 170, 90);
    cAngles::EnsureShortestPath(&p, &q);
    EXPECT_EQ(p, cAngles(170, -170, 90));
    EXPECT_EQ(q, cAngles(190, -190, 90));
    cMath::Randomize(41);
    for (int i = 0; i < 2000; i++) {
        cAngles x(cMath::RandRange1() * 1000, cMath::RandRange1() * 1000, cMath::RandRange1() * 1000);
        cAngles y = x;
        y.Normalize180();
        for (int k = 0; k < 3; k++) {
            ASSERT_GT(y[k], -180);
            ASSERT_LE(y[k], 180);
            ASSERT_NEAR(std::remainder(y[k] - x[k], 360.0f), 0, 1e-3f);
        }
        cAngles u(cMath::RandRange1() * 500, cMath::RandRange1() * 500, cMath::RandRange1() * 500), v = x;
        cAngles::EnsureShortestPath(&u, &v);
        for (int k = 0; k < 3; k++) ASSERT_LE(std::fabs(v[k] - u[k]), 180.0f + 1e-3f);
    }
}

TEST(Angles, ConversionsAgree) {
    cMath::Randomize(42);
    for (int i = 0; i < 500; i++) {
        cAngles a(cMath::RandRange1() * 180, cMath::RandRange1() * 89, cMath::RandRange1() * 180);
        cMat3 m = a.ToMat3();
        ASSERT_TRUE(Near(a.ToQuat().ToMat3().m, m.m, 9, 1e-5f));
        ASSERT_TRUE(Near(a.ToMat4().ToMat3().m, m.m, 9, 0));
        ASSERT_EQ(a.ToMat4().GetTranslation(), cVec3::Zero);
        cVec3 f, r, u;
        a.ToVectors(&f, &r, &u);
        ASSERT_EQ(f, a.ToForward());
        ASSERT_EQ(r, a.ToRight());
        ASSERT_EQ(u, a.ToUp());
        ASSERT_NEAR(r.Cross(u).Dot(-f), 1, 1e-5f);  // right x up = back
        cAngles b = a.ToQuat().ToAngles();
        ASSERT_NEAR(b.Pitch, a.Pitch, 1e-2f);
        ASSERT_NEAR(b.Yaw, a.Yaw, 1e-2f);
        ASSERT_NEAR(b.Roll, a.Roll, 1e-2f);
    }
    std::ostringstream os;
    os << cAngles(1, -2.5f, 3);
    EXPECT_EQ(os.str(), "[1, -2.5, 3]");
    EXPECT_STREQ(cAngles(1, -2.5f, 3).ToString(2), "1.00 -2.50 3.00");
    EXPECT_EQ(cAngles::Zero.ToMat3(), cMat3::Identity);
}

TEST(Rotation, CachedMatrixAndConversions) {
    cRotation r(cVec3(1, 2, 3), cVec3(0, 0, 1), 90);
    EXPECT_FALSE(r.IsCacheValid());
    cMat3 m = r.ToMat3();
    EXPECT_TRUE(r.IsCacheValid());
    EXPECT_EQ(m, cMat3::Rotation(cVec3(0, 0, 1), 90));
    EXPECT_EQ(r.ToMat4(), cMat4(m));  // no centre in the matrix
    r.SetAngle(180);
    EXPECT_FALSE(r.IsCacheValid());
    EXPECT_EQ(r.ToMat3(), cMat3::RotationZ(180));
    r.SetAxis(cVec3(1, 0, 0));
    EXPECT_EQ(r.ToMat3(), cMat3::RotationX(180));
    r.Set(cVec3::Zero, cVec3(0, 1, 0), 60);
    EXPECT_TRUE(SameRotation(r.ToQuat(), cQuat::FromAxisAngle(cVec3(0, 1, 0), 60), 1e-7f));
    EXPECT_NEAR(r.ToAngles().Yaw, 60, 1e-4f);
    EXPECT_NEAR(r.ToAngularVelocity().y, 60 * cMath::RadsPerDeg, 1e-6f);
    r.SetAngle(-30);
    r.Normalize360();
    EXPECT_EQ(r.Angle, 330);
    r.Normalize180();
    EXPECT_EQ(r.Angle, -30);
    r.SetAngle(540);
    r.Normalize180();
    EXPECT_EQ(r.Angle, 180);
    EXPECT_EQ(r.ToMat3(), cMat3::Rotation(cVec3(0, 1, 0), 180));
    cRotation none;
    EXPECT_EQ(none.ToMat3(), cMat3::Identity);
}
