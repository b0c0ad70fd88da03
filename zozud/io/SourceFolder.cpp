// A folder on disk as a file source. Loads read a whole file into a cFile;
// saves write a whole buffer (or append it) and open the file's mode to all
// users. A copy in the write folder hides the program folder's copy.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>

#include "zozud/io/SourceFolder.h"

namespace zozud {

namespace {

// Reads into bytes from their count up to want bytes; false on a read error.
// Stops early, and still succeeds, at the end of the file.
bool ReadUpTo(int fd, cList<unsigned char>* bytes, int want) {
    int count = bytes->Count();
    if (!bytes->SetCount(want)) return false;
    while (count < want) {
        ssize_t n = read(fd, bytes->GetPtr() + count, want - count);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            bytes->SetCount(count);
            return n == 0;
        }
        count += (int)n;
    }
    return true;
}

// A file of known size must give exactly that many bytes (growth behind the
// size is not read). One of unknown size (those of /proc say 0) is read to
// its end in doubling steps, as far as a cFile can hold.
bool ReadWhole(int fd, long long size, cList<unsigned char>* bytes) {
    if (size > INT_MAX) return false;
    if (size > 0) return ReadUpTo(fd, bytes, (int)size) && bytes->Count() == size;
    for (int want = 4096;; want = want < INT_MAX / 2 ? want * 2 : INT_MAX) {
        if (!ReadUpTo(fd, bytes, want)) return false;
        if (bytes->Count() < want) return true;
        if (want == INT_MAX) return false;
    }
}

}  // namespace

bool SourceFolder::Load(const char* relPath, cFile* file) const {
    cStr full(path);
    full.AppendPath(relPath);
    return LoadAbsPath(full, file);
}

bool SourceFolder::LoadAbsPath(const char* absPath, cFile* file) const {
    if (!file) return false;
    file->Clear();
    cStr resolved = cIO::EnsureAbsolutePath(absPath);
    cStr redirected(resolved);
    if (cIO::ReplaceReadPath(&redirected) && LoadAbsPath_NoWritePath(redirected, file)) return true;
    return LoadAbsPath_NoWritePath(resolved, file);
}

// Only regular files load: a folder opens but holds no bytes, and a pipe or
// a device may block or never end.
bool SourceFolder::LoadAbsPath_NoWritePath(const char* absPath, cFile* file) const {
    if (!file) return false;
    file->Clear();
    cStr name(absPath);
    name.BackSlashesToSlashes();
    int fd = open(name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);  // a pipe must not block the open
    if (fd < 0) return false;
    struct stat st;
    cList<unsigned char> bytes;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ReadWhole(fd, st.st_size, &bytes);
    close(fd);
    if (!ok) return false;
    file->Set(&bytes, name);
    return true;
}

bool SourceFolder::Save(const char* relPath, const void* data, unsigned long size, bool append) const {
    cStr full(writePath.IsEmpty() ? path : writePath);
    full.AppendPath(relPath);
    return SaveAbsPath(full, data, size, append);
}

// The path's letter case is corrected like a load's, so a save replaces the
// file a load of the same path would read. Missing folders are not created.
bool SourceFolder::SaveAbsPath(const char* absPath, const void* data, unsigned long size, bool append) const {
    if (!cIO::PathIsAbsolute(absPath) || !data || cStr(absPath).GetFileName().IsEmpty()) return false;
    cStr target = cIO::EnsureAbsolutePath(absPath);
    cIO::ReplaceReadPath(&target);
    target.BackSlashesToSlashes();
    FILE* f = fopen(target, append ? "ab" : "wb");
    if (!f) return false;
    bool written = size == 0 || fwrite(data, 1, size, f) == size;
    written = fclose(f) == 0 && written;
    cIO::SetFilePermissions(target);
    return written;
}

}  // namespace zozud
