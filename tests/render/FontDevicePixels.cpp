// Fonts follow the OpenGL device: text drawn, the device freed and made
// again with other textures made first, and the same text draws the same
// pixels, its glyph texture loaded again under the new device.
#include <gtest/gtest.h>

#include <cstring>

#include "zozud/image/Image.h"
#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"
#include "zozud/render/Render.h"

using namespace zozud;

namespace {

const cRect Area(0, 0, 200, 60);

// The text in white on black, read back as rows of Area.
cList<unsigned char> DrawText(int font) {
    cRender::ResetStates();
    cRender::Clear(true, true, cColor(0, 0, 0, 1));
    cRender::DrawString(font, "Hello, gjQ|", 10, 40, 0, cColor(1, 1, 1, 1));
    cList<unsigned char> rows;
    cImage shot;
    if (!cRender::ScreenShot(&shot) || shot.Width < Area.x1 || shot.Height < Area.y1) return rows;
    const int bpp = cFormat::GetBytesPerPixel(shot.Format);
    const int row = (int)Area.x1 * bpp;
    if (rows.Add(0, row * (int)Area.y1) < 0) return rows;
    for (int y = 0; y < (int)Area.y1; y++) memcpy(&rows[y * row], shot.Pixels + (int64_t)y * shot.Width * bpp, row);
    return rows;
}

int Lit(const cList<unsigned char>& rows) {
    int n = 0;
    for (int i = 0; i < rows.Count(); i++) n += rows[i] != 0;
    return n;
}

}  // namespace

TEST(DeviceGLFonts, TextDrawsTheSameOnANewDevice) {
    cList<cIO::Source*>& sources = cIO::GetSourcesMutable();
    sources.Add(new SourceFolder(ZOZUD_SOURCE_DIR, ""));  // Fonts/ and Shaders/PC/
    ASSERT_TRUE(cRender::Init(2));
    const int font = cRender::GetFontID("Calibri 11");
    ASSERT_GE(font, 0);
    cList<unsigned char> before = DrawText(font);
    ASSERT_GT(Lit(before), 100) << "no text drawn";

    cRender::Free();
    EXPECT_EQ(-1, cRender::GetFontTextureID(font)) << "the texture went with the device";
    ASSERT_TRUE(cRender::Init(2));
    cImage red(cFormat::Rgba8, 64, 64);  // textures that take the ids the old device had given
    memset(red.Pixels, 0xff, 64 * 64 * 4);
    for (int i = 0; i < 8; i++) cRender::AddTexture(red, -1);
    cList<unsigned char> after = DrawText(font);
    ASSERT_EQ(before.Count(), after.Count());
    int differ = 0;
    for (int i = 0; i < before.Count(); i++) differ += before[i] != after[i];
    EXPECT_EQ(0, differ) << "channels that differ after the device was made again";
    EXPECT_EQ(font, cRender::GetFontID("Calibri 11"));

    cRender::Free();
    delete sources.GetLast();
    sources.RemoveAt(sources.Count() - 1);
}
