// The log dialog on a real display: the probe program shows it, xdotool
// finds the window by its title and clicks its buttons like a user.
#include <map>
#include <sstream>

#include "support/Desktop.h"

using namespace testsupport;

namespace {

struct Button {
    int sensitive = 0, x = 0, y = 0;  // x, y: the centre inside the dialog
};

class Probe {
public:
    explicit Probe(const std::string& scenario) {
        process_.Start(LOG_DIALOG_PROBE, {scenario}, dir_.Path(), {}, dir_ / "out.txt");
    }
    std::string Output() const { return ReadFile(dir_ / "out.txt"); }
    bool Has(const std::string& text) const { return Output().find(text) != std::string::npos; }
    bool WaitFor(const std::string& text) const { return testsupport::WaitFor([&] { return Has(text); }, 15000); }
    int Wait() { return process_.Wait(15000); }

    // The buttons of the nth dialog by label, as the probe reported them.
    std::map<std::string, Button> Buttons(int n) const {
        std::map<std::string, Button> buttons;
        std::istringstream in(Output());
        int dialog = 0, label = 0;
        Button b;
        for (std::string line; std::getline(in, line);) {
            dialog += line.rfind("dialog ", 0) == 0;
            if (dialog == n && sscanf(line.c_str(), "button %d %d %d %n", &b.sensitive, &b.x, &b.y, &label) == 3)
                buttons[line.substr(label)] = b;
        }
        return buttons;
    }

    // Which of "Debug", "Ignore", "Ignore Always", "Copy", "Exit" the nth dialog enables, as 0s and 1s.
    std::string Sensitivity(int n) const {
        std::map<std::string, Button> buttons = Buttons(n);
        std::string s;
        for (const char* label : {"Debug", "Ignore", "Ignore Always", "Copy", "Exit"})
            s += std::to_string(buttons[label].sensitive);
        return s;
    }

    // Waits for the nth dialog, checks its title as X sees it, and clicks a button.
    void Click(int n, const std::string& title, const std::string& label) {
        ASSERT_TRUE(WaitFor("ready " + std::to_string(n))) << Output();
        std::string window = FindWindow("^" + title + "$", 10, process_.Pid());
        ASSERT_FALSE(window.empty()) << "no window titled " << title;
        auto buttons = Buttons(n);
        ASSERT_EQ(1u, buttons.count(label)) << Output();
        testsupport::Click(window, buttons[label].x, buttons[label].y);
    }

private:
    TempDir dir_;
    Process process_;
};

using LogDialog = DesktopTest;

}  // namespace

TEST_F(LogDialog, ButtonsOfEachModeAndWhatTheyDo) {
    const struct {
        const char* scenario;
        const char* title;
        std::vector<std::string> clicks;  // one per dialog
        const char* sensitivity;          // of the first dialog
        std::vector<std::string> has;     // in the output
        const char* hasNot;
    } rows[] = {
        // A long log, other bytes than UTF-8 and a main window; the probe closes the plain view.
        {"log", "Log", {}, "00010", {" log=1 overflow=1 end=1 transient=1\n", "returned -1 visible=0\n"}, "ready 2"},
        // "Exit" in a warning or an assertion ends the process: the code after it never runs.
        {"warning", "Warning", {"Exit"}, "01011", {"ready 1\n"}, "returned"},
        {"warning", "Warning", {"Ignore"}, "01011", {"returned 102\n"}, "ready 2"},
        // "Exit" in an error only closes; without a main window the dialog stands alone.
        {"error", "Error", {"Exit"}, "00011", {" log=1 overflow=0 end=1 transient=0\n", "returned 105 visible=0\n"},
         "ready 2"},
        {"assert", "Assert", {"Exit"}, "11111", {"ready 1\n"}, "returned"},
        {"assert", "Assert", {"Ignore Always"}, "11111", {"returned 103\nsecond returned\n"}, "ready 2"},
        {"assert", "Assert", {"Debug", "Ignore"}, "11111", {"returned 101\n"}, "ready 3"},  // "Debug" only closes
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.scenario + (row.clicks.empty() ? "" : " " + row.clicks[0]));
        Probe probe(row.scenario);
        std::string title = std::string("zozud tests ") + row.title;
        for (size_t i = 0; i < row.clicks.size(); i++) probe.Click((int)i + 1, title, row.clicks[i]);
        EXPECT_EQ(0, probe.Wait());
        EXPECT_TRUE(probe.Has("dialog " + title + " toolkit-thread=1 visible=1 ")) << probe.Output();
        EXPECT_EQ(row.sensitivity, probe.Sensitivity(1));
        for (const std::string& text : row.has) EXPECT_TRUE(probe.Has(text)) << probe.Output();
        EXPECT_FALSE(probe.Has(row.hasNot)) << probe.Output();
    }
}

TEST_F(LogDialog, CopyPutsTheWholeLogOnTheClipboardAndStays) {
    Probe probe("copy");
    probe.Click(1, "zozud tests Warning", "Copy");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(probe.Has("returned")) << "Copy closed the dialog";
    probe.Click(1, "zozud tests Warning", "Ignore");
    EXPECT_EQ(0, probe.Wait());
    // A failed read empties the text; GTK is used only on the toolkit thread.
    for (const char* line : {"no-text ok=0 empty=1\n", "returned 102\nclipboard ok=1 matches-log=1",
                             "invalid-utf8 becomes=1\n", "worker copy ok=0\n"})
        EXPECT_TRUE(probe.Has(line)) << line << probe.Output();
}

// Warnings on worker threads never block them: the dialog shows later on the
// toolkit thread, once per burst, and a burst during an open dialog waits for it.
TEST_F(LogDialog, WorkerWarningsShowLaterOnTheToolkitThread) {
    Probe probe("worker");
    ASSERT_TRUE(probe.WaitFor("worker done visible=0 logged=1\n")) << probe.Output();
    probe.Click(1, "zozud tests Warning", "Ignore");
    probe.Click(2, "zozud tests Warning", "Ignore");
    EXPECT_EQ(0, probe.Wait());
    std::string out = probe.Output();
    for (const char* line : {"dialog zozud tests Warning toolkit-thread=1 visible=1", "second burst done visible=1",
                             "dialogs=2 lines=1"})
        EXPECT_NE(std::string::npos, out.find(line)) << line << out;
    EXPECT_LT(out.find("worker done"), out.find("dialog zozud"));
}
