// Format names and the size rules of the image buffer: levels, blocks,
// the PVR floor, cube maps and volumes.
#include <gtest/gtest.h>

#include "zozud/image/Image.h"

using namespace zozud;

TEST(Format, NamesRoundTripAndUnknownsAreRefused) {
    for (int f = 0; f <= cFormat::Dxt5; f++) {
        ASSERT_NE(nullptr, cFormat::ToString(f)) << f;
        EXPECT_EQ(f, cFormat::ToFormat(cFormat::ToString(f)));
    }
    EXPECT_EQ(nullptr, cFormat::ToString(cFormat::Pvrtc4Rgb));
    EXPECT_EQ(nullptr, cFormat::ToString(cFormat::Pvrtc4Rgba));
    EXPECT_EQ(nullptr, cFormat::ToString(-1));
    EXPECT_EQ(nullptr, cFormat::ToString(25));
    EXPECT_STREQ("Depth24Stencil8", cFormat::ToString(19));
    EXPECT_EQ(cFormat::Rgba8, cFormat::ToFormat("rgba8"));
    EXPECT_EQ(cFormat::Rgb16f, cFormat::ToFormat("RGB16F"));
    EXPECT_EQ(cFormat::None, cFormat::ToFormat("Rgba"));
    EXPECT_EQ(cFormat::None, cFormat::ToFormat(""));
    EXPECT_EQ(cFormat::None, cFormat::ToFormat(nullptr));
}

TEST(Format, PixelSizesChannelsAndTypes) {
    const int bytes[] = {0, 1, 2, 3, 4, 2, 4, 6, 8, 2, 4, 6, 8, 4, 8, 12, 16, -1, -1, -1, 0, 0, 0, 0, 0};
    const int channels[] = {0, 1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4, 1, 1, 1, 3, 4, 4, 3, 4};
    for (int f = 0; f < cFormat::Count; f++) {
        EXPECT_EQ(bytes[f], cFormat::GetBytesPerPixel(f)) << f;
        EXPECT_EQ(channels[f], cFormat::GetChannelCount(f)) << f;
    }
    EXPECT_EQ(8, cFormat::GetBlockBytes(cFormat::Dxt1));
    EXPECT_EQ(16, cFormat::GetBlockBytes(cFormat::Dxt3));
    EXPECT_EQ(16, cFormat::GetBlockBytes(cFormat::Dxt5));
    EXPECT_EQ(8, cFormat::GetBlockBytes(cFormat::Pvrtc4Rgba));
    EXPECT_EQ(0, cFormat::GetBlockBytes(cFormat::Rgba8));
    EXPECT_EQ(cFormat::Rgb16f, cFormat::Make(cFormat::TypeHalf, 3));
    EXPECT_EQ(cFormat::R32f, cFormat::Make(cFormat::TypeFloat, 1));
    EXPECT_EQ(cFormat::None, cFormat::Make(cFormat::TypeByte, 5));
    EXPECT_EQ(0, cFormat::GetBytesPerPixel(99));
}

TEST(ImageSize, LevelsStopAtOneByOne) {
    EXPECT_EQ(84, cImage::CalcImageSize(cFormat::Rgba8, 4, 4, 1, 3));
    EXPECT_EQ(84, cImage::CalcImageSize(cFormat::Rgba8, 4, 4, 1, 10));
    EXPECT_EQ(64, cImage::CalcImageSize(cFormat::Rgba8, 4, 4, 1, 1));
    EXPECT_EQ(0, cImage::CalcImageSize(cFormat::Rgba8, 4, 4, 1, 0));
    EXPECT_EQ(0, cImage::CalcImageSize(cFormat::Rgba8, 4, 4, 1, -3));
    // A non-square chain keeps going until both sides reach 1: 8x2, 4x1, 2x1, 1x1.
    EXPECT_EQ(16 + 4 + 2 + 1, cImage::CalcImageSize(cFormat::R8, 8, 2, 1, 20));
    EXPECT_EQ(16383, cImage::CalcImageSize(cFormat::Rgb8, 64, 64, 1, 7));
    EXPECT_EQ(0, cImage::CalcImageSize(cFormat::Depth24, 64, 64, 1, 1));
    EXPECT_EQ(0, cImage::CalcImageSize(cFormat::None, 64, 64, 1, 1));
}

TEST(ImageSize, BlockFormatsRoundUpAndPvrHasAFloor) {
    EXPECT_EQ(8, cImage::CalcImageSize(cFormat::Dxt1, 1, 1, 1, 1));
    EXPECT_EQ(32, cImage::CalcImageSize(cFormat::Dxt5, 8, 4, 1, 1));
    EXPECT_EQ(3 * 2 * 16, cImage::CalcImageSize(cFormat::Dxt3, 9, 5, 1, 1));
    EXPECT_EQ(32, cImage::CalcImageSize(cFormat::Pvrtc4Rgb, 4, 4, 1, 1));
    EXPECT_EQ(128, cImage::CalcImageSize(cFormat::Pvrtc4Rgba, 16, 16, 1, 1));
    // 16x16, 8x8, 4x4, 2x2, 1x1: 128 then four levels at the 32-byte floor.
    EXPECT_EQ(128 + 4 * 32, cImage::CalcImageSize(cFormat::Pvrtc4Rgba, 16, 16, 1, 5));
    // Dxt1 chain 8x8: 4 blocks, then 1, 1, 1.
    EXPECT_EQ(32 + 8 + 8 + 8, cImage::CalcImageSize(cFormat::Dxt1, 8, 8, 1, 4));
}

TEST(ImageSize, CubeMapsAndVolumes) {
    EXPECT_EQ(6 * 768, cImage::CalcImageSize(cFormat::Rgb8, 16, 16, 0, 1));
    cImage cube(cFormat::Rgb8, 16, 16, 0, 1);
    ASSERT_FALSE(cube.IsEmpty());
    EXPECT_TRUE(cube.IsCube());
    EXPECT_EQ(1536, cube.GetPixelCount(0, 1));
    EXPECT_EQ(768, cube.GetSliceSize(0));
    EXPECT_EQ(6 * 768, cube.GetSize());
    // Face f of a level starts at the level's offset plus f sixths of it.
    cImage chain(cFormat::Rgba8, 4, 4, 0, 3);
    EXPECT_EQ(6 * 84, chain.GetSize());
    EXPECT_EQ(chain.Pixels + 6 * 64, chain.GetPixels(1));
    EXPECT_EQ(chain.Pixels + 6 * 64 + 3 * 16, chain.GetSlice(1, 3));
    EXPECT_EQ(nullptr, chain.GetSlice(1, 6));

    // Volume 4x4x4: 64 px, 2x2x2, 1x1x1.
    EXPECT_EQ(4 * (64 + 8 + 1), cImage::CalcImageSize(cFormat::Rgba8, 4, 4, 4, 5));
    // A deep volume keeps halving its depth after the sides reach 1.
    EXPECT_EQ(32 + 16 + 8 + 4, cImage::CalcImageSize(cFormat::Rgba8, 1, 1, 8, 10));
    cImage volume(cFormat::R8, 4, 4, 4, 3);
    EXPECT_EQ(64 + 8 + 1, volume.GetPixelCount(0, 3));
    EXPECT_EQ(8 + 1, volume.GetPixelCount(1, 2));
    EXPECT_EQ(volume.Pixels + 64 + 4, volume.GetSlice(1, 1));
}

TEST(ImageSize, RowsSlicesAndLevelOffsets) {
    cImage grey(cFormat::R8, 5, 3, 1, 1);
    EXPECT_EQ(5, grey.GetRowSize(0));  // rows are packed in memory; files add their own padding
    EXPECT_EQ(10, grey.GetRowSize(0, cFormat::Rg8));
    cImage image(cFormat::Rgba8, 8, 8, 1, 4);
    EXPECT_EQ(4, image.MipMapCount);
    EXPECT_EQ(8 * 4, image.GetRowSize(0));
    EXPECT_EQ(2 * 4, image.GetRowSize(2));
    EXPECT_EQ(64 * 4, image.GetSliceSize(0));
    EXPECT_EQ(16, image.GetSliceSize(1, cFormat::R8));
    EXPECT_EQ(16 * 4 + 4 * 4, image.GetMipMappedSize(1, 2));
    EXPECT_EQ(image.GetSize(), image.GetMipMappedSize(0, 4));
    EXPECT_EQ(16, image.GetRowSize(0, cFormat::Dxt1));      // two blocks of 8
    EXPECT_EQ(32, image.GetRowSize(0, cFormat::Pvrtc4Rgb));  // the floor
    EXPECT_EQ(image.Pixels, image.GetPixels(0));
    EXPECT_EQ(image.Pixels + 256, image.GetPixels(1));
    EXPECT_EQ(image.Pixels + 256 + 64 + 16, image.GetPixels(3));
    EXPECT_EQ(nullptr, image.GetPixels(image.MipMapCount));
    EXPECT_EQ(nullptr, image.GetPixels(-1));
    EXPECT_EQ(85, image.GetPixelCount(0, 4));
}

TEST(ImageSize, MipChainLengthFromDimensions) {
    EXPECT_EQ(7, cImage(cFormat::R8, 64, 64).GetMipMapCountFromDimensions());
    EXPECT_EQ(7, cImage(cFormat::R8, 100, 3).GetMipMapCountFromDimensions());
    EXPECT_EQ(1, cImage(cFormat::R8, 1, 1).GetMipMapCountFromDimensions());
    EXPECT_EQ(0, cImage().GetMipMapCountFromDimensions());
    EXPECT_EQ(31, cImage::CalcMipMapCount(0x7FFFFFFF, 1));
}

TEST(ImageSize, AbsurdSizesSaturateInsteadOfOverflowing) {
    const int big = 0x7FFFFFFF;
    EXPECT_GT(cImage::CalcImageSize(cFormat::Rgba32f, big, big, big, 40), cImage::MaxBytes);
    EXPECT_GT(cImage::CalcImageSize(cFormat::Dxt5, big, big, 0, 1), cImage::MaxBytes);
    cImage image;
    EXPECT_FALSE(image.Create(cFormat::Rgba32f, 65536, 65536, 1, 1));
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_EQ(0, image.Width);
    EXPECT_FALSE(image.Create(cFormat::R8, big, big, big, 1));
    EXPECT_EQ(nullptr, cImage::AllocPixels(cImage::MaxBytes + 1));
    EXPECT_EQ(nullptr, cImage::AllocPixels(-5));
    // Large level indices and counts must not shift past the width of an int.
    cImage small(cFormat::R8, 4, 4, 1, 1);
    EXPECT_EQ(1, small.GetWidth(40));
    EXPECT_EQ(16 + 4 + 1, small.GetPixelCount(0, 0x7FFFFFFF));
    EXPECT_EQ(1, small.GetMipMappedSize(5, 0x7FFFFFFF));
}
