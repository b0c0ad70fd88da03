// Fuzzes the reading of input code names (key bindings in saved settings):
// any text gives -1 or a code whose name is that text in another letter case,
// and every name a code gives back reads as that code again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "zozud/widgets/Input.h"

using namespace zozud;

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool SameNoCase(const std::string& a, const char* b) {
    std::string lowered;
    for (const char* p = b; *p; p++) lowered += Lower(*p);
    std::string other;
    for (char c : a) other += Lower(c);
    return other == lowered;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 256) return 0;
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));  // the name as a C string sees it
    int code = cInput::ToCode(text.c_str());
    Check(code >= -1 && code < cInput::CodeCount);
    if (code < 0) return 0;
    cStr name = cInput::ToString(code);
    Check(SameNoCase(text, name.ToChar()));
    Check(cInput::ToCode(name.ToChar()) == code);
    return 0;
}
