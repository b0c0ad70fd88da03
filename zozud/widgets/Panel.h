// cPanel: a framed group of child controls stacked top down, full width,
// each as high as it asks (GetRelBounds); clicking its caption folds and
// unfolds it. Its own height follows its children.
// Surprises: toolkit thread only, no locks. It lays its children out anew
// on every CalcRects, which its form runs each frame before drawing.
#pragma once

#include "zozud/widgets/Wnd.h"

namespace zozud {

class cPanel : public cWnd {
public:
    cPanel(cWnd* parent, const char* caption, bool visible = true, bool enabled = true);

    bool  OnButtonDown(int button) override;
    bool  OnButtonUp(int button) override;
    void  OnRender() override;
    int   GetType() const override { return 8; }
    cRect GetRelBounds() override;
    void  CalcRects() override;
    void  CalcRelBounds() override { AlignChildren(); }
    bool  GetTabStop() const override { return false; }
    int   GetMouseOver() override;

    void  SetSimple(bool on) { m_Simple = on; }  // a plain frame without caption
    bool  IsSimple() const { return m_Simple; }
    void  SetFolded(bool on);
    bool  IsFolded() const { return m_ClientHidden; }
    void  AlignChildren();  // stacks the children top down, full width

private:
    float CaptionHeight();
    float Padding();
    bool  m_Simple = false;
    bool  m_CaptionPressed = false;
};

}  // namespace zozud
