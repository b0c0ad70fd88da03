// The process and its surroundings as the cIO facade sees them: environment
// variables, the user's home and cache folders, the running executable, free
// disk space. The process list is in ProcessCheck.cpp.
#include <sys/vfs.h>
#include <unistd.h>

#include <cstdlib>

#include <glib.h>

#include "zozud/io/IOState.h"

namespace zozud {

cStr cIO::GetEnvironmentVariable(const char* name) {
    cIO_Facade();
    if (!name || !*name) return cStr();
    return cStr(getenv(name));
}

cStr cIO::GetUserFolder() {
    cIO_Facade();
    return cStr(g_get_home_dir());
}

cStr cIO::GetCacheFolder() {
    cIO_Facade();
    return cStr(g_get_user_cache_dir());
}

// Replaces the process; comes back only when the executable can't be started.
int cIO::RestartThisApplication() {
    const cStr& self = GetThisFilePathName();
    return execl(self.ToChar(), "", (char*)nullptr);
}

// MiB available to the user on the file system of the default source folder.
float cIO::GetDiskFreeSpace() {
    struct statfs64 fs;
    if (statfs64(GetDefaultSourceFolder(), &fs) != 0) return 0;
    unsigned long long bytes = (unsigned long long)fs.f_bsize * (unsigned long long)fs.f_bavail;
    return (float)(bytes >> 20);
}

}  // namespace zozud
