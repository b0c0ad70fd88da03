// A small application for the window tests: the shell's main opens the
// framework's window; every frame the probe drains the input queue and prints
// each event, and it prints the pause state when it changes. A right-button
// press renames the window; the close request is printed and allowed.
#include <cstdio>

#include "platform/linux/LinuxMain.h"
#include "zozud/core/Timer.h"
#include "zozud/math/Rect.h"
#include "zozud/widgets/Input.h"

using zozud::cInput;

zozud::cStr cMain_Title("Window Probe");
zozud::cStr cMain_LoadSceneXmlFilePn;
bool        cMain_LoadSceneEnableIntro = true;

void cMain_OnPreInit() { setvbuf(stdout, nullptr, _IOLBF, 0); }

void cMain_OnInit() { printf("init\n"); }

void cMain_OnRender(const zozud::cRect& rect) {
    static bool first = true;
    static int pause = -1;
    if (first) printf("ready %d %d\n", (int)rect.GetWidth(), (int)rect.GetHeight());
    first = false;
    if (pause != (int)zozud::cPause::GetSystemPause()) printf("pause %d\n", pause = zozud::cPause::GetSystemPause());
    while (cInput::Event* e = cInput::GetEvent()) {
        if (e->Type == cInput::EventType::Button)
            printf("button %d %d %d %d %d %g\n", e->Code, e->IsPressed, e->IsDoubleClick, (int)e->Pos.x,
                   (int)e->Pos.y, e->Wheel);
        else if (e->Type == cInput::EventType::MouseMove)
            printf("move %d %d %d %d\n", (int)e->Pos.x, (int)e->Pos.y, (int)e->Delta.x, (int)e->Delta.y);
        if (e->Type == cInput::EventType::Button && e->Code == cInput::RightButton && e->IsPressed)
            cMain_SetWindowTitle("Window Probe renamed");
        delete e;
    }
}

bool cMain_OnClose() {
    printf("close\n");
    return true;
}

void cMain_OnPostFree() { printf("post free\n"); }
