// cMat4: a 4x4 float matrix, row-major (m[0..3] is row 0), for row vectors
// (v' = v * M). A * B applies A first; the translation is in m12, m13, m14.
// Perspective projections map depth to -1..1, orthographic ones to 0..1.
#pragma once

#include <iosfwd>

#include "zozud/math/Mat3.h"
#include "zozud/math/Vec4.h"

namespace zozud {

class cStr;
class cQuat;
class cAngles;
class cBounds;

class cMat4 {
public:
    float m[16];

    cMat4() = default;
    constexpr cMat4(float m0, float m1, float m2, float m3, float m4, float m5, float m6, float m7,
                    float m8, float m9, float m10, float m11, float m12, float m13, float m14, float m15)
        : m{m0, m1, m2, m3, m4, m5, m6, m7, m8, m9, m10, m11, m12, m13, m14, m15} {}
    explicit cMat4(const cMat3& r, const cVec3& translation = cVec3(0, 0, 0));

    // ---- Elements ----
    float        operator[](int i) const { return m[i]; }
    float&       operator[](int i) { return m[i]; }
    float        At(int row, int col) const { return m[row * 4 + col]; }
    cVec4        GetRow(int r) const { return cVec4(m[r * 4], m[r * 4 + 1], m[r * 4 + 2], m[r * 4 + 3]); }
    void         SetRow(int r, const cVec4& v) { m[r * 4] = v.x; m[r * 4 + 1] = v.y; m[r * 4 + 2] = v.z; m[r * 4 + 3] = v.w; }
    cVec3        GetTranslation() const { return cVec3(m[12], m[13], m[14]); }
    void         SetTranslation(const cVec3& t) { m[12] = t.x; m[13] = t.y; m[14] = t.z; }
    cMat3        ToMat3() const;  // the upper 3x3
    const float* ToFloatPtr() const { return m; }
    bool operator==(const cMat4& b) const;
    bool operator!=(const cMat4& b) const { return !(*this == b); }

    // ---- Products ----
    void   Mul(const cMat4& b) { *this = Mul(*this, b); }  // this = this * b
    static inline cMat4 Mul(const cMat4& a, const cMat4& b);  // a * b: a first
    cMat4  operator*(const cMat4& b) const { return Mul(*this, b); }
    cMat4& operator*=(const cMat4& b) { *this = Mul(*this, b); return *this; }
    cMat4  ToTranspose() const;
    float  Determinant() const;
    static bool Invert(const cMat4& src, cMat4* dst);  // false (dst untouched) when |det| <= 1e-14
    static bool Equals(const cMat4& a, const cMat4& b, float eps);  // every element within eps
    cMat3  ToNormalMatrix() const;  // inverse transpose of the upper 3x3; identity when singular

    // ---- Transforms (angles in degrees) ----
    static cMat4 Translation(float x, float y);
    static cMat4 Translation(float x, float y, float z);
    static cMat4 Translation(const cVec2& t);
    static cMat4 Translation(const cVec3& t);
    static cMat4 RotationX(float a);
    static cMat4 RotationY(float a);
    static cMat4 RotationZ(float a);
    static cMat4 RotationXYZ(float x, float y, float z);
    static cMat4 EulerZYX(float x, float y, float z);
    static cMat4 Rotation(const cVec3& axis, float a);
    static cMat4 RotationAt(const cVec3& pivot, const cVec3& axis, float a);  // about an axis through pivot
    static cMat4 RotationAt(const cVec2& pivot, float a);                     // about Z through pivot
    static cMat4 Scaling(float s);
    static cMat4 Scaling(float sx, float sy);  // z = 1
    static cMat4 Scaling(float sx, float sy, float sz);
    static cMat4 Scaling(const cVec2& s);
    static cMat4 Scaling(const cVec3& s);
    static cMat4 ScalingAt(const cVec2& pivot, float s);
    static cMat4 ScalingAt(const cVec2& pivot, const cVec2& s);
    static cMat4 ScalingAt(const cVec3& pivot, float s);
    static cMat4 ScalingAt(const cVec3& pivot, const cVec3& s);
    static cMat4 ScalingAt(float px, float py, float s);
    static cMat4 ScalingAt(float px, float py, float pz, float s);
    static cMat4 ScalingAt(float px, float py, float pz, float sx, float sy, float sz);
    static cMat4 ScalingAt(const cVec3& pivot, const cVec3& axis, float s);  // by s along a unit axis
    void    SetRotation(const cAngles& a);  // upper 3x3 from RotationXYZ; m3, m7, m11 = 0, m15 = 1
    cAngles GetRotation() const;            // the angles of the upper 3x3
    cQuat   ToQuat() const;                 // of the upper 3x3

    // ---- Projections (vertical field of view in degrees, aspect = width / height) ----
    static cMat4 Perspective(float fovY, float aspect, float zNear, float zFar);
    static cMat4 PerspectiveInf(float fovY, float aspect, float zNear);  // far plane at infinity
    static cMat4 Ortho(float width, float height, float zNear, float zFar);
    static cMat4 Ortho(float left, float right, float bottom, float top, float zNear, float zFar);
    // The view-space box into the clip volume: near = -max.z, far = -min.z.
    static cMat4 Ortho(const cBounds& box);
    static cMat4 LookAtViewProjection(const cVec3& eye, const cVec3& at, float fovY, float aspect,
                                      float zNear, float zFar);
    // View from position through cube face 0..5 (rows of CubeOrientGL/DX), 90 degrees, near 0.01;
    // the identity for a face outside 0..5.
    static cMat4 CubeViewProjection(const cVec3& position, int face, float zFar, bool openGL);
    static const cMat3* CubeOrientGL();  // six orientations
    static const cMat3* CubeOrientDX();

    // ---- Text ----
    cStr ToString(int precision = 2) const;  // the 16 elements separated by one space

    static const cMat4 Zero, Identity;
};

std::ostream& operator<<(std::ostream& os, const cMat4& m);  // "[a,b,c,d, e,f,g,h, ...]"

static_assert(sizeof(cMat4) == 64, "cMat4 is sixteen packed floats");

// ---- Inline ----

// Each row of the result is a mix of b's rows: written so that the compiler
// keeps a row of b in one vector register.
inline cMat4 cMat4::Mul(const cMat4& a, const cMat4& b) {
    cMat4 r;
    for (int row = 0; row < 4; row++) {
        const float a0 = a.m[row * 4], a1 = a.m[row * 4 + 1], a2 = a.m[row * 4 + 2], a3 = a.m[row * 4 + 3];
        for (int col = 0; col < 4; col++)
            r.m[row * 4 + col] = a0 * b.m[col] + a1 * b.m[4 + col] + a2 * b.m[8 + col] + a3 * b.m[12 + col];
    }
    return r;
}

}  // namespace zozud
