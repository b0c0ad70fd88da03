// Pen tablets found among GDK's extended input devices, and the 3Dconnexion
// driver, which sends 3D-mouse motion and buttons as X client messages.
#include <pthread.h>
#include <strings.h>

#include <cstring>

#include "platform/linux/LinuxMainInternal.h"
#include "platform/linux/Tablet.h"
#include "zozud/core/Log.h"

// Last: Xlib's macros (None, Bool, Status) must not reach the framework's headers.
#include <gdk/gdkx.h>

using zozud::cLog;

namespace {

cLinuxMain_TabletState s_Tablet;

// The value of the axis `use` normalised by the device's range of it, false
// when the device has no such axis.
bool AxisFraction(GdkDevice* device, const gdouble* axes, GdkAxisUse use, double* fraction) {
    gdouble value = 0;
    if (!device || !axes || !gdk_device_get_axis(device, const_cast<gdouble*>(axes), use, &value)) return false;
    for (int i = 0; i < device->num_axes; i++) {
        const GdkDeviceAxis& axis = device->axes[i];
        if (axis.use != use) continue;
        if (axis.max <= axis.min) return false;
        *fraction = (value - axis.min) / (axis.max - axis.min);
        return true;
    }
    return false;
}

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
    s_Tablet = cLinuxMain_TabletState();
    GdkDevice*& stylus = s_Tablet.Stylus;
    GdkDevice*& eraser = s_Tablet.Eraser;
    cLog::Message("Enum Input Devices:%s", cLog::EndLn.ToChar());
    for (GList* item = gdk_devices_list(); item; item = item->next) {
        GdkDevice* device = GDK_DEVICE(item->data);
        const char* name = device->name ? device->name : "";
        cLog::Message("%s %s%s", name, ModeName(device->mode), cLog::EndLn.ToChar());
        if (Contains(name, "eraser")) {
            if (!eraser) eraser = device;
            continue;
        }
        if (device->source != GDK_SOURCE_PEN) continue;
        if (strcasecmp(name, "stylus") == 0) {
            stylus = device;
        } else if (!stylus && !Contains(name, "pad") && !Contains(name, "cursor") && !Contains(name, "Pointer") &&
                   !Contains(name, "Finger")) {
            stylus = device;
        }
    }
    if (stylus) gdk_device_set_mode(stylus, GDK_MODE_SCREEN);
    if (eraser) gdk_device_set_mode(eraser, GDK_MODE_SCREEN);
}

void cMain_GetTabletState(int* pressure, bool* penPressed, bool* eraserUsed, int* fourth) {
    if (pressure) *pressure = s_Tablet.CurPressure;
    if (penPressed) *penPressed = s_Tablet.PenPressed;
    if (eraserUsed) *eraserUsed = s_Tablet.EraserUsed;
    if (fourth) *fourth = -1;
}

cLinuxMain_TabletState& cLinuxMain_Tablet() { return s_Tablet; }

// A pen event sets the pressed and eraser flags; lifting the pen starts the
// pointer-release warps, which any other device's event stops (while the pen
// still counts as pressed, that event ends its stroke). The axes follow every
// event that carries them.
void cLinuxMain_TabletFollow(GdkDevice* device, bool pressed, const gdouble* axes, double nowSec) {
    bool wasPressed = s_Tablet.PenPressed;
    if (device && (device == s_Tablet.Stylus || device == s_Tablet.Eraser)) {
        s_Tablet.PenPressed = pressed;
        s_Tablet.EraserUsed = pressed && device == s_Tablet.Eraser;
        s_Tablet.EndTimeSec = wasPressed && !pressed ? nowSec : -1;
    } else {
        s_Tablet.EndTimeSec = wasPressed ? nowSec : -1;
    }
    double p = 0;
    if (AxisFraction(device, axes, GDK_AXIS_PRESSURE, &p)) s_Tablet.CurPressure = p < 0 ? 0 : p > 1 ? 650 : int(p * 650);
    const GdkAxisUse tilts[2] = {GDK_AXIS_XTILT, GDK_AXIS_YTILT};
    for (int i = 0; i < 2; i++) {
        double t = 0;
        if (AxisFraction(device, axes, tilts[i], &t)) s_Tablet.CurTilt[i] = t < 0 ? -1.0f : t > 1 ? 1.0f : float(2 * t - 1);
    }
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
