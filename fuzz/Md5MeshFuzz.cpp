// The decoder of MD5 mesh text: joints, meshes, weights; whatever loads is skinned by its own data.
#include "ModelCodecFuzz.h"
#include "zozud/model/CodecMd5.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return modelfuzz::Run<zozud::cCodecMd5Model, zozud::cModel>(data, size, false);
}
