// Immediate helpers drawn with shader-side colour: radial gradients (a
// distance to a segment shaded from a centre to a bound colour), icons and
// textured rectangles. Each draws one quad over its rectangle.
#include "zozud/render/Render.h"

#include <cmath>

#include "zozud/render/RenderImmediate.h"

namespace zozud {

namespace {

using PO = cVertex::PositionOnly;
using PCT = cVertex::PositionColoredTextured;

void DrawQuadPO(const cRect& r) {
    PO v[4] = {{cVec3(r.x0, r.y1, 0)}, {cVec3(r.x0, r.y0, 0)}, {cVec3(r.x1, r.y0, 0)}, {cVec3(r.x1, r.y1, 0)}};
    int idx[6];
    cRender_QuadIndices(idx, 0);
    cRender::DrawIndexed(cTopology::Triangles, v, 4, idx, 6, 4);
}

// Texture coordinates follow the corners: (x0, y0) takes (u0, v0).
void DrawQuadPCT(const cRect& r, const cRect& uv, unsigned color) {
    PCT v[4] = {
        {cVec3(r.x0, r.y1, 0), color, cVec2(uv.x0, uv.y1)},
        {cVec3(r.x0, r.y0, 0), color, cVec2(uv.x0, uv.y0)},
        {cVec3(r.x1, r.y0, 0), color, cVec2(uv.x1, uv.y0)},
        {cVec3(r.x1, r.y1, 0), color, cVec2(uv.x1, uv.y1)},
    };
    int idx[6];
    cRender_QuadIndices(idx, 0);
    cRender::DrawIndexed(cTopology::Triangles, v, 4, idx, 6, 4);
}

// ---- Radial gradients ----

enum RadialConst {
    SegFrom, SegTo, CenterColor, BoundColor, SegRadius, GradRadius, Power, CaveFrom, CaveTo, FlatFrom, FlatTo,
    HalfFrom, HalfTo, HalfFlat, RadialConstCount
};
const char* const RadialNames[RadialConstCount] = {
    "c_SegFrom", "c_SegTo", "c_CenterColor", "c_BoundColor", "c_SegRadius", "c_GradRadius", "c_Power",
    "c_CaveFrom", "c_CaveTo", "c_FlatFrom", "c_FlatTo", "c_HalfFrom", "c_HalfTo", "c_HalfFlat",
};

// The radial shader, plain or horizontal, set up for a fill.
const int* UseRadial(bool horizontal) {
    static cRender_ShaderSlot slots[2];
    cRender_ShaderSlot& slot = slots[horizontal ? 1 : 0];
    cRender::SetBlendState(cRender_AlphaBlendState());
    cRender_NeutralPipeline();
    slot.Use("RadialGradientUI", PO::FormatID, horizontal ? "#define HORIZONTAL" : nullptr, RadialNames,
             RadialConstCount);
    return slot.consts;
}

void SetGradient(const int* k, const cVec2& from, const cVec2& to, float segRadius, float gradRadius,
                 const cColor& center, const cColor& bound, float power) {
    cRender::SetShaderConst(k[SegFrom], from);
    cRender::SetShaderConst(k[SegTo], to);
    cRender::SetShaderConst(k[CenterColor], center);
    cRender::SetShaderConst(k[BoundColor], bound);
    cRender::SetShaderConst(k[SegRadius], segRadius);
    cRender::SetShaderConst(k[GradRadius], gradRadius);
    cRender::SetShaderConst(k[Power], power);
    // No cave line: one left by a cave corner drawn earlier would cut this fill in half.
    cRender::SetShaderConst(k[CaveFrom], cVec2(0, 0));
    cRender::SetShaderConst(k[CaveTo], cVec2(0, 0));
}

// ---- Textured rectangles ----

enum TextureKind { Kind1D, Kind2D, Kind3D, KindCube };

TextureKind KindOf(int textureID) {
    int depth = cRender::GetTextureDepth(textureID);
    if (depth == 0) return KindCube;
    if (depth > 1) return Kind3D;
    return cRender::GetTextureHeight(textureID) == 1 ? Kind1D : Kind2D;
}

// "#define SRC_2D\n#define OVERRIDE_ALPHA" and the like, built once per variant.
const char* TexturedDefines(int variant) {
    static cStr defines[16];
    static const char* const kinds[] = {"#define SRC_1D", "#define SRC_2D", "#define SRC_3D", "#define SRC_CUBE"};
    cStr& d = defines[variant];
    if (d.IsEmpty()) {
        d = kinds[variant >> 2];
        if (variant & 1) d += "\n#define OVERRIDE_ALPHA";
        if (variant & 2) d += "\n#define ALPHA_CHANNEL_AS_COLOR";
    }
    return d;
}

}  // namespace

void cRender::FillSegmentRadialGradient(const cVec2& from, const cVec2& to, float segRadius, float gradRadius,
                                        const cColor& center, const cColor& bound, float power) {
    float reach = std::fabs(segRadius) + std::fabs(gradRadius);
    cRect r(std::fmin(from.x, to.x) - reach, std::fmin(from.y, to.y) - reach, std::fmax(from.x, to.x) + reach,
            std::fmax(from.y, to.y) + reach);
    if (r.IsEmpty()) return;  // NaN
    const int* k = UseRadial(false);
    SetGradient(k, from, to, segRadius, gradRadius, center, bound, power);
    DrawQuadPO(r);
}

void cRender::FillCircleRadialGradient(const cVec2& center, float radius, const cColor& centerColor,
                                       const cColor& boundColor, float power) {
    FillSegmentRadialGradient(center, center, 0, radius, centerColor, boundColor, power);
}

// A tube: the centre colour along the middle line, the bound colour at the edges.
void cRender::FillRectangleRadialGradient(const cRect& r, bool horizontal, const cColor& centerColor,
                                          const cColor& boundColor, float power) {
    if (r.IsEmpty()) return;
    cVec2 c = r.GetCenter();
    cVec2 from = horizontal ? cVec2(r.x0, c.y) : cVec2(c.x, r.y0);
    cVec2 to = horizontal ? cVec2(r.x1, c.y) : cVec2(c.x, r.y1);
    float grad = horizontal ? r.GetHeight() * 0.5f : r.GetWidth() * 0.5f;
    const int* k = UseRadial(horizontal);
    SetGradient(k, from, to, 0, grad, centerColor, boundColor, power);
    DrawQuadPO(r);
}

void cRender::DrawCaveCaveCorner(const cRect& r, const CaveCornerArgs& a) {
    if (r.IsEmpty()) return;
    const int* k = UseRadial(false);
    SetGradient(k, a.CaveFrom, a.CaveTo, 0, a.GradRadius, a.CenterColor, a.BoundColor, a.Power);
    SetShaderConst(k[CaveFrom], a.CaveFrom);
    SetShaderConst(k[CaveTo], a.CaveTo);
    SetShaderConst(k[FlatFrom], a.FlatFrom);
    SetShaderConst(k[FlatTo], a.FlatTo);
    SetShaderConst(k[HalfFrom], a.HalfFrom);
    SetShaderConst(k[HalfTo], a.HalfTo);
    SetShaderConst(k[HalfFlat], a.HalfFlat);
    DrawQuadPO(r);
}

void cRender::DrawIcon(const cRect& r, int textureID, int samplerStateID, IconState::Enum state, float alpha,
                       int index, int count) {
    static const char* const names[] = {"s_Decal", "c_Disabled", "c_Hot", "c_Alpha"};
    static cRender_ShaderSlot slot;
    if (r.IsEmpty()) return;
    if (count < 1) count = 1;
    SetBlendState(cRender_AlphaBlendState());
    cRender_NeutralPipeline();
    slot.Use("IconUI", PCT::FormatID, nullptr, names, 4);
    SetTexture(slot.consts[0], textureID, samplerStateID);
    SetShaderConst(slot.consts[1], state == IconState::Disabled ? 1.0f : 0.0f);
    SetShaderConst(slot.consts[2], state == IconState::Hot ? 1.0f : 0.0f);
    SetShaderConst(slot.consts[3], alpha);
    float u0 = (float)index / (float)count, u1 = (float)(index + 1) / (float)count;
    DrawQuadPCT(r, cRect(u0, 0, u1, 1), 0xffffffffu);
}

void cRender::FillRectangleTextured(const cRect& r, int textureID, const FillRectangleTexturedArgs& args) {
    static const char* const names[] = {"s_Src", "c_Alpha", "c_FaceIndex"};
    static cRender_ShaderSlot slots[16];
    if (r.IsEmpty()) return;
    int variant = KindOf(textureID) << 2 | (args.OverrideAlpha ? 1 : 0) | (args.AlphaChannelAsColor ? 2 : 0);
    cRender_ShaderSlot& slot = slots[variant];
    SetBlendState(cRender_AlphaBlendState());
    cRender_NeutralPipeline();
    slot.Use("TexturedUI", PCT::FormatID, TexturedDefines(variant), names, 3);
    SetTexture(slot.consts[0], textureID, args.SamplerStateID);
    SetShaderConst(slot.consts[1], args.Alpha);
    SetShaderConst(slot.consts[2], args.FaceIndex);
    DrawQuadPCT(r, args.TexCoords, PackColor(args.Color));
}

// ---- Drawn with the caller's shader ----

void cRender::FillRectangleTexturedCurShader(const cRect& r, const cRect& texCoords) {
    if (r.IsEmpty()) return;
    DrawQuadPCT(r, texCoords, 0xffffffffu);
}

void cRender::FillRectangleCubeCurShader(const cRect& r, int face) {
    if (r.IsEmpty()) return;
    float z = (float)face;
    PCT v[4] = {
        {cVec3(r.x0, r.y1, z), 0xffffffffu, cVec2(-1, 1)},
        {cVec3(r.x0, r.y0, z), 0xffffffffu, cVec2(-1, -1)},
        {cVec3(r.x1, r.y0, z), 0xffffffffu, cVec2(1, -1)},
        {cVec3(r.x1, r.y1, z), 0xffffffffu, cVec2(1, 1)},
    };
    int idx[6];
    cRender_QuadIndices(idx, 0);
    DrawIndexed(cTopology::Triangles, v, 4, idx, 6, 4);
}

// Quads around each circle with texture coordinates -1..1: the shader cuts the disc.
void cRender::FillCirclesCurShader(const cVec2* centers, const float* radii, int count, const cColor& color) {
    static cList<PCT> verts;
    static cList<int> indices;
    verts.Clear();
    indices.Clear();
    unsigned c = PackColor(color);
    for (int i = 0; i < count && centers && radii; i++) {
        float x = centers[i].x, y = centers[i].y, rad = radii[i];
        if (!(rad > 0)) continue;
        int base = verts.Count();
        verts.Add(PCT{cVec3(x - rad, y + rad, 0), c, cVec2(-1, 1)});
        verts.Add(PCT{cVec3(x - rad, y - rad, 0), c, cVec2(-1, -1)});
        verts.Add(PCT{cVec3(x + rad, y - rad, 0), c, cVec2(1, -1)});
        verts.Add(PCT{cVec3(x + rad, y + rad, 0), c, cVec2(1, 1)});
        int q[6];
        cRender_QuadIndices(q, base);
        indices.AddRange(q, 6);
    }
    if (indices.IsEmpty()) return;
    DrawIndexed(cTopology::Triangles, verts.GetPtr(), verts.Count(), indices.GetPtr(), indices.Count(), 4);
}

void cRender::FillCircleColoredCurShader(const cVec2& center, float radius, const cColor& color) {
    FillCirclesCurShader(&center, &radius, 1, color);
}

}  // namespace zozud
