// cAngles: Euler angles in degrees, Pitch about X, Yaw about Y, Roll about Z,
// applied in that order (RotationXYZ). cAngles(0, 0, 0) looks down -Z and a
// positive Yaw turns the forward vector towards -X.
#pragma once

#include <iosfwd>

#include "zozud/math/Vec3.h"

namespace zozud {

class cStr;
class cMat3;
class cMat4;
class cQuat;

class cAngles {
public:
    float Pitch, Yaw, Roll;

    cAngles() = default;
    constexpr cAngles(float pitch, float yaw, float roll) : Pitch(pitch), Yaw(yaw), Roll(roll) {}

    // ---- Components and arithmetic ----
    float   operator[](int i) const { return (&Pitch)[i]; }
    float&  operator[](int i) { return (&Pitch)[i]; }
    bool    operator==(const cAngles& a) const { return Pitch == a.Pitch && Yaw == a.Yaw && Roll == a.Roll; }
    bool    operator!=(const cAngles& a) const { return !(*this == a); }
    cAngles operator-() const { return cAngles(-Pitch, -Yaw, -Roll); }
    cAngles operator+(const cAngles& a) const { return cAngles(Pitch + a.Pitch, Yaw + a.Yaw, Roll + a.Roll); }
    cAngles operator-(const cAngles& a) const { return cAngles(Pitch - a.Pitch, Yaw - a.Yaw, Roll - a.Roll); }
    cAngles operator*(float s) const { return cAngles(Pitch * s, Yaw * s, Roll * s); }
    cAngles& operator+=(const cAngles& a) { Pitch += a.Pitch; Yaw += a.Yaw; Roll += a.Roll; return *this; }
    cAngles& operator-=(const cAngles& a) { Pitch -= a.Pitch; Yaw -= a.Yaw; Roll -= a.Roll; return *this; }
    void     Set(float pitch, float yaw, float roll) { Pitch = pitch; Yaw = yaw; Roll = roll; }

    // ---- Conversions (through RotationXYZ(Pitch, Yaw, Roll)) ----
    cMat3 ToMat3() const;
    cMat4 ToMat4() const;  // zero translation
    cQuat ToQuat() const;
    void  ToVectors(cVec3* forward, cVec3* right, cVec3* up) const;  // any may be null
    cVec3 ToForward() const;
    cVec3 ToRight() const;
    cVec3 ToUp() const;

    // ---- Wrapping ----
    cAngles& Normalize360();  // each component into [0, 360)
    cAngles& Normalize180();  // each component into (-180, 180]
    // Both into (-180, 180], then each component of b to a + the short way round to b.
    static void EnsureShortestPath(cAngles* a, cAngles* b);

    // ---- Text ----
    cStr ToString(int precision = 2) const;  // "pitch yaw roll"

    static const cAngles Zero;
};

std::ostream& operator<<(std::ostream& os, const cAngles& a);  // "[p, y, r]"

static_assert(sizeof(cAngles) == 12, "cAngles is three packed floats");

}  // namespace zozud
