// cRenderDeviceGL: the render device over OpenGL 3.3 core profile (device
// type 2), with functions loaded through libepoxy and a GLX context.
// Everything is drawn into an off-screen "screen" frame buffer of the window's
// size; EndFrame copies it to the window when there is one to show, and
// ScreenShot reads it back. Without a window handed over by the platform shell
// the device makes its own hidden X window of DefaultWidth x DefaultHeight, so
// tools and tests render under a virtual display.
// Coordinates are GL's: y points up, row 0 of a texture, a render target and
// a screen shot is the bottom row, as in cImage, so a render target drawn with
// the framework's texture coordinates comes out the right way up
// (cRender::GetFlipRenderTarget says targets are y-up on this device). Ids are never reused: an id
// that was freed, or never handed out, makes every operation do nothing.
// Threads: the thread that called Init only.
#pragma once

#include "zozud/render/Render.h"

namespace zozud {

struct cRenderDeviceGL_State;

class cRenderDeviceGL : public cRender::Stub {
public:
    static const int DefaultWidth = 800;
    static const int DefaultHeight = 600;

    // Render-target flags (the int argument of AddRenderTarget).
    enum TargetFlags { TargetCube = 1 };
    // What GetTextureRenderTargetUsage answers.
    enum Usage { UsageTexture = 0, UsageColor = 1, UsageDepth = 2 };

    // The shell's seam: the X display (Display*) and window to render into,
    // given before Init. Null / 0 lets the device make its own hidden window.
    static void SetNativeWindow(void* display, unsigned long window);

    cRenderDeviceGL();
    ~cRenderDeviceGL() override;

    // The window's size changed: the screen frame buffer follows.
    void SetScreenSize(int width, int height);
    int  GetScreenWidth() const;
    int  GetScreenHeight() const;
    // GL draw calls issued since the last BeginFrame (or since Init).
    int  GetDrawCallCount() const;

    // ---- cRender::Stub ----
    int  GetType() override { return 2; }
    bool Init(int type) override;
    void Free() override;
    void SetViewport(const cRect& rect) override;
    void SetClipRect(const cRect& rect) override;
    cStr GetVendor() override;
    int  GetMRTCount() override;
    bool SupportsFormat(cFormat::Enum format) override;
    bool SupportsNonPowerOfTwo() override { return true; }
    bool ScreenShot(cImage* image) override;

    int  GetTextureID(const char* name) override;
    void ReloadTextures() override;
    void ReloadTexture(int id) override;
    void ReloadTexture(const char* name) override;
    void UnloadTextures() override;
    int  AddTexture(const char* name) override;
    int  AddTexture(const cImage& image) override;
    void UpdateTexture(int id, const cList<cImage*>& images, const cList<cRect>& rects) override;
    void FreeTexture(int id) override;
    cStr GetTextureFilePn(int id) override;
    int  GetTextureWidth(int id) override;
    int  GetTextureHeight(int id) override;
    int  GetTextureDepth(int id) override;
    cFormat::Enum GetTextureFormat(int id) override;
    int  GetTextureMipMapCount(int id) override;
    int  GetTextureRenderTargetUsage(int id) override;

    int  GetShaderID(const char* name, int vertexFormatID, const char* defines) override;
    int  AddShader(const char* name, int vertexFormatID, const char* defines) override;
    int  GetShaderConstID(int shaderID, const char* name) override;
    void SetShader(int shaderID) override;
    void FreeShader(int shaderID) override;
    void ReloadShaders() override;

    int  AddVertexFormat(const cVertex::Format& format) override;
    int  GetVertexSize(int formatID) override;
    int  AddVertexBuffer(const void* data, size_t bytes) override;
    int  AddIndexBuffer(const void* data, int count, int indexSize) override;
    void FreeVertexBuffer(int id) override;
    void FreeIndexBuffer(int id) override;
    void SetVertexBuffer(int id) override;
    void SetIndexBuffer(int id) override;
    void DrawArrays(cTopology::Enum topology) override;
    void DrawArrays(cTopology::Enum topology, const void* vertices, int count) override;
    void DrawIndexed(cTopology::Enum topology) override;
    void DrawIndexed(cTopology::Enum topology, const void* vertices, int vertexCount, const void* indices,
                     int indexCount, int indexSize) override;

    void SetWireframe(bool on) override;
    int  GetSamplerStateID(cFilter::Enum filter, cAddressMode::Enum u, cAddressMode::Enum v,
                           cAddressMode::Enum w) override;
    void SetSamplerState(int textureID, int samplerStateID) override;
    int  GetSamplerID(int shaderID, const char* name) override;
    void SetTexture(int stage, int textureID) override;
    void SetShaderConst(int constID, int value) override;
    void SetShaderConst(int constID, float value) override;
    void SetShaderConst(int constID, const cVec2& value) override;
    void SetShaderConst(int constID, const cVec3& value) override;
    void SetShaderConst(int constID, const cVec4& value) override;
    void SetShaderConst(int constID, const cMat3& value) override;
    void SetShaderConst(int constID, const cMat4& value) override;
    void SetShaderConst(int constID, const float* values, int count) override;
    void SetShaderConst(int constID, const cVec2* values, int count) override;
    void SetShaderConst(int constID, const cVec3* values, int count) override;
    void SetShaderConst(int constID, const cVec4* values, int count) override;
    void UpdateMatrices() override;
    int  GetBlendStateID(cBlendFactor::Enum src, cBlendFactor::Enum dst, cBlendMode::Enum mode,
                         unsigned writeMask) override;
    void SetBlendState(int id) override;
    int  GetDepthStateID(bool test, bool write, cDepthFunc::Enum func) override;
    void SetDepthState(int id) override;
    void SetCullMode(cCullMode::Enum mode) override;
    void Clear(bool color, bool depth, const cColor& colorValue, float depthValue) override;
    void BeginFrame() override;
    void EndFrame() override;
    void Finish() override;
    // mipMaps: the levels are rebuilt when the target is left; flags: TargetFlags.
    int  AddRenderTarget(int width, int height, cFormat::Enum format, bool mipMaps, int flags) override;
    int  AddRenderDepth(int id, cFormat::Enum format) override;
    void SetRenderTargets(const int* targets, int count, int depth, const int* faces) override;
    void SetRenderTargetSize(int id, int width, int height) override;
    bool SaveRenderTarget(int id, cImage* image) override;

private:
    cRenderDeviceGL_State* m;
};

}  // namespace zozud
