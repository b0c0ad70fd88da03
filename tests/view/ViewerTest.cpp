// The viewers: camera arithmetic against known numbers and against the math
// layer, and navigation driven by queued input events.
#include <gtest/gtest.h>

#include <cmath>

#include "view/ViewTestSupport.h"
#include "zozud/math/Mat3.h"
#include "zozud/math/Vec4.h"
#include "zozud/view/FreeViewer.h"

using namespace zozud;
using zozud_test::FakeInput;

namespace {

void ExpectNear(const cVec3& a, const cVec3& b, float eps, const char* what) {
    EXPECT_NEAR(a.x, b.x, eps) << what;
    EXPECT_NEAR(a.y, b.y, eps) << what;
    EXPECT_NEAR(a.z, b.z, eps) << what;
}

struct Viewer : cFreeViewer {
    Viewer() {
        Viewport = cRect(0, 0, 800, 600);
        Update();
    }
};

}  // namespace

TEST(Viewer, DefaultsAndHome) {
    cViewer plain;
    EXPECT_EQ(67.5f, plain.Fov);
    EXPECT_EQ(0.1f, plain.ZNear);
    EXPECT_EQ(2000.0f, plain.ZFar);

    Viewer v;
    EXPECT_NEAR(20.0f, (v.Position - cVec3(0, 0, 0)).Length(), 1e-4f);
    cAngles a = v.Orient.ToAngles();
    EXPECT_NEAR(-28.0f, a.Pitch, 1e-3f);
    EXPECT_NEAR(45.0f, a.Yaw, 1e-3f);
    EXPECT_NEAR(0.0f, a.Roll, 1e-3f);
    // The camera looks at the centre: the origin projects to the viewport's middle.
    cVec3 s;
    ASSERT_TRUE(v.WorldToScreen(cVec3(0, 0, 0), &s));
    EXPECT_NEAR(400.0f, s.x, 1e-2f);
    EXPECT_NEAR(300.0f, s.y, 1e-2f);
    EXPECT_NEAR(800.0f / 600.0f, v.WorkAspect, 1e-6f);
}

TEST(Viewer, DollyTrackAndZoomArithmetic) {
    Viewer v;
    cVec3 forward = v.GetForward(), camera = v.Position;
    v.Dolly(cVec2(150, 0));  // 30 units forward, 10 past the centre
    EXPECT_EQ(0.0f, v.Distance);
    ExpectNear(v.Center, forward * 10.0f, 1e-4f, "centre pushed by the excess");
    ExpectNear(v.Position, camera + forward * 30.0f, 1e-3f, "camera moved the whole way");

    cVec3 centre = v.Center, right = v.GetRight();
    v.Track(cVec2(100, 0));  // 0.001 * (0 + 10) per pixel
    ExpectNear(v.Center, centre - right * 1.0f, 1e-4f, "track at distance 0");

    v.SetOrthoProj(3);
    EXPECT_EQ(20.0f, v.OrthoZoom);
    v.Dolly(cVec2(10, 0));
    EXPECT_NEAR(20.4f, v.OrthoZoom, 1e-4f);
    for (int i = 0; i < 3; i++) v.Dolly(cVec2(100000, 0));
    EXPECT_EQ(1000.0f, v.OrthoZoom);
    centre = v.Center;
    v.Track(cVec2(100, -50));  // one pixel is 1 / zoom units
    ExpectNear(v.Center, centre - cVec3(0.1f, -0.05f, 0), 1e-5f, "orthographic track");
}

TEST(Viewer, TumbleKeepsTheHorizonLevelAndSnapAxisFindsTheNearestView) {
    Viewer v;
    for (int i = 0; i < 20; i++) v.Tumble(cVec2(37, i % 3 == 0 ? 11 : 0));
    EXPECT_NEAR(0.0f, v.GetRight().y, 1e-5f);
    v.SetView(3);
    v.Tumble(cVec2(20, 15));  // a few degrees off looking down -Z
    v.SnapAxis();
    ExpectNear(v.GetForward(), cVec3(0, 0, -1), 1e-5f, "forward");
    ExpectNear(v.GetUp(), cVec3(0, 1, 0), 1e-5f, "up");
}

TEST(Viewer, PickRayProjectionAndCullingAgreeWithTheMatrices) {
    Viewer v;
    for (int ortho = 0; ortho < 2; ortho++) {
        if (ortho) v.SetOrthoProj(0);
        cSeg ray = v.GetPickRay(cVec2(0, 0));
        ExpectNear(ray.direction, v.GetForward(), 1e-5f, "centre ray");
        const cVec3 points[] = {cVec3(0, 0, 0), cVec3(3, -2, 1), cVec3(-5, 4, 7.5f), cVec3(0.25f, 9, -3)};
        for (const cVec3& p : points) {
            cVec3 s;
            ASSERT_TRUE(v.WorldToScreen(p, &s));
            ExpectNear(v.ScreenToWorld(s), p, 1e-4f * 20, "round trip");
            // The ray through the pixel passes through the point.
            cSeg r = v.GetPickRayFromScreen(cVec2(s.x, s.y));
            cVec3 toP = p - r.start;
            EXPECT_NEAR(0.0f, toP.Cross(r.direction).Length(), 2e-3f);
        }
    }
    v.SetPerspProj();
    EXPECT_FALSE(v.CullPoint(v.Center));
    EXPECT_TRUE(v.CullPoint(v.Position - v.GetForward()));            // behind
    EXPECT_TRUE(v.CullPoint(v.Position + v.GetForward() * 3000.0f));  // beyond far
    cVec2 s;
    EXPECT_FALSE(v.WorldToClosestScreenPoint(v.Position - v.GetForward() + v.GetRight(), &s));
    EXPECT_TRUE(s.x >= 0 && s.x <= 800 && s.y >= 0 && s.y <= 600);
}

TEST(Viewer, PushPopRestoresTheCameraAndFrameFitsTheBox) {
    Viewer v;
    cMat4 view = v.ViewMatrix, proj = v.ProjectionMatrix;
    v.PushState();
    v.Position = cVec3(1, 2, 3);
    v.SetOrthoProj(2);
    v.PopState();
    EXPECT_TRUE(cMat4::Equals(view, v.ViewMatrix, 1e-6f));
    EXPECT_TRUE(cMat4::Equals(proj, v.ProjectionMatrix, 1e-6f));
    EXPECT_FALSE(v.IsOrtho);

    cBounds box(cVec3(10, -1, 4), cVec3(14, 5, 6));
    for (int ortho = 0; ortho < 2; ortho++) {
        if (ortho) v.SetOrthoProj(0);
        v.Frame(box, cMat4::Translation(1, 0, 0), cRect());
        cVec3 corners[8];
        box.ToPoints(corners);
        for (cVec3& c : corners) {
            cVec3 s;
            ASSERT_TRUE(v.WorldToScreen(c + cVec3(1, 0, 0), &s));
            EXPECT_TRUE(s.x >= 0 && s.x <= 800 && s.y >= 0 && s.y <= 600) << s.x << " " << s.y;
        }
    }
}

TEST(FreeViewerInput, KeysButtonsAndTheAltProtocol) {
    FakeInput in;
    Viewer& v = *FakeInput::Own(new Viewer);
    in.Press(cInput::NumPad2);
    ExpectNear(v.GetForward(), cVec3(0, 0, -1), 1e-5f, "NumPad2 looks down -Z");
    in.Press(cInput::NumPad5);
    EXPECT_TRUE(v.IsOrtho);
    in.Press(cInput::NumPad5);
    EXPECT_FALSE(v.IsOrtho);
    in.Press(cInput::Home);
    ExpectNear(v.Orient.ToAngles().ToForward(), cAngles(-28, 45, 0).ToForward(), 1e-4f, "home");

    // Without "Alt" a press while idle does nothing.
    cQuat before = v.Orient;
    in.Press(cInput::LeftButton);
    EXPECT_EQ(0, v.GetMode());
    EXPECT_FALSE(cWidgets::IsCaptured());
    in.MoveBy(cVec2(30, 0));
    EXPECT_EQ(before, v.Orient);
    in.Release(cInput::LeftButton);

    // Alt + left tumbles; releasing the button with Alt held waits; Alt up ends.
    in.Alt(true);
    in.Press(cInput::LeftButton);
    EXPECT_EQ(2, v.GetMode());
    EXPECT_TRUE(cWidgets::IsCaptured(&v));
    in.MoveBy(cVec2(30, 0));
    EXPECT_NE(before, v.Orient);
    in.Press(cInput::RightButton);  // swallowed: one drag at a time
    EXPECT_EQ(2, v.GetMode());
    in.Release(cInput::RightButton);
    in.Release(cInput::LeftButton);
    EXPECT_EQ(4, v.GetMode());
    in.Press(cInput::RightButton);  // a second drag from waiting: dolly
    EXPECT_EQ(3, v.GetMode());
    float distance = v.Distance;
    in.MoveBy(cVec2(10, 0));
    EXPECT_NEAR(distance - 2.0f, v.Distance, 1e-4f);
    in.Release(cInput::RightButton);
    in.Alt(false);
    EXPECT_EQ(0, v.GetMode());
    EXPECT_FALSE(cWidgets::IsCaptured());

    // The wheel keeps the camera where it is and moves the orbit centre.
    cVec3 camera = v.Position;
    in.Alt(true);
    in.Wheel(cInput::WheelDown);
    EXPECT_EQ(4, v.GetMode());
    EXPECT_NEAR(distance - 2.0f - 1.2f, v.Distance, 1e-4f);
    ExpectNear(v.Position, camera, 1e-4f, "camera after the wheel");
    in.Alt(false);
    EXPECT_FALSE(cWidgets::IsCaptured());

    v.InputEnabled = false;
    in.Press(cInput::NumPad5);
    EXPECT_FALSE(v.IsOrtho);
}
