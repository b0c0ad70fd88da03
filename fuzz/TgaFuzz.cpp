// The TGA decoder over arbitrary bytes: colour maps, 16-bit pixels, run-length
// packets that overrun the image or stop short. What decodes is written and
// must read back, except R8, which is written with a colour map the decoder
// refuses.
#include "CodecFuzz.h"
#include "zozud/image/CodecTga.h"

namespace {
bool NotGrey(const zozud::cImage& image) { return image.Format != zozud::cFormat::R8; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zozud::cCodecTga codec;
    return codecfuzz::Run(codec, data, size, NotGrey);
}
