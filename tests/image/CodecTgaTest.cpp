// The TGA codec: header checks, 8-bit grey and colour-mapped pixels, 16-bit
// pixels, run-length packets (including ones that overrun the image or stop
// short), top-down rows, refusals, round trips, and cross-checks with
// ImageMagick in both directions.
#include <gtest/gtest.h>

#include "image/CodecTestSupport.h"
#include "zozud/image/CodecTga.h"

using namespace zozud;
using codectest::Bytes;
using codectest::U16At;

namespace {

// An 18-byte header without an ID field, then the colour map and the data.
std::string TgaFile(int type, int width, int height, int bits, const std::string& data, int descriptor = 0,
                    int mapLength = 0, int mapBits = 0, const std::string& map = "") {
    Bytes b;
    b.U8(0).U8(0).U8(type).U16(0).U16(mapLength).U8(mapBits).U16(0).U16(0);
    b.U16(width).U16(height).U8(bits).U8(descriptor);
    return b.Raw(map).Raw(data).s;
}

}  // namespace

TEST(CodecTga, ReadsSixteenBitPixelsWithoutBitReplication) {
    cCodecTga tga;
    cImage image;
    std::string data = Bytes().U16(0x8000).U16(0x7FFF).U16(0x7C00).U16(0x83E0 | 0x1F).s;
    ASSERT_TRUE(codectest::Decode(tga, TgaFile(2, 4, 1, 16, data), &image));
    EXPECT_EQ(image.Format, cFormat::Rgba8);
    EXPECT_EQ(codectest::PixelString(image, 0, 0), "0,0,0,255");
    EXPECT_EQ(codectest::PixelString(image, 1, 0), "248,248,248,0");
    EXPECT_EQ(codectest::PixelString(image, 2, 0), "248,0,0,0");
    EXPECT_EQ(codectest::PixelString(image, 3, 0), "0,248,248,255");
}

TEST(CodecTga, ExpandsRunLengthPackets) {
    cCodecTga tga;
    cImage image;
    // 0x83: one pixel four times; 0x01: two literal pixels.
    std::string data = Bytes().U8(0x83).U8(1).U8(2).U8(3).U8(0x01).U8(4).U8(5).U8(6).U8(7).U8(8).U8(9).s;
    ASSERT_TRUE(codectest::Decode(tga, TgaFile(10, 6, 1, 24, data), &image));
    EXPECT_EQ(image.Format, cFormat::Rgb8);
    for (int x = 0; x < 4; x++) EXPECT_EQ(codectest::PixelString(image, x, 0), "3,2,1") << x;
    EXPECT_EQ(codectest::PixelString(image, 4, 0), "6,5,4");
    EXPECT_EQ(codectest::PixelString(image, 5, 0), "9,8,7");

    // A run that overruns the image stops at its end; the rest of the data is ignored.
    ASSERT_TRUE(codectest::Decode(tga, TgaFile(10, 2, 1, 8, Bytes().U8(0xFF).U8(77).U8(0xFF).U8(1).s), &image));
    EXPECT_EQ(image.Format, cFormat::R8);
    EXPECT_EQ(image.Pixels[0], 77);
    EXPECT_EQ(image.Pixels[1], 77);
    // So does a literal packet.
    ASSERT_TRUE(codectest::Decode(tga, TgaFile(10, 2, 1, 8, Bytes().U8(0x7F).U8(5).U8(6).s), &image));
    EXPECT_EQ(image.Pixels[1], 6);

    // Data that ends before the image is full fails.
    EXPECT_FALSE(codectest::Decode(tga, TgaFile(10, 6, 1, 24, Bytes().U8(0x83).U8(1).U8(2).U8(3).s), &image));
    EXPECT_FALSE(codectest::Decode(tga, TgaFile(10, 6, 1, 24, Bytes().U8(0x85).U8(1).U8(2).s), &image));
    EXPECT_FALSE(codectest::Decode(tga, TgaFile(10, 6, 1, 24, Bytes().U8(0x05).U8(1).U8(2).U8(3).s), &image));
    // A tiny packed file cannot claim a huge image: refused before allocating.
    EXPECT_FALSE(codectest::Decode(tga, TgaFile(10, 65535, 65535, 32, Bytes().U8(0xFF).U32(0).s), &image));
}

TEST(CodecTga, ReadsTopDownRowsFromTheLastToTheFirst) {
    cCodecTga tga;
    std::string rows = Bytes().U8(1).U8(2).U8(3).U8(4).s;  // two rows of two grey pixels
    cImage up, down;
    ASSERT_TRUE(codectest::Decode(tga, TgaFile(3, 2, 2, 8, rows, 0), &up));
    ASSERT_TRUE(codectest::Decode(tga, TgaFile(3, 2, 2, 8, rows, 32), &down));
    EXPECT_EQ(codectest::Buffer(up), std::string("\1\2\3\4"));
    EXPECT_EQ(codectest::Buffer(down), std::string("\3\4\1\2"));
    // Packed and top-down together.
    ASSERT_TRUE(codectest::Decode(tga, TgaFile(11, 2, 2, 8, Bytes().U8(0x81).U8(9).U8(0x81).U8(5).s, 32), &down));
    EXPECT_EQ(codectest::Buffer(down), std::string("\5\5\x09\x09"));
}

TEST(CodecTga, LooksEightBitPixelsUpInAColourMap) {
    cCodecTga tga;
    cImage image;
    // Colour-map type 0, yet the length and entry size give a map of two B, G, R entries.
    std::string map = Bytes().U8(30).U8(20).U8(10).U8(60).U8(50).U8(40).s;
    ASSERT_TRUE(codectest::Decode(tga, TgaFile(1, 3, 1, 8, Bytes().U8(1).U8(0).U8(1).s, 0, 2, 24, map), &image));
    EXPECT_EQ(image.Format, cFormat::Rgb8);
    EXPECT_EQ(codectest::PixelString(image, 0, 0), "40,50,60");
    EXPECT_EQ(codectest::PixelString(image, 1, 0), "10,20,30");
    // An index outside the map fails; a map cut short fails.
    EXPECT_FALSE(codectest::Decode(tga, TgaFile(1, 3, 1, 8, Bytes().U8(2).U8(0).U8(1).s, 0, 2, 24, map), &image));
    EXPECT_FALSE(codectest::Decode(tga, TgaFile(1, 1, 1, 8, "", 0, 200, 24, map), &image));
    // 32-bit entries (B, G, R, A) are read as B, G, R.
    std::string map32 = Bytes().U8(3).U8(2).U8(1).U8(0).s;
    ASSERT_TRUE(codectest::Decode(tga, TgaFile(1, 1, 1, 8, Bytes().U8(0).s, 0, 1, 32, map32), &image));
    EXPECT_EQ(codectest::PixelString(image, 0, 0), "1,2,3");
}

TEST(CodecTga, RefusesIdFieldsAndColourMapTypesAndShortFiles) {
    cCodecTga tga;
    cImage image;
    std::string good = TgaFile(2, 1, 1, 24, "abc");
    ASSERT_TRUE(codectest::Decode(tga, good, &image));
    std::string bad = good;
    bad[0] = 5;  // an ID field: refused before the header is read
    EXPECT_FALSE(codectest::Decode(tga, bad, &image));
    bad = good;
    bad[1] = 1;  // colour-map type
    EXPECT_FALSE(codectest::Decode(tga, bad, &image));
    EXPECT_FALSE(codectest::Decode(tga, good.substr(0, 20), &image));  // pixels cut short
    EXPECT_FALSE(codectest::Decode(tga, good.substr(0, 17), &image));
    EXPECT_FALSE(codectest::Decode(tga, "", &image));
    EXPECT_FALSE(codectest::Decode(tga, TgaFile(2, 0, 1, 24, "abc"), &image));
    EXPECT_FALSE(codectest::Decode(tga, TgaFile(2, 65535, 65535, 32, "abcd"), &image));
}

TEST(CodecTga, OtherBitCountsGiveAnImageWithoutPixels) {
    cCodecTga tga;
    cImage image(cFormat::Rgb8, 2, 2);
    ASSERT_TRUE(codectest::Decode(tga, TgaFile(2, 7, 5, 15, "whatever"), &image));
    EXPECT_EQ(image.Format, cFormat::None);
    EXPECT_EQ(image.Pixels, nullptr);
    EXPECT_EQ(image.Width, 7);
    EXPECT_EQ(image.Height, 5);
    EXPECT_EQ(image.Depth, 1);
    EXPECT_EQ(image.MipMapCount, 1);
}

TEST(CodecTga, WritesHeadersAndRoundTripsRgbAndRgba) {
    cCodecTga tga;
    cImage rgba(cFormat::Rgba8, 3, 2);
    codectest::Fill(&rgba, 4);
    std::string f = codectest::Encode(tga, rgba);
    ASSERT_EQ(f.size(), 18u + 24);
    EXPECT_EQ(f.substr(0, 12), std::string("\0\0\2\0\0\0\0\0\0\0\0\0", 12));
    EXPECT_EQ(U16At(f, 12), 3u);
    EXPECT_EQ(U16At(f, 14), 2u);
    EXPECT_EQ((int)f[16], 32);
    EXPECT_EQ((int)f[17], 0);
    EXPECT_EQ((unsigned char)f[18], rgba.Pixels[2]);  // B, G, R, A
    EXPECT_EQ((unsigned char)f[20], rgba.Pixels[0]);
    EXPECT_EQ((unsigned char)f[21], rgba.Pixels[3]);

    for (cFormat::Enum format : {cFormat::Rgb8, cFormat::Rgba8}) {
        cImage image(format, 5, 3);
        codectest::Fill(&image, 8);
        cImage back;
        ASSERT_TRUE(codectest::Decode(tga, codectest::Encode(tga, image), &back));
        EXPECT_EQ(back.Format, format);
        EXPECT_TRUE(codectest::SameBytes(codectest::Buffer(back), codectest::Buffer(image)))
            << cFormat::ToString(format);
    }
}

TEST(CodecTga, WritesR8WithAGreyColourMapItCannotReadBack) {
    cCodecTga tga;
    cImage grey(cFormat::R8, 4, 2);
    codectest::Fill(&grey, 2);
    std::string f = codectest::Encode(tga, grey);
    ASSERT_EQ(f.size(), 18u + 768 + 8);
    EXPECT_EQ((int)f[1], 1);
    EXPECT_EQ((int)f[2], 1);
    EXPECT_EQ(U16At(f, 5), 256u);
    EXPECT_EQ((int)f[7], 24);
    EXPECT_EQ((int)f[16], 8);
    for (int i = 0; i < 256; i++) ASSERT_EQ(f.substr(18 + 3 * i, 3), std::string(3, char(i))) << i;
    EXPECT_EQ(f.substr(18 + 768), codectest::Buffer(grey));
    cImage back;
    EXPECT_FALSE(codectest::Decode(tga, f, &back));

    cFile file;
    for (cFormat::Enum format : {cFormat::Rg8, cFormat::R16, cFormat::Dxt5}) {
        cImage other(format, 4, 4);
        codectest::Fill(&other, 1);
        EXPECT_FALSE(tga.Encode(other, &file)) << cFormat::ToString(format);
    }
    EXPECT_EQ(file.GetSize(), 0);
}

TEST(CodecTga, DecodesWhatImageMagickWritesPlainAndPacked) {
    SKIP_WITHOUT_MAGICK();
    testsupport::TempDir dir;
    struct Case {
        const char* name;
        const char* options;
        cFormat::Enum format;
    } cases[] = {
        {"rgb", "-size 17x9 plasma:fractal", cFormat::Rgb8},
        {"rgb-rle", "-size 17x9 plasma:fractal -compress RLE", cFormat::Rgb8},
        {"rgba", "-size 17x9 plasma:fractal -alpha set -channel A -fx '(i*j)/150' +channel", cFormat::Rgba8},
        {"rgba-rle", "-size 17x9 plasma:fractal -alpha set -channel A -fx 'i>8' +channel -compress RLE",
         cFormat::Rgba8},
        {"grey", "-size 17x9 plasma:fractal -colorspace gray", cFormat::R8},
        {"grey-rle", "-size 64x9 xc:gray40 -fill white -draw 'point 3,3' -type grayscale -compress RLE", cFormat::R8},
    };
    cCodecTga tga;
    for (const Case& c : cases) {
        std::string path = dir / (std::string(c.name) + ".tga");
        ASSERT_TRUE(codectest::Magick(std::string("-seed 3 ") + c.options + " TGA:" + path)) << c.name;
        cImage image;
        ASSERT_TRUE(codectest::Decode(tga, testsupport::ReadFile(path), &image)) << c.name;
        EXPECT_EQ(image.Format, c.format) << c.name;
        EXPECT_TRUE(codectest::SameBytes(codectest::TopDownRgba(image), codectest::MagickRgba(path))) << c.name;
    }
}

TEST(CodecTga, ImageMagickReadsWhatWeWrite) {
    SKIP_WITHOUT_MAGICK();
    testsupport::TempDir dir;
    cCodecTga tga;
    for (cFormat::Enum format : {cFormat::R8, cFormat::Rgb8, cFormat::Rgba8}) {
        cImage image(format, 9, 4);
        codectest::Fill(&image, 6);
        std::string path = dir / (std::string(cFormat::ToString(format)) + ".tga");
        testsupport::WriteFile(path, codectest::Encode(tga, image));
        EXPECT_TRUE(codectest::SameBytes(codectest::MagickRgba(path), codectest::TopDownRgba(image)))
            << cFormat::ToString(format);
    }
}
