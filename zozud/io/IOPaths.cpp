// Paths of the cIO facade: resolution to one absolute path with its letter
// case corrected against the disk, redirection of the program folder into
// the write folder, folder creation, permissions, removal, and the time and
// device tests. Paths come back with '/' separators; "." and ".." are kept.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include <glib/gstdio.h>

#include "zozud/io/IOState.h"

namespace zozud {

namespace {

bool Exists(const char* path) {
    struct stat st;
    return lstat(path, &st) == 0;
}

cStr JoinPieces(const cList<cStr>& pieces) {
    cStr path;
    for (const cStr& piece : pieces) {
        path += '/';
        path += piece;
    }
    return path;
}

// The entry of parent whose name equals piece but for letter case. A file is
// taken before a folder, and only for the last piece; the first of each kind
// in listing order wins.
bool FindCaseVariant(const char* parent, const cStr& piece, bool last, cStr* found) {
    cIO_FolderReader reader(parent);
    bool haveFolder = false;
    while (const char* name = reader.Next()) {
        if (cStr::CompareNoCase(name, piece) != 0) continue;
        if (!reader.IsFolder()) {
            if (!last) continue;
            *found = name;
            return true;
        }
        if (!haveFolder) *found = name;
        haveFolder = true;
    }
    return haveFolder;
}

// Rebuilds the path from "/" piece by piece, correcting the letter case of
// pieces that don't exist as written. Once a piece exists in no case, nothing
// below it can exist, so the rest is appended as written.
cStr Rebuild(const cList<cStr>& pieces) {
    cStr whole = JoinPieces(pieces);
    if (Exists(whole)) return whole;  // every prefix exists too
    cStr built("/");
    bool missing = false;
    for (int i = 0; i < pieces.Count(); i++) {
        int parentLength = built.Length();
        if (built.GetLast() != '/') built += '/';
        int start = built.Length();
        built += pieces[i];
        if (missing || Exists(built)) continue;
        cStr parent(built, 0, parentLength), found;
        if (FindCaseVariant(parent, pieces[i], i == pieces.Count() - 1, &found)) {
            built.SetLength(start);
            built += found;
        } else {
            missing = true;
        }
    }
    return built;
}

// Length of folder that path starts with as whole components (letter case
// and separator kind ignored), trailing separators of folder not counted;
// -1 when path does not lie in folder.
int MatchFolder(const char* path, const cStr& folder) {
    int n = folder.Length();
    while (n > 0 && cStr::IsSeparator(folder.ToChar()[n - 1])) n--;
    if (folder.IsEmpty() || cStr::ComparePath(path, folder, n) != 0) return -1;
    return n;
}

// The user folder and its ancestors keep their modes: a world-writable home
// locks the user out of ssh and the like.
bool IsHomeOrAncestor(const cStr& prefix, const cStr& home) {
    int n = prefix.Length();
    if (home.IsEmpty() || home.Length() < n || cStr::Compare(home, prefix, n) != 0) return false;
    char next = home.ToChar()[n];
    return next == 0 || next == '/';
}

bool RemoveOneFolder(const cStr& folder, bool recursive) {
    struct stat st;
    if (lstat(folder, &st) == 0 && S_ISLNK(st.st_mode)) return remove(folder) == 0;  // the link, never its target
    cIO::SetFolderPermissions(folder);
    if (recursive) {
        cList<cStr> entries;
        cIO::SearchFiles(folder, &entries, true);
        for (const cStr& file : entries) cIO::RemoveFile(file);
        cIO::SearchFolders(folder, &entries);
        for (const cStr& sub : entries) cIO::RemoveFolder(sub, true);
    }
    return g_rmdir(folder) == 0;
}

// Device of the longest prefix of the resolved path that exists.
dev_t DeviceOf(const char* path) {
    cStr resolved = cIO::EnsureAbsolutePath(path);
    struct stat st;
    if (stat(resolved, &st) == 0) return st.st_dev;
    dev_t device = stat("/", &st) == 0 ? st.st_dev : 0;
    cList<cStr> pieces;
    cStr::Split(resolved, &pieces, "/\\");
    cStr prefix;
    for (const cStr& piece : pieces) {
        prefix += '/';
        prefix += piece;
        if (stat(prefix, &st) == 0) device = st.st_dev;
    }
    return device;
}

}  // namespace

bool cIO_PathIsURL(const char* path) {
    if (!path) return false;
    return cStr::CompareNoCase(path, "http://", 7) == 0 || cStr::CompareNoCase(path, "https://", 8) == 0 ||
           cStr::CompareNoCase(path, "ftp://", 6) == 0;
}

bool cIO::PathIsAbsolute(const char* path) {
    return path && cStr::IsSeparator(path[0]);
}

cStr cIO::EnsureAbsolutePath(const char* path) {
    cIO_Facade();
    if (!path) path = "";
    if (cIO_PathIsURL(path)) return cStr(path);
    cStr full;
    if (path[0] == '~') {
        full = GetUserFolder();
        full.AppendPath(path + 1);
    } else {
        full = path;
    }
    if (!PathIsAbsolute(full)) {
        cStr base(GetDefaultSourceFolder());
        base.AppendPath(full);
        full = base;
    }
    full.BackSlashesToSlashes();
    cList<cStr> pieces;
    cStr::Split(full, &pieces, "/");
    if (pieces.IsEmpty()) return full;
    return Rebuild(pieces);
}

bool cIO::ReplaceReadPath(cStr* path) {
    if (!path) return false;
    const SourceFolder& source = cIO_DefaultSource();
    if (source.GetWritePath().IsEmpty()) return false;
    cStr resolved = EnsureAbsolutePath(*path);
    int cut = MatchFolder(resolved, source.GetPath());
    if (cut < 0 || MatchFolder(resolved, source.GetWritePath()) >= 0) return false;
    cStr target(source.GetWritePath());
    target.AppendPath(resolved.ToChar() + cut);
    *path = EnsureAbsolutePath(target);
    return true;
}

bool cIO::CheckReadPath(const char* path) {
    cStr copy(path);
    return ReplaceReadPath(&copy);
}

// Existing folders are given the open mode too, as far as the system lets
// the user; a process running as root changes only the folders it created,
// never system folders such as /tmp on the way.
bool cIO::CreatePath(const char* path) {
    cStr folder = EnsureAbsolutePath(path);
    if (!folder.GetFileExtension().IsEmpty()) folder.RemoveFileName();
    ReplaceReadPath(&folder);
    folder.BackSlashesToSlashes();
    cList<cStr> pieces;
    cStr::Split(folder, &pieces, "/");
    cStr home = GetUserFolder(), prefix;
    bool root = geteuid() == 0;
    for (const cStr& piece : pieces) {
        prefix += '/';
        prefix += piece;
        bool created = !Exists(prefix) && mkdir(prefix, 07777) == 0;
        if (IsHomeOrAncestor(prefix, home) || (root && !created)) continue;
        (void)chmod(prefix, 07777);  // a refusal leaves the folder as it is
    }
    return true;
}

// A symbolic link has no mode of its own; changing it would change whatever
// it points to, so links are left alone.
void cIO::SetFilePermissions(const char* path) {
    if (!path || !*path) return;
    cStr target = EnsureAbsolutePath(path);
    ReplaceReadPath(&target);
    struct stat st;
    if (lstat(target, &st) != 0 || S_ISLNK(st.st_mode)) return;
    (void)chmod(target, S_ISDIR(st.st_mode) ? 07777 : 0666);  // a refusal leaves it as it is
}

void cIO::SetFolderPermissions(const char* path) {
    SetFilePermissions(path);
}

// An empty path would name the program folder itself: it is refused here.
bool cIO::RemoveFile(const char* path) {
    if (!path || !*path) return false;
    cStr resolved = EnsureAbsolutePath(path);
    SetFilePermissions(resolved);
    bool removed = remove(resolved) == 0;
    cStr redirected = EnsureAbsolutePath(path);
    if (ReplaceReadPath(&redirected)) {
        SetFilePermissions(redirected);
        removed = remove(redirected) == 0 || removed;
    }
    return removed;
}

// Neither an empty path (the program folder) nor the root folder is removed.
// A symbolic link is removed as a link; the folder it points to stays.
bool cIO::RemoveFolder(const char* path, bool recursive) {
    if (!path || !*path) return false;
    cStr resolved = EnsureAbsolutePath(path);
    if (resolved == "/") return false;
    bool removed = RemoveOneFolder(resolved, recursive);
    if (ReplaceReadPath(&resolved)) removed = RemoveOneFolder(resolved, recursive) || removed;
    return removed;
}

// Whole seconds; a file that can't be examined (or no path at all) makes the
// answer true, so that callers rebuild rather than trust a stale file.
bool cIO::CompareFileChangeTimes(const char* a, const char* b) {
    if (!a || !*a || !b || !*b) return true;
    struct stat sa, sb;
    if (stat(EnsureAbsolutePath(a), &sa) != 0 || stat(EnsureAbsolutePath(b), &sb) != 0) return true;
    return sa.st_mtime < sb.st_mtime;
}

bool cIO::CheckDifferentDisks(const char* a, const char* b) {
    return DeviceOf(a) != DeviceOf(b);
}

}  // namespace zozud
