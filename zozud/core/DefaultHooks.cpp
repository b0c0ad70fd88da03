// Do-nothing application hooks. They are weak: an application defines the
// hooks it needs (cMain_OnPreInit always) and the linker takes these for the
// rest, so small programs such as tools and test probes stay short.
#include "zozud/core/Main.h"

#define ZOZUD_DEFAULT_HOOK __attribute__((weak))

ZOZUD_DEFAULT_HOOK bool cMain_OnSetInitialWindowSize(int*, int*, int*, int*) { return false; }
ZOZUD_DEFAULT_HOOK void cMain_OnInit() {}
ZOZUD_DEFAULT_HOOK void cMain_OnRender(const zozud::cRect&) {}
ZOZUD_DEFAULT_HOOK bool cMain_OnClose() { return true; }
ZOZUD_DEFAULT_HOOK void cMain_OnActivate() {}
ZOZUD_DEFAULT_HOOK void cMain_OnFree() {}
ZOZUD_DEFAULT_HOOK void cMain_OnPostFree() {}
ZOZUD_DEFAULT_HOOK void cMain_OnCrash() {}
ZOZUD_DEFAULT_HOOK void cMain_OnDrop(const char*) {}
ZOZUD_DEFAULT_HOOK void cMain_OnDropURL(const char*) {}
ZOZUD_DEFAULT_HOOK bool cMain_OnDownloadProgress(int) { return false; }
ZOZUD_DEFAULT_HOOK void cMain_OnInitPath(zozud::cStr*) {}
