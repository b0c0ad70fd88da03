#include "support/CloseRequest.h"

#include <gtest/gtest.h>

// Last: Xlib's macros (None, Bool, Status) would clash with gtest's names.
#include <X11/Xlib.h>

namespace testsupport {

void RequestClose(const std::string& window) {
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
