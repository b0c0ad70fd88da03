// Starting other programs: a command line runs asynchronously; documents,
// URLs and folders are handed to the desktop's opener, "xdg-open". Nothing
// waits for the started program.
#include <glib.h>

#include "zozud/io/IOState.h"

namespace zozud {

namespace {

// Extensions that are opened rather than run.
const char* const DocumentExtensions[] = {"pdf"};

bool Spawn(const cStr& commandLine) {
    GError* error = nullptr;
    bool started = g_spawn_command_line_async(commandLine, &error);
    if (error) g_error_free(error);
    return started;
}

bool IsDocument(const cStr& file) {
    if (cIO_PathIsURL(file)) return true;
    cStr extension = file.GetFileExtension();
    if (extension.IsEmpty()) return false;
    for (const char* document : DocumentExtensions)
        if (cStr::CompareNoCase(extension, document) == 0) return true;
    return false;
}

// "xdg-open" and the path as one argument, whatever blanks or quotes it holds.
cStr OpenerCommand(const char* path) {
    char* quoted = g_shell_quote(path);
    cStr command("xdg-open ");
    command += quoted;
    g_free(quoted);
    return command;
}

}  // namespace

bool cIO::Explore(const char* path) {
    return Spawn(OpenerCommand(EnsureAbsolutePath(path)));
}

bool cIO::Exec(const char* file, const char* args, bool) {
    cIO_Facade();
    if (!file || !*file) return false;
    cStr name(file), tail;
    if (args && *args) {
        tail += ' ';
        tail += args;
    }
    if (!IsDocument(name) && Spawn(name + tail)) return true;
    return Spawn(OpenerCommand(name) + tail);
}

}  // namespace zozud
