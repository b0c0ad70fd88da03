// Textures, samplers, shaders and their constants, vertex formats, buffers
// and draws: mostly thin forwards to the device, -1 / false without one. Also
// the shader replacement table and the names of the render enumerations.
#include "zozud/render/Render.h"

#include "zozud/image/Image.h"
#include "zozud/render/RenderState.h"

namespace zozud {

#define ZOZUD_FORWARD(call) do { if (s.Instance) s.Instance->call; } while (0)
#define ZOZUD_QUERY(call, none) (s.Instance ? s.Instance->call : (none))

// ---- Textures and samplers ----

int cRender::GetTextureID(const char* name, int samplerStateID) {
    if (!s.Instance) return -1;
    int id = s.Instance->GetTextureID(name);
    s.Instance->SetSamplerState(id, samplerStateID);
    return id;
}

int cRender::AddTexture(const char* name, int samplerStateID) {
    if (!s.Instance) return -1;
    int id = s.Instance->AddTexture(name);
    s.Instance->SetSamplerState(id, samplerStateID);
    return id;
}

int cRender::AddTexture(const cImage& image, int samplerStateID) {
    if (!s.Instance) return -1;
    int id = s.Instance->AddTexture(image);
    s.Instance->SetSamplerState(id, samplerStateID);
    return id;
}

void cRender::ReloadTextures() { ZOZUD_FORWARD(ReloadTextures()); }
void cRender::ReloadTexture(int id) { ZOZUD_FORWARD(ReloadTexture(id)); }
void cRender::ReloadTexture(const char* name) { ZOZUD_FORWARD(ReloadTexture(name)); }
void cRender::UnloadTextures() { ZOZUD_FORWARD(UnloadTextures()); }
void cRender::FreeTexture(int id) { ZOZUD_FORWARD(FreeTexture(id)); }
cStr cRender::GetTextureFilePn(int id) { return ZOZUD_QUERY(GetTextureFilePn(id), cStr()); }
int  cRender::GetTextureWidth(int id) { return ZOZUD_QUERY(GetTextureWidth(id), -1); }
int  cRender::GetTextureHeight(int id) { return ZOZUD_QUERY(GetTextureHeight(id), -1); }
int  cRender::GetTextureDepth(int id) { return ZOZUD_QUERY(GetTextureDepth(id), -1); }
cFormat::Enum cRender::GetTextureFormat(int id) { return ZOZUD_QUERY(GetTextureFormat(id), cFormat::None); }
int  cRender::GetTextureMipMapCount(int id) { return ZOZUD_QUERY(GetTextureMipMapCount(id), -1); }
bool cRender::GetExpandTexturesToPowerOfTwo() { return s.ExpandTexturesToPowerOfTwo; }
void cRender::SetExpandTexturesToPowerOfTwo(bool on) { s.ExpandTexturesToPowerOfTwo = on; }

void cRender::UpdateTexture(int id, const cImage& image, const cList<cRect>& dirty) {
    if (!s.Instance) return;
    cList<cImage*> parts;
    for (const cRect& r : dirty) parts.Add(new cImage(image, r));
    s.Instance->UpdateTexture(id, parts, dirty);
    for (cImage* part : parts) delete part;
}

void cRender::UpdateTexture(int id, const cList<cImage*>& images, const cList<cRect>& rects) {
    ZOZUD_FORWARD(UpdateTexture(id, images, rects));
}

void cRender::SetSamplerState(int textureID, int samplerStateID) {
    ZOZUD_FORWARD(SetSamplerState(textureID, samplerStateID));
}

int cRender::GetSamplerID(int shaderID, const char* name) { return ZOZUD_QUERY(GetSamplerID(shaderID, name), -1); }

void cRender::SetTexture(int stage, int textureID, int samplerStateID) {
    if (!s.Instance) return;
    s.Instance->SetSamplerState(textureID, samplerStateID);
    s.Instance->SetTexture(stage, textureID);
}

// ---- Shaders ----

int cRender::GetShaderID(const char* name, int vertexFormatID, const char* defines) {
    return ZOZUD_QUERY(GetShaderID(name, vertexFormatID, defines), -1);
}

int cRender::AddShader(const char* name, int vertexFormatID, const char* defines) {
    return ZOZUD_QUERY(AddShader(name, vertexFormatID, defines), -1);
}

void cRender::FreeShader(int id) { ZOZUD_FORWARD(FreeShader(id)); }
void cRender::ReloadShaders() { ZOZUD_FORWARD(ReloadShaders()); }
void cRender::SetShader(int id) { ZOZUD_FORWARD(SetShader(id)); }
int  cRender::GetShaderConstID(int shaderID, const char* name) { return ZOZUD_QUERY(GetShaderConstID(shaderID, name), -1); }

void cRender::SetShaderConst(int id, int v) { ZOZUD_FORWARD(SetShaderConst(id, v)); }
void cRender::SetShaderConst(int id, float v) { ZOZUD_FORWARD(SetShaderConst(id, v)); }
void cRender::SetShaderConst(int id, const cVec2& v) { ZOZUD_FORWARD(SetShaderConst(id, v)); }
void cRender::SetShaderConst(int id, const cVec3& v) { ZOZUD_FORWARD(SetShaderConst(id, v)); }
void cRender::SetShaderConst(int id, const cVec4& v) { ZOZUD_FORWARD(SetShaderConst(id, v)); }
void cRender::SetShaderConst(int id, const cColor& v) { ZOZUD_FORWARD(SetShaderConst(id, cVec4(v.r, v.g, v.b, v.a))); }
void cRender::SetShaderConst(int id, const cRect& v) { ZOZUD_FORWARD(SetShaderConst(id, cVec4(v.x0, v.y0, v.x1, v.y1))); }
void cRender::SetShaderConst(int id, const cMat3& v) { ZOZUD_FORWARD(SetShaderConst(id, v)); }
void cRender::SetShaderConst(int id, const cMat4& v) { ZOZUD_FORWARD(SetShaderConst(id, v)); }
void cRender::SetShaderConst(int id, const float* v, int n) { ZOZUD_FORWARD(SetShaderConst(id, v, n)); }
void cRender::SetShaderConst(int id, const cVec2* v, int n) { ZOZUD_FORWARD(SetShaderConst(id, v, n)); }
void cRender::SetShaderConst(int id, const cVec3* v, int n) { ZOZUD_FORWARD(SetShaderConst(id, v, n)); }
void cRender::SetShaderConst(int id, const cVec4* v, int n) { ZOZUD_FORWARD(SetShaderConst(id, v, n)); }

// A colour is four packed floats, the same memory as a cVec4.
void cRender::SetShaderConst(int id, const cColor* v, int n) {
    static_assert(sizeof(cColor) == sizeof(cVec4), "a colour reads as a cVec4");
    ZOZUD_FORWARD(SetShaderConst(id, reinterpret_cast<const cVec4*>(v), n));
}

void cRender::ReplaceInShaders(const char* what, const char* with) {
    if (!what) return;
    cList<cRender_ReplaceInShaders_t>& table = s.ReplaceInShaders;
    int lo = 0, hi = table.Count();
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        int c = cStr::Compare(table[mid].What, what);
        if (c == 0) {
            table[mid].With = with ? with : "";
            return;
        }
        if (c < 0) lo = mid + 1;
        else hi = mid;
    }
    cRender_ReplaceInShaders_t entry;
    entry.What = what;
    entry.With = with ? with : "";
    table.Insert(lo, entry);
}

const cList<cRender_ReplaceInShaders_t>& cRender::GetReplaceInShaders() { return s.ReplaceInShaders; }

// ---- Vertex formats, buffers and draws ----

int  cRender::AddVertexFormat(const cVertex::Format& f) { return ZOZUD_QUERY(AddVertexFormat(f), -1); }
int  cRender::GetVertexSize(int id) { return ZOZUD_QUERY(GetVertexSize(id), -1); }
int  cRender::AddVertexBuffer(const void* data, size_t bytes) { return ZOZUD_QUERY(AddVertexBuffer(data, bytes), -1); }
int  cRender::AddIndexBuffer(const void* data, int count, int indexSize) { return ZOZUD_QUERY(AddIndexBuffer(data, count, indexSize), -1); }
void cRender::FreeVertexBuffer(int id) { ZOZUD_FORWARD(FreeVertexBuffer(id)); }
void cRender::FreeIndexBuffer(int id) { ZOZUD_FORWARD(FreeIndexBuffer(id)); }
void cRender::SetVertexBuffer(int id) { ZOZUD_FORWARD(SetVertexBuffer(id)); }
void cRender::SetIndexBuffer(int id) { ZOZUD_FORWARD(SetIndexBuffer(id)); }
void cRender::DrawArrays(cTopology::Enum t) { ZOZUD_FORWARD(DrawArrays(t)); }
void cRender::DrawIndexed(cTopology::Enum t) { ZOZUD_FORWARD(DrawIndexed(t)); }
void cRender::DrawArrays(cTopology::Enum t, const void* v, int n) { ZOZUD_FORWARD(DrawArrays(t, v, n)); }

void cRender::DrawIndexed(cTopology::Enum t, const void* v, int n, const void* idx, int m, int indexSize) {
    ZOZUD_FORWARD(DrawIndexed(t, v, n, idx, m, indexSize));
}

// ---- Names ----

const char* cRender::AutoConst::ToString(int index) {
    static const char* const names[Count] = {
        "g_ViewportWidth", "g_ViewportHeight", "g_ViewportInvWidth", "g_ViewportInvHeight", "g_WorldMatrix",
        "g_WorldMatrixInverse", "g_ViewerPos", "g_WorldViewMatrix", "g_ViewProjectionMatrix",
        "g_WorldViewProjectionMatrix", "g_ProjectionMatrix", "g_ScreenMatrix", "g_ScreenMatrixInverse",
        "g_NormalMatrix", "g_NormalViewMatrix", "g_TimeSec", "g_FrameTimeSec", "g_TextureMatrix0",
        "g_TextureMatrix1", "g_TextureMatrix2", "g_TextureMatrix3",
    };
    return index >= 0 && index < Count ? names[index] : nullptr;
}

int cRender::AutoConst::FromString(const char* name) {
    if (!name) return -1;
    for (int i = 0; i < Count; i++)
        if (cStr::Compare(ToString(i), name) == 0) return i;
    return -1;
}

const char* cFilter::ToString(Enum value) {
    static const char* const names[Count] = {"Nearest", "Linear", "Bilinear", "Trilinear", "Bilinear Aniso",
                                             "Trilinear Aniso"};
    return names[value];
}

const char* cAddressMode::ToString(Enum value) {
    static const char* const names[Count] = {"Wrap", "Clamp", "Mirror"};
    return names[value];
}

void cRender::GridArgs::Validate() {
    GridArgs defaults;
    if (!(Size >= 1)) Size = defaults.Size;
    if (!(FadeDistance >= 0.001f)) FadeDistance = defaults.FadeDistance;
    if (!(Step >= 0.001f)) Step = 5;
    if (MajorEvery <= 0) MajorEvery = 1;
}

}  // namespace zozud
