// The network side: the machine's IPv4 addresses, one accept thread per
// address, and one short-lived thread per connection that receives once,
// answers once and closes.
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

const int InterfaceBufferSize = 1024;
const int InterfaceRecordSize = 40;   // one struct ifreq
const int RequestBufferSize = 4096;   // one receive of at most 4095 bytes
const int Backlog = 128;
const int AcceptPauseMs = 10;
const int ConnectionTimeoutSec = 10;  // a peer that never sends is dropped after this

bool s_FirstBindFailure = true;  // WaitAcceptConnThread::one
pthread_mutex_t s_FirstBindMutex = PTHREAD_MUTEX_INITIALIZER;

// Only the first failed bind in the whole process ends it.
bool TakeFirstBindFailure() {
    zozud::cMutexLock lock(s_FirstBindMutex);
    bool first = s_FirstBindFailure;
    s_FirstBindFailure = false;
    return first;
}

void SetTimeouts(int s) {
    timeval tv = {ConnectionTimeoutSec, 0};
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof(tv));
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof(tv));
}

// Binds and listens; -1 after logging the failure.
int OpenListener(const in_addr* addr) {
    sockaddr_in sa = {};
    sa.sin_family = AF_INET;
    sa.sin_port = htons((unsigned short)port);
    sa.sin_addr.s_addr = addr ? addr->s_addr : htonl(INADDR_ANY);
    int s = CSocket::Open(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s < 0) return -1;
    int one = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &one, sizeof(one));
    if (bind(s, reinterpret_cast<sockaddr*>(&sa), sizeof(sa)) != 0) {
        _msg("Failed to open socket\n");
        CSocket::Close(&s);
        if (TakeFirstBindFailure()) {
            _msg("Torvane critical error.");
            _msg("Unable to create socket.");
            _msg("Probably you are running second copy of Torvane.");
            Torvane_OnExit();
        }
        return -1;
    }
    if (listen(s, Backlog) != 0) {
        _msg("Failed to listen socket\n");
        CSocket::Close(&s);
        return -1;
    }
    return s;
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

int Torvane_ReadPortFile(int fallback) {
    cFile file;
    if (!cIO::LoadFile(Torvane_WorkingPath(PortFile), &file, false) || file.GetSize() == 0) return fallback;
    cStr text(reinterpret_cast<const char*>(file.GetData()), 0, file.GetSize());
    return (int)strtol(text, nullptr, 10);
}

void Torvane_OnInit() {
    Torvane_StartTrace();
    CSocket::Init();
    _msg("%s started", cMain_Title.ToChar());
    port = Torvane_ReadPortFile(port);
    _msg("Using port %d", port);
    ListInterfaces();
    Torvane_StartListeners();
}

// Each listener gets its own copy of its address: the list is a static
// object that the process end destroys while listeners may still start.
void Torvane_StartListeners() {
    if (NetworkInteraces.IsEmpty()) {
        unsigned long t = cThread::CreateThread(WaitAcceptConnThread, nullptr);
        cThread::DeleteThread(&t);
        return;
    }
    for (int i = 0; i < NetworkInteraces.Count(); i++) {
        in_addr* address = new in_addr(NetworkInteraces[i]);
        unsigned long t = cThread::CreateThread(WaitAcceptConnThread, address);
        if (!t) delete address;
        cThread::DeleteThread(&t);
    }
}

void WaitAcceptConnThread(void* arg) {
    in_addr address = {};
    bool any = arg == nullptr;
    if (!any) address = *static_cast<in_addr*>(arg);
    delete static_cast<in_addr*>(arg);
    int s = OpenListener(any ? nullptr : &address);
    if (s < 0) return;
    for (;;) {
        sockaddr_in peer;
        unsigned len = sizeof(peer);
        int c = CSocket::Accept(s, reinterpret_cast<sockaddr*>(&peer), &len);
        if (c < 0) {
            // Out of descriptors the retry would spin: give the process a moment.
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) cThread::Sleep(AcceptPauseMs);
            continue;
        }
        SetTimeouts(c);
        StartConnection(c);
        cThread::Sleep(AcceptPauseMs);
    }
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
