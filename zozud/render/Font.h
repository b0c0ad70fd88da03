// cFont: a bitmap font, the glyph table that goes with a glyph texture
// ("Fonts/NAME.cFont" beside "Fonts/NAME.bmp"). Text is laid out in screen
// space with y pointing up: the pen starts at the top of the text cell and a
// glyph's quad hangs OffsetY below it. Glyph texture rectangles are in texels
// of the font image, row 0 at the bottom, so (x0, y0) is the glyph's
// lower-left texel corner and the quad's (x0, y0) corner takes it.
// File layout, little-endian: u16 magic 0x6663 ("cf"), u8 version 0, three
// u32 header values, u32 glyph count (at most 65536), count glyphs of a u16
// code and ten u32 values (42 bytes each), one trailing u32.
#pragma once

#include "zozud/core/List.h"

namespace zozud {

class cFile;

class cFont {
public:
    struct Glyph {
        unsigned short Code;
        int TexRect[4];        // x0, y0, x1, y1 in texels of the glyph texture
        int OffsetX;           // quad's left edge from the pen
        int OffsetY;           // quad's top edge this far below the pen
        int Width, Height;     // quad size
        int AdvanceX, AdvanceY;
        static int Compare(const Glyph* a, const Glyph* b) { return (a->Code > b->Code) - (a->Code < b->Code); }
    };

    static const unsigned short Magic = 0x6663;
    static const int MaxGlyphs = 65536;
    static const int GlyphBytes = 42;

    int BaselineShift = 0;  // header 0: from the cell top down to the base line (placement flag 8)
    int Reserved = 0;       // header 1: kept as read, not used for drawing
    int LineHeight = 0;     // header 2: height of the text cell
    cList<Glyph> Glyphs;    // sorted by code
    int TightInset = 0;     // trailing value: empty border around each glyph's ink

    // Decodes the whole file; false (and the font unchanged) when the magic,
    // the version, the count or any length is wrong. Glyphs out of order are sorted.
    bool Read(const cFile& file);
    // Appends the layout at the file's cursor.
    void Write(cFile* file) const;

    // Index of the glyph of a code by bisection; -1 when there is none.
    int IndexOf(unsigned code) const;
    // The same answer, through a table of the codes below 256 that is built
    // on first use and again whenever Glyphs is another list (read, copied).
    // Editing glyph codes in place needs a Read or a copy before Lookup.
    int Lookup(unsigned code) const {
        if (code >= 256) return IndexOf(code);
        if (m_LookupGlyphs != Glyphs.GetPtr() || m_LookupCount != Glyphs.Count()) BuildLookup();
        return m_Lookup[code];
    }

private:
    void BuildLookup() const;

    mutable const Glyph* m_LookupGlyphs = nullptr;
    mutable int          m_LookupCount = -1;
    mutable short        m_Lookup[256] = {};
};

}  // namespace zozud
