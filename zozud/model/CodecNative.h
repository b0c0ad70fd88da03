// The framework's own binary formats, little-endian, each starting with a
// two-byte magic and a version byte: models ("cModel"), animations ("cAnim")
// and cameras ("cCamera"). Unit vectors and orientations are stored as i16
// components / 32767 (an orientation's w is rebuilt, positive), animation and
// camera positions as i16 components * 256 / 32767. Every count and index is
// checked against the bytes left before anything is allocated; what Decode
// reads, Encode writes back byte for byte.
//
// Model vertex record: position 3 x f32, normal 3 x i16, texture coordinate
// 2 x f32, tangent 3 x i16, bitangent 3 x i16 (38 bytes); skinned vertices
// add four joint indices (u16) and four weights (u16 / 65535) (54 bytes).
// Animation joint value: position, orientation, scale, 3 x i16 each.
// Camera: flags i32, track count i32, then per track its name (i16 length and
// bytes), frame count i32 and per frame time f32, position 3 x i16,
// orientation 3 x i16, field of view f32.
#pragma once

#include "zozud/io/Codec.h"
#include "zozud/model/Anim.h"
#include "zozud/model/Camera.h"
#include "zozud/model/Model.h"

namespace zozud {

class cCodecModel : public cIO::ModelCodec {
public:
    bool Encodes() const override { return true; }
    bool Decode(const cFile& file, cModel* model) override;
    bool Encode(const cModel& model, cFile* file) override;  // false above 65536 vertices in a mesh
};

class cCodecAnim : public cIO::AnimCodec {
public:
    bool Encodes() const override { return true; }
    bool Decode(const cFile& file, cAnim* anim) override;
    bool Encode(const cAnim& anim, cFile* file) override;
};

class cCodecCamera : public cIO::CameraCodec {
public:
    bool Encodes() const override { return true; }
    bool Decode(const cFile& file, cCamera* camera) override;
    bool Encode(const cCamera& camera, cFile* file) override;
};

}  // namespace zozud
