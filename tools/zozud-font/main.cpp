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

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zozud/image/Image.h"
#include "zozud/io/File.h"
#include "zozud/io/IO.h"
#include "zozud/render/Font.h"
#include "zozud/render/FontMaker.h"
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
    cFontMaker::Options options;
    if (!cFontMaker::ParseRanges(o.chars.c_str(), &options.Codes)) return Fail("bad character ranges \"" + o.chars + "\"");
    options.From = o.from.c_str();
    options.Size = (int)o.size;
    options.Bold = o.bold;
    cFont font;
    cImage image;
    cStr reason;
    if (!cFontMaker::Make(options, &font, &image, &reason)) return Fail(reason.ToChar());

    const std::string base = AbsolutePath(o.out) + "/Fonts/" + o.name;
    if (!cFontMaker::Save(base.c_str(), font, image, &reason)) return Fail(reason.ToChar());
    printf("Fonts/%s: %d glyphs, line height %d, base line %d, texture %d x %d\n", o.name.c_str(),
           font.Glyphs.Count(), font.LineHeight, font.BaselineShift, image.Width, image.Height);
    return 0;
}
