// cLog: the framework's in-memory log, optionally mirrored to a file, with a
// modal log dialog for warnings, errors and failed assertions (both lent by
// the layers above, see Seams). Lines end
// in EndLn ("\r\n"); the log is never trimmed. Safe to call from any thread:
// a dialog asked for on a worker thread is shown later on the toolkit thread.
#pragma once

#include <cstdarg>

#include "zozud/core/Str.h"

namespace zozud {

class cLog {
public:
    struct Mode {
        enum Enum { Log = 0, Warning = 1, Error = 2, Assert = 3 };
    };

    static const cStr& EndLn;  // "\r\n", usable from static construction until the process ends

    static void Message(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
    static void Warning(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
    static void Error(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
    static void Assert(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
    static void TimeMessage(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
    static void ResetTime();
    static void AddString(const char* fmt, va_list args);

    static bool SaveToFile(const char* path);
    static void EnableAutoSaveToFile(bool on, const char* path);
    static const cStr& GetLog();         // toolkit thread; other threads use GetLogCopy
    static cStr&       GetLogMutable();
    static cStr        GetLogCopy();     // a consistent copy, safe on any thread
    static bool IsVisible();
    static void ShowDialog(Mode::Enum mode);  // on a worker thread: queued to the toolkit thread
    static int  GetResult();  // button that closed the last dialog (101, 102, 103, 105), -1 none

    // ---- Seams ----
    // The log sits below the file facade and the platform shell, yet saves
    // its mirror through the one and shows its dialog through the other. Each
    // of them lends its functions here at start-up, before the first line is
    // logged; the log never includes them. Until they are set, no file is
    // written (SaveToFile fails, the mirror stays unwritten) and no dialog
    // shows (IsVisible false, GetResult -1). Set once, before other threads run.
    struct FileHooks {  // filled by the file layer
        // Writes or appends bytes, with a logged warning on failure when warn is set.
        bool (*saveFile)(const char* path, const void* data, unsigned long size, bool append, bool warn) = nullptr;
        bool (*removeFile)(const char* path) = nullptr;
    };
    struct DialogHooks {  // filled by the platform shell
        void (*showDialog)(Mode::Enum mode) = nullptr;  // any thread
        bool (*isVisible)() = nullptr;
        int  (*getResult)() = nullptr;
    };
    static void SetFileHooks(const FileHooks& hooks);
    static void SetDialogHooks(const DialogHooks& hooks);
};

// Assertion globals; nothing reads them.
extern int  OmbrelAssertDebugInsteadOfException;
extern cStr OmbrelLastException;
void __elog(const char* message);

}  // namespace zozud
