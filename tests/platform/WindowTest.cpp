// The framework's window run as a real program under the test display: the
// probe prints every input event it receives, xdotool plays the person at the
// keyboard and the mouse.
#include <sstream>
#include <vector>

#include "platform/ProbeApp.h"
#include "support/CloseRequest.h"

using namespace testsupport;
using Lines = std::vector<std::string>;

namespace {

const int LeftButton = 93, RightButton = 94, WheelUp = 96, WheelDown = 97, KeyA = 52;

class WindowProbe : public ProbeApp {
protected:
    void SetUp() override {
        ProbeApp::SetUp();
        if (IsSkipped()) return;
        Start("WindowProbe");
        ASSERT_TRUE(WaitFor("ready ")) << Output();
        Focus("Window Probe");
        Shell("sleep 0.3");
    }
    // Plays the xdotool steps; the button lines ("code pressed double") they gave.
    Lines Buttons(const std::string& steps) {
        size_t mark = Output().size();
        Shell("xdotool " + steps + "; sleep 0.5");
        Lines lines;
        std::istringstream in(Output().substr(mark));
        int code, pressed, dbl;
        for (std::string line; std::getline(in, line);)
            if (sscanf(line.c_str(), "button %d %d %d", &code, &pressed, &dbl) == 3)
                lines.push_back(Event(code, pressed, dbl));
        return lines;
    }
    static std::string Event(int code, int pressed, int dbl = 0) {
        return std::to_string(code) + " " + std::to_string(pressed) + " " + std::to_string(dbl);
    }
    // The numbers after the last occurrence of `prefix`.
    void Scan(const std::string& prefix, const char* format, int* a, int* b) {
        std::string out = Output();
        sscanf(out.c_str() + out.rfind(prefix), format, a, b);
    }
};

}  // namespace

TEST_F(WindowProbe, KeysButtonsWheelAndMotion) {
    // One second held is many auto-repeats at the X server's default rate: one press, one release.
    EXPECT_EQ(Lines({Event(KeyA, 1), Event(KeyA, 0)}), Buttons("keydown a sleep 1 keyup a")) << Output();
    EXPECT_EQ(Lines({Event(LeftButton, 1), Event(LeftButton, 0), Event(LeftButton, 1, 1), Event(LeftButton, 0)}),
              Buttons("click --repeat 2 --delay 80 1"))
        << Output();
    // Down, up, left, right: only down is WheelDown, and no wheel is released.
    EXPECT_EQ(Lines({Event(WheelDown, 1), Event(WheelUp, 1), Event(WheelUp, 1), Event(WheelUp, 1)}),
              Buttons("click 5 click 4 click 6 click 7"))
        << Output();
    // Unknown buttons are ignored; the y axis points up from the bottom.
    EXPECT_EQ(Lines({Event(RightButton, 1), Event(RightButton, 0)}),
              Buttons("click 8 mousemove --window " + window_ + " 10 20 click 3"))
        << Output();
    int x = 0, y = 0, height = 0;
    Scan("ready ", "ready %*d %d", &height, &height);
    Scan("button 94 1", "button 94 1 0 %d %d", &x, &y);
    EXPECT_EQ(10, x);
    EXPECT_EQ(height - 20, y);
    // Moving right by 30 and up by 10.
    Shell("xdotool mousemove --window " + window_ + " 40 10");
    ASSERT_TRUE(WaitFor("move 40 ")) << Output();
    Scan("move 40 ", "move 40 %*d %d %d", &x, &y);
    EXPECT_EQ(30, x);
    EXPECT_EQ(10, y);
}

TEST_F(WindowProbe, TheTitleChangesAndTheCloseButtonAsksTheApplication) {
    Shell("xdotool click 3");
    EXPECT_FALSE(FindWindow("^Window Probe renamed$", 10, process_.Pid()).empty()) << Output();
    RequestClose(window_);
    EXPECT_EQ(0, process_.Wait(15000)) << Output();
    EXPECT_NE(std::string::npos, Output().find("close\npost free\n")) << Output();
}
