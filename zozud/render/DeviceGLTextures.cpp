// Textures and render targets of the OpenGL device. Images go up as they are
// stored (row 0 at the bottom is GL's first row as well): 2D, cube maps with
// faces in +X -X +Y -Y +Z -Z order, volumes, with every stored level. One-
// channel images are grey and two-channel images grey with alpha, shown
// through swizzles. DXT data goes up compressed when the GL has S3TC.
#include <cstring>

#include "zozud/core/Log.h"
#include "zozud/image/Image.h"
#include "zozud/io/IO.h"
#include "zozud/math/Rect.h"
#include "zozud/render/DeviceGLState.h"

namespace zozud {

bool cRenderDeviceGL_GetPixelFormat(cFormat::Enum f, bool s3tc, cRenderDeviceGL_PixelFormat* out) {
    static const GLint formats[] = {GL_RED, GL_RG, GL_RGB, GL_RGBA};
    static const GLint internal[4][4] = {
        {GL_R8, GL_RG8, GL_RGB8, GL_RGBA8}, {GL_R16, GL_RG16, GL_RGB16, GL_RGBA16},
        {GL_R16F, GL_RG16F, GL_RGB16F, GL_RGBA16F}, {GL_R32F, GL_RG32F, GL_RGB32F, GL_RGBA32F}};
    static const GLenum types[] = {GL_UNSIGNED_BYTE, GL_UNSIGNED_SHORT, GL_HALF_FLOAT, GL_FLOAT};
    cRenderDeviceGL_PixelFormat p = {0, 0, 0, false, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}};
    if (cFormat::IsColor(f)) {
        int type = cFormat::GetType(f) - cFormat::TypeByte, channels = cFormat::GetChannelCount(f);
        p.internal = internal[type][channels - 1];
        p.format = (GLenum)formats[channels - 1];
        p.type = types[type];
        if (channels == 1) p.swizzle[1] = p.swizzle[2] = GL_RED, p.swizzle[3] = GL_ONE;
        if (channels == 2) p.swizzle[1] = p.swizzle[2] = GL_RED, p.swizzle[3] = GL_GREEN;
    } else if (f == cFormat::Depth16) {
        p = {GL_DEPTH_COMPONENT16, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, false, {GL_RED, GL_RED, GL_RED, GL_ONE}};
    } else if (f == cFormat::Depth24) {
        p = {GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, false, {GL_RED, GL_RED, GL_RED, GL_ONE}};
    } else if (f == cFormat::Depth24Stencil8) {
        p = {GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8, false, {GL_RED, GL_RED, GL_RED, GL_ONE}};
    } else if (cFormat::IsDxt(f) && s3tc) {
        static const GLint dxt[] = {GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, GL_COMPRESSED_RGBA_S3TC_DXT3_EXT,
                                    GL_COMPRESSED_RGBA_S3TC_DXT5_EXT};
        p.internal = dxt[f - cFormat::Dxt1];
        p.compressed = true;
    } else {
        return false;
    }
    *out = p;
    return true;
}

namespace {

bool IsPowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

GLenum TargetOf(int depth) { return depth == 0 ? GL_TEXTURE_CUBE_MAP : depth > 1 ? GL_TEXTURE_3D : GL_TEXTURE_2D; }

// One level of one face (or of the whole volume) from data in the image's layout.
void UploadLevel(const cRenderDeviceGL_Texture& t, const cRenderDeviceGL_PixelFormat& pf, GLenum target, int level,
                 int w, int h, int d, const void* data, GLsizei bytes) {
    if (t.target == GL_TEXTURE_3D) {
        glTexImage3D(target, level, pf.internal, w, h, d, 0, pf.format, pf.type, data);
    } else if (pf.compressed) {
        glCompressedTexImage2D(target, level, (GLenum)pf.internal, w, h, 0, bytes, data);
    } else {
        glTexImage2D(target, level, pf.internal, w, h, 0, pf.format, pf.type, data);
    }
}

// Allocates (image null: contents undefined) or fills the texture's storage.
void UploadAll(const cRenderDeviceGL_Texture& t, const cRenderDeviceGL_PixelFormat& pf, const cImage* image) {
    glBindTexture(t.target, t.name);
    for (int level = 0; level < t.mipMaps; level++) {
        int w = t.width >> level, h = t.height >> level, d = t.depth > 1 ? t.depth >> level : 1;
        w = w > 0 ? w : 1, h = h > 0 ? h : 1, d = d > 0 ? d : 1;
        if (t.target == GL_TEXTURE_CUBE_MAP) {
            for (int face = 0; face < 6; face++)
                UploadLevel(t, pf, GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, level, w, h, 1,
                            image ? image->GetSlice(level, face) : nullptr,
                            image ? (GLsizei)image->GetSliceSize(level) : 0);
        } else {
            UploadLevel(t, pf, t.target, level, w, h, d, image ? image->GetPixels(level) : nullptr,
                        image ? (GLsizei)image->GetSliceSize(level) * d : 0);
        }
    }
    glTexParameteri(t.target, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(t.target, GL_TEXTURE_MAX_LEVEL, t.mipMaps - 1);
    glTexParameteri(t.target, GL_TEXTURE_MIN_FILTER, t.mipMaps > 1 ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    glTexParameteri(t.target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteriv(t.target, GL_TEXTURE_SWIZZLE_RGBA, pf.swizzle);
}

bool FitsLimits(const cImage& image) {
    GLint max2D = 0, max3D = 0, maxCube = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max2D);
    glGetIntegerv(GL_MAX_3D_TEXTURE_SIZE, &max3D);
    glGetIntegerv(GL_MAX_CUBE_MAP_TEXTURE_SIZE, &maxCube);
    int limit = image.IsCube() ? maxCube : image.IsVolume() ? max3D : max2D;
    return image.Width <= limit && image.Height <= limit && image.Depth <= (image.IsVolume() ? max3D : 1);
}

// Makes the GL texture of t from the image; false with a log line.
bool Create(cRenderDeviceGL_State* s, cRenderDeviceGL_Texture* t, const cImage& source, const char* what) {
    const cImage* image = &source;
    cImage expanded;
    if (cRender::GetExpandTexturesToPowerOfTwo() && !source.IsCube() &&
        (!IsPowerOfTwo(source.Width) || !IsPowerOfTwo(source.Height))) {
        if (expanded.Copy(source) && expanded.MakePowerOfTwo()) image = &expanded;
    }
    cRenderDeviceGL_PixelFormat pf;
    if (image->IsEmpty() || !cRenderDeviceGL_GetPixelFormat(image->Format, s->s3tc, &pf) ||
        (pf.compressed && image->IsVolume())) {
        const char* name = cFormat::ToString(image->Format);
        cLog::Message("OpenGL device: texture \"%s\": format %s is not supported", what, name ? name : "?");
        return false;
    }
    if (!FitsLimits(*image)) {
        cLog::Message("OpenGL device: texture \"%s\": %dx%dx%d is too large", what, image->Width, image->Height,
                      image->Depth);
        return false;
    }
    while (glGetError() != GL_NO_ERROR) {}
    t->target = TargetOf(image->Depth);
    t->width = image->Width, t->height = image->Height, t->depth = image->Depth;
    t->format = image->Format;
    t->mipMaps = image->MipMapCount > 0 ? image->MipMapCount : 1;
    glGenTextures(1, &t->name);
    UploadAll(*t, pf, image);
    if (glGetError() != GL_NO_ERROR) {
        cLog::Message("OpenGL device: texture \"%s\" was refused by the GL", what);
        glDeleteTextures(1, &t->name);
        t->name = 0;
        return false;
    }
    t->alive = true;
    return true;
}

int Add(cRenderDeviceGL_State* s, cRenderDeviceGL_Texture& t) {
    s->textures.Add(t);
    return s->textures.Count() - 1;
}

// A render target's colour or depth texture, its levels allocated empty.
int AddTarget(cRenderDeviceGL_State* s, cRenderDeviceGL_Texture& t, const cRenderDeviceGL_PixelFormat& pf) {
    glGenTextures(1, &t.name);
    UploadAll(t, pf, nullptr);
    t.alive = true;
    return Add(s, t);
}

void Release(cRenderDeviceGL_Texture* t) {
    if (t->name) glDeleteTextures(1, &t->name);
    t->name = 0;
    t->alive = false;
}

}  // namespace

// ---- Textures ----

int cRenderDeviceGL::AddTexture(const cImage& image) {
    m->ForgetStages();  // binds and deletes below change what the stages hold
    if (!m->ready) return -1;
    cRenderDeviceGL_Texture t;
    if (!Create(m, &t, image, "(image)")) return -1;
    return Add(m, t);
}

int cRenderDeviceGL::AddTexture(const char* name) {
    if (!m->ready || !name) return -1;
    cImage image;
    if (!cIO::LoadImage(name, &image)) {
        cLog::Message("OpenGL device: cannot load texture \"%s\"", name);
        return -1;
    }
    cRenderDeviceGL_Texture t;
    m->ForgetStages();
    if (!Create(m, &t, image, name)) return -1;
    t.file = name;
    return Add(m, t);
}

int cRenderDeviceGL::GetTextureID(const char* name) {
    if (!m->ready || !name) return -1;
    for (int i = 0; i < m->textures.Count(); i++)
        if (m->textures[i].alive && cStr::ComparePath(m->textures[i].file, name) == 0) return i;
    return AddTexture(name);
}

void cRenderDeviceGL::ReloadTexture(int id) {
    m->ForgetStages();  // binds and deletes below change what the stages hold
    cRenderDeviceGL_Texture* t = m->Texture(id);
    cImage image;
    if (!t || t->file.IsEmpty() || !cIO::LoadImage(t->file, &image)) return;
    cRenderDeviceGL_Texture fresh;
    if (!Create(m, &fresh, image, t->file)) return;
    fresh.file = t->file;
    fresh.sampler = t->sampler;
    Release(t);
    *t = fresh;
}

void cRenderDeviceGL::ReloadTexture(const char* name) {
    for (int i = 0; name && i < m->textures.Count(); i++)
        if (m->textures[i].alive && cStr::ComparePath(m->textures[i].file, name) == 0) ReloadTexture(i);
}

void cRenderDeviceGL::ReloadTextures() {
    for (int i = 0; i < m->textures.Count(); i++) ReloadTexture(i);
}

void cRenderDeviceGL::UnloadTextures() {
    m->ForgetStages();  // binds and deletes below change what the stages hold
    for (cRenderDeviceGL_Texture& t : m->textures) Release(&t);
}

void cRenderDeviceGL::FreeTexture(int id) {
    m->ForgetStages();  // binds and deletes below change what the stages hold
    if (cRenderDeviceGL_Texture* t = m->Texture(id)) Release(t);
}

// Each rectangle (texels, row 0 at the bottom) takes its sub-image; parts
// outside the texture and rectangles of another size are left out.
void cRenderDeviceGL::UpdateTexture(int id, const cList<cImage*>& images, const cList<cRect>& rects) {
    m->ForgetStages();  // binds and deletes below change what the stages hold
    cRenderDeviceGL_Texture* t = m->Texture(id);
    if (!t || t->target != GL_TEXTURE_2D) return;
    glBindTexture(GL_TEXTURE_2D, t->name);
    for (int i = 0; i < images.Count() && i < rects.Count(); i++) {
        const cImage* image = images[i];
        cRenderDeviceGL_PixelFormat pf;
        if (!image || image->IsEmpty() || !cRenderDeviceGL_GetPixelFormat(image->Format, m->s3tc, &pf)) continue;
        int x = (int)rects[i].x0, y = (int)rects[i].y0;
        if (x < 0 || y < 0 || x + image->Width > t->width || y + image->Height > t->height) continue;
        if (pf.compressed != cFormat::IsDxt(t->format)) continue;
        if (pf.compressed)
            glCompressedTexSubImage2D(GL_TEXTURE_2D, 0, x, y, image->Width, image->Height, (GLenum)pf.internal,
                                      (GLsizei)image->GetSliceSize(0), image->Pixels);
        else
            glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, image->Width, image->Height, pf.format, pf.type, image->Pixels);
    }
}

cStr cRenderDeviceGL::GetTextureFilePn(int id) {
    cRenderDeviceGL_Texture* t = m->Texture(id);
    return t ? t->file : cStr();
}
int cRenderDeviceGL::GetTextureWidth(int id) { return m->Texture(id) ? m->Texture(id)->width : -1; }
int cRenderDeviceGL::GetTextureHeight(int id) { return m->Texture(id) ? m->Texture(id)->height : -1; }
int cRenderDeviceGL::GetTextureDepth(int id) { return m->Texture(id) ? m->Texture(id)->depth : -1; }
cFormat::Enum cRenderDeviceGL::GetTextureFormat(int id) {
    return m->Texture(id) ? m->Texture(id)->format : cFormat::None;
}
int cRenderDeviceGL::GetTextureMipMapCount(int id) { return m->Texture(id) ? m->Texture(id)->mipMaps : -1; }
int cRenderDeviceGL::GetTextureRenderTargetUsage(int id) { return m->Texture(id) ? m->Texture(id)->usage : -1; }

void cRenderDeviceGL::SetSamplerState(int textureID, int samplerStateID) {
    cRenderDeviceGL_Texture* t = m->Texture(textureID);
    if (t && samplerStateID >= -1 && samplerStateID < m->samplers.Count()) t->sampler = samplerStateID;
}

// -1 empties the stage. Binds that would change nothing are left out.
void cRenderDeviceGL::SetTexture(int stage, int textureID) {
    cRenderDeviceGL_Texture* t = m->Texture(textureID);
    if (!m->ready || stage < 0 || stage >= cRenderDeviceGL_State::Stages || (!t && textureID != -1)) return;
    GLuint name = t ? t->name : 0, sampler = t && t->sampler >= 0 ? m->samplers[t->sampler].name : 0;
    if (name && m->stageTexture[stage] == name && m->stageSampler[stage] == sampler) return;
    if (m->activeStage != stage) glActiveTexture(GL_TEXTURE0 + (GLenum)stage);
    m->activeStage = stage;
    glBindTexture(t ? t->target : GL_TEXTURE_2D, name);
    glBindSampler((GLuint)stage, sampler);
    m->stageTexture[stage] = name;
    m->stageSampler[stage] = sampler;
}

// ---- Render targets ----

int cRenderDeviceGL::AddRenderTarget(int width, int height, cFormat::Enum format, bool mipMaps, int flags) {
    m->ForgetStages();  // binds and deletes below change what the stages hold
    cRenderDeviceGL_PixelFormat pf;
    if (!m->ready || width < 1 || height < 1 || !cRenderDeviceGL_GetPixelFormat(format, false, &pf) ||
        cFormat::IsDepth(format)) {
        cLog::Message("OpenGL device: render target %dx%d of format %d is not supported", width, height, format);
        return -1;
    }
    cRenderDeviceGL_Texture t;
    t.target = flags & TargetCube ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D;
    t.width = width, t.height = height, t.depth = flags & TargetCube ? 0 : 1;
    t.format = format;
    t.mipMaps = mipMaps ? cImage::CalcMipMapCount(width, height) : 1;
    t.usage = UsageColor;
    t.targetMipMaps = mipMaps;
    return AddTarget(m, t, pf);
}

int cRenderDeviceGL::AddRenderDepth(int id, cFormat::Enum format) {
    m->ForgetStages();  // binds and deletes below change what the stages hold
    cRenderDeviceGL_Texture* color = m->Texture(id);
    cRenderDeviceGL_PixelFormat pf;
    if (!color || !cFormat::IsDepth(format) || !cRenderDeviceGL_GetPixelFormat(format, false, &pf)) return -1;
    cRenderDeviceGL_Texture t;
    t.target = color->target;
    t.width = color->width, t.height = color->height, t.depth = color->depth;
    t.format = format;
    t.usage = UsageDepth;
    return AddTarget(m, t, pf);
}

void cRenderDeviceGL::SetRenderTargetSize(int id, int width, int height) {
    m->ForgetStages();  // binds and deletes below change what the stages hold
    cRenderDeviceGL_Texture* t = m->Texture(id);
    cRenderDeviceGL_PixelFormat pf;
    if (!t || t->usage == UsageTexture || width < 1 || height < 1 ||
        !cRenderDeviceGL_GetPixelFormat(t->format, false, &pf))
        return;
    t->width = width, t->height = height;
    if (t->targetMipMaps) t->mipMaps = cImage::CalcMipMapCount(width, height);
    UploadAll(*t, pf, nullptr);
}

namespace {

void Attach(GLenum attachment, const cRenderDeviceGL_Texture& t, int face) {
    GLenum target = t.target == GL_TEXTURE_CUBE_MAP ? GL_TEXTURE_CUBE_MAP_POSITIVE_X + (GLenum)(face % 6) : t.target;
    glFramebufferTexture2D(GL_FRAMEBUFFER, attachment, target, t.name, 0);
}

}  // namespace

// Leaving a target with mip maps rebuilds its levels.
void cRenderDeviceGL::SetRenderTargets(const int* targets, int count, int depth, const int* faces) {
    m->ForgetStages();  // binds and deletes below change what the stages hold
    if (!m->ready) return;
    for (cRenderDeviceGL_Texture& t : m->textures)
        if (t.alive && t.targetMipMaps && !m->onScreen) {
            glBindTexture(t.target, t.name);
            glGenerateMipmap(t.target);
        }
    cRenderDeviceGL_Texture* first = count > 0 && targets ? m->Texture(targets[0]) : nullptr;
    if (!first) {
        m->onScreen = true;
        glBindFramebuffer(GL_FRAMEBUFFER, m->screenFbo);
        m->targetWidth = m->screenWidth, m->targetHeight = m->screenHeight;
    } else {
        m->onScreen = false;
        glBindFramebuffer(GL_FRAMEBUFFER, m->targetFbo);
        GLenum buffers[8];
        int n = 0;
        for (int i = 0; i < count && i < 8 && i < m->maxDrawBuffers; i++) {
            cRenderDeviceGL_Texture* t = m->Texture(targets[i]);
            if (!t || t->usage != UsageColor) continue;
            Attach(GL_COLOR_ATTACHMENT0 + (GLenum)n, *t, faces ? faces[i] : 0);
            buffers[n] = GL_COLOR_ATTACHMENT0 + (GLenum)n;
            n++;
        }
        for (int i = n; i < 8 && i < m->maxDrawBuffers; i++)
            glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + (GLenum)i, GL_TEXTURE_2D, 0, 0);
        glDrawBuffers(n, buffers);
        cRenderDeviceGL_Texture* d = m->Texture(depth);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_TEXTURE_2D, 0, 0);
        if (d && d->usage == UsageDepth) {
            GLenum at = d->format == cFormat::Depth24Stencil8 ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT;
            Attach(at, *d, faces ? faces[0] : 0);
        }
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
            cLog::Message("OpenGL device: the render targets do not fit together");
        m->targetWidth = first->width, m->targetHeight = first->height;
    }
    SetViewport(cRect(0, 0, (float)m->targetWidth, (float)m->targetHeight));
}

bool cRenderDeviceGL::SaveRenderTarget(int id, cImage* image) {
    m->ForgetStages();  // binds and deletes below change what the stages hold
    cRenderDeviceGL_Texture* t = m->Texture(id);
    cRenderDeviceGL_PixelFormat pf;
    if (!t || !image || t->usage != UsageColor || !cRenderDeviceGL_GetPixelFormat(t->format, false, &pf) ||
        !image->Create(t->format, t->width, t->height, t->depth))
        return false;
    glBindTexture(t->target, t->name);
    if (t->target == GL_TEXTURE_CUBE_MAP) {
        for (int face = 0; face < 6; face++)
            glGetTexImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X + (GLenum)face, 0, pf.format, pf.type, image->GetSlice(0, face));
    } else {
        glGetTexImage(t->target, 0, pf.format, pf.type, image->Pixels);
    }
    return true;
}

}  // namespace zozud
