// The process-wide state of the render front end, shared by its source files.
// Not for users of cRender: they go through its functions.
#pragma once

#include "zozud/render/Font.h"
#include "zozud/render/Render.h"

namespace zozud {

struct cRender_FontEntry {
    cStr  Name;       // as first asked for
    cFont Font;
    int   TextureID;
};

// Text waiting to be drawn (RenderText.cpp): consecutive DrawString calls
// with one glyph texture become one draw. Drawn before the device hears of
// anything else.
extern bool cRender_TextWaiting;
void        cRender_DrawWaitingText();

// The device pointer of the front end. Reaching the device through it first
// draws any waiting text, so the device sees every draw in the order the
// calls were made and with the state they were made in.
class cRender_DevicePtr {
public:
    cRender_DevicePtr& operator=(cRender::Stub* device) { m_Device = device; return *this; }
    cRender::Stub* operator->() const {
        if (cRender_TextWaiting) cRender_DrawWaitingText();
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
