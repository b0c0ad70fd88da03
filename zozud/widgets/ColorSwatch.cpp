// cColorSwatch and cColorEdit.
#include "zozud/widgets/ColorSwatch.h"

#include "zozud/reflect/ClassRegister.h"
#include "zozud/render/Render.h"

namespace zozud {

cColorSwatch::cColorSwatch(cWnd* parent, const float* rgba, const char* caption, float x, float y, int width,
                           bool visible, bool enabled)
    : cControl(parent, caption, x, y, width, visible, enabled), m_Rgba(rgba) {}

cColor cColorSwatch::GetColor() const {
    return m_Rgba ? cColor(m_Rgba[0], m_Rgba[1], m_Rgba[2], m_Rgba[3]) : cColor(0, 0, 0, 1);
}

void cColorSwatch::OnRender() {
    PaintCaption();
    cTheme::DrawArgs args;
    args.Part = cTheme::Parts::ColorSwatch;
    args.Rect = GetFieldRect();
    args.Color = GetColor();
    Paint(args);
}

void cColorEdit::CustomCtor() {
    Rgba[0] = Rgba[1] = Rgba[2] = 0;
    Rgba[3] = 1;
}

int cColorEdit::RegisterMembers() {
    if (int n = BeginRegisterMembers()) return n;
    cClass_RegMember(this, "_cFloat", &Rgba[0], "R");
    cClass_RegMember(this, "_cFloat", &Rgba[1], "G");
    cClass_RegMember(this, "_cFloat", &Rgba[2], "B");
    cClass_RegMember(this, "_cFloat", &Rgba[3], "A");
    return EndRegisterMembers();
}

void cColorEdit::SetColor(const cColor& c) {
    const float v[4] = {c.r, c.g, c.b, c.a};
    for (int i = 0; i < 4; ++i) Rgba[i] = v[i] < 0 ? 0 : v[i] > 1 ? 1 : v[i];
}

}  // namespace zozud
