// The process-wide state behind the cIO facade (internal to zozud/io). It is
// built on the first call of any facade operation; the start-up sequence may
// re-enter the facade on its own thread (a log line saved through cIO) and
// then sees the state as far as it is built. The state is never destroyed:
// threads that still save while the process exits find it intact.
#pragma once

#include <dirent.h>

#include "zozud/core/List.h"
#include "zozud/core/Str.h"
#include "zozud/io/IO.h"
#include "zozud/io/SourceFolder.h"

namespace zozud {

// One remembered folder of a file dialog, under the caller's dialog name.
struct cIO_FileDialogPref {
    cStr key;     // compared exactly
    cStr folder;  // absolute
};

struct cIO_State {
    cList<cIO::Source*> sources;           // entry 0: the default SourceFolder; owned
    cStr                thisFilePathName;  // the running executable
    SourceFolder        fallback;          // stands in while entry 0 is no SourceFolder

    // ---- Dialog folders ----
    cStr modelAnimCameraBspPath;
    cStr modelFile, animFile, bspFile, cameraFile;
    cStr soundPath, soundFile;
    cStr imagePath, imageFile;
    cStr xmlPath, xmlFile;
    cList<cIO_FileDialogPref> dialogPrefs;

    cIO_State();
};

// Reads the entries of one folder in the order the system gives them, "." and
// ".." left out; hidden entries are kept.
class cIO_FolderReader {
public:
    explicit cIO_FolderReader(const char* absFolder);
    ~cIO_FolderReader();
    cIO_FolderReader(const cIO_FolderReader&) = delete;
    cIO_FolderReader& operator=(const cIO_FolderReader&) = delete;

    bool        IsOpen() const { return dir != nullptr; }
    const char* Next();          // name of the next entry, null at the end
    bool        IsFolder() const;  // of the entry Next gave; links are followed

private:
    DIR*           dir;
    struct dirent* entry;
};

cIO_State&    cIO_Facade();        // the state, started on the first call
SourceFolder& cIO_DefaultSource();  // entry 0 of the source list (started)

}  // namespace zozud
