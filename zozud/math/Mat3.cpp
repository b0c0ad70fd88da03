// cMat3: products, determinant and inverse, rotations and scalings, the
// conversions to quaternions and Euler angles, text.
#include "zozud/math/Mat3.h"

#include <ostream>

#include "zozud/core/Str.h"
#include "zozud/math/Angles.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Math.h"
#include "zozud/math/Quat.h"

namespace zozud {

const cMat3 cMat3::Zero(0, 0, 0, 0, 0, 0, 0, 0, 0);
const cMat3 cMat3::Identity(1, 0, 0, 0, 1, 0, 0, 0, 1);

bool cMat3::operator==(const cMat3& b) const {
    for (int i = 0; i < 9; i++)
        if (m[i] != b.m[i]) return false;
    return true;
}

// ---- Products ----

cMat3 cMat3::Mul(const cMat3& a, const cMat3& b) {
    cMat3 r;
    for (int row = 0; row < 3; row++) {
        const float* ar = a.m + row * 3;
        for (int col = 0; col < 3; col++)
            r.m[row * 3 + col] = ar[0] * b.m[col] + ar[1] * b.m[3 + col] + ar[2] * b.m[6 + col];
    }
    return r;
}

cMat3 cMat3::operator*(float s) const {
    cMat3 r;
    for (int i = 0; i < 9; i++) r.m[i] = m[i] * s;
    return r;
}

cMat3 cMat3::operator+(const cMat3& b) const {
    cMat3 r;
    for (int i = 0; i < 9; i++) r.m[i] = m[i] + b.m[i];
    return r;
}

cMat3 cMat3::ToTranspose() const { return cMat3(m[0], m[3], m[6], m[1], m[4], m[7], m[2], m[5], m[8]); }

float cMat3::Determinant() const {
    return m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) +
           m[2] * (m[3] * m[7] - m[4] * m[6]);
}

bool cMat3::Invert(const cMat3& s, cMat3* dst) {
    const float* m = s.m;
    float c0 = m[4] * m[8] - m[5] * m[7];  // cofactors of row 0
    float c1 = m[5] * m[6] - m[3] * m[8];
    float c2 = m[3] * m[7] - m[4] * m[6];
    float det = m[0] * c0 + m[1] * c1 + m[2] * c2;
    if (std::fabs(det) <= cMath::MatrixInvertEpsilon) return false;
    float k = 1.0f / det;
    *dst = cMat3(c0 * k, (m[2] * m[7] - m[1] * m[8]) * k, (m[1] * m[5] - m[2] * m[4]) * k,
                 c1 * k, (m[0] * m[8] - m[2] * m[6]) * k, (m[2] * m[3] - m[0] * m[5]) * k,
                 c2 * k, (m[1] * m[6] - m[0] * m[7]) * k, (m[0] * m[4] - m[1] * m[3]) * k);
    return true;
}

bool cMat3::Equals(const cMat3& a, const cMat3& b, float eps) {
    for (int i = 0; i < 9; i++)
        if (!(std::fabs(a.m[i] - b.m[i]) <= eps)) return false;
    return true;
}

cMat4 cMat3::ToMat4() const { return cMat4(*this); }

// ---- Rotations and scalings ----

cMat3 cMat3::RotationX(float a) {
    float s, c;
    cMath::SinCosDeg(a, &s, &c);
    return cMat3(1, 0, 0, 0, c, s, 0, -s, c);
}

cMat3 cMat3::RotationY(float a) {
    float s, c;
    cMath::SinCosDeg(a, &s, &c);
    return cMat3(c, 0, -s, 0, 1, 0, s, 0, c);
}

cMat3 cMat3::RotationZ(float a) {
    float s, c;
    cMath::SinCosDeg(a, &s, &c);
    return cMat3(c, s, 0, -s, c, 0, 0, 0, 1);
}

cMat3 cMat3::RotationXYZ(float x, float y, float z) {
    float sx, cx, sy, cy, sz, cz;
    cMath::SinCosDeg(x, &sx, &cx);
    cMath::SinCosDeg(y, &sy, &cy);
    cMath::SinCosDeg(z, &sz, &cz);
    return cMat3(cz * cy, sz * cy, -sy,
                 cz * sy * sx - sz * cx, sz * sy * sx + cz * cx, cy * sx,
                 cz * sy * cx + sz * sx, sz * sy * cx - cz * sx, cy * cx);
}

cMat3 cMat3::EulerZYX(float x, float y, float z) { return RotationXYZ(x, y, z).ToTranspose(); }

cMat3 cMat3::Rotation(const cVec3& axis, float a) {
    float s, c;
    cMath::SinCosDeg(a * 0.5f, &s, &c);
    return cQuat(axis * s, c).ToMat3();
}

cMat3 cMat3::Scaling(float s) { return cMat3(s, 0, 0, 0, s, 0, 0, 0, s); }
cMat3 cMat3::Scaling(float sx, float sy) { return cMat3(sx, 0, 0, 0, sy, 0, 0, 0, 1); }
cMat3 cMat3::Scaling(float sx, float sy, float sz) { return cMat3(sx, 0, 0, 0, sy, 0, 0, 0, sz); }
cMat3 cMat3::Scaling(const cVec2& s) { return Scaling(s.x, s.y); }
cMat3 cMat3::Scaling(const cVec3& s) { return Scaling(s.x, s.y, s.z); }

// ---- Directions and conversions ----

void cMat3::ToVectors(cVec3* forward, cVec3* right, cVec3* up) const {
    if (forward) *forward = ToForward();
    if (right) *right = ToRight();
    if (up) *up = ToUp();
}

cMat3 cMat3::FromVectors(const cVec3& forward, const cVec3& right, const cVec3& up) {
    return cMat3(right, up, -forward);
}

// Normalised with one square root and a reciprocal; a zero vector stays zero.
static inline cVec3 Unit(const cVec3& v) {
    float lenSq = v.LengthSq();
    return lenSq > 0 ? v * (1.0f / std::sqrt(lenSq)) : v;
}

// Trace method on a re-orthonormalised copy: a scaled or slightly skewed
// matrix still gives the rotation it is closest to in spirit. Each branch
// divides by the largest of the four candidates, so none loses precision.
cQuat cMat3::ToQuat() const {
    cVec3 r0 = Unit(GetRow(0));
    cVec3 r2 = Unit(r0.Cross(GetRow(1)));
    cVec3 r1 = Unit(r2.Cross(r0));
    float m0 = r0.x, m1 = r0.y, m2 = r0.z, m3 = r1.x, m4 = r1.y, m5 = r1.z, m6 = r2.x, m7 = r2.y, m8 = r2.z;
    float t = m0 + m4 + m8;
    if (t > 0) {
        float r = std::sqrt(t + 1.0f), h = 0.5f / r;
        return cQuat((m5 - m7) * h, (m6 - m2) * h, (m1 - m3) * h, r * 0.5f);
    }
    if (m0 >= m4 && m0 >= m8) {  // X largest (ties keep the earlier axis)
        float r = std::sqrt(m0 - (m4 + m8) + 1.0f), h = 0.5f / r;
        return cQuat(r * 0.5f, (m1 + m3) * h, (m2 + m6) * h, (m5 - m7) * h);
    }
    if (m4 >= m8) {  // Y
        float r = std::sqrt(m4 - (m8 + m0) + 1.0f), h = 0.5f / r;
        return cQuat((m3 + m1) * h, r * 0.5f, (m5 + m7) * h, (m6 - m2) * h);
    }
    float r = std::sqrt(m8 - (m0 + m4) + 1.0f), h = 0.5f / r;  // Z
    return cQuat((m6 + m2) * h, (m7 + m5) * h, r * 0.5f, (m1 - m3) * h);
}

// Yaw from atan2 of the first row rather than asin(-m2) alone: the same angle
// for a rotation, without asin's loss of precision near +-90 degrees.
cAngles cMat3::ToAngles() const {
    float yaw;
    if (-m[2] >= 1.0f) yaw = 90.0f;
    else if (-m[2] <= -1.0f) yaw = -90.0f;
    else yaw = std::atan2(-m[2], std::sqrt(m[0] * m[0] + m[1] * m[1])) * cMath::DegsPerRad;
    if (yaw >= 90.0f) return cAngles(std::atan2(m[3], m[4]) * cMath::DegsPerRad, 90.0f, 0.0f);
    if (yaw <= -90.0f) return cAngles(std::atan2(-m[3], m[4]) * cMath::DegsPerRad, -90.0f, 0.0f);
    return cAngles(std::atan2(m[5], m[8]) * cMath::DegsPerRad, yaw, std::atan2(m[1], m[0]) * cMath::DegsPerRad);
}

// ---- Text ----

cStr cMat3::ToString(int precision) const { return cStr::ToString(m, 9, precision, " "); }

std::ostream& operator<<(std::ostream& os, const cMat3& a) {
    os << "[";
    for (int r = 0; r < 3; r++) {
        if (r) os << ", ";
        os << a.m[r * 3] << "," << a.m[r * 3 + 1] << "," << a.m[r * 3 + 2];
    }
    return os << "]";
}

}  // namespace zozud
