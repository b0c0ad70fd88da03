// Fuzzes the ".cFont" reader. Besides never crashing or reading past the
// end: a refused file leaves the font as it was; an accepted one holds at
// most 65536 glyphs sorted by code, fits the input, and writes back to a file
// that reads the same.
#include <cstddef>
#include <cstdint>

#include "zozud/io/File.h"
#include "zozud/render/Font.h"

using namespace zozud;

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 22) return 0;
    cFile file;
    file.Copy(data, (int)size, "fuzz.cFont");
    cFont font;
    font.LineHeight = 77;
    if (!font.Read(file)) {
        Check(font.LineHeight == 77 && font.Glyphs.Count() == 0);
        return 0;
    }
    const int n = font.Glyphs.Count();
    Check(n <= cFont::MaxGlyphs);
    Check(19 + (size_t)n * cFont::GlyphBytes + 4 <= size);
    for (int i = 1; i < n; i++) Check(font.Glyphs[i - 1].Code <= font.Glyphs[i].Code);
    for (int i = 0; i < n; i++) Check(font.Glyphs[font.IndexOf(font.Glyphs[i].Code)].Code == font.Glyphs[i].Code);

    cFile out;
    font.Write(&out);
    cFont again;
    Check(again.Read(out));
    cFile twice;
    again.Write(&twice);
    Check(twice.GetSize() == out.GetSize());
    for (int i = 0; i < out.GetSize(); i++) Check(out.GetData()[i] == twice.GetData()[i]);
    return 0;
}
