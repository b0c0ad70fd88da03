// The shared part of the themes: the two instances and text helpers.
#include "zozud/render/Theme.h"

#include "zozud/render/Render.h"
#include "zozud/render/ThemeWindowsStandard.h"
#include "zozud/render/ThemeZiduruz.h"

namespace zozud {

cTheme* cTheme::Ziduruz = nullptr;
cTheme* cTheme::WindowsStandard = nullptr;

cTheme::cTheme() {}

void cTheme::Init() {
    // Made once for the life of the process, like the fonts they name.
    if (!Ziduruz) Ziduruz = new cTheme_Ziduruz();
    if (!WindowsStandard) WindowsStandard = new cTheme_WindowsStandard();
}

int cTheme::Font() const {
    if (FontID < 0) FontID = cRender::GetFontID("Tahoma 8");
    return FontID;
}

int cTheme::CaptionFont() const {
    if (CaptionFontID < 0) CaptionFontID = cRender::GetFontID("Tahoma B8");
    return CaptionFontID;
}

cRect cTheme::ToolTipRect(const DrawArgs& args, int fontID, float pad, const cVec2& offset) {
    if (args.Rect.x1 > args.Rect.x0 && args.Rect.y1 > args.Rect.y0) return args.Rect;
    cRect cells = cRender::MeasureStringCells(fontID, args.Text.ToChar());
    float w = cells.x1 - cells.x0 + 2 * pad, h = cells.y1 - cells.y0 + 2 * pad;
    // Below and right of the anchor (y up), kept on the viewport when one is known.
    float x = args.Pos.x + offset.x, y = args.Pos.y - offset.y;
    return cRect(x, y - h, x + w, y);
}

cColor cTheme::Fade(cColor c, float alpha) {
    c.a *= alpha;
    return c;
}

bool cTheme::ClipTo(const cRect& r) {
    const cRect& outer = cRender::GetClipRect();
    cRect clip = outer.IsEmpty() ? r : cRect::Intersection(outer, r);
    if (clip.IsEmpty()) return false;
    cRender::SetClipRect(clip);
    return true;
}

void cTheme::DrawSwatchImage(const cRect& r, int textureID, float alpha, const cColor& noPreview) {
    if (textureID < 0) return cRender::DrawNoPreview(r, noPreview);
    cRender::FillRectangleTexturedArgs args;
    args.Alpha = alpha;
    cRender::FillRectangleTextured(r, textureID, args);
}

}  // namespace zozud
