// The DDS codec: header fields of 2D images, volumes and cube maps with and
// without mip chains, the pixel format of every format written, the FourCC
// and bit-count table on read, cube maps stored face by face, row order,
// refusals, round trips, and cross-checks with ImageMagick (uncompressed,
// DXT1 and DXT5) in both directions.
#include <gtest/gtest.h>

#include "image/CodecTestSupport.h"
#include "zozud/image/CodecDds.h"

using namespace zozud;
using codectest::Bytes;
using codectest::U32At;

namespace {

struct PixelFormat {
    uint32_t fourCC = 0, bits = 0, r = 0, g = 0, b = 0, a = 0;
};

// A 128-byte header with the fields the reader looks at, then the data.
std::string DdsFile(int width, int height, int depth, int levels, const PixelFormat& pf, uint32_t caps2,
                    const std::string& data) {
    Bytes h;
    h.Raw("DDS ").U32(124).U32(0x1007).U32(height).U32(width).U32(0).U32(depth).U32(levels).Zeros(44);
    h.U32(32).U32(pf.fourCC ? 4 : 0x40).U32(pf.fourCC).U32(pf.bits).U32(pf.r).U32(pf.g).U32(pf.b).U32(pf.a);
    h.U32(0x1000).U32(caps2).Zeros(12);
    return h.Raw(data).s;
}

PixelFormat FourCC(uint32_t code) {
    PixelFormat pf;
    pf.fourCC = code;
    return pf;
}

PixelFormat Bits(uint32_t bits, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    PixelFormat pf;
    pf.bits = bits;
    pf.r = r;
    pf.g = g;
    pf.b = b;
    pf.a = a;
    return pf;
}

uint32_t Code(const char* s) { return codectest::U32At(s, 0); }

// Every format the codec writes.
const cFormat::Enum Written[] = {
    cFormat::R8,    cFormat::Rg8,     cFormat::Rgb8,  cFormat::Rgba8, cFormat::R16,  cFormat::Rg16,
    cFormat::Rgba16, cFormat::R16f,   cFormat::Rg16f, cFormat::Rgba16f, cFormat::R32f, cFormat::Rg32f,
    cFormat::Rgba32f, cFormat::Dxt1,  cFormat::Dxt3,  cFormat::Dxt5,
};

}  // namespace

TEST(CodecDds, WritesTheHeaderFieldsOf2DVolumeAndCubeImages) {
    cCodecDds dds;
    struct Case {
        int      depth, levels;
        uint32_t flags, depthField, mipField, caps, caps2;
    } cases[] = {
        {1, 1, 0x1007, 0, 0, 0x1000, 0},
        {1, 4, 0x21007, 0, 4, 0x401008, 0},
        {3, 1, 0x801007, 3, 0, 0x1008, 0x200000},
        {3, 2, 0x821007, 3, 2, 0x401008, 0x200000},
        {0, 1, 0x1007, 0, 0, 0x1008, 0x20BE00},
        {0, 3, 0x21007, 0, 3, 0x401008, 0x20BE00},
    };
    for (const Case& c : cases) {
        cImage image(cFormat::Rgba8, 8, 8, c.depth, c.levels);
        codectest::Fill(&image, 1);
        std::string f = codectest::Encode(dds, image);
        ASSERT_EQ(f.size(), 128u + image.GetSize()) << c.depth << "/" << c.levels;
        EXPECT_EQ(f.substr(0, 4), "DDS ");
        EXPECT_EQ(U32At(f, 4), 124u);
        EXPECT_EQ(U32At(f, 8), c.flags);
        EXPECT_EQ(U32At(f, 12), 8u);
        EXPECT_EQ(U32At(f, 16), 8u);
        EXPECT_EQ(U32At(f, 20), 0u);
        EXPECT_EQ(U32At(f, 24), c.depthField);
        EXPECT_EQ(U32At(f, 28), c.mipField);
        for (int i = 32; i < 76; i += 4) EXPECT_EQ(U32At(f, i), 0u) << i;
        EXPECT_EQ(U32At(f, 76), 32u);
        EXPECT_EQ(U32At(f, 108), c.caps);
        EXPECT_EQ(U32At(f, 112), c.caps2);
        for (int i = 116; i < 128; i += 4) EXPECT_EQ(U32At(f, i), 0u) << i;

        cImage back;
        ASSERT_TRUE(codectest::Decode(dds, f, &back));
        EXPECT_EQ(back.Depth, c.depth);
        EXPECT_EQ(back.MipMapCount, c.levels);
        EXPECT_TRUE(codectest::SameBytes(codectest::Buffer(back), codectest::Buffer(image)));
    }
}

TEST(CodecDds, WritesThePixelFormatOfEachFormat) {
    struct Case {
        cFormat::Enum format;
        uint32_t      flags, fourCC, bits, r, g, b, a;
    } cases[] = {
        {cFormat::R8, 0x20000, 0, 8, 0xFF, 0, 0, 0},
        {cFormat::Rg8, 0x20001, 0, 16, 0xFF, 0xFF00, 0xFF, 0xFF00},
        {cFormat::Rgb8, 0x40, 0, 24, 0xFF0000, 0xFF00, 0xFF, 0},
        {cFormat::Rgba8, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000},
        {cFormat::R16, 0x20000, 0, 16, 0xFFFF, 0, 0, 0},
        {cFormat::Rg16, 4, 34, 0, 0, 0, 0, 0},
        {cFormat::Rgba16, 4, 36, 0, 0, 0, 0, 0},
        {cFormat::R16f, 4, 111, 0, 0, 0, 0, 0},
        {cFormat::Rg16f, 4, 112, 0, 0, 0, 0, 0},
        {cFormat::Rgba16f, 4, 113, 0, 0, 0, 0, 0},
        {cFormat::R32f, 4, 114, 0, 0, 0, 0, 0},
        {cFormat::Rg32f, 4, 115, 0, 0, 0, 0, 0},
        {cFormat::Rgba32f, 4, 116, 0, 0, 0, 0, 0},
        {cFormat::Dxt1, 4, Code("DXT1"), 0, 0, 0, 0, 0},
        {cFormat::Dxt3, 4, Code("DXT3"), 0, 0, 0, 0, 0},
        {cFormat::Dxt5, 4, Code("DXT5"), 0, 0, 0, 0, 0},
    };
    cCodecDds dds;
    for (const Case& c : cases) {
        cImage image(c.format, 4, 4);
        codectest::Fill(&image, 2);
        std::string f = codectest::Encode(dds, image);
        ASSERT_FALSE(f.empty()) << cFormat::ToString(c.format);
        uint32_t got[7] = {U32At(f, 80), U32At(f, 84),  U32At(f, 88), U32At(f, 92),
                           U32At(f, 96), U32At(f, 100), U32At(f, 104)};
        uint32_t want[7] = {c.flags, c.fourCC, c.bits, c.r, c.g, c.b, c.a};
        for (int i = 0; i < 7; i++) EXPECT_EQ(got[i], want[i]) << cFormat::ToString(c.format) << " field " << i;
    }
}

TEST(CodecDds, RoundTripsEveryFormatItWritesWithMipChains) {
    cCodecDds dds;
    for (cFormat::Enum format : Written) {
        for (int depth : {1, 4, 0}) {
            cImage image(format, 16, 8, depth, 10);
            ASSERT_EQ(image.MipMapCount, 5) << "the chain ends at 1x1";
            codectest::Fill(&image, format + depth);
            cImage back;
            ASSERT_TRUE(codectest::Decode(dds, codectest::Encode(dds, image), &back)) << cFormat::ToString(format);
            EXPECT_EQ(back.Format, format);
            EXPECT_EQ(back.Width, 16);
            EXPECT_EQ(back.Height, 8);
            EXPECT_EQ(back.Depth, depth);
            EXPECT_EQ(back.MipMapCount, image.MipMapCount);
            EXPECT_TRUE(codectest::SameBytes(codectest::Buffer(back), codectest::Buffer(image)))
                << cFormat::ToString(format) << " depth " << depth;
        }
    }
}

TEST(CodecDds, RefusesFormatsItDoesNotWrite) {
    cCodecDds dds;
    for (cFormat::Enum format :
         {cFormat::Rgb16, cFormat::Rgb16f, cFormat::Rgb32f, cFormat::Pvrtc4Rgb, cFormat::Pvrtc4Rgba}) {
        cImage image(format, 4, 4);
        ASSERT_NE(image.Pixels, nullptr);
        codectest::Fill(&image, 1);
        cFile file;
        EXPECT_FALSE(dds.Encode(image, &file)) << cFormat::ToString(format);
        EXPECT_EQ(file.GetSize(), 0);
    }
    cImage depth;
    depth.Create(cFormat::Depth24, 4, 4);
    cFile file;
    EXPECT_FALSE(dds.Encode(depth, &file));
    EXPECT_FALSE(dds.Encode(cImage(), &file));
    EXPECT_EQ(file.GetSize(), 0);
}

TEST(CodecDds, StoresCubeMapsFaceByFaceWithAllTheirLevels) {
    cImage cube(cFormat::R8, 4, 4, 0, 3);  // levels of 16, 4 and 1 bytes per face
    for (int level = 0; level < 3; level++)
        for (int face = 0; face < 6; face++)
            memset(cube.GetSlice(level, face), 10 * face + level, (size_t)cube.GetSliceSize(level));
    cCodecDds dds;
    std::string f = codectest::Encode(dds, cube);
    ASSERT_EQ(f.size(), 128u + 6 * 21);
    std::string expect;
    for (int face = 0; face < 6; face++)
        expect += std::string(16, char(10 * face)) + std::string(4, char(10 * face + 1)) +
                  std::string(1, char(10 * face + 2));
    EXPECT_EQ(f.substr(128), expect);

    cImage back;
    ASSERT_TRUE(codectest::Decode(dds, f, &back));
    EXPECT_EQ(back.Depth, 0);
    EXPECT_EQ(codectest::Buffer(back), codectest::Buffer(cube));
    // Any file with the cube bit reads as a cube map, whatever its depth field.
    ASSERT_TRUE(codectest::Decode(dds, DdsFile(4, 4, 7, 3, Bits(8, 0xFF, 0, 0, 0), 0x200, expect), &back));
    EXPECT_EQ(back.Depth, 0);
    EXPECT_EQ(codectest::Buffer(back), codectest::Buffer(cube));
}

TEST(CodecDds, TurnsOnly2DImagesOfTwoRowsOrMoreOver) {
    cCodecDds dds;
    cImage image(cFormat::R8, 2, 3);
    memcpy(image.Pixels, "\1\2\3\4\5\6", 6);  // bottom row 1 2, top row 5 6
    std::string f = codectest::Encode(dds, image);
    EXPECT_EQ(f.substr(128), std::string("\5\6\3\4\1\2"));  // the file starts with the top row

    cImage back;
    ASSERT_TRUE(codectest::Decode(dds, DdsFile(3, 1, 0, 0, Bits(8, 0xFF, 0, 0, 0), 0, "abc"), &back));
    EXPECT_EQ(codectest::Buffer(back), "abc");  // one row: nothing to turn over
    ASSERT_TRUE(codectest::Decode(dds, DdsFile(1, 2, 2, 0, Bits(8, 0xFF, 0, 0, 0), 0, "abcd"), &back));
    EXPECT_EQ(back.Depth, 2);
    EXPECT_EQ(codectest::Buffer(back), "abcd");  // volumes stay as stored

    // Block rows and the rows inside each block are turned over together.
    cImage dxt(cFormat::Dxt1, 4, 8);
    codectest::Fill(&dxt, 5);
    f = codectest::Encode(dds, dxt);
    const std::string b = codectest::Buffer(dxt);
    std::string flipped0 = b.substr(8, 4) + b[15] + b[14] + b[13] + b[12];
    EXPECT_EQ(f.substr(128, 8), flipped0);
}

TEST(CodecDds, ReadsFormatsByFourCCOrBitCount) {
    struct Case {
        PixelFormat   pf;
        cFormat::Enum format;
    } cases[] = {
        {FourCC(34), cFormat::Rg16},        {FourCC(36), cFormat::Rgba16},     {FourCC(111), cFormat::R16f},
        {FourCC(112), cFormat::Rg16f},      {FourCC(113), cFormat::Rgba16f},   {FourCC(114), cFormat::R32f},
        {FourCC(115), cFormat::Rg32f},      {FourCC(116), cFormat::Rgba32f},   {FourCC(Code("DXT1")), cFormat::Dxt1},
        {FourCC(Code("DXT3")), cFormat::Dxt3}, {FourCC(Code("DXT5")), cFormat::Dxt5},
        {Bits(8, 0xFF, 0, 0, 0), cFormat::R8},
        {Bits(16, 0xFF, 0xFF00, 0xFF, 0xFF00), cFormat::Rg8},
        {Bits(16, 0xFFFF, 0, 0, 0), cFormat::R16},
        {Bits(24, 0xFF0000, 0xFF00, 0xFF, 0), cFormat::Rgb8},
        {Bits(32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000), cFormat::Rgba8},
    };
    cCodecDds dds;
    for (const Case& c : cases) {
        cImage image;
        std::string data(cImage::CalcImageSize(c.format, 4, 4, 1, 1), 'x');
        ASSERT_TRUE(codectest::Decode(dds, DdsFile(4, 4, 0, 0, c.pf, 0, data), &image)) << cFormat::ToString(c.format);
        EXPECT_EQ(image.Format, c.format);
        EXPECT_EQ(image.Depth, 1);        // 0 read as 1
        EXPECT_EQ(image.MipMapCount, 1);  // 0 read as 1
    }
    // An unknown FourCC falls back to the bit count; no format at all fails.
    cImage image;
    PixelFormat dx10 = FourCC(Code("DX10"));
    EXPECT_FALSE(codectest::Decode(dds, DdsFile(4, 4, 0, 0, dx10, 0, std::string(64, 'x')), &image));
    dx10.bits = 8;
    EXPECT_TRUE(codectest::Decode(dds, DdsFile(4, 4, 0, 0, dx10, 0, std::string(16, 'x')), &image));
    EXPECT_FALSE(codectest::Decode(dds, DdsFile(4, 4, 0, 0, Bits(12, 0, 0, 0, 0), 0, std::string(64, 'x')), &image));
}

TEST(CodecDds, SwapsRedAndBlueOnlyWhenTheBlueMaskIsTheLowByte) {
    cCodecDds dds;
    cImage image;
    ASSERT_TRUE(codectest::Decode(dds, DdsFile(1, 1, 0, 0, Bits(24, 0xFF0000, 0xFF00, 0xFF, 0), 0, "\1\2\3"), &image));
    EXPECT_EQ(codectest::PixelString(image, 0, 0), "3,2,1");
    ASSERT_TRUE(codectest::Decode(dds, DdsFile(1, 1, 0, 0, Bits(24, 0xFF, 0xFF00, 0xFF0000, 0), 0, "\1\2\3"), &image));
    EXPECT_EQ(codectest::PixelString(image, 0, 0), "1,2,3");
    ASSERT_TRUE(codectest::Decode(dds, DdsFile(1, 1, 0, 0, Bits(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000), 0, "\1\2\3\4"),
                                  &image));
    EXPECT_EQ(codectest::PixelString(image, 0, 0), "3,2,1,4");
}

TEST(CodecDds, RefusesBadHeadersAndShortData) {
    cCodecDds dds;
    cImage image;
    PixelFormat r8 = Bits(8, 0xFF, 0, 0, 0);
    std::string good = DdsFile(4, 4, 0, 3, r8, 0, std::string(21, 'x'));
    ASSERT_TRUE(codectest::Decode(dds, good, &image));
    EXPECT_EQ(image.MipMapCount, 3);
    std::string bad = good;
    bad[3] = 'X';
    EXPECT_FALSE(codectest::Decode(dds, bad, &image));
    EXPECT_FALSE(codectest::Decode(dds, good.substr(0, good.size() - 1), &image));
    EXPECT_FALSE(codectest::Decode(dds, good.substr(0, 127), &image));
    EXPECT_FALSE(codectest::Decode(dds, "", &image));
    EXPECT_FALSE(codectest::Decode(dds, DdsFile(4, 4, 0, 3, r8, 0x200, std::string(6 * 21 - 1, 'x')), &image));
    EXPECT_FALSE(codectest::Decode(dds, DdsFile(0, 4, 0, 1, r8, 0, std::string(16, 'x')), &image));
    EXPECT_FALSE(codectest::Decode(dds, DdsFile(0x80000000u, 4, 0, 1, r8, 0, std::string(16, 'x')), &image));
    // Sizes the file cannot hold fail before anything is allocated.
    EXPECT_FALSE(codectest::Decode(dds, DdsFile(0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 40, FourCC(116), 0, "x"), &image));
    EXPECT_FALSE(codectest::Decode(dds, DdsFile(65536, 65536, 0, 1, FourCC(116), 0x200, "x"), &image));
    // A mip count beyond the chain stops at 1x1.
    ASSERT_TRUE(codectest::Decode(dds, DdsFile(4, 4, 0, 0xFFFFFFFF, r8, 0, std::string(21, 'x')), &image));
    EXPECT_EQ(image.MipMapCount, 3);
}

TEST(CodecDds, AgreesWithImageMagickOnUncompressedAndDxtFiles) {
    SKIP_WITHOUT_MAGICK();
    testsupport::TempDir dir;
    struct Case {
        const char*   name;
        const char*   options;
        cFormat::Enum format;
        int           levels;
        int           tolerance;  // DXT endpoints: we expand 5-6-5 by shifting, ImageMagick by scaling
    } cases[] = {
        {"rgb", "-size 13x7 plasma:fractal -define dds:compression=none -define dds:mipmaps=0", cFormat::Rgb8, 1, 0},
        {"rgba",
         "-size 13x7 plasma:fractal -alpha set -channel A -fx 'i/13' +channel -define dds:compression=none -define "
         "dds:mipmaps=0",
         cFormat::Rgba8, 1, 0},
        {"dxt1", "-size 16x8 plasma:fractal -define dds:compression=dxt1", cFormat::Dxt1, 5, 8},
        {"dxt5",
         "-size 16x12 plasma:fractal -alpha set -channel A -fx 'j/12' +channel -define dds:compression=dxt5 -define "
         "dds:mipmaps=0",
         cFormat::Dxt5, 1, 8},
    };
    cCodecDds dds;
    for (const Case& c : cases) {
        std::string path = dir / (std::string(c.name) + ".dds");
        ASSERT_TRUE(codectest::Magick(std::string("-seed 4 ") + c.options + " DDS:" + path)) << c.name;
        cImage image;
        ASSERT_TRUE(codectest::Decode(dds, testsupport::ReadFile(path), &image)) << c.name;
        EXPECT_EQ(image.Format, c.format) << c.name;
        EXPECT_EQ(image.MipMapCount, c.levels) << c.name;
        ASSERT_TRUE(image.Uncompress());
        ASSERT_TRUE(image.RemoveMipMaps());
        int difference = codectest::MaxDifference(codectest::TopDownRgba(image), codectest::MagickRgba(path));
        EXPECT_GE(difference, 0) << c.name;
        EXPECT_LE(difference, c.tolerance) << c.name;
    }
}

TEST(CodecDds, ImageMagickReadsWhatWeWrite) {
    SKIP_WITHOUT_MAGICK();
    testsupport::TempDir dir;
    cCodecDds dds;
    for (cFormat::Enum format : {cFormat::Rgb8, cFormat::Rgba8, cFormat::Dxt1, cFormat::Dxt5}) {
        cFormat::Enum source = format == cFormat::Dxt1   ? cFormat::Rgb8
                               : format == cFormat::Dxt5 ? cFormat::Rgba8
                                                         : format;
        cImage image(source, 12, 8);
        codectest::Fill(&image, 7);
        if (format != image.Format) {
            ASSERT_TRUE(image.Compress());
        }
        std::string path = dir / (std::string(cFormat::ToString(format)) + ".dds");
        testsupport::WriteFile(path, codectest::Encode(dds, image));
        ASSERT_TRUE(image.Uncompress());  // what our own decoder makes of the blocks
        int difference = codectest::MaxDifference(codectest::MagickRgba(path), codectest::TopDownRgba(image));
        EXPECT_GE(difference, 0) << cFormat::ToString(format);
        EXPECT_LE(difference, cFormat::IsDxt(format) ? 8 : 0) << cFormat::ToString(format);
    }
}
