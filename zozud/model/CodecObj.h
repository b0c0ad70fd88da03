// cCodecObj: Wavefront OBJ text. Reading fills a cRawMesh (positions,
// texture coordinates, normals, polygons with a material each) and splits it
// into static Bump meshes, one per material; writing gives CR LF lines with
// deduplicated position, texture-coordinate and normal lists and one group
// per mesh. The reader keeps its current line and tokens in process-wide
// scratch (s_Buffer, s_Tokens), so it is not re-entrant.
#pragma once

#include "zozud/io/Codec.h"
#include "zozud/model/Model.h"

namespace zozud {

class cCodecObj : public cIO::ModelCodec {
public:
    bool Encodes() const override { return true; }
    bool Decode(const cFile& file, cModel* model) override;
    bool Encode(const cModel& model, cFile* file) override;
};

}  // namespace zozud
