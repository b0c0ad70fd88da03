// Fuzzes drop data: whatever a drag source sends, the parser ends with
// nothing, a file that exists and is no folder, or a URL without a query.
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/linux/LinuxMainInternal.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zozud::cStr target;
    cLinuxMain_Drop::Enum kind = cLinuxMain_ParseDrop(reinterpret_cast<const char*>(data), size, &target);
    switch (kind) {
        case cLinuxMain_Drop::Nothing: Check(target.IsEmpty()); break;
        case cLinuxMain_Drop::File: {
            struct stat st;
            Check(stat(target.ToChar(), &st) == 0 && !S_ISDIR(st.st_mode));
            break;
        }
        case cLinuxMain_Drop::URL:
            Check(!target.IsEmpty() && strchr(target.ToChar(), '?') == nullptr && target.Length() <= 4095);
            break;
    }
    return 0;
}
