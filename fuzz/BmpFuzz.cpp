// The BMP decoder over arbitrary bytes: info headers of every length read,
// palettes of 1, 4 and 8 bits, data offsets, padded and top-down rows. What
// decodes is written and must read back.
#include "CodecFuzz.h"
#include "zozud/image/CodecBmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zozud::cCodecBmp codec;
    return codecfuzz::Run(codec, data, size, codecfuzz::Always);
}
