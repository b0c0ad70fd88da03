// The log dialog on a real display: the probe program shows it, xdotool
// finds the window by its title and clicks its buttons like a user.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "support/Process.h"

using namespace testsupport;

namespace {

struct Button {
    int x = 0, y = 0, width = 0, height = 0;
    bool sensitive = false;
};

class Probe {
public:
    explicit Probe(const std::vector<std::string>& args) {
        started_ = process_.Start(LOG_DIALOG_PROBE, args, dir_.Path(), {}, dir_ / "out.txt");
    }
    bool Started() const { return started_; }
    std::string Output() const { return ReadFile(dir_ / "out.txt"); }
    bool Has(const std::string& text) const { return Output().find(text) != std::string::npos; }
    bool WaitFor(const std::string& text, int ms = 15000) const {
        return testsupport::WaitFor([&] { return Has(text); }, ms, 20);
    }
    int Wait() { return process_.Wait(15000); }

    // The buttons of the nth dialog, by label, as the probe reported them.
    std::map<std::string, Button> Buttons(int n) const {
        std::map<std::string, Button> buttons;
        std::istringstream in(Output());
        std::string line;
        int dialog = 0;
        while (std::getline(in, line)) {
            if (line.rfind("dialog ", 0) == 0) dialog++;
            if (dialog != n || line.rfind("button ", 0) != 0) continue;
            // "button LABEL X Y W H S"; the label may hold a blank.
            size_t cut = line.size();
            for (int i = 0; i < 5 && cut != std::string::npos && cut > 7; i++) cut = line.rfind(' ', cut - 1);
            if (cut == std::string::npos || cut <= 7) continue;
            std::string label = line.substr(7, cut - 7);
            Button b;
            int s = 0;
            std::istringstream(line.substr(cut)) >> b.x >> b.y >> b.width >> b.height >> s;
            b.sensitive = s != 0;
            buttons[label] = b;
        }
        return buttons;
    }

private:
    TempDir dir_;
    Process process_;
    bool    started_ = false;
};

bool CanDrive() { return getenv("DISPLAY") && *getenv("DISPLAY") && system("command -v xdotool >/dev/null") == 0; }

// The X window with exactly this title, found by xdotool within 10 s; "" if none.
std::string FindWindow(const std::string& title) {
    std::string out = Shell("timeout 10 xdotool search --sync --name '^" + title + "$' 2>/dev/null");
    return out.substr(0, out.find('\n'));
}

void Click(const std::string& window, const Button& b) {
    Shell("xdotool mousemove --window " + window + " " + std::to_string(b.x + b.width / 2) + " " +
          std::to_string(b.y + b.height / 2) + " sleep 0.2 click 1");
}

// Waits for the nth dialog, checks its title as X sees it, and clicks a button.
void ClickIn(Probe& probe, int n, const std::string& title, const std::string& label) {
    ASSERT_TRUE(probe.WaitFor("ready " + std::to_string(n))) << probe.Output();
    std::string window = FindWindow(title);
    ASSERT_FALSE(window.empty()) << "no window titled " << title;
    auto buttons = probe.Buttons(n);
    ASSERT_EQ(1u, buttons.count(label)) << probe.Output();
    Click(window, buttons[label]);
}

std::string Sensitivity(const std::map<std::string, Button>& b) {
    std::string s;
    for (const char* label : {"Debug", "Ignore", "Ignore Always", "Copy", "Exit"})
        s += b.count(label) && b.at(label).sensitive ? '1' : '0';
    return s;
}

}  // namespace

#define REQUIRE_DISPLAY()                                     \
    do {                                                      \
        if (!CanDrive()) {                                    \
            GTEST_SKIP() << "needs DISPLAY and xdotool";      \
        }                                                     \
    } while (0)

TEST(LogDialog, ExitInWarningEndsTheProcess) {
    REQUIRE_DISPLAY();
    Probe probe({"warning"});
    ASSERT_TRUE(probe.Started());
    ClickIn(probe, 1, "zozud tests Warning", "Exit");
    EXPECT_EQ("01011", Sensitivity(probe.Buttons(1)));
    EXPECT_EQ(0, probe.Wait()) << probe.Output();
    EXPECT_FALSE(probe.Has("returned")) << probe.Output();  // the code after the warning never ran
}

TEST(LogDialog, IgnoreReturnsToTheCaller) {
    REQUIRE_DISPLAY();
    Probe probe({"warning"});
    ClickIn(probe, 1, "zozud tests Warning", "Ignore");
    EXPECT_EQ(0, probe.Wait());
    EXPECT_TRUE(probe.Has("returned 102\n")) << probe.Output();
}

TEST(LogDialog, ExitInErrorOnlyCloses) {
    REQUIRE_DISPLAY();
    Probe probe({"error"});
    ClickIn(probe, 1, "zozud tests Error", "Exit");
    EXPECT_EQ("00011", Sensitivity(probe.Buttons(1)));
    EXPECT_EQ(0, probe.Wait());
    EXPECT_TRUE(probe.Has("returned 105 visible=0\n")) << probe.Output();
}

TEST(LogDialog, AssertExitEndsAndIgnoreAlwaysSilences) {
    REQUIRE_DISPLAY();
    {
        Probe probe({"assert"});
        ClickIn(probe, 1, "zozud tests Assert", "Exit");
        EXPECT_EQ("11111", Sensitivity(probe.Buttons(1)));
        EXPECT_EQ(0, probe.Wait());
        EXPECT_FALSE(probe.Has("returned")) << probe.Output();
    }
    {
        Probe probe({"assert"});
        ClickIn(probe, 1, "zozud tests Assert", "Ignore Always");
        EXPECT_EQ(0, probe.Wait());
        EXPECT_TRUE(probe.Has("returned 103\nsecond returned\n")) << probe.Output();
        EXPECT_FALSE(probe.Has("ready 2")) << probe.Output();
    }
    {
        Probe probe({"assert"});
        ClickIn(probe, 1, "zozud tests Assert", "Debug");
        ClickIn(probe, 2, "zozud tests Assert", "Ignore");  // "Debug" only closes: the next assertion shows
        EXPECT_EQ(0, probe.Wait());
        EXPECT_TRUE(probe.Has("returned 101\n")) << probe.Output();
    }
}

TEST(LogDialog, CopyPutsTheWholeLogOnTheClipboardAndStays) {
    REQUIRE_DISPLAY();
    Probe probe({"copy"});
    ClickIn(probe, 1, "zozud tests Warning", "Copy");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(probe.Has("returned")) << "Copy closed the dialog";
    ClickIn(probe, 1, "zozud tests Warning", "Ignore");
    EXPECT_EQ(0, probe.Wait());
    std::string out = probe.Output();
    EXPECT_NE(std::string::npos, out.find("no-text ok=0 empty=1\n")) << out;  // a failed read empties the text
    EXPECT_NE(std::string::npos, out.find("returned 102\nclipboard ok=1 matches-log=1")) << out;
    EXPECT_NE(std::string::npos, out.find("invalid-utf8 becomes=1\n")) << out;
    EXPECT_NE(std::string::npos, out.find("worker copy ok=0\n")) << out;  // GTK only on the toolkit thread
}

// Warnings on worker threads never block them: the dialog shows later on the
// toolkit thread, once per burst, and a burst during an open dialog waits for it.
TEST(LogDialog, WorkerWarningsShowLaterOnTheToolkitThread) {
    REQUIRE_DISPLAY();
    Probe probe({"worker"});
    ASSERT_TRUE(probe.WaitFor("worker done visible=0 logged=1\n")) << probe.Output();
    ClickIn(probe, 1, "zozud tests Warning", "Ignore");
    ClickIn(probe, 2, "zozud tests Warning", "Ignore");
    EXPECT_EQ(0, probe.Wait());
    std::string out = probe.Output();
    EXPECT_NE(std::string::npos, out.find("dialog zozud tests Warning toolkit-thread=1 visible=1")) << out;
    EXPECT_NE(std::string::npos, out.find("second burst done visible=1")) << out;
    EXPECT_NE(std::string::npos, out.find("dialogs=2 lines=1")) << out;
    EXPECT_LT(out.find("worker done"), out.find("dialog zozud"));
}

TEST(LogDialog, LayoutOfEveryMode) {
    REQUIRE_DISPLAY();
    const char* titles[] = {"zozud tests Log", "zozud tests Warning", "zozud tests Error", "zozud tests Assert"};
    const char* sensitivity[] = {"00010", "01011", "00011", "11111"};
    for (int mode = 0; mode < 4; mode++) {
        SCOPED_TRACE(mode);
        Probe probe(mode == 1 ? std::vector<std::string>{"inspect", "1", "main"}
                              : std::vector<std::string>{"inspect", std::to_string(mode)});
        ASSERT_EQ(0, probe.Wait());
        std::string out = probe.Output();
        EXPECT_NE(std::string::npos, out.find(std::string("dialog ") + titles[mode] + " ")) << out;
        EXPECT_NE(std::string::npos, out.find("size=610x460\n")) << out;
        EXPECT_NE(std::string::npos, out.find("modal=1 deletable=0 border=10\n")) << out;
        EXPECT_NE(std::string::npos, out.find(mode == 1 ? "transient=1\n" : "transient=0\n")) << out;
        EXPECT_NE(std::string::npos, out.find("vbox=1 spacing=10\n")) << out;
        EXPECT_NE(std::string::npos, out.find("row homogeneous=1 spacing=3\nrow left=10\n")) << out;
        EXPECT_NE(std::string::npos, out.find("editable=0\nbase=000000000000 text=ffffffffffff\n")) << out;
        EXPECT_NE(std::string::npos, out.find("text-has-replacement=1\n")) << out;
        EXPECT_NE(std::string::npos, out.find("returned -1 visible=0\n")) << out;

        int x, y, sw, sh;
        ASSERT_EQ(4, sscanf(out.substr(out.find("origin=")).c_str(), "origin=%d,%d screen=%dx%d", &x, &y, &sw, &sh));
        EXPECT_NEAR((sw - 610) / 2, x, 1);
        EXPECT_NEAR((sh - 460) / 2, y, 1);
        double value, page, upper;
        ASSERT_EQ(3, sscanf(out.substr(out.find("scroll ")).c_str(), "scroll value=%lf page=%lf upper=%lf", &value,
                            &page, &upper));
        EXPECT_GT(upper, page);               // 120 lines do not fit
        EXPECT_NEAR(upper, value + page, 1);  // scrolled to the end

        auto buttons = probe.Buttons(1);
        EXPECT_EQ(sensitivity[mode], Sensitivity(buttons));
        const char* order[] = {"Debug", "Ignore", "Ignore Always", "Copy", "Exit"};
        EXPECT_EQ(10, buttons["Debug"].x);
        for (int i = 0; i < 5; i++) {
            const Button& b = buttons[order[i]];
            EXPECT_EQ(30, b.height) << order[i];
            EXPECT_GE(b.width, 70) << order[i];
            EXPECT_EQ(buttons["Debug"].width, b.width) << order[i];  // one width for all
            if (i > 0) {
                EXPECT_EQ(buttons[order[i - 1]].x + b.width + 3, b.x) << order[i];
            }
            EXPECT_EQ(460 - 10 - 30, b.y) << order[i];  // the bottom row
        }
    }
}
