// The codecs the framework carries, registered once by the facade's start-up.
#include "zozud/io/IO.h"

namespace zozud {

// No codec is built in yet; image and model codecs register here as they come.
void cIO_RegisterBuiltInCodecs() {}

}  // namespace zozud
