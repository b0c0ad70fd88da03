// TGA codec.
//
// Reads: the 18-byte header, whose ID length must be 0 and whose colour-map
// type must be 0 or 1; then the colour map (colour-map length entries of
// entry bits rounded up to whole bytes: 15 or 16 bits A1 R5 G5 B5, 24 bits
// B, G, R, 32 bits B, G, R, A) and, as pixel data, the whole rest of the
// file. Bit 3 of the image type marks run-length packets: a byte h, count
// (h & 127) + 1, then one pixel repeated (h & 128) or count literal pixels.
// Bit 5 of the descriptor marks top-down rows. 8-bit pixels with a colour
// map are indices (minus the first entry's number): Rgba8 through a 32-bit
// map, R8 through a map whose entries are all grey (as written here), Rgb8
// otherwise. 8 bits without a map give R8; 15 bits Rgb8; 16 bits Rgba8 with
// alpha 255 or 0 from bit 15; 24 bits Rgb8; 32 bits Rgba8. 5-bit channels are
// shifted up without bit replication (31 becomes 248). Other bit counts fail.
//
// Writes: R8 as a colour-mapped file (type 1) with a 256-entry grey map of
// 24-bit entries; Rgb8 and Rgba8 as true colour (type 2), B, G, R (, A).
// Rows go out bottom-up, descriptor 0, no run-length packets.
//
// Limits and surprises:
// - A map present with colour-map type 0 is read all the same: the length
//   and entry size fields alone say how many bytes it has.
// - Before anything is allocated the image is checked against the data: an
//   unpacked image must fit in it, a packed one cannot produce more than 128
//   pixels per packet of at least 1 + pixel bytes; the image itself must stay
//   within cImage::MaxBytes. Packets are expanded a row at a time straight
//   into the image, so nothing beyond the image and one row is allocated.
//   Packets that run past the end of the image stop the expansion there;
//   data that ends before the image is full fails.
// - Right-to-left files (descriptor bit 4) are read left to right.
#include "zozud/image/CodecTga.h"

#include <memory>

#include "zozud/image/CodecBytes.h"
#include "zozud/image/Image.h"

namespace zozud {

namespace {

const int HeaderSize = 18;
const int GreyMapBytes = 256 * 3;

struct TgaHeader {
    int  mapFirst = 0;     // number of the first colour-map entry
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
    int                  first = 0;
    int                  count = 0;
    bool                 grey = false;  // every entry has r == g == b and no alpha
};

// Bytes of one stored pixel, 0 for bit counts that are not read.
int PixelBytes(int bits) {
    switch (bits) {
        case 8: return 1;
        case 15:
        case 16: return 2;
        case 24: return 3;
        case 32: return 4;
        default: return 0;
    }
}

bool ReadHeader(cCodecReader& in, TgaHeader* h) {
    if (in.Left() > 2) {
        const unsigned char* first = in.Take(0);
        if (first[0] != 0 || first[1] > 1) return false;
    }
    const unsigned char* p = in.Take(HeaderSize);
    if (!p) return false;
    h->packed = (p[2] & 8) != 0;
    h->mapFirst = cCodec_U16(p + 3);
    h->mapLength = cCodec_U16(p + 5);
    h->mapEntryBits = p[7];
    h->width = cCodec_U16(p + 12);
    h->height = cCodec_U16(p + 14);
    h->bits = p[16];
    h->topDown = (p[17] & 32) != 0;
    return true;
}

void Expand16(uint32_t v, unsigned char* dst) {
    dst[0] = (unsigned char)((v >> 7) & 0xF8);
    dst[1] = (unsigned char)((v >> 2) & 0xF8);
    dst[2] = (unsigned char)((v << 3) & 0xF8);
    dst[3] = (v & 0x8000) ? 255 : 0;
}

// Entry i of a map of 2, 3 or 4-byte entries as R, G, B, A (255 unless stored).
void MapEntry(const TgaMap& map, int i, unsigned char* rgba) {
    const unsigned char* e = map.bytes + (int64_t)i * map.entryBytes;
    if (map.entryBytes == 2) {
        Expand16(cCodec_U16(e), rgba);
        return;
    }
    rgba[0] = e[2];
    rgba[1] = e[1];
    rgba[2] = e[0];
    rgba[3] = map.entryBytes == 4 ? e[3] : 255;
}

bool GreyEntries(const TgaMap& map) {
    if (map.entryBytes != 2 && map.entryBytes != 3) return false;
    unsigned char rgba[4];
    for (int i = 0; i < map.count; i++) {
        MapEntry(map, i, rgba);
        if (rgba[0] != rgba[1] || rgba[1] != rgba[2]) return false;
    }
    return true;
}

// The ID field is empty (checked above), so only the colour map remains.
bool ReadMap(cCodecReader& in, const TgaHeader& h, TgaMap* map) {
    map->entryBytes = (h.mapEntryBits + 7) / 8;
    map->size = (int64_t)h.mapLength * map->entryBytes;
    map->bytes = in.Take(map->size);
    if (!map->bytes) return false;
    map->first = h.mapFirst;
    map->count = map->entryBytes ? h.mapLength : 0;  // entries of 0 bits: no map
    map->grey = GreyEntries(*map);
    return true;
}

bool Mapped(const TgaHeader& h, const TgaMap& map) { return h.bits == 8 && map.count > 0; }

// The image format of a file, None when it is not read.
cFormat::Enum TargetFormat(const TgaHeader& h, const TgaMap& map) {
    if (Mapped(h, map)) {
        switch (map.entryBytes) {
            case 2:
            case 3: return map.grey ? cFormat::R8 : cFormat::Rgb8;
            case 4: return cFormat::Rgba8;
            default: return cFormat::None;
        }
    }
    switch (h.bits) {
        case 8: return cFormat::R8;
        case 15: return cFormat::Rgb8;
        case 16: return cFormat::Rgba8;
        case 24: return cFormat::Rgb8;
        case 32: return cFormat::Rgba8;
        default: return cFormat::None;
    }
}

// Whether the data left can hold the image, so that nothing absurd is allocated.
bool DataCanHold(const TgaHeader& h, int64_t left) {
    int64_t pixels = (int64_t)h.width * h.height, bytes = PixelBytes(h.bits);
    if (!h.packed) return pixels * bytes <= left;
    int64_t packets = (left + bytes) / (bytes + 1);  // each packet takes 1 + at least one pixel
    return pixels <= packets * 128;
}

// Hands out the stored rows in file order: straight from the data, or
// expanded from run-length packets into one row of room.
class RowSource {
public:
    RowSource(const unsigned char* data, int64_t size, int pixelBytes, int width, bool packed)
        : src(data), end(data + size), bytes(pixelBytes), width(width), packed(packed) {
        if (packed) row.reset(cImage::AllocPixels((int64_t)width * pixelBytes));
    }
    bool Ready() const { return !packed || row; }
    // The next row, or null when the data ends before it is complete.
    const unsigned char* Next() {
        if (!packed) {
            const unsigned char* p = src;
            src += (int64_t)width * bytes;  // the whole image was checked against the data
            return p;
        }
        for (int x = 0; x < width;) {
            if (left == 0 && !StartPacket()) return nullptr;
            int n = left < width - x ? left : width - x;
            unsigned char* dst = row.get() + (int64_t)x * bytes;
            if (repeat) {
                for (int i = 0; i < n; i++) memcpy(dst + i * bytes, pixel, (size_t)bytes);
            } else {
                if (end - src < (int64_t)n * bytes) return nullptr;
                memcpy(dst, src, (size_t)n * bytes);
                src += (int64_t)n * bytes;
            }
            x += n;
            left -= n;
        }
        return row.get();
    }

private:
    // Reads a packet byte (and the repeated pixel); packets may run across rows.
    bool StartPacket() {
        if (src >= end) return false;
        int h = *src++;
        left = (h & 127) + 1;
        repeat = (h & 128) != 0;
        if (!repeat) return true;
        if (end - src < bytes) return false;
        pixel = src;
        src += bytes;
        return true;
    }

    const unsigned char* src;
    const unsigned char* end;
    int                  bytes, width;
    bool                 packed;
    std::unique_ptr<unsigned char, void (*)(void*)> row{nullptr, cImage::FreePixels};
    int                  left = 0;  // pixels of the current packet still to come
    bool                 repeat = false;
    const unsigned char* pixel = nullptr;
};

// ---- Pixel conversion, one row at a time ----

void Row16(const unsigned char* src, unsigned char* dst, int width, bool alpha) {
    unsigned char rgba[4];
    for (int x = 0; x < width; x++, src += 2, dst += alpha ? 4 : 3) {
        Expand16(cCodec_U16(src), rgba);
        memcpy(dst, rgba, alpha ? 4 : 3);
    }
}

// Looks each index up in the map; false at an index outside it.
bool RowMapped(const unsigned char* src, unsigned char* dst, int width, const TgaMap& map, int outBytes) {
    for (int x = 0; x < width; x++, dst += outBytes) {
        int index = src[x] - map.first;
        if (index < 0 || index >= map.count) return false;
        unsigned char rgba[4];
        MapEntry(map, index, rgba);
        memcpy(dst, rgba, (size_t)outBytes);
    }
    return true;
}

bool ConvertRow(const TgaHeader& h, const TgaMap& map, const unsigned char* src, unsigned char* dst, int outBytes) {
    if (Mapped(h, map)) return RowMapped(src, dst, h.width, map, outBytes);
    switch (h.bits) {
        case 8: memcpy(dst, src, (size_t)h.width); return true;
        case 15: Row16(src, dst, h.width, false); return true;
        case 16: Row16(src, dst, h.width, true); return true;
        default: cCodec_CopySwapRB(src, dst, h.width, h.bits / 8); return true;
    }
}

// File rows go to image rows from the top down for a top-down file, else
// from the bottom up.
bool ConvertRows(const TgaHeader& h, const TgaMap& map, RowSource& rows, cImage* image) {
    if (!rows.Ready() || !image->Create(TargetFormat(h, map), h.width, h.height, 1, 1)) return false;
    const int64_t dstRow = image->GetRowSize(0);
    const int outBytes = cFormat::GetBytesPerPixel(image->Format);
    for (int y = 0; y < h.height; y++) {
        const unsigned char* src = rows.Next();
        int row = h.topDown ? h.height - 1 - y : y;
        if (!src || !ConvertRow(h, map, src, image->Pixels + row * dstRow, outBytes)) return false;
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
    if (!PixelBytes(header.bits) || TargetFormat(header, map) == cFormat::None) return false;
    if (header.width == 0 || header.height == 0 || !DataCanHold(header, in.Left())) return false;
    int64_t size = in.Left();
    RowSource rows(in.Take(size), size, PixelBytes(header.bits), header.width, header.packed);
    return ConvertRows(header, map, rows, image);
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
