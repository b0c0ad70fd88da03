// The framework's window run as a real program under the test display: the
// probe prints every input event it receives, xdotool plays the person at the
// keyboard and the mouse.
#include <sstream>
#include <vector>

#include "support/Desktop.h"

// Last: it brings Xlib, whose macros clash with the names above.
#include "support/CloseRequest.h"

using namespace testsupport;

namespace {

const int LeftButton = 93, RightButton = 94, WheelUp = 96, WheelDown = 97, KeyA = 52;

class WindowProbe : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (IsSkipped()) return;
        process_.Start(std::string(ZOZUD_BINARY_DIR) + "/tests/WindowProbe", {}, dir_.Path(), {}, dir_ / "out.txt");
        ASSERT_TRUE(WaitFor("ready ")) << Output();
        window_ = FindWindow("^Window Probe$", 10, process_.Pid());
        ASSERT_FALSE(window_.empty());
        // No window manager: the test gives the window the keyboard and the pointer.
        Shell("xdotool windowfocus --sync " + window_ + " mousemove --window " + window_ + " 100 100");
        ASSERT_TRUE(WaitFor("pause 0\n")) << Output();
        Shell("sleep 0.3");
        mark_ = Output().size();  // events before this point were the pointer coming in
    }

    std::string Output() const { return ReadFile(dir_ / "out.txt"); }
    bool WaitFor(const std::string& text, int ms = 15000) const {
        return testsupport::WaitFor([&] { return Output().find(text) != std::string::npos; }, ms);
    }
    // The button lines ("code pressed double") printed since SetUp.
    std::vector<std::string> Buttons() const {
        std::vector<std::string> lines;
        std::istringstream in(Output().substr(mark_));
        int code, pressed, dbl;
        for (std::string line; std::getline(in, line);)
            if (sscanf(line.c_str(), "button %d %d %d", &code, &pressed, &dbl) == 3)
                lines.push_back(std::to_string(code) + " " + std::to_string(pressed) + " " + std::to_string(dbl));
        return lines;
    }
    void Xdotool(const std::string& args) { Shell("xdotool " + args + "; sleep 0.5"); }

    TempDir dir_;
    Process process_;
    std::string window_;
    size_t mark_ = 0;
};

std::string Event(int code, int pressed, int dbl = 0) {
    return std::to_string(code) + " " + std::to_string(pressed) + " " + std::to_string(dbl);
}

}  // namespace

TEST_F(WindowProbe, AHeldKeyGivesOnePressAndOneReleaseWhateverTheRepeats) {
    // One second held is many auto-repeats at the X server's default rate.
    Xdotool("keydown a sleep 1 keyup a");
    EXPECT_EQ(std::vector<std::string>({Event(KeyA, 1), Event(KeyA, 0)}), Buttons()) << Output();
}

TEST_F(WindowProbe, ButtonsDoubleClicksAndTheWheel) {
    Xdotool("click --repeat 2 --delay 80 1");
    EXPECT_EQ(std::vector<std::string>(
                  {Event(LeftButton, 1), Event(LeftButton, 0), Event(LeftButton, 1, 1), Event(LeftButton, 0)}),
              Buttons())
        << Output();
    mark_ = Output().size();
    // Down, up, left, right: only down is WheelDown, and no wheel is released.
    Xdotool("click 5 click 4 click 6 click 7");
    EXPECT_EQ(std::vector<std::string>({Event(WheelDown, 1), Event(WheelUp, 1), Event(WheelUp, 1), Event(WheelUp, 1)}),
              Buttons())
        << Output();
    // Unknown buttons are ignored; the y axis points up from the bottom.
    mark_ = Output().size();
    Xdotool("click 8 mousemove --window " + window_ + " 10 20 click 3");
    EXPECT_EQ(std::vector<std::string>({Event(RightButton, 1), Event(RightButton, 0)}), Buttons()) << Output();
    int x = 0, y = 0, height = 0;
    sscanf(Output().substr(Output().find("ready ")).c_str(), "ready %*d %d", &height);
    sscanf(Output().substr(Output().find("button 94 1")).c_str(), "button 94 1 0 %d %d", &x, &y);
    EXPECT_EQ(10, x);
    EXPECT_EQ(height - 20, y);
}

TEST_F(WindowProbe, MotionDeltasPointUp) {
    Xdotool("mousemove --window " + window_ + " 130 90");
    EXPECT_TRUE(WaitFor("move 130 ")) << Output();
    int x = 0, y = 0, dx = 0, dy = 0;
    sscanf(Output().substr(Output().find("move 130 ")).c_str(), "move %d %d %d %d", &x, &y, &dx, &dy);
    EXPECT_EQ(30, dx);
    EXPECT_EQ(10, dy);  // the pointer went up by 10
}

TEST_F(WindowProbe, TheTitleChangesAndTheCloseButtonAsksTheApplication) {
    Xdotool("click 3");
    EXPECT_FALSE(FindWindow("^Window Probe renamed$", 10, process_.Pid()).empty()) << Output();
    RequestClose(window_);
    EXPECT_EQ(0, process_.Wait(15000)) << Output();
    EXPECT_NE(std::string::npos, Output().find("close\npost free\n")) << Output();
}
