// The application hooks of Torvane. Its whole run happens inside
// cMain_OnPreInit; the framework's own window, renderer and widgets stay idle.
#include <cstdlib>

#include "host/Torvane.h"
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

void Torvane_OnExit() {
    CSocket::Free();
    exit(0);
}

void Torvane_OnFree() { CSocket::Free(); }
