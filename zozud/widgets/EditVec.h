// cEditVec: count edit fields side by side, one per consecutive component
// of a bound int or float array (a vector, a colour). A committed change of
// a component reaches the parent as the field's message (6 or 7) with this
// control's id.
// Surprises: toolkit thread only, no locks. count is clamped to 1..4.
#pragma once

#include "zozud/widgets/Control.h"

namespace zozud {

class cEdit;

class cEditVec : public cControl {
public:
    static constexpr int MaxCount = 4;

    cEditVec(int count, cWnd* parent, float* values, const char* caption, bool visible = true, bool enabled = true);
    cEditVec(int count, cWnd* parent, int* values, const char* caption, bool visible = true, bool enabled = true);

    void CalcRects() override;
    void MsgProc(int id, int msg, const void* oldValue, const void* newValue) override;
    void OnRender() override { PaintCaption(); }
    int  GetType() const override { return 13; }

    int    GetCount() const { return m_Count; }
    cEdit* GetEdit(int i) const { return i >= 0 && i < m_Count ? m_Edits[i] : nullptr; }
    void   SetBufferFromValue();  // every field shows its component again

private:
    int    m_Count = 0;
    cEdit* m_Edits[MaxCount] = {};
};

}  // namespace zozud
