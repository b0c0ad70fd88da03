// cAngles: conversions through RotationXYZ, wrapping into a turn, text.
#include "zozud/math/Angles.h"

#include <cmath>
#include <ostream>

#include "zozud/core/Str.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Quat.h"

namespace zozud {

const cAngles cAngles::Zero(0, 0, 0);

cMat3 cAngles::ToMat3() const { return cMat3::RotationXYZ(Pitch, Yaw, Roll); }
cMat4 cAngles::ToMat4() const { return cMat4(ToMat3()); }
cQuat cAngles::ToQuat() const { return ToMat3().ToQuat(); }
void  cAngles::ToVectors(cVec3* forward, cVec3* right, cVec3* up) const { ToMat3().ToVectors(forward, right, up); }
cVec3 cAngles::ToForward() const { return ToMat3().ToForward(); }
cVec3 cAngles::ToRight() const { return ToMat3().ToRight(); }
cVec3 cAngles::ToUp() const { return ToMat3().ToUp(); }

// ---- Wrapping ----

// Into [0, 360). A tiny negative angle rounds to 360 in float; that is 0.
static float Wrap360(float c) {
    if (c >= 360.0f || c < 0.0f) {
        c -= std::floor(c / 360.0f) * 360.0f;
        if (c >= 360.0f) c = 0.0f;
    }
    return c;
}

static float Wrap180(float c) {
    c = Wrap360(c);
    return c > 180.0f ? c - 360.0f : c;
}

cAngles& cAngles::Normalize360() {
    for (int i = 0; i < 3; i++) (*this)[i] = Wrap360((*this)[i]);
    return *this;
}

cAngles& cAngles::Normalize180() {
    for (int i = 0; i < 3; i++) (*this)[i] = Wrap180((*this)[i]);
    return *this;
}

void cAngles::EnsureShortestPath(cAngles* a, cAngles* b) {
    a->Normalize180();
    b->Normalize180();
    for (int i = 0; i < 3; i++) (*b)[i] = (*a)[i] + Wrap180((*b)[i] - (*a)[i]);
}

// ---- Text ----

cStr cAngles::ToString(int precision) const { return cStr::ToString(&Pitch, 3, precision, " "); }

std::ostream& operator<<(std::ostream& os, const cAngles& a) {
    return os << "[" << a.Pitch << ", " << a.Yaw << ", " << a.Roll << "]";
}

}  // namespace zozud
