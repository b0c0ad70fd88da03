// The DDS codec: the headers and pixel formats it writes, cube maps, row order, refusals and round trips.
#include <gtest/gtest.h>

#include <cstring>

#include "image/CodecTestSupport.h"
#include "zozud/image/CodecDds.h"

using namespace zozud;
using namespace codectest;

namespace {

struct PixelFormat {
    uint32_t flags = 0, fourCC = 0, bits = 0, r = 0, g = 0, b = 0, a = 0;
};
const PixelFormat R8Bits = {0x20000, 0, 8, 0xFF};

// A 128-byte header, then the data.
std::string DdsFile(uint32_t width, uint32_t height, uint32_t depth, uint32_t levels, const PixelFormat& pf,
                    uint32_t caps2, const std::string& data, uint32_t flags = 0x1007, uint32_t caps = 0x1000) {
    Bytes h;
    h.Raw("DDS ").U32(124).U32(flags).U32(height).U32(width).U32(0).U32(depth).U32(levels).Zeros(44);
    h.U32(32).U32(pf.flags).U32(pf.fourCC).U32(pf.bits).U32(pf.r).U32(pf.g).U32(pf.b).U32(pf.a);
    return h.U32(caps).U32(caps2).Zeros(12).Raw(data).s;
}

uint32_t Code(const char* s) { return U32At(s, 0); }

}  // namespace

TEST(CodecDds, WritesTheHeadersOf2DVolumeAndCubeImages) {
    const struct {
        int      depth, levels;
        uint32_t flags, depthField, mipField, caps, caps2;
    } cases[] = {
        {1, 1, 0x1007, 0, 0, 0x1000, 0},          {1, 4, 0x21007, 0, 4, 0x401008, 0},
        {3, 1, 0x801007, 3, 0, 0x1008, 0x200000}, {3, 2, 0x821007, 3, 2, 0x401008, 0x200000},
        {0, 1, 0x1007, 0, 0, 0x1008, 0xFE00},     {0, 3, 0x21007, 0, 3, 0x401008, 0xFE00},
    };
    const PixelFormat rgba8 = {0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    cCodecDds dds;
    for (const auto& c : cases) {
        cImage image = Filled(cFormat::Rgba8, 8, 8, c.depth, c.levels);
        std::string f = Encode(dds, image);
        EXPECT_EQ(f.size(), 128u + image.GetSize());
        EXPECT_EQ(f.substr(0, 128), DdsFile(8, 8, c.depthField, c.mipField, rgba8, c.caps2, "", c.flags, c.caps))
            << "depth " << c.depth << " levels " << c.levels;
    }
}

TEST(CodecDds, RoundTripsEveryFormatItWritesWithItsPixelFormat) {
    const struct {
        cFormat::Enum format;
        PixelFormat   pf;
    } cases[] = {
        {cFormat::R8, R8Bits},
        {cFormat::Rg8, {0x20001, 0, 16, 0xFF, 0xFF00, 0xFF, 0xFF00}},
        {cFormat::Rgb8, {0x40, 0, 24, 0xFF0000, 0xFF00, 0xFF, 0}},
        {cFormat::Rgba8, {0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000}},
        {cFormat::R16, {0x20000, 0, 16, 0xFFFF}},
        {cFormat::Rg16, {4, 34}},         {cFormat::Rgba16, {4, 36}},   {cFormat::R16f, {4, 111}},
        {cFormat::Rg16f, {4, 112}},       {cFormat::Rgba16f, {4, 113}}, {cFormat::R32f, {4, 114}},
        {cFormat::Rg32f, {4, 115}},       {cFormat::Rgba32f, {4, 116}}, {cFormat::Dxt1, {4, Code("DXT1")}},
        {cFormat::Dxt3, {4, Code("DXT3")}}, {cFormat::Dxt5, {4, Code("DXT5")}},
    };
    cCodecDds dds;
    for (const auto& c : cases)
        for (int depth : {1, 4, 0}) {
            cImage image = Filled(c.format, 16, 8, depth, 10, c.format + depth), back;  // 5 levels down to 1x1
            std::string f = Encode(dds, image);
            ASSERT_FALSE(f.empty()) << cFormat::ToString(c.format);
            EXPECT_EQ(f.substr(80, 28), DdsFile(0, 0, 0, 0, c.pf, 0, "").substr(80, 28)) << cFormat::ToString(c.format);
            ASSERT_TRUE(Decode(dds, f, &back)) << cFormat::ToString(c.format);
            EXPECT_EQ(Shape(back), Shape(image));
            EXPECT_TRUE(Buffer(back) == Buffer(image)) << cFormat::ToString(c.format) << " depth " << depth;
        }
    cFile file;
    for (cFormat::Enum format : {cFormat::None, cFormat::Rgb16, cFormat::Rgb16f, cFormat::Rgb32f, cFormat::Depth24,
                                 cFormat::Pvrtc4Rgb, cFormat::Pvrtc4Rgba})
        EXPECT_FALSE(dds.Encode(Filled(format, 4, 4), &file)) << format;
    EXPECT_EQ(file.GetSize(), 0);
}

TEST(CodecDds, StoresCubeMapsFaceByFaceAndTurnsOnly2DImagesOver) {
    cImage cube(cFormat::R8, 4, 4, 0, 3), back;  // levels of 16, 4 and 1 bytes per face
    std::string faces;
    for (int face = 0; face < 6; face++) {
        for (int level = 0; level < 3; level++)
            memset(cube.GetSlice(level, face), 10 * face + level, (size_t)cube.GetSliceSize(level));
        faces += std::string(16, char(10 * face)) + std::string(4, char(10 * face + 1)) + char(10 * face + 2);
    }
    cCodecDds dds;
    EXPECT_EQ(Encode(dds, cube).substr(128), faces);
    // Any file with the cube bit reads as a cube map, whatever its depth field.
    for (uint32_t caps2 : {0x200u, 0x20BE00u, 0xFE00u}) {
        ASSERT_TRUE(Decode(dds, DdsFile(4, 4, 7, 3, R8Bits, caps2, faces), &back)) << caps2;
        EXPECT_EQ(back.Depth, 0);
        EXPECT_TRUE(Buffer(back) == Buffer(cube));
    }

    cImage image(cFormat::R8, 2, 3);
    memcpy(image.Pixels, "\1\2\3\4\5\6", 6);  // bottom row 1 2, top row 5 6
    EXPECT_EQ(Encode(dds, image).substr(128), "\5\6\3\4\1\2");
    ASSERT_TRUE(Decode(dds, DdsFile(3, 1, 0, 0, R8Bits, 0, "abc"), &back));
    EXPECT_EQ(Buffer(back), "abc");  // one row: nothing to turn over
    ASSERT_TRUE(Decode(dds, DdsFile(1, 2, 2, 0, R8Bits, 0, "abcd"), &back));
    EXPECT_EQ(Shape(back), "1x2x2 R8 levels 1");
    EXPECT_EQ(Buffer(back), "abcd");  // volumes stay as stored
}

TEST(CodecDds, ReadsUnlistedFourCCsByBitCountAndSwapsOnlyBgrPixels) {
    const struct {
        PixelFormat pf;
        std::string data, shape;  // depth and levels 0 read as 1
    } cases[] = {
        {{0, Code("DX10"), 8, 0xFF}, "\7", "1x1x1 R8 levels 1 7"},
        {{0, 0, 24, 0xFF0000, 0xFF00, 0xFF}, "\1\2\3", "1x1x1 Rgb8 levels 1 3,2,1"},
        {{0, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000}, "\1\2\3\4", "1x1x1 Rgba8 levels 1 3,2,1,4"},
        {{0, 0, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000}, "\1\2\3\4", "1x1x1 Rgba8 levels 1 1,2,3,4"},
    };
    cCodecDds dds;
    cImage image;
    for (const auto& c : cases) {
        ASSERT_TRUE(Decode(dds, DdsFile(1, 1, 0, 0, c.pf, 0, c.data), &image)) << c.shape;
        EXPECT_EQ(Shape(image) + " " + PixelText(image), c.shape);
    }
}

TEST(CodecDds, RefusesBadHeadersAndShortOrAbsurdData) {
    std::string good = DdsFile(4, 4, 0, 3, R8Bits, 0, std::string(21, 'x'));
    const BadFile cases[] = {
        {"magic", good.substr(0, 3) + "X" + good.substr(4)}, {"data cut", good.substr(0, good.size() - 1)},
        {"header cut", good.substr(0, 127)}, {"empty", ""},
        {"cube cut", DdsFile(4, 4, 0, 3, R8Bits, 0x200, std::string(6 * 21 - 1, 'x'))},
        {"width 0", DdsFile(0, 4, 0, 1, R8Bits, 0, std::string(16, 'x'))},
        {"negative width", DdsFile(0x80000000u, 4, 0, 1, R8Bits, 0, std::string(16, 'x'))},
        {"no format", DdsFile(4, 4, 0, 0, {4, Code("DX10")}, 0, std::string(64, 'x'))},
        {"12 bits", DdsFile(4, 4, 0, 0, {0, 0, 12}, 0, std::string(64, 'x'))},
        {"absurd volume", DdsFile(0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 40, {4, 116}, 0, "x")},
        {"absurd cube", DdsFile(65536, 65536, 0, 1, {4, 116}, 0x200, "x")},
    };
    cCodecDds dds;
    cImage image;
    ASSERT_TRUE(Decode(dds, good, &image));
    EXPECT_EQ(Shape(image), "4x4x1 R8 levels 3");
    for (const auto& c : cases) EXPECT_FALSE(Decode(dds, c.bytes, &image)) << c.what;
    // A mip count beyond the chain stops at 1x1.
    ASSERT_TRUE(Decode(dds, DdsFile(4, 4, 0, 0xFFFFFFFF, R8Bits, 0, std::string(21, 'x')), &image));
    EXPECT_EQ(image.MipMapCount, 3);
}
