// cTheme: paints every part of every control. Widgets fill a DrawArgs and
// call Draw on their form's theme; they never draw frames or captions
// themselves. This is the interface the widget tree calls: the metrics it
// lays out with and the part kinds it asks for. Concrete themes derive.
// Surprises: render thread only, like the rest of the render front end.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/math/Rect.h"
#include "zozud/math/Vec2.h"

namespace zozud {

class cTheme {
public:
    static constexpr float ToolTipDelaySec = 0.5f;
    static constexpr float CharRepeatDelaySec = 0.4f;
    static constexpr float CharRepeatRateSec = 0.04f;
    static constexpr float GamepadRepeatDelaySec = 0.3f;
    static constexpr float GamepadRepeatRateSec = 0.12f;

    // Kinds of parts a control asks to be painted.
    struct Parts {
        enum Enum {
            None = 0,
            ToolTip,
            Form, FormCaption, FormMinimizeButton, FormMaximizeButton, FormSizeGrip,
            Panel, PanelSimple, PanelCaption,
            ScrollBarVertical, ScrollBarVerticalThumb,
            Count
        };
    };

    // One paint request.
    struct DrawArgs {
        int   Part = Parts::None;
        cRect Rect = cRect::Empty;
        cStr  Text;
        cList<cStr> Texts;
        cVec2 Pos = cVec2(0, 0);  // the tool tip's anchor (mouse position)
        float Hot = 0, Pressed = 0, Enabled = 1, Visible = 1, Activity = 1, Alpha = 1;
        cList<Parts::Enum> SubParts;
    };

    virtual ~cTheme() = default;
    virtual void Draw(const DrawArgs& args) const = 0;

    // Layout metrics, in pixels unless named otherwise; each theme sets its own.
    float CaptionHeight = 0;     // form and panel captions
    float BorderWidth = 0;       // form frame, also its sizing band
    float Padding = 0;           // between a panel's frame and its children, and between children
    float ScrollBarWidth = 0;
    float SizeGripSize = 0;      // square in the form's bottom right corner
    float DragAlpha = 0.5f;      // a form's transparency while it is dragged or sized
    float ActivityFadeSpeed = 10.0f;  // activity units per second
    float WheelScrollSpeed = 1;  // lines of ArrowScrollSpeed pixels per wheel step
    float ArrowScrollSpeed = 0;  // pixels per arrow step
    float MinFormWidth = 0, MinFormHeight = 0;
    int   SliderStepsFloat = 20, SliderStepsInt = 20;
};

}  // namespace zozud
