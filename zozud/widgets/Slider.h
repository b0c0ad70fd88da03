// cSlider: a handle on a track over a bound int or float between two bound
// bounds. Dragging sets the value from the handle's position and the release
// reports a change (message 4 for ints, 5 for floats). With the focus, the
// arrow keys ("Left", "Right" and the thumb sticks' left and right) step it,
// a step being the range divided by the theme's step count (at least 1 for
// ints); a held key steps again with every repeat and each step reports.
// cSliderRanged: two handles on a track from 0 to a bound maximum, over a
// bound low and high value that never cross; dragging moves the nearer one.
// Surprises: toolkit thread only, no locks. The bounds are read at every use,
// so the creator may change them.
#pragma once

#include "zozud/widgets/Control.h"

namespace zozud {

class cSlider : public cControl {
public:
    cSlider(cWnd* parent, float* value, const float* min, const float* max, const char* caption, float x, float y,
            int width, bool visible = true, bool enabled = true);
    cSlider(cWnd* parent, int* value, const int* min, const int* max, const char* caption, float x, float y,
            int width, bool visible = true, bool enabled = true);

    bool OnButtonDown(int button) override;
    bool OnButtonUp(int button) override;
    bool OnMouseMove() override;
    bool OnChar(int ch, int key) override;
    void OnRender() override;
    int  GetType() const override { return 10; }

    void  HandleSliding(int key);  // one step down ("Left" and the thumbs' left) or up (any other key)
    float GetFraction() const;     // where the value sits between the bounds, 0..1
    static bool IsArrowKey(int key);
    static bool IsLeftKey(int key);

protected:
    float Get() const;
    float Min() const;
    float Max() const;
    bool  Set(float value);  // clamped, through the bound type; true when it changed
    void  Report(float oldValue);
    void  SetFromMouse();
    cRect ThumbRect() const;

    float* m_Float = nullptr;
    int*   m_Int = nullptr;
    const float *m_MinFloat = nullptr, *m_MaxFloat = nullptr;
    const int *m_MinInt = nullptr, *m_MaxInt = nullptr;
    int   m_Key = -1;          // the arrow key that captured, -1 for none
    bool  m_Dragging = false;
    float m_DragStartValue = 0;
};

class cSliderRanged : public cControl {
public:
    cSliderRanged(cWnd* parent, int* low, int* high, int* max, const char* caption, bool visible = true, bool enabled = true);
    cSliderRanged(cWnd* parent, float* low, float* high, float* max, const char* caption, bool visible = true, bool enabled = true);

    bool OnButtonDown(int button) override;
    bool OnButtonUp(int button) override;
    bool OnMouseMove() override;
    void OnRender() override;
    int  GetType() const override { return 11; }

private:
    float Get(int end) const;  // 0 low, 1 high
    void  Set(int end, float value);
    float Max() const;
    float PosToValue(float x) const;
    float ValueToPos(float v) const;

    int *m_LowInt = nullptr, *m_HighInt = nullptr, *m_MaxInt = nullptr;
    float *m_LowFloat = nullptr, *m_HighFloat = nullptr, *m_MaxFloat = nullptr;
    int   m_Dragged = -1;  // the end being dragged
    float m_DragStart[2] = {0, 0};
};

}  // namespace zozud
