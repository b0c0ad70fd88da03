// A render device for tests: it draws nothing and writes every call that
// reaches it, with its arguments, into Calls ("SetDepthState(3)"). Ids it
// hands out are stable for the life of the test program (the front end
// keeps shader ids in statics), and names are logged instead of ids where
// the device knows them ("SetShader(SolidUI)", "SetShaderConst(c_Alpha, 0.5)").
// The last draw from memory is kept byte for byte.
#pragma once

#include <cstdio>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "zozud/image/Image.h"
#include "zozud/render/Render.h"

namespace zozud {
// Rectangles in test failures as their corners.
inline void PrintTo(const cRect& r, std::ostream* os) {
    *os << "(" << r.x0 << ", " << r.y0 << ", " << r.x1 << ", " << r.y1 << ")";
}
}  // namespace zozud

namespace zozud_test {

using namespace zozud;

class RecordingDevice : public cRender::Stub {
public:
    std::vector<std::string> Calls;
    int  Type = 1;
    std::string Vendor = "Test Vendor";
    bool InitResult = true;
    std::map<int, std::pair<int, int>> TextureSizes;  // id -> width, height
    std::map<int, int> TextureDepths;                 // id -> depth (1 when absent)

    // The last draw from memory.
    int Topology = -1;
    std::vector<unsigned char> Vertices;
    std::vector<int> Indices;
    int Stride = 0;

    void Clear() { Calls.clear(); }
    // Calls whose text starts with prefix.
    int Count(const std::string& prefix) const;
    // The float fields of vertex i at byte offsets off, off + 4, ...
    float VertexFloat(int i, int offset) const;
    unsigned VertexWord(int i, int offset) const;
    int VertexCount() const { return Stride ? (int)Vertices.size() / Stride : 0; }

    int  GetType() override { return Type; }
    bool Init(int type) override { Add("Init(%d)", type); return InitResult; }
    void Free() override { Add("Free()"); }
    void SetViewport(const cRect& r) override { Add("SetViewport(%s)", R(r).c_str()); }
    void SetClipRect(const cRect& r) override { Add("SetClipRect(%s)", R(r).c_str()); }
    cStr GetVendor() override { return cStr(Vendor.c_str()); }
    int  GetMRTCount() override { return 4; }
    bool SupportsFormat(cFormat::Enum) override { return true; }
    bool SupportsNonPowerOfTwo() override { return true; }
    bool ScreenShot(cImage*) override { Add("ScreenShot()"); return true; }
    bool GetDeviceRecentReset() override { return false; }
    int  GetTextureID(const char* name) override { Add("GetTextureID(%s)", name); return 7; }
    void ReloadTextures() override { Add("ReloadTextures()"); }
    void ReloadTexture(int id) override { Add("ReloadTexture(%d)", id); }
    void ReloadTexture(const char* name) override { Add("ReloadTexture(%s)", name); }
    void UnloadTextures() override { Add("UnloadTextures()"); }
    int  AddTexture(const char* name) override { Add("AddTexture(%s)", name); return 8; }
    int  AddTexture(const cImage& image) override { Add("AddTexture(image %dx%d)", image.Width, image.Height); return 9; }
    void UpdateTexture(int id, const cList<cImage*>& images, const cList<cRect>& rects) override;
    void FreeTexture(int id) override { Add("FreeTexture(%d)", id); }
    cStr GetTextureFilePn(int) override { return cStr(); }
    int  GetTextureWidth(int id) override { return TextureSizes.count(id) ? TextureSizes[id].first : -1; }
    int  GetTextureHeight(int id) override { return TextureSizes.count(id) ? TextureSizes[id].second : -1; }
    int  GetTextureDepth(int id) override { return TextureDepths.count(id) ? TextureDepths[id] : 1; }
    cFormat::Enum GetTextureFormat(int) override { return cFormat::Rgba8; }
    int  GetTextureMipMapCount(int) override { return 1; }
    int  GetTextureRenderTargetUsage(int) override { return 0; }
    int  GetShaderID(const char* name, int format, const char* defines) override;
    int  AddShader(const char* name, int format, const char* defines) override { return GetShaderID(name, format, defines); }
    int  GetShaderConstID(int shader, const char* name) override;
    void SetShader(int id) override;
    void FreeShader(int id) override { Add("FreeShader(%d)", id); }
    void ReloadShaders() override { Add("ReloadShaders()"); }
    int  AddVertexFormat(const cVertex::Format& f) override;
    int  GetVertexSize(int id) override;
    int  AddVertexBuffer(const void*, size_t bytes) override { Add("AddVertexBuffer(%zu)", bytes); return 1; }
    int  AddIndexBuffer(const void*, int count, int size) override { Add("AddIndexBuffer(%d, %d)", count, size); return 2; }
    void FreeVertexBuffer(int id) override { Add("FreeVertexBuffer(%d)", id); }
    void FreeIndexBuffer(int id) override { Add("FreeIndexBuffer(%d)", id); }
    void SetVertexBuffer(int id) override { Add("SetVertexBuffer(%d)", id); }
    void SetIndexBuffer(int id) override { Add("SetIndexBuffer(%d)", id); }
    void DrawArrays(cTopology::Enum t) override { Add("DrawArrays(%d)", (int)t); }
    void DrawArrays(cTopology::Enum t, const void* v, int n) override;
    void DrawIndexed(cTopology::Enum t) override { Add("DrawIndexed(%d)", (int)t); }
    void DrawIndexed(cTopology::Enum t, const void* v, int n, const void* idx, int m, int size) override;
    void SetWireframe(bool on) override { Add("SetWireframe(%d)", on ? 1 : 0); }
    int  GetSamplerStateID(cFilter::Enum f, cAddressMode::Enum u, cAddressMode::Enum v, cAddressMode::Enum w) override {
        return Id("sampler", (int)f * 1000 + u * 100 + v * 10 + w);
    }
    void SetSamplerState(int tex, int sampler) override { Add("SetSamplerState(%d, %d)", tex, sampler); }
    int  GetSamplerID(int shader, const char* name) override { return GetShaderConstID(shader, name); }
    void SetTexture(int stage, int tex) override { Add("SetTexture(%s, %d)", Name(stage).c_str(), tex); }
    void SetShaderConst(int id, int v) override { Add("SetShaderConst(%s, %d)", Name(id).c_str(), v); }
    void SetShaderConst(int id, float v) override { Add("SetShaderConst(%s, %g)", Name(id).c_str(), v); }
    void SetShaderConst(int id, const cVec2& v) override { Add("SetShaderConst(%s, %g %g)", Name(id).c_str(), v.x, v.y); }
    void SetShaderConst(int id, const cVec3& v) override { Add("SetShaderConst(%s, %g %g %g)", Name(id).c_str(), v.x, v.y, v.z); }
    void SetShaderConst(int id, const cVec4& v) override {
        Add("SetShaderConst(%s, %g %g %g %g)", Name(id).c_str(), v.x, v.y, v.z, v.w);
    }
    void SetShaderConst(int id, const cMat3&) override { Add("SetShaderConst(%s, mat3)", Name(id).c_str()); }
    void SetShaderConst(int id, const cMat4& m) override { Add("SetShaderConst(%s, mat4 %g)", Name(id).c_str(), m.m[12]); }
    void SetShaderConst(int id, const float*, int n) override { Add("SetShaderConst(%s, float[%d])", Name(id).c_str(), n); }
    void SetShaderConst(int id, const cVec2*, int n) override { Add("SetShaderConst(%s, vec2[%d])", Name(id).c_str(), n); }
    void SetShaderConst(int id, const cVec3*, int n) override { Add("SetShaderConst(%s, vec3[%d])", Name(id).c_str(), n); }
    void SetShaderConst(int id, const cVec4* v, int n) override {
        Add("SetShaderConst(%s, vec4[%d] %g)", Name(id).c_str(), n, n ? v[n - 1].w : 0.f);
    }
    void UpdateMatrices() override { Add("UpdateMatrices()"); }
    int  GetBlendStateID(cBlendFactor::Enum s, cBlendFactor::Enum d, cBlendMode::Enum m, unsigned mask) override {
        return Id("blend", s * 100000 + d * 1000 + m * 100 + (int)mask);
    }
    void SetBlendState(int id) override { Add("SetBlendState(%s)", Name(id).c_str()); }
    int  GetDepthStateID(bool test, bool write, cDepthFunc::Enum f) override { return Id("depth", test * 100 + write * 10 + f); }
    void SetDepthState(int id) override { Add("SetDepthState(%d)", id); }
    void SetCullMode(cCullMode::Enum m) override { Add("SetCullMode(%d)", (int)m); }
    void Clear(bool c, bool d, const cColor&, float) override { Add("Clear(%d, %d)", c, d); }
    void BeginFrame() override { Add("BeginFrame()"); }
    void EndFrame() override { Add("EndFrame()"); }
    void Finish() override { Add("Finish()"); }
    int  AddRenderTarget(int w, int h, cFormat::Enum f, bool mips, int flags) override {
        Add("AddRenderTarget(%d, %d, %d, %d, %d)", w, h, (int)f, mips, flags);
        return 20;
    }
    int  AddRenderDepth(int id, cFormat::Enum f) override { Add("AddRenderDepth(%d, %d)", id, (int)f); return 21; }
    void SetRenderTargets(const int* targets, int count, int depth, const int* faces) override;
    void SetRenderTargetSize(int id, int w, int h) override { Add("SetRenderTargetSize(%d, %d, %d)", id, w, h); }
    bool SaveRenderTarget(int id, cImage*) override { Add("SaveRenderTarget(%d)", id); return true; }

    // Names known for ids: shaders, constants, blend states ("blend 400500015").
    static std::string Name(int id);

private:
    void Add(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    static std::string R(const cRect& r);
    static int Id(const std::string& kind, int key);
    void KeepDraw(int topology, const void* v, int n, const void* idx, int m, int size);
    int  m_Shader = -1;
};

// Installs a RecordingDevice as the device the next cRender::Init makes and
// gives access to it; Free in the destructor.
class RecordingScope {
public:
    explicit RecordingScope(int type = 1, const char* vendor = "Test Vendor");
    ~RecordingScope();
    // Reaching the device through the scope, like any holder of the device,
    // first has the front end draw what waits in a batch.
    RecordingDevice& operator*() { return *Get(); }
    RecordingDevice* operator->() { return Get(); }

private:
    RecordingDevice* Get() {
        zozud::cRender::GetInstance();
        return m_Device;
    }
    RecordingDevice* m_Device;
};

}  // namespace zozud_test
