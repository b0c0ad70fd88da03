// The mouse cursor set, made for applications whose cMain_OnPreInit returns.
#include <gdk/gdkx.h>

#include "platform/linux/LinuxMain.h"
#include "zozud/core/Log.h"
#include "zozud/io/IO.h"

GdkCursor* cLinuxMain_Cursors[12];
Display*   cLinuxMain_Display = nullptr;

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

// Slot 0 becomes the arrow of "Cursors/Arrow.bmp" when the display can show
// colour cursors with alpha of at least 32 by 32 and the file decodes; the
// bitmap decoder arrives with the image codecs, until then left_ptr stays.
void TryArrowCursor(GdkDisplay* display) {
    if (!gdk_display_supports_cursor_color(display) || !gdk_display_supports_cursor_alpha(display)) return;
    guint w = 0, h = 0;
    gdk_display_get_maximal_cursor_size(display, &w, &h);
    if (w < 32 || h < 32) return;
    zozud::cFile file;
    if (!zozud::cIO::LoadFile("Cursors/Arrow.bmp", &file, false)) return;
}

}  // namespace

int cLinuxMain_CreateCursors() {
    GdkDisplay* display = gdk_display_get_default();
    for (int i = 0; i < 11; i++) cLinuxMain_Cursors[i] = gdk_cursor_new_for_display(display, CursorTypes[i]);
    cLinuxMain_Cursors[11] = InvisibleCursor(display);
    TryArrowCursor(display);
    cLinuxMain_Display = gdk_x11_display_get_xdisplay(display);
    zozud::cLog::Error("Couldn't choose visual");
    return -1;
}
