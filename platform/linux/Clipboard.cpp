// The clipboard (CLIPBOARD selection) for text, lent to the file facade
// (cIO::CopyToClipboard, cIO::CopyFromClipboard). GTK may only be used on the
// toolkit thread of a process that started it; anywhere else both calls fail.
#include "platform/linux/LinuxMain.h"

namespace {

bool ClipboardUsable() { return cLinuxMain_IsToolkitThread() && gdk_display_get_default() != nullptr; }

}  // namespace

// The clipboard carries UTF-8: bytes that are not valid UTF-8 become U+FFFD.
bool cLinuxMain_CopyToClipboard(const char* text) {
    if (!ClipboardUsable()) return false;
    gchar* valid = g_utf8_make_valid(text ? text : "", -1);
    gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), valid, -1);
    g_free(valid);
    return true;
}

// Waits for the owner of the clipboard to answer (a nested main loop).
bool cLinuxMain_CopyFromClipboard(zozud::cStr* text) {
    if (!text) return false;
    text->Clear();
    if (!ClipboardUsable()) return false;
    gchar* got = gtk_clipboard_wait_for_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
    if (!got) return false;
    *text = got;
    g_free(got);
    return true;
}
