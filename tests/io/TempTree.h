// Test helpers for the io tests: a temporary folder tree under /tmp (removed
// with its contents, links not followed), and a scope that points the
// facade's default source at another program folder and write folder.
#pragma once

#include <sys/stat.h>

#include <initializer_list>
#include <string>

#include "support/Process.h"
#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"

namespace iotest {

using testsupport::ReadFile;

// Made with a list of entries: each becomes a file holding its own relative
// path as text, or a folder when it ends with "/".
class TempTree {
public:
    TempTree(std::initializer_list<std::string> entries = {}) {
        for (const std::string& e : entries) e.back() == '/' ? Folder(e.substr(0, e.size() - 1)) : File(e, e);
    }
    std::string Path(const std::string& rel) const { return rel.empty() ? root : root + "/" + rel; }
    std::string Folder(const std::string& rel) const {
        std::string p = Path(rel);
        for (size_t i = 1; i <= p.size(); i++)
            if (i == p.size() || p[i] == '/') mkdir(p.substr(0, i).c_str(), 0755);
        return p;
    }
    std::string File(const std::string& rel, const std::string& bytes) const {
        Folder(rel.find('/') == std::string::npos ? "" : rel.substr(0, rel.rfind('/')));
        testsupport::WriteFile(Path(rel), bytes);
        return Path(rel);
    }

    testsupport::TempDir dir;
    const std::string root = dir.Path();
};

inline struct stat StatOf(const std::string& p) {  // all zero when missing
    struct stat st = {};
    stat(p.c_str(), &st);
    return st;
}
inline unsigned ModeOf(const std::string& p) { return StatOf(p).st_mode & 07777; }
inline bool IsFolder(const std::string& p) { return S_ISDIR(StatOf(p).st_mode); }
inline bool Exists(const std::string& p) {
    struct stat st;
    return lstat(p.c_str(), &st) == 0;
}

// Points the default source at a program folder and a write folder ("" for
// none) for the life of the scope.
class ProgramFolderScope {
public:
    ProgramFolderScope(const std::string& program, const std::string& write)
        : source(dynamic_cast<zozud::SourceFolder*>(zozud::cIO::GetSourcesMutable()[0])),
          oldPath(source->GetPath()), oldWrite(source->GetWritePath()) {
        source->SetPath(program.c_str());
        zozud::cIO::SetDefaultSourceWriteFolder(write.c_str());
    }
    ~ProgramFolderScope() {
        source->SetPath(oldPath);
        source->SetWritePath(oldWrite);
    }

private:
    zozud::SourceFolder* source;
    zozud::cStr          oldPath, oldWrite;
};

}  // namespace iotest
