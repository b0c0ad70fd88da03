// What the command-line tools share: failures as one line on standard error
// named after the tool, paths taken in the working folder (the framework
// would take relative names to its source folders first), and the main that
// starts the framework and runs the "info" or "convert" command.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "zozud/core/Str.h"
#include "zozud/view/Framework.h"

namespace toolmain {

inline const char*& Name() {
    static const char* name = "zozud";
    return name;
}

inline int Fail(const std::string& path, const std::string& what) {
    fprintf(stderr, "%s: %s: %s\n", Name(), path.c_str(), what.c_str());
    return 1;
}

inline int UsageError(const std::string& what) {
    fprintf(stderr, "%s: %s (see %s --help)\n", Name(), what.c_str(), Name());
    return 1;
}

inline std::string InWorkingFolder(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    char* cwd = getcwd(nullptr, 0);
    std::string full = cwd ? std::string(cwd) + "/" + path : path;
    free(cwd);
    return full;
}

// The file name's extension, without its dot, as the codec registry names it.
inline std::string ExtensionOf(const std::string& path) {
    return zozud::cStr(path.c_str()).GetFileExtension().ToChar();
}

using Command = int (*)(const std::vector<std::string>& args);

// Should an allocation fail that reports no result (a memory file growing,
// say), the tool ends with its usual one-line message instead of an
// uncaught exception.
inline int Run(const char* name, const char* usage, int argc, char** argv, Command info, Command convert) {
    Name() = name;
    std::set_new_handler([] {
        fprintf(stderr, "%s: out of memory\n", Name());
        _exit(1);
    });
    zozud::cFramework::Start();  // the built-in codecs, the log's file writer
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return UsageError("no command");
    const std::string command = args[0];
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        fputs(usage, stdout);
        return 0;
    }
    if (command == "info") return info(args);
    if (command == "convert") return convert(args);
    return UsageError("unknown command \"" + command + "\"");
}

}  // namespace toolmain
