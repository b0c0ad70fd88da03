// Flip: rows of plain pixels in every level, face and slice, and for DXT data
// the block rows plus the rows inside each block, checked against flipping
// before compression and against known blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "zozud/core/Log.h"
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
}

TEST(ImageFlip, BlocksFlipLikeTheirPixels) {
    // Three block rows in one level, and a chain whose levels are 8, 4, 2 and 1 pixels high.
    for (cFormat::Enum plain : {cFormat::Rgba8, cFormat::Rgb8})
        for (int size : {12, 8}) {
            cImage source(cFormat::Rgba8, 8, size, 1, size == 8 ? 10 : 1);
            for (int64_t i = 0; i < source.GetSize(); i++) source.Pixels[i] = (unsigned char)(i * 37 + (i >> 5) * 11);
            ASSERT_TRUE(source.ToFormat(plain));
            cImage flippedFirst(source);
            ASSERT_TRUE(flippedFirst.Flip() && flippedFirst.Compress());
            ASSERT_TRUE(source.Compress() && source.Flip());
            EXPECT_TRUE(0 == memcmp(flippedFirst.Pixels, source.Pixels, (size_t)source.GetSize()))
                << cFormat::ToString(plain) << " height " << size;
        }
}

TEST(ImageFlip, BlockRowsKnownAnswersAndTheWarning) {
    cImage two(cFormat::Dxt1, 4, 2), dxt3(cFormat::Dxt3, 4, 8), dxt5(cFormat::Dxt5, 4, 4), narrow(cFormat::Dxt1, 2, 4);
    memcpy(two.Pixels, "\1\2\3\4\x11\x22\x33\x44", 8);
    for (int i = 0; i < 32; i++) dxt3.Pixels[i] = (unsigned char)i;
    memcpy(dxt5.Pixels, "\xC8\x64\x01\x20\0\x03\x40\0\0\0\0\0\0\0\0\0", 16);  // index rows 0x001 0x002 0x003 0x004
    memcpy(narrow.Pixels, "\x09\x09\x09\x09\1\2\3\4", 8);
    ASSERT_TRUE(two.Flip() && dxt3.Flip() && dxt5.Flip() && narrow.Flip());
    EXPECT_EQ(0, memcmp("\1\2\3\4\x22\x11\x33\x44", two.Pixels, 8));  // 2 pixels high: index rows 0 and 1 swap
    // Block rows swap; DXT3 alpha rows and index rows reverse.
    const unsigned char expect3[16] = {22, 23, 20, 21, 18, 19, 16, 17, 24, 25, 26, 27, 31, 30, 29, 28};
    EXPECT_EQ(0, memcmp(expect3, dxt3.Pixels, 16));
    EXPECT_EQ(0, memcmp("\xC8\x64\x04\x30\0\x02\x10\0", dxt5.Pixels, 8));  // endpoints stay, index rows reverse
    EXPECT_EQ(0, memcmp("\x09\x09\x09\x09\4\3\2\1", narrow.Pixels, 8));

    for (cImage odd : {cImage(cFormat::Dxt1, 6, 6), cImage(cFormat::Dxt5, 4, 3)}) {
        memset(odd.Pixels, 3, (size_t)odd.GetSize());
        int mark = cLog::GetLogCopy().Length();
        EXPECT_FALSE(odd.Flip());
        EXPECT_NE(std::string(cLog::GetLogCopy().ToChar() + mark)
                      .find("Compressed images must have dimensions that are multiples of 4"),
                  std::string::npos);
        EXPECT_EQ(3, odd.Pixels[0]);
    }
    EXPECT_FALSE(cImage(cFormat::Depth16, 4, 4).Flip() || cImage().Flip());
}
