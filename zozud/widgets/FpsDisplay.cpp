// cFpsDisplay: the frame-rate box.
#include "zozud/widgets/FpsDisplay.h"

#include "zozud/core/Timer.h"

namespace zozud {

cFpsDisplay::cFpsDisplay(int layer, float x, float y) : m_Pos(x, y) { cWidgets::AddWidget(this, layer); }

bool cFpsDisplay::IsHot(bool hotFound) { return !hotFound && (m_Dragging || GetRect().Contains(cInput::GetMousePosition())); }

bool cFpsDisplay::OnButtonDown(int button) {
    if (button != cInput::LeftButton || !GetRect().Contains(cInput::GetMousePosition())) return false;
    m_Dragging = true;
    cWidgets::SetCapture(this);
    return true;
}

bool cFpsDisplay::OnMouseMove() {
    if (!m_Dragging || !cWidgets::IsCaptured(this)) return false;
    m_Pos = m_Pos + cInput::GetMouseDelta();
    return true;
}

bool cFpsDisplay::OnButtonUp(int button) {
    if (!m_Dragging || button != cInput::LeftButton) return false;
    m_Dragging = false;
    if (cWidgets::IsCaptured(this)) cWidgets::ReleaseCapture();
    return true;
}

cStr cFpsDisplay::GetText() const { return cStr::Format("%.1f fps", m_Fps); }

// Rendered once a frame, so the frame time is measured here.
void cFpsDisplay::OnRender() {
    float frame = cTimer::GetFrameTimeSec();
    if (frame > 0) {
        float weight = frame / 0.5f;
        if (weight > 1 || m_Fps == 0) weight = 1;
        m_Fps += (1.0f / frame - m_Fps) * weight;
    }
    const cTheme* theme = m_Theme ? m_Theme : cTheme::Ziduruz;
    if (!theme) return;
    cTheme::DrawArgs args;
    args.Part = cTheme::Parts::FpsDisplay;
    args.Rect = GetRect();
    args.Text = GetText();
    args.Pressed = m_Dragging ? 1.0f : 0.0f;
    theme->Draw(args);
}

}  // namespace zozud
