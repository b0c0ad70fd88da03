// Vertex formats, buffers and draws of the OpenGL device. A draw reads its
// vertices in the format of the current shader; draws from memory stream
// through one buffer that is filled front to back and orphaned when full. Indices that point past the vertices skip the draw.
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
const cRenderDeviceGL_Format* Prepare(cRenderDeviceGL_State* s, int* formatID) {
    if (!cRenderDeviceGL_PrepareShader(s)) return nullptr;
    *formatID = s->shaders[s->curShader].format;
    const cRenderDeviceGL_Format* f = s->Format(*formatID);
    return f && f->size > 0 ? f : nullptr;
}

// Points the attributes at a buffer holding vertices of a format from its start.
void SetAttributes(cRenderDeviceGL_State* s, const cRenderDeviceGL_Format& f, int formatID, GLuint buffer) {
    static const int MaxAttribs = 16;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    if (s->attribBuffer == buffer && s->attribFormat == formatID) return;
    s->attribBuffer = buffer;
    s->attribFormat = formatID;
    size_t at = 0;
    int n = f.format.Attribs.Count() < MaxAttribs ? f.format.Attribs.Count() : MaxAttribs;
    for (int i = 0; i < n; i++) {
        const cVertex::Attrib& a = f.format.Attribs[i];
        bool bytes = a.Type == cVertexType::Byte;
        glVertexAttribPointer((GLuint)i, a.Count, bytes ? GL_UNSIGNED_BYTE : GL_FLOAT, bytes ? GL_TRUE : GL_FALSE,
                              f.size, reinterpret_cast<const void*>(at));
        at += (size_t)a.GetSize();
    }
    int& enabled = s->enabledAttribs;
    for (int i = enabled; i < n; i++) glEnableVertexAttribArray((GLuint)i);
    for (int i = n; i < enabled; i++) glDisableVertexAttribArray((GLuint)i);
    enabled = n;
}

void SetElements(cRenderDeviceGL_State* s, GLuint buffer) {
    if (s->elementBuffer == buffer) return;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
    s->elementBuffer = buffer;
}

size_t RoundUp(size_t v, size_t step) { return (v + step - 1) / step * step; }

// Copies vertices (and indices, when given) into the stream buffer: the
// first vertex and the byte offset of the indices.
void Stream(cRenderDeviceGL_State* s, const cRenderDeviceGL_Format& f, int formatID, const void* vertices,
            size_t vertexBytes, const void* indices, size_t indexBytes, GLint* first, size_t* indexAt) {
    size_t size = (size_t)f.size;
    size_t start = RoundUp(s->streamAt, size), istart = RoundUp(start + vertexBytes, 4);
    glBindBuffer(GL_ARRAY_BUFFER, s->stream);
    if (istart + indexBytes > s->streamSize) {
        size_t need = vertexBytes + indexBytes + 4;
        s->streamSize = need > StreamBytes ? need : StreamBytes;
        glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)s->streamSize, nullptr, GL_STREAM_DRAW);
        start = 0;
        istart = RoundUp(vertexBytes, 4);
    }
    size_t end = indexBytes ? istart + indexBytes : start + vertexBytes;
    // The range was not written since the buffer was last orphaned: no draw
    // reads it, so the GL need not wait for earlier draws.
    unsigned char* dst = static_cast<unsigned char*>(glMapBufferRange(
        GL_ARRAY_BUFFER, (GLintptr)start, (GLsizeiptr)(end - start),
        GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_INVALIDATE_RANGE_BIT));
    if (dst) {
        memcpy(dst, vertices, vertexBytes);
        if (indexBytes) memcpy(dst + (istart - start), indices, indexBytes);
        glUnmapBuffer(GL_ARRAY_BUFFER);
    } else {
        glBufferSubData(GL_ARRAY_BUFFER, (GLintptr)start, (GLsizeiptr)vertexBytes, vertices);
        if (indexBytes) glBufferSubData(GL_ARRAY_BUFFER, (GLintptr)istart, (GLsizeiptr)indexBytes, indices);
    }
    s->streamAt = end;
    SetAttributes(s, f, formatID, s->stream);
    *first = (GLint)(start / size);
    *indexAt = istart;
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
    if (m->attribBuffer == b->name) m->attribBuffer = 0, m->attribFormat = -1;
    glDeleteBuffers(1, &b->name);
    *b = cRenderDeviceGL_Buffer();
}

void cRenderDeviceGL::FreeIndexBuffer(int id) {
    cRenderDeviceGL_Buffer* b = m->Buffer(id);
    if (!b || !b->indexSize) return;
    if (m->elementBuffer == b->name) m->elementBuffer = 0;
    glDeleteBuffers(1, &b->name);
    *b = cRenderDeviceGL_Buffer();
}

void cRenderDeviceGL::SetVertexBuffer(int id) { m->curVertexBuffer = id; }
void cRenderDeviceGL::SetIndexBuffer(int id) { m->curIndexBuffer = id; }

// ---- Draws ----

void cRenderDeviceGL::DrawArrays(cTopology::Enum topology) {
    GLenum mode;
    int formatID;
    cRenderDeviceGL_Buffer* vb = m->Buffer(m->curVertexBuffer);
    if (!m->ready || !vb || vb->indexSize || !ModeOf(topology, &mode)) return;
    const cRenderDeviceGL_Format* f = Prepare(m, &formatID);
    if (!f) return;
    SetAttributes(m, *f, formatID, vb->name);
    glDrawArrays(mode, 0, (GLsizei)(vb->bytes / (size_t)f->size));
    m->drawCalls++;
}

void cRenderDeviceGL::DrawIndexed(cTopology::Enum topology) {
    GLenum mode;
    int formatID;
    cRenderDeviceGL_Buffer* vb = m->Buffer(m->curVertexBuffer);
    cRenderDeviceGL_Buffer* ib = m->Buffer(m->curIndexBuffer);
    if (!m->ready || !vb || vb->indexSize || !ib || !ib->indexSize || !ModeOf(topology, &mode)) return;
    const cRenderDeviceGL_Format* f = Prepare(m, &formatID);
    if (!f || ib->maxIndex >= vb->bytes / (size_t)f->size) return;
    SetAttributes(m, *f, formatID, vb->name);
    SetElements(m, ib->name);
    glDrawElements(mode, (GLsizei)(ib->bytes / (size_t)ib->indexSize),
                   ib->indexSize == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT, nullptr);
    m->drawCalls++;
}

void cRenderDeviceGL::DrawArrays(cTopology::Enum topology, const void* vertices, int count) {
    GLenum mode;
    int formatID;
    if (!m->ready || !vertices || count <= 0 || !ModeOf(topology, &mode)) return;
    const cRenderDeviceGL_Format* f = Prepare(m, &formatID);
    if (!f) return;
    GLint first;
    size_t unused;
    Stream(m, *f, formatID, vertices, (size_t)count * (size_t)f->size, nullptr, 0, &first, &unused);
    glDrawArrays(mode, first, count);
    m->drawCalls++;
}

void cRenderDeviceGL::DrawIndexed(cTopology::Enum topology, const void* vertices, int vertexCount,
                                  const void* indices, int indexCount, int indexSize) {
    GLenum mode;
    int formatID;
    if (!m->ready || !vertices || vertexCount <= 0 || !indices || indexCount <= 0 ||
        (indexSize != 2 && indexSize != 4) || !ModeOf(topology, &mode))
        return;
    const cRenderDeviceGL_Format* f = Prepare(m, &formatID);
    if (!f || !IndicesBelow(indices, indexCount, indexSize, (unsigned)vertexCount)) return;
    GLint first;
    size_t indexAt;
    Stream(m, *f, formatID, vertices, (size_t)vertexCount * (size_t)f->size, indices,
           (size_t)indexCount * (size_t)indexSize, &first, &indexAt);
    SetElements(m, m->stream);
    glDrawElementsBaseVertex(mode, indexCount, indexSize == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT,
                             reinterpret_cast<const void*>(indexAt), first);
    m->drawCalls++;
}

}  // namespace zozud
