// Mip chains: the 2x2x2 box filter with known answers, and the level count.
#include <gtest/gtest.h>

#include <cstring>

#include "zozud/image/Image.h"
#include "zozud/math/Math.h"

using namespace zozud;

namespace {

// The first bytes of level 1 after building the chain of a w x h x d image of one level.
template <class T, size_t N>
std::string LevelOne(cFormat::Enum format, int w, int h, int d, const T (&values)[N], size_t bytes) {
    cImage image(format, w, h, d, 1);
    memcpy(image.Pixels, values, sizeof(values));
    if (!image.CreateMipMaps() || memcmp(image.Pixels, values, sizeof(values)) != 0) return "level 0 lost";
    return std::string((const char*)image.GetPixels(1), bytes);
}

template <class T>
std::string AsBytes(std::initializer_list<T> values) {
    return std::string((const char*)values.begin(), values.size() * sizeof(T));
}

}  // namespace

TEST(ImageMip, BoxFilterKnownAnswersForEveryChannelTypeAndShape) {
    // Sums of 8 samples >> 3, truncating: 20, 2, 2038 and 74.
    const unsigned char rgba[16] = {1, 0, 255, 9, 2, 0, 255, 9, 3, 0, 255, 9, 4, 1, 254, 10};
    EXPECT_EQ(LevelOne(cFormat::Rgba8, 2, 2, 1, rgba, 4), AsBytes<unsigned char>({2, 0, 254, 9}));
    const uint16_t wide[4] = {65535, 65535, 65535, 65534};
    EXPECT_EQ(LevelOne(cFormat::R16, 2, 2, 1, wide, 2), AsBytes<uint16_t>({65534}));  // 524278 >> 3
    const float floats[4] = {1, 2, 3, 4.5f};
    EXPECT_EQ(LevelOne(cFormat::R32f, 2, 2, 1, floats, 4), AsBytes<float>({2.625f}));
    uint16_t h[8];
    for (int i = 0; i < 8; i++) h[i] = cMath::Float2Half(i % 2 ? -0.5f : (float)(i / 2 + 1));
    EXPECT_EQ(LevelOne(cFormat::Rg16f, 2, 2, 1, h, 4), AsBytes<uint16_t>({cMath::Float2Half(2.5f), h[1]}));
    // A volume filters across slices; a single row or slice counts twice, an odd last column is dropped.
    const unsigned char slices[8] = {3, 13, 23, 33, 43, 53, 63, 73}, row[3] = {10, 21, 90};
    EXPECT_EQ(LevelOne(cFormat::R8, 2, 2, 2, slices, 1), AsBytes<unsigned char>({(280 + 24) >> 3}));
    EXPECT_EQ(LevelOne(cFormat::R8, 3, 1, 1, row, 1), AsBytes<unsigned char>({(10 + 21) * 4 >> 3}));

    // 4x2 Rgb8: levels 4x2, 2x1, 1x1; red samples 0, 30, 120, 150 and 60, 90, 180, 210.
    cImage strip(cFormat::Rgb8, 4, 2);
    for (int i = 0; i < 24; i++) strip.Pixels[i] = (unsigned char)(i * 10);
    ASSERT_TRUE(strip.CreateMipMaps());
    ASSERT_EQ(3, strip.MipMapCount);
    EXPECT_EQ(75, strip.GetPixels(1)[0]);
    EXPECT_EQ(135, strip.GetPixels(1)[3]);
    EXPECT_EQ(105, strip.GetPixels(2)[0]);
}

TEST(ImageMip, CountIsClampedLevelZeroSurvivesAndBlocksAreRefused) {
    cImage image(cFormat::Rgba8, 8, 4);
    for (int i = 0; i < 128; i++) image.Pixels[i] = (unsigned char)i;
    ASSERT_TRUE(image.CreateMipMaps(100));
    EXPECT_EQ(4, image.MipMapCount);
    EXPECT_EQ(128 + 32 + 8 + 4, image.GetSize());
    ASSERT_TRUE(image.CreateMipMaps(2) && image.MipMapCount == 2 && image.RemoveMipMaps());
    EXPECT_EQ(128, image.GetSize());
    for (int i = 0; i < 128; i++) ASSERT_EQ(i, image.Pixels[i]);
    for (cFormat::Enum f : {cFormat::Dxt1, cFormat::Pvrtc4Rgba, cFormat::None})
        EXPECT_FALSE(cImage(f, 8, 8).CreateMipMaps()) << f;
}

