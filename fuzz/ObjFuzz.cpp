// The decoder of Wavefront OBJ text: corners with negative and missing indices, materials; what loads is written and read back.
#include "ModelCodecFuzz.h"
#include "zozud/model/CodecObj.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return modelfuzz::Run<zozud::cCodecObj, zozud::cModel>(data, size, false);
}
