// cImage storage: creation rules, ownership of the buffer, copies and the
// rectangle copy.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "zozud/image/Image.h"
#include "zozud/math/Rect.h"

using namespace zozud;

namespace {

// Rgb8 image whose pixel (x, y) is (x, y, 7).
cImage Coordinates(int w, int h) {
    cImage image(cFormat::Rgb8, w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            unsigned char* p = image.Pixels + (y * w + x) * 3;
            p[0] = (unsigned char)x;
            p[1] = (unsigned char)y;
            p[2] = 7;
        }
    return image;
}

}  // namespace

TEST(Image, DefaultIsEmptyAndCreateStoresTheFields) {
    cImage empty;
    EXPECT_EQ(0, empty.Width);
    EXPECT_EQ(0, empty.Height);
    EXPECT_EQ(0, empty.Depth);
    EXPECT_EQ(cFormat::None, empty.Format);
    EXPECT_EQ(0, empty.MipMapCount);
    EXPECT_EQ(nullptr, empty.Pixels);

    cImage image;
    ASSERT_TRUE(image.Create(cFormat::Rgba16, 0, -4, -2, 0));
    EXPECT_EQ(1, image.Width);
    EXPECT_EQ(1, image.Height);
    EXPECT_EQ(1, image.Depth);
    EXPECT_EQ(1, image.MipMapCount);
    EXPECT_NE(nullptr, image.Pixels);

    ASSERT_TRUE(image.Create(cFormat::Dxt1, 16, 8, 0, 99));
    EXPECT_EQ(0, image.Depth);
    EXPECT_EQ(5, image.MipMapCount);  // the chain ends at 1x1
    EXPECT_EQ(6 * (64 + 16 + 8 + 8 + 8), image.GetSize());

    EXPECT_FALSE(image.Create(cFormat::None, 4, 4));
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_FALSE(image.Create((cFormat::Enum)77, 4, 4));

    // Render-target formats have no pixels but keep their sizes.
    ASSERT_TRUE(image.Create(cFormat::Depth24Stencil8, 32, 16));
    EXPECT_EQ(nullptr, image.Pixels);
    EXPECT_EQ(32, image.Width);
}

TEST(Image, CopiesAreDeepAndFreeZeroesTheFields) {
    cImage a = Coordinates(5, 3);
    cImage b(a);
    ASSERT_NE(a.Pixels, b.Pixels);
    EXPECT_EQ(0, memcmp(a.Pixels, b.Pixels, (size_t)a.GetSize()));
    b.Pixels[0] = 99;
    EXPECT_EQ(0, a.Pixels[0]);

    cImage c;
    c = a;
    EXPECT_EQ(5, c.Width);
    EXPECT_EQ(0, memcmp(a.Pixels, c.Pixels, (size_t)a.GetSize()));
    c = c;  // self-assignment keeps the pixels
    EXPECT_EQ(7, c.Pixels[2]);

    unsigned char* before = a.Pixels;
    cImage moved(std::move(a));
    EXPECT_EQ(before, moved.Pixels);
    EXPECT_TRUE(a.IsEmpty());

    moved.Free();
    EXPECT_EQ(nullptr, moved.Pixels);
    EXPECT_EQ(0, moved.Width);
    EXPECT_EQ(0, moved.Height);
    EXPECT_EQ(0, moved.Depth);
    EXPECT_EQ(0, moved.MipMapCount);
    EXPECT_EQ(cFormat::None, moved.Format);
}

TEST(Image, CopyFromDataAndAdoptABuffer) {
    unsigned char data[84];
    for (int i = 0; i < 84; i++) data[i] = (unsigned char)i;
    cImage copy(cImage::CopyCtor, data, cFormat::Rgba8, 4, 4, 1, 3);
    ASSERT_EQ(84, copy.GetSize());
    EXPECT_NE(data, copy.Pixels);
    EXPECT_EQ(0, memcmp(data, copy.Pixels, 84));
    EXPECT_EQ(83, copy.GetPixels(2)[3]);
    EXPECT_FALSE(copy.Copy(nullptr, cFormat::Rgba8, 4, 4));
    EXPECT_TRUE(copy.IsEmpty());

    unsigned char* buffer = cImage::AllocPixels(48);
    memset(buffer, 5, 48);
    cImage adopted(cImage::SetCtor, buffer, cFormat::Rgb8, 4, 4);
    EXPECT_EQ(buffer, adopted.Pixels);
    unsigned char* other = cImage::AllocPixels(16);
    adopted.Set(other, cFormat::R8, 4, 4);  // frees the first buffer (checked by the leak sanitizer)
    EXPECT_EQ(other, adopted.Pixels);
    EXPECT_EQ(cFormat::R8, adopted.Format);
}

TEST(Image, RectangleCopyTakesLevelZeroPixels) {
    cImage source = Coordinates(6, 4);
    ASSERT_TRUE(source.CreateMipMaps());
    cImage part(source, cRect(1.7f, 1.0f, 4.2f, 3.0f));  // truncated to 1..4 x 1..3
    ASSERT_FALSE(part.IsEmpty());
    EXPECT_EQ(3, part.Width);
    EXPECT_EQ(2, part.Height);
    EXPECT_EQ(1, part.Depth);
    EXPECT_EQ(1, part.MipMapCount);
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++) {
            EXPECT_EQ(x + 1, part.Pixels[(y * 3 + x) * 3]);
            EXPECT_EQ(y + 1, part.Pixels[(y * 3 + x) * 3 + 1]);
        }
    cImage whole;
    EXPECT_TRUE(whole.Copy(source, cRect(0, 0, 6, 4)));
    EXPECT_EQ(0, memcmp(whole.Pixels, source.Pixels, 72));

    // Outside the source, empty, reversed: the target stays empty.
    EXPECT_FALSE(whole.Copy(source, cRect(4, 0, 7, 2)));
    EXPECT_TRUE(whole.IsEmpty());
    EXPECT_FALSE(whole.Copy(source, cRect(-1, 0, 2, 2)));
    EXPECT_FALSE(whole.Copy(source, cRect(3, 0, 3, 2)));
    EXPECT_FALSE(whole.Copy(source, cRect(3, 2, 1, 0)));
    EXPECT_FALSE(whole.Copy(source, cRect(0, 0, 1e30f, 2)));
    EXPECT_FALSE(whole.Copy(source, cRect(__builtin_nanf(""), 0, 2, 2)));

    cImage blocks = Coordinates(8, 8);
    ASSERT_TRUE(blocks.Compress());
    EXPECT_FALSE(whole.Copy(blocks, cRect(0, 0, 4, 4)));
    EXPECT_TRUE(whole.IsEmpty());

    // Copying a rectangle of itself.
    cImage self = Coordinates(4, 4);
    EXPECT_TRUE(self.Copy(self, cRect(2, 2, 4, 4)));
    EXPECT_EQ(2, self.Width);
    EXPECT_EQ(2, self.Pixels[0]);
}
