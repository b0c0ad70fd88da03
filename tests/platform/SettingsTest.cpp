// g_Settings in a real application under the test display: frames start
// cleared with the settings' clear colour, the window follows the FullScreen
// setting both ways, and Control + "~" (not "~" alone) opens the log window.
#include "platform/ProbeApp.h"

using namespace testsupport;

using SettingsProbe = ProbeApp;

TEST_F(SettingsProbe, ClearColourFullScreenAndLogWindow) {
    Start("SettingsProbe");
    ASSERT_TRUE(WaitFor("size 640 400\n")) << Output();
    Focus("Settings Probe");
    EXPECT_EQ(1, Count("settings 1 1\n")) << Output();  // a widget, listed in the class explorer

    ASSERT_TRUE(WaitFor("clear ")) << Output();
    int r = -1, g = -1, b = -1;
    sscanf(Output().substr(Output().find("clear ")).c_str(), "clear %d %d %d", &r, &g, &b);
    for (int c : {r, g, b}) EXPECT_NEAR(161, c, 1) << Output();  // 0.63 of 255

    // Each turn: the client size reached, and how often it has been reached.
    const struct { const char* line; int times; } turns[] = {
        {"size 1280 1024\n", 1}, {"size 640 400\n", 2}, {"size 1280 1024\n", 2}, {"size 640 400\n", 3}};
    for (const auto& turn : turns) {
        Keys(window_, "f");
        EXPECT_TRUE(testsupport::WaitFor([&] { return Count(turn.line) == turn.times; }, 10000))
            << turn.line << Output();
    }
    WindowGeometry geometry = Geometry(window_);
    EXPECT_EQ(640, geometry.width);
    EXPECT_EQ(400, geometry.height);

    Keys(window_, "grave");
    ASSERT_TRUE(WaitFor("tilde passed\n")) << Output();
    EXPECT_TRUE(WindowGone("^Settings Probe Log$"));
    Keys(window_, "ctrl+grave");
    EXPECT_FALSE(FindWindow("^Settings Probe Log$", 10, process_.Pid()).empty()) << Output();
    EXPECT_EQ(1, Count("tilde passed\n")) << Output();
}
