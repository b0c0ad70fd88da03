// cFpsDisplay: a small box showing the frame rate, averaged over about half
// a second; a left press on it captures and drags it until the release.
// It is a plain widget, registered by its constructor in the given layer,
// and paints through a theme (the procedural one until SetTheme).
// Surprises: toolkit thread only, no locks.
#pragma once

#include "zozud/core/Str.h"
#include "zozud/math/Rect.h"
#include "zozud/widgets/Widget.h"

namespace zozud {

class cFpsDisplay : public cWidget {
public:
    static constexpr float Width = 70, Height = 18;

    cFpsDisplay(int layer, float x, float y);  // the box's bottom-left corner, y up

    bool OnButtonDown(int button) override;
    bool OnButtonUp(int button) override;
    bool OnMouseMove() override;
    void OnRender() override;
    bool IsHot(bool hotFound) override;

    void  SetTheme(const cTheme* theme) { m_Theme = theme; }
    cRect GetRect() const { return cRect(m_Pos.x, m_Pos.y, m_Pos.x + Width, m_Pos.y + Height); }
    float GetFps() const { return m_Fps; }
    cStr  GetText() const;

private:
    cVec2 m_Pos;
    float m_Fps = 0;
    bool  m_Dragging = false;
    const cTheme* m_Theme = nullptr;
};

}  // namespace zozud
