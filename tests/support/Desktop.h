// Test support: drive real windows on the test display with xdotool, like a
// person with a mouse and a keyboard. Every wait has a deadline.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/Process.h"

namespace testsupport {

inline bool HaveDisplay() {
    return getenv("DISPLAY") && *getenv("DISPLAY") && std::system("command -v xdotool >/dev/null") == 0;
}

// Tests that drive windows skip themselves where there is nothing to drive.
class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HaveDisplay()) GTEST_SKIP() << "needs an X display and xdotool";
    }
};

// The id of the first visible window whose title matches the pattern (of
// process pid, when given), or "" when none shows up in time.
inline std::string FindWindow(const std::string& pattern, int timeoutSec = 15, int pid = 0) {
    std::string owner = pid > 0 ? " --all --pid " + std::to_string(pid) : "";
    std::string id = Shell("timeout " + std::to_string(timeoutSec) + " xdotool search --sync --onlyvisible" + owner +
                           " --name '" + pattern + "' 2>/dev/null | head -n 1");
    return id.substr(0, id.find('\n'));
}

inline bool WindowGone(const std::string& pattern) {
    return Shell("xdotool search --onlyvisible --name '" + pattern + "' 2>/dev/null").empty();
}

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
};

inline WindowGeometry Geometry(const std::string& id) {
    WindowGeometry g;
    sscanf(Shell("xdotool getwindowgeometry --shell " + id).c_str(), "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &g.x,
           &g.y, &g.width, &g.height);
    return g;
}

// Clicks at x, y inside the window; the pause lets the button see the pointer come in.
inline void Click(const std::string& id, int x, int y) {
    Shell("xdotool mousemove --window " + id + " " + std::to_string(x) + " " + std::to_string(y) +
          " sleep 0.2 click 1");
}

// Gives the window the keyboard (there is no window manager to do it) and
// sends the keys or the text.
inline void Keys(const std::string& id, const std::string& keys) {
    Shell("xdotool windowfocus --sync " + id + " 2>/dev/null; xdotool key --clearmodifiers " + keys);
}

inline void Type(const std::string& id, const std::string& text) {
    // From standard input, so a text such as "-5" is not taken for an option.
    Shell("xdotool windowfocus --sync " + id + " 2>/dev/null; printf %s '" + text + "' | xdotool type --delay 20 --file -");
}

}  // namespace testsupport
