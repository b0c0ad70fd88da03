// cRect: an axis-aligned rectangle of floats x0, y0, x1, y1; valid when
// x0 <= x1 and y0 <= y1. Screen rectangles have the y axis pointing up, so
// the top edge is y1. Alignment codes 0..10: column code % 4 (0 the x0 edge,
// 1 the centre, 2 the x1 edge), row code / 4 (0 the y1 edge, 1 the centre,
// 2 the y0 edge); 3 and 7 are not positions.
#pragma once

#include "zozud/math/Vec2.h"

namespace zozud {

class cStr;
class cMat4;

class cRect {
public:
    float x0, y0, x1, y1;

    cRect() = default;
    constexpr cRect(float x0_, float y0_, float x1_, float y1_) : x0(x0_), y0(y0_), x1(x1_), y1(y1_) {}

    // ---- Size and state ----
    float GetWidth() const { return x1 - x0; }
    float GetHeight() const { return y1 - y0; }
    cVec2 GetSize() const { return cVec2(x1 - x0, y1 - y0); }
    cVec2 GetCenter() const { return cVec2((x0 + x1) * 0.5f, (y0 + y1) * 0.5f); }
    bool  IsValid() const { return x0 <= x1 && y0 <= y1; }
    bool  IsEmpty() const { return x0 > x1 || y0 > y1; }
    bool  operator==(const cRect& r) const { return x0 == r.x0 && y0 == r.y0 && x1 == r.x1 && y1 == r.y1; }
    bool  operator!=(const cRect& r) const { return !(*this == r); }

    // ---- Moving and growing ----
    void  Translate(float dx, float dy) { x0 += dx; x1 += dx; y0 += dy; y1 += dy; }
    void  Translate(const cVec2& d) { Translate(d.x, d.y); }
    void  Inflate(float dx, float dy) { x0 -= dx; x1 += dx; y0 -= dy; y1 += dy; }
    void  AddPoint(const cVec2& p);                       // grows to include p (Empty becomes the point)
    void  AddRect(const cRect& r);                        // grows to include r; an empty r changes nothing
    void  AlignInside(const cRect& bounds);               // moved (not resized) so that it lies inside bounds

    // ---- Queries ----
    bool  Contains(float x, float y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
    bool  Contains(const cVec2& p) const { return Contains(p.x, p.y); }
    bool  Contains(const cRect& r) const { return r.x0 >= x0 && r.x1 <= x1 && r.y0 >= y0 && r.y1 <= y1; }
    bool  Intersects(const cRect& r) const { return r.x0 <= x1 && r.x1 >= x0 && r.y0 <= y1 && r.y1 >= y0; }
    static cRect Intersection(const cRect& a, const cRect& b);  // empty (x0 > x1 or y0 > y1) when apart

    // ---- Alignment ----
    void  SetWidth(int align, float w);    // keeps the edge or centre of the code's column
    void  SetHeight(int align, float h);   // keeps the edge or centre of the code's row
    cVec2 GetPoint(int code) const;        // the point at code; the centre for a code that is no position
    void  AlignPoint(int code, float x, float y);       // moves so that GetPoint(code) is (x, y)
    void  AlignPoint(int code, const cRect& r) { cVec2 p = r.GetPoint(code); AlignPoint(code, p.x, p.y); }
    static bool IsPositionCode(int code) { return code >= 0 && code <= 10 && code % 4 != 3; }

    // ---- Docking ----
    // The docking zone p is in: the code of the band of width border along each
    // edge (corners where two bands meet, 5 for the middle); -1 outside.
    int   GetDockingAlign(const cVec2& p, float border) const;
    // The side or corner of this rectangle that r is docked to: the code of the edges
    // that one of r's edges lies on (within tolerance, from inside or outside) while
    // the two overlap along that edge; 5 when r lies inside touching none; -1 when apart.
    int   GetDockingAlign(const cRect& r, float tolerance) const;
    // The region a window docked at code takes: a band of the given size along that
    // edge, a size x size square in a corner, the whole rectangle for 5; Empty otherwise.
    cRect GetDockingRegion(int code, float size) const;

    // ---- Fitting and transforms ----
    // The largest rectangle of inner's proportions centred in outer.
    static cRect Inscribe(const cRect& outer, const cRect& inner);
    static cRect Transform(const cRect& r, const cMat4& m);  // around the 4 transformed corners
    void  Transform(const cMat4& m) { *this = Transform(*this, m); }

    cStr  ToString(int precision = 2) const;  // "x0 y0 x1 y1"

    static const cRect Zero;
    static const cRect Unit;
    static const cRect Empty;  // (FLT_MAX, FLT_MAX, -FLT_MAX, -FLT_MAX)
};

static_assert(sizeof(cRect) == 16, "cRect is four packed floats");

}  // namespace zozud
