// The codecs the framework carries, registered once by the facade's start-up.
#include "zozud/image/CodecBmp.h"
#include "zozud/image/CodecDds.h"
#include "zozud/image/CodecPvr.h"
#include "zozud/image/CodecTga.h"
#include "zozud/io/IO.h"

namespace zozud {

// Image codecs in the order they are looked up; the model, animation and
// camera codecs join as they come.
void cIO_RegisterBuiltInCodecs() {
    cIO::AddCodec("Dds", new cCodecDds);
    cIO::AddCodec("Bmp", new cCodecBmp);
    cIO::AddCodec(cCodecPvr::FileExtension, new cCodecPvr);
    cIO::AddCodec("Tga", new cCodecTga);
}

}  // namespace zozud
