// The framework's log text and its mirror file. Every entry point may be
// called from any thread: the text, the mirror settings and the time origin
// are guarded by one mutex that is only ever held around plain string work,
// never while calling out (file writes, the dialog), so it cannot take part
// in a lock cycle. Mirror writes leave in the order the lines arrived: one
// thread at a time drains a queue of pending writes outside the lock. File
// writes and the dialog are the hooks the layers above lend (cLog::FileHooks,
// cLog::DialogHooks); they are set at start-up and only read afterwards.
#include "zozud/core/Log.h"

#include <pthread.h>

#include "zozud/core/List.h"
#include "zozud/core/Thread.h"
#include "zozud/core/Timer.h"

namespace zozud {

namespace {

// The line end is made at compile time and never destroyed: lines are logged
// by static constructors that run before this file's, and by destructors and
// threads after it was torn down. A union member has no destructor of its own.
union LineEnd {
    constexpr LineEnd() : text(cStr::ConstantText(), "\r\n", 2) {}
    ~LineEnd() {}
    cStr text;
};
LineEnd s_LineEnd;

}  // namespace

const cStr& cLog::EndLn = s_LineEnd.text;

int  OmbrelAssertDebugInsteadOfException = 1;
cStr OmbrelLastException;

void __elog(const char*) {}

namespace {

// One pending write to the mirror file; `replace` starts the file afresh.
struct MirrorWrite {
    cStr path;
    cStr text;
    bool replace = false;
};

// The log state is guarded by s_Mutex.
pthread_mutex_t s_Mutex = PTHREAD_MUTEX_INITIALIZER;

struct LogState {
    cStr               log;                  // the whole log text
    bool               autoSaveToFile = false;
    cStr               autoSaveFilePn;       // the mirror file
    int                time0 = 0;            // clock ticks at the origin of TimeMessage
    bool               time0Set = false;     // the clock's first tick is 0: a set origin may be 0
    cList<MirrorWrite> mirrorQueue;
    bool               mirrorBusy = false;   // a thread is draining the queue
};

cLog::FileHooks   s_FileHooks;
cLog::DialogHooks s_DialogHooks;

// Made on first use and never destroyed: lines may arrive before main and
// from threads that still run while the process exits.
LogState& State() {
    static LogState* state = new LogState;
    return *state;
}

// Holds s_Mutex over the state; the state is made before the lock is taken.
struct Locked {
    Locked() : state(State()), lock(s_Mutex) {}
    LogState&  state;
    cMutexLock lock;
};

// One line end per line: carriage returns go, line feeds become EndLn, and
// the text always ends with EndLn.
void NormalizeLineEnds(cStr* text) {
    text->Replace("\r", "");
    text->Replace("\n", cLog::EndLn);
    int n = cLog::EndLn.Length();
    if (text->Length() < n || cStr::Compare(text->ToChar() + text->Length() - n, cLog::EndLn) != 0)
        text->Append(cLog::EndLn);
}

void QueueMirrorWrite(LogState& state, const cStr& path, const cStr& text, bool replace) {
    MirrorWrite w;
    w.path = path;
    w.text = text;
    w.replace = replace;
    state.mirrorQueue.Add(w);
}

// Writes the queued mirror text. The file is written with warn = false: a
// failed write must not log a warning, which would append and fail again.
void WriteMirror(const MirrorWrite& w) {
    if (w.path.IsEmpty() || !s_FileHooks.saveFile) return;
    if (w.replace && s_FileHooks.removeFile) s_FileHooks.removeFile(w.path);
    s_FileHooks.saveFile(w.path, w.text.ToChar(), (unsigned long)w.text.Length(), !w.replace, false);
}

// Drains the mirror queue unless another thread (or an outer call on this
// one) already does; that drainer then writes what was queued here.
void FlushMirror() {
    {
        Locked locked;
        if (locked.state.mirrorBusy || locked.state.mirrorQueue.IsEmpty()) return;
        locked.state.mirrorBusy = true;
    }
    for (;;) {
        cList<MirrorWrite> batch;
        {
            Locked locked;
            if (locked.state.mirrorQueue.IsEmpty()) {
                locked.state.mirrorBusy = false;
                return;
            }
            batch = std::move(locked.state.mirrorQueue);
        }
        for (int i = 0; i < batch.Count(); i++) WriteMirror(batch[i]);
    }
}

void AddText(cStr text) {
    NormalizeLineEnds(&text);
    {
        Locked locked;
        if (locked.state.autoSaveToFile) QueueMirrorWrite(locked.state, locked.state.autoSaveFilePn, text, false);
        locked.state.log.Append(text);
    }
    FlushMirror();
}

}  // namespace

// ---- Adding lines ----

void cLog::AddString(const char* fmt, va_list args) { AddText(cStr::Formatv(fmt, args)); }

void cLog::Message(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    AddString(fmt, args);
    va_end(args);
}

void cLog::Warning(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    AddString(fmt, args);
    va_end(args);
    ShowDialog(Mode::Warning);
}

void cLog::Error(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    AddString(fmt, args);
    va_end(args);
    ShowDialog(Mode::Error);
}

void cLog::Assert(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    AddString(fmt, args);
    va_end(args);
    ShowDialog(Mode::Assert);
}

void cLog::TimeMessage(const char* fmt, ...) {
    int now = cTimer::AcquireClockTicks();
    int origin;
    {
        Locked locked;
        if (!locked.state.time0Set) {
            locked.state.time0 = now;
            locked.state.time0Set = true;
        }
        origin = locked.state.time0;
    }
    int ms = now - origin;
    cStr text = cStr::Format("%.02d:%.02d.%.03d ", ms / 60000, ms / 1000 % 60, ms % 1000);
    va_list args;
    va_start(args, fmt);
    text.Append(cStr::Formatv(fmt, args));
    va_end(args);
    AddText(text);
}

void cLog::ResetTime() {
    int now = cTimer::AcquireClockTicks();
    Locked locked;
    locked.state.time0 = now;
    locked.state.time0Set = true;
}

// ---- Files ----

bool cLog::SaveToFile(const char* path) {
    cStr text = GetLogCopy();
    if (text.IsEmpty() || !s_FileHooks.saveFile) return false;
    return s_FileHooks.saveFile(path, text.ToChar(), (unsigned long)text.Length(), false, true);
}

void cLog::EnableAutoSaveToFile(bool on, const char* path) {
    {
        Locked locked;
        bool switchingOn = on && !locked.state.autoSaveToFile;
        locked.state.autoSaveToFile = on;
        locked.state.autoSaveFilePn = path ? path : "";
        if (switchingOn) QueueMirrorWrite(locked.state, locked.state.autoSaveFilePn, locked.state.log, true);
    }
    FlushMirror();
}

// ---- Dialog ----

void cLog::ShowDialog(Mode::Enum mode) {
    if (s_DialogHooks.showDialog) s_DialogHooks.showDialog(mode);
}

bool cLog::IsVisible() { return s_DialogHooks.isVisible && s_DialogHooks.isVisible(); }
int  cLog::GetResult() { return s_DialogHooks.getResult ? s_DialogHooks.getResult() : -1; }

// ---- Seams ----

void cLog::SetFileHooks(const FileHooks& hooks) { s_FileHooks = hooks; }
void cLog::SetDialogHooks(const DialogHooks& hooks) { s_DialogHooks = hooks; }

// ---- Reading ----

const cStr& cLog::GetLog() { return State().log; }
cStr&       cLog::GetLogMutable() { return State().log; }

cStr cLog::GetLogCopy() {
    Locked locked;
    return locked.state.log;
}

}  // namespace zozud
