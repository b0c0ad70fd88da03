// Splines drawn by the OpenGL device under a real (virtual) display, read
// back and checked by pixel: the curve of open and closed splines, where the
// transform puts it, and the handles shown only while editing.
// Set ZOZUD_SPLINE_SHOT to a file name to keep a screenshot of the editing view.
#include <gtest/gtest.h>

#include <cstdlib>

#include "zozud/image/Image.h"
#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"
#include "zozud/render/DeviceGL.h"
#include "zozud/render/Render.h"
#include "zozud/render/Viewer.h"
#include "zozud/view/Spline.h"

using namespace zozud;

namespace {

const cColor Black(0, 0, 0, 1);

struct Shot {
    cImage image;
    Shot() { EXPECT_TRUE(cRender::ScreenShot(&image)); }
    // Whether the pixel (x, y), y up from the bottom row, has the colour.
    bool Is(int x, int y, const cColor& c) const {
        int bpp = cFormat::GetBytesPerPixel(image.Format);
        const unsigned char* p = image.Pixels + ((int64_t)y * image.Width + x) * bpp;
        float want[3] = {c.r, c.g, c.b};
        for (int k = 0; k < 3; k++)
            if (std::abs(p[k] - (int)(want[k] * 255 + 0.5f)) > 2) return false;
        return true;
    }
    // Whether the pixel or one of its eight neighbours has the colour.
    bool Near(int x, int y, const cColor& c) const { return Count(x - 1, y - 1, x + 2, y + 2, c) > 0; }
    // How many pixels of the rectangle have the colour.
    int Count(int x0, int y0, int x1, int y1, const cColor& c) const {
        int n = 0;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++) n += Is(x, y, c);
        return n;
    }
};

// World units are pixels: an orthographic viewer over the whole screen.
class SplinePixels : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cIO::GetSourcesMutable().Add(new SourceFolder(ZOZUD_SOURCE_DIR, ""));
        ASSERT_TRUE(cRender::Init(2));
    }
    static void TearDownTestSuite() { cRender::Free(); }
    void SetUp() override {
        ASSERT_NE(cRender::GetInstance(), nullptr);
        cRenderDeviceGL* gl = static_cast<cRenderDeviceGL*>(cRender::GetInstance());
        width = gl->GetScreenWidth(), height = gl->GetScreenHeight();
        viewer.Viewport = cRect(0, 0, (float)width, (float)height);
        viewer.IsOrtho = true;
        viewer.OrthoZoom = 1;
        viewer.ViewMatrix = cMat4::Identity;
        viewer.ProjectionMatrix = cMat4::Ortho(0, (float)width, 0, (float)height, -100, 100);
        cRender::SetViewer(&viewer);
        cRender::ResetStates();
        cRender::Clear(true, true, Black);
    }
    void TearDown() override {
        cRender::SetViewer(nullptr);
        cWidgets::FreeAll();
    }
    cViewer viewer;
    int width = 0, height = 0;
};

// Three nodes of a triangle with straight handles: each segment a straight side.
void Triangle(cSpline* s, bool closed) {
    const cVec3 c[3] = {cVec3(100.5f, 100.5f, 0), cVec3(300.5f, 100.5f, 0), cVec3(200.5f, 260.5f, 0)};
    for (int i = 0; i < 3; i++) {
        cVec3 prev = c[(i + 2) % 3], next = c[(i + 1) % 3];
        s->AddNode(c[i] + (prev - c[i]) / 3, c[i], c[i] + (next - c[i]) / 3);
    }
    s->Closed = closed;
    s->Invalidate();
}

}  // namespace

TEST_F(SplinePixels, OpenAndClosedCurvesDrawTheirSegments) {
    for (bool closed : {false, true}) {
        cRender::Clear(true, true, Black);
        cSpline s;
        Triangle(&s, closed);
        s.OnRender();
        Shot shot;
        const cColor& c = cSpline::CurveColor;
        SCOPED_TRACE(closed ? "closed" : "open");
        EXPECT_TRUE(shot.Is(200, 100, c) && shot.Near(250, 180, c));  // the first two sides
        EXPECT_EQ(closed, shot.Near(150, 180, c));                     // the closing side
        EXPECT_TRUE(shot.Is(200, 160, Black));                         // inside
        // No handles while not editing.
        EXPECT_EQ(0, shot.Count(0, 0, width, height, cSpline::EndPointColor) +
                         shot.Count(0, 0, width, height, cSpline::ControlColor));
    }
}

TEST_F(SplinePixels, TransformPlacesTheCurve) {
    cSpline s;
    s.AddNode(cVec3(0, 0.5f, 0), cVec3(10.5f, 0.5f, 0), cVec3(20, 0.5f, 0));
    s.AddNode(cVec3(190, 0.5f, 0), cVec3(200.5f, 0.5f, 0), cVec3(210, 0.5f, 0));
    s.Transform.Translate = cVec3(50, 300, 0);
    s.OnRender();
    Shot shot;
    EXPECT_EQ(180, shot.Count(70, 300, 250, 301, cSpline::CurveColor));  // the whole row, moved
    EXPECT_EQ(0, shot.Count(0, 0, width, 299, cSpline::CurveColor));
    EXPECT_EQ(0, shot.Count(0, 302, width, height, cSpline::CurveColor));
    EXPECT_EQ(0, shot.Count(0, 0, 59, height, cSpline::CurveColor));
}

TEST_F(SplinePixels, EditingShowsEndPointsControlVerticesAndHandles) {
    cSpline s;
    // Vertical handles: the curve leaves each end point upwards.
    s.AddNode(cVec3(100.5f, 40.5f, 0), cVec3(100.5f, 100.5f, 0), cVec3(100.5f, 160.5f, 0));
    s.AddNode(cVec3(300.5f, 160.5f, 0), cVec3(300.5f, 100.5f, 0), cVec3(300.5f, 40.5f, 0));
    s.Edit();
    s.OnRender();
    Shot shot;
    if (const char* file = std::getenv("ZOZUD_SPLINE_SHOT")) cIO::SaveImage(file, shot.image);
    // End points: 9 by 9 squares; control vertices: 7 by 7.
    EXPECT_EQ(81, shot.Count(90, 90, 111, 111, cSpline::EndPointColor));
    EXPECT_EQ(81, shot.Count(290, 90, 311, 111, cSpline::EndPointColor));
    const int cv[4][2] = {{100, 40}, {100, 160}, {300, 160}, {300, 40}};
    for (const auto& p : cv) EXPECT_EQ(49, shot.Count(p[0] - 8, p[1] - 8, p[0] + 9, p[1] + 9, cSpline::ControlColor)) << p[0] << "," << p[1];
    // Handle lines between them, drawn over the curve.
    EXPECT_TRUE(shot.Is(100, 70, cSpline::HandleColor));
    EXPECT_TRUE(shot.Is(300, 130, cSpline::HandleColor));
    // The curve bulges up between the nodes: its top at t = 0.5 is 100.5 + 0.75 * 60 = 145.5.
    EXPECT_TRUE(shot.Is(200, 145, cSpline::CurveColor));
    EXPECT_TRUE(shot.Is(200, 150, Black));

    s.FreeTools();
    cRender::Clear(true, true, Black);
    s.OnRender();
    Shot after;
    EXPECT_EQ(0, after.Count(0, 0, width, height, cSpline::EndPointColor));
    EXPECT_TRUE(after.Is(200, 145, cSpline::CurveColor));
}
