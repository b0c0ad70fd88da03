// cVec3: a packed triple of floats (x, y, z); a plain value type. Row vector:
// a matrix transforms it as v * M. The default constructor leaves the
// components uninitialised, like a float.
#pragma once

#include <cmath>

namespace zozud {

class cStr;
class cMat3;
class cMat4;
class cAngles;
class cRotation;

class cVec3 {
public:
    float x, y, z;

    cVec3() = default;
    constexpr cVec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    // ---- Components and arithmetic ----
    float        operator[](int i) const { return (&x)[i]; }
    float&       operator[](int i) { return (&x)[i]; }
    const float* ToFloatPtr() const { return &x; }
    float*       ToFloatPtr() { return &x; }
    bool  operator==(const cVec3& v) const { return x == v.x && y == v.y && z == v.z; }
    bool  operator!=(const cVec3& v) const { return !(*this == v); }
    cVec3 operator-() const { return cVec3(-x, -y, -z); }
    cVec3 operator+(const cVec3& v) const { return cVec3(x + v.x, y + v.y, z + v.z); }
    cVec3 operator-(const cVec3& v) const { return cVec3(x - v.x, y - v.y, z - v.z); }
    cVec3 operator*(const cVec3& v) const { return cVec3(x * v.x, y * v.y, z * v.z); }  // component-wise
    cVec3 operator/(const cVec3& v) const { return cVec3(x / v.x, y / v.y, z / v.z); }
    cVec3 operator*(float s) const { return cVec3(x * s, y * s, z * s); }
    cVec3 operator/(float s) const { return cVec3(x / s, y / s, z / s); }
    cVec3& operator+=(const cVec3& v) { x += v.x; y += v.y; z += v.z; return *this; }
    cVec3& operator-=(const cVec3& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
    cVec3& operator*=(const cVec3& v) { x *= v.x; y *= v.y; z *= v.z; return *this; }
    cVec3& operator*=(float s) { x *= s; y *= s; z *= s; return *this; }
    cVec3& operator/=(float s) { x /= s; y /= s; z /= s; return *this; }
    cVec3 operator*(const cMat3& m) const;  // row vector times matrix
    void  Set(float x_, float y_, float z_) { x = x_; y = y_; z = z_; }

    // ---- Products and lengths ----
    float Dot(const cVec3& v) const { return x * v.x + y * v.y + z * v.z; }
    cVec3 Cross(const cVec3& v) const { return cVec3(y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x); }
    float Length() const { return std::sqrt(x * x + y * y + z * z); }
    float LengthSq() const { return x * x + y * y + z * z; }
    float Normalize();       // in place, returns the old length; a zero vector stays zero
    cVec3 ToNormal() const;  // normalised copy
    static cVec3 Lerp(const cVec3& a, const cVec3& b, float t) { return a + (b - a) * t; }
    static cVec3 Min(const cVec3& a, const cVec3& b);
    static cVec3 Max(const cVec3& a, const cVec3& b);

    // ---- Directions ----
    cAngles ToAngles() const;               // Pitch = asin(y), Yaw = atan2(-x, -z), Roll = 0; degrees
    void    ToPerps(cVec3* a, cVec3* b) const;  // unit a, b with a x b along this; X and Y for a zero vector
    cVec3   ToPerp() const;                 // the first of ToPerps
    bool    FixDenormals();                 // components within 0.001 of 0 or 1 snap; true if any did
    bool    FixDegenerateNormal();          // a lone non-zero component, or an exact +-1, makes an axis
    // Spherical interpolation between directions; lengths are interpolated linearly.
    static cVec3 Slerp(const cVec3& a, const cVec3& b, float t);

    // ---- Transforms ----
    // Points: v * M with the division by w' when w' is not exactly 1; in place over the array.
    static void  TransformCoordinate(cVec3* points, int count, const cMat4& m);
    static cVec3 TransformCoordinate(const cVec3& point, const cMat4& m);
    // Directions: the upper 3x3 only; in place over the array.
    static void  TransformNormal(cVec3* normals, int count, const cMat4& m);
    static cVec3 TransformNormal(const cVec3& normal, const cMat4& m);
    static cVec3 Rotate(const cVec3& v, const cRotation& rotation);  // (v - Center) * R + Center

    // ---- Triangles ----
    // Moller-Trumbore: on a hit u (weight of p1), v (weight of p2) and t (along dir, in units
    // of |dir|; negative behind the origin) are stored. Determinants within 1e-6 of 0 miss.
    static bool RayTri(const cVec3& origin, const cVec3& dir, const cVec3& p0, const cVec3& p1, const cVec3& p2,
                       float* u, float* v, float* t, bool cullBack);
    // p (taken in the triangle's plane) inside or on the edges of a-b-c; false for a degenerate triangle.
    static bool PointInTriangle(const cVec3& p, const cVec3& a, const cVec3& b, const cVec3& c);

    // ---- Random (cMath's generator) ----
    static cVec3 RandRange1();  // each component in [-1, 1)
    static cVec3 RandNormal();  // uniform direction on the unit sphere

    // ---- Text ----
    cStr ToString(int precision = 2) const;  // "x y z" with precision decimals

    // ---- Constants ----
    static const cVec3 Zero, One, Infinity, AxisX, AxisY, AxisZ, AxisNegX, AxisNegY, AxisNegZ;
};

inline cVec3 operator*(float s, const cVec3& v) { return v * s; }

static_assert(sizeof(cVec3) == 12, "cVec3 is three packed floats");

}  // namespace zozud
