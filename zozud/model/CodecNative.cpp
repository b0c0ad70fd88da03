#include "zozud/model/CodecNative.h"

#include <cmath>
#include <cstdint>

namespace zozud {

namespace {

const float PositionScale = 256.0f / 32767.0f;

// Bounded little-endian reads from a memory file; every read fails once the
// bytes run out.
class Reader {
public:
    explicit Reader(const cFile& f) : file(f), p(f.GetData() + f.GetPos()), end(f.GetData() + f.GetSize()) {}

    int64_t Left() const { return end - p; }
    bool Bytes(void* dst, int n) {
        if (n < 0 || Left() < n) return false;
        memcpy(dst, p, (size_t)n);
        p += n;
        return true;
    }
    bool U8(int* v) { uint8_t x; if (!Bytes(&x, 1)) return false; *v = x; return true; }
    bool U16(int* v) { uint8_t b[2]; if (!Bytes(b, 2)) return false; *v = b[0] | b[1] << 8; return true; }
    bool I16(int* v) { int u; if (!U16(&u)) return false; *v = (int16_t)(uint16_t)u; return true; }
    bool U32(uint32_t* v) {
        uint8_t b[4];
        if (!Bytes(b, 4)) return false;
        *v = (uint32_t)b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24;
        return true;
    }
    bool I32(int* v) { uint32_t u; if (!U32(&u)) return false; *v = (int32_t)u; return true; }
    bool F32(float* f) {
        uint32_t u;
        if (!U32(&u)) return false;
        memcpy(f, &u, 4);
        return true;
    }
    bool Vec3(cVec3* v) { return F32(&v->x) && F32(&v->y) && F32(&v->z); }
    bool Scaled3(cVec3* v, float scale) {
        int x, y, z;
        if (!I16(&x) || !I16(&y) || !I16(&z)) return false;
        *v = cVec3(x * scale, y * scale, z * scale);
        return true;
    }
    bool Orient(cQuat* q) {
        cVec3 v;
        if (!Scaled3(&v, 1.0f / 32767.0f)) return false;
        float t = 1.0f - v.x * v.x - v.y * v.y - v.z * v.z;
        *q = cQuat(v, std::sqrt(t < 0 ? 0.0f : (t > 1 ? 1.0f : t)));
        return true;
    }
    // A name: i16 length and that many bytes, none of them zero.
    bool Name(cStr* s) {
        int n;
        if (!I16(&n) || n < 0 || Left() < n) return false;
        if (memchr(p, 0, (size_t)n)) return false;
        *s = cStr((const char*)p, 0, n);
        p += n;
        return true;
    }
    bool Header(int magic) {
        int m, version;
        return U16(&m) && m == magic && U8(&version) && version == 0;
    }
    void Finish() { file.SetPos((int)(p - file.GetData())); }

private:
    const cFile&         file;
    const unsigned char* p;
    const unsigned char* end;
};

class Writer {
public:
    cList<unsigned char> bytes;

    void Bytes(const void* src, int n) { bytes.AddRange((const unsigned char*)src, n); }
    void U8(int v) { unsigned char b = (unsigned char)v; Bytes(&b, 1); }
    void U16(int v) { unsigned char b[2] = {(unsigned char)v, (unsigned char)(v >> 8)}; Bytes(b, 2); }
    void U32(uint32_t v) {
        unsigned char b[4] = {(unsigned char)v, (unsigned char)(v >> 8), (unsigned char)(v >> 16), (unsigned char)(v >> 24)};
        Bytes(b, 4);
    }
    void F32(float f) { uint32_t u; memcpy(&u, &f, 4); U32(u); }
    void Vec3(const cVec3& v) { F32(v.x); F32(v.y); F32(v.z); }
    static int Quantize(float f, float scale) {
        if (!(f == f)) return 0;
        float q = std::round(f / scale);
        return q > 32767 ? 32767 : (q < -32768 ? -32768 : (int)q);
    }
    void Scaled3(const cVec3& v, float scale) { U16(Quantize(v.x, scale)); U16(Quantize(v.y, scale)); U16(Quantize(v.z, scale)); }
    void Orient(cQuat q) {
        if (q.w < 0) q = -q;  // the reader rebuilds a positive w
        Scaled3(q.ToVec3(), 1.0f / 32767.0f);
    }
    void Name(const cStr& s) {
        int n = s.Length() > 32767 ? 32767 : s.Length();
        U16(n);
        Bytes(s.ToChar(), n);
    }
    void Header(int magic) { U16(magic); U8(0); }
    void Flush(cFile* file) { file->WriteBytes(bytes.GetPtr(), bytes.Count()); }
};

const int StaticVertexSize = 38, AnimVertexSize = 54;

template <class V>
bool ReadCommon(Reader& r, V* v) {
    return r.Vec3(&v->Pos) && r.Scaled3(&v->Normal, 1.0f / 32767.0f) && r.F32(&v->TexCoord.x) &&
           r.F32(&v->TexCoord.y) && r.Scaled3(&v->Tangent, 1.0f / 32767.0f) && r.Scaled3(&v->BiTangent, 1.0f / 32767.0f);
}

template <class V>
void WriteCommon(Writer& w, const V& v) {
    w.Vec3(v.Pos);
    w.Scaled3(v.Normal, 1.0f / 32767.0f);
    w.F32(v.TexCoord.x);
    w.F32(v.TexCoord.y);
    w.Scaled3(v.Tangent, 1.0f / 32767.0f);
    w.Scaled3(v.BiTangent, 1.0f / 32767.0f);
}

int QuantizeWeight(float f) {
    if (!(f > 0)) return 0;
    float q = std::round(f * 65535.0f);
    return q > 65535 ? 65535 : (int)q;
}

}  // namespace

// ---- Models ----

bool cCodecModel::Decode(const cFile& file, cModel* model) {
    if (!model) return false;
    Reader r(file);
    int joints, meshes, isStatic;
    if (!r.Header(0x6D63) || !r.I16(&joints) || joints < 0) return false;
    model->Free();
    // A joint record is at least 20 bytes.
    if (r.Left() < (int64_t)joints * 20) return false;
    if (!model->Joints.SetCount(joints)) return false;
    for (cModel::Joint& j : model->Joints)
        if (!r.Name(&j.Name) || !r.I16(&j.Parent) || j.Parent < -1 || j.Parent >= joints || !r.Vec3(&j.Position) ||
            !r.Orient(&j.Orient))
            return false;
    if (!r.I16(&meshes) || meshes < 0 || !r.U8(&isStatic) || isStatic > 1) return false;
    model->IsStatic = isStatic == 1;
    if (r.Left() < (int64_t)meshes * 10) return false;
    if (!model->Meshes.SetCount(meshes)) return false;
    for (cModel::Mesh& m : model->Meshes) {
        uint32_t indices, verts;
        if (!r.Name(&m.Material) || !r.U32(&indices) || r.Left() < (int64_t)indices * 2) return false;
        m.Name = m.Material;
        if (!m.Indices.SetCount((int)indices)) return false;
        for (int& i : m.Indices)
            if (!r.U16(&i)) return false;
        int size = model->IsStatic ? StaticVertexSize : AnimVertexSize;
        if (!r.U32(&verts) || verts > 65536 || r.Left() < (int64_t)verts * size) return false;
        for (int i : m.Indices)
            if (i >= (int)verts) return false;
        if (model->IsStatic) {
            if (!m.Verts.SetCount((int)verts)) return false;
            for (cVertex::Bump& v : m.Verts)
                if (!ReadCommon(r, &v)) return false;
        } else {
            if (!m.AnimVerts.SetCount((int)verts)) return false;
            for (cVertex::Anim& v : m.AnimVerts) {
                if (!ReadCommon(r, &v)) return false;
                for (int k = 0; k < 4; k++) {
                    int j;
                    if (!r.U16(&j)) return false;
                    v.Indices[k] = (float)j;
                }
                for (int k = 0; k < 4; k++) {
                    int w;
                    if (!r.U16(&w)) return false;
                    v.Weights[k] = w / 65535.0f;
                }
            }
        }
    }
    if (!r.Vec3(&model->Bounds.min) || !r.Vec3(&model->Bounds.max)) return false;
    r.Finish();
    return true;
}

bool cCodecModel::Encode(const cModel& model, cFile* file) {
    if (!file || model.Joints.Count() > 32767 || model.Meshes.Count() > 32767) return false;
    Writer w;
    w.Header(0x6D63);
    w.U16(model.Joints.Count());
    for (const cModel::Joint& j : model.Joints) {
        w.Name(j.Name);
        w.U16(j.Parent < -1 || j.Parent >= model.Joints.Count() ? -1 : j.Parent);
        w.Vec3(j.Position);
        w.Orient(j.Orient);
    }
    w.U16(model.Meshes.Count());
    w.U8(model.IsStatic ? 1 : 0);
    for (const cModel::Mesh& m : model.Meshes) {
        int verts = model.IsStatic ? m.Verts.Count() : m.AnimVerts.Count();
        if (verts > 65536) return false;
        w.Name(m.Material);
        w.U32((uint32_t)m.Indices.Count());
        for (int i : m.Indices) {
            if (i < 0 || i >= verts) return false;
            w.U16(i);
        }
        w.U32((uint32_t)verts);
        if (model.IsStatic) {
            for (const cVertex::Bump& v : m.Verts) WriteCommon(w, v);
        } else {
            for (const cVertex::Anim& v : m.AnimVerts) {
                WriteCommon(w, v);
                for (int k = 0; k < 4; k++) {
                    float j = v.Indices[k];
                    w.U16(j >= 0 && j < 65536 ? (int)j : 0);
                }
                for (int k = 0; k < 4; k++) w.U16(QuantizeWeight(v.Weights[k]));
            }
        }
    }
    w.Vec3(model.Bounds.min);
    w.Vec3(model.Bounds.max);
    w.Flush(file);
    return true;
}

// ---- Animations ----

bool cCodecAnim::Decode(const cFile& file, cAnim* anim) {
    if (!anim) return false;
    Reader r(file);
    int rate, joints, frames;
    if (!r.Header(0x6163) || !r.I16(&rate) || rate < 0 || !r.I16(&joints) || joints < 0) return false;
    anim->Free();
    anim->FrameRate = rate;
    if (r.Left() < (int64_t)joints * 4) return false;
    if (!anim->Joints.SetCount(joints)) return false;
    for (cAnim::Hierarchy& h : anim->Joints)
        if (!r.Name(&h.Name) || !r.I16(&h.Parent) || h.Parent < -1 || h.Parent >= joints) return false;
    if (!r.I32(&frames) || frames < 0 || r.Left() < (int64_t)frames * ((int64_t)joints * 18 + 12)) return false;
    if (!anim->Frames.SetCount(frames)) return false;
    for (cList<cAnim::FrameJoint>& frame : anim->Frames) {
        if (!frame.SetCount(joints)) return false;
        for (cAnim::FrameJoint& j : frame)
            if (!r.Scaled3(&j.Position, PositionScale) || !r.Orient(&j.Orient) || !r.Scaled3(&j.Scale, PositionScale))
                return false;
    }
    if (!anim->FrameBounds.SetCount(frames)) return false;
    anim->Bounds.Clear();
    for (cBounds& b : anim->FrameBounds) {
        if (!r.Scaled3(&b.min, PositionScale) || !r.Scaled3(&b.max, PositionScale)) return false;
        anim->Bounds.AddBounds(b);
    }
    r.Finish();
    return true;
}

bool cCodecAnim::Encode(const cAnim& anim, cFile* file) {
    if (!file || anim.Joints.Count() > 32767 || anim.FrameRate < 0 || anim.FrameRate > 32767) return false;
    for (const cList<cAnim::FrameJoint>& frame : anim.Frames)
        if (frame.Count() != anim.Joints.Count()) return false;
    Writer w;
    w.Header(0x6163);
    w.U16(anim.FrameRate);
    w.U16(anim.Joints.Count());
    for (const cAnim::Hierarchy& h : anim.Joints) {
        w.Name(h.Name);
        w.U16(h.Parent < -1 || h.Parent >= anim.Joints.Count() ? -1 : h.Parent);
    }
    w.U32((uint32_t)anim.Frames.Count());
    for (const cList<cAnim::FrameJoint>& frame : anim.Frames)
        for (const cAnim::FrameJoint& j : frame) {
            w.Scaled3(j.Position, PositionScale);
            w.Orient(j.Orient);
            w.Scaled3(j.Scale, PositionScale);
        }
    // The frames' boxes as kept, or computed when they are not up to date
    // (a frame without joints has none: zeros).
    cAnim bounded;
    const cList<cBounds>* bounds = &anim.FrameBounds;
    if (anim.FrameBounds.Count() != anim.Frames.Count()) {
        bounded.Frames = anim.Frames;
        bounded.UpdateBounds();
        for (cBounds& b : bounded.FrameBounds)
            if (b.IsEmpty()) b = cBounds(cVec3(0, 0, 0), cVec3(0, 0, 0));
        bounds = &bounded.FrameBounds;
    }
    for (const cBounds& b : *bounds) {
        w.Scaled3(b.min, PositionScale);
        w.Scaled3(b.max, PositionScale);
    }
    w.Flush(file);
    return true;
}

// ---- Cameras ----

bool cCodecCamera::Decode(const cFile& file, cCamera* camera) {
    if (!camera) return false;
    Reader r(file);
    int flags, tracks;
    if (!r.Header(0x6363) || !r.I32(&flags) || flags < 0 || !r.I32(&tracks) || tracks < 0) return false;
    if (r.Left() < (int64_t)tracks * 6) return false;
    camera->Free();
    camera->Flags = flags;
    if (!camera->Tracks.SetCount(tracks)) return false;
    for (cCamera::Camera& c : camera->Tracks) {
        int frames;
        if (!r.Name(&c.Name) || !r.I32(&frames) || frames < 0 || r.Left() < (int64_t)frames * 20) return false;
        if (!c.Frames.SetCount(frames)) return false;
        for (cCamera::Frame& f : c.Frames)
            if (!r.F32(&f.TimeSec) || !r.Scaled3(&f.Position, PositionScale) || !r.Orient(&f.Orient) || !r.F32(&f.FovY))
                return false;
    }
    r.Finish();
    return true;
}

bool cCodecCamera::Encode(const cCamera& camera, cFile* file) {
    if (!file || camera.Flags < 0) return false;
    Writer w;
    w.Header(0x6363);
    w.U32((uint32_t)camera.Flags);
    w.U32((uint32_t)camera.Tracks.Count());
    for (const cCamera::Camera& c : camera.Tracks) {
        w.Name(c.Name);
        w.U32((uint32_t)c.Frames.Count());
        for (const cCamera::Frame& f : c.Frames) {
            w.F32(f.TimeSec);
            w.Scaled3(f.Position, PositionScale);
            w.Orient(f.Orient);
            w.F32(f.FovY);
        }
    }
    w.Flush(file);
    return true;
}

}  // namespace zozud
