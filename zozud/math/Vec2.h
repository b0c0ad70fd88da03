// cVec2: a packed pair of floats (x, y); a plain value type. The default
// constructor leaves the components uninitialised, like a float.
#pragma once

#include <cmath>

namespace zozud {

class cStr;

class cVec2 {
public:
    float x, y;

    cVec2() = default;
    constexpr cVec2(float x_, float y_) : x(x_), y(y_) {}

    // ---- Components and arithmetic ----
    float        operator[](int i) const { return (&x)[i]; }
    float&       operator[](int i) { return (&x)[i]; }
    const float* ToFloatPtr() const { return &x; }
    float*       ToFloatPtr() { return &x; }
    bool  operator==(const cVec2& v) const { return x == v.x && y == v.y; }
    bool  operator!=(const cVec2& v) const { return !(*this == v); }
    cVec2 operator-() const { return cVec2(-x, -y); }
    cVec2 operator+(const cVec2& v) const { return cVec2(x + v.x, y + v.y); }
    cVec2 operator-(const cVec2& v) const { return cVec2(x - v.x, y - v.y); }
    cVec2 operator*(const cVec2& v) const { return cVec2(x * v.x, y * v.y); }  // component-wise
    cVec2 operator/(const cVec2& v) const { return cVec2(x / v.x, y / v.y); }
    cVec2 operator*(float s) const { return cVec2(x * s, y * s); }
    cVec2 operator/(float s) const { return cVec2(x / s, y / s); }
    cVec2& operator+=(const cVec2& v) { x += v.x; y += v.y; return *this; }
    cVec2& operator-=(const cVec2& v) { x -= v.x; y -= v.y; return *this; }
    cVec2& operator*=(const cVec2& v) { x *= v.x; y *= v.y; return *this; }
    cVec2& operator*=(float s) { x *= s; y *= s; return *this; }
    cVec2& operator/=(float s) { x /= s; y /= s; return *this; }
    void  Set(float x_, float y_) { x = x_; y = y_; }

    // ---- Products and lengths ----
    float Dot(const cVec2& v) const { return x * v.x + y * v.y; }
    float Cross(const cVec2& v) const { return x * v.y - y * v.x; }  // z of the 3D cross product
    float Length() const { return std::sqrt(x * x + y * y); }
    float LengthSq() const { return x * x + y * y; }
    float Normalize();                  // in place, returns the old length; a zero vector stays zero
    cVec2 ToNormal() const;             // normalised copy
    cVec2 ToPerp() const { return cVec2(-y, x); }  // turned 90 degrees counter-clockwise
    void  Round() { x = std::floor(x + 0.5f); y = std::floor(y + 0.5f); }  // halves round up
    cVec2 ToRound() const { cVec2 r = *this; r.Round(); return r; }
    static cVec2 Lerp(const cVec2& a, const cVec2& b, float t) { return a + (b - a) * t; }
    static cVec2 Min(const cVec2& a, const cVec2& b) { return cVec2(a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y); }
    static cVec2 Max(const cVec2& a, const cVec2& b) { return cVec2(a.x > b.x ? a.x : b.x, a.y > b.y ? a.y : b.y); }

    // ---- Geometry ----
    // Squared distance of this point to segment a-b; t receives the parameter of the closest point (0..1).
    float DistanceToLineSegSq(const cVec2& a, const cVec2& b, float* t = nullptr) const;
    // Segments a0-a1 and b0-b1: true when they meet; ta, tb receive the parameters of the
    // meeting point (for collinear overlapping segments the first shared point along a).
    static bool SegIntersection(const cVec2& a0, const cVec2& a1, const cVec2& b0, const cVec2& b1,
                                float* ta = nullptr, float* tb = nullptr);

    // ---- Random (cMath's generator) ----
    static cVec2 RandRange1();   // each component in [-1, 1)
    static cVec2 RandNormal();   // uniform direction on the unit circle

    // ---- Text ----
    cStr ToString(int precision = 2) const;  // "x y" with precision decimals

    // ---- Constants ----
    static const cVec2 Zero, One, AxisX, AxisY, AxisNegX, AxisNegY, Infinity;
};

inline cVec2 operator*(float s, const cVec2& v) { return v * s; }
cStr& operator<<(cStr& s, const cVec2& v);  // appends ToString(2)

static_assert(sizeof(cVec2) == 8, "cVec2 is two packed floats");

}  // namespace zozud
