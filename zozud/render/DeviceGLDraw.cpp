// Vertex formats, buffers and draws of the OpenGL device. A draw reads its
// vertices in the format of the current shader; draws from memory stream
// through one vertex and one index buffer that are filled front to back and
// orphaned when full. Indices that point past the vertices skip the draw.
#include <cstdint>
#include <cstring>

#include "zozud/core/Log.h"
#include "zozud/render/DeviceGLState.h"

namespace zozud {

namespace {

const size_t StreamBytes = size_t(4) << 20;

const GLenum Modes[] = {GL_POINTS, GL_LINES, GL_LINE_STRIP, GL_TRIANGLES, GL_TRIANGLE_STRIP};

bool ModeOf(cTopology::Enum topology, GLenum* mode) {
    if (topology < 0 || topology >= (int)(sizeof Modes / sizeof Modes[0])) return false;
    *mode = Modes[topology];
    return true;
}

// The format of the current shader, the shader's constants up to date; null when nothing can be drawn.
const cRenderDeviceGL_Format* Prepare(cRenderDeviceGL_State* s) {
    if (!cRenderDeviceGL_PrepareShader(s)) return nullptr;
    const cRenderDeviceGL_Format* f = s->Format(s->shaders[s->curShader].format);
    return f && f->size > 0 ? f : nullptr;
}

// Attribute i at location i, read from the bound vertex buffer at offset.
void SetAttributes(cRenderDeviceGL_State* s, const cRenderDeviceGL_Format& f, size_t offset) {
    static const int MaxAttribs = 16;
    int& enabled = s->enabledAttribs;
    size_t at = offset;
    int n = f.format.Attribs.Count() < MaxAttribs ? f.format.Attribs.Count() : MaxAttribs;
    for (int i = 0; i < n; i++) {
        const cVertex::Attrib& a = f.format.Attribs[i];
        bool bytes = a.Type == cVertexType::Byte;
        glVertexAttribPointer((GLuint)i, a.Count, bytes ? GL_UNSIGNED_BYTE : GL_FLOAT, bytes ? GL_TRUE : GL_FALSE,
                              f.size, reinterpret_cast<const void*>(at));
        at += (size_t)a.GetSize();
    }
    for (int i = enabled; i < n; i++) glEnableVertexAttribArray((GLuint)i);
    for (int i = n; i < enabled; i++) glDisableVertexAttribArray((GLuint)i);
    enabled = n;
}

// Copies bytes into a stream buffer; the offset they landed at.
size_t Stream(GLenum target, GLuint buffer, size_t* size, size_t* at, const void* data, size_t bytes) {
    glBindBuffer(target, buffer);
    size_t start = (*at + 15) & ~size_t(15);
    if (start + bytes > *size) {
        *size = bytes > StreamBytes ? bytes : StreamBytes;
        glBufferData(target, (GLsizeiptr)*size, nullptr, GL_STREAM_DRAW);
        start = 0;
    }
    glBufferSubData(target, (GLintptr)start, (GLsizeiptr)bytes, data);
    *at = start + bytes;
    return start;
}

bool IndicesBelow(const void* indices, int count, int indexSize, unsigned limit) {
    if (indexSize == 2) {
        const unsigned short* p = static_cast<const unsigned short*>(indices);
        for (int i = 0; i < count; i++)
            if (p[i] >= limit) return false;
    } else {
        const unsigned* p = static_cast<const unsigned*>(indices);
        for (int i = 0; i < count; i++)
            if (p[i] >= limit) return false;
    }
    return true;
}

}  // namespace

// ---- Formats and buffers ----

int cRenderDeviceGL::AddVertexFormat(const cVertex::Format& format) {
    if (format.Attribs.IsEmpty()) return -1;
    for (const cVertex::Attrib& a : format.Attribs)
        if (!a.IsValid()) return -1;
    cRenderDeviceGL_Format f;
    f.format = format;
    f.size = format.GetSize();
    m->formats.Add(f);
    return m->formats.Count() - 1;
}

int cRenderDeviceGL::GetVertexSize(int formatID) {
    const cRenderDeviceGL_Format* f = m->Format(formatID);
    return f ? f->size : -1;
}

int cRenderDeviceGL::AddVertexBuffer(const void* data, size_t bytes) {
    if (!m->ready || !data || bytes == 0 || bytes > (size_t)PTRDIFF_MAX) return -1;
    cRenderDeviceGL_Buffer b;
    glGenBuffers(1, &b.name);
    glBindBuffer(GL_ARRAY_BUFFER, b.name);
    glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)bytes, data, GL_STATIC_DRAW);
    b.bytes = bytes;
    b.alive = true;
    m->buffers.Add(b);
    return m->buffers.Count() - 1;
}

int cRenderDeviceGL::AddIndexBuffer(const void* data, int count, int indexSize) {
    if (!m->ready || !data || count <= 0 || (indexSize != 2 && indexSize != 4)) return -1;
    cRenderDeviceGL_Buffer b;
    unsigned maxIndex = 0;
    for (int i = 0; i < count; i++) {
        unsigned v = indexSize == 2 ? static_cast<const unsigned short*>(data)[i] : static_cast<const unsigned*>(data)[i];
        maxIndex = v > maxIndex ? v : maxIndex;
    }
    glGenBuffers(1, &b.name);
    glBindBuffer(GL_ARRAY_BUFFER, b.name);  // the element binding belongs to the vertex array
    glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)count * indexSize, data, GL_STATIC_DRAW);
    b.bytes = (size_t)count * (size_t)indexSize;
    b.indexSize = indexSize;
    b.maxIndex = maxIndex;
    b.alive = true;
    m->buffers.Add(b);
    return m->buffers.Count() - 1;
}

void cRenderDeviceGL::FreeVertexBuffer(int id) {
    cRenderDeviceGL_Buffer* b = m->Buffer(id);
    if (!b || b->indexSize) return;
    glDeleteBuffers(1, &b->name);
    *b = cRenderDeviceGL_Buffer();
}

void cRenderDeviceGL::FreeIndexBuffer(int id) {
    cRenderDeviceGL_Buffer* b = m->Buffer(id);
    if (!b || !b->indexSize) return;
    glDeleteBuffers(1, &b->name);
    *b = cRenderDeviceGL_Buffer();
}

void cRenderDeviceGL::SetVertexBuffer(int id) { m->curVertexBuffer = id; }
void cRenderDeviceGL::SetIndexBuffer(int id) { m->curIndexBuffer = id; }

// ---- Draws ----

void cRenderDeviceGL::DrawArrays(cTopology::Enum topology) {
    GLenum mode;
    cRenderDeviceGL_Buffer* vb = m->Buffer(m->curVertexBuffer);
    if (!m->ready || !vb || vb->indexSize || !ModeOf(topology, &mode)) return;
    const cRenderDeviceGL_Format* f = Prepare(m);
    if (!f) return;
    glBindBuffer(GL_ARRAY_BUFFER, vb->name);
    SetAttributes(m, *f, 0);
    glDrawArrays(mode, 0, (GLsizei)(vb->bytes / (size_t)f->size));
    m->drawCalls++;
}

void cRenderDeviceGL::DrawIndexed(cTopology::Enum topology) {
    GLenum mode;
    cRenderDeviceGL_Buffer* vb = m->Buffer(m->curVertexBuffer);
    cRenderDeviceGL_Buffer* ib = m->Buffer(m->curIndexBuffer);
    if (!m->ready || !vb || vb->indexSize || !ib || !ib->indexSize || !ModeOf(topology, &mode)) return;
    const cRenderDeviceGL_Format* f = Prepare(m);
    if (!f || ib->maxIndex >= vb->bytes / (size_t)f->size) return;
    glBindBuffer(GL_ARRAY_BUFFER, vb->name);
    SetAttributes(m, *f, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ib->name);
    glDrawElements(mode, (GLsizei)(ib->bytes / (size_t)ib->indexSize),
                   ib->indexSize == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT, nullptr);
    m->drawCalls++;
}

void cRenderDeviceGL::DrawArrays(cTopology::Enum topology, const void* vertices, int count) {
    GLenum mode;
    if (!m->ready || !vertices || count <= 0 || !ModeOf(topology, &mode)) return;
    const cRenderDeviceGL_Format* f = Prepare(m);
    if (!f) return;
    size_t at = Stream(GL_ARRAY_BUFFER, m->streamVbo, &m->streamVboSize, &m->streamVboAt, vertices,
                       (size_t)count * (size_t)f->size);
    SetAttributes(m, *f, at);
    glDrawArrays(mode, 0, count);
    m->drawCalls++;
}

void cRenderDeviceGL::DrawIndexed(cTopology::Enum topology, const void* vertices, int vertexCount,
                                  const void* indices, int indexCount, int indexSize) {
    GLenum mode;
    if (!m->ready || !vertices || vertexCount <= 0 || !indices || indexCount <= 0 ||
        (indexSize != 2 && indexSize != 4) || !ModeOf(topology, &mode))
        return;
    const cRenderDeviceGL_Format* f = Prepare(m);
    if (!f || !IndicesBelow(indices, indexCount, indexSize, (unsigned)vertexCount)) return;
    size_t at = Stream(GL_ARRAY_BUFFER, m->streamVbo, &m->streamVboSize, &m->streamVboAt, vertices,
                       (size_t)vertexCount * (size_t)f->size);
    SetAttributes(m, *f, at);
    size_t iat = Stream(GL_ELEMENT_ARRAY_BUFFER, m->streamIbo, &m->streamIboSize, &m->streamIboAt, indices,
                        (size_t)indexCount * (size_t)indexSize);
    glDrawElements(mode, indexCount, indexSize == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT,
                   reinterpret_cast<const void*>(iat));
    m->drawCalls++;
}

}  // namespace zozud
