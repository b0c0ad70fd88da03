// cColorSwatch: shows a bound colour (four floats r, g, b, a) right of its
// caption; takes no input. cColorEdit: a reflected colour whose members R,
// G, B and A (0..1) the property panels edit; a swatch can show its Rgba.
// Surprises: toolkit thread only, no locks.
#pragma once

#include "zozud/image/Color.h"
#include "zozud/reflect/Class.h"
#include "zozud/widgets/Control.h"

namespace zozud {

class cColorSwatch : public cControl {
public:
    cColorSwatch(cWnd* parent, const float* rgba, const char* caption, float x, float y, int width,
                 bool visible = true, bool enabled = true);
    void  OnRender() override;
    int   GetType() const override { return 18; }
    cColor GetColor() const;  // the bound colour; opaque black without one

private:
    const float* m_Rgba;
};

class cColorEdit : public cClass {
public:
    ZOZUD_CLASS(cColorEdit)
    cColorEdit() { CallCtor(this); }
    void CustomCtor() override;
    int  RegisterMembers() override;

    cColor ToColor() const { return cColor(Rgba[0], Rgba[1], Rgba[2], Rgba[3]); }
    void   SetColor(const cColor& c);  // clamped to 0..1

    float Rgba[4];
};

}  // namespace zozud
