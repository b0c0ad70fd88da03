// Mip chains: the 2x2x2 box filter with known answers for every channel type,
// volumes, cube faces, odd sizes, and the seven-level test texture.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "zozud/image/Image.h"
#include "zozud/math/Math.h"

using namespace zozud;

TEST(ImageMip, BoxFilterTruncatesIntegerSums) {
    cImage image(cFormat::Rgba8, 2, 2);
    const unsigned char px[16] = {1, 0, 255, 9, 2, 0, 255, 9, 3, 0, 255, 9, 4, 1, 254, 10};
    memcpy(image.Pixels, px, 16);
    ASSERT_TRUE(image.CreateMipMaps());
    ASSERT_EQ(2, image.MipMapCount);
    const unsigned char* top = image.GetPixels(1);
    EXPECT_EQ(2, top[0]);    // (1 + 2 + 3 + 4) * 2 >> 3 = 20 >> 3
    EXPECT_EQ(0, top[1]);    // 2 >> 3
    EXPECT_EQ(254, top[2]);  // 2038 >> 3 = 254.75
    EXPECT_EQ(9, top[3]);
    EXPECT_EQ(0, memcmp(px, image.Pixels, 16));  // level 0 kept

    cImage wide(cFormat::R16, 2, 2);
    const uint16_t w[4] = {65535, 65535, 65535, 65534};
    memcpy(wide.Pixels, w, 8);
    ASSERT_TRUE(wide.CreateMipMaps(2));
    uint16_t v;
    memcpy(&v, wide.GetPixels(1), 2);
    EXPECT_EQ(65534, v);  // 524278 >> 3
}

TEST(ImageMip, FloatAndHalfAverage) {
    cImage floats(cFormat::R32f, 2, 2);
    const float f[4] = {1, 2, 3, 4.5f};
    memcpy(floats.Pixels, f, 16);
    ASSERT_TRUE(floats.CreateMipMaps());
    float top;
    memcpy(&top, floats.GetPixels(1), 4);
    EXPECT_EQ(2.625f, top);

    cImage halves(cFormat::Rg16f, 2, 2);
    uint16_t h[8];
    for (int i = 0; i < 4; i++) {
        h[2 * i] = cMath::Float2Half((float)(i + 1));
        h[2 * i + 1] = cMath::Float2Half(-0.5f);
    }
    memcpy(halves.Pixels, h, 16);
    ASSERT_TRUE(halves.CreateMipMaps());
    uint16_t out[2];
    memcpy(out, halves.GetPixels(1), 4);
    EXPECT_EQ(2.5f, cMath::Half2Float(out[0]));
    EXPECT_EQ(-0.5f, cMath::Half2Float(out[1]));
}

TEST(ImageMip, VolumesFilterAcrossSlicesAndSinglesCountTwice) {
    cImage volume(cFormat::R8, 2, 2, 2, 1);
    for (int i = 0; i < 8; i++) volume.Pixels[i] = (unsigned char)(10 * i + 3);
    ASSERT_TRUE(volume.CreateMipMaps());
    ASSERT_EQ(2, volume.MipMapCount);
    EXPECT_EQ((280 + 24) >> 3, volume.GetPixels(1)[0]);

    // 3x1: x pairs (0, 1), the single row and slice count twice, column 2 is dropped.
    cImage odd(cFormat::R8, 3, 1);
    const unsigned char row[3] = {10, 21, 90};
    memcpy(odd.Pixels, row, 3);
    ASSERT_TRUE(odd.CreateMipMaps());
    ASSERT_EQ(2, odd.MipMapCount);
    EXPECT_EQ(15, odd.GetPixels(1)[0]);  // (10 + 21) * 4 >> 3 = 124 >> 3

    // 4x2x1 Rgb8: three levels 4x2, 2x1, 1x1.
    cImage strip(cFormat::Rgb8, 4, 2);
    for (int i = 0; i < 24; i++) strip.Pixels[i] = (unsigned char)(i * 10);
    ASSERT_TRUE(strip.CreateMipMaps());
    ASSERT_EQ(3, strip.MipMapCount);
    // Level 1 pixel 0, red: samples (0,0) (1,0) (0,1) (1,1) = 0, 30, 120, 150, each twice.
    EXPECT_EQ(75, strip.GetPixels(1)[0]);
    // Level 1 pixel 1, red: 60, 90, 180, 210 -> 135. Level 2: (75 + 135) * 4 >> 3.
    EXPECT_EQ(135, strip.GetPixels(1)[3]);
    EXPECT_EQ(105, strip.GetPixels(2)[0]);
}

TEST(ImageMip, CubeFacesAreFilteredSeparately) {
    cImage cube(cFormat::Rg8, 4, 4, 0, 1);
    for (int f = 0; f < 6; f++) memset(cube.GetSlice(0, f), 40 * f + 1, 32);
    ASSERT_TRUE(cube.CreateMipMaps());
    ASSERT_EQ(3, cube.MipMapCount);
    for (int level = 1; level < 3; level++)
        for (int f = 0; f < 6; f++) {
            const unsigned char* face = cube.GetSlice(level, f);
            int n = (int)cube.GetSliceSize(level);
            for (int i = 0; i < n; i++) ASSERT_EQ(40 * f + 1, face[i]) << level << " " << f;
        }
}

TEST(ImageMip, CountIsClampedAndLevelZeroSurvivesReallocation) {
    cImage image(cFormat::Rgba8, 8, 4);
    for (int i = 0; i < 128; i++) image.Pixels[i] = (unsigned char)i;
    ASSERT_TRUE(image.CreateMipMaps(100));
    EXPECT_EQ(4, image.MipMapCount);
    EXPECT_EQ(128 + 32 + 8 + 4, image.GetSize());
    ASSERT_TRUE(image.CreateMipMaps(2));
    EXPECT_EQ(2, image.MipMapCount);
    for (int i = 0; i < 128; i++) ASSERT_EQ(i, image.Pixels[i]);
    ASSERT_TRUE(image.RemoveMipMaps());
    EXPECT_EQ(1, image.MipMapCount);
    EXPECT_EQ(128, image.GetSize());
    EXPECT_EQ(127, image.Pixels[127]);

    cImage blocks(cFormat::Dxt1, 8, 8);
    EXPECT_FALSE(blocks.CreateMipMaps());
    EXPECT_EQ(1, blocks.MipMapCount);
    cImage pvr(cFormat::Pvrtc4Rgba, 8, 8);
    EXPECT_FALSE(pvr.CreateMipMaps());
    cImage empty;
    EXPECT_FALSE(empty.CreateMipMaps());
}

TEST(ImageMip, SevenLodsAreSolidColoursCompressed) {
    const unsigned char colors[7][3] = {{255, 0, 0}, {255, 127, 0}, {255, 255, 0}, {0, 255, 0},
                                        {0, 0, 255}, {75, 0, 130}, {127, 0, 255}};
    EXPECT_EQ(16383, cImage::CalcImageSize(cFormat::Rgb8, 64, 64, 1, 7));
    cImage image;
    ASSERT_TRUE(image.CreateSevenLods());
    EXPECT_EQ(cFormat::Dxt1, image.Format);
    EXPECT_EQ(64, image.Width);
    EXPECT_EQ(7, image.MipMapCount);
    ASSERT_TRUE(image.Uncompress());
    for (int level = 0; level < 7; level++) {
        const unsigned char* p = image.GetPixels(level);
        for (int64_t i = 0; i < image.GetPixelCount(level, 1); i++)
            for (int c = 0; c < 3; c++) ASSERT_NEAR(colors[level][c], p[i * 3 + c], 7) << level;
    }
    // No codec for the extension: the texture is built, the save fails.
    cImage unsaved;
    EXPECT_FALSE(unsaved.CreateSevenLods("/tmp/zozud-image-test.no-such-codec"));
    EXPECT_EQ(cFormat::Dxt1, unsaved.Format);
}
