// BMP codec.
//
// Reads: the 14-byte file header ("BM") and an info header of 40 bytes or
// one of its longer versions (52, 56, 108 and 124 bytes, whose first 40
// bytes are the same; the rest is stepped over), with planes 1; 1, 4, 8, 24
// or 32 bits; compression 0, or 3 read like 0. Palettes (1, 4, 8 bits) follow
// the info header with "colours used" entries of B, G, R, reserved, or 2^bits
// when that field is 0; indexed pixels expand to Rgb8 and an index outside
// the palette fails. 24 bits give Rgb8, 32 bits Rgba8 (the fourth byte is
// alpha). The pixels start at the data offset of the file header; an offset
// that points into the headers or the palette (0 in some files) means right
// after the palette. A negative height marks a top-down file, which is
// turned over after reading so that row 0 is the bottom row.
//
// Writes: a 40-byte info header; R8 as 8 bits with a 256-entry grey palette
// (data at 1078), Rgb8 as 24 bits and Rgba8 as 32 bits (data at 54); rows
// bottom-up, padded with zero bytes to a multiple of 4. Level 0 (its first
// slice or face) is written.
//
// Limits and surprises:
// - The colour masks of compression 3 are not read: 32-bit pixels are taken
//   as B, G, R, A, which is what every mask set written in practice says.
// - Every row must be present with its padding: the whole pixel area is
//   checked against the bytes left before anything is allocated, so a
//   header that claims a huge image over a short file fails cheaply.
// - RLE compression and 16-bit pixels are refused.
#include "zozud/image/CodecBmp.h"

#include "zozud/image/CodecBytes.h"
#include "zozud/image/Image.h"

namespace zozud {

namespace {

const int FileHeaderSize = 14;
const int InfoHeaderSize = 40;  // the one written, and the start of every version read
const int HeaderSize = FileHeaderSize + InfoHeaderSize;  // 54
const int GreyPaletteBytes = 256 * 4;

struct BmpHeader {
    int      width = 0;
    int      height = 0;          // made positive
    bool     topDown = false;
    int      bits = 0;
    uint32_t compression = 0;
    uint32_t infoSize = 0;
    uint32_t dataOffset = 0;
    int64_t  paletteEntries = 0;  // entries stored in the file
};

// Up to 256 palette entries as R, G, B; larger palettes keep only the entries
// an index of 8 bits can reach.
struct BmpPalette {
    unsigned char rgb[256][3];
    int           count = 0;
};

int64_t RowBytes(int64_t width, int bits) { return (width * bits + 31) / 32 * 4; }

bool ValidBits(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32; }

// 40 bytes, the versions with masks (52, 56) and the V4 and V5 headers (108, 124).
bool ValidInfoSize(uint32_t size) { return size == 40 || size == 52 || size == 56 || size == 108 || size == 124; }

bool ReadHeader(cCodecReader& in, BmpHeader* h) {
    const unsigned char* p = in.Take(HeaderSize);
    if (!p || cCodec_U16(p) != 0x4D42 || !ValidInfoSize(cCodec_U32(p + 14)) || cCodec_U16(p + 26) != 1) return false;
    h->infoSize = cCodec_U32(p + 14);
    if (!in.Skip(h->infoSize - InfoHeaderSize)) return false;
    int32_t width = (int32_t)cCodec_U32(p + 18);
    int64_t height = (int32_t)cCodec_U32(p + 22);
    h->bits = cCodec_U16(p + 28);
    h->compression = cCodec_U32(p + 30);
    h->dataOffset = cCodec_U32(p + 10);
    if (!ValidBits(h->bits) || (h->compression != 0 && h->compression != 3)) return false;
    if (width <= 0 || height == 0) return false;
    h->topDown = height < 0;
    if (height < 0) height = -height;
    if (height > INT32_MAX) return false;
    h->width = width;
    h->height = (int)height;
    if (h->bits <= 8) {
        uint32_t used = cCodec_U32(p + 46);
        h->paletteEntries = used ? used : (int64_t(1) << h->bits);
    }
    return true;
}

// Reads the palette entries, B, G, R, reserved, and keeps them as R, G, B.
bool ReadPalette(cCodecReader& in, const BmpHeader& h, BmpPalette* palette) {
    const unsigned char* p = in.Take(h.paletteEntries * 4);
    if (!p) return false;
    palette->count = h.paletteEntries < 256 ? (int)h.paletteEntries : 256;
    for (int i = 0; i < palette->count; i++, p += 4) {
        palette->rgb[i][0] = p[2];
        palette->rgb[i][1] = p[1];
        palette->rgb[i][2] = p[0];
    }
    return true;
}

// Moves to the data offset when it lies beyond what has been read: the
// masks of a bit-field file with a 40-byte header, or any gap before the pixels.
bool SeekPixels(cCodecReader& in, const BmpHeader& h) {
    int64_t read = FileHeaderSize + (int64_t)h.infoSize + h.paletteEntries * 4;
    return (int64_t)h.dataOffset <= read || in.Skip(h.dataOffset - read);
}

bool ReadByteIndexRow(const unsigned char* src, unsigned char* dst, int width, const BmpPalette& palette) {
    for (int x = 0; x < width; x++, dst += 3) {
        int index = src[x];
        if (index >= palette.count) return false;
        memcpy(dst, palette.rgb[index], 3);
    }
    return true;
}

// Expands one row of 1, 4 or 8-bit indices; false at an index outside the palette.
bool ReadIndexedRow(const unsigned char* src, unsigned char* dst, int width, int bits, const BmpPalette& palette) {
    if (bits == 8) return ReadByteIndexRow(src, dst, width, palette);
    const int perByte = 8 / bits, mask = (1 << bits) - 1;
    for (int x = 0; x < width; x++, dst += 3) {
        int shift = 8 - bits * (x % perByte + 1);  // the first pixel sits in the high bits
        int index = src[x / perByte] >> shift & mask;
        if (index >= palette.count) return false;
        dst[0] = palette.rgb[index][0];
        dst[1] = palette.rgb[index][1];
        dst[2] = palette.rgb[index][2];
    }
    return true;
}

// File rows go to image rows 0, 1, 2, ... in the order they are stored.
bool ReadRows(cCodecReader& in, const BmpHeader& h, const BmpPalette& palette, cImage* image) {
    const int64_t rowBytes = RowBytes(h.width, h.bits);
    if (rowBytes > in.Left()) return false;  // keeps the product below within 64 bits
    const unsigned char* src = in.Take(rowBytes * h.height);
    if (!src) return false;
    if (!image->Create(h.bits == 32 ? cFormat::Rgba8 : cFormat::Rgb8, h.width, h.height, 1, 1)) return false;
    const int64_t dstRow = image->GetRowSize(0);
    unsigned char* dst = image->Pixels;
    for (int y = 0; y < h.height; y++, src += rowBytes, dst += dstRow) {
        if (h.bits >= 24)
            cCodec_CopySwapRB(src, dst, h.width, h.bits / 8);
        else if (!ReadIndexedRow(src, dst, h.width, h.bits, palette))
            return false;
    }
    return true;
}

// ---- Writing ----

struct BmpLayout {
    int     bits;
    int64_t dataOffset;
    int64_t rowBytes;
    int64_t dataBytes;
};

bool ChooseLayout(const cImage& image, BmpLayout* l) {
    switch (image.Format) {
        case cFormat::R8: l->bits = 8; break;
        case cFormat::Rgb8: l->bits = 24; break;
        case cFormat::Rgba8: l->bits = 32; break;
        default: return false;
    }
    l->dataOffset = HeaderSize + (l->bits == 8 ? GreyPaletteBytes : 0);
    l->rowBytes = RowBytes(image.Width, l->bits);
    l->dataBytes = l->rowBytes * image.Height;
    return image.Pixels && image.Width > 0 && image.Height > 0;
}

void WriteHeader(unsigned char* p, const cImage& image, const BmpLayout& l) {
    cCodec_PutU16(p, 0x4D42);
    cCodec_PutU32(p + 2, uint32_t(l.dataOffset + l.dataBytes));
    cCodec_PutU32(p + 10, uint32_t(l.dataOffset));
    cCodec_PutU32(p + 14, InfoHeaderSize);
    cCodec_PutU32(p + 18, uint32_t(image.Width));
    cCodec_PutU32(p + 22, uint32_t(image.Height));
    cCodec_PutU16(p + 26, 1);
    cCodec_PutU16(p + 28, uint32_t(l.bits));
    cCodec_PutU32(p + 34, uint32_t(l.dataBytes));
    cCodec_PutU32(p + 46, l.bits == 8 ? 256 : 0);  // all other fields stay 0
}

void WriteGreyPalette(unsigned char* p) {
    for (int i = 0; i < 256; i++, p += 4) p[0] = p[1] = p[2] = (unsigned char)i;
}

// Rows bottom-up as stored, R, G, B (, A) turned into B, G, R (, A); the
// padding is already zero.
void WriteRows(unsigned char* dst, const cImage& image, const BmpLayout& l) {
    const int bytes = l.bits / 8;
    const int64_t srcRow = image.GetRowSize(0);
    const unsigned char* src = image.Pixels;
    for (int y = 0; y < image.Height; y++, src += srcRow, dst += l.rowBytes) {
        if (bytes >= 3)
            cCodec_CopySwapRB(src, dst, image.Width, bytes);
        else
            memcpy(dst, src, (size_t)srcRow);
    }
}

}  // namespace

bool cCodecBmp::Decode(const cFile& file, cImage* image) {
    if (!image) return false;
    cCodecReader in(file);
    BmpHeader header;
    BmpPalette palette;
    if (!ReadHeader(in, &header)) return false;
    if (header.bits <= 8 && !ReadPalette(in, header, &palette)) return false;
    if (!SeekPixels(in, header) || !ReadRows(in, header, palette, image)) return false;
    return !header.topDown || image->Flip();
}

bool cCodecBmp::Encode(const cImage& image, cFile* file) {
    BmpLayout layout;
    if (!file || !ChooseLayout(image, &layout)) return false;
    unsigned char* p = cCodec_Append(file, layout.dataOffset + layout.dataBytes);
    if (!p) return false;
    WriteHeader(p, image, layout);
    if (layout.bits == 8) WriteGreyPalette(p + HeaderSize);
    WriteRows(p + layout.dataOffset, image, layout);
    return true;
}

}  // namespace zozud
