// The mouse cursor set, made for applications whose cMain_OnPreInit returns,
// and the cursor and pointer services lent to the input layer.
#include <cstring>

#include "platform/linux/LinuxMainInternal.h"
#include "zozud/core/Log.h"
#include "zozud/image/CodecBmp.h"
#include "zozud/image/Image.h"
#include "zozud/io/IO.h"

// Last: Xlib's macro None would clash with cFormat::None above.
#include <gdk/gdkx.h>

GdkCursor* cLinuxMain_Cursors[12];
Display*   cLinuxMain_Display = nullptr;
int        cLinuxMain_CurCursorIndex = -1;

namespace {

const GdkCursorType CursorTypes[11] = {
    GDK_LEFT_PTR, GDK_SB_UP_ARROW, GDK_SB_H_DOUBLE_ARROW, GDK_SB_V_DOUBLE_ARROW, GDK_BOTTOM_LEFT_CORNER,
    GDK_BOTTOM_RIGHT_CORNER, GDK_FLEUR, GDK_XTERM, GDK_TCROSS, GDK_WATCH, GDK_CIRCLE,
};

GdkCursor* InvisibleCursor(GdkDisplay* display) {
    static const gchar bits[1] = {0};
    GdkPixmap* pixmap = gdk_bitmap_create_from_data(gdk_get_default_root_window(), bits, 1, 1);
    GdkColor black = {0, 0, 0, 0};
    GdkCursor* cursor = gdk_cursor_new_from_pixmap(pixmap, pixmap, &black, &black, 0, 0);
    g_object_unref(pixmap);
    (void)display;
    return cursor;
}

// A pixbuf of the image's 8-bit RGBA rows, the top row first; null when the
// image has no such form.
GdkPixbuf* PixbufOf(zozud::cImage* image) {
    if (!image->Flip() || !image->ToFormat(zozud::cFormat::Rgba8)) return nullptr;
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, image->Width, image->Height);
    if (!pixbuf) return nullptr;
    const int rowstride = gdk_pixbuf_get_rowstride(pixbuf), row = image->Width * 4;
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    for (int y = 0; y < image->Height; y++)
        memcpy(pixels + (size_t)y * rowstride, image->Pixels + (size_t)y * row, row);
    return pixbuf;
}

// Slot 0 becomes the arrow of "Cursors/Arrow.bmp", hot spot (0, 0), when the
// display can show colour cursors with alpha of at least 32 by 32 and the
// file decodes; otherwise left_ptr stays.
void TryArrowCursor(GdkDisplay* display) {
    if (!gdk_display_supports_cursor_color(display) || !gdk_display_supports_cursor_alpha(display)) return;
    guint w = 0, h = 0;
    gdk_display_get_maximal_cursor_size(display, &w, &h);
    if (w < 32 || h < 32) return;
    zozud::cFile file;
    if (!zozud::cIO::LoadFile("Cursors/Arrow.bmp", &file, false)) return;
    zozud::cImage image;
    zozud::cCodecBmp bmp;
    if (!bmp.Decode(file, &image)) return;
    GdkPixbuf* pixbuf = PixbufOf(&image);
    if (!pixbuf) return;
    GdkCursor* arrow = gdk_cursor_new_from_pixbuf(display, pixbuf, 0, 0);
    g_object_unref(pixbuf);
    if (!arrow) return;
    gdk_cursor_unref(cLinuxMain_Cursors[0]);
    cLinuxMain_Cursors[0] = arrow;
}

}  // namespace

int cLinuxMain_CreateCursors() {
    GdkDisplay* display = gdk_display_get_default();
    for (int i = 0; i < 11; i++) cLinuxMain_Cursors[i] = gdk_cursor_new_for_display(display, CursorTypes[i]);
    cLinuxMain_Cursors[11] = InvisibleCursor(display);
    TryArrowCursor(display);
    cLinuxMain_Display = gdk_x11_display_get_xdisplay(display);
    return 0;
}

// The window's cursor changes only when the index differs from the current
// one; nothing happens before the window and the cursor set exist.
void cLinuxMain_SetCursor(int index) {
    GtkWidget* window = cLinuxMain_GetWindow();
    if (index < 0 || index >= 12 || index == cLinuxMain_CurCursorIndex) return;
    if (!window || !window->window || !cLinuxMain_Cursors[index]) return;
    gdk_window_set_cursor(window->window, cLinuxMain_Cursors[index]);
    cLinuxMain_CurCursorIndex = index;
}

// (x, y) in the client area, y counted up from its bottom when yUp is set.
void cLinuxMain_WarpCursor(int x, int y, bool yUp) {
    GtkWidget* window = cLinuxMain_GetWindow();
    if (!window || !window->window) return;
    if (yUp) y = window->allocation.height - y;
    gint originX = 0, originY = 0;
    gdk_window_get_origin(window->window, &originX, &originY);
    GdkDisplay* display = gdk_display_get_default();
    gdk_display_warp_pointer(display, gdk_display_get_default_screen(display), originX + x, originY + y);
}
