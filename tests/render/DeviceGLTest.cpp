// The OpenGL device under a real (virtual) display: every check draws through
// the front end and reads the pixels back with ScreenShot or SaveRenderTarget.
// Failed image comparisons leave actual and expected BMPs in
// <build>/tests/output/DeviceGL/ for a person to look at.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "zozud/core/Log.h"
#include "zozud/image/Image.h"
#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"
#include "zozud/math/Rect.h"
#include "zozud/render/DeviceGL.h"
#include "zozud/render/Render.h"
#include "zozud/render/Viewer.h"

using namespace zozud;

namespace {

typedef std::function<cColor(int x, int y)> Pattern;

const cColor Black(0, 0, 0, 1), White(1, 1, 1, 1), Red(1, 0, 0, 1), Green(0, 1, 0, 1), Blue(0, 0, 1, 1);

int Channel(float f) { return (int)(f * 255.0f + 0.5f); }

// Compares a w x h window at (x, y) of an Rgb8 or Rgba8 image with a pattern,
// channel by channel within tolerance; saves both images on a mismatch.
::testing::AssertionResult Matches(const cImage& shot, int x0, int y0, int w, int h, const Pattern& expected,
                                   int tolerance, const char* name) {
    cImage actual(cFormat::Rgb8, w, h), wanted(cFormat::Rgb8, w, h);
    int bpp = cFormat::GetBytesPerPixel(shot.Format), bad = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const unsigned char* p = shot.Pixels + ((int64_t)(y0 + y) * shot.Width + x0 + x) * bpp;
            unsigned char* a = actual.Pixels + (y * w + x) * 3;
            unsigned char* e = wanted.Pixels + (y * w + x) * 3;
            cColor c = expected(x0 + x, y0 + y);
            int want[3] = {Channel(c.r), Channel(c.g), Channel(c.b)};
            for (int k = 0; k < 3; k++) {
                a[k] = p[k];
                e[k] = (unsigned char)want[k];
                if (std::abs(p[k] - want[k]) > tolerance && bad++ == 0) firstX = x0 + x, firstY = y0 + y;
            }
        }
    if (!bad) return ::testing::AssertionSuccess();
    cStr folder(ZOZUD_BINARY_DIR "/tests/output/DeviceGL");
    cIO::CreatePath(folder);
    cIO::SaveImage(cStr::Format("%s/%s_actual.bmp", folder.ToChar(), name), actual);
    cIO::SaveImage(cStr::Format("%s/%s_expected.bmp", folder.ToChar(), name), wanted);
    return ::testing::AssertionFailure() << name << ": " << bad << " channels differ, first at (" << firstX << ", "
                                         << firstY << "); images in " << folder.ToChar();
}

cImage Shot() {
    cImage image;
    EXPECT_TRUE(cRender::ScreenShot(&image));
    return image;
}

class DeviceGL : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The shader files live at the top of the source tree.
        cIO::GetSourcesMutable().Add(new SourceFolder(ZOZUD_SOURCE_DIR, ""));
        ASSERT_TRUE(cRender::Init(2));
    }
    static void TearDownTestSuite() { cRender::Free(); }
    void SetUp() override {
        ASSERT_NE(cRender::GetInstance(), nullptr);
        cRender::ResetStates();
        cRender::Clear(true, true, Black);
        nearest = cRender::GetSamplerStateID(cFilter::Nearest, cAddressMode::Clamp, cAddressMode::Clamp,
                                             cAddressMode::Clamp);
    }
    // Draws the texture at (x, y) at its own size, nearest texels.
    void DrawTexture(int id, int x, int y, int face = 0) {
        cRender::FillRectangleTexturedArgs args;
        args.SamplerStateID = nearest;
        args.FaceIndex = face;
        float w = (float)cRender::GetTextureWidth(id), h = (float)cRender::GetTextureHeight(id);
        cRender::FillRectangleTextured(cRect((float)x, (float)y, x + w, y + h), id, args);
    }
    int nearest = -1;
};

}  // namespace

// ---- Lines and fills: exact pixels ----

TEST_F(DeviceGL, OutlinesAndSolidFillsCoverExactlyTheirPixels) {
    cRender::DrawRectangle(0, 0, 10, 10, White);
    cRect rects[] = {cRect(20, 2, 26, 5), cRect(30, 3, 34, 12), cRect(40, 0, 60, 20), cRect(5, 5, 4, 9)};
    cRender::SetClipRect(cRect(0, 0, 50, 15));
    cRender::FillRectanglesSolid(rects, 4, Red);
    cRender::SetClipRect(cRect::Empty);
    cImage shot = Shot();
    EXPECT_TRUE(Matches(shot, 0, 0, 64, 24, [](int x, int y) {
        if (x <= 9 && y <= 9) return x == 0 || x == 9 || y == 0 || y == 9 ? White : Black;
        bool in = (x >= 20 && x < 26 && y >= 2 && y < 5) || (x >= 30 && x < 34 && y >= 3 && y < 12) ||
                  (x >= 40 && x < 50 && y < 15);
        return in ? Red : Black;
    }, 0, "outline_and_fills"));
}

// Consecutive fills (and consecutive lines) become few draws; what they
// show must not change: later calls cover earlier ones, each cell is clipped
// by its own rectangle (one fill spills past it and is cut), a fill under a
// moved world matrix lands where the matrix puts it, and a blend set between
// two fills applies to the second only.
TEST_F(DeviceGL, BatchedShapesKeepOrderClipsMatricesAndBlends) {
    cRenderDeviceGL* device = static_cast<cRenderDeviceGL*>(cRender::GetInstance());
    const int before = device->GetDrawCallCount();
    const int Cells = 20;
    auto cell = [](int i) { return cRect(i * 12.0f, 0, i * 12.0f + 10, 10); };
    for (int i = 0; i < Cells; i++) {
        cRect c = cell(i);
        cRender::SetClipRect(c);
        // Cell 7 spills 3 pixels past its clip on every side.
        cRender::FillRectangleSolid(i == 7 ? cRect(c.x0 - 3, c.y0, c.x1 + 3, c.y1 + 3) : c, Red);
        cRender::FillRectangleSolid(cRect(c.x0 + 2, c.y0 + 2, c.x1 - 2, c.y1 - 2), Green);
    }
    cRender::SetClipRect(cRect::Empty);
    for (int i = 0; i < Cells; i++) cRender::DrawLine(cell(i).x0, 12.0f, cell(i).x1, 12.0f, White);
    cRender::PushWorldMatrix();
    cRender::SetWorldMatrix(cMat4::Translation(0, 20));
    cRender::SetClipRect(cRect(0, 20, 5, 30));
    cRender::FillRectangleSolid(cRect(0, 0, 10, 10), Blue);  // (0, 20)..(5, 30) after the move and the clip
    cRender::PopWorldMatrix();
    cRender::SetClipRect(cRect::Empty);
    cRender::FillRectangleSolid(cRect(20, 20, 30, 30), Red);
    cRender::SetBlendState(cRender::GetBlendStateID(cBlendFactor::SrcAlpha, cBlendFactor::InvSrcAlpha,
                                                    cBlendMode::Add, 15));
    cRender::FillRectangleSolid(cRect(20, 20, 30, 30), cColor(0, 0, 1, 0.6f));
    cRender::SetBlendState(-1);
    cImage shot = Shot();  // draws what waits first
    const int draws = device->GetDrawCallCount() - before;
    EXPECT_LE(draws, 8) << "42 fills and 20 lines should not need one draw each";

    const cColor mixed(0.4f, 0, 0.6f, 1);
    EXPECT_TRUE(Matches(shot, 0, 0, Cells * 12, 32, [&](int x, int y) {
        if (y < 10) {
            int cx = x % 12;
            if (cx >= 10) return Black;  // between cells: cell 7's spill is cut
            return cx >= 2 && cx < 8 && y >= 2 && y < 8 ? Green : Red;
        }
        if (y == 12) return x % 12 <= 9 ? White : Black;
        if (y >= 20 && y < 30 && x < 5) return Blue;
        if (y >= 20 && y < 30 && x >= 20 && x < 30) return mixed;
        return Black;
    }, 1, "batched_shapes"));
}

// Text and fills interleaved: each fill that comes after a text and covers
// it hides it, the others leave it showing; an outline on the edge of its
// clip rectangle is whole; text drawn under a moved world matrix lands
// moved, though the matrix changes back before anything else is drawn.
TEST_F(DeviceGL, BatchedTextAndFillsKeepCallOrder) {
    // Not the font of the text test that follows: the font table outlives the
    // device, with the glyph texture of the device that loaded it.
    const int font = cRender::GetFontID("Tahoma 8");
    ASSERT_GE(font, 0);
    cRender::SetBlendState(cRender::GetBlendStateID(cBlendFactor::SrcAlpha, cBlendFactor::InvSrcAlpha,
                                                    cBlendMode::Add, 15));
    // Rows of cells 30 pixels high: a fill, text over it, and in odd rows a
    // fill over the text.
    const int Rows = 6;
    for (int i = 0; i < Rows; i++) {
        cRect cell(10, 10 + 30.0f * i, 110, 36 + 30.0f * i);
        cRender::SetClipRect(cell);
        cRender::FillRectangleSolid(cell, Blue);
        cRender::DrawString(font, "Wide", cell.x0 + 4, cell.y0 + 13, cRender::TextFlags::CenterY, White);
        if (i % 2) cRender::FillRectangleSolid(cRect(cell.x0, cell.y0, cell.x0 + 60, cell.y1), Green);
        cRender::DrawRectangle(cell, Red);
    }
    cRender::SetClipRect(cRect::Empty);
    cRender::PushWorldMatrix();
    cRender::SetWorldMatrix(cMat4::Translation(200, 0));
    cRender::DrawString(font, "Moved", 0, 20, 0, White);
    cRender::PopWorldMatrix();
    cRender::SetBlendState(-1);
    cImage shot = Shot();

    const int bpp = cFormat::GetBytesPerPixel(shot.Format);
    auto at = [&](int x, int y) { return shot.Pixels + ((int64_t)y * shot.Width + x) * bpp; };
    // Ink: a pixel with red and green (only the white text has both).
    auto inked = [&](int x0, int y0, int x1, int y1) {
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++)
                if (at(x, y)[0] > 64 && at(x, y)[1] > 64) return true;
        return false;
    };
    for (int i = 0; i < Rows; i++) {
        int y0 = 10 + 30 * i, y1 = y0 + 26;
        EXPECT_EQ(i % 2 == 0, inked(11, y0 + 1, 69, y1 - 1)) << "row " << i;
        for (int x = 10; x < 110; x++) {
            EXPECT_EQ(255, at(x, y0)[0]) << "bottom edge, row " << i << ", x " << x;
            EXPECT_EQ(255, at(x, y1 - 1)[0]) << "top edge, row " << i << ", x " << x;
        }
    }
    EXPECT_TRUE(inked(200, 10, 300, 40)) << "moved text";
    EXPECT_FALSE(inked(0, 12, 10, 40)) << "text left where the matrix was not";
}

TEST_F(DeviceGL, DitherIsACheckerAnchoredAtItsOrigin) {
    struct Case { cRect rect; cVec2 origin; } cases[] = {
        {cRect(3, 3, 13, 11), cVec2(3, 3)}, {cRect(20, 0, 31, 9), cVec2(21.4f, 0.6f)}};
    for (const Case& c : cases) cRender::FillRectangleDither(c.rect, c.origin, Red, Blue);
    cImage shot = Shot();
    for (const Case& c : cases) {
        int ox = (int)std::floor(c.origin.x + 0.5f), oy = (int)std::floor(c.origin.y + 0.5f);
        EXPECT_TRUE(Matches(shot, (int)c.rect.x0, (int)c.rect.y0, (int)c.rect.GetWidth(), (int)c.rect.GetHeight(),
                            [=](int x, int y) { return ((x - ox) + (y - oy)) % 2 == 0 ? Red : Blue; }, 0, "dither"));
    }
}

TEST_F(DeviceGL, GradientsEndInTheirColours) {
    struct Case { cRect rect; cRender::LinearGradient::Enum dir; cColor c0, c1; } cases[] = {
        {cRect(0, 0, 256, 4), cRender::LinearGradient::Horizontal, Black, White},
        {cRect(300, 0, 304, 256), cRender::LinearGradient::Vertical, Red, Blue},
    };
    for (const Case& c : cases) cRender::FillRectangleLinearGradient(c.rect, c.c0, c.c1, c.dir);
    cImage shot = Shot();
    for (const Case& c : cases) {
        bool h = c.dir == cRender::LinearGradient::Horizontal;
        int x1 = (int)c.rect.x1 - 1, y1 = (int)c.rect.y1 - 1;
        EXPECT_TRUE(Matches(shot, (int)c.rect.x0, (int)c.rect.y0, 1, 1, [&](int, int) { return c.c0; }, 1, "grad0"));
        EXPECT_TRUE(Matches(shot, h ? x1 : (int)c.rect.x0, h ? (int)c.rect.y0 : y1, 1, 1,
                            [&](int, int) { return c.c1; }, 1, "grad1"));
    }
    // A radial gradient: the centre colour in the middle, the bound colour
    // from the radius on (the corners of its square).
    cRender::FillCircleRadialGradient(cVec2(500, 100), 40, Red, Blue);
    shot = Shot();
    EXPECT_TRUE(Matches(shot, 500, 100, 1, 1, [](int, int) { return Red; }, 8, "radial_centre"));
    EXPECT_TRUE(Matches(shot, 461, 61, 1, 1, [](int, int) { return Blue; }, 0, "radial_corner"));
    // A cave corner leaves out the far side of its cave line; a gradient drawn
    // after it fills its whole rectangle again.
    cRender::CaveCornerArgs cave;
    cave.CaveFrom = cVec2(600, 208);
    cave.CaveTo = cVec2(608, 200);
    cave.GradRadius = 8;
    cave.CenterColor = cave.BoundColor = Green;
    cRender::DrawCaveCaveCorner(cRect(600, 200, 608, 208), cave);
    cRender::FillRectangleRadialGradient(cRect(560, 150, 600, 190), false, Red, Red);
    EXPECT_TRUE(Matches(Shot(), 560, 150, 40, 40, [](int, int) { return Red; }, 0, "radial_after_cave"));
}

// ---- Textures ----

// A texel pattern every format can hold: 8x8, distinct in every channel.
cColor Texel(int x, int y) { return cColor(x / 7.0f, y / 7.0f, ((x + y) % 4) / 3.0f, 1); }

cImage PatternImage(cFormat::Enum format) {
    cImage image(cFormat::Rgba32f, 8, 8);
    float* p = reinterpret_cast<float*>(image.Pixels);
    for (int i = 0; i < 64; i++) {
        cColor c = Texel(i % 8, i / 8);
        p[i * 4] = c.r, p[i * 4 + 1] = c.g, p[i * 4 + 2] = c.b, p[i * 4 + 3] = c.a;
    }
    if (format != cFormat::Rgba32f) image.ToFormat(format);
    return image;
}

// The colour texel (x, y) of a slice or face of an 8-bit image stands for; a grey image shows grey.
cColor Stored(const cImage& image, int slice, int x, int y) {
    const int bpp = cFormat::GetBytesPerPixel(image.Format);
    const unsigned char* p = image.GetSlice(0, slice) + (y * image.Width + x) * bpp;
    return bpp == 1 ? cColor(p[0] / 255.0f, p[0] / 255.0f, p[0] / 255.0f, 1)
                    : cColor(p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, 1);
}

TEST_F(DeviceGL, TexturesShowTheirTexelsAsStored) {
    struct Case { cFormat::Enum format; bool dxt; int tolerance; const char* name; } cases[] = {
        {cFormat::Rgba8, false, 0, "rgba8"}, {cFormat::Rgb16, false, 1, "rgb16"},
        {cFormat::Rgba16f, false, 1, "rgba16f"}, {cFormat::Rgb32f, false, 1, "rgb32f"},
        // The GL widens the 5- and 6-bit end points by bit replication, our
        // decoder by shifting: up to 7 apart.
        {cFormat::Rgb8, true, 7, "dxt1"},
    };
    for (const Case& c : cases) {
        cImage image = PatternImage(c.format), expected = image;
        if (c.dxt) {
            ASSERT_TRUE(image.Compress());
            expected = image;
            ASSERT_TRUE(expected.Uncompress());  // our decoder is the reference
        }
        expected.ToFormat(cFormat::Rgb8);
        int id = cRender::AddTexture(image, nearest);
        ASSERT_GE(id, 0) << c.name;
        EXPECT_EQ(cRender::GetTextureFormat(id), image.Format);
        cRender::Clear(true, false, Black);
        DrawTexture(id, 0, 0);
        EXPECT_TRUE(Matches(Shot(), 0, 0, 8, 8, [&](int x, int y) { return Stored(expected, 0, x, y); }, c.tolerance,
                            c.name));
        cRender::FreeTexture(id);
    }

    // A grey image, and the six faces of a cube, each distinct.
    cImage grey(cFormat::R8, 4, 4), cube(cFormat::Rgba8, 4, 4, 0);
    for (int i = 0; i < 16; i++) grey.Pixels[i] = (unsigned char)(i * 16);
    for (int64_t i = 0; i < cube.GetSize(); i++)  // 64 bytes a face
        cube.Pixels[i] = i % 4 == 3 ? 255 : (unsigned char)(i / 64 * 40 + i % 64 * 3);
    const int greyID = cRender::AddTexture(grey, nearest), cubeID = cRender::AddTexture(cube, nearest);
    ASSERT_GE(cubeID, 0);
    EXPECT_EQ(cRender::GetTextureDepth(cubeID), 0);
    cRender::Clear(true, false, Black);
    DrawTexture(greyID, 0, 0);
    for (int face = 0; face < 6; face++) DrawTexture(cubeID, 10 + face * 6, 0, face);
    cImage shot = Shot();
    EXPECT_TRUE(Matches(shot, 0, 0, 4, 4, [&](int x, int y) { return Stored(grey, 0, x, y); }, 0, "grey"));
    for (int face = 0; face < 6; face++)
        EXPECT_TRUE(Matches(shot, 10 + face * 6, 0, 4, 4, [&](int x, int y) {
            return Stored(cube, face, x - 10 - face * 6, y);
        }, 1, "cube_face"));
}

TEST_F(DeviceGL, DirtyRectanglesUpdateOnlyTheirTexels) {
    int id = cRender::AddTexture(PatternImage(cFormat::Rgba8), nearest);
    cImage white(cFormat::Rgba8, 8, 8);
    memset(white.Pixels, 255, 8 * 8 * 4);
    cList<cRect> dirty;
    dirty.Add(cRect(2, 3, 5, 6));
    dirty.Add(cRect(0, 0, 1, 1));
    cRender::UpdateTexture(id, white, dirty);
    DrawTexture(id, 0, 0);
    EXPECT_TRUE(Matches(Shot(), 0, 0, 8, 8, [](int x, int y) {
        bool in = (x >= 2 && x < 5 && y >= 3 && y < 6) || (x == 0 && y == 0);
        return in ? White : Texel(x, y);
    }, 1, "update"));
}

TEST_F(DeviceGL, ExpansionLevelsAndVolumes) {
    // Expansion rounds each side to the nearest power of two.
    struct Case { int w, h, d; bool expand, mips; int wantW, wantH, wantLevels; } cases[] = {
        {6, 5, 1, true, false, 8, 4, 1}, {6, 5, 1, false, false, 6, 5, 1},
        {8, 8, 1, true, true, 8, 8, 4},  {4, 4, 3, true, false, 4, 4, 1},
    };
    for (const Case& c : cases) {
        cImage image(cFormat::Rgba8, c.w, c.h, c.d);
        for (int64_t i = 0; i < image.GetSize(); i++) image.Pixels[i] = i % 4 == 3 ? 255 : (unsigned char)(i * 7);
        if (c.mips) {
            ASSERT_TRUE(image.CreateMipMaps());
        }
        cRender::SetExpandTexturesToPowerOfTwo(c.expand);
        int id = cRender::AddTexture(image, nearest);
        cRender::SetExpandTexturesToPowerOfTwo(true);
        ASSERT_GE(id, 0);
        EXPECT_EQ(cRender::GetTextureWidth(id), c.wantW);
        EXPECT_EQ(cRender::GetTextureHeight(id), c.wantH);
        EXPECT_EQ(cRender::GetTextureDepth(id), c.d);
        EXPECT_EQ(cRender::GetTextureMipMapCount(id), c.wantLevels);
        if (c.d == 3) {  // slice 2 of the volume, as stored
            DrawTexture(id, 0, 0, 2);
            EXPECT_TRUE(Matches(Shot(), 0, 0, 4, 4, [&](int x, int y) { return Stored(image, 2, x, y); }, 1,
                                "volume_slice"));
        }
        cRender::FreeTexture(id);
    }
}

// ---- Buffers ----

TEST_F(DeviceGL, BufferDrawsAndStreamedDrawsInterleave) {
    using PC = cVertex::PositionColored;
    unsigned red = cRender::PackColor(Red);
    PC quad[4] = {{cVec3(0, 0, 0), red}, {cVec3(0, 4, 0), red}, {cVec3(4, 4, 0), red}, {cVec3(4, 0, 0), red}};
    unsigned short indices[6] = {0, 1, 2, 0, 2, 3};
    int vb = cRender::AddVertexBuffer(quad, sizeof quad), ib = cRender::AddIndexBuffer(indices, 6, 2);
    ASSERT_GE(vb, 0);
    ASSERT_GE(ib, 0);
    int solid = cRender::GetShaderID("SolidUI", PC::FormatID);
    for (int i = 0; i < 3; i++) {
        cRender::SetWorldMatrix(cMat4::Translation(10.0f * (float)i, 0, 0));
        cRender::SetShader(solid);
        cRender::SetVertexBuffer(vb);
        cRender::SetIndexBuffer(ib);
        cRender::DrawIndexed(cTopology::Triangles);
        cRender::SetWorldMatrix(cMat4::Identity);
        cRender::FillRectangleSolid(10 * i + 5, 0, 3, 4, Green);
    }
    cRender::FreeVertexBuffer(vb);
    cRender::SetVertexBuffer(vb);
    cRender::DrawIndexed(cTopology::Triangles);  // freed: nothing
    EXPECT_TRUE(Matches(Shot(), 0, 0, 30, 6, [](int x, int y) {
        if (y >= 4) return Black;
        int cell = x % 10;
        return cell < 4 ? Red : cell >= 5 && cell < 8 ? Green : Black;
    }, 0, "buffers"));
    cRender::FreeIndexBuffer(ib);
}

TEST_F(DeviceGL, WorldViewAndProjectionPlaceThreeDimensionalDrawing) {
    cViewer viewer;
    viewer.Viewport = cRect(0, 0, 800, 600);
    viewer.ViewMatrix = cMat4::Translation(5, 0, 0);
    viewer.ProjectionMatrix = cMat4::Ortho(0, 800, 0, 600, -1, 1);
    cRender::SetViewer(&viewer);
    cRender::SetWorldMatrix(cMat4::Translation(0, 3, 0));
    using PC = cVertex::PositionColored;
    unsigned c = cRender::PackColor(Green);
    PC quad[4] = {{cVec3(0, 0, 0), c}, {cVec3(0, 10, 0), c}, {cVec3(10, 10, 0), c}, {cVec3(10, 0, 0), c}};
    int indices[6] = {0, 1, 2, 0, 2, 3};
    cRender::SetShader(cRender::GetShaderID("Colored", PC::FormatID));
    cRender::DrawIndexed(cTopology::Triangles, quad, 4, indices, 6, 4);
    cRender::SetWorldMatrix(cMat4::Identity);
    cRender::SetViewer(nullptr);
    EXPECT_TRUE(Matches(Shot(), 0, 0, 20, 16, [](int x, int y) {
        return x >= 5 && x < 15 && y >= 3 && y < 13 ? Green : Black;
    }, 0, "world_view_projection"));
}

// ---- Render targets ----

TEST_F(DeviceGL, RenderTargetsAreDrawnSavedAndShownTheRightWayUp) {
    int target = cRender::AddRenderTarget(16, 8, cFormat::Rgba8, nearest, false, 0);
    ASSERT_GE(target, 0);
    EXPECT_EQ(cRender::GetTextureRenderTargetUsage(target), cRenderDeviceGL::UsageColor);
    cRender::PushRenderTarget(target);
    cRender::Clear(true, true, Green);
    cRender::FillRectangleSolid(0, 0, 4, 2, Red);  // the lower left corner
    cRender::PopRenderTarget();
    auto expected = [](int x, int y) { return x < 4 && y < 2 ? Red : Green; };

    cImage saved;
    ASSERT_TRUE(cRender::SaveRenderTarget(target, &saved));
    EXPECT_TRUE(Matches(saved, 0, 0, 16, 8, expected, 0, "target_saved"));
    DrawTexture(target, 0, 0);
    EXPECT_TRUE(Matches(Shot(), 0, 0, 16, 8, expected, 0, "target_shown"));

    int cube = cRender::AddRenderTarget(8, 8, cFormat::Rgba8, nearest, false, cRenderDeviceGL::TargetCube);
    int face = 3;
    cRender::PushRenderTarget(&cube, 1, cRender::AddRenderDepth(cube), &face, false);
    cRender::Clear(true, true, Blue);
    cRender::PopRenderTarget();
    ASSERT_TRUE(cRender::SaveRenderTarget(cube, &saved));
    ASSERT_TRUE(saved.IsCube());
    cImage faceImage(cImage::CopyCtor, saved.GetSlice(0, face), cFormat::Rgba8, 8, 8);
    EXPECT_TRUE(Matches(faceImage, 0, 0, 8, 8, [](int, int) { return Blue; }, 0, "cube_target"));
}

// ---- Failures ----

TEST_F(DeviceGL, BadInputGivesMinusOneAndUnknownIdsDoNothing) {
    cImage pvr(cFormat::Pvrtc4Rgba, 8, 8);
    cImage huge(cFormat::R8, 1 << 16, 1);
    EXPECT_EQ(cRender::AddTexture(pvr, -1), -1);
    EXPECT_EQ(cRender::AddTexture(huge, -1), -1);
    EXPECT_EQ(cRender::AddTexture(cImage(), -1), -1);
    EXPECT_EQ(cRender::GetShaderID("NoSuchShader", cVertex::PositionColored::FormatID), -1);

    int id = cRender::AddTexture(PatternImage(cFormat::Rgba8), -1);
    cRender::FreeTexture(id);
    for (int bad : {id, 12345, -7}) {
        EXPECT_EQ(cRender::GetTextureWidth(bad), -1);
        cRender::SetTexture(0, bad, -1);
        cRender::FreeTexture(bad);
        cRender::FreeShader(bad);
        cRender::SetShader(bad);
        cRender::SetShaderConst(bad * 256 + 3, 1.0f);
        cRender::SetVertexBuffer(bad);
        cRender::DrawArrays(cTopology::Triangles);
        cRender::PushRenderTarget(bad);
        cRender::PopRenderTarget();
        cImage none;
        EXPECT_FALSE(cRender::SaveRenderTarget(bad, &none));
    }
    // Indices past the vertices draw nothing.
    cVertex::PositionColored v[3] = {};
    int indices[3] = {0, 1, 99};
    cRender::SetShader(cRender::GetShaderID("SolidUI", cVertex::PositionColored::FormatID));
    cRender::DrawIndexed(cTopology::Triangles, v, 3, indices, 3, 4);
}

TEST_F(DeviceGL, BrokenShadersAndMissingDisplaysFailCleanly) {
    cStr folder(ZOZUD_BINARY_DIR "/tests/output/DeviceGLShaders");
    cIO::CreatePath(folder + "/Shaders/PC");
    const char broken[] = "// Vertex shader\nvoid main() { gl_Position = vec4(0); }\n"
                          "// Fragment shader\nout vec4 o_Color;\nvoid main() { o_Color = undefined_name; }\n";
    ASSERT_TRUE(cIO::SaveFile(folder + "/Shaders/PC/BrokenTest.glsl", broken, sizeof broken - 1));
    cIO::GetSourcesMutable().Add(new SourceFolder(folder, ""));
    int before = cLog::GetLog().Length();
    EXPECT_EQ(cRender::GetShaderID("BrokenTest", cVertex::PositionColored::FormatID), -1);
    cStr logged(cLog::GetLog().ToChar() + before);
    EXPECT_GE(logged.IndexOf("Shaders/PC/BrokenTest.glsl\", fragment shader"), 0) << logged.ToChar();
    EXPECT_GE(logged.IndexOf("undefined_name"), 0) << logged.ToChar();  // the compiler's own message

    cRender::Free();
    const char* display = getenv("DISPLAY");
    cStr saved(display ? display : "");
    setenv("DISPLAY", ":4321", 1);
    EXPECT_FALSE(cRender::Init(2));
    setenv("DISPLAY", saved.ToChar(), 1);
    EXPECT_TRUE(cRender::Init(2));
}
