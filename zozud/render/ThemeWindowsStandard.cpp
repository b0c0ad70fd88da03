#include "zozud/render/ThemeWindowsStandard.h"

#include <algorithm>
#include <cmath>

#include "zozud/render/Render.h"

namespace zozud {

namespace {

typedef cRender::TextFlags TF;
typedef cTheme_WindowsStandard::WindowsStandard WS;

const cColor Face(212 / 255.f, 208 / 255.f, 200 / 255.f), Light(1, 1, 1), Shadow(128 / 255.f, 128 / 255.f, 128 / 255.f),
    DarkShadow(64 / 255.f, 64 / 255.f, 64 / 255.f), Window(1, 1, 1), Ink(0, 0, 0), GrayInk(128 / 255.f, 128 / 255.f, 128 / 255.f),
    Highlight(10 / 255.f, 36 / 255.f, 106 / 255.f), InactiveCaption(128 / 255.f, 128 / 255.f, 128 / 255.f),
    InfoBack(1, 1, 225 / 255.f);

}  // namespace

cTheme_WindowsStandard::cTheme_WindowsStandard() {
    CaptionHeight = 18;
    BorderWidth = 4;
    Padding = 4;
    ScrollBarWidth = 16;
    SizeGripSize = 13;
    ControlHeight = 21;
    SliderThumbWidth = 11;
    ToolBarHeight = 26;
    ToolBarButtonSize = 23;
    CheckBoxSize = 13;
    DragAlpha = 0.75f;
    ActivityFadeSpeed = 1000;  // no fades: states change at once
    HotFadeSpeed = 1000;
    EnableFadeSpeed = 1000;
    VisibleFadeSpeed = 1000;
    WheelScrollSpeed = 3;
    ArrowScrollSpeed = 16;
    MinFormWidth = 112;
    MinFormHeight = 27;
    ToolTipOffset = cVec2(0, 20);
}

bool cTheme_WindowsStandard::Radeon() const {
    if (m_Radeon < 0) m_Radeon = cRender::GetVendor().IndexOf("RADEON", 0, -1, false) >= 0 ? 1 : 0;
    return m_Radeon == 1;
}

// A horizontal or vertical run of pixels from (x0, y0) up to but not
// including (x1, y1).
void cTheme_WindowsStandard::Line(float x0, float y0, float x1, float y1, const cColor& c) const {
    if (Radeon()) {
        if (x1 > x0) x1 -= 1;
        if (y1 > y0) y1 -= 1;
        return cRender::DrawLine(cVec2(x0, y0), cVec2(x1, y1), c);
    }
    // A line along a row or a column between whole pixels lights the pixels
    // from its start up to the one before its end: the same pixels as a fill
    // one pixel wide, which joins the fills around it in one draw.
    bool whole = x0 == std::floor(x0) && y0 == std::floor(y0) && x1 == std::floor(x1) && y1 == std::floor(y1);
    if (whole && y0 == y1 && x1 >= x0) return cRender::FillRectangleSolid(cRect(x0, y0, x1, y0 + 1), c);
    if (whole && x0 == x1 && y1 >= y0) return cRender::FillRectangleSolid(cRect(x0, y0, x0 + 1, y1), c);
    cRender::DrawLine(cVec2(x0, y0), cVec2(x1, y1), c);
}

void cTheme_WindowsStandard::DrawRectangleWindowsStandard(const cRect& r, const cColor& light, const cColor& dark,
                                                          float alpha) const {
    // y up: the top row is y1 - 1, the bottom row y0.
    Line(r.x0, r.y1 - 1, r.x1 - 1, r.y1 - 1, Fade(light, alpha));
    Line(r.x0, r.y0 + 1, r.x0, r.y1 - 1, Fade(light, alpha));
    Line(r.x0, r.y0, r.x1, r.y0, Fade(dark, alpha));
    Line(r.x1 - 1, r.y0 + 1, r.x1 - 1, r.y1, Fade(dark, alpha));
}

void cTheme_WindowsStandard::FillRectangleWindowsStandard(const cRect& r, WS::Enum style, const cVec2* textPos,
                                                          bool enabled, const char* text, float alpha) const {
    cRect in(r.x0 + 1, r.y0 + 1, r.x1 - 1, r.y1 - 1), in2(r.x0 + 2, r.y0 + 2, r.x1 - 2, r.y1 - 2);
    float shift = 0;
    switch (style) {
    case WS::Raised:
        cRender::FillRectangleSolid(r, Fade(Face, alpha));
        DrawRectangleWindowsStandard(r, Light, DarkShadow, alpha);
        DrawRectangleWindowsStandard(in, Face, Shadow, alpha);
        break;
    case WS::Pushed:
        cRender::FillRectangleSolid(r, Fade(Face, alpha));
        DrawRectangleWindowsStandard(r, DarkShadow, Light, alpha);
        DrawRectangleWindowsStandard(in, Shadow, Face, alpha);
        shift = 1;
        break;
    case WS::Sunken: case WS::Field:
        cRender::FillRectangleSolid(r, Fade(style == WS::Field && enabled ? Window : Face, alpha));
        DrawRectangleWindowsStandard(r, Shadow, Light, alpha);
        DrawRectangleWindowsStandard(in, DarkShadow, Face, alpha);
        break;
    case WS::Caption: case WS::CaptionInactive:
        cRender::FillRectangleSolid(r, Fade(style == WS::Caption ? Highlight : InactiveCaption, alpha));
        break;
    case WS::ToolTip:
        cRender::FillRectangleSolid(r, Fade(Ink, alpha));
        cRender::FillRectangleSolid(in, Fade(InfoBack, alpha));
        break;
    default:
        cRender::FillRectangleSolid(r, Fade(Face, alpha));
        break;
    }
    if (!text || !*text) return;
    bool caption = style == WS::Caption || style == WS::CaptionInactive;
    int font = caption ? CaptionFont() : Font();
    cColor ink = caption ? Light : Ink;
    cVec2 p = textPos ? *textPos : cVec2((r.x0 + r.x1) * 0.5f + shift, (r.y0 + r.y1) * 0.5f - shift);
    int flags = TF::CenterY | (textPos ? 0 : TF::CenterX);
    if (!enabled && !caption) {
        // Disabled text: grey with a white copy one pixel down and right.
        cRender::DrawString(font, text, p.x + 1, p.y - 1, flags, Fade(Light, alpha));
        ink = GrayInk;
    }
    cRender::DrawString(font, text, p.x, p.y, flags, Fade(ink, alpha));
}

// Decals are pixel runs in a 9 x 9 box centred on the origin.
void cTheme_WindowsStandard::Decal(WS::Enum decal, const cColor& c) const {
    auto px = [&](float x0, float y0, float x1, float y1) { cRender::FillRectangleSolid(cRect(x0, y0, x1, y1), c); };
    switch (decal) {
    case WS::ArrowDown: case WS::ArrowUp: case WS::ArrowLeft: case WS::ArrowRight:
        for (int i = 0; i < 4; i++) px(-3.5f + i, 1.5f - i, 3.5f - i, 2.5f - i);  // drawn pointing down
        break;
    case WS::CheckMark: {
        static const int bottom[7] = {-1, -2, -3, -2, -1, 0, 1};
        for (int i = 0; i < 7; i++) px(-3.5f + i, bottom[i] - 0.5f, -2.5f + i, bottom[i] + 2.5f);
        break;
    }
    case WS::Grip:
        // Three diagonals towards the bottom-right corner, pixels (8 - n + k, k).
        for (int n = 2; n <= 8; n += 3)
            for (int k = 0; k <= n; k++) px(-4.5f + 8 - n + k, -4.5f + k, -3.5f + 8 - n + k, -3.5f + k);
        break;
    case WS::Minimize:
        px(-3.5f, -3.5f, 2.5f, -1.5f);
        break;
    case WS::Maximize:
        px(-4.5f, 2.5f, 4.5f, 4.5f);
        px(-4.5f, -4.5f, 4.5f, -3.5f);
        px(-4.5f, -3.5f, -3.5f, 2.5f);
        px(3.5f, -3.5f, 4.5f, 2.5f);
        break;
    case WS::Ellipsis:
        for (int i = -1; i <= 1; i++) px(i * 3 - 0.5f, -3.5f, i * 3 + 1.5f, -1.5f);
        break;
    default:
        break;
    }
}

void cTheme_WindowsStandard::DrawDecalWindowsStandard(WS::Enum decal, const cMat4& at, bool enabled) const {
    cRender::PushWorldMatrix();
    float turn = decal == WS::ArrowUp ? 180.0f : decal == WS::ArrowLeft ? -90.0f : decal == WS::ArrowRight ? 90.0f : 0.0f;
    cMat4 m = at;
    if (turn != 0) m = cMat4::RotationAt(cVec2(0, 0), turn * 0.017453292f) * at;
    if (!enabled) {
        cRender::SetWorldMatrix(m * cMat4::Translation(1, -1));
        Decal(decal, Light);
    }
    cRender::SetWorldMatrix(m);
    Decal(decal, enabled ? Ink : GrayInk);
    cRender::PopWorldMatrix();
}

void cTheme_WindowsStandard::Draw(const DrawArgs& args) const {
    if (args.Visible <= 0 || args.Alpha <= 0) return;
    DrawArgs a = args;
    if (a.Part == Parts::ToolTip) a.Rect = ToolTipRect(args, Font(), 3, ToolTipOffset);
    if (a.Rect.GetWidth() <= 0 || a.Rect.y1 <= a.Rect.y0) return;
    // Snap to whole pixels: bevels are one pixel wide.
    a.Rect = cRect((float)(int)a.Rect.x0, (float)(int)a.Rect.y0, (float)(int)a.Rect.x1, (float)(int)a.Rect.y1);
    cRender::PushClipRect();
    if (ClipTo(a.Rect)) {
        DrawPart(a.Part, a);
        for (int i = 0; i < a.SubParts.Count(); i++) DrawPart(a.SubParts[i], a);
    }
    cRender::PopClipRect();
}

void cTheme_WindowsStandard::DrawPart(int part, const DrawArgs& a) const {
    const cRect& r = a.Rect;
    cVec2 c((float)(int)((r.x0 + r.x1) * 0.5f), (float)(int)((r.y0 + r.y1) * 0.5f));
    float w = r.x1 - r.x0, h = r.y1 - r.y0, al = a.Alpha;
    bool enabled = a.Enabled > 0.5f, pressed = a.Pressed > 0.5f;
    auto decal = [&](WS::Enum d, const cVec2& at) {
        DrawDecalWindowsStandard(d, cMat4::Translation(at.x + 0.5f + (pressed ? 1 : 0), at.y + 0.5f - (pressed ? 1 : 0)), enabled);
    };
    auto button = [&](const cRect& br, WS::Enum d) {
        FillRectangleWindowsStandard(br, pressed ? WS::Pushed : WS::Raised, nullptr, enabled, nullptr, al);
        decal(d, cVec2((float)(int)((br.x0 + br.x1) * 0.5f), (float)(int)((br.y0 + br.y1) * 0.5f)));
    };
    switch (part) {
    case Parts::ToolTip:
        FillRectangleWindowsStandard(r, WS::ToolTip, nullptr, true, a.Text.ToChar(), al);
        break;
    case Parts::Form: case Parts::MessageBox: case Parts::Splash:
        FillRectangleWindowsStandard(r, WS::Raised, nullptr, true, nullptr, al);
        if (part != Parts::Form && !a.Text.IsEmpty()) {
            cVec2 p(r.x0 + 8, r.y1 - 8);
            cRender::DrawString(Font(), a.Text.ToChar(), p.x, p.y, 0, Fade(Ink, al));
        }
        break;
    case Parts::FormCaption: {
        FillRectangleWindowsStandard(r, a.Activity > 0.5f ? WS::Caption : WS::CaptionInactive, nullptr, true, nullptr, al);
        cVec2 p(r.x0 + 3, (r.y0 + r.y1) * 0.5f);
        if (!a.Text.IsEmpty())
            cRender::DrawString(CaptionFont(), a.Text.ToChar(), p.x, p.y, TF::CenterY, Fade(Light, al));
        break;
    }
    case Parts::FormMinimizeButton: button(r, WS::Minimize); break;
    case Parts::FormMaximizeButton: button(r, WS::Maximize); break;
    case Parts::ScrollBarUp: button(r, WS::ArrowUp); break;
    case Parts::ScrollBarDown: button(r, WS::ArrowDown); break;
    case Parts::FileBrowseButton: button(r, WS::Ellipsis); break;
    case Parts::FormSizeGrip:
        DrawDecalWindowsStandard(WS::Grip, cMat4::Translation(r.x1 - 5.5f, r.y0 + 5.5f), true);
        break;
    case Parts::Panel:
        cRender::FillRectangleSolid(r, Fade(Face, al));
        DrawRectangleWindowsStandard(r, Shadow, Light, al);
        DrawRectangleWindowsStandard(cRect(r.x0 + 1, r.y0 + 1, r.x1 - 1, r.y1 - 1), Light, Shadow, al);
        break;
    case Parts::PanelCaption: {
        cVec2 p(r.x0 + 6 + h, (r.y0 + r.y1) * 0.5f);
        FillRectangleWindowsStandard(r, WS::Flat, &p, enabled, a.Text.ToChar(), al);
        Line(r.x0 + 2, r.y0, r.x1 - 2, r.y0, Fade(Shadow, al));
        decal(pressed ? WS::ArrowRight : WS::ArrowDown, cVec2(r.x0 + 2 + h * 0.5f, c.y));
        break;
    }
    case Parts::PanelSimple: case Parts::Label: {
        cVec2 p(r.x0 + 2, (r.y0 + r.y1) * 0.5f);
        FillRectangleWindowsStandard(r, WS::Flat, &p, enabled, a.Text.ToChar(), al);
        break;
    }
    case Parts::FpsDisplay:
        cRender::FillRectangleSolid(r, Fade(Ink, al));
        cRender::DrawString(Font(), a.Text.ToChar(), r.x0 + 2, (r.y0 + r.y1) * 0.5f, TF::CenterY, Fade(Light, al));
        break;
    case Parts::ScrollBarVertical:
        cRender::FillRectangleDither(r, cVec2(r.x0, r.y0), Fade(Light, al), Fade(Face, al));
        break;
    case Parts::ScrollBarVerticalThumb:
        FillRectangleWindowsStandard(r, WS::Raised, nullptr, enabled, nullptr, al);
        break;
    case Parts::Button: case Parts::BindButton:
        FillRectangleWindowsStandard(r, pressed ? WS::Pushed : WS::Raised, nullptr, enabled, a.Text.ToChar(), al);
        break;
    case Parts::ToolBarButton: {
        if (pressed || a.Checked) DrawRectangleWindowsStandard(r, Shadow, Light, al);
        else if (a.Hot > 0.5f) DrawRectangleWindowsStandard(r, Light, Shadow, al);
        if (ToolBarTextureID < 0)
            ToolBarTextureID = cRender::GetTextureID("Textures/WindowsStandard/ToolBar.bmp", -1);
        if (ToolBarTextureID >= 0 && a.Index >= 0) {
            float s = 16, off = pressed ? 1.0f : 0.0f;
            cRect ir(c.x - s * 0.5f + off, c.y - s * 0.5f - off, c.x + s * 0.5f + off, c.y + s * 0.5f - off);
            cRender::DrawIcon(ir, ToolBarTextureID, -1, !enabled ? cRender::IconState::Disabled
                              : a.Hot > 0.5f ? cRender::IconState::Hot : cRender::IconState::Normal, al,
                              a.Index % ToolBarIconCount, ToolBarIconCount);
        } else if (!a.Text.IsEmpty()) {
            cRender::DrawString(Font(), a.Text.ToChar(), c.x, c.y, TF::CenterX | TF::CenterY, Fade(Ink, al));
        }
        break;
    }
    case Parts::ToolBar:
        cRender::FillRectangleSolid(r, Fade(Face, al));
        DrawRectangleWindowsStandard(r, Light, Shadow, al);
        for (int i = 0; i < 2; i++)  // the drag handle
            DrawRectangleWindowsStandard(cRect(r.x0 + 3 + 3 * i, r.y0 + 3, r.x0 + 6 + 3 * i, r.y1 - 3), Light, Shadow, al);
        break;
    case Parts::CheckBox: {
        float s = std::min(h, CheckBoxSize);
        cRect box(r.x0, c.y - (float)(int)(s * 0.5f), r.x0 + s, c.y - (float)(int)(s * 0.5f) + s);
        FillRectangleWindowsStandard(box, WS::Field, nullptr, enabled && !pressed, nullptr, al);
        if (a.Checked) DrawDecalWindowsStandard(WS::CheckMark, cMat4::Translation((float)(int)((box.x0 + box.x1) * 0.5f) + 0.5f, (float)(int)((box.y0 + box.y1) * 0.5f) + 0.5f), enabled);
        cVec2 p(box.x1 + 4, (r.y0 + r.y1) * 0.5f);
        if (!a.Text.IsEmpty()) {
            cRender::DrawString(Font(), a.Text.ToChar(), p.x, p.y, TF::CenterY, Fade(enabled ? Ink : GrayInk, al));
        }
        break;
    }
    case Parts::ComboBox: case Parts::Edit: {
        cVec2 p(r.x0 + 4, (r.y0 + r.y1) * 0.5f);
        FillRectangleWindowsStandard(r, WS::Field, &p, enabled, a.Text.ToChar(), al);
        if (part == Parts::ComboBox) {
            float bw = std::min(h - 4, 16.0f);
            button(cRect(r.x1 - 2 - bw, r.y0 + 2, r.x1 - 2, r.y1 - 2), WS::ArrowDown);
        }
        break;
    }
    case Parts::ComboBoxDropDown:
        cRender::FillRectangleSolid(r, Fade(Window, al));
        cRender::DrawRectangle(r, Fade(Ink, al));
        break;
    case Parts::ComboBoxItem: {
        bool sel = a.Checked || a.Hot > 0.5f;
        if (sel) cRender::FillRectangleSolid(r, Fade(Highlight, al));
        cRender::DrawString(Font(), a.Text.ToChar(), r.x0 + 2, (r.y0 + r.y1) * 0.5f, TF::CenterY, Fade(sel ? Light : Ink, al));
        break;
    }
    case Parts::EditSelection:
        cRender::FillRectangleSolid(r, Fade(Highlight, 0.5f * al));
        break;
    case Parts::EditCaret:
        cRender::FillRectangleSolid(cRect(r.x0, r.y0, r.x0 + 1, r.y1), Fade(Ink, al));
        break;
    case Parts::Slider: case Parts::SliderRange: {
        cRect track(r.x0 + 4, c.y - 2, r.x1 - 4, c.y + 2);
        DrawRectangleWindowsStandard(track, Shadow, Light, al);
        DrawRectangleWindowsStandard(cRect(track.x0 + 1, track.y0 + 1, track.x1 - 1, track.y1 - 1), DarkShadow, Face, al);
        if (part == Parts::SliderRange) {
            float tw = SliderThumbWidth, span = w - tw;
            for (float v : {a.Value, a.Value2}) {
                float x = (float)(int)(r.x0 + span * v);
                FillRectangleWindowsStandard(cRect(x, r.y0, x + tw, r.y1), WS::Raised, nullptr, enabled, nullptr, al);
            }
        }
        break;
    }
    case Parts::SliderThumb:
        FillRectangleWindowsStandard(r, WS::Raised, nullptr, enabled, nullptr, al);
        break;
    case Parts::Separator: {
        Line(r.x0, c.y, r.x1, c.y, Fade(Shadow, al));
        Line(r.x0, c.y - 1, r.x1, c.y - 1, Fade(Light, al));
        if (!a.Text.IsEmpty()) {
            cRect cells = cRender::MeasureStringCells(Font(), a.Text.ToChar());
            cRender::FillRectangleSolid(cRect(r.x0, r.y0, r.x0 + cells.GetWidth() + 8, r.y1), Fade(Face, al));
            cRender::DrawString(Font(), a.Text.ToChar(), r.x0 + 4, c.y, TF::CenterY, Fade(Ink, al));
        }
        break;
    }
    case Parts::ColorSwatch: {
        FillRectangleWindowsStandard(r, WS::Sunken, nullptr, enabled, nullptr, al);
        cRect in(r.x0 + 2, r.y0 + 2, r.x1 - 2, r.y1 - 2);
        cRender::FillRectangleDither(in, cVec2(in.x0, in.y0), Fade(Light, al), Fade(Shadow, al));
        cColor col = a.Color;
        col.a *= al;
        cRender::FillRectangleSolid(in, col);
        break;
    }
    case Parts::ImageSwatch: {
        FillRectangleWindowsStandard(r, WS::Sunken, nullptr, enabled, nullptr, al);
        DrawSwatchImage(cRect(r.x0 + 2, r.y0 + 2, r.x1 - 2, r.y1 - 2), a.TextureID, al, Fade(Shadow, al));
        break;
    }
    case Parts::Focus:
        cRender::DrawRectangleDot(cRect(r.x0 + 3, r.y0 + 3, r.x1 - 3, r.y1 - 3), Fade(Ink, al));
        break;
    default:
        break;
    }
}

}  // namespace zozud
