// Fuzzes the splitting of shader files into their vertex and pixel sections.
// Besides never crashing: a found section starts with its marker at the
// reported position, lies inside the text, and never contains the other
// section's start; a missing one is empty with position -1.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "zozud/render/Render.h"

using namespace zozud;

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

void CheckSection(const char* text, int length, const cStr& section, int pos, bool found) {
    if (!found) {
        Check(pos == -1 && section.IsEmpty());
        return;
    }
    Check(pos >= 0 && pos < length);
    Check(section.Length() <= length - pos);
    Check(memcmp(text + pos, section.ToChar(), (size_t)section.Length()) == 0);
    Check(section.Length() >= 2 && section.ToChar()[0] == '/' && section.ToChar()[1] == '/');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16) return 0;
    const char* text = reinterpret_cast<const char*>(data);
    int length = (int)size;
    cStr vs, ps;
    int vp = 0, pp = 0;
    int found = cRender::Stub::SplitShaderSource(text, length, &vs, &ps, &vp, &pp);
    Check(found >= 0 && found <= 3);
    CheckSection(text, length, vs, vp, found & 1);
    CheckSection(text, length, ps, pp, found & 2);
    if (vp >= 0 && pp > vp) Check(vp + vs.Length() <= pp);
    if (pp >= 0 && vp > pp) Check(pp + ps.Length() <= vp);
    // Null outputs are allowed.
    Check(cRender::Stub::SplitShaderSource(text, length, nullptr, nullptr, nullptr, nullptr) == found);
    return 0;
}
