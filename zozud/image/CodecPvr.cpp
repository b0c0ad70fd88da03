// PVR container codec (extension "cPvr"), read only.
//
// Reads: a 17-byte header, the magic "PVR ", width, height and mip count as
// 32-bit numbers and one alpha byte (non-zero: Pvrtc4Rgba, zero: Pvrtc4Rgb),
// then the mip chain as cImage stores it: 8 bytes per 4x4 block, at least 32
// bytes per level. The data is kept as it is (no flip, no decoding).
//
// Limits and surprises:
// - Width, height and mip count must be at least 1; the mip count is limited
//   to the full chain, and the chain is checked against the bytes left before
//   anything is allocated.
// - Encode always fails: nothing in the framework writes these files.
#include "zozud/image/CodecPvr.h"

#include "zozud/image/CodecBytes.h"
#include "zozud/image/Image.h"

namespace zozud {

const char* const cCodecPvr::FileExtension = "cPvr";

namespace {

const int      HeaderSize = 17;
const uint32_t Magic = 0x20525650;  // "PVR "

struct PvrHeader {
    int           width = 0;
    int           height = 0;
    int           levels = 0;
    cFormat::Enum format = cFormat::None;
};

bool ReadHeader(cCodecReader& in, PvrHeader* h) {
    const unsigned char* p = in.Take(HeaderSize);
    if (!p || cCodec_U32(p) != Magic) return false;
    uint32_t width = cCodec_U32(p + 4), height = cCodec_U32(p + 8), levels = cCodec_U32(p + 12);
    if (width < 1 || width > INT32_MAX || height < 1 || height > INT32_MAX || levels < 1) return false;
    h->width = (int)width;
    h->height = (int)height;
    h->levels = levels > 64 ? 64 : (int)levels;  // 64 is more than any chain holds
    h->format = p[16] ? cFormat::Pvrtc4Rgba : cFormat::Pvrtc4Rgb;
    return true;
}

}  // namespace

bool cCodecPvr::Decode(const cFile& file, cImage* image) {
    if (!image) return false;
    image->Free();
    cCodecReader in(file);
    PvrHeader h;
    if (!ReadHeader(in, &h)) return false;
    if (cImage::CalcImageSize(h.format, h.width, h.height, 1, h.levels) > in.Left()) return false;
    if (!image->Create(h.format, h.width, h.height, 1, h.levels)) return false;
    return in.Read(image->Pixels, image->GetSize());
}

bool cCodecPvr::Encode(const cImage&, cFile*) { return false; }

}  // namespace zozud
