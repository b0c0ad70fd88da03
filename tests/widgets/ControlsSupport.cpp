// Recording form and theme, and queued input for the control tests.
#include "ControlsSupport.h"

#include "zozud/core/Str.h"

namespace zozud_test {

namespace {

cInput::KeyboardState s_Keys;
void TestKeyboard(cInput::KeyboardState* state) { *state = s_Keys; }

std::string AsText(int msg, const void* v) {
    if (!v) return "";
    switch (msg) {
    case 1: case 3: case 4: case 6: return std::to_string(*(const int*)v);
    case 2: return *(const bool*)v ? "true" : "false";
    case 5: case 7: return cStr::Format("%g", *(const float*)v).ToChar();
    case 8: return ((const cStr*)v)->ToChar();
    default: return "?";
    }
}

}  // namespace

void RecordingForm::MsgProc(int id, int msg, const void* oldValue, const void* newValue) {
    messages.push_back({id, msg, AsText(msg, oldValue), AsText(msg, newValue)});
}

void SetupInput() {
    s_Keys = cInput::KeyboardState();
    cInput::ShellHooks hooks;
    hooks.acquireKeyboard = TestKeyboard;
    cInput::SetShellHooks(hooks);
    cInput::FreeEvents();
}

void TeardownInput() {
    SetModifiers(false, false);
    cInput::SetShellHooks(cInput::ShellHooks());
    cInput::FreeEvents();
}

void SetModifiers(bool shift, bool control) {
    s_Keys.IsPressed[cInput::Shift] = shift;
    s_Keys.IsPressed[cInput::Control] = control;
    cInput::Acquire();
    cInput::FreeEvents();
}

void Frame(cInput::Event* e) {
    cInput::AddEvent(e);
    cWidgets::HandleInputEvents();
}

void MoveTo(const cVec2& p) { Frame(cInput::NewMoveEvent(p, cVec2(0, 0))); }

void Press(const cVec2& p) {
    MoveTo(p);
    Frame(cInput::NewButtonEvent(cInput::LeftButton, true, p));
}

void Release(const cVec2& p) {
    MoveTo(p);
    Frame(cInput::NewButtonEvent(cInput::LeftButton, false, p));
}

void Click(const cVec2& p, bool doubleClick) {
    MoveTo(p);
    cInput::Event* down = cInput::NewButtonEvent(cInput::LeftButton, true, p);
    down->IsDoubleClick = doubleClick;
    Frame(down);
    Frame(cInput::NewButtonEvent(cInput::LeftButton, false, p));
}

void Char(int ch, int code) {
    cInput::Event* e = new cInput::Event;
    e->Type = cInput::EventType::Char;
    e->Char = ch;
    e->Code = code;
    Frame(e);
}

void Key(int code) {
    Frame(cInput::NewButtonEvent(code, true));
    if (cInput::GetCharClass(code) == 2 || cInput::IsDown(cInput::Control)) Char(code >= cInput::A && code <= cInput::Z ? 'a' + code - cInput::A : 0, code);
    Frame(cInput::NewButtonEvent(code, false));
}

void Shift(int code) { SetModifiers(true, false), Key(code), SetModifiers(false, false); }
void Ctrl(int code) { SetModifiers(false, true), Key(code), SetModifiers(false, false); }

void Retype(const cVec2& at, const char* text) {
    Click(at);
    Ctrl(cInput::A);
    Type(text);
    Key(cInput::Enter);
}

void Type(const char* text) {
    for (const char* c = text; *c; c++) Char((unsigned char)*c, -1);
}

}  // namespace zozud_test
