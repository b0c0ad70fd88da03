// Pen tablets found among GDK's extended input devices, and the 3Dconnexion
// driver, which sends 3D-mouse motion and buttons as X client messages.
#include <pthread.h>
#include <strings.h>

#include <cstring>

#include "platform/linux/LinuxMain.h"

#include <gdk/gdkx.h>
#include "zozud/core/Log.h"

using zozud::cLog;

namespace {

GdkDevice* s_Stylus = nullptr;
GdkDevice* s_Eraser = nullptr;
bool       s_PenPressed = false, s_EraserUsed = false;
int        s_CurPressure = 0;

const char* ModeName(GdkInputMode mode) {
    switch (mode) {
        case GDK_MODE_SCREEN: return "Screen";
        case GDK_MODE_WINDOW: return "Window";
        default: return "Disabled";
    }
}

bool Contains(const char* name, const char* part) { return strstr(name, part) != nullptr; }

// The 3D mouse: the last motion and button states, shared with readers on
// other threads under its mutex.
struct TdxState {
    pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
    float translation[3] = {0, 0, 0};
    float rotation[3] = {0, 0, 0};
    int   buttons[2] = {0, 0};
    Atom  motion = 0, press = 0, release = 0;
} g_3Dconnexion;

bool InternAtoms(Display* display) {
    if (!display) return false;
    g_3Dconnexion.motion = XInternAtom(display, "MotionEvent", True);
    g_3Dconnexion.press = XInternAtom(display, "ButtonPressEvent", True);
    g_3Dconnexion.release = XInternAtom(display, "ButtonReleaseEvent", True);
    return g_3Dconnexion.motion != 0 && g_3Dconnexion.press != 0 && g_3Dconnexion.release != 0;
}

Display* XDisplay() {
    if (cLinuxMain_Display) return cLinuxMain_Display;
    GdkDisplay* display = gdk_display_get_default();
    return display ? GDK_DISPLAY_XDISPLAY(display) : nullptr;
}

}  // namespace

// Lists the devices in the log; a pen named "stylus", or else the first pen
// that is none of the pad, cursor, eraser, pointer or touch devices, is the
// stylus; a device named with "eraser" is the eraser. Both report in screen
// coordinates.
void cLinuxMain_InitTablet() {
    s_Stylus = s_Eraser = nullptr;
    cLog::Message("Enum Input Devices:%s", cLog::EndLn.ToChar());
    for (GList* item = gdk_devices_list(); item; item = item->next) {
        GdkDevice* device = GDK_DEVICE(item->data);
        const char* name = device->name ? device->name : "";
        cLog::Message("%s %s%s", name, ModeName(device->mode), cLog::EndLn.ToChar());
        if (Contains(name, "eraser")) {
            if (!s_Eraser) s_Eraser = device;
            continue;
        }
        if (device->source != GDK_SOURCE_PEN) continue;
        if (strcasecmp(name, "stylus") == 0) {
            s_Stylus = device;
        } else if (!s_Stylus && !Contains(name, "pad") && !Contains(name, "cursor") && !Contains(name, "Pointer") &&
                   !Contains(name, "Finger")) {
            s_Stylus = device;
        }
    }
    if (s_Stylus) gdk_device_set_mode(s_Stylus, GDK_MODE_SCREEN);
    if (s_Eraser) gdk_device_set_mode(s_Eraser, GDK_MODE_SCREEN);
}

void cMain_GetTabletState(int* pressure, bool* penPressed, bool* eraserUsed, int* fourth) {
    if (pressure) *pressure = s_CurPressure;
    if (penPressed) *penPressed = s_PenPressed;
    if (eraserUsed) *eraserUsed = s_EraserUsed;
    if (fourth) *fourth = -1;
}

void cLinuxMain_3Dconnexion::Init(GdkWindow* window) {
    if (InternAtoms(XDisplay())) {
        cLog::Message("3Dconnexion driver has been found%s", cLog::EndLn.ToChar());
        if (window) gdk_window_add_filter(window, FilterProc, nullptr);
    } else {
        cLog::Message("No 3Dconnexion driver%s", cLog::EndLn.ToChar());
    }
}

bool cLinuxMain_3Dconnexion::InitEvents() { return InternAtoms(XDisplay()); }

// Client messages of 16-bit words: motion carries translation in words 2..4
// and rotation in 5..7; a button message carries the button number in word 2.
bool cLinuxMain_3Dconnexion::HandleEvent(const XEvent& event) {
    if (event.type != ClientMessage || event.xclient.format != 16) return false;
    Atom type = event.xclient.message_type;
    if (type == 0) return false;
    const short* s = event.xclient.data.s;
    TdxState& tdx = g_3Dconnexion;
    if (type == tdx.motion) {
        pthread_mutex_lock(&tdx.mutex);
        for (int i = 0; i < 3; i++) {
            tdx.translation[i] = s[2 + i];
            tdx.rotation[i] = s[5 + i];
        }
        pthread_mutex_unlock(&tdx.mutex);
        return true;
    }
    if (type == tdx.press || type == tdx.release) {
        if (s[2] == 1 || s[2] == 2) {
            pthread_mutex_lock(&tdx.mutex);
            tdx.buttons[s[2] - 1] = type == tdx.press ? 1 : 0;
            pthread_mutex_unlock(&tdx.mutex);
        }
        return true;
    }
    return false;
}

GdkFilterReturn cLinuxMain_3Dconnexion::FilterProc(void* xevent, GdkEvent*, void*) {
    if (!xevent) return GDK_FILTER_CONTINUE;
    return HandleEvent(*static_cast<const XEvent*>(xevent)) ? GDK_FILTER_REMOVE : GDK_FILTER_CONTINUE;
}

void cLinuxMain_3Dconnexion::GetState(float translation[3], float rotation[3], int buttons[2]) {
    pthread_mutex_lock(&g_3Dconnexion.mutex);
    for (int i = 0; i < 3; i++) {
        if (translation) translation[i] = g_3Dconnexion.translation[i];
        if (rotation) rotation[i] = g_3Dconnexion.rotation[i];
    }
    for (int i = 0; i < 2; i++)
        if (buttons) buttons[i] = g_3Dconnexion.buttons[i];
    pthread_mutex_unlock(&g_3Dconnexion.mutex);
}
