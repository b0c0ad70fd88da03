// cVec4: four packed floats (x, y, z, w); a plain value type, also used for
// homogeneous points and for planes (normal, d). Row vector: v * M.
#pragma once

#include <cmath>

#include "zozud/math/Vec3.h"

namespace zozud {

class cStr;
class cMat4;

class cVec4 {
public:
    float x, y, z, w;

    cVec4() = default;
    constexpr cVec4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
    constexpr cVec4(const cVec3& v, float w_) : x(v.x), y(v.y), z(v.z), w(w_) {}

    // ---- Components and arithmetic ----
    float        operator[](int i) const { return (&x)[i]; }
    float&       operator[](int i) { return (&x)[i]; }
    const float* ToFloatPtr() const { return &x; }
    float*       ToFloatPtr() { return &x; }
    cVec3 ToVec3() const { return cVec3(x, y, z); }
    bool  operator==(const cVec4& v) const { return x == v.x && y == v.y && z == v.z && w == v.w; }
    bool  operator!=(const cVec4& v) const { return !(*this == v); }
    cVec4 operator-() const { return cVec4(-x, -y, -z, -w); }
    cVec4 operator+(const cVec4& v) const { return cVec4(x + v.x, y + v.y, z + v.z, w + v.w); }
    cVec4 operator-(const cVec4& v) const { return cVec4(x - v.x, y - v.y, z - v.z, w - v.w); }
    cVec4 operator*(const cVec4& v) const { return cVec4(x * v.x, y * v.y, z * v.z, w * v.w); }  // component-wise
    cVec4 operator*(float s) const { return cVec4(x * s, y * s, z * s, w * s); }
    cVec4 operator/(float s) const { return cVec4(x / s, y / s, z / s, w / s); }
    cVec4& operator+=(const cVec4& v) { x += v.x; y += v.y; z += v.z; w += v.w; return *this; }
    cVec4& operator-=(const cVec4& v) { x -= v.x; y -= v.y; z -= v.z; w -= v.w; return *this; }
    cVec4& operator*=(float s) { x *= s; y *= s; z *= s; w *= s; return *this; }
    cVec4 operator*(const cMat4& m) const;  // row vector times matrix
    void  Set(float x_, float y_, float z_, float w_) { x = x_; y = y_; z = z_; w = w_; }

    // ---- Products and lengths ----
    float Dot(const cVec4& v) const { return x * v.x + y * v.y + z * v.z + w * v.w; }
    float Length() const { return std::sqrt(LengthSq()); }
    float LengthSq() const { return x * x + y * y + z * z + w * w; }
    float Normalize();       // in place, returns the old length; a zero vector stays zero
    cVec4 ToNormal() const;  // normalised copy
    static cVec4 Lerp(const cVec4& a, const cVec4& b, float t) { return a + (b - a) * t; }

    // ---- Text ----
    cStr ToString(int precision = 2) const;  // "x y z w" with precision decimals

    // ---- Constants ----
    static const cVec4 Zero, One, Infinity, AxisX, AxisY, AxisZ, AxisW, AxisNegX, AxisNegY, AxisNegZ, AxisNegW;
};

inline cVec4 operator*(float s, const cVec4& v) { return v * s; }

static_assert(sizeof(cVec4) == 16, "cVec4 is four packed floats");

}  // namespace zozud
