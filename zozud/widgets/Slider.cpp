// cSlider and cSliderRanged: dragging, key steps and their reports.
#include "zozud/widgets/Slider.h"

#include "zozud/core/Str.h"

namespace zozud {

namespace {


float Clamped(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

cSlider::cSlider(cWnd* parent, float* value, const float* min, const float* max, const char* caption, float x,
                 float y, int width, bool visible, bool enabled)
    : cControl(parent, caption, x, y, width, visible, enabled), m_Float(value), m_MinFloat(min), m_MaxFloat(max) {
    m_TabStop = true;
}

cSlider::cSlider(cWnd* parent, int* value, const int* min, const int* max, const char* caption, float x, float y,
                 int width, bool visible, bool enabled)
    : cControl(parent, caption, x, y, width, visible, enabled), m_Int(value), m_MinInt(min), m_MaxInt(max) {
    m_TabStop = true;
}

bool cSlider::IsLeftKey(int key) {
    return key == cInput::Left || key == cInput::LeftThumbLeft || key == cInput::RightThumbLeft;
}

bool cSlider::IsArrowKey(int key) {
    return IsLeftKey(key) || key == cInput::Right || key == cInput::LeftThumbRight || key == cInput::RightThumbRight;
}

float cSlider::Get() const { return m_Int ? (float)*m_Int : (m_Float ? *m_Float : 0); }
float cSlider::Min() const { return m_Int ? (m_MinInt ? (float)*m_MinInt : 0) : (m_MinFloat ? *m_MinFloat : 0); }
float cSlider::Max() const { return m_Int ? (m_MaxInt ? (float)*m_MaxInt : 0) : (m_MaxFloat ? *m_MaxFloat : 1); }

bool cSlider::Set(float value) {
    float lo = Min(), hi = Max();
    if (hi < lo) hi = lo;
    value = Clamped(value, lo, hi);
    if (m_Int) {
        int v = (int)(value + (value < 0 ? -0.5f : 0.5f));
        if (v == *m_Int) return false;
        *m_Int = v;
        return true;
    }
    if (!m_Float || value == *m_Float) return false;
    *m_Float = value;
    return true;
}

void cSlider::Report(float oldValue) {
    if (m_Int) {
        int o = (int)oldValue, n = *m_Int;
        Notify(4, &o, &n);
    } else if (m_Float) {
        float n = *m_Float;
        Notify(5, &oldValue, &n);
    }
}

void cSlider::HandleSliding(int key) {
    const cTheme* theme = GetTheme();
    float range = Max() - Min(), step;
    if (m_Int) {
        int steps = theme && theme->SliderStepsInt > 0 ? theme->SliderStepsInt : 20;
        int s = (int)range / steps;
        step = (float)(s < 1 ? 1 : s);
    } else {
        int steps = theme && theme->SliderStepsFloat > 0 ? theme->SliderStepsFloat : 20;
        step = range / steps;
    }
    float old = Get();
    if (Set(old + (IsLeftKey(key) ? -step : step))) Report(old);
}

float cSlider::GetFraction() const {
    float range = Max() - Min();
    return range > 0 ? Clamped((Get() - Min()) / range, 0, 1) : 0;
}

cRect cSlider::ThumbRect() const {
    cRect track = GetFieldRect();
    const float thumb = ThumbSize();
    float x = track.x0 + thumb / 2 + GetFraction() * (track.GetWidth() - thumb);
    return cRect(x - thumb / 2, track.y0, x + thumb / 2, track.y1);
}

void cSlider::SetFromMouse() {
    cRect track = GetFieldRect();
    const float thumb = ThumbSize();
    float usable = track.GetWidth() - thumb;
    if (!(usable > 0)) return;
    float f = Clamped((cInput::GetMousePosition().x - track.x0 - thumb / 2) / usable, 0, 1);
    Set(Min() + f * (Max() - Min()));
}

bool cSlider::OnButtonDown(int button) {
    // The game pad's sticks repeat as presses of their own.
    if (cInput::IsGamepadCode(button) && IsArrowKey(button) && IsUsable() && HasFocusHere()) {
        HandleSliding(button);
        return true;
    }
    if (button != cInput::LeftButton || !MouseOverClient() || !GetFieldRect().Contains(cInput::GetMousePosition()))
        return cWnd::OnButtonDown(button);
    SetFocus(this);
    cWidgets::SetCapture(this);
    m_Dragging = true;
    m_DragStartValue = Get();
    SetFromMouse();
    return true;
}

bool cSlider::OnMouseMove() {
    if (!m_Dragging || !cWidgets::IsCaptured(this)) return cWnd::OnMouseMove();
    SetFromMouse();
    return true;
}

bool cSlider::OnButtonUp(int button) {
    if (!cWidgets::IsCaptured(this)) return cWnd::OnButtonUp(button);
    if (m_Dragging && button == cInput::LeftButton) {
        m_Dragging = false;
        cWidgets::ReleaseCapture();
        if (Get() != m_DragStartValue) Report(m_DragStartValue);
    } else if (button == m_Key) {
        m_Key = -1;
        cWidgets::ReleaseCapture();
    }
    return true;
}

bool cSlider::OnChar(int ch, int key) {
    bool captured = cWidgets::IsCaptured(this);
    if (captured) {
        if (key == m_Key) HandleSliding(key);
        return true;
    }
    if (!IsUsable() || !IsArrowKey(key) || !HasFocusHere() || cWidgets::IsCaptured()) return cWnd::OnChar(ch, key);
    HandleSliding(key);
    m_Key = key;
    cWidgets::SetCapture(this);
    return true;
}

void cSlider::OnRender() {
    PaintCaption();
    cStr shown = m_Int ? cStr::Format("%d", *m_Int) : cStr::Format("%.3f", Get());
    Paint(cTheme::Parts::Slider, GetFieldRect(), shown, 0, false, GetFraction());
    Paint(cTheme::Parts::SliderThumb, ThumbRect(), nullptr, m_Dragging ? 1.0f : 0.0f);
}

// ---- cSliderRanged ----

cSliderRanged::cSliderRanged(cWnd* parent, int* low, int* high, int* max, const char* caption, bool visible, bool enabled)
    : cControl(parent, caption, 0, 0, 0, visible, enabled), m_LowInt(low), m_HighInt(high), m_MaxInt(max) {}

cSliderRanged::cSliderRanged(cWnd* parent, float* low, float* high, float* max, const char* caption, bool visible,
                             bool enabled)
    : cControl(parent, caption, 0, 0, 0, visible, enabled), m_LowFloat(low), m_HighFloat(high), m_MaxFloat(max) {}

float cSliderRanged::Max() const { return m_MaxInt ? (float)*m_MaxInt : (m_MaxFloat ? *m_MaxFloat : 1); }

float cSliderRanged::Get(int end) const {
    if (m_LowInt) return (float)*(end ? m_HighInt : m_LowInt);
    return *(end ? m_HighFloat : m_LowFloat);
}

// An end moves within 0..max and never past the other end.
void cSliderRanged::Set(int end, float v) {
    float lo = end ? Get(0) : 0, hi = end ? Max() : Get(1);
    v = Clamped(v, lo, hi);
    if (m_LowInt) *(end ? m_HighInt : m_LowInt) = (int)(v + 0.5f);
    else *(end ? m_HighFloat : m_LowFloat) = v;
}

float cSliderRanged::ValueToPos(float v) const {
    cRect track = GetFieldRect();
    const float thumb = ThumbSize();
    float max = Max();
    return track.x0 + thumb / 2 + (max > 0 ? v / max : 0) * (track.GetWidth() - thumb);
}

float cSliderRanged::PosToValue(float x) const {
    cRect track = GetFieldRect();
    const float thumb = ThumbSize();
    float usable = track.GetWidth() - thumb;
    return usable > 0 ? Clamped((x - track.x0 - thumb / 2) / usable, 0, 1) * Max() : 0;
}

bool cSliderRanged::OnButtonDown(int button) {
    if (button != cInput::LeftButton || !MouseOverClient() || !GetFieldRect().Contains(cInput::GetMousePosition()))
        return cWnd::OnButtonDown(button);
    float x = cInput::GetMousePosition().x;
    float p0 = ValueToPos(Get(0)), p1 = ValueToPos(Get(1));
    float d0 = x < p0 ? p0 - x : x - p0, d1 = x < p1 ? p1 - x : x - p1;
    m_Dragged = d1 < d0 || (d1 == d0 && x > p1) ? 1 : 0;  // the nearer end; on a tie the side the mouse is on
    m_DragStart[0] = Get(0);
    m_DragStart[1] = Get(1);
    Set(m_Dragged, PosToValue(x));
    cWidgets::SetCapture(this);
    return true;
}

bool cSliderRanged::OnMouseMove() {
    if (m_Dragged < 0 || !cWidgets::IsCaptured(this)) return cWnd::OnMouseMove();
    Set(m_Dragged, PosToValue(cInput::GetMousePosition().x));
    return true;
}

bool cSliderRanged::OnButtonUp(int button) {
    if (m_Dragged < 0 || !cWidgets::IsCaptured(this)) return cWnd::OnButtonUp(button);
    if (button != cInput::LeftButton) return true;
    cWidgets::ReleaseCapture();
    int end = m_Dragged;
    m_Dragged = -1;
    if (Get(end) == m_DragStart[end]) return true;
    if (m_LowInt) {
        int o = (int)m_DragStart[end], n = (int)Get(end);
        Notify(4, &o, &n);
    } else {
        float n = Get(end);
        Notify(5, &m_DragStart[end], &n);
    }
    return true;
}

void cSliderRanged::OnRender() {
    PaintCaption();
    cRect track = GetFieldRect();
    const float thumb = ThumbSize();
    float max = Max();
    Paint(cTheme::Parts::SliderRange, track, nullptr, 0, false, max > 0 ? Get(0) / max : 0, max > 0 ? Get(1) / max : 0);
    for (int end = 0; end < 2; end++) {
        float x = ValueToPos(Get(end));
        Paint(cTheme::Parts::SliderThumb, cRect(x - thumb / 2, track.y0, x + thumb / 2, track.y1), nullptr,
              m_Dragged == end ? 1.0f : 0.0f);
    }
}

}  // namespace zozud
