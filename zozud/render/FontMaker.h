// cFontMaker: makes a bitmap font (cFont and its glyph texture) from a
// TrueType or OpenType file with FreeType. Every character asked for is
// rendered hinted and anti-aliased, packed with a one-texel border into the
// power-of-two texture of least area (at most 4096 x 4096), 8-bit grey,
// white ink on black. Codes the face lacks are left out.
// Surprises: texture rows count from the bottom, like every framework image.
#pragma once

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/image/Image.h"
#include "zozud/render/Font.h"

namespace zozud {

class cFontMaker {
public:
    static const int MinSize = 4, MaxSize = 256;
    static const int MaxTexture = 4096;
    // Empty texels between the glyphs of the texture, so that text drawn
    // scaled never filters in a neighbour's ink. The glyph quads cover the
    // ink alone (no fragment is spent on the border); the tight inset is 0.
    static const int Border = 1;

    struct Options {
        cStr From;                // the font file
        int  Size = 0;            // em size in pixels, MinSize..MaxSize
        bool Bold = false;        // thickens the outlines (for faces without a bold file)
        cList<unsigned> Codes;    // sorted, without duplicates
    };

    // "32-126,160-255,0x20AC": decimal or 0x numbers up to 0xFFFF; sorted,
    // without duplicates. False on a bad range or an empty list.
    static bool ParseRanges(const char* text, cList<unsigned>* codes);

    // Renders the font; false (font and image unchanged) with the reason.
    // family, when given, receives the face's family name.
    static bool Make(const Options& options, cFont* font, cImage* image, cStr* error, cStr* family = nullptr);

    // Writes path + ".cFont" and path + ".bmp", making the folders.
    static bool Save(const char* path, const cFont& font, const cImage& image, cStr* error);
};

}  // namespace zozud
