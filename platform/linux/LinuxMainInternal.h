// The Linux platform shell's own side, for its files and its tests: the
// state main fills at start-up (command line, key tables, key flags,
// cursors), the start-up steps, the window's GTK handlers and render cycle,
// the services lent to the framework, drops, tablets and the 3D mouse.
// It brings GTK but not Xlib: the X display and event are declared as Xlib
// declares them, and the files that call Xlib include it themselves.
#pragma once

#include <gtk/gtk.h>
#include <pthread.h>

#include "platform/linux/LinuxMain.h"
#include "zozud/widgets/Input.h"

typedef struct _XDisplay Display;  // as Xlib declares them
typedef union _XEvent XEvent;

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

// ---- Start-up steps of main, after cLinuxMain_LendServices ----
void cLinuxMain_JoinCmdLine(int argc, char** argv);
void cLinuxMain_InstallCrashHandler();
void cLinuxMain_BuildKeyTables();
int  cLinuxMain_CreateCursors();  // the cursor set and the display; 0
// The framework's window with the OpenGL device, run until the main loop
// quits: 0, or -1 ("Couldn't choose visual") when the device cannot start.
int  cLinuxMain_Run();

// ---- Services within the shell ----
zozud::cList<int>* cLinuxMain_GetCodes();
zozud::cList<int>* cLinuxMain_GetEnterCodes();
Display*   cLinuxMain_GetDisplay();
void       cLinuxMain_RepeatedClear();  // releases every held key (after a modal dialog)
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

// ---- The live keyboard, the cursor and the pointer (cInput::ShellHooks) ----
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
gboolean cLinuxMain_FileDialogFilter(const GtkFileFilterInfo* info, void*);
