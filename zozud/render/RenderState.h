// The process-wide state of the render front end, shared by its source files.
// Not for users of cRender: they go through its functions.
#pragma once

#include "zozud/render/Font.h"
#include "zozud/render/Render.h"

namespace zozud {

// The glyph texture of a font loaded by name belongs to the device it was
// loaded on: cRender::Free forgets it, and the first use under a new device
// loads it again. A texture given to AddFont stays the caller's, as given.
struct cRender_FontEntry {
    cStr  Name;         // as first asked for
    cFont Font;
    int   TextureID;    // -1 while no device holds a texture loaded by name
    cStr  TextureName;  // the file of a texture loaded by name; empty for one given to AddFont
    int   Generation;   // the device TextureID was loaded on (cRender::State::DeviceGeneration)
};


// Text waiting to be drawn (RenderText.cpp): consecutive DrawString calls
// with one glyph texture become one draw. Drawn before the device hears of
// anything else.
extern bool cRender_TextWaiting;
void        cRender_DrawWaitingText(bool restate);

// Lines and flat or gradient fills waiting to be drawn (RenderDraw2D.cpp):
// consecutive calls of one shader and primitive become one draw, under the
// same rule as text. The shader and blend of a batch, to draw it with when
// text set the device up after it.
extern bool cRender_ShapesWaiting;
void        cRender_DrawWaitingShapes(bool restate);

// Clip rectangles under a waiting batch. A batch is made of runs, one per
// clip rectangle it was drawn under: every run but the last lies inside its
// rectangle, so the scissor would cut none of it and the runs before the
// last are drawn in one draw with no scissor, the last run with the
// current one. A clip rectangle that changes while the last run lies inside
// the old rectangle starts a new run; otherwise the batch is drawn first.
// Bounds hold the pixel centres the last run may light, in pixels of the
// viewport; unknown once a call of the run was made under a world matrix
// other than identity, or with a coordinate that is not finite.
struct cRender_WaitingArea {
    cRect Bounds = cRect::Empty;
    bool  Known = true;

    // Adds the x, y (the first two floats) of count vertices stride bytes
    // apart: of triangles, or of lines (which light the pixel to the right
    // of and above a vertex).
    void Add(const void* vertices, int stride, int count, bool lines);
    // Whether the scissor of the clip rectangle cuts nothing of the last run.
    bool Inside(const cRect& clip) const;
    void Reset() { Bounds = cRect::Empty, Known = true; }
};
extern cRender_WaitingArea cRender_WaitingBounds;

// Ends the last run of the waiting batch (text or shapes).
void cRender_SplitWaitingText();
void cRender_SplitWaitingShapes();

// Draws a waiting batch of runs: vertices [0, splitVerts) with indices
// [0, splitIndices) with no scissor, the rest with the current clip
// rectangle. The indices of the rest are rebased in place.
void cRender_DrawRuns(cTopology::Enum topology, const void* verts, int vertexSize, int vertCount, int* indices,
                      int indexCount, int splitVerts, int splitIndices);

// Text may start while shapes wait (cRender_KeepShapes set while it sets the
// device up): both then wait, the shapes to be drawn first, with their own
// shader and blend. A later shape call joins the shapes only where it
// touches none of the waiting text's rectangles, so drawing all shapes
// before all text shows what drawing in call order would.
extern bool cRender_KeepShapes;
bool        cRender_TouchesWaitingText(const cRect& bounds);
void        cRender_AddWaitingTextRect(const cRect& bounds);

// Draws whatever waits, shapes first.
inline void cRender_DrawWaiting() {
    const bool both = cRender_ShapesWaiting && cRender_TextWaiting;
    if (cRender_ShapesWaiting) cRender_DrawWaitingShapes(both);
    if (cRender_TextWaiting) cRender_DrawWaitingText(both);
}

// The device pointer of the front end. Reaching the device through it first
// draws any waiting text or shapes, so the device sees every draw in the order the
// calls were made and with the state they were made in.
class cRender_DevicePtr {
public:
    cRender_DevicePtr& operator=(cRender::Stub* device) { m_Device = device; return *this; }
    cRender::Stub* operator->() const {
        if (!cRender_KeepShapes) cRender_DrawWaiting();
        return m_Device;
    }
    operator cRender::Stub*() const { return m_Device; }  // tests and delete; draws nothing
    cRender::Stub* Raw() const { return m_Device; }

private:
    cRender::Stub* m_Device = nullptr;
};

struct cRender::State {
    cRender_DevicePtr Instance;             // the device; null before Init and after Free
    int            DeviceGeneration = 0;    // counts the devices made by Init
    DeviceFactory  Factory = nullptr;

    int            CurDepthStateID = -1;
    int            CurBlendStateID = -1;
    cCullMode::Enum CurCullMode = cCullMode::None;
    bool           Wireframe = false;

    cMat4          WorldMatrix = cMat4::Identity;
    cMat4          WorldMatrixInverse = cMat4::Identity;
    cMat3          NormalMatrix = cMat3::Identity;
    bool           WorldMatrixInverseValid = true;
    bool           NormalMatrixValid = true;
    cMat4          TextureMatrix[4] = {cMat4::Identity, cMat4::Identity, cMat4::Identity, cMat4::Identity};

    cRect          CurClipRect = cRect::Empty;
    cViewer*       Viewer = nullptr;
    bool           FrameOpen = false;
    bool           ExpandTexturesToPowerOfTwo = true;

    cList<int>             DepthStatesStack;
    cList<int>             BlendStatesStack;
    cList<cCullMode::Enum> CullModesStack;
    cList<cMat4>           WorldMatricesStack;
    cList<cRect>           ClipRectsStack;
    cList<cRender_RenderTarget> RenderTargetsStack;
    int                    RenderTargetsMaxDepth = 0;

    cList<cRender_ReplaceInShaders_t> ReplaceInShaders;  // sorted by What
    cList<cRender_FontEntry>          Fonts;
};

}  // namespace zozud
