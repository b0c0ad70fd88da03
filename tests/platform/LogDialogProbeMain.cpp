// log_dialog_probe warning|error|assert|copy|worker|log: shows the log
// dialog and prints what the GUI tests drive and check: each dialog's title,
// buttons and view once it is on screen ("ready N"), what a call returned,
// and the clipboard. Every run ends within 30 seconds, whatever happens.
#include <gtk/gtk.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/linux/LinuxMain.h"
#include "zozud/core/Log.h"
#include "zozud/core/Thread.h"
#include "zozud/io/IO.h"

using zozud::cIO;
using zozud::cLog;
using zozud::cStr;
using zozud::cThread;

namespace {

int  s_Dialogs = 0;    // dialogs seen so far
bool s_Close = false;  // the probe closes each dialog itself once reported

// Buttons and text views, in layout order (the buttons' own labels are not looked into).
void Collect(GtkWidget* widget, gpointer list) {
    if (GTK_IS_BUTTON(widget) || GTK_IS_TEXT_VIEW(widget))
        *static_cast<GList**>(list) = g_list_append(*static_cast<GList**>(list), widget);
    else if (GTK_IS_CONTAINER(widget))
        gtk_container_forall(GTK_CONTAINER(widget), Collect, list);
}

// "dialog TITLE ..." with the thread, whether the view holds the whole log
// (other bytes than UTF-8 as U+FFFD), overflows and is scrolled to its end,
// and which window the dialog stays over; then "button SENSITIVE X Y LABEL"
// for each button, X, Y its centre inside the dialog.
void Report(GtkWidget* dialog) {
    GList* widgets = nullptr;
    Collect(dialog, &widgets);
    GtkTextView* view = GTK_TEXT_VIEW(widgets->data);  // above the buttons
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(gtk_text_view_get_buffer(view), &start, &end);
    gchar* text = gtk_text_buffer_get_text(gtk_text_view_get_buffer(view), &start, &end, FALSE);
    gchar* log = g_utf8_make_valid(cLog::GetLogCopy(), -1);
    GtkAdjustment* v = gtk_text_view_get_vadjustment(view);
    double value = gtk_adjustment_get_value(v), page = gtk_adjustment_get_page_size(v);
    double upper = gtk_adjustment_get_upper(v);
    GtkWindow* parent = gtk_window_get_transient_for(GTK_WINDOW(dialog));
    printf("dialog %s toolkit-thread=%d visible=%d log=%d overflow=%d end=%d transient=%d\n",
           gtk_window_get_title(GTK_WINDOW(dialog)), cLinuxMain_IsToolkitThread(), cLog::IsVisible(),
           strcmp(text, log) == 0, upper > page, value + page >= upper - 1,
           parent && GTK_WIDGET(parent) == cLinuxMain_GetWindow() ? 1 : (parent ? 2 : 0));
    g_free(text), g_free(log);
    for (GList* w = widgets->next; w; w = w->next) {
        GtkAllocation a;
        gtk_widget_get_allocation(GTK_WIDGET(w->data), &a);
        printf("button %d %d %d %s\n", gtk_widget_get_sensitive(GTK_WIDGET(w->data)), a.x + a.width / 2,
               a.y + a.height / 2, gtk_button_get_label(GTK_BUTTON(w->data)));
    }
    g_list_free(widgets);
}

// Runs on the toolkit thread, inside the dialogs' own loops too. The dialog
// is modal, so it holds the grab while it is up.
gboolean Watch(gpointer) {
    GtkWidget* dialog = gtk_grab_get_current();
    if (!dialog || !gtk_widget_get_mapped(dialog)) return TRUE;
    // Ticks since this window was first seen (a new window may reuse a freed
    // address); the view scrolls to its end once it has its size.
    int ticks = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(dialog), "probe-ticks")) + 1;
    g_object_set_data(G_OBJECT(dialog), "probe-ticks", GINT_TO_POINTER(ticks));
    if (ticks != 10) return TRUE;
    Report(dialog);
    if (s_Close) gtk_widget_destroy(dialog);
    printf("ready %d\n", ++s_Dialogs);
    return TRUE;
}

void WarnMany(void* n) {
    for (int i = 0; i < *static_cast<int*>(n); i++) cLog::Warning("worker warning %d", i);
}

// Worker scenario: a burst while the dialog is up (the workers must not wait
// for it) shows once, after this dialog closes; the outer loop ends once no
// dialog showed for 700 ms.
gboolean WorkerQuiet(gpointer) {
    static bool secondBurst = false;
    static gint64 quietSince = 0;
    static int n = 5;
    if (cLog::IsVisible() && !secondBurst) {
        secondBurst = true;
        unsigned long worker = cThread::CreateThread(WarnMany, &n);
        cThread::WaitAndDeleteThread(&worker);
        printf("second burst done visible=%d\n", cLog::IsVisible());
    }
    if (cLog::IsVisible()) quietSince = g_get_monotonic_time();
    else if (s_Dialogs > 0 && g_get_monotonic_time() - quietSince > 700000) gtk_main_quit();
    return TRUE;
}

void RunWorker() {
    static int n = 20;
    unsigned long worker = cThread::CreateThread(WarnMany, &n);
    cThread::WaitAndDeleteThread(&worker);
    printf("worker done visible=%d logged=%d\n", cLog::IsVisible(),
           strstr(cLog::GetLogCopy(), "worker warning 19") != nullptr);
    g_timeout_add(20, WorkerQuiet, nullptr);
    gtk_main();
    printf("dialogs=%d lines=%d\n", s_Dialogs, strstr(cLog::GetLogCopy(), "worker warning 4\r\n") != nullptr);
}

void GiveNothing(GtkClipboard*, GtkSelectionData*, guint, gpointer) {}

void CopyOnWorker(void* ok) { *static_cast<bool*>(ok) = cIO::CopyToClipboard("from a worker"); }

// The clipboard around the "Copy" button: no text, the log, text that is not UTF-8, other threads.
void RunCopy() {
    static const GtkTargetEntry noText = {const_cast<gchar*>("application/x-zozud-probe"), 0, 0};
    gtk_clipboard_set_with_data(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), &noText, 1, GiveNothing, nullptr, nullptr);
    cStr clip = "stale";
    bool ok = cIO::CopyFromClipboard(&clip);
    printf("no-text ok=%d empty=%d\n", ok, clip.IsEmpty());

    cLog::Message("copy line one");
    cLog::Message("Grüße, 世界");
    cLog::Warning("copy me");
    printf("returned %d\n", cLog::GetResult());
    clip = "stale";
    ok = cIO::CopyFromClipboard(&clip);
    printf("clipboard ok=%d matches-log=%d\n", ok, strcmp(clip, cLog::GetLogCopy()) == 0);

    cIO::CopyToClipboard("a\xff" "b");
    cIO::CopyFromClipboard(&clip);
    printf("invalid-utf8 becomes=%d\n", strcmp(clip, "a\xef\xbf\xbd" "b") == 0);

    ok = true;
    unsigned long worker = cThread::CreateThread(CopyOnWorker, &ok);
    cThread::WaitAndDeleteThread(&worker);
    printf("worker copy ok=%d\n", ok);
}

// A long log with bytes that are not UTF-8, over a main window; no button
// closes a plain log view, so the probe does.
void RunLog() {
    GtkWidget* main = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(main), "probe main");
    gtk_widget_show(main);
    cLinuxMain_SetWindow(main);
    for (int i = 0; i < 120; i++) cLog::Message("filler line %d", i);
    cLog::Message("not UTF-8: \xff\xfe end");
    s_Close = true;
    cLog::ShowDialog(cLog::Mode::Log);
    printf("returned %d visible=%d\n", cLog::GetResult(), cLog::IsVisible());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    setvbuf(stdout, nullptr, _IOLBF, 0);  // the test reads the output while the probe runs
    alarm(30);
    gtk_init(&argc, &argv);
    g_timeout_add(20, Watch, nullptr);
    std::string scenario = argv[1];
    if (scenario == "warning") {
        cLog::Message("probe first line");
        cLog::Warning("probe warning %d", 7);
        printf("returned %d\n", cLog::GetResult());
    } else if (scenario == "error") {
        cLog::Error("probe error");
        printf("returned %d visible=%d\n", cLog::GetResult(), cLog::IsVisible());
    } else if (scenario == "assert") {
        cLog::Assert("probe assert %d", 1);
        printf("returned %d\n", cLog::GetResult());
        cLog::Assert("probe assert %d", 2);  // silenced after "Ignore Always"
        printf("second returned\n");
    } else {
        void (*run)() = scenario == "copy"     ? RunCopy
                        : scenario == "worker" ? RunWorker
                        : scenario == "log"    ? RunLog
                                               : nullptr;
        if (!run) return 2;
        run();
    }
    return 0;
}
