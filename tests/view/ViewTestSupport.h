// Input for the view tests: events queued as the shell queues them and
// handed to the widget registry, with a keyboard whose "Alt" the test holds.
// The registry's widgets are freed when it goes.
#pragma once

#include "zozud/math/Vec2.h"
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

}  // namespace zozud_test
