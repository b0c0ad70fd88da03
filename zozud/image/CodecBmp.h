// cCodecBmp: Windows bitmaps with the 40-byte info header. Reads 1, 4, 8, 24
// and 32 bits per pixel, palettes and top-down files; writes R8 (with a grey
// palette), Rgb8 and Rgba8 bottom-up. Decoded images are Rgb8 (Rgba8 from 32
// bits) with one level; row 0 is the bottom row.
#pragma once

#include "zozud/io/Codec.h"

namespace zozud {

class cCodecBmp : public cIO::ImageCodec {
public:
    bool Decode(const cFile& file, cImage* image) override;
    bool Encode(const cImage& image, cFile* file) override;
};

}  // namespace zozud
