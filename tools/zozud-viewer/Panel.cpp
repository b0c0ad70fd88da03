#include "Panel.h"

#include "zozud/widgets/Widget.h"

using namespace zozud;

namespace viewer {

Panel::Panel(const cRect& rect, const cTheme* theme) : cForm(nullptr, "View", rect, theme) {
    const float row = 24;
    float y = 4;
    const float x = 6, w = (int)Width - 16;
    new cCheckBox(this, &Flags.Grid, "Grid", x, y, (int)w), y += row;
    new cCheckBox(this, &Flags.Bounds, "Bounds", x, y, (int)w), y += row;
    new cCheckBox(this, &Flags.Joints, "Joints", x, y, (int)w), y += row;
    new cCheckBox(this, &Flags.TangentSpace, "Tangent space", x, y, (int)w), y += row;
    new cCheckBox(this, &Flags.Wireframe, "Wire frame", x, y, (int)w), y += row;
    new cCheckBox(this, &Playing, "Play", x, y, (int)w), y += row;
    new cSlider(this, &TimeSec, &Zero, &DurationSec, "Time", x, y, (int)w), y += row + 4;
    static const char* const captions[5] = {"Open...", "Save...", "Frame", "Theme", "Screenshot"};
    for (int i = 0; i < 5; i++) {
        m_Buttons[i] = new cButton(this, captions[i], x + (i % 2) * (w / 2 + 2), y, (int)(w / 2 - 2));
        if (i % 2) y += row;
    }
}

void Panel::SetTheme(const cTheme* theme) {
    m_Theme = theme;
    CalcRects();
}

// Buttons report a click as message 0 with their widget id.
void Panel::MsgProc(int id, int msg, const void* oldValue, const void* newValue) {
    if (msg == 0) {
        for (int i = 0; i < 5; i++)
            if (m_Buttons[i] && cWidgets::GetWidgetID(m_Buttons[i]) == id) m_Request = (Request::Enum)(i + 1);
    }
    cForm::MsgProc(id, msg, oldValue, newValue);
}

Request::Enum Panel::TakeRequest() {
    Request::Enum r = m_Request;
    m_Request = Request::None;
    return r;
}

}  // namespace viewer
