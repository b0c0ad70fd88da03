#include "zozud/view/TransformTools.h"

#include <cfloat>
#include <cmath>

#include "zozud/image/Color.h"
#include "zozud/math/Mat3.h"
#include "zozud/math/Math.h"
#include "zozud/render/Render.h"
#include "zozud/render/Viewer.h"

namespace zozud {

int   g_ManipulatorsType = 1;
int   g_ManipulatorsLocal = cSpace::World;
float g_ManipulatorsSnap = 0;
cRepeatManipulator g_RepeatManipulator;

namespace {

const float PickPixels = 6.0f;   // how near the mouse must be to an axis
const float PlaneShare = 0.3f;   // the plane handles' side, a share of the axis length

const cColor AxisColors[3] = {cColor(1, 0.15f, 0.15f), cColor(0.2f, 0.9f, 0.2f), cColor(0.25f, 0.4f, 1)};
const cColor Hot(1, 1, 0), Inactive(0.5f, 0.5f, 0.5f), White(1, 1, 1), Black(0, 0, 0);

int PlaneMode(int a) { return cTransformTool::Mode::XY + a; }  // XY, YZ, ZX start at axes 0, 1, 2

float WrapDegrees(float a) {
    while (a > 180) a -= 360;
    while (a <= -180) a += 360;
    return a;
}

}  // namespace

// ---- Common ----

bool cTransformTool::CalcFrame() {
    m_Viewer = cRender::GetViewer();
    if (!m_Viewer) return false;
    cMat4 parent = GetParentMatrix();
    m_Origin = cVec3::TransformCoordinate(m_Position ? *m_Position : cVec3(0, 0, 0), parent);
    cMat3 rot = cMat3::Identity;
    if (m_Space == cSpace::Local) rot = (m_Orient ? m_Orient->ToMat3() : cMat3::Identity) * parent.ToMat3();
    for (int i = 0; i < 3; i++) {
        m_Axes[i] = rot.GetRow(i);
        if (m_Axes[i].Normalize() < 1e-9f) m_Axes[i] = cMat3::Identity.GetRow(i);
    }
    m_Size = m_First * m_Viewer->PixelSizeAt(m_Origin);
    return true;
}

// The pixel is first moved to its foot on the axis as drawn: the grabbed
// point then stays under the pointer's foot however far the pointer strays
// sideways (the closest approach of the pixel's own ray would slide along an
// axis that runs towards the camera).
bool cTransformTool::AxisParam(int axis, const cVec2& pixel, float* t) const {
    const cVec3& a = m_Axes[axis];
    const cVec3& origin = DragOrigin();
    cVec2 foot = pixel;
    cVec3 s0, s1;
    if (m_Viewer->WorldToScreen(origin, &s0) && m_Viewer->WorldToScreen(origin + a * m_Size, &s1)) {
        cVec2 p0(s0.x, s0.y), d(s1.x - s0.x, s1.y - s0.y);
        float len2 = d.x * d.x + d.y * d.y;
        if (len2 > 1e-6f) foot = p0 + d * (((pixel.x - p0.x) * d.x + (pixel.y - p0.y) * d.y) / len2);
    }
    cSeg ray = m_Viewer->GetPickRayFromScreen(foot);
    cVec3 d = ray.direction, w = ray.start - origin;
    float b = a.Dot(d), denom = 1.0f - b * b;
    if (denom < 1e-6f) return false;
    *t = (w.Dot(a) - b * w.Dot(d)) / denom;
    return true;
}

bool cTransformTool::PlaneHit(const cVec3& normal, const cVec2& pixel, cVec3* hit) const {
    cSeg ray = m_Viewer->GetPickRayFromScreen(pixel);
    float denom = normal.Dot(ray.direction);
    if (std::fabs(denom) < 1e-6f) return false;
    float s = normal.Dot(DragOrigin() - ray.start) / denom;
    *hit = ray.start + ray.direction * s;
    return true;
}

float cTransformTool::PixelDistanceToSegment(const cVec2& pixel, const cVec3& a, const cVec3& b) const {
    cVec3 sa, sb;
    if (!m_Viewer->WorldToScreen(a, &sa) || !m_Viewer->WorldToScreen(b, &sb)) return FLT_MAX;
    cVec2 p0(sa.x, sa.y), p1(sb.x, sb.y), d = p1 - p0;
    float len2 = d.x * d.x + d.y * d.y;
    float t = len2 > 0 ? ((pixel.x - p0.x) * d.x + (pixel.y - p0.y) * d.y) / len2 : 0;
    t = std::fmin(std::fmax(t, 0.0f), 1.0f);
    cVec2 q = p0 + d * t - pixel;
    return std::sqrt(q.x * q.x + q.y * q.y);
}

bool cTransformTool::AxisVisible(int axis) const {
    return std::fabs(m_Axes[axis].Dot(m_Viewer->GetForward())) <= m_Third;
}

cVec3 cTransformTool::ModeDirection(int mode) const {
    if (mode >= Mode::X && mode <= Mode::Z) return m_Axes[mode - Mode::X];
    if (mode >= Mode::XY && mode <= Mode::ZX) return m_Axes[(mode - Mode::XY + 2) % 3];  // the normal
    return m_Viewer->GetForward();
}

int cTransformTool::PickCentreOrAxis(const cVec2& pixel, bool centre, float from) const {
    cVec3 o;
    if (!m_Viewer->WorldToScreen(m_Origin, &o)) return 0;
    float dx = pixel.x - o.x, dy = pixel.y - o.y;
    if (centre && std::sqrt(dx * dx + dy * dy) <= m_First * m_Second) return Mode::Free;
    int best = 0;
    float bestDistance = PickPixels;
    for (int i = 0; i < 3; i++) {
        if (!AxisVisible(i)) continue;
        float d = PixelDistanceToSegment(pixel, m_Origin + m_Axes[i] * (m_Size * from), m_Origin + m_Axes[i] * m_Size);
        if (d <= bestDistance) {
            bestDistance = d;
            best = Mode::X + i;
        }
    }
    return best;
}

void cTransformTool::Snap(cVec3* v, const bool changed[3]) {
    float step = g_ManipulatorsSnap;
    if (step <= 0) return;
    for (int i = 0; i < 3; i++)
        if (changed[i]) (*v)[i] = std::floor((*v)[i] / step + 0.5f) * step;
}

int cTransformTool::SnapDecimals() {
    float step = g_ManipulatorsSnap;
    if (!(step > 0)) return 2;
    for (int d = 0; d < 4; d++) {
        float scaled = step * std::pow(10.0f, (float)d);
        if (std::fabs(scaled - std::round(scaled)) < 1e-3f * scaled) return d;
    }
    return 4;
}

cStr cTransformTool::FormatValues(const float* values, int count, int decimals) {
    const cStr format = cStr::Format("%%.%df", decimals);
    cStr text;
    for (int i = 0; i < count; i++) {
        if (i) text += ", ";
        double v = values[i], unit = std::pow(10.0, decimals);
        if (std::round(v * unit) == 0) v = 0;  // never "-0.00"
        text += cStr::Format(format.ToChar(), v);
    }
    return text;
}

// Above and right of the pointer, where the eye is during a drag, white on
// a black shadow.
void cTransformTool::DrawDragText() const {
    cStr text = GetDragText();
    if (text.IsEmpty()) return;
    static int font = -2;
    if (font == -2) font = cRender::GetFontID("Calibri 11");
    cVec2 at = cInput::GetMousePosition() + cVec2(14, 28);
    cRender::DrawString(font, text.ToChar(), at.x + 1, at.y - 1, Black);
    cRender::DrawString(font, text.ToChar(), at.x, at.y, White);
}

void cTransformTool::ContinueMode(int mode) {
    if (!CalcFrame()) return;
    m_StartOrigin = m_Origin;
    m_PrevMode = m_Mode;
    m_Mode = mode;
    m_StartMouse = cInput::GetMousePosition();
    if (m_Position) m_StartPosition = *m_Position;
    if (m_Scale) m_StartScale = *m_Scale;
    if (m_Orient) m_StartOrient = *m_Orient;
    BeginDrag();
}

bool cTransformTool::OnButtonDown(int code) {
    if (cWidgets::IsCaptured()) return false;
    int mode = 0;
    if (code == cInput::LeftButton) {
        mode = CalcMode(cInput::GetMousePosition());
    } else if (code == cInput::MiddleButton) {
        if (g_RepeatManipulator.Tool == this) mode = g_RepeatManipulator.Mode;
    }
    if (!mode) return false;
    ContinueMode(mode);
    if (!m_Mode) return false;
    m_Button = code;
    cWidgets::SetCapture(this);
    g_RepeatManipulator.Accum0 = g_RepeatManipulator.Accum1 = cVec3(0, 0, 0);
    g_RepeatManipulator.Tool = this;
    g_RepeatManipulator.Mode = mode;
    return true;
}

bool cTransformTool::OnButtonUp(int code) {
    if (!cWidgets::IsCaptured(this) || code != m_Button) return false;
    m_PrevMode = m_Mode;
    m_Mode = 0;
    m_Button = -1;
    cWidgets::ReleaseCapture();
    return true;
}

bool cTransformTool::OnMouseMove() {
    if (!cWidgets::IsCaptured(this) || !m_Mode) return false;
    if (m_Viewer && m_Viewer == cRender::GetViewer()) Drag(cInput::GetMousePosition());
    return true;
}

// Asked once a frame: the element under the mouse is drawn hot unless a
// widget in front is hot already or another one drags.
bool cTransformTool::IsHot(bool hotFound) {
    if (m_Mode) return true;
    m_HotMode = hotFound || cWidgets::IsCaptured() ? 0 : CalcMode(cInput::GetMousePosition());
    return m_HotMode != 0;
}

// ---- Move ----

int cMoveTool::CalcMode(const cVec2& pixel) {
    if (!CalcFrame()) return 0;
    int best = PickCentreOrAxis(pixel, true, 0);
    if (best) return best;
    float side = m_Size * PlaneShare;
    for (int i = 0; i < 3; i++) {
        const cVec3 &a = m_Axes[i], &b = m_Axes[(i + 1) % 3], n = m_Axes[(i + 2) % 3];
        if (std::fabs(n.Dot(m_Viewer->GetForward())) < 0.2f) continue;  // seen edge-on
        cVec3 hit;
        if (!PlaneHit(n, pixel, &hit)) continue;
        float u = (hit - m_Origin).Dot(a), v = (hit - m_Origin).Dot(b);
        if (u > 0 && v > 0 && u <= side && v <= side) return PlaneMode(i);
    }
    return 0;
}

void cMoveTool::BeginDrag() {
    cVec3 hit;
    float t = 0;
    if (m_Mode >= Mode::X && m_Mode <= Mode::Z) {
        if (!AxisParam(m_Mode - Mode::X, m_StartMouse, &t)) m_Mode = 0;
        m_StartHit = cVec3(t, 0, 0);
    } else if (PlaneHit(ModeDirection(m_Mode), m_StartMouse, &hit)) {
        m_StartHit = hit;
    } else {
        m_Mode = 0;
    }
}

void cMoveTool::Drag(const cVec2& pixel) {
    if (!m_Position) return;
    cVec3 delta(0, 0, 0), hit;
    cVec3 dirs[2] = {cVec3(0, 0, 0), cVec3(0, 0, 0)};
    if (m_Mode >= Mode::X && m_Mode <= Mode::Z) {
        float t;
        if (!AxisParam(m_Mode - Mode::X, pixel, &t)) return;
        delta = m_Axes[m_Mode - Mode::X] * (t - m_StartHit.x);
        dirs[0] = m_Axes[m_Mode - Mode::X];
    } else {
        if (!PlaneHit(ModeDirection(m_Mode), pixel, &hit)) return;
        delta = hit - m_StartHit;
        if (m_Mode == Mode::Free) {
            dirs[0] = m_Viewer->GetRight();
            dirs[1] = m_Viewer->GetUp();
        } else {
            dirs[0] = m_Axes[m_Mode - Mode::XY];
            dirs[1] = m_Axes[(m_Mode - Mode::XY + 1) % 3];
        }
    }
    // Back into the parent's space, where the bound position lives.
    cMat4 inverse;
    if (!cMat4::Invert(GetParentMatrix(), &inverse)) return;
    cVec3 local = cVec3::TransformNormal(delta, inverse);
    bool changed[3];
    for (int i = 0; i < 3; i++) {
        float c0 = cVec3::TransformNormal(dirs[0], inverse)[i], c1 = cVec3::TransformNormal(dirs[1], inverse)[i];
        changed[i] = std::fabs(c0) > 1e-5f || std::fabs(c1) > 1e-5f;
        if (!changed[i]) local[i] = 0;
    }
    cVec3 p = m_StartPosition + local;
    Snap(&p, changed);
    *m_Position = p;
    g_RepeatManipulator.Accum0 = p - m_StartPosition;
    g_RepeatManipulator.Accum1 = cVec3::TransformNormal(p - m_StartPosition, GetParentMatrix());
}

void cMoveTool::OnRender() {
    if (!CalcFrame()) return;
    const int shown = m_Mode ? m_Mode : m_HotMode;
    for (int i = 0; i < 3; i++) {
        if (!AxisVisible(i)) continue;
        bool hot = shown == Mode::X + i;
        cColor c = hot ? Hot : (m_Mode ? Inactive : AxisColors[i]);
        cVec3 tip = m_Origin + m_Axes[i] * m_Size, base = m_Origin + m_Axes[i] * (m_Size * (1 - m_Second * 2));
        cRender::DrawLine(m_Origin, base, c);
        cRender::DrawConeSolid(tip, base, m_Size * m_Second * 0.4f, c);
        // The plane handle spanned by this axis and the next.
        const cVec3& b = m_Axes[(i + 1) % 3];
        float side = m_Size * PlaneShare;
        cColor pc = shown == PlaneMode(i) ? Hot : (m_Mode ? Inactive : White);
        cRender::DrawLine(m_Origin + m_Axes[i] * side, m_Origin + (m_Axes[i] + b) * side, pc);
        cRender::DrawLine(m_Origin + b * side, m_Origin + (m_Axes[i] + b) * side, pc);
    }
    // The free handle last, drawn over the axes.
    float centre = m_Size * m_Second;
    cRender::DrawBillboardQuadsSolid(&m_Origin, 1, centre * 1.2f, Black);
    cRender::DrawBillboardQuadsSolid(&m_Origin, 1, centre, shown == Mode::Free ? Hot : White);
    DrawDragText();
}

cStr cMoveTool::GetDragText() const {
    if (!m_Mode || !m_Position) return cStr();
    return FormatValues(&m_Position->x, 3, SnapDecimals());
}

// ---- Rotate ----

float cRotateTool::ScreenAngle(const cVec2& pixel) const {
    cVec3 o;
    m_Viewer->WorldToScreen(m_Origin, &o);
    return std::atan2(pixel.y - o.y, pixel.x - o.x) * cMath::DegsPerRad;
}

// Shown with the move and scale tools, the rings cross their axes: there
// the axes win (they reach 90 of the ring's 120 pixels).
int cRotateTool::CalcMode(const cVec2& pixel) {
    if (!CalcFrame()) return 0;
    for (int i = 0; m_Combined && i < 3; i++)
        if (PixelDistanceToSegment(pixel, m_Origin, m_Origin + m_Axes[i] * (m_Size * 0.75f)) <= PickPixels) return 0;
    float radius = m_Size * 0.5f, ring = radius * m_Second, tolerance = radius * m_Third;
    int best = 0;
    float bestError = tolerance;
    for (int i = 0; i < 3; i++) {
        cVec3 hit;
        if (!PlaneHit(m_Axes[i], pixel, &hit)) continue;
        float error = std::fabs((hit - m_Origin).Length() - ring);
        if (error <= bestError) {
            bestError = error;
            best = Mode::X + i;
        }
    }
    if (best) return best;
    cVec3 o;
    if (!m_Viewer->WorldToScreen(m_Origin, &o)) return 0;
    float dx = pixel.x - o.x, dy = pixel.y - o.y, pixels = m_First * 0.5f;
    if (std::fabs(std::sqrt(dx * dx + dy * dy) - pixels) <= pixels * m_Third) return Mode::Free;
    return 0;
}

void cRotateTool::BeginDrag() {
    if (!m_Orient) {
        m_Mode = 0;
        return;
    }
    m_StartAngle = ScreenAngle(m_StartMouse);
    m_Angle = 0;
    m_StartHit = ModeDirection(m_Mode);  // the axis for the whole drag
    if (m_Mode == Mode::Free) m_StartHit = -m_Viewer->GetForward();
}

void cRotateTool::Drag(const cVec2& pixel) {
    float a = ScreenAngle(pixel);
    m_Angle += WrapDegrees(a - m_StartAngle);
    m_StartAngle = a;
    // Counter-clockwise on screen turns positively about an axis pointing at the camera.
    cVec3 axis = m_StartHit;
    float angle = axis.Dot(m_Viewer->GetForward()) <= 0 ? m_Angle : -m_Angle;
    cMat4 inverse;
    if (!cMat4::Invert(GetParentMatrix(), &inverse)) return;
    cVec3 local = cVec3::TransformNormal(axis, inverse);
    if (local.Normalize() < 1e-9f) return;
    *m_Orient = (m_StartOrient.ToMat3() * cMat3::Rotation(local, angle)).ToAngles();
    g_RepeatManipulator.Accum0 = cVec3(angle, 0, 0);
    g_RepeatManipulator.Accum1 = local;
}

void cRotateTool::OnRender() {
    if (!CalcFrame()) return;
    const int shown = m_Mode ? m_Mode : m_HotMode;
    float radius = m_Size * 0.5f, ring = radius * m_Second;
    cRender::DrawFacingCircle(m_Origin, radius, shown == Mode::Free ? Hot : (m_Mode ? Inactive : White));
    cRender::DrawFacingCircle(m_Origin, ring, Inactive);
    for (int i = 0; i < 3; i++) {
        cColor c = shown == Mode::X + i ? Hot : (m_Mode ? Inactive : AxisColors[i]);
        cRender::DrawCircle(m_Origin, m_Axes[i], ring, c);
    }
    if (m_Mode && m_Angle != 0) {
        cVec3 axis = m_StartHit, from = axis.Cross(m_Viewer->GetUp());
        if (from.Normalize() < 1e-6f) from = m_Viewer->GetRight();
        cColor c = Hot;
        c.a = 0.35f;
        cRender::DrawSector(m_Origin, axis, from, m_Angle, ring, c);
    }
    DrawDragText();
}

cStr cRotateTool::GetDragText() const { return m_Mode && m_Orient ? FormatValues(&m_Angle, 1, 1) : cStr(); }

// ---- Scale ----

// Shown with the move tool, the scale tool leaves the centre and the
// shafts to it and keeps the cubes beyond the move tool's cones.
int cScaleTool::CalcMode(const cVec2& pixel) {
    if (!CalcFrame()) return 0;
    return m_Combined ? PickCentreOrAxis(pixel, false, CombinedFrom) : PickCentreOrAxis(pixel, true, 0);
}

void cScaleTool::BeginDrag() {
    if (!m_Scale) {
        m_Mode = 0;
        return;
    }
    float t = 0;
    if (m_Mode >= Mode::X && m_Mode <= Mode::Z) {
        if (!AxisParam(m_Mode - Mode::X, m_StartMouse, &t) || std::fabs(t) < 1e-9f) m_Mode = 0;
    }
    m_StartHit = cVec3(t, 0, 0);
}

void cScaleTool::Drag(const cVec2& pixel) {
    bool changed[3] = {false, false, false};
    float factor;
    if (m_Mode >= Mode::X && m_Mode <= Mode::Z) {
        float t;
        if (!AxisParam(m_Mode - Mode::X, pixel, &t)) return;
        factor = t / m_StartHit.x;
        changed[m_Mode - Mode::X] = true;
    } else {
        cVec2 d = pixel - m_StartMouse;
        factor = std::fmax(1.0f + (d.x + d.y) / m_First, 0.0f);
        changed[0] = changed[1] = changed[2] = true;
    }
    cVec3 s = m_StartScale, factors(1, 1, 1);
    for (int i = 0; i < 3; i++)
        if (changed[i]) s[i] *= factor, factors[i] = factor;
    Snap(&s, changed);
    *m_Scale = s;
    g_RepeatManipulator.Accum0 = factors;
    g_RepeatManipulator.Accum1 = s - m_StartScale;
}

void cScaleTool::OnRender() {
    if (!CalcFrame()) return;
    const int shown = m_Mode ? m_Mode : m_HotMode;
    const float from = m_Combined ? CombinedFrom : 0;
    for (int i = 0; i < 3; i++) {
        if (!AxisVisible(i)) continue;
        cColor c = shown == Mode::X + i ? Hot : (m_Mode ? Inactive : AxisColors[i]);
        cVec3 tip = m_Origin + m_Axes[i] * m_Size;
        cRender::DrawLine(m_Origin + m_Axes[i] * (m_Size * from), tip, c);
        cRender::DrawCubeSolid(tip, m_Size * m_Second * 0.5f, c);
    }
    if (!m_Combined) cRender::DrawCubeSolid(m_Origin, m_Size * m_Second * 0.6f, shown == Mode::Free ? Hot : White);
    DrawDragText();
}

cStr cScaleTool::GetDragText() const {
    if (!m_Mode || !m_Scale) return cStr();
    return FormatValues(&m_Scale->x, 3, SnapDecimals());
}

}  // namespace zozud
