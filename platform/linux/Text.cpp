// Text drawn by pango into images: the font textures of the renderer are
// built from them. The font is a pango description made from its name.
#include <pango/pango.h>

#include <cstring>

#include "platform/linux/LinuxMainInternal.h"
#include "zozud/image/Image.h"

using zozud::cStr;

namespace {

cStr                  s_FontName = "Sans 72";
PangoFontDescription* s_FontDesc = nullptr;
bool                  s_FontChanged = false;

PangoFontDescription* FontDesc() {
    if (!s_FontDesc) {
        s_FontDesc = pango_font_description_from_string(s_FontName.ToChar());
        s_FontChanged = true;
    }
    return s_FontDesc;
}

void SetFontName(const char* name) {
    s_FontName = name;
    if (s_FontDesc) pango_font_description_free(s_FontDesc);
    s_FontDesc = nullptr;
    FontDesc();
}

// The smallest power of two at least n, within [low, high].
int PowerOfTwo(int n, int low, int high) {
    int p = low;
    while (p < n && p < high) p *= 2;
    return p;
}

}  // namespace

cStr cMain_GetFontName() { return s_FontName; }

bool cMain_GetFontChanged() {
    FontDesc();
    bool changed = s_FontChanged;
    s_FontChanged = false;
    return changed;
}

void cMain_SetTextSize(int pixels) { pango_font_description_set_absolute_size(FontDesc(), pixels * 1024.0); }
int  cMain_GetTextSize() { return pango_font_description_get_size(FontDesc()) / 1024; }

bool cMain_ChooseFont() {
    GtkWidget* dialog = gtk_font_selection_dialog_new("Select Font");
    if (GtkWidget* parent = cLinuxMain_GetWindow()) gtk_window_set_transient_for(GTK_WINDOW(dialog), GTK_WINDOW(parent));
    gtk_font_selection_dialog_set_font_name(GTK_FONT_SELECTION_DIALOG(dialog), s_FontName.ToChar());
    int response = gtk_dialog_run(GTK_DIALOG(dialog));
    bool chosen = response == GTK_RESPONSE_OK || response == GTK_RESPONSE_APPLY;
    if (chosen) {
        gchar* name = gtk_font_selection_dialog_get_font_name(GTK_FONT_SELECTION_DIALOG(dialog));
        if (name) SetFontName(name);
        g_free(name);
    }
    gtk_widget_destroy(dialog);
    cLinuxMain_RepeatedClear();
    return chosen;
}

// Lays the text out, draws it into an off-screen pixmap of power-of-two size
// in the window style's colours and reads it back as Rgb8, bottom row first.
bool cMain_DrawText(const char* text, zozud::cImage* image, int* width, int* height) {
    if (!image) return false;
    image->Free();
    GdkScreen* screen = gdk_screen_get_default();
    if (!screen) return false;
    PangoContext* context = gdk_pango_context_get_for_screen(screen);
    PangoLayout*  layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, FontDesc());
    pango_layout_set_text(layout, text ? text : "", -1);
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    if (width) *width = w;
    if (height) *height = h;
    int pw = PowerOfTwo(w, 32, 16384), ph = PowerOfTwo(h, 32, 4096);

    GdkWindow* root = gdk_screen_get_root_window(screen);
    GdkPixmap* pixmap = gdk_pixmap_new(root, pw, ph, -1);
    GdkGC*     gc = gdk_gc_new(pixmap);
    GtkStyle*  style = cLinuxMain_GetWindow() ? gtk_widget_get_style(cLinuxMain_GetWindow()) : nullptr;
    GdkColor   background = {0, 0, 0, 0}, foreground = {0, 0xffff, 0xffff, 0xffff};
    if (style) {
        background = style->bg[GTK_STATE_NORMAL];
        foreground = style->fg[GTK_STATE_NORMAL];
    }
    gdk_gc_set_rgb_fg_color(gc, &background);
    gdk_draw_rectangle(pixmap, gc, TRUE, 0, 0, pw, ph);
    gdk_gc_set_rgb_fg_color(gc, &foreground);
    gdk_draw_layout(pixmap, gc, 0, 0, layout);
    GdkPixbuf* pixbuf = gdk_pixbuf_get_from_drawable(nullptr, pixmap, gdk_colormap_get_system(), 0, 0, 0, 0, pw, ph);
    bool ok = false;
    if (pixbuf && image->Create(zozud::cFormat::Rgb8, pw, ph)) {
        int channels = gdk_pixbuf_get_n_channels(pixbuf), stride = gdk_pixbuf_get_rowstride(pixbuf);
        const guchar* rows = gdk_pixbuf_get_pixels(pixbuf);
        for (int y = 0; y < ph; y++) {
            const guchar* from = rows + int64_t(stride) * (ph - 1 - y);
            unsigned char* to = image->Pixels + int64_t(pw) * 3 * y;
            for (int x = 0; x < pw; x++) memcpy(to + x * 3, from + x * channels, 3);
        }
        ok = true;
    }
    if (pixbuf) g_object_unref(pixbuf);
    g_object_unref(gc);
    g_object_unref(pixmap);
    g_object_unref(layout);
    g_object_unref(context);
    return ok;
}
