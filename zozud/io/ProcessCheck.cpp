// Whether a process of a given program name runs: the first argument of each
// process's command line in /proc, without its folder, compared with the
// name ignoring letter case. The calling process counts too.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "zozud/io/IOState.h"

namespace {

bool AllDigits(const char* s) {
    if (!*s) return false;
    for (; *s; s++)
        if (*s < '0' || *s > '9') return false;
    return true;
}

// The command line's first argument (it ends at the first zero byte); empty
// when the file can't be read or the process has none (kernel threads).
std::string FirstArgument(const char* pid) {
    std::string path = std::string("/proc/") + pid + "/cmdline", argument;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return argument;
    char buffer[1024];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        size_t end = 0;
        while (end < (size_t)n && buffer[end]) end++;
        argument.append(buffer, end);
        if (end < (size_t)n) break;
    }
    close(fd);
    return argument;
}

}  // namespace

namespace zozud {

bool cIO::CheckProcessInMemory(const char* name) {
    cIO_Facade();
    if (!name || !*name) return false;  // no program is named ""
    DIR* proc = opendir("/proc/");
    if (!proc) return false;
    bool found = false;
    while (struct dirent* entry = readdir(proc)) {
        if (!AllDigits(entry->d_name)) continue;
        std::string argument = FirstArgument(entry->d_name);
        if (argument.empty()) continue;
        size_t slash = argument.rfind('/');
        std::string program = slash == std::string::npos ? argument : argument.substr(slash + 1);
        if (cStr::CompareNoCase(program.c_str(), name) == 0) {
            found = true;
            break;
        }
    }
    closedir(proc);
    return found;
}

}  // namespace zozud
