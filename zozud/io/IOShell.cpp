// The clipboard, modal text input and file dialogs of the facade, forwarded
// to the functions the platform shell lent at start-up (cIO::ShellHooks).
#include "zozud/io/Codec.h"
#include "zozud/io/IO.h"

namespace zozud {

namespace {

cIO::ShellHooks s_Shell;

}  // namespace

void cIO::SetShellHooks(const ShellHooks& hooks) { s_Shell = hooks; }

bool cIO::CopyToClipboard(const char* text) { return s_Shell.copyToClipboard && s_Shell.copyToClipboard(text); }

bool cIO::CopyFromClipboard(cStr* text) { return s_Shell.copyFromClipboard && s_Shell.copyFromClipboard(text); }

bool cIO::InputText(int x, int y, int width, int height, cStr* text, const char* title) {
    return s_Shell.inputText && s_Shell.inputText(x, y, width, height, text, title);
}

bool cIO::InputString(int x, int y, cStr* text, int flags) {
    return s_Shell.inputString && s_Shell.inputString(x, y, text, flags);
}

bool cIO::LoadImageDialog(cStr* file, const char* title) {
    if (!file || !s_Shell.loadFileDialog) return false;
    cList<cStr> extensions;
    for (const cIO_CodecEntry<ImageCodec>& codec : GetImageCodecs()) extensions.Add(codec.Ext);
    // Opens at the initial file when there is one, else in the initial folder.
    cStr chosen = GetImageDialogInitialPath();
    if (!GetImageDialogInitialFile().IsEmpty()) chosen.AppendPath(GetImageDialogInitialFile());
    else if (!chosen.IsEmpty() && chosen.GetLast() != '/' && chosen.GetLast() != '\\') chosen += "/";
    chosen.BackSlashesToSlashes();
    if (!s_Shell.loadFileDialog(title, extensions, &chosen) || chosen.IsEmpty()) return false;
    chosen.BackSlashesToSlashes();
    *file = chosen;
    cStr folder = chosen.GetFilePath();
    folder.BackSlashesToSlashes();
    SetImageDialogInitialPath(folder);
    SetImageDialogInitialFile(chosen.GetFileName());
    return true;
}

}  // namespace zozud
