// The modal text input the shell lends the file facade: the multi-line text
// dialog (cIO::InputText) and the one-line popup (cIO::InputString). Both run
// a nested main loop and release held keys afterwards.
#include "platform/linux/LinuxMainInternal.h"
#include "zozud/math/Rect.h"
#include "zozud/widgets/Input.h"

using zozud::cRect;
using zozud::cStr;

namespace {

// ---- Sizes in pixels ----
const int Spacing = 3;             // between the dialog's buttons
const int DialogBorder = 5;        // around the dialog's content and between its rows
const int OkWidth = 70;            // the dialog's OK button; Cancel takes the same width
const int OkHeight = 30;
const int PopupBorder = 1;
const int PopupRightMargin = 50;   // the popup's anchor stays this far from the right edge
const int PopupLeftOfAnchor = 75;  // the popup's left edge, left of the anchor
const int PopupBelowAnchor = 9;    // its top edge, below the anchor
const int EntryX = 1, EntryY = 1, EntryWidth = 120, EntryHeight = 22;
const int PopupOkX = 123, PopupOkY = 0, PopupOkWidth = 27, PopupOkHeight = 24;
const int PopupPollMs = 20;        // how often the popup looks at the pointer

// Everything the two inputs keep while one of them is up (toolkit thread).
struct TextDialogState {
    // The text dialog.
    GtkWidget* window = nullptr;
    GtkWidget* view = nullptr;
    bool       accepted = false;
    cStr*      text = nullptr;  // the caller's text, written on OK

    // The one-line popup.
    GtkWidget* popup = nullptr;
    GtkWidget* entry = nullptr;
    bool       popupAccepted = false;
    bool       pressedBefore = false;  // the button was down when the popup opened
    bool       dragInside = false;     // a press that began inside the popup
    cStr       result;
};

TextDialogState s_State;

// The main window's position and the size of its drawable area, or the
// screen's when there is no main window.
cRect MainWindowRect() {
    GtkWidget* main = cLinuxMain_GetWindow();
    if (!main || !main->window) return cRect(0, 0, (float)gdk_screen_width(), (float)gdk_screen_height());
    gint x = 0, y = 0;
    gdk_window_get_origin(main->window, &x, &y);
    return cRect((float)x, (float)y, (float)(x + main->allocation.width), (float)(y + main->allocation.height));
}

void MakeTransientModal(GtkWidget* window) {
    gtk_window_set_modal(GTK_WINDOW(window), TRUE);
    gtk_window_set_skip_taskbar_hint(GTK_WINDOW(window), TRUE);
    if (GtkWidget* main = cLinuxMain_GetWindow()) gtk_window_set_transient_for(GTK_WINDOW(window), GTK_WINDOW(main));
}

bool IsEscape(const GdkEventKey* event) {
    return !cLinuxMain_Codes.IsEmpty() && event->hardware_keycode == cLinuxMain_Codes[0];
}

bool IsEnter(const GdkEventKey* event) { return cLinuxMain_EnterCodes.Contains(event->hardware_keycode); }

}  // namespace

// ---- Text dialog ----

namespace {

void TextDialog_ButtonClick(GtkWidget*, gpointer ok) {
    if (ok) {
        s_State.accepted = true;
        GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(s_State.view));
        GtkTextIter start, end;
        gtk_text_buffer_get_bounds(buffer, &start, &end);
        gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
        s_State.text->Copy(text);
        g_free(text);
    }
    gtk_widget_destroy(s_State.window);
}

gboolean TextDialog_KeyboardHandler(GtkWidget*, GdkEventKey* event, gpointer) {
    if (event->type == GDK_KEY_PRESS && IsEscape(event)) {
        gtk_widget_destroy(s_State.window);
        return TRUE;
    }
    return FALSE;
}

// x = -1 is the horizontal centre of the main window, y = -1 the vertical
// centre; a given y counts from the bottom edge.
cRect TextDialogRect(int x, int y, int width, int height) {
    cRect main = MainWindowRect();
    float cx = x == -1 ? main.GetWidth() / 2 : (float)x;
    float cy = y == -1 ? main.GetHeight() / 2 : main.GetHeight() - (float)y;
    cRect r(cx - width / 2.0f, cy - height / 2.0f, cx + width / 2.0f, cy + height / 2.0f);
    r.Translate(main.x0, main.y0);
    r.AlignInside(main);
    return r;
}

GtkWidget* TextDialogButtons() {
    GtkWidget* row = gtk_hbox_new(TRUE, Spacing);
    GtkWidget* ok = gtk_button_new_with_label("OK");
    gtk_widget_set_size_request(ok, OkWidth, OkHeight);
    g_signal_connect(ok, "clicked", G_CALLBACK(TextDialog_ButtonClick), GINT_TO_POINTER(1));
    GtkWidget* cancel = gtk_button_new_with_label("Cancel");
    g_signal_connect(cancel, "clicked", G_CALLBACK(TextDialog_ButtonClick), nullptr);
    gtk_container_add(GTK_CONTAINER(row), ok);
    gtk_container_add(GTK_CONTAINER(row), cancel);
    GtkWidget* align = gtk_alignment_new(1.0f, 0, 0, 0);
    gtk_container_add(GTK_CONTAINER(align), row);
    return align;
}

GtkWidget* TextDialogView(const cStr& text) {
    GtkWidget* scroll = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroll), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
    s_State.view = gtk_text_view_new();
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(s_State.view));
    gtk_text_buffer_set_text(buffer, text, text.Length());
    GtkTextIter end;
    gtk_text_buffer_get_end_iter(buffer, &end);
    gtk_text_buffer_place_cursor(buffer, &end);
    GtkTextMark* mark = gtk_text_buffer_create_mark(buffer, nullptr, &end, FALSE);
    gtk_text_view_scroll_to_mark(GTK_TEXT_VIEW(s_State.view), mark, 0, FALSE, 0, 0);
    gtk_container_add(GTK_CONTAINER(scroll), s_State.view);
    return scroll;
}

void MakeTextDialog(const cRect& place, int width, int height, const cStr& text, const char* title) {
    GtkWidget* w = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    s_State.window = w;
    gtk_window_set_gravity(GTK_WINDOW(w), GDK_GRAVITY_STATIC);
    MakeTransientModal(w);
    gtk_window_set_default_size(GTK_WINDOW(w), width, height);
    gtk_container_set_border_width(GTK_CONTAINER(w), DialogBorder);
    if (title && *title) {
        gtk_window_set_type_hint(GTK_WINDOW(w), GDK_WINDOW_TYPE_HINT_DIALOG);
        gtk_window_set_title(GTK_WINDOW(w), title);
        gtk_window_set_deletable(GTK_WINDOW(w), FALSE);
    } else {
        gtk_window_set_decorated(GTK_WINDOW(w), FALSE);
    }
    gtk_window_move(GTK_WINDOW(w), (int)place.x0, (int)place.y0);
    GtkWidget* box = gtk_vbox_new(FALSE, DialogBorder);
    gtk_box_pack_start(GTK_BOX(box), TextDialogView(text), TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(box), TextDialogButtons(), FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(w), box);
    g_signal_connect(w, "key_press_event", G_CALLBACK(TextDialog_KeyboardHandler), nullptr);
    g_signal_connect(w, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    gtk_widget_show_all(w);
}

}  // namespace

bool cLinuxMain_InputText(int x, int y, int width, int height, cStr* text, const char* title) {
    s_State.accepted = false;
    s_State.text = text;
    MakeTextDialog(TextDialogRect(x, y, width, height), width, height, *text, title);
    gtk_main();
    s_State.window = s_State.view = nullptr;
    cLinuxMain_RepeatedClear();
    zozud::cInput::FreeEvents();
    return s_State.accepted;
}

// ---- One-line popup ----

namespace {

void InputString_Accept() {
    s_State.popupAccepted = true;
    s_State.result.Copy(gtk_entry_get_text(GTK_ENTRY(s_State.entry)));
    gtk_widget_destroy(s_State.popup);
}

void InputString_ButtonClick(GtkWidget*, gpointer) { InputString_Accept(); }

gboolean InputString_KeyboardHandler(GtkWidget*, GdkEventKey* event, gpointer) {
    if (event->type != GDK_KEY_PRESS) return FALSE;
    if (IsEnter(event)) {
        InputString_Accept();
        return TRUE;
    }
    if (IsEscape(event)) {
        gtk_widget_destroy(s_State.popup);
        return TRUE;
    }
    return FALSE;
}

bool PointerInside(GtkWidget* w) {
    gint px, py, wx, wy;
    GdkModifierType mask;
    gdk_window_get_pointer(nullptr, &px, &py, &mask);
    gdk_window_get_origin(w->window, &wx, &wy);
    return px >= wx && py >= wy && px < wx + w->allocation.width && py < wy + w->allocation.height;
}

// Polls the pointer every PopupPollMs: a press outside the popup accepts it,
// except a press that began before it opened or a drag begun inside it.
gboolean InputString_Timer(gpointer) {
    if (!s_State.popup || !s_State.popup->window) return TRUE;
    GdkModifierType mask;
    gdk_window_get_pointer(nullptr, nullptr, nullptr, &mask);
    if (!(mask & GDK_BUTTON1_MASK)) {
        s_State.pressedBefore = false;
        s_State.dragInside = false;
        return TRUE;
    }
    if (s_State.pressedBefore || s_State.dragInside) return TRUE;
    if (PointerInside(s_State.popup)) {
        s_State.dragInside = true;
        return TRUE;
    }
    InputString_Accept();
    return FALSE;
}

}  // namespace

// The popup is placed against the main viewer in an application that has
// one; this program has none, so the main window's client area stands in.
bool cLinuxMain_InputString(int x, int y, cStr* text, int) {
    cRect main = MainWindowRect();
    if (x > main.GetWidth() - PopupRightMargin) x = (int)main.GetWidth() - PopupRightMargin;
    int top = (int)main.GetHeight() - y;
    s_State.popup = s_State.entry = nullptr;
    s_State.popupAccepted = s_State.pressedBefore = s_State.dragInside = false;
    s_State.result.Clear();
    GdkModifierType mask;
    gdk_window_get_pointer(nullptr, nullptr, nullptr, &mask);
    s_State.pressedBefore = (mask & GDK_BUTTON1_MASK) != 0;
    GtkWidget* w = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    s_State.popup = w;
    gtk_window_set_resizable(GTK_WINDOW(w), FALSE);
    gtk_window_set_decorated(GTK_WINDOW(w), FALSE);
    MakeTransientModal(w);
    gtk_container_set_border_width(GTK_CONTAINER(w), PopupBorder);
    gtk_window_move(GTK_WINDOW(w), (int)main.x0 + x - PopupLeftOfAnchor, (int)main.y0 + top + PopupBelowAnchor);
    GtkWidget* fixed = gtk_fixed_new();
    s_State.entry = gtk_entry_new();
    gtk_entry_set_text(GTK_ENTRY(s_State.entry), *text);
    gtk_widget_set_size_request(s_State.entry, EntryWidth, EntryHeight);
    gtk_fixed_put(GTK_FIXED(fixed), s_State.entry, EntryX, EntryY);
    GtkWidget* ok = gtk_button_new_with_label("ok");
    gtk_widget_set_size_request(ok, PopupOkWidth, PopupOkHeight);
    gtk_fixed_put(GTK_FIXED(fixed), ok, PopupOkX, PopupOkY);
    gtk_container_add(GTK_CONTAINER(w), fixed);
    g_signal_connect(ok, "clicked", G_CALLBACK(InputString_ButtonClick), nullptr);
    g_signal_connect(w, "key_press_event", G_CALLBACK(InputString_KeyboardHandler), nullptr);
    g_signal_connect(w, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    gtk_widget_show_all(w);
    gtk_editable_select_region(GTK_EDITABLE(s_State.entry), 0, -1);
    guint timer = g_timeout_add(PopupPollMs, InputString_Timer, nullptr);
    gtk_main();
    g_source_remove(timer);
    s_State.popup = nullptr;
    cLinuxMain_RepeatedClear();
    if (s_State.popupAccepted) text->Copy(s_State.result);
    zozud::cInput::FreeEvents();
    return s_State.popupAccepted;
}
