// Immediate 2D helpers: lines, rectangle outlines, solid, dithered and
// gradient fills, circles and dotted outlines. Each builds its vertices in a
// reused static list, forces the neutral pipeline when it fills and picks its
// named shader.
//
// Lines and flat or gradient fills are batched like text: the vertices of
// consecutive calls with the same shader and primitive wait in one list and
// go to the device as one indexed draw as soon as anything else reaches the
// device (see cRender_DevicePtr). Nothing can change the device between two
// calls of a batch, so the one draw looks exactly like the separate ones,
// and a software rasteriser pays per draw.
#include "zozud/render/Render.h"

#include <cmath>

#include "zozud/render/RenderImmediate.h"
#include "zozud/render/RenderState.h"

namespace zozud {

namespace {

using PC = cVertex::PositionColored;
using PO = cVertex::PositionOnly;

PC Vert(float x, float y, unsigned color) { return PC{cVec3(x, y, 0), color}; }

int LinesShader() {
    static cRender_ShaderSlot slot;
    return slot.Use("LinesPointsUI", PC::FormatID, nullptr);
}

int SolidShader() {
    static cRender_ShaderSlot slot;
    return slot.Use("SolidUI", PC::FormatID, nullptr);
}

// Lower right corner of outlines drawn one pixel short, decided once.
bool RadeonVendor() {
    static int radeon = -1;
    if (radeon < 0 && cRender::GetInstance())
        radeon = cRender::GetVendor().IndexOf("RADEON", 0, -1, false) >= 0 ? 1 : 0;
    return radeon == 1;
}

// ---- Waiting shapes ----

// The most vertices that wait for one draw: bounds the batch's memory when
// nothing else reaches the device for a long time.
const int MaxWaitingVerts = 65536;

enum ShapeKind { Fills, Lines };

struct ShapeBatch {
    cList<PC>  verts;
    cList<int> indices;
    int        kind = Fills;
    int        splitVerts = 0, splitIndices = 0;  // the runs before the last (see cRender_DrawRuns)
    int        shader = -1, blend = -1;            // set up by the first call
};

// Rectangles of the text that started while the shapes waited; more than
// MaxTextRects and any shape is taken to touch them.
const int MaxTextRects = 256;
struct TextRects {
    cRect rects[MaxTextRects];
    int   count = 0;
} g_TextRects;

ShapeBatch& Shapes() {
    static ShapeBatch batch;
    return batch;
}

// Draws the vertices (and indices into them; null for 0, 1, 2...) of one
// call: appended to the waiting shapes when they are of the same kind,
// otherwise after whatever waits is drawn and the device set up for the kind.
void Submit(ShapeKind kind, const PC* v, int nv, const int* idx, int ni) {
    ShapeBatch& b = Shapes();
    if (nv <= 0 || ni <= 0) return;
    bool join = cRender_ShapesWaiting && b.kind == kind && b.verts.Count() + nv <= MaxWaitingVerts;
    if (join && cRender_TextWaiting) {
        // Drawn before the text that waits: only where none of it lies, and
        // with the blend the shapes wait with.
        cRect r = cRect::Empty;
        for (int i = 0; i < nv; i++) r.AddPoint(cVec2(v[i].Pos.x, v[i].Pos.y));
        if (kind == Lines) r.x1 += 1, r.y1 += 1;
        join = cRender::GetBlendState() == b.blend && cRender::GetWorldMatrix() == cMat4::Identity &&
               !cRender_TouchesWaitingText(r);
    }
    if (!join) {
        cRender_DrawWaiting();
        if (kind == Fills) {
            cRender_NeutralPipeline();
            b.shader = SolidShader();
        } else {
            b.shader = LinesShader();
        }
        if (!cRender::GetInstance()) return;
        b.kind = kind;
        b.blend = cRender::GetBlendState();
    }
    int base = b.verts.Count(), at = b.indices.Count();
    if (!b.verts.AddRange(v, nv) || !b.indices.SetCount(at + ni)) {
        b.verts.SetCount(base);
        b.indices.SetCount(at);
        return;  // no room: this call draws nothing
    }
    int* out = b.indices.GetPtr() + at;
    for (int i = 0; i < ni; i++) out[i] = base + (idx ? idx[i] : i);
    cRender_ShapesWaiting = true;
    cRender_WaitingBounds.Add(v, (int)sizeof(PC), nv, kind == Lines);
}

// Reused vertex and index lists of one helper.
template <class V>
struct Batch {
    cList<V>   verts;
    cList<int> indices;

    void Begin(int maxVerts, int maxIndices) {
        verts.SetCount(maxVerts);
        indices.SetCount(maxIndices);
    }
    void End(int nVerts, int nIndices) {
        verts.SetCount(nVerts);
        indices.SetCount(nIndices);
    }
    void Draw() { Submit(Fills, verts.GetPtr(), verts.Count(), indices.GetPtr(), indices.Count()); }
};

// Appends the quads of the non-empty rectangles; colour per corner
// (x0 y1, x0 y0, x1 y0, x1 y1 order of Vert calls below).
int BuildQuads(Batch<PC>& b, const cRect* rects, int count, const unsigned* corner) {
    b.Begin(count * 4, count * 6);
    PC* v = b.verts.GetPtr();
    int* idx = b.indices.GetPtr();
    int n = 0;
    for (int i = 0; i < count; i++) {
        const cRect& r = rects[i];
        if (r.IsEmpty()) continue;
        v[n * 4 + 0] = Vert(r.x0, r.y1, corner[0]);
        v[n * 4 + 1] = Vert(r.x0, r.y0, corner[1]);
        v[n * 4 + 2] = Vert(r.x1, r.y0, corner[2]);
        v[n * 4 + 3] = Vert(r.x1, r.y1, corner[3]);
        cRender_QuadIndices(idx + n * 6, n * 4);
        n++;
    }
    b.End(n * 4, n * 6);
    return n;
}

}  // namespace

bool cRender_ShapesWaiting = false;

bool cRender_KeepShapes = false;

// Rectangles that share a pixel, or might (a pixel to spare on every side);
// not finite coordinates touch everything.
bool cRender_TouchesWaitingText(const cRect& r) {
    const TextRects& t = g_TextRects;
    if (t.count > MaxTextRects) return true;
    if (!std::isfinite(r.x0) || !std::isfinite(r.y0) || !std::isfinite(r.x1) || !std::isfinite(r.y1)) return true;
    for (int i = 0; i < t.count; i++) {
        const cRect& q = t.rects[i];
        if (r.x0 <= q.x1 + 1 && q.x0 <= r.x1 + 1 && r.y0 <= q.y1 + 1 && q.y0 <= r.y1 + 1) return true;
    }
    return false;
}

void cRender_AddWaitingTextRect(const cRect& r) {
    TextRects& t = g_TextRects;
    if (!std::isfinite(r.x0) || !std::isfinite(r.y0) || !std::isfinite(r.x1) || !std::isfinite(r.y1))
        t.count = MaxTextRects;  // the next rectangle overflows the list: touches everything
    if (t.count < MaxTextRects) t.rects[t.count] = r;
    if (t.count <= MaxTextRects) t.count++;
}

void cRender_DrawWaitingShapes(bool restate) {
    ShapeBatch& b = Shapes();
    cRender_ShapesWaiting = false;
    g_TextRects.count = 0;
    cRender::Stub* device = cRender::s.Instance.Raw();
    if (device && restate) {  // text was set up after the shapes
        device->SetShader(b.shader);
        device->SetBlendState(b.blend);
    }
    cRender_DrawRuns(b.kind == Lines ? cTopology::Lines : cTopology::Triangles, b.verts.GetPtr(), (int)sizeof(PC),
                     b.verts.Count(), b.indices.GetPtr(), b.indices.Count(), b.splitVerts, b.splitIndices);
    b.verts.Clear();
    b.indices.Clear();
    b.splitVerts = b.splitIndices = 0;
    cRender_WaitingBounds.Reset();
}

void cRender_SplitWaitingShapes() {
    ShapeBatch& b = Shapes();
    b.splitVerts = b.verts.Count();
    b.splitIndices = b.indices.Count();
}

// ---- Shared pieces ----

int cRender_ShaderSlot::Use(const char* name, int formatID, const char* defines, const char* const* constNames,
                            int constCount) {
    if (id < 0 || generation != cRender_DeviceGeneration()) {
        generation = cRender_DeviceGeneration();
        id = cRender::GetShaderID(name, formatID, defines);
        for (int i = 0; i < constCount && i < MaxConsts; i++) consts[i] = -1;
    }
    if (id >= 0) {
        for (int i = 0; i < constCount && i < MaxConsts; i++) {
            if (consts[i] >= 0) continue;
            bool sampler = constNames[i][0] == 's' && constNames[i][1] == '_';
            consts[i] = sampler ? cRender::GetSamplerID(id, constNames[i]) : cRender::GetShaderConstID(id, constNames[i]);
        }
    }
    cRender::SetShader(id);
    return id;
}

int cRender_AlphaBlendState() {
    static int id = -1, generation = -1;
    if (id < 0 || generation != cRender_DeviceGeneration()) {
        generation = cRender_DeviceGeneration();
        id = cRender::GetBlendStateID(cBlendFactor::SrcAlpha, cBlendFactor::InvSrcAlpha, cBlendMode::Add, 15);
    }
    return id;
}

// ---- Lines and outlines ----

void cRender::DrawLine(int x0, int y0, int x1, int y1, const cColor& color) {
    DrawLine(cVec2((float)x0, (float)y0), cVec2((float)x1, (float)y1), color);
}

void cRender::DrawLine(float x0, float y0, float x1, float y1, const cColor& color) {
    DrawLine(cVec2(x0, y0), cVec2(x1, y1), color);
}

void cRender::DrawLine(const cVec2& a, const cVec2& b, const cColor& color) {
    unsigned c = PackColor(color);
    PC v[2] = {Vert(a.x, a.y, c), Vert(b.x, b.y, c)};
    Submit(Lines, v, 2, nullptr, 2);
}

// Four lines that cover the pixels x0..x1-1, y0..y1-1; some devices draw the
// last pixel of the right edge themselves, and get it one shorter.
void cRender::DrawRectangle(const cRect& r, const cColor& color) {
    unsigned c = PackColor(color);
    float l = r.x0, t = r.y0, rr = r.x1, b = r.y1;
    float e = (GetType() == 1 || RadeonVendor()) ? b - 1 : b;
    PC v[8] = {
        Vert(l, t, c), Vert(l, b - 1, c),
        Vert(l + 1, t, c), Vert(rr - 1, t, c),
        Vert(rr - 1, t, c), Vert(rr - 1, e, c),
        Vert(l, b - 1, c), Vert(rr, b - 1, c),
    };
    Submit(Lines, v, 8, nullptr, 8);
}

void cRender::DrawRectangle(int x, int y, int w, int h, const cColor& color) {
    DrawRectangle(cRect((float)x, (float)y, (float)(x + w), (float)(y + h)), color);
}

void cRender::DrawRectangle(float x, float y, float w, float h, const cColor& color) {
    DrawRectangle(cRect(x, y, x + w, y + h), color);
}

void cRender::DrawRectanglesDot(const cRect* rects, int count, const cColor& color) {
    static cList<PC> verts;
    verts.Clear();
    unsigned c = PackColor(color);
    // One-pixel dashes every other pixel, at most MaxDashes along an edge.
    const int MaxDashes = 16384;
    auto edge = [&](float x0, float y0, float x1, float y1) {
        float len = std::fabs(x1 - x0) + std::fabs(y1 - y0);
        if (!(len >= 0)) return;  // NaN
        int dashes = len >= 2.0f * MaxDashes ? MaxDashes : (int)std::ceil(len * 0.5f);
        float dx = x1 > x0 ? 1.f : x1 < x0 ? -1.f : 0.f, dy = y1 > y0 ? 1.f : y1 < y0 ? -1.f : 0.f;
        for (int i = 0; i < dashes; i++) {
            float d = 2.0f * (float)i;
            verts.Add(Vert(x0 + dx * d, y0 + dy * d, c));
            verts.Add(Vert(x0 + dx * (d + 1), y0 + dy * (d + 1), c));
        }
    };
    for (int i = 0; i < count; i++) {
        const cRect& r = rects[i];
        if (r.IsEmpty()) continue;
        edge(r.x0, r.y0, r.x1 - 1, r.y0);
        edge(r.x1 - 1, r.y0, r.x1 - 1, r.y1 - 1);
        edge(r.x1 - 1, r.y1 - 1, r.x0, r.y1 - 1);
        edge(r.x0, r.y1 - 1, r.x0, r.y0);
    }
    if (verts.IsEmpty()) return;
    Submit(Lines, verts.GetPtr(), verts.Count(), nullptr, verts.Count());
}

void cRender::DrawNoPreview(const cRect& r, const cColor& color) {
    if (r.IsEmpty()) return;
    unsigned c = PackColor(color);
    float l = r.x0, t = r.y0, rr = r.x1 - 1, b = r.y1 - 1;
    PC v[12] = {
        Vert(l, t, c), Vert(rr, t, c),  Vert(rr, t, c), Vert(rr, b, c),
        Vert(rr, b, c), Vert(l, b, c),  Vert(l, b, c), Vert(l, t, c),
        Vert(l, t, c), Vert(rr, b, c),  Vert(l, b, c), Vert(rr, t, c),
    };
    Submit(Lines, v, 12, nullptr, 12);
}

// ---- Solid, dithered and gradient fills ----

void cRender::FillRectanglesSolid(const cRect* rects, int count, const cColor& color, int shaderID) {
    static Batch<PC> batch;
    unsigned c = PackColor(color);
    unsigned corners[4] = {c, c, c, c};
    if (!rects || count <= 0 || BuildQuads(batch, rects, count, corners) == 0) return;
    if (shaderID == -1) return batch.Draw();
    cRender_NeutralPipeline();
    SetShader(shaderID);
    DrawIndexed(cTopology::Triangles, batch.verts.GetPtr(), batch.verts.Count(), batch.indices.GetPtr(),
                batch.indices.Count(), 4);
}

void cRender::FillRectangleSolid(int x, int y, int w, int h, const cColor& color) {
    FillRectangleSolid(cRect((float)x, (float)y, (float)(x + w), (float)(y + h)), color);
}

void cRender::FillRectangleSolid(float x, float y, float w, float h, const cColor& color) {
    FillRectangleSolid(cRect(x, y, x + w, y + h), color);
}

void cRender::FillRectangleDither(const cRect& r, const cVec2& origin, const cColor& c0, const cColor& c1) {
    static const char* const names[] = {"c_Orig", "c_Color0", "c_Color1"};
    static cRender_ShaderSlot slot;
    static int blend = -1;
    if (r.IsEmpty()) return;
    if (blend < 0) blend = GetBlendStateID(cBlendFactor::SrcAlpha, cBlendFactor::InvSrcAlpha, cBlendMode::Add, 15);
    SetBlendState(blend);
    cRender_NeutralPipeline();
    slot.Use("DitherUI", PO::FormatID, nullptr, names, 3);
    SetShaderConst(slot.consts[0], cVec2(std::floor(origin.x + 0.5f), std::floor(origin.y + 0.5f)));
    SetShaderConst(slot.consts[1], c0);
    SetShaderConst(slot.consts[2], c1);
    PO v[4] = {{cVec3(r.x0, r.y1, 0)}, {cVec3(r.x0, r.y0, 0)}, {cVec3(r.x1, r.y0, 0)}, {cVec3(r.x1, r.y1, 0)}};
    int idx[6];
    cRender_QuadIndices(idx, 0);
    DrawIndexed(cTopology::Triangles, v, 4, idx, 6, 4);
}

void cRender::FillRectanglesLinearGradient(const cRect* rects, int count, const cColor& c0, const cColor& c1,
                                           LinearGradient::Enum direction) {
    static Batch<PC> batch;
    unsigned a = PackColor(c0), b = PackColor(c1);
    // Corners in the order x0 y1, x0 y0, x1 y0, x1 y1.
    unsigned horizontal[4] = {a, a, b, b}, vertical[4] = {b, a, a, b};
    const unsigned* corners = direction == LinearGradient::Horizontal ? horizontal : vertical;
    if (!rects || count <= 0 || BuildQuads(batch, rects, count, corners) == 0) return;
    batch.Draw();
}

void cRender::FillRectangleLinearGradient(const cRect& r, const cColor& c0, const cColor& c1,
                                          LinearGradient::Enum direction) {
    FillRectanglesLinearGradient(&r, 1, c0, c1, direction);
}

void cRender::FillCircleSolid(const cVec2& center, float radius, const cColor& color, int segments) {
    static Batch<PC> batch;
    if (!(radius > 0)) return;
    if (segments < 3) segments = 3;
    if (segments > 1024) segments = 1024;
    unsigned c = PackColor(color);
    batch.Begin(segments + 1, segments * 3);
    PC* v = batch.verts.GetPtr();
    int* idx = batch.indices.GetPtr();
    v[0] = Vert(center.x, center.y, c);
    for (int i = 0; i < segments; i++) {
        float a = 6.2831853f * (float)i / (float)segments;
        v[i + 1] = Vert(center.x + std::cos(a) * radius, center.y + std::sin(a) * radius, c);
        idx[i * 3] = 0;
        idx[i * 3 + 1] = i + 1;
        idx[i * 3 + 2] = (i + 1) % segments + 1;
    }
    batch.Draw();
}

}  // namespace zozud
