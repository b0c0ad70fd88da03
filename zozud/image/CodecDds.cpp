// DDS codec.
//
// Reads: the magic "DDS " and the 124-byte header: height, width, depth
// (0 read as 1), mip count (0 read as 1), the pixel format and caps2, whose
// bit 0x200 makes a cube map (depth 0). The format comes from the FourCC
// (34 Rg16, 36 Rgba16, 111 to 116 the half and float formats, "DXT1",
// "DXT3", "DXT5") or, for any other FourCC, from the RGB bit count: 8 R8,
// 16 Rg8 when the A mask is 0xFF00 else R16, 24 Rgb8, 32 Rgba8. Rgb8 and
// Rgba8 with a B mask of 0xFF are stored B, G, R (, A) and are swapped.
//
// Writes: every colour format except Rgb16, Rgb16f and Rgb32f, and DXT1,
// DXT3, DXT5, with the flags, caps and pixel format fields DDS readers
// expect; the 8-bit formats and R16 as RGB or luminance masks, the rest by
// FourCC.
//
// Limits and surprises:
// - DDS rows are top-down: a 2D image of height 2 or more is turned over on
//   read and write, every level, whatever its size (see cImage::Flip: DXT
//   levels whose height is no multiple of 4 are encoded again). Volumes and
//   cube maps are not turned over.
// - A cube map holds, in the file, face 0 with all its levels, then face 1,
//   and so on; in cImage level 0 of all faces comes first.
// - Written cube maps carry the standard caps2 0xFE00 (cube map and all six
//   face bits, no volume bit), so that other tools see a cube map; any caps2
//   with the cube map bit reads as one, 0x20BE00 included.
// - The mip count is limited to the full chain; the whole chain is checked
//   against the bytes left before anything is allocated.
#include "zozud/image/CodecDds.h"

#include "zozud/image/CodecBytes.h"
#include "zozud/image/Image.h"

namespace zozud {

namespace {

const int      FileHeaderSize = 128;  // magic and header
const uint32_t Magic = 0x20534444;    // "DDS "
const uint32_t CubeMapBit = 0x200;
const uint32_t AllFaces = 0xFC00;     // +x, -x, +y, -y, +z, -z
const uint32_t VolumeBit = 0x200000;
const int      MaxLevels = 64;        // more than any chain of 32-bit sizes

uint32_t FourCC(const char* s) {
    return uint32_t(s[0]) | uint32_t(s[1]) << 8 | uint32_t(s[2]) << 16 | uint32_t(s[3]) << 24;
}

// The formats that are written and read by FourCC.
struct FourCCFormat {
    uint32_t      fourCC;
    cFormat::Enum format;
};

const FourCCFormat FourCCFormats[] = {
    {34, cFormat::Rg16},     {36, cFormat::Rgba16},  {111, cFormat::R16f},  {112, cFormat::Rg16f},
    {113, cFormat::Rgba16f}, {114, cFormat::R32f},   {115, cFormat::Rg32f}, {116, cFormat::Rgba32f},
    {FourCC("DXT1"), cFormat::Dxt1}, {FourCC("DXT3"), cFormat::Dxt3}, {FourCC("DXT5"), cFormat::Dxt5},
};

struct DdsHeader {
    int           width = 0;
    int           height = 0;
    int           depth = 1;   // 0 for a cube map
    int           levels = 1;
    cFormat::Enum format = cFormat::None;
    bool          swapRB = false;
};

cFormat::Enum FormatByBits(uint32_t bits, uint32_t aMask) {
    switch (bits) {
        case 8: return cFormat::R8;
        case 16: return aMask == 0xFF00 ? cFormat::Rg8 : cFormat::R16;
        case 24: return cFormat::Rgb8;
        case 32: return cFormat::Rgba8;
        default: return cFormat::None;
    }
}

cFormat::Enum FormatOf(uint32_t fourCC, uint32_t bits, uint32_t aMask) {
    for (const FourCCFormat& f : FourCCFormats)
        if (f.fourCC == fourCC) return f.format;
    return FormatByBits(bits, aMask);
}

// A 32-bit size field as a positive int, or 0 when out of range.
int SizeField(uint32_t v) { return v >= 1 && v <= (uint32_t)INT32_MAX ? (int)v : 0; }

bool ReadHeader(cCodecReader& in, DdsHeader* h) {
    const unsigned char* p = in.Take(FileHeaderSize);
    if (!p || cCodec_U32(p) != Magic) return false;
    h->height = SizeField(cCodec_U32(p + 12));
    h->width = SizeField(cCodec_U32(p + 16));
    uint32_t depth = cCodec_U32(p + 24), levels = cCodec_U32(p + 28);
    bool cube = (cCodec_U32(p + 112) & CubeMapBit) != 0;
    h->depth = cube ? 0 : depth ? SizeField(depth) : 1;
    h->levels = levels == 0 ? 1 : levels > MaxLevels ? MaxLevels : (int)levels;
    h->format = FormatOf(cCodec_U32(p + 84), cCodec_U32(p + 88), cCodec_U32(p + 104));
    h->swapRB = cCodec_U32(p + 100) == 0xFF && (h->format == cFormat::Rgb8 || h->format == cFormat::Rgba8);
    return h->width && h->height && (cube || h->depth) && h->format != cFormat::None;
}

// Level by level in the file; a cube map face by face, each with all its levels.
bool ReadData(cCodecReader& in, cImage* image) {
    if (!image->IsCube()) return in.Read(image->Pixels, image->GetSize());
    for (int face = 0; face < 6; face++)
        for (int level = 0; level < image->MipMapCount; level++)
            if (!in.Read(image->GetSlice(level, face), image->GetSliceSize(level))) return false;
    return true;
}

void SwapRB(cImage* image) {
    int bytes = cFormat::GetBytesPerPixel(image->Format);
    cCodec_SwapRB(image->Pixels, image->GetSize() / bytes, bytes);
}

// ---- Writing ----

bool Writable(cFormat::Enum f) {
    if (f == cFormat::Rgb16 || f == cFormat::Rgb16f || f == cFormat::Rgb32f) return false;
    return cFormat::IsColor(f) || cFormat::IsDxt(f);
}

bool MaskedFormat(cFormat::Enum f) {
    return f == cFormat::R8 || f == cFormat::Rg8 || f == cFormat::Rgb8 || f == cFormat::Rgba8 || f == cFormat::R16;
}

// Pixel format fields at offset 80: flags, FourCC, bit count, R, G, B, A masks.
void WritePixelFormat(unsigned char* p, cFormat::Enum f) {
    if (!MaskedFormat(f)) {
        cCodec_PutU32(p, 0x4);
        for (const FourCCFormat& entry : FourCCFormats)
            if (entry.format == f) cCodec_PutU32(p + 4, entry.fourCC);
        return;
    }
    const int c = cFormat::GetChannelCount(f);
    cCodec_PutU32(p, (c >= 3 ? 0x40 : 0x20000) | (c == 2 || c == 4 ? 0x1 : 0));
    cCodec_PutU32(p + 8, f == cFormat::R16 ? 16 : 8 * c);
    cCodec_PutU32(p + 12, f == cFormat::R16 ? 0xFFFF : c >= 3 ? 0xFF0000 : 0xFF);
    cCodec_PutU32(p + 16, c > 1 ? 0xFF00 : 0);
    cCodec_PutU32(p + 20, c > 1 ? 0xFF : 0);
    cCodec_PutU32(p + 24, c == 4 ? 0xFF000000 : c == 2 ? 0xFF00 : 0);
}

void WriteHeader(unsigned char* p, const cImage& image) {
    const bool mips = image.MipMapCount >= 2, volume = image.Depth > 1, cube = image.Depth == 0;
    cCodec_PutU32(p, Magic);
    cCodec_PutU32(p + 4, 124);
    cCodec_PutU32(p + 8, 0x1007 | (mips ? 0x20000 : 0) | (volume ? 0x800000 : 0));
    cCodec_PutU32(p + 12, uint32_t(image.Height));
    cCodec_PutU32(p + 16, uint32_t(image.Width));
    cCodec_PutU32(p + 24, volume ? uint32_t(image.Depth) : 0);
    cCodec_PutU32(p + 28, mips ? uint32_t(image.MipMapCount) : 0);
    cCodec_PutU32(p + 76, 32);
    WritePixelFormat(p + 80, image.Format);
    cCodec_PutU32(p + 108, mips ? 0x401008 : volume || cube ? 0x1008 : 0x1000);
    cCodec_PutU32(p + 112, cube ? CubeMapBit | AllFaces : volume ? VolumeBit : 0);
}

// The data as the file holds it: top-down rows for 2D, B, G, R (, A) for 8-bit colour.
bool PrepareData(const cImage& image, cImage* copy) {
    if (!copy->Copy(image)) return false;
    if (copy->Depth == 1 && copy->Height >= 2 && !copy->Flip()) return false;
    if (copy->Format == cFormat::Rgb8 || copy->Format == cFormat::Rgba8) SwapRB(copy);
    return true;
}

void WriteData(unsigned char* dst, const cImage& image) {
    if (!image.IsCube()) {
        memcpy(dst, image.Pixels, (size_t)image.GetSize());
        return;
    }
    for (int face = 0; face < 6; face++)
        for (int level = 0; level < image.MipMapCount; level++) {
            int64_t n = image.GetSliceSize(level);
            memcpy(dst, image.GetSlice(level, face), (size_t)n);
            dst += n;
        }
}

}  // namespace

bool cCodecDds::Decode(const cFile& file, cImage* image) {
    if (!image) return false;
    cCodecReader in(file);
    DdsHeader h;
    if (!ReadHeader(in, &h)) return false;
    if (cImage::CalcImageSize(h.format, h.width, h.height, h.depth, h.levels) > in.Left()) return false;
    if (!image->Create(h.format, h.width, h.height, h.depth, h.levels) || !ReadData(in, image)) return false;
    if (h.swapRB) SwapRB(image);
    return image->Depth != 1 || image->Height < 2 || image->Flip();
}

bool cCodecDds::Encode(const cImage& image, cFile* file) {
    if (!file || !image.Pixels || !Writable(image.Format)) return false;
    cImage data;
    if (!PrepareData(image, &data)) return false;
    unsigned char* p = cCodec_Append(file, FileHeaderSize + data.GetSize());
    if (!p) return false;
    WriteHeader(p, data);
    WriteData(p + FileHeaderSize, data);
    return true;
}

}  // namespace zozud
