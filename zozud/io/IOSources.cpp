// Loading and saving through the sources. An absolute path goes to the
// default source alone; a relative one is offered to every source in list
// order until one succeeds. Archives are not supported as sources.
#include "zozud/core/Log.h"
#include "zozud/io/IOState.h"

namespace zozud {

bool cIO::LoadFile(const char* path, cFile* file, bool warn) {
    if (!file) return false;
    file->Clear();
    if (!path) return false;
    bool loaded = false;
    if (PathIsAbsolute(path)) {
        loaded = cIO_DefaultSource().LoadAbsPath(path, file);
    } else {
        for (const Source* source : cIO_Facade().sources)
            if (source && (loaded = source->Load(path, file))) break;
    }
    if (!loaded && warn) cLog::Warning("Can't load file \"%s\"", path);
    return loaded;
}

bool cIO::SaveFile(const char* path, const void* data, unsigned long size, bool append, bool warn) {
    if (!path || !data) return false;
    bool saved = false;
    if (PathIsAbsolute(path)) {
        saved = cIO_DefaultSource().SaveAbsPath(path, data, size, append);
    } else {
        for (const Source* source : cIO_Facade().sources)
            if (source && (saved = source->Save(path, data, size, append))) break;
    }
    if (!saved && warn) cLog::Warning("Can't save file \"%s\"", path);
    return saved;
}

// Without a path the file is saved under its own name; a file without bytes
// is not saved at all.
bool cIO::SaveFile(const char* path, const cFile& file, bool append, bool warn) {
    if (file.GetSize() == 0) return false;
    return SaveFile(path ? path : file.GetName().ToChar(), file.GetData(), file.GetSize(), append, warn);
}

void cIO::AddSourceZip(const char*) {
    cIO_Facade();
}

void cIO::AddSourceZips(const char* folder) {
    cList<cStr> files;
    SearchFiles(folder, &files, true);
    for (const cStr& file : files)
        if (cStr::CompareNoCase(file.GetFileExtension(), "cZip") == 0) AddSourceZip(file);
}

bool cIO::ExtractZip(const char*, const char*, void (*)(float)) {
    return false;
}

bool cIO::CreateZip(const char*, const char*, bool, void (*)(float)) {
    return false;
}

}  // namespace zozud
