// The application hooks (defined by the host program, called by the framework
// and the platform shell; zozud/core/DefaultHooks.cpp holds do-nothing
// defaults) and the globals they share. The shell's services to the
// application are declared in platform/linux/LinuxMain.h.
#pragma once

#include "zozud/core/Str.h"

namespace zozud {
class cRect;
class cImage;
}

// ---- Hooks: every application defines each of these ----
void cMain_OnPreInit();
bool cMain_OnSetInitialWindowSize(int* x, int* y, int* width, int* height);
void cMain_OnInit();
void cMain_OnRender(const zozud::cRect& rect);
bool cMain_OnClose();
void cMain_OnActivate();
void cMain_OnFree();
void cMain_OnPostFree();
void cMain_OnCrash();
void cMain_OnDrop(const char* path);
void cMain_OnDropURL(const char* url);
bool cMain_OnDownloadProgress(int percent);
void cMain_OnInitPath(zozud::cStr* path);

// ---- Application globals the hooks and the framework share ----
extern zozud::cStr cMain_Title;
extern zozud::cStr cMain_LoadSceneXmlFilePn;
extern bool        cMain_LoadSceneEnableIntro;
