// cBounds: an axis-aligned box (min, max). Surprise: it has a virtual
// destructor, so it is not raw floats in memory; cBounds::Empty (min at
// +FLT_MAX, max at -FLT_MAX) becomes valid with the first point added.
// Bounds<T, N>: the same box over cVec<T, N> (T float or int, N 2 or 3).
#pragma once

#include <cfloat>
#include <cstddef>

#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"
#include "zozud/math/VecT.h"

namespace zozud {

class cStr;
class cMat4;

class cBounds {
public:
    cVec3 min, max;

    constexpr cBounds() : min(FLT_MAX, FLT_MAX, FLT_MAX), max(-FLT_MAX, -FLT_MAX, -FLT_MAX) {}  // empty
    constexpr cBounds(const cVec3& min_, const cVec3& max_) : min(min_), max(max_) {}
    virtual ~cBounds() = default;
    cBounds(const cBounds&) = default;
    cBounds& operator=(const cBounds&) = default;

    // ---- State ----
    void  Clear() { *this = cBounds(); }
    bool  IsEmpty() const { return min.x > max.x || min.y > max.y || min.z > max.z; }
    bool  operator==(const cBounds& b) const { return min == b.min && max == b.max; }
    bool  operator!=(const cBounds& b) const { return !(*this == b); }
    cVec3 GetCenter() const { return (min + max) * 0.5f; }
    cVec3 GetSize() const { return max - min; }
    float GetRadius() const { return GetSize().Length() * 0.5f; }  // of the sphere through the corners

    // ---- Growing ----
    void AddPoint(const cVec3& p) { min = cVec3::Min(min, p); max = cVec3::Max(max, p); }
    void AddBounds(const cBounds& b);   // an empty b changes nothing
    void Expand(float amount);          // every side moves out by amount
    void FromPoints(const cVec2* points, int n);  // z = 0; empty for n < 1
    void FromPoints(const cVec3* points, int n);  // empty for n < 1

    // ---- Queries ----
    bool  ContainsPoint(const cVec3& p) const;          // edges included
    bool  Intersects(const cBounds& b) const;           // touching counts
    float DistanceToPointSq(const cVec3& p) const;      // 0 inside
    void  ToPoints(cVec3 corners[8]) const;             // corner i: x from max if i & 1, y if i & 2, z if i & 4
    // Slab test: the entry distance t along dir (units of |dir|), 0 when origin is inside.
    bool  RayIntersection(const cVec3& origin, const cVec3& dir, float* t) const;

    // ---- Transforms ----
    static cBounds Transform(const cBounds& b, const cMat4& m);  // box around the 8 transformed corners
    void           Transform(const cMat4& m) { *this = Transform(*this, m); }
    static cBounds Lerp(const cBounds& a, const cBounds& b, float t);

    cStr ToString(int precision = 2) const;  // "minx miny minz maxx maxy maxz"

    static const cBounds Zero, Empty, One;
};

static_assert(sizeof(cBounds) == sizeof(void*) + 24, "cBounds: table pointer and six floats");

// ---- Bounds<T, N> ----

template <class T, size_t N>
class Bounds {
    static_assert(N == 2 || N == 3, "Bounds has 2 or 3 dimensions");
public:
    cVec<T, N> min;  // UNDEFINED (the largest T): empty
    cVec<T, N> max;

    Bounds() : max(-cVec<T, N>::UNDEFINED) {}
    Bounds(const cVec<T, N>& min_, const cVec<T, N>& max_) : min(min_), max(max_) {}

    bool IsEmpty() const {
        for (size_t i = 0; i < N; i++)
            if (min[i] > max[i]) return true;
        return false;
    }
    void AddPoint(const cVec<T, N>& p) {
        min = cVec<T, N>::Min(min, p);
        max = cVec<T, N>::Max(max, p);
    }
    cVec<T, N> GetSize() const { return max - min; }
    bool ContainsPoint(const cVec<T, N>& p) const {  // edges included
        for (size_t i = 0; i < N; i++)
            if (p[i] < min[i] || p[i] > max[i]) return false;
        return true;
    }
    // The segment a-b lies inside (the box is convex: both ends inside).
    bool ContainsLine(const cVec<T, N>& a, const cVec<T, N>& b) const { return ContainsPoint(a) && ContainsPoint(b); }
};

}  // namespace zozud
