// CSocket: the registry of every descriptor the process opens or accepts, so
// that the process end can close them all. With TORVANE_DEBUG set, each
// operation writes three numbered trace entries to the service log.
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "host/Torvane.h"
#include <cstdarg>

#include "zozud/core/Thread.h"

using zozud::cList;
using zozud::cStr;

cList<int>      CSocket::m_Sockets;
pthread_mutex_t CSocket::m_Mutex = PTHREAD_MUTEX_INITIALIZER;

namespace {

void Trace(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void Trace(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    cStr entry = cStr::Formatv(fmt, args);
    va_end(args);
    Torvane_Message(entry);
}

// Adds a new descriptor; the count entry is written under the registry lock
// (the lock order allows the service log lock inside it).
void Register(int s, int id, bool trace) {
    zozud::cMutexLock lock(CSocket::m_Mutex);
    CSocket::m_Sockets.Add(s);
    if (trace) Trace("%d.3 | m_Sockets.Count() = %d", id, CSocket::m_Sockets.Count());
}

}  // namespace

// The registry mutex is ready from static construction, because the process
// end (CSocket::Free) can come before the listener start; Init has nothing
// left to create.
void CSocket::Init() {}

int CSocket::Count() {
    zozud::cMutexLock lock(m_Mutex);
    return m_Sockets.Count();
}

int CSocket::Open(int domain, int type, int protocol) {
    bool trace = Torvane_TraceEnabled();
    int id = trace ? Torvane_NextTraceID() : 0;
    if (trace) Trace("%d.1 | CSocket::Open(%d, %d, %d)", id, domain, type, protocol);
    int s = socket(domain, type, protocol);
    if (trace) Trace("%d.2 | %d = socket(%d, %d, %d)", id, s, domain, type, protocol);
    if (s < 0) return -1;
    Register(s, id, trace);
    return s;
}

int CSocket::Accept(int s, sockaddr* addr, unsigned* len) {
    bool trace = Torvane_TraceEnabled();
    int id = trace ? Torvane_NextTraceID() : 0;
    unsigned addrText = (unsigned)(uintptr_t)addr;  // the trace shows the low 32 bits
    int lenValue = len ? (int)*len : 0;
    if (trace) Trace("%d.1 | CSocket::Accept(%d, %X, %d)", id, s, addrText, lenValue);
    int a = accept(s, addr, reinterpret_cast<socklen_t*>(len));
    int error = errno;  // the caller tells a closed socket from a failed connection by it
    if (trace) Trace("%d.2 | %d = accept(%d, %X, %d)", id, a, s, addrText, lenValue);
    if (a < 0) {
        errno = error;
        return -1;
    }
    Register(a, id, trace);
    return a;
}

void CSocket::Close(int* s) {
    bool trace = Torvane_TraceEnabled();
    int id = trace ? Torvane_NextTraceID() : 0;
    if (trace) Trace("%d.1 | CSocket::Close(%d)", id, *s);
    {
        zozud::cMutexLock lock(m_Mutex);
        int i = m_Sockets.IndexOf(*s);
        if (i < 0) return;
        m_Sockets.RemoveAt(i);
        if (trace) Trace("%d.2 | m_Sockets.Count() = %d", id, m_Sockets.Count());
    }
    int closed = *s;
    close(closed);
    *s = -1;
    if (trace) Trace("%d.3 | closesocket(%d)", id, closed);
}

void CSocket::Free() {
    cList<int> copy;
    {
        zozud::cMutexLock lock(m_Mutex);
        copy = m_Sockets;
        m_Sockets.Free();
    }
    // Shut down first: a thread blocked on the socket wakes up, where a
    // plain close would leave it waiting.
    for (int s : copy) {
        shutdown(s, SHUT_RDWR);
        close(s);
    }
}
