// The viewers: camera arithmetic against known numbers and against the math
// layer, and navigation driven by queued input events.
#include <gtest/gtest.h>

#include <cmath>

#include "render/RecordingDevice.h"
#include "view/ViewTestSupport.h"
#include "zozud/math/Mat3.h"
#include "zozud/math/Vec4.h"
#include "zozud/render/Render.h"
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

TEST(Viewer, HomeLooksAtTheCentreFromItsDistance) {
    Viewer v;
    EXPECT_NEAR(20.0f, (v.Position - cVec3(0, 0, 0)).Length(), 1e-4f);
    ExpectNear(v.GetForward(), cAngles(-28, 45, 0).ToForward(), 1e-5f, "home direction");
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

TEST(Viewer, ScreenTumbleTurnsAboutTheCamerasOwnAxes) {
    // Seen level, a screen tumble sideways is the ordinary tumble.
    Viewer level, screen;
    level.SetView(3);
    screen.SetView(3);
    level.Tumble(cVec2(300, 0));
    screen.ScreenTumble(cVec2(300, 0));
    ExpectNear(screen.GetForward(), level.GetForward(), 1e-5f, "level forward");
    ExpectNear(screen.GetUp(), level.GetUp(), 1e-5f, "level up");
    const float side = level.GetForward().Dot(cVec3(1, 0, 0));  // +1 or -1: where 90 degrees right turns it
    ASSERT_NEAR(1.0f, std::fabs(side), 1e-5f);

    // From the pitched home view: 300 pixels turn a quarter about the screen's
    // up (sideways) or right (upwards) axis, which stays where it was.
    struct Case { cVec2 delta; bool sideways; };
    for (const Case& c : {Case{cVec2(300, 0), true}, Case{cVec2(0, 300), false}}) {
        Viewer v;
        cVec3 forward = v.GetForward(), up = v.GetUp(), right = v.GetRight();
        v.ScreenTumble(c.delta);
        EXPECT_NEAR(0.0f, v.GetForward().Dot(forward), 1e-5f);
        if (c.sideways) {
            ExpectNear(v.GetUp(), up, 1e-5f, "up kept");
            ExpectNear(v.GetForward(), right * side, 1e-5f, "turned to the right axis");
        } else {
            ExpectNear(v.GetRight(), right, 1e-5f, "right kept");
        }
        EXPECT_NEAR(20.0f, (v.Position - v.Center).Length(), 1e-4f);  // still orbiting at the distance
    }
}

TEST(Viewer, ScreenRollTurnsTheSceneWithThePointer) {
    Viewer v;
    const cVec2 middle(400, 300);
    // A point seen 100 pixels right of the middle.
    cVec3 p = v.ScreenToWorld(cVec3(500, 300, 0.9f)), s;
    struct Case { cVec2 from, to; };
    const Case cases[] = {
        {cVec2(100, 0), cVec2(0, 100)},     // a quarter turn counter-clockwise
        {cVec2(0, 100), cVec2(100, 0)},     // and back
        {cVec2(50, 0), cVec2(-70, 0)},      // a half turn
    };
    cVec2 expected(100, 0);
    for (const Case& c : cases) {
        v.ScreenRoll(c.to - c.from, middle + c.to);
        float turn = std::atan2(c.to.y, c.to.x) - std::atan2(c.from.y, c.from.x);
        expected = cVec2(expected.x * std::cos(turn) - expected.y * std::sin(turn),
                         expected.x * std::sin(turn) + expected.y * std::cos(turn));
        ASSERT_TRUE(v.WorldToScreen(p, &s));
        EXPECT_NEAR(middle.x + expected.x, s.x, 0.02f);
        EXPECT_NEAR(middle.y + expected.y, s.y, 0.02f);
    }
    // At the middle there is no angle to follow.
    cQuat before = v.Orient;
    v.ScreenRoll(cVec2(0.5f, 0), middle);
    EXPECT_EQ(before, v.Orient);
}

TEST(Viewer, PlaneTrackKeepsThePlanePointUnderTheMouse) {
    struct Case { bool ortho; cVec3 normal; cVec2 delta; };
    const Case cases[] = {
        {false, cVec3(0, 1, 0), cVec2(40, -25)},
        {false, cVec3(0, 1, 0), cVec2(-120, 60)},
        {false, cVec3(1, 2, -0.5f), cVec2(15, 90)},
        {true, cVec3(0, 1, 0), cVec2(-33, 47)},
    };
    for (const Case& c : cases) {
        Viewer v;
        if (c.ortho) v.SetOrthoProj(0);
        cVec3 old = v.Center, before, after, n = c.normal;
        n.Normalize();
        ASSERT_TRUE(v.WorldToScreen(old, &before));
        v.PlaneTrack(c.delta, c.normal);
        ASSERT_TRUE(v.WorldToScreen(old, &after));
        EXPECT_NEAR(before.x + c.delta.x, after.x, 0.05f) << c.delta.x;
        EXPECT_NEAR(before.y + c.delta.y, after.y, 0.05f) << c.delta.y;
        EXPECT_NEAR(0.0f, (v.Center - old).Dot(n), 1e-4f) << "moved out of the plane";
        EXPECT_GT((v.Center - old).Length(), 0.01f);
    }
    // A plane seen edge-on by parallel rays, and a zero normal: nothing moves.
    Viewer v;
    v.SetOrthoProj(3);
    cVec3 centre = v.Center;
    v.PlaneTrack(cVec2(10, 10), cVec3(0, 1, 0));
    v.PlaneTrack(cVec2(10, 10), cVec3(0, 0, 0));
    EXPECT_EQ(centre, v.Center);
}

TEST(Viewer, TheHeldScreenTurnsTheProjectionAsTheInputTurnsPositions) {
    FakeInput in;
    Viewer& turned = *FakeInput::Own(new Viewer);  // 800 x 600 on the screen
    cRender::SetViewer(&turned);
    struct Case { bool right; };
    for (const Case& c : {Case{true}, Case{false}}) {
        cInput::SetHomeButtonOnTheRight(c.right);
        cInput::SetHomeButtonOnTheLeft(!c.right);
        turned.Update(true);
        // The same camera drawing upright into the turned 600 x 800 image.
        Viewer upright;
        upright.Orient = turned.Orient;
        upright.Center = turned.Center;
        upright.Viewport = cRect(0, 0, 600, 800);
        upright.Update(false);
        for (const cVec3& p : {cVec3(0, 0, 0), cVec3(3, -2, 1), cVec3(-5, 4, 7.5f)}) {
            cVec3 raw, want;
            ASSERT_TRUE(turned.WorldToScreen(p, &raw));
            ASSERT_TRUE(upright.WorldToScreen(p, &want));
            cVec2 got = cInput::GetPosOrient(cVec2(raw.x, raw.y));
            EXPECT_NEAR(want.x, got.x, 0.02f) << (c.right ? "right" : "left");
            EXPECT_NEAR(want.y, got.y, 0.02f) << (c.right ? "right" : "left");
        }
        turned.Tumble(cVec2(5, 0));  // Update() keeps the turn
        cVec3 a, b;
        upright.Tumble(cVec2(5, 0));
        ASSERT_TRUE(turned.WorldToScreen(cVec3(1, 1, 1), &a));
        ASSERT_TRUE(upright.WorldToScreen(cVec3(1, 1, 1), &b));
        cVec2 got = cInput::GetPosOrient(cVec2(a.x, a.y));
        EXPECT_NEAR(b.x, got.x, 0.02f);
        EXPECT_NEAR(b.y, got.y, 0.02f);
    }
    // Tracking by mouse moves the scene along with the pointer on the screen as it is held.
    in.Alt(true);
    in.Press(cInput::MiddleButton);
    const cVec2 moves[] = {cVec2(30, 0), cVec2(0, -20)};
    for (const cVec2& move : moves) {
        cVec3 before, after;
        cVec3 p = turned.Center;
        ASSERT_TRUE(turned.WorldToScreen(p, &before));
        in.MoveBy(move);
        ASSERT_TRUE(turned.WorldToScreen(p, &after));
        cVec2 went(after.x - before.x, after.y - before.y);
        EXPECT_NEAR(1.0f, (went.x * move.x + went.y * move.y) / (went.Length() * move.Length()), 1e-4f);
    }
    in.Release(cInput::MiddleButton);
    in.Alt(false);
    cInput::SetHomeButtonOnTheLeft(false);
    turned.Update(true);
    Viewer plain;
    plain.Orient = turned.Orient;
    plain.Center = turned.Center;
    plain.Update();
    EXPECT_TRUE(cMat4::Equals(plain.ProjectionMatrix, turned.ProjectionMatrix, 1e-6f));
    cRender::SetViewer(nullptr);
}

TEST(FreeViewerInput, DraggingMakesTheViewerHotAndMarksTheCentre) {
    zozud_test::RecordingScope device;
    FakeInput in;
    Viewer& v = *FakeInput::Own(new Viewer);
    cRender::SetViewer(&v);
    auto draws = [&] {
        device->Clear();
        v.OnRender();
        return device->Count("Draw");
    };
    EXPECT_EQ(0, draws());
    in.Alt(true);
    in.Press(cInput::MiddleButton);
    in.MoveBy(cVec2(5, 5));
    EXPECT_EQ(&v, cWidgets::GetHotWidget());
    EXPECT_GT(draws(), 0);
    in.Release(cInput::MiddleButton);  // waiting for "Alt": no longer a drag
    in.MoveBy(cVec2(1, 0));
    EXPECT_EQ(nullptr, cWidgets::GetHotWidget());
    EXPECT_EQ(0, draws());
    in.Alt(false);
    cRender::SetViewer(nullptr);
}
