// cImage: DXT1/DXT3/DXT5 block compression of whole images, the alpha and
// grey block encoders and the block decoders (the colour block encoder is in
// ImageDxtColor.cpp). Alpha (DXT5) and grey (DXT1 from R8) blocks spread
// their values evenly between the cell's minimum and maximum; the quality
// alpha encoder picks each value's nearest entry as decoded, in both the
// 8-value mode and the 6-value mode (whose range leaves out 0 and 255, which
// it holds exactly), and keeps the mode of smaller error. Blocks are
// 64-bit little-endian words; pixel (x, y) of a cell is index 4y + x, row 0
// first in memory (the image's bottom row). Cells at the edge of a level
// narrower or lower than 4 pixels encode only their pixels; the index bits of
// missing pixels stay 0.
#include <cstdlib>
#include <cstring>

#include "zozud/image/CodecBytes.h"
#include "zozud/image/Image.h"

namespace zozud {

namespace {

inline void ClampCell(int* width, int* height) {
    if (*width > 4) *width = 4;
    if (*height > 4) *height = 4;
}

// Expands a 5-6-5 colour by shifting (no bit replication).
inline void Expand565(uint32_t c, int* rgb) {
    rgb[0] = (int)((c >> 11) & 31) << 3;
    rgb[1] = (int)((c >> 5) & 63) << 2;
    rgb[2] = (int)(c & 31) << 3;
}

// x / d for 0 <= x < 2048 and 1 <= d <= 256 by a multiply and a shift. With
// m = 2^19 / d + 1 the excess m d - 2^19 is at most d, so x m / 2^19 exceeds
// x / d by less than 1 / d and the quotient's integer part is exact.
struct Divider {
    uint32_t m;
    explicit Divider(int d) : m((1u << 19) / (uint32_t)d + 1) {}
    int operator()(int x) const { return (int)(((uint32_t)x * m) >> 19); }
};

// Smallest and largest value of a cell.
void CellRange(int width, int height, int pixelStride, int rowStride, const unsigned char* v, int* lo, int* hi) {
    *lo = 255;
    *hi = 0;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            int a = v[y * rowStride + x * pixelStride];
            *lo = a < *lo ? a : *lo;
            *hi = a > *hi ? a : *hi;
        }
}

typedef uint64_t (*CellEncoder)(int, int, int, int, const unsigned char*);

// Encodes every cell of one slice; blockBytes 8 (one encoder) or 16 (alpha then colour).
void EncodeSlice(const unsigned char* src, int w, int h, int bpp, unsigned char* dst, CellEncoder color,
                 CellEncoder alpha) {
    int rowStride = w * bpp;
    for (int y = 0; y < h; y += 4)
        for (int x = 0; x < w; x += 4) {
            int cw = w - x < 4 ? w - x : 4, ch = h - y < 4 ? h - y : 4;
            const unsigned char* cell = src + (size_t)y * rowStride + (size_t)x * bpp;
            if (alpha) {
                cCodec_PutU64(dst, alpha(cw, ch, bpp, rowStride, cell + 3));
                dst += 8;
            }
            cCodec_PutU64(dst, color(cw, ch, bpp, rowStride, cell));
            dst += 8;
        }
}

void DecodeSlice(int format, const unsigned char* src, int w, int h, unsigned char* dst) {
    int bpp = format == cFormat::Dxt1 ? 3 : 4;
    unsigned char rgba[64], alpha[16];
    for (int y = 0; y < h; y += 4)
        for (int x = 0; x < w; x += 4) {
            uint64_t colorBlock = cCodec_U64(format == cFormat::Dxt1 ? src : src + 8);
            // DXT3 and DXT5 colour blocks always hold four colours, whatever the endpoint order.
            cImage::DecodeDXTColorBlock(colorBlock, format != cFormat::Dxt1, rgba);
            if (format == cFormat::Dxt3) cImage::DecodeDXT3AlphaBlock(cCodec_U64(src), alpha);
            if (format == cFormat::Dxt5) cImage::DecodeDXT5AlphaBlock(cCodec_U64(src), alpha);
            src += format == cFormat::Dxt1 ? 8 : 16;
            for (int py = 0; py < 4 && y + py < h; py++)
                for (int px = 0; px < 4 && x + px < w; px++) {
                    unsigned char* out = dst + ((size_t)(y + py) * w + x + px) * bpp;
                    memcpy(out, rgba + (4 * py + px) * 4, 3);
                    if (bpp == 4) out[3] = alpha[4 * py + px];
                }
        }
}

}  // namespace

// ---- Encoders ----

uint64_t cImage::EncodeDXT5AlphaBlock(int width, int height, int pixelStride, int rowStride,
                                      const unsigned char* alpha) {
    static const int remap[8] = {1, 7, 6, 5, 4, 3, 2, 0};
    ClampCell(&width, &height);
    if (!alpha || width < 1 || height < 1) return 0;
    int lo, hi;
    CellRange(width, height, pixelStride, rowStride, alpha, &lo, &hi);
    if (lo == hi) {
        if (hi == 255)
            lo = 254;
        else
            hi = lo + 1;
    }
    int range = hi - lo, half = range / 2;
    Divider divide(range);
    uint64_t block = (uint64_t)hi | (uint64_t)lo << 8;
    for (int y = 0; y < height; y++) {
        const unsigned char* row = alpha + y * rowStride;
        for (int x = 0; x < width; x++, row += pixelStride)
            block |= (uint64_t)remap[divide(7 * (*row - lo) + half)] << (16 + 3 * (4 * y + x));
    }
    return block;
}

namespace {

// Nearest alpha entries for a cell: values[] are the decoded entries in
// ascending order from lo to hi at `steps` even steps, codes[] their indices.
// Pixels outside lo..hi (0 and 255 of the 6-value mode) take extra[]. Each
// pixel's estimated step and its two neighbours are compared; the sum of
// squared errors is returned and the 3-bit indices are or-ed into *block.
int NearestAlpha(int width, int height, int pixelStride, int rowStride, const unsigned char* alpha, int lo, int hi,
                 int steps, const int* values, const int* codes, uint64_t* block) {
    int error = 0, range = hi - lo > 0 ? hi - lo : 1, half = range / 2;
    Divider divide(range);
    for (int y = 0; y < height; y++) {
        const unsigned char* row = alpha + y * rowStride;
        for (int x = 0; x < width; x++, row += pixelStride) {
            int v = *row, code, d;
            if (steps == 5 && (v < lo || v > hi)) {
                code = v < lo ? 6 : 7;
                d = v < lo ? v : 255 - v;
                if (v < lo && lo - v < d) code = codes[0], d = lo - v;
                if (v > hi && v - hi < d) code = codes[steps], d = v - hi;
            } else {
                int k = divide(steps * (v - lo) + half);
                code = codes[k];
                d = abs(v - values[k]);
                if (k > 0 && abs(v - values[k - 1]) < d) code = codes[k - 1], d = abs(v - values[k - 1]);
                if (k < steps && abs(v - values[k + 1]) < d) code = codes[k + 1], d = abs(v - values[k + 1]);
            }
            error += d * d;
            *block |= (uint64_t)code << (16 + 3 * (4 * y + x));
        }
    }
    return error;
}

}  // namespace

uint64_t cImage::EncodeDXT5AlphaBlockQuality(int width, int height, int pixelStride, int rowStride,
                                             const unsigned char* alpha) {
    ClampCell(&width, &height);
    if (!alpha || width < 1 || height < 1) return 0;
    int lo, hi;
    CellRange(width, height, pixelStride, rowStride, alpha, &lo, &hi);
    if (lo == hi) return (uint64_t)lo | (uint64_t)lo << 8;  // entry 0 holds the value exactly
    // 8 values: alpha0 = hi > alpha1 = lo, entry i (2..7) = ((8 - i) hi + (i - 1) lo) / 7.
    static const int codes8[8] = {1, 7, 6, 5, 4, 3, 2, 0};
    int values8[8];
    for (int k = 0; k < 8; k++) values8[k] = ((7 - k) * lo + k * hi) / 7;
    values8[0] = lo, values8[7] = hi;
    uint64_t block8 = (uint64_t)hi | (uint64_t)lo << 8;
    int error8 = NearestAlpha(width, height, pixelStride, rowStride, alpha, lo, hi, 7, values8, codes8, &block8);
    if (error8 == 0) return block8;
    // 6 values: alpha0 = lo6 <= alpha1 = hi6 over the values other than 0 and 255.
    int lo6 = 255, hi6 = 0;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            int v = alpha[y * rowStride + x * pixelStride];
            if (v == 0 || v == 255) continue;
            lo6 = v < lo6 ? v : lo6;
            hi6 = v > hi6 ? v : hi6;
        }
    if (lo6 > hi6) lo6 = hi6 = 0;
    if (lo6 == lo && hi6 == hi) return block8;  // no 0 or 255 to gain
    static const int codes6[6] = {0, 2, 3, 4, 5, 1};
    int values6[6];
    for (int k = 0; k < 6; k++) values6[k] = ((5 - k) * lo6 + k * hi6) / 5;
    uint64_t block6 = (uint64_t)lo6 | (uint64_t)hi6 << 8;
    int error6 = NearestAlpha(width, height, pixelStride, rowStride, alpha, lo6, hi6, 5, values6, codes6, &block6);
    return error6 < error8 ? block6 : block8;
}

uint64_t cImage::EncodeGrayDXTColorBlock(int width, int height, int pixelStride, int rowStride,
                                         const unsigned char* grey) {
    static const int remap[4] = {1, 3, 2, 0};
    ClampCell(&width, &height);
    if (!grey || width < 1 || height < 1) return 0;
    int lo, hi;
    CellRange(width, height, pixelStride, rowStride, grey, &lo, &hi);
    auto quantise = [](int v) { return (62 * v + 31) / 510; };
    auto greyOf = [](uint32_t q) { return q << 11 | q << 6 | q; };
    uint32_t qlo = (uint32_t)quantise(lo), qhi = (uint32_t)quantise(hi), c0, c1;
    if (qhi != qlo) {
        c0 = greyOf(qhi);
        c1 = greyOf(qlo);
    } else if (qlo == 31) {
        lo -= 1;
        c0 = 0xFFDF;
        c1 = greyOf(30);
    } else {
        hi += 1;
        c0 = greyOf(qlo + 1);
        c1 = greyOf(qlo);
    }
    int range = hi - lo, half = range / 2;
    Divider divide(range);
    uint64_t indices = 0;
    for (int y = 0; y < height; y++) {
        const unsigned char* row = grey + y * rowStride;
        for (int x = 0; x < width; x++, row += pixelStride)
            indices |= (uint64_t)remap[divide(3 * (*row - lo) + half)] << (2 * (4 * y + x));
    }
    return c0 | (uint64_t)c1 << 16 | indices << 32;
}

// ---- Decoders ----

void cImage::DecodeDXTColorBlock(uint64_t block, bool alwaysFourColors, unsigned char* rgba) {
    uint32_t c0 = (uint32_t)(block & 0xFFFF), c1 = (uint32_t)((block >> 16) & 0xFFFF);
    int pal[4][4];
    Expand565(c0, pal[0]);
    Expand565(c1, pal[1]);
    pal[0][3] = pal[1][3] = pal[2][3] = pal[3][3] = 255;
    bool four = alwaysFourColors || c0 > c1;
    for (int c = 0; c < 3; c++) {
        if (four) {
            pal[2][c] = (2 * pal[0][c] + pal[1][c] + 1) / 3;
            pal[3][c] = (pal[0][c] + 2 * pal[1][c] + 1) / 3;
        } else {
            pal[2][c] = (pal[0][c] + pal[1][c] + 1) / 2;
            pal[3][c] = 0;
        }
    }
    if (!four) pal[3][3] = 0;
    for (int i = 0; i < 16; i++) {
        const int* p = pal[(block >> (32 + 2 * i)) & 3];
        for (int c = 0; c < 4; c++) rgba[4 * i + c] = (unsigned char)p[c];
    }
}

void cImage::DecodeDXT3AlphaBlock(uint64_t block, unsigned char* alpha) {
    for (int i = 0; i < 16; i++) alpha[i] = (unsigned char)(((block >> (4 * i)) & 15) * 17);
}

void cImage::DecodeDXT5AlphaBlock(uint64_t block, unsigned char* alpha) {
    int a0 = (int)(block & 0xFF), a1 = (int)((block >> 8) & 0xFF);
    int values[8] = {a0, a1, 0, 0, 0, 0, 0, 255};
    if (a0 > a1) {
        for (int i = 2; i < 8; i++) values[i] = ((8 - i) * a0 + (i - 1) * a1) / 7;
    } else {
        for (int i = 2; i < 6; i++) values[i] = ((6 - i) * a0 + (i - 1) * a1) / 5;
    }
    for (int i = 0; i < 16; i++) alpha[i] = (unsigned char)values[(block >> (16 + 3 * i)) & 7];
}

// ---- Whole images ----

bool cImage::Compress(cDxtQuality quality) {
    if (cFormat::IsCompressed(Format)) return true;
    if (!Pixels || (Format != cFormat::Rgba8 && Format != cFormat::Rgb8 && Format != cFormat::R8)) return false;
    cFormat::Enum target = Format == cFormat::Rgba8 ? cFormat::Dxt5 : cFormat::Dxt1;
    bool best = quality == cDxtQuality::Quality;
    CellEncoder color = Format == cFormat::R8 ? EncodeGrayDXTColorBlock
                        : best                ? EncodeDXTColorBlockQuality
                                              : EncodeDXTColorBlock;
    CellEncoder alpha = Format != cFormat::Rgba8 ? nullptr : best ? EncodeDXT5AlphaBlockQuality : EncodeDXT5AlphaBlock;
    cImage out;
    if (!out.Create(target, Width, Height, Depth, MipMapCount)) return false;
    int bpp = cFormat::GetBytesPerPixel(Format);
    for (int level = 0; level < MipMapCount; level++)
        for (int s = 0; s < GetSliceCount(level); s++)
            EncodeSlice(GetSlice(level, s), GetWidth(level), GetHeight(level), bpp, out.GetSlice(level, s), color,
                        alpha);
    Swap(out);
    return true;
}

bool cImage::Uncompress() {
    if (cFormat::IsColor(Format)) return true;
    if (!Pixels || !cFormat::IsDxt(Format)) return false;
    cImage out;
    if (!out.Create(Format == cFormat::Dxt1 ? cFormat::Rgb8 : cFormat::Rgba8, Width, Height, Depth, MipMapCount))
        return false;
    for (int level = 0; level < MipMapCount; level++)
        for (int s = 0; s < GetSliceCount(level); s++)
            DecodeSlice(Format, GetSlice(level, s), GetWidth(level), GetHeight(level), out.GetSlice(level, s));
    Swap(out);
    return true;
}

}  // namespace zozud
