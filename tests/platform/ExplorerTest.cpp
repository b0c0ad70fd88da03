// The class explorer as a person meets it: the framework's window with the
// OpenGL device shows the explorer over a small object; xdotool ticks its
// check box and types into its text field, and the program's own report of
// the object's values (while it runs and after the window has closed) must
// hold exactly what was done. The probe tells where its controls are and
// when it has seen each step, so the test waits on reports, not on time.
#include <sstream>

#include "support/Desktop.h"

// Last: it brings Xlib, whose macros clash with the names above.
#include "support/CloseRequest.h"

using namespace testsupport;

namespace {

struct Area {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int CenterX() const { return (x0 + x1) / 2; }
    int CenterY() const { return (y0 + y1) / 2; }
    bool Usable() const { return x1 - x0 >= 4 && y1 - y0 >= 4; }
};

class ExplorerWindow : public DesktopTest {
protected:
    std::string Output() const { return ReadFile(dir_ / "out.txt"); }
    // Waits for a line the probe prints after everything it printed before `from`.
    bool WaitFor(const std::string& line, size_t from = 0, int ms = 20000) const {
        return testsupport::WaitFor([&] { return Output().find(line + "\n", from) != std::string::npos; }, ms);
    }
    Area Control(const std::string& name) const {
        Area a;
        std::string out = Output();
        size_t at = out.find("control " + name + " ");
        if (at != std::string::npos)
            sscanf(out.c_str() + at, "control %*s %d %d %d %d", &a.x0, &a.y0, &a.x1, &a.y1);
        return a;
    }
    // A click where the probe said the control is; the button event carries the position.
    void ClickOn(const Area& a) {
        Shell("xdotool mousemove --window " + window_ + " " + std::to_string(a.CenterX()) + " " +
              std::to_string(a.CenterY()) + " click 1");
    }

    TempDir dir_;
    Process process_;
    std::string window_;
};

}  // namespace

TEST_F(ExplorerWindow, TheCheckBoxFlipsAndTheTextFieldHoldsWhatWasTyped) {
    const std::string text = "Typed 42, by hand";
    ASSERT_TRUE(process_.Start(std::string(ZOZUD_BINARY_DIR) + "/tests/ExplorerProbe", {ZOZUD_SOURCE_DIR}, dir_.Path(),
                               {}, dir_ / "out.txt"));
    ASSERT_TRUE(WaitFor("ready")) << Output();
    window_ = FindWindow("^Explorer Probe$", 10, process_.Pid());
    ASSERT_FALSE(window_.empty());
    Area flag = Control("Flag"), name = Control("Name");
    ASSERT_TRUE(flag.Usable() && name.Usable()) << Output();

    // No window manager: the pointer inside the window and the focus given
    // to it make it the keyboard's; the probe tells when it is active.
    Shell("xdotool mousemove --window " + window_ + " 10 10 windowfocus --sync " + window_);
    ASSERT_TRUE(WaitFor("pause 0")) << Output();

    size_t mark = Output().size();
    ClickOn(flag);
    ASSERT_TRUE(WaitFor("flag 1", mark)) << Output();

    mark = Output().size();
    ClickOn(name);
    ASSERT_TRUE(WaitFor("editing 1", mark)) << Output();
    mark = Output().size();
    Type(window_, text);
    Keys(window_, "Return");
    EXPECT_TRUE(WaitFor("editing 0", mark)) << Output();
    EXPECT_TRUE(WaitFor("name [" + text + "]", mark)) << Output();

    RequestClose(window_);
    EXPECT_EQ(0, process_.Wait(20000)) << Output();
    EXPECT_NE(std::string::npos, Output().find("final flag 1 name [" + text + "]\n")) << Output();
}
