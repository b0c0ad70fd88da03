// Immediate 3D helpers: wire and solid bodies in world space with the
// "Colored" shader, the grid, and the frustum and cube forms drawn with the
// caller's shader. Lines go out as one line list, solids as one indexed
// triangle list, built in lists shared by these helpers and reused.
#include "zozud/render/Render.h"

#include <cmath>

#include "zozud/math/Bounds.h"
#include "zozud/render/RenderImmediate.h"
#include "zozud/render/Viewer.h"

namespace zozud {

namespace {

using PC = cVertex::PositionColored;

const float TwoPi = 6.2831853f;

// The lists of the 3D helpers; each helper empties them first.
struct Scratch {
    cList<PC>  lines;
    cList<PC>  verts;
    cList<int> indices;
};

Scratch& Begin() {
    static Scratch s;
    s.lines.Clear();
    s.verts.Clear();
    s.indices.Clear();
    return s;
}

void UseColored() {
    static cRender_ShaderSlot slot;
    slot.Use("Colored", PC::FormatID, nullptr);
}

// The lists emptied, with the "Colored" shader in use for what they will draw.
Scratch& BeginColored() {
    UseColored();
    return Begin();
}

void Line(Scratch& s, const cVec3& a, const cVec3& b, unsigned c) {
    s.lines.Add(PC{a, c});
    s.lines.Add(PC{b, c});
}

void Tri(Scratch& s, int a, int b, int c) {
    s.indices.Add(a);
    s.indices.Add(b);
    s.indices.Add(c);
}

void FlushLines(Scratch& s) {
    if (s.lines.IsEmpty()) return;
    cRender::DrawArrays(cTopology::Lines, s.lines.GetPtr(), s.lines.Count());
}

void FlushTriangles(Scratch& s) {
    if (s.indices.IsEmpty()) return;
    cRender::DrawIndexed(cTopology::Triangles, s.verts.GetPtr(), s.verts.Count(), s.indices.GetPtr(),
                         s.indices.Count(), 4);
}

int ClampSegments(int n) { return n < 3 ? 3 : n > 1024 ? 1024 : n; }

// Two unit vectors perpendicular to n and to each other.
void Basis(const cVec3& n, cVec3* u, cVec3* v) {
    cVec3 axis = n;
    if (axis.Normalize() == 0) axis = cVec3(0, 0, 1);
    cVec3 helper = std::fabs(axis.x) < 0.9f ? cVec3(1, 0, 0) : cVec3(0, 1, 0);
    *u = axis.Cross(helper);
    u->Normalize();
    *v = axis.Cross(*u);
}

// The camera's right and up in world space (the axes without a viewer).
void ViewerAxes(cVec3* right, cVec3* up) {
    const cViewer* viewer = cRender::GetViewer();
    if (!viewer) {
        *right = cVec3(1, 0, 0);
        *up = cVec3(0, 1, 0);
        return;
    }
    const float* m = viewer->ViewMatrix.m;
    *right = cVec3(m[0], m[4], m[8]);
    *up = cVec3(m[1], m[5], m[9]);
}

// The point at angle a (radians) on the circle of radius r about center, in the plane of u and v.
cVec3 OnCircle(const cVec3& center, const cVec3& u, const cVec3& v, float r, float a) {
    return center + u * (std::cos(a) * r) + v * (std::sin(a) * r);
}

void Ring(Scratch& s, const cVec3& center, const cVec3& u, const cVec3& v, float radius, unsigned c, int segments) {
    cVec3 prev = center + u * radius;
    for (int i = 1; i <= segments; i++) {
        float a = TwoPi * (float)i / (float)segments;
        cVec3 p = OnCircle(center, u, v, radius, a);
        Line(s, prev, p, c);
        prev = p;
    }
}

// The eight corners of the box min..max: bit 0 x, bit 1 y, bit 2 z.
void BoxCorners(const cVec3& lo, const cVec3& hi, cVec3* out) {
    for (int i = 0; i < 8; i++) out[i] = cVec3(i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z);
}

const int BoxEdges[12][2] = {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {0, 2}, {1, 3}, {4, 6}, {5, 7},
                             {0, 4}, {1, 5}, {2, 6}, {3, 7}};
// Two triangles per face, wound outwards.
const int BoxFaces[12][3] = {{0, 2, 1}, {1, 2, 3}, {4, 5, 6}, {5, 7, 6}, {0, 1, 4}, {1, 5, 4},
                             {2, 6, 3}, {3, 6, 7}, {0, 4, 2}, {2, 4, 6}, {1, 3, 5}, {3, 7, 5}};

void BoxWire(Scratch& s, const cVec3* corners, unsigned c) {
    for (const auto& e : BoxEdges) Line(s, corners[e[0]], corners[e[1]], c);
}

void BoxSolid(Scratch& s, const cVec3* corners, unsigned c) {
    int base = s.verts.Count();
    for (int i = 0; i < 8; i++) s.verts.Add(PC{corners[i], c});
    for (const auto& f : BoxFaces) Tri(s, base + f[0], base + f[1], base + f[2]);
}

// The corners of the clip volume of a view-projection matrix, in world space
// (bit 2 set: far plane); false for a singular matrix.
bool FrustumCorners(const cMat4& viewProjection, cVec3* out) {
    cMat4 inv;
    if (!cMat4::Invert(viewProjection, &inv)) return false;
    for (int i = 0; i < 8; i++) {
        float x = i & 1 ? 1.f : -1.f, y = i & 2 ? 1.f : -1.f, z = i & 4 ? 1.f : -1.f;
        const float* m = inv.m;
        float px = x * m[0] + y * m[4] + z * m[8] + m[12];
        float py = x * m[1] + y * m[5] + z * m[9] + m[13];
        float pz = x * m[2] + y * m[6] + z * m[10] + m[14];
        float pw = x * m[3] + y * m[7] + z * m[11] + m[15];
        if (pw == 0) return false;
        out[i] = cVec3(px / pw, py / pw, pz / pw);
    }
    return true;
}

}  // namespace

void cRender::DrawLine(const cVec3& a, const cVec3& b, const cColor& color) {
    unsigned c = PackColor(color);
    PC v[2] = {{a, c}, {b, c}};
    UseColored();
    DrawArrays(cTopology::Lines, v, 2);
}

void cRender::DrawLineStrip(const cVec3* points, int count, const cColor& color) {
    if (!points || count < 2) return;
    Scratch& s = BeginColored();
    unsigned c = PackColor(color);
    for (int i = 0; i < count; i++) s.verts.Add(PC{points[i], c});
    DrawArrays(cTopology::LineStrip, s.verts.GetPtr(), count);
}

void cRender::DrawCubeWire(const cVec3& center, float size, const cColor& color) {
    Scratch& s = BeginColored();
    cVec3 h(size * 0.5f, size * 0.5f, size * 0.5f), corners[8];
    BoxCorners(center - h, center + h, corners);
    BoxWire(s, corners, PackColor(color));
    FlushLines(s);
}

void cRender::DrawCubeSolid(const cVec3& center, float size, const cColor& color) {
    Scratch& s = BeginColored();
    cVec3 h(size * 0.5f, size * 0.5f, size * 0.5f), corners[8];
    BoxCorners(center - h, center + h, corners);
    BoxSolid(s, corners, PackColor(color));
    FlushTriangles(s);
}

void cRender::DrawBounds(const cBounds& bounds, const cColor& color) {
    if (bounds.IsEmpty()) return;
    Scratch& s = BeginColored();
    cVec3 corners[8];
    BoxCorners(bounds.min, bounds.max, corners);
    BoxWire(s, corners, PackColor(color));
    FlushLines(s);
}

void cRender::DrawCrossHair(const cVec3& p, float size, const cColor& color) {
    Scratch& s = BeginColored();
    unsigned c = PackColor(color);
    float h = size * 0.5f;
    Line(s, p - cVec3(h, 0, 0), p + cVec3(h, 0, 0), c);
    Line(s, p - cVec3(0, h, 0), p + cVec3(0, h, 0), c);
    Line(s, p - cVec3(0, 0, h), p + cVec3(0, 0, h), c);
    FlushLines(s);
}

void cRender::DrawCircle(const cVec3& center, const cVec3& normal, float radius, const cColor& color, int segments) {
    Scratch& s = BeginColored();
    cVec3 u, v;
    Basis(normal, &u, &v);
    Ring(s, center, u, v, radius, PackColor(color), ClampSegments(segments));
    FlushLines(s);
}

void cRender::DrawFacingCircle(const cVec3& center, float radius, const cColor& color, int segments) {
    Scratch& s = BeginColored();
    cVec3 right, up;
    ViewerAxes(&right, &up);
    Ring(s, center, right, up, radius, PackColor(color), ClampSegments(segments));
    FlushLines(s);
}

void cRender::DrawSphereWire(const cVec3& center, float radius, const cColor& color, int segments) {
    Scratch& s = BeginColored();
    unsigned c = PackColor(color);
    segments = ClampSegments(segments);
    Ring(s, center, cVec3(1, 0, 0), cVec3(0, 1, 0), radius, c, segments);
    Ring(s, center, cVec3(0, 1, 0), cVec3(0, 0, 1), radius, c, segments);
    Ring(s, center, cVec3(0, 0, 1), cVec3(1, 0, 0), radius, c, segments);
    FlushLines(s);
}

void cRender::DrawConeSolid(const cVec3& apex, const cVec3& baseCenter, float radius, const cColor& color,
                            int segments) {
    Scratch& s = BeginColored();
    unsigned c = PackColor(color);
    segments = ClampSegments(segments);
    cVec3 u, v;
    Basis(apex - baseCenter, &u, &v);
    s.verts.Add(PC{apex, c});
    s.verts.Add(PC{baseCenter, c});
    for (int i = 0; i < segments; i++) {
        float a = TwoPi * (float)i / (float)segments;
        s.verts.Add(PC{OnCircle(baseCenter, u, v, radius, a), c});
    }
    for (int i = 0; i < segments; i++) {
        int a = 2 + i, b = 2 + (i + 1) % segments;
        Tri(s, 0, a, b);  // side
        Tri(s, 1, b, a);  // base
    }
    FlushTriangles(s);
}

void cRender::DrawConeWire(const cVec3& apex, const cVec3& baseCenter, float radius, const cColor& color,
                           int segments) {
    Scratch& s = BeginColored();
    unsigned c = PackColor(color);
    segments = ClampSegments(segments);
    cVec3 u, v;
    Basis(apex - baseCenter, &u, &v);
    Ring(s, baseCenter, u, v, radius, c, segments);
    for (int i = 0; i < 4; i++) {
        float a = TwoPi * (float)i / 4.0f;
        Line(s, apex, OnCircle(baseCenter, u, v, radius, a), c);
    }
    FlushLines(s);
}

void cRender::DrawSector(const cVec3& center, const cVec3& normal, const cVec3& from, float angle, float radius,
                         const cColor& color, int segments) {
    Scratch& s = BeginColored();
    unsigned c = PackColor(color);
    segments = ClampSegments(segments);
    cVec3 n = normal, u = from;
    n.Normalize();
    u = u - n * (u.x * n.x + u.y * n.y + u.z * n.z);  // into the plane
    if (u.Normalize() == 0) Basis(n, &u, &n);
    cVec3 v = n.Cross(u);
    s.verts.Add(PC{center, c});
    float total = angle * TwoPi / 360.0f;
    for (int i = 0; i <= segments; i++) {
        float a = total * (float)i / (float)segments;
        s.verts.Add(PC{OnCircle(center, u, v, radius, a), c});
        if (i > 0) Tri(s, 0, i, i + 1);
    }
    FlushTriangles(s);
}

void cRender::DrawFrustumWire(const cMat4& viewProjection, const cColor& color) {
    cVec3 corners[8];
    if (!FrustumCorners(viewProjection, corners)) return;
    Scratch& s = BeginColored();
    BoxWire(s, corners, PackColor(color));
    FlushLines(s);
}

// The frustum, lines from the near corners back to the eye side, and a
// triangle above the near plane that shows which way is up.
void cRender::DrawCamera(const cMat4& viewProjection, const cColor& color) {
    cVec3 k[8];
    if (!FrustumCorners(viewProjection, k)) return;
    Scratch& s = BeginColored();
    unsigned c = PackColor(color);
    BoxWire(s, k, c);
    cVec3 topMid = (k[2] + k[3]) * 0.5f, up = (k[2] - k[0]) * 0.3f;
    cVec3 half = (k[3] - k[2]) * 0.2f;
    Line(s, topMid - half, topMid + up, c);
    Line(s, topMid + up, topMid + half, c);
    Line(s, topMid + half, topMid - half, c);
    FlushLines(s);
}

void cRender::DrawBillboardQuadsSolid(const cVec3* centers, int count, float size, const cColor& color) {
    if (!centers || count <= 0) return;
    Scratch& s = BeginColored();
    unsigned c = PackColor(color);
    cVec3 right, up;
    ViewerAxes(&right, &up);
    right = right * (size * 0.5f);
    up = up * (size * 0.5f);
    for (int i = 0; i < count; i++) {
        int base = s.verts.Count();
        s.verts.Add(PC{centers[i] - right + up, c});
        s.verts.Add(PC{centers[i] - right - up, c});
        s.verts.Add(PC{centers[i] + right - up, c});
        s.verts.Add(PC{centers[i] + right + up, c});
        Tri(s, base, base + 1, base + 2);
        Tri(s, base, base + 2, base + 3);
    }
    FlushTriangles(s);
}

// Lines on the XZ plane of args.Transform; the shader fades them with distance.
void cRender::DrawGrid(const GridArgs& in) {
    static const char* const names[] = {"c_WorldViewProjectionMatrix"};
    static cRender_ShaderSlot slot;
    GridArgs a = in;
    a.Validate();
    Scratch& s = Begin();
    const unsigned minor = PackColor(cColor(0.5f, 0.5f, 0.5f, 0.5f)), major = PackColor(cColor(0.75f, 0.75f, 0.75f, 1));
    const unsigned xAxis = PackColor(cColor(1, 0.2f, 0.2f)), zAxis = PackColor(cColor(0.2f, 0.2f, 1));
    float lines = a.Size / a.Step;  // each side of the axis; at most 2048
    int half = lines >= 2048 ? 2048 : (int)lines;
    float extent = half * a.Step;
    for (int i = -half; i <= half; i++) {
        float d = i * a.Step;
        bool isMajor = i % a.MajorEvery == 0;
        if (i == 0 && a.DrawAxes) {
            Line(s, cVec3(-extent, 0, 0), cVec3(extent, 0, 0), xAxis);
            Line(s, cVec3(0, 0, -extent), cVec3(0, 0, extent), zAxis);
            continue;
        }
        if (isMajor ? !a.DrawMajor : !a.DrawMinor) continue;
        unsigned c = isMajor ? major : minor;
        Line(s, cVec3(-extent, 0, d), cVec3(extent, 0, d), c);
        Line(s, cVec3(d, 0, -extent), cVec3(d, 0, extent), c);
    }
    cMat4 viewProjection = GetViewer() ? GetViewer()->GetViewProjectionMatrix() : cMat4::Identity;
    slot.Use("Grid", PC::FormatID, nullptr, names, 1);
    SetShaderConst(slot.consts[0], a.Transform * GetWorldMatrix() * viewProjection);
    if (a.Fill) {
        unsigned fill = PackColor(cColor(0.5f, 0.5f, 0.5f, 0.15f));
        s.verts.Add(PC{cVec3(-extent, 0, -extent), fill});
        s.verts.Add(PC{cVec3(-extent, 0, extent), fill});
        s.verts.Add(PC{cVec3(extent, 0, extent), fill});
        s.verts.Add(PC{cVec3(extent, 0, -extent), fill});
        Tri(s, 0, 1, 2);
        Tri(s, 0, 2, 3);
        FlushTriangles(s);
    }
    FlushLines(s);
}

// ---- Drawn with the caller's shader ----

void cRender::DrawCubesCurShader(const cVec3* centers, int count, float size) {
    if (!centers || count <= 0) return;
    Scratch& s = Begin();
    cVec3 h(size * 0.5f, size * 0.5f, size * 0.5f), corners[8];
    for (int i = 0; i < count; i++) {
        BoxCorners(centers[i] - h, centers[i] + h, corners);
        BoxSolid(s, corners, 0xffffffffu);
    }
    FlushTriangles(s);
}

void cRender::DrawFrustumWireCurShader(const cMat4& viewProjection) {
    cVec3 corners[8];
    if (!FrustumCorners(viewProjection, corners)) return;
    Scratch& s = Begin();
    BoxWire(s, corners, 0xffffffffu);
    FlushLines(s);
}

void cRender::DrawFrustumSolidCurShader(const cMat4& viewProjection) {
    cVec3 corners[8];
    if (!FrustumCorners(viewProjection, corners)) return;
    Scratch& s = Begin();
    BoxSolid(s, corners, 0xffffffffu);
    FlushTriangles(s);
}

}  // namespace zozud
