// The clipboard and modal text input of the facade, forwarded to the
// functions the platform shell lent at start-up (cIO::ShellHooks).
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

}  // namespace zozud
