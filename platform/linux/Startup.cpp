// Start-up state of the shell: the joined command line, the crash handler and
// the key tables that translate X keycodes into the framework's key set.
#include <signal.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/linux/LinuxMainInternal.h"
#include "zozud/io/IO.h"
#include "zozud/view/ClassExplorer.h"
#include "zozud/view/Spline.h"
#include "zozud/widgets/FilePn.h"
#include "zozud/widgets/Input.h"
#include "zozud/widgets/Settings.h"

using zozud::cList;
using zozud::cStr;

cStr        cLinuxMain_CmdLineArgs;
cList<int>  cLinuxMain_KeySyms;
cList<int>  cLinuxMain_Codes;
cList<int>  cLinuxMain_EnterCodes;
cList<int>  cLinuxMain_ShiftCodes;
cList<int>  cLinuxMain_ControlCodes;
cList<int>  cLinuxMain_AltCodes;
cList<bool> cLinuxMain_Repeated;
pthread_mutex_t cLinuxMain_GetKeysMutex;

// The framework's key set; the index is the keyboard input code.
const int cLinuxMain_KeySymTable[cLinuxMain_KeyCount] = {
    0xff1b,                                                                  // Escape
    0xffbe, 0xffbf, 0xffc0, 0xffc1, 0xffc2, 0xffc3, 0xffc4, 0xffc5, 0xffc6,  // F1..F9
    0xffc7, 0xffc8, 0xffc9,                                                  // F10..F12
    0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39,              // 0..9
    0x2d, 0x3d,                                                              // minus, equal
    0xff08, 0xff09,                                                          // BackSpace, Tab
    0xffe5,                                                                  // Caps_Lock
    0xff63, 0xffff,                                                          // Insert, Delete
    0xff50, 0xff57,                                                          // Home, End
    0xff55, 0xff56,                                                          // Prior, Next
    0xff52, 0xff54, 0xff51, 0xff53,                                          // Up, Down, Left, Right
    0x5c,                                                                    // backslash
    0xff0d,                                                                  // Return
    0x5b, 0x5d,                                                              // brackets
    0x3b, 0x27, 0x2c, 0x2e, 0x2f,                                            // ; ' , . /
    0xffe1, 0xffe3, 0xffe9,                                                  // Shift_L, Control_L, Alt_L
    0x20, 0x60,                                                              // space, grave
    0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x4b, 0x4c, 0x4d,  // A..M
    0x4e, 0x4f, 0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a,  // N..Z
    0xffb0, 0xffb1, 0xffb2, 0xffb3, 0xffb4, 0xffb5, 0xffb6, 0xffb7, 0xffb8, 0xffb9,  // KP_0..KP_9
    0xffab, 0xffad, 0xffaa, 0xffaf, 0xffae,                                  // KP + - * / .
};

namespace {

const int EnterSyms[] = {0xff0d, 0xff8d};
const int ShiftSyms[] = {0xffe1, 0xffe2};
const int ControlSyms[] = {0xffe3, 0xffe4};
const int AltSyms[] = {0xffe9, 0xffea, 0xffeb, 0xffec};

void CrashHandler(int) {
    cMain_OnCrash();
    exit(-1);
}

// The keycode of the keymap's first entry for a keysym, 0 when it has none.
int KeycodeOf(int keysym) {
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    if (!gdk_keymap_get_entries_for_keyval(gdk_keymap_get_default(), keysym, &keys, &count)) return 0;
    int code = count > 0 ? (int)keys[0].keycode : 0;
    g_free(keys);
    return code;
}

void ResolveGroup(cList<int>* scratch, const int* syms, int count, cList<int>* out) {
    scratch->AddRange(syms, count);
    for (int i = 0; i < scratch->Count(); i++) out->Add(KeycodeOf((*scratch)[i]));
    scratch->SetCount(0);
}

}  // namespace

void cLinuxMain_JoinCmdLine(int argc, char** argv) {
    for (int i = 1; i < argc; i++) {
        if (!cLinuxMain_CmdLineArgs.IsEmpty()) cLinuxMain_CmdLineArgs.Append(" ");
        cLinuxMain_CmdLineArgs.Append(argv[i]);
    }
}

void cLinuxMain_InstallCrashHandler() {
    struct sigaction action = {};
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGSEGV);
    sigaddset(&action.sa_mask, SIGBUS);
    action.sa_handler = CrashHandler;
    action.sa_flags = 0;
    sigaction(SIGSEGV, &action, nullptr);
    sigaction(SIGBUS, &action, nullptr);
}

void cLinuxMain_BuildKeyTables() {
    for (int i = 0; i < cLinuxMain_KeyCount; i++) cLinuxMain_KeySyms.Add(cLinuxMain_KeySymTable[i]);
    for (int i = 0; i < cLinuxMain_KeySyms.Count(); i++) cLinuxMain_Codes.Add(KeycodeOf(cLinuxMain_KeySyms[i]));
    cList<int> scratch;
    ResolveGroup(&scratch, EnterSyms, 2, &cLinuxMain_EnterCodes);
    ResolveGroup(&scratch, ShiftSyms, 2, &cLinuxMain_ShiftCodes);
    ResolveGroup(&scratch, ControlSyms, 2, &cLinuxMain_ControlCodes);
    ResolveGroup(&scratch, AltSyms, 4, &cLinuxMain_AltCodes);
    cLinuxMain_Repeated.SetCount(cLinuxMain_Codes.Count(), false);
}

zozud::cStr cMain_GetCmdLineArgs() { return cLinuxMain_CmdLineArgs; }
void cMain_Quit() { gtk_main_quit(); }
cList<int>* cLinuxMain_GetCodes() { return &cLinuxMain_Codes; }
cList<int>* cLinuxMain_GetEnterCodes() { return &cLinuxMain_EnterCodes; }

// The shell's services to the framework, lent through the seams the lower
// layers own: the log dialog to the core log, the clipboard, the modal text
// input and the load file chooser to the file facade, the live keyboard, the
// cursor and the pointer to the input layer, the yes/no box to the spline's
// resampling buttons.
// A path field's browse button: any file, starting at the field's path.
static bool BrowseFile(const char* title, zozud::cStr* file) {
    return cLinuxMain_LoadFileDialog(title, zozud::cList<zozud::cStr>(), file, nullptr);
}

// The class explorer's "Load..." and "Save..." dialogs, for XML files.
static bool LoadXmlFile(const char* title, zozud::cStr* file) {
    zozud::cList<zozud::cStr> xml;
    xml.Add(zozud::cStr("xml"));
    return cLinuxMain_LoadFileDialog(title, xml, file, nullptr);
}

static bool SaveXmlFile(const char* title, zozud::cStr* file) {
    zozud::cList<zozud::cStr> xml;
    xml.Add(zozud::cStr("xml"));
    return cLinuxMain_SaveFileDialog(title, xml, file, nullptr, nullptr, nullptr);
}

void cLinuxMain_LendServices() {
    zozud::cLog::DialogHooks dialog;
    dialog.showDialog = cLinuxMain_ShowLogDialog;
    dialog.isVisible = cLinuxMain_IsLogDialogVisible;
    dialog.getResult = cLinuxMain_GetLogDialogResult;
    zozud::cLog::SetDialogHooks(dialog);

    zozud::cIO::ShellHooks shell;
    shell.copyToClipboard = cLinuxMain_CopyToClipboard;
    shell.copyFromClipboard = cLinuxMain_CopyFromClipboard;
    shell.inputText = cLinuxMain_InputText;
    shell.inputString = cLinuxMain_InputString;
    shell.loadFileDialog = [](const char* title, const zozud::cList<zozud::cStr>& extensions, zozud::cStr* file) {
        return cLinuxMain_LoadFileDialog(title, extensions, file, nullptr);
    };
    zozud::cIO::SetShellHooks(shell);

    zozud::cInput::ShellHooks input;
    input.acquireKeyboard = cLinuxMain_AcquireKeyboard;
    input.isKeyDown = cLinuxMain_IsKeyDown;
    input.setCursor = cLinuxMain_SetCursor;
    input.warpCursor = cLinuxMain_WarpCursor;
    zozud::cInput::SetShellHooks(input);

    zozud::cFilePn::SetBrowseHook(BrowseFile);

    zozud::cClassExplorer::FileDialogHooks files;
    files.load = LoadXmlFile;
    files.save = SaveXmlFile;
    zozud::cClassExplorer::SetFileDialogHooks(files);

    zozud::cSettings::ShellHooks settings;
    settings.confirm = cMessageBox::YesNo;
    zozud::cSettings::SetShellHooks(settings);

    zozud::cSpline::SetConfirmHook(cMessageBox::YesNo);
}

bool cLinuxMain_CheckProcessInMemory(const char* name) { return zozud::cIO::CheckProcessInMemory(name); }
