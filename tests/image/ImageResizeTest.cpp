// Resampling: Rescale's sample positions, Resize over formats and volumes,
// MakePowerOfTwo, Make2D layouts and the normal map.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "zozud/image/Image.h"
#include "zozud/math/Math.h"

using namespace zozud;

TEST(ImageRescale, LinearMapsCornersToCorners) {
    const unsigned char line[2] = {0, 200};
    unsigned char out[3];
    cImage::Rescale(line, out, 2, 1, 1, 3, 1, 1, 1, true);
    EXPECT_EQ(0, out[0]);
    EXPECT_EQ(100, out[1]);
    EXPECT_EQ(200, out[2]);

    // 2x2 to 3x3: the centre blends all four.
    const float square[4] = {0, 100, 100, 200};
    float big[9];
    cImage::Rescale(square, big, 2, 2, 1, 3, 3, 1, 1, true);
    const float expect[9] = {0, 50, 100, 50, 100, 150, 100, 150, 200};
    for (int i = 0; i < 9; i++) EXPECT_FLOAT_EQ(expect[i], big[i]);

    // Truncation: 3 -> 2 samples at 0 and 2; 4 -> 3 samples at 0, 1.5, 3.
    const unsigned short four[4] = {0, 101, 202, 303};
    unsigned short three[3];
    cImage::Rescale(four, three, 4, 1, 1, 3, 1, 1, 1, true);
    EXPECT_EQ(0, three[0]);
    EXPECT_EQ(151, three[1]);  // 151.5 truncated
    EXPECT_EQ(303, three[2]);

    // Down to one sample: the first.
    unsigned short one;
    cImage::Rescale(four, &one, 4, 1, 1, 1, 1, 1, 1, true);
    EXPECT_EQ(0, one);
}

TEST(ImageRescale, NearestUsesIntegerPositions) {
    const unsigned short four[4] = {10, 20, 30, 40};
    unsigned short two[2], eight[8];
    cImage::Rescale(four, two, 4, 1, 1, 2, 1, 1, 1, false);  // i * 3 / 2: 0, 1
    EXPECT_EQ(10, two[0]);
    EXPECT_EQ(20, two[1]);
    cImage::Rescale(four, eight, 4, 1, 1, 8, 1, 1, 1, false);  // i * 3 / 8
    const unsigned short expect[8] = {10, 10, 10, 20, 20, 20, 30, 30};
    EXPECT_EQ(0, memcmp(expect, eight, 16));
}

TEST(ImageResize, KeepsConstantsAndDepth) {
    cImage image(cFormat::Rgba8, 7, 5, 1, 3);
    memset(image.Pixels, 173, (size_t)image.GetSize());
    ASSERT_TRUE(image.Resize(13, 2));
    EXPECT_EQ(13, image.Width);
    EXPECT_EQ(2, image.Height);
    EXPECT_EQ(1, image.MipMapCount);
    for (int64_t i = 0; i < image.GetSize(); i++) ASSERT_EQ(173, image.Pixels[i]);

    cImage volume(cFormat::R32f, 2, 2, 2, 1);
    const float v[8] = {0, 0, 0, 0, 100, 100, 100, 100};
    memcpy(volume.Pixels, v, 32);
    ASSERT_TRUE(volume.Resize(4, 3));
    EXPECT_EQ(2, volume.Depth);
    float first, last;
    memcpy(&first, volume.GetSlice(0, 0), 4);
    memcpy(&last, volume.GetSlice(0, 1) + 4 * 11, 4);
    EXPECT_EQ(0.0f, first);
    EXPECT_EQ(100.0f, last);

    // Half floats take the nearest sample: no new values appear.
    cImage halves(cFormat::R16f, 2, 1);
    const uint16_t h[2] = {cMath::Float2Half(1.0f), cMath::Float2Half(3.0f)};
    memcpy(halves.Pixels, h, 4);
    ASSERT_TRUE(halves.Resize(4, 1));
    uint16_t out[4];
    memcpy(out, halves.Pixels, 8);
    for (uint16_t x : out) EXPECT_EQ(1.0f, cMath::Half2Float(x));  // i * 1 / 4 is always 0

    cImage wide(cFormat::Rg16, 2, 1);
    const uint16_t w[4] = {0, 1000, 1000, 0};
    memcpy(wide.Pixels, w, 8);
    ASSERT_TRUE(wide.Resize(3, 1));
    uint16_t r[6];
    memcpy(r, wide.Pixels, 12);
    EXPECT_EQ(500, r[2]);
    EXPECT_EQ(500, r[3]);
}

TEST(ImageResize, BlocksAreUncompressedAndCubesRefused) {
    cImage blocks(cFormat::Rgb8, 8, 8, 1, 1);
    memset(blocks.Pixels, 90, 192);
    ASSERT_TRUE(blocks.CreateMipMaps());
    ASSERT_TRUE(blocks.Compress());
    ASSERT_TRUE(blocks.Resize(4, 4));
    EXPECT_EQ(cFormat::Rgb8, blocks.Format);
    EXPECT_EQ(1, blocks.MipMapCount);
    EXPECT_NEAR(90, blocks.Pixels[0], 7);

    cImage cube(cFormat::Rgb8, 4, 4, 0, 1);
    EXPECT_FALSE(cube.Resize(8, 8));
    EXPECT_EQ(4, cube.Width);
    cImage depth(cFormat::Depth24, 4, 4);
    EXPECT_FALSE(depth.Resize(8, 8));
    cImage image(cFormat::R8, 4, 4);
    EXPECT_FALSE(image.Resize(0, 4));
    cImage pvr(cFormat::Pvrtc4Rgba, 8, 8);
    EXPECT_FALSE(pvr.Resize(4, 4));
    EXPECT_EQ(cFormat::Pvrtc4Rgba, pvr.Format);
}

TEST(ImageResize, MakePowerOfTwoPicksTheNearerPower) {
    cImage image(cFormat::Rgb8, 100, 200);
    ASSERT_TRUE(image.MakePowerOfTwo());
    EXPECT_EQ(128, image.Width);
    EXPECT_EQ(256, image.Height);
    ASSERT_TRUE(image.Create(cFormat::Rgb8, 130, 100));
    ASSERT_TRUE(image.MakePowerOfTwo());
    EXPECT_EQ(128, image.Width);
    EXPECT_EQ(128, image.Height);
    ASSERT_TRUE(image.Create(cFormat::R8, 3, 64));  // 3 -> 4 (12 > 16 is false)
    ASSERT_TRUE(image.MakePowerOfTwo());
    EXPECT_EQ(4, image.Width);
    ASSERT_TRUE(image.Create(cFormat::R8, 64, 32, 1, 2));
    unsigned char* before = image.Pixels;
    ASSERT_TRUE(image.MakePowerOfTwo());
    EXPECT_EQ(before, image.Pixels);
    EXPECT_EQ(2, image.MipMapCount);
}

TEST(ImageLayout, Make2DStacksOrGridsTheSlices) {
    cImage volume(cFormat::R8, 2, 2, 4, 1);
    for (int s = 0; s < 4; s++) memset(volume.GetSlice(0, s), s + 1, 4);
    cImage strip(volume);
    int perRow = 0;
    ASSERT_TRUE(strip.Make2D(false, &perRow));
    EXPECT_EQ(1, perRow);
    EXPECT_EQ(2, strip.Width);
    EXPECT_EQ(8, strip.Height);
    EXPECT_EQ(1, strip.Depth);
    // Slice 0 is at the top of the picture, which is the end of the buffer.
    const unsigned char column[8] = {4, 4, 3, 3, 2, 2, 1, 1};
    for (int y = 0; y < 8; y++) EXPECT_EQ(column[y], strip.Pixels[y * 2 + 1]) << y;

    cImage grid(volume);
    ASSERT_TRUE(grid.Make2D(true, &perRow));
    EXPECT_EQ(2, perRow);
    EXPECT_EQ(4, grid.Width);
    EXPECT_EQ(4, grid.Height);
    const unsigned char rows[4][4] = {{3, 3, 4, 4}, {3, 3, 4, 4}, {1, 1, 2, 2}, {1, 1, 2, 2}};
    EXPECT_EQ(0, memcmp(rows, grid.Pixels, 16));

    cImage three(cFormat::R8, 2, 2, 3, 1);
    EXPECT_FALSE(three.Make2D(true));
    EXPECT_EQ(3, three.Depth);
    EXPECT_TRUE(three.Make2D(false));
    cImage flat(cFormat::R8, 2, 2);
    EXPECT_FALSE(flat.Make2D(false));
    cImage cube(cFormat::R8, 2, 2, 0, 1);
    EXPECT_FALSE(cube.Make2D(false));
}

TEST(ImageNormalMap, SlopesTiltTheNormals) {
    // Flat heights: straight up, (128, 128, 255) in 8 bits.
    cImage flat(cFormat::R8, 4, 4);
    memset(flat.Pixels, 90, 16);
    ASSERT_TRUE(flat.ToNormalMap(cFormat::Rgb8, 5.0f));
    EXPECT_EQ(cFormat::Rgb8, flat.Format);
    for (int i = 0; i < 16; i++) {
        EXPECT_EQ(128, flat.Pixels[i * 3]);
        EXPECT_EQ(128, flat.Pixels[i * 3 + 1]);
        EXPECT_EQ(255, flat.Pixels[i * 3 + 2]);
    }

    // Heights rising by 0.1 a pixel to the right: interior normal (-0.1, 0, 1) normalised.
    cImage ramp(cFormat::R32f, 5, 3);
    float* h = (float*)ramp.Pixels;
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 5; x++) h[y * 5 + x] = 0.1f * x;
    cImage clamped(ramp), wrapped(ramp);
    ASSERT_TRUE(clamped.ToNormalMap(cFormat::Rgba32f, 1.0f));
    const float* n = (const float*)clamped.Pixels + (1 * 5 + 2) * 4;
    EXPECT_NEAR(-0.1f / std::sqrt(1.01f), n[0], 1e-5f);
    EXPECT_NEAR(0.0f, n[1], 1e-6f);
    EXPECT_NEAR(1.0f / std::sqrt(1.01f), n[2], 1e-5f);
    EXPECT_NEAR(0.2f, n[3], 1e-6f);  // the height rides in alpha
    // At the left edge a clamped map sees half the slope; a wrapped one sees the far side.
    const float* edge = (const float*)clamped.Pixels + 5 * 4;
    EXPECT_NEAR(-0.05f / std::sqrt(1.0025f), edge[0], 1e-5f);
    ASSERT_TRUE(wrapped.ToNormalMap(cFormat::Rgba32f, 1.0f, true));
    EXPECT_GT(((const float*)wrapped.Pixels)[5 * 4], 0.0f);

    // Rising up the picture (row 0 is the bottom) tilts green down.
    cImage up(cFormat::R8, 3, 3);
    for (int y = 0; y < 3; y++) memset(up.Pixels + y * 3, y * 100, 3);
    ASSERT_TRUE(up.ToNormalMap(cFormat::Rg8, 2.0f));
    EXPECT_EQ(cFormat::Rg8, up.Format);
    EXPECT_EQ(128, up.Pixels[8]);
    EXPECT_LT(up.Pixels[9], 100);

    cImage grey(cFormat::R8, 4, 4);
    EXPECT_FALSE(grey.ToNormalMap(cFormat::R8, 1.0f));
    EXPECT_FALSE(grey.ToNormalMap(cFormat::Dxt1, 1.0f));
    EXPECT_EQ(cFormat::R8, grey.Format);
}
