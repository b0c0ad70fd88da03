// A small application for the entry tests: it prints what main gathered
// (the joined command line, the key tables) and then, as ENTRY_PROBE_MODE
// asks, exits, crashes, or returns to main so that the cursor step and the
// window run (the window quits its main loop as soon as it is up).
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/linux/LinuxMainInternal.h"
#include "zozud/core/Log.h"

zozud::cStr cMain_Title("Entry Probe");
zozud::cStr cMain_LoadSceneXmlFilePn;
bool        cMain_LoadSceneEnableIntro = true;

namespace {

void PrintList(const char* name, const zozud::cList<int>& list) {
    printf("%s %d", name, list.Count());
    for (int v : list) printf(" %d", v);
    printf("\n");
}

// What main did after cMain_OnPreInit returned, printed at exit.
void PrintAfterMain() {
    int cursors = 0;
    for (GdkCursor* c : cLinuxMain_Cursors) cursors += c != nullptr;
    printf("cursors %d display %d\n", cursors, cLinuxMain_Display != nullptr);
    fflush(stdout);
}

}  // namespace

void cMain_OnPreInit() {
    printf("args [%s]\n", cMain_GetCmdLineArgs().ToChar());
    PrintList("keysyms", cLinuxMain_KeySyms);
    PrintList("codes", cLinuxMain_Codes);
    PrintList("enter", cLinuxMain_EnterCodes);
    PrintList("shift", cLinuxMain_ShiftCodes);
    PrintList("control", cLinuxMain_ControlCodes);
    PrintList("alt", cLinuxMain_AltCodes);
    printf("repeated %d\n", cLinuxMain_Repeated.Count());
    fflush(stdout);
    const char* mode = getenv("ENTRY_PROBE_MODE");
    if (mode && !strcmp(mode, "segv")) raise(SIGSEGV);
    if (mode && !strcmp(mode, "bus")) raise(SIGBUS);
    if (mode && !strcmp(mode, "return")) {
        atexit(PrintAfterMain);
        return;
    }
    exit(7);
}

void cMain_OnInit() {
    printf("window %d\n", cLinuxMain_GetWindow() != nullptr);
    g_idle_add([](gpointer) -> gboolean { cMain_Quit(); return FALSE; }, nullptr);
}

void cMain_OnCrash() {
    static const char text[] = "crash hook\n";
    (void)!write(1, text, sizeof(text) - 1);
}
