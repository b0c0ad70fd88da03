// cBindButton: waits for the next input code and binds it.
#include "zozud/widgets/BindButton.h"

namespace zozud {

cBindButton::cBindButton(cWnd* parent, int* code, const char* caption, float x, float y, int width, bool visible,
                         bool enabled)
    : cButton(parent, caption, x, y, width, visible, enabled), m_Code(code) {}

void cBindButton::OnClick() {
    if (!m_Code) return;
    m_Waiting = true;
    cWidgets::SetCapture(this);
}

bool cBindButton::OnButtonDown(int button) {
    if (!m_Waiting) return cButton::OnButtonDown(button);
    m_Waiting = false;
    cWidgets::ReleaseCapture();
    int old = *m_Code;
    *m_Code = button;
    if (old != button) Notify(1, &old, &button);
    return true;
}

bool cBindButton::OnButtonUp(int button) {
    if (m_Waiting) return true;
    return cButton::OnButtonUp(button);
}

bool cBindButton::OnChar(int ch, int key) { return m_Waiting || cButton::OnChar(ch, key); }

void cBindButton::OnRender() {
    PaintCaption();
    cStr shown = m_Waiting ? cStr("...") : (m_Code ? cInput::ToString(*m_Code) : cStr());
    Paint(cTheme::Parts::BindButton, GetFieldRect(), shown, m_Waiting || (m_Pressed && MouseInside()) ? 1.0f : 0.0f);
}

}  // namespace zozud
