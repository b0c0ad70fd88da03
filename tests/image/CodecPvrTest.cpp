// The PVR container codec: format by the alpha byte, the 32-byte floor per level, refusals.
#include <gtest/gtest.h>

#include "image/CodecTestSupport.h"
#include "zozud/image/CodecPvr.h"

using namespace zozud;
using namespace codectest;

namespace {

std::string PvrFile(uint32_t width, uint32_t height, uint32_t levels, int alpha, size_t dataBytes) {
    Bytes b;
    b.Raw("PVR ").U32(width).U32(height).U32(levels).U8(alpha);
    for (size_t i = 0; i < dataBytes; i++) b.U8(i * 7 + 1);
    return b.s;
}

}  // namespace

TEST(CodecPvr, ReadsTheChainAsStoredRefusesBadFilesAndNeverEncodes) {
    // 8x8 with four levels: 32 bytes of blocks at level 0, then three levels at the 32-byte floor.
    const KnownFile known[] = {
        {"with alpha", PvrFile(8, 8, 4, 1, 128), "8x8x1 24 levels 4"},  // Pvrtc4Rgba
        {"without", PvrFile(16, 4, 1, 0, 32), "16x4x1 23 levels 1"},
        {"alpha 0x80", PvrFile(4, 4, 1, 0x80, 32), "4x4x1 24 levels 1"},
        {"levels beyond 1x1", PvrFile(4, 4, 0xFFFFFFFF, 0, 96), "4x4x1 23 levels 3"},
    };
    const BadFile bad[] = {
        {"chain cut", PvrFile(8, 8, 4, 1, 127)}, {"header cut", PvrFile(8, 8, 4, 1, 0).substr(0, 16)},
        {"magic", "Q" + PvrFile(4, 4, 1, 0, 32).substr(1)}, {"width 0", PvrFile(0, 4, 1, 0, 32)},
        {"no levels", PvrFile(4, 4, 0, 0, 32)}, {"negative width", PvrFile(0x80000000u, 4, 1, 0, 32)},
        {"absurd size", PvrFile(0x7FFFFFFF, 0x7FFFFFFF, 1, 0, 32)},
    };
    cCodecPvr pvr;
    for (const auto& c : known) {
        cImage image;
        ASSERT_TRUE(Decode(pvr, c.bytes, &image)) << c.what;
        EXPECT_EQ(Shape(image), c.shape);
        EXPECT_EQ(Buffer(image), c.bytes.substr(17));
    }
    for (const auto& c : bad) {
        cImage image(cFormat::Rgb8, 2, 2);
        EXPECT_FALSE(Decode(pvr, c.bytes, &image)) << c.what;
        EXPECT_TRUE(c.bytes.size() >= 17 || !image.Pixels) << c.what;  // the image is freed first
    }

    cImage image;
    cFile file;
    std::string bytes = PvrFile(4, 4, 1, 0, 40);
    file.Copy(bytes.data(), (int)bytes.size(), "x");
    ASSERT_TRUE(pvr.Decode(file, &image));
    EXPECT_EQ(file.GetPos(), 17 + 32);  // bytes after the chain are left unread
    EXPECT_FALSE(pvr.Encode(image, &file) || pvr.Encode(Filled(cFormat::Rgba8, 2, 2), &file));
    EXPECT_EQ(file.GetSize(), (int)bytes.size());
}
