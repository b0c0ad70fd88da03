// The BMP codec: header and row layouts byte by byte, palettes of 1, 4 and 8
// bits, top-down files, refusals, round trips, and cross-checks with
// ImageMagick in both directions.
#include <gtest/gtest.h>

#include "image/CodecTestSupport.h"
#include "zozud/image/CodecBmp.h"

using namespace zozud;
using codectest::Bytes;
using codectest::U16At;
using codectest::U32At;

namespace {

// A BMP with a 40-byte info header; the data offset points after the palette.
std::string BmpFile(int width, int height, int bits, const std::string& palette, const std::string& pixels,
                    uint32_t compression = 0, uint32_t colorsUsed = 0) {
    Bytes b;
    b.U16(0x4D42).U32(54 + palette.size() + pixels.size()).U32(0).U32(54 + palette.size());
    b.U32(40).U32(width).U32(height).U16(1).U16(bits).U32(compression).U32(pixels.size());
    b.U32(0).U32(0).U32(colorsUsed).U32(0);
    return b.Raw(palette).Raw(pixels).s;
}

std::string Entry(unsigned r, unsigned g, unsigned b) { return Bytes().U8(b).U8(g).U8(r).U8(0).s; }

}  // namespace

TEST(CodecBmp, WritesRgba8AsSeventyBytesWithBgraPixels) {
    cImage image(cFormat::Rgba8, 2, 2);
    const unsigned char px[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    memcpy(image.Pixels, px, 16);
    cCodecBmp bmp;
    std::string f = codectest::Encode(bmp, image);
    ASSERT_EQ(f.size(), 70u);
    EXPECT_EQ(f.substr(0, 2), "BM");
    EXPECT_EQ(U32At(f, 2), 70u);
    EXPECT_EQ(U32At(f, 6), 0u);
    EXPECT_EQ(U32At(f, 10), 54u);
    EXPECT_EQ(U32At(f, 14), 40u);
    EXPECT_EQ(U32At(f, 18), 2u);
    EXPECT_EQ(U32At(f, 22), 2u);
    EXPECT_EQ(U16At(f, 26), 1u);
    EXPECT_EQ(U16At(f, 28), 32u);
    EXPECT_EQ(U32At(f, 30), 0u);
    EXPECT_EQ(U32At(f, 34), 16u);
    EXPECT_EQ(U32At(f, 46), 0u);
    // Bottom row first, as stored; each pixel B, G, R, A.
    const unsigned char expect[16] = {3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12, 15, 14, 13, 16};
    EXPECT_EQ(f.substr(54), std::string((const char*)expect, 16));
}

TEST(CodecBmp, WritesR8WithGreyPaletteAndRowsPaddedToFourBytes) {
    cImage image(cFormat::R8, 5, 3);
    for (int i = 0; i < 15; i++) image.Pixels[i] = (unsigned char)(i * 17);
    cCodecBmp bmp;
    std::string f = codectest::Encode(bmp, image);
    ASSERT_EQ(f.size(), 1078u + 8 * 3);
    EXPECT_EQ(U32At(f, 2), 1078u + 24);
    EXPECT_EQ(U32At(f, 10), 1078u);
    EXPECT_EQ(U16At(f, 28), 8u);
    EXPECT_EQ(U32At(f, 34), 24u);
    EXPECT_EQ(U32At(f, 46), 256u);
    for (int i = 0; i < 256; i++) ASSERT_EQ(U32At(f, 54 + 4 * i), uint32_t(i | i << 8 | i << 16)) << i;
    EXPECT_EQ(f.substr(1078 + 8, 8), std::string("\x55\x66\x77\x88\x99\0\0\0", 8));

    cImage back;
    ASSERT_TRUE(codectest::Decode(bmp, f, &back));
    EXPECT_EQ(back.Format, cFormat::Rgb8);  // palettes expand to Rgb8
    EXPECT_EQ(codectest::PixelString(back, 4, 2), "238,238,238");
}

TEST(CodecBmp, ReadsRowsInFileOrderAndTurnsTopDownFilesOver) {
    // Width 3 at 24 bits: 9 bytes of pixels and 3 of padding per row.
    std::string rows = Bytes().U8(1).U8(2).U8(3).U8(4).U8(5).U8(6).U8(7).U8(8).U8(9).Zeros(3)
                           .U8(10).U8(20).U8(30).U8(40).U8(50).U8(60).U8(70).U8(80).U8(90).Zeros(3).s;
    cCodecBmp bmp;
    cImage up;
    ASSERT_TRUE(codectest::Decode(bmp, BmpFile(3, 2, 24, "", rows), &up));
    EXPECT_EQ(up.Format, cFormat::Rgb8);
    EXPECT_EQ(up.Width, 3);
    EXPECT_EQ(up.Height, 2);
    EXPECT_EQ(up.Depth, 1);
    EXPECT_EQ(up.MipMapCount, 1);
    EXPECT_EQ(codectest::PixelString(up, 0, 0), "3,2,1");  // the file's first row is row 0
    EXPECT_EQ(codectest::PixelString(up, 2, 1), "90,80,70");

    cImage down;
    ASSERT_TRUE(codectest::Decode(bmp, BmpFile(3, -2, 24, "", rows), &down));
    EXPECT_EQ(down.Height, 2);
    EXPECT_EQ(codectest::PixelString(down, 0, 0), "30,20,10");  // the file's second row is row 0
    EXPECT_EQ(codectest::PixelString(down, 2, 1), "9,8,7");
}

TEST(CodecBmp, ReadsPalettesOfOneFourAndEightBits) {
    cCodecBmp bmp;
    // 1 bit, width 10: two bytes of pixels, first pixel in the high bit, colours used 0 = 2 entries.
    std::string pal1 = Entry(0, 0, 0) + Entry(255, 128, 1);
    cImage one;
    ASSERT_TRUE(codectest::Decode(bmp, BmpFile(10, 1, 1, pal1, Bytes().U8(0xA0).U8(0x40).Zeros(2).s), &one));
    EXPECT_EQ(one.Format, cFormat::Rgb8);
    std::string bits;
    for (int x = 0; x < 10; x++) bits += one.Pixels[x * 3] ? '1' : '0';
    EXPECT_EQ(bits, "1010000001");
    EXPECT_EQ(codectest::PixelString(one, 0, 0), "255,128,1");

    // 4 bits, width 3, three entries: high nibble first.
    std::string pal4 = Entry(10, 11, 12) + Entry(20, 21, 22) + Entry(30, 31, 32);
    cImage four;
    ASSERT_TRUE(codectest::Decode(bmp, BmpFile(3, 1, 4, pal4, Bytes().U8(0x21).U8(0x00).Zeros(2).s, 0, 3), &four));
    EXPECT_EQ(codectest::PixelString(four, 0, 0), "30,31,32");
    EXPECT_EQ(codectest::PixelString(four, 1, 0), "20,21,22");
    EXPECT_EQ(codectest::PixelString(four, 2, 0), "10,11,12");

    // 8 bits with two entries: index 1 is fine, index 2 lies outside the palette.
    std::string pal8 = Entry(1, 2, 3) + Entry(4, 5, 6);
    cImage eight;
    ASSERT_TRUE(codectest::Decode(bmp, BmpFile(2, 1, 8, pal8, Bytes().U8(1).U8(0).Zeros(2).s, 0, 2), &eight));
    EXPECT_EQ(codectest::PixelString(eight, 0, 0), "4,5,6");
    EXPECT_FALSE(codectest::Decode(bmp, BmpFile(2, 1, 8, pal8, Bytes().U8(1).U8(2).Zeros(2).s, 0, 2), &eight));
    // A palette that ends early fails.
    EXPECT_FALSE(codectest::Decode(bmp, BmpFile(2, 1, 8, pal8, "", 0, 0), &eight));
}

TEST(CodecBmp, RefusesWhatItDoesNotRead) {
    cCodecBmp bmp;
    cImage image;
    std::string row = Bytes().U8(1).U8(2).U8(3).Zeros(1).s;
    ASSERT_TRUE(codectest::Decode(bmp, BmpFile(1, 1, 24, "", row), &image));
    EXPECT_FALSE(codectest::Decode(bmp, BmpFile(1, 1, 16, "", row), &image));
    EXPECT_FALSE(codectest::Decode(bmp, BmpFile(1, 1, 24, "", row, 1), &image));  // RLE
    EXPECT_FALSE(codectest::Decode(bmp, BmpFile(1, 1, 24, "", row, 2), &image));

    std::string good = BmpFile(1, 1, 24, "", row);
    std::string bad = good;
    bad[1] = 'A';  // signature
    EXPECT_FALSE(codectest::Decode(bmp, bad, &image));
    bad = good;
    bad[14] = 108;  // a later info header
    EXPECT_FALSE(codectest::Decode(bmp, bad, &image));
    bad = good;
    bad[26] = 2;  // planes
    EXPECT_FALSE(codectest::Decode(bmp, bad, &image));
    EXPECT_FALSE(codectest::Decode(bmp, good.substr(0, good.size() - 1), &image));  // last row's padding missing
    EXPECT_FALSE(codectest::Decode(bmp, good.substr(0, 53), &image));
    EXPECT_FALSE(codectest::Decode(bmp, "", &image));
    EXPECT_FALSE(codectest::Decode(bmp, BmpFile(0, 1, 24, "", row), &image));
    EXPECT_FALSE(codectest::Decode(bmp, BmpFile(-1, 1, 24, "", row), &image));
    EXPECT_FALSE(codectest::Decode(bmp, BmpFile(1, 0, 24, "", row), &image));
    // Sizes the file cannot hold fail before anything is allocated.
    EXPECT_FALSE(codectest::Decode(bmp, BmpFile(0x7FFFFFFF, 0x7FFFFFFF, 32, "", row), &image));
    EXPECT_FALSE(
        codectest::Decode(bmp, BmpFile(100000, -0x7FFFFFFF - 1, 1, Entry(0, 0, 0) + Entry(1, 1, 1), row), &image));
    EXPECT_FALSE(codectest::Decode(bmp, BmpFile(1, 1, 8, "", row, 0, 0xFFFFFFFF), &image));
}

TEST(CodecBmp, ReadsBitFieldFilesLikePlainOnes) {
    cCodecBmp bmp;
    std::string pixel = Bytes().U8(1).U8(2).U8(3).U8(4).s;
    // Masks after the header, data offset 66: the masks are stepped over.
    std::string masked = Bytes().U32(0xFF0000).U32(0xFF00).U32(0xFF).s + pixel;
    std::string withMasks = BmpFile(1, 1, 32, "", masked, 3);
    withMasks[10] = 66;
    cImage image;
    ASSERT_TRUE(codectest::Decode(bmp, withMasks, &image));
    EXPECT_EQ(codectest::PixelString(image, 0, 0), "3,2,1,4");
    // Data offset 54: the pixels follow the header directly.
    ASSERT_TRUE(codectest::Decode(bmp, BmpFile(1, 1, 32, "", pixel, 3), &image));
    EXPECT_EQ(codectest::PixelString(image, 0, 0), "3,2,1,4");
}

TEST(CodecBmp, RoundTripsEveryFormatItWritesAndRefusesTheRest) {
    cCodecBmp bmp;
    for (cFormat::Enum f : {cFormat::Rgb8, cFormat::Rgba8}) {
        for (int w = 1; w <= 7; w++) {
            cImage image(f, w, 5);
            codectest::Fill(&image, w);
            cImage back;
            ASSERT_TRUE(codectest::Decode(bmp, codectest::Encode(bmp, image), &back)) << w;
            EXPECT_EQ(back.Format, f);
            EXPECT_EQ(back.Width, w);
            EXPECT_EQ(back.Height, 5);
            EXPECT_TRUE(codectest::SameBytes(codectest::Buffer(back), codectest::Buffer(image)))
                << cFormat::ToString(f) << " width " << w;
        }
    }
    cImage grey(cFormat::R8, 3, 2);
    codectest::Fill(&grey, 9);
    cImage back;
    ASSERT_TRUE(codectest::Decode(bmp, codectest::Encode(bmp, grey), &back));
    ASSERT_EQ(back.Format, cFormat::Rgb8);
    for (int i = 0; i < 6; i++) {
        std::string v = std::to_string(grey.Pixels[i]);
        EXPECT_EQ(codectest::PixelString(back, i % 3, i / 3), v + "," + v + "," + v);
    }

    for (cFormat::Enum f : {cFormat::Rg8, cFormat::Rgba16, cFormat::R32f, cFormat::Dxt1}) {
        cImage other(f, 4, 4);
        codectest::Fill(&other, 1);
        cFile file;
        EXPECT_FALSE(bmp.Encode(other, &file)) << cFormat::ToString(f);
        EXPECT_EQ(file.GetSize(), 0);
    }
    bool ok = true;
    codectest::Encode(bmp, cImage(), &ok);
    EXPECT_FALSE(ok);
}

TEST(CodecBmp, DecodesWhatImageMagickWritesAtEveryDepth) {
    SKIP_WITHOUT_MAGICK();
    testsupport::TempDir dir;
    struct Case {
        const char* options;
        int         bits;
    } cases[] = {
        {"-size 13x7 plasma:fractal", 24},
        {"-size 13x7 plasma:fractal -alpha set -channel A -fx '(i+j)/20' +channel -define bmp3:alpha=true", 32},
        {"-size 23x9 plasma:fractal -colors 100 -type palette", 8},
        {"-size 13x7 plasma:fractal -colors 9 -type palette", 4},
        {"-size 19x5 plasma:fractal -colors 2 -type palette", 1},
    };
    cCodecBmp bmp;
    for (const Case& c : cases) {
        std::string path = dir / (std::to_string(c.bits) + ".bmp");
        ASSERT_TRUE(codectest::Magick(std::string("-seed 7 ") + c.options + " -compress none BMP3:" + path))
            << c.options;
        std::string bytes = testsupport::ReadFile(path);
        ASSERT_EQ(U16At(bytes, 28), (unsigned)c.bits) << "ImageMagick chose another depth";
        cImage image;
        ASSERT_TRUE(codectest::Decode(bmp, bytes, &image)) << c.bits;
        EXPECT_EQ(image.Format, c.bits == 32 ? cFormat::Rgba8 : cFormat::Rgb8);
        EXPECT_TRUE(codectest::SameBytes(codectest::TopDownRgba(image), codectest::MagickRgba(path)))
            << c.bits << " bits";
    }
}

TEST(CodecBmp, ImageMagickReadsWhatWeWrite) {
    SKIP_WITHOUT_MAGICK();
    testsupport::TempDir dir;
    cCodecBmp bmp;
    for (cFormat::Enum f : {cFormat::R8, cFormat::Rgb8, cFormat::Rgba8}) {
        cImage image(f, 11, 6);
        codectest::Fill(&image, 3);
        std::string path = dir / (std::string(cFormat::ToString(f)) + ".bmp");
        testsupport::WriteFile(path, codectest::Encode(bmp, image));
        EXPECT_TRUE(codectest::SameBytes(codectest::MagickRgba(path), codectest::TopDownRgba(image)))
            << cFormat::ToString(f);
    }
}
