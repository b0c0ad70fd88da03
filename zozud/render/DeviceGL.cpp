// The OpenGL device: life cycle, the screen frame buffer, viewport and clip,
// the immutable depth, blend and sampler states, frames and screen shots.
// Textures, shaders, draws and render targets are in the other DeviceGL files.
#include "zozud/render/DeviceGL.h"

#include <cmath>
#include <cstring>

#include "zozud/core/Log.h"
#include "zozud/image/Image.h"
#include "zozud/render/DeviceGLState.h"

namespace zozud {

namespace {

bool MakeScreenBuffer(cRenderDeviceGL_State* s) {
    if (!s->screenFbo) glGenFramebuffers(1, &s->screenFbo);
    if (!s->screenColor) glGenRenderbuffers(1, &s->screenColor);
    if (!s->screenDepth) glGenRenderbuffers(1, &s->screenDepth);
    glBindRenderbuffer(GL_RENDERBUFFER, s->screenColor);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, s->screenWidth, s->screenHeight);
    glBindRenderbuffer(GL_RENDERBUFFER, s->screenDepth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, s->screenWidth, s->screenHeight);
    glBindFramebuffer(GL_FRAMEBUFFER, s->screenFbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, s->screenColor);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, s->screenDepth);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void ApplyViewport(cRenderDeviceGL_State* s) {
    const cRect& r = s->viewport;
    glViewport((GLint)std::floor(r.x0), (GLint)std::floor(r.y0), (GLsizei)std::lround(r.GetWidth()),
               (GLsizei)std::lround(r.GetHeight()));
    s->autoStamp++;
}

void ApplyClip(cRenderDeviceGL_State* s) {
    const cRect& r = s->clip;
    if (r.IsEmpty()) {
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    GLint x0 = (GLint)std::floor(r.x0 + 0.5f), y0 = (GLint)std::floor(r.y0 + 0.5f);
    GLint x1 = (GLint)std::floor(r.x1 + 0.5f), y1 = (GLint)std::floor(r.y1 + 0.5f);
    glEnable(GL_SCISSOR_TEST);
    glScissor(x0, y0, x1 > x0 ? x1 - x0 : 0, y1 > y0 ? y1 - y0 : 0);
}

const GLenum BlendFactors[] = {GL_ZERO, GL_ONE, GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR, GL_SRC_ALPHA,
                               GL_ONE_MINUS_SRC_ALPHA, GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA, GL_DST_COLOR,
                               GL_ONE_MINUS_DST_COLOR};
const GLenum BlendModes[] = {GL_FUNC_ADD, GL_FUNC_SUBTRACT, GL_FUNC_REVERSE_SUBTRACT, GL_MIN, GL_MAX};
const GLenum DepthFuncs[] = {GL_NEVER, GL_LESS, GL_EQUAL, GL_LEQUAL, GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};

template <class T>
bool InRange(int v, const T& table) {
    return v >= 0 && v < (int)(sizeof(table) / sizeof(table[0]));
}

}  // namespace

cRenderDeviceGL::cRenderDeviceGL() : m(new cRenderDeviceGL_State) {}

cRenderDeviceGL::~cRenderDeviceGL() {
    Free();
    delete m;
}

bool cRenderDeviceGL::Init(int) {
    if (m->ready) return true;
    if (!cRenderDeviceGL_MakeContext(m)) return false;
    if (!MakeScreenBuffer(m)) {
        cLog::Message("OpenGL device: the screen frame buffer is incomplete");
        Free();
        return false;
    }
    const char* vendor = (const char*)glGetString(GL_VENDOR);
    const char* renderer = (const char*)glGetString(GL_RENDERER);
    m->vendor = cStr::Format("%s %s", vendor ? vendor : "", renderer ? renderer : "");
    m->s3tc = epoxy_has_gl_extension("GL_EXT_texture_compression_s3tc");
    m->aniso = epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic") ||
               epoxy_has_gl_extension("GL_ARB_texture_filter_anisotropic");
    glGetIntegerv(GL_MAX_DRAW_BUFFERS, &m->maxDrawBuffers);
    cLog::Message("OpenGL device: %s, OpenGL %s", m->vendor.ToChar(), (const char*)glGetString(GL_VERSION));

    glGenVertexArrays(1, &m->vao);
    glBindVertexArray(m->vao);
    glGenBuffers(1, &m->stream);
    glGenFramebuffers(1, &m->targetFbo);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    m->ready = true;
    m->startTime = m->frameStart = cRenderDeviceGL_Now();
    SetRenderTargets(nullptr, 0, -1, nullptr);
    return true;
}

void cRenderDeviceGL::Free() {
    if (m->ready) {
        UnloadTextures();
        for (cRenderDeviceGL_Shader& sh : m->shaders)
            if (sh.program) glDeleteProgram(sh.program);
        for (cRenderDeviceGL_Buffer& b : m->buffers)
            if (b.name) glDeleteBuffers(1, &b.name);
        for (cRenderDeviceGL_Sampler& sm : m->samplers)
            if (sm.name) glDeleteSamplers(1, &sm.name);
        GLuint fbos[2] = {m->screenFbo, m->targetFbo}, rbs[2] = {m->screenColor, m->screenDepth};
        glDeleteFramebuffers(2, fbos);
        glDeleteRenderbuffers(2, rbs);
        glDeleteBuffers(1, &m->stream);
        glDeleteVertexArrays(1, &m->vao);
    }
    cRenderDeviceGL_FreeContext(m);
    int w = m->screenWidth, h = m->screenHeight;
    *m = cRenderDeviceGL_State();
    m->screenWidth = w;
    m->screenHeight = h;
}

void cRenderDeviceGL::SetScreenSize(int width, int height) {
    if (width < 1 || height < 1) return;
    m->screenWidth = width;
    m->screenHeight = height;
    if (!m->ready) return;
    MakeScreenBuffer(m);
    if (m->onScreen) SetRenderTargets(nullptr, 0, -1, nullptr);
}

int cRenderDeviceGL::GetScreenWidth() const { return m->screenWidth; }
int cRenderDeviceGL::GetScreenHeight() const { return m->screenHeight; }
int cRenderDeviceGL::GetDrawCallCount() const { return m->drawCalls; }

// ---- Queries ----

cStr cRenderDeviceGL::GetVendor() { return m->vendor; }
int  cRenderDeviceGL::GetMRTCount() { return m->ready ? m->maxDrawBuffers : 0; }

bool cRenderDeviceGL::SupportsFormat(cFormat::Enum format) {
    cRenderDeviceGL_PixelFormat pf;
    return m->ready && cRenderDeviceGL_GetPixelFormat(format, m->s3tc, &pf);
}

bool cRenderDeviceGL::ScreenShot(cImage* image) {
    if (!m->ready || !image || !image->Create(cFormat::Rgb8, m->screenWidth, m->screenHeight)) return false;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m->screenFbo);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glReadPixels(0, 0, m->screenWidth, m->screenHeight, GL_RGB, GL_UNSIGNED_BYTE, image->Pixels);
    return glGetError() == GL_NO_ERROR;
}

// ---- Viewport and clip: framework rectangles are y-up, as GL's window coordinates ----

void cRenderDeviceGL::SetViewport(const cRect& rect) {
    m->viewport = rect;
    if (m->ready) ApplyViewport(m);
}

void cRenderDeviceGL::SetClipRect(const cRect& rect) {
    m->clip = rect;
    if (m->ready) ApplyClip(m);
}

void cRenderDeviceGL::SetWireframe(bool on) {
    m->wireframe = on;
    if (m->ready) glPolygonMode(GL_FRONT_AND_BACK, on ? GL_LINE : GL_FILL);
}

void cRenderDeviceGL::SetCullMode(cCullMode::Enum mode) {
    if (!m->ready) return;
    if (mode == cCullMode::Back || mode == cCullMode::Front) {
        glEnable(GL_CULL_FACE);
        glCullFace(mode == cCullMode::Back ? GL_BACK : GL_FRONT);
    } else {
        glDisable(GL_CULL_FACE);
    }
}

// ---- Immutable states: equal arguments give the same id ----

int cRenderDeviceGL::GetBlendStateID(cBlendFactor::Enum src, cBlendFactor::Enum dst, cBlendMode::Enum mode,
                                     unsigned writeMask) {
    if (!InRange(src, BlendFactors) || !InRange(dst, BlendFactors) || !InRange(mode, BlendModes)) return -1;
    cRenderDeviceGL_Blend b = {src, dst, mode, writeMask & 15u};
    for (int i = 0; i < m->blends.Count(); i++)
        if (!memcmp(&m->blends[i], &b, sizeof b)) return i;
    m->blends.Add(b);
    return m->blends.Count() - 1;
}

// -1 and unknown ids: no blending, every channel written.
void cRenderDeviceGL::SetBlendState(int id) {
    if (!m->ready) return;
    cRenderDeviceGL_Blend b = {cBlendFactor::One, cBlendFactor::Zero, cBlendMode::Add, 15};
    if (id >= 0 && id < m->blends.Count()) b = m->blends[id];
    bool off = b.src == cBlendFactor::One && b.dst == cBlendFactor::Zero && b.mode == cBlendMode::Add;
    if (off) glDisable(GL_BLEND);
    else glEnable(GL_BLEND);
    glBlendFunc(BlendFactors[b.src], BlendFactors[b.dst]);
    glBlendEquation(BlendModes[b.mode]);
    glColorMask(b.mask & 1, (b.mask >> 1) & 1, (b.mask >> 2) & 1, (b.mask >> 3) & 1);
}

int cRenderDeviceGL::GetDepthStateID(bool test, bool write, cDepthFunc::Enum func) {
    if (!InRange(func, DepthFuncs)) return -1;
    for (int i = 0; i < m->depths.Count(); i++) {
        const cRenderDeviceGL_Depth& d = m->depths[i];
        if (d.test == test && d.write == write && d.func == func) return i;
    }
    m->depths.Add(cRenderDeviceGL_Depth{test, write, func});
    return m->depths.Count() - 1;
}

// -1 and unknown ids: no depth test and no depth writes, as 2D drawing wants.
void cRenderDeviceGL::SetDepthState(int id) {
    if (!m->ready) return;
    cRenderDeviceGL_Depth d = {false, false, cDepthFunc::Less};
    if (id >= 0 && id < m->depths.Count()) d = m->depths[id];
    // GL writes no depth while its test is off: an always-passing test writes.
    if (d.test || d.write) glEnable(GL_DEPTH_TEST);
    else glDisable(GL_DEPTH_TEST);
    glDepthFunc(d.test ? DepthFuncs[d.func] : GL_ALWAYS);
    glDepthMask(d.write ? GL_TRUE : GL_FALSE);
}

int cRenderDeviceGL::GetSamplerStateID(cFilter::Enum filter, cAddressMode::Enum u, cAddressMode::Enum v,
                                       cAddressMode::Enum w) {
    static const GLenum wraps[] = {GL_REPEAT, GL_CLAMP_TO_EDGE, GL_MIRRORED_REPEAT};
    if (!m->ready || filter < 0 || filter >= cFilter::Count || !InRange(u, wraps) || !InRange(v, wraps) ||
        !InRange(w, wraps))
        return -1;
    for (int i = 0; i < m->samplers.Count(); i++) {
        const cRenderDeviceGL_Sampler& sm = m->samplers[i];
        if (sm.filter == filter && sm.u == u && sm.v == v && sm.w == w) return i;
    }
    static const GLenum minFilters[] = {GL_NEAREST, GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR_MIPMAP_LINEAR,
                                        GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR_MIPMAP_LINEAR};
    cRenderDeviceGL_Sampler sm = {filter, u, v, w, 0};
    glGenSamplers(1, &sm.name);
    glSamplerParameteri(sm.name, GL_TEXTURE_MIN_FILTER, (GLint)minFilters[filter]);
    glSamplerParameteri(sm.name, GL_TEXTURE_MAG_FILTER, filter == cFilter::Nearest ? GL_NEAREST : GL_LINEAR);
    glSamplerParameteri(sm.name, GL_TEXTURE_WRAP_S, (GLint)wraps[u]);
    glSamplerParameteri(sm.name, GL_TEXTURE_WRAP_T, (GLint)wraps[v]);
    glSamplerParameteri(sm.name, GL_TEXTURE_WRAP_R, (GLint)wraps[w]);
    if (m->aniso && filter >= cFilter::BilinearAniso) glSamplerParameterf(sm.name, GL_TEXTURE_MAX_ANISOTROPY_EXT, 8.0f);
    m->samplers.Add(sm);
    return m->samplers.Count() - 1;
}

// ---- Frames ----

void cRenderDeviceGL::Clear(bool color, bool depth, const cColor& c, float depthValue) {
    if (!m->ready || (!color && !depth)) return;
    // A clear fills the whole target, whatever the clip and the write masks.
    glDisable(GL_SCISSOR_TEST);
    GLboolean mask[4], depthMask;
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glClearColor(c.r, c.g, c.b, c.a);
    glClearDepth(depthValue);
    glClear((color ? GL_COLOR_BUFFER_BIT : 0) | (depth ? GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT : 0));
    glColorMask(mask[0], mask[1], mask[2], mask[3]);
    glDepthMask(depthMask);
    ApplyClip(m);
}

void cRenderDeviceGL::BeginFrame() {
    double now = cRenderDeviceGL_Now();
    m->frameTime = now - m->frameStart;
    m->frameStart = now;
    m->drawCalls = 0;
    m->autoStamp++;
}

void cRenderDeviceGL::EndFrame() {
    if (!m->ready) return;
    cRenderDeviceGL_Present(m);
    glBindFramebuffer(GL_FRAMEBUFFER, m->onScreen ? m->screenFbo : m->targetFbo);
    ApplyClip(m);
}

void cRenderDeviceGL::Finish() {
    if (m->ready) glFinish();
}

}  // namespace zozud
