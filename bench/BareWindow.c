/* A bare GTK 2 window with the widgets of Torvane's control window and nothing
 * else: a 610x600 window, a scrolled white-on-black text view and a homogeneous
 * row of three buttons at the left. scripts/load.sh compares Torvane's resident
 * memory with this program's, so the cost of the toolkit itself is known.
 * Not part of the product.
 *
 * Usage: bare-window [TEXT-FILE]   shows the file in the text view, if given;
 * the window closes itself after two minutes so a forgotten run cannot linger.
 * Build: gcc -O2 BareWindow.c -o bare-window $(pkg-config --cflags --libs gtk+-2.0)
 */
#include <gtk/gtk.h>

static const int LifetimeSeconds = 120;

static GtkWidget* make_log_view(const char* path) {
    GtkWidget* scroll = gtk_scrolled_window_new(NULL, NULL);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroll), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
    GtkWidget* view = gtk_text_view_new();
    gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
    GdkColor black = {0, 0, 0, 0}, white = {0, 0xffff, 0xffff, 0xffff};
    gtk_widget_modify_base(view, GTK_STATE_NORMAL, &black);
    gtk_widget_modify_text(view, GTK_STATE_NORMAL, &white);
    gchar* text = NULL;
    gsize length = 0;
    if (path && g_file_get_contents(path, &text, &length, NULL)) {
        gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view)), text, (gint)length);
        g_free(text);
    }
    gtk_container_add(GTK_CONTAINER(scroll), view);
    return scroll;
}

static GtkWidget* make_button_row(void) {
    static const char* const labels[3] = {"Edit Port", "Restart Server", "Exit"};
    GtkWidget* row = gtk_hbox_new(TRUE, 3);
    for (int i = 0; i < 3; i++) gtk_container_add(GTK_CONTAINER(row), gtk_button_new_with_label(labels[i]));
    GtkWidget* align = gtk_alignment_new(0, 0, 0, 0);
    gtk_container_add(GTK_CONTAINER(align), row);
    return align;
}

static gboolean quit_loop(gpointer unused) {
    (void)unused;
    gtk_main_quit();
    return FALSE;
}

int main(int argc, char** argv) {
    gtk_init(&argc, &argv);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "BareWindow");
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    gtk_window_set_default_size(GTK_WINDOW(window), 610, 600);
    gtk_container_set_border_width(GTK_CONTAINER(window), 10);
    GtkWidget* vbox = gtk_vbox_new(FALSE, 10);
    gtk_container_add(GTK_CONTAINER(window), vbox);
    gtk_box_pack_start(GTK_BOX(vbox), make_log_view(argc > 1 ? argv[1] : NULL), TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(vbox), make_button_row(), FALSE, FALSE, 0);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);
    gtk_widget_show_all(window);
    g_timeout_add_seconds(LifetimeSeconds, quit_loop, NULL);
    gtk_main();
    return 0;
}
