// The control window of the real program, driven with the mouse and the keyboard; the log view in-process.
#include "host/TorvaneRun.h"
#include "support/CloseRequest.h"

using namespace testsupport;

namespace {

const char* const MainTitle = "^Ombrel: Torvane 1.8 Linux GUI \\(64-bit\\)$";

bool PumpUntil(bool (*done)(), int timeoutMs) {
    return WaitFor([&] {
        while (gtk_events_pending()) gtk_main_iteration();
        return done();
    }, timeoutMs, 10);
}

// The centre of each button in the control window, built in this process
// with the same theme (the offsets carry over); empty if it never showed.
const std::vector<std::pair<int, int>>& ButtonCentres() {
    static std::vector<std::pair<int, int>> centres = [] {
        std::vector<std::pair<int, int>> c;
        gtk_init(nullptr, nullptr);
        Torvane_BuildWindow();
        if (PumpUntil([] { return Linux_Buttons.Count() == 3 && Linux_Buttons[2]->allocation.width > 1; }, 10000))
            for (GtkWidget* b : Linux_Buttons)
                c.push_back({b->allocation.x + b->allocation.width / 2, b->allocation.y + b->allocation.height / 2});
        g_signal_handlers_disconnect_by_func(Linux_Dialog, (gpointer)gtk_main_quit, nullptr);
        gtk_widget_hide(Linux_Dialog);
        PumpUntil([] { return true; }, 100);
        return c;
    }();
    return centres;
}

class ControlWindow : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_EQ(3u, ButtonCentres().size());
        ASSERT_TRUE(run.Start());
        window = FindWindow(MainTitle, 15, run.Proc().Pid());
        ASSERT_FALSE(window.empty());
    }

    void ClickButton(int i) { Click(window, ButtonCentres()[i].first, ButtonCentres()[i].second); }

    // Answers the confirmation titled title with Yes or No.
    void Answer(const std::string& title, bool yes) {
        std::string box = FindWindow("^" + title + "$", 15, run.Proc().Pid());
        ASSERT_FALSE(box.empty()) << title;
        Keys(box, yes ? "alt+y" : "alt+n");
        EXPECT_TRUE(WaitFor([&] { return WindowGone("^" + title + "$"); }, 10000)) << title;
    }

    // Opens the port dialog, puts text in its entry and presses OK (or Escape).
    void EnterPort(const std::string& text, bool cancel = false) {
        ClickButton(0);
        std::string dialog = FindWindow("^Enter Port$", 15, run.Proc().Pid());
        ASSERT_FALSE(dialog.empty());
        Keys(dialog, "ctrl+a BackSpace");
        if (!text.empty()) Type(dialog, text);
        WindowGeometry g = Geometry(dialog);  // OK sits bottom right, left of Cancel; both at least 70 wide
        if (cancel) Keys(dialog, "Escape"); else Click(dialog, g.width - 5 - 143 + 20, g.height - 5 - 15);
        EXPECT_TRUE(WaitFor([] { return WindowGone("^Enter Port$"); }, 10000)) << text;
    }

    TorvaneRun run;
    std::string window;
};

// The program runs from a copy in its working folder, so that a test can
// take its file away as a cleaned build folder does.
class ControlWindowOfACopy : public ControlWindow {
protected:
    void SetUp() override {
        program = run.UseCopyOfProgram();
        ControlWindow::SetUp();
    }
    std::string program;
};

}  // namespace

// One program through its whole life: port entries refused, one taken, a
// restart onto it, then closing and Exit answered No, and Exit answered Yes.
TEST_F(ControlWindow, EditPortRestartAndExit) {
    std::string before = ReadFile(run.Dir() / "port.dat");
    EnterPort("1234", true);
    for (std::string text : {"", "not a number", "70000", "-5", "0", "99999999999"}) EnterPort(text);
    EnterPort(std::to_string(run.Port()));
    EXPECT_EQ(before, ReadFile(run.Dir() / "port.dat"));
    EXPECT_FALSE(run.LogFileHas("Entered port"));

    int newPort = FreePort();
    EnterPort(" " + std::to_string(newPort) + " ");
    ASSERT_TRUE(run.WaitForLog("Entered port is " + std::to_string(newPort) + "\r\n"));
    EXPECT_EQ(std::to_string(newPort), ReadFile(run.Dir() / "port.dat"));
    // The running listeners keep the old port until the restart.
    EXPECT_TRUE(Answers(run.Port()));
    EXPECT_FALSE(Answers(newPort));

    pid_t pid = run.Proc().Pid();
    int fds = run.Count("fd");
    ClickButton(1);
    Answer("Confirm Restart Server", true);
    EXPECT_TRUE(WaitFor([&] { return Answers(newPort); }, 20000)) << "the restarted program answers on the new port";
    EXPECT_EQ(pid, run.Proc().Pid());
    EXPECT_TRUE(run.WaitForLog(" | Using port " + std::to_string(newPort) + "\r\n"));
    EXPECT_FALSE(Answers(run.Port()));
    // Nothing of the first start is inherited: no socket, display connection or file.
    EXPECT_TRUE(WaitFor([&] { return run.Count("fd") <= fds; }, 10000)) << run.Count("fd") << " > " << fds;

    window = FindWindow(MainTitle, 15, pid);  // the restarted program's window
    ASSERT_FALSE(window.empty());
    RequestClose(window);
    Answer("Confirm Exit", false);
    ClickButton(2);
    Answer("Confirm Exit", false);
    EXPECT_TRUE(run.Proc().Running());
    EXPECT_FALSE(FindWindow(MainTitle, 2, pid).empty());
    EXPECT_TRUE(Answers(newPort));
    ClickButton(2);
    Answer("Confirm Exit", true);
    EXPECT_EQ(0, run.Proc().Wait(10000));
}

TEST_F(ControlWindowOfACopy, AFailedRestartIsLoggedAndTheServerListensAgainOnTheNewPort) {
    int newPort = FreePort();
    EnterPort(std::to_string(newPort));
    ASSERT_TRUE(run.WaitForLog("Entered port is " + std::to_string(newPort) + "\r\n"));
    int threads = run.Count("task");
    ASSERT_EQ(0, unlink(program.c_str()));

    ClickButton(1);
    Answer("Confirm Restart Server", true);
    EXPECT_TRUE(run.WaitForLog(" | Failed to restart Torvane: " + program));
    EXPECT_TRUE(WaitFor([&] { return Answers(newPort); }, 20000)) << "the server listens again, on the new port";
    EXPECT_FALSE(Answers(run.Port()));
    std::string log = run.LogFile();
    size_t failed = log.find(" | Failed to restart Torvane: ");
    EXPECT_NE(std::string::npos, log.find(" | Using port " + std::to_string(newPort) + "\r\n", failed)) << log;
    EXPECT_NE(std::string::npos, Request(newPort, "GET / HTTP/1.1\r\n\r\n").find("<title>Ombrel Torvane</title>"));

    // The old accept threads have ended: nothing spins on closed sockets.
    EXPECT_TRUE(WaitFor([&] { return run.Count("task") <= threads; }, 10000)) << run.Count("task") << " > " << threads;
    long before = run.CpuTicks();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_LT(run.CpuTicks() - before, 30) << "clock ticks used in one idle second";
    EXPECT_TRUE(run.Proc().Running());
}

TEST(LogView, ShowsTheWholeLogAndEndsAtTheNewestEntry) {
    if (!HaveDisplay()) GTEST_SKIP() << "needs an X display";
    ASSERT_EQ(3u, ButtonCentres().size());
    TempDir dir;
    StartServiceLog(dir);
    gtk_widget_show(Linux_Dialog);
    for (int i = 0; i < 400; i++) Torvane_Message(zozud::cStr::Format("entry %d", i));
    Linux_DisplayLog();
    // Scroll to the top as a user would, then let the refresh bring the end back.
    PumpUntil([] { return false; }, 300);
    GtkAdjustment* adj = gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(Linux_Scroll));
    gtk_adjustment_set_value(adj, 0);
    Torvane_Message("newest");
    Linux_DisplayLog();
    EXPECT_TRUE(PumpUntil([] {
        GtkAdjustment* a = gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(Linux_Scroll));
        return a->upper > a->page_size && a->value + a->page_size >= a->upper - 1;
    }, 5000)) << "value " << adj->value << " page " << adj->page_size << " upper " << adj->upper;

    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(Linux_View));
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
    EXPECT_STREQ(Torvane_Log::s_Text.ToChar(), text);
    EXPECT_TRUE(g_str_has_suffix(text, "entry 399\r\nnewest\r\n"));
    g_free(text);
    gtk_widget_hide(Linux_Dialog);
    PumpUntil([] { return false; }, 200);  // the hidden window must be gone before other tests look
}
