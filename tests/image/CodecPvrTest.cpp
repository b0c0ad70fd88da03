// The PVR container codec: format by the alpha byte, the mip chain with its
// 32-byte floor per level, refusals of short or malformed files, and an
// encoder that always fails.
#include <gtest/gtest.h>

#include "image/CodecTestSupport.h"
#include "zozud/image/CodecPvr.h"

using namespace zozud;
using codectest::Bytes;

namespace {

std::string PvrFile(uint32_t width, uint32_t height, uint32_t levels, int alpha, const std::string& data) {
    return Bytes().Raw("PVR ").U32(width).U32(height).U32(levels).U8(alpha).Raw(data).s;
}

std::string Pattern(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; i++) s[i] = char(i * 7 + 1);
    return s;
}

}  // namespace

TEST(CodecPvr, ChoosesTheFormatByTheAlphaByteAndKeepsTheChainAsStored) {
    cCodecPvr pvr;
    EXPECT_STREQ(cCodecPvr::FileExtension, "cPvr");
    // 8x8 with four levels: 32 bytes of blocks at level 0, then three levels at the 32-byte floor.
    std::string data = Pattern(128);
    cImage image;
    ASSERT_TRUE(codectest::Decode(pvr, PvrFile(8, 8, 4, 1, data), &image));
    EXPECT_EQ(image.Format, cFormat::Pvrtc4Rgba);
    EXPECT_EQ(image.Width, 8);
    EXPECT_EQ(image.Height, 8);
    EXPECT_EQ(image.Depth, 1);
    EXPECT_EQ(image.MipMapCount, 4);
    EXPECT_EQ(codectest::Buffer(image), data);

    ASSERT_TRUE(codectest::Decode(pvr, PvrFile(16, 4, 1, 0, Pattern(32)), &image));
    EXPECT_EQ(image.Format, cFormat::Pvrtc4Rgb);
    ASSERT_TRUE(codectest::Decode(pvr, PvrFile(4, 4, 1, 0x80, Pattern(32)), &image));
    EXPECT_EQ(image.Format, cFormat::Pvrtc4Rgba);
    // Bytes after the chain are left unread.
    cFile file;
    std::string bytes = PvrFile(4, 4, 1, 0, Pattern(40));
    file.Copy(bytes.data(), (int)bytes.size(), "x");
    ASSERT_TRUE(pvr.Decode(file, &image));
    EXPECT_EQ(file.GetPos(), 17 + 32);
}

TEST(CodecPvr, RefusesShortAndMalformedFiles) {
    cCodecPvr pvr;
    cImage image(cFormat::Rgb8, 2, 2);
    EXPECT_FALSE(codectest::Decode(pvr, PvrFile(8, 8, 4, 1, Pattern(127)), &image));
    EXPECT_FALSE(codectest::Decode(pvr, PvrFile(8, 8, 4, 1, "").substr(0, 16), &image));
    EXPECT_EQ(image.Pixels, nullptr);  // the image is freed first
    std::string bad = PvrFile(4, 4, 1, 0, Pattern(32));
    bad[0] = 'Q';
    EXPECT_FALSE(codectest::Decode(pvr, bad, &image));
    EXPECT_FALSE(codectest::Decode(pvr, PvrFile(0, 4, 1, 0, Pattern(32)), &image));
    EXPECT_FALSE(codectest::Decode(pvr, PvrFile(4, 4, 0, 0, Pattern(32)), &image));
    EXPECT_FALSE(codectest::Decode(pvr, PvrFile(0x80000000u, 4, 1, 0, Pattern(32)), &image));
    EXPECT_FALSE(codectest::Decode(pvr, PvrFile(0x7FFFFFFF, 0x7FFFFFFF, 1, 0, Pattern(32)), &image));
    // A mip count beyond the chain stops at 1x1: 4x4 has three levels of 32 bytes.
    ASSERT_TRUE(codectest::Decode(pvr, PvrFile(4, 4, 0xFFFFFFFF, 0, Pattern(96)), &image));
    EXPECT_EQ(image.MipMapCount, 3);
}

TEST(CodecPvr, NeverEncodes) {
    cCodecPvr pvr;
    cImage image;
    ASSERT_TRUE(codectest::Decode(pvr, PvrFile(4, 4, 1, 0, Pattern(32)), &image));
    cFile file;
    EXPECT_FALSE(pvr.Encode(image, &file));
    EXPECT_FALSE(pvr.Encode(cImage(cFormat::Rgba8, 2, 2), &file));
    EXPECT_EQ(file.GetSize(), 0);
}
