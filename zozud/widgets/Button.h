// cButton: a push button. A left press over it captures the mouse; the
// release over it sends message 0 to its parent and to its second target
// window when it has one. Its caption is also its tool tip.
// cCheckBox: a box bound to a bool; the release over it toggles the bool and
// sends message 2 with the bound bool.
// Surprises: toolkit thread only, no locks.
#pragma once

#include "zozud/widgets/Control.h"

namespace zozud {

class cButton : public cControl {
public:
    cButton(cWnd* parent, const char* caption, float x, float y, int width, bool visible = true, bool enabled = true);

    bool OnButtonDown(int button) override;
    bool OnButtonUp(int button) override;
    void OnRender() override;
    bool OnSetToolTip(cStr* text, const cTheme** theme) override;
    int  GetType() const override { return 1; }

    void SetTarget(cWnd* target) { m_Target = target; }  // also told of every click; null for none
    bool IsPressed() const { return m_Pressed; }

protected:
    virtual void OnClick();
    cWnd* m_Target = nullptr;
    bool  m_Pressed = false;
};

class cCheckBox : public cButton {
public:
    cCheckBox(cWnd* parent, bool* value, const char* caption, float x, float y, int width, bool visible = true,
              bool enabled = true);

    void OnRender() override;
    bool OnSetToolTip(cStr*, const cTheme**) override { return false; }
    int  GetType() const override { return 3; }

protected:
    void OnClick() override;
    bool* m_Value;
};

}  // namespace zozud
