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

struct cRender::State {
    Stub*          Instance = nullptr;      // the device; null before Init and after Free
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
