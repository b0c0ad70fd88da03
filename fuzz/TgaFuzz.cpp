// The TGA decoder over arbitrary bytes: colour maps, 15 and 16-bit pixels,
// run-length packets that overrun the image, cross rows or stop short. What
// decodes is written and must read back.
#include "CodecFuzz.h"
#include "zozud/image/CodecTga.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zozud::cCodecTga codec;
    return codecfuzz::Run(codec, data, size, codecfuzz::Always);
}
