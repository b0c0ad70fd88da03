// Format names, and the size rules of the image buffer.
#include <gtest/gtest.h>

#include "zozud/image/Image.h"

using namespace zozud;

TEST(Format, NamesRoundTripIgnoringCase) {
    for (int f = 0; f <= cFormat::Dxt5; f++) EXPECT_EQ(f, cFormat::ToFormat(cFormat::ToString(f))) << f;
    for (int f : {-1, 23, 24, 25}) EXPECT_EQ(nullptr, cFormat::ToString(f)) << f;
    EXPECT_EQ(cFormat::Rgba8, cFormat::ToFormat("rgba8"));
    EXPECT_EQ(cFormat::Rgb16f, cFormat::ToFormat("RGB16F"));
    for (const char* text : {"Rgba", "", (const char*)nullptr}) EXPECT_EQ(cFormat::None, cFormat::ToFormat(text));
}

TEST(ImageSize, KnownSizesOfChainsBlocksCubesAndVolumes) {
    const struct {
        cFormat::Enum format;
        int           w, h, d, levels;
        int64_t       bytes;
    } cases[] = {
        {cFormat::Rgba8, 4, 4, 1, 3, 64 + 16 + 4},
        {cFormat::Rgba8, 4, 4, 1, 10, 84},  // the chain stops at 1x1
        {cFormat::Rgba8, 4, 4, 1, 0, 0},
        {cFormat::R8, 8, 2, 1, 20, 16 + 4 + 2 + 1},  // until both sides reach 1
        {cFormat::Rgb8, 64, 64, 1, 7, 16383}, {cFormat::Rgb32f, 1, 2, 1, 1, 24}, {cFormat::Depth24, 64, 64, 1, 1, 0},
        {cFormat::Dxt1, 1, 1, 1, 1, 8}, {cFormat::Dxt5, 8, 4, 1, 1, 32}, {cFormat::Dxt3, 9, 5, 1, 1, 3 * 2 * 16},
        {cFormat::Dxt1, 8, 8, 1, 4, 32 + 8 + 8 + 8},
        {cFormat::Pvrtc4Rgb, 4, 4, 1, 1, 32},  // the floor, not 8
        {cFormat::Pvrtc4Rgba, 16, 16, 1, 5, 128 + 4 * 32}, {cFormat::Rgb8, 16, 16, 0, 1, 6 * 768},
        {cFormat::Rgba8, 4, 4, 0, 3, 6 * 84}, {cFormat::Rgba8, 4, 4, 4, 5, 4 * (64 + 8 + 1)},
        {cFormat::Rgba8, 1, 1, 8, 10, 32 + 16 + 8 + 4},  // depth keeps halving after the sides reach 1
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.bytes, cImage::CalcImageSize(c.format, c.w, c.h, c.d, c.levels))
            << cFormat::ToString(c.format) << " " << c.w << "x" << c.h << "x" << c.d << " levels " << c.levels;
}

TEST(ImageSize, OffsetsOfLevelsAndFacesAndAbsurdSizes) {
    cImage cube(cFormat::Rgba8, 4, 4, 0, 3), image(cFormat::Rgba8, 8, 8, 1, 4), small(cFormat::R8, 4, 4);
    EXPECT_EQ(1536, cImage(cFormat::Rgb8, 16, 16, 0, 1).GetPixelCount(0, 1));
    EXPECT_EQ(cube.Pixels + 6 * 64 + 3 * 16, cube.GetSlice(1, 3));  // f sixths into the level
    EXPECT_EQ(32, image.GetRowSize(0, cFormat::Pvrtc4Rgb));         // the floor
    EXPECT_EQ(16 * 4 + 4 * 4, image.GetMipMappedSize(1, 2));
    EXPECT_EQ(image.Pixels + 256 + 64 + 16, image.GetPixels(3));
    EXPECT_TRUE(!cube.GetSlice(1, 6) && !image.GetPixels(image.MipMapCount) && !image.GetPixels(-1));

    const int big = 0x7FFFFFFF;
    EXPECT_GT(cImage::CalcImageSize(cFormat::Rgba32f, big, big, big, 40), cImage::MaxBytes);
    EXPECT_GT(cImage::CalcImageSize(cFormat::Dxt5, big, big, 0, 1), cImage::MaxBytes);
    EXPECT_EQ(31, cImage::CalcMipMapCount(big, 1));
    EXPECT_FALSE(cImage().Create(cFormat::Rgba32f, 65536, 65536, 1, 1) || cImage().Create(cFormat::R8, big, big, big));
    EXPECT_TRUE(!cImage::AllocPixels(cImage::MaxBytes + 1) && !cImage::AllocPixels(-5));
    // Large level indices and counts must not shift past the width of an int.
    EXPECT_EQ(1, small.GetWidth(40));
    EXPECT_EQ(16 + 4 + 1, small.GetPixelCount(0, big));
    EXPECT_EQ(1, small.GetMipMappedSize(5, big));
}
