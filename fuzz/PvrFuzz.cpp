// The PVR container decoder over arbitrary bytes: sizes and mip counts
// against short data (the codec writes nothing).
#include "CodecFuzz.h"
#include "zozud/image/CodecPvr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zozud::cCodecPvr codec;
    return codecfuzz::Run(codec, data, size, nullptr);
}
