// cControl: placement, painting and change messages shared by the controls.
#include "zozud/widgets/Control.h"

#include "zozud/render/Render.h"

namespace zozud {

cControl::cControl(cWnd* parent, const char* caption, float x, float y, int width, bool visible, bool enabled)
    : cWnd(nullptr, caption, visible, enabled), m_X(x), m_Y(y), m_Width(width) {
    m_RelRect = cRect(x, y, x + (width > 0 ? width : 0), y + DefaultHeight);
    if (parent) parent->AddChild(this);
}

cRect cControl::GetRelBounds() {
    float w = m_Width > 0 ? (float)m_Width : 0;
    if (w == 0 && m_Parent && m_Parent->GetClientRect().IsValid()) w = m_Parent->GetClientRect().GetWidth() - m_RelRect.x0;
    if (m_RelRect.IsValid() && m_RelRect.GetWidth() > w) w = m_RelRect.GetWidth();  // stacked by a panel
    return cRect(m_RelRect.x0, m_RelRect.y0, m_RelRect.x0 + w, m_RelRect.y0 + Height());
}

float cControl::Height() {
    const cTheme* theme = GetTheme();
    return theme && theme->ControlHeight > 0 ? theme->ControlHeight : DefaultHeight;
}

void cControl::CalcRects() {
    if (m_Parent && m_Width == 0 && m_Parent->GetType() == 7) m_RelRect = GetRelBounds();  // panels and composite controls place their own
    cWnd::CalcRects();
}

float cControl::ThumbSize() const {
    const cTheme* theme = const_cast<cControl*>(this)->GetTheme();
    return theme && theme->SliderThumbWidth > 0 ? theme->SliderThumbWidth : 8.0f;
}

bool cControl::HasFocusHere() { return GetTopLevelParent()->HasFocus(this); }

cRect cControl::GetCaptionRect() const {
    if (m_Caption.Length() == 0) return cRect::Empty;
    return cRect(m_Rect.x0, m_Rect.y0, m_Rect.x0 + m_Rect.GetWidth() * 0.4f, m_Rect.y1);
}

cRect cControl::GetFieldRect() const {
    if (m_Caption.Length() == 0) return m_Rect;
    return cRect(m_Rect.x0 + m_Rect.GetWidth() * 0.4f, m_Rect.y0, m_Rect.x1, m_Rect.y1);
}

void cControl::Notify(int msg, const void* oldValue, const void* newValue) {
    if (m_Parent) m_Parent->MsgProc(cWidgets::GetWidgetID(this), msg, oldValue, newValue);
}

void cControl::Paint(int part, const cRect& rect, const char* text, float pressed, bool checked, float value,
                     float value2) const {
    cTheme::DrawArgs args;
    args.Part = part;
    args.Rect = rect;
    args.Text = text ? text : "";
    args.Hot = m_MouseOver != Part::None ? 1.0f : 0.0f;
    args.Pressed = pressed;
    args.Checked = checked;
    args.Value = value;
    args.Value2 = value2;
    Paint(args);
}

void cControl::Paint(cTheme::DrawArgs& args) const {
    cWnd* self = const_cast<cControl*>(this);
    const cTheme* theme = self->GetTheme();
    cRect clip = GetClipRect();
    if (!theme || !IsVisible() || clip.IsEmpty()) return;
    args.Enabled = IsEnabled() ? 1.0f : 0.0f;
    args.Activity = self->GetCurActivity();
    args.Alpha = self->GetCurAlpha();
    cRender::PushClipRect();
    cRender::SetClipRect(clip);
    theme->Draw(args);
    cRender::PopClipRect();
}

void cControl::PaintCaption() const {
    if (m_Caption.Length() > 0) Paint(cTheme::Parts::Label, GetCaptionRect(), m_Caption);
}

}  // namespace zozud
