// Fuzzes the viewer's command line: arguments split at zero bytes. Parsing
// either fails with a reason or gives options inside their ranges.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "../tools/zozud-viewer/Options.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size; i++) {
        if (data[i] == 0) args.emplace_back();
        else args.back() += (char)data[i];
    }
    viewer::Options options;
    std::string error;
    if (!viewer::ParseOptions(args, &options, &error)) {
        Check(!error.empty());
        return 0;
    }
    Check(options.Width >= 16 && options.Width <= 8192 && options.Height >= 16 && options.Height <= 8192);
    Check(options.Frames >= 1);
    Check(options.TimeSec == -1 || (std::isfinite(options.TimeSec) && options.TimeSec >= 0));
    Check(options.Files.size() <= args.size());
    return 0;
}
