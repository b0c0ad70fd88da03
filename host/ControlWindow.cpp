// The control window: the service log as live white-on-black text above a row
// of three buttons (Edit Port, Restart Server, Exit), with the confirmations
// and the port dialog they open. Everything here runs on the toolkit thread.
#include <gtk/gtk.h>

#include <cerrno>
#include <cstring>

#include "host/Torvane.h"
#include "platform/linux/LinuxMain.h"
#include "zozud/core/Log.h"
#include "zozud/io/IO.h"

using zozud::cIO;
using zozud::cList;
using zozud::cStr;

GtkWidget* Linux_Dialog = nullptr;
GtkWidget* Linux_Scroll = nullptr;
GtkWidget* Linux_View = nullptr;
GtkWidget* Linux_Hbox = nullptr;
GtkWidget* Linux_Halign = nullptr;
GtkWidget* Linux_Vbox = nullptr;
cList<GtkWidget*> Linux_Buttons;
const char* const Torvane_View_ButtonText[3] = {"Edit Port", "Restart Server", "Exit"};

namespace {

const int InitDelayMs = 100;
const int RefreshMs = 5000;

GtkWidget* MakeLogView() {
    Linux_Scroll = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(Linux_Scroll), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
    Linux_View = gtk_text_view_new();
    gtk_text_view_set_editable(GTK_TEXT_VIEW(Linux_View), FALSE);
    GdkColor black = {0, 0, 0, 0}, white = {0, 0xffff, 0xffff, 0xffff};
    gtk_widget_modify_base(Linux_View, GTK_STATE_NORMAL, &black);
    gtk_widget_modify_text(Linux_View, GTK_STATE_NORMAL, &white);
    gtk_container_add(GTK_CONTAINER(Linux_Scroll), Linux_View);
    return Linux_Scroll;
}

GtkWidget* MakeButtonRow() {
    Linux_Hbox = gtk_hbox_new(TRUE, 3);
    for (const char* label : Torvane_View_ButtonText) {
        GtkWidget* button = gtk_button_new_with_label(label);
        Linux_Buttons.Add(button);
        gtk_widget_set_sensitive(button, TRUE);
        g_signal_connect(button, "clicked", G_CALLBACK(Linux_ButtonClick), nullptr);
        gtk_container_add(GTK_CONTAINER(Linux_Hbox), button);
    }
    // -1 is clamped to 0 by the toolkit: the row sits at the left edge.
    Linux_Halign = gtk_alignment_new(-1.0f, 0, 0, 0);
    gtk_container_add(GTK_CONTAINER(Linux_Halign), Linux_Hbox);
    return Linux_Halign;
}

}  // namespace

void Torvane_BuildWindow() {
    Linux_Dialog = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(Linux_Dialog), cMain_Title);
    cLinuxMain_SetWindow(Linux_Dialog);
    cLinuxMain_SetIcon();
    gtk_window_set_modal(GTK_WINDOW(Linux_Dialog), TRUE);
    gtk_window_set_position(GTK_WINDOW(Linux_Dialog), GTK_WIN_POS_CENTER);
    gtk_window_set_default_size(GTK_WINDOW(Linux_Dialog), 610, 600);
    gtk_container_set_border_width(GTK_CONTAINER(Linux_Dialog), 10);
    g_signal_connect(Linux_Dialog, "delete_event", G_CALLBACK(Linux_DeleteHandler), nullptr);
    Linux_Vbox = gtk_vbox_new(FALSE, 10);
    gtk_container_add(GTK_CONTAINER(Linux_Dialog), Linux_Vbox);
    gtk_box_pack_start(GTK_BOX(Linux_Vbox), MakeLogView(), TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(Linux_Vbox), MakeButtonRow(), FALSE, FALSE, 0);
    gtk_widget_show_all(Linux_Dialog);
    g_signal_connect(Linux_Dialog, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
}

void Torvane_StartGUI() {
    Torvane_BuildWindow();
    g_timeout_add(InitDelayMs, Linux_OnInitTimer, nullptr);
    gtk_main();
}

gboolean Linux_OnInitTimer(gpointer) {
    Torvane_OnInit();
    Linux_DisplayLog();
    g_timeout_add(RefreshMs, Linux_OnProcessTimer, nullptr);
    return FALSE;
}

gboolean Linux_OnProcessTimer(gpointer) {
    Linux_DisplayLog();
    return TRUE;
}

// Replaces the whole text and scrolls to its end, so the newest entries show
// even when the user had scrolled up.
void Linux_DisplayLog() {
    if (!Linux_View) return;
    cStr text;
    Torvane_GetLog(&text);
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(Linux_View));
    if (g_utf8_validate(text, text.Length(), nullptr)) {
        gtk_text_buffer_set_text(buffer, text, text.Length());
    } else {
        // The toolkit refuses text that is not UTF-8; bad bytes are shown as U+FFFD.
        gchar* valid = g_utf8_make_valid(text, text.Length());
        gtk_text_buffer_set_text(buffer, valid, -1);
        g_free(valid);
    }
    GtkTextIter end;
    gtk_text_buffer_get_end_iter(buffer, &end);
    GtkTextMark* mark = gtk_text_buffer_get_mark(buffer, "torvane-end");
    if (!mark)
        mark = gtk_text_buffer_create_mark(buffer, "torvane-end", &end, FALSE);
    else
        gtk_text_buffer_move_mark(buffer, mark, &end);
    gtk_text_view_scroll_to_mark(GTK_TEXT_VIEW(Linux_View), mark, 0, FALSE, 0, 0);
}

void Linux_ButtonClick(GtkWidget* button, void*) {
    switch (Linux_Buttons.IndexOf(button)) {
        case 0: Torvane_EditPort(); break;
        case 1: Torvane_RestartServer(); break;
        case 2: Torvane_Exit(); break;
        default: break;
    }
}

gboolean Linux_DeleteHandler(GtkWidget*, GdkEvent*, gpointer) {
    if (Torvane_AreYouSureYouWanToQuit()) Torvane_OnExit();
    return TRUE;
}

bool Torvane_AreYouSureYouWanToQuit() {
    cStr question("Are you sure you want to quit ");
    question.Append(cMain_Title);
    question.Append(" ?");
    return cMessageBox::YesNo("Confirm Exit", question);
}

int Torvane_GetPort() { return port; }

void Torvane_OnEnterPort(int newPort) {
    port = newPort;
    cStr text = cStr::Format("%d", newPort);
    cIO::SaveFile(Torvane_WorkingPath(PortFile), text.ToChar(), text.Length(), false, true);
    Torvane_Message(cStr::Format("Entered port is %d", newPort));
    Torvane_Message("Restart the server (Restart Server) to listen on the new port.");
}

void Torvane_EditPort() {
    cStr text = cStr::Format("%d", Torvane_GetPort());
    if (!cIO::InputText(-1, -1, 400, 200, &text, "Enter Port") || text.IsEmpty()) return;
    text.Trim(" \t\n\r");
    int n;
    if (Torvane_ParsePort(text, &n) && n != Torvane_GetPort()) Torvane_OnEnterPort(n);
}

void Torvane_RestartServer() {
    if (!cMessageBox::YesNo("Confirm Restart Server", "Are you sure you want to restart the server ?")) return;
    Torvane_StopListeners();
    Torvane_OnFree();
    cIO::RestartThisApplication();
    // Back here only when the program could not be started again (its file
    // was moved or deleted): the sockets are closed, so listen again in this
    // process, on the port of the port file, rather than leave no server.
    const char* why = strerrordesc_np(errno);  // English whatever the locale
    _msg("Failed to restart Torvane: %s: %s", cIO::GetThisFilePathName().ToChar(), why ? why : "unknown error");
    _msg("Listening again without a restart");
    Torvane_Listen();
    Linux_DisplayLog();
}

void Torvane_Exit() {
    if (!Torvane_AreYouSureYouWanToQuit()) return;
    gtk_widget_destroy(Linux_Dialog);
    Torvane_OnExit();
}
