// cCodecDds: DirectDraw Surface files with the 124-byte header (no DX10
// extension). Reads and writes 2D images, volumes and cube maps with their
// mip chains in 8-bit, 16-bit, half-float, float and DXT1/3/5 formats. Cube
// maps are stored face by face in the file but level by level in cImage; 2D
// images are turned over (DDS rows are top-down), volumes and cube maps not.
#pragma once

#include "zozud/io/Codec.h"

namespace zozud {

class cCodecDds : public cIO::ImageCodec {
public:
    bool Decode(const cFile& file, cImage* image) override;
    bool Encode(const cImage& image, cFile* file) override;
};

}  // namespace zozud
