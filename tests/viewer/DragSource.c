/* A drag source for the viewer's drop test: a window with one button that,
 * dragged, offers the file given on the command line as a text/uri-list. */
#include <gtk/gtk.h>
#include <stdio.h>
#include <string.h>

static const char* s_Uri;

static void OnDragDataGet(GtkWidget* widget, GdkDragContext* context, GtkSelectionData* data, guint info,
                          guint time, gpointer user) {
    (void)widget, (void)context, (void)info, (void)time, (void)user;
    gchar* uris[2] = {(gchar*)s_Uri, NULL};
    gtk_selection_data_set_uris(data, uris);
}

int main(int argc, char** argv) {
    gtk_init(&argc, &argv);
    if (argc < 2) return 2;
    static char uri[4096];
    snprintf(uri, sizeof uri, "file://%s", argv[1]);
    s_Uri = uri;
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "viewer drag source");
    gtk_window_set_default_size(GTK_WINDOW(window), 120, 60);
    gtk_window_move(GTK_WINDOW(window), 660, 40);  /* beside a 640-wide viewer at 0, 0 */
    GtkWidget* button = gtk_button_new_with_label("drag me");
    gtk_container_add(GTK_CONTAINER(window), button);
    static GtkTargetEntry targets[] = {{(gchar*)"text/uri-list", 0, 0}};
    gtk_drag_source_set(button, GDK_BUTTON1_MASK, targets, 1, GDK_ACTION_COPY);
    g_signal_connect(button, "drag-data-get", G_CALLBACK(OnDragDataGet), NULL);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
