// The Linux platform shell's services to applications (the host, the tools,
// test programs): the main window, message boxes, the log dialog, the
// clipboard, file and font choosers, text drawing, full screen, quitting.
// It brings no GTK, GDK or X11 header, so it may be included in any order;
// the shell's own files and its tests use platform/linux/LinuxMainInternal.h.
#pragma once

#include <cstddef>

#include "zozud/core/List.h"
#include "zozud/core/Log.h"
#include "zozud/core/Main.h"
#include "zozud/core/Str.h"

namespace zozud { class cImage; }
typedef struct _GtkWidget GtkWidget;  // as GTK declares it

// Step 0 of a program, before the others: cFramework::Start, then
// cLinuxMain_LendServices, which fills the framework's seams for the shell's
// services (the log dialog, the clipboard, text input, the live keyboard,
// the cursor, the settings' questions).
void cLinuxMain_LendServices();

// ---- The main window and the process ----
GtkWidget* cLinuxMain_GetWindow();
void       cLinuxMain_SetWindow(GtkWidget* window);
void       cLinuxMain_SetIcon();
void       cLinuxMain_UnfullScreen();
void       cLinuxMain_SetFullScreen(bool on);  // the wanted state; the render cycle applies it
bool       cLinuxMain_GetFullScreen();
void       cLinuxMain_SetExiting();             // the next render cycle ends the process (status 0)
void       cLinuxMain_SetIgnoreSystemPause(bool ignore);  // no 100 ms sleeps while paused
bool       cLinuxMain_IsToolkitThread(); // true on the thread that started the toolkit
bool       cLinuxMain_CheckProcessInMemory(const char* name);

// ---- The log dialog (also lent to the framework as cLog::DialogHooks) ----
// It closes a splash window first.
void cLinuxMain_ShowLogDialog(zozud::cLog::Mode::Enum mode);  // any thread
bool cLinuxMain_IsLogDialogVisible();
int  cLinuxMain_GetLogDialogResult();

// ---- The clipboard and the modal text input ----
bool cLinuxMain_CopyToClipboard(const char* text);
bool cLinuxMain_CopyFromClipboard(zozud::cStr* text);
bool cLinuxMain_CopyImageToClipboard(const zozud::cImage& image);
bool cLinuxMain_CopyImageFromClipboard(zozud::cImage* image);
bool cLinuxMain_InputText(int x, int y, int width, int height, zozud::cStr* text, const char* title);
bool cLinuxMain_InputString(int x, int y, zozud::cStr* text, int);

// ---- The file and font choosers, text drawing, the pen tablet ----
bool cLinuxMain_LoadFileDialog(const char* title, const zozud::cList<zozud::cStr>& extensions, zozud::cStr* file,
                               zozud::cList<zozud::cStr>* files = nullptr);
bool cLinuxMain_SaveFileDialog(const char* title, const zozud::cList<zozud::cStr>& extensions, zozud::cStr* file,
                               const char* = nullptr, const char* = nullptr, const char* = nullptr);
bool cLinuxMain_SelectFolderDialog(const char* title, zozud::cStr* folder, const char* initialFolder);
void cLinuxMain_SetExeMode(bool on);  // file dialogs show executables only
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
