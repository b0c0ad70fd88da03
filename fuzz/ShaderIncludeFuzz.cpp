// Fuzzes the expansion of "#include" lines in shader sections. Besides never
// crashing: a failure leaves the source as it was, and a success adds one
// "#line" line for each directive at the start of a line, the loader's text
// holding none of its own.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "zozud/render/ShaderInclude.h"

using namespace zozud;

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

// Names starting with "x" are missing; the others give one comment line.
bool Load(const cStr& name, cStr* text, void*) {
    if (name.ToChar()[0] == 'x') return false;
    *text = "// included\n";
    return true;
}

// Lines of the text that start with the prefix.
int LinesStartingWith(const cStr& text, const char* prefix) {
    const int n = (int)strlen(prefix);
    int count = 0;
    for (int at = 0; at < text.Length();) {
        count += text.Length() - at >= n && memcmp(text.ToChar() + at, prefix, (size_t)n) == 0;
        const char* eol = static_cast<const char*>(memchr(text.ToChar() + at, '\n', size_t(text.Length() - at)));
        at = eol ? int(eol - text.ToChar()) + 1 : text.Length();
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16) return 0;
    cStr source;
    source.Append(reinterpret_cast<const char*>(data), 0, (int)size);
    const cStr before = source;
    cStr why;
    if (!cShaderInclude::Expand(&source, Load, nullptr, &why)) {
        Check(source.Length() == before.Length() && memcmp(source.ToChar(), before.ToChar(), (size_t)before.Length()) == 0);
        Check(!why.IsEmpty());
        return 0;
    }
    const int directives = LinesStartingWith(before, "#include \"");
    Check(LinesStartingWith(source, "#include \"") == 0);
    Check(LinesStartingWith(source, "#line ") == LinesStartingWith(before, "#line ") + directives);
    return 0;
}
