// The facade's start-up: finds the executable and the program folder, creates
// the default source and registers the built-in codecs (the function the
// framework's start-up handed in with SetBuiltInCodecs). It runs once, on the
// first call of any cIO operation, from whichever thread makes it; other
// threads wait for it, and the starting thread may re-enter the facade.
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>

#include <glib.h>

#include "zozud/core/Log.h"
#include "zozud/core/Main.h"
#include "zozud/io/IOState.h"

namespace zozud {

namespace {

// Output folders of build systems, longest first where one ends another.
const char* const OutputFolders[] = {
    "dist/Debug/GNU-Linux-x86", "dist/Release/GNU-Linux-x86",
    "build/Debug", "build/Release",
    "x64\\Debug", "x64\\Release", "x64\\Debug (DX)", "x64\\Release (DX)",
    "x64\\Debug (GL)", "x64\\Release (GL)",
    "Debug", "Release", "Debug (DX)", "Release (DX)", "Debug (GL)", "Release (GL)",
    "Debug 64", "Release 64", "Debug 32", "Release 32",
};

void (*s_RegisterBuiltInCodecs)() = nullptr;  // handed in by the framework's start-up

std::atomic<bool> Started(false);
pthread_mutex_t   StartMutex = PTHREAD_MUTEX_INITIALIZER;
thread_local bool Starting = false;

cIO_State& RawState() {
    static cIO_State* state = new cIO_State;  // lives until exit, never destroyed
    return *state;
}

cStr ReadExecutablePath() {
    char link[64];
    snprintf(link, sizeof link, "/proc/%d/exe", (int)getpid());
    char buffer[512];
    ssize_t n = readlink(link, buffer, sizeof buffer - 1);
    buffer[n > 0 ? n : 0] = 0;
    return cStr(buffer);
}

// Cuts a build output folder off the end of the program folder; the folder
// must end at a whole path component ("MyDebug" is no "Debug"). Returns the
// matched entry, or null.
const char* CutOutputFolder(cStr* folder) {
    cStr trimmed(*folder);
    while (trimmed.Length() > 1 && cStr::IsSeparator(trimmed.GetLast())) trimmed.SetLength(trimmed.Length() - 1);
    for (const char* suffix : OutputFolders) {
        int n = (int)strlen(suffix), start = trimmed.Length() - n;
        if (start < 0) continue;
        if (start > 0 && !cStr::IsSeparator(trimmed.ToChar()[start - 1])) continue;
        if (cStr::ComparePath(trimmed.ToChar() + start, suffix) != 0) continue;
        trimmed.SetLength(start);
        *folder = trimmed;
        return suffix;
    }
    return nullptr;
}

void Start(cIO_State& state) {
    state.thisFilePathName = ReadExecutablePath();
    cStr folder(state.thisFilePathName);
    folder.RemoveFileName();
    const char* output = CutOutputFolder(&folder);

    SourceFolder* source = new SourceFolder(folder, "");
    state.sources.Add(source);
    if (output) cLog::Message("Program is running under output directory \"%s\"", output);

    cMain_OnInitPath(&folder);
    if (folder.IsEmpty()) {  // no /proc: the working folder is the best guess
        char* cwd = g_get_current_dir();
        folder = cwd;
        g_free(cwd);
    }
    source->SetPath(cIO::EnsureAbsolutePath(folder));
    cLog::Message("Default file source is folder \"%s\"", source->GetPath().ToChar());

    if (s_RegisterBuiltInCodecs) s_RegisterBuiltInCodecs();
}

}  // namespace

cIO_State::cIO_State()
    : fallback("", ""),
      modelAnimCameraBspPath("Models"),
      soundPath("Sounds"),
      imagePath("Textures"),
      xmlPath("Xmls") {}

cIO_State& cIO_Facade() {
    cIO_State& state = RawState();
    if (Started.load(std::memory_order_acquire) || Starting) return state;
    pthread_mutex_lock(&StartMutex);
    if (!Started.load(std::memory_order_relaxed)) {
        Starting = true;
        Start(state);
        Starting = false;
        Started.store(true, std::memory_order_release);
    }
    pthread_mutex_unlock(&StartMutex);
    return state;
}

SourceFolder& cIO_DefaultSource() {
    cIO_State& state = cIO_Facade();
    if (state.sources.IsEmpty()) return state.fallback;
    SourceFolder* source = dynamic_cast<SourceFolder*>(state.sources[0]);
    return source ? *source : state.fallback;
}

// ---- Seams ----

void cIO::SetBuiltInCodecs(void (*registerCodecs)()) {
    s_RegisterBuiltInCodecs = registerCodecs;
    if (registerCodecs && Started.load(std::memory_order_acquire)) registerCodecs();
}

void cIO::LendLogFiles() {
    cLog::FileHooks hooks;
    hooks.saveFile = [](const char* path, const void* data, unsigned long size, bool append, bool warn) {
        return cIO::SaveFile(path, data, size, append, warn);
    };
    hooks.removeFile = [](const char* path) { return cIO::RemoveFile(path); };
    cLog::SetFileHooks(hooks);
}

// ---- Facade operations on the state ----

cStr& cIO::GetThisFilePathName() { return cIO_Facade().thisFilePathName; }

const cList<cIO::Source*>& cIO::GetSources() { return cIO_Facade().sources; }

cList<cIO::Source*>& cIO::GetSourcesMutable() { return cIO_Facade().sources; }

const cStr& cIO::GetDefaultSourceFolder() { return cIO_DefaultSource().GetPath(); }

// Stored absolute, so that the prefix tests of redirection compare like with like.
void cIO::SetDefaultSourceWriteFolder(const char* path) {
    SourceFolder& source = cIO_DefaultSource();
    source.SetWritePath(path && *path ? EnsureAbsolutePath(path).ToChar() : "");
}

}  // namespace zozud
