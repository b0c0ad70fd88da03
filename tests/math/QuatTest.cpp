// cQuat, cAngles and cRotation, against GLM and as round trips.
#include "math/MathCheck.h"

using namespace mathtest;

TEST(Quat, ToMat3MatchesGlmAndAcceptsNonUnit) {
    cMath::Randomize(31);
    for (int i = 0; i < 2000; i++) {
        cQuat q = RandomQuat();
        cMat3 m = q.ToMat3();
        ASSERT_TRUE(Near(m, FromGlm(glm::mat3_cast(ToGlm(q))), 2e-6f)) << q;
        ASSERT_TRUE(Near((q * 3.5f).ToMat3(), m, 2e-6f));  // scale does not matter
        cVec3 v = cVec3::RandRange1();
        ASSERT_TRUE(Near(q.Rotate(v), v * m, 1e-5f));
    }
    EXPECT_EQ(cQuat::Zero.ToMat3(), cMat3::Identity);
}

TEST(Quat, MatrixRoundTripUpToSign) {
    cMath::Randomize(32);
    for (int i = 0; i < 20000; i++) {
        cQuat q = RandomQuat();
        if (i % 4 == 1) q.w *= 1e-3f;  // half-turns: the trace is negative, every branch is used
        if (i % 4 == 2) q.x *= 1e-3f, q.y *= 1e-3f;
        q.Normalize();
        cQuat back = q.ToMat3().ToQuat();
        ASSERT_TRUE(SameRotation(back, q, 2e-6f)) << i;
        // Scaled and slightly skewed matrices are re-orthonormalised first.
        cMat3 m = cMat3::Scaling(0.5f + cMath::Rand01() * 4) * q.ToMat3();
        ASSERT_TRUE(SameRotation(m.ToQuat(), q, 1e-5f));
        m.m[3] += 0.001f;
        ASSERT_TRUE(SameRotation(m.ToQuat(), q, 2e-3f));
    }
    // Exact half turns about each axis, where two diagonal elements tie.
    EXPECT_TRUE(SameRotation(cMat3::RotationX(180).ToQuat(), cQuat(1, 0, 0, 0), 1e-6f));
    EXPECT_TRUE(SameRotation(cMat3::RotationY(180).ToQuat(), cQuat(0, 1, 0, 0), 1e-6f));
    EXPECT_TRUE(SameRotation(cMat3::RotationZ(180).ToQuat(), cQuat(0, 0, 1, 0), 1e-6f));
    EXPECT_TRUE(SameRotation(cMat4(cMat3::RotationZ(40), cVec3(5, 6, 7)).ToQuat(), cAngles(0, 0, 40).ToQuat(), 1e-6f));
}

TEST(Quat, ProductAppliesLeftFirst) {
    cMath::Randomize(34);
    for (int i = 0; i < 1000; i++) {
        cQuat a = RandomQuat(), b = RandomQuat();
        ASSERT_TRUE(Near(a * b, FromGlm(ToGlm(b) * ToGlm(a)), 1e-6f));
        ASSERT_TRUE(SameRotation(a * a.ToInverse(), cQuat::Identity, 1e-6f));
    }
    cQuat z = cQuat::Zero;  // zero stays zero
    EXPECT_TRUE(z.ToInverse() == cQuat::Zero && z.Normalize() == 0 && z == cQuat::Zero);
}

TEST(Quat, AxisAngleForms) {
    cRotation r = cQuat::FromAxisAngle(cVec3(0, 1, 0), 90).ToRotation();
    EXPECT_TRUE(std::fabs(r.Angle - 90) < 1e-4f && r.Axis == cVec3(0, 1, 0) && r.Center == cVec3::Zero);
    r = cQuat(0, 0, 0, 1.5f).ToRotation();  // w above 1 is clamped
    EXPECT_TRUE(r.Axis == cVec3::AxisZ && r.Angle == 0);
    r = cQuat(0.5f, 1e-9f, 0, std::sqrt(0.75f)).ToRotation();  // a nearly axis-aligned axis snaps
    EXPECT_TRUE(r.Axis == cVec3(1, 0, 0) && std::fabs(r.Angle - 60) < 1e-4f);
    cMath::Randomize(35);
    for (int i = 0; i < 500; i++) {
        cQuat q = RandomQuat();
        cRotation rot = q.ToRotation();
        ASSERT_TRUE(SameRotation(rot.ToQuat(), q, 1e-5f));
        ASSERT_TRUE(Near(rot.ToMat3(), q.ToMat3(), 1e-5f));
    }
    // Angular velocity: the axis times acos(w), that is half the turn.
    EXPECT_NEAR(cQuat::FromAxisAngle(cVec3(0, 0, 1), 90).ToAngularVelocity().z, cMath::QuarterPi, 1e-6f);
    EXPECT_EQ(cQuat(0, 0, 0, -2).ToAngularVelocity(), cVec3(0, 0, 0));
    EXPECT_NEAR(cQuat(1, 0, 0, -1).ToNormal().ToAngularVelocity().x, 3 * cMath::QuarterPi, 1e-6f);
}

TEST(Quat, SlerpAndLerp) {
    cMath::Randomize(36);
    for (int i = 0; i < 2000; i++) {
        cQuat a = RandomQuat(), b = RandomQuat();
        float t = cMath::Rand01();
        cQuat s = cQuat::Slerp(a, b, t), l = cQuat::Lerp(a, b, t);
        ASSERT_TRUE(Near(s, FromGlm(glm::slerp(ToGlm(a), ToGlm(b), t)), 2e-5f)) << i;
        ASSERT_EQ(s, cQuat::Slerp(a, b, t, false));  // the flag is not consulted
        ASSERT_NEAR(l.Length(), 1, 1e-5f);  // Lerp normalises; with shortest it stays on a's hemisphere
        ASSERT_GE(l.Dot(a), -1e-6f);
    }
    cQuat a = cQuat::FromAxisAngle(cVec3(0, 0, 1), 10), b = cQuat::FromAxisAngle(cVec3(0, 0, 1), 70);
    EXPECT_TRUE(SameRotation(cQuat::Slerp(a, -b, 0.5f), cQuat::FromAxisAngle(cVec3(0, 0, 1), 40), 1e-6f));
    // The negated target is the same rotation: the result is a itself.
    cQuat q = cQuat(1, 2, 3, 4).ToNormal();
    EXPECT_EQ(cQuat::Slerp(q, -q, 0.5f), q);
    EXPECT_EQ(cQuat::Slerp(q, q, 0.3f), q * 0.7f + q * 0.3f);
    EXPECT_EQ(cQuat::Lerp(q, -q, 0.5f, false), cQuat::Zero);  // the long way: zero length, left as it is
}

TEST(Quat, LogarithmsAndSquad) {
    cMath::Randomize(37);
    for (int i = 0; i < 1000; i++) {
        cQuat q = RandomQuat(), p = RandomQuat(), l = cQuat::Ln(q);
        ASSERT_EQ(l.w, 0);
        ASSERT_TRUE(Near(cQuat::Exp(l), q, 1e-5f));
        // The length of LnDif is half the angle between the two orientations.
        float half = std::acos(cMath::Clamp(std::fabs(p.Dot(q)), 0, 1));
        ASSERT_NEAR(cQuat::LnDif(p, p.Dot(q) < 0 ? -q : q).ToVec3().Length(), half, 1e-3f);
    }
    // Evenly spaced keys about one axis: Squad is the uniform turn.
    cVec3 axis = cVec3(1, 2, 3).ToNormal();
    cQuat k[4], qa, qb, qc;
    for (int i = 0; i < 4; i++) k[i] = cQuat::FromAxisAngle(axis, 30.0f * i);
    cQuat::SquadSetup(k[0], k[1], k[2], k[3], &qa, &qb, &qc);
    EXPECT_TRUE(SameRotation(qc, k[2], 1e-6f));
    for (float t = 0; t <= 1.0f; t += 0.125f)
        EXPECT_TRUE(SameRotation(cQuat::Squad(k[1], qa, qb, qc, t), cQuat::FromAxisAngle(axis, 30 + 30 * t), 1e-5f));

    // Random keys: the curve passes through them where two pieces meet.
    cQuat r[5], a1, b1, c1, a2, b2, c2;
    for (cQuat& x : r) x = RandomQuat();
    cQuat::SquadSetup(r[0], r[1], r[2], r[3], &a1, &b1, &c1);
    cQuat::SquadSetup(r[1], r[2], r[3], r[4], &a2, &b2, &c2);
    EXPECT_TRUE(SameRotation(cQuat::Squad(r[1], a1, b1, c1, 1), r[2], 1e-6f));
    EXPECT_TRUE(SameRotation(cQuat::Squad(c1, a2, b2, c2, 0), r[2], 1e-6f));
}

TEST(Quat, TextForms) {
    std::ostringstream os;
    os << cQuat(1, 0.5f, -2, 4) << " " << cAngles(1, -2.5f, 3);
    EXPECT_EQ(os.str(), "[1, 0.5, -2, 4] [1, -2.5, 3]");
    EXPECT_STREQ(cQuat(1, 0.5f, -2, 4).ToStr(1), "1.0 0.5 -2.0 4.0");
}

TEST(Angles, WrappingAndShortestPath) {
    cAngles a(190, 180, -180);
    EXPECT_EQ(a.Normalize180(), cAngles(-170, 180, 180));
    a = cAngles(-10, 725, 360);
    EXPECT_EQ(a.Normalize360(), cAngles(350, 5, 0));
    EXPECT_LT(cAngles(-1e-6f, 0, 0).Normalize360().Pitch, 360);  // a tiny negative angle wraps to 0, not 360
    cAngles p(0, 0, 0), q(350, 0, 0), r(170, -170, 90), s(-170, 170, 90);
    cAngles::EnsureShortestPath(&p, &q);
    cAngles::EnsureShortestPath(&r, &s);
    EXPECT_TRUE(q == cAngles(-10, 0, 0) && r == cAngles(170, -170, 90) && s == cAngles(190, -190, 90));
    cMath::Randomize(41);
    for (int i = 0; i < 2000; i++) {
        cAngles x(cMath::RandRange1() * 1000, cMath::RandRange1() * 1000, cMath::RandRange1() * 1000), y = x;
        y.Normalize180();
        cAngles u(cMath::RandRange1() * 500, cMath::RandRange1() * 500, cMath::RandRange1() * 500), v = x;
        cAngles::EnsureShortestPath(&u, &v);
        for (int k = 0; k < 3; k++) {
            ASSERT_TRUE(y[k] > -180 && y[k] <= 180) << y;
            ASSERT_NEAR(std::remainder(y[k] - x[k], 360.0f), 0, 1e-3f);
            ASSERT_LE(std::fabs(v[k] - u[k]), 180.0f + 1e-3f);
        }
    }
}


TEST(Rotation, CachedMatrixAndConversions) {
    cRotation r(cVec3(1, 2, 3), cVec3(0, 0, 1), 90);
    EXPECT_EQ(r.ToMat3(), cMat3::Rotation(cVec3(0, 0, 1), 90));
    EXPECT_EQ(r.ToMat4(), cMat4(r.ToMat3()));  // no centre in the matrix
    r.SetAngle(180);  // setters drop the cache
    EXPECT_EQ(r.ToMat3(), cMat3::RotationZ(180));
    r.SetAxis(cVec3(1, 0, 0));
    EXPECT_EQ(r.ToMat3(), cMat3::RotationX(180));
    r.Set(cVec3::Zero, cVec3(0, 1, 0), 60);
    EXPECT_TRUE(SameRotation(r.ToQuat(), cQuat::FromAxisAngle(cVec3(0, 1, 0), 60), 1e-7f));
    EXPECT_NEAR(r.ToAngularVelocity().y, 60 * cMath::RadsPerDeg, 1e-6f);
    const float wraps[][3] = {{-30, 330, -30}, {540, 180, 180}, {-180, 180, 180}};  // angle, Normalize360, Normalize180
    for (const auto& w : wraps) {
        r.SetAngle(w[0]);
        EXPECT_EQ(r.Normalize360().Angle, w[1]) << w[0];
        r.SetAngle(w[0]);
        EXPECT_EQ(r.Normalize180().Angle, w[2]) << w[0];
    }
}
