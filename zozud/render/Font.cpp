// Reading and writing the ".cFont" glyph table. Every length is checked
// against what is left of the file before it is used, so a damaged file is
// refused without reading past its end or allocating for a count it cannot hold.
#include "zozud/render/Font.h"

#include <algorithm>
#include <cstdint>

#include "zozud/io/File.h"

namespace zozud {

namespace {

const int HeaderBytes = 2 + 1 + 3 * 4 + 4;

uint32_t U32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }

unsigned char* PutU32(unsigned char* p, uint32_t v) {
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
    p[2] = (unsigned char)(v >> 16);
    p[3] = (unsigned char)(v >> 24);
    return p + 4;
}

}  // namespace

bool cFont::Read(const cFile& file) {
    const unsigned char* p = file.GetData();
    const int64_t size = file.GetSize();
    if (!p || size < HeaderBytes) return false;
    if ((p[0] | p[1] << 8) != Magic || p[2] != 0) return false;
    const uint32_t count = U32(p + 15);
    if (count > (uint32_t)MaxGlyphs) return false;
    if (HeaderBytes + (int64_t)count * GlyphBytes + 4 > size) return false;

    cList<Glyph> glyphs;
    if (!glyphs.SetCount((int)count)) return false;
    const unsigned char* g = p + HeaderBytes;
    for (uint32_t i = 0; i < count; i++, g += GlyphBytes) {
        Glyph& out = glyphs[(int)i];
        out.Code = (unsigned short)(g[0] | g[1] << 8);
        int v[10];
        for (int k = 0; k < 10; k++) v[k] = (int)U32(g + 2 + k * 4);
        std::copy(v, v + 4, out.TexRect);
        out.OffsetX = v[4];
        out.OffsetY = v[5];
        out.Width = v[6];
        out.Height = v[7];
        out.AdvanceX = v[8];
        out.AdvanceY = v[9];
    }
    Glyph* first = glyphs.GetPtr();
    auto before = [](const Glyph& a, const Glyph& b) { return a.Code < b.Code; };
    if (first && !std::is_sorted(first, first + count, before)) std::stable_sort(first, first + count, before);

    BaselineShift = (int)U32(p + 3);
    Reserved = (int)U32(p + 7);
    LineHeight = (int)U32(p + 11);
    TightInset = (int)U32(g);
    Glyphs = std::move(glyphs);
    m_LookupCount = -1;
    return true;
}

void cFont::Write(cFile* file) const {
    const int count = Glyphs.Count();
    cList<unsigned char> bytes;
    if (!bytes.SetCount(HeaderBytes + count * GlyphBytes + 4)) return;  // nothing written when memory runs out
    unsigned char* p = bytes.GetPtr();
    p[0] = Magic & 0xff;
    p[1] = Magic >> 8;
    p[2] = 0;
    p = PutU32(p + 3, (uint32_t)BaselineShift);
    p = PutU32(p, (uint32_t)Reserved);
    p = PutU32(p, (uint32_t)LineHeight);
    p = PutU32(p, (uint32_t)count);
    for (const Glyph& g : Glyphs) {
        *p++ = (unsigned char)g.Code;
        *p++ = (unsigned char)(g.Code >> 8);
        const int v[10] = {g.TexRect[0], g.TexRect[1], g.TexRect[2], g.TexRect[3], g.OffsetX,
                           g.OffsetY,    g.Width,      g.Height,     g.AdvanceX,   g.AdvanceY};
        for (int k = 0; k < 10; k++) p = PutU32(p, (uint32_t)v[k]);
    }
    PutU32(p, (uint32_t)TightInset);
    file->WriteBytes(bytes.GetPtr(), bytes.Count());
}

int cFont::IndexOf(unsigned code) const {
    const Glyph* g = Glyphs.GetPtr();
    int lo = 0, hi = Glyphs.Count() - 1;
    while (lo <= hi) {
        int mid = (lo + hi) >> 1;
        if (g[mid].Code < code)
            lo = mid + 1;
        else if (g[mid].Code > code)
            hi = mid - 1;
        else
            return mid;
    }
    return -1;
}

void cFont::BuildLookup() const {
    for (int c = 0; c < 256; c++) m_Lookup[c] = -1;
    for (int i = Glyphs.Count() - 1; i >= 0; i--)  // the first of equal codes wins, as in IndexOf's usual case
        if (Glyphs[i].Code < 256) m_Lookup[Glyphs[i].Code] = (short)i;
    m_LookupGlyphs = Glyphs.GetPtr();
    m_LookupCount = Glyphs.Count();
}

}  // namespace zozud
