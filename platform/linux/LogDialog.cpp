// The modal log dialog the shell lends cLog (cLog::DialogHooks): the whole log in a scrolled text view with
// the buttons "Debug", "Ignore", "Ignore Always", "Copy" and "Exit". It runs a
// nested main loop until it is closed; "Exit" in a warning or an assertion
// ends the process.
//
// Threads: GTK is only touched on the toolkit thread. A dialog asked for on
// another thread is queued to the toolkit thread with g_idle_add; at most one
// request waits at a time, and one that comes due while a dialog is up waits
// until that dialog closes, so a burst of warnings never stacks dialogs. In a
// process that never started GTK no dialog is shown at all.
#include <atomic>
#include <cstdlib>

#include "platform/linux/LinuxMainInternal.h"
#include "zozud/core/Log.h"
#include "zozud/widgets/Splash.h"

using zozud::cLog;
using zozud::cStr;

namespace {

const int ResultDebug = 101;
const int ResultIgnore = 102;
const int ResultIgnoreAlways = 103;
const int ResultExit = 105;

const int DialogWidth = 610;
const int DialogHeight = 460;

// Read on any thread, written on the toolkit thread.
std::atomic<bool> s_Visible{false};
std::atomic<int>  s_Mode{cLog::Mode::Log};
std::atomic<int>  s_Result{-1};

// A request from another thread waiting for the toolkit thread.
std::atomic<bool> s_Queued{false};
std::atomic<int>  s_QueuedMode{cLog::Mode::Log};

// Toolkit thread only.
bool s_QueuedWaitsForClose = false;  // the queued request came due while a dialog was up
bool s_IgnoreAsserts = false;        // "Ignore Always" was pressed in an assertion

const char* TitleSuffix(cLog::Mode::Enum mode) {
    switch (mode) {
        case cLog::Mode::Warning: return " Warning";
        case cLog::Mode::Error: return " Error";
        case cLog::Mode::Assert: return " Assert";
        default: return " Log";
    }
}

bool ToolkitStarted() { return gdk_display_get_default() != nullptr; }

gboolean ShowQueued(gpointer);

void QueueDialog(cLog::Mode::Enum mode) {
    if (s_Queued.exchange(true)) return;  // one is already waiting; its dialog shows the whole log
    s_QueuedMode = mode;
    g_idle_add(ShowQueued, nullptr);
}

gboolean ShowQueued(gpointer) {
    if (!cLinuxMain_IsToolkitThread()) return TRUE;  // only the toolkit thread may show it
    if (s_Visible) {
        s_QueuedWaitsForClose = true;
        return FALSE;
    }
    cLog::Mode::Enum mode = cLog::Mode::Enum(s_QueuedMode.load());
    s_Queued = false;
    cLinuxMain_ShowLogDialog(mode);
    return FALSE;
}

// ---- Building the window ----

void OnResultButton(GtkWidget* button, gpointer result) {
    s_Result = GPOINTER_TO_INT(result);
    gtk_widget_destroy(gtk_widget_get_toplevel(button));
}

void OnCopy(GtkWidget*, gpointer) { cLinuxMain_CopyToClipboard(cLog::GetLogCopy()); }

GtkWidget* AddButton(GtkWidget* row, const char* label, bool sensitive, GCallback onClick, int result) {
    GtkWidget* button = gtk_button_new_with_label(label);
    gtk_widget_set_sensitive(button, sensitive);
    g_signal_connect(button, "clicked", onClick, GINT_TO_POINTER(result));
    gtk_box_pack_start(GTK_BOX(row), button, TRUE, TRUE, 0);  // homogeneous row: every button one width
    return button;
}

// The left-aligned row of buttons, each enabled as the mode allows.
GtkWidget* BuildButtonRow(cLog::Mode::Enum mode) {
    bool assert = mode == cLog::Mode::Assert;
    bool ignore = mode == cLog::Mode::Warning || assert;
    bool exit = mode != cLog::Mode::Log;
    GtkWidget* row = gtk_hbox_new(TRUE, 3);
    GtkWidget* debug = AddButton(row, "Debug", assert, G_CALLBACK(OnResultButton), ResultDebug);
    gtk_widget_set_size_request(debug, 70, 30);
    AddButton(row, "Ignore", ignore, G_CALLBACK(OnResultButton), ResultIgnore);
    AddButton(row, "Ignore Always", assert, G_CALLBACK(OnResultButton), ResultIgnoreAlways);
    AddButton(row, "Copy", true, G_CALLBACK(OnCopy), 0);
    AddButton(row, "Exit", exit, G_CALLBACK(OnResultButton), ResultExit);
    GtkWidget* align = gtk_alignment_new(0.0f, 0.5f, 0.0f, 0.0f);
    gtk_container_add(GTK_CONTAINER(align), row);
    return align;
}

// White text on black, not editable, showing the end of the log.
GtkWidget* BuildLogView() {
    GtkWidget* view = gtk_text_view_new();
    gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
    GdkColor black = {0, 0, 0, 0}, white = {0, 0xffff, 0xffff, 0xffff};
    gtk_widget_modify_base(view, GTK_STATE_NORMAL, &black);
    gtk_widget_modify_text(view, GTK_STATE_NORMAL, &white);

    // A text buffer takes only UTF-8; other bytes of the log show as U+FFFD.
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
    gchar* text = g_utf8_make_valid(cLog::GetLogCopy(), -1);
    gtk_text_buffer_set_text(buffer, text, -1);
    g_free(text);
    GtkTextIter end;
    gtk_text_buffer_get_end_iter(buffer, &end);
    gtk_text_buffer_place_cursor(buffer, &end);
    gtk_text_view_scroll_to_mark(GTK_TEXT_VIEW(view), gtk_text_buffer_get_insert(buffer), 0.0, FALSE, 0.0, 0.0);

    GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
    gtk_container_add(GTK_CONTAINER(scrolled), view);
    return scrolled;
}

GtkWidget* BuildDialog(cLog::Mode::Enum mode) {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    cStr title = cMain_Title + cStr(TitleSuffix(mode));
    gtk_window_set_title(GTK_WINDOW(window), title);
    gtk_window_set_deletable(GTK_WINDOW(window), FALSE);
    gtk_window_set_modal(GTK_WINDOW(window), TRUE);
    if (GtkWidget* parent = cLinuxMain_GetWindow()) gtk_window_set_transient_for(GTK_WINDOW(window), GTK_WINDOW(parent));
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    gtk_window_set_default_size(GTK_WINDOW(window), DialogWidth, DialogHeight);
    gtk_container_set_border_width(GTK_CONTAINER(window), 10);

    GtkWidget* box = gtk_vbox_new(FALSE, 10);
    gtk_box_pack_start(GTK_BOX(box), BuildLogView(), TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(box), BuildButtonRow(mode), FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(window), box);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    return window;
}

void RunDialog(cLog::Mode::Enum mode) {
    cLinuxMain_UnfullScreen();
    s_Mode = mode;
    s_Visible = true;
    s_Result = -1;
    gtk_widget_show_all(BuildDialog(mode));
    gtk_main();
    cLinuxMain_RepeatedClear();
    s_Visible = false;
    int result = s_Result;
    if (result == ResultExit && (mode == cLog::Mode::Warning || mode == cLog::Mode::Assert)) exit(0);
    if (result == ResultIgnoreAlways && mode == cLog::Mode::Assert) s_IgnoreAsserts = true;
}

}  // namespace

void cLinuxMain_ShowLogDialog(cLog::Mode::Enum mode) {
    if (!cLinuxMain_IsToolkitThread()) {
        QueueDialog(mode);
        return;
    }
    if (!ToolkitStarted()) return;
    if (mode == cLog::Mode::Assert && s_IgnoreAsserts) return;
    zozud::cSplash::DestroyNow();
    RunDialog(mode);
    if (s_QueuedWaitsForClose) {
        s_QueuedWaitsForClose = false;
        g_idle_add(ShowQueued, nullptr);
    }
}

bool cLinuxMain_IsLogDialogVisible() { return s_Visible; }
int  cLinuxMain_GetLogDialogResult() { return s_Result; }
