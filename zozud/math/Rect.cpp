// cRect: alignment codes, docking zones, fitting and transforms.
#include "zozud/math/Rect.h"

#include <cfloat>
#include <cmath>

#include "zozud/core/Str.h"
#include "zozud/math/Mat4.h"

namespace zozud {

const cRect cRect::Zero(0, 0, 0, 0);
const cRect cRect::Unit(0, 0, 1, 1);
const cRect cRect::Empty(FLT_MAX, FLT_MAX, -FLT_MAX, -FLT_MAX);

void cRect::AddPoint(const cVec2& p) {
    if (p.x < x0) x0 = p.x;
    if (p.x > x1) x1 = p.x;
    if (p.y < y0) y0 = p.y;
    if (p.y > y1) y1 = p.y;
}

void cRect::AddRect(const cRect& r) {
    if (r.IsEmpty()) return;
    AddPoint(cVec2(r.x0, r.y0));
    AddPoint(cVec2(r.x1, r.y1));
}

// Moves the far edge in first, then the near edge: a rectangle larger than
// the bounds ends with its low edges on the bounds' low edges.
void cRect::AlignInside(const cRect& b) {
    if (x1 > b.x1) Translate(b.x1 - x1, 0);
    if (x0 < b.x0) Translate(b.x0 - x0, 0);
    if (y1 > b.y1) Translate(0, b.y1 - y1);
    if (y0 < b.y0) Translate(0, b.y0 - y0);
}

cRect cRect::Intersection(const cRect& a, const cRect& b) {
    return cRect(std::fmax(a.x0, b.x0), std::fmax(a.y0, b.y0), std::fmin(a.x1, b.x1), std::fmin(a.y1, b.y1));
}

// ---- Alignment ----

void cRect::SetWidth(int align, float w) {
    if (!IsPositionCode(align)) return;
    switch (align % 4) {
        case 0: x1 = x0 + w; break;
        case 1: { float c = (x0 + x1) * 0.5f; x0 = c - w * 0.5f; x1 = c + w * 0.5f; break; }
        case 2: x0 = x1 - w; break;
    }
}

void cRect::SetHeight(int align, float h) {
    if (!IsPositionCode(align)) return;
    switch (align / 4) {
        case 0: y0 = y1 - h; break;
        case 1: { float c = (y0 + y1) * 0.5f; y0 = c - h * 0.5f; y1 = c + h * 0.5f; break; }
        case 2: y1 = y0 + h; break;
    }
}

cVec2 cRect::GetPoint(int code) const {
    if (!IsPositionCode(code)) return GetCenter();
    int col = code % 4, row = code / 4;
    float x = col == 0 ? x0 : (col == 2 ? x1 : (x0 + x1) * 0.5f);
    float y = row == 0 ? y1 : (row == 2 ? y0 : (y0 + y1) * 0.5f);
    return cVec2(x, y);
}

void cRect::AlignPoint(int code, float x, float y) {
    if (!IsPositionCode(code)) return;
    cVec2 p = GetPoint(code);
    Translate(x - p.x, y - p.y);
}

// ---- Docking ----

// 0 near the low edge, 2 near the high edge, 1 between; the nearer edge wins
// when the bands overlap.
static int Band(float v, float lo, float hi, float border) {
    float dLo = v - lo, dHi = hi - v;
    if (dLo < border && dLo <= dHi) return 0;
    if (dHi < border) return 2;
    return 1;
}

int cRect::GetDockingAlign(const cVec2& p, float border) const {
    if (IsEmpty() || !Contains(p)) return -1;
    int col = Band(p.x, x0, x1, border);
    int row = 2 - Band(p.y, y0, y1, border);  // row 0 is the top (y1) edge
    return row * 4 + col;
}

// 0 (low edge), 2 (high edge) or 1 (neither, or both) for one axis.
static int Contact(float r0, float r1, float lo, float hi, float tol) {
    bool low = std::fabs(r0 - lo) <= tol || std::fabs(r1 - lo) <= tol;
    bool high = std::fabs(r1 - hi) <= tol || std::fabs(r0 - hi) <= tol;
    if (low != high) return low ? 0 : 2;
    return 1;
}

int cRect::GetDockingAlign(const cRect& r, float tolerance) const {
    if (IsEmpty() || r.IsEmpty()) return -1;
    cRect grown = *this;
    grown.Inflate(tolerance, tolerance);
    if (!grown.Intersects(r)) return -1;
    int col = Contact(r.x0, r.x1, x0, x1, tolerance);
    int row = 2 - Contact(r.y0, r.y1, y0, y1, tolerance);
    return row * 4 + col;
}

cRect cRect::GetDockingRegion(int code, float size) const {
    if (!IsPositionCode(code) || IsEmpty()) return Empty;
    float w = std::fmin(size, GetWidth()), h = std::fmin(size, GetHeight());
    cRect r = *this;
    switch (code % 4) {
        case 0: r.x1 = x0 + w; break;
        case 2: r.x0 = x1 - w; break;
    }
    switch (code / 4) {
        case 0: r.y0 = y1 - h; break;
        case 2: r.y1 = y0 + h; break;
    }
    return r;
}

// ---- Fitting and transforms ----

cRect cRect::Inscribe(const cRect& outer, const cRect& inner) {
    cVec2 c = outer.GetCenter();
    float iw = inner.GetWidth(), ih = inner.GetHeight();
    if (!(iw > 0 && ih > 0) || outer.IsEmpty()) return cRect(c.x, c.y, c.x, c.y);
    float s = std::fmin(outer.GetWidth() / iw, outer.GetHeight() / ih);
    float hw = iw * s * 0.5f, hh = ih * s * 0.5f;
    return cRect(c.x - hw, c.y - hh, c.x + hw, c.y + hh);
}

cRect cRect::Transform(const cRect& r, const cMat4& m) {
    if (r.IsEmpty()) return r;
    cRect out = Empty;
    const cVec3 corners[4] = {cVec3(r.x0, r.y0, 0), cVec3(r.x1, r.y0, 0), cVec3(r.x0, r.y1, 0), cVec3(r.x1, r.y1, 0)};
    for (const cVec3& c : corners) {
        cVec3 p = cVec3::TransformCoordinate(c, m);
        out.AddPoint(cVec2(p.x, p.y));
    }
    return out;
}

cStr cRect::ToString(int precision) const { return cStr::ToString(&x0, 4, precision, " "); }

}  // namespace zozud
