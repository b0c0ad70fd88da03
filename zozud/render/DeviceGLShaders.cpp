// Shaders of the OpenGL device: "Shaders/PC/<name>.glsl" split into its
// vertex and fragment sections, each compiled as GLSL 3.30 with the defines
// after the version line. Vertex inputs are named after the fields of the
// shader's vertex format ("Pos", "Color", "TexCoord", ...) and bound to the
// field's index. A line '#include "NAME"' in a section stands for the text
// of "Shaders/PC/NAME" (the 2D shaders share their vertex stage this way).
// A constant id is the shader id times 256 plus the index of the uniform; a sampler id is the texture stage its sampler reads. The
// automatic constants are uploaded before a draw whenever the matrices, the
// viewport or the frame changed since the shader last had them.
#include <cstring>

#include "zozud/core/Log.h"
#include "zozud/io/File.h"
#include "zozud/io/IO.h"
#include "zozud/render/DeviceGLState.h"
#include "zozud/render/ShaderInclude.h"
#include "zozud/render/Viewer.h"

namespace zozud {

namespace {

const int UniformsPerShader = 256;

cStr ShaderPath(const char* name) { return cStr::Format("Shaders/PC/%s.glsl", name); }

// The text of "Shaders/PC/NAME" for a section's '#include "NAME"'.
bool LoadIncluded(const cStr& name, cStr* text, void*) {
    cFile file;
    cStr path("Shaders/PC/");
    path += name;
    if (!cIO::LoadFile(path, &file)) return false;
    text->Append(reinterpret_cast<const char*>(file.GetData()), 0, file.GetSize());
    return true;
}

bool ExpandIncludes(cStr* source, const char* file) {
    cStr why;
    if (cShaderInclude::Expand(source, LoadIncluded, nullptr, &why)) return true;
    cLog::Message("OpenGL device: \"%s\": %s", file, why.ToChar());
    return false;
}

GLuint Compile(GLenum kind, const cStr& source, const char* defines, const char* file, const char* section) {
    cStr text("#version 330 core\n");
    if (defines && *defines) {
        text += defines;
        text += "\n";
    }
    text += "#line 1\n";
    text += source;
    GLuint shader = glCreateShader(kind);
    const char* src = text.ToChar();
    glShaderSource(shader, 1, &src, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok) return shader;
    char log[2048] = "";
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    cLog::Message("OpenGL device: \"%s\", %s: compile error (lines count from the section marker):\r\n%s", file,
                  section, log);
    glDeleteShader(shader);
    return 0;
}

GLuint Link(GLuint vs, GLuint fs, const cVertex::Format* format, const char* file) {
    GLuint program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    for (int i = 0; format && i < format->Attribs.Count(); i++)
        glBindAttribLocation(program, (GLuint)i, format->Attribs[i].Name);
    glBindFragDataLocation(program, 0, "o_Color");
    glLinkProgram(program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok) return program;
    char log[2048] = "";
    glGetProgramInfoLog(program, sizeof log, nullptr, log);
    cLog::Message("OpenGL device: \"%s\": link error:\r\n%s", file, log);
    glDeleteProgram(program);
    return 0;
}

bool IsSampler(GLenum type) {
    return type == GL_SAMPLER_1D || type == GL_SAMPLER_2D || type == GL_SAMPLER_3D || type == GL_SAMPLER_CUBE ||
           type == GL_SAMPLER_2D_SHADOW;
}

// The active uniforms; samplers get texture stages in order of appearance.
void ReadUniforms(cRenderDeviceGL_Shader* sh) {
    for (GLint& loc : sh->autoLoc) loc = -1;
    GLint count = 0;
    glGetProgramiv(sh->program, GL_ACTIVE_UNIFORMS, &count);
    glUseProgram(sh->program);
    int units = 0;
    for (GLint i = 0; i < count && i < UniformsPerShader; i++) {
        char name[256];
        cRenderDeviceGL_Uniform u;
        glGetActiveUniform(sh->program, (GLuint)i, sizeof name, nullptr, &u.size, &u.type, name);
        if (char* bracket = strchr(name, '[')) *bracket = 0;
        u.name = name;
        u.location = glGetUniformLocation(sh->program, name);
        if (IsSampler(u.type)) {
            u.unit = units++;
            glUniform1i(u.location, u.unit);
        }
        int autoIndex = cRender::AutoConst::FromString(name);
        if (autoIndex >= 0) sh->autoLoc[autoIndex] = u.location;
        sh->uniforms.Add(u);
    }
}

bool Build(cRenderDeviceGL_State* s, cRenderDeviceGL::Stub* device, cRenderDeviceGL_Shader* sh) {
    cStr file = ShaderPath(sh->name);
    cStr vsText, fsText;
    int vPos = -1, pPos = -1;
    if (!device->LoadShader(file, &vsText, &fsText, &vPos, &pPos)) {
        cLog::Message("OpenGL device: cannot load shader \"%s\"", file.ToChar());
        return false;
    }
    if (vPos < 0 || pPos < 0) return false;
    if (!ExpandIncludes(&vsText, file) || !ExpandIncludes(&fsText, file)) return false;
    GLuint vs = Compile(GL_VERTEX_SHADER, vsText, sh->defines, file, "vertex shader");
    GLuint fs = vs ? Compile(GL_FRAGMENT_SHADER, fsText, sh->defines, file, "fragment shader") : 0;
    if (!fs) {
        if (vs) glDeleteShader(vs);
        return false;
    }
    const cRenderDeviceGL_Format* format = s->Format(sh->format);
    sh->program = Link(vs, fs, format ? &format->format : nullptr, file);
    if (!sh->program) return false;
    sh->uniforms.Clear();
    ReadUniforms(sh);
    sh->autoStamp = 0;
    const cRenderDeviceGL_Shader* cur = s->Shader(s->curShader);
    glUseProgram(cur ? cur->program : 0);
    return true;
}

// The uniform behind a constant id, with its program current; null for an unknown id.
cRenderDeviceGL_Uniform* UniformOf(cRenderDeviceGL_State* s, int constID) {
    if (constID < 0) return nullptr;
    cRenderDeviceGL_Shader* sh = s->Shader(constID / UniformsPerShader);
    int index = constID % UniformsPerShader;
    if (!sh || index >= sh->uniforms.Count()) return nullptr;
    if (s->curShader != constID / UniformsPerShader) {
        glUseProgram(sh->program);
        s->curShader = constID / UniformsPerShader;
    }
    return &sh->uniforms[index];
}

// Floats into a uniform of whatever type it was declared with; an array
// takes as many elements as both sides have. A scalar or vector that already
// holds the value is not sent again.
void Upload(cRenderDeviceGL_Uniform* u, const float* v, int floats) {
    if (!u || floats <= 0) return;
    if (floats <= 4 && u->size == 1) {
        if (u->lastCount == floats && memcmp(u->last, v, sizeof(float) * (size_t)floats) == 0) return;
        memcpy(u->last, v, sizeof(float) * (size_t)floats);
        u->lastCount = floats;
    }
    GLint loc = u->location;
    int n;
    switch (u->type) {
    case GL_FLOAT: n = floats < u->size ? floats : u->size; glUniform1fv(loc, n, v); break;
    case GL_FLOAT_VEC2: n = floats / 2 < u->size ? floats / 2 : u->size; if (n) glUniform2fv(loc, n, v); break;
    case GL_FLOAT_VEC3: n = floats / 3 < u->size ? floats / 3 : u->size; if (n) glUniform3fv(loc, n, v); break;
    case GL_FLOAT_VEC4: n = floats / 4 < u->size ? floats / 4 : u->size; if (n) glUniform4fv(loc, n, v); break;
    case GL_FLOAT_MAT3: n = floats / 9 < u->size ? floats / 9 : u->size; if (n) glUniformMatrix3fv(loc, n, GL_FALSE, v); break;
    case GL_FLOAT_MAT4: n = floats / 16 < u->size ? floats / 16 : u->size; if (n) glUniformMatrix4fv(loc, n, GL_FALSE, v); break;
    case GL_INT:
    case GL_BOOL: glUniform1i(loc, (GLint)v[0]); break;
    default: break;  // samplers are set through stages
    }
}

}  // namespace

// ---- Shaders ----

int cRenderDeviceGL::AddShader(const char* name, int vertexFormatID, const char* defines) {
    if (!m->ready || !name) return -1;
    cRenderDeviceGL_Shader sh;
    sh.name = name;
    sh.defines = defines ? defines : "";
    sh.format = vertexFormatID;
    if (!Build(m, this, &sh)) return -1;
    sh.alive = true;
    m->shaders.Add(sh);
    return m->shaders.Count() - 1;
}

int cRenderDeviceGL::GetShaderID(const char* name, int vertexFormatID, const char* defines) {
    if (!m->ready || !name) return -1;
    for (int i = 0; i < m->shaders.Count(); i++) {
        const cRenderDeviceGL_Shader& sh = m->shaders[i];
        if (sh.alive && sh.format == vertexFormatID && sh.name == name && sh.defines == (defines ? defines : ""))
            return i;
    }
    return AddShader(name, vertexFormatID, defines);
}

void cRenderDeviceGL::FreeShader(int shaderID) {
    cRenderDeviceGL_Shader* sh = m->Shader(shaderID);
    if (!sh) return;
    glDeleteProgram(sh->program);
    sh->program = 0;
    sh->alive = false;
    sh->uniforms.Free();
    if (m->curShader == shaderID) m->curShader = -1;
}

// A shader that no longer builds keeps its old program.
void cRenderDeviceGL::ReloadShaders() {
    for (int i = 0; i < m->shaders.Count(); i++) {
        cRenderDeviceGL_Shader* sh = m->Shader(i);
        if (!sh) continue;
        cRenderDeviceGL_Shader fresh;
        fresh.name = sh->name, fresh.defines = sh->defines, fresh.format = sh->format;
        if (!Build(m, this, &fresh)) continue;
        glDeleteProgram(sh->program);
        fresh.alive = true;
        *sh = fresh;
        if (m->curShader == i) glUseProgram(sh->program);
    }
}

void cRenderDeviceGL::SetShader(int shaderID) {
    cRenderDeviceGL_Shader* sh = m->Shader(shaderID);
    if (!sh) {
        m->curShader = -1;
        return;
    }
    if (m->curShader != shaderID) glUseProgram(sh->program);
    m->curShader = shaderID;
}

int cRenderDeviceGL::GetShaderConstID(int shaderID, const char* name) {
    cRenderDeviceGL_Shader* sh = m->Shader(shaderID);
    for (int i = 0; sh && name && i < sh->uniforms.Count(); i++)
        if (sh->uniforms[i].unit < 0 && sh->uniforms[i].name == name) return shaderID * UniformsPerShader + i;
    return -1;
}

int cRenderDeviceGL::GetSamplerID(int shaderID, const char* name) {
    cRenderDeviceGL_Shader* sh = m->Shader(shaderID);
    for (int i = 0; sh && name && i < sh->uniforms.Count(); i++)
        if (sh->uniforms[i].unit >= 0 && sh->uniforms[i].name == name) return sh->uniforms[i].unit;
    return -1;
}

void cRenderDeviceGL::SetShaderConst(int id, int value) {
    float f = (float)value;
    Upload(UniformOf(m, id), &f, 1);
}
void cRenderDeviceGL::SetShaderConst(int id, float value) { Upload(UniformOf(m, id), &value, 1); }
void cRenderDeviceGL::SetShaderConst(int id, const cVec2& v) { Upload(UniformOf(m, id), &v.x, 2); }
void cRenderDeviceGL::SetShaderConst(int id, const cVec3& v) { Upload(UniformOf(m, id), &v.x, 3); }
void cRenderDeviceGL::SetShaderConst(int id, const cVec4& v) { Upload(UniformOf(m, id), &v.x, 4); }
void cRenderDeviceGL::SetShaderConst(int id, const cMat3& v) { Upload(UniformOf(m, id), v.ToFloatPtr(), 9); }
void cRenderDeviceGL::SetShaderConst(int id, const cMat4& v) { Upload(UniformOf(m, id), v.ToFloatPtr(), 16); }
void cRenderDeviceGL::SetShaderConst(int id, const float* v, int n) {
    if (v) Upload(UniformOf(m, id), v, n);
}
void cRenderDeviceGL::SetShaderConst(int id, const cVec2* v, int n) {
    if (v) Upload(UniformOf(m, id), &v->x, n * 2);
}
void cRenderDeviceGL::SetShaderConst(int id, const cVec3* v, int n) {
    if (v) Upload(UniformOf(m, id), &v->x, n * 3);
}
void cRenderDeviceGL::SetShaderConst(int id, const cVec4* v, int n) {
    if (v) Upload(UniformOf(m, id), &v->x, n * 4);
}

void cRenderDeviceGL::UpdateMatrices() { m->autoStamp++; }

// ---- Automatic constants ----

namespace {

// Pixels of the viewport (origin at its lower left) to clip space.
cMat4 ScreenMatrix(float w, float h) {
    cMat4 r = cMat4::Identity;
    r[0] = w > 0 ? 2.0f / w : 0;
    r[5] = h > 0 ? 2.0f / h : 0;
    r[12] = -1;
    r[13] = -1;
    return r;
}

cMat4 ScreenMatrixInverse(float w, float h) {
    cMat4 r = cMat4::Identity;
    r[0] = w * 0.5f;
    r[5] = h * 0.5f;
    r[12] = w * 0.5f;
    r[13] = h * 0.5f;
    return r;
}

}  // namespace

// Uploads the automatic constants the current shader declares when they are stale.
bool cRenderDeviceGL_PrepareShader(cRenderDeviceGL_State* s) {
    cRenderDeviceGL_Shader* sh = s->Shader(s->curShader);
    if (!sh) return false;
    if (sh->autoStamp == s->autoStamp) return true;
    sh->autoStamp = s->autoStamp;
    const GLint* loc = sh->autoLoc;
    float w = s->viewport.GetWidth(), h = s->viewport.GetHeight();
    const cMat4& world = cRender::GetWorldMatrix();
    cViewer* viewer = cRender::GetViewer();
    cMat4 view = viewer ? viewer->ViewMatrix : cMat4::Identity;
    cMat4 proj = viewer ? viewer->ProjectionMatrix : cMat4::Identity;
    using A = cRender::AutoConst;
    auto mat4 = [&](int i, const cMat4& v) {
        if (loc[i] >= 0) glUniformMatrix4fv(loc[i], 1, GL_FALSE, v.ToFloatPtr());
    };
    auto scalar = [&](int i, float v) {
        if (loc[i] >= 0) glUniform1f(loc[i], v);
    };
    scalar(A::ViewportWidth, w);
    scalar(A::ViewportHeight, h);
    scalar(A::ViewportInvWidth, w > 0 ? 1.0f / w : 0);
    scalar(A::ViewportInvHeight, h > 0 ? 1.0f / h : 0);
    mat4(A::WorldMatrix, world);
    if (loc[A::WorldMatrixInverse] >= 0) mat4(A::WorldMatrixInverse, cRender::GetWorldMatrixInverse());
    if (loc[A::ViewerPos] >= 0) {
        cMat4 viewInverse = cMat4::Identity;
        cMat4::Invert(view, &viewInverse);
        cVec3 p = viewInverse.GetTranslation();
        glUniform3f(loc[A::ViewerPos], p.x, p.y, p.z);
    }
    mat4(A::WorldViewMatrix, world * view);
    mat4(A::ViewProjectionMatrix, view * proj);
    mat4(A::WorldViewProjectionMatrix, world * view * proj);
    mat4(A::ProjectionMatrix, proj);
    mat4(A::ScreenMatrix, ScreenMatrix(w, h));
    mat4(A::ScreenMatrixInverse, ScreenMatrixInverse(w, h));
    if (loc[A::NormalMatrix] >= 0)
        glUniformMatrix3fv(loc[A::NormalMatrix], 1, GL_FALSE, cRender::GetNormalMatrix().ToFloatPtr());
    if (loc[A::NormalViewMatrix] >= 0)
        glUniformMatrix3fv(loc[A::NormalViewMatrix], 1, GL_FALSE, (world * view).ToNormalMatrix().ToFloatPtr());
    scalar(A::TimeSec, (float)(cRenderDeviceGL_Now() - s->startTime));
    scalar(A::FrameTimeSec, (float)s->frameTime);
    for (int stage = 0; stage < 4; stage++) mat4(A::TextureMatrix0 + stage, cRender::GetTextureMatrix(stage));
    return true;
}

}  // namespace zozud
