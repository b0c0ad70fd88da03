// The import worker of the material buttons. Textures come out as 8-bit RGB
// or RGBA at power-of-two sizes with one level (the renderer builds the
// mips), whatever the source: DXT is decoded, 16-bit and float channels are
// brought to bytes, grey becomes RGB.
#include "zozud/model/MaterialImport.h"

#include "zozud/image/Image.h"
#include "zozud/io/IO.h"
#include "zozud/model/Material.h"
#include "zozud/render/Render.h"

namespace zozud {

namespace {

// One level of a plain 2D picture at a power-of-two size.
bool Flatten(cImage* image) {
    if (image->IsEmpty() || image->Depth != 1) return false;
    return image->Uncompress() && image->RemoveMipMaps() && cFormat::IsColor(image->Format) && image->MakePowerOfTwo();
}

// Rgb8, or Rgba8 when the image has alpha and it is kept.
bool ToBytes(cImage* image, bool keepAlpha) {
    bool alpha = keepAlpha && cFormat::GetChannelCount(image->Format) == 4;
    return image->ToFormat(alpha ? cFormat::Rgba8 : cFormat::Rgb8);
}

// Puts the luminance of heights, resized to the image, into its alpha.
bool HeightsToAlpha(cImage* image, const cImage& heights) {
    cImage h;
    if (!h.Copy(heights) || !Flatten(&h) || !h.ToFormat(cFormat::R8)) return false;
    if ((h.Width != image->Width || h.Height != image->Height) && !h.Resize(image->Width, image->Height)) return false;
    if (!image->ToFormat(cFormat::Rgba8)) return false;
    unsigned char* dst = image->GetPixels(0);
    const unsigned char* src = h.GetPixels(0);
    for (int64_t i = 0, n = image->GetPixelCount(0, 1); i < n; i++) dst[i * 4 + 3] = src[i];
    return true;
}

// "Textures/<base>_<member>.tga" with separators of the base made harmless.
cStr TextureFile(const cMaterial_ImportArgs& args, const cStr& chosen) {
    cStr base = args.Name && *args.Name ? cStr(args.Name) : chosen.GetFileBase();
    base.Replace('/', '_');
    base.Replace('\\', '_');
    cStr file = args.Folder ? args.Folder : "";
    file.AppendPath(base);
    if (args.Member && *args.Member) {
        file += "_";
        file += args.Member;
    }
    file += ".tga";
    file.BackSlashesToSlashes();
    return file;
}

// Asks for an image, opening at the import folder (the texture folder until
// something was imported) and the current texture, and remembers the folder
// of what was chosen.
bool ChooseImage(const cStr& current, const char* folder, const char* title, cStr* chosen) {
    cIO::SetImageDialogInitialPath(cMaterial::ImportPath.IsEmpty() ? folder : cMaterial::ImportPath.ToChar());
    cIO::SetImageDialogInitialFile(current.GetFileName());
    if (!cIO::LoadImageDialog(chosen, title)) return false;
    cMaterial::ImportPath = cIO::GetImageDialogInitialPath();
    return true;
}

}  // namespace

bool cMaterial_PrepareImage(cImage* image, const cMaterial_ImportOptions& o, const cImage* heights) {
    if (!image || !Flatten(image)) return false;
    switch (o.Kind) {
    case cMaterial_ImportKind::Diffuse:
        return ToBytes(image, o.KeepAlpha);
    case cMaterial_ImportKind::Normal:
        return ToBytes(image, o.KeepAlpha) && (!o.InvertGreen || image->InvertChannel(1));
    case cMaterial_ImportKind::Height:
        // Material textures tile, so the slopes wrap across the edges.
        return image->ToNormalMap(cFormat::Rgba8, o.ScaleZ, true) &&
               (o.HeightInAlpha || image->RemoveChannels(true, true, true, false));
    case cMaterial_ImportKind::NormalPlusHeight:
        return heights && ToBytes(image, false) && (!o.InvertGreen || image->InvertChannel(1)) &&
               HeightsToAlpha(image, *heights);
    case cMaterial_ImportKind::Decal:
    case cMaterial_ImportKind::Interface:
        return ToBytes(image, true);
    }
    return false;
}

cMaterial_ImportResult::Enum cMaterial_Import(const cMaterial_ImportArgs& args) {
    if (!args.Texture) return cMaterial_ImportResult::Cancelled;
    bool two = args.Options.Kind == cMaterial_ImportKind::NormalPlusHeight;
    cStr chosen, chosenHeights;
    if (!ChooseImage(*args.Texture, args.Folder, two ? "Load normal map" : "Load image", &chosen))
        return cMaterial_ImportResult::Cancelled;
    if (two && !ChooseImage(cStr(), args.Folder, "Load height map", &chosenHeights)) return cMaterial_ImportResult::Cancelled;

    cImage image, heights;
    if (!cIO::LoadImage(chosen, &image)) return cMaterial_ImportResult::CantLoad;
    if (two && !cIO::LoadImage(chosenHeights, &heights)) return cMaterial_ImportResult::CantLoad;
    if (!cMaterial_PrepareImage(&image, args.Options, two ? &heights : nullptr))
        return cMaterial_ImportResult::CantConvert;

    cStr file = TextureFile(args, chosen);
    cIO::CreatePath(file);
    if (!cIO::SaveImage(file, image)) return cMaterial_ImportResult::CantSave;
    *args.Texture = file;
    cRender::ReloadTexture(file);
    if (args.TextureID) *args.TextureID = cRender::GetTextureID(file, -1);
    return cMaterial_ImportResult::Imported;
}

}  // namespace zozud
