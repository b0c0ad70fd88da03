// The DDS decoder over arbitrary bytes: FourCC and bit-count formats, mip
// counts, cube maps and volumes against short data, DXT chains of any height
// turned over. What decodes is written and must read back, except 2D DXT
// chains with a level that is neither a multiple of 4 nor below 4 pixels
// high: turning those over encodes that level again, which is not exact.
#include "CodecFuzz.h"
#include "zozud/image/CodecDds.h"

namespace {

bool ReadsBackExactly(const zozud::cImage& image) {
    if (!zozud::cFormat::IsDxt(image.Format) || image.Depth != 1 || image.Height < 2) return true;
    for (int level = 0; level < image.MipMapCount; level++) {
        int h = image.GetHeight(level);
        if (h % 4 != 0 && h > 4) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zozud::cCodecDds codec;
    return codecfuzz::Run(codec, data, size, ReadsBackExactly);
}
