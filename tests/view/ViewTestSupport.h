// Input for the view tests: events queued as the shell queues them and
// handed to the widget registry, with a keyboard whose "Alt" the test holds.
// The registry's widgets are freed when it goes. Scene: a viewer from the
// home position as the current viewer, and fresh transform-tool globals.
#pragma once

#include <gtest/gtest.h>

#include "zozud/math/Vec2.h"
#include "zozud/render/Render.h"
#include "zozud/view/FreeViewer.h"
#include "zozud/view/TransformTools.h"
#include "zozud/widgets/Widget.h"
#include "zozud/widgets/Input.h"

namespace zozud_test {
using namespace zozud;

class FakeInput {
public:
    // Adds a widget to the registry (which owns it) and returns it.
    template <class T>
    static T* Own(T* widget, int layer = 1) {
        cWidgets::AddWidget(widget, layer);
        return widget;
    }
    FakeInput() {
        s_Alt = false;
        cInput::ShellHooks hooks;
        hooks.acquireKeyboard = [](cInput::KeyboardState* state) { state->IsPressed[cInput::Alt] = s_Alt; };
        cInput::SetShellHooks(hooks);
        cInput::FreeEvents();
        cInput::Acquire();
    }
    ~FakeInput() {
        cInput::FreeEvents();
        cInput::SetShellHooks(cInput::ShellHooks());
        cWidgets::FreeAll();
    }
    void Alt(bool down) {
        s_Alt = down;
        cInput::Acquire();
        Send(cInput::NewButtonEvent(cInput::Alt, down, m_Pos));
    }
    void Press(int code, bool down = true) { Send(cInput::NewButtonEvent(code, down, m_Pos)); }
    void Release(int code) { Press(code, false); }
    void MoveTo(const cVec2& pos) {
        cVec2 delta = pos - m_Pos;
        m_Pos = pos;
        Send(cInput::NewMoveEvent(pos, delta));
    }
    void MoveBy(const cVec2& delta) { MoveTo(m_Pos + delta); }
    void Wheel(int code) {
        cInput::Event* e = cInput::NewButtonEvent(code, true, m_Pos);
        e->Wheel = code == cInput::WheelUp ? 1.0f : -1.0f;
        Send(e);
    }

private:
    static inline bool s_Alt = false;
    cVec2 m_Pos = cVec2(0, 0);
    void Send(cInput::Event* e) {
        cInput::AddEvent(e);
        cWidgets::HandleInputEvents();
    }
};

struct Scene {
    cFreeViewer viewer;
    FakeInput in;
    Scene() {
        viewer.Viewport = cRect(0, 0, 800, 600);
        viewer.Update();
        cRender::SetViewer(&viewer);
        g_ManipulatorsSnap = 0;
        g_ManipulatorsType = 1;
        g_ManipulatorsLocal = cSpace::World;
        g_RepeatManipulator = cRepeatManipulator();
    }
    ~Scene() {
        cRender::SetViewer(nullptr);
        g_ManipulatorsSnap = 0;
    }
    cVec2 Screen(const cVec3& p) {
        cVec3 s;
        EXPECT_TRUE(viewer.WorldToScreen(p, &s));
        return cVec2(s.x, s.y);
    }
    // Presses on the tool's x axis at 70% of its length, then moves the mouse
    // to where the axis point `along` further lies, plus a sideways pixel
    // offset, in two steps with a frame drawn between them (which places
    // the tool at the value as it is then).
    void DragX(cTransformTool& tool, float along, const cVec2& sideways = cVec2(0, 0)) {
        ASSERT_TRUE(tool.CalcFrame());
        cVec3 o = tool.GetOrigin(), a = tool.GetAxis(0);
        float at = tool.GetSize() * 0.7f;
        in.MoveTo(Screen(o + a * at));
        in.Press(cInput::LeftButton);
        in.MoveTo(Screen(o + a * (at + along * 0.5f)));
        tool.CalcFrame();
        in.MoveTo(Screen(o + a * (at + along)) + sideways);
    }
};

}  // namespace zozud_test
