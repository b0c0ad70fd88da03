// cTheme_WindowsStandard: the look of a classic desktop. Flat colours, one or
// two pixel bevels, small pixel decals (arrows, check marks, grips) placed by a
// matrix, dotted focus rectangles, black captions and window captions in
// "Tahoma B8"; tool-bar icons come from "Textures/WindowsStandard/ToolBar.bmp"
// (a strip of 16 x 16 icons). On devices whose vendor string holds "RADEON" the
// right-hand bevel lines end one pixel early, since those draw the last pixel.
#pragma once

#include "zozud/math/Mat4.h"
#include "zozud/render/Theme.h"

namespace zozud {

class cTheme_WindowsStandard : public cTheme {
public:
    // Fill styles and decals.
    struct WindowsStandard {
        enum Enum {
            Raised = 0, Sunken, Pushed, Field, Flat, Caption, CaptionInactive, ToolTip,
            ArrowDown, ArrowUp, ArrowLeft, ArrowRight, CheckMark, Grip, Minimize, Maximize, Ellipsis,
            Count
        };
    };
    static constexpr int ToolBarIconCount = 8;

    cTheme_WindowsStandard();
    void Draw(const DrawArgs& args) const override;

    // A bevel inside rect: light on the top and left edges, dark on the others.
    void DrawRectangleWindowsStandard(const cRect& rect, const cColor& light, const cColor& dark, float alpha) const;
    // Fills rect in a style and writes text (centred, or at textPos when given).
    void FillRectangleWindowsStandard(const cRect& rect, WindowsStandard::Enum style, const cVec2* textPos,
                                      bool enabled, const char* text, float alpha) const;
    // A decal centred on the origin of at (pixels, y up); disabled ones are embossed.
    void DrawDecalWindowsStandard(WindowsStandard::Enum decal, const cMat4& at, bool enabled) const;

private:
    void DrawPart(int part, const DrawArgs& args) const;
    void Line(float x0, float y0, float x1, float y1, const cColor& c) const;
    void Decal(WindowsStandard::Enum decal, const cColor& c) const;
    bool Radeon() const;
    mutable int m_Radeon = -1;
};

}  // namespace zozud
