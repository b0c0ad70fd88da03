// The clipboard (CLIPBOARD selection) for text and images; the text calls are
// lent to the file facade
// (cIO::CopyToClipboard, cIO::CopyFromClipboard). GTK may only be used on the
// toolkit thread of a process that started it; anywhere else both calls fail.
#include <cstring>

#include "platform/linux/LinuxMainInternal.h"
#include "zozud/image/Image.h"

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

// Images travel as pixbufs: 8-bit RGB or RGBA rows, top row first, where the
// framework's images keep their bottom row first.
bool cLinuxMain_CopyImageToClipboard(const zozud::cImage& image) {
    using zozud::cFormat;
    if (!ClipboardUsable() || image.IsEmpty()) return false;
    zozud::cImage copy(image);
    if (!copy.Uncompress() || !copy.RemoveMipMaps()) return false;
    bool alpha = cFormat::GetChannelCount(copy.Format) == 4;
    if (!copy.ToFormat(alpha ? cFormat::Rgba8 : cFormat::Rgb8)) return false;
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, alpha, 8, copy.Width, copy.Height);
    if (!pixbuf) return false;
    int stride = gdk_pixbuf_get_rowstride(pixbuf);
    guchar* rows = gdk_pixbuf_get_pixels(pixbuf);
    int64_t rowBytes = copy.GetRowSize();
    for (int y = 0; y < copy.Height; y++)
        memcpy(rows + int64_t(stride) * y, copy.Pixels + rowBytes * (copy.Height - 1 - y), size_t(rowBytes));
    gtk_clipboard_set_image(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), pixbuf);
    g_object_unref(pixbuf);
    return true;
}

bool cLinuxMain_CopyImageFromClipboard(zozud::cImage* image) {
    using zozud::cFormat;
    if (!image) return false;
    image->Free();
    if (!ClipboardUsable()) return false;
    GdkPixbuf* pixbuf = gtk_clipboard_wait_for_image(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
    if (!pixbuf) return false;
    bool ok = false;
    if (gdk_pixbuf_get_colorspace(pixbuf) == GDK_COLORSPACE_RGB && gdk_pixbuf_get_bits_per_sample(pixbuf) == 8) {
        int channels = gdk_pixbuf_get_n_channels(pixbuf);
        cFormat::Enum format = channels == 4 ? cFormat::Rgba8 : channels == 3 ? cFormat::Rgb8 : cFormat::R8;
        int width = gdk_pixbuf_get_width(pixbuf), height = gdk_pixbuf_get_height(pixbuf);
        int stride = gdk_pixbuf_get_rowstride(pixbuf);
        const guchar* rows = gdk_pixbuf_get_pixels(pixbuf);
        if (width > 0 && height > 0 && image->Create(format, width, height)) {
            int64_t rowBytes = image->GetRowSize();
            for (int y = 0; y < height; y++) {
                const guchar* from = rows + int64_t(stride) * (height - 1 - y);
                unsigned char* to = image->Pixels + rowBytes * y;
                if (format == cFormat::R8 && channels != 1) {  // the first channel of each pixel
                    for (int x = 0; x < width; x++) to[x] = from[x * channels];
                } else {
                    memcpy(to, from, size_t(rowBytes));
                }
            }
            ok = true;
        }
    }
    g_object_unref(pixbuf);
    return ok;
}
