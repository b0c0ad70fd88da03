// DXT blocks: known answers for the colour, alpha and grey encoders (single
// colours, endpoint order, index ties), decoder palettes, whole-image error
// bounds, and a cross-check of the decoder against libsquish.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "zozud/image/Image.h"

#if ZOZUD_TEST_HAVE_SQUISH
#include <squish.h>
#endif

using namespace zozud;

namespace {

uint32_t Indices(uint64_t block) { return (uint32_t)(block >> 32); }

// 2-bit indices, pixel 0 first.
uint32_t PackIndices(const int (&idx)[16]) {
    uint32_t v = 0;
    for (int i = 0; i < 16; i++) v |= (uint32_t)idx[i] << (2 * i);
    return v;
}

// A 4x4 Rgb8 cell with every pixel set to one colour.
std::vector<unsigned char> Solid(int r, int g, int b, int n = 16) {
    std::vector<unsigned char> px;
    for (int i = 0; i < n; i++) px.insert(px.end(), {(unsigned char)r, (unsigned char)g, (unsigned char)b});
    return px;
}

struct Lcg {
    uint32_t s;
    int Next(int n) {
        s = s * 1664525u + 1013904223u;
        return (int)((s >> 8) % (uint32_t)n);
    }
};

// A smooth Rgba8 picture with some noise, like a photograph.
cImage Picture(int w, int h, uint32_t seed) {
    cImage image(cFormat::Rgba8, w, h);
    Lcg rng = {seed};
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            unsigned char* p = image.Pixels + (y * w + x) * 4;
            p[0] = (unsigned char)(x * 255 / (w - 1) * 3 / 4 + rng.Next(16));
            p[1] = (unsigned char)(y * 255 / (h - 1) * 3 / 4 + rng.Next(16));
            p[2] = (unsigned char)((x + y) * 127 / (w + h) + 60);
            p[3] = (unsigned char)(255 - y * 200 / h);
        }
    return image;
}

double Rmse(const cImage& a, const cImage& b, int channels) {
    double sum = 0;
    int64_t n = a.GetPixelCount(0, 1);
    int ab = cFormat::GetBytesPerPixel(a.Format), bb = cFormat::GetBytesPerPixel(b.Format);
    for (int64_t i = 0; i < n; i++)
        for (int c = 0; c < channels; c++) {
            double d = (double)a.Pixels[i * ab + c] - b.Pixels[i * bb + c];
            sum += d * d;
        }
    return std::sqrt(sum / (double)(n * channels));
}

}  // namespace

TEST(ImageDxt, OneColourBlockSetsBitFiveOfColourZero) {
    std::vector<unsigned char> px = Solid(200, 100, 50);
    uint64_t block = cImage::EncodeDXTColorBlock(4, 4, 3, 12, px.data());
    // (200 & 0xF8) << 8 | (100 & 0xFC) << 3 | 50 >> 3 = 0xCB26, which has bit 5 already.
    EXPECT_EQ(0xCB26u, block & 0xFFFF);
    EXPECT_EQ(0xCB06u, (block >> 16) & 0xFFFF);
    EXPECT_EQ(0u, Indices(block));
    EXPECT_EQ(0x00000020ull, cImage::EncodeDXTColorBlock(4, 4, 3, 12, Solid(0, 0, 0).data()));
    px = Solid(255, 255, 255);
    EXPECT_EQ(0xFFDFFFFFull, cImage::EncodeDXTColorBlock(4, 4, 3, 12, px.data()));
}

TEST(ImageDxt, EndpointsFollowThePrincipalChannel) {
    // Rows 0-1 red, rows 2-3 blue: R and B tie in range, R wins; blue is fitted to red.
    std::vector<unsigned char> px = Solid(255, 0, 0, 8), blue = Solid(0, 0, 255, 8);
    px.insert(px.end(), blue.begin(), blue.end());
    uint64_t block = cImage::EncodeDXTColorBlock(4, 4, 3, 12, px.data());
    EXPECT_EQ(0xF800u, block & 0xFFFF);
    EXPECT_EQ(0x001Fu, (block >> 16) & 0xFFFF);
    EXPECT_EQ(0x55550000u, Indices(block));

    // Rows 0-1 blue (255), rows 2-3 red (250): blue is principal, E0 = blue packs
    // below E1 = red, so the colours swap and every index flips 0<->1.
    px = Solid(0, 0, 255, 8);
    std::vector<unsigned char> red = Solid(250, 0, 0, 8);
    px.insert(px.end(), red.begin(), red.end());
    block = cImage::EncodeDXTColorBlock(4, 4, 3, 12, px.data());
    EXPECT_EQ(0xF800u, block & 0xFFFF);
    EXPECT_EQ(0x001Fu, (block >> 16) & 0xFFFF);
    EXPECT_EQ(0x00005555u, Indices(block));
}

TEST(ImageDxt, IndexTiesPreferTheLowerIndex) {
    // Red only, 0..252: palette 252, 0, 168, 84; 210, 126 and 42 sit exactly between two entries.
    const int reds[16] = {252, 0, 210, 126, 42, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 168};
    std::vector<unsigned char> px;
    for (int r : reds) px.insert(px.end(), {(unsigned char)r, 0, 0});
    uint64_t block = cImage::EncodeDXTColorBlock(4, 4, 3, 12, px.data());
    EXPECT_EQ(0xF800u, block & 0xFFFF);
    EXPECT_EQ(0u, (block >> 16) & 0xFFFF);
    const int expect[16] = {0, 1, 0, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2};
    EXPECT_EQ(PackIndices(expect), Indices(block));
}

TEST(ImageDxt, SmallCellsEncodeOnlyTheirPixels) {
    // A 2x1 cell (stride 4, as in Rgba8) of blue and red: swapped endpoints,
    // only the two present indices flip, the missing ones stay 0.
    const unsigned char px[8] = {0, 0, 255, 7, 250, 0, 0, 7};
    uint64_t block = cImage::EncodeDXTColorBlock(2, 1, 4, 8, px);
    EXPECT_EQ(0xF800u, block & 0xFFFF);
    EXPECT_EQ(0x001Fu, (block >> 16) & 0xFFFF);
    EXPECT_EQ(0x1u, Indices(block));
    EXPECT_EQ(0u, cImage::EncodeDXTColorBlock(0, 4, 3, 12, px));
    EXPECT_EQ(0u, cImage::EncodeDXTColorBlock(4, 4, 3, 12, nullptr));
}

TEST(ImageDxt, AlphaBlockKnownAnswers) {
    unsigned char alpha[16];
    memset(alpha, 255, 16);
    EXPECT_EQ(0xFEFFull, cImage::EncodeDXT5AlphaBlock(4, 4, 1, 4, alpha));
    memset(alpha, 0, 16);
    uint64_t ones = 0;
    for (int i = 0; i < 16; i++) ones |= 1ull << (16 + 3 * i);
    EXPECT_EQ(0x01ull | ones, cImage::EncodeDXT5AlphaBlock(4, 4, 1, 4, alpha));
    memset(alpha, 100, 16);
    EXPECT_EQ(101u, cImage::EncodeDXT5AlphaBlock(4, 4, 1, 4, alpha) & 0xFF);

    // 0..255 spread: L = (7a + 127) / 255, stored through the remap (1 7 6 5 4 3 2 0).
    const unsigned char a[4] = {0, 255, 128, 36};
    uint64_t block = cImage::EncodeDXT5AlphaBlock(4, 1, 1, 4, a);
    EXPECT_EQ(255u, block & 0xFF);
    EXPECT_EQ(0u, (block >> 8) & 0xFF);
    const int expect[4] = {1, 0, 4, 7};
    for (int i = 0; i < 4; i++) EXPECT_EQ(expect[i], (int)((block >> (16 + 3 * i)) & 7)) << i;
    EXPECT_EQ(0u, block >> (16 + 12));  // missing pixels
    unsigned char decoded[16];
    cImage::DecodeDXT5AlphaBlock(block, decoded);
    EXPECT_EQ(0, decoded[0]);
    EXPECT_EQ(255, decoded[1]);
    EXPECT_EQ(145, decoded[2]);  // (4 * 255 + 3 * 0) / 7
    EXPECT_EQ(36, decoded[3]);
}

TEST(ImageDxt, GreyBlockKnownAnswers) {
    unsigned char grey[16];
    memset(grey, 255, 16);
    EXPECT_EQ(0xF79EFFDFull, cImage::EncodeGrayDXTColorBlock(4, 4, 1, 4, grey));
    memset(grey, 0, 16);
    EXPECT_EQ(0x5555555500000841ull, cImage::EncodeGrayDXTColorBlock(4, 4, 1, 4, grey));
    memset(grey, 130, 16);  // q = (62 * 130 + 31) / 510 = 15: colour0 grey(16), colour1 grey(15)
    uint64_t block = cImage::EncodeGrayDXTColorBlock(4, 4, 1, 4, grey);
    EXPECT_EQ((16u << 11 | 16u << 6 | 16u), block & 0xFFFF);
    EXPECT_EQ((15u << 11 | 15u << 6 | 15u), (block >> 16) & 0xFFFF);
    EXPECT_EQ(0x55555555u, Indices(block));  // max raised to 131: L = 0, stored as 1

    const unsigned char ramp[3] = {0, 255, 128};
    block = cImage::EncodeGrayDXTColorBlock(3, 1, 1, 3, ramp);
    EXPECT_EQ(0x0000FFDFull, block & 0xFFFFFFFF);
    EXPECT_EQ(0x21u, Indices(block));  // 1, 0, 2

    // Decoded grey blocks are exactly grey.
    cImage image(cFormat::R8, 8, 8);
    for (int i = 0; i < 64; i++) image.Pixels[i] = (unsigned char)(i * 4);
    ASSERT_TRUE(image.Compress());
    EXPECT_EQ(cFormat::Dxt1, image.Format);
    ASSERT_TRUE(image.Uncompress());
    for (int i = 0; i < 64; i++) {
        const unsigned char* p = image.Pixels + i * 3;
        EXPECT_EQ(p[0], p[1]);
        EXPECT_EQ(p[0], p[2]);
        EXPECT_NEAR(i * 4, p[0], 24);  // four greys over a cell's range
    }
}

// Every spread of values a cell can have (the level depends only on the
// range and the distance from the minimum) against the level formulas.
TEST(ImageDxt, AlphaAndGreyLevelsForEveryRangeAndValue) {
    const int alphaRemap[8] = {1, 7, 6, 5, 4, 3, 2, 0}, greyRemap[4] = {1, 3, 2, 0};
    for (int hi = 1; hi < 256; hi++)
        for (int v = 0; v <= hi; v++) {
            const unsigned char cell[3] = {0, (unsigned char)hi, (unsigned char)v};
            uint64_t block = cImage::EncodeDXT5AlphaBlock(3, 1, 1, 3, cell);
            ASSERT_EQ(alphaRemap[(7 * v + hi / 2) / hi], (int)((block >> 22) & 7)) << hi << " " << v;
            int top = (62 * hi + 31) / 510 == 0 ? hi + 1 : hi;  // one grey level: the maximum is raised
            block = cImage::EncodeGrayDXTColorBlock(3, 1, 1, 3, cell);
            ASSERT_EQ(greyRemap[(3 * v + top / 2) / top], (int)((block >> 36) & 3)) << hi << " " << v;
        }
}

TEST(ImageDxt, DecoderPalettes) {
    unsigned char rgba[64];
    // colour0 > colour1: four colours, endpoints shifted without replication.
    uint64_t block = 0xF800 | 0x001Full << 16 | 0xE4ull << 32;  // first row: indices 0 1 2 3
    cImage::DecodeDXTColorBlock(block, false, rgba);
    const unsigned char four[16] = {248, 0, 0, 255, 0, 0, 248, 255, 165, 0, 83, 255, 83, 0, 165, 255};
    EXPECT_EQ(0, memcmp(four, rgba, 16));
    // colour0 <= colour1: three colours and transparent black, unless always four (DXT5).
    block = 0x001F | 0xF800ull << 16 | 0xE4ull << 32;
    cImage::DecodeDXTColorBlock(block, false, rgba);
    const unsigned char three[16] = {0, 0, 248, 255, 248, 0, 0, 255, 124, 0, 124, 255, 0, 0, 0, 0};
    EXPECT_EQ(0, memcmp(three, rgba, 16));
    cImage::DecodeDXTColorBlock(block, true, rgba);
    EXPECT_EQ(83, rgba[8]);
    EXPECT_EQ(165, rgba[10]);
    EXPECT_EQ(255, rgba[15]);

    unsigned char alpha[16];
    cImage::DecodeDXT3AlphaBlock(0xFEDCBA9876543210ull, alpha);
    for (int i = 0; i < 16; i++) EXPECT_EQ(i * 17, alpha[i]);
    // a0 <= a1: six values, then 0 and 255.
    block = 10 | 60 << 8;
    for (int i = 0; i < 8; i++) block |= (uint64_t)i << (16 + 3 * i);
    cImage::DecodeDXT5AlphaBlock(block, alpha);
    const unsigned char six[8] = {10, 60, 20, 30, 40, 50, 0, 255};
    EXPECT_EQ(0, memcmp(six, alpha, 8));
}

TEST(ImageDxt, CompressedImagesStayCloseToTheSource) {
    cImage source = Picture(64, 48, 7);
    cImage dxt5(source);
    ASSERT_TRUE(dxt5.Compress());
    EXPECT_EQ(cFormat::Dxt5, dxt5.Format);
    EXPECT_EQ(16 * 12 * 16, dxt5.GetSize());
    ASSERT_TRUE(dxt5.Uncompress());
    EXPECT_EQ(cFormat::Rgba8, dxt5.Format);
    EXPECT_LT(Rmse(source, dxt5, 3), 6.0);
    for (int64_t i = 0; i < 64 * 48; i++)
        ASSERT_NEAR(source.Pixels[i * 4 + 3], dxt5.Pixels[i * 4 + 3], 8);  // alpha: 8 levels over a small range

    cImage rgb(source);
    ASSERT_TRUE(rgb.ToFormat(cFormat::Rgb8));
    cImage dxt1(rgb);
    ASSERT_TRUE(dxt1.Compress());
    EXPECT_EQ(cFormat::Dxt1, dxt1.Format);
    ASSERT_TRUE(dxt1.Uncompress());
    EXPECT_EQ(cFormat::Rgb8, dxt1.Format);
    EXPECT_LT(Rmse(rgb, dxt1, 3), 6.0);

    // Odd sizes, mip chains and cube faces: every cell is encoded from its own pixels.
    cImage cube(cFormat::Rgb8, 6, 6, 0, 1);
    for (int f = 0; f < 6; f++) memset(cube.GetSlice(0, f), 30 * f + 20, 108);
    ASSERT_TRUE(cube.CreateMipMaps());
    ASSERT_TRUE(cube.Compress());
    ASSERT_TRUE(cube.Uncompress());
    EXPECT_EQ(3, cube.MipMapCount);
    for (int level = 0; level < 3; level++)
        for (int f = 0; f < 6; f++) {
            const unsigned char* p = cube.GetSlice(level, f);
            for (int64_t i = 0; i < cube.GetSliceSize(level); i++) ASSERT_NEAR(30 * f + 20, p[i], 7);
        }
}

TEST(ImageDxt, CompressAndUncompressLeaveOtherFormatsAlone) {
    cImage floats(cFormat::Rgba32f, 4, 4);
    EXPECT_FALSE(floats.Compress());
    EXPECT_EQ(cFormat::Rgba32f, floats.Format);
    EXPECT_TRUE(floats.Uncompress());
    EXPECT_EQ(cFormat::Rgba32f, floats.Format);
    cImage dxt3(cFormat::Dxt3, 4, 4);
    EXPECT_TRUE(dxt3.Compress());
    memset(dxt3.Pixels, 0, 16);
    ASSERT_TRUE(dxt3.Uncompress());
    EXPECT_EQ(cFormat::Rgba8, dxt3.Format);
    cImage pvr(cFormat::Pvrtc4Rgb, 4, 4);
    EXPECT_FALSE(pvr.Uncompress());
    EXPECT_EQ(cFormat::Pvrtc4Rgb, pvr.Format);
    cImage empty;
    EXPECT_FALSE(empty.Compress());
}

#if ZOZUD_TEST_HAVE_SQUISH
// libsquish expands 5-6-5 endpoints with bit replication and rounds its
// thirds down, so colours may differ by a few levels; alphas must agree.
TEST(ImageDxt, DecoderAgreesWithLibsquish) {
    Lcg rng = {12345};
    unsigned char ours[64], theirs[64], alpha[16];
    for (int n = 0; n < 2000; n++) {
        unsigned char raw[16];
        for (unsigned char& b : raw) b = (unsigned char)rng.Next(256);
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
        cImage::DecodeDXT3AlphaBlock(alphaBlock, alpha);
        squish::Decompress(theirs, raw, squish::kDxt3);
        for (int i = 0; i < 16; i++) ASSERT_EQ(theirs[4 * i + 3], alpha[i]) << n << " " << i;
    }
}

// Our encoder's blocks decode in libsquish to nearly what our decoder gives.
TEST(ImageDxt, EncodedBlocksDecodeInLibsquish) {
    cImage source = Picture(32, 32, 99);
    cImage blocks(source);
    ASSERT_TRUE(blocks.Compress());
    cImage ours(blocks);
    ASSERT_TRUE(ours.Uncompress());
    std::vector<unsigned char> theirs(32 * 32 * 4);
    squish::DecompressImage(theirs.data(), 32, 32, blocks.Pixels, squish::kDxt5);
    for (int i = 0; i < 32 * 32 * 4; i++) ASSERT_NEAR(theirs[i], ours.Pixels[i], (i % 4) == 3 ? 0 : 8) << i;
}
#endif
