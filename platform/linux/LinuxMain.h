// The Linux platform shell: process-wide state that main fills at start-up
// (command line, key tables, key flags) and the shell's services to the
// framework and the host (main window, icon, key flags, message boxes).
#pragma once

#include <gtk/gtk.h>
#include <pthread.h>
#include <X11/Xlib.h>

#include "zozud/core/List.h"
#include "zozud/core/Log.h"
#include "zozud/core/Main.h"
#include "zozud/core/Str.h"
#include "zozud/widgets/Input.h"

namespace zozud { class cImage; }

// ---- State filled by main ----
extern zozud::cStr       cLinuxMain_CmdLineArgs;
extern zozud::cList<int> cLinuxMain_KeySyms;      // the 93 keysyms of the key set
extern zozud::cList<int> cLinuxMain_Codes;        // their keycodes, 0 where the keymap has none
extern zozud::cList<int> cLinuxMain_EnterCodes;   // Return, KP_Enter
extern zozud::cList<int> cLinuxMain_ShiftCodes;   // Shift_L, Shift_R
extern zozud::cList<int> cLinuxMain_ControlCodes; // Control_L, Control_R
extern zozud::cList<int> cLinuxMain_AltCodes;     // Alt_L, Alt_R, Super_L, Super_R
extern zozud::cList<bool> cLinuxMain_Repeated;    // one held flag per keycode
extern pthread_mutex_t   cLinuxMain_GetKeysMutex;
extern GdkCursor*        cLinuxMain_Cursors[12];   // by cInput::Cursor::Enum
extern int               cLinuxMain_CurCursorIndex; // the window's cursor, -1 before the first
extern Display*          cLinuxMain_Display;

const int cLinuxMain_KeyCount = 93;
extern const int cLinuxMain_KeySymTable[cLinuxMain_KeyCount];

// ---- Start-up steps of main ----
// Step 0, before the others: cFramework::Start, then cLinuxMain_LendServices.
void cLinuxMain_LendServices();  // fills the framework's seams for the shell's services (below)
void cLinuxMain_JoinCmdLine(int argc, char** argv);
void cLinuxMain_InstallCrashHandler();
void cLinuxMain_BuildKeyTables();
int  cLinuxMain_CreateCursors();  // the cursor set and the display; 0
// The framework's window with the OpenGL device, run until the main loop
// quits: 0, or -1 ("Couldn't choose visual") when the device cannot start.
int  cLinuxMain_Run();

// ---- Services ----
zozud::cList<int>* cLinuxMain_GetCodes();
zozud::cList<int>* cLinuxMain_GetEnterCodes();
GtkWidget* cLinuxMain_GetWindow();
void       cLinuxMain_SetWindow(GtkWidget* window);
Display*   cLinuxMain_GetDisplay();
void       cLinuxMain_SetIcon();
void       cLinuxMain_RepeatedClear();  // releases every held key (after a modal dialog)
void       cLinuxMain_UnfullScreen();
void       cLinuxMain_SetFullScreen(bool on);  // the wanted state; the render cycle applies it
bool       cLinuxMain_GetFullScreen();
void       cLinuxMain_SetExiting();             // the next render cycle ends the process (status 0)
void       cLinuxMain_SetIgnoreSystemPause(bool ignore);  // no 100 ms sleeps while paused
void       cLinuxMain_LocalToLocal(int x, int y, zozud::cVec2* out);  // (x, height - y)

// ---- The window's handlers and render cycle ----
gboolean cLinuxMain_KeyboardHandler(GtkWidget*, GdkEventKey* event, void*);
gboolean cLinuxMain_MouseButtonHandler(GtkWidget*, GdkEventButton* event, void*);
gboolean cLinuxMain_MouseMotionHandler(GtkWidget*, GdkEventMotion* event, void*);
gboolean cLinuxMain_MouseScrollHandler(GtkWidget*, GdkEventScroll* event, void*);
gboolean cLinuxMain_DeleteHandler();  // the close button: the render cycle asks cMain_OnClose
gboolean cLinuxMain_OnRender(void*);  // one turn of the render cycle
// Nested render loop (modal waits): events, then a render cycle, until
// done(argument) is true; nothing for a null done.
void ProcessRenderCycle(bool (*done)(void*), void* argument);
bool       cLinuxMain_IsToolkitThread(); // true on the thread that started the toolkit
bool       cLinuxMain_CheckProcessInMemory(const char* name);

// ---- Services lent to the framework by cLinuxMain_LendServices ----
// The log dialog (cLog::DialogHooks); it closes a splash window first.
void cLinuxMain_ShowLogDialog(zozud::cLog::Mode::Enum mode);  // any thread
bool cLinuxMain_IsLogDialogVisible();
int  cLinuxMain_GetLogDialogResult();
// The clipboard and the modal text input (cIO::ShellHooks).
bool cLinuxMain_CopyToClipboard(const char* text);
bool cLinuxMain_CopyFromClipboard(zozud::cStr* text);
bool cLinuxMain_InputText(int x, int y, int width, int height, zozud::cStr* text, const char* title);
bool cLinuxMain_InputString(int x, int y, zozud::cStr* text, int);
// The live keyboard, the cursor and the pointer (cInput::ShellHooks).
void cLinuxMain_AcquireKeyboard(zozud::cInput::KeyboardState* state);  // pressed flags and typed characters now
bool cLinuxMain_IsKeyDown(int code);  // keyboard code 0..92 down now
// The first byte of the text a key press typed (X hardware keycode, the
// event's modifier mask and group), 0 for none.
int  cLinuxMain_CharOfKey(int keycode, unsigned int modifiers, int group);
// True while the framework's window runs: its key handler queues the
// character of every key press itself, so none is lost between two polls.
bool cLinuxMain_TypesKeyPresses();
void cLinuxMain_SetCursor(int index); // cursor 0..11 of the main window
void cLinuxMain_WarpCursor(int x, int y, bool yUp);  // pointer to (x, y) of the client area

// ---- Desktop services the window code hooks up ----
// Drag and drop: cLinuxMain_EnableDrop makes a widget a drop target.
struct cLinuxMain_Drop { enum Enum { Nothing, File, URL }; };
cLinuxMain_Drop::Enum cLinuxMain_ParseDrop(const char* data, size_t length, zozud::cStr* target);
bool cLinuxMain_HandleDrop(const char* data, size_t length);  // calls cMain_OnDrop or cMain_OnDropURL
void cLinuxMain_EnableDrop(GtkWidget* widget);
// Pen tablets (GDK extended input devices) and the 3Dconnexion driver.
void cLinuxMain_InitTablet();
class cLinuxMain_3Dconnexion {
public:
    static void Init(GdkWindow* window);  // logs whether the driver is there; filters its messages
    static bool InitEvents();             // whether the driver's three atoms exist
    static bool HandleEvent(const XEvent& event);  // true for the driver's messages
    static GdkFilterReturn FilterProc(void* xevent, GdkEvent*, void*);
    static void GetState(float translation[3], float rotation[3], int buttons[2]);
};
// Clipboard images and the file and font choosers.
bool cLinuxMain_CopyImageToClipboard(const zozud::cImage& image);
bool cLinuxMain_CopyImageFromClipboard(zozud::cImage* image);
bool cLinuxMain_LoadFileDialog(const char* title, const zozud::cList<zozud::cStr>& extensions, zozud::cStr* file,
                               zozud::cList<zozud::cStr>* files = nullptr);
bool cLinuxMain_SaveFileDialog(const char* title, const zozud::cList<zozud::cStr>& extensions, zozud::cStr* file,
                               const char* = nullptr, const char* = nullptr, const char* = nullptr);
bool cLinuxMain_SelectFolderDialog(const char* title, zozud::cStr* folder, const char* initialFolder);
void cLinuxMain_SetExeMode(bool on);  // file dialogs show executables only
gboolean cLinuxMain_FileDialogFilter(const GtkFileFilterInfo* info, void*);
bool cMain_ChooseFont();
zozud::cStr cMain_GetFontName();
bool cMain_GetFontChanged();
void cMain_SetTextSize(int pixels);
int  cMain_GetTextSize();
bool cMain_DrawText(const char* text, zozud::cImage* image, int* width, int* height);
void cMain_GetTabletState(int* pressure, bool* penPressed, bool* eraserUsed, int* fourth);

// ---- Services to the application ----
zozud::cStr cMain_GetCmdLineArgs();  // the arguments after the program name, joined by blanks
void        cMain_Quit();            // ends the toolkit's main loop
void        cMain_SetWindowTitle(const char* title);  // only when it changed
int         cMain_GetClientWidth();
int         cMain_GetClientHeight();

// Modal message boxes over the main window.
class cMessageBox {
public:
    static void Ok(const char* title, const char* text);
    static bool YesNo(const char* title, const char* text);  // true for Yes
};
