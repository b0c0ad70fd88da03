// The X and GLX side of the OpenGL device: a 3.3 core context on the shell's
// window, or on a hidden window of the device's own. X errors raised while
// the context is made (an unsupported version, a bad visual) are caught and
// turn into a failed Init instead of ending the process.
// The framework's headers come first: X's macros would break their enums.
#include "zozud/core/Log.h"
#include "zozud/render/DeviceGLState.h"

#include <epoxy/glx.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

namespace zozud {

namespace {

struct {
    Display* display = nullptr;
    Window   window = 0;
} Native;  // what the shell handed over

// The device's own connection to the display $DISPLAY names, kept for the
// life of the process: closing it unloads the GL driver, which would leave
// its bookkeeping unaccounted for. Another $DISPLAY gets a connection of its own.
Display* OwnDisplay() {
    static Display* display = nullptr;
    const char* name = getenv("DISPLAY");
    if (display && name && strcmp(XDisplayString(display), name) == 0) return display;
    Display* opened = XOpenDisplay(nullptr);
    if (opened) display = opened;
    return opened;
}

bool XFailed = false;
int CatchXError(Display*, XErrorEvent*) {
    XFailed = true;
    return 0;
}

GLXFBConfig ChooseConfig(Display* dpy, VisualID wanted) {
    static const int attribs[] = {
        GLX_X_RENDERABLE, True, GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT,
        GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8, GLX_DOUBLEBUFFER, True, 0};
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(dpy, DefaultScreen(dpy), attribs, &count);
    GLXFBConfig chosen = nullptr;
    for (int i = 0; i < count && !chosen; i++) {
        XVisualInfo* vi = glXGetVisualFromFBConfig(dpy, configs[i]);
        if (vi && (wanted == 0 || vi->visualid == wanted)) chosen = configs[i];
        if (vi) XFree(vi);
    }
    if (configs) XFree(configs);
    return chosen;
}

bool MakeHiddenWindow(cRenderDeviceGL_State* s, Display* dpy, GLXFBConfig config) {
    XVisualInfo* vi = glXGetVisualFromFBConfig(dpy, config);
    if (!vi) return false;
    Window root = RootWindow(dpy, vi->screen);
    XSetWindowAttributes wa = {};
    Colormap cmap = XCreateColormap(dpy, root, vi->visual, AllocNone);
    wa.colormap = cmap;
    wa.border_pixel = 0;
    s->window = XCreateWindow(dpy, root, 0, 0, (unsigned)s->screenWidth, (unsigned)s->screenHeight, 0, vi->depth,
                              InputOutput, vi->visual, CWColormap | CWBorderPixel, &wa);
    XFree(vi);
    s->colormap = reinterpret_cast<void*>(cmap);
    s->ownWindow = true;
    return s->window != 0;
}

GLXContext CreateCoreContext(Display* dpy, GLXFBConfig config) {
    if (!epoxy_has_glx_extension(dpy, DefaultScreen(dpy), "GLX_ARB_create_context_profile")) return nullptr;
    static const int attribs[] = {GLX_CONTEXT_MAJOR_VERSION_ARB, 3, GLX_CONTEXT_MINOR_VERSION_ARB, 3,
                                  GLX_CONTEXT_PROFILE_MASK_ARB, GLX_CONTEXT_CORE_PROFILE_BIT_ARB, 0};
    return glXCreateContextAttribsARB(dpy, config, nullptr, True, attribs);
}

void Fail(cRenderDeviceGL_State* s, const char* why) {
    cLog::Message("OpenGL device: %s", why);
    cRenderDeviceGL_FreeContext(s);
}

}  // namespace

void cRenderDeviceGL::SetNativeWindow(void* display, unsigned long window) {
    Native.display = static_cast<Display*>(display);
    Native.window = window;
}

bool cRenderDeviceGL_MakeContext(cRenderDeviceGL_State* s) {
    Display* dpy = Native.display ? Native.display : OwnDisplay();
    if (!dpy) return Fail(s, "no X display"), false;
    s->display = dpy;
    if (!epoxy_has_glx(dpy)) return Fail(s, "the X display has no GLX"), false;
    VisualID wanted = 0;
    if (Native.window) {
        XWindowAttributes wa;
        if (!XGetWindowAttributes(dpy, Native.window, &wa)) return Fail(s, "the window cannot be queried"), false;
        wanted = XVisualIDFromVisual(wa.visual);
        s->screenWidth = wa.width > 0 ? wa.width : 1;
        s->screenHeight = wa.height > 0 ? wa.height : 1;
    }
    GLXFBConfig config = ChooseConfig(dpy, wanted);
    if (!config) return Fail(s, "no frame buffer configuration for the window"), false;
    if (Native.window) s->window = Native.window;
    else if (!MakeHiddenWindow(s, dpy, config)) return Fail(s, "cannot make a window"), false;

    XSync(dpy, False);
    XFailed = false;
    int (*old)(Display*, XErrorEvent*) = XSetErrorHandler(CatchXError);
    GLXContext ctx = CreateCoreContext(dpy, config);
    XSync(dpy, False);
    XSetErrorHandler(old);
    if (!ctx || XFailed) return Fail(s, "cannot make an OpenGL 3.3 core context"), false;
    s->context = ctx;
    if (!glXMakeCurrent(dpy, s->window, ctx)) return Fail(s, "cannot make the context current"), false;
    if (epoxy_gl_version() < 33) return Fail(s, "OpenGL 3.3 is not available"), false;
    return true;
}

void cRenderDeviceGL_FreeContext(cRenderDeviceGL_State* s) {
    Display* dpy = static_cast<Display*>(s->display);
    if (!dpy) return;
    if (s->context) {
        glXMakeCurrent(dpy, 0, nullptr);
        glXDestroyContext(dpy, static_cast<GLXContext>(s->context));
    }
    if (s->ownWindow && s->window) XDestroyWindow(dpy, s->window);
    if (s->colormap) XFreeColormap(dpy, reinterpret_cast<Colormap>(s->colormap));
    s->display = nullptr;
    s->context = nullptr;
    s->colormap = nullptr;
    s->window = 0;
    s->ownWindow = false;
}

// Only a window that someone can see is worth the copy and the swap.
void cRenderDeviceGL_Present(cRenderDeviceGL_State* s) {
    if (s->ownWindow || !s->window) return;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, s->screenFbo);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glBlitFramebuffer(0, 0, s->screenWidth, s->screenHeight, 0, 0, s->screenWidth, s->screenHeight,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glXSwapBuffers(static_cast<Display*>(s->display), s->window);
}

double cRenderDeviceGL_Now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

}  // namespace zozud
