#include "zozud/render/ThemeZiduruz.h"

#include <algorithm>
#include <cmath>

#include "zozud/core/Timer.h"
#include "zozud/math/Mat4.h"
#include "zozud/math/Math.h"
#include "zozud/render/Render.h"
#include "zozud/render/RenderImmediate.h"

namespace zozud {

namespace {

typedef cRender::TextFlags TF;

// Fills r with a colour that a fill of r inset by d then covers except for
// its rim. When that cover is opaque (and replaces what is under it) only
// the rim is filled: the same pixels for a fraction of the work.
void FillUnder(const cRect& r, float d, const cColor& color, bool coverOpaque) {
    int blend = cRender::GetBlendState();
    bool replaces = coverOpaque && (blend == -1 || blend == cRender_AlphaBlendState());
    if (!replaces || !(r.x1 - r.x0 > 2 * d) || !(r.y1 - r.y0 > 2 * d)) return cRender::FillRectangleSolid(r, color);
    const cRect rim[4] = {cRect(r.x0, r.y0, r.x1, r.y0 + d), cRect(r.x0, r.y1 - d, r.x1, r.y1),
                          cRect(r.x0, r.y0 + d, r.x0 + d, r.y1 - d), cRect(r.x1 - d, r.y0 + d, r.x1, r.y1 - d)};
    cRender::FillRectanglesSolid(rim, 4, color);
}

// A pulse between 0 and 1 with the given period.
float Pulse(float periodSec) {
    float t = cMath::Periodic(cTimer::GetTimeSec(), 0, periodSec);
    return 0.5f + 0.5f * std::sin(t / periodSec * 6.2831853f);
}

}  // namespace

cTheme_Ziduruz::cTheme_Ziduruz() {
    CaptionHeight = 20;
    BorderWidth = 4;
    Padding = 4;
    ScrollBarWidth = 12;
    SizeGripSize = 14;
    ControlHeight = 20;
    SliderThumbWidth = 14;
    ToolBarHeight = 28;
    ToolBarButtonSize = 24;
    CheckBoxSize = 14;
    DragAlpha = 0.6f;
    ActivityFadeSpeed = 6;
    HotFadeSpeed = 8;
    EnableFadeSpeed = 4;
    VisibleFadeSpeed = 4;
    WheelScrollSpeed = 3;
    ArrowScrollSpeed = 16;
    MinFormWidth = 80;
    MinFormHeight = 48;
    ToolTipOffset = cVec2(12, 16);
}

void cTheme_Ziduruz::Draw(const DrawArgs& args) const {
    if (args.Visible <= 0 || args.Alpha <= 0) return;
    DrawArgs a = args;
    if (a.Part == Parts::ToolTip) a.Rect = ToolTipRect(args, Font(), 4, ToolTipOffset);
    if (a.Rect.IsEmpty() || a.Rect.GetWidth() <= 0 || a.Rect.y1 <= a.Rect.y0) return;
    a.Alpha *= a.Visible;
    cRender::PushClipRect();
    cRender::PushWorldMatrix();
    if (ClipTo(a.Rect)) {
        DrawPart(a.Part, a);
        for (int i = 0; i < a.SubParts.Count(); i++) DrawPart(a.SubParts[i], a);
    }
    cRender::PopWorldMatrix();
    cRender::PopClipRect();
}

// A rounded bar filling r: a darker rim with a soft outer edge, and inside it
// a gradient from the centre line out to the bound colour.
void cTheme_Ziduruz::Capsule(const cRect& r, const cColor& center, const cColor& bound) const {
    float w = r.x1 - r.x0, h = r.y1 - r.y0;
    cVec2 c = r.GetCenter();
    float rad = std::min(w, h) * 0.5f;
    cVec2 from = w >= h ? cVec2(r.x0 + rad, c.y) : cVec2(c.x, r.y0 + rad);
    cVec2 to = w >= h ? cVec2(r.x1 - rad, c.y) : cVec2(c.x, r.y1 - rad);
    cColor rim = cColor::Lerp(bound, cColor::Black, 0.35f);
    rim.a = bound.a;
    cColor clear = rim;
    clear.a = 0;
    float soft = std::min(1.5f, rad);
    cRender::FillSegmentRadialGradient(from, to, rad - soft, soft, rim, clear, 1);
    if (rad > 2) cRender::FillSegmentRadialGradient(from, to, 0, rad - 1.5f, center, bound, 2);
}

// A round knob: a rim and a lit centre.
void cTheme_Ziduruz::Knob(const cVec2& c, float rad, const cColor& center, const cColor& bound) const {
    cColor rim = cColor::Lerp(bound, cColor::Black, 0.35f);
    rim.a = bound.a;
    cRender::FillCircleRadialGradient(c, rad, rim, rim, 1);
    if (rad > 1.5f) cRender::FillCircleRadialGradient(c, rad - 1, center, bound, 1.5f);
}

// An arrow head pointing along angle (radians, 0 = right) drawn with lines.
void cTheme_Ziduruz::Chevron(const cVec2& c, float size, float angle, const cColor& color) const {
    cRender::PushWorldMatrix();
    cRender::SetWorldMatrix(cMat4::RotationAt(c, angle));
    for (int i = 0; i < 2; i++) {
        float dx = (float)i - 1;
        cRender::DrawLine(cVec2(c.x - size * 0.5f + dx, c.y + size), cVec2(c.x + size * 0.5f + dx, c.y), color);
        cRender::DrawLine(cVec2(c.x + size * 0.5f + dx, c.y), cVec2(c.x - size * 0.5f + dx, c.y - size), color);
    }
    cRender::PopWorldMatrix();
}

void cTheme_Ziduruz::Caption(const cRect& r, const DrawArgs& a, int flags, float pad) const {
    if (a.Text.IsEmpty()) return;
    cColor ink = cColor::Lerp(cColor::Lerp(cColor::Gainsboro, cColor::Black, 0.45f), cColor::Black, a.Enabled);
    float x = (flags & TF::CenterX) ? (r.x0 + r.x1) * 0.5f : r.x0 + pad;
    int font = (a.Part == Parts::FormCaption) ? CaptionFont() : Font();
    cRender::DrawString(font, a.Text.ToChar(), x, (r.y0 + r.y1) * 0.5f, flags | TF::CenterY, Fade(ink, a.Alpha));
}

void cTheme_Ziduruz::DrawPart(int part, const DrawArgs& a) const {
    const cRect& r = a.Rect;
    cVec2 c = r.GetCenter();
    float w = r.x1 - r.x0, h = r.y1 - r.y0;
    // The base colour warms towards white when hot and towards red when pressed.
    cColor face = cColor::Lerp(cColor::Gainsboro, cColor::White, a.Hot * 0.7f);
    face = cColor::Lerp(face, cColor::IndianRed, a.Pressed * 0.6f);
    face = cColor::Lerp(cColor::Lerp(face, cColor::Gainsboro, 0.5f), face, a.Enabled);
    cColor accent = cColor::Lerp(cColor::IndianRed, cColor::Red, a.Activity);
    float al = a.Alpha;
    switch (part) {
    case Parts::ToolTip:
        cRender::FillRectangleSolid(r, Fade(cColor::Black, 0.75f * al));
        cRender::FillRectangleRadialGradient(cRect(r.x0 + 1, r.y0 + 1, r.x1 - 1, r.y1 - 1), true,
                                             Fade(cColor::White, al), Fade(cColor::Gainsboro, al));
        Caption(r, a, TF::CenterX, 0);
        break;
    case Parts::Form: case Parts::MessageBox: case Parts::Splash: {
        cColor body = cColor::Lerp(Fade(cColor::Gainsboro, 0.85f), cColor::Gainsboro, a.Activity);
        cColor inner = Fade(cColor::White, body.a * al), outer = Fade(body, al);
        FillUnder(r, 2, Fade(cColor::Lerp(cColor::Black, accent, a.Activity * 0.6f), al), inner.a >= 1 && outer.a >= 1);
        cRender::FillRectangleRadialGradient(cRect(r.x0 + 2, r.y0 + 2, r.x1 - 2, r.y1 - 2), false, inner, outer, 1.5f);
        if (part != Parts::Form) Caption(r, a, TF::CenterX, 0);
        break;
    }
    case Parts::FormCaption: case Parts::PanelCaption: {
        cColor top = cColor::Lerp(cColor::Gainsboro, accent, part == Parts::FormCaption ? a.Activity * 0.8f : 0.25f);
        cRender::FillRectangleRadialGradient(r, false, Fade(cColor::White, al), Fade(top, al), 1.2f);
        // Concave corners where the caption meets the frame below it.
        float q = std::min(h, 8.0f);
        cRender::CaveCornerArgs cc;
        cc.CaveFrom = cVec2(r.x0, r.y0 + q); cc.CaveTo = cVec2(r.x0 + q, r.y0);
        cc.FlatFrom = cVec2(r.x0, r.y0); cc.FlatTo = cVec2(r.x0 + q, r.y0);
        cc.HalfFrom = cVec2(r.x0, r.y0); cc.HalfTo = cVec2(r.x0, r.y0 + q);
        cc.GradRadius = q;
        cc.CenterColor = Fade(top, al);
        cc.BoundColor = Fade(top, 0);
        cRender::DrawCaveCaveCorner(cRect(r.x0, r.y0, r.x0 + q, r.y0 + q), cc);
        if (part == Parts::PanelCaption)
            Chevron(cVec2(r.x1 - h * 0.5f, c.y), h * 0.2f, a.Pressed > 0.5f ? 0.0f : -1.5707963f,
                    Fade(cColor::Black, al));
        Caption(part == Parts::PanelCaption ? cRect(r.x0, r.y0, r.x1 - h, r.y1) : r, a, 0, 6);
        break;
    }
    case Parts::FormMinimizeButton: case Parts::FormMaximizeButton: case Parts::ScrollBarUp:
    case Parts::ScrollBarDown: case Parts::FileBrowseButton: {
        float rad = std::min(w, h) * 0.5f;
        float s = 1.0f - 0.1f * a.Pressed;
        cRender::SetWorldMatrix(cMat4::ScalingAt(c, s));
        Knob(c, rad, Fade(cColor::White, al), Fade(face, al));
        cColor ink = Fade(cColor::Lerp(cColor::Black, accent, a.Hot), al);
        if (part == Parts::FormMinimizeButton) cRender::FillRectangleSolid(cRect(c.x - rad * 0.5f, c.y - 1, c.x + rad * 0.5f, c.y + 1), ink);
        else if (part == Parts::FormMaximizeButton) cRender::DrawRectangle(cRect(c.x - rad * 0.5f, c.y - rad * 0.5f, c.x + rad * 0.5f, c.y + rad * 0.5f), ink);
        else if (part == Parts::FileBrowseButton) for (int i = -1; i <= 1; i++) cRender::FillCircleSolid(cVec2(c.x + i * rad * 0.45f, c.y), 1.2f, ink, 8);
        else Chevron(c, rad * 0.4f, part == Parts::ScrollBarUp ? 1.5707963f : -1.5707963f, ink);
        break;
    }
    case Parts::FormSizeGrip:
        for (int i = 1; i <= 3; i++) {
            float d = w * i / 4.0f;
            cRender::DrawLine(cVec2(r.x1 - d, r.y0 + 1), cVec2(r.x1 - 1, r.y0 + d), Fade(cColor::Lerp(cColor::Black, accent, a.Hot), 0.6f * al));
        }
        break;
    case Parts::Panel:
        cRender::FillRectangleSolid(r, Fade(cColor::Black, 0.12f * al));
        cRender::FillRectangleLinearGradient(cRect(r.x0 + 1, r.y0 + 1, r.x1 - 1, r.y1 - 1), Fade(cColor::Gainsboro, al),
                                             Fade(cColor::White, 0.6f * al), cRender::LinearGradient::Vertical);
        break;
    case Parts::PanelSimple: case Parts::Label: case Parts::FpsDisplay:
        if (part == Parts::FpsDisplay) cRender::FillRectangleSolid(r, Fade(cColor::Black, 0.5f * al));
        if (part == Parts::FpsDisplay) {
            cRender::DrawString(Font(), a.Text.ToChar(), r.x0 + 3, c.y, TF::CenterY, Fade(cColor::White, al));
        } else {
            Caption(r, a, 0, 2);
        }
        break;
    case Parts::ScrollBarVertical: case Parts::Slider: case Parts::SliderRange: {
        bool vertical = part == Parts::ScrollBarVertical;
        cRect track = vertical ? cRect(c.x - w * 0.25f, r.y0, c.x + w * 0.25f, r.y1) : cRect(r.x0, c.y - 3, r.x1, c.y + 3);
        Capsule(track, Fade(cColor::Lerp(cColor::Gainsboro, cColor::Black, 0.2f), al), Fade(cColor::Gainsboro, al));
        if (part == Parts::SliderRange) {
            float rad = h * 0.4f;
            float lo = r.x0 + rad + (w - 2 * rad) * a.Value, hi = r.x0 + rad + (w - 2 * rad) * a.Value2;
            Capsule(cRect(lo - 3, c.y - 3, hi + 3, c.y + 3), Fade(accent, al), Fade(cColor::IndianRed, al));
            Knob(cVec2(lo, c.y), rad, Fade(cColor::White, al), Fade(face, al));
            Knob(cVec2(hi, c.y), rad, Fade(cColor::White, al), Fade(face, al));
        }
        break;
    }
    case Parts::ScrollBarVerticalThumb: case Parts::SliderThumb: {
        float s = 1.0f + 0.08f * a.Hot - 0.12f * a.Pressed;
        cRender::SetWorldMatrix(cMat4::ScalingAt(c, s));
        if (part == Parts::SliderThumb) Knob(c, std::min(w, h) * 0.5f, Fade(cColor::White, al), Fade(face, al));
        else Capsule(r, Fade(cColor::White, al), Fade(cColor::Lerp(face, accent, 0.3f * a.Hot), al));
        break;
    }
    case Parts::Button: case Parts::BindButton: case Parts::ToolBarButton: case Parts::ComboBox: {
        float s = 1.0f - 0.05f * a.Pressed;
        cRender::SetWorldMatrix(cMat4::ScalingAt(c, s));
        cColor inner = cColor::Lerp(cColor::White, accent, a.Checked ? 0.5f : 0.0f);
        Capsule(r, Fade(inner, al), Fade(face, al));
        if (part == Parts::ComboBox) {
            Chevron(cVec2(r.x1 - h * 0.5f, c.y), h * 0.18f, -1.5707963f, Fade(cColor::Black, al));
            Caption(cRect(r.x0, r.y0, r.x1 - h, r.y1), a, 0, h * 0.5f);
        } else if (part == Parts::ToolBarButton && a.Text.IsEmpty()) {
            // Icons in this theme are plain marks: a dot per index.
            cRender::FillCircleSolid(c, std::min(w, h) * 0.2f, Fade(cColor::Lerp(cColor::Black, accent, a.Hot), al), 12);
        } else {
            Caption(r, a, TF::CenterX, 0);
        }
        break;
    }
    case Parts::CheckBox: {
        float size = std::min(h, CheckBoxSize);
        cVec2 bc(r.x0 + size * 0.5f, c.y);
        Knob(bc, size * 0.5f, Fade(cColor::White, al), Fade(face, al));
        if (a.Checked) cRender::FillCircleRadialGradient(bc, size * 0.3f, Fade(cColor::Red, al), Fade(accent, al), 1);
        Caption(cRect(r.x0 + size, r.y0, r.x1, r.y1), a, 0, 4);
        break;
    }
    case Parts::ComboBoxDropDown:
        cRender::FillRectangleSolid(r, Fade(cColor::Black, 0.3f * al));
        cRender::FillRectangleSolid(cRect(r.x0 + 1, r.y0 + 1, r.x1 - 1, r.y1 - 1), Fade(cColor::White, 0.95f * al));
        break;
    case Parts::ComboBoxItem:
        if (a.Checked || a.Hot > 0)
            cRender::FillRectangleRadialGradient(r, true, Fade(accent, al * std::max(a.Hot, a.Checked ? 1.0f : 0.0f)),
                                                 Fade(cColor::IndianRed, 0), 1);
        Caption(r, a, 0, 4);
        break;
    case Parts::Edit: {
        cColor field = Fade(cColor::Lerp(cColor::Gainsboro, cColor::White, 0.7f + 0.3f * a.Hot), al);
        FillUnder(r, 1, Fade(cColor::Lerp(cColor::Black, accent, a.Activity * a.Pressed), 0.35f * al), field.a >= 1);
        cRender::FillRectangleSolid(cRect(r.x0 + 1, r.y0 + 1, r.x1 - 1, r.y1 - 1), field);
        Caption(r, a, 0, 3);
        break;
    }
    case Parts::EditSelection:
        cRender::FillRectangleSolid(r, Fade(cColor::IndianRed, 0.5f * al));
        break;
    case Parts::EditCaret:
        cRender::FillRectangleSolid(r, Fade(cColor::Black, al * (0.35f + 0.65f * Pulse(1.0f))));
        break;
    case Parts::Separator: {
        cRender::FillRectangleLinearGradient(cRect(r.x0, c.y, r.x1, c.y + 1), Fade(cColor::Black, 0.5f * al),
                                             Fade(cColor::Black, 0), cRender::LinearGradient::Horizontal);
        if (!a.Text.IsEmpty()) {
            cRect cells = cRender::MeasureStringCells(Font(), a.Text.ToChar());
            cRender::FillRectangleSolid(cRect(r.x0, r.y0, r.x0 + cells.GetWidth() + 8, r.y1), Fade(cColor::Gainsboro, al));
            Caption(r, a, 0, 4);
        }
        break;
    }
    case Parts::ColorSwatch: {
        cRender::FillRectangleDither(r, cVec2(r.x0, r.y0), Fade(cColor::White, al), Fade(cColor::Gainsboro, al));
        cColor col = a.Color;
        col.a *= al;
        cRender::FillRectangleSolid(cRect(r.x0 + 1, r.y0 + 1, r.x1 - 1, r.y1 - 1), col);
        break;
    }
    case Parts::ImageSwatch:
        DrawSwatchImage(r, a.TextureID, al, Fade(cColor::Black, 0.5f * al));
        break;
    case Parts::ToolBar:
        Capsule(r, Fade(cColor::White, 0.8f * al), Fade(cColor::Gainsboro, al));
        break;
    case Parts::Focus:
        cRender::DrawRectangle(r, Fade(accent, al * (0.4f + 0.6f * Pulse(1.2f))));
        break;
    default:
        break;
    }
}

}  // namespace zozud
