// The TGA codec: known files read and written, refusals and round trips.
#include <gtest/gtest.h>

#include "image/CodecTestSupport.h"
#include "zozud/image/CodecTga.h"

using namespace zozud;
using namespace codectest;

namespace {

// An 18-byte header without an ID field, then the colour map and the data.
std::string TgaFile(int type, int width, int height, int bits, const std::string& data, int descriptor = 0,
                    int mapLength = 0, int mapBits = 0, const std::string& map = "", int mapType = 0, int first = 0) {
    Bytes b;
    b.U8(0).U8(mapType).U8(type).U16(first).U16(mapLength).U8(mapBits).U16(0).U16(0);
    return b.U16(width).U16(height).U8(bits).U8(descriptor).Raw(map).Raw(data).s;
}

}  // namespace

TEST(CodecTga, ReadsPixelsPacketsColourMapsAndTopDownRows) {
    const std::string map = "\36\24\12\74\62\50";  // B, G, R entries (10, 20, 30) and (40, 50, 60)
    const KnownFile cases[] = {
        // A1 R5 G5 B5 without bit replication.
        {"16 bits", TgaFile(2, 3, 1, 16, Bytes().U16(0x8000).U16(0x7FFF).U16(0x83FF).s), "3x1x1 Rgba8 levels 1",
         "0,0,0,255 248,248,248,0 0,248,248,255"},
        // 0x83: one pixel four times; 0x01: two literal pixels.
        {"packets", TgaFile(10, 6, 1, 24, Bytes().U8(0x83).Raw("\1\2\3").U8(1).Raw("\4\5\6\7\10\11").s),
         "6x1x1 Rgb8 levels 1", "3,2,1 3,2,1 3,2,1 3,2,1 6,5,4 9,8,7"},
        {"run past the end", TgaFile(10, 2, 1, 8, "\xFF\x4D\xFF\x01"), "2x1x1 R8 levels 1", "77 77"},
        {"literal past the end", TgaFile(10, 2, 1, 8, "\x7F\5\6"), "2x1x1 R8 levels 1", "5 6"},
        {"bottom-up", TgaFile(3, 2, 2, 8, "\1\2\3\4", 0), "2x2x1 R8 levels 1", "1 2 3 4"},
        {"top-down", TgaFile(3, 2, 2, 8, "\1\2\3\4", 32), "2x2x1 R8 levels 1", "3 4 1 2"},
        {"packed top-down", TgaFile(11, 2, 2, 8, "\x81\x09\x81\5", 32), "2x2x1 R8 levels 1", "5 5 9 9"},
        // Colour-map type 0, yet the length and entry size give a map.
        {"colour map", TgaFile(1, 3, 1, 8, Bytes().U8(1).U8(0).U8(1).s, 0, 2, 24, map), "3x1x1 Rgb8 levels 1",
         "40,50,60 10,20,30 40,50,60"},
        {"32-bit map", TgaFile(1, 1, 1, 8, Bytes().U8(0).s, 0, 1, 32, Bytes().Raw("\3\2\1").U8(7).s),
         "1x1x1 Rgba8 levels 1", "1,2,3,7"},
        // Colour-map type 1, indices counted from the first entry's number, packets across rows.
        {"mapped from entry 5", TgaFile(1, 2, 1, 8, "\6\5", 0, 2, 24, map, 1, 5), "2x1x1 Rgb8 levels 1",
         "40,50,60 10,20,30"},
        {"packed mapped", TgaFile(9, 3, 2, 8, Bytes().U8(0x82).U8(1).U8(2).U8(0).U8(1).U8(0).s, 0, 2, 24, map, 1),
         "3x2x1 Rgb8 levels 1", "40,50,60 40,50,60 40,50,60 10,20,30 40,50,60 10,20,30"},
        {"grey map", TgaFile(1, 2, 1, 8, Bytes().U8(1).U8(0).s, 0, 2, 16, Bytes().U16(0x7FFF).U16(0x0C63).s, 1),
         "2x1x1 R8 levels 1", "24 248"},
        {"15 bits", TgaFile(2, 2, 1, 15, Bytes().U16(0x7C00).U16(0x801F).s), "2x1x1 Rgb8 levels 1",
         "248,0,0 0,0,248"},
    };
    cCodecTga tga;
    ExpectReads(tga, cases);
}

TEST(CodecTga, RefusesBadHeadersAndShortOrAbsurdData) {
    std::string good = TgaFile(2, 1, 1, 24, "abc"), map = "\36\24\12\74\62\50";
    const BadFile cases[] = {
        {"ID field", "\5" + good.substr(1)}, {"colour-map type", good.substr(0, 1) + "\2" + good.substr(2)},
        {"0 bits", TgaFile(2, 4, 4, 0, "")}, {"0 bits, huge", TgaFile(2, 65535, 65535, 0, "")},
        {"12 bits", TgaFile(2, 1, 1, 12, "ab")}, {"8-bit map entries", TgaFile(1, 1, 1, 8, "\0", 0, 1, 8, "x", 1)},
        {"index below the first entry", TgaFile(1, 1, 1, 8, "\4", 0, 2, 24, map, 1, 5)},
        {"pixels cut", good.substr(0, 20)}, {"header cut", good.substr(0, 17)}, {"empty", ""},
        {"width 0", TgaFile(2, 0, 1, 24, "abc")}, {"absurd size", TgaFile(2, 65535, 65535, 32, "abcd")},
        {"run cut", TgaFile(10, 6, 1, 24, "\x83\1\2\3")}, {"run pixel cut", TgaFile(10, 6, 1, 24, "\x85\1\2")},
        {"literal cut", TgaFile(10, 6, 1, 24, "\x05\1\2\3")},
        {"absurd packed size", TgaFile(10, 65535, 65535, 32, Bytes().U8(0xFF).U32(0).s)},
        {"index outside the map", TgaFile(1, 3, 1, 8, Bytes().U8(2).U8(0).U8(1).s, 0, 2, 24, map)},
        {"map cut", TgaFile(1, 1, 1, 8, "", 0, 200, 24, map)},
    };
    cCodecTga tga;
    cImage image;
    ASSERT_TRUE(Decode(tga, good, &image));
    for (const auto& c : cases) EXPECT_FALSE(Decode(tga, c.bytes, &image)) << c.what;
}

TEST(CodecTga, WritesBottomUpFilesAndRoundTripsRgbRgbaAndGrey) {
    std::string greyMap;  // R8 carries a grey colour map (colour-map type 1) and reads back as R8
    for (int i = 0; i < 256; i++) greyMap += std::string(3, char(i));
    cCodecTga tga;
    for (cFormat::Enum format : {cFormat::Rgb8, cFormat::Rgba8, cFormat::R8}) {
        cImage image = Filled(format, 5, 3), bgr(image), back;
        ASSERT_TRUE(format == cFormat::R8 || bgr.SwapChannels(0, 2));
        std::string f = Encode(tga, image);
        EXPECT_EQ(f, format == cFormat::R8 ? TgaFile(1, 5, 3, 8, Buffer(image), 0, 256, 24, greyMap, 1)
                                           : TgaFile(2, 5, 3, format == cFormat::Rgb8 ? 24 : 32, Buffer(bgr)))
            << cFormat::ToString(format);
        ASSERT_TRUE(Decode(tga, f, &back));
        EXPECT_EQ(Shape(back), Shape(image));
        EXPECT_TRUE(Buffer(back) == Buffer(image)) << cFormat::ToString(format);
    }
    cFile file;
    for (cFormat::Enum format : {cFormat::Rg8, cFormat::R16, cFormat::Dxt5})
        EXPECT_FALSE(tga.Encode(Filled(format, 4, 4), &file)) << cFormat::ToString(format);
    EXPECT_EQ(file.GetSize(), 0);
}

// 65535 x 8200 pixels of 32 bits in 21 MB of run-length packets: 2.1 GB
// unpacked, above the image size cap. Refused without touching that memory.
TEST(CodecTga, RefusesPackedImagesAboveTheCapWithoutAllocatingThem) {
    const int64_t packets = 65535LL * 8200 / 128 + 1;
    std::string data;
    data.reserve((size_t)packets * 5);
    for (int64_t i = 0; i < packets; i++) data.append("\xFF\1\2\3\4", 5);
    cCodecTga tga;
    cImage image;
    long before = PeakResidentKb();
    EXPECT_FALSE(Decode(tga, TgaFile(10, 65535, 8200, 32, data), &image));
    EXPECT_LT(PeakResidentKb() - before, 200 * 1024);
}
