// cImageSwatch: shows a bound texture right of its caption (the theme's
// "no preview" mark for -1); takes no input. cImageSwatchFile: a reflected
// image chosen by file name; Load turns the name into a texture that a
// swatch can show.
// Surprises: toolkit thread only, no locks. Without a render device every
// texture id is -1.
#pragma once

#include "zozud/reflect/Class.h"
#include "zozud/widgets/Control.h"

namespace zozud {

class cImageSwatch : public cControl {
public:
    cImageSwatch(cWnd* parent, int* textureID, const char* caption, float x, float y, int width,
                 bool visible = true, bool enabled = true);
    void OnRender() override;
    int  GetType() const override { return 17; }
    int  GetTextureID() const { return m_TextureID ? *m_TextureID : -1; }

private:
    int* m_TextureID;
};

class cImageSwatchFile : public cClass {
public:
    ZOZUD_CLASS(cImageSwatchFile)
    cImageSwatchFile() { CallCtor(this); }
    void CustomCtor() override;
    int  RegisterMembers() override;

    using cClass::ToString;
    // The file name; *hasImage (when given) tells whether one is chosen.
    cStr ToString(bool* hasImage) override;
    int  LoadTexture();  // the texture of FileName (also kept in TextureID), -1 when it has none

    cStr FileName;
    int  TextureID = -1;
};

}  // namespace zozud
