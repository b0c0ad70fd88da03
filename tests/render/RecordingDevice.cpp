#include "render/RecordingDevice.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

namespace zozud_test {

namespace {

// Stable ids for everything named, shared by every device of the program,
// with the vertex format of each shader and the size of each format.
struct Names {
    std::map<std::string, int> ids;
    std::map<int, std::string> names;
    std::map<int, int> shaderFormats, formatSizes;
};

Names& Table() {
    static Names t;
    return t;
}

int NameId(const std::string& name) {
    Names& t = Table();
    auto it = t.ids.find(name);
    if (it != t.ids.end()) return it->second;
    int id = 100 + (int)t.ids.size();
    t.ids[name] = id;
    t.names[id] = name;
    return id;
}

RecordingDevice* s_Next = nullptr;

cRender::Stub* MakeNext(int) {
    cRender::Stub* d = s_Next;
    s_Next = nullptr;
    return d;
}

}  // namespace

void RecordingDevice::Add(const char* fmt, ...) {
    char text[512];
    va_list args;
    va_start(args, fmt);
    vsnprintf(text, sizeof text, fmt, args);
    va_end(args);
    Calls.push_back(text);
}

std::string RecordingDevice::R(const cRect& r) {
    if (r.IsEmpty()) return "empty";
    char text[128];
    snprintf(text, sizeof text, "%g %g %g %g", r.x0, r.y0, r.x1, r.y1);
    return text;
}

int RecordingDevice::Id(const std::string& kind, int key) { return NameId(kind + " " + std::to_string(key)); }

std::string RecordingDevice::Name(int id) {
    auto it = Table().names.find(id);
    return it != Table().names.end() ? it->second : std::to_string(id);
}

int RecordingDevice::Count(const std::string& prefix) const {
    int n = 0;
    for (const std::string& c : Calls) n += c.compare(0, prefix.size(), prefix) == 0;
    return n;
}

float RecordingDevice::VertexFloat(int i, int offset) const {
    float f;
    memcpy(&f, &Vertices[(size_t)i * Stride + offset], 4);
    return f;
}

unsigned RecordingDevice::VertexWord(int i, int offset) const {
    unsigned w;
    memcpy(&w, &Vertices[(size_t)i * Stride + offset], 4);
    return w;
}

void RecordingDevice::UpdateTexture(int id, const cList<cImage*>& images, const cList<cRect>& rects) {
    std::string sizes;
    for (cImage* image : images) sizes += " " + std::to_string(image->Width) + "x" + std::to_string(image->Height);
    Add("UpdateTexture(%d,%s, %d rects)", id, sizes.c_str(), rects.Count());
}

int RecordingDevice::GetShaderID(const char* name, int format, const char* defines) {
    std::string key = name;
    if (defines && *defines) key += std::string(" [") + defines + "]";
    int id = NameId(key);
    Table().shaderFormats[id] = format;
    return id;
}

int RecordingDevice::GetShaderConstID(int, const char* name) { return NameId(name); }

void RecordingDevice::SetShader(int id) {
    m_Shader = id;
    Add("SetShader(%s)", Name(id).c_str());
}

int RecordingDevice::AddVertexFormat(const cVertex::Format& f) {
    int id = NameId("format " + std::to_string(f.GetSize()) + " " + std::to_string(f.Attribs.Count()));
    Table().formatSizes[id] = f.GetSize();
    Add("AddVertexFormat(%d bytes)", f.GetSize());
    return id;
}

int RecordingDevice::GetVertexSize(int id) { return Table().formatSizes.count(id) ? Table().formatSizes[id] : -1; }

void RecordingDevice::KeepDraw(int topology, const void* v, int n, const void* idx, int m, int size) {
    Topology = topology;
    int format = Table().shaderFormats.count(m_Shader) ? Table().shaderFormats[m_Shader] : -1;
    Stride = std::max(GetVertexSize(format), 0);
    const unsigned char* bytes = static_cast<const unsigned char*>(v);
    Vertices.assign(bytes, bytes + (size_t)n * Stride);
    Indices.clear();
    for (int i = 0; i < m && size == 4; i++) Indices.push_back(static_cast<const int*>(idx)[i]);
}

void RecordingDevice::DrawArrays(cTopology::Enum t, const void* v, int n) {
    Add("DrawArrays(%d, %d)", (int)t, n);
    KeepDraw(t, v, n, nullptr, 0, 4);
}

void RecordingDevice::DrawIndexed(cTopology::Enum t, const void* v, int n, const void* idx, int m, int size) {
    Add("DrawIndexed(%d, %d, %d, %d)", (int)t, n, m, size);
    KeepDraw(t, v, n, idx, m, size);
}

void RecordingDevice::SetRenderTargets(const int* targets, int count, int depth, const int* faces) {
    std::string list;
    for (int i = 0; i < count; i++) list += (i ? " " : "") + std::to_string(targets[i]);
    Add("SetRenderTargets([%s], %d, %d, %s)", list.c_str(), count, depth, faces ? "faces" : "null");
}

RecordingScope::RecordingScope(int type, const char* vendor) {
    m_Device = new RecordingDevice();
    m_Device->Type = type;
    m_Device->Vendor = vendor;
    s_Next = m_Device;
    cRender::SetDeviceFactory(MakeNext);
    cRender::Init(type);
    m_Device->Clear();
}

RecordingScope::~RecordingScope() {
    cRender::Free();
    cRender::SetDeviceFactory(nullptr);
}

}  // namespace zozud_test
