// log_dialog_probe: a small GTK program that shows the log dialog for the
// GUI tests. It reports on standard output what a test needs to drive and
// check the real window: each dialog's title and button rectangles once it
// is on screen ("ready N"), what a call returned, the clipboard, and in the
// "inspect" scenarios the dialog's properties. Every run ends by itself
// within 30 seconds, whatever happens.
//
//   log_dialog_probe warning|error|assert|copy|worker
//   log_dialog_probe inspect MODE [main]     (MODE 0..3; "main": with a main window)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/linux/LinuxMain.h"
#include "zozud/core/Log.h"
#include "zozud/core/Thread.h"
#include "zozud/io/IO.h"

using zozud::cLog;
using zozud::cStr;
using zozud::cThread;

namespace {

int        s_Dialogs = 0;       // dialogs seen so far
bool       s_Inspect = false;   // inspect and close each dialog
gint64     s_QuietSince = 0;    // worker scenario: when the last dialog closed

void Say(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void Say(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    vprintf(fmt, args);
    va_end(args);
    fflush(stdout);
}

gboolean GiveUp(gpointer) {
    Say("probe timeout\n");
    _exit(99);
}

bool EndsWith(const char* s, const char* end) {
    size_t a = strlen(s), b = strlen(end);
    return a >= b && strcmp(s + a - b, end) == 0;
}

// The mapped dialog window, if one is up.
GtkWidget* FindDialog() {
    GtkWidget* found = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w; w = w->next) {
        GtkWidget* widget = GTK_WIDGET(w->data);
        const char* title = gtk_window_get_title(GTK_WINDOW(widget));
        if (!title || !gtk_widget_get_mapped(widget)) continue;
        if (EndsWith(title, " Log") || EndsWith(title, " Warning") || EndsWith(title, " Error") ||
            EndsWith(title, " Assert"))
            found = widget;
    }
    g_list_free(windows);
    return found;
}

void CollectButtons(GtkWidget* widget, gpointer list) {
    if (GTK_IS_BUTTON(widget)) {
        *static_cast<GList**>(list) = g_list_append(*static_cast<GList**>(list), widget);
        return;
    }
    if (GTK_IS_CONTAINER(widget)) gtk_container_forall(GTK_CONTAINER(widget), CollectButtons, list);
}

GList* Buttons(GtkWidget* dialog) {
    GList* list = nullptr;
    CollectButtons(dialog, &list);
    return list;
}

void ReportButtons(GtkWidget* dialog) {
    GList* buttons = Buttons(dialog);
    for (GList* b = buttons; b; b = b->next) {
        GtkWidget* button = GTK_WIDGET(b->data);
        GtkAllocation a;
        gtk_widget_get_allocation(button, &a);
        Say("button %s %d %d %d %d %d\n", gtk_button_get_label(GTK_BUTTON(button)), a.x, a.y, a.width, a.height,
            gtk_widget_get_sensitive(button) ? 1 : 0);
    }
    g_list_free(buttons);
}

template <class T>
T* FindChild(GtkWidget* widget, GType type) {
    if (G_TYPE_CHECK_INSTANCE_TYPE(widget, type)) return reinterpret_cast<T*>(widget);
    if (!GTK_IS_CONTAINER(widget)) return nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    T* found = nullptr;
    for (GList* c = children; c && !found; c = c->next) found = FindChild<T>(GTK_WIDGET(c->data), type);
    g_list_free(children);
    return found;
}

// Everything about the dialog a test checks, one "key=value" per line.
void ReportProperties(GtkWidget* dialog) {
    GtkWindow* window = GTK_WINDOW(dialog);
    GtkAllocation a;
    gtk_widget_get_allocation(dialog, &a);
    int x = 0, y = 0;
    gdk_window_get_origin(gtk_widget_get_window(dialog), &x, &y);
    Say("size=%dx%d\n", a.width, a.height);
    Say("origin=%d,%d screen=%dx%d\n", x, y, gdk_screen_width(), gdk_screen_height());
    Say("modal=%d deletable=%d border=%u\n", gtk_window_get_modal(window), gtk_window_get_deletable(window),
        gtk_container_get_border_width(GTK_CONTAINER(dialog)));
    GtkWindow* parent = gtk_window_get_transient_for(window);
    Say("transient=%d\n", parent && GTK_WIDGET(parent) == cLinuxMain_GetWindow() ? 1 : (parent ? 2 : 0));

    GtkWidget* vbox = gtk_bin_get_child(GTK_BIN(dialog));
    Say("vbox=%d spacing=%d\n", GTK_IS_VBOX(vbox), gtk_box_get_spacing(GTK_BOX(vbox)));
    GtkHBox* row = FindChild<GtkHBox>(vbox, GTK_TYPE_HBOX);
    Say("row homogeneous=%d spacing=%d\n", gtk_box_get_homogeneous(GTK_BOX(row)), gtk_box_get_spacing(GTK_BOX(row)));
    GtkAllocation r;
    gtk_widget_get_allocation(GTK_WIDGET(row), &r);
    Say("row left=%d\n", r.x);

    GtkTextView* view = FindChild<GtkTextView>(vbox, GTK_TYPE_TEXT_VIEW);
    GtkStyle* style = gtk_widget_get_style(GTK_WIDGET(view));
    Say("editable=%d\n", gtk_text_view_get_editable(view));
    Say("base=%04x%04x%04x text=%04x%04x%04x\n", style->base[GTK_STATE_NORMAL].red, style->base[GTK_STATE_NORMAL].green,
        style->base[GTK_STATE_NORMAL].blue, style->text[GTK_STATE_NORMAL].red, style->text[GTK_STATE_NORMAL].green,
        style->text[GTK_STATE_NORMAL].blue);
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(view);
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
    cStr log = cLog::GetLogCopy();
    Say("text-is-log=%d\n", strcmp(text, log) == 0);
    Say("text-has-replacement=%d\n", strstr(text, "\xef\xbf\xbd") != nullptr);
    g_free(text);
    GtkAdjustment* v = gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(gtk_widget_get_parent(GTK_WIDGET(view))));
    Say("scroll value=%.0f page=%.0f upper=%.0f\n", gtk_adjustment_get_value(v), gtk_adjustment_get_page_size(v),
        gtk_adjustment_get_upper(v));
}

// Runs on the toolkit thread, inside the dialogs' own loops too.
gboolean Watch(gpointer) {
    GtkWidget* dialog = FindDialog();
    if (!dialog) return TRUE;
    // Ticks since this window was first seen (a new window may reuse a freed address).
    int ticks = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(dialog), "probe-ticks")) + 1;
    g_object_set_data(G_OBJECT(dialog), "probe-ticks", GINT_TO_POINTER(ticks));
    // The text view scrolls to its end once it has its size: give it a few frames.
    if (ticks != (s_Inspect ? 10 : 1)) return TRUE;
    s_Dialogs++;
    Say("dialog %s toolkit-thread=%d visible=%d\n", gtk_window_get_title(GTK_WINDOW(dialog)),
        cLinuxMain_IsToolkitThread() ? 1 : 0, cLog::IsVisible() ? 1 : 0);
    ReportButtons(dialog);
    if (s_Inspect) {
        ReportProperties(dialog);
        gtk_widget_destroy(dialog);
    }
    Say("ready %d\n", s_Dialogs);
    return TRUE;
}

void WarnMany(void* p) {
    int n = *static_cast<int*>(p);
    for (int i = 0; i < n; i++) cLog::Warning("worker warning %d", i);
}

// Worker scenario: leaves the outer loop once no dialog showed for 700 ms.
gboolean WorkerQuiet(gpointer) {
    static bool secondBurst = false;
    if (cLog::IsVisible()) {
        // A burst while the dialog is up (the workers must not wait for it):
        // shown once, after this dialog closes.
        if (!secondBurst) {
            secondBurst = true;
            static int n = 5;
            unsigned long worker = cThread::CreateThread(WarnMany, &n);
            cThread::WaitAndDeleteThread(&worker);
            Say("second burst done visible=%d\n", cLog::IsVisible() ? 1 : 0);
        }
        s_QuietSince = g_get_monotonic_time();
        return TRUE;
    }
    if (s_Dialogs > 0 && g_get_monotonic_time() - s_QuietSince > 700000) {
        gtk_main_quit();
        return FALSE;
    }
    return TRUE;
}

int RunWorker() {
    static int n = 20;
    unsigned long worker = cThread::CreateThread(WarnMany, &n);
    cThread::WaitAndDeleteThread(&worker);
    cStr log = cLog::GetLogCopy();
    Say("worker done visible=%d logged=%d\n", cLog::IsVisible() ? 1 : 0, strstr(log, "worker warning 19") != nullptr);
    g_timeout_add(20, WorkerQuiet, nullptr);
    gtk_main();
    log = cLog::GetLogCopy();
    Say("dialogs=%d lines=%d\n", s_Dialogs, strstr(log, "worker warning 4\r\n") != nullptr);
    return 0;
}

void GiveNothing(GtkClipboard*, GtkSelectionData*, guint, gpointer) {}

void CopyOnWorker(void* ok) { *static_cast<bool*>(ok) = zozud::cIO::CopyToClipboard("from a worker"); }

// The clipboard around the "Copy" button: no text, the log, text that is not UTF-8, other threads.
int RunCopy() {
    static const GtkTargetEntry noText = {const_cast<gchar*>("application/x-zozud-probe"), 0, 0};
    gtk_clipboard_set_with_data(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), &noText, 1, GiveNothing, nullptr,
                                nullptr);
    cStr clip = "stale";
    bool ok = zozud::cIO::CopyFromClipboard(&clip);
    Say("no-text ok=%d empty=%d\n", ok, clip.IsEmpty());

    cLog::Message("copy line one");
    cLog::Message("Grüße, 世界");
    cLog::Warning("copy me");
    Say("returned %d\n", cLog::GetResult());
    clip = "stale";
    ok = zozud::cIO::CopyFromClipboard(&clip);
    cStr log = cLog::GetLogCopy();
    Say("clipboard ok=%d matches-log=%d length=%d\n", ok, strcmp(clip, log) == 0, clip.Length());

    zozud::cIO::CopyToClipboard("a\xff" "b");
    zozud::cIO::CopyFromClipboard(&clip);
    Say("invalid-utf8 becomes=%d\n", strcmp(clip, "a\xef\xbf\xbd" "b") == 0);

    bool workerOk = true;
    unsigned long worker = cThread::CreateThread(CopyOnWorker, &workerOk);
    cThread::WaitAndDeleteThread(&worker);
    Say("worker copy ok=%d\n", workerOk);
    return 0;
}

int RunInspect(int mode, bool withMain) {
    if (withMain) {
        GtkWidget* main = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_title(GTK_WINDOW(main), "probe main");
        gtk_widget_show(main);
        cLinuxMain_SetWindow(main);
    }
    for (int i = 0; i < 120; i++) cLog::Message("filler line %d", i);
    cLog::Message("not UTF-8: \xff\xfe end");
    s_Inspect = true;
    cLog::ShowDialog(cLog::Mode::Enum(mode));
    Say("returned %d visible=%d\n", cLog::GetResult(), cLog::IsVisible() ? 1 : 0);
    return 0;
}

int Run(const std::string& scenario, int argc, char** argv) {
    if (scenario == "warning") {
        cLog::Message("probe first line");
        cLog::Warning("probe warning %d", 7);
        Say("returned %d\n", cLog::GetResult());
        return 0;
    }
    if (scenario == "error") {
        cLog::Error("probe error");
        Say("returned %d visible=%d\n", cLog::GetResult(), cLog::IsVisible() ? 1 : 0);
        return 0;
    }
    if (scenario == "assert") {
        cLog::Assert("probe assert %d", 1);
        Say("returned %d\n", cLog::GetResult());
        cLog::Assert("probe assert %d", 2);  // silenced after "Ignore Always"
        Say("second returned\n");
        return 0;
    }
    if (scenario == "copy") return RunCopy();
    if (scenario == "worker") return RunWorker();
    if (scenario == "inspect" && argc >= 3) return RunInspect(atoi(argv[2]), argc >= 4 && !strcmp(argv[3], "main"));
    Say("unknown scenario\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    gtk_init(&argc, &argv);
    g_timeout_add_seconds(30, GiveUp, nullptr);
    g_timeout_add(20, Watch, nullptr);
    int status = Run(argv[1], argc, argv);
    return status;
}
