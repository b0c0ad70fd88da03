// cVec2: a packed pair of floats (x, y); a plain value type.
#pragma once

namespace zozud {

class cVec2 {
public:
    float x, y;

    cVec2() = default;
    constexpr cVec2(float x_, float y_) : x(x_), y(y_) {}

    bool  operator==(const cVec2& v) const { return x == v.x && y == v.y; }
    bool  operator!=(const cVec2& v) const { return !(*this == v); }
    cVec2 operator+(const cVec2& v) const { return cVec2(x + v.x, y + v.y); }
    cVec2 operator-(const cVec2& v) const { return cVec2(x - v.x, y - v.y); }
    cVec2 operator*(float s) const { return cVec2(x * s, y * s); }

    static const cVec2 Zero;
};

}  // namespace zozud
