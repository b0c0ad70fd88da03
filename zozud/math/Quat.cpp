// cQuat: products, conversions to matrices, angles and axis-angle, and the
// interpolators (Lerp, Slerp, Squad with its logarithms).
#include "zozud/math/Quat.h"

#include <ostream>

#include "zozud/core/Str.h"
#include "zozud/math/Angles.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Math.h"
#include "zozud/math/Rotation.h"

namespace zozud {

const cQuat cQuat::Zero(0, 0, 0, 0);
const cQuat cQuat::Identity(0, 0, 0, 1);

// The Hamilton product a b, which rotates by b first. Our operator* takes
// the factors the other way round so that a * b applies a first, like cMat3.
static cQuat Hamilton(const cQuat& a, const cQuat& b) {
    return cQuat(a.w * b.x + b.w * a.x + a.y * b.z - a.z * b.y,
                 a.w * b.y + b.w * a.y + a.z * b.x - a.x * b.z,
                 a.w * b.z + b.w * a.z + a.x * b.y - a.y * b.x,
                 a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z);
}

cQuat cQuat::operator*(const cQuat& q) const { return Hamilton(q, *this); }

float cQuat::Normalize() { return cMath::NormalizeComponents<4>(*this); }

cQuat cQuat::ToNormal() const {
    cQuat r = *this;
    r.Normalize();
    return r;
}

cQuat cQuat::ToInverse() const {
    float lenSq = LengthSq();
    if (lenSq == 0) return *this;
    return ToConjugate() * (1.0f / lenSq);
}

cVec3 cQuat::Rotate(const cVec3& v) const {
    cVec3 q(x, y, z);
    cVec3 t = q.Cross(v) * 2.0f;
    return v + t * w + q.Cross(t);
}

cQuat cQuat::FromAxisAngle(const cVec3& axis, float degrees) {
    float s, c;
    cMath::SinCosDeg(degrees * 0.5f, &s, &c);
    return cQuat(axis * s, c);
}

// ---- Conversions ----

cMat3 cQuat::ToMat3() const {
    float lenSq = LengthSq();
    float s = lenSq > 0 ? 2.0f / lenSq : 0.0f;  // a zero quaternion gives the identity
    float xx = x * x, yy = y * y, zz = z * z;
    float xy = x * y, xz = x * z, yz = y * z, xw = x * w, yw = y * w, zw = z * w;
    return cMat3(1 - (yy + zz) * s, (xy + zw) * s, (xz - yw) * s,
                 (xy - zw) * s, 1 - (zz + xx) * s, (yz + xw) * s,
                 (xz + yw) * s, (yz - xw) * s, 1 - (xx + yy) * s);
}

cMat4 cQuat::ToMat4() const { return cMat4(ToMat3()); }

cAngles cQuat::ToAngles() const { return ToMat3().ToAngles(); }

cRotation cQuat::ToRotation() const {
    float cw = cMath::Clamp(w, -1.0f, 1.0f);
    float theta = std::acos(cw);
    if (cw >= 1.0f || theta == 0.0f) return cRotation(cVec3::Zero, cVec3::AxisZ, 0.0f);
    cVec3 axis = ToVec3().ToNormal();
    axis.FixDegenerateNormal();
    return cRotation(cVec3::Zero, axis, 2.0f * theta * cMath::DegsPerRad);
}

cVec3 cQuat::ToAngularVelocity() const {
    float theta = std::acos(cMath::Clamp(w, -1.0f, 1.0f));
    return ToVec3().ToNormal() * theta;
}

// ---- Interpolation ----

cQuat cQuat::Lerp(const cQuat& a, const cQuat& b, float t, bool shortest) {
    cQuat e = (shortest && a.Dot(b) < 0) ? -b : b;
    return (a * (1 - t) + e * t).ToNormal();
}

cQuat cQuat::Slerp(const cQuat& a, const cQuat& b, float t, bool /*shortest*/) {
    float d = a.Dot(b);
    cQuat e = b;
    if (d < 0) {
        e = -b;
        d = -d;
    }
    if (1.0f - d > 1e-6f) {
        float theta = d >= 1.0f ? 0.0f : std::acos(d);
        float s = std::sin(theta);
        return a * (std::sin((1 - t) * theta) / s) + e * (std::sin(t * theta) / s);
    }
    return a * (1 - t) + e * t;  // nearly equal: the chord is the arc
}

cQuat cQuat::Exp(const cQuat& q) {
    float theta = q.ToVec3().Length();
    if (theta == 0) return Identity;
    float s = std::sin(theta) / theta;
    return cQuat(q.x * s, q.y * s, q.z * s, std::cos(theta));
}

// atan2 rather than acos(w): accurate for small angles and for non-unit input.
cQuat cQuat::Ln(const cQuat& q) {
    float len = q.ToVec3().Length();
    if (len == 0) return cQuat(0, 0, 0, 0);
    float k = std::atan2(len, q.w) / len;
    return cQuat(q.x * k, q.y * k, q.z * k, 0);
}

cQuat cQuat::LnDif(const cQuat& a, const cQuat& b) { return Ln(Hamilton(a.ToInverse(), b)); }

// Shoemake's inner control points, with each neighbour first brought onto the
// hemisphere of its predecessor so that every piece takes the short way.
void cQuat::SquadSetup(const cQuat& q0, const cQuat& q1, const cQuat& q2, const cQuat& q3, cQuat* a, cQuat* b,
                       cQuat* c) {
    cQuat p0 = (q0 + q1).LengthSq() < (q0 - q1).LengthSq() ? -q0 : q0;
    cQuat p2 = (q1 + q2).LengthSq() < (q1 - q2).LengthSq() ? -q2 : q2;
    cQuat p3 = (p2 + q3).LengthSq() < (p2 - q3).LengthSq() ? -q3 : q3;
    cQuat la = (LnDif(q1, p2) + LnDif(q1, p0)) * -0.25f;
    cQuat lb = (LnDif(p2, p3) + LnDif(p2, q1)) * -0.25f;
    if (a) *a = Hamilton(q1, Exp(la));
    if (b) *b = Hamilton(p2, Exp(lb));
    if (c) *c = p2;
}

cQuat cQuat::Squad(const cQuat& q1, const cQuat& a, const cQuat& b, const cQuat& q2, float t) {
    return Slerp(Slerp(q1, q2, t), Slerp(a, b, t), 2.0f * t * (1.0f - t));
}

// ---- Text ----

cStr cQuat::ToStr(int precision) const { return cStr::ToString(&x, 4, precision, " "); }

std::ostream& operator<<(std::ostream& os, const cQuat& q) {
    return os << "[" << q.x << ", " << q.y << ", " << q.z << ", " << q.w << "]";
}

}  // namespace zozud
