// cRender: the framework's one drawing interface. Every operation is static;
// behind them stands one device object derived from cRender::Stub. The front
// end shadows the pipeline state (depth, blend, cull, wire frame, clip
// rectangle, matrices, viewer) so that a set-call equal to the shadow never
// reaches the device, keeps push/pop stacks for them, and offers immediate
// helpers that build small vertex arrays and hand them over in one draw call.
// Surprise: with no device every call does nothing and returns -1 / false,
// and a Stub device itself accepts everything and draws nothing.
// Threads: the window's render thread only; nothing is locked.
#pragma once

#include <cstddef>

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/image/Color.h"
#include "zozud/image/Format.h"
#include "zozud/math/Mat3.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Rect.h"
#include "zozud/math/Vec2.h"
#include "zozud/math/Vec3.h"
#include "zozud/math/Vec4.h"
#include "zozud/render/RenderTypes.h"
#include "zozud/render/Vertex.h"

namespace zozud {

class cImage;
class cViewer;
class cBounds;
class cFont;

// One entry of the render-target stack.
struct cRender_RenderTarget {
    cList<int> Targets;                // colour-target texture ids
    int        Depth = -1;             // depth-target id, -1 for none
    cList<int> Faces;                  // cube-map face per colour target
    bool       UseViewerAspect = false;
};

// One text substitution applied to every shader source loaded.
struct cRender_ReplaceInShaders_t {
    cStr What;
    cStr With;
};

class cRender {
public:
    // ---- The device interface: the slot order is part of the contract ----
    // Every operation of the base does nothing; queries answer -1, false,
    // zero or an empty text, so the base is the "no device" device.
    class Stub {
    public:
        virtual ~Stub();
        virtual int  GetType();
        virtual bool Init(int type);
        virtual void Free();
        virtual void SetViewport(const cRect& rect);
        virtual void SetClipRect(const cRect& rect);
        virtual cStr GetVendor();
        virtual int  GetMRTCount();
        virtual bool SupportsFormat(cFormat::Enum format);
        virtual bool SupportsNonPowerOfTwo();
        virtual bool ScreenShot(cImage* image);
        virtual bool GetDeviceRecentReset();
        virtual int  GetTextureID(const char* name);
        virtual void ReloadTextures();
        virtual void ReloadTexture(int id);
        virtual void ReloadTexture(const char* name);
        virtual void UnloadTextures();
        virtual int  AddTexture(const char* name);
        virtual int  AddTexture(const cImage& image);
        virtual void UpdateTexture(int id, const cList<cImage*>& images, const cList<cRect>& rects);
        virtual void FreeTexture(int id);
        virtual cStr GetTextureFilePn(int id);
        virtual int  GetTextureWidth(int id);
        virtual int  GetTextureHeight(int id);
        virtual int  GetTextureDepth(int id);
        virtual cFormat::Enum GetTextureFormat(int id);
        virtual int  GetTextureMipMapCount(int id);
        virtual int  GetTextureRenderTargetUsage(int id);
        virtual int  GetShaderID(const char* name, int vertexFormatID, const char* defines);
        virtual int  AddShader(const char* name, int vertexFormatID, const char* defines);
        virtual int  GetShaderConstID(int shaderID, const char* name);
        virtual void SetShader(int shaderID);
        virtual void FreeShader(int shaderID);
        virtual void ReloadShaders();
        virtual int  AddVertexFormat(const cVertex::Format& format);
        virtual int  GetVertexSize(int formatID);
        virtual int  AddVertexBuffer(const void* data, size_t bytes);
        virtual int  AddIndexBuffer(const void* data, int count, int indexSize);
        virtual void FreeVertexBuffer(int id);
        virtual void FreeIndexBuffer(int id);
        virtual void SetVertexBuffer(int id);
        virtual void SetIndexBuffer(int id);
        virtual void DrawArrays(cTopology::Enum topology);
        virtual void DrawArrays(cTopology::Enum topology, const void* vertices, int count);
        virtual void DrawIndexed(cTopology::Enum topology);
        virtual void DrawIndexed(cTopology::Enum topology, const void* vertices, int vertexCount,
                                 const void* indices, int indexCount, int indexSize);
        virtual void SetWireframe(bool on);
        virtual int  GetSamplerStateID(cFilter::Enum filter, cAddressMode::Enum u, cAddressMode::Enum v,
                                       cAddressMode::Enum w);
        virtual void SetSamplerState(int textureID, int samplerStateID);
        virtual int  GetSamplerID(int shaderID, const char* name);
        virtual void SetTexture(int stage, int textureID);
        virtual void SetShaderConst(int constID, int value);
        virtual void SetShaderConst(int constID, float value);
        virtual void SetShaderConst(int constID, const cVec2& value);
        virtual void SetShaderConst(int constID, const cVec3& value);
        virtual void SetShaderConst(int constID, const cVec4& value);
        virtual void SetShaderConst(int constID, const cMat3& value);
        virtual void SetShaderConst(int constID, const cMat4& value);
        virtual void SetShaderConst(int constID, const float* values, int count);
        virtual void SetShaderConst(int constID, const cVec2* values, int count);
        virtual void SetShaderConst(int constID, const cVec3* values, int count);
        virtual void SetShaderConst(int constID, const cVec4* values, int count);
        virtual void UpdateMatrices();
        virtual int  GetBlendStateID(cBlendFactor::Enum src, cBlendFactor::Enum dst, cBlendMode::Enum mode,
                                     unsigned writeMask);
        virtual void SetBlendState(int id);
        virtual int  GetDepthStateID(bool test, bool write, cDepthFunc::Enum func);
        virtual void SetDepthState(int id);
        virtual void SetCullMode(cCullMode::Enum mode);
        virtual void Clear(bool color, bool depth, const cColor& colorValue, float depthValue);
        virtual void BeginFrame();
        virtual void EndFrame();
        virtual void Finish();
        virtual int  AddRenderTarget(int width, int height, cFormat::Enum format, bool mipMaps, int flags);
        virtual int  AddRenderDepth(int id, cFormat::Enum format);
        virtual void SetRenderTargets(const int* targets, int count, int depth, const int* faces);
        virtual void SetRenderTargetSize(int id, int width, int height);
        virtual bool SaveRenderTarget(int id, cImage* image);

        // ---- Services for devices ----
        // Loads a shader file and splits it into its sections, with the
        // shader replacements applied. False when the file cannot be read.
        bool LoadShader(const char* fileName, cStr* vertexSource, cStr* pixelSource, int* vertexPos,
                        int* pixelPos);
        bool LoadShaderFromCache(const char* name, int vertexFormatID, const char* defines);  // no cache: false
        // The splitting itself: sections start at "// Vertex shader" and at
        // "// Fragment shader" or "// Pixel shader" (any letter case) and run
        // to the other marker or the end; a missing section is empty with
        // position -1. Returns a bit set: 1 vertex found, 2 pixel found.
        static int SplitShaderSource(const char* text, int length, cStr* vertexSource, cStr* pixelSource,
                                     int* vertexPos, int* pixelPos);
    };

    // Makes the device for Init. Filled at start-up by the layer that owns a
    // real device (the platform shell) or by a test; null makes a plain Stub.
    typedef Stub* (*DeviceFactory)(int type);
    static void SetDeviceFactory(DeviceFactory factory);

    // ---- Life cycle and queries ----
    static bool  Init(int type);  // false when a device exists or its Init fails
    static void  Free();
    static Stub* GetInstance();
    static int   GetType();       // 0 without a device
    static cStr  GetVendor();
    static int   GetMRTCount();
    static bool  SupportsFormat(cFormat::Enum format);
    static bool  SupportsNonPowerOfTwo();
    static bool  GetDeviceRecentReset();
    static bool  ScreenShot(cImage* image);
    static void  Finish();
    static bool  GetFlipRenderTarget();  // true on a device of type 2 (targets come out upside down)

    // ---- State ----
    static int  GetDepthStateID(bool test, bool write, cDepthFunc::Enum func);
    static int  GetBlendStateID(cBlendFactor::Enum src, cBlendFactor::Enum dst, cBlendMode::Enum mode,
                                unsigned writeMask);
    static int  GetSamplerStateID(cFilter::Enum filter, cAddressMode::Enum u, cAddressMode::Enum v,
                                  cAddressMode::Enum w);
    static void SetDepthState(int id);   // -1: the default state
    static void SetBlendState(int id);
    static void SetCullMode(cCullMode::Enum mode);
    static void SetWireframe(bool on);
    static int  GetDepthState();
    static int  GetBlendState();
    static cCullMode::Enum GetCullMode();
    static bool GetWireframe();
    static void PushDepthState();
    static void PopDepthState();         // sets the top only when it differs
    static void PushBlendState();
    static void PopBlendState();
    static void PushCullMode();
    static void PopCullMode();
    static void ResetStates();           // everything to its default, sent to the device

    // ---- Matrices ----
    static void         SetWorldMatrix(const cMat4& m);
    static const cMat4& GetWorldMatrix();
    static const cMat4& GetWorldMatrixInverse();  // identity for a singular world matrix
    static const cMat3& GetNormalMatrix();
    static void         PushWorldMatrix();
    static void         PopWorldMatrix();
    static void         SetTextureMatrix(const cMat4& m, int stage);  // ignored outside 0..3
    static const cMat4& GetTextureMatrix(int stage);                  // stage 0's outside 0..3

    // ---- Viewer and clipping ----
    static void         SetViewer(cViewer* viewer);
    static cViewer*     GetViewer();
    static void         SetClipRect(const cRect& rect);  // cRect::Empty: no clipping
    static const cRect& GetClipRect();
    static void         PushClipRect();
    static void         PopClipRect();

    // ---- Render targets ----
    static int  AddRenderTarget(int width, int height, cFormat::Enum format, int samplerStateID, bool mipMaps,
                                int flags);
    static int  AddRenderDepth(int id);
    static void SetRenderTargetSize(int id, int width, int height);
    static bool SaveRenderTarget(int id, cImage* image);
    static int  GetTextureRenderTargetUsage(int id);
    static void PushRenderTarget(const int* targets, int count, int depth, const int* faces,
                                 bool useViewerAspect);
    static void PushRenderTarget(int target, int depth = -1) { PushRenderTarget(&target, 1, depth, nullptr, false); }
    static void PopRenderTarget();
    static int  GetRenderTargetMaxDepth();  // deepest the stack has been

    // ---- Textures and samplers ----
    static int  GetTextureID(const char* name, int samplerStateID);
    static int  AddTexture(const char* name, int samplerStateID);
    static int  AddTexture(const cImage& image, int samplerStateID);
    static void ReloadTextures();
    static void ReloadTexture(int id);
    static void ReloadTexture(const char* name);
    static void UnloadTextures();
    static void FreeTexture(int id);
    static cStr GetTextureFilePn(int id);
    static int  GetTextureWidth(int id);
    static int  GetTextureHeight(int id);
    static int  GetTextureDepth(int id);
    static cFormat::Enum GetTextureFormat(int id);
    static int  GetTextureMipMapCount(int id);
    static bool GetExpandTexturesToPowerOfTwo();
    static void SetExpandTexturesToPowerOfTwo(bool on);
    static void UpdateTexture(int id, const cImage& image, const cList<cRect>& dirty);
    static void UpdateTexture(int id, const cList<cImage*>& images, const cList<cRect>& rects);
    static void SetSamplerState(int textureID, int samplerStateID);
    static int  GetSamplerID(int shaderID, const char* name);
    static void SetTexture(int stage, int textureID, int samplerStateID);

    // ---- Shaders ----
    static int  GetShaderID(const char* name, int vertexFormatID, const char* defines = nullptr);
    static int  AddShader(const char* name, int vertexFormatID, const char* defines = nullptr);
    static void FreeShader(int id);
    static void ReloadShaders();
    static void SetShader(int id);
    static int  GetShaderConstID(int shaderID, const char* name);
    static void SetShaderConst(int constID, int value);
    static void SetShaderConst(int constID, float value);
    static void SetShaderConst(int constID, const cVec2& value);
    static void SetShaderConst(int constID, const cVec3& value);
    static void SetShaderConst(int constID, const cVec4& value);
    static void SetShaderConst(int constID, const cColor& value);  // as a cVec4
    static void SetShaderConst(int constID, const cRect& value);   // as the cVec4 x0, y0, x1, y1
    static void SetShaderConst(int constID, const cMat3& value);
    static void SetShaderConst(int constID, const cMat4& value);
    static void SetShaderConst(int constID, const float* values, int count);
    static void SetShaderConst(int constID, const cVec2* values, int count);
    static void SetShaderConst(int constID, const cVec3* values, int count);
    static void SetShaderConst(int constID, const cVec4* values, int count);
    static void SetShaderConst(int constID, const cColor* values, int count);
    // Every shader source loaded afterwards has what replaced by with (null: "").
    static void ReplaceInShaders(const char* what, const char* with);
    static const cList<cRender_ReplaceInShaders_t>& GetReplaceInShaders();  // sorted by What

    // Constants the device fills in for any shader that declares them.
    struct AutoConst {
        enum Enum {
            ViewportWidth = 0, ViewportHeight, ViewportInvWidth, ViewportInvHeight, WorldMatrix,
            WorldMatrixInverse, ViewerPos, WorldViewMatrix, ViewProjectionMatrix, WorldViewProjectionMatrix,
            ProjectionMatrix, ScreenMatrix, ScreenMatrixInverse, NormalMatrix, NormalViewMatrix, TimeSec,
            FrameTimeSec, TextureMatrix0, TextureMatrix1, TextureMatrix2, TextureMatrix3, Count
        };
        static const char* ToString(int index);      // null outside 0..20
        static int         FromString(const char* name);  // exact match; -1 when none
    };

    // ---- Vertex formats, buffers and draws ----
    static int  AddVertexFormat(const cVertex::Format& format);
    static int  GetVertexSize(int formatID);
    static int  AddVertexBuffer(const void* data, size_t bytes);
    static int  AddIndexBuffer(const void* data, int count, int indexSize);
    static void FreeVertexBuffer(int id);
    static void FreeIndexBuffer(int id);
    static void SetVertexBuffer(int id);
    static void SetIndexBuffer(int id);
    static void DrawArrays(cTopology::Enum topology);
    static void DrawIndexed(cTopology::Enum topology);
    static void DrawArrays(cTopology::Enum topology, const void* vertices, int count);
    static void DrawIndexed(cTopology::Enum topology, const void* vertices, int vertexCount, const void* indices,
                            int indexCount, int indexSize);

    // ---- Frames ----
    static void Clear(bool color, bool depth, const cColor& colorValue, float depthValue = 1.0f);
    static void BeginFrame();  // ignored while a frame is open
    static void EndFrame();    // ignored while none is open
    static bool IsFrameOpen();
    static int  PixelsPerPoint;

    // ---- Fonts and text (screen space, y up; text hangs below its top-left point) ----
    // The id of a font by name (any letter case), loading "Fonts/NAME.cFont"
    // and its texture "Fonts/NAME.bmp" the first time; -1 when the file is bad.
    static int    GetFontID(const char* name);
    // A loaded font's texture goes with the device (cRender::Free) and is
    // loaded again on its first use under the next one; a texture given to
    // AddFont is the caller's and is kept as given.
    static int    AddFont(const char* name, const cFont& font, int textureID);  // copied; the new id
    static cFont* GetFont(int id);              // null outside the table; valid until the next font is added
    static int    GetFontTextureID(int id);     // -1 outside the table and while no device holds it
    // Flags of DrawString: placement and what is returned.
    struct TextFlags {
        enum Enum {
            CenterX = 1, Right = 2, CenterY = 4, Baseline = 8, Bottom = 16,
            MeasureOnly = 32, Tight = 64
        };
    };
    // Draws the text with its top-left at (x, y), or with the placement the
    // flags choose; returns the cell rectangle (or the inked one with Tight).
    // An unknown font or an empty text gives cRect::Zero. Colours: the first
    // is used; null draws black.
    static cRect DrawString(int fontID, const char* text, float x, float y, int flags, const cColor* colors);
    static cRect DrawString(int fontID, const char* text, float x, float y) { return DrawString(fontID, text, x, y, 0, nullptr); }
    static cRect DrawString(int fontID, const char* text, float x, float y, int flags) { return DrawString(fontID, text, x, y, flags, nullptr); }
    static cRect DrawString(int fontID, const char* text, float x, float y, const cColor& c) { return DrawString(fontID, text, x, y, 0, &c); }
    static cRect DrawString(int fontID, const char* text, float x, float y, int flags, const cColor& c) { return DrawString(fontID, text, x, y, flags, &c); }
    static cRect DrawString(int fontID, const char* text, const cVec2& p) { return DrawString(fontID, text, p.x, p.y, 0, nullptr); }
    static cRect DrawString(int fontID, const char* text, const cVec2& p, int flags) { return DrawString(fontID, text, p.x, p.y, flags, nullptr); }
    static cRect DrawString(int fontID, const char* text, const cVec2& p, const cColor& c) { return DrawString(fontID, text, p.x, p.y, 0, &c); }
    static cRect DrawString(int fontID, const char* text, const cVec2& p, int flags, const cColor& c) { return DrawString(fontID, text, p.x, p.y, flags, &c); }
    // World-space forms: the point is projected to the viewport of the
    // current viewer first; nothing is drawn without a viewer or behind it.
    static cRect DrawString(int fontID, const char* text, const cVec3& p, int flags, const cColor* colors);
    static cRect DrawString(int fontID, const char* text, const cVec3& p) { return DrawString(fontID, text, p, 0, nullptr); }
    static cRect DrawString(int fontID, const char* text, const cVec3& p, int flags) { return DrawString(fontID, text, p, flags, nullptr); }
    static cRect DrawString(int fontID, const char* text, const cVec3& p, const cColor& c) { return DrawString(fontID, text, p, 0, &c); }
    static cRect DrawString(int fontID, const char* text, const cVec3& p, int flags, const cColor& c) { return DrawString(fontID, text, p, flags, &c); }
    static cRect MeasureStringCells(int fontID, const char* text) { return DrawString(fontID, text, 0, 0, 32, nullptr); }
    static cRect MeasureStringTightRect(int fontID, const char* text) { return DrawString(fontID, text, 0, 0, 96, nullptr); }
    // Keeps only the characters the font has a glyph for; an unknown font changes nothing.
    static void  EnsurePrintable(int fontID, cStr* text);

    // ---- Immediate 2D helpers ----
    // Packed vertex colour r | g << 8 | b << 16 | a << 24, each channel clamped and rounded.
    static unsigned PackColor(const cColor& c);

    struct LinearGradient {
        enum Enum { Horizontal = 0, Vertical };  // colour 0 at x0 / y0, colour 1 at x1 / y1
    };
    struct IconState {
        enum Enum { Normal = 0, Disabled, Hot };
    };
    struct FillRectangleTexturedArgs {
        int    SamplerStateID = -1;              // -1 keeps the texture's sampler
        float  Alpha = 1.0f;
        int    FaceIndex = 0;                    // cube face or volume slice
        bool   OverrideAlpha = false;            // draw with Alpha instead of the texture's alpha
        bool   AlphaChannelAsColor = false;      // show the alpha channel as grey
        cRect  TexCoords = cRect(0, 0, 1, 1);
        cColor Color = cColor(1, 1, 1, 1);
    };
    // The shape of a cave-cave corner: a radial gradient cut by three lines.
    struct CaveCornerArgs {
        cVec2  CaveFrom, CaveTo, FlatFrom, FlatTo, HalfFrom, HalfTo;
        float  HalfFlat = 0;
        float  GradRadius = 1;
        cColor CenterColor, BoundColor;
        float  Power = 1;
    };
    // Arguments of DrawGrid; Validate puts back sane values.
    struct GridArgs {
        float Size = 20;          // half extent of the grid (at least 1)
        float FadeDistance = 20;  // where minor lines have faded out (at least 0.001)
        float Step = 5;           // distance between minor lines (at least 0.001)
        int   MajorEvery = 5;     // a major line every this many minor lines (at least 1)
        bool  DrawMinor = true;
        bool  DrawMajor = true;
        bool  DrawAxes = true;
        bool  Fill = false;       // a translucent plane under the lines
        cMat4 Transform = cMat4::Identity;

        void Validate();
    };

    static void DrawLine(int x0, int y0, int x1, int y1, const cColor& color);
    static void DrawLine(float x0, float y0, float x1, float y1, const cColor& color);
    static void DrawLine(const cVec2& a, const cVec2& b, const cColor& color);
    static void DrawRectangle(const cRect& r, const cColor& color);
    static void DrawRectangle(int x, int y, int w, int h, const cColor& color);
    static void DrawRectangle(float x, float y, float w, float h, const cColor& color);
    static void FillRectanglesSolid(const cRect* rects, int count, const cColor& color, int shaderID = -1);
    static void FillRectangleSolid(const cRect& r, const cColor& color) { FillRectanglesSolid(&r, 1, color); }
    static void FillRectangleSolid(int x, int y, int w, int h, const cColor& color);
    static void FillRectangleSolid(float x, float y, float w, float h, const cColor& color);
    static void FillRectangleDither(const cRect& r, const cVec2& origin, const cColor& c0, const cColor& c1);
    static void FillRectangleLinearGradient(const cRect& r, const cColor& c0, const cColor& c1,
                                            LinearGradient::Enum direction);
    static void FillRectanglesLinearGradient(const cRect* rects, int count, const cColor& c0, const cColor& c1,
                                             LinearGradient::Enum direction);
    static void FillSegmentRadialGradient(const cVec2& from, const cVec2& to, float segRadius, float gradRadius,
                                          const cColor& center, const cColor& bound, float power = 1);
    static void FillCircleRadialGradient(const cVec2& center, float radius, const cColor& centerColor,
                                         const cColor& boundColor, float power = 1);
    static void FillRectangleRadialGradient(const cRect& r, bool horizontal, const cColor& centerColor,
                                            const cColor& boundColor, float power = 1);
    static void DrawCaveCaveCorner(const cRect& r, const CaveCornerArgs& args);
    // Icon index of a strip of count icons side by side in the texture.
    static void DrawIcon(const cRect& r, int textureID, int samplerStateID, IconState::Enum state, float alpha,
                         int index = 0, int count = 1);
    static void FillRectangleTextured(const cRect& r, int textureID, const FillRectangleTexturedArgs& args);
    static void FillCircleSolid(const cVec2& center, float radius, const cColor& color, int segments = 32);
    static void DrawRectanglesDot(const cRect* rects, int count, const cColor& color);
    static void DrawRectangleDot(const cRect& r, const cColor& color) { DrawRectanglesDot(&r, 1, color); }
    static void DrawNoPreview(const cRect& r, const cColor& color);  // outline with both diagonals

    // ---- Immediate 3D helpers (world space, shader "Colored") ----
    static void DrawLine(const cVec3& a, const cVec3& b, const cColor& color);
    static void DrawLineStrip(const cVec3* points, int count, const cColor& color);  // one draw; nothing below 2 points
    static void DrawCubeWire(const cVec3& center, float size, const cColor& color);
    static void DrawCubeSolid(const cVec3& center, float size, const cColor& color);
    static void DrawCrossHair(const cVec3& position, float size, const cColor& color);
    static void DrawCircle(const cVec3& center, const cVec3& normal, float radius, const cColor& color,
                           int segments = 32);
    static void DrawFacingCircle(const cVec3& center, float radius, const cColor& color, int segments = 32);
    static void DrawSphereWire(const cVec3& center, float radius, const cColor& color, int segments = 32);
    static void DrawConeSolid(const cVec3& apex, const cVec3& baseCenter, float radius, const cColor& color,
                              int segments = 16);
    static void DrawConeWire(const cVec3& apex, const cVec3& baseCenter, float radius, const cColor& color,
                             int segments = 16);
    // A pie slice in the plane of normal, from direction from through angle degrees.
    static void DrawSector(const cVec3& center, const cVec3& normal, const cVec3& from, float angle, float radius,
                           const cColor& color, int segments = 32);
    static void DrawBounds(const cBounds& bounds, const cColor& color);
    static void DrawFrustumWire(const cMat4& viewProjection, const cColor& color);
    static void DrawCamera(const cMat4& viewProjection, const cColor& color);  // frustum and an up marker
    static void DrawBillboardQuadsSolid(const cVec3* centers, int count, float size, const cColor& color);
    static void DrawGrid(const GridArgs& args);

    // ---- Helpers drawn with the shader the caller has set ----
    static void FillRectangleTexturedCurShader(const cRect& r, const cRect& texCoords = cRect(0, 0, 1, 1));
    static void FillRectangleCubeCurShader(const cRect& r, int face);  // texture coordinates -1..1, z the face
    static void DrawCubesCurShader(const cVec3* centers, int count, float size);
    static void FillCirclesCurShader(const cVec2* centers, const float* radii, int count, const cColor& color);
    static void FillCircleColoredCurShader(const cVec2& center, float radius, const cColor& color);
    static void DrawFrustumWireCurShader(const cMat4& viewProjection);
    static void DrawFrustumSolidCurShader(const cMat4& viewProjection);

    struct State;  // the process-wide state, in RenderState.h

private:
    friend int cRender_DeviceGeneration();
    friend void cRender_DrawWaitingText(bool);
    friend void cRender_DrawWaitingShapes(bool);
    friend void cRender_DrawRuns(cTopology::Enum, const void*, int, int, int*, int, int, int);
    static State s;
};

// ---- Inline ----

inline unsigned cRender::PackColor(const cColor& c) {
    auto channel = [](float f) -> unsigned {
        if (f >= 1.0f) return 255;
        if (!(f > 0.0f)) return 0;  // also NaN
        return (unsigned)(f * 255.0f + 0.5f);
    };
    return channel(c.r) | channel(c.g) << 8 | channel(c.b) << 16 | channel(c.a) << 24;
}

}  // namespace zozud
