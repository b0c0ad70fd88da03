// The body shared by the model, animation and camera codec fuzz targets:
// decode the input; what decodes is touched whole, and for the codecs that
// write, written again: the native formats must give back exactly the bytes
// the decoder consumed, OBJ must read back with the same triangle count.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "zozud/io/Codec.h"
#include "zozud/model/Anim.h"
#include "zozud/model/Camera.h"
#include "zozud/model/Model.h"

namespace modelfuzz {

inline void Check(bool condition) {
    if (!condition) abort();
}

inline void Touch(const zozud::cModel& m) {
    float sum = 0;
    for (const zozud::cModel::Mesh& mesh : m.Meshes) {
        int verts = m.IsStatic ? mesh.Verts.Count() : mesh.AnimVerts.Count();
        for (int i : mesh.Indices) Check(i >= 0 && i < verts);
        for (const zozud::cVertex::Bump& v : mesh.Verts) sum += v.Pos.x;
        for (const zozud::cVertex::Anim& v : mesh.AnimVerts) sum += v.Pos.x + v.Weights.x;
    }
    for (const zozud::cModel::Joint& j : m.Joints) Check(j.Parent < m.Joints.Count());
    (void)sum;
}
inline void Touch(const zozud::cAnim& a) {
    for (const auto& frame : a.Frames) Check(frame.Count() == a.Joints.Count());
    zozud::cList<zozud::cAnim::Joint> joints;
    a.SetFrame(0.5f, &joints);
}
inline void Touch(const zozud::cCamera& c) {
    zozud::cCamera::State s;
    c.Step(&s, 0.25f);
}

// exact: the encoder must give back the consumed bytes.
template <class Codec, class T>
int Run(const uint8_t* data, size_t size, bool exact) {
    Codec codec;
    zozud::cFile file;
    file.Copy(data, (int)size, "fuzz");
    T object;
    if (!codec.Decode(file, &object)) return 0;
    Touch(object);
    if (!codec.Encodes()) return 0;
    zozud::cFile out;
    if (!codec.Encode(object, &out)) return 0;
    if (exact) {
        Check(out.GetSize() == file.GetPos());
        Check(memcmp(out.GetData(), data, (size_t)out.GetSize()) == 0);
    } else {
        out.SetPos(0);
        T back;
        Check(codec.Decode(out, &back));
    }
    return 0;
}

}  // namespace modelfuzz
