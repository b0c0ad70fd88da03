// The life cycle of the render front end, its queries, the shadowed pipeline
// state with its stacks, the matrices, the viewer and the clip rectangle.
// Every set-call compares with its shadow first, so only real changes reach
// the device; ResetStates is the one place that sends values unconditionally.
#include "zozud/render/Render.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "zozud/core/Log.h"
#include "zozud/render/DeviceGL.h"
#include "zozud/render/RenderState.h"
#include "zozud/render/Viewer.h"

namespace zozud {

cRender::State cRender::s;
int cRender::PixelsPerPoint = 1;

namespace {

// Both empty, or every coordinate within 0.001: the device need not be told.
bool SameClip(const cRect& a, const cRect& b) {
    if (a.IsEmpty() && b.IsEmpty()) return true;
    return std::fabs(a.x0 - b.x0) <= 0.001f && std::fabs(a.y0 - b.y0) <= 0.001f &&
           std::fabs(a.x1 - b.x1) <= 0.001f && std::fabs(a.y1 - b.y1) <= 0.001f;
}

template <class T>
bool PopTop(cList<T>& stack, T* top) {
    if (stack.IsEmpty()) return false;
    *top = stack.GetLast();
    stack.RemoveAt(stack.Count() - 1);
    return true;
}

}  // namespace

// ---- Life cycle ----

void cRender::SetDeviceFactory(DeviceFactory factory) { s.Factory = factory; }

bool cRender::Init(int type) {
    if (s.Instance) return false;
    Stub* device = s.Factory ? s.Factory(type) : type == 2 ? new cRenderDeviceGL() : new Stub();
    if (!device) return false;
    s.Instance = device;
    if (!device->Init(type)) {
        s.Instance = nullptr;
        delete device;
        return false;
    }
    s.DeviceGeneration++;
    s.FrameOpen = false;
    ResetStates();
    cLog::Message("Registering vertex formats...");
    cVertex::Register();
    return true;
}

void cRender::Free() {
    if (!s.Instance) return;
    s.Instance->Free();
    delete s.Instance;
    s.Instance = nullptr;
    for (int i = 0; i < s.Fonts.Count(); i++)  // font textures loaded by name went with the device
        if (!s.Fonts[i].TextureName.IsEmpty()) s.Fonts[i].TextureID = -1;
    s.DepthStatesStack.Clear();
    s.BlendStatesStack.Clear();
    s.CullModesStack.Clear();
    s.RenderTargetsStack.Clear();
    s.ClipRectsStack.Clear();
    s.WorldMatricesStack.Clear();
}

cRender::Stub* cRender::GetInstance() {
    cRender_DrawWaiting();  // whoever holds the device sees all text and shapes drawn
    return s.Instance;
}
cRender_WaitingArea cRender_WaitingBounds;

void cRender_WaitingArea::Add(const void* vertices, int stride, int count, bool lines) {
    if (!Known || count <= 0) return;
    if (!(cRender::GetWorldMatrix() == cMat4::Identity)) {
        Known = false;
        return;
    }
    const unsigned char* at = static_cast<const unsigned char*>(vertices);
    const float reach = lines ? 1.0f : 0.0f;
    for (int i = 0; i < count; i++, at += stride) {
        float p[2];
        memcpy(p, at, sizeof p);
        if (!std::isfinite(p[0]) || !std::isfinite(p[1])) {
            Known = false;
            return;
        }
        Bounds.x0 = std::min(Bounds.x0, p[0]), Bounds.x1 = std::max(Bounds.x1, p[0] + reach);
        Bounds.y0 = std::min(Bounds.y0, p[1]), Bounds.y1 = std::max(Bounds.y1, p[1] + reach);
    }
}

// A pixel i is lit only when its centre i + 0.5 lies within the bounds; the
// device's scissor keeps pixels x0..x1-1 of the rounded rectangle (all of
// them for the empty one).
bool cRender_WaitingArea::Inside(const cRect& clip) const {
    if (clip.IsEmpty()) return true;
    if (!Known) return false;
    if (Bounds.IsEmpty()) return true;
    float x0 = std::floor(clip.x0 + 0.5f), y0 = std::floor(clip.y0 + 0.5f);
    float x1 = std::floor(clip.x1 + 0.5f), y1 = std::floor(clip.y1 + 0.5f);
    return std::ceil(Bounds.x0 - 0.5f) >= x0 && std::ceil(Bounds.y0 - 0.5f) >= y0 &&
           std::floor(Bounds.x1 - 0.5f) <= x1 - 1 && std::floor(Bounds.y1 - 0.5f) <= y1 - 1;
}

void cRender_DrawRuns(cTopology::Enum topology, const void* verts, int vertexSize, int vertCount, int* indices,
                      int indexCount, int splitVerts, int splitIndices) {
    cRender::Stub* device = cRender::s.Instance.Raw();
    if (!device || indexCount <= 0) return;
    if (splitIndices > 0) {
        device->SetClipRect(cRect::Empty);
        device->DrawIndexed(topology, verts, splitVerts, indices, splitIndices, 4);
        device->SetClipRect(cRender::s.CurClipRect);
    }
    if (indexCount > splitIndices) {
        int* rest = indices + splitIndices;
        for (int i = 0; i < indexCount - splitIndices; i++) rest[i] -= splitVerts;
        device->DrawIndexed(topology, static_cast<const unsigned char*>(verts) + (size_t)splitVerts * vertexSize,
                            vertCount - splitVerts, rest, indexCount - splitIndices, 4);
    }
}

int cRender_DeviceGeneration() { return cRender::s.DeviceGeneration; }
int  cRender::GetType() { return s.Instance ? s.Instance->GetType() : 0; }
cStr cRender::GetVendor() { return s.Instance ? s.Instance->GetVendor() : cStr(); }
int  cRender::GetMRTCount() { return s.Instance ? s.Instance->GetMRTCount() : 0; }
bool cRender::SupportsFormat(cFormat::Enum f) { return s.Instance && s.Instance->SupportsFormat(f); }
bool cRender::SupportsNonPowerOfTwo() { return s.Instance && s.Instance->SupportsNonPowerOfTwo(); }
bool cRender::GetDeviceRecentReset() { return s.Instance && s.Instance->GetDeviceRecentReset(); }
bool cRender::ScreenShot(cImage* image) { return s.Instance && s.Instance->ScreenShot(image); }
void cRender::Finish() { if (s.Instance) s.Instance->Finish(); }
bool cRender::GetFlipRenderTarget() { return s.Instance && GetType() == 2; }

// ---- State ----

int cRender::GetDepthStateID(bool test, bool write, cDepthFunc::Enum func) {
    return s.Instance ? s.Instance->GetDepthStateID(test, write, func) : -1;
}

int cRender::GetBlendStateID(cBlendFactor::Enum src, cBlendFactor::Enum dst, cBlendMode::Enum mode,
                             unsigned writeMask) {
    return s.Instance ? s.Instance->GetBlendStateID(src, dst, mode, writeMask) : -1;
}

int cRender::GetSamplerStateID(cFilter::Enum filter, cAddressMode::Enum u, cAddressMode::Enum v,
                               cAddressMode::Enum w) {
    return s.Instance ? s.Instance->GetSamplerStateID(filter, u, v, w) : -1;
}

void cRender::SetDepthState(int id) {
    if (id == s.CurDepthStateID) return;
    s.CurDepthStateID = id;
    if (s.Instance) s.Instance->SetDepthState(id);
}

void cRender::SetBlendState(int id) {
    if (id == s.CurBlendStateID) return;
    s.CurBlendStateID = id;
    if (s.Instance) s.Instance->SetBlendState(id);
}

void cRender::SetCullMode(cCullMode::Enum mode) {
    if (mode == s.CurCullMode) return;
    s.CurCullMode = mode;
    if (s.Instance) s.Instance->SetCullMode(mode);
}

void cRender::SetWireframe(bool on) {
    if (on == s.Wireframe) return;
    s.Wireframe = on;
    if (s.Instance) s.Instance->SetWireframe(on);
}

int  cRender::GetDepthState() { return s.CurDepthStateID; }
int  cRender::GetBlendState() { return s.CurBlendStateID; }
cCullMode::Enum cRender::GetCullMode() { return s.CurCullMode; }
bool cRender::GetWireframe() { return s.Wireframe; }

void cRender::PushDepthState() { s.DepthStatesStack.Add(s.CurDepthStateID); }
void cRender::PushBlendState() { s.BlendStatesStack.Add(s.CurBlendStateID); }
void cRender::PushCullMode() { s.CullModesStack.Add(s.CurCullMode); }

void cRender::PopDepthState() {
    int top;
    if (PopTop(s.DepthStatesStack, &top)) SetDepthState(top);
}

void cRender::PopBlendState() {
    int top;
    if (PopTop(s.BlendStatesStack, &top)) SetBlendState(top);
}

void cRender::PopCullMode() {
    cCullMode::Enum top;
    if (PopTop(s.CullModesStack, &top)) SetCullMode(top);
}

void cRender::ResetStates() {
    cRender_DrawWaiting();
    s.CurDepthStateID = -1;
    s.CurBlendStateID = -1;
    s.CurCullMode = cCullMode::None;
    if (s.Instance) {
        s.Instance->SetDepthState(-1);
        s.Instance->SetBlendState(-1);
        s.Instance->SetCullMode(cCullMode::None);
    }
    s.WorldMatrix = cMat4::Identity;
    s.WorldMatrixInverse = cMat4::Identity;
    s.NormalMatrix = cMat3::Identity;
    s.WorldMatrixInverseValid = true;
    s.NormalMatrixValid = true;
    for (cMat4& m : s.TextureMatrix) m = cMat4::Identity;
    s.Wireframe = false;
    if (s.Instance) s.Instance->SetWireframe(false);
    s.CurClipRect = cRect::Empty;
    if (s.Instance) s.Instance->SetClipRect(cRect::Empty);
}

// ---- Matrices ----

void cRender::SetWorldMatrix(const cMat4& m) {
    if (m == s.WorldMatrix) return;  // the pop after a push of the same matrix keeps a batch going
    cRender_DrawWaiting();  // drawn with the matrix of its calls, which the device reads when it draws
    s.WorldMatrix = m;
    s.WorldMatrixInverseValid = false;
    s.NormalMatrixValid = false;
    if (s.Instance) s.Instance->UpdateMatrices();
}

const cMat4& cRender::GetWorldMatrix() { return s.WorldMatrix; }

const cMat4& cRender::GetWorldMatrixInverse() {
    if (!s.WorldMatrixInverseValid) {
        if (!cMat4::Invert(s.WorldMatrix, &s.WorldMatrixInverse)) s.WorldMatrixInverse = cMat4::Identity;
        s.WorldMatrixInverseValid = true;
    }
    return s.WorldMatrixInverse;
}

const cMat3& cRender::GetNormalMatrix() {
    if (!s.NormalMatrixValid) {
        s.NormalMatrix = s.WorldMatrix.ToNormalMatrix();
        s.NormalMatrixValid = true;
    }
    return s.NormalMatrix;
}

void cRender::PushWorldMatrix() { s.WorldMatricesStack.Add(s.WorldMatrix); }

void cRender::PopWorldMatrix() {
    cMat4 top;
    if (PopTop(s.WorldMatricesStack, &top)) SetWorldMatrix(top);
}

void cRender::SetTextureMatrix(const cMat4& m, int stage) {
    if (stage < 0 || stage >= 4) return;
    cRender_DrawWaiting();
    s.TextureMatrix[stage] = m;
    if (s.Instance) s.Instance->UpdateMatrices();
}

const cMat4& cRender::GetTextureMatrix(int stage) {
    return s.TextureMatrix[stage >= 0 && stage < 4 ? stage : 0];
}

// ---- Viewer and clipping ----

void cRender::SetViewer(cViewer* viewer) {
    cRender_DrawWaiting();
    s.Viewer = viewer;
    if (!s.Instance) return;
    if (viewer) s.Instance->SetViewport(viewer->Viewport);
    s.Instance->UpdateMatrices();
}

cViewer* cRender::GetViewer() { return s.Viewer; }

void cRender::SetClipRect(const cRect& rect) {
    if (SameClip(s.CurClipRect, rect)) return;
    // A batch whose last run lies inside the old rectangle keeps waiting, the
    // next calls making a new run. The rectangles are in pixels of the
    // target, the batch in pixels of the viewport: they agree when the
    // viewport starts at the target's corner.
    bool keep = (cRender_TextWaiting || cRender_ShapesWaiting) && s.Instance &&
                (!s.Viewer || (s.Viewer->Viewport.x0 == 0 && s.Viewer->Viewport.y0 == 0)) &&
                cRender_WaitingBounds.Inside(s.CurClipRect);
    if (!keep) cRender_DrawWaiting();  // with the clip rectangle of its calls
    s.CurClipRect = rect;
    if (keep) {
        if (cRender_TextWaiting) cRender_SplitWaitingText();
        if (cRender_ShapesWaiting) cRender_SplitWaitingShapes();
        cRender_WaitingBounds.Reset();
        return s.Instance.Raw()->SetClipRect(rect);
    }
    if (s.Instance) s.Instance->SetClipRect(rect);
}

const cRect& cRender::GetClipRect() { return s.CurClipRect; }

void cRender::PushClipRect() { s.ClipRectsStack.Add(s.CurClipRect); }

void cRender::PopClipRect() {
    cRect top;
    if (PopTop(s.ClipRectsStack, &top)) SetClipRect(top);
}

// ---- Frames ----

void cRender::Clear(bool color, bool depth, const cColor& colorValue, float depthValue) {
    if (s.Instance) s.Instance->Clear(color, depth, colorValue, depthValue);
}

void cRender::BeginFrame() {
    if (s.FrameOpen) return;
    if (s.Instance) s.Instance->BeginFrame();
    s.FrameOpen = true;
}

void cRender::EndFrame() {
    if (!s.FrameOpen) return;
    if (s.Instance) s.Instance->EndFrame();
    s.FrameOpen = false;
}

bool cRender::IsFrameOpen() { return s.FrameOpen; }

}  // namespace zozud
