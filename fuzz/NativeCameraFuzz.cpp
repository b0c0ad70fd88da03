// The decoder of the native camera format; what loads is written back byte for byte.
#include "ModelCodecFuzz.h"
#include "zozud/model/CodecNative.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return modelfuzz::Run<zozud::cCodecCamera, zozud::cCamera>(data, size, true);
}
