// cVec3: normalisation, directions and angles, snapping, random directions, text.
#include "zozud/math/Vec3.h"

#include "zozud/core/Str.h"
#include "zozud/math/Angles.h"
#include "zozud/math/Mat3.h"
#include "zozud/math/Math.h"

namespace zozud {

float cVec3::Normalize() { return cMath::NormalizeComponents<3>(*this); }

cVec3 cVec3::ToNormal() const {
    cVec3 r = *this;
    r.Normalize();
    return r;
}

cVec3 cVec3::Min(const cVec3& a, const cVec3& b) {
    return cVec3(a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, a.z < b.z ? a.z : b.z);
}

cVec3 cVec3::Max(const cVec3& a, const cVec3& b) {
    return cVec3(a.x > b.x ? a.x : b.x, a.y > b.y ? a.y : b.y, a.z > b.z ? a.z : b.z);
}

cVec3 cVec3::operator*(const cMat3& m) const {
    return cVec3(x * m.m[0] + y * m.m[3] + z * m.m[6], x * m.m[1] + y * m.m[4] + z * m.m[7],
                 x * m.m[2] + y * m.m[5] + z * m.m[8]);
}

// ---- Directions ----

cAngles cVec3::ToAngles() const {
    float pitch;
    if (y >= 1.0f) pitch = 90.0f;  // exact at the poles, whatever asin rounds to
    else if (y <= -1.0f) pitch = -90.0f;
    else pitch = std::asin(y) * cMath::DegsPerRad;
    float yaw = (pitch > -90.0f && pitch < 90.0f) ? std::atan2(-x, -z) * cMath::DegsPerRad : 0.0f;
    return cAngles(pitch, yaw, 0.0f);
}

// Branch-free orthonormal basis of a unit vector (Duff et al.): stable for
// every direction, including those near -Z where the naive formula divides by 0.
void cVec3::ToPerps(cVec3* a, cVec3* b) const {
    cVec3 n = ToNormal();
    if (n.LengthSq() == 0) {
        if (a) *a = AxisX;
        if (b) *b = AxisY;
        return;
    }
    float sign = std::copysign(1.0f, n.z);
    float k = -1.0f / (sign + n.z);
    float xy = n.x * n.y * k;
    if (a) *a = cVec3(1.0f + sign * n.x * n.x * k, sign * xy, -sign * n.x);
    if (b) *b = cVec3(xy, sign + n.y * n.y * k, -n.y);
}

cVec3 cVec3::ToPerp() const {
    cVec3 a;
    ToPerps(&a, nullptr);
    return a;
}

static bool SnapComponent(float* c) {
    if (std::fabs(*c) <= 0.001f) {
        bool changed = *c != 0.0f;
        *c = 0.0f;
        return changed;
    }
    if (std::fabs(*c - 1.0f) <= 0.001f) {
        bool changed = *c != 1.0f;
        *c = 1.0f;
        return changed;
    }
    return false;
}

bool cVec3::FixDenormals() {
    bool changed = SnapComponent(&x);
    changed |= SnapComponent(&y);
    changed |= SnapComponent(&z);
    return changed;
}

bool cVec3::FixDegenerateNormal() {
    float* c = &x;
    int nonZero = (x != 0) + (y != 0) + (z != 0);
    if (nonZero == 1) {
        for (int i = 0; i < 3; i++) {
            if (c[i] == 0) continue;
            float unit = c[i] > 0 ? 1.0f : -1.0f;
            bool changed = c[i] != unit;
            c[i] = unit;
            return changed;
        }
    }
    for (int i = 0; i < 3; i++) {
        if (c[i] != 1.0f && c[i] != -1.0f) continue;
        bool changed = false;
        for (int j = 0; j < 3; j++) {
            if (j == i || c[j] == 0) continue;
            c[j] = 0;
            changed = true;
        }
        return changed;
    }
    return false;
}

cVec3 cVec3::Slerp(const cVec3& a, const cVec3& b, float t) {
    float la = a.Length(), lb = b.Length();
    if (la == 0 || lb == 0) return Lerp(a, b, t);
    cVec3 ua = a / la, ub = b / lb;
    float len = la + (lb - la) * t;
    float d = cMath::Clamp(ua.Dot(ub), -1.0f, 1.0f);
    cVec3 dir;
    if (d > 1.0f - 1e-6f) {  // nearly the same direction: the chord is the arc
        dir = Lerp(ua, ub, t).ToNormal();
    } else if (d < -1.0f + 1e-6f) {  // opposite: any great circle will do, take a fixed one
        float angle = cMath::Pi * t;
        dir = ua * std::cos(angle) + ua.ToPerp() * std::sin(angle);
    } else {
        float theta = std::acos(d), s = std::sin(theta);
        dir = ua * (std::sin((1 - t) * theta) / s) + ub * (std::sin(t * theta) / s);
    }
    return dir * len;
}

// ---- Random ----

cVec3 cVec3::RandRange1() {
    float a = cMath::RandRange1();
    float b = cMath::RandRange1();
    return cVec3(a, b, cMath::RandRange1());
}

cVec3 cVec3::RandNormal() {
    for (;;) {  // rejection from the cube keeps the direction uniform
        cVec3 v = RandRange1();
        float lenSq = v.LengthSq();
        if (lenSq >= 0.001f && lenSq <= 1.0f) return v.ToNormal();
    }
}

cStr cVec3::ToString(int precision) const { return cStr::ToString(&x, 3, precision, " "); }

}  // namespace zozud
