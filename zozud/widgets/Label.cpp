// cLabel and cSeparator: painted parts without input.
#include "zozud/widgets/Label.h"

namespace zozud {

cLabel::cLabel(cWnd* parent, const cStr* text, const char* caption, float x, float y, int width, bool visible,
               bool enabled)
    : cControl(parent, caption, x, y, width, visible, enabled), m_Text(text) {}

void cLabel::OnRender() {
    if (m_Text && m_Caption.Length() > 0) {
        PaintCaption();
        Paint(cTheme::Parts::Label, GetFieldRect(), *m_Text);
    } else {
        Paint(cTheme::Parts::Label, m_Rect, GetText());
    }
}

cSeparator::cSeparator(cWnd* parent, const char* caption, bool visible)
    : cControl(parent, caption, 0, 0, 0, visible, true) {}

void cSeparator::OnRender() { Paint(cTheme::Parts::Separator, m_Rect, m_Caption); }

}  // namespace zozud
