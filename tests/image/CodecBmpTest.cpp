// The BMP codec: known files read and written, refusals and round trips.
#include <gtest/gtest.h>

#include "image/CodecTestSupport.h"
#include "zozud/image/CodecBmp.h"

using namespace zozud;
using namespace codectest;

namespace {

// A BMP with an info header of infoSize bytes (the fields past 40 filled
// with 0x5A); the data offset points `gap` bytes (0x33 each) after the palette.
std::string BmpFile(int width, int height, int bits, const std::string& palette, const std::string& pixels,
                    uint32_t compression = 0, uint32_t colorsUsed = 0, uint32_t infoSize = 40, size_t gap = 0) {
    Bytes b;
    size_t offset = 14 + infoSize + palette.size() + gap;
    b.U16(0x4D42).U32(offset + pixels.size()).U32(0).U32(offset);
    b.U32(infoSize).U32(width).U32(height).U16(1).U16(bits).U32(compression).U32(pixels.size());
    b.U32(0).U32(0).U32(colorsUsed).U32(0).Raw(std::string(infoSize - 40, 'Z'));
    return b.Raw(palette).Raw(std::string(gap, '3')).Raw(pixels).s;
}

std::string Entry(unsigned r, unsigned g, unsigned b) { return Bytes().U8(b).U8(g).U8(r).U8(0).s; }

std::string Patched(std::string s, size_t at, char value) {
    s[at] = value;
    return s;
}

}  // namespace

TEST(CodecBmp, ReadsRowsInFileOrderPalettesAndTopDownFiles) {
    // Width 3 at 24 bits: 9 bytes of pixels and 3 of padding per row.
    std::string rows = Bytes().Raw("\1\2\3\4\5\6\7\10\11").Zeros(3).Raw("\12\24\36\50\62\74\106\120\132").Zeros(3).s;
    std::string masks = Bytes().U32(0xFF0000).U32(0xFF00).U32(0xFF).Raw("\1\2\3\4").s;
    std::string pal4 = Entry(10, 11, 12) + Entry(20, 21, 22) + Entry(30, 31, 32);
    const KnownFile cases[] = {
        {"bottom-up", BmpFile(3, 2, 24, "", rows), "3x2x1 Rgb8 levels 1",
         "3,2,1 6,5,4 9,8,7 30,20,10 60,50,40 90,80,70"},
        {"top-down", BmpFile(3, -2, 24, "", rows), "3x2x1 Rgb8 levels 1",
         "30,20,10 60,50,40 90,80,70 3,2,1 6,5,4 9,8,7"},
        {"bit fields", BmpFile(1, 1, 32, "", "\1\2\3\4", 3), "1x1x1 Rgba8 levels 1", "3,2,1,4"},
        {"bit fields after masks", Patched(BmpFile(1, 1, 32, "", masks, 3), 10, 66), "1x1x1 Rgba8 levels 1",
         "3,2,1,4"},
        // First pixel in the high bit; colours used 0 means 2 entries.
        {"1 bit", BmpFile(10, 1, 1, Entry(0, 0, 0) + Entry(9, 8, 7), Bytes().U8(0xA0).U8(0x40).Zeros(2).s),
         "10x1x1 Rgb8 levels 1", "9,8,7 0,0,0 9,8,7 0,0,0 0,0,0 0,0,0 0,0,0 0,0,0 0,0,0 9,8,7"},
        {"4 bits", BmpFile(3, 1, 4, pal4, Bytes().U8(0x21).Zeros(3).s, 0, 3), "3x1x1 Rgb8 levels 1",
         "30,31,32 20,21,22 10,11,12"},
        {"8 bits", BmpFile(2, 1, 8, pal4, Bytes().U8(1).U8(2).Zeros(2).s, 0, 3), "2x1x1 Rgb8 levels 1",
         "20,21,22 30,31,32"},
        // Longer info headers, the palette after them, and pixels where the data offset says.
        {"V5 header", BmpFile(1, 1, 32, "", "\1\2\3\4", 3, 0, 124), "1x1x1 Rgba8 levels 1", "3,2,1,4"},
        {"V4 header and palette", BmpFile(2, 1, 8, pal4, Bytes().U8(2).U8(0).Zeros(2).s, 0, 3, 108),
         "2x1x1 Rgb8 levels 1", "30,31,32 10,11,12"},
        {"gap before the pixels", BmpFile(3, -2, 24, "", rows, 0, 0, 124, 7), "3x2x1 Rgb8 levels 1",
         "30,20,10 60,50,40 90,80,70 3,2,1 6,5,4 9,8,7"},
        {"data offset 0", Patched(BmpFile(1, 1, 24, "", Bytes().U8(1).U8(2).U8(3).U8(0).s), 10, 0),
         "1x1x1 Rgb8 levels 1", "3,2,1"},
    };
    cCodecBmp bmp;
    ExpectReads(bmp, cases);
}

TEST(CodecBmp, RefusesWhatItDoesNotRead) {
    std::string row = Bytes().U8(1).U8(2).U8(3).Zeros(1).s, good = BmpFile(1, 1, 24, "", row);
    std::string pal8 = Entry(1, 2, 3) + Entry(4, 5, 6);
    const BadFile cases[] = {
        {"16 bits", BmpFile(1, 1, 16, "", row)}, {"run-length", BmpFile(1, 1, 24, "", row, 1)},
        {"signature", Patched(good, 1, 'A')}, {"info size 64", BmpFile(1, 1, 24, "", row, 0, 0, 64)},
        {"V5 header cut", BmpFile(1, 1, 24, "", "", 0, 0, 124).substr(0, 100)},
        {"data offset past the end", Patched(good, 11, 1)},
        {"two planes", Patched(good, 26, 2)}, {"padding missing", good.substr(0, good.size() - 1)},
        {"header cut", good.substr(0, 53)}, {"empty", ""}, {"width 0", BmpFile(0, 1, 24, "", row)},
        {"width -1", BmpFile(-1, 1, 24, "", row)}, {"height 0", BmpFile(1, 0, 24, "", row)},
        {"index outside the palette", BmpFile(2, 1, 8, pal8, Bytes().U8(1).U8(2).Zeros(2).s, 0, 2)},
        {"palette cut", BmpFile(2, 1, 8, pal8, "", 0, 0)},
        {"absurd size", BmpFile(0x7FFFFFFF, 0x7FFFFFFF, 32, "", row)},
        {"absurd top-down", BmpFile(100000, -0x7FFFFFFF - 1, 1, Entry(0, 0, 0) + Entry(1, 1, 1), row)},
        {"absurd palette", BmpFile(1, 1, 8, "", row, 0, 0xFFFFFFFF)},
    };
    cCodecBmp bmp;
    cImage image;
    ASSERT_TRUE(Decode(bmp, good, &image));
    for (const auto& c : cases) EXPECT_FALSE(Decode(bmp, c.bytes, &image)) << c.what;
}

TEST(CodecBmp, WritesKnownBytesRoundTripsEveryFormatItWritesAndRefusesTheRest) {
    cCodecBmp bmp;
    cImage rgba(cFormat::Rgba8, 2, 2), grey(cFormat::R8, 5, 3);
    for (int i = 0; i < 16; i++) rgba.Pixels[i] = (unsigned char)(i + 1);
    // Bottom row first, as stored; each pixel B, G, R, A.
    EXPECT_EQ(Encode(bmp, rgba), BmpFile(2, 2, 32, "", "\3\2\1\4\7\6\5\10\13\12\11\14\17\16\15\20"));
    std::string palette, rows;  // R8: a grey palette, rows padded to 4 bytes
    for (int i = 0; i < 15; i++) grey.Pixels[i] = (unsigned char)(i * 17);
    for (int i = 0; i < 256; i++) palette += Entry(i, i, i);
    for (int y = 0; y < 3; y++) rows += std::string((const char*)grey.Pixels + 5 * y, 5) + std::string(3, '\0');
    EXPECT_EQ(Encode(bmp, grey), BmpFile(5, 3, 8, palette, rows, 0, 256));

    for (cFormat::Enum f : {cFormat::R8, cFormat::Rgb8, cFormat::Rgba8})
        for (int w = 1; w <= 7; w++) {
            cImage image = Filled(f, w, 5, 1, 1, w), back, expect(image);
            ASSERT_TRUE(Decode(bmp, Encode(bmp, image), &back)) << w;
            ASSERT_TRUE(expect.ToFormat(f == cFormat::R8 ? cFormat::Rgb8 : f));  // palettes read back as Rgb8
            EXPECT_EQ(Shape(back), Shape(expect));
            EXPECT_TRUE(Buffer(back) == Buffer(expect)) << cFormat::ToString(f) << " width " << w;
        }
    cFile file;
    for (cFormat::Enum f : {cFormat::None, cFormat::Rg8, cFormat::Rgba16, cFormat::R32f, cFormat::Dxt1})
        EXPECT_FALSE(bmp.Encode(Filled(f, 4, 4), &file)) << f;
    EXPECT_EQ(file.GetSize(), 0);
}
