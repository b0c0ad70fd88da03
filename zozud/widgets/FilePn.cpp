// cFilePn: the field, the browse button and the dialog behind it.
#include "zozud/widgets/FilePn.h"

#include "zozud/widgets/Button.h"
#include "zozud/widgets/Edit.h"

namespace zozud {

namespace {
cFilePn::BrowseHook s_Browse = nullptr;
}

void cFilePn::SetBrowseHook(BrowseHook hook) { s_Browse = hook; }

cFilePn::cFilePn(cWnd* parent, cStr* path, const char* caption, bool visible, bool enabled)
    : cControl(parent, caption, 0, 0, 0, visible, enabled), m_Path(path) {
    m_Edit = new cEdit(this, path, nullptr, 0, 0, 1);
    m_Browse = new cButton(this, "...", 0, 0, 1);
    CalcRects();
}

// The button is square at the right end; the field takes the rest.
void cFilePn::CalcRects() {
    if (m_Parent) m_Rect = m_Parent->ToScreen(m_RelRect = GetRelBounds());
    if (m_Edit && m_Browse && m_Rect.IsValid()) {
        cRect field = GetFieldRect();
        float left = field.x0 - m_Rect.x0, w = m_Rect.GetWidth(), h = m_Rect.GetHeight();
        m_Edit->SetRelRect(cRect(left, 0, w - h - 2, h));
        m_Browse->SetRelRect(cRect(w - h, 0, w, h));
    }
    m_ClientRect = m_Rect;
    CalcScrollRect();
}

void cFilePn::MsgProc(int id, int msg, const void* oldValue, const void* newValue) {
    if (id != cWidgets::GetWidgetID(m_Browse) || msg != 0) {
        Notify(msg, oldValue, newValue);
        return;
    }
    if (!s_Browse || !m_Path || !IsUsable()) return;
    cStr chosen = *m_Path;
    if (!s_Browse(m_Caption.ToChar(), &chosen) || chosen == *m_Path) return;
    cStr old = *m_Path;
    *m_Path = chosen;
    m_Edit->SetBufferFromValue();
    Notify(8, &old, m_Path);
}

}  // namespace zozud
