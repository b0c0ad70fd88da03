// cCodecTga: Truevision TGA images without an ID field. Reads 8 (grey, or
// indexed through a colour map), 16 (A1 R5 G5 B5), 24 and 32 bits per pixel,
// plain or run-length encoded, bottom-up or top-down; writes R8 (with a grey
// colour map), Rgb8 and Rgba8 bottom-up and unpacked. Surprise: a file with a
// colour-map type other than 0 is refused, so an R8 file this codec writes
// does not read back through it.
#pragma once

#include "zozud/io/Codec.h"

namespace zozud {

class cCodecTga : public cIO::ImageCodec {
public:
    bool Decode(const cFile& file, cImage* image) override;
    bool Encode(const cImage& image, cFile* file) override;
};

}  // namespace zozud
