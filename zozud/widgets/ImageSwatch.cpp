// cImageSwatch and cImageSwatchFile.
#include "zozud/widgets/ImageSwatch.h"

#include "zozud/reflect/ClassRegister.h"
#include "zozud/render/Render.h"

namespace zozud {

cImageSwatch::cImageSwatch(cWnd* parent, int* textureID, const char* caption, float x, float y, int width,
                           bool visible, bool enabled)
    : cControl(parent, caption, x, y, width, visible, enabled), m_TextureID(textureID) {}

void cImageSwatch::OnRender() {
    PaintCaption();
    cTheme::DrawArgs args;
    args.Part = cTheme::Parts::ImageSwatch;
    args.Rect = GetFieldRect();
    args.TextureID = GetTextureID();
    Paint(args);
}

void cImageSwatchFile::CustomCtor() {
    FileName = "";
    TextureID = -1;
}

int cImageSwatchFile::RegisterMembers() {
    if (int n = BeginRegisterMembers()) return n;
    cClass_RegMember(this, "_cImageFile", &FileName, "FileName");
    return EndRegisterMembers();
}

cStr cImageSwatchFile::ToString(bool* hasImage) {
    if (hasImage) *hasImage = FileName.Length() > 0;
    return FileName;
}

int cImageSwatchFile::LoadTexture() {
    TextureID = FileName.Length() > 0 ? cRender::GetTextureID(FileName.ToChar(), 0) : -1;
    if (TextureID < 0) TextureID = -1;
    return TextureID;
}

}  // namespace zozud
