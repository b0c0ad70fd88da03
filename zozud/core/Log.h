// cLog: the framework's in-memory log, optionally mirrored to a file, with a
// modal GTK log dialog for warnings, errors and failed assertions. Lines end
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
};

// Assertion globals; nothing reads them.
extern int  OmbrelAssertDebugInsteadOfException;
extern cStr OmbrelLastException;
void __elog(const char* message);

}  // namespace zozud
