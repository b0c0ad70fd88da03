// The process entry, run as a real program under the test display.
#include <algorithm>
#include <sstream>

#include "support/Desktop.h"

using namespace testsupport;

namespace {

// The probe's exit status and output.
std::pair<int, std::string> RunProbe(const std::vector<std::string>& args, const std::string& mode = "") {
    TempDir dir;
    Process p;
    p.Start(std::string(ZOZUD_BINARY_DIR) + "/tests/EntryProbe", args, dir.Path(), {"ENTRY_PROBE_MODE=" + mode},
            dir / "out.txt");
    int status = p.Wait(20000);
    return {status, ReadFile(dir / "out.txt")};
}

// The numbers of the probe's line "name count v1 v2 ...".
std::vector<int> Numbers(const std::string& output, const std::string& name) {
    size_t at = output.find("\n" + name + " ");
    if (at == std::string::npos) return {};
    std::istringstream line(output.substr(at + name.size() + 2));
    int count = 0;
    line >> count;
    std::vector<int> values(std::max(count, 0));
    for (int& v : values) line >> v;
    return values;
}

// The keycode the X server's own keymap gives the keysym, as xmodmap lists it.
int XmodmapCode(const std::string& keysym) {
    std::string code = Shell("xmodmap -pke | awk '$4 == \"" + keysym + "\" {print $2; exit}'");
    return code.empty() ? -1 : std::stoi(code);
}

using Entry = DesktopTest;

}  // namespace

TEST_F(Entry, ArgumentsAreJoinedAndKeyTablesResolveThroughTheKeymap) {
    // An empty first argument adds nothing, an empty one later adds its blank.
    auto [status, output] = RunProbe({"", "a", "", "with blank", "q\"uote"});
    EXPECT_EQ(7, status);
    EXPECT_NE(std::string::npos, output.find("args [a  with blank q\"uote]\n")) << output;
    std::vector<int> codes = Numbers(output, "codes"), enter = Numbers(output, "enter");
    ASSERT_EQ(93u, Numbers(output, "keysyms").size());
    ASSERT_EQ(93u, codes.size());
    ASSERT_EQ(2u, enter.size());
    EXPECT_EQ(XmodmapCode("Escape"), codes[0]);
    EXPECT_EQ(XmodmapCode("a"), codes[52]);
    EXPECT_EQ(XmodmapCode("Return"), enter[0]);
    EXPECT_EQ(std::vector<int>({XmodmapCode("Shift_L"), XmodmapCode("Shift_R")}), Numbers(output, "shift"));
    EXPECT_EQ(2u, Numbers(output, "control").size());
    EXPECT_EQ(4u, Numbers(output, "alt").size());
    EXPECT_NE(std::string::npos, output.find("repeated 93\n"));
}

TEST_F(Entry, FaultSignalsEndWithStatus255AfterTheCrashHook) {
    for (const char* mode : {"segv", "bus"}) {
        auto [status, output] = RunProbe({}, mode);
        EXPECT_EQ(255, status) << mode;
        EXPECT_NE(std::string::npos, output.find("crash hook")) << mode;
    }
}

TEST_F(Entry, AnApplicationThatReturnsGetsCursorsAndTheWindow) {
    auto [status, output] = RunProbe({}, "return");
    EXPECT_EQ(0, status);  // the probe quits the window's loop at once
    EXPECT_NE(std::string::npos, output.find("args []\n"));
    EXPECT_NE(std::string::npos, output.find("window 1\n")) << output;
    EXPECT_NE(std::string::npos, output.find("cursors 12 display 1\n")) << output;
}
