// cToolBar: a strip of buttons across the top of a form, outside its client
// area. Buttons line up left to right; when they reach past the strip, a
// drag on the strip's free space scrolls them sideways (cursor SizeAll).
// cToolBarButton: a button on the strip showing an icon of the theme's tool
// bar image (its caption when it has no icon, and as its tool tip).
// Surprises: toolkit thread only, no locks.
#pragma once

#include "zozud/widgets/Button.h"

namespace zozud {

class cToolBar : public cWnd {
public:
    static constexpr float DefaultHeight = 24.0f;

    cToolBar(cForm* form, bool visible = true, bool enabled = true);

    // A button placed right of the last child; icon -1 shows the caption.
    class cToolBarButton* AddButton(const char* caption, int icon = -1);
    float NextX() const;  // where the next child goes, relative to the strip

    int   GetType() const override { return 12; }
    cRect GetRelBounds() override;
    void  CalcRects() override;
    bool  OnButtonDown(int button) override;
    bool  OnButtonUp(int button) override;
    bool  OnMouseMove() override;
    bool  OnSetCursor(cInput::Cursor::Enum* cursor) override;
    void  OnRender() override;
    // The buttons' messages go on to the form.
    void  MsgProc(int id, int msg, const void* oldValue, const void* newValue) override;

private:
    bool  m_Dragging = false;
    float m_DragFromX = 0, m_DragFromOffset = 0;
};

class cToolBarButton : public cButton {
public:
    cToolBarButton(cToolBar* bar, const char* caption, int icon, float x);
    cRect GetRelBounds() override;
    void  CalcRects() override;
    void  OnRender() override;
    int   GetIcon() const { return m_Icon; }

private:
    int m_Icon;
};

}  // namespace zozud
