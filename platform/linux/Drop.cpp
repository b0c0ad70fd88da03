// Drag and drop onto the main window: a file URI names a file to open, any
// other text is a URL. The parsing takes the raw drop data, so that nothing a
// drag source sends (over-long text, broken escapes, paths of directories or
// of nothing) reaches the application.
#include <sys/stat.h>

#include <string>

#include "platform/linux/LinuxMainInternal.h"
#include "zozud/io/Codec.h"
#include "zozud/io/File.h"
#include "zozud/io/IO.h"

using zozud::cStr;

zozud::cFile cLinuxMain_DropFile;

namespace {

const size_t MaxDropLength = 4095;
const char   FileScheme[] = "file:///";

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsTrailingSpace(char c) { return c == ' ' || c == '\n' || c == '\r'; }

// Whether the URL names a file that a registered image codec reads: such
// drops belong to the image handling, not to the application.
bool HasImageExtension(const std::string& url) {
    size_t slash = url.rfind('/');
    size_t dot = url.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
    std::string ext = url.substr(dot + 1);
    if (ext.empty()) return false;
    return zozud::cIO_FindCodec(zozud::cIO::GetImageCodecs(), ext.c_str()) != nullptr;
}

}  // namespace

cLinuxMain_Drop::Enum cLinuxMain_ParseDrop(const char* data, size_t length, cStr* target) {
    if (target) target->Clear();
    if (!data) return cLinuxMain_Drop::Nothing;
    // Selection data is text: it ends at its first zero byte.
    size_t n = 0;
    while (n < length && data[n]) n++;
    if (n > MaxDropLength) return cLinuxMain_Drop::Nothing;
    while (n > 0 && IsTrailingSpace(data[n - 1])) n--;
    std::string text(data, n);
    if (text.empty()) return cLinuxMain_Drop::Nothing;

    if (text.compare(0, sizeof FileScheme - 1, FileScheme) == 0) {
        // The path keeps its leading slash; %xx gives the byte it encodes.
        std::string path;
        for (size_t i = sizeof FileScheme - 2; i < text.size(); i++) {
            int hi = -1, lo = -1;
            if (text[i] == '%' && i + 2 < text.size()) {
                hi = HexDigit(text[i + 1]);
                lo = HexDigit(text[i + 2]);
            }
            if (hi >= 0 && lo >= 0) {
                char byte = char(hi * 16 + lo);
                if (byte == 0) return cLinuxMain_Drop::Nothing;  // no path holds a zero byte
                path += byte;
                i += 2;
            } else {
                path += text[i];
            }
        }
        struct stat st;
        if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return cLinuxMain_Drop::Nothing;
        if (target) *target = path.c_str();
        return cLinuxMain_Drop::File;
    }

    std::string url = text.substr(0, text.find('?'));
    if (url.empty() || HasImageExtension(url)) return cLinuxMain_Drop::Nothing;
    if (target) *target = url.c_str();
    return cLinuxMain_Drop::URL;
}

bool cLinuxMain_HandleDrop(const char* data, size_t length) {
    cLinuxMain_DropFile.Clear();
    cStr target;
    switch (cLinuxMain_ParseDrop(data, length, &target)) {
    case cLinuxMain_Drop::File:
        cMain_OnDrop(target.ToChar());
        if (GtkWidget* window = cLinuxMain_GetWindow()) gtk_window_present(GTK_WINDOW(window));
        return true;
    case cLinuxMain_Drop::URL:
        cMain_OnDropURL(target.ToChar());
        return true;
    default:
        return false;
    }
}

// "drag_data_received": a move to the drop point is queued first, so that the
// application sees the drop where it happened; the drag always finishes well.
void cLinuxMain_DragDataReceived(GtkWidget*, GdkDragContext* context, int x, int y, GtkSelectionData* data,
                                 unsigned, unsigned time, void*) {
    int height = 0;
    if (GtkWidget* window = cLinuxMain_GetWindow()) height = window->allocation.height;
    zozud::cInput::AddEvent(zozud::cInput::NewMoveEvent(zozud::cVec2(float(x), float(height - y)), zozud::cVec2(0, 0)));
    const guchar* bytes = data ? gtk_selection_data_get_data(data) : nullptr;
    int length = data ? gtk_selection_data_get_length(data) : 0;
    if (bytes && length > 0) cLinuxMain_HandleDrop(reinterpret_cast<const char*>(bytes), size_t(length));
    gtk_drag_finish(context, TRUE, FALSE, time);
}

// "drag_drop": asks the source for its data (the first target it offers).
gboolean cLinuxMain_DragDrop(GtkWidget* widget, GdkDragContext* context, int, int, unsigned time, void*) {
    GList* targets = context ? context->targets : nullptr;
    if (!targets) return FALSE;
    gtk_drag_get_data(widget, context, GDK_POINTER_TO_ATOM(targets->data), time);
    return TRUE;
}

void cLinuxMain_EnableDrop(GtkWidget* widget) {
    if (!widget) return;
    gtk_drag_dest_set(widget, GtkDestDefaults(GTK_DEST_DEFAULT_MOTION | GTK_DEST_DEFAULT_HIGHLIGHT), nullptr, 0, GDK_ACTION_COPY);
    gtk_drag_dest_add_uri_targets(widget);
    gtk_drag_dest_add_text_targets(widget);
    g_signal_connect(widget, "drag_data_received", G_CALLBACK(cLinuxMain_DragDataReceived), nullptr);
    g_signal_connect(widget, "drag_drop", G_CALLBACK(cLinuxMain_DragDrop), nullptr);
}
