// The base render device: every operation does nothing and every query
// answers -1, false or nothing, which is how the framework runs without a
// device. Also the shader-file services that real devices share.
#include "zozud/render/Render.h"

#include <cstring>

#include "zozud/core/Log.h"
#include "zozud/io/File.h"
#include "zozud/io/IO.h"

namespace zozud {

cRender::Stub::~Stub() {}
int  cRender::Stub::GetType() { return 0; }
bool cRender::Stub::Init(int) { return true; }
void cRender::Stub::Free() {}
void cRender::Stub::SetViewport(const cRect&) {}
void cRender::Stub::SetClipRect(const cRect&) {}
cStr cRender::Stub::GetVendor() { return cStr(); }
int  cRender::Stub::GetMRTCount() { return 0; }
bool cRender::Stub::SupportsFormat(cFormat::Enum) { return false; }
bool cRender::Stub::SupportsNonPowerOfTwo() { return false; }
bool cRender::Stub::ScreenShot(cImage*) { return false; }
bool cRender::Stub::GetDeviceRecentReset() { return false; }
int  cRender::Stub::GetTextureID(const char*) { return -1; }
void cRender::Stub::ReloadTextures() {}
void cRender::Stub::ReloadTexture(int) {}
void cRender::Stub::ReloadTexture(const char*) {}
void cRender::Stub::UnloadTextures() {}
int  cRender::Stub::AddTexture(const char*) { return -1; }
int  cRender::Stub::AddTexture(const cImage&) { return -1; }
void cRender::Stub::UpdateTexture(int, const cList<cImage*>&, const cList<cRect>&) {}
void cRender::Stub::FreeTexture(int) {}
cStr cRender::Stub::GetTextureFilePn(int) { return cStr(); }
int  cRender::Stub::GetTextureWidth(int) { return -1; }
int  cRender::Stub::GetTextureHeight(int) { return -1; }
int  cRender::Stub::GetTextureDepth(int) { return -1; }
cFormat::Enum cRender::Stub::GetTextureFormat(int) { return cFormat::None; }
int  cRender::Stub::GetTextureMipMapCount(int) { return -1; }
int  cRender::Stub::GetTextureRenderTargetUsage(int) { return -1; }
int  cRender::Stub::GetShaderID(const char*, int, const char*) { return -1; }
int  cRender::Stub::AddShader(const char*, int, const char*) { return -1; }
int  cRender::Stub::GetShaderConstID(int, const char*) { return -1; }
void cRender::Stub::SetShader(int) {}
void cRender::Stub::FreeShader(int) {}
void cRender::Stub::ReloadShaders() {}
int  cRender::Stub::AddVertexFormat(const cVertex::Format&) { return -1; }
int  cRender::Stub::GetVertexSize(int) { return -1; }
int  cRender::Stub::AddVertexBuffer(const void*, size_t) { return -1; }
int  cRender::Stub::AddIndexBuffer(const void*, int, int) { return -1; }
void cRender::Stub::FreeVertexBuffer(int) {}
void cRender::Stub::FreeIndexBuffer(int) {}
void cRender::Stub::SetVertexBuffer(int) {}
void cRender::Stub::SetIndexBuffer(int) {}
void cRender::Stub::DrawArrays(cTopology::Enum) {}
void cRender::Stub::DrawArrays(cTopology::Enum, const void*, int) {}
void cRender::Stub::DrawIndexed(cTopology::Enum) {}
void cRender::Stub::DrawIndexed(cTopology::Enum, const void*, int, const void*, int, int) {}
void cRender::Stub::SetWireframe(bool) {}
int  cRender::Stub::GetSamplerStateID(cFilter::Enum, cAddressMode::Enum, cAddressMode::Enum, cAddressMode::Enum) { return -1; }
void cRender::Stub::SetSamplerState(int, int) {}
int  cRender::Stub::GetSamplerID(int, const char*) { return -1; }
void cRender::Stub::SetTexture(int, int) {}
void cRender::Stub::SetShaderConst(int, int) {}
void cRender::Stub::SetShaderConst(int, float) {}
void cRender::Stub::SetShaderConst(int, const cVec2&) {}
void cRender::Stub::SetShaderConst(int, const cVec3&) {}
void cRender::Stub::SetShaderConst(int, const cVec4&) {}
void cRender::Stub::SetShaderConst(int, const cMat3&) {}
void cRender::Stub::SetShaderConst(int, const cMat4&) {}
void cRender::Stub::SetShaderConst(int, const float*, int) {}
void cRender::Stub::SetShaderConst(int, const cVec2*, int) {}
void cRender::Stub::SetShaderConst(int, const cVec3*, int) {}
void cRender::Stub::SetShaderConst(int, const cVec4*, int) {}
void cRender::Stub::UpdateMatrices() {}
int  cRender::Stub::GetBlendStateID(cBlendFactor::Enum, cBlendFactor::Enum, cBlendMode::Enum, unsigned) { return -1; }
void cRender::Stub::SetBlendState(int) {}
int  cRender::Stub::GetDepthStateID(bool, bool, cDepthFunc::Enum) { return -1; }
void cRender::Stub::SetDepthState(int) {}
void cRender::Stub::SetCullMode(cCullMode::Enum) {}
void cRender::Stub::Clear(bool, bool, const cColor&, float) {}
void cRender::Stub::BeginFrame() {}
void cRender::Stub::EndFrame() {}
void cRender::Stub::Finish() {}
int  cRender::Stub::AddRenderTarget(int, int, cFormat::Enum, bool, int) { return -1; }
int  cRender::Stub::AddRenderDepth(int, cFormat::Enum) { return -1; }
void cRender::Stub::SetRenderTargets(const int*, int, int, const int*) {}
void cRender::Stub::SetRenderTargetSize(int, int, int) {}
bool cRender::Stub::SaveRenderTarget(int, cImage*) { return false; }

// ---- Shader files ----

namespace {

// The first of the markers at or after start (any letter case): its position, -1 when none.
int FindMarker(const char* text, int length, const char* const* markers, int markerCount) {
    for (int i = 0; i < length; i++) {
        if (text[i] != '/') continue;
        for (int m = 0; m < markerCount; m++) {
            int n = (int)strlen(markers[m]);
            if (n <= length - i && cStr::CompareNoCase(text + i, markers[m], n) == 0) return i;
        }
    }
    return -1;
}

}  // namespace

int cRender::Stub::SplitShaderSource(const char* text, int length, cStr* vertexSource, cStr* pixelSource,
                                     int* vertexPos, int* pixelPos) {
    static const char* const vertexMarker[] = {"// Vertex shader"};
    static const char* const pixelMarkers[] = {"// Fragment shader", "// Pixel shader"};
    // The text ends at its first NUL, as a string would.
    length = text && length > 0 ? (int)strnlen(text, (size_t)length) : 0;
    int v = FindMarker(text, length, vertexMarker, 1);
    int p = FindMarker(text, length, pixelMarkers, 2);
    int vEnd = p > v ? p : length;
    int pEnd = v > p ? v : length;
    if (vertexSource) {
        if (v >= 0) vertexSource->Copy(text, v, vEnd - v);
        else vertexSource->Clear();
    }
    if (pixelSource) {
        if (p >= 0) pixelSource->Copy(text, p, pEnd - p);
        else pixelSource->Clear();
    }
    if (vertexPos) *vertexPos = v;
    if (pixelPos) *pixelPos = p;
    return (v >= 0 ? 1 : 0) | (p >= 0 ? 2 : 0);
}

bool cRender::Stub::LoadShader(const char* fileName, cStr* vertexSource, cStr* pixelSource, int* vertexPos,
                               int* pixelPos) {
    cFile file;
    if (!cIO::LoadFile(fileName, &file)) return false;
    cLog::Message(" * Loading shader \"%s\"...", fileName);
    const char* text = reinterpret_cast<const char*>(file.GetData());
    int found = SplitShaderSource(text, file.GetSize(), vertexSource, pixelSource, vertexPos, pixelPos);
    if (!(found & 1)) cLog::Warning("No vertex shader found.");
    if (!(found & 2)) cLog::Warning("No fragment / pixel shader found");
    for (const cRender_ReplaceInShaders_t& r : cRender::GetReplaceInShaders()) {
        if (vertexSource) vertexSource->Replace(r.What, r.With);
        if (pixelSource) pixelSource->Replace(r.What, r.With);
    }
    return true;
}

bool cRender::Stub::LoadShaderFromCache(const char*, int, const char*) { return false; }

}  // namespace zozud
