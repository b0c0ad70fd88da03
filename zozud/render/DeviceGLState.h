// The state of the OpenGL render device, shared by its source files. Holds
// GL object names; the X and GLX side lives in DeviceGLContext.cpp only, so
// that X's macros (None, Always, ...) never meet the framework's enums.
#pragma once

#include <epoxy/gl.h>

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/render/DeviceGL.h"

namespace zozud {

struct cRenderDeviceGL_Texture {
    GLuint        name = 0;           // 0 once freed or unloaded
    GLenum        target = 0;         // GL_TEXTURE_2D, _3D or _CUBE_MAP
    int           width = 0, height = 0, depth = 1;  // depth 0: cube map
    cFormat::Enum format = cFormat::None;
    int           mipMaps = 1;
    cStr          file;               // empty for images and targets
    int           sampler = -1;       // bound sampler state, -1 for the texture's own
    int           usage = 0;          // cRenderDeviceGL::Usage
    bool          alive = false;
    bool          targetMipMaps = false;
};

struct cRenderDeviceGL_Uniform {
    cStr   name;
    GLint  location = -1;
    GLenum type = 0;
    GLint  size = 0;
    int    unit = -1;                 // texture unit of a sampler, else -1
    float  last[4] = {};              // the value last set, for scalars and vectors
    int    lastCount = 0;             // floats in last, 0 when unknown
};

struct cRenderDeviceGL_Shader {
    GLuint program = 0;
    cStr   name, defines;
    int    format = -1;
    bool   alive = false;
    GLint  autoLoc[cRender::AutoConst::Count];
    unsigned autoStamp = 0;           // auto constants uploaded at this stamp
    cList<cRenderDeviceGL_Uniform> uniforms;
};

struct cRenderDeviceGL_Format {
    cVertex::Format format;
    int             size = 0;
};

struct cRenderDeviceGL_Buffer {
    GLuint name = 0;
    size_t bytes = 0;
    int    indexSize = 0;             // 0 for vertex buffers
    unsigned maxIndex = 0;            // largest index of an index buffer
    bool   alive = false;
};

struct cRenderDeviceGL_Sampler {
    int    filter, u, v, w;
    GLuint name = 0;
};

struct cRenderDeviceGL_Blend {
    int      src, dst, mode;
    unsigned mask;
};

struct cRenderDeviceGL_Depth {
    bool test, write;
    int  func;
};

struct cRenderDeviceGL_State {
    // ---- Window and context (DeviceGLContext.cpp) ----
    void*         display = nullptr;  // Display*
    unsigned long window = 0;         // the drawable the context is current on
    bool          ownWindow = false;  // made by the device, hidden
    void*         context = nullptr;  // GLXContext
    void*         colormap = nullptr;
    bool          ready = false;      // context current and objects made

    // ---- Screen ----
    int    screenWidth = cRenderDeviceGL::DefaultWidth, screenHeight = cRenderDeviceGL::DefaultHeight;
    GLuint screenFbo = 0, screenColor = 0, screenDepth = 0;
    GLuint targetFbo = 0;             // render targets are attached here
    bool   onScreen = true;
    int    targetWidth = 0, targetHeight = 0;  // size of what is bound
    cStr   vendor;
    bool   s3tc = false, aniso = false;
    int    maxDrawBuffers = 1;

    // ---- Pipeline ----
    cRect  viewport = cRect(0, 0, 0, 0);
    cRect  clip = cRect::Empty;
    bool   wireframe = false;
    int    curShader = -1;
    int    curVertexBuffer = -1, curIndexBuffer = -1;
    unsigned autoStamp = 1;           // bumped when an automatic constant may have changed
    double startTime = 0, frameStart = 0, frameTime = 0;
    int    drawCalls = 0;

    // ---- Objects; ids are list indices and never reused ----
    cList<cRenderDeviceGL_Texture> textures;
    cList<cRenderDeviceGL_Shader>  shaders;
    cList<cRenderDeviceGL_Format>  formats;
    cList<cRenderDeviceGL_Buffer>  buffers;
    cList<cRenderDeviceGL_Sampler> samplers;
    cList<cRenderDeviceGL_Blend>   blends;
    cList<cRenderDeviceGL_Depth>   depths;

    // ---- Streaming of draws from memory ----
    // Vertices and indices of draws from memory share one buffer, filled
    // front to back and orphaned when full. Vertices start at a multiple of
    // their size, so draws address them by first or base vertex and the
    // attribute layout changes only with the format.
    GLuint vao = 0;                   // the one vertex array
    int    enabledAttribs = 0;        // attributes enabled in it
    GLuint stream = 0;
    size_t streamSize = 0, streamAt = 0;
    GLuint attribBuffer = 0;          // the buffer and format the attributes read
    int    attribFormat = -1;
    GLuint elementBuffer = 0;         // the vertex array's index buffer

    // ---- Texture stages as last bound, to skip repeated binds ----
    static const int Stages = 16;
    GLuint stageTexture[Stages] = {}, stageSampler[Stages] = {};
    int    activeStage = -1;
    void   ForgetStages() {
        for (int i = 0; i < Stages; i++) stageTexture[i] = stageSampler[i] = 0;
        activeStage = -1;
    }

    cRenderDeviceGL_Texture* Texture(int id) {
        return id >= 0 && id < textures.Count() && textures[id].alive ? &textures[id] : nullptr;
    }
    cRenderDeviceGL_Shader* Shader(int id) {
        return id >= 0 && id < shaders.Count() && shaders[id].alive ? &shaders[id] : nullptr;
    }
    cRenderDeviceGL_Buffer* Buffer(int id) {
        return id >= 0 && id < buffers.Count() && buffers[id].alive ? &buffers[id] : nullptr;
    }
    const cRenderDeviceGL_Format* Format(int id) const {
        return id >= 0 && id < formats.Count() ? &formats[id] : nullptr;
    }
};

// ---- Shared between the device's files ----
bool   cRenderDeviceGL_MakeContext(cRenderDeviceGL_State* s);  // false with a log line
void   cRenderDeviceGL_FreeContext(cRenderDeviceGL_State* s);
void   cRenderDeviceGL_Present(cRenderDeviceGL_State* s);      // screen buffer to the window
double cRenderDeviceGL_Now();                                  // seconds, monotonic

// GL's description of a cImage format: false when GL cannot hold it.
struct cRenderDeviceGL_PixelFormat {
    GLint  internal;
    GLenum format, type;
    bool   compressed;
    GLint  swizzle[4];                // for grey and grey-alpha formats
};
bool cRenderDeviceGL_GetPixelFormat(cFormat::Enum format, bool s3tc, cRenderDeviceGL_PixelFormat* out);

}  // namespace zozud

namespace zozud {
// The current shader with its automatic constants up to date; false without one.
bool cRenderDeviceGL_PrepareShader(cRenderDeviceGL_State* s);
}  // namespace zozud
