// A small application for the entry tests: it prints what main gathered
// (the joined command line, the key tables) and then, as ENTRY_PROBE_MODE
// asks, exits, crashes, or returns to main so that the cursor step runs.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/linux/LinuxMain.h"
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
    printf("log [%s]\n", zozud::cLog::GetLog().ToChar());
    fflush(stdout);
}

// Closes the log dialog that main opens for its error, as a user would.
gboolean CloseDialogs(gpointer) {
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w; w = w->next)
        if (gtk_widget_get_visible(GTK_WIDGET(w->data))) gtk_widget_destroy(GTK_WIDGET(w->data));
    g_list_free(windows);
    return TRUE;
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
        g_timeout_add(300, CloseDialogs, nullptr);
        return;
    }
    exit(7);
}

void cMain_OnCrash() {
    static const char text[] = "crash hook\n";
    (void)!write(1, text, sizeof(text) - 1);
}
