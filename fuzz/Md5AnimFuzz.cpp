// The decoder of MD5 animation text: hierarchy, base frame and frames, posed frame by frame.
#include "ModelCodecFuzz.h"
#include "zozud/model/CodecMd5.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return modelfuzz::Run<zozud::cCodecMd5Anim, zozud::cAnim>(data, size, false);
}
