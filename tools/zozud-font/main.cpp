// zozud-font: makes a bitmap font of the framework from a TrueType or
// OpenType file. Every character asked for is rendered with FreeType
// (hinted, anti-aliased), packed with a one-texel border into a power-of-two
// glyph texture, and written as "Fonts/NAME.cFont" (the glyph table) and
// "Fonts/NAME.bmp" (8-bit grey, white ink on black) under the output folder.
//
//   zozud-font NAME --from FILE --size PX [--bold] [--chars RANGES] [--out FOLDER]
//
// Exit status 0 on success; any failure prints one line on stderr and gives 1.
#include <unistd.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "zozud/image/Image.h"
#include "zozud/io/File.h"
#include "zozud/io/IO.h"
#include "zozud/render/Font.h"
#include "zozud/view/Framework.h"

using namespace zozud;

namespace {

const char* const Usage =
    "Usage: zozud-font NAME --from FILE --size PX [--bold] [--chars RANGES] [--out FOLDER]\n"
    "  Renders the characters of a TrueType/OpenType font and writes the bitmap\n"
    "  font FOLDER/Fonts/NAME.cFont with its texture FOLDER/Fonts/NAME.bmp.\n"
    "  --from FILE     the font file\n"
    "  --size PX       the em size in pixels, 4 to 256\n"
    "  --bold          thicken the outlines (for faces without a bold file)\n"
    "  --chars RANGES  character codes, e.g. 32-126,160-255,0x20AC (default 32-126);\n"
    "                  codes the face lacks are left out\n"
    "  --out FOLDER    where Fonts/ is made (default: the working folder)\n"
    "The framework asks for fonts by name, e.g. \"Tahoma 8\" or \"Calibri 11\".\n";

const int MaxTexture = 4096;
// Empty texels between the glyphs of the texture, so that text drawn scaled
// never filters in a neighbour's ink. The quads cover the ink alone: no
// fragment is spent on the border, and the tight inset is 0.
const int Border = 1;

int Fail(const std::string& what) {
    fprintf(stderr, "zozud-font: %s\n", what.c_str());
    return 1;
}

std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    char* cwd = getcwd(nullptr, 0);
    std::string full = cwd ? std::string(cwd) + "/" + path : path;
    free(cwd);
    return full;
}

// A whole decimal or 0x hexadecimal number.
bool ParseNumber(const std::string& text, long* out) {
    if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ') return false;
    char* end = nullptr;
    errno = 0;
    *out = strtol(text.c_str(), &end, 0);
    return errno == 0 && end && *end == 0;
}

// "32-126,160-255,0x20AC": sorted, without duplicates; false on a bad range.
bool ParseRanges(const std::string& text, std::vector<unsigned>* codes) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        size_t dash = item.find('-', 1);
        long lo, hi;
        if (!ParseNumber(item.substr(0, dash), &lo)) return false;
        hi = lo;
        if (dash != std::string::npos && !ParseNumber(item.substr(dash + 1), &hi)) return false;
        if (lo < 0 || hi > 0xFFFF || lo > hi) return false;
        for (long c = lo; c <= hi; c++) codes->push_back((unsigned)c);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    std::sort(codes->begin(), codes->end());
    codes->erase(std::unique(codes->begin(), codes->end()), codes->end());
    return !codes->empty();
}

struct Options {
    std::string name, from, chars = "32-126", out = ".";
    long size = 0;
    bool bold = false;
};

// Parses the command line; an error text when it is wrong.
std::string ParseArgs(int argc, char** argv, Options* o) {
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        auto value = [&](std::string* v) {
            if (i + 1 >= argc) return false;
            *v = argv[++i];
            return true;
        };
        std::string size;
        if (a == "--from") {
            if (!value(&o->from)) return "--from needs a file";
        } else if (a == "--size") {
            if (!value(&size)) return "--size needs a number of pixels";
            if (!ParseNumber(size, &o->size) || o->size < 4 || o->size > 256)
                return "impossible size \"" + size + "\" (4 to 256 pixels)";
        } else if (a == "--chars") {
            if (!value(&o->chars)) return "--chars needs ranges";
        } else if (a == "--out") {
            if (!value(&o->out)) return "--out needs a folder";
        } else if (a == "--bold") {
            o->bold = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return "unknown option \"" + a + "\"";
        } else if (o->name.empty()) {
            o->name = a;
        } else {
            return "more than one font name";
        }
    }
    if (o->name.empty()) return "no font name";
    if (o->name.find_first_of("/\\") != std::string::npos) return "a font name cannot hold a slash";
    if (o->from.empty()) return "no font file (--from FILE)";
    if (!o->size) return "no size (--size PX)";
    return "";
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

int Cell(int inkSize) { return inkSize + 2 * Border; }

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
    for (int w = 8; w <= MaxTexture; w <<= 1) {
        int h = Pack(order, w);
        if (h < 0 || PowerOfTwo(std::max(h, 1)) > MaxTexture) continue;
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

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (!strcmp(argv[1], "--help") || !strcmp(argv[1], "-h"))) {
        fputs(Usage, stdout);
        return 0;
    }
    zozud::cFramework::Start();  // the built-in codecs, the log's file writer
    Options o;
    std::string error = ParseArgs(argc, argv, &o);
    if (!error.empty()) return Fail(error + " (see zozud-font --help)");
    std::vector<unsigned> codes;
    if (!ParseRanges(o.chars, &codes)) return Fail("bad character ranges \"" + o.chars + "\"");

    FreeType ft;
    if (FT_Init_FreeType(&ft.library)) return Fail("cannot start FreeType");
    if (access(o.from.c_str(), R_OK) != 0) return Fail(o.from + ": cannot open the file");
    if (FT_New_Face(ft.library, o.from.c_str(), 0, &ft.face)) return Fail(o.from + ": not a font file FreeType can read");
    FT_Face face = ft.face;
    if (!FT_IS_SCALABLE(face) || FT_Set_Pixel_Sizes(face, 0, (FT_UInt)o.size))
        return Fail(o.from + ": cannot be scaled to " + std::to_string(o.size) + " pixels");

    // Font-wide values: the cell is the line height; the base line sits so
    // that the line gap is shared above and below ascender and descender.
    const FT_Size_Metrics& m = face->size->metrics;
    const int ascender = (int)((m.ascender + 63) >> 6), descender = (int)(-m.descender + 63) >> 6;
    const int lineHeight = std::max(Round26(m.height), ascender + descender);
    const int baseline = ascender + (lineHeight - ascender - descender) / 2;

    std::vector<Ink> glyphs;
    for (unsigned code : codes) {
        FT_UInt index = FT_Get_Char_Index(face, code);
        if (!index || FT_Load_Glyph(face, index, FT_LOAD_DEFAULT)) continue;
        FT_GlyphSlot slot = face->glyph;
        if (o.bold && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            FT_Pos strength = std::max<FT_Pos>(32, o.size * 64 / 20);
            FT_Outline_Embolden(&slot->outline, strength);
            slot->advance.x += strength;
        }
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL)) continue;
        const FT_Bitmap& b = slot->bitmap;
        if (b.pixel_mode != FT_PIXEL_MODE_GRAY && b.rows > 0 && b.width > 0) continue;
        Ink g;
        g.code = code;
        g.width = (int)b.width;
        g.height = (int)b.rows;
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.advance = Round26(slot->advance.x);
        for (int r = 0; r < g.height; r++) {
            const unsigned char* row = b.buffer + (long)r * b.pitch;
            g.pixels.insert(g.pixels.end(), row, row + g.width);
        }
        glyphs.push_back(std::move(g));
    }
    if (glyphs.empty()) return Fail(o.from + ": has none of the characters asked for");

    int tw = 0, th = 0;
    if (!PackSmallest(glyphs, &tw, &th)) return Fail("the glyphs do not fit a 4096 x 4096 texture");

    // Texture rows count from the bottom: a cell at top-down row y of height
    // h covers texel rows th - y - h to th - y.
    cImage image(cFormat::R8, tw, th);
    if (!image.Pixels) return Fail("out of memory");
    memset(image.Pixels, 0, (size_t)tw * th);
    cFont font;
    font.BaselineShift = baseline;
    font.Reserved = 0;
    font.LineHeight = lineHeight;
    font.TightInset = 0;
    for (const Ink& g : glyphs) {
        const int ch = Cell(g.height);
        for (int r = 0; r < g.height; r++) {
            unsigned char* dst = image.Pixels + (long)(th - 1 - (g.y + Border + r)) * tw + g.x + Border;
            memcpy(dst, &g.pixels[(size_t)r * g.width], (size_t)g.width);
        }
        cFont::Glyph out = {(unsigned short)g.code,
                            {g.x + Border, th - g.y - ch + Border, g.x + Border + g.width, th - g.y - Border},
                            g.left,
                            baseline - g.top,
                            g.width,
                            g.height,
                            g.advance,
                            0};
        font.Glyphs.Add(out);
    }

    const std::string folder = AbsolutePath(o.out) + "/Fonts";
    const std::string base = folder + "/" + o.name;
    cIO::CreatePath((folder + "/").c_str());
    cFile file;
    font.Write(&file);
    if (!cIO::SaveFile((base + ".cFont").c_str(), file, false, false)) return Fail(base + ".cFont: cannot save the file");
    if (!cIO::SaveImage((base + ".bmp").c_str(), image)) return Fail(base + ".bmp: cannot save the file");
    printf("Fonts/%s: %d glyphs, line height %d, base line %d, texture %d x %d\n", o.name.c_str(),
           font.Glyphs.Count(), lineHeight, baseline, tw, th);
    return 0;
}
