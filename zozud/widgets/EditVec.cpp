// cEditVec: one field per component, sharing the room right of the caption.
#include "zozud/widgets/EditVec.h"

#include "zozud/widgets/Edit.h"

namespace zozud {

namespace {
int ClampCount(int count) { return count < 1 ? 1 : count > cEditVec::MaxCount ? cEditVec::MaxCount : count; }
}  // namespace

cEditVec::cEditVec(int count, cWnd* parent, float* values, const char* caption, bool visible, bool enabled)
    : cControl(parent, caption, 0, 0, 0, visible, enabled), m_Count(ClampCount(count)) {
    for (int i = 0; i < m_Count; ++i) m_Edits[i] = new cEdit(this, values ? values + i : nullptr, nullptr, 0, 0, 1);
    CalcRects();
}

cEditVec::cEditVec(int count, cWnd* parent, int* values, const char* caption, bool visible, bool enabled)
    : cControl(parent, caption, 0, 0, 0, visible, enabled), m_Count(ClampCount(count)) {
    for (int i = 0; i < m_Count; ++i) m_Edits[i] = new cEdit(this, values ? values + i : nullptr, nullptr, 0, 0, 1);
    CalcRects();
}

// Equal shares of the field part with a 2 pixel gap between fields.
void cEditVec::CalcRects() {
    if (m_Parent) m_Rect = m_Parent->ToScreen(m_RelRect = GetRelBounds());
    if (m_Count > 0 && m_Edits[m_Count - 1] && m_Rect.IsValid()) {
        cRect field = GetFieldRect();
        float left = field.x0 - m_Rect.x0, share = field.GetWidth() / (float)m_Count, h = m_Rect.GetHeight();
        for (int i = 0; i < m_Count; ++i) {
            float x0 = left + share * (float)i;
            m_Edits[i]->SetRelRect(cRect(x0, 0, x0 + share - (i + 1 < m_Count ? 2.0f : 0.0f), h));
        }
    }
    m_ClientRect = m_Rect;
    CalcScrollRect();
}

void cEditVec::MsgProc(int id, int msg, const void* oldValue, const void* newValue) {
    (void)id;
    Notify(msg, oldValue, newValue);
}

void cEditVec::SetBufferFromValue() {
    for (int i = 0; i < m_Count; ++i) m_Edits[i]->SetBufferFromValue();
}

}  // namespace zozud
