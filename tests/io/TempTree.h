// Test helpers for the io tests: a temporary folder tree under /tmp that is
// removed (without following links) when it goes out of scope, and a scope
// that points the facade's default source at another program folder and
// write folder and puts the old ones back afterwards.
#pragma once

#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"

namespace iotest {

inline int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
    remove(path);
    return 0;
}

class TempTree {
public:
    TempTree() {
        char pattern[] = "/tmp/zozud-io-XXXXXX";
        const char* made = mkdtemp(pattern);
        root = made ? made : "";
    }
    ~TempTree() {
        if (!root.empty()) nftw(root.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    std::string Path(const std::string& rel) const { return rel.empty() ? root : root + "/" + rel; }
    std::string Folder(const std::string& rel) const {
        std::string p = Path(rel);
        MakeFolders(p);
        return p;
    }
    std::string File(const std::string& rel, const std::string& bytes) const {
        std::string p = Path(rel);
        MakeFolders(p.substr(0, p.rfind('/')));
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }

    std::string root;

private:
    static void MakeFolders(const std::string& p) {
        for (size_t i = 1; i <= p.size(); i++)
            if (i == p.size() || p[i] == '/') mkdir(p.substr(0, i).c_str(), 0755);
    }
};

inline bool Exists(const std::string& p) {
    struct stat st;
    return lstat(p.c_str(), &st) == 0;
}

inline bool IsFolder(const std::string& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

inline std::string ReadAll(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline unsigned ModeOf(const std::string& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0 ? unsigned(st.st_mode & 07777) : 0u;
}

// Points the default source at a program folder and a write folder ("" for
// none) for the life of the scope.
class ProgramFolderScope {
public:
    ProgramFolderScope(const std::string& program, const std::string& write) {
        source = dynamic_cast<zozud::SourceFolder*>(zozud::cIO::GetSourcesMutable()[0]);
        oldPath = source->GetPath();
        oldWrite = source->GetWritePath();
        source->SetPath(program.c_str());
        zozud::cIO::SetDefaultSourceWriteFolder(write.c_str());
    }
    ~ProgramFolderScope() {
        source->SetPath(oldPath);
        source->SetWritePath(oldWrite);
    }
    ProgramFolderScope(const ProgramFolderScope&) = delete;
    ProgramFolderScope& operator=(const ProgramFolderScope&) = delete;

private:
    zozud::SourceFolder* source;
    zozud::cStr          oldPath, oldWrite;
};

}  // namespace iotest
