// cPanel: a framed group of controls stacked top down, folded by its caption.
#include "zozud/widgets/Panel.h"

#include "zozud/render/Render.h"

namespace zozud {

cPanel::cPanel(cWnd* parent, const char* caption, bool visible, bool enabled) : cWnd(parent, caption, visible, enabled) {}

float cPanel::CaptionHeight() {
    if (m_Simple) return 0;
    const cTheme* theme = GetTheme();
    return theme && theme->CaptionHeight > 0 ? theme->CaptionHeight : 20.0f;
}

float cPanel::Padding() {
    const cTheme* theme = GetTheme();
    return theme && theme->Padding > 0 ? theme->Padding : 4.0f;
}

cRect cPanel::GetRelBounds() {
    float x = 0, y = 0, w = 0;
    if (m_RelRect.IsValid()) {
        x = m_RelRect.x0; y = m_RelRect.y0; w = m_RelRect.GetWidth();
    } else if (m_Parent && m_Parent->GetClientRect().IsValid()) {
        w = m_Parent->GetClientRect().GetWidth();
    }
    float pad = Padding(), h = CaptionHeight();
    if (!m_ClientHidden) {
        h += pad;
        for (cWnd* child : m_Children) {
            if (child == m_ToolBar || !child->IsVisible()) continue;
            cRect b = child->GetRelBounds();
            h += (b.IsValid() ? b.GetHeight() : 0) + pad;
        }
    }
    return cRect(x, y, x + w, y + h);
}

void cPanel::AlignChildren() {
    float pad = Padding(), width = m_ClientRect.IsValid() ? m_ClientRect.GetWidth() : 0, y = pad;
    for (cWnd* child : m_Children) {
        if (child == m_ToolBar || !child->IsVisible()) continue;
        cRect b = child->GetRelBounds();
        float h = b.IsValid() ? b.GetHeight() : 0;
        child->SetRelRect(cRect(0, y, width, y + h));
        y += h + pad;
    }
}

void cPanel::CalcRects() {
    if (m_Parent) m_Rect = m_Parent->ToScreen(m_RelRect = GetRelBounds());
    float pad = Padding();
    m_ClientRect = m_ClientHidden ? cRect::Empty
                                  : cRect(m_Rect.x0 + pad, m_Rect.y0, m_Rect.x1 - pad, m_Rect.y1 - CaptionHeight());
    AlignChildren();
    CalcScrollRect();
}

void cPanel::SetFolded(bool on) {
    m_ClientHidden = on;
    GetTopLevelParent()->CalcRects();
}

int cPanel::GetMouseOver() { return cWnd::GetMouseOver() == Part::None ? Part::None : Part::Client; }

bool cPanel::OnButtonDown(int button) {
    if (m_MouseOver == Part::None || m_Simple || button != cInput::LeftButton) return cWnd::OnButtonDown(button);
    if (cInput::GetMousePosition().y < m_Rect.y1 - CaptionHeight()) return cWnd::OnButtonDown(button);
    m_CaptionPressed = true;
    cWidgets::SetCapture(this);
    return true;
}

bool cPanel::OnButtonUp(int button) {
    if (!m_CaptionPressed || !cWidgets::IsCaptured(this)) return cWnd::OnButtonUp(button);
    m_CaptionPressed = false;
    cWidgets::ReleaseCapture();
    const cVec2& p = cInput::GetMousePosition();
    if (button == cInput::LeftButton && m_Rect.Contains(p) && p.y >= m_Rect.y1 - CaptionHeight())
        SetFolded(!m_ClientHidden);
    return true;
}

void cPanel::OnRender() {
    const cTheme* theme = GetTheme();
    cRect clip = GetClipRect();
    if (!theme || !IsVisible() || clip.IsEmpty()) return;
    cRender::PushClipRect();
    cRender::SetClipRect(clip);
    cTheme::DrawArgs args;
    args.Part = m_Simple ? cTheme::Parts::PanelSimple : cTheme::Parts::Panel;
    args.Rect = m_Rect;
    args.Activity = GetCurActivity();
    args.Alpha = GetCurAlpha();
    args.Enabled = IsEnabled() ? 1.0f : 0.0f;
    theme->Draw(args);
    if (!m_Simple) {
        args.Part = cTheme::Parts::PanelCaption;
        args.Rect = cRect(m_Rect.x0, m_Rect.y1 - CaptionHeight(), m_Rect.x1, m_Rect.y1);
        args.Text = m_Caption;
        args.Pressed = m_ClientHidden ? 1.0f : 0.0f;  // folded
        args.Hot = m_MouseOver != Part::None ? 1.0f : 0.0f;
        theme->Draw(args);
    }
    cRender::PopClipRect();
}

}  // namespace zozud
