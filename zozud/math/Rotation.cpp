// cRotation: the cached rotation matrix and the conversions of axis-angle.
#include "zozud/math/Rotation.h"

#include <cmath>

#include "zozud/math/Angles.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Math.h"
#include "zozud/math/Quat.h"

namespace zozud {

const cMat3& cRotation::ToMat3() const {
    if (!m_Valid) {
        m_Mat = cMat3::Rotation(Axis, Angle);
        m_Valid = true;
    }
    return m_Mat;
}

cMat4 cRotation::ToMat4() const { return cMat4(ToMat3()); }

cQuat cRotation::ToQuat() const {
    float s, c;
    cMath::SinCosDeg(Angle * 0.5f, &s, &c);
    return cQuat(Axis * s, c);
}

cAngles   cRotation::ToAngles() const { return ToMat3().ToAngles(); }
cVec3     cRotation::ToAngularVelocity() const { return Axis * (Angle * cMath::RadsPerDeg); }

cRotation& cRotation::Normalize360() {
    float a = Angle - std::floor(Angle / 360.0f) * 360.0f;
    if (a >= 360.0f) a = 0.0f;  // a tiny negative angle rounds up to a full turn
    if (a != Angle) SetAngle(a);
    return *this;
}

cRotation& cRotation::Normalize180() {
    Normalize360();
    if (Angle > 180.0f) SetAngle(Angle - 360.0f);
    return *this;
}

}  // namespace zozud
