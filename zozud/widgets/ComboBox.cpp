// cComboBox and its drop-down list: selection by keys, clicks and choices.
#include "zozud/widgets/ComboBox.h"

#include "zozud/render/Render.h"
#include "zozud/widgets/Form.h"
#include "zozud/widgets/Slider.h"

namespace zozud {

cComboBox::cComboBox(cWnd* parent, int* index, const char* caption, const cList<cStr>& items, float x, float y,
                     int width, bool visible, bool enabled)
    : cControl(parent, caption, x, y, width, visible, enabled), m_Index(index), m_Items(items) {
    m_TabStop = true;
}

cComboBox::~cComboBox() {
    if (!m_DropDown) return;
    m_DropDown->m_Owner = nullptr;
    m_DropDown->Close();
}

void cComboBox::SetItems(const cList<cStr>& items) {
    m_Items = items;
    if (m_Index && *m_Index >= m_Items.Count()) *m_Index = m_Items.Count() - 1;
}

void cComboBox::Select(int index) {
    if (!m_Index || index == *m_Index) return;
    int old = *m_Index;
    *m_Index = index;
    Notify(3, &old, &index);
}

void cComboBox::HandleSelection(int key) {
    if (!m_Index) return;
    int n = m_Items.Count(), at = *m_Index;
    if (n == 0) {
        Select(-1);
        return;
    }
    if (cSlider::IsLeftKey(key)) at = at - 1 < 0 ? 0 : at - 1;
    else if (cSlider::IsArrowKey(key)) at = at + 1 > n - 1 ? n - 1 : at + 1;
    Select(at);
}

void cComboBox::SelectedItem(int index) {
    if (index >= 0 && index < m_Items.Count()) Select(index);
}

bool cComboBox::OnButtonDown(int button) {
    // The game pad's sticks repeat as presses of their own.
    if (cInput::IsGamepadCode(button) && cSlider::IsArrowKey(button) && IsUsable() && HasFocusHere()) {
        HandleSelection(button);
        return true;
    }
    if (button != cInput::LeftButton || !MouseOverClient() || !GetFieldRect().Contains(cInput::GetMousePosition()))
        return cWnd::OnButtonDown(button);
    SetFocus(this);
    if (m_DropDown || m_Items.IsEmpty()) return true;
    m_DropDown = new cComboBoxDropDown(this);
    int layer = cWidgets::GetWidgetLayer(this) + 1;
    cWidgets::AddWidget(m_DropDown, layer < cWidgets::LayerCount ? layer : cWidgets::LayerCount - 1);
    cWidgets::SetCapture(m_DropDown);
    return true;
}

bool cComboBox::OnChar(int ch, int key) {
    if (!IsUsable() || !cSlider::IsArrowKey(key) || !HasFocusHere() || cWidgets::IsCaptured())
        return cWnd::OnChar(ch, key);
    HandleSelection(key);
    return true;
}

void cComboBox::OnRender() {
    PaintCaption();
    int at = GetIndex();
    Paint(cTheme::Parts::ComboBox, GetFieldRect(), at >= 0 && at < m_Items.Count() ? m_Items[at].ToChar() : "",
          m_DropDown ? 1.0f : 0.0f);
}

// ---- cComboBoxDropDown ----

cComboBoxDropDown::cComboBoxDropDown(cComboBox* owner)
    : m_Owner(owner), m_Items(owner->GetItems()), m_Highlight(owner->GetIndex()), m_Theme(owner->GetTheme()) {
    cRect field = owner->GetFieldRect();
    int shown = m_Items.Count() < MaxVisibleItems ? m_Items.Count() : MaxVisibleItems;
    m_Rect = cRect(field.x0, field.y0 - shown * ItemHeight, field.x1, field.y0);
    ScrollToCurSel();
}

cComboBoxDropDown::cComboBoxDropDown(void (*chosen)(int), const cList<cStr>& items, int current)
    : m_Chosen(chosen), m_Items(items), m_Highlight(current), m_Current(current) {
    cList<cForm*>& forms = cForm::GetForms();
    m_Theme = forms.IsEmpty() ? nullptr : forms.GetLast()->GetTheme();
    int shown = m_Items.Count() < MaxVisibleItems ? m_Items.Count() : MaxVisibleItems;
    cVec2 at = cInput::GetMousePosition();
    m_Rect = cRect(at.x, at.y - shown * ItemHeight, at.x + 150, at.y);
    ScrollToCurSel();
}

cComboBoxDropDown::~cComboBoxDropDown() {
    if (m_Owner) m_Owner->OnDropDownGone(this);
}

void cComboBoxDropDown::Close() {
    if (m_Dead) return;
    m_Dead = true;
    if (cWidgets::IsCaptured(this)) cWidgets::ReleaseCapture();
    if (m_Owner) m_Owner->OnDropDownGone(this);
    m_Owner = nullptr;
}

void cComboBoxDropDown::Choose(int index) {
    cComboBox* owner = m_Owner;
    void (*chosen)(int) = m_Chosen;
    Close();
    if (index < 0 || index >= m_Items.Count()) return;
    if (owner) owner->SelectedItem(index);
    else if (chosen) chosen(index);
}

void cComboBoxDropDown::ScrollToCurSel() {
    float h = m_Rect.GetHeight();
    if (m_Highlight < 0 || !(h > 0)) return;
    float top = m_Highlight * ItemHeight, bottom = top + ItemHeight;
    if (top < m_Scroll) m_Scroll = top;
    if (bottom > m_Scroll + h) m_Scroll = bottom - h;
}

int cComboBoxDropDown::ItemAt(const cVec2& p) const {
    if (!m_Rect.Contains(p)) return -1;
    int i = (int)((m_Rect.y1 - p.y + m_Scroll) / ItemHeight);
    return i >= 0 && i < m_Items.Count() ? i : -1;
}

bool cComboBoxDropDown::IsHot(bool hotFound) { return !hotFound && !m_Dead && m_Rect.Contains(cInput::GetMousePosition()); }

bool cComboBoxDropDown::OnButtonDown(int button) {
    if (m_Dead) return false;
    const cVec2& p = cInput::GetMousePosition();
    if (button == cInput::WheelUp || button == cInput::WheelDown) {
        float most = m_Items.Count() * ItemHeight - m_Rect.GetHeight();
        m_Scroll += GetWheelScrollSpeed() * (button == cInput::WheelUp ? -1 : 1);
        if (m_Scroll > most) m_Scroll = most;
        if (m_Scroll < 0) m_Scroll = 0;
        return true;
    }
    if (button == cInput::Enter) { Choose(m_Highlight); return true; }
    if (button == cInput::Esc) { Close(); return true; }
    if (!cInput::IsMouseButtonCode(button)) return true;
    if (m_Rect.Contains(p)) {
        Choose(ItemAt(p));
        return true;
    }
    // A click outside closes; a click on the owner's field is only that.
    bool onOwner = m_Owner && m_Owner->GetFieldRect().Contains(p);
    Close();
    return onOwner;
}

bool cComboBoxDropDown::OnButtonUp(int button) { (void)button; return cWidgets::IsCaptured(this); }

bool cComboBoxDropDown::OnMouseMove() {
    int at = ItemAt(cInput::GetMousePosition());
    if (at >= 0) m_Highlight = at;
    return cWidgets::IsCaptured(this);
}

bool cComboBoxDropDown::OnChar(int ch, int key) {
    (void)ch;
    if (m_Dead) return false;
    if (m_ArrowScroll && (key == cInput::Up || key == cInput::Down) && !m_Items.IsEmpty()) {
        int at = m_Highlight + (key == cInput::Up ? -1 : 1);
        m_Highlight = at < 0 ? 0 : (at >= m_Items.Count() ? m_Items.Count() - 1 : at);
        ScrollToCurSel();
    }
    return cWidgets::IsCaptured(this);
}

void cComboBoxDropDown::OnRender() {
    if (m_Dead || !m_Theme) return;
    cRender::PushClipRect();
    cRender::SetClipRect(m_Rect);
    cTheme::DrawArgs args;
    args.Part = cTheme::Parts::ComboBoxDropDown;
    args.Rect = m_Rect;
    args.Texts = m_Items;
    args.Index = m_Owner ? m_Owner->GetIndex() : m_Current;
    m_Theme->Draw(args);
    args.Part = cTheme::Parts::ComboBoxItem;
    for (int i = 0; i < m_Items.Count(); i++) {
        float top = m_Rect.y1 + m_Scroll - i * ItemHeight;
        if (top - ItemHeight > m_Rect.y1 || top < m_Rect.y0) continue;
        args.Rect = cRect(m_Rect.x0, top - ItemHeight, m_Rect.x1, top);
        args.Text = m_Items[i];
        args.Hot = i == m_Highlight ? 1.0f : 0.0f;
        args.Checked = m_Owner ? i == m_Owner->GetIndex() : i == m_Current;
        m_Theme->Draw(args);
    }
    cRender::PopClipRect();
}

}  // namespace zozud
