// cTheme_Ziduruz: the procedural theme. Every part is built from the render
// front end's gradient helpers; colours blend between a few named colours by
// the control's hot, pressed and activity values, pressed parts shrink about
// their centre, and carets and focus marks pulse with time.
#pragma once

#include "zozud/render/Theme.h"

namespace zozud {

class cTheme_Ziduruz : public cTheme {
public:
    cTheme_Ziduruz();
    void Draw(const DrawArgs& args) const override;

private:
    void DrawPart(int part, const DrawArgs& args) const;
    void Capsule(const cRect& r, const cColor& center, const cColor& bound) const;
    void Knob(const cVec2& c, float rad, const cColor& center, const cColor& bound) const;
    void Chevron(const cVec2& c, float size, float angle, const cColor& color) const;
    void Caption(const cRect& r, const DrawArgs& args, int flags, float pad) const;
};

}  // namespace zozud
