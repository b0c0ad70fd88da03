// Conversions between the colour formats at their rounding edges, and the channel edits.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "zozud/image/Image.h"
#include "zozud/math/Math.h"

using namespace zozud;

namespace {

template <class T>
cImage Row(cFormat::Enum format, const std::vector<T>& values) {
    cImage image(format, (int)values.size() / cFormat::GetChannelCount(format), 1);
    memcpy(image.Pixels, values.data(), values.size() * sizeof(T));
    return image;
}

template <class T>
std::vector<T> Values(const cImage& image) {
    std::vector<T> out((size_t)(image.GetSize() / (int64_t)sizeof(T)));
    memcpy(out.data(), image.Pixels, out.size() * sizeof(T));
    return out;
}

// The values after converting a copy, or {} when the conversion failed.
template <class T>
std::vector<T> To(cFormat::Enum format, cImage image) {
    return image.ToFormat(format) && image.Format == format ? Values<T>(image) : std::vector<T>();
}

using Bytes = std::vector<unsigned char>;
using Shorts = std::vector<uint16_t>;
using Floats = std::vector<float>;

}  // namespace

TEST(ImageConvert, KnownValuesRoundingAndClamping) {
    // Luminance .2125 .7154 .0721; grey sources fill G and B; missing alpha is 1; two channels have no blue.
    cImage rgba = Row<unsigned char>(cFormat::Rgba8, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 0});
    EXPECT_EQ((Bytes{54, 182, 18}), To<unsigned char>(cFormat::R8, rgba));
    EXPECT_EQ((Shorts{46884}), To<uint16_t>(cFormat::R16, Row<uint16_t>(cFormat::Rgb16, {0, 65535, 0})));
    EXPECT_EQ((Shorts{77 * 257, 77 * 257, 77 * 257, 65535}),
              To<uint16_t>(cFormat::Rgba16, Row<unsigned char>(cFormat::R8, {77})));
    EXPECT_EQ((Floats{0, 1, 0, 1}), To<float>(cFormat::Rgba32f, Row<unsigned char>(cFormat::Rg8, {0, 255})));
    EXPECT_EQ((Bytes{1, 2, 3, 255}), To<unsigned char>(cFormat::Rgba8, Row<unsigned char>(cFormat::Rgb8, {1, 2, 3})));

    const float nan = std::numeric_limits<float>::quiet_NaN();
    cImage edges = Row<float>(cFormat::Rgba32f, {-0.1f, 0, 127.5f / 255, 127.49f / 255, 1, 1.5f, nan, 254.51f / 255});
    EXPECT_EQ((Bytes{0, 0, 128, 127, 255, 255, 0, 255}), To<unsigned char>(cFormat::Rgba8, edges));
    EXPECT_EQ((Shorts{0, 0, 32768, 32765, 65535, 65535, 0, 65409}), To<uint16_t>(cFormat::Rgba16, edges));
    // The luminance weights add up to just below 1: an exact half then rounds down.
    EXPECT_EQ((Bytes{127, 64}), To<unsigned char>(cFormat::R8, Row<float>(cFormat::R32f, {0.5f, 0.25f})));
    EXPECT_EQ((Shorts{0x3C00, 0x3800, 0xC000, 0x7BFF}),
              To<uint16_t>(cFormat::Rg16f, Row<float>(cFormat::Rg32f, {1.0f, 0.5f, -2.0f, 65504.0f})));
    EXPECT_EQ((Bytes{127, 128, 255, 0}),  // 127.498, 127.502, ...
              To<unsigned char>(cFormat::R8, Row<uint16_t>(cFormat::R16, {32767, 32768, 65535, 128})));
    for (cFormat::Enum f : {cFormat::Dxt1, cFormat::Depth16, cFormat::None}) EXPECT_TRUE(To<char>(f, rgba).empty());
    EXPECT_EQ(Bytes(), To<unsigned char>(cFormat::Rgba8, cImage(cFormat::Dxt5, 8, 8)));
}

TEST(ImageConvert, ValuesSurviveEveryColourFormatAndEveryLevelAndFace) {
    Bytes all(256);
    for (int i = 0; i < 256; i++) all[i] = (unsigned char)i;
    for (int f = cFormat::R8; f <= cFormat::Rgba32f; f++) {
        cImage image = Row(cFormat::R8, all);
        ASSERT_TRUE(image.ToFormat(cFormat::Rgba8) && image.ToFormat((cFormat::Enum)f)) << f;
        Bytes v = To<unsigned char>(cFormat::Rgba8, image);
        ASSERT_EQ(v.size(), 1024u) << f;
        for (int i = 0; i < 256; i++) {
            const unsigned char blue = cFormat::GetChannelCount(f) == 2 ? 0 : all[i];  // two channels carry no blue
            ASSERT_EQ((Bytes{all[i], all[i], blue, 255}), Bytes(&v[4 * i], &v[4 * i + 4])) << f << " " << i;
        }
    }
    Shorts shorts(65536);
    for (int i = 0; i < 65536; i++) shorts[i] = (uint16_t)i;
    cImage wide = Row(cFormat::R16, shorts);
    ASSERT_TRUE(wide.ToFormat(cFormat::R32f));
    EXPECT_EQ(shorts, To<uint16_t>(cFormat::R16, wide));

    cImage cube(cFormat::Rgb8, 4, 4, 0, 3);
    memset(cube.Pixels, 255, (size_t)cube.GetSize());
    EXPECT_EQ(Shorts(6 * 21 * 4, 0x3C00), To<uint16_t>(cFormat::Rgba16f, cube));  // every level and face: 1.0
}

TEST(ImageConvert, ChannelEditsOfEveryType) {
    cImage rgb = Row<unsigned char>(cFormat::Rgb8, {0, 10, 255});
    ASSERT_TRUE(rgb.SwapChannels(0, 2) && rgb.SwapChannels(1, 1) && rgb.InvertChannel(1) && rgb.CopyChannel(2, 0));
    EXPECT_EQ((Bytes{0, 245, 0}), Values<unsigned char>(rgb));
    EXPECT_FALSE(rgb.SwapChannels(0, 3) || rgb.SwapChannels(-1, 0) || rgb.InvertChannel(3) || rgb.CopyChannel(0, 5) ||
                 rgb.RemoveChannels(false, false, false, true));  // no alpha: nothing would be left
    cImage shorts = Row<uint16_t>(cFormat::Rg16, {1000, 2}), floats = Row<float>(cFormat::R32f, {0.25f});
    cImage halves = Row<uint16_t>(cFormat::R16f, {cMath::Float2Half(0.25f)});
    ASSERT_TRUE(shorts.InvertChannel(0) && shorts.SwapChannels(0, 1));
    ASSERT_TRUE(floats.InvertChannel(0) && halves.InvertChannel(0));
    EXPECT_EQ((Shorts{2, 64535}), Values<uint16_t>(shorts));
    EXPECT_EQ((Floats{0.75f}), Values<float>(floats));
    EXPECT_EQ((Shorts{cMath::Float2Half(0.75f)}), Values<uint16_t>(halves));

    cImage rgba = Row<unsigned char>(cFormat::Rgba8, {1, 2, 3, 4, 5, 6, 7, 8});
    cImage wide = Row<uint16_t>(cFormat::Rgb16, {100, 200, 300});
    ASSERT_TRUE(rgba.RemoveChannels(true, false, true, false) && wide.RemoveChannels(false, true, false, true));
    EXPECT_EQ((Bytes{1, 3, 5, 7}), Values<unsigned char>(rgba));
    EXPECT_EQ((Shorts{200}), Values<uint16_t>(wide));  // no alpha: its flag is ignored
    EXPECT_EQ(std::make_pair(cFormat::Rg8, cFormat::R16), std::make_pair(rgba.Format, wide.Format));
    cImage blocks(cFormat::Dxt5, 8, 8);
    EXPECT_FALSE(blocks.InvertChannel(0) || blocks.SwapChannels(0, 1) || blocks.CopyChannel(0, 1));
}

TEST(ImageConvert, GrayScaleUsesIntegerWeightsAndMergeClips) {
    cImage bytes = Row<unsigned char>(cFormat::Rgba8, {255, 255, 255, 0, 255, 0, 0, 0, 0, 0, 0, 9});
    cImage shorts = Row<uint16_t>(cFormat::Rgb16, {65535, 0, 0, 0, 0, 65535}), chain(cFormat::Rgb8, 4, 4, 1, 3);
    memset(chain.Pixels, 100, (size_t)chain.GetSize());
    ASSERT_TRUE(bytes.ToGrayScale() && shorts.ToGrayScale() && chain.ToGrayScale());
    EXPECT_EQ((Bytes{255, 77, 0}), Values<unsigned char>(bytes));  // (77 R + 151 G + 28 B + 128) >> 8
    EXPECT_EQ(cFormat::R16, shorts.Format);
    EXPECT_EQ((Shorts{19712, 7168}), Values<uint16_t>(shorts));
    EXPECT_EQ(Bytes(21, 100), Values<unsigned char>(chain));  // every level
    for (cFormat::Enum f : {cFormat::Rgb16f, cFormat::Rg8, cFormat::Dxt1}) EXPECT_FALSE(cImage(f, 2, 2).ToGrayScale());

    cImage target(cFormat::Rgb8, 4, 4), source(cFormat::Rgb8, 2, 2);
    memset(target.Pixels, 0, 48);
    for (int i = 0; i < 12; i++) source.Pixels[i] = (unsigned char)(i + 1);
    ASSERT_TRUE(target.MergeRgb8(source, 3, 3) && target.MergeRgb8(source, -1, -1) && target.MergeRgb8(source, 9, 9));
    Bytes expect(48, 0);  // source pixel (1, 1) lands at (0, 0), (0, 0) at (3, 3)
    memcpy(expect.data(), "\12\13\14", 3);
    memcpy(expect.data() + 45, "\1\2\3", 3);
    EXPECT_EQ(expect, Values<unsigned char>(target));
    EXPECT_FALSE(target.MergeRgb8(cImage(cFormat::Rgba8, 2, 2), 0, 0));
}
