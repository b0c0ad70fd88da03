// cRotation: a rotation by Angle degrees about Axis through Center. Surprise:
// the rotation matrix is cached on first use; change Axis or Angle through
// the setters (or call Invalidate) so that the cache is rebuilt.
#pragma once

#include "zozud/math/Mat3.h"
#include "zozud/math/Vec3.h"

namespace zozud {

class cMat4;
class cQuat;
class cAngles;

class cRotation {
public:
    cVec3 Center;
    cVec3 Axis;   // unit, used as stored
    float Angle;  // degrees

    cRotation() : Center(0, 0, 0), Axis(0, 0, 1), Angle(0), m_Mat(cMat3::Identity), m_Valid(false) {}
    cRotation(const cVec3& center, const cVec3& axis, float angle)
        : Center(center), Axis(axis), Angle(angle), m_Mat(cMat3::Identity), m_Valid(false) {}

    void Set(const cVec3& center, const cVec3& axis, float angle) { Center = center; Axis = axis; Angle = angle; m_Valid = false; }
    void SetAxis(const cVec3& axis) { Axis = axis; m_Valid = false; }
    void SetAngle(float angle) { Angle = angle; m_Valid = false; }
    void Invalidate() { m_Valid = false; }
    bool IsCacheValid() const { return m_Valid; }

    // ---- Conversions ----
    const cMat3& ToMat3() const;              // cMat3::Rotation(Axis, Angle), cached
    cMat4        ToMat4() const;              // the cached rotation; Center not applied
    cQuat        ToQuat() const;              // (Axis * sin(Angle/2), cos(Angle/2))
    cAngles      ToAngles() const;
    cVec3        ToAngularVelocity() const;   // Axis * Angle in radians

    // ---- Wrapping of Angle ----
    cRotation& Normalize180();  // into (-180, 180]
    cRotation& Normalize360();  // into [0, 360)

private:
    mutable cMat3 m_Mat;
    mutable bool  m_Valid;
};

static_assert(sizeof(cRotation) == 68, "cRotation: centre, axis, angle, matrix, flag");

}  // namespace zozud
