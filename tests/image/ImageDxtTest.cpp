// DXT blocks: known answers for the encoders and decoder, and the decoder and
// the quality mode measured against libsquish and stb_dxt.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "image/CodecTestSupport.h"

#if ZOZUD_TEST_HAVE_SQUISH
#include <squish.h>
#endif
#if __has_include(<stb/stb_dxt.h>)
#define ZOZUD_TEST_HAVE_STB_DXT 1
#define STB_DXT_STATIC
#define STB_DXT_IMPLEMENTATION
#include <stb/stb_dxt.h>
#endif

using namespace zozud;

namespace {

// Rgb8 pixels from runs of {r, g, b, count}.
std::vector<unsigned char> Runs(std::initializer_list<std::array<int, 4>> runs) {
    std::vector<unsigned char> px;
    for (const auto& r : runs)
        for (int i = 0; i < r[3] * 3; i++) px.push_back((unsigned char)r[i % 3]);
    return px;
}

}  // namespace

TEST(ImageDxt, ColourBlockKnownAnswers) {
    const struct {
        const char*                what;
        std::vector<unsigned char> px;
        uint64_t                   block;  // colour0 | colour1 << 16 | indices << 32
    } cases[] = {
        // (200 & 0xF8) << 8 | (100 & 0xFC) << 3 | 50 >> 3 = 0xCB26; one colour: bit 5 set, then cleared.
        {"one colour", Runs({{200, 100, 50, 16}}), 0x00000000CB06CB26ull},
        {"black", Runs({{0, 0, 0, 16}}), 0x20ull},
        {"white", Runs({{255, 255, 255, 16}}), 0xFFDFFFFFull},
        // R and B tie in range, R wins; blue is fitted to red.
        {"red over blue", Runs({{255, 0, 0, 8}, {0, 0, 255, 8}}), 0x55550000001FF800ull},
        // Blue is principal, but packs below red: colours swap and every index flips 0<->1.
        {"blue over red", Runs({{0, 0, 255, 8}, {250, 0, 0, 8}}), 0x00005555001FF800ull},
        // Palette 252, 0, 168, 84: 210, 126 and 42 lie exactly between two entries; the lower index wins.
        {"ties", Runs({{252, 0, 0, 1}, {0, 0, 0, 1}, {210, 0, 0, 1}, {126, 0, 0, 1}, {42, 0, 0, 1}, {0, 0, 0, 10},
                       {168, 0, 0, 1}}),
         0x955555840000F800ull},
    };
    for (const auto& c : cases) EXPECT_EQ(c.block, cImage::EncodeDXTColorBlock(4, 4, 3, 12, c.px.data())) << c.what;
    // A 2x1 cell (stride 4, as in Rgba8): only the two present indices flip, the missing ones stay 0.
    const unsigned char px[8] = {0, 0, 255, 7, 250, 0, 0, 7};
    EXPECT_EQ(0x00000001001FF800ull, cImage::EncodeDXTColorBlock(2, 1, 4, 8, px));
    EXPECT_EQ(0u, cImage::EncodeDXTColorBlock(0, 4, 3, 12, px));
    EXPECT_EQ(0u, cImage::EncodeDXTColorBlock(4, 4, 3, 12, nullptr));
}

TEST(ImageDxt, AlphaAndGreyBlockKnownAnswers) {
    uint64_t ones = 0;  // alpha index 1 for every pixel
    for (int i = 0; i < 16; i++) ones |= 1ull << (16 + 3 * i);
    // One value: the alpha range is widened (255 to 254, else up by one) and so is the grey one;
    // 130 is grey level q = (62 * 130 + 31) / 510 = 15, so colour0 is grey(16) and colour1 grey(15).
    const struct {
        int      value;
        uint64_t alpha, grey;
    } solid[] = {{255, 0xFEFF, 0xF79EFFDF}, {0, 0x0001 | ones, 0x5555555500000841}, {100, 0x6465 | ones, 0},
                 {130, 0x8283 | ones, 0x555555557BCF8410}};
    for (const auto& c : solid) {
        unsigned char cell[16];
        memset(cell, c.value, 16);
        EXPECT_EQ(c.alpha, cImage::EncodeDXT5AlphaBlock(4, 4, 1, 4, cell)) << c.value;
        EXPECT_TRUE(!c.grey || c.grey == cImage::EncodeGrayDXTColorBlock(4, 4, 1, 4, cell)) << c.value;
    }

    // 0..255 spread: L = (7a + 127) / 255, stored through the remap (1 7 6 5 4 3 2 0); missing pixels 0.
    const unsigned char a[4] = {0, 255, 128, 36};
    uint64_t block = cImage::EncodeDXT5AlphaBlock(4, 1, 1, 4, a);
    EXPECT_EQ(0x00FFull | 1ull << 16 | 0ull << 19 | 4ull << 22 | 7ull << 25, block);
    unsigned char decoded[16];
    cImage::DecodeDXT5AlphaBlock(block, decoded);
    EXPECT_EQ(0, memcmp("\0\xFF\x91\x24", decoded, 4));  // 145 = (4 * 255 + 3 * 0) / 7
    EXPECT_EQ(0x210000FFDFull, cImage::EncodeGrayDXTColorBlock(3, 1, 1, 3, a));  // indices 1, 0, 2

    // Grey images decode to exact greys, four of them over a cell's range.
    cImage image(cFormat::R8, 8, 8);
    for (int i = 0; i < 64; i++) image.Pixels[i] = (unsigned char)(i * 4);
    ASSERT_TRUE(image.Compress() && image.Format == cFormat::Dxt1 && image.Uncompress());
    for (int i = 0; i < 64; i++) {
        const unsigned char* p = image.Pixels + i * 3;
        EXPECT_TRUE(p[0] == p[1] && p[0] == p[2] && std::abs(p[0] - i * 4) <= 24) << i << ": " << (int)p[0];
    }
}

TEST(ImageDxt, DecoderColourPalettes) {
    unsigned char rgba[64];
    // colour0 > colour1: four colours, endpoints shifted without replication; first row indices 0 1 2 3.
    cImage::DecodeDXTColorBlock(0xF800 | 0x001Full << 16 | 0xE4ull << 32, false, rgba);
    EXPECT_EQ(0, memcmp("\xF8\0\0\xFF\0\0\xF8\xFF\xA5\0\x53\xFF\x53\0\xA5\xFF", rgba, 16));
    // colour0 <= colour1: three colours and transparent black, unless always four (DXT5).
    const uint64_t three = 0x001F | 0xF800ull << 16 | 0xE4ull << 32;
    cImage::DecodeDXTColorBlock(three, false, rgba);
    EXPECT_EQ(0, memcmp("\0\0\xF8\xFF\xF8\0\0\xFF\x7C\0\x7C\xFF\0\0\0\0", rgba, 16));
    cImage::DecodeDXTColorBlock(three, true, rgba);
    EXPECT_EQ(0, memcmp("\x53\0\xA5\xFF\xA5\0\x53\xFF", rgba + 8, 8));
}

TEST(ImageDxt, CompressedImagesStayCloseToTheSource) {
    cImage source(cFormat::Rgba8, 64, 48);  // smooth gradients in every channel
    for (int i = 0; i < 64 * 48; i++) {
        const int x = i % 64, y = i / 64;
        const unsigned char px[4] = {(unsigned char)(x * 3), (unsigned char)(y * 5), (unsigned char)((x + y) * 2),
                                     (unsigned char)(255 - y * 4)};
        memcpy(source.Pixels + 4 * i, px, 4);
    }
    for (cDxtQuality quality : {cDxtQuality::Fast, cDxtQuality::Quality})
        for (cFormat::Enum plain : {cFormat::Rgba8, cFormat::Rgb8}) {
            cImage original(source);
            ASSERT_TRUE(original.ToFormat(plain));
            cImage blocks(original);
            ASSERT_TRUE(blocks.Compress(quality));
            EXPECT_EQ(plain == cFormat::Rgb8 ? cFormat::Dxt1 : cFormat::Dxt5, blocks.Format);
            ASSERT_TRUE(blocks.Uncompress() && blocks.Format == plain);
            // Quality blocks aim at bit-replicated endpoints; our decoder shifts them, up to 7 apart.
            int bound = quality == cDxtQuality::Fast ? 12 : 16;
            EXPECT_LE(codectest::MaxDifference(codectest::Buffer(original), codectest::Buffer(blocks)), bound);
        }
    // Odd sizes, mip chains and cube faces (each face filtered apart): every cell is encoded from its own pixels.
    for (cDxtQuality quality : {cDxtQuality::Fast, cDxtQuality::Quality}) {
        cImage cube(cFormat::Rgb8, 6, 6, 0, 1);
        for (int f = 0; f < 6; f++) memset(cube.GetSlice(0, f), 30 * f + 20, 108);
        ASSERT_TRUE(cube.CreateMipMaps() && cube.Compress(quality) && cube.Uncompress());
        EXPECT_EQ(3, cube.MipMapCount);
        for (int level = 0; level < 3; level++)
            for (int f = 0; f < 6; f++)
                for (int64_t i = 0; i < cube.GetSliceSize(level); i++)
                    ASSERT_NEAR(30 * f + 20, cube.GetSlice(level, f)[i], 7) << level << " " << f;
    }

    // Other formats are left alone: floats cannot compress, PVR data cannot uncompress.
    cImage floats(cFormat::Rgba32f, 4, 4), pvr(cFormat::Pvrtc4Rgb, 4, 4), dxt3 = codectest::Filled(cFormat::Dxt3, 4, 4);
    EXPECT_FALSE(floats.Compress() || pvr.Uncompress() || cImage().Compress());
    EXPECT_TRUE(floats.Uncompress() && floats.Format == cFormat::Rgba32f && dxt3.Compress() && dxt3.Uncompress());
    EXPECT_EQ(cFormat::Rgba8, dxt3.Format);
}

#if ZOZUD_TEST_HAVE_SQUISH
// libsquish expands 5-6-5 endpoints with bit replication and rounds its
// thirds down, so colours may differ by a few levels; alphas must agree.
TEST(ImageDxt, DecoderAgreesWithLibsquish) {
    uint32_t seed = 12345;
    unsigned char raw[16], ours[64], theirs[64], alpha[16];
    for (int n = 0; n < 2000; n++) {
        for (unsigned char& b : raw) b = (unsigned char)((seed = seed * 1664525u + 1013904223u) >> 8);
        uint64_t color, alphaBlock;
        memcpy(&color, raw + 8, 8);
        memcpy(&alphaBlock, raw, 8);
        cImage::DecodeDXTColorBlock(color, false, ours);
        squish::Decompress(theirs, raw + 8, squish::kDxt1);
        for (int i = 0; i < 64; i++) ASSERT_NEAR(theirs[i], ours[i], (i % 4) == 3 ? 0 : 8) << n << " " << i;

        cImage::DecodeDXTColorBlock(color, true, ours);
        cImage::DecodeDXT5AlphaBlock(alphaBlock, alpha);
        squish::Decompress(theirs, raw, squish::kDxt5);
        for (int i = 0; i < 16; i++) {
            for (int c = 0; c < 3; c++) ASSERT_NEAR(theirs[4 * i + c], ours[4 * i + c], 8) << n;
            ASSERT_EQ(theirs[4 * i + 3], alpha[i]) << n << " " << i;
        }
        // A whole DXT3 image: its colour block has four colours in either endpoint order.
        cImage dxt3(cImage::CopyCtor, raw, cFormat::Dxt3, 4, 4);
        ASSERT_TRUE(dxt3.Uncompress());
        squish::Decompress(theirs, raw, squish::kDxt3);
        for (int i = 0; i < 64; i++) ASSERT_NEAR(theirs[i], dxt3.Pixels[i], (i % 4) == 3 ? 0 : 8) << n << " " << i;
    }
}

namespace {

// Squared error of 16 RGBA pixels (RGB only for colour blocks) after
// libsquish decodes the 8- or 16-byte block.
double SquishError(const unsigned char* rgba, const void* block, int flags) {
    unsigned char out[64];
    squish::Decompress(out, block, flags);
    double sum = 0;
    for (int i = 0; i < 64; i++)
        if (i % 4 != 3 || flags == squish::kDxt5) sum += (out[i] - rgba[i]) * (out[i] - rgba[i]);
    return sum;
}

// A smooth gradient over 16 x 16 cells, a corner of a 512-pixel sky: the
// quality mode's case.
std::vector<unsigned char> GradientCells() {
    std::vector<unsigned char> cells;
    for (int cy = 0; cy < 16; cy++)
        for (int cx = 0; cx < 16; cx++)
            for (int i = 0; i < 16; i++) {
                int x = cx * 4 + i % 4, y = cy * 4 + i / 4;
                cells.insert(cells.end(), {(unsigned char)(40 + x * 120 / 512), (unsigned char)(90 + y * 100 / 512),
                                           (unsigned char)(200 + (x + y) * 50 / 1024), (unsigned char)(255 - y / 2)});
            }
    return cells;
}

}  // namespace

TEST(ImageDxt, QualityModeMatchesTheReferencesOnSmoothPictures) {
    const std::vector<unsigned char> cells = GradientCells();
    const size_t count = cells.size() / 64;
    double fast = 0, quality = 0, stb = 0, fastAlpha = 0, qualityAlpha = 0;
    for (size_t n = 0; n < count; n++) {
        const unsigned char* rgba = cells.data() + 64 * n;
        uint64_t block = cImage::EncodeDXTColorBlock(4, 4, 4, 16, rgba);
        fast += SquishError(rgba, &block, squish::kDxt1);
        block = cImage::EncodeDXTColorBlockQuality(4, 4, 4, 16, rgba);
        quality += SquishError(rgba, &block, squish::kDxt1);
#if ZOZUD_TEST_HAVE_STB_DXT
        unsigned char theirs[8];
        stb_compress_dxt_block(theirs, rgba, 0, STB_DXT_HIGHQUAL);
        stb += SquishError(rgba, theirs, squish::kDxt1);
#endif
        uint64_t dxt5[2] = {cImage::EncodeDXT5AlphaBlock(4, 4, 4, 16, rgba + 3), block};
        fastAlpha += SquishError(rgba, dxt5, squish::kDxt5);
        dxt5[0] = cImage::EncodeDXT5AlphaBlockQuality(4, 4, 4, 16, rgba + 3);
        qualityAlpha += SquishError(rgba, dxt5, squish::kDxt5);
    }
    auto rmse = [&](double sum, int channels) { return std::sqrt(sum / ((double)count * 16 * channels)); };
    // Measured: fast 3.18, quality 1.01, stb_dxt (high quality) 1.03.
    EXPECT_GT(rmse(fast, 3), 2.5);
    EXPECT_LT(rmse(quality, 3), 1.1);
#if ZOZUD_TEST_HAVE_STB_DXT
    EXPECT_LT(rmse(quality, 3), 1.1 * rmse(stb, 3));
#endif
    EXPECT_LE(qualityAlpha, fastAlpha);
}

TEST(ImageDxt, QualityModeOneColourCellsAndAlphaModes) {
    // One colour in a full and in a 3x2 cell: every channel lands as near as
    // any block can (no farther than stb_dxt's tables), and exactly on the
    // values a 5- or 6-bit endpoint holds; the missing pixels' indices stay 0.
    for (int v = 0; v < 256; v++) {
        const unsigned char colour[3] = {(unsigned char)v, (unsigned char)(255 - v), (unsigned char)(v * 37)};
        unsigned char rgba[64], rgb[48];
        for (int i = 0; i < 16; i++) {
            memcpy(rgb + 3 * i, colour, 3);
            memcpy(rgba + 4 * i, colour, 3);
            rgba[4 * i + 3] = 255;
        }
        uint64_t full = cImage::EncodeDXTColorBlockQuality(4, 4, 3, 12, rgb);
        uint64_t part = cImage::EncodeDXTColorBlockQuality(3, 2, 3, 12, rgb);
        EXPECT_EQ(0u, (part >> 32) & ~0x3F3Full) << v;
        unsigned char ours[64], partial[64];
        squish::Decompress(ours, &full, squish::kDxt1);
        squish::Decompress(partial, &part, squish::kDxt1);
#if ZOZUD_TEST_HAVE_STB_DXT
        unsigned char block[8], theirs[64];
        stb_compress_dxt_block(block, rgba, 0, STB_DXT_HIGHQUAL);
        squish::Decompress(theirs, block, squish::kDxt1);
#endif
        for (int i = 1; i < 16; i++) ASSERT_EQ(0, memcmp(ours, ours + 4 * i, 4)) << v;
        for (int i : {0, 1, 2, 4, 5, 6}) ASSERT_EQ(0, memcmp(ours, partial + 4 * i, 4)) << v;
        for (int c = 0; c < 3; c++) {
            int error = std::abs(ours[c] - colour[c]);
#if ZOZUD_TEST_HAVE_STB_DXT
            EXPECT_LE(error, std::abs(theirs[c] - colour[c])) << v << " channel " << c;
#endif
            int bits = c == 1 ? 6 : 5, q = colour[c] >> (8 - bits);
            if (colour[c] == (q << (8 - bits) | q >> (2 * bits - 8))) {
                EXPECT_EQ(0, error) << v << " channel " << c;
            }
        }
    }

    // Alpha: cells either mode holds exactly, then random cells, where the
    // quality encoder is never worse than the fast one.
    const struct {
        const char*   what;
        unsigned char a[16];
    } exact[] = {
        {"one value", {77, 77, 77, 77, 77, 77, 77, 77, 77, 77, 77, 77, 77, 77, 77, 77}},
        {"eight even steps", {0, 36, 72, 109, 145, 182, 218, 255, 0, 36, 72, 109, 145, 182, 218, 255}},
        {"0 and 255 beside a narrow cluster", {0, 255, 100, 101, 102, 103, 104, 105, 0, 255, 100, 101, 102, 103, 104, 105}},
    };
    unsigned char decoded[16];
    for (const auto& c : exact) {
        cImage::DecodeDXT5AlphaBlock(cImage::EncodeDXT5AlphaBlockQuality(4, 4, 1, 4, c.a), decoded);
        EXPECT_EQ(0, memcmp(c.a, decoded, 16)) << c.what;
    }
    uint32_t seed = 99;
    auto squaredError = [&](const unsigned char* a, uint64_t block) {
        cImage::DecodeDXT5AlphaBlock(block, decoded);
        int sum = 0;
        for (int i = 0; i < 16; i++) sum += (a[i] - decoded[i]) * (a[i] - decoded[i]);
        return sum;
    };
    for (int n = 0; n < 3000; n++) {
        unsigned char a[16];
        int base = (int)((seed = seed * 1664525u + 1013904223u) >> 24), spread = 1 + n % 64;
        for (unsigned char& v : a) {
            seed = seed * 1664525u + 1013904223u;
            int r = (int)(seed >> 16) % 20;
            v = r == 0 ? 0 : r == 1 ? 255 : (unsigned char)std::min(255, base + (int)(seed >> 8) % spread);
        }
        ASSERT_LE(squaredError(a, cImage::EncodeDXT5AlphaBlockQuality(4, 4, 1, 4, a)),
                  squaredError(a, cImage::EncodeDXT5AlphaBlock(4, 4, 1, 4, a)))
            << n;
    }
}
#endif
