// The application hooks of Torvane. Its whole run happens inside
// cMain_OnPreInit; the framework's own window, renderer and widgets stay idle.
#include <glib.h>
#include <unistd.h>

#include <cstdlib>

#include "host/Torvane.h"
#include "platform/linux/LinuxMain.h"
#include "zozud/core/Main.h"

zozud::cStr cMain_Title("Ombrel: Torvane 1.8 Linux GUI (64-bit)");
zozud::cStr cMain_LoadSceneXmlFilePn;
bool        cMain_LoadSceneEnableIntro = true;

void cMain_OnPreInit() {
    Torvane_StartLog();
    Torvane_StartGUI();
    Torvane_OnExit();
}

bool cMain_OnSetInitialWindowSize(int*, int*, int*, int*) { return false; }
void cMain_OnInit() {}
void cMain_OnRender(const zozud::cRect&) {}
bool cMain_OnClose() { return true; }
void cMain_OnActivate() {}
void cMain_OnFree() {}
void cMain_OnPostFree() {}
void cMain_OnCrash() {}
void cMain_OnDrop(const char*) {}
void cMain_OnDropURL(const char*) {}
bool cMain_OnDownloadProgress(int) { return false; }
void cMain_OnInitPath(zozud::cStr*) {}

namespace {

gboolean ExitOnToolkitThread(gpointer) {
    Torvane_OnExit();
    return FALSE;
}

}  // namespace

// The process always ends on the toolkit thread: exit() runs the toolkit
// libraries' own exit handlers, which must not race with that thread drawing,
// so a listener thread hands the exit over and waits for it. Connection
// threads may still run: the socket registry, the service log and its clock
// are locked (in their lock order) before the static objects are destroyed,
// and threads that reach them wait there until the process is gone.
void Torvane_OnExit() {
    if (!cLinuxMain_IsToolkitThread()) {
        g_idle_add(ExitOnToolkitThread, nullptr);
        for (;;) pause();
    }
    CSocket::Free();
    pthread_mutex_lock(&CSocket::m_Mutex);
    Torvane_HoldLogForExit();
    exit(0);
}

void Torvane_OnFree() { CSocket::Free(); }
