// The import worker behind the materials' import buttons: it asks for an
// image, prepares it as a texture (uncompressed, one level, power-of-two
// sized, 8-bit RGB or RGBA, with the kind's options applied), saves it as a
// TGA file under the texture folder and makes it the member's texture.
// Surprise: a normal map plus height map asks twice, first for the normal
// map and then for the height map that goes into its alpha.
#pragma once

#include "zozud/core/Str.h"

namespace zozud {

class cImage;

// What the imported image becomes.
struct cMaterial_ImportKind {
    enum Enum {
        Diffuse,                // colours; alpha dropped unless kept
        Normal,                 // a normal map; alpha dropped unless kept, green optionally inverted
        Height,                 // heights (luminance) turned into normals, height optionally in alpha
        NormalPlusHeight,       // a normal map with a second image's heights in alpha
        Decal,                  // colours with alpha
        Interface,              // colours with alpha
    };
};

struct cMaterial_ImportOptions {
    cMaterial_ImportKind::Enum Kind = cMaterial_ImportKind::Diffuse;
    bool  KeepAlpha = false;      // Diffuse, Normal
    bool  InvertGreen = false;    // Normal, NormalPlusHeight
    bool  HeightInAlpha = true;   // Height
    float ScaleZ = 1.0f;          // Height: strength of the slopes
};

struct cMaterial_ImportArgs {
    cMaterial_ImportOptions Options;
    cStr*       Texture = nullptr;  // the member holding the texture's file name
    int*        TextureID = nullptr;  // the renderer texture behind it
    const char* Folder = "Textures";  // where the texture file is written
    const char* Name = nullptr;     // base of the file name: the material's name, else the image's
    const char* Member = "";        // appended to the base: "<base>_<Member>.tga"
};

struct cMaterial_ImportResult {
    enum Enum {
        Imported = 0,
        Cancelled,    // no file chosen (or no dialog available)
        CantLoad,     // the chosen file is not a readable image
        CantConvert,  // the image could not be turned into the texture (a format without a decoder)
        CantSave,     // the texture file could not be written
    };
};

// The whole import: dialog, load, preparation, save, texture reload.
cMaterial_ImportResult::Enum cMaterial_Import(const cMaterial_ImportArgs& args);

// The preparation alone, in place: uncompress, drop mip levels, make
// power-of-two sized, then the kind's steps. heights is the second image of
// NormalPlusHeight (resized to the first); ignored by the other kinds.
bool cMaterial_PrepareImage(cImage* image, const cMaterial_ImportOptions& options, const cImage* heights = nullptr);

}  // namespace zozud
