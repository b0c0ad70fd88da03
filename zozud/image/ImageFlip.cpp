// cImage::Flip: turns every level, face and slice upside down.
// Plain pixels swap whole rows. DXT data of a level whose height is a
// multiple of 4, or below 4, swaps rows of 4x4 blocks and, inside each block,
// the rows of pixels: the index bytes of the colour block, the 16-bit rows of
// a DXT3 alpha block and the 12-bit rows of a DXT5 alpha index field; this
// loses nothing. In any other level (6, 193, ... pixels high) the rows of one
// new block come from two old blocks, so that level is decoded a block row
// at a time, turned over and encoded again; DXT1 cells with transparent
// pixels are encoded again with three colours and transparency.
// Everything Flip needs is allocated before the first byte changes, so a
// failure leaves the image as it was.
#include <algorithm>
#include <cstring>
#include <memory>

#include "zozud/image/CodecBytes.h"
#include "zozud/image/Image.h"

namespace zozud {

namespace {

typedef std::unique_ptr<unsigned char, void (*)(void*)> Scratch;

Scratch Allocate(int64_t bytes) { return Scratch(cImage::AllocPixels(bytes), cImage::FreePixels); }

void SwapRows(unsigned char* a, unsigned char* b, unsigned char* tmp, size_t bytes) {
    memcpy(tmp, a, bytes);
    memcpy(a, b, bytes);
    memcpy(b, tmp, bytes);
}

// Reverses the order of `rows` rows of `rowBytes` each.
void FlipRows(unsigned char* data, int rows, size_t rowBytes, unsigned char* tmp) {
    for (int top = rows - 1, bottom = 0; bottom < top; bottom++, top--)
        SwapRows(data + bottom * rowBytes, data + top * rowBytes, tmp, rowBytes);
}

// ---- Lossless: whole block rows ----

// Colour block: bytes 4..7 are the index rows of pixel rows 0..3.
void FlipColorBlock(unsigned char* b, int rows) { std::reverse(b + 4, b + 4 + rows); }

// DXT3 alpha: four 16-bit rows of 4-bit alphas.
void FlipDxt3AlphaBlock(unsigned char* b, int rows) {
    uint16_t r[4];
    memcpy(r, b, 8);
    std::reverse(r, r + rows);
    memcpy(b, r, 8);
}

// DXT5 alpha: two endpoint bytes, then 48 bits of 3-bit indices, 12 bits a row.
void FlipDxt5AlphaBlock(unsigned char* b, int rows) {
    uint64_t bits = cCodec_U64(b) >> 16, row[4];
    for (int i = 0; i < 4; i++) row[i] = (bits >> (12 * i)) & 0xFFF;
    std::reverse(row, row + rows);
    bits = row[0] | row[1] << 12 | row[2] << 24 | row[3] << 36;
    for (int i = 0; i < 6; i++) b[2 + i] = (unsigned char)(bits >> (8 * i));
}

void FlipBlock(int format, unsigned char* block, int rows) {
    if (format == cFormat::Dxt1) {
        FlipColorBlock(block, rows);
        return;
    }
    if (format == cFormat::Dxt3)
        FlipDxt3AlphaBlock(block, rows);
    else
        FlipDxt5AlphaBlock(block, rows);
    FlipColorBlock(block + 8, rows);
}

// For a height that is a multiple of 4 or below 4.
void FlipBlockRows(int format, unsigned char* data, int width, int height, unsigned char* tmp) {
    int blockBytes = cFormat::GetBlockBytes(format);
    int blocksX = (width + 3) / 4, blocksY = (height + 3) / 4;
    FlipRows(data, blocksY, (size_t)blocksX * blockBytes, tmp);
    int rows = height < 4 ? height : 4;
    if (rows < 2) return;
    for (int64_t i = 0; i < (int64_t)blocksX * blocksY; i++) FlipBlock(format, data + i * blockBytes, rows);
}

bool BlockFlippable(int height) { return height % 4 == 0 || height < 4; }

// ---- Decoding, turning over and encoding again ----

// One 4x4 block to 16 RGBA pixels; DXT1 index 3 of a three-colour block has alpha 0.
void DecodeBlock(int format, const unsigned char* block, unsigned char* rgba) {
    if (format == cFormat::Dxt1) {
        cImage::DecodeDXTColorBlock(cCodec_U64(block), false, rgba);
        return;
    }
    unsigned char alpha[16];
    cImage::DecodeDXTColorBlock(cCodec_U64(block + 8), true, rgba);
    if (format == cFormat::Dxt3)
        cImage::DecodeDXT3AlphaBlock(cCodec_U64(block), alpha);
    else
        cImage::DecodeDXT5AlphaBlock(cCodec_U64(block), alpha);
    for (int i = 0; i < 16; i++) rgba[4 * i + 3] = alpha[i];
}

// Block row `by` of a slice into a strip 4 rows high of RGBA pixels, 4 per block across.
void DecodeBlockRow(int format, const unsigned char* slice, int blocksX, int by, unsigned char* strip) {
    const int blockBytes = cFormat::GetBlockBytes(format), stripRow = blocksX * 16;
    unsigned char rgba[64];
    for (int bx = 0; bx < blocksX; bx++) {
        DecodeBlock(format, slice + ((int64_t)by * blocksX + bx) * blockBytes, rgba);
        for (int y = 0; y < 4; y++) memcpy(strip + y * stripRow + bx * 16, rgba + y * 16, 16);
    }
}

uint64_t EncodeDxt3Alpha(int width, int height, int rowStride, const unsigned char* alpha) {
    uint64_t block = 0;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            block |= (uint64_t)((alpha[y * rowStride + 4 * x] * 15 + 127) / 255) << (4 * (4 * y + x));
    return block;
}

// A DXT1 cell with transparent pixels: colour0 <= colour1 selects three
// colours and transparent black (index 3). The endpoints are fitted to the
// opaque pixels alone.
uint64_t EncodeTransparentCell(int width, int height, int rowStride, const unsigned char* p) {
    unsigned char opaque[64];
    int n = 0;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            if (p[y * rowStride + 4 * x + 3] >= 128) memcpy(opaque + 4 * n++, p + y * rowStride + 4 * x, 4);
    uint32_t lo = 0, hi = 0;
    if (n > 0) {
        for (int i = n; i % 4; i++) memcpy(opaque + 4 * i, opaque, 4);  // whole rows for the encoder
        uint64_t fit = cImage::EncodeDXTColorBlock(4, (n + 3) / 4, 4, 16, opaque);
        uint32_t c0 = (uint32_t)(fit & 0xFFFF), c1 = (uint32_t)(fit >> 16 & 0xFFFF);
        lo = std::min(c0, c1);
        hi = std::max(c0, c1);
    }
    // The palette as a decoder sees it: pixels 0, 1, 2 of a block with those indices.
    unsigned char pal[64];
    cImage::DecodeDXTColorBlock(lo | (uint64_t)hi << 16 | (uint64_t)0x24 << 32, false, pal);
    uint64_t indices = 0;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const unsigned char* c = p + y * rowStride + 4 * x;
            int best = 3, bestDistance = 1 << 30;
            for (int i = 0; c[3] >= 128 && i < 3; i++) {
                int d = 0;
                for (int k = 0; k < 3; k++) d += (c[k] - pal[4 * i + k]) * (c[k] - pal[4 * i + k]);
                if (d < bestDistance) bestDistance = d, best = i;
            }
            indices |= (uint64_t)best << (2 * (4 * y + x));
        }
    return lo | (uint64_t)hi << 16 | indices << 32;
}

void EncodeCell(int format, int width, int height, int rowStride, const unsigned char* p, unsigned char* block) {
    if (format == cFormat::Dxt1) {
        bool transparent = false;
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++) transparent |= p[y * rowStride + 4 * x + 3] < 128;
        cCodec_PutU64(block, transparent ? EncodeTransparentCell(width, height, rowStride, p)
                                 : cImage::EncodeDXTColorBlock(width, height, 4, rowStride, p));
        return;
    }
    cCodec_PutU64(block, format == cFormat::Dxt3 ? EncodeDxt3Alpha(width, height, rowStride, p + 3)
                                         : cImage::EncodeDXT5AlphaBlock(width, height, 4, rowStride, p + 3));
    cCodec_PutU64(block + 8, cImage::EncodeDXTColorBlock(width, height, 4, rowStride, p));
}

// Room for one slice of level 0 and three strips of its width.
struct Reencoder {
    Scratch copy{nullptr, cImage::FreePixels}, strips{nullptr, cImage::FreePixels};

    bool Prepare(const cImage& image) {
        const int blocksX = (image.Width + 3) / 4;
        copy = Allocate(image.GetSliceSize(0));
        strips = Allocate((int64_t)blocksX * 64 * 3);
        return copy && strips;
    }

    // New row y is old row height - 1 - y; block row k of the result is
    // gathered from the (at most two) old block rows it needs.
    void Flip(int format, unsigned char* slice, int width, int height, int64_t sliceBytes) {
        const int blockBytes = cFormat::GetBlockBytes(format);
        const int blocksX = (width + 3) / 4, blocksY = (height + 3) / 4, stripRow = blocksX * 16;
        unsigned char *upper = strips.get(), *lower = upper + stripRow * 4, *cell = lower + stripRow * 4;
        memcpy(copy.get(), slice, (size_t)sliceBytes);
        for (int k = 0; k < blocksY; k++) {
            const int rows = std::min(4, height - 4 * k), top = height - 1 - 4 * k;
            DecodeBlockRow(format, copy.get(), blocksX, top / 4, upper);
            DecodeBlockRow(format, copy.get(), blocksX, (top - rows + 1) / 4, lower);
            for (int r = 0; r < rows; r++) {
                int old = top - r;
                const unsigned char* from = old / 4 == top / 4 ? upper : lower;
                memcpy(cell + r * stripRow, from + (old % 4) * stripRow, (size_t)stripRow);
            }
            for (int bx = 0; bx < blocksX; bx++)
                EncodeCell(format, std::min(4, width - 4 * bx), rows, stripRow, cell + bx * 16,
                           slice + ((int64_t)k * blocksX + bx) * blockBytes);
        }
    }
};

}  // namespace

bool cImage::Flip() {
    if (!Pixels || !(cFormat::IsColor(Format) || cFormat::IsDxt(Format))) return false;
    const bool blocks = cFormat::IsDxt(Format);
    Scratch tmp = Allocate(GetRowSize(0));
    if (!tmp) return false;
    Reencoder reencoder;
    bool reencode = false;
    for (int level = 0; blocks && level < MipMapCount; level++) reencode |= !BlockFlippable(GetHeight(level));
    if (reencode && !reencoder.Prepare(*this)) return false;
    for (int level = 0; level < MipMapCount; level++) {
        int w = GetWidth(level), h = GetHeight(level);
        for (int s = 0; s < GetSliceCount(level); s++) {
            unsigned char* slice = GetSlice(level, s);
            if (!blocks)
                FlipRows(slice, h, (size_t)GetRowSize(level), tmp.get());
            else if (BlockFlippable(h))
                FlipBlockRows(Format, slice, w, h, tmp.get());
            else
                reencoder.Flip(Format, slice, w, h, GetSliceSize(level));
        }
    }
    return true;
}

}  // namespace zozud
