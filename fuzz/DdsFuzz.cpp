// The DDS decoder over arbitrary bytes: FourCC and bit-count formats, mip
// counts, cube maps and volumes against short data. What decodes is written
// and must read back.
#include "CodecFuzz.h"
#include "zozud/image/CodecDds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zozud::cCodecDds codec;
    return codecfuzz::Run(codec, data, size, codecfuzz::Always);
}
