// Test support: drive real windows on the test display with xdotool, like a
// person with a mouse and a keyboard. Every wait has a deadline.
#pragma once

#include <string>

#include "support/Process.h"

namespace testsupport {

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
};

// The id of the first visible window whose title matches the pattern (of
// process pid, when given), or "" when none shows up in time.
inline std::string FindWindow(const std::string& pattern, int timeoutSec = 15, int pid = 0) {
    std::string owner = pid > 0 ? " --all --pid " + std::to_string(pid) : "";
    std::string id = Shell("timeout " + std::to_string(timeoutSec) + " xdotool search --sync --onlyvisible" + owner +
                           " --name '" + pattern + "' 2>/dev/null | head -n 1");
    while (!id.empty() && (id.back() == '\n' || id.back() == '\r')) id.pop_back();
    return id;
}

inline bool WindowGone(const std::string& pattern) {
    return Shell("xdotool search --onlyvisible --name '" + pattern + "' 2>/dev/null").empty();
}

inline WindowGeometry Geometry(const std::string& id) {
    WindowGeometry g;
    std::string out = Shell("xdotool getwindowgeometry --shell " + id);
    auto value = [&](const char* key) {
        size_t at = out.find(std::string(key) + "=");
        return at == std::string::npos ? 0 : std::stoi(out.substr(at + strlen(key) + 1));
    };
    g.x = value("X");
    g.y = value("Y");
    g.width = value("WIDTH");
    g.height = value("HEIGHT");
    return g;
}

inline void Click(int x, int y) {
    Shell("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
}

// Gives the window the keyboard (there is no window manager to do it) and
// sends the keys or the text.
inline void Keys(const std::string& id, const std::string& keys) {
    Shell("xdotool windowfocus --sync " + id + " 2>/dev/null; xdotool key --clearmodifiers " + keys);
}

inline void Type(const std::string& id, const std::string& text) {
    Shell("xdotool windowfocus --sync " + id + " 2>/dev/null; xdotool type --delay 20 '" + text + "'");
}

inline void Screenshot(const std::string& path) { Shell("import -window root '" + path + "' 2>/dev/null"); }

}  // namespace testsupport
