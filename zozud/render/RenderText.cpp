// The font table and text: loading fonts by name, DrawString (which also
// measures), and EnsurePrintable. DrawString keeps its code units, vertices
// and indices in static lists that only grow, so measuring and steady-state
// drawing allocate nothing.
//
// Text is batched: the glyph quads of consecutive DrawString calls with the
// same glyph texture wait in one list and go to the device as one indexed
// draw as soon as anything else reaches the device (a state change, another
// draw, the end of the frame, a screen shot: see cRender_DevicePtr). Nothing
// can change the device between two calls of a batch, so the one draw looks
// exactly like the separate ones; a software rasteriser pays per draw.
#include "zozud/render/Render.h"

#include <cfloat>
#include <cmath>
#include <cstring>

#include "zozud/core/Log.h"
#include "zozud/io/File.h"
#include "zozud/io/IO.h"
#include "zozud/render/RenderImmediate.h"
#include "zozud/render/RenderState.h"
#include "zozud/render/Viewer.h"

namespace zozud {

namespace {

using PCT = cVertex::PositionColoredTextured;

// The fallback glyph of a character the font lacks: the 32nd in code order.
const int FallbackIndex = 31;

// The most glyph quads that wait for one draw (65,536 vertices): bounds the
// batch's memory when nothing else reaches the device for a long time.
const int MaxBatchQuads = 16384;

// A view of caller text as a cStr without copying it. The union keeps the
// view's destructor from ever running: it owns nothing.
union TextView {
    cStr str;
    TextView(const char* text, int length) : str(cStr::ConstantText{}, text, length) {}
    ~TextView() {}
};

// UTF-8 to UTF-16 into a list that keeps its block between calls.
const cList<unsigned short>& Decode(const char* text) {
    static cList<unsigned short> units;
    TextView view(text, (int)strlen(text));
    view.str.DecodeUTF8(&units);
    return units;
}

// Glyph textures are sampled linearly and clamped; text lands on whole
// pixels, so each texel still meets one pixel.
int GlyphSampler() {
    static int sampler = -1, generation = -1;
    if (sampler < 0 || generation != cRender_DeviceGeneration()) {
        generation = cRender_DeviceGeneration();
        sampler = cRender::GetSamplerStateID(cFilter::Linear, cAddressMode::Clamp, cAddressMode::Clamp,
                                             cAddressMode::Clamp);
    }
    return sampler;
}

// The waiting text: quads of one glyph texture, set up on the device.
struct TextBatch {
    cList<PCT> verts;
    cList<int> indices;
    int        quads = 0;
    int        split = 0;  // quads of the runs before the last (see cRender_DrawRuns)
    int        texture = -1;
    int        shader = -1, blend = -1;  // set up by the first call
};

// The rectangle of a call's glyph quads.
cRect TextBounds(const PCT* v, int quads) {
    cRect r = cRect::Empty;
    for (int i = 0; i < quads * 4; i++) r.AddPoint(cVec2(v[i].Pos.x, v[i].Pos.y));
    return r;
}

TextBatch& Batch() {
    static TextBatch batch;
    return batch;
}

int GlyphIndex(const cFont& font, unsigned code) {
    int i = font.Lookup(code);
    if (i < 0 && font.Glyphs.Count() > FallbackIndex) i = FallbackIndex;
    return i;
}

}  // namespace

bool cRender_TextWaiting = false;

void cRender_DrawWaitingText(bool restate) {
    TextBatch& b = Batch();
    cRender_TextWaiting = false;
    cRender::Stub* device = cRender::s.Instance.Raw();
    if (device && restate) {  // shapes were drawn just before with their own shader and blend
        device->SetShader(b.shader);
        device->SetBlendState(b.blend);
    }
    cRender_DrawRuns(cTopology::Triangles, b.verts.GetPtr(), (int)sizeof(PCT), b.quads * 4, b.indices.GetPtr(),
                     b.quads * 6, b.split * 4, b.split * 6);
    b.quads = 0;
    b.split = 0;
    cRender_WaitingBounds.Reset();
}

void cRender_SplitWaitingText() { Batch().split = Batch().quads; }

// ---- Font table ----

namespace {

int AddFontEntry(cList<cRender_FontEntry>& fonts, const char* name, const cFont& font, int textureID, const cStr& textureName) {
    cRender_FontEntry entry;
    entry.Name = name ? name : "";
    entry.Font = font;
    entry.TextureID = textureID;
    entry.TextureName = textureName;
    entry.Generation = cRender_DeviceGeneration();
    return fonts.Add(entry);
}

}  // namespace

int cRender::AddFont(const char* name, const cFont& font, int textureID) {
    return AddFontEntry(s.Fonts, name, font, textureID, cStr());
}

cFont* cRender::GetFont(int id) { return id >= 0 && id < s.Fonts.Count() ? &s.Fonts[id].Font : nullptr; }

int cRender::GetFontTextureID(int id) {
    if (id < 0 || id >= s.Fonts.Count()) return -1;
    cRender_FontEntry& e = s.Fonts[id];
    if (e.Generation != s.DeviceGeneration && !e.TextureName.IsEmpty()) {  // loaded on a device since freed
        e.Generation = s.DeviceGeneration;
        e.TextureID = GetTextureID(e.TextureName, GlyphSampler());
    }
    return e.TextureID;
}

int cRender::GetFontID(const char* name) {
    if (!name) return -1;
    for (int i = 0; i < s.Fonts.Count(); i++)
        if (cStr::CompareNoCase(s.Fonts[i].Name, name) == 0) return i;
    cLog::Message(" - Loading font \"%s\"...", name);
    cStr path = cStr::Format("Fonts/%s.cFont", name);
    cFile file;
    cFont font;
    if (!cIO::LoadFile(path, &file) || !font.Read(file)) {
        cLog::Warning("Font format file \"%s\" has wrong size.", path.ToChar());
        return -1;
    }
    cLog::Message("Loaded font format file \"%s\"", path.ToChar());
    cStr textureName = cStr::Format("Fonts/%s.bmp", name);
    return AddFontEntry(s.Fonts, name, font, GetTextureID(textureName, GlyphSampler()), textureName);
}

// ---- Text ----

cRect cRender::DrawString(int fontID, const char* text, float x, float y, int flags, const cColor* colors) {
    const cFont* font = GetFont(fontID);
    if (!font || !text || !*text) return cRect::Zero;

    const cList<unsigned short>& units = Decode(text);
    const bool measure = (flags & TextFlags::MeasureOnly) != 0;
    const bool tight = (flags & TextFlags::Tight) != 0;
    const unsigned color = PackColor(colors ? colors[0] : cColor::Black);
    const int texture = GetFontTextureID(fontID);
    TextBatch& batch = Batch();
    if (!measure) {
        // Another glyph texture, or a full batch, starts a batch of its own.
        if (cRender_TextWaiting && (batch.texture != texture || batch.quads + units.Count() > MaxBatchQuads))
            cRender_DrawWaiting();  // any shapes first: they came before the text
        if (!batch.verts.SetCount((batch.quads + units.Count()) * 4) ||
            !batch.indices.SetCount((batch.quads + units.Count()) * 6))
            return cRect::Zero;  // no room for the quads: nothing drawn
    }
    // This call's quads follow the waiting ones.
    PCT* v = measure ? nullptr : batch.verts.GetPtr() + batch.quads * 4;
    int* idx = measure ? nullptr : batch.indices.GetPtr() + batch.quads * 6;
    const int base = batch.quads * 4;
    int quads = 0;
    const float startX = std::floor(x + 0.5f), startY = std::floor(y + 0.5f);
    float penX = startX, penY = startY;
    float left = FLT_MAX, bottom = FLT_MAX, right = -FLT_MAX, top = -FLT_MAX;
    const float inset = (float)font->TightInset;
    const cFont::Glyph* glyphs = font->Glyphs.GetPtr();
    for (unsigned short code : units) {
        int gi = GlyphIndex(*font, code);
        if (gi < 0) continue;
        const cFont::Glyph& g = glyphs[gi];
        if (code != 32 && (!measure || tight)) {
            const float x0 = penX + g.OffsetX, y1 = penY - g.OffsetY;
            const float x1 = x0 + g.Width, y0 = y1 - g.Height;
            if (tight) {
                left = std::fmin(left, x0 + inset);
                right = std::fmax(right, x1 - inset);
                bottom = std::fmin(bottom, y0 + inset);
                top = std::fmax(top, y1 - inset);
            }
            if (!measure) {
                const float u0 = (float)g.TexRect[0], v0 = (float)g.TexRect[1];
                const float u1 = (float)g.TexRect[2], v1 = (float)g.TexRect[3];
                PCT* q = v + quads * 4;
                q[0] = PCT{cVec3(x0, y0, 0), color, cVec2(u0, v0)};
                q[1] = PCT{cVec3(x0, y1, 0), color, cVec2(u0, v1)};
                q[2] = PCT{cVec3(x1, y1, 0), color, cVec2(u1, v1)};
                q[3] = PCT{cVec3(x1, y0, 0), color, cVec2(u1, v0)};
                cRender_QuadIndices(idx + quads * 6, base + quads * 4);
                quads++;
            }
        }
        penX += (float)g.AdvanceX;
        penY += (float)g.AdvanceY;
    }

    cRect r;
    if (!tight)
        r = cRect(startX, startY - (float)font->LineHeight, penX, startY);
    else if (left <= right && bottom <= top)
        r = cRect(left, bottom, right, top);
    else
        r = cRect(startX, startY, startX, startY);  // nothing inked

    float dx = 0, dy = 0;
    if (flags & TextFlags::CenterX)
        dx = startX - std::floor((r.x0 + r.x1) * 0.5f);
    else if (flags & TextFlags::Right)
        dx = startX - r.x1;
    else if (tight)
        dx = startX - r.x0;
    if (flags & TextFlags::CenterY)
        dy = startY - std::floor((r.y0 + r.y1) * 0.5f);
    else if (flags & TextFlags::Baseline)
        dy = (float)font->BaselineShift;
    else if (flags & TextFlags::Bottom)
        dy = startY - r.y0;
    else if (tight)
        dy = startY - r.y1;
    if (std::fabs(dx) > 0.001f || std::fabs(dy) > 0.001f) {
        r.Translate(dx, dy);
        for (int i = 0; i < quads * 4; i++) {
            v[i].Pos.x += dx;
            v[i].Pos.y += dy;
        }
    }

    if (!measure && quads > 0) {
        if (!cRender_TextWaiting) {
            // The first call of a batch sets the device up for text.
            static const char* const names[] = {"s_Glyphs"};
            static cRender_ShaderSlot slot;
            const bool wire = GetWireframe();
            // Waiting shapes may go on waiting under the text when drawn
            // filled in pixels of the viewport.
            cRender_KeepShapes = cRender_ShapesWaiting && !wire && GetWorldMatrix() == cMat4::Identity;
            if (!cRender_KeepShapes) cRender_DrawWaiting();
            SetWireframe(false);
            SetBlendState(cRender_AlphaBlendState());
            cRender_NeutralPipeline();
            batch.shader = slot.Use("Font", PCT::FormatID, nullptr, names, 1);
            SetTexture(slot.consts[0], texture, GlyphSampler());
            cRender_KeepShapes = false;
            batch.texture = texture;
            batch.blend = GetBlendState();
            if (s.Instance) {
                batch.quads += quads;
                cRender_TextWaiting = true;
                cRender_WaitingBounds.Add(v, (int)sizeof(PCT), quads * 4, false);
                if (cRender_ShapesWaiting) cRender_AddWaitingTextRect(TextBounds(v, quads));
            }
            SetWireframe(wire);  // in wire-frame mode this draws the text at once, filled
        } else {
            batch.quads += quads;
            cRender_WaitingBounds.Add(v, (int)sizeof(PCT), quads * 4, false);
            if (cRender_ShapesWaiting) cRender_AddWaitingTextRect(TextBounds(v, quads));
        }
    }
    return r;
}

cRect cRender::DrawString(int fontID, const char* text, const cVec3& p, int flags, const cColor* colors) {
    const cViewer* viewer = s.Viewer;
    if (!viewer) return cRect::Zero;
    cVec4 clip = cVec4(p.x, p.y, p.z, 1.0f) * viewer->GetViewProjectionMatrix();
    if (!(clip.w > 0)) return cRect::Zero;  // behind the eye
    const cRect& vp = viewer->Viewport;
    float sx = vp.x0 + (clip.x / clip.w * 0.5f + 0.5f) * vp.GetWidth();
    float sy = vp.y0 + (clip.y / clip.w * 0.5f + 0.5f) * vp.GetHeight();
    return DrawString(fontID, text, sx, sy, flags, colors);
}

void cRender::EnsurePrintable(int fontID, cStr* text) {
    const cFont* font = GetFont(fontID);
    if (!font || !text || text->IsEmpty()) return;
    const cList<unsigned short>& units = Decode(*text);
    cStr kept;
    bool dropped = false;
    // One UTF-8 sequence gives one code unit, or a surrogate pair.
    for (int u = 0, pos = 0; u < units.Count(); pos += text->CalcUTF8Length(pos)) {
        int n = units[u] >= 0xD800 && units[u] < 0xDC00 && u + 1 < units.Count() ? 2 : 1;
        bool known = font->Lookup(units[u]) >= 0 && (n == 1 || font->Lookup(units[u + 1]) >= 0);
        if (known)
            kept.Append(text->ToChar(), pos, text->CalcUTF8Length(pos));
        else
            dropped = true;
        u += n;
    }
    if (dropped) *text = kept;
}

}  // namespace zozud
