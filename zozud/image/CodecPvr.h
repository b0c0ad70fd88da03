// cCodecPvr: the framework's own container for PVRTC 4-bit textures, a
// 17-byte header and the mip chain. Read only: Encode always fails.
#pragma once

#include "zozud/io/Codec.h"

namespace zozud {

class cCodecPvr : public cIO::ImageCodec {
public:
    static const char* const FileExtension;  // "cPvr"

    bool Decode(const cFile& file, cImage* image) override;
    bool Encode(const cImage& image, cFile* file) override;
};

}  // namespace zozud
