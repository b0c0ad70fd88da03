// The transform tools driven by queued mouse events through the current
// viewer's matrices, the values that create them, and where they draw.
#include <gtest/gtest.h>

#include <cmath>

#include "render/RecordingDevice.h"
#include "view/ViewTestSupport.h"
#include "zozud/math/Mat3.h"
#include "zozud/view/Transform.h"
#include "zozud/view/TransformTools.h"

using namespace zozud;
using zozud_test::FakeInput;
using zozud_test::Scene;

// The text shown while dragging has as many decimals as the snap step.
TEST(MoveTool, DragAlongXChangesOnlyXSnapsAndShowsTheValue) {
    struct Case { float snap, along, expect, eps; const char* text; };
    const Case cases[] = {
        {0, 1.26f, 1.26f, 2e-3f, nullptr},
        {0.5f, 1.26f, 1.5f, 0, "1.5, 2.0, -1.0"},  // floor(2.52 + 0.5) * 0.5
        {0.5f, 1.2f, 1.0f, 0, nullptr},
        {0.25f, -0.9f, -1.0f, 0, "-1.00, 2.00, -1.00"},
        {2.0f, 0.8f, 0, 0, "0, 2, -1"},
        {0.125f, 0.5f, 0.5f, 0, "0.500, 2.000, -1.000"},
    };
    for (const Case& c : cases) {
      for (float sideways : {0.0f, 25.0f, -40.0f}) {  // the pointer off the axis: only its foot counts
        Scene s;
        g_ManipulatorsSnap = c.snap;
        cVec3 position(0, 2, -1);
        cMoveTool& tool = *FakeInput::Own(new cMoveTool(&position));
        EXPECT_EQ(cStr(), tool.GetDragText());
        ASSERT_TRUE(tool.CalcFrame());
        cVec2 o = s.Screen(tool.GetOrigin()), x = s.Screen(tool.GetOrigin() + tool.GetAxis(0)) - o;
        s.DragX(tool, c.along, cVec2(-x.y, x.x) * (sideways / x.Length()));
        EXPECT_EQ(cTransformTool::Mode::X, tool.GetMode());
        EXPECT_NEAR(c.expect, position.x, c.eps) << "snap " << c.snap << " along " << c.along;
        EXPECT_EQ(2.0f, position.y);
        EXPECT_EQ(-1.0f, position.z);
        EXPECT_EQ(cVec3(position.x, 0, 0), g_RepeatManipulator.Accum0);
        if (c.text) {
            EXPECT_EQ(cStr(c.text), tool.GetDragText());
        }
        s.in.Release(cInput::LeftButton);
        EXPECT_EQ(cStr(), tool.GetDragText());
      }
    }
}

TEST(MoveTool, ParentAndLocalSpaceMapTheDragBack) {
    Scene s;
    cVec3 position(1, 0, 0);
    cAngles orient(0, 90, 0);  // local x is world -z
    cMoveTool& tool = *FakeInput::Own(new cMoveTool(&orient, &position, cSpace::Local));
    tool.SetParent(cMat4::Translation(0, 5, 0));
    ASSERT_TRUE(tool.CalcFrame());
    EXPECT_NEAR(5.0f, tool.GetOrigin().y, 1e-5f);
    cVec3 axis = tool.GetAxis(0), expected = orient.ToMat3().GetRow(0);
    EXPECT_NEAR(1.0f, axis.Dot(expected), 1e-5f);
    s.DragX(tool, 2.0f);
    cVec3 moved = position - cVec3(1, 0, 0);
    EXPECT_NEAR(2.0f, moved.Length(), 2e-3f);
    EXPECT_NEAR(1.0f, moved.Dot(expected) / 2.0f, 1e-3f);
}

TEST(MoveTool, PressAndReleaseProtocol) {
    Scene s;
    cVec3 p(0, 0, 0), q(0, 0, 0);
    cMoveTool& other = *FakeInput::Own(new cMoveTool(&q));
    cMoveTool& tool = *FakeInput::Own(new cMoveTool(&p));
    other.SetParent(cMat4::Translation(-6, 0, 0));  // out of the way

    // A middle press before any drag repeats nothing.
    ASSERT_TRUE(tool.CalcFrame());
    s.in.MoveTo(s.Screen(tool.GetOrigin() + tool.GetAxis(0) * tool.GetSize() * 0.7f));
    s.in.Press(cInput::MiddleButton);
    EXPECT_EQ(0, tool.GetMode());
    s.in.Release(cInput::MiddleButton);

    s.DragX(tool, 1.0f);
    EXPECT_TRUE(cWidgets::IsCaptured(&tool));
    s.in.Press(cInput::RightButton);  // another button during the drag
    s.in.Release(cInput::RightButton);
    EXPECT_EQ(cTransformTool::Mode::X, tool.GetMode());
    float x = p.x;
    s.in.MoveBy(cVec2(-40, 0));
    EXPECT_NE(x, p.x);  // still dragging
    s.in.Release(cInput::LeftButton);
    EXPECT_EQ(0, tool.GetMode());
    EXPECT_FALSE(cWidgets::IsCaptured());
    EXPECT_EQ(&tool, g_RepeatManipulator.Tool);

    // The middle button repeats on the tool that made the drag, wherever the mouse is.
    s.in.MoveTo(cVec2(20, 20));
    s.in.Press(cInput::MiddleButton);
    EXPECT_EQ(cTransformTool::Mode::X, tool.GetMode());
    EXPECT_EQ(cVec3(0, 0, 0), g_RepeatManipulator.Accum0);
    s.in.Release(cInput::MiddleButton);
    EXPECT_EQ(0, other.GetMode());
    EXPECT_EQ(0, q.x);
}

TEST(RotateAndScaleTools, DragsTurnAndScaleAboutTheChosenAxis) {
    Scene s;
    s.viewer.SetView(3);  // looking down -Z: the z ring faces the camera
    cAngles orient(0, 0, 0);
    cVec3 position(0, 0, 0);
    cRotateTool& rotate = *FakeInput::Own(new cRotateTool(&orient, &position, cSpace::World));
    ASSERT_TRUE(rotate.CalcFrame());
    float ring = rotate.GetSize() * 0.5f * 0.86f;
    s.in.MoveTo(s.Screen(cVec3(ring, 0, 0)));
    s.in.Press(cInput::LeftButton);
    EXPECT_EQ(cTransformTool::Mode::Z, rotate.GetMode());
    s.in.MoveTo(s.Screen(cVec3(ring, ring, 0)));
    s.in.MoveTo(s.Screen(cVec3(0, ring, 0)));  // a quarter turn counter-clockwise
    EXPECT_EQ(cStr("90.0"), rotate.GetDragText());  // the rotate tool never snaps: one decimal
    s.in.Release(cInput::LeftButton);
    cMat3 m = orient.ToMat3();
    EXPECT_NEAR(1.0f, m.GetRow(0).Dot(cVec3(0, 1, 0)), 1e-3f);   // x turned into y
    EXPECT_NEAR(1.0f, m.GetRow(2).Dot(cVec3(0, 0, 1)), 1e-5f);   // z kept
    cWidgets::FreeWidget(&rotate);

    struct Case { float snap, along, expect; const char* text; };
    const Case cases[] = {{0, 1.0f, 2.0f, nullptr}, {0.5f, 0.3f, 1.5f, "1.5, 1.0, 1.0"}};
    for (const Case& c : cases) {
        g_ManipulatorsSnap = c.snap;
        cVec3 scale(1, 1, 1);
        cScaleTool& tool = *FakeInput::Own(new cScaleTool(&scale, &orient, &position));
        ASSERT_TRUE(tool.CalcFrame());
        float at = tool.GetSize() * 0.7f;
        cVec3 axis = tool.GetAxis(0);
        s.in.MoveTo(s.Screen(axis * at));
        s.in.Press(cInput::LeftButton);
        EXPECT_EQ(cTransformTool::Mode::X, tool.GetMode());
        s.in.MoveTo(s.Screen(axis * (at * (1 + c.along))));
        if (c.text) {
            EXPECT_EQ(cStr(c.text), tool.GetDragText());
        }
        s.in.Release(cInput::LeftButton);
        EXPECT_NEAR(c.expect, scale.x, 1e-3f);
        EXPECT_EQ(1.0f, scale.y);
        EXPECT_EQ(1.0f, scale.z);
        cWidgets::FreeWidget(&tool);
    }
}

TEST(Transform, ToolsFollowTheManipulatorsType) {
    Scene s;
    cTransform t;
    EXPECT_EQ(cVec3(1, 1, 1), t.Scale);
    t.Scale = cVec3(2, 2, 2);
    t.Rotate = cAngles(0, 90, 0);
    t.Translate = cVec3(1, 2, 3);
    cVec3 p = cVec3::TransformCoordinate(cVec3(1, 0, 0), t.ToMat4());  // scaled, turned, moved
    cVec3 expected = cVec3::TransformCoordinate(cVec3(2, 0, 0), t.Rotate.ToMat4()) + cVec3(1, 2, 3);
    EXPECT_NEAR(0.0f, (p - expected).Length(), 1e-5f);

    g_ManipulatorsType = 4;
    t.CreateTools();
    ASSERT_TRUE(t.GetMoveTool() && t.GetRotateTool() && t.GetScaleTool());
    g_ManipulatorsType = 2;
    cRotateTool* rotate = t.GetRotateTool();
    t.CreateTools();
    EXPECT_EQ(nullptr, t.GetMoveTool());
    EXPECT_EQ(nullptr, t.GetScaleTool());
    EXPECT_EQ(rotate, t.GetRotateTool());  // kept
    EXPECT_EQ(cTransformTool::Layer, cWidgets::GetWidgetLayer(rotate));
    EXPECT_EQ(1, cWidgets::GetLayer(cTransformTool::Layer).Count() - cWidgets::GetLayerFreeSlots(cTransformTool::Layer).Count());
    t.FreeTools();
    EXPECT_EQ(nullptr, t.GetRotateTool());
    EXPECT_EQ(-1, cWidgets::GetWidgetID(rotate));

    cPosition pos;
    pos.Move();
    cMoveTool* first = pos.GetMoveTool();
    ASSERT_NE(nullptr, first);
    s.DragX(*first, 1.0f);
    EXPECT_NEAR(1.0f, pos.Position.x, 2e-3f);
    s.in.Release(cInput::LeftButton);
    pos.Move();  // a fresh tool replaces the old one
    EXPECT_NE(nullptr, pos.GetMoveTool());
    EXPECT_EQ(-1, cWidgets::GetWidgetID(first));
}

TEST(MoveTool, DrawsItsCentreWhereTheViewerProjectsThePosition) {
    zozud_test::RecordingScope device;
    Scene s;
    cVec3 position(2, -1, 3);
    cMoveTool tool(&position);
    device->Clear();
    tool.OnRender();
    EXPECT_GE(device->Count("Draw"), 7);  // three axes with cones and plane handles, the centre
    // The last draw is the centre handle: a quad around the position, facing the camera.
    ASSERT_EQ(4, device->VertexCount());
    cVec3 centre(0, 0, 0);
    for (int i = 0; i < 4; i++)
        centre = centre + cVec3(device->VertexFloat(i, 0), device->VertexFloat(i, 4), device->VertexFloat(i, 8)) * 0.25f;
    cVec2 want = s.Screen(position), got = s.Screen(centre);
    EXPECT_NEAR(want.x, got.x, 0.01f);
    EXPECT_NEAR(want.y, got.y, 0.01f);
    EXPECT_EQ(0xFFFFFFFFu, device->VertexWord(0, 12));  // white while nothing is hot
}

TEST(Transform, AllThreeToolsTogetherShareTheAxesWithoutStealingPresses) {
    Scene s;
    g_ManipulatorsType = 4;
    cTransform t;
    t.CreateTools();
    cMoveTool& move = *t.GetMoveTool();
    cScaleTool& scale = *t.GetScaleTool();
    ASSERT_TRUE(move.CalcFrame() && scale.CalcFrame());
    // On the shaft: the move tool's, though the scale tool's axis runs there too.
    s.DragX(move, 1.0f);
    s.in.Release(cInput::LeftButton);
    EXPECT_NEAR(1.0f, t.Translate.x, 2e-3f);
    EXPECT_EQ(cVec3(1, 1, 1), t.Scale);
    // On the cube beyond the cone: the scale tool's.
    ASSERT_TRUE(move.CalcFrame() && scale.CalcFrame());
    cVec3 o = scale.GetOrigin(), x = scale.GetAxis(0);
    cVec3 translate = t.Translate;
    s.in.MoveTo(s.Screen(o + x * (scale.GetSize() * 0.96f)));
    s.in.Press(cInput::LeftButton);
    EXPECT_EQ(cTransformTool::Mode::X, scale.GetMode());
    EXPECT_EQ(0, move.GetMode());
    s.in.MoveTo(s.Screen(o + x * (scale.GetSize() * 0.96f * 1.5f)));
    s.in.Release(cInput::LeftButton);
    EXPECT_NEAR(1.5f, t.Scale.x, 2e-3f);
    EXPECT_EQ(translate, t.Translate);
    // The centre belongs to the move tool alone.
    s.in.MoveTo(s.Screen(o));
    s.in.Press(cInput::LeftButton);
    EXPECT_EQ(cTransformTool::Mode::Free, move.GetMode());
    EXPECT_EQ(0, scale.GetMode());
    s.in.Release(cInput::LeftButton);
    t.FreeTools();
}

// What each tool leaves in g_RepeatManipulator: the change in the bound
// value's space and its counterpart (world translation, axis, scale change).
TEST(RepeatManipulator, BothSumsDescribeTheLastDrag) {
    Scene s;
    cVec3 position(0, 0, 0);
    cMoveTool& move = *FakeInput::Own(new cMoveTool(&position));
    move.SetParent(cMat4::Scaling(2.0f));  // a world unit is half a unit of the position
    s.DragX(move, 1.0f);
    EXPECT_NEAR(0.5f, g_RepeatManipulator.Accum0.x, 2e-3f);
    EXPECT_NEAR(1.0f, g_RepeatManipulator.Accum1.x, 4e-3f);
    EXPECT_TRUE(g_RepeatManipulator.Accum0.y == 0 && g_RepeatManipulator.Accum1.z == 0);
    s.in.Release(cInput::LeftButton);
    s.in.Press(cInput::MiddleButton);  // a new drag starts from nothing
    EXPECT_EQ(cVec3(0, 0, 0), g_RepeatManipulator.Accum1);
    s.in.Release(cInput::MiddleButton);
    cWidgets::FreeWidget(&move);

    s.viewer.SetView(3);  // looking down -Z
    cAngles orient(0, 0, 0);
    cRotateTool& rotate = *FakeInput::Own(new cRotateTool(&orient, &position, cSpace::World));
    ASSERT_TRUE(rotate.CalcFrame());
    const cVec3 o = rotate.GetOrigin();
    const float ring = rotate.GetSize() * 0.5f * 0.86f;
    s.in.MoveTo(s.Screen(o + cVec3(ring, 0, 0)));
    s.in.Press(cInput::LeftButton);
    s.in.MoveTo(s.Screen(o + cVec3(ring, ring, 0)));
    s.in.MoveTo(s.Screen(o + cVec3(0, ring, 0)));  // a quarter turn counter-clockwise about z
    s.in.Release(cInput::LeftButton);
    EXPECT_NEAR(90.0f, g_RepeatManipulator.Accum0.x, 0.5f);
    EXPECT_NEAR(1.0f, g_RepeatManipulator.Accum1.z, 1e-5f);
    cWidgets::FreeWidget(&rotate);

    cVec3 scale(1, 3, 1);
    cScaleTool& tool = *FakeInput::Own(new cScaleTool(&scale, &orient, &position));
    ASSERT_TRUE(tool.CalcFrame());
    const float at = tool.GetSize() * 0.7f;
    const cVec3 axis = tool.GetAxis(0);
    s.in.MoveTo(s.Screen(tool.GetOrigin() + axis * at));
    s.in.Press(cInput::LeftButton);
    s.in.MoveTo(s.Screen(tool.GetOrigin() + axis * (at * 2)));  // twice as far: x doubles
    s.in.Release(cInput::LeftButton);
    EXPECT_NEAR(2.0f, g_RepeatManipulator.Accum0.x, 1e-3f);
    EXPECT_TRUE(g_RepeatManipulator.Accum0.y == 1 && g_RepeatManipulator.Accum0.z == 1);  // y stays 3
    EXPECT_NEAR(1.0f, g_RepeatManipulator.Accum1.x, 1e-3f);
    EXPECT_TRUE(g_RepeatManipulator.Accum1.y == 0 && g_RepeatManipulator.Accum1.z == 0);
    cWidgets::FreeWidget(&tool);
}
