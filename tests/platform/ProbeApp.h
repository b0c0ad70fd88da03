// A probe application (tests/platform/*Probe.cpp) run as a real program under
// the test display: its output is read while it runs, and the test acts only
// after the probe has printed what its last action leads to.
#pragma once

#include "support/Desktop.h"

namespace testsupport {

class ProbeApp : public DesktopTest {
protected:
    void Start(const std::string& name, const std::vector<std::string>& args = {},
               const std::vector<std::string>& env = {}) {
        ASSERT_TRUE(process_.Start(std::string(ZOZUD_BINARY_DIR) + "/tests/" + name, args, dir_.Path(), env,
                                   dir_ / "out.txt"));
    }
    std::string Output() const { return ReadFile(dir_ / "out.txt"); }
    // Waits for text printed after the first `from` bytes of the output.
    bool WaitFor(const std::string& text, size_t from = 0, int ms = 20000) const {
        return testsupport::WaitFor([&] { return Output().find(text, from) != std::string::npos; }, ms);
    }
    int Count(const std::string& text) const {
        std::string out = Output();
        int n = 0;
        for (size_t at = out.find(text); at != std::string::npos; at = out.find(text, at + 1)) n++;
        return n;
    }
    // Finds the probe's window and, there being no window manager, gives it
    // the keyboard and the pointer; the probe prints "pause 0" once it is active.
    void Focus(const std::string& title) {
        window_ = FindWindow("^" + title + "$", 10, process_.Pid());
        ASSERT_FALSE(window_.empty()) << Output();
        Shell("xdotool windowfocus --sync " + window_ + " mousemove --window " + window_ + " 100 100");
        ASSERT_TRUE(WaitFor("pause 0\n")) << Output();
    }

    TempDir dir_;
    Process process_;
    std::string window_;
};

}  // namespace testsupport
