// cVec3: a packed triple of floats (x, y, z); a plain value type.
#pragma once

namespace zozud {

class cVec3 {
public:
    float x, y, z;

    cVec3() = default;
    constexpr cVec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    bool  operator==(const cVec3& v) const { return x == v.x && y == v.y && z == v.z; }
    bool  operator!=(const cVec3& v) const { return !(*this == v); }
    cVec3 operator+(const cVec3& v) const { return cVec3(x + v.x, y + v.y, z + v.z); }
    cVec3 operator-(const cVec3& v) const { return cVec3(x - v.x, y - v.y, z - v.z); }
    cVec3 operator*(float s) const { return cVec3(x * s, y * s, z * s); }

    static const cVec3 Zero;
};

}  // namespace zozud
