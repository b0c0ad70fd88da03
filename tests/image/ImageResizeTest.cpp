// Resampling, Make2D layouts and the normal map (powers of two are checked where materials import).
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "image/CodecTestSupport.h"
#include "zozud/math/Math.h"

using namespace zozud;
using codectest::Shape;

namespace {

template <class T>
std::vector<T> Rescaled(std::vector<T> src, int srcW, int srcH, int dstW, int dstH, bool linear) {
    std::vector<T> dst((size_t)(dstW * dstH));
    cImage::Rescale(src.data(), dst.data(), srcW, srcH, 1, dstW, dstH, 1, 1, linear);
    return dst;
}

}  // namespace

TEST(ImageRescale, LinearMapsCornersToCornersAndNearestUsesIntegerPositions) {
    using Shorts = std::vector<unsigned short>;
    EXPECT_EQ((std::vector<unsigned char>{0, 100, 200}), Rescaled<unsigned char>({0, 200}, 2, 1, 3, 1, true));
    EXPECT_EQ((std::vector<float>{0, 50, 100, 50, 100, 150, 100, 150, 200}),
              Rescaled<float>({0, 100, 100, 200}, 2, 2, 3, 3, true));  // the centre blends all four
    const Shorts four = {10, 101, 202, 303};
    EXPECT_EQ((Shorts{10, 151, 303}), Rescaled(four, 4, 1, 3, 1, true));  // at 0, 1.5 (151.5 truncated), 3
    EXPECT_EQ((Shorts{10}), Rescaled(four, 4, 1, 1, 1, true));
    EXPECT_EQ((Shorts{10, 101}), Rescaled(four, 4, 1, 2, 1, false));  // source i * 3 / 2
    EXPECT_EQ((Shorts{10, 10, 10, 101, 101, 101, 202, 202}), Rescaled(four, 4, 1, 8, 1, false));  // i * 3 / 8
}

TEST(ImageResize, KeepsConstantsAndDepthForEveryChannelTypeAndRefusesCubes) {
    cImage image(cFormat::Rgba8, 7, 5, 1, 3);
    memset(image.Pixels, 173, (size_t)image.GetSize());
    ASSERT_TRUE(image.Resize(13, 2));
    EXPECT_EQ(Shape(image), "13x2x1 Rgba8 levels 1");
    for (int64_t i = 0; i < image.GetSize(); i++) ASSERT_EQ(173, image.Pixels[i]);

    cImage volume(cFormat::R32f, 2, 2, 2, 1);
    const float v[8] = {0, 0, 0, 0, 100, 100, 100, 100};
    memcpy(volume.Pixels, v, 32);
    ASSERT_TRUE(volume.Resize(4, 3));
    EXPECT_EQ(Shape(volume), "4x3x2 R32f levels 1");
    EXPECT_EQ(0.0f, ((const float*)volume.GetSlice(0, 0))[0]);
    EXPECT_EQ(100.0f, ((const float*)volume.GetSlice(0, 1))[11]);

    // Half floats take the nearest sample (i * 1 / 4 is always 0): no new values appear.
    cImage halves(cFormat::R16f, 2, 1), wide(cFormat::Rg16, 2, 1);
    const uint16_t h[2] = {cMath::Float2Half(1.0f), cMath::Float2Half(3.0f)}, w[4] = {0, 1000, 1000, 0};
    memcpy(halves.Pixels, h, 4);
    memcpy(wide.Pixels, w, 8);
    ASSERT_TRUE(halves.Resize(4, 1) && wide.Resize(3, 1));
    for (int i = 0; i < 4; i++) EXPECT_EQ(h[0], ((const uint16_t*)halves.Pixels)[i]);
    EXPECT_EQ(0, memcmp("\xF4\x01\xF4\x01", wide.Pixels + 4, 4));  // the middle pixel: 500, 500

    cImage blocks(cFormat::Rgb8, 8, 8, 1, 4);
    memset(blocks.Pixels, 90, (size_t)blocks.GetSize());
    ASSERT_TRUE(blocks.Compress() && blocks.Resize(4, 4));  // uncompressed first
    EXPECT_EQ(Shape(blocks), "4x4x1 Rgb8 levels 1");
    EXPECT_NEAR(90, blocks.Pixels[0], 7);

    cImage cube(cFormat::Rgb8, 4, 4, 0, 1), depth(cFormat::Depth24, 4, 4), pvr(cFormat::Pvrtc4Rgba, 8, 8);
    EXPECT_FALSE(cube.Resize(8, 8) || depth.Resize(8, 8) || image.Resize(0, 4) || pvr.Resize(4, 4));
    EXPECT_EQ(Shape(cube) + ", " + Shape(pvr), "4x4x0 Rgb8 levels 1, 8x8x1 24 levels 1");
}

TEST(ImageLayout, Make2DStacksOrGridsTheSlices) {
    cImage volume(cFormat::R8, 2, 2, 4, 1);
    for (int s = 0; s < 4; s++) memset(volume.GetSlice(0, s), s + 1, 4);
    cImage strip(volume), grid(volume), three(cFormat::R8, 2, 2, 3, 1), flat(cFormat::R8, 2, 2);
    int stripRow = 0, gridRow = 0;
    ASSERT_TRUE(strip.Make2D(false, &stripRow) && grid.Make2D(true, &gridRow));
    EXPECT_EQ(std::make_pair(1, 2), std::make_pair(stripRow, gridRow));
    EXPECT_EQ(Shape(strip) + ", " + Shape(grid), "2x8x1 R8 levels 1, 4x4x1 R8 levels 1");
    // Slice 0 is at the top of the picture, which is the end of the buffer.
    EXPECT_EQ(0, memcmp("\4\4\4\4\3\3\3\3\2\2\2\2\1\1\1\1", strip.Pixels, 16));
    EXPECT_EQ(0, memcmp("\3\3\4\4\3\3\4\4\1\1\2\2\1\1\2\2", grid.Pixels, 16));
    EXPECT_FALSE(three.Make2D(true));  // 3 is not a square
    EXPECT_TRUE(three.Make2D(false));
    EXPECT_FALSE(flat.Make2D(false) || cImage(cFormat::R8, 2, 2, 0, 1).Make2D(false));
}

TEST(ImageNormalMap, FlatHeightsPointStraightUp) {
    cImage flat(cFormat::R8, 4, 4), grey(cFormat::R8, 4, 4);
    memset(flat.Pixels, 90, 16);
    ASSERT_TRUE(flat.ToNormalMap(cFormat::Rgb8, 5.0f));
    for (int i = 0; i < 16; i++) EXPECT_EQ(0, memcmp("\x80\x80\xFF", flat.Pixels + 3 * i, 3)) << i;
    cImage ramp(cFormat::R8, 5, 3);  // heights rising to the right tilt the normals to the left
    for (int i = 0; i < 15; i++) ramp.Pixels[i] = (unsigned char)(i % 5 * 20);
    ASSERT_TRUE(ramp.ToNormalMap(cFormat::Rg8, 2.0f));
    EXPECT_TRUE(ramp.Pixels[(5 + 2) * 2] < 128 && ramp.Pixels[(5 + 2) * 2 + 1] == 128);
    EXPECT_FALSE(grey.ToNormalMap(cFormat::R8, 1.0f) || grey.ToNormalMap(cFormat::Dxt1, 1.0f));
}
