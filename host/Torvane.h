// Torvane, the host program: its service log, its socket layer and listener
// with the HTTP pages, and its control window. Everything runs inside the
// application hook cMain_OnPreInit.
#pragma once

#include <gtk/gtk.h>
#include <netinet/in.h>
#include <pthread.h>
#include <sys/socket.h>

#include "zozud/core/List.h"
#include "zozud/core/Str.h"

// ---- Service log ----
struct Torvane_Log {
    static zozud::cStr     s_Text;          // the log as shown; a little over 50000 characters at most
    static zozud::cStr     s_FilePathName;  // the log file
    static pthread_mutex_t s_Mutex;         // guards s_Text and the file
    static const int MaxLength = 50000;     // longer text loses its first TrimLength characters
    static const int TrimLength = 5000;
};

void Torvane_Message(const char* text);                         // one entry, verbatim
void _msg(const char* fmt, ...) __attribute__((format(printf, 1, 2)));  // one time-stamped entry
void Torvane_LastEntries(const char* const* messages, int count);  // time-stamped, in one block; the log takes no more
void Torvane_GetLog(zozud::cStr* out);
void Torvane_StartLog();          // applies TORVANE_LOGFILE, removes the old file, creates s_Mutex
bool Torvane_LogStarted();        // s_Mutex exists
void Torvane_HoldLogForExit();    // locks the log and its clock for good, just before exit()
void Torvane_StartTrace();        // creates the trace number mutex, reads TORVANE_DEBUG
bool Torvane_TraceEnabled();
int  Torvane_NextTraceID();       // the next trace number, from 0
zozud::cStr Torvane_WorkingPath(const char* name);  // a relative name made absolute against the working folder

// ---- Sockets ----
class CSocket {
public:
    static zozud::cList<int> m_Sockets;  // every descriptor opened or accepted and not yet closed
    static pthread_mutex_t   m_Mutex;

    static void Init();
    static int  Open(int domain, int type, int protocol);
    static int  Accept(int s, sockaddr* addr, unsigned* len);
    static void Close(int* s);  // leaves a descriptor that is not registered alone
    static void Free();         // closes every registered descriptor
    static int  Count();
};

// ---- Listener and pages ----
extern zozud::cList<in_addr> NetworkInteraces;
extern int                   port;
extern zozud::cStr           PortFile;

void FillNetworkInterfaces();
void ListInterfaces();
void Torvane_OnInit();
void Torvane_Listen();          // reads the port file, lists the interfaces, starts the listeners
void Torvane_StartListeners();
void Torvane_StopListeners();   // returns when every accept thread has closed its socket and ended
void WaitAcceptConnThread(void* arg);
void HandleSocket(void* arg);
bool Torvane_ParsePort(const char* text, int* port);  // false unless text starts with a number from 1 to 65535
int  Torvane_ReadPortFile(int fallback);  // the port file's number; fallback when missing or empty, logged when invalid

enum class Torvane_Page { NoReply, LogPage, StatusPage };
Torvane_Page Torvane_ChoosePage(const char* request, int length);  // what a received request gets
bool Torvane_BuildResponse(const char* request, int length, zozud::cStr* out);

void GenHTTPPacket(const zozud::cStr& body, zozud::cStr* out);
void GenHtmlWithTitleAndBody(zozud::cStr* out, const char* title, const char* body);
void GenHtmlList(const zozud::cList<zozud::cStr>& items, zozud::cStr* out);
void GenHtmlLog(zozud::cStr* out);
void GenHtmlStatus(zozud::cStr* out);

// ---- Control window ----
extern GtkWidget* Linux_Dialog;
extern GtkWidget* Linux_Scroll;
extern GtkWidget* Linux_View;
extern GtkWidget* Linux_Hbox;
extern GtkWidget* Linux_Halign;
extern GtkWidget* Linux_Vbox;
extern zozud::cList<GtkWidget*> Linux_Buttons;
extern const char* const Torvane_View_ButtonText[3];

void Torvane_StartGUI();
void Torvane_BuildWindow();  // the window of Torvane_StartGUI, without running the loop
void Linux_ButtonClick(GtkWidget* button, void*);
void Linux_DisplayLog();
gboolean Linux_DeleteHandler(GtkWidget*, GdkEvent*, gpointer);
gboolean Linux_OnInitTimer(gpointer);
gboolean Linux_OnProcessTimer(gpointer);
bool Torvane_AreYouSureYouWanToQuit();
int  Torvane_GetPort();
void Torvane_OnEnterPort(int newPort);
void Torvane_EditPort();
void Torvane_RestartServer();
void Torvane_Exit();

// ---- Process ----
void Torvane_OnExit();
void Torvane_OnFree();
