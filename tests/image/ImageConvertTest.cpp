// Conversions between the 16 colour formats at their rounding edges, the
// channel edits and the grey-scale reduction.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "zozud/image/Image.h"
#include "zozud/math/Math.h"

using namespace zozud;

namespace {

template <class T>
cImage FromValues(cFormat::Enum format, const std::vector<T>& values) {
    int channels = cFormat::GetChannelCount(format);
    cImage image(format, (int)values.size() / channels, 1);
    memcpy(image.Pixels, values.data(), values.size() * sizeof(T));
    return image;
}

template <class T>
std::vector<T> Values(const cImage& image) {
    std::vector<T> out((size_t)(image.GetSize() / (int64_t)sizeof(T)));
    memcpy(out.data(), image.Pixels, out.size() * sizeof(T));
    return out;
}

// Every byte value once, as R8.
cImage AllBytes() {
    std::vector<unsigned char> v(256);
    for (int i = 0; i < 256; i++) v[i] = (unsigned char)i;
    return FromValues(cFormat::R8, v);
}

}  // namespace

TEST(ImageConvert, LuminanceWeightsAndKnownValues) {
    cImage red = FromValues<unsigned char>(cFormat::Rgba8, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 0});
    ASSERT_TRUE(red.ToFormat(cFormat::R8));
    EXPECT_EQ(cFormat::R8, red.Format);
    EXPECT_EQ((std::vector<unsigned char>{54, 182, 18}), Values<unsigned char>(red));  // .2125 .7154 .0721 of 255

    cImage green = FromValues<uint16_t>(cFormat::Rgb16, {0, 65535, 0});
    ASSERT_TRUE(green.ToFormat(cFormat::R16));
    EXPECT_EQ(46884, Values<uint16_t>(green)[0]);

    // Grey sources fill G and B; missing alpha is 1; a two-channel source has no blue.
    cImage grey = FromValues<unsigned char>(cFormat::R8, {77});
    ASSERT_TRUE(grey.ToFormat(cFormat::Rgba16));
    EXPECT_EQ((std::vector<uint16_t>{77 * 257, 77 * 257, 77 * 257, 65535}), Values<uint16_t>(grey));
    cImage rg = FromValues<unsigned char>(cFormat::Rg8, {10, 20});
    ASSERT_TRUE(rg.ToFormat(cFormat::Rgba32f));
    std::vector<float> f = Values<float>(rg);
    EXPECT_FLOAT_EQ(10 / 255.0f, f[0]);
    EXPECT_FLOAT_EQ(20 / 255.0f, f[1]);
    EXPECT_EQ(0.0f, f[2]);
    EXPECT_EQ(1.0f, f[3]);
    cImage rgb = FromValues<unsigned char>(cFormat::Rgb8, {1, 2, 3});
    ASSERT_TRUE(rgb.ToFormat(cFormat::Rgba8));
    EXPECT_EQ((std::vector<unsigned char>{1, 2, 3, 255}), Values<unsigned char>(rgb));
}

TEST(ImageConvert, FloatsRoundAtTheEdgesAndClamp) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> in = {-0.1f, 0.0f, 127.5f / 255, 127.49f / 255, 1.0f, 1.5f, nan, 254.51f / 255};
    cImage bytes = FromValues(cFormat::Rgba32f, in);
    ASSERT_TRUE(bytes.ToFormat(cFormat::Rgba8));
    EXPECT_EQ((std::vector<unsigned char>{0, 0, 128, 127, 255, 255, 0, 255}), Values<unsigned char>(bytes));

    cImage shorts = FromValues(cFormat::Rgba32f, in);
    ASSERT_TRUE(shorts.ToFormat(cFormat::Rgba16));
    std::vector<uint16_t> s = Values<uint16_t>(shorts);
    EXPECT_EQ(0, s[0]);
    EXPECT_EQ(32768, s[2]);  // 127.5 / 255 * 65535 = 32767.5, rounds up
    EXPECT_EQ(65535, s[4]);
    EXPECT_EQ(65535, s[5]);
    EXPECT_EQ(0, s[6]);

    // A one-channel target goes through the luminance sum, whose float weights
    // add up to just below 1: an exact half then rounds down.
    cImage grey = FromValues<float>(cFormat::R32f, {0.5f, 0.25f});
    ASSERT_TRUE(grey.ToFormat(cFormat::R8));
    EXPECT_EQ((std::vector<unsigned char>{127, 64}), Values<unsigned char>(grey));

    cImage halves = FromValues<float>(cFormat::Rg32f, {1.0f, 0.5f, -2.0f, 65504.0f});
    ASSERT_TRUE(halves.ToFormat(cFormat::Rg16f));
    EXPECT_EQ((std::vector<uint16_t>{0x3C00, 0x3800, 0xC000, 0x7BFF}), Values<uint16_t>(halves));
    ASSERT_TRUE(halves.ToFormat(cFormat::Rg32f));
    EXPECT_EQ((std::vector<float>{1.0f, 0.5f, -2.0f, 65504.0f}), Values<float>(halves));

    // 16-bit to 8-bit: 32767 / 65535 * 255 = 127.498..., 32768 gives 127.502...
    cImage wide = FromValues<uint16_t>(cFormat::R16, {32767, 32768, 65535, 128});
    ASSERT_TRUE(wide.ToFormat(cFormat::R8));
    EXPECT_EQ((std::vector<unsigned char>{127, 128, 255, 0}), Values<unsigned char>(wide));
}

TEST(ImageConvert, EightBitValuesSurviveEveryColourFormat) {
    for (int f = cFormat::R8; f <= cFormat::Rgba32f; f++) {
        cImage image = AllBytes();
        ASSERT_TRUE(image.ToFormat(cFormat::Rgba8));
        ASSERT_TRUE(image.ToFormat((cFormat::Enum)f)) << f;
        EXPECT_EQ(f, image.Format);
        ASSERT_TRUE(image.ToFormat(cFormat::Rgba8)) << f;
        std::vector<unsigned char> v = Values<unsigned char>(image);
        for (int i = 0; i < 256; i++) {
            int channels = cFormat::GetChannelCount(f);
            unsigned char expect[4] = {(unsigned char)i, (unsigned char)(channels == 2 ? i : i),
                                       (unsigned char)(channels == 2 ? 0 : i), 255};
            for (int c = 0; c < 4; c++) ASSERT_EQ(expect[c], v[i * 4 + c]) << cFormat::ToString(f) << " " << i;
        }
    }
    // 8 to 16 bits scales by 257 exactly, and 16-bit values survive floats.
    cImage image = AllBytes();
    ASSERT_TRUE(image.ToFormat(cFormat::R16));
    std::vector<uint16_t> s = Values<uint16_t>(image);
    for (int i = 0; i < 256; i++) ASSERT_EQ(i * 257, s[i]);
    std::vector<uint16_t> all(65536);
    for (int i = 0; i < 65536; i++) all[i] = (uint16_t)i;
    cImage shorts = FromValues(cFormat::R16, all);
    ASSERT_TRUE(shorts.ToFormat(cFormat::R32f));
    ASSERT_TRUE(shorts.ToFormat(cFormat::R16));
    EXPECT_EQ(all, Values<uint16_t>(shorts));
}

TEST(ImageConvert, AllLevelsAndFacesAreConverted) {
    cImage cube(cFormat::Rgb8, 4, 4, 0, 3);
    memset(cube.Pixels, 200, (size_t)cube.GetSize());
    ASSERT_TRUE(cube.ToFormat(cFormat::Rgba16f));
    EXPECT_EQ(6 * 21 * 8, cube.GetSize());
    const unsigned char* last = cube.GetSlice(2, 5);
    uint16_t px[4];
    memcpy(px, last, 8);
    EXPECT_NEAR(200 / 255.0f, cMath::Half2Float(px[0]), 0.001f);
    EXPECT_EQ(0x3C00, px[3]);
}

TEST(ImageConvert, RefusesNonColourFormats) {
    cImage image = AllBytes();
    EXPECT_TRUE(image.ToFormat(cFormat::R8));  // same format: at once
    EXPECT_FALSE(image.ToFormat(cFormat::Dxt1));
    EXPECT_FALSE(image.ToFormat(cFormat::Depth16));
    EXPECT_FALSE(image.ToFormat(cFormat::None));
    EXPECT_EQ(cFormat::R8, image.Format);
    EXPECT_EQ(255, image.Pixels[255]);
    cImage blocks(cFormat::Dxt5, 8, 8);
    EXPECT_FALSE(blocks.ToFormat(cFormat::Rgba8));
    EXPECT_EQ(cFormat::Dxt5, blocks.Format);
    cImage empty;
    EXPECT_FALSE(empty.ToFormat(cFormat::Rgba8));
}

TEST(ImageConvert, SwapInvertAndCopyChannels) {
    cImage rgb = FromValues<unsigned char>(cFormat::Rgb8, {0, 10, 255});
    ASSERT_TRUE(rgb.SwapChannels(0, 2));
    EXPECT_EQ((std::vector<unsigned char>{255, 10, 0}), Values<unsigned char>(rgb));
    EXPECT_TRUE(rgb.SwapChannels(1, 1));
    EXPECT_FALSE(rgb.SwapChannels(0, 3));
    EXPECT_FALSE(rgb.SwapChannels(-1, 0));
    ASSERT_TRUE(rgb.InvertChannel(1));
    EXPECT_EQ((std::vector<unsigned char>{255, 245, 0}), Values<unsigned char>(rgb));
    EXPECT_FALSE(rgb.InvertChannel(3));
    ASSERT_TRUE(rgb.CopyChannel(0, 2));
    EXPECT_EQ((std::vector<unsigned char>{255, 245, 255}), Values<unsigned char>(rgb));
    EXPECT_FALSE(rgb.CopyChannel(0, 5));

    cImage shorts = FromValues<uint16_t>(cFormat::Rg16, {1000, 2});
    ASSERT_TRUE(shorts.InvertChannel(0));
    ASSERT_TRUE(shorts.SwapChannels(0, 1));
    EXPECT_EQ((std::vector<uint16_t>{2, 64535}), Values<uint16_t>(shorts));

    cImage floats = FromValues<float>(cFormat::R32f, {0.25f});
    ASSERT_TRUE(floats.InvertChannel(0));
    EXPECT_EQ(0.75f, Values<float>(floats)[0]);
    cImage halves = FromValues<uint16_t>(cFormat::R16f, {cMath::Float2Half(0.25f)});
    ASSERT_TRUE(halves.InvertChannel(0));
    EXPECT_EQ(0.75f, cMath::Half2Float(Values<uint16_t>(halves)[0]));

    cImage blocks(cFormat::Dxt1, 4, 4);
    EXPECT_FALSE(blocks.InvertChannel(0));
    EXPECT_FALSE(blocks.SwapChannels(0, 1));
    EXPECT_FALSE(blocks.CopyChannel(0, 1));
}

TEST(ImageConvert, RemoveChannelsKeepsTheFlaggedOnesInOrder) {
    cImage rgba = FromValues<unsigned char>(cFormat::Rgba8, {1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_TRUE(rgba.RemoveChannels(true, false, true, false));
    EXPECT_EQ(cFormat::Rg8, rgba.Format);
    EXPECT_EQ((std::vector<unsigned char>{1, 3, 5, 7}), Values<unsigned char>(rgba));

    cImage wide = FromValues<uint16_t>(cFormat::Rgb16, {100, 200, 300});
    ASSERT_TRUE(wide.RemoveChannels(false, true, false, true));  // no alpha: its flag is ignored
    EXPECT_EQ(cFormat::R16, wide.Format);
    EXPECT_EQ(200, Values<uint16_t>(wide)[0]);

    cImage grey = FromValues<unsigned char>(cFormat::R8, {9});
    EXPECT_TRUE(grey.RemoveChannels(true, true, true, true));
    EXPECT_EQ(cFormat::R8, grey.Format);
    EXPECT_FALSE(grey.RemoveChannels(false, true, true, true));  // nothing would be left
    EXPECT_EQ(9, grey.Pixels[0]);
}

TEST(ImageConvert, GrayScaleUsesIntegerWeights) {
    cImage bytes = FromValues<unsigned char>(cFormat::Rgba8, {255, 255, 255, 0, 255, 0, 0, 0, 0, 0, 0, 9});
    ASSERT_TRUE(bytes.ToGrayScale());
    EXPECT_EQ(cFormat::R8, bytes.Format);
    EXPECT_EQ((std::vector<unsigned char>{255, 77, 0}), Values<unsigned char>(bytes));

    cImage shorts = FromValues<uint16_t>(cFormat::Rgb16, {65535, 0, 0, 0, 0, 65535});
    ASSERT_TRUE(shorts.ToGrayScale());
    EXPECT_EQ(cFormat::R16, shorts.Format);
    EXPECT_EQ((std::vector<uint16_t>{19712, 7168}), Values<uint16_t>(shorts));

    cImage chain(cFormat::Rgb8, 4, 4, 1, 3);
    memset(chain.Pixels, 100, (size_t)chain.GetSize());
    ASSERT_TRUE(chain.ToGrayScale());
    EXPECT_EQ(3, chain.MipMapCount);
    EXPECT_EQ(21, chain.GetSize());
    EXPECT_EQ(100, chain.GetPixels(2)[0]);

    cImage halves(cFormat::Rgb16f, 2, 2);
    EXPECT_FALSE(halves.ToGrayScale());
    cImage rg(cFormat::Rg8, 2, 2);
    EXPECT_FALSE(rg.ToGrayScale());
}

TEST(ImageConvert, MergeRgb8ClipsAtTheEdges) {
    cImage target(cFormat::Rgb8, 4, 4);
    memset(target.Pixels, 0, 48);
    cImage source(cFormat::Rgb8, 2, 2);
    for (int i = 0; i < 12; i++) source.Pixels[i] = (unsigned char)(i + 1);
    ASSERT_TRUE(target.MergeRgb8(source, 3, 3));
    EXPECT_EQ(1, target.Pixels[(3 * 4 + 3) * 3]);
    int nonzero = 0;
    for (int i = 0; i < 48; i++) nonzero += target.Pixels[i] != 0;
    EXPECT_EQ(3, nonzero);
    ASSERT_TRUE(target.MergeRgb8(source, -1, -1));  // only source pixel (1, 1) lands, at (0, 0)
    EXPECT_EQ(10, target.Pixels[0]);
    EXPECT_EQ(0, target.Pixels[3]);
    EXPECT_TRUE(target.MergeRgb8(source, 10, 10));
    cImage rgba(cFormat::Rgba8, 2, 2);
    EXPECT_FALSE(target.MergeRgb8(rgba, 0, 0));
}
