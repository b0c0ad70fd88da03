// cFontMaker: FreeType rendering, shelf packing and the font's tables.
#include "zozud/render/FontMaker.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "zozud/io/File.h"
#include "zozud/io/IO.h"

namespace zozud {

namespace {

// A whole decimal or 0x hexadecimal number.
bool ParseNumber(const std::string& text, long* out) {
    if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ') return false;
    char* end = nullptr;
    errno = 0;
    *out = strtol(text.c_str(), &end, 0);
    return errno == 0 && end && *end == 0;
}

// One rendered glyph: its ink (rows top-down) and metrics in pixels.
struct Ink {
    unsigned code;
    int width, height;  // of the ink
    int left, top;      // from the pen on the base line to the ink's left column and top row (up)
    int advance;
    std::vector<unsigned char> pixels;
    int x = 0, y = 0;   // cell (ink plus border) in the texture, top-down
};

int Cell(int inkSize) { return inkSize + 2 * cFontMaker::Border; }

// Shelf packing of the cells, tallest first, into a texture width wide;
// the height used, or -1 when a cell is wider than the texture.
int Pack(std::vector<Ink*>& order, int width) {
    int x = 0, y = 0, shelf = 0;
    for (Ink* g : order) {
        int w = Cell(g->width), h = Cell(g->height);
        if (w > width) return -1;
        if (x + w > width) {
            y += shelf;
            x = shelf = 0;
        }
        g->x = x;
        g->y = y;
        x += w;
        shelf = std::max(shelf, h);
    }
    return y + shelf;
}

int PowerOfTwo(int n) {
    int p = 1;
    while (p < n) p <<= 1;
    return p;
}

// Packs into the power-of-two texture of least area (the squarer one on a
// tie); false when none up to MaxTexture holds every glyph.
bool PackSmallest(std::vector<Ink>& glyphs, int* texWidth, int* texHeight) {
    std::vector<Ink*> order;
    for (Ink& g : glyphs) order.push_back(&g);
    std::stable_sort(order.begin(), order.end(), [](const Ink* a, const Ink* b) { return a->height > b->height; });
    long best = -1;
    int bestWidth = 0;
    for (int w = 8; w <= cFontMaker::MaxTexture; w <<= 1) {
        int h = Pack(order, w);
        if (h < 0 || PowerOfTwo(std::max(h, 1)) > cFontMaker::MaxTexture) continue;
        long area = (long)w * PowerOfTwo(std::max(h, 1));
        if (best < 0 || area < best || (area == best && w <= PowerOfTwo(std::max(h, 1)))) {
            best = area;
            bestWidth = w;
        }
    }
    if (best < 0) return false;
    *texWidth = bestWidth;
    *texHeight = PowerOfTwo(std::max(Pack(order, bestWidth), 1));
    return true;
}

// The library and the face, released on every way out.
struct FreeType {
    FT_Library library = nullptr;
    FT_Face    face = nullptr;
    ~FreeType() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

int Round26(long v) { return (int)((v + 32) >> 6); }

bool Fail(cStr* error, const cStr& what) {
    if (error) *error = what;
    return false;
}

// Renders one glyph; false when the face lacks it or cannot render it.
bool RenderGlyph(FT_Face face, unsigned code, const cFontMaker::Options& o, Ink* g) {
    FT_UInt index = FT_Get_Char_Index(face, code);
    if (!index || FT_Load_Glyph(face, index, FT_LOAD_DEFAULT)) return false;
    FT_GlyphSlot slot = face->glyph;
    if (o.Bold && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_Pos strength = std::max<FT_Pos>(32, o.Size * 64 / 20);
        FT_Outline_Embolden(&slot->outline, strength);
        slot->advance.x += strength;
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL)) return false;
    const FT_Bitmap& b = slot->bitmap;
    if (b.pixel_mode != FT_PIXEL_MODE_GRAY && b.rows > 0 && b.width > 0) return false;
    g->code = code;
    g->width = (int)b.width;
    g->height = (int)b.rows;
    g->left = slot->bitmap_left;
    g->top = slot->bitmap_top;
    g->advance = Round26(slot->advance.x);
    for (int r = 0; r < g->height; r++) {
        const unsigned char* row = b.buffer + (long)r * b.pitch;
        g->pixels.insert(g->pixels.end(), row, row + g->width);
    }
    return true;
}

// Texture rows count from the bottom: a cell at top-down row y of height h
// covers texel rows th - y - h to th - y.
void Compose(const std::vector<Ink>& glyphs, int baseline, int lineHeight, cFont* font, cImage* image) {
    const int tw = image->Width, th = image->Height, border = cFontMaker::Border;
    memset(image->Pixels, 0, (size_t)tw * th);
    font->BaselineShift = baseline;
    font->Reserved = 0;
    font->LineHeight = lineHeight;
    font->TightInset = 0;  // the quads cover the ink alone
    font->Glyphs.Clear();
    for (const Ink& g : glyphs) {
        const int ch = Cell(g.height);
        for (int r = 0; r < g.height; r++) {
            unsigned char* dst = image->Pixels + (long)(th - 1 - (g.y + border + r)) * tw + g.x + border;
            memcpy(dst, &g.pixels[(size_t)r * g.width], (size_t)g.width);
        }
        cFont::Glyph out = {(unsigned short)g.code,
                            {g.x + border, th - g.y - ch + border, g.x + border + g.width, th - g.y - border},
                            g.left, baseline - g.top, g.width, g.height, g.advance, 0};
        font->Glyphs.Add(out);
    }
}

}  // namespace

bool cFontMaker::ParseRanges(const char* text, cList<unsigned>* codes) {
    if (!text || !codes) return false;
    const std::string all(text);
    std::vector<unsigned> found;
    size_t start = 0;
    while (true) {
        size_t comma = all.find(',', start);
        std::string item = all.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        size_t dash = item.find('-', 1);
        long lo, hi;
        if (!ParseNumber(item.substr(0, dash), &lo)) return false;
        hi = lo;
        if (dash != std::string::npos && !ParseNumber(item.substr(dash + 1), &hi)) return false;
        if (lo < 0 || hi > 0xFFFF || lo > hi) return false;
        for (long c = lo; c <= hi; c++) found.push_back((unsigned)c);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    codes->Clear();
    for (unsigned c : found) codes->Add(c);
    return !codes->IsEmpty();
}

bool cFontMaker::Make(const Options& o, cFont* font, cImage* image, cStr* error, cStr* family) {
    if (!font || !image) return Fail(error, "no font or image to fill");
    if (o.Size < MinSize || o.Size > MaxSize) return Fail(error, cStr::Format("impossible size %d (4 to 256 pixels)", o.Size));
    FreeType ft;
    if (FT_Init_FreeType(&ft.library)) return Fail(error, "cannot start FreeType");
    const char* from = o.From.ToChar();
    if (access(from, R_OK) != 0) return Fail(error, o.From + ": cannot open the file");
    if (FT_New_Face(ft.library, from, 0, &ft.face)) return Fail(error, o.From + ": not a font file FreeType can read");
    FT_Face face = ft.face;
    if (!FT_IS_SCALABLE(face) || FT_Set_Pixel_Sizes(face, 0, (FT_UInt)o.Size))
        return Fail(error, o.From + cStr::Format(": cannot be scaled to %d pixels", o.Size));

    // Font-wide values: the cell is the line height; the base line sits so
    // that the line gap is shared above and below ascender and descender.
    const FT_Size_Metrics& m = face->size->metrics;
    const int ascender = (int)((m.ascender + 63) >> 6), descender = (int)(-m.descender + 63) >> 6;
    const int lineHeight = std::max(Round26(m.height), ascender + descender);
    const int baseline = ascender + (lineHeight - ascender - descender) / 2;

    std::vector<Ink> glyphs;
    for (int i = 0; i < o.Codes.Count(); i++) {
        Ink g;
        if (RenderGlyph(face, o.Codes[i], o, &g)) glyphs.push_back(std::move(g));
    }
    if (glyphs.empty()) return Fail(error, o.From + ": has none of the characters asked for");
    int tw = 0, th = 0;
    if (!PackSmallest(glyphs, &tw, &th)) return Fail(error, "the glyphs do not fit a 4096 x 4096 texture");
    cImage made(cFormat::R8, tw, th);
    if (!made.Pixels) return Fail(error, "out of memory");
    cFont result;
    Compose(glyphs, baseline, lineHeight, &result, &made);
    *font = result;
    *image = std::move(made);
    if (family) *family = face->family_name ? face->family_name : "";
    return true;
}

bool cFontMaker::Save(const char* path, const cFont& font, const cImage& image, cStr* error) {
    const cStr base(path ? path : "");
    const std::string folder(base.ToChar());
    size_t slash = folder.rfind('/');
    if (slash != std::string::npos) cIO::CreatePath(folder.substr(0, slash + 1).c_str());
    cFile file;
    font.Write(&file);
    if (!cIO::SaveFile((base + ".cFont").ToChar(), file, false, false)) return Fail(error, base + ".cFont: cannot save the file");
    if (!cIO::SaveImage((base + ".bmp").ToChar(), image)) return Fail(error, base + ".bmp: cannot save the file");
    return true;
}

}  // namespace zozud
