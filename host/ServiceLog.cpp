// The service log: every event of the listener and the connection threads is
// an entry in an in-memory text (shown by the window and the "/log" page) and
// is appended to the log file at once. Entries come from any thread; the lock
// order is CSocket::m_Mutex, then Torvane_Log::s_Mutex; the clock lock
// TAcquire is never held together with s_Mutex, except by the process end,
// which takes it last and holds both until the process is gone. Once a failing process has
// written its last entries the log takes no more, so they stay the last.
#include <unistd.h>

#include <cstdarg>

#include "host/Torvane.h"
#include "zozud/core/Log.h"
#include "zozud/core/Thread.h"
#include "zozud/core/Timer.h"
#include "zozud/io/IO.h"

using zozud::cIO;
using zozud::cList;
using zozud::cLog;
using zozud::cStr;
using zozud::cThread;

cStr            Torvane_Log::s_Text;
cStr            Torvane_Log::s_FilePathName("Log.txt");
pthread_mutex_t Torvane_Log::s_Mutex;

namespace {

pthread_mutex_t TAcquire = PTHREAD_MUTEX_INITIALIZER;
bool            s_LogStarted = false;
bool            s_LogClosed = false;  // the last entries are written; under s_Mutex
bool            Debug = false;
int             GetID_NextID = 0;
pthread_mutex_t GetID_Mutex;

// Removes every "\r", turns every "\n" into EndLn and ends the entry with
// exactly one EndLn.
cStr NormaliseEntry(const char* text) {
    cStr entry(text);
    entry.Replace("\r", "");
    entry.Replace("\n", cLog::EndLn);
    int n = cLog::EndLn.Length();
    if (entry.Length() < n || cStr::Compare(entry.ToChar() + entry.Length() - n, cLog::EndLn) != 0)
        entry.Append(cLog::EndLn);
    return entry;
}

// "date time | message", the form of every entry but the traces.
cStr Stamped(const cStr& message) {
    cStr date, time;
    {
        // The date and time texts are shared by every thread that refreshes
        // the clock: they are read while the clock lock is still held.
        zozud::cMutexLock lock(TAcquire);
        zozud::cTimer::Acquire();
        date = zozud::cTimer::GetLocalDate();
        time = zozud::cTimer::GetLocalTime();
    }
    cStr line = date;
    line.Append(" ");
    line.Append(time);
    line.Append(" | ");
    line.Append(message);
    return line;
}

// Appends to the text and the file, under s_Mutex; false when the file
// could not be written.
bool Append(const cStr& entry) {
    bool saved = cIO::SaveFile(Torvane_Log::s_FilePathName, entry.ToChar(), entry.Length(), true, false);
    Torvane_Log::s_Text.Append(entry);
    if (Torvane_Log::s_Text.Length() > Torvane_Log::MaxLength) Torvane_Log::s_Text.Remove(0, Torvane_Log::TrimLength);
    return saved;
}

}  // namespace

cStr Torvane_WorkingPath(const char* name) {
    if (cIO::PathIsAbsolute(name)) return cStr(name);
    char cwd[4096];
    cStr path(getcwd(cwd, sizeof(cwd)) ? cwd : ".");
    path.AppendPath(name);
    path.BackSlashesToSlashes();
    return path;
}

void Torvane_StartLog() {
    cStr custom = cIO::GetEnvironmentVariable("TORVANE_LOGFILE");
    if (!custom.IsEmpty()) Torvane_Log::s_FilePathName = custom;
    Torvane_Log::s_FilePathName = Torvane_WorkingPath(Torvane_Log::s_FilePathName);
    if (!custom.IsEmpty()) cIO::CreatePath(Torvane_Log::s_FilePathName);
    cIO::RemoveFile(Torvane_Log::s_FilePathName);
    cThread::CreateMutex(Torvane_Log::s_Mutex);
    s_LogStarted = true;
}

bool Torvane_LogStarted() { return s_LogStarted; }

// A thread that writes an entry while exit() destroys the static objects
// (the log text, the clock's date texts) waits here instead of using them.
void Torvane_HoldLogForExit() {
    if (s_LogStarted) pthread_mutex_lock(&Torvane_Log::s_Mutex);
    pthread_mutex_lock(&TAcquire);
}

// The file append and the text append are one step under s_Mutex. A failed
// write is reported after the lock is released: the warning may open a modal
// dialog whose nested main loop refreshes the log view, which takes s_Mutex.
// The entry is shaped under the lock too: its line end is a static object,
// gone once the process end holds the lock.
void Torvane_Message(const char* text) {
    bool saved = true;
    cStr path;
    {
        zozud::cMutexLock lock(Torvane_Log::s_Mutex);
        if (s_LogClosed) return;
        saved = Append(NormaliseEntry(text));
        if (!saved) path = Torvane_Log::s_FilePathName;
    }
    if (!saved) cLog::Warning("Can't save file \"%s\"", path.ToChar());
}

void _msg(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    cStr message = cStr::Formatv(fmt, args);
    va_end(args);
    Torvane_Message(Stamped(message));
}

// The entries go in as one block, so no other thread's entry falls between
// them or after them. The process is ending: a failed write is not reported.
void Torvane_LastEntries(const char* const* messages, int count) {
    cList<cStr> entries;
    for (int i = 0; i < count; i++) entries.Add(Stamped(cStr(messages[i])));
    zozud::cMutexLock lock(Torvane_Log::s_Mutex);
    if (s_LogClosed) return;
    for (const cStr& entry : entries) Append(NormaliseEntry(entry));
    s_LogClosed = true;
}

void Torvane_GetLog(cStr* out) {
    zozud::cMutexLock lock(Torvane_Log::s_Mutex);
    out->Copy(Torvane_Log::s_Text);
}

void Torvane_StartTrace() {
    cThread::CreateMutex(GetID_Mutex);
    Debug = !cIO::GetEnvironmentVariable("TORVANE_DEBUG").IsEmpty();
}

bool Torvane_TraceEnabled() { return Debug; }

int Torvane_NextTraceID() {
    zozud::cMutexLock lock(GetID_Mutex);
    return GetID_NextID++;
}
