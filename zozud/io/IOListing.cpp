// Folder listings of the cIO facade. Entries are named under the folder
// string as the caller wrote it, so relative folders give relative entries;
// the write folder's entries are merged in, mapped back to the caller's
// folder, unless an entry of the same name (letter case ignored) is already
// there. Nothing is sorted: entries come in the order the system gives them.
#include <sys/stat.h>

#include <string>
#include <unordered_set>
#include <vector>

#include "zozud/io/IOState.h"

namespace zozud {

namespace {

typedef std::unordered_set<std::string> NameSet;

// The key under which two names count as one entry: the path comparison
// folds A to Z and takes '\\' for '/'.
std::string FoldedName(const char* name) {
    std::string key(name);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c == '\\') c = '/';
    }
    return key;
}

cStr EntryPath(const char* folder, const char* name) {
    cStr path(folder);
    if (!path.IsEmpty() && !cStr::IsSeparator(path.GetLast())) path += '/';
    path += name;
    return path;
}

// Appends the entries of one kind of absFolder, named under folder. With a
// set, names already in it are skipped (when skipKnown) and every added name
// is recorded.
void ListKind(const char* absFolder, const char* folder, bool folders, cList<cStr>* list, NameSet* seen,
              bool skipKnown) {
    cIO_FolderReader reader(absFolder);
    while (const char* name = reader.Next()) {
        if (reader.IsFolder() != folders) continue;
        if (seen) {
            bool added = seen->insert(FoldedName(name)).second;
            if (skipKnown && !added) continue;
        }
        list->Add(EntryPath(folder, name));
    }
}

void ListMerged(const char* folder, bool folders, bool withWrite, cList<cStr>* list) {
    if (!list) return;
    list->Clear();
    if (!folder) folder = "";
    cStr resolved = cIO::EnsureAbsolutePath(folder);
    cStr redirected(folder);
    bool merge = withWrite && cIO::ReplaceReadPath(&redirected);
    NameSet seen;
    ListKind(resolved, folder, folders, list, merge ? &seen : nullptr, false);
    if (merge) ListKind(redirected, folder, folders, list, &seen, true);
}

struct FolderId {
    dev_t device;
    ino_t inode;
};

// Identity of the folder on disk, of its write copy when only that exists.
bool IdentifyFolder(const char* folder, FolderId* id) {
    struct stat st;
    cStr path = cIO::EnsureAbsolutePath(folder);
    if (stat(path, &st) != 0 && !(cIO::ReplaceReadPath(&path) && stat(path, &st) == 0)) return false;
    id->device = st.st_dev;
    id->inode = st.st_ino;
    return true;
}

// Files of the folder, then each sub-folder's whole tree in turn. A folder
// already on the way down (reached again through a link) is skipped, so a
// link to an ancestor can't make the walk endless.
void AppendTree(const char* folder, cList<cStr>* list, std::vector<FolderId>* way) {
    FolderId id;
    bool known = IdentifyFolder(folder, &id);
    if (known) {
        for (const FolderId& above : *way)
            if (above.device == id.device && above.inode == id.inode) return;
        way->push_back(id);
    }
    cList<cStr> entries;
    cIO::SearchFiles(folder, &entries, true);
    list->AddRange(entries.GetPtr(), entries.Count());
    cIO::SearchFolders(folder, &entries);
    for (const cStr& sub : entries) AppendTree(sub, list, way);
    if (known) way->pop_back();
}

}  // namespace

cIO_FolderReader::cIO_FolderReader(const char* absFolder) : dir(opendir(absFolder ? absFolder : "")), entry(nullptr) {}

cIO_FolderReader::~cIO_FolderReader() {
    if (dir) closedir(dir);
}

const char* cIO_FolderReader::Next() {
    if (!dir) return nullptr;
    while ((entry = readdir(dir)) != nullptr) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        return name;
    }
    return nullptr;
}

bool cIO_FolderReader::IsFolder() const {
    if (!entry) return false;
    if (entry->d_type == DT_DIR) return true;
    if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) return false;
    struct stat st;
    return fstatat(dirfd(dir), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

void cIO::SearchFiles(const char* folder, cList<cStr>* list, bool withWrite) {
    ListMerged(folder, false, withWrite, list);
}

void cIO::SearchFolders(const char* folder, cList<cStr>* list) {
    ListMerged(folder, true, true, list);
}

void cIO::SearchFilesRecursive(const char* folder, cList<cStr>* list) {
    if (!list) return;
    list->Clear();
    std::vector<FolderId> way;
    AppendTree(folder ? folder : "", list, &way);
}

// Extensions are separated by blanks, commas, semicolons or tabs; a leading
// "*." or "." of an extension is ignored, so "*.png" works as well as "png".
void cIO::SearchFilesRecursive(const char* folder, cList<cStr>* list, const char* extensions) {
    if (!list) return;
    list->Clear();
    cList<cStr> given, wanted;
    cStr::Split(extensions, &given, " ,;\t");
    for (cStr& extension : given) {
        extension.TrimStart("*.");
        if (!extension.IsEmpty()) wanted.Add(extension);
    }
    if (wanted.IsEmpty()) return;
    cList<cStr> all;
    SearchFilesRecursive(folder, &all);
    for (const cStr& file : all) {
        cStr extension = file.GetFileExtension();
        for (const cStr& w : wanted) {
            if (cStr::CompareNoCase(extension, w) != 0) continue;
            list->Add(file);
            break;
        }
    }
}

}  // namespace zozud
