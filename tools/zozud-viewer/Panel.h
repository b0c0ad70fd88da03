// The viewer's control form: what is drawn (joints, tangent space, grid,
// bounds, wire frame), the animation time and its play switch, and buttons
// for opening, saving, framing, the theme and the screenshot. It only holds
// the values and the requests; the application acts on them each frame.
#pragma once

#include "zozud/widgets/Button.h"
#include "zozud/widgets/Form.h"
#include "zozud/widgets/Slider.h"

#include "Scene.h"

namespace viewer {

// What a button of the form asks for; the application takes it once.
struct Request {
    enum Enum { None = 0, Open, Save, Frame, Theme, Screenshot };
};

class Panel : public zozud::cForm {
public:
    static constexpr float Width = 200;

    DrawFlags Flags;
    bool      Playing = true;
    float     TimeSec = 0;
    float     DurationSec = 0;
    float     Zero = 0;

    Panel(const zozud::cRect& rect, const zozud::cTheme* theme);
    void SetTheme(const zozud::cTheme* theme);
    void MsgProc(int id, int msg, const void* oldValue, const void* newValue) override;
    Request::Enum TakeRequest();

private:
    zozud::cButton* m_Buttons[5] = {};
    Request::Enum   m_Request = Request::None;
};

}  // namespace viewer
