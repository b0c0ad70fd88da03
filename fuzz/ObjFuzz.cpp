// The decoder of Wavefront OBJ text: corners with negative and missing indices, materials; what loads is written and read back.
#include "ModelCodecFuzz.h"
#include "zozud/core/Log.h"
#include "zozud/model/CodecObj.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Refused lines are logged and the log is never trimmed: over millions of
    // inputs it would grow without bound, each line copying all of it.
    zozud::cLog::GetLogMutable().Clear();
    return modelfuzz::Run<zozud::cCodecObj, zozud::cModel>(data, size, false);
}
