// cMat4: products, determinant and inverse, affine transforms about pivots,
// rotation access, text. Projections are in Mat4Projection.cpp.
#include "zozud/math/Mat4.h"

#include <ostream>

#include "zozud/core/Str.h"
#include "zozud/math/Angles.h"
#include "zozud/math/Math.h"
#include "zozud/math/Quat.h"

namespace zozud {

const cMat4 cMat4::Zero(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
const cMat4 cMat4::Identity(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);

cMat4::cMat4(const cMat3& r, const cVec3& t)
    : m{r.m[0], r.m[1], r.m[2], 0, r.m[3], r.m[4], r.m[5], 0, r.m[6], r.m[7], r.m[8], 0, t.x, t.y, t.z, 1} {}

cMat3 cMat4::ToMat3() const { return cMat3(m[0], m[1], m[2], m[4], m[5], m[6], m[8], m[9], m[10]); }

bool cMat4::operator==(const cMat4& b) const {
    for (int i = 0; i < 16; i++)
        if (m[i] != b.m[i]) return false;
    return true;
}

// ---- Products ----

cMat4 cMat4::ToTranspose() const {
    cMat4 r;
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 4; j++) r.m[i * 4 + j] = m[j * 4 + i];
    return r;
}

float cMat4::Determinant() const {
    const cFloat4 r[4] = {LoadFloat4(m), LoadFloat4(m + 4), LoadFloat4(m + 8), LoadFloat4(m + 12)};
    cFloat4 k[6];
    Minors(r, k);
    return Determinant(k);
}

bool cMat4::Equals(const cMat4& a, const cMat4& b, float eps) {
    for (int i = 0; i < 16; i++)
        if (!(std::fabs(a.m[i] - b.m[i]) <= eps)) return false;
    return true;
}

cMat3 cMat4::ToNormalMatrix() const {
    cMat3 inv;
    if (!cMat3::Invert(ToMat3(), &inv)) return cMat3::Identity;
    return inv.ToTranspose();
}

// ---- Transforms ----

// A linear map about a pivot: (v - p) * L + p, that is translation p - p * L.
static cMat4 AtPivot(const cMat3& l, const cVec3& p) { return cMat4(l, p - p * l); }

cMat4 cMat4::Translation(float x, float y) { return Translation(x, y, 0); }
cMat4 cMat4::Translation(float x, float y, float z) { return cMat4(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1); }
cMat4 cMat4::Translation(const cVec2& t) { return Translation(t.x, t.y, 0); }
cMat4 cMat4::Translation(const cVec3& t) { return Translation(t.x, t.y, t.z); }
cMat4 cMat4::RotationX(float a) { return cMat4(cMat3::RotationX(a)); }
cMat4 cMat4::RotationY(float a) { return cMat4(cMat3::RotationY(a)); }
cMat4 cMat4::RotationZ(float a) { return cMat4(cMat3::RotationZ(a)); }
cMat4 cMat4::RotationXYZ(float x, float y, float z) { return cMat4(cMat3::RotationXYZ(x, y, z)); }
cMat4 cMat4::EulerZYX(float x, float y, float z) { return cMat4(cMat3::EulerZYX(x, y, z)); }
cMat4 cMat4::Rotation(const cVec3& axis, float a) { return cMat4(cMat3::Rotation(axis, a)); }

cMat4 cMat4::RotationAt(const cVec3& pivot, const cVec3& axis, float a) {
    return AtPivot(cMat3::Rotation(axis, a), pivot);
}

cMat4 cMat4::RotationAt(const cVec2& pivot, float a) {
    return AtPivot(cMat3::RotationZ(a), cVec3(pivot.x, pivot.y, 0));
}

cMat4 cMat4::Scaling(float s) { return Scaling(s, s, s); }
cMat4 cMat4::Scaling(float sx, float sy) { return Scaling(sx, sy, 1); }
cMat4 cMat4::Scaling(float sx, float sy, float sz) { return cMat4(sx, 0, 0, 0, 0, sy, 0, 0, 0, 0, sz, 0, 0, 0, 0, 1); }
cMat4 cMat4::Scaling(const cVec2& s) { return Scaling(s.x, s.y, 1); }
cMat4 cMat4::Scaling(const cVec3& s) { return Scaling(s.x, s.y, s.z); }

cMat4 cMat4::ScalingAt(float px, float py, float pz, float sx, float sy, float sz) {
    return AtPivot(cMat3::Scaling(sx, sy, sz), cVec3(px, py, pz));
}

// The 2D forms keep z as it is.
cMat4 cMat4::ScalingAt(const cVec2& p, float s) { return ScalingAt(p.x, p.y, 0, s, s, 1); }
cMat4 cMat4::ScalingAt(const cVec2& p, const cVec2& s) { return ScalingAt(p.x, p.y, 0, s.x, s.y, 1); }
cMat4 cMat4::ScalingAt(const cVec3& p, float s) { return ScalingAt(p.x, p.y, p.z, s, s, s); }
cMat4 cMat4::ScalingAt(const cVec3& p, const cVec3& s) { return ScalingAt(p.x, p.y, p.z, s.x, s.y, s.z); }
cMat4 cMat4::ScalingAt(float px, float py, float s) { return ScalingAt(px, py, 0, s, s, 1); }
cMat4 cMat4::ScalingAt(float px, float py, float pz, float s) { return ScalingAt(px, py, pz, s, s, s); }

// Along a unit axis a: L = I + (s - 1) a a^T, which leaves the plane across a alone.
cMat4 cMat4::ScalingAt(const cVec3& p, const cVec3& a, float s) {
    float k = s - 1.0f;
    cMat3 l(1 + k * a.x * a.x, k * a.x * a.y, k * a.x * a.z,
            k * a.y * a.x, 1 + k * a.y * a.y, k * a.y * a.z,
            k * a.z * a.x, k * a.z * a.y, 1 + k * a.z * a.z);
    return AtPivot(l, p);
}

void cMat4::SetRotation(const cAngles& a) {
    cMat3 r = cMat3::RotationXYZ(a.Pitch, a.Yaw, a.Roll);
    for (int row = 0; row < 3; row++) {
        for (int col = 0; col < 3; col++) m[row * 4 + col] = r.m[row * 3 + col];
        m[row * 4 + 3] = 0;
    }
    m[15] = 1;
}

cAngles cMat4::GetRotation() const { return ToMat3().ToAngles(); }

cQuat cMat4::ToQuat() const { return ToMat3().ToQuat(); }

// ---- Text ----

cStr cMat4::ToString(int precision) const { return cStr::ToString(m, 16, precision, " "); }

std::ostream& operator<<(std::ostream& os, const cMat4& a) {
    os << "[";
    for (int r = 0; r < 4; r++) {
        if (r) os << ", ";
        os << a.m[r * 4] << "," << a.m[r * 4 + 1] << "," << a.m[r * 4 + 2] << "," << a.m[r * 4 + 3];
    }
    return os << "]";
}

}  // namespace zozud
