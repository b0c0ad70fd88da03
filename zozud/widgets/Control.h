// cControl: what every control shares: the placement given at construction,
// painting its parts through the form's theme with its hot, pressed and
// enabled state, and the change message to its parent.
// Placement: x and y are the control's top-left corner in the parent's
// client area (y down), width its width in pixels (0: to the right edge of
// the parent's client area); the height is the theme's control height (20 without one). A
// panel stacks its controls and overrides x, y and the width.
// Surprises: toolkit thread only, no locks.
#pragma once

#include "zozud/widgets/Wnd.h"

namespace zozud {

class cControl : public cWnd {
public:
    static constexpr float DefaultHeight = 20.0f;

    cControl(cWnd* parent, const char* caption, float x, float y, int width, bool visible, bool enabled);

    cRect GetRelBounds() override;
    void  CalcRects() override;

    bool  IsUsable() const { return IsVisible() && IsEnabled(); }
    bool  HasFocusHere();  // this control holds its form's focus
    cRect GetFieldRect() const;    // the part right of the caption (all of it without caption)
    cRect GetCaptionRect() const;  // empty without caption

protected:
    // Sends a change message to the parent with this control's widget id.
    void Notify(int msg, const void* oldValue, const void* newValue);
    // Paints one part; Pressed, Hot and Enabled follow the control's state.
    void Paint(int part, const cRect& rect, const char* text, float pressed = 0, bool checked = false, float value = 0,
               float value2 = 1) const;
    // Paints the part the arguments name with Enabled, Activity and Alpha
    // from the control's state, within the control's clip rectangle.
    void Paint(cTheme::DrawArgs& args) const;
    float Height();     // the theme's control height
    float ThumbSize() const;  // the theme's slider handle width
    void PaintCaption() const;  // the caption as a label left of the field
    bool MouseOverClient() const { return m_MouseOver != Part::None; }
    bool MouseInside() const { return m_Rect.Contains(cInput::GetMousePosition()); }

    float m_X = 0, m_Y = 0;
    int   m_Width = 0;
};

}  // namespace zozud
