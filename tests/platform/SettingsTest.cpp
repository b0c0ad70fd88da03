// g_Settings in a real application under the test display: the window
// follows the FullScreen setting both ways, frames start cleared with the
// settings' clear colour, and Control + "~" (not "~" alone) opens the log
// window.
#include "support/Desktop.h"

using namespace testsupport;

namespace {

class SettingsProbe : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (IsSkipped()) return;
        process_.Start(std::string(ZOZUD_BINARY_DIR) + "/tests/SettingsProbe", {}, dir_.Path(), {}, dir_ / "out.txt");
        ASSERT_TRUE(WaitFor("size 640 400\n")) << Output();
        window_ = FindWindow("^Settings Probe$", 10, process_.Pid());
        ASSERT_FALSE(window_.empty());
        // No window manager: the test gives the window the keyboard.
        Shell("xdotool windowfocus --sync " + window_ + " mousemove --window " + window_ + " 100 100");
        ASSERT_TRUE(WaitFor("pause 0\n")) << Output();
    }
    std::string Output() const { return ReadFile(dir_ / "out.txt"); }
    bool WaitFor(const std::string& text, int ms = 15000) const {
        return testsupport::WaitFor([&] { return Output().find(text) != std::string::npos; }, ms);
    }
    int Count(const std::string& text) const {
        std::string out = Output();
        int n = 0;
        for (size_t at = out.find(text); at != std::string::npos; at = out.find(text, at + 1)) n++;
        return n;
    }

    TempDir dir_;
    Process process_;
    std::string window_;
};

}  // namespace

TEST_F(SettingsProbe, TheWindowFollowsFullScreenBothWays) {
    EXPECT_EQ(1, Count("settings 1 1\n")) << Output();  // a widget, listed in the class explorer
    // Each turn: the size the client area must reach.
    const struct {
        const char* line;
        int times;
    } turns[] = {{"size 1280 1024\n", 1}, {"size 640 400\n", 2}, {"size 1280 1024\n", 2}, {"size 640 400\n", 3}};
    for (const auto& turn : turns) {
        Keys(window_, "f");
        EXPECT_TRUE(testsupport::WaitFor([&] { return Count(turn.line) == turn.times; }, 10000))
            << turn.line << Output();
    }
    WindowGeometry g = Geometry(window_);
    EXPECT_EQ(640, g.width);
    EXPECT_EQ(400, g.height);
}

TEST_F(SettingsProbe, FramesStartWithTheClearColour) {
    ASSERT_TRUE(WaitFor("clear ")) << Output();
    int r = -1, gr = -1, b = -1;
    sscanf(Output().substr(Output().find("clear ")).c_str(), "clear %d %d %d", &r, &gr, &b);
    for (int c : {r, gr, b}) EXPECT_NEAR(161, c, 1) << Output();  // 0.63 of 255
}

TEST_F(SettingsProbe, ControlTildeOpensTheLogWindowTildeAloneIsPassedOn) {
    Keys(window_, "grave");
    ASSERT_TRUE(WaitFor("tilde passed\n")) << Output();
    EXPECT_TRUE(WindowGone("^Settings Probe Log$"));
    Keys(window_, "ctrl+grave");
    std::string dialog = FindWindow("^Settings Probe Log$", 10, process_.Pid());
    EXPECT_FALSE(dialog.empty()) << Output();
    EXPECT_EQ(1, Count("tilde passed\n")) << Output();
}
