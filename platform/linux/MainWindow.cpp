// The framework's own window: a top-level GTK window whose client area is a
// drawing area handed to the OpenGL device, the render cycle that the GTK
// main loop drives, and the translation of GDK key, button, motion and scroll
// events into the input layer's queue.
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/linux/LinuxMainInternal.h"
#include "platform/linux/Tablet.h"
#include "zozud/core/Timer.h"
#include "zozud/math/Rect.h"
#include "zozud/render/DeviceGL.h"
#include "zozud/render/Render.h"
#include "zozud/widgets/Input.h"
#include "zozud/widgets/Settings.h"
#include "zozud/widgets/Splash.h"

// Last: Xlib's macro None would clash with cFormat::None above.
#include <gdk/gdkx.h>

using zozud::cInput;
using zozud::cPause;
using zozud::cRender;

namespace {

const int DefaultWidth = 800, DefaultHeight = 600;
const int FrameMs = 16;                  // the render cycle's period while the main loop is idle
const double PenReleaseIntervalSec = 0.2;

GtkWidget* s_Area = nullptr;             // the client area, the OpenGL surface
int        s_Width = 0, s_Height = 0;    // of the client area
bool       s_Close = false;              // the close button was pressed
bool       s_Exiting = false;            // the process is on its way out
bool       s_FullScreenShown = false;    // what the window shows now
bool       s_IgnoreSystemPause = false;
int        s_PrevX = INT_MIN, s_PrevY = INT_MIN;  // the last motion, INT_MIN before the first

double NowSec() { return g_get_monotonic_time() / 1e6; }

zozud::cRenderDeviceGL* Device() {
    return cRender::GetType() == 2 ? static_cast<zozud::cRenderDeviceGL*>(cRender::GetInstance()) : nullptr;
}

struct KeysLock {
    KeysLock() { pthread_mutex_lock(&cLinuxMain_GetKeysMutex); }
    ~KeysLock() { pthread_mutex_unlock(&cLinuxMain_GetKeysMutex); }
};

// Every key of an equivalence list stands for the list's first key.
int Canonical(int keycode) {
    for (const zozud::cList<int>* list :
         {&cLinuxMain_ShiftCodes, &cLinuxMain_ControlCodes, &cLinuxMain_AltCodes, &cLinuxMain_EnterCodes}) {
        for (int code : *list)
            if (code == keycode) return (*list)[0];
    }
    return keycode;
}

// The keyboard input code of a hardware key code, -1 for a key outside the key set.
int InputCodeOf(int keycode) {
    keycode = Canonical(keycode);
    if (keycode <= 0) return -1;
    for (int i = 0; i < cLinuxMain_Codes.Count() && i < cLinuxMain_Repeated.Count(); i++)
        if (cLinuxMain_Codes[i] == keycode) return i;
    return -1;
}

int ButtonCodeOf(guint button) {
    switch (button) {
        case 1: return cInput::LeftButton;
        case 2: return cInput::MiddleButton;
        case 3: return cInput::RightButton;
        default: return -1;
    }
}

zozud::cVec2 ClientPos(double x, double y) { return zozud::cVec2((float)(int)x, (float)(s_Height - (int)y)); }

// Queues a release for every key still marked held.
void ReleaseHeldKeys() {
    KeysLock lock;
    cLinuxMain_RepeatedClear();
}

// A scroll comes from the mouse: a pen stroke that just ended no longer needs the warp.
void NotPen() { cLinuxMain_Tablet().EndTimeSec = -1; }

void FollowSize(int width, int height) {
    s_Width = width;
    s_Height = height;
    if (zozud::cRenderDeviceGL* device = Device()) device->SetScreenSize(width, height);
}

// Without a window manager that knows the full-screen state (a bare X
// server) the window itself covers its monitor and goes back afterwards.
bool WindowManagerDoesFullScreen(GtkWidget* window) {
    return gdk_x11_screen_supports_net_wm_hint(gtk_widget_get_screen(window),
                                               gdk_atom_intern_static_string("_NET_WM_STATE_FULLSCREEN"));
}

void CoverMonitor(GtkWidget* window, bool cover) {
    static GdkRectangle s_Before = {0, 0, 0, 0};  // the window's place before it covered the monitor
    GtkWindow* w = GTK_WINDOW(window);
    if (cover) {
        gtk_window_get_position(w, &s_Before.x, &s_Before.y);
        gtk_window_get_size(w, &s_Before.width, &s_Before.height);
        GdkScreen* screen = gtk_widget_get_screen(window);
        GdkRectangle monitor;
        gdk_screen_get_monitor_geometry(screen, gdk_screen_get_monitor_at_window(screen, window->window), &monitor);
        gtk_window_move(w, monitor.x, monitor.y);
        gtk_window_resize(w, monitor.width, monitor.height);
    } else if (s_Before.width > 0) {
        gtk_window_move(w, s_Before.x, s_Before.y);
        gtk_window_resize(w, s_Before.width, s_Before.height);
    }
}

void ApplyFullScreen() {
    GtkWidget* window = cLinuxMain_GetWindow();
    bool wanted = cLinuxMain_GetFullScreen();
    if (!window || wanted == s_FullScreenShown) return;
    if (!WindowManagerDoesFullScreen(window)) CoverMonitor(window, wanted);
    else if (wanted) gtk_window_fullscreen(GTK_WINDOW(window));
    else gtk_window_unfullscreen(GTK_WINDOW(window));
    s_FullScreenShown = wanted;
}

// Focus: the system pause is on while the window is not active. On return
// the clock and the keyboard are read afresh, events queued meanwhile are
// dropped and keys still marked held are released.
void FollowFocus() {
    GtkWidget* window = cLinuxMain_GetWindow();
    bool active = window && gtk_window_is_active(GTK_WINDOW(window));
    if (!active) {
        cPause::SetSystemPause(true);
    } else if (cPause::GetSystemPause()) {
        zozud::cTimer::Acquire();
        cPause::SetSystemPause(false);
        cInput::Acquire();
        cInput::FreeEvents();
        ReleaseHeldKeys();
    }
}

// After a pen stroke the window system keeps the pointer with the pen: a warp
// away and back gives it to the core pointer again, every 0.2 s until a
// mouse event of another device arrives.
void PenRelease() {
    double& endSec = cLinuxMain_Tablet().EndTimeSec;
    if (endSec < 0 || NowSec() - endSec < PenReleaseIntervalSec) return;
    endSec = NowSec();
    GdkDisplay* display = gdk_display_get_default();
    GdkScreen* screen = nullptr;
    gint x = 0, y = 0;
    gdk_display_get_pointer(display, &screen, &x, &y, nullptr);
    gdk_display_warp_pointer(display, screen, 0, 0);
    gdk_display_warp_pointer(display, screen, x, y);
}

gboolean OnSizeAllocate(GtkWidget*, GtkAllocation* allocation, void*) {
    FollowSize(allocation->width, allocation->height);
    return FALSE;
}

// The drawing area's own X window becomes the device's surface.
void HandToDevice(GtkWidget* area) {
    GdkWindow* gdkWindow = area->window;
    zozud::cRenderDeviceGL::SetNativeWindow(GDK_WINDOW_XDISPLAY(gdkWindow), GDK_WINDOW_XID(gdkWindow));
}

gboolean OnFrameTimer(void*) {
    cLinuxMain_OnRender(nullptr);
    return TRUE;
}

}  // namespace

// ---- Event handlers ----

gboolean cLinuxMain_KeyboardHandler(GtkWidget*, GdkEventKey* event, void*) {
    int code = InputCodeOf(event->hardware_keycode);
    if (code < 0) return TRUE;
    bool press = event->type == GDK_KEY_PRESS;
    {
        KeysLock lock;
        if (press && cLinuxMain_Repeated[code]) return TRUE;  // the window system's auto-repeat
        cLinuxMain_Repeated[code] = press;
    }
    cInput::AddEvent(cInput::NewButtonEvent(code, press));
    // The character now, with the modifiers of the press: a key struck and
    // released between two frames types too, and keys type in their order.
    // The frame's keyboard poll only repeats held keys (cLinuxMain_TypesKeyPresses).
    if (press && cInput::GetCharClass(code) != 0) {
        int ch = cLinuxMain_CharOfKey(event->hardware_keycode, event->state, event->group);
        bool controlOrAlt = (event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK | GDK_MOD4_MASK | GDK_SUPER_MASK)) != 0;
        cInput::AddEvent(cInput::NewCharEvent(code, ch, controlOrAlt));
    }
    return TRUE;
}

gboolean cLinuxMain_MouseButtonHandler(GtkWidget*, GdkEventButton* event, void*) {
    cLinuxMain_TabletFollow(event->device, event->type == GDK_BUTTON_PRESS, event->axes, NowSec());
    int code = ButtonCodeOf(event->button);
    if (code < 0) return TRUE;
    if (event->type == GDK_2BUTTON_PRESS) {
        // GDK reports the second press first as a plain press: that one is the double click.
        zozud::cList<cInput::Event*>& queue = cInput::GetEvents();
        if (queue.Count() > 0) {
            cInput::Event* last = queue[queue.Count() - 1];
            if (last->Type == cInput::EventType::Button && last->Code == code) last->IsDoubleClick = true;
        }
        return TRUE;
    }
    if (event->type != GDK_BUTTON_PRESS && event->type != GDK_BUTTON_RELEASE) return TRUE;
    cInput::AddEvent(cInput::NewButtonEvent(code, event->type == GDK_BUTTON_PRESS, ClientPos(event->x, event->y)));
    return TRUE;
}

gboolean cLinuxMain_MouseMotionHandler(GtkWidget*, GdkEventMotion* event, void*) {
    // A pen that moves while touching keeps its stroke going.
    cLinuxMain_TabletFollow(event->device, (event->state & GDK_BUTTON1_MASK) != 0, event->axes, NowSec());
    int x = (int)event->x, y = (int)event->y;
    zozud::cVec2 delta(0, 0);
    if (s_PrevX != INT_MIN) delta = zozud::cVec2((float)(x - s_PrevX), (float)-(y - s_PrevY));
    s_PrevX = x;
    s_PrevY = y;
    cInput::AddEvent(cInput::NewMoveEvent(ClientPos(x, y), delta));
    return TRUE;
}

gboolean cLinuxMain_MouseScrollHandler(GtkWidget*, GdkEventScroll* event, void*) {
    NotPen();
    int code = event->direction == GDK_SCROLL_DOWN ? cInput::WheelDown : cInput::WheelUp;
    cInput::AddEvent(cInput::NewButtonEvent(code, true, ClientPos(event->x, event->y)));
    return TRUE;
}

gboolean cLinuxMain_DeleteHandler() {
    s_Close = true;
    return TRUE;  // the render cycle asks the application and quits the loop itself
}

// ---- Render cycle ----

gboolean cLinuxMain_OnRender(void*) {
    zozud::cSplash::DestroyLater();
    if (s_Close) {
        s_Close = false;
        if (cMain_OnClose()) gtk_main_quit();
    }
    if (s_Exiting) exit(0);
    if (!Device()) return TRUE;
    ApplyFullScreen();
    FollowFocus();
    if (cPause::GetSystemPause() && !s_IgnoreSystemPause) usleep(100 * 1000);
    if (s_Width >= 1 && s_Height >= 1) {
        cRender::BeginFrame();
        if (zozud::g_Settings) zozud::g_Settings->ClearScreen();
        cMain_OnRender(zozud::cRect(0, 0, (float)s_Width, (float)s_Height));
        cRender::EndFrame();
    }
    PenRelease();
    return TRUE;
}

void ProcessRenderCycle(bool (*done)(void*), void* argument) {
    if (!done) return;
    while (!done(argument)) {
        while (gtk_events_pending()) gtk_main_iteration();
        cLinuxMain_OnRender(nullptr);
    }
}

void cLinuxMain_SetExiting() { s_Exiting = true; }
bool cLinuxMain_TypesKeyPresses() { return s_Area != nullptr; }
void cLinuxMain_SetIgnoreSystemPause(bool ignore) { s_IgnoreSystemPause = ignore; }

int cMain_GetClientWidth() { return s_Width; }
int cMain_GetClientHeight() { return s_Height; }

void cLinuxMain_LocalToLocal(int x, int y, zozud::cVec2* out) { *out = zozud::cVec2((float)x, (float)(s_Height - y)); }

// The title changes only when it differs from the one set last.
void cMain_SetWindowTitle(const char* title) {
    static zozud::cStr last;
    GtkWidget* window = cLinuxMain_GetWindow();
    if (!window || !title || last == title) return;
    last = title;
    gtk_window_set_title(GTK_WINDOW(window), title);
}

// ---- The window's life ----

int cLinuxMain_Run() {
    int x = 0, y = 0, width = DefaultWidth, height = DefaultHeight;
    bool placed = cMain_OnSetInitialWindowSize(&x, &y, &width, &height);
    if (width < 1 || height < 1) width = DefaultWidth, height = DefaultHeight;

    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), width, height);
    if (placed) gtk_window_move(GTK_WINDOW(window), x, y);
    s_Area = gtk_drawing_area_new();
    // The device draws every pixel itself: no GTK back buffer, no background.
    gtk_widget_set_double_buffered(s_Area, FALSE);
    gtk_widget_set_app_paintable(s_Area, TRUE);
    gtk_widget_add_events(s_Area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                      GDK_SCROLL_MASK);
    // Tablets' pressure and tilt arrive only with extension events on.
    gtk_widget_set_extension_events(s_Area, GDK_EXTENSION_EVENTS_CURSOR);
    gtk_container_add(GTK_CONTAINER(window), s_Area);
    g_signal_connect(window, "key_press_event", G_CALLBACK(cLinuxMain_KeyboardHandler), nullptr);
    g_signal_connect(window, "key_release_event", G_CALLBACK(cLinuxMain_KeyboardHandler), nullptr);
    g_signal_connect(window, "delete_event", G_CALLBACK(cLinuxMain_DeleteHandler), nullptr);
    g_signal_connect(s_Area, "button_press_event", G_CALLBACK(cLinuxMain_MouseButtonHandler), nullptr);
    g_signal_connect(s_Area, "button_release_event", G_CALLBACK(cLinuxMain_MouseButtonHandler), nullptr);
    g_signal_connect(s_Area, "motion_notify_event", G_CALLBACK(cLinuxMain_MouseMotionHandler), nullptr);
    g_signal_connect(s_Area, "scroll_event", G_CALLBACK(cLinuxMain_MouseScrollHandler), nullptr);
    g_signal_connect(s_Area, "size_allocate", G_CALLBACK(OnSizeAllocate), nullptr);

    cLinuxMain_SetWindow(window);
    cMain_SetWindowTitle(cMain_Title.ToChar());
    cLinuxMain_SetIcon();
    gtk_widget_show_all(window);
    gdk_display_sync(gdk_display_get_default());
    // Desktop services that need the realised window: dropped files and
    // URLs, the 3D-mouse driver's client messages, the pen tablets.
    cLinuxMain_EnableDrop(window);
    cLinuxMain_3Dconnexion::Init(window->window);
    cLinuxMain_InitTablet();

    HandToDevice(s_Area);
    if (!cRender::Init(2)) {
        zozud::cLog::Error("Couldn't choose visual");
        cLinuxMain_SetWindow(nullptr);
        gtk_widget_destroy(window);
        s_Area = nullptr;
        return -1;
    }
    FollowSize(s_Area->allocation.width, s_Area->allocation.height);
    cLinuxMain_SetCursor(zozud::cInput::Cursor::Arrow);
    cMain_OnInit();
    // Below the events' priority: a frame never splits what one X event brought
    // (a second press and its double-click report).
    guint timer = g_timeout_add_full(G_PRIORITY_DEFAULT_IDLE, FrameMs, OnFrameTimer, nullptr, nullptr);
    gtk_main();
    g_source_remove(timer);
    cMain_OnFree();
    cRender::Free();
    cLinuxMain_SetWindow(nullptr);
    gtk_widget_destroy(window);
    s_Area = nullptr;
    cMain_OnPostFree();
    return 0;
}
