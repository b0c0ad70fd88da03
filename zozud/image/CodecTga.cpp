// TGA codec.
//
// Reads: the 18-byte header, whose first two bytes (ID length and colour-map
// type) must both be 0; then the colour map (colour-map length times entry
// bits / 8 bytes, entries B, G, R; 16-bit entries are A1 R5 G5 B5) and, as
// pixel data, the whole rest of the file. Bit 3 of the image type marks
// run-length packets: a byte h, count (h & 127) + 1, then one pixel repeated
// (h & 128) or count literal pixels. Bit 5 of the descriptor marks top-down
// rows. 8 bits give R8, or Rgb8 through a colour map; 16 bits Rgba8 with the
// 5-bit channels shifted up (no bit replication: 31 becomes 248) and alpha
// 255 or 0 from bit 15; 24 bits Rgb8; 32 bits Rgba8. Any other bit count
// gives an image of the header's size with format 0 and no pixels.
//
// Writes: R8 as a colour-mapped file (type 1) with a 256-entry grey map of
// 24-bit entries; Rgb8 and Rgba8 as true colour (type 2), B, G, R (, A).
// Rows go out bottom-up, descriptor 0, no run-length packets.
//
// Limits and surprises:
// - The colour-map type must be 0 even when a colour map is present: the
//   length and entry size fields alone say how many bytes it has.
// - Before anything is allocated the image is checked against the data: an
//   unpacked image must fit in it, a packed one cannot produce more than 128
//   pixels per packet of at least 1 + pixel bytes. Packets that run past the
//   end of the image stop the expansion there; data that ends before the
//   image is full fails.
// - Right-to-left files (descriptor bit 4) are read left to right.
#include "zozud/image/CodecTga.h"

#include <vector>

#include "zozud/image/CodecBytes.h"
#include "zozud/image/Image.h"

namespace zozud {

namespace {

const int HeaderSize = 18;
const int GreyMapBytes = 256 * 3;

struct TgaHeader {
    int  mapLength = 0;    // colour-map entries
    int  mapEntryBits = 0;
    bool packed = false;   // run-length encoded
    bool topDown = false;
    int  width = 0;
    int  height = 0;
    int  bits = 0;
};

// The colour map as read, and how wide its entries are.
struct TgaMap {
    const unsigned char* bytes = nullptr;
    int64_t              size = 0;
    int                  entryBytes = 0;
    int                  count = 0;
};

int PixelBytes(int bits) { return bits == 8 || bits == 16 || bits == 24 || bits == 32 ? bits / 8 : 0; }

bool ReadHeader(cCodecReader& in, TgaHeader* h) {
    if (in.Left() > 2) {
        const unsigned char* first = in.Take(0);
        if (first[0] != 0 || first[1] != 0) return false;
    }
    const unsigned char* p = in.Take(HeaderSize);
    if (!p) return false;
    h->packed = (p[2] & 8) != 0;
    h->mapLength = cCodec_U16(p + 5);
    h->mapEntryBits = p[7];
    h->width = cCodec_U16(p + 12);
    h->height = cCodec_U16(p + 14);
    h->bits = p[16];
    h->topDown = (p[17] & 32) != 0;
    return true;
}

// The ID field is empty (checked above), so only the colour map remains.
bool ReadMap(cCodecReader& in, const TgaHeader& h, TgaMap* map) {
    map->size = (int64_t)h.mapLength * h.mapEntryBits / 8;
    map->bytes = in.Take(map->size);
    if (!map->bytes) return false;
    map->entryBytes = h.mapEntryBits / 8;
    map->count = h.mapLength;
    return true;
}

// An image of the header's size without pixels, for bit counts not read.
void MakeEmpty(const TgaHeader& h, cImage* image) {
    image->Free();
    image->Width = h.width;
    image->Height = h.height;
    image->Depth = 1;
    image->MipMapCount = 1;
}

// Whether the data left can hold the image, so that nothing absurd is allocated.
bool DataCanHold(const TgaHeader& h, int64_t left) {
    int64_t pixels = (int64_t)h.width * h.height, bytes = PixelBytes(h.bits);
    if (!h.packed) return pixels * bytes <= left;
    int64_t packets = (left + bytes) / (bytes + 1);  // each packet takes 1 + at least one pixel
    return pixels <= packets * 128;
}

// Expands run-length packets into out (width * height pixels); false when the
// data ends before the image is full.
bool Unpack(const unsigned char* src, int64_t size, int bytes, int64_t pixels, unsigned char* out) {
    const unsigned char* end = src + size;
    int64_t done = 0;
    while (done < pixels) {
        if (src >= end) return false;
        int h = *src++;
        int64_t count = (h & 127) + 1;
        if (count > pixels - done) count = pixels - done;
        unsigned char* dst = out + done * bytes;
        if (h & 128) {
            if (end - src < bytes) return false;
            for (int64_t i = 0; i < count; i++) memcpy(dst + i * bytes, src, bytes);
            src += bytes;
        } else {
            if (end - src < count * bytes) return false;
            memcpy(dst, src, (size_t)(count * bytes));
            src += count * bytes;
        }
        done += count;
    }
    return true;
}

// ---- Pixel conversion, one row at a time ----

void Expand16(uint32_t v, unsigned char* dst) {
    dst[0] = (unsigned char)((v >> 7) & 0xF8);
    dst[1] = (unsigned char)((v >> 2) & 0xF8);
    dst[2] = (unsigned char)((v << 3) & 0xF8);
    dst[3] = (v & 0x8000) ? 255 : 0;
}

void Row16(const unsigned char* src, unsigned char* dst, int width) {
    for (int x = 0; x < width; x++, src += 2, dst += 4) Expand16(cCodec_U16(src), dst);
}

// Looks each index up in the map; false at an index outside it.
bool RowMapped(const unsigned char* src, unsigned char* dst, int width, const TgaMap& map) {
    for (int x = 0; x < width; x++, dst += 3) {
        if (src[x] >= map.count) return false;
        const unsigned char* e = map.bytes + src[x] * map.entryBytes;
        if (map.entryBytes == 2) {
            unsigned char rgba[4];
            Expand16(cCodec_U16(e), rgba);
            memcpy(dst, rgba, 3);
        } else {
            dst[0] = e[2];
            dst[1] = e[1];
            dst[2] = e[0];
        }
    }
    return true;
}

cFormat::Enum TargetFormat(int bits, const TgaMap& map) {
    switch (bits) {
        case 8: return map.size > 0 ? cFormat::Rgb8 : cFormat::R8;
        case 16: return cFormat::Rgba8;
        case 24: return cFormat::Rgb8;
        default: return cFormat::Rgba8;
    }
}

bool ConvertRow(const TgaHeader& h, const TgaMap& map, const unsigned char* src, unsigned char* dst) {
    switch (h.bits) {
        case 8:
            if (map.size > 0) return RowMapped(src, dst, h.width, map);
            memcpy(dst, src, (size_t)h.width);
            return true;
        case 16: Row16(src, dst, h.width); return true;
        default: cCodec_CopySwapRB(src, dst, h.width, h.bits / 8); return true;
    }
}

// Source rows run from the last to the first for a top-down file.
bool ConvertRows(const TgaHeader& h, const TgaMap& map, const unsigned char* src, cImage* image) {
    if (h.bits == 8 && map.size > 0 && map.entryBytes != 2 && map.entryBytes != 3 && map.entryBytes != 4) return false;
    if (!image->Create(TargetFormat(h.bits, map), h.width, h.height, 1, 1)) return false;
    const int64_t srcRow = (int64_t)h.width * PixelBytes(h.bits), dstRow = image->GetRowSize(0);
    for (int y = 0; y < h.height; y++) {
        int row = h.topDown ? h.height - 1 - y : y;
        if (!ConvertRow(h, map, src + row * srcRow, image->Pixels + y * dstRow)) return false;
    }
    return true;
}

// ---- Writing ----

void WriteHeader(unsigned char* p, const cImage& image) {
    bool grey = image.Format == cFormat::R8;
    p[1] = grey ? 1 : 0;
    p[2] = grey ? 1 : 2;
    cCodec_PutU16(p + 5, grey ? 256 : 0);
    p[7] = grey ? 24 : 0;
    cCodec_PutU16(p + 12, uint32_t(image.Width));
    cCodec_PutU16(p + 14, uint32_t(image.Height));
    p[16] = (unsigned char)(cFormat::GetBytesPerPixel(image.Format) * 8);
}

void WriteGreyMap(unsigned char* p) {
    for (int i = 0; i < 256; i++, p += 3) p[0] = p[1] = p[2] = (unsigned char)i;
}

}  // namespace

bool cCodecTga::Decode(const cFile& file, cImage* image) {
    if (!image) return false;
    cCodecReader in(file);
    TgaHeader header;
    TgaMap map;
    if (!ReadHeader(in, &header) || !ReadMap(in, header, &map)) return false;
    if (!PixelBytes(header.bits)) {
        MakeEmpty(header, image);
        return true;
    }
    if (header.width == 0 || header.height == 0 || !DataCanHold(header, in.Left())) return false;
    int64_t size = in.Left();
    const unsigned char* data = in.Take(size);
    if (!header.packed) return ConvertRows(header, map, data, image);
    int64_t pixels = (int64_t)header.width * header.height;
    std::vector<unsigned char> unpacked((size_t)(pixels * PixelBytes(header.bits)));
    if (!Unpack(data, size, PixelBytes(header.bits), pixels, unpacked.data())) return false;
    return ConvertRows(header, map, unpacked.data(), image);
}

bool cCodecTga::Encode(const cImage& image, cFile* file) {
    const cFormat::Enum f = image.Format;
    if (!file || !image.Pixels || (f != cFormat::R8 && f != cFormat::Rgb8 && f != cFormat::Rgba8)) return false;
    if (image.Width > 65535 || image.Height > 65535) return false;
    const int mapBytes = f == cFormat::R8 ? GreyMapBytes : 0;
    const int64_t pixelBytes = image.GetSliceSize(0);
    unsigned char* p = cCodec_Append(file, HeaderSize + mapBytes + pixelBytes);
    if (!p) return false;
    WriteHeader(p, image);
    if (mapBytes) WriteGreyMap(p + HeaderSize);
    unsigned char* dst = p + HeaderSize + mapBytes;
    if (f == cFormat::R8)
        memcpy(dst, image.Pixels, (size_t)pixelBytes);
    else
        cCodec_CopySwapRB(image.Pixels, dst, (int64_t)image.Width * image.Height, cFormat::GetBytesPerPixel(f));
    return true;
}

}  // namespace zozud
