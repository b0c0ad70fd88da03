// The shell's main window, its icon, the held-key flags and the toolkit
// thread test.
#include <pthread.h>

#include "platform/linux/LinuxMainInternal.h"
#include "zozud/widgets/Settings.h"

namespace {

GtkWidget* s_Window = nullptr;
bool       s_FullScreen = false;

// The thread that constructs the statics is the one that runs main and
// starts the toolkit.
const pthread_t s_ToolkitThread = pthread_self();

const int IconSize = 64;

// The built-in window icon: a dark disc with a light ring, 64 by 64 RGBA.
const unsigned char* IconPixels() {
    static unsigned char pixels[IconSize * IconSize * 4];
    static bool made = false;
    if (made) return pixels;
    for (int y = 0; y < IconSize; y++) {
        for (int x = 0; x < IconSize; x++) {
            float dx = x - 31.5f, dy = y - 31.5f;
            float r2 = dx * dx + dy * dy;
            unsigned char* p = pixels + (y * IconSize + x) * 4;
            bool ring = r2 > 22 * 22 && r2 <= 30 * 30;
            bool disc = r2 <= 22 * 22;
            p[0] = ring ? 230 : 20;
            p[1] = ring ? 180 : 30;
            p[2] = ring ? 60 : 40;
            p[3] = (ring || disc) ? 255 : 0;
        }
    }
    made = true;
    return pixels;
}

}  // namespace

GtkWidget* cLinuxMain_GetWindow() { return s_Window; }
void cLinuxMain_SetWindow(GtkWidget* window) { s_Window = window; }
Display* cLinuxMain_GetDisplay() { return cLinuxMain_Display; }

bool cLinuxMain_IsToolkitThread() { return pthread_equal(pthread_self(), s_ToolkitThread) != 0; }

void cLinuxMain_SetIcon() {
    if (!s_Window) return;
    GdkPixbuf* icon = gdk_pixbuf_new_from_data(IconPixels(), GDK_COLORSPACE_RGB, TRUE, 8, IconSize, IconSize,
                                               IconSize * 4, nullptr, nullptr);
    gtk_window_set_icon(GTK_WINDOW(s_Window), icon);
    g_object_unref(icon);
}

// A modal dialog swallows key releases: every key still marked held is
// released, and the input layer hears of it.
void cLinuxMain_RepeatedClear() {
    for (int i = 0; i < cLinuxMain_Repeated.Count(); i++) {
        if (!cLinuxMain_Repeated[i]) continue;
        cLinuxMain_Repeated[i] = false;
        zozud::cInput::AddEvent(zozud::cInput::NewButtonEvent(i, false));
    }
}

// The wanted full-screen state is the FullScreen setting of g_Settings (here
// while there is none); the render cycle makes the window follow it.
void cLinuxMain_SetFullScreen(bool on) {
    if (zozud::g_Settings) zozud::g_Settings->FullScreen = on;
    else s_FullScreen = on;
}
bool cLinuxMain_GetFullScreen() { return zozud::g_Settings ? zozud::g_Settings->FullScreen : s_FullScreen; }
void cLinuxMain_UnfullScreen() { cLinuxMain_SetFullScreen(false); }
