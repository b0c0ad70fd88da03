// cEditSlider: a field and a slider kept in step.
#include "zozud/widgets/EditSlider.h"

#include "zozud/widgets/Edit.h"
#include "zozud/widgets/Slider.h"

namespace zozud {

cEditSlider::cEditSlider(cWnd* parent, int* value, const int* min, const int* max, const char* caption, bool visible,
                         bool enabled)
    : cControl(parent, caption, 0, 0, 0, visible, enabled) {
    m_Edit = new cEdit(this, value, nullptr, 0, 0, 1);
    m_Edit->SetMinMax(min, max);
    m_Slider = new cSlider(this, value, min, max, nullptr, 0, 0, 1);
    CalcRects();
}

cEditSlider::cEditSlider(cWnd* parent, float* value, const float* min, const float* max, const char* caption,
                         bool visible, bool enabled)
    : cControl(parent, caption, 0, 0, 0, visible, enabled) {
    m_Edit = new cEdit(this, value, nullptr, 0, 0, 1);
    m_Edit->SetMinMax(min, max);
    m_Slider = new cSlider(this, value, min, max, nullptr, 0, 0, 1);
    CalcRects();
}

// The field takes a third of what the caption leaves, the slider the rest.
void cEditSlider::CalcRects() {
    if (m_Parent) m_Rect = m_Parent->ToScreen(m_RelRect = GetRelBounds());
    if (m_Edit && m_Slider && m_Rect.IsValid()) {
        cRect field = GetFieldRect();
        float left = field.x0 - m_Rect.x0, split = left + field.GetWidth() / 3, h = m_Rect.GetHeight();
        m_Edit->SetRelRect(cRect(left, 0, split, h));
        m_Slider->SetRelRect(cRect(split + 2, 0, m_Rect.GetWidth(), h));
    }
    m_ClientRect = m_Rect;
    CalcScrollRect();
}

void cEditSlider::MsgProc(int id, int msg, const void* oldValue, const void* newValue) {
    (void)id;
    if (msg == 4 || msg == 5) m_Edit->SetBufferFromValue();
    Notify(msg, oldValue, newValue);
}

}  // namespace zozud
