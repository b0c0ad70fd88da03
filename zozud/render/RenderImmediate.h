// Shared pieces of the immediate helpers: a named shader resolved on first
// use together with its constants, the neutral 2D pipeline, and quads. Each
// helper keeps its shader slot and its vertex lists in function-local
// statics, so steady-state drawing allocates nothing. Internal to the
// render layer.
#pragma once

#include "zozud/render/Render.h"

namespace zozud {

// Which device made the ids a helper keeps: it changes with every Init, so
// ids of an earlier device are asked for again.
int cRender_DeviceGeneration();

// A shader of the helpers and the ids of its constants (and samplers).
// Unresolved ids are -1 and asked for again until the device gives one, so a
// helper called before a device exists still works once there is one.
struct cRender_ShaderSlot {
    static const int MaxConsts = 16;
    int id = -1;
    int generation = -1;
    int consts[MaxConsts] = {};

    // Sets the shader, resolving it and the named constants when needed.
    // Names starting with "s_" are sampler slots, the others constants.
    int Use(const char* name, int formatID, const char* defines, const char* const* constNames = nullptr,
            int constCount = 0);
};

// Depth state default and no culling, sent only when not already so.
inline void cRender_NeutralPipeline() {
    cRender::SetDepthState(-1);
    cRender::SetCullMode(cCullMode::None);
}

// The blend state of the translucent helpers: source alpha over the target.
int cRender_AlphaBlendState();

// Four corners (x0, y0), (x0, y1), (x1, y1), (x1, y0) and their two triangles.
inline void cRender_QuadIndices(int* out, int base) {
    out[0] = base; out[1] = base + 1; out[2] = base + 2;
    out[3] = base; out[4] = base + 2; out[5] = base + 3;
}

}  // namespace zozud
