// cEditSlider: an edit field and a slider side by side on one bound value
// between two bound bounds; a change through either shows in the other and
// reaches the parent as the child's message (6 or 7 from the field, 4 or 5
// from the slider) with this control's id.
// Surprises: toolkit thread only, no locks.
#pragma once

#include "zozud/widgets/Control.h"

namespace zozud {

class cEdit;
class cSlider;

class cEditSlider : public cControl {
public:
    cEditSlider(cWnd* parent, int* value, const int* min, const int* max, const char* caption, bool visible = true,
                bool enabled = true);
    cEditSlider(cWnd* parent, float* value, const float* min, const float* max, const char* caption,
                bool visible = true, bool enabled = true);

    void CalcRects() override;
    void MsgProc(int id, int msg, const void* oldValue, const void* newValue) override;
    void OnRender() override { PaintCaption(); }
    int  GetType() const override { return 6; }

    cEdit*   GetEdit() const { return m_Edit; }
    cSlider* GetSlider() const { return m_Slider; }

private:
    cEdit*   m_Edit = nullptr;
    cSlider* m_Slider = nullptr;
};

}  // namespace zozud
