// cLabel: shows a bound text (its caption when the text is null) and takes
// no input. cSeparator: a titled divider line between groups of controls.
// Surprises: toolkit thread only, no locks.
#pragma once

#include "zozud/widgets/Control.h"

namespace zozud {

class cLabel : public cControl {
public:
    cLabel(cWnd* parent, const cStr* text, const char* caption, float x, float y, int width, bool visible = true,
           bool enabled = true);
    void OnRender() override;
    int  GetType() const override { return 20; }
    const char* GetText() const { return m_Text ? m_Text->ToChar() : m_Caption.ToChar(); }

private:
    const cStr* m_Text;
};

class cSeparator : public cControl {
public:
    cSeparator(cWnd* parent, const char* caption, bool visible = true);
    void OnRender() override;
    int  GetType() const override { return 9; }
};

}  // namespace zozud
