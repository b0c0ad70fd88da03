// cQuat: a rotation quaternion (x, y, z, w), vector part first, w last. The
// product a * b applies a first, like the matrices: (a * b).ToMat3() equals
// a.ToMat3() * b.ToMat3(). ToMat3 accepts non-unit quaternions.
#pragma once

#include <cmath>
#include <iosfwd>

#include "zozud/math/Vec3.h"

namespace zozud {

class cStr;
class cMat3;
class cMat4;
class cAngles;
class cRotation;

class cQuat {
public:
    float x, y, z, w;

    cQuat() = default;
    constexpr cQuat(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
    constexpr cQuat(const cVec3& v, float w_) : x(v.x), y(v.y), z(v.z), w(w_) {}

    // ---- Components and arithmetic ----
    float        operator[](int i) const { return (&x)[i]; }
    float&       operator[](int i) { return (&x)[i]; }
    const float* ToFloatPtr() const { return &x; }
    cVec3 ToVec3() const { return cVec3(x, y, z); }
    bool  operator==(const cQuat& q) const { return x == q.x && y == q.y && z == q.z && w == q.w; }
    bool  operator!=(const cQuat& q) const { return !(*this == q); }
    cQuat operator-() const { return cQuat(-x, -y, -z, -w); }
    cQuat operator+(const cQuat& q) const { return cQuat(x + q.x, y + q.y, z + q.z, w + q.w); }
    cQuat operator-(const cQuat& q) const { return cQuat(x - q.x, y - q.y, z - q.z, w - q.w); }
    cQuat operator*(float s) const { return cQuat(x * s, y * s, z * s, w * s); }
    cQuat operator*(const cQuat& q) const;  // this first, then q
    cQuat& operator*=(const cQuat& q) { *this = *this * q; return *this; }
    float Dot(const cQuat& q) const { return x * q.x + y * q.y + z * q.z + w * q.w; }
    float Length() const { return std::sqrt(LengthSq()); }
    float LengthSq() const { return x * x + y * y + z * z + w * w; }
    float Normalize();                                  // in place; a zero quaternion stays zero
    cQuat ToNormal() const;
    cQuat ToConjugate() const { return cQuat(-x, -y, -z, w); }
    cQuat ToInverse() const;                            // conjugate / length squared; zero stays zero
    cVec3 Rotate(const cVec3& v) const;                 // v * ToMat3() for a unit quaternion
    static cQuat FromAxisAngle(const cVec3& axis, float degrees);  // axis taken as unit

    // ---- Conversions ----
    cMat3     ToMat3() const;
    cMat4     ToMat4() const;                           // zero translation
    cAngles   ToAngles() const;
    cRotation ToRotation() const;                       // axis and angle (degrees); +Z and 0 for none
    cVec3     ToAngularVelocity() const;                // unit axis times acos(w); radians

    // ---- Interpolation ----
    static cQuat Lerp(const cQuat& a, const cQuat& b, float t, bool shortest = true);  // normalised
    static cQuat Slerp(const cQuat& a, const cQuat& b, float t, bool shortest = true); // always the short arc
    static cQuat Exp(const cQuat& q);       // of a pure quaternion (w ignored)
    static cQuat Ln(const cQuat& q);        // of a unit quaternion; w of the result is 0
    static cQuat LnDif(const cQuat& a, const cQuat& b);  // Ln of the rotation taking a to b
    // Control points for Squad between q1 and q2, given neighbours q0 and q3; c is q2 on q1's hemisphere.
    static void  SquadSetup(const cQuat& q0, const cQuat& q1, const cQuat& q2, const cQuat& q3,
                            cQuat* a, cQuat* b, cQuat* c);
    static cQuat Squad(const cQuat& q1, const cQuat& a, const cQuat& b, const cQuat& q2, float t);

    // ---- Text ----
    cStr ToStr(int precision = 2) const;  // "x y z w" with precision decimals

    static const cQuat Zero, Identity;
};

std::ostream& operator<<(std::ostream& os, const cQuat& q);  // "[x, y, z, w]"

static_assert(sizeof(cQuat) == 16, "cQuat is four packed floats");

}  // namespace zozud
