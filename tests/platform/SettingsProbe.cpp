// A small application for the settings tests: the shell's main makes
// g_Settings and opens the window; every frame the probe runs the widget
// registry, so the settings act as in any application. "f" turns the
// FullScreen setting over; the probe prints the client size whenever it
// changes, the centre pixel of the first frames, and keys that reach the
// widget behind the settings.
#include <cstdio>

#include "platform/linux/LinuxMain.h"
#include "zozud/core/Timer.h"
#include "zozud/image/Image.h"
#include "zozud/math/Rect.h"
#include "zozud/render/Render.h"
#include "zozud/view/ClassExplorer.h"
#include "zozud/widgets/Settings.h"

using namespace zozud;

cStr cMain_Title("Settings Probe");
cStr cMain_LoadSceneXmlFilePn;
bool cMain_LoadSceneEnableIntro = true;

namespace {

class KeyWatcher : public cWidget {
public:
    bool OnButtonDown(int key) override {
        if (key == cInput::F) {
            g_Settings->FullScreen = !g_Settings->FullScreen;
            printf("fullscreen %d\n", g_Settings->FullScreen);
        } else if (key == cInput::Tilde) {
            printf("tilde passed\n");
        }
        return true;
    }
};

}  // namespace

void cMain_OnPreInit() { setvbuf(stdout, nullptr, _IOLBF, 0); }

bool cMain_OnSetInitialWindowSize(int* x, int* y, int* width, int* height) {
    *x = *y = 0, *width = 640, *height = 400;
    return true;
}

void cMain_OnInit() {
    printf("settings %d %d\n", g_Settings != nullptr && cWidgets::GetWidgetID(g_Settings) >= 0,
           cClassExplorer::FindObject(g_Settings) >= 0);
    cWidgets::AddWidget(new KeyWatcher, 0);
}

void cMain_OnRender(const cRect& rect) {
    static int width = -1, height = -1, frames = 0, pause = -1;
    // Keys typed while the window has no focus are dropped: the test waits for "pause 0".
    if (pause != (int)cPause::GetSystemPause()) printf("pause %d\n", pause = cPause::GetSystemPause());
    cInput::Acquire();
    cWidgets::HandleInputEvents();
    cWidgets::Render();
    if ((int)rect.GetWidth() != width || (int)rect.GetHeight() != height) {
        width = (int)rect.GetWidth();
        height = (int)rect.GetHeight();
        printf("size %d %d\n", width, height);
    }
    // The frame so far is the settings' clear and nothing else.
    cImage shot;
    if (++frames == 3 && cRender::ScreenShot(&shot) && shot.Pixels) {
        const unsigned char* p = shot.Pixels + ((height / 2) * width + width / 2) * 3;
        printf("clear %d %d %d\n", p[0], p[1], p[2]);
    }
}

bool cMain_OnClose() { return true; }
