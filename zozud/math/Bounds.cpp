// cBounds: growing, distance and ray queries, transforms.
#include "zozud/math/Bounds.h"

#include <cmath>
#include <utility>

#include "zozud/core/Str.h"
#include "zozud/math/Mat4.h"

namespace zozud {

const cBounds cBounds::Zero(cVec3(0, 0, 0), cVec3(0, 0, 0));
const cBounds cBounds::Empty;
const cBounds cBounds::One(cVec3(-1, -1, -1), cVec3(1, 1, 1));

void cBounds::AddBounds(const cBounds& b) {
    if (b.IsEmpty()) return;
    min = cVec3::Min(min, b.min);
    max = cVec3::Max(max, b.max);
}

void cBounds::Expand(float amount) {
    min -= cVec3(amount, amount, amount);
    max += cVec3(amount, amount, amount);
}

void cBounds::FromPoints(const cVec2* points, int n) {
    Clear();
    for (int i = 0; points && i < n; i++) AddPoint(cVec3(points[i].x, points[i].y, 0));
}

void cBounds::FromPoints(const cVec3* points, int n) {
    Clear();
    for (int i = 0; points && i < n; i++) AddPoint(points[i]);
}

bool cBounds::ContainsPoint(const cVec3& p) const {
    return p.x >= min.x && p.x <= max.x && p.y >= min.y && p.y <= max.y && p.z >= min.z && p.z <= max.z;
}

bool cBounds::Intersects(const cBounds& b) const {
    return b.min.x <= max.x && b.max.x >= min.x && b.min.y <= max.y && b.max.y >= min.y &&
           b.min.z <= max.z && b.max.z >= min.z;
}

float cBounds::DistanceToPointSq(const cVec3& p) const {
    float sum = 0;
    for (int i = 0; i < 3; i++) {
        float d = p[i] < min[i] ? min[i] - p[i] : (p[i] > max[i] ? p[i] - max[i] : 0.0f);
        sum += d * d;
    }
    return sum;
}

void cBounds::ToPoints(cVec3 corners[8]) const {
    for (int i = 0; i < 8; i++)
        corners[i] = cVec3((i & 1) ? max.x : min.x, (i & 2) ? max.y : min.y, (i & 4) ? max.z : min.z);
}

// Slabs: the ray is inside the box between the latest entry and the earliest
// exit over the three axes. An axis the ray runs parallel to is a yes/no test.
bool cBounds::RayIntersection(const cVec3& origin, const cVec3& dir, float* t) const {
    if (IsEmpty()) return false;
    float enter = 0.0f, leave = HUGE_VALF;
    for (int i = 0; i < 3; i++) {
        if (dir[i] == 0) {
            if (origin[i] < min[i] || origin[i] > max[i]) return false;
            continue;
        }
        float a = (min[i] - origin[i]) / dir[i], b = (max[i] - origin[i]) / dir[i];
        if (a > b) std::swap(a, b);
        if (a > enter) enter = a;
        if (b < leave) leave = b;
        if (enter > leave) return false;
    }
    if (t) *t = enter;
    return true;
}

cBounds cBounds::Transform(const cBounds& b, const cMat4& m) {
    if (b.IsEmpty()) return b;
    cVec3 corners[8];
    b.ToPoints(corners);
    cBounds r;
    for (const cVec3& c : corners) r.AddPoint(cVec3::TransformCoordinate(c, m));
    return r;
}

cBounds cBounds::Lerp(const cBounds& a, const cBounds& b, float t) {
    return cBounds(cVec3::Lerp(a.min, b.min, t), cVec3::Lerp(a.max, b.max, t));
}

cStr cBounds::ToString(int precision) const {
    float v[6] = {min.x, min.y, min.z, max.x, max.y, max.z};
    return cStr::ToString(v, 6, precision, " ");
}

}  // namespace zozud
