// Text through the OpenGL device under the virtual display: the committed
// default font drawn and read back with ScreenShot. Ink lies inside the
// measured tight rectangle and reaches each of its edges, and glyphs stand
// upright (the bar of a "T" is at its top).
#include <gtest/gtest.h>

#include <cstdlib>

#include "zozud/image/Image.h"
#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"
#include "zozud/render/Render.h"

using namespace zozud;

namespace {

struct Ink {
    cRect box = cRect::Empty;  // every pixel with ink
    int   rows[2] = {0, 0};    // inked pixels in the bottom and the top row of a rectangle
};

Ink Read(const cImage& shot, const cRect& area, const cRect& rows) {
    Ink ink;
    const int bpp = cFormat::GetBytesPerPixel(shot.Format);
    for (int y = (int)area.y0; y < (int)area.y1; y++)
        for (int x = (int)area.x0; x < (int)area.x1; x++) {
            if (shot.Pixels[((int64_t)y * shot.Width + x) * bpp] == 0) continue;
            ink.box.AddRect(cRect((float)x, (float)y, x + 1.0f, y + 1.0f));
            if (x >= rows.x0 && x < rows.x1) {
                if (y == (int)rows.y0) ink.rows[0]++;
                if (y == (int)rows.y1 - 1) ink.rows[1]++;
            }
        }
    return ink;
}

}  // namespace

TEST(DeviceGLText, InkFillsTheMeasuredTightRectangleUpright) {
    cList<cIO::Source*>& sources = cIO::GetSourcesMutable();
    sources.Add(new SourceFolder(ZOZUD_SOURCE_DIR, ""));  // Fonts/ and Shaders/PC/
    ASSERT_TRUE(cRender::Init(2));
    cRender::ResetStates();
    cRender::Clear(true, true, cColor(0, 0, 0, 1));
    const int font = cRender::GetFontID("Calibri 11");
    ASSERT_GE(font, 0);

    struct Case { const char* text; float x, y; int flags; } cases[] = {
        {"Hello, gjQ|", 20, 100, 64}, {"T", 200, 100, 64}, {"Tahoma 8 \xc3\xa9", 20, 40, 8 | 64}};
    cRect tight[3];
    for (int i = 0; i < 3; i++) {
        const Case& c = cases[i];
        tight[i] = cRender::DrawString(font, c.text, c.x, c.y, c.flags | 32, nullptr);
        EXPECT_EQ(tight[i], cRender::DrawString(font, c.text, c.x, c.y, c.flags, cColor(1, 1, 1, 1)));
    }
    cImage shot;
    ASSERT_TRUE(cRender::ScreenShot(&shot));
    if (getenv("ZOZUD_TEXT_SHOT")) cIO::SaveImage(getenv("ZOZUD_TEXT_SHOT"), shot);
    const cRect all(0, 0, 300, 150);
    ASSERT_GE(shot.Width, 300);
    Ink whole = Read(shot, all, cRect::Zero);
    cRect expected = cRect::Empty;
    for (const cRect& r : tight) expected.AddRect(r);
    EXPECT_EQ(expected, whole.box) << "ink outside its tight rectangles, or edges not reached";
    for (const cRect& r : tight) {
        Ink one = Read(shot, r, cRect::Zero);
        EXPECT_EQ(r, one.box);
    }
    Ink t = Read(shot, tight[1], tight[1]);
    EXPECT_GT(t.rows[1], 2 * t.rows[0]) << "the bar of the T belongs at the top (y up)";

    cRender::Free();
    delete sources.GetLast();
    sources.RemoveAt(sources.Count() - 1);
}
