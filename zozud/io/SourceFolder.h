// SourceFolder: a file source that is a folder on disk, with an optional write
// folder that takes every save. Surprise: reads and writes of absolute paths
// are redirected by the facade's default source, whichever folder this is.
#pragma once

#include "zozud/core/Str.h"
#include "zozud/io/IO.h"

namespace zozud {

class SourceFolder : public cIO::Source {
public:
    SourceFolder(const char* path, const char* writePath) : path(path), writePath(writePath) {}

    // ---- Source ----
    bool Load(const char* relPath, cFile* file) const override;  // relative to the folder
    bool Save(const char* relPath, const void* data, unsigned long size, bool append) const override;
    const cStr& GetPath() const override { return path; }

    // ---- Folders ----
    const cStr& GetWritePath() const { return writePath; }
    void SetPath(const char* p) { path = p; }
    void SetWritePath(const char* p) { writePath = p; }

    // ---- Absolute paths ----
    bool LoadAbsPath(const char* absPath, cFile* file) const;              // the write copy first
    bool LoadAbsPath_NoWritePath(const char* absPath, cFile* file) const;  // exactly that file
    bool SaveAbsPath(const char* absPath, const void* data, unsigned long size, bool append) const;

private:
    cStr path;       // read folder, absolute
    cStr writePath;  // empty: no redirection
};

}  // namespace zozud
