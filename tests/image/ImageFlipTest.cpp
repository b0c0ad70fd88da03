// Flip: rows of plain pixels, and rows of blocks plus rows inside each block
// for DXT data, checked against flipping before compression.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "zozud/core/Log.h"
#include "zozud/image/Image.h"

using namespace zozud;

namespace {

// Rgba8 pixels that differ in every channel and row, with a mip chain.
cImage Pattern(int w, int h, int depth = 1) {
    cImage image(cFormat::Rgba8, w, h, depth, 1);
    for (int64_t i = 0; i < image.GetSize(); i++) image.Pixels[i] = (unsigned char)(i * 37 + (i >> 5) * 11);
    return image;
}

std::string LogSince(int length) {
    cStr log = cLog::GetLogCopy();
    return std::string(log.ToChar() + length);
}

}  // namespace

TEST(ImageFlip, PlainRowsTurnOverInEveryLevelAndFace) {
    cImage image(cFormat::Rgb8, 2, 3, 0, 2);
    for (int64_t i = 0; i < image.GetSize(); i++) image.Pixels[i] = (unsigned char)i;
    cImage original(image);
    ASSERT_TRUE(image.Flip());
    for (int level = 0; level < 2; level++)
        for (int f = 0; f < 6; f++) {
            int h = image.GetHeight(level);
            int64_t row = image.GetRowSize(level);
            for (int y = 0; y < h; y++)
                EXPECT_EQ(0, memcmp(image.GetSlice(level, f) + y * row, original.GetSlice(level, f) + (h - 1 - y) * row,
                                    (size_t)row));
        }
    ASSERT_TRUE(image.Flip());
    EXPECT_EQ(0, memcmp(image.Pixels, original.Pixels, (size_t)image.GetSize()));

    cImage volume(cFormat::R32f, 3, 2, 2, 1);
    float v[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    memcpy(volume.Pixels, v, 48);
    ASSERT_TRUE(volume.Flip());
    const float expect[12] = {4, 5, 6, 1, 2, 3, 10, 11, 12, 7, 8, 9};
    EXPECT_EQ(0, memcmp(expect, volume.Pixels, 48));
}

TEST(ImageFlip, BlocksFlipLikeTheirPixels) {
    for (cFormat::Enum plain : {cFormat::Rgba8, cFormat::Rgb8}) {
        cImage source = Pattern(8, 12);
        ASSERT_TRUE(source.ToFormat(plain));
        ASSERT_TRUE(source.CreateMipMaps());  // 8x12, 4x6, 2x3, 1x1
        cImage flippedFirst(source);
        // Levels of 6 and 3 rows do not flip cleanly inside blocks; compare the levels that do.
        ASSERT_TRUE(flippedFirst.Flip());
        ASSERT_TRUE(flippedFirst.Compress());
        ASSERT_TRUE(source.Compress());
        ASSERT_TRUE(source.Flip());
        EXPECT_EQ(0, memcmp(flippedFirst.GetPixels(0), source.GetPixels(0), (size_t)source.GetSliceSize(0)))
            << cFormat::ToString(plain);
        EXPECT_EQ(0, memcmp(flippedFirst.GetPixels(3), source.GetPixels(3), (size_t)source.GetSliceSize(3)));
    }
    // A chain of 8x8, 4x4, 2x2, 1x1 flips exactly in every level, DXT5 alpha rows included.
    cImage source = Pattern(8, 8);
    ASSERT_TRUE(source.CreateMipMaps());
    cImage flippedFirst(source);
    ASSERT_TRUE(flippedFirst.Flip());
    ASSERT_TRUE(flippedFirst.Compress());
    ASSERT_TRUE(source.Compress());
    ASSERT_TRUE(source.Flip());
    EXPECT_EQ(0, memcmp(flippedFirst.Pixels, source.Pixels, (size_t)source.GetSize()));
}

TEST(ImageFlip, BlockRowsKnownAnswers) {
    // 4x2 Dxt1: only index rows 0 and 1 change places.
    cImage two(cFormat::Dxt1, 4, 2);
    const unsigned char block[8] = {1, 2, 3, 4, 0x11, 0x22, 0x33, 0x44};
    memcpy(two.Pixels, block, 8);
    ASSERT_TRUE(two.Flip());
    const unsigned char swapped[8] = {1, 2, 3, 4, 0x22, 0x11, 0x33, 0x44};
    EXPECT_EQ(0, memcmp(swapped, two.Pixels, 8));

    // 4x8 Dxt3: block rows swap, DXT3 alpha rows and index rows reverse.
    cImage dxt3(cFormat::Dxt3, 4, 8);
    for (int i = 0; i < 32; i++) dxt3.Pixels[i] = (unsigned char)i;
    ASSERT_TRUE(dxt3.Flip());
    const unsigned char expect3[16] = {22, 23, 20, 21, 18, 19, 16, 17, 24, 25, 26, 27, 31, 30, 29, 28};
    EXPECT_EQ(0, memcmp(expect3, dxt3.Pixels, 16));

    // 4x4 Dxt5: endpoints stay, the four 12-bit index rows reverse.
    cImage dxt5(cFormat::Dxt5, 4, 4);
    const unsigned char alpha[8] = {200, 100, 0x01, 0x20, 0x00, 0x03, 0x40, 0x00};  // rows 0x001 0x002 0x003 0x004
    memcpy(dxt5.Pixels, alpha, 8);
    memset(dxt5.Pixels + 8, 0, 8);
    ASSERT_TRUE(dxt5.Flip());
    const unsigned char flipped[8] = {200, 100, 0x04, 0x30, 0x00, 0x02, 0x10, 0x00};
    EXPECT_EQ(0, memcmp(flipped, dxt5.Pixels, 8));

    // One pixel high: nothing moves.
    cImage flat(cFormat::Dxt1, 4, 4, 1, 3);
    for (int64_t i = 0; i < flat.GetSize(); i++) flat.Pixels[i] = (unsigned char)i;
    cImage before(flat);
    ASSERT_TRUE(flat.Flip());
    EXPECT_EQ(0, memcmp(before.GetPixels(2), flat.GetPixels(2), 8));
}

TEST(ImageFlip, RefusedFormatsAndTheBlockWarning) {
    cImage odd(cFormat::Dxt1, 6, 6);
    memset(odd.Pixels, 3, (size_t)odd.GetSize());
    int mark = cLog::GetLogCopy().Length();
    EXPECT_FALSE(odd.Flip());
    EXPECT_NE(std::string::npos, LogSince(mark).find("Compressed images must have dimensions that are multiples of 4"));
    EXPECT_EQ(3, odd.Pixels[0]);

    mark = cLog::GetLogCopy().Length();
    cImage three(cFormat::Dxt5, 4, 3);
    EXPECT_FALSE(three.Flip());
    EXPECT_NE(std::string::npos, LogSince(mark).find("multiples of 4"));
    // A single block 2 pixels wide flips like any other.
    cImage narrow(cFormat::Dxt1, 2, 4);
    const unsigned char block[8] = {9, 9, 9, 9, 1, 2, 3, 4};
    memcpy(narrow.Pixels, block, 8);
    ASSERT_TRUE(narrow.Flip());
    EXPECT_EQ(4, narrow.Pixels[4]);
    EXPECT_EQ(1, narrow.Pixels[7]);

    cImage depth(cFormat::Depth16, 4, 4);
    EXPECT_FALSE(depth.Flip());
    cImage empty;
    EXPECT_FALSE(empty.Flip());
}
