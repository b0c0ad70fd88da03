// Application hooks for test programs that link the framework without the
// host program: every hook does nothing, cMain_OnPreInit returns at once.
#include "zozud/core/Main.h"

zozud::cStr cMain_Title("zozud tests");
zozud::cStr cMain_LoadSceneXmlFilePn;
bool        cMain_LoadSceneEnableIntro = true;

void cMain_OnPreInit() {}
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
