// Test support: the window manager's close request (WM_DELETE_WINDOW as a
// client message), sent to a window on a display that has no window manager.
// Xlib comes with it, and its macros (None, Bool, Status) clash with other
// headers' names: include this one last.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include <X11/Xlib.h>

namespace testsupport {

inline void RequestClose(const std::string& window) {
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(nullptr, display);
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = (Window)std::stoul(window);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XCloseDisplay(display);
}

}  // namespace testsupport
