// The class explorer as a person meets it: the framework's window with the
// OpenGL device shows the explorer over a small object; xdotool ticks its
// check box and types into its text field, and the program's own report of
// the object's values (while it runs and after the window has closed) must
// hold exactly what was done.
#include "platform/ProbeApp.h"
#include "support/CloseRequest.h"

using namespace testsupport;

namespace {

class ExplorerWindow : public ProbeApp {
protected:
    // Clicks the centre of the control's area as the probe reported it; the
    // first line the probe prints after that must be `expect`.
    void ClickOn(const std::string& name, const std::string& expect) {
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        std::string out = Output();
        size_t at = out.find("control " + name + " ");
        ASSERT_NE(std::string::npos, at) << out;
        sscanf(out.c_str() + at, "control %*s %d %d %d %d", &x0, &y0, &x1, &y1);
        ASSERT_TRUE(x1 - x0 >= 4 && y1 - y0 >= 4) << out;
        size_t mark = out.size();
        Shell("xdotool mousemove --window " + window_ + " " + std::to_string((x0 + x1) / 2) + " " +
              std::to_string((y0 + y1) / 2) + " click 1");
        ASSERT_TRUE(WaitFor(expect + "\n", mark)) << Output();
    }
};

}  // namespace

TEST_F(ExplorerWindow, TheCheckBoxFlipsAndTheTextFieldHoldsWhatWasTyped) {
    const std::string text = "Typed 42, by hand";
    Start("ExplorerProbe", {ZOZUD_SOURCE_DIR});
    ASSERT_TRUE(WaitFor("ready\n")) << Output();
    Focus("Explorer Probe");
    ClickOn("Flag", "flag 1");
    ClickOn("Name", "editing 1");
    size_t mark = Output().size();
    Type(window_, text);
    Keys(window_, "Return");
    EXPECT_TRUE(WaitFor("editing 0\n", mark)) << Output();
    EXPECT_TRUE(WaitFor("name [" + text + "]\n", mark)) << Output();

    RequestClose(window_);
    EXPECT_EQ(0, process_.Wait(20000)) << Output();
    EXPECT_NE(std::string::npos, Output().find("final flag 1 name [" + text + "]\n")) << Output();
}
