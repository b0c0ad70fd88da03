// cMat3: a 3x3 float matrix, row-major (m[0..2] is row 0), for row vectors
// (v' = v * M). A * B applies A first. The rows of a rotation are the images
// of the axes: right (+X), up (+Y), back (+Z); forward is -row 2.
#pragma once

#include <iosfwd>

#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"

namespace zozud {

class cStr;
class cMat4;
class cQuat;
class cAngles;

class cMat3 {
public:
    float m[9];

    cMat3() = default;
    constexpr cMat3(float m0, float m1, float m2, float m3, float m4, float m5, float m6, float m7, float m8)
        : m{m0, m1, m2, m3, m4, m5, m6, m7, m8} {}
    constexpr cMat3(const cVec3& row0, const cVec3& row1, const cVec3& row2)
        : m{row0.x, row0.y, row0.z, row1.x, row1.y, row1.z, row2.x, row2.y, row2.z} {}

    // ---- Elements ----
    float        operator[](int i) const { return m[i]; }
    float&       operator[](int i) { return m[i]; }
    float        At(int row, int col) const { return m[row * 3 + col]; }
    cVec3        GetRow(int r) const { return cVec3(m[r * 3], m[r * 3 + 1], m[r * 3 + 2]); }
    void         SetRow(int r, const cVec3& v) { m[r * 3] = v.x; m[r * 3 + 1] = v.y; m[r * 3 + 2] = v.z; }
    cVec3        GetColumn(int c) const { return cVec3(m[c], m[c + 3], m[c + 6]); }
    const float* ToFloatPtr() const { return m; }
    bool operator==(const cMat3& b) const;
    bool operator!=(const cMat3& b) const { return !(*this == b); }

    // ---- Products ----
    cMat3  operator*(const cMat3& b) const { return Mul(*this, b); }
    cMat3& operator*=(const cMat3& b) { *this = Mul(*this, b); return *this; }
    cMat3  operator*(float s) const;
    cMat3  operator+(const cMat3& b) const;
    static cMat3 Mul(const cMat3& a, const cMat3& b);  // a * b: a first
    cMat3  ToTranspose() const;
    float  Determinant() const;
    static bool Invert(const cMat3& src, cMat3* dst);  // false (dst untouched) when |det| <= 1e-14
    static bool Equals(const cMat3& a, const cMat3& b, float eps);
    cMat4  ToMat4() const;                             // upper 3x3, translation zero

    // ---- Rotations and scalings (angles in degrees) ----
    static cMat3 RotationX(float a);
    static cMat3 RotationY(float a);
    static cMat3 RotationZ(float a);
    static cMat3 RotationXYZ(float x, float y, float z);  // X(x) * Y(y) * Z(z): X applied first
    static cMat3 EulerZYX(float x, float y, float z);     // the transpose (inverse) of RotationXYZ
    static cMat3 Rotation(const cVec3& axis, float a);    // axis taken as unit
    static cMat3 Scaling(float s);
    static cMat3 Scaling(float sx, float sy);             // z = 1
    static cMat3 Scaling(float sx, float sy, float sz);
    static cMat3 Scaling(const cVec2& s);
    static cMat3 Scaling(const cVec3& s);

    // ---- Directions and conversions ----
    void  ToVectors(cVec3* forward, cVec3* right, cVec3* up) const;  // -row 2, row 0, row 1; any may be null
    static cMat3 FromVectors(const cVec3& forward, const cVec3& right, const cVec3& up);  // rows right, up, -forward
    cVec3 ToForward() const { return cVec3(-m[6], -m[7], -m[8]); }
    cVec3 ToRight() const { return cVec3(m[0], m[1], m[2]); }
    cVec3 ToUp() const { return cVec3(m[3], m[4], m[5]); }
    cQuat   ToQuat() const;    // of the re-orthonormalised matrix
    cAngles ToAngles() const;  // inverts RotationXYZ

    // ---- Text ----
    cStr ToString(int precision = 2) const;  // the 9 elements separated by one space

    static const cMat3 Zero, Identity;
};

std::ostream& operator<<(std::ostream& os, const cMat3& m);  // "[a,b,c, d,e,f, g,h,i]"

static_assert(sizeof(cMat3) == 36, "cMat3 is nine packed floats");

}  // namespace zozud
