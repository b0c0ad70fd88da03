// cForm: top-level windows, their states, dragging, focus and tab order.
#include "zozud/widgets/Form.h"

#include <algorithm>

#include "zozud/core/Timer.h"
#include "zozud/render/Render.h"

namespace zozud {

cRect cForm::s_MaxArea = cRect::Empty;

cList<cForm*>& cForm::GetForms() {
    static cList<cForm*>* forms = new cList<cForm*>;  // lives until exit
    return *forms;
}

cForm::cForm(cWnd* parent, const char* caption, const cRect& rect, const cTheme* theme)
    : cWnd(nullptr, caption, true, true), m_NormalRect(rect) {
    m_Theme = theme;
    m_Rect = rect;
    cWnd* top = parent ? parent->GetTopLevelParent() : nullptr;
    if (top && top->GetType() == 7) {
        m_ParentForm = static_cast<cForm*>(top);
        m_ParentForm->m_ChildForms.Add(this);
    } else {
        GetForms().Add(this);
    }
    CalcRects();
}

cForm::~cForm() {
    if (m_ParentForm) m_ParentForm->m_ChildForms.Remove(this);
    else GetForms().Remove(this);
    for (cForm* child : m_ChildForms) {
        child->m_ParentForm = nullptr;
        child->m_Closed = true;
    }
}

float cForm::Metric(float cTheme::*metric, float otherwise) const {
    return m_Theme && m_Theme->*metric > 0 ? m_Theme->*metric : otherwise;
}

// ---- Activity ----

bool cForm::IsActive() {
    if (m_Closed) return false;
    const cList<cForm*>& list = m_ParentForm ? m_ParentForm->m_ChildForms : GetForms();
    if (list.IsEmpty() || list.GetLast() != this) return false;
    return !m_ParentForm || m_ParentForm->IsActive();
}

void cForm::Activate() {
    cList<cForm*>& list = m_ParentForm ? m_ParentForm->m_ChildForms : GetForms();
    list.Remove(this);
    list.Add(this);
    cWidgets::BringToFront(this);
}

float cForm::GetCurAlpha() {
    bool dragged = m_DragPart == Part::Caption || IsSizingBorderDrag();
    return dragged && m_Theme ? m_Theme->DragAlpha : 1.0f;
}

// ---- Focus and tab order ----

bool cForm::HasFocus(cWnd* wnd) { return wnd && m_Focus == wnd && wnd->IsEnabled() && wnd->IsVisible(); }
bool cForm::HasFocusNoEnabled(cWnd* wnd) { return wnd && m_Focus == wnd; }

void cForm::SetFocus(cWnd* wnd) {
    if (!wnd || wnd->GetTopLevelParent() == this) m_Focus = wnd;
}

void cForm::ClearFocus(cWnd* wnd) {
    if (!wnd || m_Focus == wnd) m_Focus = nullptr;
}

namespace {

void CollectTabStops(const cWnd* w, cList<cWnd*>* out) {
    for (cWnd* child : w->GetChildren()) {
        if (child->GetTabStop() && child->IsEnabled() && child->IsVisible()) out->Add(child);
        CollectTabStops(child, out);
    }
}

}  // namespace

void cForm::GoTab(bool forward) {
    cList<cWnd*> stops;
    CollectTabStops(this, &stops);
    if (stops.IsEmpty()) return;
    int n = stops.Count(), at = stops.IndexOf(m_Focus);
    int next = at < 0 ? (forward ? 0 : n - 1) : (at + (forward ? 1 : n - 1)) % n;
    m_Focus = stops[next];
    ScrollToFocusedControl();
    m_Focus->OnTabStop();
}

void cForm::ScrollToFocusedControl() {
    if (!m_Focus) return;
    for (cWnd* a = m_Focus->GetParent(); a; a = a->GetParent()) a->ScrollIntoView(m_Focus);
}

// ---- States and rectangles ----

cRect cForm::CalcMinStateBounds() const {
    float h = Metric(&cTheme::CaptionHeight, 20) + 2 * Metric(&cTheme::BorderWidth, 4);
    return cRect(m_NormalRect.x0, m_NormalRect.y1 - h, m_NormalRect.x1, m_NormalRect.y1);
}

cRect cForm::CalcMaxStateBounds() const { return s_MaxArea.IsEmpty() ? m_NormalRect : s_MaxArea; }

void cForm::Minimize() {
    if (m_State == State::Normal) SetNormalStateRels();
    m_State = m_State == State::Minimized ? State::Normal : State::Minimized;
    m_Rect = m_State == State::Normal ? CalcNormalStateBounds() : CalcMinStateBounds();
    CalcRects();
}

void cForm::Maximize() {
    if (m_State == State::Normal) SetNormalStateRels();
    m_State = m_State == State::Maximized ? State::Normal : State::Maximized;
    m_Rect = m_State == State::Normal ? CalcNormalStateBounds() : CalcMaxStateBounds();
    CalcRects();
}

void cForm::SetRect(const cRect& rect) {
    m_NormalRect = rect;
    if (m_State == State::Normal) m_Rect = rect;
    CalcRects();
}

cRect cForm::CaptionRect() const {
    float b = Metric(&cTheme::BorderWidth, 4), h = Metric(&cTheme::CaptionHeight, 20);
    return cRect(m_Rect.x0 + b, m_Rect.y1 - b - h, m_Rect.x1 - b, m_Rect.y1 - b);
}

cRect cForm::ButtonRect(int index) const {
    cRect c = CaptionRect();
    float s = c.GetHeight();
    float right = c.x1 - index * s;
    return cRect(right - s, c.y0, right, c.y1);
}

void cForm::CalcRects() {
    m_ClientHidden = m_State == State::Minimized;
    float b = Metric(&cTheme::BorderWidth, 4);
    cRect caption = CaptionRect();
    m_ClientRect = cRect(m_Rect.x0 + b, m_Rect.y0 + b, m_Rect.x1 - b, caption.y0);
    CalcScrollRect();
}

int cForm::GetMouseOver() {
    const cVec2& p = cInput::GetMousePosition();
    if (!m_Rect.Contains(p)) return Part::None;
    if (ButtonRect(0).Contains(p)) return Part::MaximizeButton;
    if (ButtonRect(1).Contains(p)) return Part::MinimizeButton;
    if (m_State == State::Normal) {
        float b = Metric(&cTheme::BorderWidth, 4), g = Metric(&cTheme::SizeGripSize, 12);
        if (p.x >= m_Rect.x1 - g && p.y <= m_Rect.y0 + g) return Part::SizeGrip;
        bool l = p.x < m_Rect.x0 + b, r = p.x > m_Rect.x1 - b;
        bool t = p.y > m_Rect.y1 - b, d = p.y < m_Rect.y0 + b;
        if (t) return l ? Part::SizeTopLeft : r ? Part::SizeTopRight : Part::SizeTop;
        if (d) return l ? Part::SizeBottomLeft : r ? Part::SizeBottomRight : Part::SizeBottom;
        if (l) return Part::SizeLeft;
        if (r) return Part::SizeRight;
    }
    if (CaptionRect().Contains(p)) return Part::Caption;
    int over = cWnd::GetMouseOver();
    return over == Part::None ? Part::Client : over;
}

bool cForm::OnSetCursor(cInput::Cursor::Enum* cursor) {
    int part = m_DragPart != Part::None ? m_DragPart : m_MouseOver;
    if (part == Part::Caption && m_State == State::Maximized) return false;
    return cWnd::OnSetCursor(cursor);
}

// ---- Mouse and keys ----

bool cForm::OnButtonDown(int button) {
    // Keys are not the pointer's: one pressed while the pointer rests over
    // the form goes on to whoever wants it.
    if (cInput::IsKeyboardCode(button) || cInput::IsGamepadCode(button)) return false;
    // Over one of its controls the form is not the hot widget, but the
    // click still activates it and stops here.
    if (m_MouseOver == Part::None && !(IsVisible() && GetClipRect().Contains(cInput::GetMousePosition())))
        return false;
    Activate();
    if (button == cInput::LeftButton &&
        (m_MouseOver == Part::MinimizeButton || m_MouseOver == Part::MaximizeButton)) {
        m_PressedButton = m_MouseOver;
        cWidgets::SetCapture(this);
        return true;
    }
    if (m_MouseOver == Part::Caption && m_State == State::Maximized) return true;
    int over = m_MouseOver;
    if (over == Part::None) m_MouseOver = Part::Client;  // behind one of its controls
    cWnd::OnButtonDown(button);
    m_MouseOver = over;
    return true;  // a click on the form never reaches what lies behind it
}

bool cForm::OnButtonUp(int button) {
    if (m_PressedButton != Part::None && cWidgets::IsCaptured(this)) {
        int pressed = m_PressedButton;
        m_PressedButton = Part::None;
        cWidgets::ReleaseCapture();
        if (button == cInput::LeftButton && GetMouseOver() == pressed) {
            if (pressed == Part::MinimizeButton) Minimize();
            else Maximize();
        }
        return true;
    }
    bool wasDrag = m_DragPart == Part::Caption || IsSizingBorderDrag();
    bool consumed = cWnd::OnButtonUp(button);
    if (wasDrag && m_DragPart == Part::None && m_State == State::Normal) SetNormalStateRels();
    return consumed;
}

bool cForm::OnMouseMove() { return cWnd::OnMouseMove(); }

void cForm::OnDragMove(const cVec2& delta) {
    cRect r = m_DragStartRect;
    float minW = Metric(&cTheme::MinFormWidth, 60), minH = Metric(&cTheme::MinFormHeight, 40);
    switch (m_DragPart) {
    case Part::Caption: r.Translate(delta); break;
    case Part::SizeLeft: r.x0 = std::min(r.x0 + delta.x, r.x1 - minW); break;
    case Part::SizeRight: r.x1 = std::max(r.x1 + delta.x, r.x0 + minW); break;
    case Part::SizeTop: r.y1 = std::max(r.y1 + delta.y, r.y0 + minH); break;
    case Part::SizeBottom: r.y0 = std::min(r.y0 + delta.y, r.y1 - minH); break;
    case Part::SizeTopLeft:
        r.x0 = std::min(r.x0 + delta.x, r.x1 - minW); r.y1 = std::max(r.y1 + delta.y, r.y0 + minH); break;
    case Part::SizeTopRight:
        r.x1 = std::max(r.x1 + delta.x, r.x0 + minW); r.y1 = std::max(r.y1 + delta.y, r.y0 + minH); break;
    case Part::SizeBottomLeft:
        r.x0 = std::min(r.x0 + delta.x, r.x1 - minW); r.y0 = std::min(r.y0 + delta.y, r.y1 - minH); break;
    case Part::SizeBottomRight: case Part::SizeGrip:
        r.x1 = std::max(r.x1 + delta.x, r.x0 + minW); r.y0 = std::min(r.y0 + delta.y, r.y1 - minH); break;
    default: return;
    }
    m_Rect = r;
    CalcRects();
}

bool cForm::OnChar(int ch, int key) {
    if (key == cInput::Tab && IsActive() && !cWidgets::IsCaptured()) {
        GoTab(!cInput::IsDown(cInput::Shift));
        return true;
    }
    return cWnd::OnChar(ch, key);
}

// ---- Drawing ----

void cForm::OnRender() {
    float target = IsActive() ? 1.0f : 0.0f, step = Metric(&cTheme::ActivityFadeSpeed, 10) * cTimer::GetFrameTimeSec();
    m_Activity = m_Activity < target ? std::min(target, m_Activity + step) : std::max(target, m_Activity - step);
    CalcRects();
    if (!m_Theme || !IsVisible() || m_Rect.IsEmpty()) return;

    cRender::PushClipRect();
    cRender::SetClipRect(m_Rect);
    cTheme::DrawArgs args;
    args.Part = cTheme::Parts::Form;
    args.Rect = m_Rect;
    args.Text = m_Caption;
    args.Activity = m_Activity;
    args.Alpha = GetCurAlpha();
    args.Enabled = IsEnabled() ? 1.0f : 0.0f;
    m_Theme->Draw(args);

    auto part = [&](int kind, const cRect& rect, int wndPart) {
        args.Part = kind;
        args.Rect = rect;
        args.Hot = m_MouseOver == wndPart ? 1.0f : 0.0f;
        args.Pressed = m_PressedButton == wndPart || m_DragPart == wndPart ? 1.0f : 0.0f;
        m_Theme->Draw(args);
    };
    part(cTheme::Parts::FormCaption, CaptionRect(), Part::Caption);
    args.Text = cStr();
    part(cTheme::Parts::FormMaximizeButton, ButtonRect(0), Part::MaximizeButton);
    part(cTheme::Parts::FormMinimizeButton, ButtonRect(1), Part::MinimizeButton);
    if (m_State == State::Normal) {
        float g = Metric(&cTheme::SizeGripSize, 12);
        part(cTheme::Parts::FormSizeGrip, cRect(m_Rect.x1 - g, m_Rect.y0, m_Rect.x1, m_Rect.y0 + g), Part::SizeGrip);
    }
    if (CanScroll() && !m_ClientHidden) {
        part(cTheme::Parts::ScrollBarVertical, ScrollBarRect(), Part::ScrollBar);
        part(cTheme::Parts::ScrollBarVerticalThumb, ScrollThumbRect(), Part::ScrollThumb);
    }
    cRender::PopClipRect();
}

}  // namespace zozud
