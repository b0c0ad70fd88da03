// cImage storage: creation rules, ownership of the buffer and the rectangle copy.
#include <gtest/gtest.h>

#include <cstring>

#include "zozud/image/Image.h"
#include "zozud/math/Rect.h"

using namespace zozud;

TEST(Image, CreateRaisesSizesAndRefusesUnknownFormats) {
    cImage image;
    ASSERT_TRUE(image.Create(cFormat::Rgba16, 0, -4, -2, 0));
    EXPECT_EQ(1, image.Width * image.Height * image.Depth * image.MipMapCount);
    ASSERT_TRUE(image.Create(cFormat::Dxt1, 16, 8, 0, 99));
    EXPECT_EQ(0, image.Depth);
    EXPECT_EQ(5, image.MipMapCount);  // the chain ends at 1x1
    EXPECT_FALSE(image.Create(cFormat::None, 4, 4) || image.Create((cFormat::Enum)77, 4, 4));
    EXPECT_TRUE(!image.Pixels && !(image.Width | image.Height | image.Depth | image.MipMapCount | image.Format));
    ASSERT_TRUE(image.Create(cFormat::Depth24Stencil8, 32, 16));  // render targets: sizes, no pixels
    EXPECT_EQ(nullptr, image.Pixels);
    EXPECT_EQ(32, image.Width);

    unsigned char data[84];
    for (int i = 0; i < 84; i++) data[i] = (unsigned char)i;
    cImage copy(cImage::CopyCtor, data, cFormat::Rgba8, 4, 4, 1, 3);
    EXPECT_TRUE(copy.Pixels != data && memcmp(data, copy.Pixels, 84) == 0);
    unsigned char* buffer = cImage::AllocPixels(48);
    cImage adopted(cImage::SetCtor, buffer, cFormat::Rgb8, 4, 4);
    EXPECT_EQ(buffer, adopted.Pixels);
    adopted.Set(cImage::AllocPixels(16), cFormat::R8, 4, 4);  // frees the first buffer (the leak sanitizer checks)
}

TEST(Image, RectangleCopyTakesLevelZeroPixelsAndRefusesBadRectangles) {
    cImage source(cFormat::R8, 6, 4), part, whole, blocks(cFormat::Dxt1, 8, 8);
    for (int i = 0; i < 24; i++) source.Pixels[i] = (unsigned char)i;
    ASSERT_TRUE(source.CreateMipMaps());
    ASSERT_TRUE(part.Copy(source, cRect(1.7f, 1.0f, 4.2f, 3.0f)));  // truncated to columns 1..3, rows 1..2
    EXPECT_EQ(1, part.Depth * part.MipMapCount);
    EXPECT_EQ(std::string("\7\10\11\15\16\17"), std::string((const char*)part.Pixels, part.Width * part.Height));
    const cRect refused[] = {cRect(4, 0, 7, 2), cRect(-1, 0, 2, 2),     cRect(3, 0, 3, 2),
                             cRect(3, 2, 1, 0), cRect(0, 0, 1e30f, 2), cRect(__builtin_nanf(""), 0, 2, 2)};
    for (const cRect& r : refused) {
        ASSERT_TRUE(whole.Copy(source, cRect(0, 0, 6, 4)));
        EXPECT_EQ(0, memcmp(whole.Pixels, source.Pixels, 24));
        EXPECT_FALSE(whole.Copy(source, r)) << r.x0 << " " << r.x1;
        EXPECT_TRUE(whole.IsEmpty());
    }
    EXPECT_FALSE(whole.Copy(blocks, cRect(0, 0, 4, 4)));
    EXPECT_TRUE(source.Copy(source, cRect(2, 2, 4, 4)));  // a rectangle of itself
    EXPECT_EQ(std::string("\16\17\24\25"), std::string((const char*)source.Pixels, 4));
}
