// cMat4 projections and view-projections. Perspective depth runs from -1 at
// the near plane to +1 at the far plane; orthographic depth from 0 to 1.
#include <cmath>

#include "zozud/math/Bounds.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Math.h"

namespace zozud {

cMat4 cMat4::Perspective(float fovY, float aspect, float zNear, float zFar) {
    float f = 1.0f / std::tan(fovY * 0.5f * cMath::RadsPerDeg);
    cMat4 r = Zero;
    r.m[0] = f / aspect;
    r.m[5] = f;
    r.m[10] = (zFar + zNear) / (zNear - zFar);
    r.m[11] = -1.0f;
    r.m[14] = 2.0f * zNear * zFar / (zNear - zFar);
    return r;
}

// The limit of Perspective as zFar grows, with 0.001 of slack so that points
// far away stay just inside the clip volume.
cMat4 cMat4::PerspectiveInf(float fovY, float aspect, float zNear) {
    float f = 1.0f / std::tan(fovY * 0.5f * cMath::RadsPerDeg);
    cMat4 r = Zero;
    r.m[0] = f / aspect;
    r.m[5] = f;
    r.m[10] = 0.001f - 1.0f;
    r.m[11] = -1.0f;
    r.m[14] = (0.001f - 2.0f) * zNear;
    return r;
}

cMat4 cMat4::Ortho(float width, float height, float zNear, float zFar) {
    cMat4 r = Zero;
    r.m[0] = 2.0f / width;
    r.m[5] = 2.0f / height;
    r.m[10] = 1.0f / (zNear - zFar);
    r.m[14] = zNear / (zNear - zFar);
    r.m[15] = 1.0f;
    return r;
}

cMat4 cMat4::Ortho(float left, float right, float bottom, float top, float zNear, float zFar) {
    cMat4 r = Zero;
    r.m[0] = 2.0f / (right - left);
    r.m[5] = 2.0f / (top - bottom);
    r.m[10] = 1.0f / (zNear - zFar);
    r.m[12] = (left + right) / (left - right);
    r.m[13] = (top + bottom) / (bottom - top);
    r.m[14] = zNear / (zNear - zFar);
    r.m[15] = 1.0f;
    return r;
}

// The viewer looks down -Z: the box's largest z is the nearest.
cMat4 cMat4::Ortho(const cBounds& b) {
    return Ortho(b.min.x, b.max.x, b.min.y, b.max.y, -b.max.z, -b.min.z);
}

// A view whose upper 3x3 has the columns right, up, back and whose last row
// moves the eye to the origin.
static cMat4 ViewFromBasis(const cVec3& eye, const cVec3& r, const cVec3& u, const cVec3& f) {
    return cMat4(r.x, u.x, -f.x, 0,
                 r.y, u.y, -f.y, 0,
                 r.z, u.z, -f.z, 0,
                 -r.Dot(eye), -u.Dot(eye), f.Dot(eye), 1);
}

cMat4 cMat4::LookAtViewProjection(const cVec3& eye, const cVec3& at, float fovY, float aspect, float zNear,
                                  float zFar) {
    cVec3 f = (at - eye).ToNormal();
    cVec3 r = f.Cross(cVec3::AxisY).ToNormal();
    cVec3 u = r.Cross(f).ToNormal();
    return Mul(ViewFromBasis(eye, r, u, f), Perspective(fovY, aspect, zNear, zFar));
}

const cMat3* cMat4::CubeOrientGL() {
    static const cMat3 faces[6] = {
        cMat3(0, 0, -1, 0, -1, 0, -1, 0, 0), cMat3(0, 0, 1, 0, -1, 0, 1, 0, 0),
        cMat3(1, 0, 0, 0, 0, 1, 0, -1, 0),   cMat3(1, 0, 0, 0, 0, -1, 0, 1, 0),
        cMat3(1, 0, 0, 0, -1, 0, 0, 0, -1),  cMat3(-1, 0, 0, 0, -1, 0, 0, 0, 1),
    };
    return faces;
}

const cMat3* cMat4::CubeOrientDX() {
    static const cMat3 faces[6] = {
        cMat3(0, 0, 1, 0, -1, 0, 1, 0, 0),    cMat3(0, 0, -1, 0, -1, 0, -1, 0, 0),
        cMat3(-1, 0, 0, 0, 0, 1, 0, 1, 0),    cMat3(-1, 0, 0, 0, 0, -1, 0, -1, 0),
        cMat3(-1, 0, 0, 0, -1, 0, 0, 0, 1),   cMat3(1, 0, 0, 0, -1, 0, 0, 0, -1),
    };
    return faces;
}

cMat4 cMat4::CubeViewProjection(const cVec3& position, int face, float zFar, bool openGL) {
    if (face < 0 || face > 5) return Identity;
    const cMat3& o = (openGL ? CubeOrientGL() : CubeOrientDX())[face];
    cMat4 view = ViewFromBasis(position, o.GetRow(0), o.GetRow(1), -o.GetRow(2));
    return Mul(view, Perspective(90.0f, 1.0f, 0.01f, zFar));
}

}  // namespace zozud
