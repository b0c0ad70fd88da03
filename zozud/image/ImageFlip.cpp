// cImage::Flip: turns every level, face and slice upside down.
// Plain pixels swap whole rows. DXT data swaps rows of 4x4 blocks and, inside
// each block, the rows of pixels: the four index bytes of the colour block,
// the four 16-bit rows of a DXT3 alpha block and the four 12-bit rows of a
// DXT5 alpha index field. A level 2 pixels high only exchanges rows 0 and 1
// inside its blocks; a level 1 pixel high stays as it is.
#include <cstring>
#include <utility>
#include <vector>

#include "zozud/core/Log.h"
#include "zozud/image/Image.h"

namespace zozud {

namespace {

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

// Colour block: bytes 4..7 are the index rows of pixel rows 0..3.
void FlipColorBlock(unsigned char* b, int rows) {
    if (rows == 2) {
        std::swap(b[4], b[5]);
    } else {
        std::swap(b[4], b[7]);
        std::swap(b[5], b[6]);
    }
}

// DXT3 alpha: four 16-bit rows of 4-bit alphas.
void FlipDxt3AlphaBlock(unsigned char* b, int rows) {
    uint16_t r[4];
    memcpy(r, b, 8);
    if (rows == 2) {
        std::swap(r[0], r[1]);
    } else {
        std::swap(r[0], r[3]);
        std::swap(r[1], r[2]);
    }
    memcpy(b, r, 8);
}

// DXT5 alpha: two endpoint bytes, then 48 bits of 3-bit indices, 12 bits a row.
void FlipDxt5AlphaBlock(unsigned char* b, int rows) {
    uint64_t bits = 0;
    for (int i = 0; i < 6; i++) bits |= (uint64_t)b[2 + i] << (8 * i);
    uint64_t row[4];
    for (int i = 0; i < 4; i++) row[i] = (bits >> (12 * i)) & 0xFFF;
    if (rows == 2) {
        std::swap(row[0], row[1]);
    } else {
        std::swap(row[0], row[3]);
        std::swap(row[1], row[2]);
    }
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

void FlipBlockSlice(int format, unsigned char* data, int width, int height, unsigned char* tmp) {
    int blockBytes = cFormat::GetBlockBytes(format);
    int blocksX = (width + 3) / 4, blocksY = (height + 3) / 4;
    size_t rowBytes = (size_t)blocksX * blockBytes;
    FlipRows(data, blocksY, rowBytes, tmp);
    if (height < 2) return;
    int rows = height >= 4 ? 4 : 2;
    for (size_t i = 0; i < (size_t)blocksX * blocksY; i++) FlipBlock(format, data + i * blockBytes, rows);
}

}  // namespace

// Block data can be turned over when each side is whole blocks, or is a
// single block 1 or 2 pixels across.
static bool FlippableBlockSide(int n) { return n % 4 == 0 || n == 1 || n == 2; }

bool cImage::Flip() {
    if (!Pixels || !(cFormat::IsColor(Format) || cFormat::IsDxt(Format))) return false;
    bool blocks = cFormat::IsDxt(Format);
    if (blocks && !(FlippableBlockSide(Width) && FlippableBlockSide(Height))) {
        cLog::Warning("Compressed images must have dimensions that are multiples of 4");
        return false;
    }
    std::vector<unsigned char> tmp((size_t)GetRowSize(0));
    for (int level = 0; level < MipMapCount; level++) {
        int w = GetWidth(level), h = GetHeight(level);
        for (int s = 0; s < GetSliceCount(level); s++) {
            unsigned char* slice = GetSlice(level, s);
            if (blocks)
                FlipBlockSlice(Format, slice, w, h, tmp.data());
            else
                FlipRows(slice, h, (size_t)GetRowSize(level), tmp.data());
        }
    }
    return true;
}

}  // namespace zozud
