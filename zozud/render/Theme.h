// cTheme: paints every part of every control. Widgets fill a DrawArgs and
// call Draw on their form's theme; they never draw frames, arrows or captions
// themselves. Two themes exist, made once by Init: cTheme_Ziduruz (procedural
// gradients, animated) and cTheme_WindowsStandard (flat colours, bevels and
// decals). Each keeps the metrics its controls lay out with.
// Surprises: render thread only, like the rest of the render front end; every
// part stays inside the rectangle it is given (the tool tip places itself at
// its anchor when its rectangle is a point).
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/image/Color.h"
#include "zozud/math/Rect.h"
#include "zozud/math/Vec2.h"

namespace zozud {

class cTheme_Ziduruz;
class cTheme_WindowsStandard;

class cTheme {
public:
    static cTheme* Ziduruz;          // null before Init
    static cTheme* WindowsStandard;
    static constexpr float ToolTipDelaySec = 0.5f;
    static constexpr float CharRepeatDelaySec = 0.4f;
    static constexpr float CharRepeatRateSec = 0.04f;
    static constexpr float GamepadRepeatDelaySec = 0.3f;
    static constexpr float GamepadRepeatRateSec = 0.12f;

    // Creates the two themes once; a second call changes nothing.
    static void Init();

    // Kinds of parts a control asks to be painted. Texts: a caption in Text;
    // the items of a drop-down list in Texts. Check boxes and tool-bar
    // toggles are checked when Pressed is 1 outside a press (Checked).
    struct Parts {
        enum Enum {
            None = 0,
            ToolTip,
            Form, FormCaption, FormMinimizeButton, FormMaximizeButton, FormSizeGrip,
            Panel, PanelSimple, PanelCaption,
            ScrollBarVertical, ScrollBarVerticalThumb, ScrollBarUp, ScrollBarDown,
            Button, CheckBox, ComboBox, ComboBoxDropDown, ComboBoxItem,
            Edit, EditSelection, EditCaret,
            Slider, SliderThumb, SliderRange,
            Label, Separator, ColorSwatch, ImageSwatch, BindButton,
            ToolBar, ToolBarButton, FileBrowseButton,
            MessageBox, Splash, FpsDisplay,
            Focus,  // a focus mark around the rectangle (mostly a sub-part)
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
        bool  Checked = false;    // check boxes, toggled tool-bar buttons, the selected item
        float Value = 0;          // sliders: the handle position 0..1; range: the low end
        float Value2 = 1;         // range sliders: the high end 0..1
        int   Index = -1;         // tool-bar buttons: the icon; drop-downs: the selected item
        int   TextureID = -1;     // image swatches
        cColor Color = cColor(0, 0, 0, 1);  // colour swatches
        cList<Parts::Enum> SubParts;  // drawn after the part, inside the same rectangle
    };

    cTheme();
    virtual ~cTheme() = default;
    virtual void Draw(const DrawArgs& args) const = 0;

    // Layout metrics, in pixels unless named otherwise; each theme sets its own.
    float CaptionHeight = 0;     // form and panel captions
    float BorderWidth = 0;       // form frame, also its sizing band
    float Padding = 0;           // between a panel's frame and its children, and between children
    float ScrollBarWidth = 0;
    float SizeGripSize = 0;      // square in the form's bottom right corner
    float ControlHeight = 0;     // buttons, fields, combo boxes, check boxes
    float SliderThumbWidth = 0;
    float ToolBarHeight = 0, ToolBarButtonSize = 0;
    float CheckBoxSize = 0;
    float DragAlpha = 0.5f;      // a form's transparency while it is dragged or sized
    float ActivityFadeSpeed = 10.0f;  // activity units per second
    float HotFadeSpeed = 0, EnableFadeSpeed = 0, VisibleFadeSpeed = 0;
    float WheelScrollSpeed = 1;  // lines of ArrowScrollSpeed pixels per wheel step
    float ArrowScrollSpeed = 0;  // pixels per arrow step
    float MinFormWidth = 0, MinFormHeight = 0;
    int   SliderStepsFloat = 20, SliderStepsInt = 20;
    cVec2 ToolTipOffset = cVec2(0, 0);  // from the mouse to the tip's top-left corner
    mutable int FontID = -1, CaptionFontID = -1;  // resolved on first use
    mutable int ToolBarTextureID = -1;

protected:
    int Font() const;          // the controls' font, "Tahoma 8"
    int CaptionFont() const;   // window captions
    // The tool tip's rectangle: at the anchor when args.Rect is a point, else args.Rect.
    static cRect ToolTipRect(const DrawArgs& args, int fontID, float pad, const cVec2& offset);
    // c with its alpha scaled by alpha (a part's own fade times the colour's).
    static cColor Fade(cColor c, float alpha);
    // Narrows the clip rectangle to r within the current one; false, the clip
    // untouched, when nothing of r is left.
    static bool ClipTo(const cRect& r);
    // An image swatch's picture: the texture at alpha, or without one the
    // no-preview mark in noPreview.
    static void DrawSwatchImage(const cRect& r, int textureID, float alpha, const cColor& noPreview);
};

}  // namespace zozud
