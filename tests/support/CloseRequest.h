// Test support: the window manager's close request (WM_DELETE_WINDOW as a
// client message), sent to a window on a display that has no window manager.
// Xlib stays inside CloseRequest.cpp, so this header goes in any order.
#pragma once

#include <string>

namespace testsupport {

// `window` is the X window id in decimal; a display that cannot be opened
// fails the running test.
void RequestClose(const std::string& window);

}  // namespace testsupport
