// cWnd: the tree of windows, their rectangles, scrolling and part drags.
#include "zozud/widgets/Wnd.h"

namespace zozud {

cWnd::cWnd(cWnd* parent, const char* caption, bool visible, bool enabled)
    : m_Caption(caption ? caption : ""), m_Visible(visible), m_Enabled(enabled) {
    if (parent) parent->AddChild(this);
}

cWnd::~cWnd() {
    if (m_Parent) {
        ClearFocus(this);
        m_Parent->m_Children.Remove(this);
        if (m_Parent->m_ToolBar == this) m_Parent->m_ToolBar = nullptr;
    }
    for (cWnd* child : m_Children) {
        child->m_Parent = nullptr;
        child->m_Orphaned = true;
    }
}

// ---- Tree ----

void cWnd::AddChild(cWnd* child) {
    if (!child || child == this || child->m_Parent) return;
    child->m_Parent = this;
    m_Children.Add(child);
    int layer = cWidgets::GetWidgetLayer(GetTopLevelParent());
    cWidgets::AddWidget(child, layer < 0 ? 3 : layer);
    child->CalcRects();
}

void cWnd::SetToolBar(cWnd* toolBar) {
    if (toolBar && toolBar->m_Parent != this) AddChild(toolBar);
    m_ToolBar = toolBar && toolBar->m_Parent == this ? toolBar : nullptr;
    CalcRects();
}

cWnd* cWnd::GetTopLevelParent() {
    cWnd* w = this;
    while (w->m_Parent) w = w->m_Parent;
    return w;
}

int cWnd::GetLevel() const {
    int level = 0;
    for (const cWnd* w = m_Parent; w; w = w->m_Parent) level++;
    return level;
}

const cTheme* cWnd::GetTheme() { return GetTopLevelParent()->m_Theme; }

bool cWnd::IsVisible() const {
    if (!m_Visible) return false;
    for (const cWnd* a = m_Parent; a; a = a->m_Parent)
        if (!a->m_Visible || a->m_ClientHidden) return false;
    return true;
}

bool cWnd::IsEnabled() const {
    for (const cWnd* w = this; w; w = w->m_Parent)
        if (!w->m_Enabled) return false;
    return true;
}

bool cWnd::IsDead() { return m_Orphaned || (m_Parent && m_Parent->IsDead()); }

// ---- Forwarded to the top-level window ----

cWnd* cWnd::Forward() {
    cWnd* top = GetTopLevelParent();
    return top != this ? top : nullptr;
}

void  cWnd::MsgProc(int, int, const void*, const void*) {}
void  cWnd::Activate() { if (cWnd* top = Forward()) top->Activate(); }
bool  cWnd::IsActive() { cWnd* top = Forward(); return top ? top->IsActive() : true; }
int   cWnd::GetFormState() { cWnd* top = Forward(); return top ? top->GetFormState() : 2; }
float cWnd::GetCurActivity() { cWnd* top = Forward(); return top ? top->GetCurActivity() : 1.0f; }
float cWnd::GetCurAlpha() { cWnd* top = Forward(); return top ? top->GetCurAlpha() : 1.0f; }
bool  cWnd::HasFocus(cWnd* wnd) { cWnd* top = Forward(); return top && top->HasFocus(wnd); }
bool  cWnd::HasFocusNoEnabled(cWnd* wnd) { cWnd* top = Forward(); return top && top->HasFocusNoEnabled(wnd); }
void  cWnd::SetFocus(cWnd* wnd) { if (cWnd* top = Forward()) top->SetFocus(wnd); }
void  cWnd::ClearFocus(cWnd* wnd) { if (cWnd* top = Forward()) top->ClearFocus(wnd); }
void  cWnd::GoTab(bool forward) { if (cWnd* top = Forward()) top->GoTab(forward); }

cRect cWnd::GetRelBounds() { return m_RelRect; }

float cWnd::GetArrowScrollSpeed() {
    const cTheme* theme = GetTheme();
    return theme && theme->ArrowScrollSpeed > 0 ? theme->ArrowScrollSpeed : 16.0f;
}

float cWnd::GetWheelScrollSpeed() {
    const cTheme* theme = GetTheme();
    float lines = theme && theme->WheelScrollSpeed > 0 ? theme->WheelScrollSpeed : 3.0f;
    return lines * GetArrowScrollSpeed();
}

// ---- Rectangles ----

cRect cWnd::ToScreen(const cRect& rel) const {
    const cRect& c = m_ClientRect;
    return cRect(c.x0 + rel.x0 - m_ScrollOffset.x, c.y1 - rel.y1 + m_ScrollOffset.y,
                 c.x0 + rel.x1 - m_ScrollOffset.x, c.y1 - rel.y0 + m_ScrollOffset.y);
}

void cWnd::SetRelRect(const cRect& rel) {
    m_RelRect = rel;
    CalcRects();
}

cRect cWnd::GetClipRect() const {
    // A tool bar lies outside its owner's client area, inside its outer rectangle.
    cRect r = m_Rect;
    const cWnd* w = this;
    for (const cWnd* a = m_Parent; a; w = a, a = a->m_Parent)
        r = cRect::Intersection(r, a->m_ToolBar == w ? a->m_Rect : a->m_ClientRect);
    return r;
}

void cWnd::CalcRects() {
    if (m_Parent) m_Rect = m_Parent->ToScreen(m_RelRect);
    m_ClientRect = m_Rect;
    CalcScrollRect();
}

// The tool bar takes a band at the top of the client area; the children's
// extent becomes the scroll rectangle; then every child follows.
void cWnd::CalcScrollRect() {
    if (m_ToolBar && !m_ClientRect.IsEmpty()) {
        float h = m_ToolBar->GetRelBounds().GetHeight();
        if (!(h > 0)) h = 0;
        m_ToolBar->m_Rect = cRect(m_ClientRect.x0, m_ClientRect.y1 - h, m_ClientRect.x1, m_ClientRect.y1);
        m_ToolBar->m_ClientRect = m_ToolBar->m_Rect;
        m_ClientRect.y1 -= h;
        m_ToolBar->CalcScrollRect();
    }
    m_ScrollRect = cRect::Empty;
    for (cWnd* child : m_Children)
        if (child != m_ToolBar && child->m_Visible) m_ScrollRect.AddRect(child->GetRelBounds());
    RestrictRelClientToScrollRect();
    for (cWnd* child : m_Children)
        if (child != m_ToolBar) child->CalcRects();
}

// ---- Scrolling ----

bool cWnd::CanScroll() const {
    return !m_ScrollRect.IsEmpty() && !m_ClientRect.IsEmpty() && m_ScrollRect.y1 > m_ClientRect.GetHeight();
}

void cWnd::RestrictRelClientToScrollRect() {
    float maxX = 0, maxY = 0;
    if (!m_ScrollRect.IsEmpty() && !m_ClientRect.IsEmpty()) {
        maxX = m_ScrollRect.x1 - m_ClientRect.GetWidth();
        maxY = m_ScrollRect.y1 - m_ClientRect.GetHeight();
    }
    if (m_ScrollOffset.x > maxX) m_ScrollOffset.x = maxX;
    if (m_ScrollOffset.y > maxY) m_ScrollOffset.y = maxY;
    if (m_ScrollOffset.x < 0) m_ScrollOffset.x = 0;
    if (m_ScrollOffset.y < 0) m_ScrollOffset.y = 0;
}

void cWnd::SetScrollOffset(const cVec2& offset) {
    m_ScrollOffset = offset;
    RestrictRelClientToScrollRect();
    for (cWnd* child : m_Children)
        if (child != m_ToolBar) child->CalcRects();
}

void cWnd::ScrollIntoView(cWnd* w) {
    if (!w || m_ClientRect.IsEmpty()) return;
    cVec2 offset = m_ScrollOffset;
    if (w->m_Rect.y1 > m_ClientRect.y1) offset.y -= w->m_Rect.y1 - m_ClientRect.y1;
    else if (w->m_Rect.y0 < m_ClientRect.y0) offset.y += m_ClientRect.y0 - w->m_Rect.y0;
    SetScrollOffset(offset);
}

cRect cWnd::ScrollBarRect() const {
    if (!CanScroll()) return cRect::Empty;
    const cTheme* theme = const_cast<cWnd*>(this)->GetTheme();
    float w = theme && theme->ScrollBarWidth > 0 ? theme->ScrollBarWidth : 12.0f;
    return cRect(m_ClientRect.x1 - w, m_ClientRect.y0, m_ClientRect.x1, m_ClientRect.y1);
}

cRect cWnd::ScrollThumbRect() const {
    cRect bar = ScrollBarRect();
    if (bar.IsEmpty()) return bar;
    float content = m_ScrollRect.y1, h = bar.GetHeight();
    float top = bar.y1 - m_ScrollOffset.y / content * h;
    return cRect(bar.x0, top - m_ClientRect.GetHeight() / content * h, bar.x1, top);
}

// ---- Mouse ----

bool cWnd::IsSizingBorderDrag() const { return m_DragPart >= Part::SizeLeft && m_DragPart <= Part::SizeGrip; }

int cWnd::GetMouseOver() {
    const cVec2& p = cInput::GetMousePosition();
    if (ScrollThumbRect().Contains(p)) return Part::ScrollThumb;
    if (ScrollBarRect().Contains(p)) return Part::ScrollBar;
    return m_Rect.Contains(p) ? Part::Client : Part::None;
}

bool cWnd::IsHot(bool hotFound) {
    m_MouseOver = Part::None;
    if (hotFound || !IsVisible() || !IsEnabled()) return false;
    if (m_DragPart != Part::None) {
        int over = GetMouseOver();
        m_MouseOver = over == m_DragPart ? over : Part::None;
        return true;
    }
    if (!GetClipRect().Contains(cInput::GetMousePosition())) return false;
    m_MouseOver = GetMouseOver();
    return true;
}

bool cWnd::OnSetCursor(cInput::Cursor::Enum* cursor) {
    switch (m_DragPart != Part::None ? m_DragPart : m_MouseOver) {
    case Part::SizeLeft: case Part::SizeRight: *cursor = cInput::Cursor::SizeWE; return true;
    case Part::SizeTop: case Part::SizeBottom: *cursor = cInput::Cursor::SizeNS; return true;
    case Part::SizeTopRight: case Part::SizeBottomLeft: *cursor = cInput::Cursor::SizeNESW; return true;
    case Part::SizeTopLeft: case Part::SizeBottomRight: case Part::SizeGrip:
        *cursor = cInput::Cursor::SizeNWSE; return true;
    case Part::Caption: *cursor = cInput::Cursor::SizeAll; return true;
    default: return false;
    }
}

// Wheel and middle button scroll the nearest window, this one or an
// ancestor, whose children reach beyond its client area.
bool cWnd::OnButtonDown(int button) {
    if (m_MouseOver == Part::None || m_DragPart != Part::None) return false;
    bool wheel = button == cInput::WheelUp || button == cInput::WheelDown;
    if (wheel || button == cInput::MiddleButton) {
        cWnd* target = this;
        while (target && !target->CanScroll()) target = target->m_Parent;
        if (!target) return false;
        if (wheel) {
            float step = target->GetWheelScrollSpeed() * (button == cInput::WheelUp ? -1.0f : 1.0f);
            target->SetScrollOffset(target->m_ScrollOffset + cVec2(0, step));
        } else {
            target->StartDrag(Part::MiddleScroll);
        }
        return true;
    }
    if (button != cInput::LeftButton || m_MouseOver == Part::Client) return false;
    if (m_MouseOver == Part::ScrollBar) {
        // A click beside the thumb puts the thumb's centre there, then drags it.
        cRect bar = ScrollBarRect(), thumb = ScrollThumbRect();
        float dy = cInput::GetMousePosition().y - thumb.GetCenter().y;
        SetScrollOffset(m_ScrollOffset - cVec2(0, dy / bar.GetHeight() * m_ScrollRect.y1));
        StartDrag(Part::ScrollThumb);
    } else {
        StartDrag(m_MouseOver);
    }
    return true;
}

void cWnd::StartDrag(int part) {
    m_DragPart = part;
    m_DragStartMouse = cInput::GetMousePosition();
    m_DragStartScroll = m_ScrollOffset;
    m_DragStartRect = m_Rect;
    cWidgets::SetCapture(this);
}

bool cWnd::OnMouseMove() {
    if (!cWidgets::IsCaptured(this) || m_DragPart == Part::None) return cWidget::OnMouseMove();
    cVec2 delta = cInput::GetMousePosition() - m_DragStartMouse;
    if (m_DragPart == Part::MiddleScroll) {
        SetScrollOffset(m_DragStartScroll + cVec2(-delta.x, delta.y));
    } else if (m_DragPart == Part::ScrollThumb) {
        float h = ScrollBarRect().GetHeight();
        if (h > 0) SetScrollOffset(m_DragStartScroll - cVec2(0, delta.y / h * m_ScrollRect.y1));
    } else {
        OnDragMove(delta);
    }
    return true;
}

bool cWnd::OnButtonUp(int button) {
    if (!cWidgets::IsCaptured(this)) return false;
    bool middle = m_DragPart == Part::MiddleScroll;
    if ((button == cInput::MiddleButton && middle) || (button == cInput::LeftButton && !middle))
        m_DragPart = Part::None;
    cWidgets::ReleaseCapture();
    return true;
}

void cWnd::OnBringToFront() {
    for (cWnd* child : m_Children)
        if (child != m_ToolBar) cWidgets::BringToFront(child);
    if (m_ToolBar) cWidgets::BringToFront(m_ToolBar);
}

}  // namespace zozud
