// Flip of plain pixels and of DXT blocks in every level, face and slice.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zozud/image/Image.h"

using namespace zozud;

TEST(ImageFlip, PlainRowsTurnOverInEveryLevelFaceAndSlice) {
    cImage cube(cFormat::R8, 2, 2, 0, 2), volume(cFormat::R32f, 3, 2, 2, 1);
    for (int i = 0; i < 30; i++) cube.Pixels[i] = (unsigned char)i;  // 6 faces of 2x2, then 6 of 1x1
    const float v[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, expect[12] = {4, 5, 6, 1, 2, 3, 10, 11, 12, 7, 8, 9};
    memcpy(volume.Pixels, v, 48);
    ASSERT_TRUE(cube.Flip() && volume.Flip());
    for (int i = 0; i < 24; i++) EXPECT_EQ(i / 2 % 2 ? i - 2 : i + 2, cube.Pixels[i]) << i;
    for (int i = 24; i < 30; i++) EXPECT_EQ(i, cube.Pixels[i]);
    EXPECT_EQ(0, memcmp(expect, volume.Pixels, 48));
    EXPECT_FALSE(cImage(cFormat::Depth16, 4, 4).Flip() || cImage().Flip() || cImage(cFormat::Pvrtc4Rgb, 4, 4).Flip());
}

// Chains whose levels are 6, 3, 193... pixels high: every level must come out
// turned over like its pixels. Each row of the picture has its own grey, so a
// row out of place differs by far more than re-encoding can.
TEST(ImageFlip, BlocksOfAnyHeightTurnOverEveryLevel) {
    for (cFormat::Enum format : {cFormat::Dxt1, cFormat::Dxt3, cFormat::Dxt5})
        for (auto size : {std::make_pair(64, 48), std::make_pair(48, 96), std::make_pair(7, 193)}) {
            cImage source(cFormat::Rgba8, size.first, size.second, 1, 20);
            for (int level = 0; level < source.MipMapCount; level++) {
                unsigned char* p = source.GetPixels(level);
                int w = source.GetWidth(level), h = source.GetHeight(level);
                for (int y = 0; y < h; y++)
                    for (int x = 0; x < w; x++, p += 4) {
                        p[0] = p[1] = p[2] = (unsigned char)(h == 1 ? 128 : 255 * y / (h - 1));
                        p[3] = (unsigned char)(255 - 255 * y / (h + 1));
                    }
            }
            cImage blocks(source);
            ASSERT_TRUE((format != cFormat::Dxt1 || blocks.ToFormat(cFormat::Rgb8)) && blocks.Compress());
            if (format == cFormat::Dxt3) blocks.Format = cFormat::Dxt3;  // the same 16-byte blocks read as DXT3
            cImage expect(blocks), flipped(blocks);
            ASSERT_TRUE(expect.Uncompress() && expect.Flip() && flipped.Flip() && flipped.Uncompress());
            ASSERT_EQ(expect.GetSize(), flipped.GetSize());
            int worst = 0;
            for (int64_t i = 0; i < expect.GetSize(); i++)
                worst = std::max(worst, std::abs(expect.Pixels[i] - flipped.Pixels[i]));
            EXPECT_LE(worst, 24) << cFormat::ToString(format) << " " << size.first << "x" << size.second;
        }
}

// DXT1 transparency survives a flip that encodes the level again.
TEST(ImageFlip, TransparentDxt1PixelsStayTransparent) {
    cImage image(cFormat::Dxt1, 4, 6);
    for (int b = 0; b < 2; b++) memcpy(image.Pixels + 8 * b, "\0\0\xFF\xFF\x0F\xFF\xF0\0", 8);  // index 3: transparent
    cImage before(image);
    ASSERT_TRUE(image.Flip());
    auto alpha = [](const cImage& im, int x, int y) {
        unsigned char rgba[64];
        uint64_t block;
        memcpy(&block, im.Pixels + 8 * (y / 4), 8);
        cImage::DecodeDXTColorBlock(block, false, rgba);
        return rgba[4 * (4 * (y % 4) + x) + 3];
    };
    for (int y = 0; y < 6; y++)
        for (int x = 0; x < 4; x++) EXPECT_EQ(alpha(before, x, 5 - y), alpha(image, x, y)) << x << "," << y;
}
