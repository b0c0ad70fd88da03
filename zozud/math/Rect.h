// cRect: an axis-aligned rectangle of floats x0, y0, x1, y1; valid when
// x0 <= x1 and y0 <= y1. Screen rectangles have the y axis pointing up.
#pragma once

namespace zozud {

class cRect {
public:
    float x0, y0, x1, y1;

    cRect() = default;
    constexpr cRect(float x0_, float y0_, float x1_, float y1_) : x0(x0_), y0(y0_), x1(x1_), y1(y1_) {}

    float GetWidth() const { return x1 - x0; }
    float GetHeight() const { return y1 - y0; }
    bool  IsValid() const { return x0 <= x1 && y0 <= y1; }
    void  Translate(float dx, float dy) { x0 += dx; x1 += dx; y0 += dy; y1 += dy; }
    void  AlignInside(const cRect& bounds);  // moved (not resized) so that it lies inside bounds

    static const cRect Zero;
    static const cRect Unit;
};

}  // namespace zozud
