// cButton and cCheckBox: press, release and the click message.
#include "zozud/widgets/Button.h"

namespace zozud {

cButton::cButton(cWnd* parent, const char* caption, float x, float y, int width, bool visible, bool enabled)
    : cControl(parent, caption, x, y, width, visible, enabled) {
    m_TabStop = true;
}

bool cButton::OnButtonDown(int button) {
    if (button != cInput::LeftButton || !MouseOverClient()) return cWnd::OnButtonDown(button);
    m_Pressed = true;
    SetFocus(this);
    cWidgets::SetCapture(this);
    return true;
}

bool cButton::OnButtonUp(int button) {
    if (!m_Pressed || !cWidgets::IsCaptured(this)) return cWnd::OnButtonUp(button);
    if (button != cInput::LeftButton) return true;
    m_Pressed = false;
    cWidgets::ReleaseCapture();
    if (MouseInside() && IsUsable()) OnClick();
    return true;
}

void cButton::OnClick() {
    int id = cWidgets::GetWidgetID(this);
    Notify(0, nullptr, nullptr);
    if (m_Target && m_Target != m_Parent) m_Target->MsgProc(id, 0, nullptr, nullptr);
}

void cButton::OnRender() { Paint(cTheme::Parts::Button, m_Rect, m_Caption, m_Pressed && MouseInside() ? 1.0f : 0.0f); }

bool cButton::OnSetToolTip(cStr* text, const cTheme** theme) {
    if (m_Caption.Length() == 0) return false;
    *text = m_Caption;
    *theme = GetTheme();
    return true;
}

cCheckBox::cCheckBox(cWnd* parent, bool* value, const char* caption, float x, float y, int width, bool visible,
                     bool enabled)
    : cButton(parent, caption, x, y, width, visible, enabled), m_Value(value) {}

void cCheckBox::OnClick() {
    if (!m_Value) return;
    *m_Value = !*m_Value;
    Notify(2, m_Value, nullptr);
}

void cCheckBox::OnRender() {
    Paint(cTheme::Parts::CheckBox, m_Rect, m_Caption, m_Pressed && MouseInside() ? 1.0f : 0.0f, m_Value && *m_Value);
}

}  // namespace zozud
