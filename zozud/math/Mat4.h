// cMat4: a 4x4 float matrix, row-major (m[0..3] is row 0), for row vectors
// (v' = v * M). A * B applies A first; the translation is in m12, m13, m14.
// Perspective projections map depth to -1..1, orthographic ones to 0..1.
#pragma once

#include <iosfwd>

#include "zozud/math/Float4.h"
#include "zozud/math/Mat3.h"
#include "zozud/math/Math.h"
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
    static inline bool Invert(const cMat4& src, cMat4* dst);  // false (dst untouched) when |det| <= 1e-14
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

private:
    static inline void  Minors(const cFloat4 rows[4], cFloat4 k[6]);
    static inline float Determinant(const cFloat4 k[6]);
};

std::ostream& operator<<(std::ostream& os, const cMat4& m);  // "[a,b,c,d, e,f,g,h, ...]"

static_assert(sizeof(cMat4) == 64, "cMat4 is sixteen packed floats");

// ---- Inline ----

// Each row of the result is a mix of b's rows, four columns at once.
inline cMat4 cMat4::Mul(const cMat4& a, const cMat4& b) {
    const cFloat4 b0 = LoadFloat4(b.m), b1 = LoadFloat4(b.m + 4), b2 = LoadFloat4(b.m + 8), b3 = LoadFloat4(b.m + 12);
    cMat4 r;
    for (int row = 0; row < 4; row++) {
        const cFloat4 x = LoadFloat4(a.m + row * 4);
        StoreFloat4(r.m + row * 4, __builtin_shufflevector(x, x, 0, 0, 0, 0) * b0 + __builtin_shufflevector(x, x, 1, 1, 1, 1) * b1 +
                                       __builtin_shufflevector(x, x, 2, 2, 2, 2) * b2 + __builtin_shufflevector(x, x, 3, 3, 3, 3) * b3);
    }
    return r;
}

// The 2x2 minors of the top two rows (s) and of the bottom two rows (c), two
// of each at a time: k[n] holds (c_n, c_n, s_n, s_n) for the column pairs
// (0,1) (0,2) (0,3) (1,2) (1,3) (2,3). The determinant and every cofactor are
// built from these twelve.
inline void cMat4::Minors(const cFloat4 r[4], cFloat4 k[6]) {
    const cFloat4 a0 = __builtin_shufflevector(r[2], r[0], 0, 0, 4, 4), b0 = __builtin_shufflevector(r[3], r[1], 0, 0, 4, 4);
    const cFloat4 a1 = __builtin_shufflevector(r[2], r[0], 1, 1, 5, 5), b1 = __builtin_shufflevector(r[3], r[1], 1, 1, 5, 5);
    const cFloat4 a2 = __builtin_shufflevector(r[2], r[0], 2, 2, 6, 6), b2 = __builtin_shufflevector(r[3], r[1], 2, 2, 6, 6);
    const cFloat4 a3 = __builtin_shufflevector(r[2], r[0], 3, 3, 7, 7), b3 = __builtin_shufflevector(r[3], r[1], 3, 3, 7, 7);
    k[0] = a0 * b1 - b0 * a1, k[1] = a0 * b2 - b0 * a2, k[2] = a0 * b3 - b0 * a3;
    k[3] = a1 * b2 - b1 * a2, k[4] = a1 * b3 - b1 * a3, k[5] = a2 * b3 - b2 * a3;
}

inline float cMat4::Determinant(const cFloat4 k[6]) {
    return k[0][2] * k[5][0] - k[1][2] * k[4][0] + k[2][2] * k[3][0] + k[3][2] * k[2][0] - k[4][2] * k[1][0] +
           k[5][2] * k[0][0];
}

// The cofactors four at a time: p[i] and m[i] hold column i of rows 1, 0, 3,
// 2 with alternating signs (+ - + - and - + - +), so that every element is
// t0 * u0 + t1 * u1 + t2 * u2 with signed factors: the same products and sums,
// down to the sign of a zero, as the expansion written element by element.
inline bool cMat4::Invert(const cMat4& src, cMat4* dst) {
    const cFloat4 r[4] = {LoadFloat4(src.m), LoadFloat4(src.m + 4), LoadFloat4(src.m + 8), LoadFloat4(src.m + 12)};
    cFloat4 k[6];
    Minors(r, k);
    const float det = Determinant(k);
    if (std::fabs(det) <= cMath::MatrixInvertEpsilon) return false;
    const cFloat4 lo10 = __builtin_shufflevector(r[1], r[0], 0, 4, 1, 5), hi10 = __builtin_shufflevector(r[1], r[0], 2, 6, 3, 7);
    const cFloat4 lo32 = __builtin_shufflevector(r[3], r[2], 0, 4, 1, 5), hi32 = __builtin_shufflevector(r[3], r[2], 2, 6, 3, 7);
    const cFloat4 col[4] = {__builtin_shufflevector(lo10, lo32, 0, 1, 4, 5), __builtin_shufflevector(lo10, lo32, 2, 3, 6, 7),
                            __builtin_shufflevector(hi10, hi32, 0, 1, 4, 5), __builtin_shufflevector(hi10, hi32, 2, 3, 6, 7)};
    const cFloat4 plus = {1, -1, 1, -1}, minus = -plus;
    const cFloat4 p0 = col[0] * plus, p1 = col[1] * plus, p2 = col[2] * plus, p3 = col[3] * plus;
    const cFloat4 m0 = col[0] * minus, m1 = col[1] * minus, m2 = col[2] * minus, m3 = col[3] * minus;
    const cFloat4 d = SplatFloat4(1.0f / det);
    StoreFloat4(dst->m, (p1 * k[5] + m2 * k[4] + p3 * k[3]) * d);
    StoreFloat4(dst->m + 4, (m0 * k[5] + p2 * k[2] + m3 * k[1]) * d);
    StoreFloat4(dst->m + 8, (p0 * k[4] + m1 * k[2] + p3 * k[0]) * d);
    StoreFloat4(dst->m + 12, (m0 * k[3] + p1 * k[1] + m2 * k[0]) * d);
    return true;
}

}  // namespace zozud
