// The network side: the machine's IPv4 addresses, one accept thread per
// address, and one short-lived thread per connection that receives once,
// answers once and closes. A restart stops the accept threads and waits for
// them; the listener lock is taken before CSocket::m_Mutex, never after.
#include <arpa/inet.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "host/Torvane.h"
#include "zozud/core/Main.h"
#include "zozud/core/Thread.h"
#include "zozud/io/IO.h"

using zozud::cFile;
using zozud::cIO;
using zozud::cList;
using zozud::cStr;
using zozud::cThread;

cList<in_addr> NetworkInteraces;
int            port = 8888;
cStr           PortFile("port.dat");

namespace {

const int DefaultPort = 8888;
const int MaxPort = 65535;
const int InterfaceBufferSize = 1024;
const int InterfaceRecordSize = 40;   // one struct ifreq
const int RequestBufferSize = 4096;   // one receive of at most 4095 bytes
const int Backlog = 128;
const int AcceptPauseMs = 10;
const int ConnectionTimeoutSec = 10;  // a peer that never sends is dropped after this

// What one accept thread listens on.
struct ListenerArgs {
    in_addr address;
    bool    any;  // every address at once, when no interface was found
    int     port;
};

// The accept threads, so that a restart can stop them before the sockets
// are closed: a thread that is still running when its descriptor number is
// reused would accept on someone else's socket. Never destroyed, because
// threads may still reach it while the process ends.
struct ListenerState {
    pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
    pthread_cond_t  ended = PTHREAD_COND_INITIALIZER;
    cList<int>      sockets;          // listening sockets of running threads
    int             threads = 0;      // started and not yet ended
    bool            stopping = false;
    bool            failed = false;   // a bind failed and is ending the process
};

ListenerState& Listeners() {
    static ListenerState* state = new ListenerState;
    return *state;
}

// Only the first failed bind in the whole process ends it; its three
// entries are the last ones of the log.
bool ReportBindFailure() {
    {
        zozud::cMutexLock lock(Listeners().mutex);
        if (Listeners().failed) return false;
        Listeners().failed = true;
    }
    static const char* const entries[] = {"Torvane critical error.", "Unable to create socket.",
                                          "Probably you are running second copy of Torvane."};
    Torvane_LastEntries(entries, 3);
    return true;
}

void SetTimeouts(int s) {
    timeval tv = {ConnectionTimeoutSec, 0};
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof(tv));
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof(tv));
}

// Binds and listens; -1 after logging the failure, with *critical set when
// that failure ends the process.
int OpenListener(const ListenerArgs& args, bool* critical) {
    sockaddr_in sa = {};
    sa.sin_family = AF_INET;
    sa.sin_port = htons((unsigned short)args.port);
    sa.sin_addr.s_addr = args.any ? htonl(INADDR_ANY) : args.address.s_addr;
    int s = CSocket::Open(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s < 0) return -1;
    int one = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &one, sizeof(one));
    if (bind(s, reinterpret_cast<sockaddr*>(&sa), sizeof(sa)) != 0) {
        _msg("Failed to open socket\n");
        CSocket::Close(&s);
        *critical = ReportBindFailure();
        return -1;
    }
    if (listen(s, Backlog) != 0) {
        _msg("Failed to listen socket\n");
        CSocket::Close(&s);
        return -1;
    }
    return s;
}

// Makes the socket one that Torvane_StopListeners shuts down; false (and
// the socket closed) when a stop has already begun.
bool KeepListening(int* s) {
    zozud::cMutexLock lock(Listeners().mutex);
    if (!Listeners().stopping) {
        Listeners().sockets.Add(*s);
        return true;
    }
    CSocket::Close(s);
    return false;
}

// Ends this thread's part: its socket (still its own, as only the thread
// closes it) is closed, and a waiting stop learns it.
void ListenerEnded(int s) {
    zozud::cMutexLock lock(Listeners().mutex);
    if (s >= 0) {
        Listeners().sockets.Remove(s);
        CSocket::Close(&s);
    }
    Listeners().threads--;
    pthread_cond_broadcast(&Listeners().ended);
}

// Starts the connection thread; when no thread can be had, the connection
// is closed at once rather than left open.
void StartConnection(int c) {
    unsigned long thread = cThread::CreateThread(HandleSocket, reinterpret_cast<void*>((intptr_t)c));
    if (!thread) {
        CSocket::Close(&c);
        return;
    }
    cThread::DeleteThread(&thread);
}

// Accepts until the socket is shut down or closed. Other failures concern
// one connection and are retried; running out of descriptors would make the
// retry spin, so it waits a moment first.
void AcceptLoop(int s) {
    for (;;) {
        sockaddr_in peer;
        unsigned len = sizeof(peer);
        int c = CSocket::Accept(s, reinterpret_cast<sockaddr*>(&peer), &len);
        if (c >= 0) {
            SetTimeouts(c);
            StartConnection(c);
            cThread::Sleep(AcceptPauseMs);
            continue;
        }
        int error = errno;
        if (error == EINVAL || error == EBADF || error == ENOTSOCK || error == EOPNOTSUPP) return;
        if (error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM) cThread::Sleep(AcceptPauseMs);
    }
}

}  // namespace

void FillNetworkInterfaces() {
    NetworkInteraces.Clear();
    int s = CSocket::Open(AF_INET, SOCK_DGRAM, 0);
    if (s < 0) return;
    char buffer[InterfaceBufferSize];
    ifconf conf = {};
    conf.ifc_len = sizeof(buffer);
    conf.ifc_buf = buffer;
    if (ioctl(s, SIOCGIFCONF, &conf) == 0) {
        int count = conf.ifc_len / InterfaceRecordSize;
        for (int i = 0; i < count; i++) {
            const ifreq* record = reinterpret_cast<const ifreq*>(buffer + i * InterfaceRecordSize);
            NetworkInteraces.Add(reinterpret_cast<const sockaddr_in*>(&record->ifr_addr)->sin_addr);
        }
    }
    CSocket::Close(&s);
}

void ListInterfaces() {
    FillNetworkInterfaces();
    _msg("Found %d interfaces", NetworkInteraces.Count());
    for (const in_addr& a : NetworkInteraces) {
        const unsigned char* b = reinterpret_cast<const unsigned char*>(&a.s_addr);
        _msg("Interface found: %d.%d.%d.%d", b[0], b[1], b[2], b[3]);
    }
}

// Leading blanks are skipped and anything after the digits is ignored; a
// number outside 1..65535 (checked before it can overflow) is no port.
bool Torvane_ParsePort(const char* text, int* out) {
    while (*text == ' ' || *text == '\t' || *text == '\r' || *text == '\n') text++;
    if (*text < '0' || *text > '9') return false;
    long value = 0;
    for (; *text >= '0' && *text <= '9' && value <= MaxPort; text++) value = value * 10 + (*text - '0');
    if (value < 1 || value > MaxPort) return false;
    *out = (int)value;
    return true;
}

int Torvane_ReadPortFile(int fallback) {
    cFile file;
    if (!cIO::LoadFile(Torvane_WorkingPath(PortFile), &file, false) || file.GetSize() == 0) return fallback;
    cStr text(reinterpret_cast<const char*>(file.GetData()), 0, file.GetSize());
    int value;
    if (Torvane_ParsePort(text, &value)) return value;
    _msg("Invalid port in %s (not a number from 1 to %d), using port %d", PortFile.ToChar(), MaxPort, fallback);
    return fallback;
}

void Torvane_OnInit() {
    Torvane_StartTrace();
    CSocket::Init();
    _msg("%s started", cMain_Title.ToChar());
    Torvane_Listen();
}

void Torvane_Listen() {
    port = Torvane_ReadPortFile(DefaultPort);
    _msg("Using port %d", port);
    ListInterfaces();
    Torvane_StartListeners();
}

// One thread per interface, or one on every address when none was found;
// each gets its own copy of what it listens on.
void Torvane_StartListeners() {
    int count = NetworkInteraces.IsEmpty() ? 1 : NetworkInteraces.Count();
    for (int i = 0; i < count; i++) {
        ListenerArgs* args = new ListenerArgs{{}, NetworkInteraces.IsEmpty(), port};
        if (!args->any) args->address = NetworkInteraces[i];
        {
            zozud::cMutexLock lock(Listeners().mutex);
            Listeners().threads++;
        }
        unsigned long t = cThread::CreateThread(WaitAcceptConnThread, args);
        if (!t) {
            delete args;
            ListenerEnded(-1);
        }
        cThread::DeleteThread(&t);
    }
}

// Shuts every listening socket down, which wakes its blocked accept, and
// waits until every accept thread has closed its socket and ended.
void Torvane_StopListeners() {
    ListenerState& state = Listeners();
    zozud::cMutexLock lock(state.mutex);
    state.stopping = true;
    for (int s : state.sockets) shutdown(s, SHUT_RDWR);
    while (state.threads > 0) pthread_cond_wait(&state.ended, &state.mutex);
    state.stopping = false;
}

void WaitAcceptConnThread(void* arg) {
    ListenerArgs args = *static_cast<ListenerArgs*>(arg);
    delete static_cast<ListenerArgs*>(arg);
    bool critical = false;
    int s = OpenListener(args, &critical);
    if (s >= 0 && KeepListening(&s)) AcceptLoop(s);
    ListenerEnded(s);
    // After this thread stopped counting: a stop must not wait for it.
    if (critical) Torvane_OnExit();
}

void HandleSocket(void* arg) {
    int c = (int)(intptr_t)arg;
    char request[RequestBufferSize];
    memset(request, 0, sizeof(request));
    ssize_t n = recv(c, request, sizeof(request) - 1, 0);
    cStr response;
    if (n > 0 && Torvane_BuildResponse(request, (int)n, &response))
        send(c, response.ToChar(), response.Length(), MSG_NOSIGNAL);
    CSocket::Close(&c);
}
