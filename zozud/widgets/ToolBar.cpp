// cToolBar and cToolBarButton: layout on the strip, scrolling by drag, painting.
#include "zozud/widgets/ToolBar.h"

#include "zozud/render/Render.h"
#include "zozud/widgets/Form.h"

namespace zozud {

cToolBar::cToolBar(cForm* form, bool visible, bool enabled) : cWnd(nullptr, nullptr, visible, enabled) {
    if (form) form->SetToolBar(this);
}

cToolBarButton* cToolBar::AddButton(const char* caption, int icon) {
    cToolBarButton* b = new cToolBarButton(this, caption, icon, NextX());
    if (m_Parent) m_Parent->CalcRects();
    return b;
}

float cToolBar::NextX() const {
    float x = 0;
    for (cWnd* child : m_Children) {
        cRect r = child->GetRelBounds();
        if (r.IsValid() && r.x1 > x) x = r.x1;
    }
    return x;
}

cRect cToolBar::GetRelBounds() {
    const cTheme* theme = GetTheme();
    float h = theme && theme->ToolBarHeight > 0 ? theme->ToolBarHeight : DefaultHeight;
    return cRect(0, 0, 0, h);
}

// The owner places the strip; the buttons follow it.
void cToolBar::CalcRects() {
    if (m_Parent && m_Parent->GetToolBar() == this) m_Parent->CalcRects();
}

bool cToolBar::OnButtonDown(int button) {
    if (button != cInput::LeftButton || m_MouseOver == Part::None || !IsEnabled()) return false;
    m_Dragging = true;
    m_DragFromX = cInput::GetMousePosition().x;
    m_DragFromOffset = m_ScrollOffset.x;
    cWidgets::SetCapture(this);
    return true;
}

bool cToolBar::OnButtonUp(int button) {
    if (!m_Dragging || !cWidgets::IsCaptured(this)) return false;
    if (button == cInput::LeftButton) {
        m_Dragging = false;
        cWidgets::ReleaseCapture();
    }
    return true;
}

bool cToolBar::OnMouseMove() {
    if (!m_Dragging || !cWidgets::IsCaptured(this)) return cWnd::OnMouseMove();
    SetScrollOffset(cVec2(m_DragFromOffset - (cInput::GetMousePosition().x - m_DragFromX), 0));
    return true;
}

bool cToolBar::OnSetCursor(cInput::Cursor::Enum* cursor) {
    if (m_MouseOver == Part::None && !m_Dragging) return false;
    *cursor = cInput::Cursor::SizeAll;
    return true;
}

void cToolBar::MsgProc(int id, int msg, const void* oldValue, const void* newValue) {
    if (m_Parent) m_Parent->MsgProc(id, msg, oldValue, newValue);
}

void cToolBar::OnRender() {
    const cTheme* theme = GetTheme();
    cRect clip = GetClipRect();
    if (!theme || !IsVisible() || clip.IsEmpty()) return;
    cTheme::DrawArgs args;
    args.Part = cTheme::Parts::ToolBar;
    args.Rect = m_Rect;
    args.Enabled = IsEnabled() ? 1.0f : 0.0f;
    args.Activity = GetCurActivity();
    args.Alpha = GetCurAlpha();
    cRender::PushClipRect();
    cRender::SetClipRect(clip);
    theme->Draw(args);
    cRender::PopClipRect();
}

cToolBarButton::cToolBarButton(cToolBar* bar, const char* caption, int icon, float x)
    : cButton(bar, caption, x, 0, 0), m_Icon(icon) {
    m_TabStop = false;
}

// Square with an icon; as wide as a control's caption share without one.
cRect cToolBarButton::GetRelBounds() {
    const cTheme* theme = GetTheme();
    float size = theme && theme->ToolBarButtonSize > 0 ? theme->ToolBarButtonSize : cToolBar::DefaultHeight;
    float w = m_Icon >= 0 ? size : 8.0f * (float)m_Caption.Length() + 12.0f;
    return cRect(m_RelRect.x0, 0, m_RelRect.x0 + w, size);
}

void cToolBarButton::CalcRects() {
    m_RelRect = GetRelBounds();
    cWnd::CalcRects();
}

void cToolBarButton::OnRender() {
    cTheme::DrawArgs args;
    args.Part = cTheme::Parts::ToolBarButton;
    args.Rect = m_Rect;
    if (m_Icon < 0) args.Text = m_Caption;
    args.Index = m_Icon;
    args.Hot = m_MouseOver != Part::None ? 1.0f : 0.0f;
    args.Pressed = m_Pressed && MouseInside() ? 1.0f : 0.0f;
    Paint(args);
}

}  // namespace zozud
