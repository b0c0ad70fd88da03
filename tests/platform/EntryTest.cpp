// The process entry, run as a real program under the test display.
#include <gtest/gtest.h>

#include <sstream>

#include "support/Process.h"

using namespace testsupport;

namespace {

std::string Probe() { return std::string(ZOZUD_BINARY_DIR) + "/tests/EntryProbe"; }

struct ProbeResult {
    int status;
    std::string output;
};

ProbeResult RunProbe(const std::vector<std::string>& args, const std::string& mode = "") {
    TempDir dir;
    Process p;
    p.Start(Probe(), args, dir.Path(), {"ENTRY_PROBE_MODE=" + mode}, dir / "out.txt");
    int status = p.Wait(20000);
    return {status, ReadFile(dir / "out.txt")};
}

std::vector<int> Numbers(const std::string& output, const std::string& name) {
    std::vector<int> values;
    size_t at = output.find("\n" + name + " ");
    if (at == std::string::npos) return values;
    std::istringstream line(output.substr(at + name.size() + 2, output.find('\n', at + 1) - at - name.size() - 2));
    int count, v;
    line >> count;
    while (line >> v) values.push_back(v);
    EXPECT_EQ(count, (int)values.size()) << name;
    return values;
}

class Entry : public ::testing::Test {
protected:
    void SetUp() override {
        if (!getenv("DISPLAY")) GTEST_SKIP() << "needs an X display";
    }
};

}  // namespace

TEST_F(Entry, ArgumentsAreJoinedBySingleBlanks) {
    EXPECT_NE(std::string::npos, RunProbe({"a", "", "b"}).output.find("args [a  b]\n"));
    EXPECT_NE(std::string::npos, RunProbe({}).output.find("args []\n"));
    EXPECT_NE(std::string::npos, RunProbe({"", "x"}).output.find("args [x]\n"));
    EXPECT_NE(std::string::npos, RunProbe({"with blank", "q\"uote"}).output.find("args [with blank q\"uote]\n"));
}

TEST_F(Entry, KeyTablesKeepTheirLengthAndResolveThroughTheKeymap) {
    ProbeResult r = RunProbe({});
    EXPECT_EQ(7, r.status);
    std::vector<int> syms = Numbers(r.output, "keysyms"), codes = Numbers(r.output, "codes");
    ASSERT_EQ(93u, syms.size());
    ASSERT_EQ(93u, codes.size());
    EXPECT_EQ(0xff1b, syms[0]);
    EXPECT_EQ(0x41, syms[52]);
    EXPECT_EQ(0xffae, syms[92]);
    // Cross-check with the X server's own keymap: xmodmap's keycode of Escape and of A.
    std::string escape = Shell("xmodmap -pke | awk '$4 == \"Escape\" {print $2; exit}'");
    ASSERT_FALSE(escape.empty()) << "xmodmap lists no Escape key";
    EXPECT_EQ(std::stoi(escape), codes[0]);
    std::string letterA = Shell("xmodmap -pke | awk '$4 == \"a\" {print $2; exit}'");
    ASSERT_FALSE(letterA.empty());
    EXPECT_EQ(std::stoi(letterA), codes[52]);
    EXPECT_EQ(2u, Numbers(r.output, "enter").size());
    EXPECT_EQ(2u, Numbers(r.output, "shift").size());
    EXPECT_EQ(2u, Numbers(r.output, "control").size());
    EXPECT_EQ(4u, Numbers(r.output, "alt").size());
    EXPECT_EQ(codes[39], Numbers(r.output, "enter")[0]);  // Return
    EXPECT_EQ(codes[47], Numbers(r.output, "shift")[0]);  // Shift_L
    EXPECT_NE(std::string::npos, r.output.find("repeated 93\n"));
}

TEST_F(Entry, FaultSignalsEndWithStatus255AfterTheCrashHook) {
    for (const char* mode : {"segv", "bus"}) {
        ProbeResult r = RunProbe({}, mode);
        EXPECT_EQ(255, r.status) << mode;
        EXPECT_NE(std::string::npos, r.output.find("crash hook")) << mode;
    }
}

TEST_F(Entry, AnApplicationThatReturnsGetsCursorsAndTheMissingVisualError) {
    ProbeResult r = RunProbe({}, "return");
    EXPECT_EQ(255, r.status);  // main returns -1
    EXPECT_NE(std::string::npos, r.output.find("cursors 12 display 1\n")) << r.output;
    EXPECT_NE(std::string::npos, r.output.find("Couldn't choose visual\r\n")) << r.output;
}
